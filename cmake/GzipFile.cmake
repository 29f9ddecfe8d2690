# cmake -DIN=FILE -DOUT=FILE.gz -P GzipFile.cmake
# Compresses as Debian wants installed documentation: gzip -9n, which leaves
# the name and time stamp out so the result depends on the content alone.
find_program(AUTOMENU_GZIP gzip REQUIRED)
get_filename_component(_dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${_dir})
execute_process(COMMAND ${AUTOMENU_GZIP} -9nc ${IN} OUTPUT_FILE ${OUT}.part RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  file(REMOVE ${OUT}.part)
  message(FATAL_ERROR "gzip could not compress ${IN}")
endif()
file(RENAME ${OUT}.part ${OUT})
