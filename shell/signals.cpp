// signals.cpp -- the signal watcher thread.
#include "shell/signals.h"

#include <pthread.h>
#include <signal.h>

#include <csignal>
#include <thread>
#include <utility>

namespace drumhold {

namespace {

sigset_t watched;
void (*notifyRequest)(OutsideRequest) = nullptr;

void* watch(void*) {
    for (;;) {
        int signal = 0;
        if (sigwait(&watched, &signal) == 0)
            notifyRequest(signal == SIGUSR1 ? OutsideRequest::SwitchDisplay : OutsideRequest::Close);
    }
}

}  // namespace

bool startSignalWatch(void (*notify)(OutsideRequest request)) {
    std::signal(SIGPIPE, SIG_IGN);
    notifyRequest = notify;
    sigemptyset(&watched);
    sigaddset(&watched, SIGUSR1);
    sigaddset(&watched, SIGTERM);
    sigaddset(&watched, SIGINT);
    sigset_t previous;
    if (pthread_sigmask(SIG_BLOCK, &watched, &previous) != 0) return false;
    // A thread of pthreads' own making: where memory is short, a failure is
    // said by its result, never by an exception that may not be made either.
    pthread_t watcher;
    if (pthread_create(&watcher, nullptr, watch, nullptr) != 0) {
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return false;
    }
    pthread_detach(watcher);
    return true;
}

bool threadsAvailable() { return true; }

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
