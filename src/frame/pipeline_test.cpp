#include "frame/pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "drawing/attached_drawing.h"
#include "frame/pipeline_summary.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::CrLf;
using testing::FileExists;
using testing::ListFolder;
using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

std::string Pairs(const std::vector<std::pair<int, std::string>>& pairs) {
    std::string bytes;
    for (const auto& [code, value] : pairs) bytes += std::to_string(code) + "\n" + value + "\n";
    return bytes;
}

std::string Text(const std::string& layer, const std::string& x, const std::string& y, const std::string& text) {
    return Pairs({{0, "TEXT"}, {8, layer}, {10, x}, {20, y}, {30, "0"}, {1, text}});
}

std::string Line(const std::string& layer, const std::string& x1, const std::string& y1, const std::string& x2,
                 const std::string& y2) {
    return Pairs({{0, "LINE"}, {8, layer}, {10, x1}, {20, y1}, {11, x2}, {21, y2}});
}

// A road running east with stations K0+100, K0+120 and K0+140, each label 0.4504 m from where
// its stake should be; K0+140's stake was never surveyed. The labels are drawn last station
// first, so the label extraction (which writes the last drawn first) lists them in order.
std::string RouteDrawing() {
    return Pairs({{0, "SECTION"}, {2, "ENTITIES"}}) + Text("zh", "540.25", "299.625", "K0+140") +
           Text("zh", "520.25", "299.625", "K0+120") + Text("zh", "500.25", "299.625", "K0+100") +
           Line("dmx", "500", "280", "500", "320") + Line("dmx", "520", "320", "520", "280") +
           Pairs({{0, "ENDSEC"}, {0, "EOF"}});
}

const std::string kPoints = CrLf({"1,,500,300,10.5", "2,,500,305,10.9", "3,,500.03,295,10.1", "4,,520,300,10.6",
                                  "5,,520.01,290,10.2"});

struct Project {
    TempDir dir;
    PipelineRequest request;
    Project() {
        request.drawing = dir.Write("route.dxf", RouteDrawing());
        request.points = dir.Write("points.dat", kPoints);
        request.labelLayer = "zh";
        request.lineLayer = "dmx";
        request.outputFolder = dir.File("out");
    }
    std::string Out(const std::string& name) const { return dir.File("out/" + name); }
};

class RecordStages final : public PipelineObserver {
public:
    void StageStarting(const StepDescription& step, std::size_t number, std::size_t count) override {
        started.push_back(std::string(step.outputName) + " " + std::to_string(number) + "/" + std::to_string(count));
    }
    void StageEnded(const StageReport& report) override { ended.push_back(report.result.outcome); }
    std::vector<std::string> started;
    std::vector<StepOutcome> ended;
};

TEST(Pipeline, StagesRunInOrderReadingWhatTheEarlierOnesWrote) {
    std::vector<std::string> names;
    const std::span<const StepId> steps = PipelineSteps();
    for (std::size_t index = 0; index < steps.size(); ++index) {
        const StepDescription& step = Describe(steps[index]);
        names.emplace_back(step.outputName);
        // Every file a stage reads is supplied or written by an earlier stage.
        for (const FileSpec& input : step.inputs) {
            if (input.role == FileRole::Drawing || input.role == FileRole::DetailPoints) continue;
            const StepDescription* writer = FindStepWriting(input.role);
            ASSERT_NE(writer, nullptr) << step.outputName;
            EXPECT_LT(std::find(steps.begin(), steps.end(), writer->id) - steps.begin(),
                      static_cast<std::ptrdiff_t>(index))
                << step.outputName;
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"02-labels.dat", "03-stakes.dat", "05-check-stakes.dat", "04-lines.dat",
                                               "06-matched.dat", "07-check-lines.dat", "09-members.dat",
                                               "10-sections.dat", "12-check-sections.dat", "13-profile.dat"}));
    EXPECT_EQ(FindStepWriting(FileRole::DetailPoints), nullptr);
}

TEST(Pipeline, RunsEveryStageWithoutAskingTheSurveyor) {
    Project project;
    Session session;
    Settings settings;
    settings.layerName = "the window's layer";
    ScriptedHost host;  // no answers: a dialog reaching it would fail the step
    RecordStages stages;
    const PipelineReport report = RunPipeline(host, session, settings, project.request, &stages);

    ASSERT_TRUE(report.Completed()) << (host.failures.empty() ? "" : host.failures[0]);
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_TRUE(host.failures.empty());
    EXPECT_TRUE(host.messages.empty());  // the closing counts are the report's, "连接CAD成功！" is not shown
    EXPECT_TRUE(host.openedResults.empty());
    EXPECT_EQ(settings.layerName, "the window's layer");
    ASSERT_NE(session.drawing, nullptr);
    EXPECT_EQ(session.drawing->path(), project.request.drawing);

    EXPECT_EQ(stages.started.front(), "02-labels.dat 1/10");
    EXPECT_EQ(stages.started.back(), "13-profile.dat 10/10");
    EXPECT_EQ(stages.ended, std::vector<StepOutcome>(10, StepOutcome::Completed));
    ASSERT_EQ(report.stages.size(), 10u);
    EXPECT_EQ(report.stages[0].result.summary, "图中共有桩号文字信息 3 个！");
    EXPECT_EQ(report.stages[1].result.summary, "本次共合成中桩坐标个数 2 个！");
    EXPECT_EQ(report.stages[2].result.summary, "共检查桩号文字 3 个，有问题的 1 个！");
    EXPECT_EQ(report.stages[3].result.summary, "本项目共有：2 条横断面线");
    EXPECT_EQ(report.stages[7].output, project.Out("10-sections.dat"));

    // Panel 1 names each stage; the progress bar covers the whole run and never goes back.
    EXPECT_EQ(host.statusPanel1.front(), "第 1/10 步：2、提取中桩桩号文字");
    EXPECT_EQ(std::count_if(host.statusPanel1.begin(), host.statusPanel1.end(),
                            [](const std::string& text) { return text.starts_with("第 "); }),
              10);
    EXPECT_EQ(host.statusPanel1.back(), "第 10/10 步：纵断面地面线");
    EXPECT_TRUE(std::is_sorted(host.progress.begin(), host.progress.end()));
    EXPECT_EQ(host.progress.back(), 100);

    EXPECT_EQ(ReadFile(project.Out("02-labels.dat")),
              CrLf({"1,,500.250,299.625,0.000,K0+100", "2,,520.250,299.625,0.000,K0+120",
                    "3,,540.250,299.625,0.000,K0+140"}));
    EXPECT_EQ(ReadFile(project.Out("03-stakes.dat")), CrLf({"100,,500.000,300.000,10.500", "120,,520.000,300.000,10.600"}));
    EXPECT_EQ(ReadFile(project.Out("05-check-stakes.dat")), CrLf({"\xC8\xB1\xC9\xD9\xD6\xD0\xD7\xAE,3,,540.250,299.625,0.000,K0+140"}));
    EXPECT_EQ(ReadFile(project.Out("04-lines.dat")), CrLf({"1,500,280,500,320", "2,520,320,520,280"}));
    EXPECT_EQ(ReadFile(project.Out("06-matched.dat")), CrLf({"100,500,280,500,320", "120,520,320,520,280"}));
    EXPECT_EQ(ReadFile(project.Out("07-check-lines.dat")), "");
    EXPECT_EQ(ReadFile(project.Out("09-members.dat")), CrLf({"100,1,2,3", "120,4,5"}));
    // Layout 1. K0+100: point 3 lies 5 m towards the first end (south), 0.4 m lower; point 2
    // 5 m towards the second end, 0.4 m higher. K0+120's first end is north: nothing there.
    EXPECT_EQ(ReadFile(project.Out("10-sections.dat")),
              CrLf({"100", "5.00 10.10", "5.00 10.90", "120", "", "10.00 10.20"}));

    EXPECT_EQ(PipelineSummaryText(report),
              "断面成果已生成：" + project.Out("10-sections.dat") +
                  "\n\n"
                  "02-labels.dat：图中共有桩号文字信息 3 个！\n"
                  "03-stakes.dat：本次共合成中桩坐标个数 2 个！\n"
                  "05-check-stakes.dat：共检查桩号文字 3 个，有问题的 1 个！\n"
                  "04-lines.dat：本项目共有：2 条横断面线\n"
                  "06-matched.dat：本次桩号共匹配断面线：2 条！\n"
                  "07-check-lines.dat：共检查中桩 2 个，缺少断面线 0 个，断面线重复 0 个！\n"
                  "09-members.dat：本次完成添加归属点号的桩号有2个！\n"
                  "10-sections.dat：共有断面数：2 条。\n"
                  "12-check-sections.dat：共检查断面 2 个，发现问题 2 处！\n"
                  "13-profile.dat：纵断面地面线：共有中桩 2 个。\n"
                  // K0+100's line is drawn from the route's right to its left; K0+120's left side
                  // (north, towards its second end) has no point.
                  "\n检查发现 3 个问题：\n缺少中桩：K0+140\n断面线反向：桩号 100\n左侧无点：桩号 120");
}

// The run reads the detail point file once and builds the sections once, yet every stage that
// reads a point's easting warns of its text as the step run alone warns of it.
TEST(Pipeline, StagesSharingAFileWarnAsTheStepsAloneWarn) {
    Project project;
    testing::TempDir alone;
    project.request.points = project.dir.Write("points.dat", CrLf({"1,,500,300,10.5", "2,,500,305x,10.9",
                                                                  "3,,500.03,295,10.1", "4,,520,300,10.6"}));
    ScriptedHost host;
    Session session;
    const PipelineReport report = RunPipeline(host, session, Settings{}, project.request);
    ASSERT_TRUE(report.Completed()) << host.failures.at(0);
    ASSERT_NE(report.sections, nullptr);
    for (const StageReport& stage : report.stages) {
        SCOPED_TRACE(stage.Step().outputName);
        ScriptedHost single;
        for (const FileSpec& input : stage.Step().inputs)
            single.Answer(input.role == FileRole::Drawing ? project.request.drawing : PipelineFilePath(report.request, input.role));
        single.Answer(alone.File(std::string(stage.Step().outputName)));
        Session fresh;
        Settings settings;
        settings.layerName = stage.step == StepId::StationLabels ? "zh" : "dmx";
        const StepResult result = stage.Step().Run(single, fresh, settings);
        EXPECT_EQ(stage.result.notes, result.notes);
        EXPECT_EQ(ReadFile(alone.File(std::string(stage.Step().outputName))), ReadFile(stage.output));
    }
    EXPECT_FALSE(report.stages[1].result.notes.empty());  // step 3 read the easting "305x"
    EXPECT_EQ(session.runFiles, nullptr);                 // later steps read again
}

TEST(Pipeline, TheSettingsReachTheSteps) {
    Project project;
    Session session;
    Settings settings;
    settings.layout = "2";
    settings.stationText = true;               // station text
    settings.stakeTolerance = 0.0002;  // each stake lies 0.0003 m from where its label puts it
    ScriptedHost host;
    const PipelineReport report = RunPipeline(host, session, settings, project.request);
    // No stake: the stage completes with its count and a caution naming the tolerance, and the
    // run stops after it, saying so.
    EXPECT_EQ(report.outcome, StepOutcome::Warned);
    ASSERT_EQ(report.stages.size(), 2u);
    EXPECT_TRUE(report.stages[1].result.Completed());
    EXPECT_EQ(report.stages[1].result.summary, "本次共合成中桩坐标个数 0 个！");
    ASSERT_NE(report.StoppingCaution(), nullptr);
    EXPECT_NE(report.StoppingCaution()->cause.find("（0.0002 米）太小"), std::string::npos)
        << report.StoppingCaution()->cause;
    EXPECT_TRUE(host.messages.empty());  // the caution is the front end's to show
    EXPECT_EQ(PipelineStopText(report),
              "一键生成在“3、桩号文字与桩号坐标合并”之后停止：这一步没有得到可用的结果，之后的步骤没有运行。\n"
              "已完成的 02-labels.dat、03-stakes.dat 没有移入输出文件夹。\n输出文件夹保持原样。");
    EXPECT_FALSE(FileExists(project.request.outputFolder));
    // With a wide tolerance the layout and the station text show.
    settings.stakeTolerance = 0.05;
    ASSERT_TRUE(RunPipeline(host, session, settings, project.request).Completed());
    EXPECT_EQ(ReadFile(project.Out("10-sections.dat")),
              CrLf({"K0+100 10.500 5.00 10.10 5.00 10.90", "K0+120 10.600  10.00 10.20"}));

    // Another layout into the same folder: the earlier result stays and is named as earlier.
    settings = Settings{};
    settings.layout = "csv";
    const PipelineReport csv = RunPipeline(host, session, settings, project.request);
    ASSERT_TRUE(csv.Completed());
    EXPECT_EQ(csv.earlierResults, std::vector<std::string>{"10-sections.dat"});
    EXPECT_NE(PipelineSummaryText(csv).find("注意：输出文件夹中的 10-sections.dat 是以前生成的，不是本次的成果。\n"),
              std::string::npos);

    // SVG sheets are a folder of pages, moved in whole and replaced whole; a later run drawing
    // DXF names it as earlier.
    project.request.plotKind = "svg";
    for (int run = 0; run < 2; ++run) {
        const PipelineReport sheets = RunPipeline(host, session, settings, project.request);
        ASSERT_TRUE(sheets.Completed()) << (host.failures.empty() ? "" : host.failures.back());
        EXPECT_EQ(sheets.stages.back().output, project.Out("10-sections-sheets"));
        EXPECT_EQ(ListFolder(project.Out("10-sections-sheets")), std::vector<std::string>{"sheet-001.svg"});
    }
    project.request.plotKind = "dxf";
    const PipelineReport dxf = RunPipeline(host, session, settings, project.request);
    ASSERT_TRUE(dxf.Completed());
    EXPECT_EQ(dxf.earlierResults, (std::vector<std::string>{"10-sections.dat", "10-sections-sheets"}));
}

TEST(Pipeline, AWarningStopsTheRunAndLeavesTheFolderAsItWas) {
    Project project;
    project.request.labelLayer = "ZH";  // layers compare with their letter case
    std::filesystem::create_directory(project.request.outputFolder);
    const std::string earlier = project.dir.Write("out/10-sections.dat", "an earlier result\r\n");
    Session session;
    Settings settings;
    ScriptedHost host;
    RecordStages stages;
    const PipelineReport report = RunPipeline(host, session, settings, project.request, &stages);

    EXPECT_EQ(report.outcome, StepOutcome::Warned);
    ASSERT_EQ(report.stages.size(), 1u);
    EXPECT_EQ(stages.ended, std::vector<StepOutcome>{StepOutcome::Warned});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].role, MessageRole::Warning);
    EXPECT_EQ(host.messages[0].title, "注意！");
    EXPECT_TRUE(host.messages[0].text.starts_with("该图层没有CASS高程点的实体或者没有该图层，请检查！\n图中没有“ZH”图层"))
        << host.messages[0].text;
    EXPECT_EQ(ListFolder(project.request.outputFolder), std::vector<std::string>{"10-sections.dat"});
    EXPECT_EQ(ReadFile(earlier), "an earlier result\r\n");
    EXPECT_EQ(PipelineStopText(report), "一键生成停在“2、提取中桩桩号文字”，之后的步骤没有运行。\n输出文件夹保持原样。");
}

TEST(Pipeline, LabelsNoneOfWhichReadsAsAStationStopTheRunAfterTheStakes) {
    Project project;
    std::string drawing = RouteDrawing();
    for (std::size_t at; (at = drawing.find("K0+")) != std::string::npos;) drawing.erase(at, 3);  // "140"
    project.request.drawing = project.dir.Write("route.dxf", drawing);
    Session session;
    Settings settings;
    ScriptedHost host;
    const PipelineReport report = RunPipeline(host, session, settings, project.request);
    EXPECT_EQ(report.outcome, StepOutcome::Warned);
    ASSERT_EQ(report.stages.size(), 2u);
    ASSERT_NE(report.StoppingCaution(), nullptr);
    EXPECT_NE(report.StoppingCaution()->cause.find("--numeric-labels"), std::string::npos);

    settings.numericLabels = true;
    EXPECT_TRUE(RunPipeline(host, session, settings, project.request).Completed());
}

TEST(Pipeline, AFailureMovesNothingIntoTheFolder) {
    Project project;
    // A staging folder left by a run that was killed goes with the next run, and is named; a
    // folder of that name without the mark of a run's staging folder is not the run's to remove.
    const std::string abandoned = project.dir.File(".out.qorvel-2147483646");
    std::filesystem::create_directory(abandoned);
    project.dir.Write(".out.qorvel-2147483646/.qorvel-staging", "");
    project.dir.Write(".out.qorvel-2147483646/03-stakes.dat", "half a run");
    std::filesystem::create_directory(project.dir.File(".out.qorvel-2147483645"));
    // The stake of K0+120 has an elevation that is no number: the merge stops on it.
    project.request.points = project.dir.Write("points.dat", CrLf({"1,,500,300,10.5", "4,,520,300,high"}));
    Session session;
    Settings settings;
    ScriptedHost host;
    const PipelineReport report = RunPipeline(host, session, settings, project.request);
    EXPECT_EQ(report.outcome, StepOutcome::Failed);
    ASSERT_EQ(report.stages.size(), 2u);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("第 2 行"), std::string::npos) << host.failures[0];
    EXPECT_EQ(ListFolder(project.dir.path()), (std::vector<std::string>{".out.qorvel-2147483645", "points.dat", "route.dxf"}));
    EXPECT_EQ(report.removedStaging, std::vector<std::string>{abandoned});
    EXPECT_EQ(PipelineStopText(report),
              "一键生成停在“3、桩号文字与桩号坐标合并”，之后的步骤没有运行。\n"
              "已完成的 02-labels.dat 没有移入输出文件夹。\n输出文件夹保持原样。");
}

// What stands in the folder is treated as a single step treats its output: a folder or a
// read-only file where a result goes is refused before any step runs, a link is followed, a
// replaced file keeps its permissions.
TEST(Pipeline, WhatStandsInTheFolderIsTreatedAsByASingleStep) {
    namespace fs = std::filesystem;
    Project project;
    fs::create_directory(project.request.outputFolder);
    const std::string sections = project.dir.Write("out/10-sections.dat", "kept result\r\n");
    fs::permissions(sections, fs::perms::owner_read | fs::perms::group_read);
    Session session;
    Settings settings;
    ScriptedHost host;
    PipelineReport report = RunPipeline(host, session, settings, project.request);
    EXPECT_EQ(report.outcome, StepOutcome::Failed);
    EXPECT_TRUE(report.stages.empty());
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("10-sections.dat"), std::string::npos) << host.failures[0];
    EXPECT_NE(host.failures[0].find("只读"), std::string::npos) << host.failures[0];
    EXPECT_EQ(ReadFile(sections), "kept result\r\n");
    EXPECT_EQ(fs::status(sections).permissions() & fs::perms::owner_write, fs::perms::none);

    fs::permissions(sections, fs::perms::owner_write, fs::perm_options::add);
    fs::remove(sections);
    fs::create_directory(project.Out("12-check-sections.dat"));
    host.failures.clear();
    report = RunPipeline(host, session, settings, project.request);
    EXPECT_TRUE(report.stages.empty());
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("12-check-sections.dat"), std::string::npos) << host.failures[0];
    EXPECT_EQ(ListFolder(project.request.outputFolder), std::vector<std::string>{"12-check-sections.dat"});
    EXPECT_EQ(ListFolder(project.dir.path()), (std::vector<std::string>{"out", "points.dat", "route.dxf"}));

    // A result kept elsewhere and linked into the folder is written where the link leads.
    fs::remove(project.Out("12-check-sections.dat"));
    const std::string elsewhere = project.dir.Write("kept-sections.dat", "old\r\n");
    fs::permissions(elsewhere, fs::perms::owner_read | fs::perms::owner_write);
    const fs::perms permissions = fs::status(elsewhere).permissions();
    std::error_code noLinks;
    fs::create_symlink(elsewhere, project.Out("10-sections.dat"), noLinks);
    ASSERT_TRUE(RunPipeline(host, session, settings, project.request).Completed());
    if (!noLinks) {
        EXPECT_TRUE(fs::is_symlink(project.Out("10-sections.dat")));
        EXPECT_EQ(ReadFile(elsewhere), CrLf({"100", "5.00 10.10", "5.00 10.90", "120", "", "10.00 10.20"}));
    }
    EXPECT_EQ(fs::status(elsewhere).permissions(), permissions);
}

TEST(Pipeline, AnotherDrawingIsAttachedOnlyWhenItCanBeRead) {
    Project project;
    const std::string other = project.dir.Write(
        "other.dxf", Pairs({{0, "SECTION"}, {2, "ENTITIES"}}) + Line("x", "0", "0", "1", "1") + Pairs({{0, "ENDSEC"}, {0, "EOF"}}));
    Session session;
    Settings settings;
    session.drawing = AttachedDrawing::Load(other);
    ScriptedHost host;

    // A drawing that cannot be read: the one attached before stays.
    PipelineRequest missing = project.request;
    missing.drawing = project.dir.File("no such drawing.dxf");
    EXPECT_EQ(RunPipeline(host, session, settings, missing).outcome, StepOutcome::Failed);
    ASSERT_NE(session.drawing, nullptr);
    EXPECT_EQ(session.drawing->path(), other);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("no such drawing.dxf"), std::string::npos);

    // An empty label layer stops the run before the drawing is read: still the one before.
    PipelineRequest noLayer = project.request;
    noLayer.labelLayer.clear();
    EXPECT_EQ(RunPipeline(host, session, settings, noLayer).outcome, StepOutcome::Warned);
    EXPECT_EQ(session.drawing->path(), other);

    // The route drawing replaces it, and a second run keeps the drawing read by the first.
    ASSERT_TRUE(RunPipeline(host, session, settings, project.request).Completed());
    const std::shared_ptr<AttachedDrawing> attached = session.drawing;
    EXPECT_EQ(attached->path(), project.request.drawing);
    ASSERT_TRUE(RunPipeline(host, session, settings, project.request).Completed());
    EXPECT_EQ(session.drawing, attached);
    EXPECT_TRUE(host.dialogs.empty());
}

TEST(Pipeline, TheOutputFolderIsMadeOneLevelDeepAndNeverHoldsTheInputs) {
    Project project;
    Session session;
    Settings settings;
    ScriptedHost host;

    PipelineRequest deep = project.request;
    deep.outputFolder = project.dir.File("missing/out");
    EXPECT_EQ(RunPipeline(host, session, settings, deep).outcome, StepOutcome::Failed);
    EXPECT_TRUE(RunPipeline(host, session, settings, deep).stages.empty());
    ASSERT_FALSE(host.failures.empty());
    EXPECT_NE(host.failures[0].find("上一级文件夹"), std::string::npos) << host.failures[0];
    EXPECT_FALSE(FileExists(project.dir.File("missing")));
    EXPECT_EQ(PipelineStopText(RunPipeline(host, session, settings, deep)), "一键生成没有开始，没有写出任何文件。");

    host.failures.clear();
    PipelineRequest onAFile = project.request;
    onAFile.outputFolder = project.request.points;
    EXPECT_EQ(RunPipeline(host, session, settings, onAFile).outcome, StepOutcome::Failed);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("不是文件夹"), std::string::npos) << host.failures[0];

    // The detail point file where the run would write its centre stakes: refused, kept.
    host.failures.clear();
    PipelineRequest inside = project.request;
    inside.outputFolder = project.dir.path();
    inside.points = project.dir.Write("03-stakes.dat", kPoints);
    EXPECT_EQ(RunPipeline(host, session, settings, inside).outcome, StepOutcome::Failed);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("03-stakes.dat"), std::string::npos) << host.failures[0];
    EXPECT_EQ(ReadFile(inside.points), kPoints);
    EXPECT_FALSE(FileExists(project.dir.File("02-labels.dat")));

    // Sheets that could not be drawn stop the run before its first stage.
    host.failures.clear();
    PipelineRequest drawn = project.request;
    drawn.plotKind = "svg";
    Settings outOfRange = settings;
    outOfRange.exaggeration = 101;
    EXPECT_TRUE(RunPipeline(host, session, outOfRange, drawn).stages.empty());
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("竖向放大倍数"), std::string::npos) << host.failures[0];
    EXPECT_FALSE(FileExists(project.request.outputFolder));

    // A folder given with a final separator is made as well.
    PipelineRequest slash = project.request;
    slash.outputFolder = project.dir.File("new") + "/";
    EXPECT_TRUE(RunPipeline(host, session, settings, slash).Completed());
    EXPECT_TRUE(FileExists(project.dir.File("new/10-sections.dat")));
}

TEST(Pipeline, TheChecksProblemsAreListedAndShortened) {
    PipelineReport report;
    report.outcome = StepOutcome::Completed;
    StageReport stakes{StepId::StakeCheck, {}, "out/05-check-stakes.dat"};
    stakes.result.outcome = StepOutcome::Completed;
    stakes.result.summary = "x";
    using Subject = CheckProblem::Subject;
    stakes.result.problems = {{.reason = "缺少中桩", .subject = Subject::Label, .station = "K0+120 中桩,左"},
                              {.reason = "桩号无法识别", .subject = Subject::Label, .station = "ABC"}};
    StageReport lines{StepId::LineCheck, {}, "out/07-check-lines.dat"};
    lines.result.outcome = StepOutcome::Completed;
    lines.result.summary = "y";
    lines.result.problems = {{.reason = "缺少断面线", .subject = Subject::Stake, .station = "660"}};
    report.stages = {stakes, lines};

    EXPECT_EQ(CheckProblems(report),
              (std::vector<std::string>{"缺少中桩：K0+120 中桩,左", "桩号无法识别：ABC", "缺少断面线：中桩 660"}));
    EXPECT_EQ(PipelineSummaryText(report, 2),
              "05-check-stakes.dat：x\n07-check-lines.dat：y\n\n检查发现 3 个问题：\n"
              "缺少中桩：K0+120 中桩,左\n桩号无法识别：ABC\n"
              "……另有 1 个，详见 05-check-stakes.dat 和 07-check-lines.dat。");
}

}  // namespace
}  // namespace qorvel
