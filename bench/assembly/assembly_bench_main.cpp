// The assembly benchmark: every registered step on surveys of 10k, 100k and 1M detail points
// (and one of 10,000 stations with one point each, the tables' old size), indexed and, where it
// would finish within the time limit, all-pairs; then a summary table with the ratio and the
// time per survey point.
//
//   qorvel_assembly_bench [--quick] [--all-pairs-limit=SECONDS] [Google Benchmark options]
//
// --quick runs the two 10k surveys only; the all-pairs runs are skipped where they would take
// longer than the limit (60 s), as estimated from their time per pair on the 10k-point survey.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <malloc.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "step_benchmarks.h"
#include "survey/survey_generator.h"

namespace qorvel::bench {
namespace {

struct Options {
    bool quick = false;
    double allPairsLimit = 60;  // seconds
};

Options takeOptions(int& argc, char** argv) {
    Options options;
    int kept = 1;
    for (int k = 1; k < argc; ++k) {
        const std::string argument = argv[k];
        if (argument == "--quick") options.quick = true;
        else if (argument.rfind("--all-pairs-limit=", 0) == 0) options.allPairsLimit = std::stod(argument.substr(18));
        else argv[kept++] = argv[k];
    }
    argc = kept;
    return options;
}

std::size_t countRecords(const std::string& bytes) {
    std::size_t count = 0;
    for (const char c : bytes) count += c == '\n';
    return count;
}

class TempFolder {
public:
    TempFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/qorvel-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        ::nftw(path_.c_str(), [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }, 16,
               FTW_DEPTH | FTW_PHYS);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

SurveyCase writeCase(const std::string& name, SurveyShape shape, const std::string& parent) {
    SurveyCase c;
    c.name = name;
    c.folder = parent + "/" + std::to_string(shape.stations) + "x" + std::to_string(shape.pointsPerSection);
    if (::mkdir(c.folder.c_str(), 0700) != 0) throw std::runtime_error("cannot create " + c.folder);
    const SurveyFiles files = GenerateSurvey(shape);
    WriteSurvey(files, c.folder);
    c.stations = shape.stations;
    c.labels = countRecords(files.labels);
    c.points = countRecords(files.points);
    c.lines = countRecords(files.lines);
    c.stakes = countRecords(files.stakes);
    c.matched = countRecords(files.matched);
    c.members = countRecords(files.members);
    for (const char character : files.members) c.memberNames += character == ',';
    return c;
}

double secondsOf(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Timing {
    double wall = 0;  // seconds per run
    double cpu = 0;
};

// Keeps the mean times of every benchmark run, by the name it was registered with.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const auto iterations = static_cast<double>(run.iterations);
            timings[run.run_name.function_name] = {run.real_accumulated_time / iterations,
                                                   run.cpu_accumulated_time / iterations};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Timing> timings;
};

std::string formatTime(double seconds) {
    char text[32];
    if (seconds >= 1) std::snprintf(text, sizeof text, "%.2f s", seconds);
    else if (seconds >= 1e-3) std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
    else std::snprintf(text, sizeof text, "%.0f µs", seconds * 1e6);
    return text;
}

std::string withThousands(std::size_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string benchmarkName(const StepBenchmark& step, const SurveyCase& c, Implementation implementation) {
    return step.name + " / " + c.name + " / " + (implementation == Implementation::Indexed ? "indexed" : "all-pairs");
}

int run(int argc, char** argv) {
    const Options options = takeOptions(argc, argv);
    // Keep freed memory for the next run at every size: without this the allocator returns
    // blocks over 32 MB to the system and the 1M runs alone pay for fresh pages each time. The
    // commands measured by scripts/bench show the cost of a first run.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    std::stable_sort(StepBenchmarks().begin(), StepBenchmarks().end(),
                     [](const StepBenchmark& a, const StepBenchmark& b) { return a.order < b.order; });

    TempFolder temp;
    std::vector<SurveyCase> cases;
    std::fprintf(stderr, "Generating surveys in %s ...\n", temp.path().c_str());
    cases.push_back(writeCase("10k lines", {10000, 1, 1}, temp.path()));
    cases.push_back(writeCase("10k points", {250, 40, 2}, temp.path()));
    if (!options.quick) {
        cases.push_back(writeCase("100k points", {2500, 40, 3}, temp.path()));
        cases.push_back(writeCase("1M points", {25000, 40, 4}, temp.path()));
    }

    // The all-pairs time per pair tested, from one run on the 10k-point survey.
    std::map<std::string, double> secondsPerPair;
    for (const StepBenchmark& step : StepBenchmarks()) {
        if (!step.loops) continue;
        const SurveyCase& small = cases[1];
        const auto [outer, inner] = step.loops(small);
        const double seconds = secondsOf([&] { step.run(small, Implementation::AllPairs); });
        secondsPerPair[step.name] = seconds / static_cast<double>(std::max<std::size_t>(1, outer * inner));
    }

    std::map<std::string, double> estimates;  // all-pairs runs left out, with their estimated time
    for (const SurveyCase& c : cases) {
        for (const StepBenchmark& step : StepBenchmarks()) {
            const auto [outer, inner] = step.loops ? step.loops(c) : std::pair<std::size_t, std::size_t>{};
            const double estimate = secondsPerPair[step.name] * static_cast<double>(outer) * static_cast<double>(inner);
            for (const Implementation implementation : {Implementation::AllPairs, Implementation::Indexed}) {
                const std::string name = benchmarkName(step, c, implementation);
                if (implementation == Implementation::AllPairs && !step.loops) continue;
                if (implementation == Implementation::AllPairs && estimate > options.allPairsLimit) {
                    estimates[name] = estimate;
                    continue;
                }
                auto* registered = benchmark::RegisterBenchmark(name.c_str(), [&step, &c, implementation](benchmark::State& state) {
                    for (auto _ : state) step.run(c, implementation);
                });
                registered->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
                if (implementation == Implementation::AllPairs && estimate > 1) registered->Iterations(1);
                else registered->MinTime(1.0);
            }
        }
    }

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nWall time of one run: inputs read and output computed (not written); memory reused from\n"
                "run to run.\n\n");
    std::printf("| Step | Survey | Loops (outer × inner) | All-pairs | Indexed | Ratio | Indexed CPU (both threads) | Per survey point |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    std::map<std::string, Timing> totals;
    for (const StepBenchmark& step : StepBenchmarks()) {
        for (const SurveyCase& c : cases) {
            const auto [outer, inner] = step.loops ? step.loops(c) : std::pair<std::size_t, std::size_t>{};
            const auto indexedTime = reporter.timings.find(benchmarkName(step, c, Implementation::Indexed));
            const auto allPairsTime = reporter.timings.find(benchmarkName(step, c, Implementation::AllPairs));
            if (indexedTime == reporter.timings.end()) continue;
            const Timing indexed = indexedTime->second;
            totals[c.name].wall += indexed.wall;
            totals[c.name].cpu += indexed.cpu;
            std::string allPairs;
            std::string ratio = "—";
            if (allPairsTime != reporter.timings.end()) {
                allPairs = formatTime(allPairsTime->second.wall);
                char text[32];
                std::snprintf(text, sizeof text, "%.0f×", allPairsTime->second.wall / indexed.wall);
                ratio = text;
            } else if (!step.loops) {
                allPairs = "no reference";
            } else {
                const auto estimate = estimates.find(benchmarkName(step, c, Implementation::AllPairs));
                allPairs = estimate == estimates.end() ? "not run" : "skipped (≈ " + formatTime(estimate->second) + ")";
            }
            const std::string loops =
                step.loops ? step.inputs + " " + withThousands(outer) + " × " + withThousands(inner) : step.inputs;
            char perPoint[32];
            std::snprintf(perPoint, sizeof perPoint, "%.0f ns", indexed.wall / static_cast<double>(c.points) * 1e9);
            std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", step.name.c_str(), c.name.c_str(), loops.c_str(),
                        allPairs.c_str(), formatTime(indexed.wall).c_str(), ratio.c_str(),
                        formatTime(indexed.cpu).c_str(), perPoint);
        }
    }
    std::printf("\n");
    for (const SurveyCase& c : cases)
        std::printf("All steps above, indexed, on %s (%s stations, %s detail points): %s wall, %s CPU\n",
                    c.name.c_str(), withThousands(c.stations).c_str(), withThousands(c.points).c_str(),
                    formatTime(totals[c.name].wall).c_str(), formatTime(totals[c.name].cpu).c_str());
    benchmark::Shutdown();
    return 0;
}

}  // namespace
}  // namespace qorvel::bench

int main(int argc, char** argv) {
    try {
        return qorvel::bench::run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
