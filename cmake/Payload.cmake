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
    # Real small Windows programs stand in for the product's exe and dlls; their pictures,
    # sounds and tips are generated, so that the stand-ins pack the way such files do.
    set(media ${CMAKE_BINARY_DIR}/standin-media)
    set(mediaFiles ${media}/face.bmp ${media}/mini.bmp ${media}/play.wav ${media}/eject.wav
        ${media}/click.wav ${media}/sine.bin ${media}/tips.rc ${media}/contexts.rc)
    add_custom_command(OUTPUT ${mediaFiles}
        COMMAND ${TNP_MKSTANDIN} media ${media}
        DEPENDS host_tools ${TNP_MKSTANDIN}
        COMMENT "Generating the stand-in programs' pictures, sounds and tips")
    set(standinFlags -Os -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
    set(standinLink -s -Wl,--no-insert-timestamp -Wl,--build-id=none)

    add_executable(tnp_standin WIN32 payload/standin/tnp.c payload/standin/tnp.rc)
    set_source_files_properties(payload/standin/tnp.rc PROPERTIES OBJECT_DEPENDS "${mediaFiles}")
    target_include_directories(tnp_standin PRIVATE ${media})
    target_compile_options(tnp_standin PRIVATE ${standinFlags})
    target_link_options(tnp_standin PRIVATE ${standinLink})

    add_library(tnp32hlp_standin SHARED payload/standin/tnp32hlp.c payload/standin/tnp32hlp.rc)
    set_source_files_properties(payload/standin/tnp32hlp.rc PROPERTIES OBJECT_DEPENDS "${mediaFiles}")
    set_target_properties(tnp32hlp_standin PROPERTIES PREFIX "" OUTPUT_NAME tnp32hlp_standin)
    target_include_directories(tnp32hlp_standin PRIVATE ${media})
    target_compile_options(tnp32hlp_standin PRIVATE ${standinFlags})
    target_link_options(tnp32hlp_standin PRIVATE ${standinLink})

    # The 16-bit library's code segment: the same compiler in 16-bit mode, bare code bytes.
    set(code16 ${media}/tnp16hlp.code)
    add_custom_command(OUTPUT ${code16}
        COMMAND ${CMAKE_C_COMPILER} -m16 ${standinFlags} -ffreestanding
                -c ${CMAKE_SOURCE_DIR}/payload/standin/tnp16hlp.c -o ${media}/tnp16hlp.obj
        COMMAND ${CMAKE_OBJCOPY} -O binary -j .text ${media}/tnp16hlp.obj ${code16}
        DEPENDS ${CMAKE_SOURCE_DIR}/payload/standin/tnp16hlp.c ${mediaFiles}
        COMMENT "Compiling the 16-bit stand-in code")

    set(TNP_PAYLOAD_FILES_DIR ${CMAKE_BINARY_DIR}/payload-files)
    add_custom_command(OUTPUT ${TNP_PAYLOAD_FILES_DIR}/stamp
        COMMAND ${TNP_MKSTANDIN} files ${TNP_PAYLOAD_FILES_DIR}
                $<TARGET_FILE:tnp_standin> $<TARGET_FILE:tnp32hlp_standin> ${code16}
        COMMAND ${CMAKE_COMMAND} -E touch ${TNP_PAYLOAD_FILES_DIR}/stamp
        DEPENDS host_tools ${TNP_MKSTANDIN} tnp_standin tnp32hlp_standin ${code16}
        COMMENT "Generating the stand-in product files")
    set(TNP_PAYLOAD_FILES_DEPENDS ${TNP_PAYLOAD_FILES_DIR}/stamp)
endif()

add_custom_command(OUTPUT ${TNP_PAYLOAD_RC} ${TNP_PAYLOAD_STREAMS}
    COMMAND ${TNP_ZPACK} ${TNP_PAYLOAD_FILES_DIR} ${TNP_PAYLOAD_OUT}
    DEPENDS host_tools ${TNP_ZPACK} ${TNP_PAYLOAD_FILES_DEPENDS}
    COMMENT "Packing the payload")
add_custom_target(tnp_payload DEPENDS ${TNP_PAYLOAD_RC})
