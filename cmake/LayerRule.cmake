# Keeps the folders to their layers (cmake/Layers.cmake): the libraries' links are checked
# when the build is configured, the sources' includes by every build that follows a change.
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

function(varnak_check_layers)
    varnak_layer_folders(folders)

    # The links: every library or program a folder defines links only targets of its own
    # folder or of the layers below (imported targets such as Qt's are outside the rule).
    set(breaches)
    foreach(folder IN LISTS folders)
        get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR}/${folder} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(links ${target} LINK_LIBRARIES)
            if(NOT links)
                continue()
            endif()
            foreach(link IN LISTS links)
                if(NOT TARGET ${link})
                    continue()
                endif()
                get_target_property(imported ${link} IMPORTED)
                if(imported)
                    continue()
                endif()
                get_target_property(link_dir ${link} SOURCE_DIR)
                file(RELATIVE_PATH used ${CMAKE_SOURCE_DIR} ${link_dir})
                varnak_layer_breach(${folder} ${used} "${target} (${folder}/) links ${link}"
                                    breaches)
            endforeach()
        endforeach()
    endforeach()
    varnak_layer_stop("A folder's targets link only its own and the targets of the layers below it"
                      ${breaches})

    # The includes, once per build after a source changed.
    set(sources)
    foreach(folder IN LISTS folders)
        file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h
             ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
        list(APPEND sources ${folder_sources})
    endforeach()
    set(stamp ${CMAKE_BINARY_DIR}/layer_includes.stamp)
    set(script ${CMAKE_SOURCE_DIR}/cmake/check_layer_includes.cmake)
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DSTAMP=${stamp} -P ${script}
        DEPENDS ${sources} ${script} ${CMAKE_SOURCE_DIR}/cmake/Layers.cmake
        COMMENT "Checking that every folder includes only the folders below it"
        VERBATIM)
    add_custom_target(varnak_layer_includes ALL DEPENDS ${stamp})
endfunction()
