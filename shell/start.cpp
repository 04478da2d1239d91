// start.cpp -- the game's entry, and the command line's options and journal
// made ready for the game.
#include "shell/start.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <new>
#include <utility>

#include "render/gl_presentation.h"
#include "replay/standard_streams.h"
#include "shell/loop.h"
#include "shell/record_writer.h"
#include "shell/recorder.h"
#include "shell/replayer.h"
#include "shell/sdl_platform.h"
#include "shell/signals.h"
#include "shell/sound.h"

namespace drumhold {

namespace {

// The first lines of a recorded game: what made it, when, and where.
std::string recordHeader() {
    char when[64] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* utc = std::gmtime(&now)) std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", utc);
    SDL_version sdl;
    SDL_GetVersion(&sdl);
    return std::string("# drumhold ") + DRUMHOLD_VERSION + " replay, recorded " + when + "\n# platform " +
           SDL_GetPlatform() + ", SDL " + std::to_string(sdl.major) + "." + std::to_string(sdl.minor) + "." +
           std::to_string(sdl.patch) + "\n";
}

// Why a file that is not a regular one cannot be replayed.
std::string notRegular(const struct stat& info) {
    return S_ISDIR(info.st_mode) ? std::strerror(EISDIR)
                                 : "not a regular file: a replay is checked before it is played, so it must be "
                                   "read twice (drumhold-trace reads a pipe as it comes)";
}

// A file to replay: read twice (checked in full before the window opens, then
// played), so it must be a file that can be rewound, not a pipe. Looked at
// before it is opened: opening a named pipe would wait for a writer.
std::FILE* openReplay(const std::string& path, std::string& why) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        why = notRegular(info);
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = std::strerror(errno);
        return nullptr;
    }
    // Replaced by something else in between: still refused.
    if (fstat(fileno(file), &info) == 0 && !S_ISREG(info.st_mode)) {
        why = notRegular(info);
        std::fclose(file);
        return nullptr;
    }
    return file;
}

// True when both paths name one file: a record written over the replay it
// is made from would lose the replay on some systems, and on all of them the
// player's file.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {}, second {};
    if (a == b) return true;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_ino != 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

int enterGame(int argc, char** argv, Play play) {
    replay::keepStandardStreamsOpen();
    // Before anything starts a thread, so that every thread keeps them
    // blocked, and before a record or a replay is opened: a request during
    // either waits for the window, it never ends the game.
    startSignalWatch(&SdlPlatform::noteSignal);
    try {
        return play(std::make_unique<GameStart>(argc, argv));
    } catch (const std::bad_alloc&) {
        // The window, if open, is closed on the way here, the display mode given back.
        std::fputs("drumhold: out of memory\n", stderr);
        return kOutOfMemory;
    }
}

int playToEnd(std::unique_ptr<GameStart> start) {
    start->advance(std::numeric_limits<std::uint64_t>::max());
    if (!start->play()) return start->status();
    const std::unique_ptr<Journal> journal = start->takeJournal();

    SdlPlatform platform;
    GlPresentation presentation;
    Sound sound;
    // No cue sounds before the first frame: the title need not wait for the sound.
    return runGame(platform, presentation, sound,
                   {!start->options().windowed, journal.get(), [&sound] { sound.open(); },
                    start->options().fullscreenKind, start->options().scaleTenths});
}

int badArguments(const std::string& what) {
    std::fprintf(stderr, "drumhold: %s (see drumhold --help)\n", what.c_str());
    return kBadArguments;
}

GameStart::GameStart(int argc, char** argv) {
    std::string error;
    if (!parseOptions(argc, argv, options_, error)) {
        end(badArguments(error));
    } else if (options_.help) {
        std::fputs(kUsage, stdout);
        end(0);
    } else if (options_.version) {
        std::puts("drumhold " DRUMHOLD_VERSION);
        end(0);
    } else {
        openJournal();
    }
}

GameStart::~GameStart() {
    if (replayFile_) std::fclose(replayFile_);
}

void GameStart::end(int status, bool play) {
    status_ = status;
    play_ = play;
    done_ = true;
}

// A record is opened at once; a replay's file is opened for its check.
void GameStart::openJournal() {
    std::string why;
    if (!options_.recordPath.empty() && !options_.replayPath.empty() &&
        sameFile(options_.recordPath, options_.replayPath)) {
        end(badArguments("--record and --replay name the same file"));
        return;
    }
    if (!options_.recordPath.empty()) {
        auto writer = RecordWriter::open(options_.recordPath, recordHeader(), why);
        if (!writer) {
            end(badArguments("cannot write the record '" + replay::printable(options_.recordPath, 200) + "': " + why));
            return;
        }
        recorder_ = std::make_unique<Recorder>(std::move(writer));
    }
    if (options_.replayPath.empty()) {
        journal_ = std::move(recorder_);
        end(0, true);
        return;
    }
    replayFile_ = openReplay(options_.replayPath, why);
    if (replayFile_)
        check_.emplace(replayFile_);
    else
        end(badArguments("cannot replay '" + replay::printable(options_.replayPath, 200) + "': " + why));
}

bool GameStart::advance(std::uint64_t steps) {
    if (done_) return true;
    if (!check_->advance(steps)) return false;
    if (check_->ok()) {
        auto replayer =
            std::make_unique<Replayer>(std::exchange(replayFile_, nullptr), options_.replayPath, DRUMHOLD_VERSION);
        replayer_ = replayer.get();
        if (recorder_)
            journal_ = std::make_unique<RecordedReplay>(std::move(replayer), std::move(recorder_));
        else
            journal_ = std::move(replayer);
        end(0, true);
        return true;
    }
    const replay::ScriptError& error = check_->error();
    const std::string where = error.line > 0 ? ": line " + std::to_string(error.line) : "";
    std::fprintf(stderr, "drumhold: %s%s: %s\n", replay::printable(options_.replayPath, 200).c_str(), where.c_str(),
                 error.message.c_str());
    end(kBadArguments);
    return true;
}

}  // namespace drumhold
