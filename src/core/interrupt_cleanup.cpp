#include "core/interrupt_cleanup.h"

#include "platform/interrupts.h"

namespace qorvel {

void InstallInterruptCleanup() { platform::InstallInterruptHandlers(); }

bool FlushStandardOutput() { return platform::FlushStandardOutput(); }

}  // namespace qorvel
