// Feeds arbitrary bytes to the file steps as their input files: every step must either complete
// or fail with a StepError (file, line, field, reason), never crash, hang, read out of bounds
// or grow without bound (libFuzzer's time and memory limits catch the last two).
//
// Some work grows with the product of the inputs by the steps' nature: every stake may match
// every line when all lie on one spot, and step 10 joins a chainage repeated m, s and l times
// in its files into m^3 s l sections. Inputs whose products exceed what a run of a fuzzer can
// afford are passed over (a million pairs of records; 20,000 sections or a million points to
// measure in step 10); the step's time and memory stay bounded by them.
//
// An input is two bytes that choose the step and its options, then the step's files separated
// by the byte 0x1E (a data file has no use for it); a step that needs more files than are
// given takes the parts again from the first.
//   byte 0: bits 0-2 the step (stakes, match, group, add-codes, project-points, check-stakes,
//           check-lines, sections), bits 3-4 the tolerance (0.05, 0.01, 0.5, 0), bit 5 the
//           numeric labels switch
//   byte 1: bits 0-2 the section layout ("格式 1" to "格式 5", then an unknown name), bits 3-6
//           swap sides, negate heights, station text, blank line

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/point_codes.h"
#include "assemble/point_projection.h"
#include "assemble/section_line_match.h"
#include "checks/line_check.h"
#include "checks/stake_check.h"
#include "core/data_file.h"
#include "core/fields.h"
#include "core/progress.h"
#include "core/step_error.h"
#include "results/section_results.h"

namespace {

using namespace qorvel;

std::vector<DataFile> filesOf(std::string_view bytes, std::size_t count) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t separator = bytes.find('\x1E');
        parts.push_back(bytes.substr(0, separator));
        if (separator == std::string_view::npos) break;
        bytes.remove_prefix(separator + 1);
    }
    std::vector<DataFile> files;
    for (std::size_t k = 0; k < count; ++k)
        files.push_back(DataFile::FromBytes("file" + std::to_string(k) + ".dat", std::string(parts[k % parts.size()])));
    return files;
}

constexpr std::size_t kMostPairs = 1'000'000;
constexpr std::size_t kMostSections = 20'000;
constexpr std::size_t kMostMeasuredPoints = 1'000'000;

// Whether step 10 on these files stays within the bounds above: for every chainage, m
// membership rows, s stakes and l matched lines give m^3 s l sections, each membership row's
// points measured in m^2 s l of them.
bool sectionsAffordable(const DataFile& members, const DataFile& stakes, const DataFile& points, const DataFile& lines) {
    std::unordered_map<std::string_view, std::size_t> memberRows, stakeRows, lineRows, pointsNamed;
    for (const Record& record : members.records()) ++memberRows[FirstField(record.text)];
    for (const Record& record : stakes.records()) ++stakeRows[FirstField(record.text)];
    for (const Record& record : lines.records()) ++lineRows[FirstField(record.text)];
    for (const Record& record : points.records()) ++pointsNamed[FirstField(record.text)];
    std::size_t sections = 0;
    std::size_t measured = 0;
    for (const Record& record : members.records()) {
        const std::string_view chainage = FirstField(record.text);
        const std::size_t m = memberRows[chainage];
        const std::size_t perRow = m * m * stakeRows[chainage] * lineRows[chainage];
        sections += perRow;  // at most 2^60 for the files a fuzzer makes: no overflow
        if (sections > kMostSections) return false;
        std::size_t rowPoints = 0;
        std::string_view names = record.text.substr(chainage.size());
        while (!names.empty()) {
            names.remove_prefix(1);  // the comma
            const std::string_view name = FirstField(names);
            if (!name.empty()) rowPoints += pointsNamed[name];
            names.remove_prefix(name.size());
        }
        measured += perRow * rowPoints;
        if (measured > kMostMeasuredPoints) return false;
    }
    return true;
}

void runStep(std::uint8_t choice, std::uint8_t layoutChoice, std::string_view bytes) {
    static constexpr double kTolerances[] = {0.05, 0.01, 0.5, 0};
    static constexpr std::string_view kLayouts[] = {"格式 1", "格式 2", "格式 3", "格式 4", "格式 5", "格式 6"};
    const double tolerance = kTolerances[(choice >> 3) & 3];
    const bool numericLabels = (choice & 0x20) != 0;
    NullProgress progress;
    double carried = 0;
    switch (choice & 7) {
        case 0: {
            const auto f = filesOf(bytes, 2);
            if (f[0].size() * f[1].size() > kMostPairs) return;
            MergeCentreStakes(f[0], f[1], {tolerance, numericLabels}, progress);
            break;
        }
        case 1: {
            const auto f = filesOf(bytes, 2);
            if (f[0].size() * f[1].size() > kMostPairs) return;
            MatchSectionLines(f[0], f[1], tolerance, carried);
            break;
        }
        case 2: {
            const auto f = filesOf(bytes, 2);
            if (f[0].size() * f[1].size() > kMostPairs) return;
            GroupDetailPoints(f[0], f[1], tolerance, carried, progress);
            break;
        }
        case 3: {
            const auto f = filesOf(bytes, 2);
            if (f[0].size() * f[1].size() > kMostPairs) return;
            AddPointCodes(f[0], f[1], tolerance, progress);
            break;
        }
        case 4: {
            const auto f = filesOf(bytes, 2);
            if (f[0].size() * f[1].size() > kMostPairs) return;
            ProjectPointsOntoSectionLines(f[0], f[1], tolerance, carried, progress);
            break;
        }
        case 5: {
            const auto f = filesOf(bytes, 2);
            if (f[0].size() * f[1].size() > kMostPairs) return;
            CheckCentreStakes(f[0], f[1], numericLabels, progress);
            break;
        }
        case 6: {
            const auto f = filesOf(bytes, 2);
            if (f[0].size() * f[1].size() > kMostPairs) return;
            CheckSectionLines(f[0], f[1], progress);
            break;
        }
        default: {
            const auto f = filesOf(bytes, 4);
            if (!sectionsAffordable(f[0], f[1], f[2], f[3])) return;
            SectionResultOptions options;
            options.layout.layoutName = kLayouts[(layoutChoice & 7) % 6];
            options.layout.swapSides = (layoutChoice & 0x08) != 0;
            options.layout.negateHeights = (layoutChoice & 0x10) != 0;
            options.layout.stationText = (layoutChoice & 0x20) != 0;
            options.layout.blankLine = (layoutChoice & 0x40) != 0;
            OutputSectionResults({f[0], f[1], f[2], f[3]}, options, carried, progress);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    try {
        runStep(data[0], data[1], std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    } catch (const qorvel::StepError& error) {
        (void)error.describe();
    }
    return 0;
}
