// signals.cpp -- the signal watcher thread.
#include "shell/signals.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

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

}  // namespace drumhold
