#pragma once
// The sections as a LandXML 1.2 document, the exchange format of road-design and survey
// packages: the route as an alignment through the centre stakes, and each section as a cross
// section of the ground line along it.
//
// What a consumer relies on, and the document keeps: offsets are signed by the route (negative
// left of the alignment, facing increasing stations), as the alignment in the same document
// says; each station appears once in its CrossSects, and they run forward; every Line of the
// alignment starts at the station of its start stake, so a station lies at its stake however
// much the chords between stakes fall short of the chainage; every ground line holds two points
// or more. Written with our own small XML writer (results/xml_text.h), so names are escaped as
// XML wants on every platform the program is built for.

#include <span>
#include <string>
#include <string_view>

#include "core/output_text.h"
#include "results/section_record.h"
#include "route/route.h"

namespace qorvel {

// The moment of writing, as the document's `date` and `time` attributes give it.
struct LandXmlStamp {
    std::string date;  // 2024-05-01
    std::string time;  // 13:45:10
};
LandXmlStamp LandXmlStampNow();  // local time: the one place the document asks for the clock

// A cross section as the document holds it.
struct LandXmlSection {
    double chainage = 0;       // its `sta`
    std::string name;          // its `name`: the station as the other layouts write it, UTF-8
    double stakeElevation = 0;
    const SideList* left = nullptr;   // the route's left side, outwards from the stake
    const SideList* right = nullptr;
};

// The whole document: UTF-8, namespace http://www.landxml.org/schema/LandXML-1.2, metric
// units, this program as its Application, and one Alignment "路线" whose CoordGeom is the
// polyline through the route's stations in chainage order (a Line from each station to the
// next, its `staStart` the chainage of the first, each point "northing easting"); the
// alignment's `staStart` is the first station and its `length` ("0.000") the chainage from the
// first station to the last. Its CrossSects (left out when there is no section) hold one
// CrossSect per section in `sections`' order, which the caller gives in ascending chainage, one
// per chainage, each with two points or more: `sta` the chainage, `name`, and one
// CrossSectSurf "地面线" whose PntList2D holds the "offset elevation" pairs from the far left to
// the far right (ForEachPointLeftToRight, "0.000"), separated by single blanks. Chainages and
// coordinates are written in general number form; lines end in LF.
void WriteLandXmlDocument(const Route& route, std::span<const LandXmlSection> sections, const LandXmlStamp& stamp,
                          OutputText& output);

// `station` (GBK, as the other layouts write it) as a CrossSect's name: in UTF-8, failing the
// step at `chainage`'s line on text that is no GBK or holds a control character XML cannot.
std::string LandXmlStationName(const SourcedField& chainage, std::string_view station);

}  // namespace qorvel
