#include "plot/section_drawing.h"

#include <algorithm>
#include <cmath>

namespace qorvel {

void SortByChainage(std::vector<SectionDrawing>& sections) {
    std::stable_sort(sections.begin(), sections.end(), [](const SectionDrawing& a, const SectionDrawing& b) {
        if (std::isnan(a.chainage)) return false;
        return std::isnan(b.chainage) || a.chainage < b.chainage;
    });
}

}  // namespace qorvel
