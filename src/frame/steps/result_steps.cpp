#include "frame/steps/result_steps.h"

#include <string>

#include "checks/section_check.h"
#include "core/step_error.h"
#include "frame/section_options.h"
#include "frame/sections_on_view.h"
#include "plot/plot_sections.h"
#include "results/section_results.h"

namespace qorvel::steps {

namespace {

// The built sections as the sheets draw them, in chainage order, converted one at a time as the
// plot asks for them.
class BuiltSectionSource final : public SectionSource {
public:
    BuiltSectionSource(const BuiltSections& built, const Settings& settings)
        : built_(built), settings_(settings), order_(ChainageOrder(built.sections)) {}

    void Visit(const SectionVisitor& visit) override {
        for (const std::size_t k : order_) visit(DrawingOfSection(built_.sections[k], settings_));
    }

private:
    const BuiltSections& built_;
    const Settings& settings_;
    std::vector<std::size_t> order_;
};

// The four files every section step reads, in the order it asks for them.
struct SectionFiles {
    explicit SectionFiles(StepContext& step)
        : members(step.OpenInput(FileRole::Membership)),
          stakes(step.OpenInput(FileRole::CentreStakes)),
          points(step.OpenInput(FileRole::DetailPoints)),
          lines(step.OpenInput(FileRole::MatchedLines)) {}
    SectionInputs Inputs() const { return {members, stakes, points, lines}; }

    DataFile members;
    DataFile stakes;
    DataFile points;
    DataFile lines;
};

}  // namespace

StepResult OutputSectionResults(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::SectionResults, [](StepContext& step) {
        const SectionFiles files(step);
        const std::string output = step.AskOutput();
        const SectionResults results = qorvel::OutputSectionResults(
            files.Inputs(), SectionOptionsOf(step.settings()), step.session().carriedAzimuth, step.progress());
        // The count is of the section lines read, not of the sections written.
        step.Finish(output, results.output, "共有断面数：" + std::to_string(files.lines.size()) + " 条。",
                    files.lines.size());
    });
}

StepResult CheckSections(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::SectionCheck, [](StepContext& step) {
        const SectionFiles files(step);
        const std::string output = step.AskOutput();
        const SectionCheckResult result = qorvel::CheckSections(files.Inputs(), SectionCheckOptionsOf(step.settings()),
                                                                step.session().carriedAzimuth, step.progress());
        for (const SectionProblem& problem : result.problems) {
            const std::string line = SectionProblemText(problem);  // "reason,chainage,details"
            const std::size_t comma = line.find(',');
            step.Problem(std::string(SectionProblemReasonText(problem.reason)),
                         comma == std::string::npos ? std::string() : "桩号 " + line.substr(comma + 1));
        }
        step.Finish(output, result.output, SectionCheckSummary(result), result.sections);
    });
}

StepResult PlotSections(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::SectionSheets, [](StepContext& step) {
        const SectionFiles files(step);
        const std::string output = step.AskOutput();
        if (!PlotKindOfPath(output))
            throw StepError(output, StepError::kNoLine, StepError::kNoField,
                            "断面图的文件名须以 .pdf、.svg 或 .dxf 结尾");
        const Settings& settings = step.settings();
        const BuiltSections built = BuildSections(files.Inputs(), SectionOptionsOf(settings),
                                                  step.session().carriedAzimuth, step.progress());
        const PlotOptions options = PlotOptionsOf(settings);
        BuiltSectionSource source(built, settings);
        const PlotSummary summary = qorvel::PlotSections(source, options, output, step.progress());
        if (!summary.Warning().empty()) step.result().notes.push_back(summary.Warning());
        step.Summary(summary.text, summary.sections);
        step.OpenResult();
    });
}

StepResult ViewSections(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::SectionViewer, [](StepContext& step) {
        SectionFiles files(step);
        auto sections = std::make_shared<const SectionsOnView>(
            std::move(files.members), std::move(files.stakes), std::move(files.points), std::move(files.lines),
            step.settings(), step.session().carriedAzimuth, step.progress());
        step.result().summary = sections->CheckSummary();
        step.result().count = sections->size();
        step.session().sectionsOnView = std::move(sections);
    });
}

}  // namespace qorvel::steps
