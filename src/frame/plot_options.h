#pragma once
// The settings as the section sheets take them (sheet size, scale, exaggeration), for the
// sheets step, the run and the viewer's export alike.

#include "frame/settings.h"
#include "plot/plot_sections.h"

namespace qorvel {

PlotOptions PlotOptionsOf(const Settings& settings);

}  // namespace qorvel
