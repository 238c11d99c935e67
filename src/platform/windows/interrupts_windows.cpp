#include <windows.h>

#include <thread>

#include "platform/interrupt_slots.h"
#include "platform/interrupts.h"

namespace qorvel::platform {

namespace detail {

void EndByInterrupt(int) {
    for (Slot& slot : gSlots) {
        if (slot.state.load(std::memory_order_acquire) != kArmed || slot.folder) continue;
        // A file still being written is let go first: the system removes no open file.
        const std::intptr_t open = slot.openFile.exchange(-1);
        if (open != -1) ::CloseHandle(reinterpret_cast<HANDLE>(open));
        ::DeleteFileW(slot.path);
    }
    for (Slot& slot : gSlots)
        if (slot.state.load(std::memory_order_acquire) == kArmed && slot.folder) ::RemoveDirectoryW(slot.path);
    // As the system ends a program on Ctrl+C.
    ::ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

}  // namespace detail

namespace {

// Runs on a thread of its own, which the system starts for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT: case CTRL_BREAK_EVENT: case CTRL_CLOSE_EVENT: case CTRL_LOGOFF_EVENT: case CTRL_SHUTDOWN_EVENT:
            break;
        default:
            return FALSE;
    }
    // Held back: the holder ends the program when it lets go; until then this thread waits (the
    // system ends the program once the handler returns from a closed console).
    if (detail::LeaveWaiting(static_cast<int>(event) + 1)) {
        for (;;) ::Sleep(INFINITE);
    }
    detail::EndByInterrupt(static_cast<int>(event) + 1);
}

}  // namespace

void InstallInterruptHandlers() { ::SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

void SimulateInterrupt() {
    const int before = detail::gPending.load();
    std::thread([] { onConsoleEvent(CTRL_C_EVENT); }).detach();
    // When interrupts are held back the event is seen once it waits; otherwise the program ends.
    while (detail::gPending.load() == before) ::Sleep(1);
}

}  // namespace qorvel::platform
