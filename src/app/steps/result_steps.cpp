#include "app/steps/result_steps.h"

#include <string>

#include "results/section_results.h"

namespace qorvel::steps {

StepResult OutputSectionResults(StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, StepId::SectionResults, [](StepContext& step) {
        const DataFile members = step.OpenInput(FileRole::Membership);
        const DataFile stakes = step.OpenInput(FileRole::CentreStakes);
        const DataFile points = step.OpenInput(FileRole::DetailPoints);
        const DataFile lines = step.OpenInput(FileRole::MatchedLines);
        const std::string output = step.AskOutput();

        const Settings& settings = step.settings();
        SectionResultOptions options;
        options.stakeAvoidDistance = settings.avoidDistance;
        options.layout.layoutName = settings.layoutName;
        options.layout.swapSides = settings.swapSides;
        options.layout.negateHeights = settings.negateHeights;
        options.layout.stationText = settings.stationText;
        options.layout.blankLine = settings.blankLine;

        const SectionResults results = qorvel::OutputSectionResults({members, stakes, points, lines}, options,
                                                                    step.session().carriedAzimuth, step.progress());
        // The count is of the section lines read, not of the sections written.
        step.Finish(output, results.output, "共有断面数：" + std::to_string(lines.size()) + " 条。", lines.size());
    });
}

}  // namespace qorvel::steps
