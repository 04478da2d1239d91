// display_web.cpp -- frames drawn at the display's pace, at the page's size.
#include "shell/display_web.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "render/gl.h"

namespace drumhold {

namespace {

// Setting a canvas's size clears it, even to the size it has.
EM_JS(void, setDrawingBufferSize, (int width, int height), {
    const canvas = Module['canvas'];
    if (canvas.width != width) canvas.width = width;
    if (canvas.height != height) canvas.height = height;
});

// The page copies the picture now, before it is presented and gone.
EM_JS(void, keepPicture, (), {
    if (Module['onLastPicture']) Module['onLastPicture']();
});

}  // namespace

DisplayPresentation::~DisplayPresentation() {
    if (request_) emscripten_cancel_animation_frame(request_);
}

void DisplayPresentation::contextOpened() {
    gl_.contextOpened();
    open_ = true;
    applied_ = appliedHeight_ = 0;
    shown_ = wanted_ = Picture::None;
    // The GL presentation starts from the 800x600 view; the canvas is as large
    // as the page shows it.
    applySize();
}

void DisplayPresentation::contextClosing() {
    if (wanted_ == Picture::None) wanted_ = Picture::Again;
    draw();
    keepPicture();
    open_ = false;
    gl_.contextClosing();
}

void DisplayPresentation::setViewport(const Viewport& viewport) {
    if (width_ == 0) {
        width_ = viewport.width;
        height_ = viewport.height;
    }
    applySize();
}

void DisplayPresentation::resize(int width, int height) {
    width_ = width;
    height_ = height;
    applySize();
}

void DisplayPresentation::applySize() {
    if (!open_ || (width_ == applied_ && height_ == appliedHeight_)) return;
    setDrawingBufferSize(width_, height_);
    gl_.setViewport(Viewport{0, 0, width_, height_});
    applied_ = width_;
    appliedHeight_ = height_;
    if (wanted_ == Picture::None) want(Picture::Again);
}

void DisplayPresentation::showTitle() { want(Picture::Title); }

void DisplayPresentation::drawFrame(const GameState& game) {
    game_ = &game;
    want(Picture::Frame);
    wantedPlaying_ = game.playing;
}

void DisplayPresentation::want(Picture picture) {
    // A frame that will never be shown still takes its step.
    if (wanted_ == Picture::Frame) gl_.skipFrame(wantedPlaying_);
    wanted_ = picture;
    if (!request_) request_ = emscripten_request_animation_frame(&DisplayPresentation::onDisplayFrame, this);
}

int DisplayPresentation::onDisplayFrame(double, void* self) {
    auto* display = static_cast<DisplayPresentation*>(self);
    display->request_ = 0;
    display->draw();
    return 0;
}

void DisplayPresentation::draw() {
    const Picture picture = wanted_;
    wanted_ = Picture::None;
    if (!open_) return;
    switch (picture == Picture::Again ? shown_ : picture) {
    case Picture::Title:
        gl_.showTitle();
        shown_ = Picture::Title;
        break;
    case Picture::Frame:
        if (picture == Picture::Again) {
            // The same frame again: the attract screen as it found it.
            const AttractScreen now = gl_.attractScreen();
            gl_.attractScreen() = before_;
            gl_.drawFrame(*game_);
            gl_.attractScreen() = now;
        } else {
            before_ = gl_.attractScreen();
            gl_.drawFrame(*game_);
            shown_ = Picture::Frame;
        }
        break;
    case Picture::None:
    case Picture::Again:
        return;
    }
    // The page shows the canvas once this display frame's work returns: what
    // the picture drew goes to WebGL now.
    glFlush();
}

}  // namespace drumhold
