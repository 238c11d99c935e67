#pragma once
// The steps the assembly benchmark times. Each step registers itself from its own file with a
// StepRegistration: how to run it (all-pairs or indexed) on a survey written to a folder, and
// how many record pairs its all-pairs loop tests there (to skip the runs that would take too
// long).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "survey/survey_generator.h"

namespace qorvel::bench {

enum class Implementation { AllPairs, Indexed };

// One benchmark size: a survey written to a folder, and the record count of each of its files.
struct SurveyCase {
    std::string name;  // "1M points"
    std::string folder;
    std::size_t stations = 0;
    std::size_t labels = 0;
    std::size_t points = 0;
    std::size_t lines = 0;
    std::size_t stakes = 0;
    std::size_t matched = 0;
    std::size_t members = 0;
    std::size_t memberNames = 0;  // names in the membership file, over all its lines

    std::string File(const std::string& name) const { return folder + "/" + name; }
};

struct StepBenchmark {
    int order = 0;       // place in the tables: the pipeline's steps, then the checks and commands
    std::string name;    // "3 stakes"
    std::string inputs;  // what the two loops run over, e.g. "labels × points"
    // The record counts of the all-pairs loops: outer, inner. Empty for a computation that has
    // no all-pairs reference (it is timed indexed only).
    std::function<std::pair<std::size_t, std::size_t>(const SurveyCase&)> loops;
    // One run: the inputs read from the case's folder and the output computed (writing it is
    // the same work for either implementation; scripts/bench times the whole commands).
    std::function<void(const SurveyCase&, Implementation)> run;
};

std::vector<StepBenchmark>& StepBenchmarks();

struct StepRegistration {
    explicit StepRegistration(StepBenchmark step) { StepBenchmarks().push_back(std::move(step)); }
};

}  // namespace qorvel::bench
