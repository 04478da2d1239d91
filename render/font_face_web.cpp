// font_face_web.cpp -- finding the font file in the browser: the page puts the
// fonts it serves in /fonts of the program's file system; there is no font
// service to ask, so the faces are read there and matched by family name.
#include "render/font_face.h"

#include <dirent.h>

#include <algorithm>

namespace drumhold {

namespace {

constexpr char kFontFolder[] = "/fonts";

// The font folder's files, in name order.
std::vector<std::string> pageFontFiles() {
    std::vector<std::string> files;
    if (DIR* folder = opendir(kFontFolder)) {
        while (const dirent* entry = readdir(folder))
            if (entry->d_name[0] != '.') files.push_back(std::string(kFontFolder) + "/" + entry->d_name);
        closedir(folder);
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

FontChoice findFontFace(std::span<const FontRequest> requests, const std::vector<std::string>& passedOver) {
    const std::vector<FaceFile> faces = readFaces(pageFontFiles());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const FontRequest& request = requests[i];
        if (!request.family) continue;
        if (const FaceFile* face = pickFace(faces, request.generic ? nullptr : request.family, request.bold, passedOver))
            return {static_cast<int>(i), face->family, face->file};
    }
    return {};
}

}  // namespace drumhold
