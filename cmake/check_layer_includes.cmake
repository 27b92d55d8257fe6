# Run by the build (cmake -P): every "folder/..." include of every production source keeps
# to the layers of cmake/Layers.cmake. Writes STAMP when they all do, fails naming each one
# that does not.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

varnak_layer_folders(folders)
set(breaches)
foreach(folder IN LISTS folders)
    file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    list(SORT sources)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
        file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/([^\"]*)\".*" "\\1;\\2"
                   parts "${line}")
            list(GET parts 0 used)
            list(GET parts 1 header)
            varnak_layer_breach(${folder} ${used} "${name} includes ${used}/${header}" breaches)
        endforeach()
    endforeach()
endforeach()

varnak_layer_stop("A folder includes only its own and the folders of the layers below it"
                  ${breaches})
file(TOUCH ${STAMP})
