# The replay tool for IBM Z Linux (big-endian), with Debian's
# g++-s390x-linux-gnu; `make cross` uses it (see cmake/linux-cross.cmake).
set(CMAKE_SYSTEM_PROCESSOR s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
