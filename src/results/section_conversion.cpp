#include "results/section_conversion.h"

#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/number_read.h"
#include "core/number_too_large.h"
#include "core/step_error.h"
#include "results/landxml_layout.h"
#include "route/route.h"

namespace qorvel {

namespace {

using enum SectionLayoutKind;

bool writesHeights(SectionLayoutKind kind) { return kind == Format3 || kind == Format4 || kind == Format5 || kind == Hdm; }
// The layouts that carry the stake's elevation, copied or at offset 0 (the others never do).
bool carriesStakeElevation(SectionLayoutKind kind) {
    return kind == Format2 || kind == Format3 || kind == Begin || kind == Csv || kind == LandXml;
}

// The centre stakes by chainage: the first row of each text and of each value.
class StakeIndex {
public:
    explicit StakeIndex(const DataFile* stakes) {
        if (!stakes) return;
        for (const Record& record : stakes->records()) {
            const std::string_view chainage = FirstField(record.text);
            byText_.emplace(chainage, &record);
            if (const std::optional<double> value = ReadStrict(chainage)) byValue_.emplace(*value, &record);
        }
    }
    const Record* Find(std::string_view station, std::optional<double> chainage) const {
        if (const auto found = byText_.find(station); found != byText_.end()) return found->second;
        if (!chainage) return nullptr;
        const auto found = byValue_.find(*chainage);
        return found == byValue_.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<std::string_view, const Record*> byText_;
    std::map<double, const Record*> byValue_;
};

// A section ready for the target's writer.
struct Prepared {
    const ReadSection* source = nullptr;
    std::string chainageText;  // "纬地 HDM": the value of the source's chainage
    SectionRecord record;
    SideList first;
    SideList second;
    double stakeElevation = 0;
    double heightsFrom = 0;
};

}  // namespace

ConversionResult ConvertSections(const ReadSections& read, std::string_view file, const DataFile* stakes,
                                 const SectionLayoutSettings& target) {
    const SectionLayoutEntry* to = FindSectionLayout(target.layoutName);
    if (!to) throw StepError("没有这种成果格式：" + std::string(target.layoutName));
    if (to->kind == LandXml && !stakes) throw StepError("转换为 LandXML 须给出中桩文件：LandXML 的路线经过各中桩");
    const SectionLayoutEntry& from = *read.layout;
    const std::string fileName(file);
    const auto fail = [&](const ReadSection& section, const std::string& reason) {
        throw StepError(fileName, section.line, StepError::kNoField, reason);
    };

    const bool targetHeights = writesHeights(to->kind);
    const bool needsStake = carriesStakeElevation(to->kind) || targetHeights != read.heightsAboveStake;
    const StakeIndex index(stakes);

    std::vector<Prepared> prepared(read.sections.size());
    for (std::size_t k = 0; k < read.sections.size(); ++k) {
        const ReadSection& section = read.sections[k];
        Prepared& out = prepared[k];
        out.source = &section;
        out.record.chainage = {section.station, fileName, section.line, StepError::kNoField};
        if (to->routeSides && !section.chainage)
            fail(section, std::string(to->name) + " 的桩号必须是数字：“" + DisplayText(section.station) + "”");
        if (to->kind == Hdm) {
            out.chainageText = FormatGeneral(*section.chainage);
            out.record.chainage.text = out.chainageText;
        }

        out.record.stakeElevation = {section.stakeElevation, fileName, section.line, StepError::kNoField};
        if (needsStake && section.stakeElevation.empty()) {
            if (!stakes) {
                const std::string why = carriesStakeElevation(from.kind) ? "这个断面没有偏距为 0 的中桩点"
                                                                         : "“" + std::string(from.name) + "”不含中桩高程";
                fail(section, "断面“" + DisplayText(section.station) + "”缺少中桩高程（" + why + "），转换为“" +
                                  std::string(to->name) + "”须给出中桩文件");
            }
            const Record* row = index.Find(section.station, section.chainage);
            if (!row)
                fail(section, "中桩文件“" + stakes->name() + "”中没有桩号“" + DisplayText(section.station) +
                                  "”，得不到这个断面的中桩高程");
            const FieldReader fields(*stakes, *row);
            fields.Strict(4);
            out.record.stakeElevation = {fields.Text(4), stakes->name(), row->line, 4};
        }
        out.stakeElevation = needsStake ? *ReadStrict(out.record.stakeElevation.text) : 0.0;
        out.heightsFrom = read.heightsAboveStake ? 0.0 : out.stakeElevation;
        const double above = read.heightsAboveStake && !targetHeights ? out.stakeElevation : 0.0;
        for (const auto& [points, side] : {std::pair{&section.first, &out.first}, std::pair{&section.second, &out.second}}) {
            side->reserve(points->size());
            for (const ReadPoint& point : *points) {
                // A height above a stake whose elevation is near the range of a double need not
                // give an elevation within it.
                if (!std::isfinite(above + point.height))
                    fail(section, "桩号“" + DisplayText(section.station) + "”的断面：" +
                                      NumberTooLargeReason({{{}, StepError::kNoLine, StepError::kNoField, above, out.record.stakeElevation.text},
                                                            {{}, StepError::kNoLine, StepError::kNoField, point.height, {}}},
                                                           "高程"));
                side->emplace_back(point.distance, above + point.height, point.name);
            }
        }
    }

    ConversionResult result;
    WriteSectionLayoutHeading(target, result.output);
    if (!to->routeSides) {
        for (std::size_t k = 0; k < prepared.size(); ++k) {
            const Prepared& section = prepared[k];
            WriteSectionLayout(section.record, section.first, section.second, section.heightsFrom, target,
                               result.output, k + 1);
        }
        result.written = prepared.size();
        return result;
    }

    std::vector<ChoiceCandidate> candidates;
    candidates.reserve(prepared.size());
    for (const Prepared& section : prepared)
        candidates.push_back({*section.source->chainage, !section.first.empty() || !section.second.empty(),
                              section.source->station, section.source->line});
    ChainageChoice choice = ChooseOnePerChainage(candidates, to->kind == LandXml);
    result.leftOut = std::move(choice.leftOut);
    result.written = choice.written.size();
    if (to->kind == Hdm) {
        for (const std::size_t k : choice.written)
            WriteSectionLayout(prepared[k].record, prepared[k].first, prepared[k].second, prepared[k].heightsFrom,
                               target, result.output, 1);
        return result;
    }
    std::vector<LandXmlSection> sections;
    sections.reserve(choice.written.size());
    for (const std::size_t k : choice.written) {
        const Prepared& section = prepared[k];
        sections.push_back({*section.source->chainage,
                            LandXmlStationName(section.record.chainage, SectionStationText(section.record, target.stationText)),
                            section.stakeElevation, &section.first, &section.second});
    }
    WriteLandXmlDocument(Route::FromCentreStakes(*stakes), sections, LandXmlStampNow(), result.output);
    return result;
}

std::string ConversionSummary(const ConversionResult& result, const SectionLayoutEntry& from,
                              const SectionLayoutEntry& to) {
    return "共转换断面 " + std::to_string(result.written) + " 个：" + std::string(from.name) + " → " +
           std::string(to.name) + "。";
}

}  // namespace qorvel
