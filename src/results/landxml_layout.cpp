#include "results/landxml_layout.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/text_encoding.h"
#include "platform/local_time.h"
#include "results/section_layout.h"
#include "results/xml_text.h"

namespace qorvel {

namespace {

constexpr const char* kNamespace = "http://www.landxml.org/schema/LandXML-1.2";

std::string northingEasting(PlanePoint point) { return FormatGeneral(point.north) + " " + FormatGeneral(point.east); }

}  // namespace

LandXmlStamp LandXmlStampNow() {
    const platform::LocalTime now = platform::LocalTimeNow();
    char date[16];
    char time[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", now.year, now.month, now.day);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.hour, now.minute, now.second);
    return {date, time};
}

std::string LandXmlStationName(const SourcedField& chainage, std::string_view station) {
    std::optional<std::string> utf8 = GbkToUtf8(station);
    if (!utf8) chainage.Fail("不是 GBK 文字，无法转换为 UTF-8：“" + DisplayText(station) + "”");
    if (!XmlCanHold(*utf8)) chainage.Fail("桩号中有 XML 不能表示的控制字符：“" + DisplayText(station) + "”");
    return *std::move(utf8);
}

void WriteLandXmlDocument(const Route& route, std::span<const LandXmlSection> sections, const LandXmlStamp& stamp,
                          OutputText& output) {
    std::string text;
    XmlWriter xml(text);
    xml.Open("LandXML", {{"xmlns", kNamespace}, {"version", "1.2"}, {"date", stamp.date}, {"time", stamp.time}});
    xml.Open("Units");
    xml.Empty("Metric", {{"linearUnit", "meter"},
                         {"areaUnit", "squareMeter"},
                         {"volumeUnit", "cubicMeter"},
                         {"temperatureUnit", "celsius"},
                         {"pressureUnit", "milliBars"},
                         {"angularUnit", "decimal degrees"},
                         {"directionUnit", "decimal degrees"}});
    xml.Close();
    xml.Empty("Application", {{"name", "QORVEL"}, {"version", QORVEL_VERSION}});

    const std::span<const RouteStation> stations = route.stations();
    const double start = stations.empty() ? 0.0 : stations.front().chainage;
    const double length = stations.empty() ? 0.0 : stations.back().chainage - start;
    if (!std::isfinite(length)) FailNumberTooLarge({route.Chainage(stations.front()), route.Chainage(stations.back())}, "桩号");
    xml.Open("Alignments");
    xml.Open("Alignment", {{"name", "路线"}, {"length", FormatFixed(length, 3)}, {"staStart", FormatGeneral(start)}});
    xml.Open("CoordGeom");
    for (std::size_t k = 1; k < stations.size(); ++k) {
        xml.Open("Line", {{"staStart", FormatGeneral(stations[k - 1].chainage)}});
        xml.Text("Start", northingEasting(stations[k - 1].position));
        xml.Text("End", northingEasting(stations[k].position));
        xml.Close();
    }
    xml.Close();

    if (!sections.empty()) {
        xml.Open("CrossSects");
        std::string points;
        for (const LandXmlSection& section : sections) {
            xml.Open("CrossSect", {{"sta", FormatGeneral(section.chainage)}, {"name", section.name}});
            xml.Open("CrossSectSurf", {{"name", "地面线"}});
            points.clear();
            ForEachPointLeftToRight(*section.left, *section.right, section.stakeElevation,
                                    [&](double offset, double elevation, std::string_view) {
                                        if (!points.empty()) points += ' ';
                                        AppendFixed(points, offset, 3);
                                        points += ' ';
                                        AppendFixed(points, elevation, 3);
                                    });
            xml.Text("PntList2D", points);
            xml.Close();
            xml.Close();
        }
        xml.Close();
    }
    xml.Close();
    xml.Close();
    xml.Close();

    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n';
    output.AppendLines(text, lines);
}

}  // namespace qorvel
