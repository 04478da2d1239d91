# The libraries of the browser build (emscripten): SDL2 and FreeType from the
# prefix that scripts/web-deps.sh fills, WebGL through emscripten's GL ES 2
# (the fixed functions are our own, render/fixed_gl.cpp), and GLU's
# tessellator compiled here from the sources in that prefix.
set(DRUMHOLD_WEB_DEPS "" CACHE PATH "The prefix scripts/web-deps.sh prints")
if(NOT DRUMHOLD_WEB_DEPS)
  message(FATAL_ERROR "the browser build needs -DDRUMHOLD_WEB_DEPS=$(scripts/web-deps.sh)")
endif()
# Only from there: emscripten's own SDL2 package would fetch its "port".
set(only_deps PATHS ${DRUMHOLD_WEB_DEPS} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

find_package(SDL2 REQUIRED CONFIG ${only_deps})
drumhold_dependency(sdl SDL2::SDL2-static)
find_package(freetype REQUIRED CONFIG ${only_deps})
drumhold_dependency(freetype freetype)
# No font service: render/font_face_web.cpp reads the page's font folder.
drumhold_dependency(font_service)

add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_options(OpenGL::GL INTERFACE -lGL)

enable_language(C)
set(glu ${DRUMHOLD_WEB_DEPS}/src/glu)
# The tessellator, as libglu's meson.build lists it; the quadrics' disk is
# render/fixed_gl.cpp's.
set(glu_sources dict.c geom.c memalloc.c mesh.c normal.c priorityq.c render.c sweep.c tess.c tessmono.c)
list(TRANSFORM glu_sources PREPEND ${glu}/libtess/)
add_library(drumhold_glu_web STATIC ${glu_sources})
# Its glu.h, not the one emscripten ships (which lacks the tessellator).
target_include_directories(drumhold_glu_web PUBLIC ${glu}/include)
target_compile_options(drumhold_glu_web PRIVATE -w)  # not our code; as GLU builds it
set(GLU_LIBRARY drumhold_glu_web)

drumhold_dependency(gl OpenGL::GL ${GLU_LIBRARY})

# No googletest for the browser: its tests are scripts run against it
# (tests/web, `make test-web`).
set(BUILD_TESTING OFF CACHE BOOL "" FORCE)
