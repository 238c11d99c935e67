#pragma once
// What the steps read from the window when they run: the tolerances of the settings dialog
// (metres; in force once confirmed with "确定"), its switches, and the two boxes of the main
// window (the layer name and the result layout).

#include <string>

namespace qorvel {

struct Settings {
    // Tolerances, with the values they have when the program starts.
    double StakeTextTolerance = 0.05;  // label insertion point to surveyed stake (step 3)
    double LineMatchTolerance = 0.01;  // stake to section line (step 6)
    double GroupTolerance = 0.05;      // detail point to section line (steps 9 and 11)
    double StakeAvoidDistance = 0.08;  // points this close to the stake stay out of a section (step 10)
    double CodePointTolerance = 0.01;  // detail point to section line segment (step 8)

    // Switches.
    bool Option2 = false;  // "图上里程为数值": labels may be plain chainages
    bool Check1 = false;   // "幅别颠倒生成": the second side is written first
    bool Check2 = false;   // "变换高差正负号": height differences change sign
    bool Check3 = false;   // "转换为字符型桩号": chainages written as station text
    bool Check4 = false;   // "断面桩号隔一行生成": a line holding one blank before each section

    // The main window's boxes.
    std::string LayerName = "dmx";      // "指定图层-"
    std::string LayoutName = "格式 1";  // the result layout
};

}  // namespace qorvel
