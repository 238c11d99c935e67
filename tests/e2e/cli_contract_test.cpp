// The command-line contract: exit codes, the one summary line on stdout, errors on stderr, and
// an output file that is either complete or untouched.

#include <gtest/gtest.h>

#include <sstream>
#include <string_view>

#include "e2e/qorvel_runner.h"

namespace qorvel::testing {
namespace {

class CliContract : public ::testing::Test {
protected:
    TempDir dir;
    std::string labels = dir.Write("labels.dat", "1,,1000.000,2000.000,0.000,K1+200\r\n");
    std::string points = dir.Write("points.dat", "1,,999.750,2000.375,12.3\r\n");
};

TEST_F(CliContract, CompletedStepPrintsItsSummaryLine) {
    const auto run = RunQorvel({"stakes", labels, points, "-o", dir.File("stakes.dat")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "本次共合成中桩坐标个数 1 个！\n");
    EXPECT_EQ(run.err, "");  // no progress when stderr is not a terminal
    EXPECT_EQ(ReadFile(dir.File("stakes.dat")), "1200,,999.750,2000.375,12.300\r\n");
}

TEST_F(CliContract, FailedStepLeavesTheOutputUntouched) {
    const std::string output = dir.Write("stakes.dat", "keep me");
    const std::string bad = dir.Write("bad.dat", "1,,1000.000,2000.000,0.000,K1+200\r\n2,,1x,2,0,K1+220\r\n");
    const auto run = RunQorvel({"stakes", bad, points, "-o", output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "错误：文件“" + bad + "”第 2 行，字段 2：不是数字：“1x”\n");
    EXPECT_EQ(ReadFile(output), "keep me");
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"bad.dat", "labels.dat", "points.dat", "stakes.dat"}));
}

TEST_F(CliContract, UnreadableInputsAndUnwritableOutputs) {
    const auto missing = RunQorvel({"stakes", dir.File("nope.dat"), points, "-o", dir.File("out.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "错误：文件“" + dir.File("nope.dat") + "”：文件不存在\n");

    const auto folder = RunQorvel({"stakes", dir.path(), points, "-o", dir.File("out.dat")});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_NE(folder.err.find("这是一个文件夹，不是文件"), std::string::npos);

    const auto noFolder = RunQorvel({"stakes", labels, points, "-o", dir.File("no/out.dat")});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_NE(noFolder.err.find("保存位置的文件夹不存在"), std::string::npos);

    const auto toFolder = RunQorvel({"stakes", labels, points, "-o", dir.path()});
    EXPECT_EQ(toFolder.exitCode, 1);
    EXPECT_FALSE(FileExists(dir.File("out.dat")));
}

// The columns a terminal gives a line of help: two for each Chinese character.
std::size_t Columns(std::string_view text) {
    std::size_t columns = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) ++columns;
        else if (byte >= 0xE0) columns += 2;  // the lead byte of a three-byte (wide) character
    }
    return columns;
}

TEST_F(CliContract, UsageErrorsExitWithTwoInChinese) {
    const std::string o = dir.File("o.dat");
    const auto usage = [](const std::vector<std::string>& arguments) {
        const ProcessResult run = RunQorvel(arguments);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.out, "");
        return run.err;
    };
    const auto firstLine = [&](const std::vector<std::string>& arguments) {
        const std::string err = usage(arguments);
        return err.substr(0, err.find('\n'));
    };
    EXPECT_EQ(usage({}), "错误：缺少子命令\n运行“qorvel --help”查看用法。\n");
    EXPECT_EQ(usage({"Stakes", labels, points, "-o", o}), "错误：没有子命令“Stakes”\n运行“qorvel --help”查看用法。\n");
    EXPECT_EQ(usage({"stakes", labels, points}), "错误：缺少选项 --output：结果文件\n运行“qorvel stakes --help”查看用法。\n");
    EXPECT_EQ(usage({"stakes", labels, "-o", o}), "错误：缺少参数 POINTS：碎步点文件\n运行“qorvel stakes --help”查看用法。\n");
    EXPECT_EQ(firstLine({"run", labels, points, "-o", o, "--line-layer", "dmx"}),
              "错误：缺少选项 --label-layer：中桩桩号文字所在图层（区分大小写）");
    EXPECT_EQ(firstLine({"stakes", labels, points, "-o", o, "--tolerance", "0.05m"}),
              "错误：选项 --tolerance：不是数字：0.05m");
    EXPECT_EQ(firstLine({"stakes", labels, points, "extra", "-o", o}), "错误：多出的参数：“extra”");
    EXPECT_EQ(firstLine({"stakes", labels, points, "-o"}), "错误：选项 --output 后缺少它的值");
    EXPECT_EQ(firstLine({"sections", labels, points, points, "-o", o, "--swap-sides=maybe"}),
              "错误：选项 --swap-sides 的值无法识别（开关后不带值）");
    EXPECT_EQ(firstLine({"sections", labels, points, points, "-o", o, "--format", "6"}),
              "错误：选项 --format：“6”不是可选的值（可选：1、2、3、4、5、begin、csv、landxml、hdm）");
    EXPECT_FALSE(FileExists(o));

    const auto version = RunQorvel({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "QORVEL 5.0\n");

    // Help in Chinese, its descriptions in one column however wide the names' characters are.
    for (const std::vector<std::string>& asked : std::vector<std::vector<std::string>>{{"--help"}, {"run", "--help"}}) {
        const auto help = RunQorvel(asked);
        EXPECT_EQ(help.exitCode, 0);
        for (const char* english : {"Usage", "Options", "Positionals", "Subcommands", "Print this", "TEXT", "REQUIRED"})
            EXPECT_EQ(help.out.find(english), std::string::npos) << english;
        std::istringstream lines(help.out);
        int described = 0;
        for (std::string line; std::getline(lines, line);) {
            const std::size_t gap = line.find("  ", 2);
            if (!line.starts_with("  ") || line[2] == ' ' || gap == std::string::npos) continue;
            const std::size_t description = line.find_first_not_of(' ', gap);
            EXPECT_EQ(Columns(line.substr(0, description)), 30u) << line;
            ++described;
        }
        EXPECT_GT(described, 5);
    }
    const auto projection = RunQorvel({"project-points", "--help"});
    EXPECT_NE(projection.out.find("--tolerance 米              计算横断面线上的点时"), std::string::npos) << projection.out;
}

}  // namespace
}  // namespace qorvel::testing
