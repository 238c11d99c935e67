#include "drawing/dxf_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/step_error.h"
#include "support/error_of.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ErrorOf;
using testing::ReadFile;
using testing::TempDir;

const std::string kFixtures = QORVEL_DRAWING_FIXTURES;

std::string Number(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr;
    return std::string(buffer, end);
}

// One entity on one line: type name, layer, coordinates, text.
std::string Describe(const DrawingEntity& entity) {
    std::string text = std::string(ObjectName(entity.kind)) + " " + entity.layer + " (";
    for (std::size_t k = 0; k < entity.coordinates.size(); ++k) text += (k ? " " : "") + Number(entity.coordinates[k]);
    text += ")";
    if (entity.kind == EntityKind::Text || entity.kind == EntityKind::MText) text += " \"" + entity.text + "\"";
    return text;
}

std::vector<std::string> DescribeAll(const Drawing& drawing) {
    std::vector<std::string> lines;
    for (const DrawingEntity& entity : drawing.entities) lines.push_back(Describe(entity));
    return lines;
}

// The entities every test drawing from R2000 on holds, in file order (make_drawings.py).
const std::vector<std::string> kRouteEntities = {
    "AcDbPolyline dmx (100 200 250.5 -47.125 300.0004 10)",
    "AcDbLine other (0 0 0 5 5 0)",
    "AcDbPolyline dmx (300 10 0.5 99.9996 1000.0005 7)",
    "AcDbPolyline dmx (0.5 100 10 0.5 10 10)",  // closed: the first vertex is not repeated
    "AcDbPolyline DMX (1 1 2 2)",
    "AcDb3dPolyline dmx (0 0 7 7)",
    "AcDb2dPolyline dmx (3 3 4 4)",
    "AcDb2dPolyline old (5 5 6 6)",
    "AcDbLine dmx (100 200 0 150.5 260.25 0)",
    "AcDbLine dmx (1000 0.5 3 12.34449 -3.125 4)",
    "AcDbLine dmx (438230.71649 3391642.98151 0 -0.00049 2.00050001 0)",
    "AcDbText zh (100 200 0) \"K0+100\"",
    "AcDbText zh (120.0005 -0.5 12.34) \"K0+120 中桩,左\"",
    "AcDbText zh (0 0 0) \"\"",
    "AcDbText zh (1000.0015 2.0025 -0.0004) \"K1+000\"",
    "AcDbMText zh (9 9 0) \"K9+999\"",
    "AcDbText ZH (1 1 0) \"K5+000\"",
    "AcDbText 桩号 (5 6 0) \"K2+000\"",
    "AcDbText zh (7 8 0) \"P1+000\"",  // in the active paper-space layout
};

TEST(DxfReader, EveryVersionAndFormGivesTheSameEntities) {
    // Their strings in CP1252 (with escapes for the Chinese ones), GBK, or UTF-8.
    for (const char* file : {"route_r2000.dxf", "route_r2000_gbk.dxf", "route_r2000_bin.dxf", "route_r2010.dxf",
                             "route_r2018.dxf", "route_r2018_bin.dxf"}) {
        SCOPED_TRACE(file);
        const Drawing drawing = LoadDxf(kFixtures + "/" + file);
        EXPECT_EQ(DescribeAll(drawing), kRouteEntities);
        EXPECT_EQ(drawing.LayerNames(), (std::vector<std::string>{"DMX", "ZH", "dmx", "old", "other", "zh", "桩号"}));
    }
}

TEST(DxfReader, ReleaseTwelveHasOnlyOldStylePolylines) {
    std::vector<std::string> expected;
    for (const std::string& entity : kRouteEntities)
        if (!entity.starts_with("AcDbPolyline") && !entity.starts_with("AcDbMText")) expected.push_back(entity);
    for (const char* file : {"route_r12.dxf", "route_r12_bin.dxf"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(DescribeAll(LoadDxf(kFixtures + "/" + file)), expected);  // GBK, the header saying nothing
    }
}

// A drawing made of the given pairs.
std::string Pairs(const std::vector<std::pair<int, std::string>>& pairs) {
    std::string bytes;
    for (const auto& [code, value] : pairs) bytes += std::to_string(code) + "\n" + value + "\n";
    return bytes;
}

// A drawing with a header giving `version` and `codePage` (none when empty) and an ENTITIES
// section of `body`.
std::string WithEntities(const std::string& body, const std::string& version = "AC1015", const std::string& codePage = "ANSI_936") {
    return Pairs({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version}}) +
           (codePage.empty() ? "" : Pairs({{9, "$DWGCODEPAGE"}, {3, codePage}})) +
           Pairs({{9, "$EXTMIN"}, {10, "0"}, {20, "0"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}}) + body +
           Pairs({{0, "ENDSEC"}, {0, "EOF"}});
}

// The same pairs in a binary drawing (group codes of two bytes, as from R13 on).
std::string Binary(const std::vector<std::pair<int, std::string>>& pairs) {
    std::string bytes(DxfPairs::kBinarySentinel);
    auto littleEndian = [&bytes](std::uint64_t value, int count) {
        for (int k = 0; k < count; ++k) bytes += static_cast<char>((value >> (8 * k)) & 0xFF);
    };
    for (const auto& [code, value] : pairs) {
        littleEndian(static_cast<std::uint64_t>(code), 2);
        if (code >= 10 && code < 60)
            littleEndian(std::bit_cast<std::uint64_t>(std::stod(value)), 8);
        else if (code >= 60 && code < 80)
            littleEndian(static_cast<std::uint64_t>(std::stoi(value)), 2);
        else
            bytes += value + '\0';
    }
    return bytes;
}

std::vector<std::string> Read(const std::string& bytes) { return DescribeAll(ReadDxf(bytes, "t.dxf")); }

TEST(DxfReader, WhatEntitiesMayHoldBesideTheirOwnGroups) {
    const std::string body = Pairs({
        {999, "a comment"},
        {0, "LINE"}, {5, "2A"}, {102, "{ACAD_REACTORS"}, {8, "not the layer"}, {10, "99"}, {102, "}"},
        {8, "dmx"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"},  // no z: a 2D line lies at 0
        {1001, "APP"}, {1010, "7"}, {1020, "7"}, {1000, "extended data"},
        {0, "MTEXT"}, {8, "zh"}, {10, "5"}, {20, "6"}, {30, "7"}, {3, "first piece "}, {3, "second "}, {1, "last"},
        {101, "Embedded Object"}, {10, "1"}, {20, "1"},  // the embedded object's own point
        {0, "HATCH"}, {8, "zh"}, {10, "not read"}, {91, "x"},
        {0, "TEXT"}, {8, "\\U+6869\\U+53F7"}, {10, "1"}, {20, "2"}, {30, "3"}, {1, "\xD6\xD0\\U+6869"}, {11, "9"}, {21, "9"},
    });
    EXPECT_EQ(Read(WithEntities(body)), (std::vector<std::string>{
                                       "AcDbLine dmx (1 2 0 3 4 0)",
                                       "AcDbMText zh (5 6 7) \"first piece second last\"",
                                       "AcDbText 桩号 (1 2 3) \"中桩\"",
                                   }));
    // A text drawn in a plane of its own (here mirrored: extrusion 0, 0, -1) stands where the
    // plane's coordinates put it in the world.
    EXPECT_EQ(Read(WithEntities(Pairs({{0, "TEXT"}, {8, "zh"}, {10, "5"}, {20, "6"}, {30, "7"}, {1, "K"},
                                       {210, "0"}, {220, "0"}, {230, "-1"},
                                       {0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {30, "3"}, {1, "K"},
                                       {210, "2"}, {220, "0"}, {230, "0"}}))),  // a vertical plane facing east
              (std::vector<std::string>{"AcDbText zh (-5 6 -7) \"K\"", "AcDbText zh (3 1 2) \"K\""}));
    // From R2007 on, strings are UTF-8 whatever the code page says.
    EXPECT_EQ(Read(WithEntities(Pairs({{0, "TEXT"}, {8, "桩号"}, {10, "1"}, {20, "2"}, {1, "中桩"}}), "AC1021", "ANSI_1252")),
              std::vector<std::string>{"AcDbText 桩号 (1 2 0) \"中桩\""});
    // Plain ASCII reads the same in any code page, even one we do not know.
    EXPECT_EQ(Read(WithEntities(Pairs({{0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {1, "K1"}}), "AC1015", "ANSI_9999")),
              std::vector<std::string>{"AcDbText zh (1 2 0) \"K1\""});
    // Blocks are passed over; an empty drawing has no entities.
    EXPECT_TRUE(Read(Pairs({{0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {0, "LINE"}, {8, "dmx"}, {0, "ENDBLK"},
                            {0, "ENDSEC"}, {0, "EOF"}}))
                    .empty());
    // A text of any length.
    const std::string longText(300000, 'K');
    EXPECT_EQ(ReadDxf(WithEntities(Pairs({{0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {1, longText}})), "t.dxf").entities.at(0).text,
              longText);
}

TEST(DxfReader, WhatOtherCadProgramsWrite) {
    const auto text = [](const std::string& value) { return Pairs({{0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {1, value}}); };
    // An entity naming no layer lies on layer "0"; any version is read, its strings in the code page.
    EXPECT_EQ(Read(WithEntities(Pairs({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}}), "AC2.10")),
              std::vector<std::string>{"AcDbLine 0 (1 2 0 3 4 0)"});
    EXPECT_EQ(Read(WithEntities(text("\xD6\xD0"), "R14")), std::vector<std::string>{"AcDbText zh (1 2 0) \"中\""});

    // A drawing older than R2007 naming no code page (or one we do not know) is in the
    // surveyor's; one that names a code page, or is UTF-8, is read so whatever the surveyor's.
    const DxfReadOptions western{.codePage = "ansi_1252"};
    auto read = [](const std::string& bytes, const DxfReadOptions& options) {
        return ReadDxf(bytes, "t.dxf", options).entities.at(0).text;
    };
    EXPECT_EQ(read(WithEntities(text("caf\xE9"), "AC1015", ""), western), "café");
    EXPECT_EQ(read(WithEntities(text("caf\xE9"), "AC1015", "UNDEFINED"), western), "café");
    EXPECT_EQ(read(WithEntities(text("\xD6\xD0"), "AC1015", ""), {}), "中");
    EXPECT_EQ(read(WithEntities(text("\xD6\xD0"), "AC1015", "ANSI_936"), western), "中");
    EXPECT_EQ(read(WithEntities(text("中"), "AC1021", ""), western), "中");
    EXPECT_EQ(ErrorOf([&] { ReadDxf(WithEntities(""), "t.dxf", {.codePage = "ANSI_9"}); }), "不支持的代码页“ANSI_9”");

    // A string the code page cannot read fails only the step that uses it (a text), or matches
    // no layer (a layer name).
    const Drawing unreadable = ReadDxf(WithEntities(text("\xD6") + Pairs({{0, "LINE"}, {8, "\xFF"}, {10, "1"}, {20, "2"},
                                                                          {11, "3"}, {21, "4"}})),
                                       "t.dxf");
    EXPECT_EQ(ErrorOf([&] { unreadable.TextOf(unreadable.entities.at(0)); }), "文件“t.dxf”第 34 行：文字不是有效的 GBK 编码");
    EXPECT_FALSE(unreadable.entities.at(1).OnLayer(""));
    EXPECT_EQ(unreadable.LayerNames(), std::vector<std::string>{"zh"});
    const Drawing notUtf8 = ReadDxf(WithEntities(text("\xD6\xD0"), "AC1024"), "t.dxf");
    EXPECT_EQ(ErrorOf([&] { notUtf8.TextOf(notUtf8.entities.at(0)); }), "文件“t.dxf”第 34 行：文字不是有效的 UTF-8 编码");

    // A line break inside a binary drawing's string (an MTEXT's, as AutoCAD writes it) and
    // the other control characters are read in caret form.
    const Drawing binary = ReadDxf(Binary({{0, "SECTION"}, {2, "ENTITIES"},
                                           {0, "MTEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {30, "0"}, {1, "K0+100\nK0+120"},
                                           {0, "TEXT"}, {8, "zh\x1B"}, {10, "1"}, {20, "2"}, {30, "0"}, {1, "K\r1\t"},
                                           {0, "ENDSEC"}, {0, "EOF"}}),
                                   "t.dxf");
    EXPECT_EQ(DescribeAll(binary), (std::vector<std::string>{"AcDbMText zh (1 2 0) \"K0+100^JK0+120\"",
                                                             "AcDbText zh^[ (1 2 0) \"K^M1\t\""}));
    EXPECT_EQ(Read(WithEntities(text(std::string("K0+1\0" "00", 7)))), std::vector<std::string>{"AcDbText zh (1 2 0) \"K0+1^@00\""});
}

TEST(DxfReader, MalformedDrawingsFailNamingTheLine) {
    auto error = [](const std::string& bytes) { return ErrorOf([&] { ReadDxf(bytes, "t.dxf"); }); };
    // The header takes lines 1 to 20; ENTITIES begins at line 21, its first entity at line 25.
    EXPECT_EQ(error(""), "文件“t.dxf”第 1 行：文件是空的，不是 DXF 图形文件");
    EXPECT_EQ(error("这不是图形\n随便写的\n"), "文件“t.dxf”第 1 行：组码不是数字：“这不是图形”（组码与值错位或不是 DXF 文件）");
    EXPECT_EQ(error("1,,100,200,0\r\n"), "文件“t.dxf”第 1 行：组码不是数字：“1,,100,200,0”（组码与值错位或不是 DXF 文件）");
    EXPECT_EQ(error(Pairs({{0, "SECTION"}, {2, "ENTITIES"}, {0, "ENDSEC"}})),
              "文件“t.dxf”第 6 行：文件在此结束，缺少结尾的 EOF（文件不完整，可能被截断）");
    EXPECT_EQ(error(Pairs({{0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}, {8, "dmx"}})),
              "文件“t.dxf”第 8 行：文件在图元中途结束（文件不完整，可能被截断）");
    EXPECT_EQ(error(Pairs({{0, "SECTION"}, {2, "ENTITIES"}, {0, "EOF"}})), "文件“t.dxf”第 5 行：段 ENTITIES 没有以 ENDSEC 结束");
    EXPECT_EQ(error(Pairs({{0, "SECTION"}, {2, "TABLES"}, {0, "SECTION"}})), "文件“t.dxf”第 5 行：段 TABLES 没有以 ENDSEC 结束");
    EXPECT_EQ(error(Pairs({{0, "LINE"}})), "文件“t.dxf”第 1 行：此处应为 SECTION 或 EOF，却是“LINE”");

    // Coordinates: not a number, missing, given twice.
    EXPECT_EQ(error(WithEntities(Pairs({{0, "LINE"}, {8, "dmx"}, {10, "12.5abc"}, {20, "2"}, {11, "3"}, {21, "4"}}))),
              "文件“t.dxf”第 30 行：组码 10 的值不是数字：“12.5abc”");
    EXPECT_EQ(error(WithEntities(Pairs({{0, "LINE"}, {8, "dmx"}, {10, "1"}, {20, "2"}, {11, "3"}}))),
              "文件“t.dxf”第 25 行：缺少直线终点的 y 坐标（组码 21）");
    EXPECT_EQ(error(WithEntities(Pairs({{0, "TEXT"}, {8, "zh"}, {20, "2"}, {1, "K"}}))),
              "文件“t.dxf”第 25 行：缺少文字插入点的 x 坐标（组码 10）");
    EXPECT_EQ(error(WithEntities(Pairs({{0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {10, "1"}, {1, "K"}}))),
              "文件“t.dxf”第 34 行：重复的组码 10（文字插入点的坐标给了两次）");
    EXPECT_EQ(error(WithEntities(Pairs({{0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}}))),
              "文件“t.dxf”第 25 行：文字图元缺少文字内容（组码 1）");

    // Vertex counts that disagree with the vertices given, or that are absurd.
    const auto polyline = [](const std::string& count, std::vector<std::pair<int, std::string>> vertices) {
        std::vector<std::pair<int, std::string>> pairs{{0, "LWPOLYLINE"}, {8, "dmx"}, {90, count}, {70, "0"}};
        pairs.insert(pairs.end(), vertices.begin(), vertices.end());
        return WithEntities(Pairs(pairs));
    };
    EXPECT_EQ(error(polyline("3", {{10, "1"}, {20, "2"}, {10, "3"}, {20, "4"}})),
              "文件“t.dxf”第 30 行：多段线的顶点数（组码 90）为 3，实际给出的顶点却有 2 个");
    EXPECT_EQ(error(polyline("4294967295", {{10, "1"}, {20, "2"}})),
              "文件“t.dxf”第 30 行：多段线的顶点数（组码 90）为 4294967295，实际给出的顶点却有 1 个");
    EXPECT_EQ(error(polyline("-1", {})), "文件“t.dxf”第 30 行：顶点数（组码 90）不能是负数：-1");
    EXPECT_EQ(error(polyline("2", {{10, "1"}, {10, "3"}, {20, "4"}})), "文件“t.dxf”第 33 行：多段线的顶点缺少 y 坐标（组码 20）");
    EXPECT_EQ(error(polyline("1", {{20, "4"}})), "文件“t.dxf”第 33 行：多段线的 y 坐标（组码 20）之前缺少 x 坐标（组码 10）");
    EXPECT_EQ(error(WithEntities(Pairs({{0, "LWPOLYLINE"}, {8, "dmx"}, {10, "1"}, {20, "2"}}))),
              "文件“t.dxf”第 25 行：多段线缺少顶点数（组码 90）");

    // An old-style polyline ends with SEQEND.
    EXPECT_EQ(error(WithEntities(Pairs({{0, "POLYLINE"}, {8, "dmx"}, {70, "8"}, {0, "VERTEX"}, {8, "dmx"}, {10, "1"}, {20, "1"},
                                   {0, "LINE"}, {8, "dmx"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}}))),
              "文件“t.dxf”第 39 行：此处应为多段线（第 25 行起）的顶点 VERTEX 或结尾 SEQEND，却是“LINE”");

    // A second ENTITIES section: which of the two is the drawing?
    EXPECT_EQ(error(Pairs({{0, "SECTION"}, {2, "ENTITIES"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}, {0, "ENDSEC"},
                           {0, "EOF"}})),
              "文件“t.dxf”第 9 行：第二个 ENTITIES 段（图元段已在第 3 行给出）");
    EXPECT_EQ(error("AC1027\0\0\0\0\0\x01\x1F"), "“t.dxf”是 DWG 图形：QORVEL 读取 DXF 图形，请在 CAD 中另存为 DXF。");
    EXPECT_EQ(error("AC2.10\0"), "“t.dxf”是 DWG 图形：QORVEL 读取 DXF 图形，请在 CAD 中另存为 DXF。");
    // A plane whose direction has no unit vector in double precision.
    for (const char* component : {"1e-200", "1e300"})
        EXPECT_EQ(error(WithEntities(Pairs({{0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {1, "K"}, {210, component},
                                            {220, "0"}, {230, component}}))),
                  "文件“t.dxf”第 25 行：文字的拉伸方向（组码 210）无法换算为单位向量，或插入点换算后超出数值范围")
            << component;
}

TEST(DxfReader, EveryCutOfADrawingFailsCleanly) {
    for (const char* file : {"route_r2000.dxf", "route_r2018_bin.dxf", "route_r12_bin.dxf"}) {
        const std::string bytes = ReadFile(kFixtures + "/" + file);
        // Cut before the final EOF pair (the last 4 bytes of an ASCII drawing are "EOF\n").
        for (std::size_t cut = 0; cut + 5 < bytes.size(); cut += 61) {
            const std::string message = ErrorOf([&] { ReadDxf(std::string_view(bytes).substr(0, cut), file); });
            ASSERT_NE(message, "(no error)") << file << " cut at " << cut;
        }
    }
    // A line cut in two throws the pairs out of step: the next group code is not a number.
    std::string bytes = ReadFile(kFixtures + "/route_r2000.dxf");
    bytes.replace(bytes.find("K0+100"), 6, "K0+\n100");
    EXPECT_NE(ErrorOf([&] { ReadDxf(bytes, "t.dxf"); }).find("组码不是数字：“AcDbText”"), std::string::npos);
}

TEST(DxfReader, FilesThatCannotBeRead) {
    TempDir dir;
    EXPECT_NE(ErrorOf([&] { LoadDxf(dir.File("missing.dxf")); }).find("missing.dxf"), std::string::npos);
    EXPECT_NE(ErrorOf([&] { LoadDxf(dir.path()); }), "(no error)");
}

}  // namespace
}  // namespace qorvel
