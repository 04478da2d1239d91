// record_file.h -- the file a record is written to, as the system allows.
//
// An existing FILE is left exactly as it was until the game has begun: the
// record goes to a new file in FILE's folder (links followed, so that the file
// they point to is the one replaced), which is renamed over FILE at the first
// frame. A crash at any moment thus leaves either the old file or a record
// that replays. A game that never begins (no display, say) removes the new
// file again. A named pipe or a device is written as it is, from the start:
// there is nothing in it to keep. Opening never blocks: a named pipe that no
// program reads is given up after a wait.
//
// record_file.cpp holds the POSIX systems' (and the browser's) way,
// record_file_windows.cpp Windows'.
#pragma once

#include <string>

namespace drumhold {

struct RecordFile {
    int fd = -1;
    // The new file, renamed over `target` when the game begins; empty when
    // `fd` is FILE itself (a pipe or a device).
    std::string replacing;
    std::string target;  // FILE, links followed
};

// Opens the record for `path`, waiting up to `readerWaitMs` for the reader of
// a named pipe. False with the reason in `why`.
bool openRecordFile(const std::string& path, unsigned readerWaitMs, RecordFile& file, std::string& why);

// Puts the new file in its target's place. False with the reason in `why`.
bool replaceWithRecord(const RecordFile& file, std::string& why);

// Removes the new file of a game that never began.
void discardRecord(const RecordFile& file);

}  // namespace drumhold
