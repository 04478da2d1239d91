# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 and links against
# the static SDL2, FreeType and googletest that scripts/windows-deps.sh builds:
#
#   cmake -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DDRUMHOLD_WINDOWS_DEPS="$(scripts/windows-deps.sh)"
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix thread model: the default win32 one has no std::thread or std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# The prefix of the prebuilt libraries: a cache variable, or the environment
# for runs where no -D reaches (try_compile, the libraries' own builds).
if(NOT DRUMHOLD_WINDOWS_DEPS AND DEFINED ENV{DRUMHOLD_WINDOWS_DEPS})
  set(DRUMHOLD_WINDOWS_DEPS "$ENV{DRUMHOLD_WINDOWS_DEPS}")
endif()
set(DRUMHOLD_WINDOWS_DEPS "${DRUMHOLD_WINDOWS_DEPS}" CACHE PATH
    "Prefix of the static Windows libraries (printed by scripts/windows-deps.sh)")
set(ENV{DRUMHOLD_WINDOWS_DEPS} "${DRUMHOLD_WINDOWS_DEPS}")

# Headers and libraries come only from MinGW and that prefix, never from the
# Linux system; programs (pkg-config, code generators) come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${DRUMHOLD_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the prefix's .pc files, and --static adds what a static
# library itself links against (Libs.private) to the link line.
set(ENV{PKG_CONFIG_LIBDIR} "${DRUMHOLD_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_ARGN --static)

# One self-contained .exe: libgcc, libstdc++ and winpthread linked in, so it
# imports only DLLs that every Windows has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs and build-time generators run through Wine. The tests are
# listed when ctest runs, in the Wine set up for it, not while building.
find_program(DRUMHOLD_WINE NAMES wine wine64)
if(DRUMHOLD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DRUMHOLD_WINE})
endif()
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
