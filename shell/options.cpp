// options.cpp -- reading the command line.
#include "shell/options.h"

#include <string_view>

#include "replay/script.h"

namespace drumhold {

const char* const kUsage =
    "usage: drumhold [--windowed | --fullscreen[=KIND]] [--scale[=N]] [--record FILE] [--replay FILE]\n"
    "       drumhold --help | --version\n"
    "A vector-line arcade game: defend the 18 barrels from the enemy tanks.\n"
    "  --windowed      start in the window (800x600 unless --scale says otherwise)\n"
    "  --fullscreen[=KIND]  start fullscreen (the default), KIND being\n"
    "                  switch: the display switched to 800x600 (the default), or\n"
    "                  desktop: the display left at its own resolution, the picture\n"
    "                  as large as it holds, centred on black\n"
    "  --scale=N       the window N times 800x600, N from 1 to 8 (2, or 1.5), at most\n"
    "                  as large as the display allows; starts in the window unless\n"
    "                  --fullscreen is given\n"
    "  --scale, --scale=fit\n"
    "                  the largest window the display holds\n"
    "  --record FILE   write the game, as it is played, to FILE as a replay script\n"
    "  --replay FILE   play the game recorded in FILE, checking that it stays in sync;\n"
    "                  the keyboard takes over when it ends (with --record, the record\n"
    "                  holds the replayed game and the play that follows it)\n"
    "                  (--record=FILE and --replay=FILE work too)\n"
    "  -h, --help      show this text\n"
    "  --version       show the version\n"
    "Keys: arrows drive, Shift fires, Space starts a game, Esc quits;\n"
    "Alt+Enter or F11 switch between fullscreen (of the KIND asked for) and the window.\n"
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

// An argument as a message shows it: in quotes, any byte that is not
// printable ASCII escaped.
std::string quoted(std::string_view arg) {
    std::string text(1, '\'');
    text += replay::printable(arg);
    text += '\'';
    return text;
}

// "1" to "8" with at most one decimal, in tenths; 0 when it is not such a scale.
int scaleTenthsOf(std::string_view text) {
    const auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    const bool whole = text.size() == 1 && digit(0);
    const bool tenths = text.size() == 3 && digit(0) && text[1] == '.' && digit(2);
    if (!whole && !tenths) return 0;
    const int scale = (text[0] - '0') * 10 + (tenths ? text[2] - '0' : 0);
    return scale >= 10 && scale <= 80 ? scale : 0;
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
        } else if (arg == "--fullscreen" || arg.starts_with("--fullscreen=")) {
            const std::string_view kind = arg == "--fullscreen" ? "switch" : arg.substr(13);
            const FullscreenKind named = kind == "desktop" ? FullscreenKind::Desktop : FullscreenKind::SwitchMode;
            if (kind != "desktop" && kind != "switch")
                error = quoted(arg) + ": fullscreen is --fullscreen=desktop or --fullscreen=switch";
            else if (fullscreen && named != options.fullscreenKind)
                error = "--fullscreen=desktop and --fullscreen=switch exclude each other";
            fullscreen = true;
            options.fullscreenKind = named;
        } else if (arg == "--scale" || arg.starts_with("--scale=")) {
            const std::string_view scale = arg == "--scale" ? "fit" : arg.substr(8);
            if (options.scaleTenths != 0)
                error = "--scale is given twice";
            else if (scale == "fit")
                options.scaleTenths = kScaleFit;
            else if ((options.scaleTenths = scaleTenthsOf(scale)) == 0)
                error = quoted(arg) + ": the scale is a number from 1 to 8 with one decimal at most (2, 1.5), or fit";
            // A value after a space is no value of --scale: say how it is given.
            if (error.empty() && arg == "--scale" && i + 1 < argc && argv[i + 1][0] != '-')
                error = "--scale takes its value after '=': --scale=" + replay::printable(argv[i + 1]);
        } else if (valueOption(arg, "--record", i, argc, argv, value, error)) {
            if (!options.recordPath.empty() && error.empty()) error = "--record is given twice";
            options.recordPath = value;
        } else if (valueOption(arg, "--replay", i, argc, argv, value, error)) {
            if (!options.replayPath.empty() && error.empty()) error = "--replay is given twice";
            options.replayPath = value;
        } else if (arg.starts_with("-")) {
            error = "unknown option " + quoted(arg);
        } else {
            error = "unexpected argument " + quoted(arg);
        }
    }
    if (error.empty() && options.windowed && fullscreen) error = "--windowed and --fullscreen exclude each other";
    // A scaled window is what --scale asks to see first, unless fullscreen is asked for too.
    if (options.scaleTenths != 0 && !fullscreen) options.windowed = true;
    return error.empty();
}

}  // namespace drumhold
