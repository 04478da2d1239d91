// trace_main.cpp -- drumhold-trace: replays a key script through the game headless
// and prints a per-frame hash (or the full state) of the world.
//
//   drumhold-trace [--full] [--frames A:B] [SCRIPT]
//
// Exit status: 0 done, 1 output failed, 2 bad command line or script.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tools/trace_run.h"
#include "tools/trace_script.h"

namespace {

using namespace drumhold::trace;

constexpr int kUsageError = 2;
constexpr char kUsage[] =
    "usage: drumhold-trace [--full] [--frames A:B] [SCRIPT]\n"
    "  Runs the game headless on a key script (standard input when SCRIPT is\n"
    "  absent or '-') and prints 'FRAME <n> <hash>' for every frame.\n"
    "  --full        print each frame's whole state instead of its hash\n"
    "  --frames A:B  print only frames A to B (inclusive)\n"
    "Script lines: 'COUNT KEYS', KEYS '-' or a comma-separated list of\n"
    "up, down, left, right, fire, space; '#' starts a comment.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "drumhold-trace: %s\n%s", message.c_str(), kUsage);
    return kUsageError;
}

bool parseFrameNumber(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseFrames(std::string_view text, TraceOptions& options) {
    std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    return parseFrameNumber(text.substr(0, colon), options.first) &&
           parseFrameNumber(text.substr(colon + 1), options.last) && options.first <= options.last;
}

bool readAll(std::FILE* file, std::string& text) {
    char chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    return !std::ferror(file);
}

}  // namespace

int main(int argc, char** argv) {
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
                return usageError("bad frame range '" + std::string(range) +
                                  "': expected A:B with whole numbers A <= B");
        } else if (!endOfOptions && arg.size() > 1 && arg.front() == '-') {
            return usageError("unknown option '" + std::string(arg) + "'");
        } else if (scriptPath) {
            return usageError("only one script may be given");
        } else {
            scriptPath = argv[i];
        }
    }

    std::string text;
    std::string source = "<stdin>";
    if (scriptPath && std::strcmp(scriptPath, "-") != 0) {
        source = scriptPath;
        std::FILE* file = std::fopen(scriptPath, "rb");
        if (!file) {
            std::fprintf(stderr, "drumhold-trace: cannot open '%s': %s\n", scriptPath, std::strerror(errno));
            return kUsageError;
        }
        bool ok = readAll(file, text);
        std::fclose(file);
        if (!ok) {
            std::fprintf(stderr, "drumhold-trace: cannot read '%s'\n", scriptPath);
            return kUsageError;
        }
    } else if (!readAll(stdin, text)) {
        std::fprintf(stderr, "drumhold-trace: cannot read standard input\n");
        return kUsageError;
    }

    std::vector<ScriptStep> steps;
    ScriptError error;
    if (!parseScript(text, steps, error)) {
        std::fprintf(stderr, "drumhold-trace: %s: line %d: %s\n", source.c_str(), error.line, error.message.c_str());
        return kUsageError;
    }

    auto write = [](std::string_view chunk) {
        return std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size();
    };
    bool ok = runTrace(steps, options, write) && std::fflush(stdout) == 0;
    if (!ok) {
        std::fprintf(stderr, "drumhold-trace: writing the trace failed: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
