# setup.exe laid out as the linker lays out any program, but for one thing: the program's few
# bytes of initialised data (zlib's flag that its fixed tables are built) and then its zero-filled
# data go at the end of the import section, which is writable data too, rather than into sections
# of their own: one would take 512 bytes of the file for 4, and the other's header would take the
# headers past their first 512 bytes. The linker writes the zeros out; petrim (tools/) then leaves
# them to the loader, which fills a section with zeros beyond its raw data. The script is the
# linker's own, so it stays the one of the linker in use; a linker whose script reads otherwise
# stops the configure.
execute_process(COMMAND ${CMAKE_LINKER} --verbose OUTPUT_VARIABLE verbose)
string(REGEX MATCH "=+\n(.*)\n=+" script "${verbose}")
set(script "${CMAKE_MATCH_1}")
string(REGEX MATCH "  \\.data BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)  }\n" data_section "${script}")
set(data_inputs "${CMAKE_MATCH_1}")
set(import_end "    KEEP (SORT(*)(.idata$7))\n")
string(FIND "${script}" "${import_end}" import_end_at)
string(REGEX MATCH "  \\.bss BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)  }\n" bss_section "${script}")
set(bss_inputs "${CMAKE_MATCH_1}")
if(NOT data_inputs MATCHES "\\*\\(\\.data\\)" OR NOT bss_inputs MATCHES "\\*\\(COMMON\\)" OR import_end_at EQUAL -1)
    message(FATAL_ERROR "${CMAKE_LINKER} --verbose shows no default script with .data and .idata sections")
endif()
string(REGEX MATCH "  \\.rdata BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)  }\n" rdata_section "${script}")
set(rdata_inputs "${CMAKE_MATCH_1}")
if(NOT rdata_inputs MATCHES "\\*\\(\\.rdata\\)")
    message(FATAL_ERROR "${CMAKE_LINKER} --verbose shows no default script with an .rdata section")
endif()
string(REPLACE "${data_section}" "" script "${script}")
string(REPLACE "${rdata_section}" "" script "${script}")
string(REPLACE "${bss_section}" "" script "${script}")
string(REPLACE "${import_end}" "${import_end}${data_inputs}${rdata_inputs}${bss_inputs}" script "${script}")
set(TNP_LINKER_SCRIPT ${CMAKE_BINARY_DIR}/setup.ld)
file(CONFIGURE OUTPUT ${TNP_LINKER_SCRIPT} CONTENT "${script}\n" @ONLY)
