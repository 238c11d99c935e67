#pragma once
// The sections of a project as the section viewer (断面查看) shows them: built from the four
// files of step 10 exactly as step 10 builds them, their sides in the order the result file
// writes them (the side rule, then 幅别颠倒生成), checked as check-sections checks them, and
// kept in memory with their files so that the viewer steps from one section to the next at once.
//
// A project of 25,000 sections and a million points opens in about a second: what the list
// shows for every section (station, points on each side, problems) is made when the project
// opens; what only the section on screen needs (names and codes in UTF-8, the plan of its line
// and points) is made when it is shown. The sections are listed in chainage order, as the
// sheets draw them, whatever order the drawing gave the section lines in.
//
// Opened on a run, the list also holds the stations the run's checks found without a section
// (a label without its stake, 缺少中桩; a stake without its line, 缺少断面线), each a row of its
// own with its problem and nothing to draw: a surveyor looking through the sections sees what
// is missing where it would be, and the title counts it.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/progress.h"
#include "frame/pipeline.h"
#include "frame/settings.h"
#include "frame/step_result.h"
#include "plot/section_drawing.h"

namespace qorvel {
// A section in the viewer's list.
struct SectionListEntry {
    std::string station;             // UTF-8, as the result file names the section
    std::optional<double> chainage;  // none when the chainage is no number
    std::size_t leftPoints = 0;      // points drawn left of the stake (the first side written)
    std::size_t rightPoints = 0;     // and right of it
    std::vector<std::string> problems;  // UTF-8, e.g. "断面线反向", "高程突变：左侧，12.50，3.20"
    bool hasSection = true;  // false: a station the run's checks found without a section
};

// The plan of a section, easting and northing in metres: its line, its stake and the member
// points of its station, each marked with the side of the drawing it is on.
struct SectionPlan {
    enum class Side { None, Left, Right };  // None: too near the stake or outside both sides
    struct Member {
        double east = 0;
        double north = 0;
        Side side = Side::None;
    };
    double stakeEast = 0;
    double stakeNorth = 0;
    double firstEndEast = 0;  // the section line as drawn
    double firstEndNorth = 0;
    double secondEndEast = 0;
    double secondEndNorth = 0;
    std::vector<Member> members;
};

struct HeldSections;  // built sections with their files (frame/run_files.h)

class SectionsOnView {
public:
    // Takes the four files (membership, centre stakes, detail points, matched section lines),
    // builds and checks their sections with `settings` and `carriedAzimuth` (the Session's).
    // Fails as step 10 and check-sections fail, with a StepError naming file, line and field.
    SectionsOnView(std::shared_ptr<const DataFile> members, std::shared_ptr<const DataFile> stakes,
                   std::shared_ptr<const DataFile> points, std::shared_ptr<const DataFile> lines, const Settings& settings,
                   double& carriedAzimuth, ProgressSink& progress);
    // Takes sections already built with `settings` (a run's, which it built for step 10);
    // `inputPaths` are where their four files are now.
    SectionsOnView(std::shared_ptr<const HeldSections> sections, const Settings& settings,
                   std::vector<std::string> inputPaths);
    // Lists, in chainage order, the stations of `problems` (of the stake and line checks) that
    // have no section, each with its problems, and counts them in the check summary.
    void ListStationsWithoutSection(const std::vector<CheckProblem>& problems);
    ~SectionsOnView();
    // The sections look into the files held here: never copied.
    SectionsOnView(const SectionsOnView&) = delete;
    SectionsOnView& operator=(const SectionsOnView&) = delete;

    // Sections by their place in chainage order.
    std::size_t size() const { return entries_.size(); }
    const SectionListEntry& Entry(std::size_t index) const { return entries_[index]; }
    // The section to draw, its problems included (a row without a section: its station and
    // problems alone, an empty plan).
    SectionDrawing Drawing(std::size_t index) const;
    SectionPlan Plan(std::size_t index) const;

    // The first section named exactly `text` (blanks around it ignored); failing that, the one
    // whose chainage is nearest to the chainage `text` gives ("K1+050", "1050"); nothing when
    // `text` names no chainage or no section has one.
    std::optional<std::size_t> FindStation(std::string_view text) const;
    // The sections with at least one problem, in order.
    std::vector<std::size_t> SectionsWithProblems() const;
    // 共检查断面 N 个，发现问题 M 处！
    const std::string& CheckSummary() const { return checkSummary_; }
    // The paths of the four files, which an export must not overwrite.
    std::vector<std::string> InputPaths() const;
    const Settings& settings() const { return settings_; }

private:
    void List();

    std::shared_ptr<const HeldSections> built_;
    Settings settings_;
    std::vector<std::string> inputPaths_;
    // Place in chainage order -> place among the built sections; kNoSection for a row without one.
    static constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);
    std::vector<std::size_t> order_;
    std::vector<SectionListEntry> entries_;
    std::string checkSummary_;
};

// The sections a completed run built for its step 10, for the viewer: nothing is read or built
// again. Nothing when the run built none.
std::shared_ptr<const SectionsOnView> SectionsOnViewOfRun(const PipelineReport& report, const Settings& settings);

// Sections of a project handed to the section sheets: those at `indices`, in that order.
class SectionsOnViewSource final : public SectionSource {
public:
    SectionsOnViewSource(const SectionsOnView& sections, std::vector<std::size_t> indices)
        : sections_(sections), indices_(std::move(indices)) {}
    void Visit(const SectionVisitor& visit) override;

private:
    const SectionsOnView& sections_;
    std::vector<std::size_t> indices_;
};

}  // namespace qorvel
