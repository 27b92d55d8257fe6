# The windows of one folder (a window folder such as views/ or railview/, or the settings
# forms' kit) as a static library on the window kit: every *.cpp of the folder, Qt's moc
# on, the folder's own link needs in ARGN.
# The program's openers include the windows, so these libraries never link varnak_app.
function(varnak_window_library folder)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    add_library(varnak_${folder} STATIC ${sources})
    set_target_properties(varnak_${folder} PROPERTIES AUTOMOC ON)
    target_include_directories(varnak_${folder} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(varnak_${folder} PUBLIC varnak_windowkit ${ARGN})
endfunction()
