#include "core/interrupt_cleanup.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace qorvel {

namespace {
constexpr int kSlots = 8;
constexpr std::size_t kLongestPath = 4096;

enum SlotState : int { kFree, kFilling, kArmed };

struct Slot {
    std::atomic<int> state{kFree};
    char path[kLongestPath];
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots' states");

Slot gSlots[kSlots];

extern "C" void removeAndReraise(int signal) {
    for (Slot& slot : gSlots)
        if (slot.state.load(std::memory_order_acquire) == kArmed) ::unlink(slot.path);
    // The handler was installed with SA_RESETHAND: the default action (ending the program) is
    // back, and the signal, blocked while the handler runs, ends it on return.
    ::raise(signal);
}

void handle(int signal) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = removeAndReraise;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
}
}  // namespace

void InstallInterruptCleanup() {
    handle(SIGINT);
    handle(SIGTERM);
    handle(SIGHUP);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

void RemovedOnInterrupt::Register(const std::string& path) {
    Release();
    if (path.size() >= kLongestPath || path.find('\0') != std::string::npos) return;
    for (int k = 0; k < kSlots; ++k) {
        int expected = kFree;
        if (!gSlots[k].state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) continue;
        std::memcpy(gSlots[k].path, path.c_str(), path.size() + 1);
        gSlots[k].state.store(kArmed, std::memory_order_release);
        slot_ = k;
        return;
    }
}

void RemovedOnInterrupt::Release() {
    if (slot_ < 0) return;
    gSlots[slot_].state.store(kFree, std::memory_order_release);
    slot_ = -1;
}

bool FlushStandardOutput() {
    const bool flushed = std::fflush(stdout) == 0;
    return flushed && !std::ferror(stdout);
}

}  // namespace qorvel
