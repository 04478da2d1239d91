// signals.cpp -- the signal watcher thread.
#include "shell/signals.h"

#include <pthread.h>
#include <signal.h>

#include <thread>
#include <utility>

namespace drumhold {

bool startSignalWatch(void (*notify)(OutsideRequest request)) {
    sigset_t watched;
    sigemptyset(&watched);
    sigaddset(&watched, SIGUSR1);
    sigaddset(&watched, SIGTERM);
    sigaddset(&watched, SIGINT);
    sigset_t previous;
    if (pthread_sigmask(SIG_BLOCK, &watched, &previous) != 0) return false;
    try {
        std::thread([watched, notify] {
            for (;;) {
                int signal = 0;
                if (sigwait(&watched, &signal) == 0)
                    notify(signal == SIGUSR1 ? OutsideRequest::SwitchDisplay : OutsideRequest::Close);
            }
        }).detach();
    } catch (...) {
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return false;
    }
    return true;
}

std::thread startQuietThread(std::function<void()> body) {
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    // The new thread starts with the mask in force now; ours is put back even
    // when the thread cannot be made.
    struct Restore {
        sigset_t mask;
        ~Restore() { pthread_sigmask(SIG_SETMASK, &mask, nullptr); }
    } restore{previous};
    return std::thread(std::move(body));
}

}  // namespace drumhold
