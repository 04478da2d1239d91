// trace_main.cpp -- drumhold-trace: replays a key script through the game headless
// and prints a per-frame hash (or the full state) of the world.
//
//   drumhold-trace [--full] [--frames A:B] [SCRIPT]
//   drumhold-trace --help | --version
//
// A script file is checked line by line before any frame runs; standard input
// and pipes run frames as their lines arrive and stop at a bad line. The
// format: docs/replay-format.md. Exit status: 0 done
// and in sync, 1 output failed, 2 bad command line or script, 3 out of sync,
// 4 out of memory.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

#include "replay/standard_streams.h"
#include "replay/text.h"
#include "tools/trace_run.h"

namespace {

using namespace drumhold::replay;
using namespace drumhold::tools;

constexpr int kOutputFailed = 1;
constexpr int kUsageError = 2;
constexpr int kOutOfSync = 3;
constexpr int kOutOfMemory = 4;
constexpr char kUsage[] =
    "usage: drumhold-trace [--full] [--frames A:B] [SCRIPT]\n"
    "       drumhold-trace --help | --version\n"
    "  Runs the game headless on a key script (standard input when SCRIPT is\n"
    "  absent or '-') and prints 'FRAME <n> <hash>' for every frame.\n"
    "  --full        print each frame's whole state instead of its hash\n"
    "  --frames A:B  print only frames A to B (inclusive)\n"
    "  --help        show this text\n"
    "  --version     show the version\n"
    "Script lines: 'COUNT KEYS', KEYS '-' or a comma-separated list of\n"
    "up, down, left, right, fire, space; 'reinit'; 'check N HASH';\n"
    "'#' starts a comment (the format: docs/replay-format.md).\n"
    "Exit status: 0 the script ran to its end in sync, 1 writing the output\n"
    "failed, 2 a bad command line or script line, 3 a check failed, 4 out of\n"
    "memory.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "drumhold-trace: %s\n%s", message.c_str(), kUsage);
    return kUsageError;
}

bool parseFrames(std::string_view text, TraceOptions& options) {
    std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    return parseFrameNumber(text.substr(0, colon), options.first) &&
           parseFrameNumber(text.substr(colon + 1), options.last) && options.first <= options.last;
}

int badScript(const std::string& source, const ScriptError& error) {
    const std::string where = error.line > 0 ? ": line " + std::to_string(error.line) : "";
    std::fprintf(stderr, "drumhold-trace: %s%s: %s\n", printable(source, 200).c_str(), where.c_str(),
                 error.message.c_str());
    return kUsageError;
}

int trace(int argc, char** argv) {
    useBinaryStandardOutput();
    TraceOptions options;
    const char* scriptPath = nullptr;
    bool endOfOptions = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (!endOfOptions && arg == "--") {
            endOfOptions = true;
        } else if (!endOfOptions && (arg == "-h" || arg == "--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!endOfOptions && arg == "--version") {
            std::puts("drumhold-trace " DRUMHOLD_VERSION);
            return 0;
        } else if (!endOfOptions && arg == "--full") {
            options.full = true;
        } else if (!endOfOptions && (arg == "--frames" || arg.starts_with("--frames="))) {
            std::string_view range;
            if (arg == "--frames") {
                if (i + 1 >= argc) return usageError("--frames needs a range A:B");
                range = argv[++i];
            } else {
                range = arg.substr(std::strlen("--frames="));
            }
            if (!parseFrames(range, options))
                return usageError("bad frame range '" + printable(range) +
                                  "': expected A:B with whole numbers A <= B");
        } else if (!endOfOptions && arg.size() > 1 && arg.front() == '-') {
            return usageError("unknown option '" + printable(arg) + "'");
        } else if (scriptPath) {
            return usageError("only one script may be given");
        } else {
            scriptPath = argv[i];
        }
    }

    std::FILE* file = nullptr;
    std::string source = "<stdin>";
    bool stream = true;  // frames run as lines arrive, stopping at a bad one
    if (scriptPath && std::strcmp(scriptPath, "-") != 0) {
        source = scriptPath;
        file = std::fopen(scriptPath, "rb");
        if (!file) {
            std::fprintf(stderr, "drumhold-trace: cannot open '%s': %s\n", printable(source, 200).c_str(),
                         std::strerror(errno));
            return kUsageError;
        }
        // A file is checked in full before any frame runs; a pipe (`<(...)`,
        // a named pipe) cannot be read twice, so it is read as standard input is.
        struct stat info {};
        stream = fstat(fileno(file), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode));
        ScriptError error;
        if (stream) {
            // Read as standard input is, a chunk as soon as it is there.
            const bool moved = dup2(fileno(file), 0) == 0;
            std::fclose(file);
            file = nullptr;
            if (!moved) {
                std::fprintf(stderr, "drumhold-trace: cannot read '%s': %s\n", printable(source, 200).c_str(),
                             std::strerror(errno));
                return kUsageError;
            }
        } else if (!checkScriptFile(file, error)) {
            std::fclose(file);
            return badScript(source, error);
        }
    }

    auto write = [](std::string_view chunk) {
        return std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size() && std::fflush(stdout) == 0;
    };
    ScriptReader reader = file ? ScriptReader(file) : ScriptReader(readStandardInput);
    const TraceOutcome outcome = runTrace(reader, options, write);
    if (file) std::fclose(file);

    if (const ScriptError& cut = reader.cutLine(); cut.line > 0)
        std::fprintf(stderr, "drumhold-trace: %s: line %llu is cut short (%s); the run ends before it\n",
                     printable(source, 200).c_str(), static_cast<unsigned long long>(cut.line), cut.message.c_str());
    switch (outcome.result) {
    case TraceOutcome::Done:
        return 0;
    case TraceOutcome::BadScript:
        return badScript(source, reader.error());
    case TraceOutcome::OutOfSync: {
        char expected[16], actual[16];
        formatHex16(expected, outcome.expected);
        formatHex16(actual, outcome.actual);
        std::fprintf(stderr, "drumhold-trace: out of sync at frame %llu (script %.16s, game %.16s)\n",
                     static_cast<unsigned long long>(outcome.frame), expected, actual);
        if (const std::string& by = reader.recordedBy(); !by.empty() && by != DRUMHOLD_VERSION)
            std::fprintf(stderr, "drumhold-trace: the record was made by drumhold %s, this is %s\n", by.c_str(),
                         DRUMHOLD_VERSION);
        return kOutOfSync;
    }
    case TraceOutcome::OutputFailed:
        break;
    }
    std::fprintf(stderr, "drumhold-trace: writing the trace failed: %s\n", std::strerror(errno));
    return kOutputFailed;
}

}  // namespace

int main(int argc, char** argv) {
    keepStandardStreamsOpen();
    try {
        return trace(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("drumhold-trace: out of memory\n", stderr);
        return kOutOfMemory;
    }
}
