// font_face.cpp -- finding the font file with fontconfig.
#include "render/font_face.h"

#include <fontconfig/fontconfig.h>

namespace drumhold {

namespace {

const FcChar8* fc(const char* s) { return reinterpret_cast<const FcChar8*>(s); }

// True when one of the match's family names is the requested one.
bool hasFamily(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (sameFamily(reinterpret_cast<const char*>(name), family)) return true;
    return false;
}

bool contains(const std::vector<std::string>& files, const char* file) {
    for (const std::string& f : files)
        if (f == file) return true;
    return false;
}

// The face of one candidate, if it is acceptable for the request.
bool acceptable(FcPattern* candidate, const FontRequest& request, const std::vector<std::string>& passedOver,
                FontChoice& choice) {
    FcBool outline = FcFalse;
    FcChar8* file = nullptr;
    FcChar8* family = nullptr;
    if (FcPatternGetBool(candidate, FC_OUTLINE, 0, &outline) != FcResultMatch || !outline ||
        FcPatternGetString(candidate, FC_FILE, 0, &file) != FcResultMatch ||
        contains(passedOver, reinterpret_cast<const char*>(file)) ||
        !(request.generic || hasFamily(candidate, request.family)))
        return false;
    FcPatternGetString(candidate, FC_FAMILY, 0, &family);
    choice.file = reinterpret_cast<const char*>(file);
    choice.family = family ? reinterpret_cast<const char*>(family) : request.family;
    return true;
}

// The file of the font fontconfig offers for one request, if it is acceptable;
// for a generic request the best of its faces that is.
bool matchRequest(const FontRequest& request, const std::vector<std::string>& passedOver, FontChoice& choice) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, fc(request.family));
    if (request.bold) FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    bool ok = false;
    if (request.generic) {
        if (FcFontSet* sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result)) {
            for (int i = 0; i < sorted->nfont && !ok; ++i) {
                FcPattern* candidate = FcFontRenderPrepare(nullptr, pattern, sorted->fonts[i]);
                if (!candidate) continue;
                ok = acceptable(candidate, request, passedOver, choice);
                FcPatternDestroy(candidate);
            }
            FcFontSetDestroy(sorted);
        }
    } else if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        ok = acceptable(match, request, passedOver, choice);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return ok;
}

}  // namespace

FontChoice findFontFace(std::span<const FontRequest> requests, const std::vector<std::string>& passedOver) {
    FontChoice choice;
    if (!FcInit()) return choice;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (requests[i].family && matchRequest(requests[i], passedOver, choice)) {
            choice.request = static_cast<int>(i);
            return choice;
        }
    }
    return choice;
}

}  // namespace drumhold
