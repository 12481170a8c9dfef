# The five icons, built from their pixel-art sources in resources/icons.
set(TNP_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(TNP_ICON_NAMES aaaaaa search1 search2 search3 search4)
set(TNP_ICON_FILES)
foreach(name IN LISTS TNP_ICON_NAMES)
    set(source ${CMAKE_SOURCE_DIR}/resources/icons/${name}.txt)
    set(icon ${TNP_ICON_DIR}/${name}.ico)
    add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TNP_ICON_DIR}
        COMMAND ${TNP_MKICO} ${source} ${icon}
        DEPENDS host_tools ${TNP_MKICO} ${source}
        COMMENT "Drawing ${name}.ico")
    list(APPEND TNP_ICON_FILES ${icon})
endforeach()
add_custom_target(tnp_icons DEPENDS ${TNP_ICON_FILES})
