# The build tools run on this machine, not the target: built as a native project of their own.
include(ExternalProject)
set(TNP_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(TNP_ZPACK ${TNP_HOST_TOOLS_DIR}/zpack)
set(TNP_MKSTANDIN ${TNP_HOST_TOOLS_DIR}/mkstandin)
set(TNP_MKICO ${TNP_HOST_TOOLS_DIR}/mkico)
set(TNP_PETRIM ${TNP_HOST_TOOLS_DIR}/petrim)
ExternalProject_Add(host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
    BINARY_DIR ${TNP_HOST_TOOLS_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${TNP_ZPACK} ${TNP_MKSTANDIN} ${TNP_MKICO} ${TNP_PETRIM})
