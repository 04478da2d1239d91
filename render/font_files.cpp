// font_files.cpp -- the faces of font files, for the platforms with no font
// service to ask (font_face_windows.cpp, font_face_web.cpp): each file opened
// with FreeType for the names its faces give themselves, and the pick among
// them by family and weight.
#include "render/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace drumhold {

std::vector<FaceFile> readFaces(const std::vector<std::string>& files) {
    std::vector<FaceFile> faces;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return faces;
    for (const std::string& file : files) {
        FT_Face face = nullptr;
        if (file.empty() || FT_New_Face(library, file.c_str(), 0, &face) != 0) continue;
        if (FT_IS_SCALABLE(face) && face->family_name && !(face->style_flags & FT_STYLE_FLAG_ITALIC))
            faces.push_back({face->family_name, (face->style_flags & FT_STYLE_FLAG_BOLD) != 0, file});
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return faces;
}

bool isPassedOver(const FaceFile& face, const std::vector<std::string>& passedOver) {
    return std::find(passedOver.begin(), passedOver.end(), face.file) != passedOver.end();
}

const FaceFile* pickFace(const std::vector<FaceFile>& faces, const char* family, bool bold,
                         const std::vector<std::string>& passedOver) {
    const FaceFile* any = nullptr;
    for (const FaceFile& face : faces) {
        if ((family && !sameFamily(face.family.c_str(), family)) || isPassedOver(face, passedOver)) continue;
        if (face.bold == bold) return &face;
        if (!any) any = &face;
    }
    return any;
}

}  // namespace drumhold
