#pragma once
// What an interrupted program leaves behind: the program's side of platform/interrupts.h, for
// the front ends' main. Once InstallInterruptCleanup has run, Ctrl+C, SIGTERM and SIGHUP (on
// Windows Ctrl+C, Ctrl+Break and the console closed) remove the temporary files and staging
// folders being written and then end the program as the interrupt would have; writing to a
// closed pipe fails as a write error instead of ending the program without a word.

namespace qorvel {

// Installs the handlers; called once by a program's main before any step runs.
void InstallInterruptCleanup();

// Flushes stdout and tells whether everything written to it arrived: false when the flush
// failed or an earlier write did (a closed pipe, a full disk). For main's last word: a
// summary that could not be written is a failure, not a success.
bool FlushStandardOutput();

}  // namespace qorvel
