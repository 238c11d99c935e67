#include "frame/steps/drawing_steps.h"

#include <gtest/gtest.h>

#include "drawing/attached_drawing.h"
#include "frame/drawing_summary.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

const char* const kDrawingFilter = "DXF图形文件(*.dxf)|*.dxf";

std::string Pairs(const std::vector<std::pair<int, std::string>>& pairs) {
    std::string bytes;
    for (const auto& [code, value] : pairs) bytes += std::to_string(code) + "\n" + value + "\n";
    return bytes;
}

std::string Entities(const std::string& body) {
    return Pairs({{0, "SECTION"}, {2, "ENTITIES"}}) + body + Pairs({{0, "ENDSEC"}, {0, "EOF"}});
}

std::string Line(const std::string& layer, const std::string& x1, const std::string& y1, const std::string& x2,
                 const std::string& y2) {
    return Pairs({{0, "LINE"}, {8, layer}, {10, x1}, {20, y1}, {11, x2}, {21, y2}});
}

std::string Text(const std::string& layer, const std::string& x, const std::string& y, const std::string& text) {
    return Pairs({{0, "TEXT"}, {8, layer}, {10, x}, {20, y}, {30, "0"}, {1, text}});
}

std::string Polyline(const std::string& layer, std::initializer_list<const char*> xy) {
    std::vector<std::pair<int, std::string>> pairs{{0, "LWPOLYLINE"}, {8, layer}, {90, std::to_string(xy.size() / 2)}};
    int code = 10;
    for (const char* value : xy) {
        pairs.emplace_back(code, value);
        code = code == 10 ? 20 : 10;
    }
    return Pairs(pairs);
}

TEST(DrawingSteps, TheFirstStepAsksForTheDrawingLaterStepsReuseIt) {
    TempDir dir;
    const std::string drawing =
        dir.Write("route.dxf", Entities(Polyline("dmx", {"1", "2", "3", "4"}) + Line("dmx", "0", "0", "10", "0")));
    Session session;
    Settings settings;
    ScriptedHost first;
    first.Answer(drawing).Answer(dir.File("vertices.dat"));
    ASSERT_EQ(steps::ExtractPolylineVertices(first, session, settings).outcome, StepOutcome::Completed) << first.failures.at(0);
    ASSERT_EQ(first.dialogs.size(), 2u);
    EXPECT_FALSE(first.dialogs[0].save);
    EXPECT_EQ(first.dialogs[0].filter, kDrawingFilter);
    EXPECT_TRUE(first.dialogs[1].save);
    EXPECT_EQ(first.dialogs[1].filter, "保存_多段线节点的dat文件(*.dat)|*.dat");
    ASSERT_EQ(first.messages.size(), 2u);
    EXPECT_EQ(first.messages[0].role, MessageRole::Notice);
    EXPECT_EQ(first.messages[0].title, "连接CAD");
    EXPECT_EQ(first.messages[0].text, "连接CAD成功！");
    EXPECT_EQ(first.messages[1].text, "本线段共有：2 个节点");
    EXPECT_EQ(first.statusPanel2.back(), "已提取多段线节点数： 2 个");
    EXPECT_EQ(first.progress.back(), 0);
    EXPECT_EQ(first.frontRequests, 1);
    EXPECT_EQ(first.openedResults, std::vector<std::string>{dir.File("vertices.dat")});
    EXPECT_EQ(ReadFile(dir.File("vertices.dat")), "1,,1,2,0\r\n2,,3,4,0\r\n");
    ASSERT_TRUE(session.drawing);
    EXPECT_EQ(session.drawing->LayerNames(), std::vector<std::string>{"dmx"});

    // Step 4 on the same drawing: no open dialog, the connection message again.
    ScriptedHost lines;
    lines.Answer(dir.File("lines.dat"));
    ASSERT_EQ(steps::ExtractSectionLines(lines, session, settings).outcome, StepOutcome::Completed);
    ASSERT_EQ(lines.dialogs.size(), 1u);
    EXPECT_EQ(lines.dialogs[0].filter, "取出_断面线端点坐标（dat文件）(*.dat)|*.dat");
    EXPECT_EQ(lines.messages.at(0).text, "连接CAD成功！");
    EXPECT_EQ(lines.messages.at(1).text, "本项目共有：1 条横断面线");
    EXPECT_EQ(lines.statusPanel2.back(), "已提取横断面线条数： 1 个");
    EXPECT_EQ(lines.progress.back(), 100);  // the bar keeps its last value
    EXPECT_EQ(ReadFile(dir.File("lines.dat")), "1,0,0,10,0\r\n");

    // The drawing saved again in the CAD program is read again.
    dir.Write("route.dxf", Entities(Line("dmx", "5", "5", "6", "6") + Line("dmx", "7", "7", "8", "8")));
    ScriptedHost again;
    again.Answer(dir.File("lines.dat"));
    ASSERT_EQ(steps::ExtractSectionLines(again, session, settings).outcome, StepOutcome::Completed);
    EXPECT_EQ(ReadFile(dir.File("lines.dat")), "1,5,5,6,6\r\n2,7,7,8,8\r\n");

    // Another drawing attached from the toolbar replaces it.
    const std::string other = dir.Write("other.dxf", Entities(Line("zh", "1", "1", "2", "2")));
    ScriptedHost attach;
    attach.Answer(other);
    ASSERT_EQ(steps::AttachDrawing(attach, session, settings).outcome, StepOutcome::Completed);
    EXPECT_EQ(attach.messages.at(0).text, "连接CAD成功！");
    EXPECT_EQ(session.drawing->path(), other);
    EXPECT_EQ(session.drawing->LayerNames(), std::vector<std::string>{"zh"});
}

// What the front ends list of each layer, to tell the labels' layer from the section lines'.
TEST(DrawingSteps, TheSummaryCountsEachLayersTextsStationsLinesAndPolylines) {
    TempDir dir;
    const std::string drawing =
        dir.Write("route.dxf", Entities(Text("zh", "1", "2", "K0+100") + Text("zh", "3", "4", "K0+120") +
                                        Text("zh", "5", "6", "说明") + Text("bt", "0", "0", "1+") +
                                        Line("dmx", "0", "0", "1", "1") + Polyline("zxx", {"1", "2", "3", "4"})));
    Session session;
    ScriptedHost attach;
    attach.Answer(drawing);
    Settings settings;
    ASSERT_EQ(steps::AttachDrawing(attach, session, settings).outcome, StepOutcome::Completed);
    const std::optional<DrawingSummary> summary = SummaryOfAttachedDrawing(session);
    ASSERT_TRUE(summary.has_value());
    std::vector<std::string> counts;
    for (const LayerSummary& layer : summary->layers)
        counts.push_back(layer.name + " " + std::to_string(layer.texts) + " " + std::to_string(layer.stations) + " " +
                         std::to_string(layer.lines) + " " + std::to_string(layer.polylines));
    EXPECT_EQ(counts, (std::vector<std::string>{"bt 1 0 0 0", "dmx 0 0 1 0", "zh 3 2 0 0", "zxx 0 0 0 1"}));
}

TEST(DrawingSteps, CancelUnreadableDrawingsAndWarnings) {
    TempDir dir;
    Session session;
    Settings settings;
    // Cancelling the drawing's dialog ends the step without a word.
    ScriptedHost cancel;
    cancel.Answer(std::nullopt);
    EXPECT_EQ(steps::ExtractSectionLines(cancel, session, settings).outcome, StepOutcome::Cancelled);
    EXPECT_TRUE(cancel.messages.empty() && cancel.failures.empty());

    // A drawing that cannot be read: a failure naming the line; nothing attached.
    const std::string broken = dir.Write("broken.dxf", Entities(Line("dmx", "0", "0", "10abc", "0")));
    ScriptedHost failed;
    failed.Answer(broken);
    EXPECT_EQ(steps::ExtractSectionLines(failed, session, settings).outcome, StepOutcome::Failed);
    ASSERT_EQ(failed.failures.size(), 1u);
    EXPECT_EQ(failed.failures[0], "文件“" + broken + "”第 14 行：组码 11 的值不是数字：“10abc”");
    EXPECT_TRUE(failed.messages.empty());
    EXPECT_FALSE(session.drawing);

    // A warning: the save dialog is never shown, nothing is written.
    const std::string drawing = dir.Write("route.dxf", Entities(Text("zh", "1", "2", "K0+100")));
    const std::string existing = dir.Write("lines.dat", "kept\r\n");
    ScriptedHost warned;
    warned.Answer(drawing);
    EXPECT_EQ(steps::ExtractSectionLines(warned, session, settings).outcome, StepOutcome::Warned);
    ASSERT_EQ(warned.messages.size(), 2u);
    EXPECT_EQ(warned.messages[1].role, MessageRole::Warning);
    EXPECT_EQ(warned.messages[1].title, "请检查图形！");
    EXPECT_EQ(warned.messages[1].text, "没有检测到3D线段！请检查图形");
    EXPECT_EQ(warned.dialogs.size(), 1u);
    EXPECT_EQ(ReadFile(existing), "kept\r\n");

    ScriptedHost polylines;
    EXPECT_EQ(steps::ExtractPolylineVertices(polylines, session, settings).outcome, StepOutcome::Warned);
    EXPECT_EQ(polylines.messages.back().text, "没有检测到2D线段！请检查图形");
    EXPECT_TRUE(polylines.dialogs.empty());

    // The drawing removed from disk: the step fails, the drawing stays attached.
    std::remove(drawing.c_str());
    ScriptedHost gone;
    EXPECT_EQ(steps::ExtractSectionLines(gone, session, settings).outcome, StepOutcome::Failed);
    EXPECT_NE(gone.failures.at(0).find("route.dxf"), std::string::npos);
    EXPECT_TRUE(session.drawing);
}

TEST(DrawingSteps, StationLabels) {
    TempDir dir;
    const std::string drawing = dir.Write(
        "route.dxf", Entities(Text("zh", "100", "200", "K0+100") + Text("zh", "120", "200", "K0+120") + Text("ZH", "1", "1", "X")));
    Session session;
    Settings settings;

    // An empty layer box: the warning comes before anything else.
    settings.layerName = "";
    ScriptedHost empty;
    EXPECT_EQ(steps::ExtractStationLabels(empty, session, settings).outcome, StepOutcome::Warned);
    ASSERT_EQ(empty.messages.size(), 1u);
    EXPECT_EQ(empty.messages[0].title, "注意！");
    EXPECT_EQ(empty.messages[0].text, "请您把要操作的图层名称填写完整！");
    EXPECT_TRUE(empty.dialogs.empty());
    EXPECT_FALSE(session.drawing);

    settings.layerName = "zh";
    ScriptedHost host;
    host.Answer(drawing).Answer(dir.File("labels.dat"));
    ASSERT_EQ(steps::ExtractStationLabels(host, session, settings).outcome, StepOutcome::Completed) << host.failures.at(0);
    EXPECT_EQ(host.dialogs.at(1).filter, "保存_桩号文字信息_dat文件(*.dat)|*.dat");
    EXPECT_EQ(ReadFile(dir.File("labels.dat")), "1,,120.000,200.000,0.000,K0+120\r\n2,,100.000,200.000,0.000,K0+100\r\n");
    EXPECT_EQ(host.messages.at(1).text, "图中共有桩号文字信息 2 个！");
    EXPECT_EQ(host.statusPanel1, std::vector<std::string>{"欢迎使用！"});
    EXPECT_EQ(host.statusPanel2.back(), "把坐标及高程写入文件： 2 个");
    EXPECT_EQ(host.progress.back(), 0);
    EXPECT_EQ(host.openedResults, std::vector<std::string>{dir.File("labels.dat")});

    // No label on the layer (letter case counts): the warning comes after the save dialog.
    settings.layerName = "Zh";
    ScriptedHost none;
    none.Answer(dir.File("labels.dat"));
    EXPECT_EQ(steps::ExtractStationLabels(none, session, settings).outcome, StepOutcome::Warned);
    EXPECT_EQ(none.dialogs.size(), 1u);
    EXPECT_EQ(none.messages.back().title, "注意！");
    EXPECT_TRUE(none.openedResults.empty());

    // A drawing that names no code page is read in the surveyor's: a Western "é" is no GBK, and
    // the drawing is read again when the surveyor names the code page it was written in.
    const std::string western = dir.Write("western.dxf", Entities(Text("zh", "1", "2", "K0+1\xE9")));
    settings.layerName = "zh";
    ScriptedHost attach;
    attach.Answer(western);
    ASSERT_EQ(steps::AttachDrawing(attach, session, settings).outcome, StepOutcome::Completed);
    ScriptedHost gbk;
    gbk.Answer(dir.File("labels.dat"));
    EXPECT_EQ(steps::ExtractStationLabels(gbk, session, settings).outcome, StepOutcome::Failed);
    settings.codePage = "ANSI_1252";
    ScriptedHost cp1252;
    cp1252.Answer(dir.File("labels.dat"));
    ASSERT_EQ(steps::ExtractStationLabels(cp1252, session, settings).outcome, StepOutcome::Completed)
        << cp1252.failures.at(0);
    EXPECT_EQ(session.drawing->options().codePage, "ANSI_1252");
}

}  // namespace
}  // namespace qorvel
