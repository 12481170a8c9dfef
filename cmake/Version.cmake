# The product version, set once for a build: the version resource of setup.exe and the
# "DisplayVersion" of the uninstall entry both come from it. A maintainer releases with, for
# example, -DTNP_VERSION=2.1.
set(TNP_VERSION "1.0" CACHE STRING
    "Product version: one to four numbers 0-65535 separated by dots, such as 2.1")

# The four 16-bit fields Windows keeps a file version in, missing ones 0.
function(tnp_version_numbers version result)
    set(problem "")
    if(version STREQUAL "")
        set(problem "it is empty")
    elseif(NOT version MATCHES "^[0-9.]+$")
        set(problem "it holds something other than digits and dots")
    else()
        string(REPLACE "." ";" parts "${version}.")
        list(POP_BACK parts)  # the empty piece after the dot added above
        list(LENGTH parts count)
        if(count GREATER 4)
            set(problem "it has ${count} numbers")
        endif()
        foreach(part IN LISTS parts)
            if(part STREQUAL "")
                set(problem "a number is missing between its dots or at an end")
            elseif(NOT part MATCHES "^(0|[1-9][0-9]?[0-9]?[0-9]?[0-9]?)$" OR part GREATER 65535)
                set(problem "${part} is not a number from 0 to 65535 (written without leading zeros)")
            endif()
        endforeach()
    endif()
    if(problem)
        message(FATAL_ERROR "TNP_VERSION \"${version}\" is not a version: ${problem}. It takes one to "
            "four numbers from 0 to 65535 separated by dots, such as 2.1")
    endif()
    while(count LESS 4)
        list(APPEND parts 0)
        math(EXPR count "${count} + 1")
    endwhile()
    string(REPLACE ";" "," numbers "${parts}")
    set(${result} ${numbers} PARENT_SCOPE)
endfunction()

# The maker named to Windows: the version resource's CompanyName and the entry's Publisher.
# Empty: neither, as the product has always named none.
set(TNP_PUBLISHER "" CACHE STRING "Publisher named in the version resource and the uninstall entry; empty for none")
if(TNP_PUBLISHER MATCHES "[\"\\\\]")
    message(FATAL_ERROR "TNP_PUBLISHER \"${TNP_PUBLISHER}\" holds a double quote or a backslash, which the "
        "resource script would read as more than the name")
endif()

set(TNP_PUBLISHER_LINE "")
if(NOT TNP_PUBLISHER STREQUAL "")
    set(TNP_PUBLISHER_LINE "#define TNP_HAS_PUBLISHER 1")
endif()

tnp_version_numbers("${TNP_VERSION}" TNP_VERSION_NUMBERS)
set(TNP_VERSION_DIR ${CMAKE_BINARY_DIR}/version)
file(CONFIGURE OUTPUT ${TNP_VERSION_DIR}/product_version.h CONTENT
"// Made by the build from TNP_VERSION and TNP_PUBLISHER.
#pragma once
#define TNP_VERSION_TEXT \"${TNP_VERSION}\"
#define TNP_VERSION_NUMBERS ${TNP_VERSION_NUMBERS}
#define TNP_PUBLISHER_TEXT \"${TNP_PUBLISHER}\"
${TNP_PUBLISHER_LINE}
")
