// main.cpp -- the program's entry point: the command line, signals, sound,
// then the game's run.
#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "render/gl_presentation.h"
#include "replay/script.h"
#include "shell/loop.h"
#include "shell/options.h"
#include "shell/record_writer.h"
#include "shell/recorder.h"
#include "shell/replayer.h"
#include "shell/sdl_platform.h"
#include "shell/signals.h"
#include "shell/sound.h"

namespace {

using namespace drumhold;

constexpr int kBadArguments = 2;

int badArguments(const std::string& what) {
    std::fprintf(stderr, "drumhold: %s (see drumhold --help)\n", what.c_str());
    return kBadArguments;
}

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

// A file to replay: read twice (checked in full before the window opens, then
// played), so it must be a file that can be rewound, not a pipe.
std::FILE* openReplay(const std::string& path, std::string& why) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = std::strerror(errno);
        return nullptr;
    }
    struct stat info {};
    if (fstat(fileno(file), &info) == 0 && !S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? std::strerror(EISDIR)
                                    : "not a regular file: a replay is checked before it is played, so it must be "
                                      "read twice (drumhold-trace reads a pipe as it comes)";
        std::fclose(file);
        return nullptr;
    }
    return file;
}

// The journal the command line asks for, or an exit status when it cannot be had.
int openJournal(const Options& options, std::unique_ptr<Journal>& journal) {
    const std::string& path = options.replayPath.empty() ? options.recordPath : options.replayPath;
    if (path.empty()) return 0;
    const std::string name = replay::printable(path, 200);
    std::string why;
    if (options.replayPath.empty()) {
        auto writer = RecordWriter::open(path, recordHeader(), why);
        if (!writer) return badArguments("cannot write the record '" + name + "': " + why);
        journal = std::make_unique<Recorder>(std::move(writer));
        return 0;
    }
    std::FILE* file = openReplay(path, why);
    if (!file) return badArguments("cannot replay '" + name + "': " + why);
    replay::ScriptError error;
    if (!replay::checkScriptFile(file, error)) {
        std::fclose(file);
        const std::string where = error.line > 0 ? ": line " + std::to_string(error.line) : "";
        std::fprintf(stderr, "drumhold: %s%s: %s\n", name.c_str(), where.c_str(), error.message.c_str());
        return kBadArguments;
    }
    journal = std::make_unique<Replayer>(file, path, DRUMHOLD_VERSION);
    return 0;
}

}  // namespace

// On Windows SDL.h renames this function SDL_main; main_windows.cpp holds the
// program's real entry point, which joins the caller's console and calls it.
int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) return badArguments(error);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::puts("drumhold " DRUMHOLD_VERSION);
        return 0;
    }
    std::unique_ptr<Journal> journal;
    if (const int status = openJournal(options, journal); status != 0) return status;

    // Before anything starts a thread, so that every thread keeps them blocked.
    startSignalWatch(&SdlPlatform::noteSignal);
    SdlPlatform platform;
    GlPresentation presentation;
    Sound sound;
    // No cue sounds before the first frame: the title need not wait for the sound.
    return runGame(platform, presentation, sound,
                   {!options.windowed, journal.get(), [&sound] { sound.open(); }, options.fullscreenKind,
                    options.scaleTenths});
}
