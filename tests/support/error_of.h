#pragma once
// For tests of failures: the whole message of the StepError an action raises.

#include <functional>
#include <string>

#include "core/step_error.h"

namespace qorvel::testing {

// The message of the StepError that `action` raises, or "(no error)" when it raises none.
inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const StepError& error) {
        return error.describe();
    }
    return "(no error)";
}

}  // namespace qorvel::testing
