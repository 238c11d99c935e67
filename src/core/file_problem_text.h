#pragma once
// What went wrong with a file, in the surveyor's words: the system's kind of problem
// (platform/file_system.h) worded for a read or for a write. For the layers that talk to the
// system seam themselves (they link qorvel_platform).

#include <string>

#include "platform/file_system.h"

namespace qorvel {

std::string ReadProblemText(const platform::FileError& error);
std::string WriteProblemText(const platform::FileError& error);

}  // namespace qorvel
