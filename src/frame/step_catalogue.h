#pragma once
// Every step once: its number, the toolbar key and command button the window gives it, its
// caption and tooltip, its icon, the command-line name, the files it reads by role (each with
// the dialog filter the window shows for it), the file it writes and that file's usual name in a
// result folder, and the settings it reads. The window's toolbar and buttons, the command line's
// subcommands and the stages of the run from drawing to result are all built from this table,
// so a new step is one entry here plus its own procedure.

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
};

// The icons of the toolbar (painted by the window).
enum class StepIcon {
    OpenDrawing,
    PolylineVertices,
    StationLabels,
    MergeStakes,
    SectionLineEnds,
    CheckStakes,
    MatchLines,
    CheckLines,
    AddCodes,
    GroupPoints,
    OutputSections,
    ProjectPoints,
    ViewSections,
};

struct StepDescription {
    StepId id;
    int number;                     // the step's number in the workflow; 0 for none
    std::string_view toolbarKey;    // e.g. "BT4"; empty for a step the toolbar does not offer
    std::string_view button;        // the command button, e.g. "Command6"; empty for none
    std::string_view caption;       // the button's caption, e.g. "3、桩号文字与桩号坐标合并"
    std::string_view tooltip;       // the toolbar button's tooltip
    StepIcon icon;
    std::string_view command;       // the command-line subcommand; empty for none
    std::string_view commandHelp;   // its description in the command line's help
    std::span<const FileSpec> inputs;  // in the order the step asks for them
    FileSpec output;                // role None: the step writes no file (attaching, viewing)
    std::string_view outputName;    // the output's usual name in a result folder, e.g. "03-stakes.dat"
    std::span<const SettingId> settings;
    StepProcedure run;

    bool Reads(FileRole role) const;
    bool Uses(SettingId setting) const;
};

// In the order of the numbered steps, after attaching a drawing.
std::span<const StepDescription> StepCatalogue();
const StepDescription& Describe(StepId id);

// Exact, case-sensitive look-ups; nullptr when nothing matches.
const StepDescription* FindStepByKey(std::string_view key);
const StepDescription* FindStepByButton(std::string_view button);
const StepDescription* FindStepByCommand(std::string_view command);
// The step writing files of `role`; nullptr for the two files the surveyor supplies.
const StepDescription* FindStepWriting(FileRole role);

}  // namespace qorvel
