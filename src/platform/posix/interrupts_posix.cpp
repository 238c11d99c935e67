#include <csignal>
#include <unistd.h>

#include "platform/interrupt_slots.h"
#include "platform/interrupts.h"

namespace qorvel::platform {

namespace detail {

void EndByInterrupt(int signal) {
    for (const bool folders : {false, true})
        for (Slot& slot : gSlots)
            if (slot.state.load(std::memory_order_acquire) == kArmed && slot.folder == folders)
                folders ? ::rmdir(slot.path) : ::unlink(slot.path);
    // The default action (ending the program) is back; raised inside the handler the signal is
    // blocked until the handler returns, and ends the program then; raised elsewhere at once.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &unblocked, nullptr);
    ::_exit(128 + signal);  // not reached
}

}  // namespace detail

namespace {

extern "C" void removeAndReraise(int signal) {
    if (detail::LeaveWaiting(signal)) return;
    detail::EndByInterrupt(signal);
}

void handle(int signal) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = removeAndReraise;
    // One interrupt at a time: a second one while the first removes the files waits for it.
    sigemptyset(&action.sa_mask);
    for (const int other : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, other);
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallInterruptHandlers() {
    handle(SIGINT);
    handle(SIGTERM);
    handle(SIGHUP);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

void SimulateInterrupt() { ::raise(SIGINT); }

}  // namespace qorvel::platform
