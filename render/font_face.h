// font_face.h -- finding the font file to draw text with.
#pragma once

#include <cctype>
#include <span>
#include <string>
#include <vector>

namespace drumhold {

// A face to look for. The font service always answers with some font, so a
// named family only counts when the answer is that family; a generic one (such
// as "monospace") accepts whatever it maps to. The named families of a request
// list are one design under the names it goes by; a generic family stands for
// another design, a substitute, and finding it is worth a word to the player.
struct FontRequest {
    const char* family;
    bool bold;
    bool generic;
};

// "OCR A Extended" bold, then the OCR-A faces, then any bold monospace.
// Debian's fonts-ocr-a names its families "OCRA" and "OCRABold"; family names
// compare ignoring blanks and case, so "OCR A Bold" finds the bold one.
inline constexpr FontRequest defaultFontRequests[] = {
    {"OCR A Extended", true, false},
    {"OCR A Bold", true, false},
    {"OCR A", true, false},
    {"monospace", true, true},
};

// Family names compare as fontconfig compares them: ignoring blanks and case.
inline bool sameFamily(const char* a, const char* b) {
    for (;;) {
        while (*a == ' ') ++a;
        while (*b == ' ') ++b;
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
        if (*a == '\0') return true;
        ++a;
        ++b;
    }
}

// The face that answered a request list.
struct FontChoice {
    int request = -1;    // index into the request list; -1 when none answered
    std::string family;  // as the font names itself
    std::string file;
};

// Finds the first request the font service can meet with a file not in
// `passedOver` (request -1 when none). A generic request may be met by any of
// the faces it stands for, best first.
FontChoice findFontFace(std::span<const FontRequest> requests, const std::vector<std::string>& passedOver = {});

// Where there is no font service to ask (Windows, the browser), the faces of
// the font files the program finds itself (font_files.cpp).
struct FaceFile {
    std::string family;  // as the font names itself
    bool bold = false;
    std::string file;
};

// The upright outline faces of `files`, in their order.
std::vector<FaceFile> readFaces(const std::vector<std::string>& files);

bool isPassedOver(const FaceFile& face, const std::vector<std::string>& passedOver);

// The first face of `family` (of any family when null) not passed over: bold
// or not as asked when there is one such, otherwise the first of them.
const FaceFile* pickFace(const std::vector<FaceFile>& faces, const char* family, bool bold,
                         const std::vector<std::string>& passedOver);

}  // namespace drumhold
