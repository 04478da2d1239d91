# The replay tool for 64-bit ARM Linux (fused multiply-add hardware), with Debian's
# g++-aarch64-linux-gnu; `make cross` uses it (see cmake/linux-cross.cmake).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
