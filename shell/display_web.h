// display_web.h -- the presentation in a web page: frames drawn at the
// display's pace, on a canvas as large as the page shows it.
//
// The game runs its ticks at its own pace, about 90 a second in play, and
// every tick is a frame; a browser shows at most one picture per display
// frame (60 a second on most screens, none while the page is hidden). So a
// frame or a title is only noted here, and the browser's next display frame
// draws the latest; a frame that a later one replaces before then is skipped,
// its step of the attract screen still taken so that the scroller keeps its
// pace. Everything else goes to the GL presentation at once.
//
// The canvas is the window: its drawing buffer and the viewport are the size
// the page shows it at (resize()), whatever size the game's opening asks for,
// so the picture is drawn at that size and never scaled afterwards. A new size
// clears the buffer, and the last picture is drawn again.
#pragma once

#include "render/gl_presentation.h"
#include "render/presentation.h"

namespace drumhold {

class DisplayPresentation final : public Presentation {
public:
    explicit DisplayPresentation(GlPresentation& gl) : gl_(gl) {}
    ~DisplayPresentation() override;
    DisplayPresentation(const DisplayPresentation&) = delete;
    DisplayPresentation& operator=(const DisplayPresentation&) = delete;

    void contextOpened() override;
    // The last picture is drawn once more and handed to the page, which keeps
    // it when the canvas goes with the window.
    void contextClosing() override;
    void setViewport(const Viewport& viewport) override;
    void setClearValues() override { gl_.setClearValues(); }
    void showTitle() override;
    void drawFrame(const GameState& game) override;
    unsigned compileTankList(const Shape& shape) override { return gl_.compileTankList(shape); }
    void releaseTankList(unsigned list) override { gl_.releaseTankList(list); }

    // The page shows the canvas at width x height pixels of its drawing buffer.
    void resize(int width, int height);

private:
    // What the next display frame draws.
    enum class Picture { None, Title, Frame, Again };
    static int onDisplayFrame(double time, void* self);
    void want(Picture picture);
    void draw();
    void applySize();

    GlPresentation& gl_;
    bool open_ = false;
    int width_ = 0, height_ = 0;          // the page's size; 0: not told yet
    int applied_ = 0, appliedHeight_ = 0;  // the buffer's, as last set
    Picture wanted_ = Picture::None;
    Picture shown_ = Picture::None;        // drawn last: Title, Frame or None
    const GameState* game_ = nullptr;      // the world of the frames
    bool wantedPlaying_ = false;           // the mode of the frame wanted
    AttractScreen before_;                 // the attract screen as the last frame drawn found it
    long request_ = 0;                     // the display frame asked for; 0: none
};

}  // namespace drumhold
