#include "results/section_reading.h"

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/number_read.h"
#include "core/step_error.h"
#include "core/text_encoding.h"
#include "results/ground_profile.h"
#include "results/xml_text.h"

namespace qorvel {

namespace {

using enum SectionLayoutKind;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kCsvHeading = "桩号,偏距,高程,点名";
constexpr std::string_view kCsvHeadingGbk = "\xD7\xAE\xBA\xC5,\xC6\xAB\xBE\xE0,\xB8\xDF\xB3\xCC,\xB5\xE3\xC3\xFB";
constexpr std::string_view kLandXmlNamespace = "http://www.landxml.org/schema/LandXML-1.2";

struct Line {
    std::size_t number = 0;
    std::string_view text;
};

// Every physical line, empty ones too (an empty side is an empty line): split at LF, one CR
// before it dropped; the empty piece after a last LF is no line.
std::vector<Line> physicalLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    std::size_t number = 1;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        std::string_view text = bytes.substr(start, end - start);
        if (!last && text.ends_with('\r')) text.remove_suffix(1);
        lines.push_back({number++, text});
        start = end + 1;
    }
    return lines;
}

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

std::string_view withoutByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kByteOrderMark) ? bytes.substr(kByteOrderMark.size()) : bytes;
}

std::string_view firstLine(std::string_view bytes) {
    std::string_view line = withoutByteOrderMark(bytes);
    line = line.substr(0, line.find('\n'));
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

bool isHdmFirstLine(std::string_view line) { return line.starts_with("HINTCAD") && line.ends_with("_HDM_SHUJU"); }
bool isDmxFirstLine(std::string_view line) { return line.starts_with("HINTCAD") && line.ends_with("_DMX_SHUJU"); }

// Failures name the file and the line; the field where the layout has fields.
class Reader {
public:
    explicit Reader(std::string_view file) : file_(file) {}

    [[noreturn]] void fail(std::size_t line, const std::string& reason, int field = StepError::kNoField) const {
        throw StepError(std::string(file_), line, field, reason);
    }
    double number(std::size_t line, std::string_view text, const std::string& what, int field = StepError::kNoField) const {
        const std::optional<double> value = ReadStrict(text);
        if (!value) fail(line, what + "不是数字：“" + DisplayText(text) + "”", field);
        return *value;
    }
    std::string gbk(std::size_t line, std::string_view utf8, int field = StepError::kNoField) const {
        std::optional<std::string> text = Utf8ToGbk(utf8);
        if (!text) fail(line, "无法用 GBK 表示：“" + DisplayText(utf8) + "”", field);
        return *std::move(text);
    }
    std::string_view file() const { return file_; }

private:
    std::string_view file_;
};

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The numbers of a text separated by blanks (spaces, TABs and line ends, any number of them).
std::vector<std::string_view> blankSeparated(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t k = 0;
    while (k < text.size()) {
        while (k < text.size() && isSeparator(text[k])) ++k;
        const std::size_t start = k;
        while (k < text.size() && !isSeparator(text[k])) ++k;
        if (k > start) tokens.push_back(text.substr(start, k - start));
    }
    return tokens;
}

// (distance, second) pairs of numbers; `second` names the second of each pair ("高程", "高差").
std::vector<ReadPoint> pairs(const Reader& reader, std::size_t line, std::span<const std::string_view> tokens,
                             const std::string& second) {
    if (tokens.size() % 2 != 0)
        reader.fail(line, "数应成对（距离与" + second + "），这里有 " + std::to_string(tokens.size()) + " 个数，最后一个“" +
                              DisplayText(tokens.back()) + "”没有配对");
    std::vector<ReadPoint> points;
    for (std::size_t k = 0; k < tokens.size(); k += 2)
        points.push_back({reader.number(line, tokens[k], "距离"), reader.number(line, tokens[k + 1], second), {}});
    return points;
}

// Pairs each relative to the one before it, the first relative to the stake, summed into
// distances from the stake and heights above it.
void accumulate(std::vector<ReadPoint>& side) {
    double distance = 0;
    double height = 0;
    for (ReadPoint& point : side) {
        distance += point.distance;
        height += point.height;
        point.distance = distance;
        point.height = height;
    }
}

// A line that ought to be a station but is a list of numbers: the layout named is the wrong one.
void requireStationLine(const Reader& reader, const Line& line) {
    const std::vector<std::string_view> tokens = blankSeparated(line.text);
    if (tokens.size() < 2) return;
    for (const std::string_view token : tokens)
        if (!IsPlainNumber(token)) return;
    reader.fail(line.number, "这一行应是桩号，却是一串数：“" + DisplayText(line.text) + "”");
}

// "格式 1", "格式 4", "格式 5": station, first side, second side; blank lines between sections.
void readThreeLines(const Reader& reader, std::string_view bytes, const std::string& second, bool stepwise,
                    ReadSections& read) {
    const std::vector<Line> lines = physicalLines(bytes);
    for (std::size_t k = 0; k < lines.size();) {
        if (isBlank(lines[k].text)) {
            ++k;
            continue;
        }
        requireStationLine(reader, lines[k]);
        ReadSection section;
        section.station = std::string(lines[k].text);
        section.chainage = ReadStrict(section.station);
        section.line = lines[k].number;
        for (int side = 0; side < 2; ++side) {
            if (k + 1 + side >= lines.size())
                reader.fail(lines.back().number, "断面“" + DisplayText(section.station) + "”缺少" +
                                                     (side == 0 ? "第一侧" : "第二侧") + "的一行：文件在此结束");
            const Line& line = lines[k + 1 + side];
            std::vector<ReadPoint> points = pairs(reader, line.number, blankSeparated(line.text), second);
            if (stepwise) accumulate(points);
            (side == 0 ? section.first : section.second) = std::move(points);
        }
        read.sections.push_back(std::move(section));
        k += 3;
    }
}

// "格式 2", "格式 3": "station stake first-side second-side" separated by single blanks, an empty
// side keeping its blank.
void readOneLine(const Reader& reader, std::string_view bytes, const std::string& second, ReadSections& read) {
    for (const Line& line : physicalLines(bytes)) {
        if (isBlank(line.text)) continue;
        std::vector<std::string_view> tokens;
        for (std::size_t start = 0;;) {
            const std::size_t blank = line.text.find(' ', start);
            tokens.push_back(line.text.substr(start, blank - start));
            if (blank == std::string_view::npos) break;
            start = blank + 1;
        }
        if (tokens.size() < 4)
            reader.fail(line.number, "这一行应为“桩号 中桩高程 第一侧各点 第二侧各点”，以空格分隔，空的一侧也留空格");
        ReadSection section;
        section.station = std::string(tokens[0]);
        section.chainage = ReadStrict(section.station);
        section.line = line.number;
        reader.number(line.number, tokens[1], "中桩高程");
        section.stakeElevation = std::string(tokens[1]);

        std::span<const std::string_view> rest(tokens.data() + 2, tokens.size() - 2);
        const bool firstEmpty = rest.front().empty();
        const bool secondEmpty = rest.back().empty();
        if (firstEmpty) rest = rest.subspan(1);
        if (secondEmpty) rest = rest.first(rest.size() - 1);
        for (const std::string_view token : rest)
            if (token.empty()) reader.fail(line.number, "数之间多了空格：两侧之间只有一个空格，空的一侧留一个空格");
        std::vector<ReadPoint> points = pairs(reader, line.number, rest, second);
        std::size_t split = points.size();
        if (firstEmpty) split = 0;
        else if (!secondEmpty) {
            // Both sides hold points: the second starts where the distance drops.
            std::size_t drops = 0;
            for (std::size_t k = 1; k < points.size(); ++k) {
                if (points[k].distance < points[k - 1].distance) {
                    ++drops;
                    split = k;
                }
            }
            if (drops == 0)
                reader.fail(line.number, "分不出两侧：两侧都有点时，这种格式不标出第一侧在何处结束，"
                                         "而这一行的距离一直没有变小");
            if (drops > 1) reader.fail(line.number, "距离变小不止一次：一行只有两侧，每侧由近及远");
        }
        section.first.assign(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(split));
        section.second.assign(points.begin() + static_cast<std::ptrdiff_t>(split), points.end());
        read.sections.push_back(std::move(section));
    }
}

// A point of a layout of offsets, from the far left to the far right.
struct OffsetRow {
    std::size_t line = 0;
    double offset = 0;
    double elevation = 0;
    std::string elevationText;
    std::string name;
    bool mayBeStake = true;  // a CSV row with a point name is no stake
};

// The rows of one section into its sides: negative offsets on the first side, the first row at
// offset 0 that may be the stake the stake (its elevation kept), other rows at 0 on the first
// side before the stake and on the second after it, positive offsets on the second.
void splitByOffset(std::vector<OffsetRow>& rows, ReadSection& section) {
    bool stake = false;
    std::vector<ReadPoint> left;
    for (OffsetRow& row : rows) {
        if (row.offset == 0 && row.mayBeStake && !stake) {
            stake = true;
            section.stakeElevation = std::move(row.elevationText);
        } else if (row.offset < 0 || (row.offset == 0 && !stake)) {
            left.push_back({0.0 - row.offset, row.elevation, std::move(row.name)});
        } else {
            section.second.push_back({row.offset, row.elevation, std::move(row.name)});
        }
    }
    section.first.assign(std::make_move_iterator(left.rbegin()), std::make_move_iterator(left.rend()));
}

void requireRising(const Reader& reader, const std::vector<OffsetRow>& rows, const OffsetRow& row) {
    if (!rows.empty() && row.offset < rows.back().offset)
        reader.fail(row.line, "偏距应由左至右增大，这里的 " + FormatGeneral(row.offset) + " 小于前一点的 " +
                                  FormatGeneral(rows.back().offset));
}

void readBegin(const Reader& reader, std::string_view bytes, ReadSections& read) {
    std::vector<OffsetRow> rows;
    const auto finish = [&] {
        if (read.sections.empty()) return;
        splitByOffset(rows, read.sections.back());
        rows.clear();
    };
    for (const Line& line : physicalLines(withoutByteOrderMark(bytes))) {
        if (isBlank(line.text)) continue;
        if (line.text.starts_with("BEGIN")) {
            finish();
            if (!line.text.starts_with("BEGIN,"))
                reader.fail(line.number, "BEGIN 行应为“BEGIN,桩号:序号”：“" + DisplayText(line.text) + "”");
            std::string_view head = line.text.substr(6);
            head = head.substr(0, head.rfind(':'));  // the block's number is not checked
            std::string_view station = head.substr(0, head.find(','));  // after it, the stake's (x,y)
            while (station.starts_with(' ')) station.remove_prefix(1);
            while (station.ends_with(' ')) station.remove_suffix(1);
            if (station.empty()) reader.fail(line.number, "BEGIN 行缺少桩号：“" + DisplayText(line.text) + "”", 1);
            ReadSection& section = read.sections.emplace_back();
            section.station = std::string(station);
            section.chainage = ReadStrict(station);
            section.line = line.number;
            continue;
        }
        if (read.sections.empty())
            reader.fail(line.number, "第一个断面之前应是“BEGIN,桩号:序号”一行：“" + DisplayText(line.text) + "”");
        const Fields fields(line.text);
        if (fields.size() != 2)
            reader.fail(line.number, "这一行应为“偏距,高程”两个数，却有 " + std::to_string(fields.size()) + " 个字段");
        OffsetRow row{line.number, reader.number(line.number, fields[0], "偏距", 0),
                      reader.number(line.number, fields[1], "高程", 1), std::string(fields[1]), {}, true};
        requireRising(reader, rows, row);
        rows.push_back(std::move(row));
    }
    finish();
}

// The fields of a CSV row: quoted fields may hold commas and doubled quotes.
std::vector<std::string> csvFields(const Reader& reader, const Line& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    bool wasQuoted = false;
    const std::string_view text = line.text;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (quoted) {
            if (c != '"') fields.back() += c;
            else if (k + 1 < text.size() && text[k + 1] == '"') {
                fields.back() += '"';
                ++k;
            } else quoted = false;
        } else if (c == ',') {
            fields.emplace_back();
            wasQuoted = false;
        } else if (c == '"' && fields.back().empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (wasQuoted) {
            reader.fail(line.number, "引号之后应是逗号：“" + DisplayText(text) + "”", static_cast<int>(fields.size() - 1));
        } else {
            fields.back() += c;
        }
    }
    if (quoted) reader.fail(line.number, "引号没有结束：“" + DisplayText(text) + "”", static_cast<int>(fields.size() - 1));
    return fields;
}

void readCsv(const Reader& reader, std::string_view bytes, ReadSections& read) {
    const std::vector<Line> lines = physicalLines(withoutByteOrderMark(bytes));
    const bool gbk = !lines.empty() && lines.front().text == kCsvHeadingGbk;
    if (lines.empty() || (!gbk && lines.front().text != kCsvHeading))
        reader.fail(1, "CSV 表的第一行应为“" + std::string(kCsvHeading) + "”");
    std::vector<OffsetRow> rows;
    bool stake = false;
    const auto finish = [&] {
        if (!read.sections.empty()) splitByOffset(rows, read.sections.back());
        rows.clear();
        stake = false;
    };
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const Line& line = lines[k];
        if (isBlank(line.text)) continue;
        std::vector<std::string> fields = csvFields(reader, line);
        if (fields.size() != 4)
            reader.fail(line.number, "CSV 表的每一行应有 4 个字段（桩号,偏距,高程,点名），这一行有 " +
                                         std::to_string(fields.size()) + " 个");
        std::string station = gbk ? fields[0] : reader.gbk(line.number, fields[0], 0);
        OffsetRow row{line.number, reader.number(line.number, fields[1], "偏距", 1),
                      reader.number(line.number, fields[2], "高程", 2), fields[2],
                      gbk ? fields[3] : reader.gbk(line.number, fields[3], 3), fields[3].empty()};
        const bool isStake = row.offset == 0 && row.mayBeStake;
        if (read.sections.empty() || station != read.sections.back().station || (isStake && stake) ||
            (!rows.empty() && row.offset < rows.back().offset)) {
            finish();
            ReadSection& section = read.sections.emplace_back();
            section.chainage = ReadStrict(station);
            section.station = std::move(station);
            section.line = line.number;
        }
        stake = stake || isStake;
        rows.push_back(std::move(row));
    }
    finish();
}

void readLandXml(const Reader& reader, std::string_view bytes, ReadSections& read) {
    const XmlDocument document = XmlDocument::Parse(reader.file(), bytes);
    const XmlElement& root = document.root();
    const std::string* space = root.Attribute("xmlns");
    if (root.name != "LandXML" || !space || *space != kLandXmlNamespace)
        reader.fail(root.line, "不是 LandXML 1.2 文档：根元素应为 LandXML，命名空间为 " + std::string(kLandXmlNamespace));
    const XmlElement* crossSects = nullptr;
    for (const XmlElement* alignments : document.Children(root, "Alignments")) {
        for (const XmlElement* alignment : document.Children(*alignments, "Alignment")) {
            for (const XmlElement* found : document.Children(*alignment, "CrossSects")) {
                if (crossSects)
                    reader.fail(found->line, "不止一处有横断面（CrossSects）：只能转换一条路线的断面");
                crossSects = found;
            }
        }
    }
    if (!crossSects) return;
    for (const XmlElement* crossSect : document.Children(*crossSects, "CrossSect")) {
        const std::string* sta = crossSect->Attribute("sta");
        if (!sta) reader.fail(crossSect->line, "CrossSect 缺少 sta（桩号）");
        ReadSection& section = read.sections.emplace_back();
        section.chainage = reader.number(crossSect->line, *sta, "sta ");
        const std::string* name = crossSect->Attribute("name");
        section.station = reader.gbk(crossSect->line, name && !name->empty() ? *name : *sta);
        section.line = crossSect->line;

        // The ground line: the surface named so, else the first.
        const std::vector<const XmlElement*> surfaces = document.Children(*crossSect, "CrossSectSurf");
        const XmlElement* ground = surfaces.empty() ? nullptr : surfaces.front();
        for (const XmlElement* surface : surfaces) {
            const std::string* surfaceName = surface->Attribute("name");
            if (surfaceName && *surfaceName == "地面线") {
                ground = surface;
                break;
            }
        }
        if (!ground) continue;
        std::vector<OffsetRow> rows;
        for (const XmlElement* list : document.Children(*ground, "PntList2D")) {
            const std::vector<std::string_view> tokens = blankSeparated(list->text);
            if (tokens.size() % 2 != 0)
                reader.fail(list->line, "PntList2D 的数应成对（偏距与高程），这里有 " + std::to_string(tokens.size()) + " 个");
            for (std::size_t t = 0; t < tokens.size(); t += 2) {
                OffsetRow row{list->line, reader.number(list->line, tokens[t], "偏距"),
                              reader.number(list->line, tokens[t + 1], "高程"), std::string(tokens[t + 1]), {}, true};
                requireRising(reader, rows, row);
                rows.push_back(std::move(row));
            }
        }
        splitByOffset(rows, section);
    }
}

void readHdm(const Reader& reader, std::string_view bytes, ReadSections& read) {
    const std::vector<Line> lines = physicalLines(withoutByteOrderMark(bytes));
    if (lines.empty() || !isHdmFirstLine(lines.front().text))
        reader.fail(1, "HDM 文件的第一行应为“" + std::string(kHdmFirstLine) + "”");
    for (std::size_t k = 1; k < lines.size();) {
        if (isBlank(lines[k].text)) {
            ++k;
            continue;
        }
        ReadSection& section = read.sections.emplace_back();
        const double chainage = reader.number(lines[k].number, lines[k].text, "里程");
        section.chainage = chainage;
        section.station = FormatGeneral(chainage);
        section.line = lines[k].number;
        for (int side = 0; side < 2; ++side) {
            const char* name = side == 0 ? "左侧" : "右侧";
            if (k + 1 + side >= lines.size())
                reader.fail(lines.back().number, "里程 " + section.station + " 缺少" + name + "的一行：文件在此结束");
            const Line& line = lines[k + 1 + side];
            const std::vector<std::string_view> tokens = blankSeparated(line.text);
            if (tokens.empty()) reader.fail(line.number, std::string(name) + "的一行应以点数开头，这一行是空的");
            const std::string_view count = tokens.front();
            if (count.size() > 9 || count.find_first_not_of("0123456789") != std::string_view::npos)
                reader.fail(line.number, std::string(name) + "的点数不是整数：“" + DisplayText(count) + "”");
            const std::span<const std::string_view> numbers(tokens.data() + 1, tokens.size() - 1);
            std::vector<ReadPoint> points = pairs(reader, line.number, numbers, "高差");
            if (points.size() != std::stoul(std::string(count)))
                reader.fail(line.number, std::string(name) + "的点数为 " + std::string(count) + "，其后却有 " +
                                             std::to_string(points.size()) + " 对数");
            accumulate(points);
            (side == 0 ? section.first : section.second) = std::move(points);
        }
        k += 3;
    }
}

}  // namespace

const SectionLayoutEntry* DetectSectionLayout(std::string_view bytes) {
    const std::string_view line = firstLine(bytes);
    if (isHdmFirstLine(line)) return &SectionLayoutOf(Hdm);
    if (line.starts_with("BEGIN,")) return &SectionLayoutOf(Begin);
    if (line == kCsvHeading || line == kCsvHeadingGbk) return &SectionLayoutOf(Csv);
    std::string_view start = withoutByteOrderMark(bytes);
    while (!start.empty() && (start.front() == ' ' || start.front() == '\t' || start.front() == '\r' || start.front() == '\n'))
        start.remove_prefix(1);
    if (start.starts_with("<")) return &SectionLayoutOf(LandXml);
    return nullptr;
}

ReadSections ReadSectionFile(std::string_view file, std::string_view bytes, const SectionLayoutEntry* layout) {
    const Reader reader(file);
    if (isDmxFirstLine(firstLine(bytes))) reader.fail(1, "这是纵断面地面线文件（DMX），不是横断面成果文件");
    const SectionLayoutEntry* shown = DetectSectionLayout(bytes);
    if (layout && shown && shown != layout)
        reader.fail(1, "文件的内容是“" + std::string(shown->name) + "”，不是所指明的“" + std::string(layout->name) + "”");
    if (!layout) layout = shown;
    if (!layout)
        reader.fail(1, "无法从内容判断成果格式：格式 1 至格式 5 的内容彼此分不清，须指明是哪一种");

    ReadSections read;
    read.layout = layout;
    switch (layout->kind) {
        case Format1: readThreeLines(reader, bytes, "高程", false, read); break;
        case Format2: readOneLine(reader, bytes, "高程", read); break;
        case Format3: readOneLine(reader, bytes, "高差", read); break;
        case Format4: readThreeLines(reader, bytes, "高差", false, read); break;
        case Format5: readThreeLines(reader, bytes, "高差", true, read); break;
        case Begin: readBegin(reader, bytes, read); break;
        case Csv: readCsv(reader, bytes, read); break;
        case LandXml: readLandXml(reader, bytes, read); break;
        case Hdm: readHdm(reader, bytes, read); break;
    }
    read.heightsAboveStake =
        layout->kind == Format3 || layout->kind == Format4 || layout->kind == Format5 || layout->kind == Hdm;
    return read;
}

}  // namespace qorvel
