# The production folders by layer, from the bottom up; folders named together share a layer.
# A folder includes and links only its own and the folders of the layers below its own, so
# folders of one layer never use each other: the window folders are independent of each
# other, and only app/ assembles them. The tests' support and the benchmarks may use what
# they need.
set(VARNAK_LAYERS
    "platform"
    "comctl model"
    "mapping windowkit"
    "settingsforms couplerservices"
    "views railview online couplercfg terminalcfg fieldbus"
    "app")

# The layer's number of a folder (0 at the bottom), -1 for a folder of no layer.
function(varnak_layer_of folder out_var)
    set(number 0)
    foreach(layer IN LISTS VARNAK_LAYERS)
        separate_arguments(folders UNIX_COMMAND "${layer}")
        if(folder IN_LIST folders)
            set(${out_var} ${number} PARENT_SCOPE)
            return()
        endif()
        math(EXPR number "${number} + 1")
    endforeach()
    set(${out_var} -1 PARENT_SCOPE)
endfunction()

# Every production folder, bottom up.
function(varnak_layer_folders out_var)
    set(all)
    foreach(layer IN LISTS VARNAK_LAYERS)
        separate_arguments(folders UNIX_COMMAND "${layer}")
        list(APPEND all ${folders})
    endforeach()
    set(${out_var} ${all} PARENT_SCOPE)
endfunction()

# Adds "<what>: <why>" to the list named by list_var when a use of folder `used` from folder
# `user` breaks the layers.
function(varnak_layer_breach user used what list_var)
    if(user STREQUAL used)
        return()
    endif()
    varnak_layer_of(${user} user_layer)
    varnak_layer_of(${used} used_layer)
    if(used_layer EQUAL -1)
        set(why "${used}/ is no production folder")
    elseif(used_layer EQUAL user_layer)
        set(why "${user}/ and ${used}/ are on the same layer")
    elseif(used_layer GREATER user_layer)
        set(why "${used}/ is on a layer above ${user}/")
    else()
        return()
    endif()
    set(${list_var} ${${list_var}} "${what}: ${why}" PARENT_SCOPE)
endfunction()

# Stops with the rule and every breach of it, one a line; does nothing without breaches.
function(varnak_layer_stop rule)
    if(ARGN)
        list(JOIN ARGN "\n  " text)
        message(FATAL_ERROR "${rule} (cmake/Layers.cmake):\n  ${text}")
    endif()
endfunction()
