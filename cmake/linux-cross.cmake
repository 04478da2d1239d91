# Shared by the Linux cross toolchains (cmake/aarch64-linux-gnu.cmake,
# cmake/s390x-linux-gnu.cmake): Debian's cross compiler for the machine named by
# CMAKE_SYSTEM_PROCESSOR, its own headers and libraries, and one static program
# that qemu-user runs on this machine. Used with -DDRUMHOLD_TRACE_ONLY=ON: the
# replay tool needs no library beyond the C++ runtime.
set(CMAKE_SYSTEM_NAME Linux)
set(drumhold_cross_triplet ${CMAKE_SYSTEM_PROCESSOR}-linux-gnu)
set(CMAKE_C_COMPILER ${drumhold_cross_triplet}-gcc)
set(CMAKE_CXX_COMPILER ${drumhold_cross_triplet}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${drumhold_cross_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -O2 as the cache value itself: CMake appends its own -O3 to a _INIT value.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the Release build")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(DRUMHOLD_QEMU qemu-${CMAKE_SYSTEM_PROCESSOR})
if(DRUMHOLD_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DRUMHOLD_QEMU})
endif()
