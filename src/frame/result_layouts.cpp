#include "frame/result_layouts.h"

#include <vector>

#include "results/section_layout.h"
#include "results/section_reading.h"

namespace qorvel {

std::span<const ResultLayout> ResultLayouts() {
    static const std::vector<ResultLayout> layouts = [] {
        std::vector<ResultLayout> all;
        for (const SectionLayoutEntry& entry : SectionLayouts())
            all.push_back({entry.commandValue, entry.name, entry.extension, entry.heightSwitches, entry.description});
        return all;
    }();
    return layouts;
}

const ResultLayout* FindResultLayout(std::string_view id) {
    for (const ResultLayout& layout : ResultLayouts())
        if (layout.id == id) return &layout;
    return nullptr;
}

const ResultLayout* FindResultLayoutByCaption(std::string_view caption) {
    for (const ResultLayout& layout : ResultLayouts())
        if (layout.caption == caption) return &layout;
    return nullptr;
}

const ResultLayout* DetectResultLayout(std::string_view bytes) {
    const SectionLayoutEntry* shown = DetectSectionLayout(bytes);
    return shown ? FindResultLayout(shown->commandValue) : nullptr;
}

}  // namespace qorvel
