// freetype_web.cpp -- FreeType in the browser with the TrueType driver alone.
//
// The game reads one TrueType font, the page's, for its glyphs' outlines: no
// other format, no hinting, no rasterising. FreeType's own start
// (FT_Init_FreeType) adds every module the library was built with, and so
// links them all into the program, a third of its download. Here the library
// is started as FreeType's documentation describes for a module set of one's
// own (FT_New_Library, then FT_Add_Module), with the two modules TrueType
// needs; defining FreeType's start and end here keeps its default list out.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_SYSTEM_H

#include <cstdlib>

namespace {

// FreeType's memory on the C heap, as its own default does.
FT_MemoryRec_ heap = {
    nullptr,
    [](FT_Memory, long size) { return std::malloc(static_cast<std::size_t>(size)); },
    [](FT_Memory, void* block) { std::free(block); },
    [](FT_Memory, long, long size, void* block) { return std::realloc(block, static_cast<std::size_t>(size)); },
};

}  // namespace

extern "C" {

// The modules, as FreeType names them (its config/ftmodule.h); a driver's
// class begins with the module's class.
extern const struct FT_Driver_ClassRec_ tt_driver_class;
extern const FT_Module_Class sfnt_module_class;

FT_Error FT_Init_FreeType(FT_Library* library) {
    FT_Error error = FT_New_Library(&heap, library);
    if (!error) error = FT_Add_Module(*library, &sfnt_module_class);
    if (!error) error = FT_Add_Module(*library, reinterpret_cast<const FT_Module_Class*>(&tt_driver_class));
    if (error && *library) {
        FT_Done_Library(*library);
        *library = nullptr;
    }
    return error;
}

FT_Error FT_Done_FreeType(FT_Library library) { return FT_Done_Library(library); }

}  // extern "C"
