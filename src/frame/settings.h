#pragma once
// What the steps read from the window or the command line when they run, as one value: the
// tolerances (metres), the switches, the drawing layer and the result layout. A front end reads
// its boxes into a Settings when a step starts and hands that value to the run; nothing a step
// does changes it. The start values are those a new installation shows.

#include <span>
#include <string>
#include <string_view>

namespace qorvel {

struct Settings {
    // Tolerances.
    double stakeTolerance = 0.05;  // label insertion point to surveyed stake (step 3)
    double matchTolerance = 0.01;  // stake to section line (step 6)
    double groupTolerance = 0.05;  // detail point to section line (steps 9 and 11)
    double avoidDistance = 0.08;   // points this close to the stake stay out of a section (step 10)
    double codeTolerance = 0.01;   // detail point to section line segment (step 8)

    // Switches.
    bool numericLabels = false;  // "图上里程为数值": labels may be plain chainages
    bool swapSides = false;      // "幅别颠倒生成": the second side is written first
    bool negateHeights = false;  // "变换高差正负号": height differences change sign
    bool stationText = false;    // "转换为字符型桩号": chainages written as station text
    bool blankLine = false;      // "断面桩号隔一行生成": a line holding one blank before each section
    bool routeSides = false;     // "按路线前进方向区分左右": the first side is the route's left
    // The sides as drawn were asked for by name (`--sides drawn`): a usage error with a layout
    // whose sides always follow the route.
    bool drawnSidesNamed = false;

    std::string layerName = "dmx";  // the drawing layer a drawing step reads ("指定图层-")
    std::string layout = "1";       // the result layout by its id (frame/result_layouts.h)
    // The layout of a section file converted (格式转换), by its id; empty: the one its content
    // shows (格式 1 to 格式 5 cannot be told apart and must be named).
    std::string sourceLayout;
    // The surveyor's code page, for the texts of drawings that do not name theirs: a name of
    // DrawingCodePages() (frame/drawing_code_pages.h).
    std::string codePage = "ANSI_936";

    // The section check.
    double spikeHeight = 2.0;  // a point this much above or below both neighbours is a spike
    double gapDistance = 30;   // consecutive points of a side farther apart leave a gap
    double skewAngle = 15;     // a section line farther from square to the route is skewed

    // Section sheets.
    std::string sheetSize = "A3";  // A3 (landscape), A4 or A1
    double sheetScale = 200;       // horizontal scale 1:sheetScale
    double exaggeration = 1;       // vertical scale over horizontal
    std::string sheetProject;      // 项目名称 and 路线名称 of the title block, UTF-8; may be empty
    std::string sheetRoad;
    std::string drawingNumber;     // 图号; each sheet's number is appended
    std::string dxfUnits = "m";    // DXF sheets drawn in metres of ground ("m") or millimetres of paper ("mm")
};

// The settings a step may read, for the catalogue and for the front ends that offer them.
enum class SettingId {
    StakeTolerance,
    MatchTolerance,
    GroupTolerance,
    AvoidDistance,
    CodeTolerance,
    NumericLabels,
    SectionSides,   // which side is written first: swapSides, routeSides; and stationText
    ResultLayout,   // the layout, negateHeights and blankLine
    SectionChecks,  // spikeHeight, gapDistance, skewAngle
    SheetOptions,   // sheetSize, sheetScale, exaggeration, the title block's texts, dxfUnits
    LayerName,
    ConversionLayouts,  // the layout a converted file is read in (sourceLayout), the layout it is written in
    CodePage,
};

// A tolerance as both front ends offer it: the settings dialog's caption and box, the option
// of a single step (always --tolerance, or --avoid) and of the whole run.
struct ToleranceSetting {
    SettingId id;
    double Settings::*value;
    std::string_view caption;   // the settings dialog's caption beside its box
    std::string_view stepFlag;  // on a single step's command line
    std::string_view runFlag;   // on `run`'s command line; empty when `run` has no such step
    std::string_view help;      // the command line's help text
};

// In the settings dialog's order (its boxes Text1 to Text5).
std::span<const ToleranceSetting> ToleranceSettings();
const ToleranceSetting* FindToleranceSetting(SettingId id);

// Settings that do not go together: a switch the chosen layout has no use for, a layout, a
// sheet size or a code page nobody knows. The reason, or nothing.
std::string SettingsConflict(const Settings& settings);
// The extension of the result file in the chosen layout (".dat", ".csv", ".xml").
std::string_view ResultExtension(const Settings& settings);

}  // namespace qorvel
