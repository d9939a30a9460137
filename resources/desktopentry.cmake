# Run by `cmake --install`: writes the desktop entry that starts the program in the folder installed to.
get_filename_component(DARTRAIL_DIR "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)

# Exec takes the program as one quoted argument: \ " ` $ get a backslash, which the entry's own string
# escaping doubles, and % is doubled.
string(REGEX REPLACE "([\\\\\"`$])" "\\\\\\\\\\1" DARTRAIL_EXEC "${DARTRAIL_DIR}/Dartrail")
string(REPLACE "%" "%%" DARTRAIL_EXEC "\"${DARTRAIL_EXEC}\"")
# Path and Icon are plain strings: only the backslash is escaped.
string(REPLACE "\\" "\\\\" DARTRAIL_FOLDER "${DARTRAIL_DIR}")
set(DARTRAIL_ICON "${DARTRAIL_FOLDER}/dartrail.png")
set(DARTRAIL_PATH_LINE "Path=${DARTRAIL_FOLDER}")

set(entry "$ENV{DESTDIR}${DARTRAIL_DIR}/dartrail.desktop")
message(STATUS "Installing: ${entry}")
# Executable, so that file managers let the entry be started from the folder itself.
configure_file("${CMAKE_CURRENT_LIST_DIR}/dartrail.desktop.in" "${entry}" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
