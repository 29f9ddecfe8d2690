# The Linux programs linked so that they start on a stock desktop: no C
# library symbol newer than glibc 2.34 and no shared library that a default
# desktop install may lack (tests/binary/check-runtime-needs.sh holds the
# lists and checks the programs against them).
#
# - The C++ runtime is linked in (the system's may be older than the
#   compiler's); libgcc_s stays shared: the static unwinder needs
#   _dl_find_object from glibc 2.35.
# - hypot is bound to its old version, and arc4random (which the C++
#   runtime's std::random_device may call) is had from getrandom
#   (app/linux/GlibcCompat.cpp).
# - SDL2 is linked in from libSDL2.a. Debian builds it against every library
#   it can use; those a desktop may not have, or whose part of SDL the menu
#   never starts, are loaded when first called, through stubs generated here
#   from the archive (app/linux/LazyLibrary.cpp). The rest are libraries GTK 3
#   is built on, present wherever a desktop is.
#
# Provides the option AUTOMENU_PORTABLE, the target automenu_sdl2 (SDL2 as the
# programs link it) and automenu_portable_runtime(TARGET).

set(_portable_default OFF)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$" AND NOT (AUTOMENU_SANITIZE OR AUTOMENU_FUZZ))
  set(_portable_default ON)
endif()
option(AUTOMENU_PORTABLE
  "Link the programs to start on any desktop with glibc 2.34 or later: the C++ runtime and SDL2 linked in" ${_portable_default})
if(AUTOMENU_PORTABLE AND (AUTOMENU_SANITIZE OR AUTOMENU_FUZZ))
  message(FATAL_ERROR "AUTOMENU_PORTABLE links the C++ runtime in, which the sanitizers do not support: "
                      "configure with -DAUTOMENU_PORTABLE=OFF")
endif()
if(AUTOMENU_PORTABLE AND NOT CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  message(FATAL_ERROR "AUTOMENU_PORTABLE is made for x86-64 (its stubs and symbol versions are): "
                      "configure with -DAUTOMENU_PORTABLE=OFF")
endif()

# Libraries of SDL's static link that are loaded when first used: libdecor
# (window decorations on Wayland; new, often not installed), the X screensaver
# extension, sound (SDL's audio, which the menu never starts) and the console
# video driver (tried only when there is no X11 or Wayland display).
set(AUTOMENU_LAZY_LIBRARIES decor-0 Xss asound pulse pulse-simple samplerate drm gbm)

add_library(automenu_sdl2 INTERFACE)
if(NOT AUTOMENU_PORTABLE)
  target_link_libraries(automenu_sdl2 INTERFACE PkgConfig::SDL2)
  function(automenu_portable_runtime target)
  endfunction()
  return()
endif()

function(automenu_portable_runtime target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/app/linux/GlibcCompat.cpp)
  target_link_options(${target} PRIVATE -static-libstdc++ -Wl,--wrap=hypot -Wl,--wrap=arc4random)
endfunction()

pkg_get_variable(_sdl2_libdir sdl2 libdir)
find_library(AUTOMENU_SDL2_ARCHIVE NAMES libSDL2.a HINTS ${_sdl2_libdir} NO_CACHE)
if(NOT AUTOMENU_SDL2_ARCHIVE)
  message(FATAL_ERROR "libSDL2.a not found (Debian's libsdl2-dev has it): install it or configure with -DAUTOMENU_PORTABLE=OFF")
endif()

# What the archive leaves undefined.
execute_process(COMMAND ${CMAKE_NM} -P -u ${AUTOMENU_SDL2_ARCHIVE}
                OUTPUT_VARIABLE _nm_out ERROR_QUIET RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "${CMAKE_NM} could not read ${AUTOMENU_SDL2_ARCHIVE}")
endif()
string(REGEX MATCHALL "(^|\n)[A-Za-z_][A-Za-z0-9_]* [Uw]" _undefined "${_nm_out}")
list(TRANSFORM _undefined REPLACE "^\n?([A-Za-z0-9_]+) .*" "\\1")
list(REMOVE_DUPLICATES _undefined)

set(_eager_libraries "")
set(_lazy_sonames "")
set(_lazy_symbols "")     # name;name;...
set(_lazy_owners "")      # index into _lazy_sonames, one per symbol
set(_lazy_claimed "")
foreach(_lib IN LISTS SDL2_STATIC_LIBRARIES)
  if(_lib STREQUAL "SDL2")
    continue()
  endif()
  if(NOT _lib IN_LIST AUTOMENU_LAZY_LIBRARIES)
    list(APPEND _eager_libraries ${_lib})
    continue()
  endif()
  if(_lib IN_LIST _lazy_claimed)
    continue()
  endif()
  list(APPEND _lazy_claimed ${_lib})
  unset(_so)
  find_library(_so NAMES lib${_lib}.so HINTS ${_sdl2_libdir} NO_CACHE)
  if(NOT _so)
    message(FATAL_ERROR "lib${_lib}.so, which libSDL2.a needs, not found")
  endif()
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${_so} OUTPUT_VARIABLE _dump)
  if(NOT _dump MATCHES "SONAME +([^ \n]+)")
    message(FATAL_ERROR "${_so} has no SONAME")
  endif()
  set(_soname ${CMAKE_MATCH_1})
  execute_process(COMMAND ${CMAKE_NM} -D -P --defined-only ${_so} OUTPUT_VARIABLE _exports)
  string(REGEX MATCHALL "(^|\n)[A-Za-z_][A-Za-z0-9_]*(@@?[A-Za-z0-9_.]+)? [A-Za-z]" _exports "${_exports}")
  set(_found 0)
  list(LENGTH _lazy_sonames _owner)
  foreach(_line IN LISTS _exports)
    string(REGEX REPLACE "^\n?([A-Za-z0-9_]+)(@@?[A-Za-z0-9_.]+)? ([A-Za-z])$" "\\1;\\3" _pair "${_line}")
    list(GET _pair 0 _name)
    list(GET _pair 1 _kind)
    if(NOT _name IN_LIST _undefined OR _name IN_LIST _lazy_symbols)
      continue()
    endif()
    if(NOT _kind MATCHES "^[TWi]$")
      # A stub can stand in for a function only.
      message(FATAL_ERROR "libSDL2.a uses the data symbol ${_name} of ${_soname}: it cannot be loaded lazily")
    endif()
    list(APPEND _lazy_symbols ${_name})
    list(APPEND _lazy_owners ${_owner})
    math(EXPR _found "${_found} + 1")
  endforeach()
  if(_found GREATER 0)
    list(APPEND _lazy_sonames ${_soname})
    message(STATUS "SDL2 linked in; ${_soname} loaded when first used (${_found} functions)")
  endif()
endforeach()

# One stub per function: it jumps through its slot, which starts at an entry
# that passes the stub's number to automenu_lazy_resolve with every argument
# register kept, then jumps to what that returned.
set(_tables "")
set(_slots "")
set(_stubs "")
set(_index 0)
foreach(_name IN LISTS _lazy_symbols)
  list(GET _lazy_owners ${_index} _owner)
  string(APPEND _tables "    {${_owner}, \"${_name}\"},\n")
  string(APPEND _slots "    .quad .Lautomenu_lazy_entry_${_index}\n")
  math(EXPR _offset "${_index} * 8")
  string(APPEND _stubs
    "    .globl ${_name}\n    .type ${_name}, @function\n${_name}:\n"
    "    jmp *automenu_lazy_slots+${_offset}(%rip)\n"
    ".Lautomenu_lazy_entry_${_index}:\n    movl $${_index}, %r11d\n    jmp .Lautomenu_lazy_common\n")
  math(EXPR _index "${_index} + 1")
endforeach()
list(LENGTH _lazy_sonames _library_count)
list(TRANSFORM _lazy_sonames REPLACE "(.+)" "    \"\\1\",\n")
string(JOIN "" _library_names ${_lazy_sonames})

set(_source "// Generated by cmake/PortableProgram.cmake from ${AUTOMENU_SDL2_ARCHIVE}.
#include \"app/linux/LazyLibrary.h\"

namespace automenu::lazy {

const char* const kLibraries[] = {
${_library_names}};
const std::uint16_t kLibraryCount = ${_library_count};
const Symbol kSymbols[] = {
${_tables}};

}  // namespace automenu::lazy

__asm__(R\"(
    .data
    .balign 8
    .globl automenu_lazy_slots
    .hidden automenu_lazy_slots
automenu_lazy_slots:
${_slots}
    .text
${_stubs}
.Lautomenu_lazy_common:
    pushq %rbp
    movq %rsp, %rbp
    subq $192, %rsp
    movq %rdi, 0(%rsp)
    movq %rsi, 8(%rsp)
    movq %rdx, 16(%rsp)
    movq %rcx, 24(%rsp)
    movq %r8, 32(%rsp)
    movq %r9, 40(%rsp)
    movq %rax, 48(%rsp)
    movdqa %xmm0, 64(%rsp)
    movdqa %xmm1, 80(%rsp)
    movdqa %xmm2, 96(%rsp)
    movdqa %xmm3, 112(%rsp)
    movdqa %xmm4, 128(%rsp)
    movdqa %xmm5, 144(%rsp)
    movdqa %xmm6, 160(%rsp)
    movdqa %xmm7, 176(%rsp)
    movl %r11d, %edi
    call automenu_lazy_resolve
    movq %rax, %r11
    movq 0(%rsp), %rdi
    movq 8(%rsp), %rsi
    movq 16(%rsp), %rdx
    movq 24(%rsp), %rcx
    movq 32(%rsp), %r8
    movq 40(%rsp), %r9
    movq 48(%rsp), %rax
    movdqa 64(%rsp), %xmm0
    movdqa 80(%rsp), %xmm1
    movdqa 96(%rsp), %xmm2
    movdqa 112(%rsp), %xmm3
    movdqa 128(%rsp), %xmm4
    movdqa 144(%rsp), %xmm5
    movdqa 160(%rsp), %xmm6
    movdqa 176(%rsp), %xmm7
    leave
    jmp *%r11
)\");
")
set(_generated ${PROJECT_BINARY_DIR}/generated/LazyStubs.cpp)
file(CONFIGURE OUTPUT ${_generated} CONTENT "${_source}" @ONLY)

add_library(automenu_lazy STATIC ${PROJECT_SOURCE_DIR}/app/linux/LazyLibrary.cpp ${_generated})
target_include_directories(automenu_lazy PRIVATE ${PROJECT_SOURCE_DIR})

target_include_directories(automenu_sdl2 INTERFACE ${SDL2_INCLUDE_DIRS})
target_compile_options(automenu_sdl2 INTERFACE ${SDL2_CFLAGS_OTHER})
# The stubs come after the archive, which leaves their names undefined.
list(REMOVE_DUPLICATES _eager_libraries)
list(TRANSFORM _eager_libraries PREPEND "-l")
target_link_libraries(automenu_sdl2 INTERFACE ${AUTOMENU_SDL2_ARCHIVE} automenu_lazy ${_eager_libraries})
