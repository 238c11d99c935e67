#pragma once
// Every step once: its number, its caption, the command-line name, the files it reads by role
// (each with the dialog filter the window shows for it), the file it writes and that file's
// usual name in a result folder, the settings it reads, its place in the run from drawing to
// result, and what it computes. The window's buttons, the command line's subcommands, the
// browser's steps and the stages of the run are all built from this table, so a new step is
// one entry here (with its id) plus its computation over its files (frame/step_computation.h).
// How the window shows a step (toolbar key, icon, button) is the window's own table.
#include <optional>
#include <span>
#include <string_view>

#include "frame/settings.h"
#include "frame/step_result.h"

namespace qorvel {

enum class StepId {
    AttachDrawing,
    PolylineVertices,  // 1
    StationLabels,     // 2
    CentreStakes,      // 3
    SectionLines,      // 4
    StakeCheck,        // 5
    LineMatch,         // 6
    LineCheck,         // 7
    PointCodes,        // 8
    Membership,        // 9
    SectionResults,    // 10
    PointProjection,   // 11
    SectionCheck,      // 12
    SectionSheets,     // the sections drawn on sheets
    GroundProfile,     // 纵断面地面线: the centre stakes' chainages and elevations
    ConvertSections,   // 格式转换: a section result file written in another layout
    SectionViewer,     // 查看断面: the sections opened in the viewer window
};

// The files of the pipeline by what they hold.
enum class FileRole {
    None,
    Drawing,           // the route drawing (DXF)
    DetailPoints,      // the survey's detail point file
    PolylineVertices,  // step 1
    StationLabels,     // step 2
    CentreStakes,      // step 3
    SectionLines,      // step 4
    StakeCheckReport,  // step 5
    MatchedLines,      // step 6
    LineCheckReport,   // step 7
    CodedPoints,       // step 8
    Membership,        // step 9
    SectionResults,    // step 10
    ProjectedPoints,   // step 11
    SectionCheckReport,  // step 12
    SectionSheets,       // PDF, SVG or DXF sheets
    GroundProfile,       // DMX, CSV or DAT ground long profile
    ConvertedSections,   // a section result file in the layout it was converted to
};

// What the file of a role is called when a front end asks for it ("碎步点文件"), and the name
// of its positional argument on the command line ("POINTS").
std::string_view RoleName(FileRole role);
std::string_view RoleArgument(FileRole role);

// A file a step reads or writes: its role and the filter of the dialog that asks for it
// ("description|pattern"; steps describe one role in their own words).
struct FileSpec {
    FileRole role = FileRole::None;
    std::string_view filter;
    // A file the step reads only when it is given (on the command line an option named after
    // the role, "--stakes"); the step asks for it, and goes on without it when none is given.
    bool optional = false;
};

class StepInputs;
struct StepReport;
// A file step's computation: its inputs read, by role; what it found handed back (see
// frame/step_computation.h). The frame asks for the files, writes the output and shows the
// closing message.
using StepComputation = StepReport (*)(StepInputs& inputs);

struct StepDescription {
    StepId id{};
    int number = 0;                      // the step's number in the workflow; 0 for none
    std::string_view caption{};          // e.g. "3、桩号文字与桩号坐标合并"
    std::string_view command{};          // the command-line subcommand; empty for none
    std::string_view commandHelp{};      // its description in the command line's help
    std::span<const FileSpec> inputs{};  // in the order the step asks for them
    FileSpec output{};                   // role None: the step writes no file (attaching, viewing)
    std::string_view outputName{};       // the output's usual name in a result folder, "03-stakes.dat"
    std::span<const SettingId> settings{};
    // The command line's words for the step's tolerance, where the setting's own words tell of
    // the step it belongs to (step 11 reads step 9's); empty for the setting's.
    std::string_view toleranceHelp{};
    // Its place in the run from drawing to result, from 1; 0 when the run leaves it out. The
    // sheets join the run only when it is asked to draw them.
    int runOrder = 0;
    // What the step computes from its files: the frame runs it (RunComputedStep) ...
    StepComputation compute = nullptr;
    // ... or, for a step that works on the drawing or with the window, its own procedure.
    StepProcedure procedure = nullptr;

    // Runs the step with `host` as its front end.
    StepResult Run(StepHost& host, Session& session, const Settings& settings) const;
    bool Reads(FileRole role) const;
    bool Uses(SettingId setting) const;
};

// In the order of the numbered steps, after attaching a drawing.
std::span<const StepDescription> StepCatalogue();
// The steps of the run from drawing to result, in the order they run (the sheets last).
std::span<const StepDescription* const> RunSteps();
const StepDescription& Describe(StepId id);

// Exact, case-sensitive look-up; nullptr when nothing matches.
const StepDescription* FindStepByCommand(std::string_view command);
// The step writing files of `role`; nullptr for the two files the surveyor supplies.
const StepDescription* FindStepWriting(FileRole role);

}  // namespace qorvel
