# Fails when a file under src/ includes a file of a higher layer.
# Usage: cmake -DSOURCE_DIR=path/to/src -P layering.cmake
#
# The layers, bottom to top. A file may include files of its own folder and of the folders of
# any lower line; folders that share a line (the windows other than the main one) do not include
# each other. Every folder under src/ must be listed here. Includes that name no file under src/
# (the generated version.h, Qt's headers) are not looked at.
set(LAYERS
    "platform"                    # Qt and system helpers: file layer, grid view, message boxes
    "settings"                    # play modes, settings file, data and settings folders
    "entry"                       # the rules of a card's fields and texts
    "history"                     # the stored games of each mode and their files
    "stats"                       # hit rates, target report, trends, drill choice
    "ui"                          # fonts and icon, shared by every window
    "ui/about ui/graph ui/stats"  # the windows the main window opens
    "ui/main"                     # the main window
    "app")                        # start-up and shutdown

set(rank 0)
foreach(line IN LISTS LAYERS)
    string(REPLACE " " ";" folders "${line}")
    foreach(folder IN LISTS folders)
        set(rank_${folder} ${rank})
    endforeach()
    math(EXPR rank "${rank} + 1")
endforeach()

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(faults "")
list(LENGTH files count)
foreach(file IN LISTS files)
    get_filename_component(folder ${file} DIRECTORY)
    if(NOT DEFINED rank_${folder})
        string(APPEND faults "\n  ${file}: its folder is in no layer")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(include IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${include}")
        if(NOT EXISTS ${SOURCE_DIR}/${included})
            continue()
        endif()
        get_filename_component(to ${included} DIRECTORY)
        if(NOT to STREQUAL folder AND NOT rank_${to} LESS rank_${folder})
            string(APPEND faults "\n  ${file} includes ${included}, not of a lower layer")
        endif()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes against the layers:${faults}")
elseif(count EQUAL 0)
    message(FATAL_ERROR "No file under ${SOURCE_DIR}: an absolute path is needed")
endif()
message(STATUS "${count} files, every include points down")
