#include "frame/settings.h"

#include <array>

#include "frame/drawing_code_pages.h"
#include "frame/plot_options.h"
#include "frame/result_layouts.h"
#include "plot/plot_sections.h"
#include "plot/sheet_layout.h"
#include "results/section_layout.h"

namespace qorvel {

namespace {
constexpr std::array kTolerances{
    ToleranceSetting{SettingId::StakeTolerance, &Settings::stakeTolerance, "桩号文字插入点与中桩点允许偏差值",
                     "--tolerance", "--stake-tolerance", "桩号文字插入点与中桩点允许偏差值（默认 0.05）"},
    ToleranceSetting{SettingId::CodeTolerance, &Settings::codeTolerance,
                     "向碎步点添加桩号代码时，允许碎步点距离横断面线的直线距离为", "--tolerance", "",
                     "向碎步点添加桩号代码时，允许碎步点距离横断面线的直线距离（默认 0.01）"},
    ToleranceSetting{SettingId::MatchTolerance, &Settings::matchTolerance,
                     "匹配断面线桩号时，允许中桩点与断面线的垂直距离允许值", "--tolerance", "--match-tolerance",
                     "匹配断面线桩号时，中桩点与断面线的垂直距离允许值（默认 0.01）"},
    ToleranceSetting{SettingId::GroupTolerance, &Settings::groupTolerance, "碎步点按桩号归类时，其垂直断面线的允许距离值",
                     "--tolerance", "--group-tolerance", "碎步点按桩号归类时，其垂直断面线的允许距离值（默认 0.05）"},
    ToleranceSetting{SettingId::AvoidDistance, &Settings::avoidDistance, "生成成果时，规避中桩的距离值", "--avoid",
                     "--avoid", "生成成果时，规避中桩的距离值（默认 0.08）"},
};
}  // namespace

std::span<const ToleranceSetting> ToleranceSettings() { return kTolerances; }

std::string SettingsConflict(const Settings& settings) {
    const SectionLayoutEntry* entry = FindSectionLayoutByCommandValue(settings.layout);
    if (entry == nullptr) return "没有这种成果格式：" + settings.layout;
    const SectionLayoutSettings layout{.layoutName = entry->name, .swapSides = settings.swapSides,
                                       .negateHeights = settings.negateHeights, .stationText = settings.stationText,
                                       .blankLine = settings.blankLine};
    if (std::string conflict = SectionLayoutConflict(layout); !conflict.empty()) return conflict;
    if (entry->routeSides && settings.drawnSidesNamed)
        return "“--sides drawn”不适用于成果格式“" + std::string(entry->name) + "”：它的左右总是按路线前进方向区分";
    if (std::string problem = SheetOptionsProblem(settings); !problem.empty()) return problem;
    if (!DxfUnitsByName(settings.dxfUnits)) return "DXF 图纸的单位应为 m（米）或 mm（毫米）：" + settings.dxfUnits;
    if (!DrawingCodePageNamed(settings.codePage)) return "没有这种代码页：" + settings.codePage;
    return {};
}

std::string_view ResultExtension(const Settings& settings) {
    const ResultLayout* layout = FindResultLayout(settings.layout);
    return layout ? layout->extension : ".dat";
}

const ToleranceSetting* FindToleranceSetting(SettingId id) {
    for (const ToleranceSetting& setting : kTolerances)
        if (setting.id == id) return &setting;
    return nullptr;
}

}  // namespace qorvel
