# Authenticode signature of setup.exe, so that Windows names the publisher. The unsigned bytes
# stay beside it as setup-unsigned.exe: they are what any clean build of this source gives, and
# what tools/verify-release.sh finds again in a release once the signature is removed.
set(TNP_SIGN_PKCS12 "" CACHE FILEPATH
    "PKCS#12 file (.p12/.pfx) whose certificate and key sign setup.exe; empty leaves it unsigned")
set(TNP_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the password of TNP_SIGN_PKCS12")

if(TNP_SIGN_PKCS12 AND TNP_SIGN_PASSWORD_FILE)
    find_program(TNP_OSSLSIGNCODE osslsigncode REQUIRED)
    set(signing "${TNP_SIGN_PKCS12}\n${TNP_SIGN_PASSWORD_FILE}\n")
    # osslsigncode won't overwrite its output, and a failure must leave no setup.exe behind, so
    # that the next build links and signs again rather than keeping an unsigned file.
    add_custom_command(TARGET setup POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E rename $<TARGET_FILE:setup>
                $<TARGET_FILE_DIR:setup>/setup-unsigned.exe
        COMMAND ${TNP_OSSLSIGNCODE} sign -pkcs12 ${TNP_SIGN_PKCS12} -readpass ${TNP_SIGN_PASSWORD_FILE}
                -h sha256 -in $<TARGET_FILE_DIR:setup>/setup-unsigned.exe -out $<TARGET_FILE:setup>
        COMMENT "Signing setup.exe"
        VERBATIM)
    set_property(TARGET setup APPEND PROPERTY LINK_DEPENDS ${TNP_SIGN_PKCS12})
elseif(TNP_SIGN_PKCS12 OR TNP_SIGN_PASSWORD_FILE)
    message(FATAL_ERROR "Signing needs both TNP_SIGN_PKCS12 and TNP_SIGN_PASSWORD_FILE")
else()
    set(signing "unsigned\n")
    file(REMOVE ${CMAKE_BINARY_DIR}/setup-unsigned.exe)
endif()
# A change between signed and unsigned links setup.exe again: the signature is made after the
# link, and an earlier build's setup.exe would otherwise stay as it was.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/signing.txt CONTENT "${signing}")
set_property(TARGET setup APPEND PROPERTY LINK_DEPENDS ${CMAKE_BINARY_DIR}/signing.txt)
