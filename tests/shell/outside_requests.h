// outside_requests.h -- for the tests of requests from outside: the platform
// waiting, as a minimised game loop waits, while another thread sends them.
#pragma once

#include <chrono>
#include <thread>
#include <vector>

#include "shell/sdl_platform.h"

namespace drumhold {

// Calls `send` on a thread of its own 200 ms from now and returns the close
// requests and display switches the platform delivers, the first two within 10 s.
inline std::vector<MessageType> awaitRequests(SdlPlatform& platform, void (*send)()) {
    std::thread sender([send] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        send();
    });
    std::vector<MessageType> got;
    const auto start = std::chrono::steady_clock::now();
    ShellMessage m;
    while (got.size() < 2 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
        if (platform.takeMessage(m)) {
            if (m.type == MessageType::Close || m.type == MessageType::SwitchDisplay) got.push_back(m.type);
        } else {
            platform.waitMessage();
        }
    }
    sender.join();
    return got;
}

}  // namespace drumhold
