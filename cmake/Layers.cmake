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

# Why a use of folder `used` from folder `user` breaks the layers; empty when it does not.
function(varnak_layer_breach user used out_var)
    set(${out_var} "" PARENT_SCOPE)
    if(user STREQUAL used)
        return()
    endif()
    varnak_layer_of(${user} user_layer)
    varnak_layer_of(${used} used_layer)
    if(used_layer EQUAL -1)
        set(${out_var} "${used}/ is no production folder" PARENT_SCOPE)
    elseif(used_layer EQUAL user_layer)
        set(${out_var} "${user}/ and ${used}/ are on the same layer" PARENT_SCOPE)
    elseif(used_layer GREATER user_layer)
        set(${out_var} "${used}/ is on a layer above ${user}/" PARENT_SCOPE)
    endif()
endfunction()
