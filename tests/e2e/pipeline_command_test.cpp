// qorvel run on the example project: the files of the single steps, run one by one, in one go;
// a stop at the first step that does not complete, leaving the output folder as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "e2e/qorvel_runner.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace qorvel::testing {
namespace {

const std::string kExamples = std::string(QORVEL_SOURCE_DIR) + "/examples/";
const std::string kDrawing = kExamples + "route.dxf";
const std::string kPoints = kExamples + "points.dat";

struct SingleStep {
    std::string file;
    std::vector<std::string> arguments;  // without -o
};

// What a run with the usual settings leaves in its folder.
const std::vector<std::string> kFiles{"02-labels.dat",       "03-stakes.dat", "04-lines.dat",
                                      "05-check-stakes.dat", "06-matched.dat", "07-check-lines.dat",
                                      "09-members.dat",      "10-sections.dat", "12-check-sections.dat",
                                      "13-profile.dat"};

// The single commands in the order the run takes them, reading the files written before; the
// result named `result`, and with 纬地 HDM the ground long profile beside it.
std::vector<SingleStep> SingleSteps(const TempDir& dir, const std::vector<std::string>& resultOptions,
                                    const std::string& result) {
    const auto in = [&](const std::string& name) { return dir.File("single/" + name); };
    std::vector<std::string> sections{"sections", in("09-members.dat"), in("03-stakes.dat"), kPoints, in("06-matched.dat")};
    sections.insert(sections.end(), resultOptions.begin(), resultOptions.end());
    std::vector<std::string> check{"check-sections", in("09-members.dat"), in("03-stakes.dat"), kPoints,
                                   in("06-matched.dat")};
    for (std::size_t k = 0; k < resultOptions.size(); ++k) {  // all but the layout's own
        if (resultOptions[k] == "--format") ++k;
        else if (resultOptions[k] != "--negate-heights" && resultOptions[k] != "--blank-line")
            check.push_back(resultOptions[k]);
    }
    std::vector<SingleStep> steps{
        {"02-labels.dat", {"labels", kDrawing, "--layer", "zh"}},
        {"03-stakes.dat", {"stakes", in("02-labels.dat"), kPoints}},
        {"05-check-stakes.dat", {"check-stakes", in("02-labels.dat"), in("03-stakes.dat")}},
        {"04-lines.dat", {"lines", kDrawing, "--layer", "dmx"}},
        {"06-matched.dat", {"match", in("03-stakes.dat"), in("04-lines.dat")}},
        {"07-check-lines.dat", {"check-lines", in("03-stakes.dat"), in("06-matched.dat")}},
        {"09-members.dat", {"group", in("06-matched.dat"), kPoints}},
        {result, sections},
        {"12-check-sections.dat", check},
        {"13-profile.dat", {"profile", in("03-stakes.dat")}},
    };
    if (result.ends_with(".hdm")) steps.push_back({"10-sections.dmx", {"profile", in("03-stakes.dat")}});
    return steps;
}

void ExpectTheSameAsTheSingleSteps(const std::vector<std::string>& resultOptions,
                                   const std::string& result = "10-sections.dat") {
    TempDir dir;
    std::vector<std::string> arguments{"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx",
                                       "-o", dir.File("run")};
    arguments.insert(arguments.end(), resultOptions.begin(), resultOptions.end());
    const auto run = RunQorvel(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<SingleStep> steps = SingleSteps(dir, resultOptions, result);
    std::vector<std::string> files;
    for (const SingleStep& step : steps) files.push_back(step.file);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(ListFolder(dir.File("run")), files);

    std::filesystem::create_directory(dir.File("single"));
    std::string lines;
    for (SingleStep& step : steps) {
        SCOPED_TRACE(step.file);
        step.arguments.insert(step.arguments.end(), {"-o", dir.File("single/" + step.file)});
        const auto single = RunQorvel(step.arguments);
        ASSERT_EQ(single.exitCode, 0) << single.err;
        lines += step.file + "：" + single.out;
        EXPECT_EQ(ReadFile(dir.File("run/" + step.file)), ReadFile(dir.File("single/" + step.file)));
    }
    EXPECT_EQ(run.out, lines);
}

TEST(PipelineCommand, WritesWhatTheSingleStepsWriteOneByOne) {
    ExpectTheSameAsTheSingleSteps({});
    ExpectTheSameAsTheSingleSteps({"--format", "3", "--station-text", "--swap-sides", "--avoid", "2"});
    ExpectTheSameAsTheSingleSteps({"--format", "hdm", "--avoid", "0.5"}, "10-sections.hdm");
}

TEST(PipelineCommand, TheExampleShowsItsTwoSurveyedFaults) {
    TempDir dir;
    const auto run = RunQorvel({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", dir.File("out")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // 50 stations every 20 m from K0+000 to K1+000 and three odd ones; K0+340's stake was never
    // surveyed, K0+660's section line never drawn.
    EXPECT_EQ(run.out,
              "02-labels.dat：图中共有桩号文字信息 54 个！\n"
              "03-stakes.dat：本次共合成中桩坐标个数 53 个！\n"
              "05-check-stakes.dat：共检查桩号文字 54 个，有问题的 1 个！\n"
              "04-lines.dat：本项目共有：53 条横断面线\n"
              "06-matched.dat：本次桩号共匹配断面线：52 条！\n"
              "07-check-lines.dat：共检查中桩 53 个，缺少断面线 1 个，断面线重复 0 个！\n"
              "09-members.dat：本次完成添加归属点号的桩号有52个！\n"
              "10-sections.dat：共有断面数：52 条。\n"
              "12-check-sections.dat：共检查断面 52 个，发现问题 0 处！\n"
              "13-profile.dat：纵断面地面线：共有中桩 53 个。\n");
    const std::string missingStake = "\xC8\xB1\xC9\xD9\xD6\xD0\xD7\xAE,";        // 缺少中桩 in GBK
    const std::string missingLine = "\xC8\xB1\xC9\xD9\xB6\xCF\xC3\xE6\xCF\xDF,";  // 缺少断面线 in GBK
    const std::string stakeCheck = ReadFile(dir.File("out/05-check-stakes.dat"));
    EXPECT_TRUE(stakeCheck.starts_with(missingStake)) << stakeCheck;
    EXPECT_TRUE(stakeCheck.ends_with(",K0+340\r\n")) << stakeCheck;
    const std::string lineCheck = ReadFile(dir.File("out/07-check-lines.dat"));
    EXPECT_TRUE(lineCheck.starts_with(missingLine + "660,,")) << lineCheck;
    EXPECT_EQ(std::count(lineCheck.begin(), lineCheck.end(), '\n'), 1);
}

TEST(PipelineCommand, AMissingLayerStopsAtTheLabelsWithTheWarning) {
    TempDir dir;
    const auto run = RunQorvel({"run", kDrawing, kPoints, "--label-layer", "ZH", "--line-layer", "dmx", "-o", dir.File("out")});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "该图层没有CASS高程点的实体或者没有该图层，请检查！\n"
              "图中没有“ZH”图层（图层名区分大小写），图中的图层有：bt、dmx、zh、zxx。\n"
              "一键生成停在“2、提取中桩桩号文字”，之后的步骤没有运行。\n输出文件夹保持原样。\n");
    EXPECT_TRUE(ListFolder(dir.path()).empty());

    // The section lines on a layer of their own name: the run stops at them, and the files of
    // the three stages before are not moved in.
    const auto lines = RunQorvel({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "DMX", "-o", dir.File("out")});
    EXPECT_EQ(lines.exitCode, 3);
    EXPECT_TRUE(ListFolder(dir.path()).empty());
    EXPECT_NE(lines.err.find("图形中没有[DMX]图层"), std::string::npos) << lines.err;
    EXPECT_EQ(std::count(lines.out.begin(), lines.out.end(), '\n'), 3);
}

TEST(PipelineCommand, AFailureLeavesThePreviousResultAsItWas) {
    TempDir dir;
    const std::string out = dir.File("out");
    ASSERT_EQ(RunQorvel({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", out}).exitCode, 0);
    const std::string earlierResult = ReadFile(out + "/10-sections.dat");
    const std::string earlierLabels = ReadFile(out + "/02-labels.dat");

    // The stake of K0+000 (the first detail point) loses its elevation.
    std::string points = ReadFile(kPoints);
    points.replace(points.find("152.346"), 7, "152.3x6");
    const std::string badPoints = dir.Write("points.dat", points);
    const auto run = RunQorvel({"run", kDrawing, badPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "02-labels.dat：图中共有桩号文字信息 54 个！\n");
    EXPECT_TRUE(run.err.starts_with("错误：文件“" + badPoints + "”第 1 行，字段 4：")) << run.err;
    EXPECT_NE(run.err.find("一键生成停在“3、桩号文字与桩号坐标合并”，之后的步骤没有运行。\n"
                           "已完成的 02-labels.dat 没有移入输出文件夹。\n输出文件夹保持原样。\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFile(out + "/10-sections.dat"), earlierResult);
    EXPECT_EQ(ReadFile(out + "/02-labels.dat"), earlierLabels);
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"out", "points.dat"}));
}

TEST(PipelineCommand, TheOutputFolderAndTheOptions) {
    TempDir dir;
    const std::vector<std::string> base{"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunQorvel(arguments);
    };
    // One level is made, not two.
    const auto deep = with({"-o", dir.File("a/b")});
    EXPECT_EQ(deep.exitCode, 1);
    EXPECT_EQ(deep.out, "");
    EXPECT_TRUE(deep.err.starts_with("错误：无法创建输出文件夹“" + dir.File("a/b") + "”：上一级文件夹“")) << deep.err;
    EXPECT_FALSE(FileExists(dir.File("a")));

    // Tolerances are read strictly; a usage error runs nothing.
    EXPECT_EQ(with({"-o", dir.File("o"), "--match-tolerance", "0.01m"}).exitCode, 2);
    EXPECT_EQ(with({"-o", dir.File("o"), "--format", "6"}).exitCode, 2);
    EXPECT_EQ(with({"-o", dir.File("o"), "--tolerance", "0.05"}).exitCode, 2);  // which one?
    EXPECT_EQ(with({"-o", dir.File("o"), "--plot", "svg", "--scale", "1:0.5"}).exitCode, 2);
    EXPECT_EQ(RunQorvel({"run", kDrawing, kPoints, "--line-layer", "dmx", "-o", dir.File("o")}).exitCode, 2);
    EXPECT_FALSE(FileExists(dir.File("o")));

    // A stake tolerance too tight for every label: no stake. The stage's line, then its caution
    // naming the tolerance, and the run stops there, saying so (exit 3, nothing moved in).
    const auto tight = with({"-o", dir.File("t"), "--stake-tolerance", "1e-9"});
    EXPECT_EQ(tight.exitCode, 3);
    EXPECT_EQ(tight.out, "02-labels.dat：图中共有桩号文字信息 54 个！\n03-stakes.dat：本次共合成中桩坐标个数 0 个！\n");
    EXPECT_TRUE(tight.err.starts_with("注意：没有一个桩号文字在允许偏差内找到中桩点：")) << tight.err;
    EXPECT_NE(tight.err.find("（0.000000001 米）太小。\n一键生成在“3、桩号文字与桩号坐标合并”之后停止："), std::string::npos)
        << tight.err;
    EXPECT_FALSE(FileExists(dir.File("t")));
}

// The values of an attribute of the SVG texts whose content starts as given.
std::vector<std::string> TextAttributes(const std::string& svg, const std::string& attribute, const std::string& start) {
    std::vector<std::string> values;
    for (std::size_t at = svg.find("<text "); at != std::string::npos; at = svg.find("<text ", at + 1)) {
        const std::size_t close = svg.find('>', at);
        if (svg.compare(close + 1, start.size(), start) != 0) continue;
        const std::size_t value = svg.find(" " + attribute + "=\"", at) + attribute.size() + 3;
        values.push_back(svg.substr(value, svg.find('"', value) - value));
    }
    return values;
}

TEST(PipelineCommand, TheExampleDrawnOnSheetsAsADesignOfficeTakesThem) {
    TempDir dir;
    const auto run = [&](const std::string& folder, std::vector<std::string> more) {
        std::vector<std::string> arguments{"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx",
                                           "-o", dir.File(folder), "--project", "示例公路", "--road", "主线",
                                           "--drawing-number", "S4-1"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        const ProcessResult result = RunQorvel(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result;
    };
#ifdef QORVEL_PDFTOTEXT
    run("pdf", {"--plot", "pdf"});
    const ProcessResult text = RunProcess(QORVEL_PDFTOTEXT, {"-f", "2", "-l", "2", dir.File("pdf/10-sections.pdf"), "-"});
    for (const char* expected : {"K0+120", "K0+123.45", "154.845", "距离", "高程", "示例公路", "主线", "横断面图", "横向 1:200",
                                 "纵向 1:200", "设计", "复核", "审核", "S4-1-2", "第 2 张 共"})
        EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
#endif

    // At 1:500 a sheet holds several columns, the stakes of each on one vertical.
    run("svg", {"--plot", "svg", "--scale", "1:500"});
    const std::string page = ReadFile(dir.File("svg/10-sections-sheets/sheet-001.svg"));
    std::vector<std::string> stakes = TextAttributes(page, "x", "K0+");
    const std::size_t sections = stakes.size();
    std::sort(stakes.begin(), stakes.end());
    stakes.erase(std::unique(stakes.begin(), stakes.end()), stakes.end());
    EXPECT_GT(stakes.size(), 1u);
    EXPECT_LT(stakes.size(), sections);

    // DXF in metres, or in millimetres of paper on request.
    run("dxf", {"--plot", "dxf"});
    EXPECT_NE(ReadFile(dir.File("dxf/10-sections.dxf")).find("$INSUNITS\r\n70\r\n6\r\n"), std::string::npos);
    run("mm", {"--plot", "dxf", "--dxf-units", "mm"});
    EXPECT_NE(ReadFile(dir.File("mm/10-sections.dxf")).find("$INSUNITS\r\n70\r\n4\r\n"), std::string::npos);
}

// Chinese names, and a character that GBK cannot hold, in every path of the run: the same files
// as in a folder of plain letters; a message names the path as it was typed.
TEST(PipelineCommand, FoldersNamedInChineseAndBeyondGbk) {
    TempDir dir;
    const std::string project = dir.File("测试 \xF0\xA0\x80\x80");  // U+20000 has no GBK code
    std::filesystem::create_directory(platform::PathFromUtf8(project));
    WriteFile(project + "/路线.dxf", ReadFile(kDrawing));
    WriteFile(project + "/碎步点.dat", ReadFile(kPoints));
    const auto plain = RunQorvel({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", dir.File("plain")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const auto run = RunQorvel({"run", project + "/路线.dxf", project + "/碎步点.dat", "--label-layer", "zh", "--line-layer",
                                "dmx", "-o", project + "/成果"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, plain.out);
    EXPECT_EQ(ListFolder(project + "/成果"), kFiles);
    for (const std::string& file : kFiles) EXPECT_EQ(ReadFile(project + "/成果/" + file), ReadFile(dir.File("plain/" + file))) << file;

    const auto missing = RunQorvel({"stakes", project + "/成果/02-labels.dat", project + "/无此文件.dat", "-o", project + "/x.dat"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "错误：文件“" + project + "/无此文件.dat”：文件不存在\n");
}

// The output folder was replaced, but the lines could not be printed: neither a success nor a
// failure (which leaves the folder as it was).
TEST(PipelineCommand, ASummaryThatCannotBePrintedAfterTheFolderWasReplacedExitsWithFour) {
    TempDir dir;
    const auto run = RunQorvelUnread({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", dir.File("out")});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.err, "错误：无法写出到标准输出（管道已关闭或磁盘已满）；输出文件已经写好，只是摘要没有打印出来\n");
    EXPECT_EQ(ListFolder(dir.File("out")), kFiles);
}

// A run under way into a folder holding an earlier result, waiting for its detail points (a pipe
// that brings nothing): its labels are staged, nothing of it is in the folder yet.
struct RunUnderWay {
    TempDir dir;
    std::string out = dir.File("out");
    std::string earlier;
    std::unique_ptr<platform::ChildProcess> run;
    RunUnderWay() {
        EXPECT_EQ(RunQorvel({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", out}).exitCode, 0);
        earlier = ReadFile(out + "/10-sections.dat");
        platform::ChildOptions options;
        options.heldInput = true;
        run = std::make_unique<platform::ChildProcess>(
            QORVEL_BINARY,
            std::vector<std::string>{"run", kDrawing, platform::ChildProcess::HeldInputPath(), "--label-layer", "zh",
                                     "--line-layer", "dmx", "--format", "2", "-o", out},
            options);
        EXPECT_TRUE(run->WaitForOutput("02-labels.dat："));
    }
};

// Ctrl+C in the middle of a run: the folder holds the previous result, and neither the staging
// folder nor the lock stays behind.
TEST(PipelineCommand, AnInterruptedRunLeavesThePreviousResultAndNothingBeside) {
    RunUnderWay underWay;
    if (!underWay.run->Interrupt()) GTEST_SKIP() << "no console to send Ctrl+Break through";
    const platform::ProcessOutcome outcome = underWay.run->Wait();
    EXPECT_EQ(outcome.exitCode, platform::InterruptedExitCode()) << outcome.err;
    EXPECT_EQ(ReadFile(underWay.out + "/10-sections.dat"), underWay.earlier);
    EXPECT_EQ(ListFolder(underWay.dir.path()), std::vector<std::string>{"out"});
    EXPECT_EQ(ListFolder(underWay.out), kFiles);
}

// While a run holds the folder a second run into it is refused. A run killed outright keeps the
// previous result; the next run into the folder is not locked out, and removes the staging
// folder the killed one left, naming it.
TEST(PipelineCommand, AKilledRunLeavesThePreviousResultAndTheNextRunTidiesUp) {
    RunUnderWay underWay;
    const auto second = RunQorvel({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", underWay.out});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.err.find("正由另一次一键生成使用"), std::string::npos) << second.err;
    underWay.run->Kill();
    underWay.run->Wait();
    EXPECT_EQ(ReadFile(underWay.out + "/10-sections.dat"), underWay.earlier);
    // Beside the folder: the killed run's staging folder (and on POSIX systems its lock file,
    // which the system has released).
    std::string staging;
    for (const std::string& name : ListFolder(underWay.dir.path()))
        if (name != "out" && name != ".out.qorvel-lock") staging = underWay.dir.File(name);
    ASSERT_FALSE(staging.empty());
    const auto next = RunQorvel({"run", kDrawing, kPoints, "--label-layer", "zh", "--line-layer", "dmx", "-o", underWay.out});
    EXPECT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(next.err, "注意：已删除以前被中断的一键生成留下的临时文件夹：" + staging + "\n");
    EXPECT_EQ(ListFolder(underWay.dir.path()), std::vector<std::string>{"out"});
}

}  // namespace
}  // namespace qorvel::testing
