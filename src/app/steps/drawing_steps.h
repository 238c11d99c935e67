#pragma once
// The steps that read the drawing: polyline vertices, station labels, section line ends, each
// in the step frame; and attaching another drawing (the toolbar's BT-DWG).

#include "app/step_frame.h"

namespace qorvel::steps {

StepOutcome ExtractPolylineVertices(StepHost& host, Session& session);  // step 1
StepOutcome ExtractStationLabels(StepHost& host, Session& session);     // step 2
StepOutcome ExtractSectionLines(StepHost& host, Session& session);      // step 4
// Asks for a DXF file and attaches it in place of the drawing attached before.
StepOutcome AttachDrawing(StepHost& host, Session& session);

}  // namespace qorvel::steps
