# The payload store's tests: one program with the real store, compared byte for byte with the
# files it was packed from, and one with a spoilt copy of the store made at build time.
tnp_unit_test(test_payload test_payload.cpp)
target_compile_definitions(test_payload PRIVATE TNP_PAYLOAD_FILES_UNIX="${TNP_PAYLOAD_FILES_DIR}")

set(spoilt ${CMAKE_CURRENT_BINARY_DIR}/payload-spoilt)
add_custom_command(OUTPUT ${spoilt}/payload.rc
    COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/spoil_payload.py ${TNP_PAYLOAD_OUT} ${spoilt}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/spoil_payload.py ${TNP_PAYLOAD_RC} tnp_payload
    COMMENT "Spoiling a copy of the payload")
set_source_files_properties(${spoilt}/payload.rc PROPERTIES GENERATED TRUE)
add_executable(test_payload_damaged test_payload_damaged.cpp ${spoilt}/payload.rc)
target_link_libraries(test_payload_damaged PRIVATE tnptestsupport GTest::gtest_main)
# zlib's allocator wrapped, so that a case can make it fail as it does when memory runs out.
target_link_options(test_payload_damaged PRIVATE -static -Wl,--wrap=zcalloc)
add_test(NAME test_payload_damaged
    COMMAND ${CMAKE_SOURCE_DIR}/tests/wine-run.sh $<TARGET_FILE:test_payload_damaged>)
set_tests_properties(test_payload_damaged PROPERTIES TIMEOUT 300)
