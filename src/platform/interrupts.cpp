#include "platform/interrupts.h"

#include <cstdio>
#include <cstring>

#include "platform/interrupt_slots.h"

namespace qorvel::platform {

namespace detail {

Slot gSlots[kSlots];
std::atomic<int> gHeldBack{0};
std::atomic<int> gPending{0};

bool LeaveWaiting(int interrupt) {
    if (gHeldBack.load() == 0) return false;
    gPending.store(interrupt);
    if (gHeldBack.load() > 0) return true;
    // The holders left while the interrupt was being noted: whoever takes it back ends the
    // program, the handler here or the last holder.
    return gPending.exchange(0) == 0;
}

void NoteOpenFile(int slot, std::intptr_t handle) {
    if (slot >= 0 && slot < kSlots) gSlots[slot].openFile.store(handle);
}

}  // namespace detail

using namespace detail;

void RemovedOnInterrupt::Register(const std::filesystem::path& path, What what) {
    Release();
    const auto& native = path.native();
    if (native.size() >= kLongestPath || native.find(NativeChar{}) != native.npos) return;
    for (int k = 0; k < kSlots; ++k) {
        int expected = kFree;
        if (!gSlots[k].state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) continue;
        std::memcpy(gSlots[k].path, native.c_str(), (native.size() + 1) * sizeof(NativeChar));
        gSlots[k].folder = what == What::Folder;
        gSlots[k].openFile.store(-1);
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

InterruptsHeldBack::InterruptsHeldBack() { gHeldBack.fetch_add(1); }

InterruptsHeldBack::~InterruptsHeldBack() {
    if (gHeldBack.fetch_sub(1) != 1) return;
    if (const int interrupt = gPending.exchange(0); interrupt != 0) EndByInterrupt(interrupt);
}

bool FlushStandardOutput() {
    const bool flushed = std::fflush(stdout) == 0;
    return flushed && !std::ferror(stdout);
}

}  // namespace qorvel::platform
