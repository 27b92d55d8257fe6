# Run by the build (cmake -P): every "folder/..." include of every production source keeps
# to the layers of cmake/Layers.cmake, and so does every <folder/...> include whose folder is
# one of the source tree's (system and library headers such as <sys/stat.h> or
# <QtWidgets/QWidget> are outside the rule). Writes STAMP when they all do, fails naming
# each one that does not.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

set(quoted "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/([^\"]*)\"")
set(angled "^[ \t]*#[ \t]*include[ \t]*<([^>/]+)/([^>]*)>")

varnak_layer_folders(folders)
set(breaches)
foreach(folder IN LISTS folders)
    file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    list(SORT sources)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} lines REGEX "${quoted}|${angled}")
        file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
        foreach(line IN LISTS lines)
            if(NOT line MATCHES "${quoted}")
                string(REGEX MATCH "${angled}" line "${line}")
                if(NOT IS_DIRECTORY ${SOURCE_DIR}/${CMAKE_MATCH_1})
                    continue()
                endif()
            endif()
            varnak_layer_breach(${folder} ${CMAKE_MATCH_1}
                                "${name} includes ${CMAKE_MATCH_1}/${CMAKE_MATCH_2}" breaches)
        endforeach()
    endforeach()
endforeach()

varnak_layer_stop("A folder includes only its own and the folders of the layers below it"
                  ${breaches})
file(TOUCH ${STAMP})
