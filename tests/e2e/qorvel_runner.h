#pragma once
// Runs the real qorvel binary built beside the tests.

#include <string>
#include <vector>

#include "support/test_files.h"

namespace qorvel::testing {

inline ProcessResult RunQorvel(const std::vector<std::string>& arguments) {
    return RunProcess(QORVEL_BINARY, arguments);
}

// As RunQorvel, its stdout a pipe that nobody reads.
inline ProcessResult RunQorvelUnread(const std::vector<std::string>& arguments) {
    return RunProcess(QORVEL_BINARY, arguments, {}, true);
}

}  // namespace qorvel::testing
