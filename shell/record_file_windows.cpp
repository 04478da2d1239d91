// record_file_windows.cpp -- a record's file on Windows.
//
// The new file is opened sharing deletion, so that it can be renamed over FILE
// while the writer still writes to it; a rename does not replace a file on
// Windows unless asked to. Links and named pipes are not looked into: a pipe
// or a device opens as it is, or not at all, without waiting.
#include "shell/record_file.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstring>

namespace drumhold {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string reason(DWORD error) {
    char text[256] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
    while (n > 0 && std::strchr("\r\n. ", text[n - 1])) --n;
    return n > 0 ? std::string(text, n) : "error " + std::to_string(error);
}

// A descriptor that owns `handle`; -1 (the handle closed) when there is none.
int descriptorFor(HANDLE handle, std::string& why) {
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        why = std::strerror(errno);
    }
    return fd;
}

}  // namespace

bool openRecordFile(const std::string& path, unsigned, RecordFile& file, std::string& why) {
    file = RecordFile{};
    file.target = path;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        why = std::strerror(EISDIR);
        return false;
    }
    // Opened as it is, without emptying it: a device or a pipe is written so,
    // a file only tells whether it may be written.
    const HANDLE existing =
        CreateFileA(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND) {
        why = reason(GetLastError());
        return false;
    }
    if (existing != INVALID_HANDLE_VALUE) {
        if (GetFileType(existing) != FILE_TYPE_DISK) {
            file.fd = descriptorFor(existing, why);
            return file.fd >= 0;
        }
        CloseHandle(existing);
    }
    const std::size_t slash = path.find_last_of("/\\:");
    const std::size_t folder = slash == std::string::npos ? 0 : slash + 1;
    const std::string base =
        path.substr(0, folder) + "." + path.substr(folder) + ".recording-" + std::to_string(GetCurrentProcessId());
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.replacing = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        const HANDLE made = CreateFileA(file.replacing.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made != INVALID_HANDLE_VALUE) {
            file.fd = descriptorFor(made, why);
            if (file.fd >= 0) return true;
            DeleteFileA(file.replacing.c_str());
            break;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            why = reason(GetLastError());
            break;
        }
    }
    if (why.empty()) why = reason(ERROR_FILE_EXISTS);
    file.replacing.clear();
    return false;
}

bool replaceWithRecord(const RecordFile& file, std::string& why) {
    if (MoveFileExA(file.replacing.c_str(), file.target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    why = reason(GetLastError());
    return false;
}

void discardRecord(const RecordFile& file) { DeleteFileA(file.replacing.c_str()); }

}  // namespace drumhold
