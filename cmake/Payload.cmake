# The six ZPK resources: packed from TNP_PAYLOAD_DIR, or from stand-ins generated here when we
# build without the product's own files.
set(TNP_PAYLOAD_OUT ${CMAKE_BINARY_DIR}/payload)
set(TNP_PAYLOAD_RC ${TNP_PAYLOAD_OUT}/payload.rc)
set(TNP_PAYLOAD_NAMES TNPREAD.TXT TNP.HLP TNP.CNT TNP.EXE TNP32HLP.DLL TNP16HLP.DLL)
set(TNP_PAYLOAD_STREAMS)
foreach(name IN LISTS TNP_PAYLOAD_NAMES)
    list(APPEND TNP_PAYLOAD_STREAMS ${TNP_PAYLOAD_OUT}/${name}.zpk)
endforeach()

if(TNP_PAYLOAD_DIR)
    set(TNP_PAYLOAD_FILES_DIR ${TNP_PAYLOAD_DIR})
    set(TNP_PAYLOAD_FILES_DEPENDS)
else()
    # Small real Windows programs stand in for the product's exe and dll.
    add_executable(tnp_standin WIN32 payload/standin/tnp.c)
    set_target_properties(tnp_standin PROPERTIES OUTPUT_NAME tnp_standin)
    target_compile_options(tnp_standin PRIVATE -Os -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
    target_link_options(tnp_standin PRIVATE -s -Wl,--no-insert-timestamp -Wl,--build-id=none)
    add_library(tnp32hlp_standin SHARED payload/standin/tnp32hlp.c)
    set_target_properties(tnp32hlp_standin PROPERTIES PREFIX "" OUTPUT_NAME tnp32hlp_standin)
    target_compile_options(tnp32hlp_standin PRIVATE -Os -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
    target_link_options(tnp32hlp_standin PRIVATE -s -Wl,--no-insert-timestamp -Wl,--build-id=none)

    set(TNP_PAYLOAD_FILES_DIR ${CMAKE_BINARY_DIR}/payload-files)
    add_custom_command(OUTPUT ${TNP_PAYLOAD_FILES_DIR}/stamp
        COMMAND ${TNP_MKSTANDIN} ${TNP_PAYLOAD_FILES_DIR}
                $<TARGET_FILE:tnp_standin> $<TARGET_FILE:tnp32hlp_standin>
        COMMAND ${CMAKE_COMMAND} -E touch ${TNP_PAYLOAD_FILES_DIR}/stamp
        DEPENDS host_tools ${TNP_MKSTANDIN} tnp_standin tnp32hlp_standin
        COMMENT "Generating the stand-in product files")
    set(TNP_PAYLOAD_FILES_DEPENDS ${TNP_PAYLOAD_FILES_DIR}/stamp)
endif()

add_custom_command(OUTPUT ${TNP_PAYLOAD_RC} ${TNP_PAYLOAD_STREAMS}
    COMMAND ${TNP_ZPACK} ${TNP_PAYLOAD_FILES_DIR} ${TNP_PAYLOAD_OUT}
    DEPENDS host_tools ${TNP_ZPACK} ${TNP_PAYLOAD_FILES_DEPENDS}
    COMMENT "Packing the payload")
add_custom_target(tnp_payload DEPENDS ${TNP_PAYLOAD_RC})
