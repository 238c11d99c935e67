#pragma once
// The steps that read the drawing: polyline vertices, station labels, section line ends, each
// in the step frame; and attaching another drawing (the toolbar's BT-DWG).

#include "frame/step_frame.h"

namespace qorvel::steps {

StepResult ExtractPolylineVertices(StepHost& host, Session& session, const Settings& settings);  // step 1
StepResult ExtractStationLabels(StepHost& host, Session& session, const Settings& settings);     // step 2
StepResult ExtractSectionLines(StepHost& host, Session& session, const Settings& settings);      // step 4
// Asks for a DXF file and attaches it in place of the drawing attached before.
StepResult AttachDrawing(StepHost& host, Session& session, const Settings& settings);

}  // namespace qorvel::steps
