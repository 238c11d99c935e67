#pragma once
// The settings as the section sheets take them (sheet size, scale, exaggeration), for the
// sheets step, the run and the viewer's export alike.

#include <string>

#include "frame/settings.h"
#include "plot/plot_sections.h"

namespace qorvel {

PlotOptions PlotOptionsOf(const Settings& settings);

// The ranges of the sheet options, one reading for every front end: the command line refuses a
// value out of range as a usage error, the window and the browser before they start a plot or a
// run that draws. Why the value cannot be drawn with, empty when it can.
std::string SheetScaleProblem(double scale);          // 1:N
std::string ExaggerationProblem(double exaggeration);
// The sheet's name, the scale and the exaggeration of `settings`.
std::string SheetOptionsProblem(const Settings& settings);

}  // namespace qorvel
