#include "plot/section_drawing.h"

#include <algorithm>
#include <cmath>

#include "station/station_text.h"

namespace qorvel {

std::string StationLabel(const SectionDrawing& section) {
    if (section.numericChainage && std::isfinite(section.chainage)) return FormatStationText(section.chainage);
    return section.station;
}

std::vector<std::string> ProblemReasons(const SectionDrawing& section) {
    std::vector<std::string> reasons;
    for (const std::string& problem : section.problems) {
        std::string reason = problem.substr(0, problem.find("："));
        if (reason.empty() || std::find(reasons.begin(), reasons.end(), reason) != reasons.end()) continue;
        reasons.push_back(std::move(reason));
    }
    return reasons;
}

void SortByChainage(std::vector<SectionDrawing>& sections) {
    std::stable_sort(sections.begin(), sections.end(), [](const SectionDrawing& a, const SectionDrawing& b) {
        if (std::isnan(a.chainage)) return false;
        return std::isnan(b.chainage) || a.chainage < b.chainage;
    });
}

}  // namespace qorvel
