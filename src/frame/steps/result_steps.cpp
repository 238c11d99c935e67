#include "frame/steps/result_steps.h"

#include <string>

#include "checks/section_check.h"
#include "core/step_error.h"
#include "frame/plot_options.h"
#include "frame/section_options.h"
#include "frame/sections_on_view.h"
#include "frame/step_frame.h"
#include "frame/steps/section_files.h"
#include "plot/plot_sections.h"
#include "results/ground_profile.h"
#include "results/section_conversion.h"
#include "results/section_reading.h"
#include "results/section_results.h"

namespace qorvel::steps {

namespace {

// The built sections as the sheets draw them, in chainage order, each with the problems the
// section check found, converted one at a time as the plot asks for them.
class BuiltSectionSource final : public SectionSource {
public:
    BuiltSectionSource(const BuiltSections& built, const Settings& settings, std::vector<std::vector<std::string>> problems)
        : built_(built), settings_(settings), order_(ChainageOrder(built.sections)), problems_(std::move(problems)) {}

    void Visit(const SectionVisitor& visit) override {
        for (const std::size_t k : order_) {
            SectionDrawing drawing = DrawingOfSection(built_.sections[k], settings_);
            drawing.problems = problems_[k];
            visit(drawing);
        }
    }

private:
    const BuiltSections& built_;
    const Settings& settings_;
    std::vector<std::size_t> order_;
    std::vector<std::vector<std::string>> problems_;
};

}  // namespace

StepReport OutputSectionResults(StepInputs& inputs) {
    const SectionResultOptions options = SectionOptionsOf(inputs.settings());
    const std::shared_ptr<const HeldSections> run = SectionsOfTheRun(inputs, options);
    auto results = run ? WriteBuiltSections(run->built, options, inputs.progress())
                       : qorvel::OutputSectionResults(SectionInputsOf(inputs), options, inputs.session().carriedAzimuth,
                                                      inputs.progress());
    // The count is of the section lines read, not of the sections written.
    const std::size_t lines = inputs[FileRole::MatchedLines].size();
    StepReport report{.output = std::move(results.output), .summary = "共有断面数：" + std::to_string(lines) + " 条。",
                      .count = lines};
    if (!results.leftOut.empty())
        report.notes.push_back(LeftOutSectionsWarning(inputs[FileRole::Membership].name(), results.leftOut));
    const bool filesHoldRecords = !inputs[FileRole::Membership].empty() && !inputs[FileRole::CentreStakes].empty() &&
                                  !inputs[FileRole::MatchedLines].empty();
    if (filesHoldRecords && results.sections == 0)
        report.caution = StepCaution{"桩号归属文件、中桩文件和匹配桩号后的断面线文件没有一个共同的桩号：可能选错了文件或弄错了顺序。"};
    else if (results.sections > 0 && results.withPoints == 0)
        report.caution = StepCaution{"所有 " + std::to_string(results.sections) +
                                     " 个断面都没有点：可能选错了文件或弄错了顺序（桩号归属文件中的点名须是碎步点文件中的点名）。"};
    return report;
}

StepReport PlotSections(StepInputs& inputs) {
    const std::string& output = inputs.outputPath();
    if (!PlotKindOfPath(output))
        throw StepError(output, StepError::kNoLine, StepError::kNoField, "断面图的文件名须以 " + SheetKindList(SheetKindWords::Extensions) + " 结尾");
    const Settings& settings = inputs.settings();
    if (const std::string problem = SheetOptionsProblem(settings); !problem.empty()) throw StepError(problem);
    const SectionResultOptions options = SectionOptionsOf(settings);
    const std::shared_ptr<const HeldSections> run = SectionsOfTheRun(inputs, options);
    const BuiltSections built =
        run ? BuiltSections() : BuildSections(SectionInputsOf(inputs), options, inputs.session().carriedAzimuth, inputs.progress());
    const BuiltSections& sections = run ? run->built : built;
    const SectionCheckResult check = CheckBuiltSections(sections, inputs[FileRole::MatchedLines], SectionCheckOptionsOf(settings));
    BuiltSectionSource source(sections, settings, ProblemsOfSections(sections, check));
    const PlotSummary summary = qorvel::PlotSections(source, PlotOptionsOf(settings), output, inputs.progress());
    StepReport report{.wroteOutput = true, .summary = summary.text, .count = summary.sections};
    if (!summary.Warning().empty()) report.notes.push_back(summary.Warning());
    return report;
}

StepReport OutputGroundProfile(StepInputs& inputs) {
    const std::string& output = inputs.outputPath();
    const std::optional<ProfileKind> kind = ProfileKindOfPath(output);
    if (!kind)
        throw StepError(output, StepError::kNoLine, StepError::kNoField, "纵断面地面线的文件名须以 .dmx、.csv 或 .dat 结尾");
    GroundProfile profile = WriteGroundProfile(inputs[FileRole::CentreStakes], *kind);
    return {.output = std::move(profile.output), .summary = GroundProfileSummary(profile), .count = profile.stakes};
}

StepReport ConvertSectionFile(StepInputs& inputs) {
    const Settings& settings = inputs.settings();
    const DataFile& input = inputs[FileRole::SectionResults];
    const SectionLayoutEntry* from =
        settings.sourceLayout.empty() ? nullptr : FindSectionLayoutByCommandValue(settings.sourceLayout);
    const ReadSections read = ReadSectionFile(input.name(), input.bytes(), from);
    const SectionLayoutSettings target = SectionOptionsOf(settings).layout;
    ConversionResult result = ConvertSections(read, input.name(), inputs.Find(FileRole::CentreStakes), target);
    StepReport report{.output = std::move(result.output),
                      .summary = ConversionSummary(result, *read.layout, *FindSectionLayout(target.layoutName)),
                      .count = result.written};
    if (!result.leftOut.empty()) report.notes.push_back(LeftOutSectionsWarning(input.name(), result.leftOut));
    return report;
}

StepResult ViewSections(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::SectionViewer, [](StepContext& step) {
        auto members = step.OpenInput(FileRole::Membership);
        auto stakes = step.OpenInput(FileRole::CentreStakes);
        auto points = step.OpenInput(FileRole::DetailPoints);
        auto lines = step.OpenInput(FileRole::MatchedLines);
        auto sections = std::make_shared<const SectionsOnView>(std::move(members), std::move(stakes), std::move(points),
                                                               std::move(lines), step.settings(),
                                                               step.session().carriedAzimuth, step.progress());
        step.result().summary = sections->CheckSummary();
        step.result().count = sections->size();
        step.session().sectionsOnView = std::move(sections);
    });
}

}  // namespace qorvel::steps
