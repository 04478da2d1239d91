// play_script_main.cpp -- prints a made-up script of heavy play (scripts.h),
// so that the replay tools of two platforms can be compared on long games.
//
//   play_script FRAMES [SEED]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/scripts.h"

int main(int argc, char** argv) {
    char* end = nullptr;
    drumhold::testing::PlayScriptOptions options;
    if (argc == 2 || argc == 3) options.frames = std::strtoull(argv[1], &end, 10);
    if (argc == 3 && end && *end == '\0') options.seed = std::strtoull(argv[2], &end, 10);
    if (options.frames == 0 || !end || *end != '\0') {
        std::fputs("usage: play_script FRAMES [SEED]\n", stderr);
        return 2;
    }
    const std::string script = drumhold::testing::formatScript(drumhold::testing::makePlayScript(options));
    return std::fwrite(script.data(), 1, script.size(), stdout) == script.size() ? 0 : 1;
}
