// font_face_windows.cpp -- finding the font file on Windows, which has no font
// service to ask: first the fonts shipped in the program's own folder, then
// the fonts installed in Windows (the registry's list, files in the Windows
// fonts folder), then, for a generic family, a monospace face Windows has.
#include "render/font_face.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace drumhold {

namespace {

std::string narrow(const std::wstring& text, UINT codePage) {
    BOOL lossy = FALSE;
    BOOL* lossyOut = codePage == CP_ACP ? &lossy : nullptr;
    const DWORD flags = codePage == CP_ACP ? WC_NO_BEST_FIT_CHARS : 0;
    const int n = WideCharToMultiByte(codePage, flags, text.c_str(), -1, nullptr, 0, nullptr, lossyOut);
    if (n <= 0 || lossy) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.pop_back();  // the terminator
    return out;
}

// A path fopen can open: in the ANSI code page, or its short form when the
// long one has characters that page lacks.
std::string openablePath(const std::wstring& path) {
    std::string out = narrow(path, CP_ACP);
    if (!out.empty()) return out;
    wchar_t shortPath[MAX_PATH];
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return n > 0 && n < MAX_PATH ? narrow(shortPath, CP_ACP) : std::string();
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// The outline font files in the program's folder.
std::vector<std::string> shippedFiles() {
    std::vector<std::string> files;
    const std::wstring folder = programFolder();
    if (folder.empty()) return files;
    for (const wchar_t* pattern : {L"*.ttf", L"*.otf"}) {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            files.push_back(openablePath(folder + found.cFileName));
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return files;
}

bool endsWith(const std::string& text, const char* tail) {
    const std::size_t n = std::char_traits<char>::length(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

// One entry of the registry's font list: "Courier New Bold (TrueType)" names
// the faces of a file, several joined by " & " in a collection. Entries
// without "(TrueType)" or "(OpenType)" are bitmap fonts.
void addRegistryEntry(const std::string& name, const std::wstring& file, std::vector<FaceFile>& faces) {
    if (!endsWith(name, " (TrueType)") && !endsWith(name, " (OpenType)")) return;
    std::string faceNames = name.substr(0, name.rfind(" ("));
    const std::string path = openablePath(file);
    if (path.empty() || !isFile(file)) return;
    for (std::size_t start = 0; start <= faceNames.size();) {
        std::size_t end = faceNames.find(" & ", start);
        if (end == std::string::npos) end = faceNames.size();
        std::string family = faceNames.substr(start, end - start);
        start = end + 3;
        if (family.find("Italic") != std::string::npos || family.find("Oblique") != std::string::npos) continue;
        const bool bold = endsWith(family, " Bold");
        if (bold) family.resize(family.size() - 5);
        faces.push_back({family, bold, path});
    }
}

// The fonts installed for the machine and, since Windows 10, for the user.
std::vector<FaceFile> installedFaces() {
    std::vector<FaceFile> faces;
    wchar_t windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring fontsFolder = n > 0 && n < MAX_PATH ? std::wstring(windows) + L"\\Fonts\\" : L"";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            continue;
        for (DWORD i = 0;; ++i) {
            wchar_t name[512];
            wchar_t data[MAX_PATH];
            DWORD nameLength = 512;
            DWORD dataBytes = sizeof data - sizeof(wchar_t);
            DWORD type = 0;
            const LONG status = RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                                              reinterpret_cast<BYTE*>(data), &dataBytes);
            if (status == ERROR_NO_MORE_ITEMS) break;
            if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
            data[dataBytes / sizeof(wchar_t)] = L'\0';
            const std::wstring file = data;
            const bool relative = file.find_first_of(L":\\/") == std::wstring::npos;
            if (relative && fontsFolder.empty()) continue;
            addRegistryEntry(narrow(name, CP_UTF8), relative ? fontsFolder + file : file, faces);
        }
        RegCloseKey(key);
    }
    return faces;
}

// What a generic family stands for on Windows, best first, then any face
// rather than none.
const FaceFile* pickGeneric(const std::vector<FaceFile>& faces, bool bold,
                            const std::vector<std::string>& passedOver) {
    for (const char* family : {"Consolas", "Courier New", "Lucida Console", "DejaVu Sans Mono", "Liberation Mono"})
        if (const FaceFile* face = pickFace(faces, family, bold, passedOver)) return face;
    for (const FaceFile& face : faces)
        if (!isPassedOver(face, passedOver)) return &face;
    return nullptr;
}

bool choose(std::span<const FontRequest> requests, const std::vector<FaceFile>& faces, bool generic,
            const std::vector<std::string>& passedOver, FontChoice& choice) {
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const FontRequest& request = requests[i];
        if (!request.family || request.generic != generic) continue;
        const FaceFile* face = generic ? pickGeneric(faces, request.bold, passedOver)
                                       : pickFace(faces, request.family, request.bold, passedOver);
        if (face) {
            choice = {static_cast<int>(i), face->family, face->file};
            return true;
        }
    }
    return false;
}

}  // namespace

FontChoice findFontFace(std::span<const FontRequest> requests, const std::vector<std::string>& passedOver) {
    FontChoice choice;
    if (choose(requests, readFaces(shippedFiles()), false, passedOver, choice)) return choice;
    const std::vector<FaceFile> installed = installedFaces();
    if (!choose(requests, installed, false, passedOver, choice)) choose(requests, installed, true, passedOver, choice);
    return choice;
}

}  // namespace drumhold
