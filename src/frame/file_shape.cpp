#include "frame/file_shape.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "core/fields.h"
#include "core/number_read.h"
#include "core/step_error.h"

namespace qorvel {

namespace {

constexpr std::size_t kRecordsJudged = 1000;

struct Coordinate {
    int field;
    const char* meaning;
};
constexpr std::array kPointCoordinates{Coordinate{2, "东坐标"}, Coordinate{3, "北坐标"}};
constexpr std::array kLabelCoordinates{Coordinate{2, "插入点的东坐标"}, Coordinate{3, "插入点的北坐标"}};
constexpr std::array kLineCoordinates{Coordinate{1, "第一端的东坐标"}, Coordinate{2, "第一端的北坐标"},
                                      Coordinate{3, "第二端的东坐标"}, Coordinate{4, "第二端的北坐标"}};

std::span<const Coordinate> CoordinatesOf(FileRole role) {
    switch (role) {
        case FileRole::DetailPoints:
        case FileRole::CentreStakes: return kPointCoordinates;
        case FileRole::StationLabels: return kLabelCoordinates;
        case FileRole::SectionLines:
        case FileRole::MatchedLines: return kLineCoordinates;
        default: return {};
    }
}

// A field a coordinate can be read from: it begins with a number, blanks and a sign aside.
bool BeginsWithNumber(std::string_view text) {
    const auto skipBlanks = [&] {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    };
    skipBlanks();
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
        skipBlanks();
    }
    return MatchUnsignedDecimal(text) > 0;
}

bool Numeric(const Fields& fields, std::size_t field) {
    return field < fields.size() && BeginsWithNumber(fields[field]);
}

// A field that is there and holds no number: what a file of another role has where this role
// keeps a coordinate. A record that ends early is damaged rather than of another kind, and
// the step names its missing field.
bool HoldsNoNumber(const Fields& fields, std::size_t field) {
    return field < fields.size() && !BeginsWithNumber(fields[field]);
}

std::span<const Record> Judged(const DataFile& file) {
    return file.records().first(std::min(file.size(), kRecordsJudged));
}

// What one record looks like; nullptr when it is like none of the files.
const char* KindOfRecord(std::string_view text) {
    const Fields fields(text);
    const std::size_t count = fields.size();
    const bool coordinates23 = Numeric(fields, 2) && Numeric(fields, 3);
    if (count >= 6 && fields[1].empty() && coordinates23 && Numeric(fields, 4)) return "桩号文字文件";
    if (count == 5 && Numeric(fields, 1) && coordinates23 && Numeric(fields, 4)) return "断面线文件或匹配桩号后的断面线文件";
    if (count == 5 && coordinates23) return "碎步点文件或中桩文件";
    if (count == 1 && text.find(' ') != std::string_view::npos && BeginsWithNumber(text)) return "断面成果文件";
    // The checks' reports open each record with the problem's name, the memberships with a station.
    if (count >= 2 && !Numeric(fields, 0)) return "检查结果文件";
    if (count >= 2 && !fields[1].empty()) return "桩号归属文件";
    return nullptr;
}

}  // namespace

std::optional<std::string> WhatFileLooksLike(const DataFile& file) {
    std::vector<std::pair<const char*, std::size_t>> votes;
    for (const Record& record : Judged(file)) {
        const char* kind = KindOfRecord(record.text);
        if (kind == nullptr) continue;
        const auto found = std::find_if(votes.begin(), votes.end(), [&](const auto& vote) { return vote.first == kind; });
        if (found == votes.end()) votes.emplace_back(kind, 1);
        else ++found->second;
    }
    const auto most = std::max_element(votes.begin(), votes.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most == votes.end() || 2 * most->second <= Judged(file).size()) return std::nullopt;
    return most->first;
}

void RefuseFileUnlikeItsRole(const DataFile& file, FileRole role) {
    const std::span<const Coordinate> coordinates = CoordinatesOf(role);
    if (coordinates.empty()) return;
    const std::span<const Record> judged = Judged(file);
    std::size_t unfit = 0;
    const Record* firstUnfit = nullptr;
    const Coordinate* firstField = nullptr;
    for (const Record& record : judged) {
        const Fields fields(record.text);
        const auto missing = std::find_if(coordinates.begin(), coordinates.end(), [&](const Coordinate& coordinate) {
            return HoldsNoNumber(fields, static_cast<std::size_t>(coordinate.field));
        });
        if (missing == coordinates.end()) continue;
        if (++unfit == 1) {
            firstUnfit = &record;
            firstField = &*missing;
        }
    }
    if (2 * unfit <= judged.size()) return;
    const std::string name(RoleName(role));
    const std::optional<std::string> looks = WhatFileLooksLike(file);
    throw StepError(file.name(), firstUnfit->line, firstField->field,
                    "这不像" + name + "：它的 " + std::to_string(judged.size()) + " 条记录中有 " + std::to_string(unfit) +
                        " 条在" + name + "的" + firstField->meaning + "处没有数字，" +
                        (looks ? "看起来是" + *looks : std::string("也看不出是哪一种数据文件")) +
                        "。请检查是否选错了文件或弄错了文件的顺序");
}

}  // namespace qorvel
