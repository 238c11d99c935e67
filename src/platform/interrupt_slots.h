#pragma once
// Inside the platform folder only: the registrations an interrupt removes, and interrupts held
// back, shared by the portable part and each system's handler.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace qorvel::platform::detail {

using NativeChar = std::filesystem::path::value_type;

constexpr int kSlots = 48;
constexpr std::size_t kLongestPath = 4096;

enum SlotState : int { kFree, kFilling, kArmed };

struct Slot {
    std::atomic<int> state{kFree};
    bool folder = false;
    std::atomic<std::intptr_t> openFile{-1};  // a handle the system must let go before removal (Windows)
    NativeChar path[kLongestPath];
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots' states");
static_assert(std::atomic<std::intptr_t>::is_always_lock_free, "the signal handler reads the slots' handles");

extern Slot gSlots[kSlots];

// Interrupts held back (InterruptsHeldBack alive), and the one that waits meanwhile (0: none).
extern std::atomic<int> gHeldBack;
extern std::atomic<int> gPending;

// For a handler: when interrupts are held back, the interrupt is left to wait (true); when they
// are not (or no longer), false and the handler goes on to end the program.
bool LeaveWaiting(int interrupt);

// Removes every registered file, then every registered folder, and ends the program as
// `interrupt` does; each system's own.
[[noreturn]] void EndByInterrupt(int interrupt);

// Each system's own: that a slot's file is open (its handle), for the removal.
void NoteOpenFile(int slot, std::intptr_t handle);

}  // namespace qorvel::platform::detail
