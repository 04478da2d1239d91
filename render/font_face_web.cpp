// font_face_web.cpp -- finding the font file in the browser: the page puts the
// fonts it serves in /fonts of the program's file system; there is no font
// service to ask, so the faces are read there and matched by family name.
#include "render/font_face.h"

#include <dirent.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace drumhold {

namespace {

constexpr char kFontFolder[] = "/fonts";

struct Face {
    std::string family;
    bool bold = false;
    std::string file;
};

// The upright outline faces in the font folder, in file name order.
std::vector<Face> pageFaces() {
    std::vector<Face> faces;
    std::vector<std::string> files;
    if (DIR* folder = opendir(kFontFolder)) {
        while (const dirent* entry = readdir(folder))
            if (entry->d_name[0] != '.') files.push_back(std::string(kFontFolder) + "/" + entry->d_name);
        closedir(folder);
    }
    std::sort(files.begin(), files.end());
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return faces;
    for (const std::string& file : files) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, file.c_str(), 0, &face) != 0) continue;
        if (FT_IS_SCALABLE(face) && face->family_name && !(face->style_flags & FT_STYLE_FLAG_ITALIC))
            faces.push_back({face->family_name, (face->style_flags & FT_STYLE_FLAG_BOLD) != 0, file});
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return faces;
}

bool passed(const Face& face, const std::vector<std::string>& passedOver) {
    return std::find(passedOver.begin(), passedOver.end(), face.file) != passedOver.end();
}

}  // namespace

FontChoice findFontFace(std::span<const FontRequest> requests, const std::vector<std::string>& passedOver) {
    const std::vector<Face> faces = pageFaces();
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const FontRequest& request = requests[i];
        if (!request.family) continue;
        const Face* any = nullptr;
        const Face* best = nullptr;
        for (const Face& face : faces) {
            if (passed(face, passedOver)) continue;
            if (!request.generic && !sameFamily(face.family.c_str(), request.family)) continue;
            if (!any) any = &face;
            if (face.bold == request.bold) {
                best = &face;
                break;
            }
        }
        if (const Face* face = best ? best : any) return {static_cast<int>(i), face->family, face->file};
    }
    return {};
}

}  // namespace drumhold
