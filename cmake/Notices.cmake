# The licence notices pack puts on a medium beside the menus: automenu's
# licence (LICENSE) and those of the runtime parts the Windows menu carries.
# Made beside the tool (on Linux and on Windows) and installed beside the
# Windows menu, where pack looks for them; CR LF line ends, for any Notepad.
set(AUTOMENU_NOTICES_NAME automenu-licenses.txt)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE AUTOMENU_LICENSE)
set(AUTOMENU_VERSION ${PROJECT_VERSION})
file(READ ${PROJECT_SOURCE_DIR}/packaging/${AUTOMENU_NOTICES_NAME}.in _notices)
string(CONFIGURE "${_notices}" _notices @ONLY)
# Written only when it changes.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/${AUTOMENU_NOTICES_NAME} CONTENT "${_notices}" @ONLY NEWLINE_STYLE CRLF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE
             ${PROJECT_SOURCE_DIR}/packaging/${AUTOMENU_NOTICES_NAME}.in)
