# zlib as setup.exe links it: Debian's zlib source package compiled with the target's own flags.
# Debian's prebuilt mingw-w64 libz.a is compiled for the Pentium Pro, and its inflate holds CMOV
# instructions that the 386, 486 and Pentium fault on.
#
# The version is pinned, and so is the sha256 of its .dsc, which lists the sha256 of both
# tarballs; dpkg-source checks those when it unpacks, so every machine compiles the same text or
# stops. The download is kept in the user's cache folder, shared by every build of the machine.
set(TNP_ZLIB_VERSION 1:1.2.13.dfsg-1)
set(TNP_ZLIB_DSC zlib_1.2.13.dfsg-1.dsc)
set(TNP_ZLIB_DSC_SHA256 3fa1e6b2fc525062aa88207dda52fed8e045373c809d362fe8a2bfbf7cf515a8)
if(DEFINED ENV{XDG_CACHE_HOME})
    set(TNP_ZLIB_CACHE $ENV{XDG_CACHE_HOME}/tone-pilot-setup/zlib)
else()
    set(TNP_ZLIB_CACHE $ENV{HOME}/.cache/tone-pilot-setup/zlib)
endif()
set(TNP_ZLIB_DIR ${CMAKE_BINARY_DIR}/zlib)

function(tnp_file_has_sha256 file sha256 result)
    set(${result} FALSE PARENT_SCOPE)
    if(EXISTS ${file})
        file(SHA256 ${file} sum)
        if(sum STREQUAL sha256)
            set(${result} TRUE PARENT_SCOPE)
        endif()
    endif()
endfunction()

# The cache holds a complete download once the pinned .dsc is there: it is moved in last. The
# lock keeps builds that configure at the same time from downloading over each other.
function(tnp_fetch_zlib_source)
    file(MAKE_DIRECTORY ${TNP_ZLIB_CACHE})
    file(LOCK ${TNP_ZLIB_CACHE}/lock GUARD FUNCTION TIMEOUT 600)
    tnp_file_has_sha256(${TNP_ZLIB_CACHE}/${TNP_ZLIB_DSC} ${TNP_ZLIB_DSC_SHA256} cached)
    if(cached)
        return()
    endif()
    message(STATUS "Downloading Debian's zlib source package ${TNP_ZLIB_VERSION} into ${TNP_ZLIB_CACHE}")
    set(download ${TNP_ZLIB_CACHE}/download)
    file(REMOVE_RECURSE ${download})
    file(MAKE_DIRECTORY ${download})
    execute_process(COMMAND apt-get source --download-only zlib=${TNP_ZLIB_VERSION}
        WORKING_DIRECTORY ${download} RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(failed)
        message(FATAL_ERROR "${log}\napt-get source could not download zlib ${TNP_ZLIB_VERSION}; "
            "tools/install-deps.sh (as root) adds the deb-src entries it needs")
    endif()
    tnp_file_has_sha256(${download}/${TNP_ZLIB_DSC} ${TNP_ZLIB_DSC_SHA256} pinned)
    if(NOT pinned)
        message(FATAL_ERROR "${download}/${TNP_ZLIB_DSC} is not the pinned one (sha256 ${TNP_ZLIB_DSC_SHA256})")
    endif()
    file(GLOB tarballs ${download}/*.tar.*)
    foreach(tarball ${tarballs})
        get_filename_component(name ${tarball} NAME)
        file(RENAME ${tarball} ${TNP_ZLIB_CACHE}/${name})
    endforeach()
    file(RENAME ${download}/${TNP_ZLIB_DSC} ${TNP_ZLIB_CACHE}/${TNP_ZLIB_DSC})
    file(REMOVE_RECURSE ${download})
endfunction()

# Unpacked with Debian's patches applied, once per build folder.
function(tnp_unpack_zlib_source)
    if(EXISTS ${TNP_ZLIB_DIR}/unpacked.txt)
        file(READ ${TNP_ZLIB_DIR}/unpacked.txt unpacked)
        if(unpacked STREQUAL "${TNP_ZLIB_VERSION}\n")
            return()
        endif()
    endif()
    file(REMOVE_RECURSE ${TNP_ZLIB_DIR})
    execute_process(COMMAND dpkg-source --no-copy -x ${TNP_ZLIB_CACHE}/${TNP_ZLIB_DSC} ${TNP_ZLIB_DIR}
        RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(failed)
        message(FATAL_ERROR "${log}\ndpkg-source could not unpack ${TNP_ZLIB_CACHE}/${TNP_ZLIB_DSC}; "
            "remove ${TNP_ZLIB_CACHE} to download it again")
    endif()
    file(WRITE ${TNP_ZLIB_DIR}/unpacked.txt "${TNP_ZLIB_VERSION}\n")
endfunction()

tnp_fetch_zlib_source()
tnp_unpack_zlib_source()

# Only the files uncompress needs, compiled without our warning flags (their warnings are not
# ours to mend). adler32 is payload/checksums.cpp's, small in place of fast; in the
# same archive as inflate, so that every program unpacking with this zlib, setup.exe and the unit
# tests alike, checks with them.
add_library(tnpchecksums OBJECT ${CMAKE_SOURCE_DIR}/payload/checksums.cpp)
target_compile_options(tnpchecksums PRIVATE ${TNP_TARGET_OPTIONS})
target_include_directories(tnpchecksums SYSTEM PRIVATE ${TNP_ZLIB_DIR})
add_library(tnpzlib STATIC ${TNP_ZLIB_DIR}/uncompr.c ${TNP_ZLIB_DIR}/inflate.c
    ${TNP_ZLIB_DIR}/inftrees.c ${TNP_ZLIB_DIR}/inffast.c ${TNP_ZLIB_DIR}/zutil.c
    $<TARGET_OBJECTS:tnpchecksums>)
target_compile_options(tnpzlib PRIVATE ${TNP_CODE_OPTIONS})
# zlib's own build options: uncompress takes zlib streams only, so inflate is built without gzip
# decoding (and the CRC-32 it needs); its fixed Huffman tables are built once at run time into
# zero-filled memory instead of being carried as 2 KB of data.
target_compile_definitions(tnpzlib PRIVATE NO_GZIP BUILDFIXED)
target_include_directories(tnpzlib SYSTEM PUBLIC ${TNP_ZLIB_DIR})
