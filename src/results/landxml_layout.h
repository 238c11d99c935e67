#pragma once
// The sections as a LandXML 1.2 document, the exchange format of road-design and survey
// packages: the route as an alignment through the centre stakes, and each section as a cross
// section of the ground line along it. Written with pugixml, a maintained XML library, so that
// names and texts are always escaped as XML wants.

#include <span>
#include <string>

#include "core/output_text.h"
#include "results/built_section.h"
#include "results/section_layout.h"
#include "route/route.h"

namespace qorvel {

// The moment of writing, as the document's `date` and `time` attributes give it.
struct LandXmlStamp {
    std::string date;  // 2024-05-01
    std::string time;  // 13:45:10
};
LandXmlStamp LandXmlStampNow();  // local time

// The whole document: UTF-8, namespace http://www.landxml.org/schema/LandXML-1.2, metric
// units, this program as its Application, and one Alignment whose CoordGeom is the polyline
// through the route's stations in chainage order (a Line from each station to the next, each
// point "northing easting"), `staStart` the first station, `length` the polyline's length
// ("0.000"). Its CrossSects hold one CrossSect per section in `sections`' order, `sta` the
// chainage's value and `name` the station text (SectionStationText, in UTF-8), with one
// CrossSectSurf "地面线" whose PntList2D holds the "offset elevation" pairs from the far left
// to the far right (ForEachPointLeftToRight, "0.000"), separated by single blanks. Chainages,
// stations and coordinates are written in general number form.
//
// A section whose chainage is no number fails the step naming its line (LandXML stations are
// numbers), as does a station text that is no GBK.
void WriteLandXmlDocument(const Route& route, std::span<const BuiltSection> sections,
                          const SectionLayoutSettings& settings, const LandXmlStamp& stamp, OutputText& output);

// Fails the step unless the section's chainage is a number.
void RequireLandXmlStation(const BuiltSection& section);

}  // namespace qorvel
