#include "drawing/dxf_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "core/data_file.h"
#include "core/fields.h"
#include "core/step_error.h"
#include "drawing/dxf_text.h"

namespace qorvel {

namespace {

// The x, y and z of one point of an entity: groups 10, 20, 30 (or 11, 21, 31, ...). Each may
// be given once; x and y are required, z is 0 when the drawing leaves it out (a 2D point).
class PointGroups {
public:
    PointGroups(int firstCode, const char* what, double defaultZ = 0) : firstCode_(firstCode), what_(what) {
        values_[2] = defaultZ;
    }

    bool Take(const DxfPairs& pairs) {
        const int axis = (pairs.code() - firstCode_) / 10;
        if (pairs.code() < firstCode_ || (pairs.code() - firstCode_) % 10 != 0 || axis > 2) return false;
        if (given_[axis]) pairs.FailValue("重复的组码 " + std::to_string(pairs.code()) + "（" + what_ + "的坐标给了两次）");
        values_[axis] = pairs.Real();
        given_[axis] = true;
        return true;
    }

    void Require(const DxfPairs& pairs, DxfPlace entity) const {
        static constexpr const char* kAxis[] = {"x", "y"};
        for (int axis = 0; axis < 2; ++axis)
            if (!given_[axis])
                pairs.Fail(entity, std::string("缺少") + what_ + "的 " + kAxis[axis] + " 坐标（组码 " +
                                       std::to_string(firstCode_ + 10 * axis) + "）");
    }

    bool given() const { return given_[0] || given_[1] || given_[2]; }
    double* values() { return values_; }
    double x() const { return values_[0]; }
    double y() const { return values_[1]; }
    void AppendTo(std::vector<double>& coordinates) const {
        coordinates.insert(coordinates.end(), values_, values_ + 3);
    }

private:
    int firstCode_;
    const char* what_;
    double values_[3] = {0, 0, 0};
    bool given_[3] = {false, false, false};
};

// A text's insertion point is given in the coordinate system of its plane (its extrusion
// direction, groups 210, 220, 230); the drawing steps want it in world coordinates, as the CAD
// program reports it. The plane's axes follow the arbitrary axis rule of the DXF format.
// False when the direction cannot be made a unit vector in double precision (its length
// squared underflows or overflows) or the point leaves the range of a double.
bool PlaneToWorld(const double normal[3], double point[3]) {
    const double length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    if (!(length > 0) || !std::isfinite(length)) return false;
    const double n[3] = {normal[0] / length, normal[1] / length, normal[2] / length};
    auto cross = [](const double a[3], const double b[3], double out[3]) {
        out[0] = a[1] * b[2] - a[2] * b[1];
        out[1] = a[2] * b[0] - a[0] * b[2];
        out[2] = a[0] * b[1] - a[1] * b[0];
    };
    static constexpr double kWorldY[3] = {0, 1, 0};
    static constexpr double kWorldZ[3] = {0, 0, 1};
    double ax[3];
    cross(std::abs(n[0]) < 1.0 / 64 && std::abs(n[1]) < 1.0 / 64 ? kWorldY : kWorldZ, n, ax);
    const double axLength = std::sqrt(ax[0] * ax[0] + ax[1] * ax[1] + ax[2] * ax[2]);
    for (double& c : ax) c /= axLength;
    double ay[3];
    cross(n, ax, ay);
    const double x = point[0], y = point[1], z = point[2];
    for (int k = 0; k < 3; ++k) point[k] = x * ax[k] + y * ay[k] + z * n[k];
    return std::isfinite(point[0]) && std::isfinite(point[1]) && std::isfinite(point[2]);
}

class DxfReader {
public:
    DxfReader(std::string_view bytes, std::string name, const DxfReadOptions& options)
        : pairs_(bytes, std::move(name)) {
        drawing_.name = pairs_.name();
        auto surveyors = EncodingOfCodePage(options.codePage);
        if (!surveyors) throw StepError("不支持的代码页“" + Shown(options.codePage) + "”");
        surveyorsEncoding_ = std::move(*surveyors);
        if (bytes.empty()) pairs_.Fail({1, false}, "文件是空的，不是 DXF 图形文件");
    }

    Drawing Read() {
        for (;;) {
            if (!NextPair()) pairs_.Fail(pairs_.endPlace(), "文件在此结束，缺少结尾的 EOF（文件不完整，可能被截断）");
            if (pairs_.code() != 0)
                pairs_.Fail(pairs_.place(), "此处应为组码 0（SECTION 或 EOF），却是组码 " + std::to_string(pairs_.code()));
            if (pairs_.text() == "EOF") break;
            if (pairs_.text() != "SECTION")
                pairs_.Fail(pairs_.place(), "此处应为 SECTION 或 EOF，却是“" + Shown(pairs_.text()) + "”");
            if (!NextPair()) Truncated("SECTION");
            if (pairs_.code() != 2) pairs_.Fail(pairs_.place(), "SECTION 之后应为段名（组码 2）");
            const std::string section(pairs_.text());
            if (section == "HEADER") {
                ReadHeader();
            } else if (section == "ENTITIES") {
                if (entitiesPlace_)
                    pairs_.Fail(pairs_.place(), "第二个 ENTITIES 段（图元段已在" + DescribePlace(*entitiesPlace_) + "给出）");
                entitiesPlace_ = pairs_.place();
                ReadEntities();
            } else {
                SkipSection(section);
            }
        }
        drawing_.encoding = decoder_ ? decoder_->encoding() : EncodingOfHeader();
        return std::move(drawing_);
    }

private:
    DxfPairs pairs_;
    Drawing drawing_;
    std::string surveyorsEncoding_;  // for drawings that do not name their code page
    std::optional<DxfTextDecoder> decoder_;
    // Layer names as written -> UTF-8, or nothing when not valid in the drawing's code page.
    std::unordered_map<std::string, std::optional<std::string>> layers_;
    std::string acadVersion_;  // $ACADVER, e.g. "AC1015"; empty when the header has none
    std::string codePage_;     // $DWGCODEPAGE as written; empty when the header has none
    std::optional<DxfPlace> entitiesPlace_;

    static std::string Shown(std::string_view text) { return DisplayText(text.substr(0, 40)); }

    // The next pair, comments (group 999) passed over.
    bool NextPair() {
        while (pairs_.Next())
            if (pairs_.code() != 999) return true;
        return false;
    }

    [[noreturn]] void Truncated(const std::string& where) {
        pairs_.Fail(pairs_.endPlace(), "文件在" + where + "中途结束（文件不完整，可能被截断）");
    }

    // Moves to the next pair of a section; false at its ENDSEC.
    bool NextInSection(const std::string& section) {
        if (!NextPair()) Truncated("段 " + section + " ");
        if (pairs_.code() != 0) return true;
        if (pairs_.text() == "ENDSEC") return false;
        if (pairs_.text() == "SECTION" || pairs_.text() == "EOF")
            pairs_.Fail(pairs_.place(), "段 " + section + " 没有以 ENDSEC 结束");
        return true;
    }

    void SkipSection(const std::string& section) {
        while (NextInSection(section)) {
        }
    }

    void ReadHeader() {
        std::string variable;
        while (NextInSection("HEADER")) {
            if (pairs_.code() == 9) {
                variable = pairs_.text();
            } else if (variable == "$ACADVER" && pairs_.code() == 1) {
                acadVersion_ = pairs_.text();
            } else if (variable == "$DWGCODEPAGE" && pairs_.code() == 3) {
                codePage_ = pairs_.text();
            }
        }
    }

    // Strings are decoded as the header says: UTF-8 from R2007 on, the code page before. A
    // drawing without the header's word on it (or naming a code page we do not know) was
    // written on the surveyor's own system, in the surveyor's code page.
    std::string EncodingOfHeader() const {
        if (IsUnicodeVersion(acadVersion_)) return "UTF-8";
        if (auto stated = EncodingOfCodePage(codePage_)) return std::move(*stated);
        return surveyorsEncoding_;
    }

    // Nothing when the string is not valid in the drawing's encoding. Strings of plain ASCII
    // read the same in every code page and are decoded before the encoding is known.
    std::optional<std::string> Decode(std::string_view raw) {
        const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) return DecodeAsciiText(raw);
        if (!decoder_) decoder_.emplace(EncodingOfHeader());
        return decoder_->Decode(raw);
    }

    void TakeLayer(DrawingEntity& entity, bool& given) {
        if (given) pairs_.FailValue("重复的图层名（组码 8）");
        given = true;
        const std::string raw(pairs_.text());
        auto known = layers_.find(raw);
        if (known == layers_.end()) known = layers_.emplace(raw, Decode(raw)).first;
        entity.layerRead = known->second.has_value();
        entity.layer = known->second.value_or(std::string());
    }

    // Calls `take` with every group code of the current entity that belongs to the entity
    // itself: application groups (102), extended data (1000 and up) and embedded objects (101)
    // are passed over. Ends at the next entity's (0, type) pair.
    template <typename Take>
    void ReadEntityPairs(Take&& take) {
        bool inApplicationGroup = false;
        bool embedded = false;
        for (;;) {
            if (!NextPair()) Truncated("图元");
            const int code = pairs_.code();
            if (code == 0) return;
            if (embedded || code >= 1000) continue;
            if (code == 102) {
                inApplicationGroup = pairs_.text().starts_with('{');
                continue;
            }
            if (inApplicationGroup) continue;
            if (code == 101) {
                embedded = true;
                continue;
            }
            take(code);
        }
    }

    void SkipEntity() {
        do {
            if (!NextPair()) Truncated("图元");
        } while (pairs_.code() != 0);
    }

    // A group of flags no step uses (67: drawn in paper space, which is selected like model
    // space; 70 of a lightweight polyline: closed, whose vertices are the same either way).
    // Its value must still be a whole number, or the drawing is malformed.
    void CheckUnusedFlags() const { (void)pairs_.Integer(); }

    DrawingEntity Begin(EntityKind kind) {
        DrawingEntity entity;
        entity.kind = kind;
        entity.place = pairs_.place();
        return entity;
    }

    void ReadEntities() {
        if (!NextInSection("ENTITIES")) return;
        if (pairs_.code() != 0)
            pairs_.Fail(pairs_.place(), "ENTITIES 段此处应为组码 0（图元类型），却是组码 " + std::to_string(pairs_.code()));
        for (;;) {
            const std::string_view type = pairs_.text();
            if (type == "ENDSEC") return;
            if (type == "SECTION" || type == "EOF") pairs_.Fail(pairs_.place(), "段 ENTITIES 没有以 ENDSEC 结束");
            if (type == "LINE")
                ReadLine();
            else if (type == "LWPOLYLINE")
                ReadLightweightPolyline();
            else if (type == "POLYLINE")
                ReadPolyline();
            else if (type == "TEXT")
                ReadText(EntityKind::Text);
            else if (type == "MTEXT")
                ReadText(EntityKind::MText);
            else
                SkipEntity();
        }
    }

    void ReadLine() {
        DrawingEntity line = Begin(EntityKind::Line);
        bool layerGiven = false;
        PointGroups start(10, "直线起点");
        PointGroups end(11, "直线终点");
        ReadEntityPairs([&](int code) {
            if (code == 8) TakeLayer(line, layerGiven);
            else if (code == 67) CheckUnusedFlags();
            else if (!start.Take(pairs_)) end.Take(pairs_);
        });
        start.Require(pairs_, line.place);
        end.Require(pairs_, line.place);
        line.coordinates.reserve(6);
        start.AppendTo(line.coordinates);
        end.AppendTo(line.coordinates);
        drawing_.entities.push_back(std::move(line));
    }

    void ReadLightweightPolyline() {
        DrawingEntity polyline = Begin(EntityKind::LightweightPolyline);
        bool layerGiven = false;
        std::optional<std::int64_t> count;
        DxfPlace countPlace;
        bool pendingX = false;
        DxfPlace pendingPlace;
        double x = 0;
        ReadEntityPairs([&](int code) {
            switch (code) {
                case 8: TakeLayer(polyline, layerGiven); break;
                case 67: case 70: CheckUnusedFlags(); break;
                case 90:
                    if (count) pairs_.FailValue("重复的顶点数（组码 90）");
                    count = pairs_.Integer();
                    countPlace = pairs_.valuePlace();
                    if (*count < 0) pairs_.FailValue("顶点数（组码 90）不能是负数：" + std::to_string(*count));
                    break;
                case 10:
                    if (pendingX) pairs_.Fail(pendingPlace, "多段线的顶点缺少 y 坐标（组码 20）");
                    x = pairs_.Real();
                    pendingX = true;
                    pendingPlace = pairs_.place();
                    break;
                case 20:
                    if (!pendingX) pairs_.Fail(pairs_.place(), "多段线的 y 坐标（组码 20）之前缺少 x 坐标（组码 10）");
                    polyline.coordinates.push_back(x);
                    polyline.coordinates.push_back(pairs_.Real());
                    pendingX = false;
                    break;
                default: break;
            }
        });
        if (pendingX) pairs_.Fail(pendingPlace, "多段线的顶点缺少 y 坐标（组码 20）");
        if (!count) pairs_.Fail(polyline.place, "多段线缺少顶点数（组码 90）");
        const std::size_t given = polyline.coordinates.size() / 2;
        if (static_cast<std::uint64_t>(*count) != given)
            pairs_.Fail(countPlace, "多段线的顶点数（组码 90）为 " + std::to_string(*count) + "，实际给出的顶点却有 " +
                                        std::to_string(given) + " 个");
        drawing_.entities.push_back(std::move(polyline));
    }

    // An old-style polyline: the POLYLINE entity, its VERTEX entities, and SEQEND.
    void ReadPolyline() {
        DrawingEntity polyline = Begin(EntityKind::Polyline2d);
        bool layerGiven = false;
        std::int64_t flags = 0;
        ReadEntityPairs([&](int code) {
            if (code == 8) TakeLayer(polyline, layerGiven);
            else if (code == 67) CheckUnusedFlags();
            else if (code == 70) flags = pairs_.Integer();
        });
        if (flags & 64) polyline.kind = EntityKind::PolyfaceMesh;
        else if (flags & 16) polyline.kind = EntityKind::PolygonMesh;
        else if (flags & 8) polyline.kind = EntityKind::Polyline3d;
        while (pairs_.text() == "VERTEX") {
            const DxfPlace vertexPlace = pairs_.place();
            PointGroups vertex(10, "顶点");
            ReadEntityPairs([&](int) { vertex.Take(pairs_); });
            vertex.Require(pairs_, vertexPlace);
            polyline.coordinates.push_back(vertex.x());
            polyline.coordinates.push_back(vertex.y());
        }
        if (pairs_.text() != "SEQEND")
            pairs_.Fail(pairs_.place(), "此处应为多段线（" + DescribePlace(polyline.place) + "起）的顶点 VERTEX 或结尾 SEQEND，却是“" +
                                            Shown(pairs_.text()) + "”");
        SkipEntity();
        drawing_.entities.push_back(std::move(polyline));
    }

    // TEXT and MTEXT: the insertion point (group 10) and the string. A paragraph's string may
    // come in pieces of group 3 before the last piece in group 1.
    void ReadText(EntityKind kind) {
        DrawingEntity text = Begin(kind);
        bool layerGiven = false;
        PointGroups insertion(10, "文字插入点");
        PointGroups extrusion(210, "拉伸方向", 1);  // (0, 0, 1) unless the drawing says otherwise
        std::string raw;
        bool lastPieceGiven = false;
        DxfPlace stringPlace;
        ReadEntityPairs([&](int code) {
            if (code == 8) {
                TakeLayer(text, layerGiven);
            } else if (code == 67) {
                CheckUnusedFlags();
            } else if (code == 1) {
                if (lastPieceGiven) pairs_.FailValue("重复的文字内容（组码 1）");
                raw += pairs_.text();
                lastPieceGiven = true;
                stringPlace = pairs_.valuePlace();
            } else if (code == 3 && kind == EntityKind::MText) {
                if (lastPieceGiven) pairs_.FailValue("文字内容的片段（组码 3）出现在末段（组码 1）之后");
                raw += pairs_.text();
            } else if (!insertion.Take(pairs_) && kind == EntityKind::Text) {
                extrusion.Take(pairs_);
            }
        });
        insertion.Require(pairs_, text.place);
        if (extrusion.given()) {
            const double* normal = extrusion.values();
            if (normal[0] == 0 && normal[1] == 0 && normal[2] == 0) pairs_.Fail(text.place, "文字的拉伸方向（组码 210）为零向量");
            if ((normal[0] != 0 || normal[1] != 0 || normal[2] != 1) && !PlaneToWorld(normal, insertion.values()))
                pairs_.Fail(text.place, "文字的拉伸方向（组码 210）无法换算为单位向量，或插入点换算后超出数值范围");
        }
        if (!lastPieceGiven) pairs_.Fail(text.place, "文字图元缺少文字内容（组码 1）");
        auto decoded = Decode(raw);
        text.textRead = decoded.has_value();
        if (decoded) text.text = std::move(*decoded);
        text.textPlace = stringPlace;
        text.coordinates.reserve(3);
        insertion.AppendTo(text.coordinates);
        drawing_.entities.push_back(std::move(text));
    }
};

bool IsDwg(std::string_view bytes) {
    // A DWG file opens with its version: AC1012 to AC1032 and on, or AC1.40, AC2.10 and the
    // like in the oldest ones. No DXF opens so: its first line is a group code.
    auto digit = [&](std::size_t at) { return bytes.size() > at && bytes[at] >= '0' && bytes[at] <= '9'; };
    if (bytes.starts_with("AC10")) return digit(4) && digit(5);
    return bytes.starts_with("AC1.") || bytes.starts_with("AC2.");
}

}  // namespace

std::string_view ObjectName(EntityKind kind) {
    switch (kind) {
        case EntityKind::LightweightPolyline: return "AcDbPolyline";
        case EntityKind::Polyline2d: return "AcDb2dPolyline";
        case EntityKind::Polyline3d: return "AcDb3dPolyline";
        case EntityKind::PolygonMesh: return "AcDbPolygonMesh";
        case EntityKind::PolyfaceMesh: return "AcDbPolyFaceMesh";
        case EntityKind::Line: return "AcDbLine";
        case EntityKind::Text: return "AcDbText";
        case EntityKind::MText: return "AcDbMText";
    }
    return {};
}

bool IsPolyline(EntityKind kind) {
    return kind == EntityKind::LightweightPolyline || kind == EntityKind::Polyline2d ||
           kind == EntityKind::Polyline3d || kind == EntityKind::PolygonMesh || kind == EntityKind::PolyfaceMesh;
}

std::vector<std::string> Drawing::LayerNames() const {
    std::unordered_set<std::string_view> seen;
    for (const DrawingEntity& entity : entities)
        if (entity.layerRead) seen.insert(entity.layer);
    std::vector<std::string> names(seen.begin(), seen.end());
    std::sort(names.begin(), names.end());
    return names;
}

const std::string& Drawing::TextOf(const DrawingEntity& text) const {
    if (!text.textRead) FailAt(name, text.textPlace, "文字不是有效的 " + encoding + " 编码");
    return text.text;
}

Drawing ReadDxf(std::string_view bytes, std::string name, const DxfReadOptions& options) {
    if (IsDwg(bytes)) throw StepError("“" + name + "”是 DWG 图形：QORVEL 读取 DXF 图形，请在 CAD 中另存为 DXF。");
    return DxfReader(bytes, std::move(name), options).Read();
}

Drawing LoadDxf(const std::string& path, const DxfReadOptions& options) {
    const std::string bytes = ReadWholeFile(path);
    return ReadDxf(bytes, path, options);
}

}  // namespace qorvel
