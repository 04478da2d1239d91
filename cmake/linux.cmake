# The libraries of the Linux build, Debian's (debian/control names their
# packages): SDL2, FreeType and fontconfig through pkg-config, OpenGL through
# GLVND, and GLU.
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
drumhold_dependency(sdl PkgConfig::SDL2)

pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
drumhold_dependency(freetype PkgConfig::FREETYPE)

# The font file is what fontconfig answers (render/font_face.cpp).
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
drumhold_dependency(font_service PkgConfig::FONTCONFIG)

set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_library(GLU_LIBRARY GLU REQUIRED)
drumhold_dependency(gl OpenGL::GL ${GLU_LIBRARY})
