#include "results/ground_profile.h"

#include <algorithm>
#include <vector>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/number_read.h"
#include "station/station_text.h"

namespace qorvel {

namespace {

struct ProfileStake {
    double chainage = 0;
    double elevation = 0;
};

void appendPadded(std::string& text, double value, int decimals, std::size_t width) {
    const std::string number = FormatFixed(value, decimals);
    if (number.size() < width) text.append(width - number.size(), ' ');
    text += number;
}

}  // namespace

std::optional<ProfileKind> ProfileKindOfPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == "dmx") return ProfileKind::Dmx;
    if (extension == "csv") return ProfileKind::Csv;
    if (extension == "dat") return ProfileKind::Dat;
    return std::nullopt;
}

GroundProfile WriteGroundProfile(const DataFile& stakes, ProfileKind kind) {
    std::vector<ProfileStake> profile;
    for (const Record& record : stakes.records()) {
        const std::optional<double> chainage = ReadStrict(FirstField(record.text));
        if (!chainage) continue;
        profile.push_back({*chainage, FieldReader(stakes, record).Lenient(4)});
    }
    // Sorted stably, so that the first of equal chainages is the earliest row.
    std::stable_sort(profile.begin(), profile.end(),
                     [](const ProfileStake& a, const ProfileStake& b) { return a.chainage < b.chainage; });
    profile.erase(std::unique(profile.begin(), profile.end(),
                              [](const ProfileStake& a, const ProfileStake& b) { return a.chainage == b.chainage; }),
                  profile.end());

    GroundProfile result;
    result.stakes = profile.size();
    if (kind == ProfileKind::Dmx) result.output.Line(kDmxFirstLine);
    if (kind == ProfileKind::Csv) result.output.Line("\xEF\xBB\xBF桩号,里程,高程");
    std::string text;
    for (const ProfileStake& stake : profile) {
        text.clear();
        switch (kind) {
            case ProfileKind::Dmx:
                appendPadded(text, stake.chainage, 3, 12);
                text += '\t';
                appendPadded(text, stake.elevation, 6, 10);
                break;
            case ProfileKind::Csv:
                text = FormatStationText(stake.chainage) + ',';
                [[fallthrough]];
            case ProfileKind::Dat:
                AppendFixed(text, stake.chainage, 3);
                text += ',';
                AppendFixed(text, stake.elevation, 3);
                break;
        }
        result.output.Line(text);
    }
    return result;
}

std::string GroundProfileSummary(const GroundProfile& profile) {
    return "纵断面地面线：共有中桩 " + std::to_string(profile.stakes) + " 个。";
}

}  // namespace qorvel
