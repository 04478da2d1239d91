# The libraries of the Windows build, all linked statically: SDL2 and FreeType
# from the prefix that scripts/windows-deps.sh fills, OpenGL 1.x and GLU from
# MinGW (Windows' opengl32.dll and glu32.dll).
enable_language(RC)

# SDL's own package: its pkg-config flags would make every program a windowed
# one entered through SDL2main, the test programs too. The shared CMake files
# name SDL2 by its pkg-config target, so that name stands for this one here.
find_package(SDL2 REQUIRED CONFIG)
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SDL2 INTERFACE SDL2::SDL2-static)

pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_library(GLU_LIBRARY NAMES glu32 REQUIRED)
