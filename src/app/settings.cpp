#include "app/settings.h"

#include <array>

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

const ToleranceSetting* FindToleranceSetting(SettingId id) {
    for (const ToleranceSetting& setting : kTolerances)
        if (setting.id == id) return &setting;
    return nullptr;
}

}  // namespace qorvel
