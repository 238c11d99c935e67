// Steps 1, 2 and 4 through the real binary, on drawings written by an independent DXF writer
// (tests/data/drawings/make_drawings.py) and on drawings broken in the ways files get broken.

#include <gtest/gtest.h>

#include "e2e/qorvel_runner.h"

namespace qorvel::testing {
namespace {

const std::string kDrawings = std::string(QORVEL_SOURCE_DIR) + "/tests/data/drawings/";
const std::string kExamples = std::string(QORVEL_SOURCE_DIR) + "/examples/";

const char* const kEveryVersion[] = {"route_r2000.dxf", "route_r2000_gbk.dxf", "route_r2000_bin.dxf",
                                     "route_r2010.dxf", "route_r2018.dxf",     "route_r2018_bin.dxf"};

const std::string kLabels = CrLf({
    "1,,7.000,8.000,0.000,P1+000",  // drawn in the paper-space layout, last in the file
    "2,,1000.002,2.002,0.000,K1+000",
    "3,,0.000,0.000,0.000,",
    "4,,120.000,-0.500,12.340,K0+120 \xD6\xD0\xD7\xAE,\xD7\xF3",  // in GBK
    "5,,100.000,200.000,0.000,K0+100",
});
const std::string kLines = CrLf({"1,100,200,150.5,260.25", "2,1000,0.5,12.345,-3.125", "3,438230.717,3391642.982,-0.001,2.001"});

TEST(DrawingCommands, EveryVersionGivesTheSameFiles) {
    TempDir dir;
    for (const char* drawing : kEveryVersion) {
        SCOPED_TRACE(drawing);
        auto run = RunQorvel({"polylines", kDrawings + drawing, "--layer", "dmx", "-o", dir.File("vertices.dat")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "本线段共有：7 个节点\n");
        EXPECT_EQ(ReadFile(dir.File("vertices.dat")),
                  CrLf({"1,,0.5,100,0", "2,,10,0.5,0", "3,,10,10,0", "4,,300,10,0", "5,,1000,7,0", "6,,100,200,0",
                        "7,,250.5,-47.125,0"}));

        run = RunQorvel({"labels", kDrawings + drawing, "--layer", "zh", "-o", dir.File("labels.dat")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "图中共有桩号文字信息 5 个！\n");
        EXPECT_EQ(ReadFile(dir.File("labels.dat")), kLabels);

        run = RunQorvel({"lines", kDrawings + drawing, "--layer", "dmx", "-o", dir.File("lines.dat")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "本项目共有：3 条横断面线\n");
        EXPECT_EQ(ReadFile(dir.File("lines.dat")), kLines);
    }
}

TEST(DrawingCommands, LayersCompareAsWritten) {
    TempDir dir;
    const std::string drawing = kDrawings + "route_r2000.dxf";  // Chinese layer names as \U+ escapes
    auto run = RunQorvel({"labels", drawing, "--layer", "桩号", "-o", dir.File("a.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("a.dat")), "1,,5.000,6.000,0.000,K2+000\r\n");
    run = RunQorvel({"labels", drawing, "--layer", "ZH", "-o", dir.File("b.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("b.dat")), "1,,1.000,1.000,0.000,K5+000\r\n");
    run = RunQorvel({"polylines", drawing, "--layer", "DMX", "-o", dir.File("c.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("c.dat")), "1,,1,1,0\r\n2,,2,2,0\r\n");
    // DMX holds a polyline but no line: no warning, an empty file.
    run = RunQorvel({"lines", drawing, "--layer", "DMX", "-o", dir.File("d.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "本项目共有：0 条横断面线\n");
    EXPECT_EQ(ReadFile(dir.File("d.dat")), "");
}

TEST(DrawingCommands, WarningsWriteNothing) {
    TempDir dir;
    const std::string existing = dir.Write("out.dat", "kept\r\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string warning;
    };
    const std::string r2000 = kDrawings + "route_r2000.dxf";
    // A layer the drawing does not have (letter case counts) is named, with the drawing's layers.
    const std::string r2000Layers = "图中的图层有：DMX、ZH、dmx、old、other、zh、桩号。";
    const Case cases[] = {
        {{"polylines", kDrawings + "route_r12.dxf", "--layer", "dmx"}, "没有检测到2D线段！请检查图形"},
        {{"polylines", r2000, "--layer", "old"}, "没有检测到2D线段！请检查图形"},  // an old-style polyline only
        {{"polylines", r2000, "--layer", "zh"}, "图形中没有[zh]图层,或者线段不具备该图层属性"},
        {{"polylines", r2000, "--layer", "Dmx"},
         "图形中没有[Dmx]图层,或者线段不具备该图层属性\n图中没有“Dmx”图层（图层名区分大小写），" + r2000Layers},
        {{"labels", r2000, "--layer", ""}, "请您把要操作的图层名称填写完整！"},
        {{"labels", r2000, "--layer", "dmx"}, "该图层没有CASS高程点的实体或者没有该图层，请检查！"},
        {{"labels", r2000, "--layer", "Zh"},
         "该图层没有CASS高程点的实体或者没有该图层，请检查！\n图中没有“Zh”图层（图层名区分大小写），" + r2000Layers},
        {{"lines", r2000, "--layer", "zh"}, "图形中没有[zh]图层,或者线段不具备该图层属性"},
        {{"lines", kDrawings + "route_r12.dxf", "--layer", "DMX"},
         "图形中没有[DMX]图层,或者线段不具备该图层属性\n"
         "图中没有“DMX”图层（图层名区分大小写），图中的图层有：ZH、dmx、old、other、zh、桩号。"},
    };
    for (const Case& test : cases) {
        for (const std::string& output : {existing, dir.File("new.dat")}) {
            std::vector<std::string> arguments = test.arguments;
            arguments.insert(arguments.end(), {"-o", output});
            const auto run = RunQorvel(arguments);
            EXPECT_EQ(run.exitCode, 3) << test.arguments[0] << " " << test.arguments[3];
            EXPECT_EQ(run.err, test.warning + "\n");
            EXPECT_EQ(run.out, "");
        }
        EXPECT_EQ(ReadFile(existing), "kept\r\n");
        EXPECT_FALSE(FileExists(dir.File("new.dat")));
    }
    // The layer option is required.
    EXPECT_EQ(RunQorvel({"lines", r2000, "-o", existing}).exitCode, 2);
}

TEST(DrawingCommands, TheExampleProjectsLabelsAndLines) {
    TempDir dir;
    auto run = RunQorvel({"labels", kExamples + "route.dxf", "--layer", "zh", "-o", dir.File("labels.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("labels.dat")), ReadFile(kExamples + "labels.dat"));
    run = RunQorvel({"lines", kExamples + "route.dxf", "--layer", "dmx", "-o", dir.File("lines.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("lines.dat")), ReadFile(kExamples + "lines.dat"));
}

std::string Pairs(const std::vector<std::pair<int, std::string>>& pairs) {
    std::string bytes;
    for (const auto& [code, value] : pairs) bytes += std::to_string(code) + "\n" + value + "\n";
    return bytes;
}

std::string Entities(const std::string& body, const std::string& version = "AC1024") {
    return Pairs({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}}) +
           body + Pairs({{0, "ENDSEC"}, {0, "EOF"}});
}

// A text the drawing's code page cannot read fails only the labels of its own layer; a DWG
// file is named for what it is.
TEST(DrawingCommands, WhatOtherCadProgramsWrite) {
    TempDir dir;
    // Release 2000 naming no code page: GBK, the surveyor's. The line and the polyline name no
    // layer; the text on "bt" (line 34) is no GBK.
    const std::string drawing = dir.Write(
        "other.dxf", Entities(Pairs({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"},
                                     {0, "TEXT"}, {8, "bt"}, {10, "1"}, {20, "2"}, {1, "\xD6"},
                                     {0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {1, "K0+100 \xD6\xD0"},
                                     {0, "LWPOLYLINE"}, {90, "1"}, {10, "5"}, {20, "6"}}),
                              "AC1015"));
    for (const char* command : {"lines", "polylines"}) {
        const auto run = RunQorvel({command, drawing, "--layer", "0", "-o", dir.File("out.dat")});
        EXPECT_EQ(run.exitCode, 0) << command << run.err;
    }
    auto run = RunQorvel({"labels", drawing, "--layer", "zh", "-o", dir.File("labels.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("labels.dat")), "1,,1.000,2.000,0.000,K0+100 \xD6\xD0\r\n");
    run = RunQorvel({"labels", drawing, "--layer", "bt", "-o", dir.File("bt.dat")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "错误：文件“" + drawing + "”第 34 行：文字不是有效的 GBK 编码\n");

    // The surveyor's code page, for drawings that name none (letter case ignored); a code page
    // nobody knows is a usage error.
    const std::string western = dir.Write(
        "western.dxf", Entities(Pairs({{0, "TEXT"}, {8, "zh"}, {10, "1"}, {20, "2"}, {1, "K0+1\xE9"}}), "AC1015"));
    run = RunQorvel({"labels", western, "--layer", "zh", "--code-page", "ansi_1252", "-o", dir.File("western.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("western.dat")), "1,,1.000,2.000,0.000,K0+1\xA8\xA6\r\n");
    EXPECT_EQ(RunQorvel({"labels", western, "--layer", "zh", "--code-page", "ANSI_999", "-o", dir.File("x.dat")}).exitCode, 2);

    const std::string dwg = dir.Write("route.dxf", std::string("AC1027\0\0\0\0\0\x01\x1F\x02", 13));
    run = RunQorvel({"lines", dwg, "--layer", "0", "-o", dir.File("out.dat")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "错误：“" + dwg + "”是 DWG 图形：QORVEL 读取 DXF 图形，请在 CAD 中另存为 DXF。\n");
}

TEST(DrawingCommands, MalformedDrawingsFailNamingTheLine) {
    TempDir dir;
    const std::string existing = dir.Write("out.dat", "kept\r\n");
    const std::string r2000 = ReadFile(kDrawings + "route_r2000.dxf");
    const std::string binary = ReadFile(kDrawings + "route_r2018_bin.dxf");
    // The header takes lines 1 to 14; the first entity starts at line 15.
    const std::string line = Pairs({{0, "LINE"}, {8, "dmx"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}});
    struct Case {
        std::string name;
        std::string bytes;
        std::string error;
    };
    const Case cases[] = {
        {"truncated.dxf", r2000.substr(0, r2000.find('\n', r2000.size() / 2) + 1), "文件不完整"},
        {"no_eof.dxf", r2000.substr(0, r2000.rfind("  0\nEOF")), "缺少结尾的 EOF"},
        {"truncated_bin.dxf", binary.substr(0, binary.size() / 2), "字节处：文件在"},
        {"garbage.dxf", "PK\x03\x04 this is no drawing\n", "第 1 行：组码不是数字"},
        {"empty.dxf", "", "第 1 行：文件是空的，不是 DXF 图形文件"},
        {"not_a_number.dxf", Entities(Pairs({{0, "LINE"}, {8, "dmx"}, {10, "12.5abc"}, {20, "2"}, {11, "3"}, {21, "4"}})),
         "第 20 行：组码 10 的值不是数字：“12.5abc”"},
        {"missing_y.dxf", Entities(Pairs({{0, "LINE"}, {8, "dmx"}, {10, "1"}, {11, "3"}, {21, "4"}})),
         "第 15 行：缺少直线起点的 y 坐标（组码 20）"},
        {"huge_count.dxf", Entities(Pairs({{0, "LWPOLYLINE"}, {8, "dmx"}, {90, "2147483647"}, {10, "1"}, {20, "2"}})),
         "第 20 行：多段线的顶点数（组码 90）为 2147483647，实际给出的顶点却有 1 个"},
        {"long_line.dxf", Entities(line + std::string(5'000'000, '7') + "\n0\n"), "第 27 行：组码不是数字：“7777"},
        // The value of group 10 lost: every pair after it is out of step.
        {"out_of_step.dxf", Entities(Pairs({{0, "TEXT"}, {8, "zh"}}) + "10\n" + Pairs({{20, "2"}, {1, "K1"}})),
         "第 23 行：组码不是数字：“K1”"},
        {"not_gbk.dxf", Entities(Pairs({{0, "TEXT"}, {8, "dmx"}, {10, "1"}, {20, "2"}, {1, "K1+\xF0\x9F\x98\x80"}})),
         "第 15 行：文字“K1+\xF0\x9F\x98\x80”含有 GBK 编码无法表示的字符"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string drawing = dir.Write(test.name, test.bytes);
        for (const char* command : {"labels", "lines"}) {
            const auto run = RunQorvel({command, drawing, "--layer", "dmx", "-o", existing});
            EXPECT_EQ(run.exitCode, 1) << command;
            EXPECT_TRUE(run.err.starts_with("错误：文件“" + drawing + "”")) << run.err;
            EXPECT_NE(run.err.find(test.error), std::string::npos) << run.err;
            if (test.name == "not_gbk.dxf") break;  // only the labels step writes texts
        }
        EXPECT_EQ(ReadFile(existing), "kept\r\n");
    }
    for (const std::string& path : {dir.File("missing.dxf"), dir.path()}) {
        const auto run = RunQorvel({"lines", path, "--layer", "dmx", "-o", existing});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.starts_with("错误：文件“" + path + "”")) << run.err;
    }
    EXPECT_EQ(ReadFile(existing), "kept\r\n");
}

}  // namespace
}  // namespace qorvel::testing
