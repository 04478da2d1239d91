// fake_platform.h -- a scripted platform and presentation for driving the shell's loop.
//
// FakePlatform has a millisecond clock that only sleeps and waits advance (it
// starts just below the 32-bit wrap, so every run crosses it), a message queue
// the test fills directly or schedules for a given time, and records of every
// box, window, swap and sleep. FakePresentation counts what is drawn, can charge
// each frame some milliseconds of work, and calls a hook after every frame.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "render/presentation.h"
#include "shell/platform.h"
#include "world/records.h"

namespace drumhold::testing {

inline ShellMessage keyDown(unsigned code) { return {MessageType::KeyDown, code, 0, 0}; }
inline ShellMessage keyUp(unsigned code) { return {MessageType::KeyUp, code, 0, 0}; }
inline ShellMessage message(MessageType type) { return {type, 0, 0, 0}; }

class FakePlatform : public Platform {
public:
    // Script.
    bool videoWorks = true;
    int failOpeningNumber = 0;  // 1-based opening that fails; 0: none fails
    bool modeSwitchWorks = true;
    bool coverWorks = true;
    int displayWidth = 1920, displayHeight = 1080;  // 0: the display does not tell
    int usableWidth = 1920, usableHeight = 1050;
    std::uint32_t clockOrigin = 0xFFFFF000u;  // wraps 4096 ms into the run
    std::function<void(int look)> onLook;     // each time the loop looks for a message, from 1

    // Records.
    std::vector<std::string> boxes;
    std::vector<bool> openings;  // fullscreen asked, per opening attempt
    std::vector<std::pair<int, int>> openedSizes;  // per opening attempt
    std::vector<std::pair<int, int>> leftSizes;    // per leaveFullscreen
    int closes = 0;
    int restoredDisplay = 0;
    int swaps = 0;
    int waits = 0;
    int looks = 0;
    bool videoUp = false;
    bool windowOpen = false;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> sleeps;  // (when, how long)

    std::uint64_t now = 0;  // ms since the start of the run

    void post(const ShellMessage& m) { queue_.push_back(m); }
    void schedule(std::uint64_t at, const ShellMessage& m) { scheduled_.emplace(at, m); }
    void advance(std::uint32_t ms) { now += ms; }
    std::uint32_t sleptSince(std::uint64_t from) const {
        std::uint32_t total = 0;
        for (const auto& [when, ms] : sleeps) total += when >= from ? ms : 0;
        return total;
    }

    bool initVideo() override { return videoUp = videoWorks; }
    void quitVideo() override { videoUp = false; }
    bool openWindow(const char*, int width, int height, bool fullscreen) override {
        EXPECT_TRUE(videoUp);
        EXPECT_FALSE(windowOpen) << "a window opened over another";
        openings.push_back(fullscreen);
        openedSizes.emplace_back(width, height);
        if (static_cast<int>(openings.size()) == failOpeningNumber) return false;
        windowOpen = true;
        return true;
    }
    bool switchDisplayMode(int width, int height, int bits) override {
        EXPECT_EQ(width, 800);
        EXPECT_EQ(height, 600);
        EXPECT_EQ(bits, 16);
        return modeSwitchWorks;
    }
    bool coverDisplay(int& width, int& height) override {
        EXPECT_TRUE(windowOpen);
        EXPECT_EQ(openedSizes.back(), std::make_pair(displayWidth, displayHeight)) << "opened at the display's size";
        if (!coverWorks) return false;
        width = displayWidth;
        height = displayHeight;
        return true;
    }
    void leaveFullscreen(int width, int height) override { leftSizes.emplace_back(width, height); }
    bool displaySize(bool usable, int& width, int& height) override {
        width = usable ? usableWidth : displayWidth;
        height = usable ? usableHeight : displayHeight;
        return displayWidth > 0;
    }
    void closeWindow() override {
        EXPECT_TRUE(windowOpen);
        windowOpen = false;
        ++closes;
    }
    void restoreDisplayMode() override { ++restoredDisplay; }
    bool takeMessage(ShellMessage& out) override {
        ++looks;
        if (onLook) onLook(looks);
        deliverDue();
        if (queue_.empty()) return false;
        out = queue_.front();
        queue_.pop_front();
        return true;
    }
    void waitMessage() override {
        ++waits;
        deliverDue();
        if (!queue_.empty()) return;
        if (scheduled_.empty()) {
            ADD_FAILURE() << "the loop waits for a message that will never come";
            post(message(MessageType::Close));
            return;
        }
        now = scheduled_.begin()->first;  // blocked until the next message arrives
        deliverDue();
    }
    void postQuit() override { post(message(MessageType::Quit)); }
    std::uint32_t tickCount() override { return clockOrigin + static_cast<std::uint32_t>(now); }
    void sleep(std::uint32_t ms) override {
        sleeps.emplace_back(now, ms);
        now += ms;
    }
    bool sleepUnlessEnding(std::uint32_t ms, bool escapeEnds) override {
        // Cut short at the first moment a message that ends the run is queued.
        std::uint64_t end = now + ms;
        bool cut = false;
        for (const ShellMessage& m : queue_)
            if (endsTheRun(m, escapeEnds)) end = now, cut = true;
        for (const auto& [at, m] : scheduled_)
            if (!cut && at <= end && endsTheRun(m, escapeEnds)) end = std::max(at, now), cut = true;
        sleep(static_cast<std::uint32_t>(end - now));
        deliverDue();
        return cut;
    }
    void swapBuffers() override { ++swaps; }
    void messageBox(const char* text) override { boxes.emplace_back(text); }

private:
    void deliverDue() {
        while (!scheduled_.empty() && scheduled_.begin()->first <= now) {
            queue_.push_back(scheduled_.begin()->second);
            scheduled_.erase(scheduled_.begin());
        }
    }

    std::deque<ShellMessage> queue_;
    std::multimap<std::uint64_t, ShellMessage> scheduled_;
};

struct FrameRecord {
    std::uint64_t at;  // platform time when the frame was drawn
    bool playing;      // the mode the frame was drawn in
    int ticks;         // the game's tick count then
};

class FakePresentation : public Presentation {
public:
    explicit FakePresentation(FakePlatform& platform) : platform_(platform) {}

    std::uint32_t frameCostMs = 0;  // work of each frame, charged to the clock
    int frameLimit = 5000;          // a runaway loop is closed after this many frames
    std::function<void(int frame)> afterFrame;  // frame numbers count from 1

    std::vector<FrameRecord> frames;
    std::vector<Viewport> viewports;
    int clearValueSets = 0;
    int contexts = 0;  // opened
    bool contextLive = false;
    int titles = 0;
    unsigned nextList = 1;
    std::vector<unsigned> compiledLists;
    std::vector<unsigned> releasedLists;

    void contextOpened() override {
        EXPECT_TRUE(platform_.windowOpen);
        ++contexts;
        contextLive = true;
    }
    void contextClosing() override {
        EXPECT_TRUE(platform_.windowOpen) << "the context outlived its window";
        contextLive = false;
    }
    void setViewport(const Viewport& viewport) override { viewports.push_back(viewport); }
    void setClearValues() override { ++clearValueSets; }
    void showTitle() override { ++titles; }
    void drawFrame(const GameState& game) override {
        EXPECT_TRUE(contextLive);
        platform_.advance(frameCostMs);
        frames.push_back({platform_.now, game.playing, game.ticks});
        const int number = static_cast<int>(frames.size());
        if (afterFrame) afterFrame(number);
        if (number == frameLimit) {
            ADD_FAILURE() << "the loop never ended";
            platform_.post(message(MessageType::Close));
        }
    }
    unsigned compileTankList(const Shape&) override {
        EXPECT_TRUE(contextLive);
        compiledLists.push_back(nextList);
        return nextList++;
    }
    void releaseTankList(unsigned list) override { releasedLists.push_back(list); }

private:
    FakePlatform& platform_;
};

}  // namespace drumhold::testing
