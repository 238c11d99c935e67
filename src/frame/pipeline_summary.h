#pragma once
// What a run from drawing to result tells the surveyor: one line per stage with its closing
// count, the problems the checks found, and, when the run stopped, how far it came.

#include <cstddef>
#include <string>
#include <vector>

#include "frame/pipeline.h"

namespace qorvel {

// "03-stakes.dat：本次共合成中桩坐标个数 53 个！": the file and the step's closing count.
std::string StageLine(const StageReport& report);

// The problems the checks found, in stage order: "缺少中桩：K0+340" for a station label,
// "缺少断面线：中桩 660" for a centre stake.
std::vector<std::string> CheckProblems(const PipelineReport& report);

// "输出文件夹中的 10-sections.csv 是以前生成的，不是本次的成果。"; empty when there is none.
std::string EarlierResultsText(const PipelineReport& report);

// "已删除以前被中断的一键生成留下的临时文件夹：…", naming each; empty when none was removed.
std::string RemovedStagingText(const PipelineReport& report);

// The closing message of a completed run: where the result is, each stage's line, the results
// an earlier run of another layout left in the folder, then the problems the checks found (at
// most `maxProblems`, and how many more there are).
std::string PipelineSummaryText(const PipelineReport& report, std::size_t maxProblems = 20);

// After a stop: the stage it stopped at (or after, when that stage's caution stopped it; the
// caution itself is the front end's to show), the stages that had completed (their files were
// not moved into the output folder), and that the output folder is as it was.
std::string PipelineStopText(const PipelineReport& report);

}  // namespace qorvel
