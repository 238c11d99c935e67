#pragma once
// Runs the real qorvel binary built beside the tests.

#include <string>
#include <vector>

#include "support/test_files.h"

namespace qorvel::testing {

inline ProcessResult RunQorvel(const std::vector<std::string>& arguments) {
    return RunProcess(QORVEL_BINARY, arguments);
}

}  // namespace qorvel::testing
