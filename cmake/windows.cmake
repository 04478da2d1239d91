# The libraries of the Windows build, all linked statically: SDL2 and FreeType
# from the prefix that scripts/windows-deps.sh fills, OpenGL 1.x and GLU from
# MinGW (Windows' opengl32.dll and glu32.dll).
enable_language(RC)

# SDL's own package: its pkg-config flags would make every program a windowed
# one entered through SDL2main, the test programs too.
find_package(SDL2 REQUIRED CONFIG)
drumhold_dependency(sdl SDL2::SDL2-static)

pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
drumhold_dependency(freetype PkgConfig::FREETYPE)

# No font service: render/font_face_windows.cpp looks in the folders itself.
drumhold_dependency(font_service)

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_library(GLU_LIBRARY NAMES glu32 REQUIRED)
drumhold_dependency(gl OpenGL::GL ${GLU_LIBRARY})
