// main_web.cpp -- the program's entry point in the browser. main.cpp's main,
// built as drumholdMain here, runs the game as on the desktop; its sleeps
// return to the browser (ASYNCIFY), and emscripten's runtime then takes no
// notice of its end, so the page is told here, with the exit status.
#include <emscripten.h>

int drumholdMain(int argc, char** argv);

namespace {

EM_JS(void, tellPageRunEnded, (int status), {
    if (Module['onRunEnded']) Module['onRunEnded'](status);
});

}  // namespace

int main(int argc, char** argv) {
    const int status = drumholdMain(argc, argv);
    tellPageRunEnded(status);
    return status;
}
