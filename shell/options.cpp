// options.cpp -- reading the command line.
#include "shell/options.h"

#include <string_view>

#include "replay/script.h"

namespace drumhold {

const char* const kUsage =
    "usage: drumhold [--windowed | --fullscreen] [--record FILE | --replay FILE]\n"
    "       drumhold --help | --version\n"
    "A vector-line arcade game: defend the 18 barrels from the enemy tanks.\n"
    "  --windowed      start in an 800x600 window\n"
    "  --fullscreen    start fullscreen at 800x600 (the default)\n"
    "  --record FILE   write the game, as it is played, to FILE as a replay script\n"
    "  --replay FILE   play the game recorded in FILE, checking that it stays in sync;\n"
    "                  the keyboard takes over when it ends\n"
    "                  (--record=FILE and --replay=FILE work too)\n"
    "  -h, --help      show this text\n"
    "  --version       show the version\n"
    "Keys: arrows drive, Shift fires, Space starts a game, Esc quits;\n"
    "Alt+Enter or F11 switch between fullscreen and windowed.\n"
    "Exit status: 0 a normal end, 1 no window could be opened, 2 a bad command\n"
    "line or FILE, 4 out of memory, 255 the video system could not start.\n";

namespace {

// `--name VALUE` or `--name=VALUE`; true when `arg` is the option.
bool valueOption(std::string_view arg, std::string_view name, int& i, int argc, const char* const* argv,
                 std::string& value, std::string& error) {
    if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
    } else if (arg == name) {
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a FILE";
            return true;
        }
        value = argv[++i];
    } else {
        return false;
    }
    if (value.empty() && error.empty()) error = std::string(name) + " needs a FILE";
    return true;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    bool fullscreen = false;
    error.clear();
    for (int i = 1; i < argc && error.empty(); ++i) {
        const std::string_view arg = argv[i];
        std::string value;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--windowed") {
            options.windowed = true;
        } else if (arg == "--fullscreen") {
            fullscreen = true;
        } else if (valueOption(arg, "--record", i, argc, argv, value, error)) {
            if (!options.recordPath.empty() && error.empty()) error = "--record is given twice";
            options.recordPath = value;
        } else if (valueOption(arg, "--replay", i, argc, argv, value, error)) {
            if (!options.replayPath.empty() && error.empty()) error = "--replay is given twice";
            options.replayPath = value;
        } else if (arg.starts_with("-")) {
            error = "unknown option '" + replay::printable(arg) + "'";
        } else {
            error = "unexpected argument '" + replay::printable(arg) + "'";
        }
    }
    if (error.empty() && options.windowed && fullscreen) error = "--windowed and --fullscreen exclude each other";
    if (error.empty() && !options.recordPath.empty() && !options.replayPath.empty())
        error = "--record and --replay exclude each other";
    return error.empty();
}

}  // namespace drumhold
