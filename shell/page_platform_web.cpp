// page_platform_web.cpp -- the platform in a web page.
#include "shell/page_platform_web.h"

#include <cstdio>
#include <utility>

namespace drumhold {

PagePlatform::PagePlatform(std::function<void()> woken) : woken_(std::move(woken)) {}

PagePlatform::~PagePlatform() { quitVideo(); }

bool PagePlatform::initVideo() {
    if (!SdlPlatform::initVideo()) return false;
    SDL_AddEventWatch(&PagePlatform::watchEvents, this);
    return true;
}

void PagePlatform::quitVideo() {
    SDL_DelEventWatch(&PagePlatform::watchEvents, this);
    SdlPlatform::quitVideo();
}

bool PagePlatform::openWindow(const char* title, int width, int height, bool fullscreen) {
    if (!SdlPlatform::openWindow(title, width, height, fullscreen)) return false;
    gl_.emplace();
    if (gl_->ok()) return true;
    closeWindow();
    return false;
}

void PagePlatform::closeWindow() {
    gl_.reset();
    SdlPlatform::closeWindow();
}

// Every event SDL queues passes here as it comes, from the browser's handler.
int PagePlatform::watchEvents(void* self, SDL_Event*) {
    static_cast<PagePlatform*>(self)->woken_();
    return 0;
}

bool PagePlatform::takeMessage(ShellMessage& out) {
    if (page_.empty()) return SdlPlatform::takeMessage(out);
    out = page_.front();
    page_.pop_front();
    return true;
}

bool PagePlatform::endPending(bool escapeEnds) {
    for (const ShellMessage& message : page_)
        if (endsTheRun(message, escapeEnds)) return true;
    // A wait of nothing: only whether a request to end waits among SDL's messages.
    return SdlPlatform::sleepUnlessEnding(0, escapeEnds);
}

bool PagePlatform::sleepUnlessEnding(std::uint32_t ms, bool escapeEnds) {
    if (endPending(escapeEnds)) return true;
    owedMs_ += ms;
    owedEndable_ = true;
    escapeEnds_ = escapeEnds;
    return false;
}

void PagePlatform::messageBox(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

void PagePlatform::pageShown(bool shown, int width, int height) {
    if (shown == shown_) return;
    shown_ = shown;
    ShellMessage message;
    message.type = shown ? MessageType::SizeRestored : MessageType::SizeMinimised;
    message.width = width;
    message.height = height;
    post(message);
}

void PagePlatform::closeRequested() {
    ShellMessage message;
    message.type = MessageType::Close;
    post(message);
}

void PagePlatform::pageKey(unsigned code, bool down) {
    ShellMessage message;
    message.type = down ? MessageType::KeyDown : MessageType::KeyUp;
    message.code = code;
    post(message);
}

void PagePlatform::post(const ShellMessage& message) {
    page_.push_back(message);
    woken_();
}

bool PagePlatform::startWait() {
    if (owedMs_ == 0 && !owedEndable_) return false;
    waiting_ = true;
    waitUntil_ = tickCount() + std::exchange(owedMs_, 0);
    endable_ = std::exchange(owedEndable_, false);
    return true;
}

std::uint32_t PagePlatform::waitLeft() {
    if (!waiting_) return 0;
    const auto left = static_cast<std::int32_t>(waitUntil_ - tickCount());
    if (left <= 0 || (endable_ && endPending(escapeEnds_))) {
        waiting_ = false;
        return 0;
    }
    return static_cast<std::uint32_t>(left);
}

bool PagePlatform::messageWaiting() {
    SDL_PumpEvents();
    return !page_.empty() || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

}  // namespace drumhold
