#include "results/landxml_layout.h"

#include <cmath>
#include <ctime>
#include <optional>
#include <sstream>

#include <pugixml.hpp>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/text_encoding.h"

namespace qorvel {

namespace {

constexpr const char* kNamespace = "http://www.landxml.org/schema/LandXML-1.2";

std::string utf8Station(const BuiltSection& section, bool stationText) {
    const std::string station = SectionStationText(*section.record, stationText);
    std::optional<std::string> utf8 = GbkToUtf8(station);
    if (!utf8) section.record->chainage.Fail("不是 GBK 文字，无法转换为 UTF-8：“" + DisplayText(station) + "”");
    return *std::move(utf8);
}

std::string northingEasting(PlanePoint point) { return FormatGeneral(point.north) + " " + FormatGeneral(point.east); }

// pugixml hands the document to a writer in pieces; they go straight into the output.
class OutputWriter final : public pugi::xml_writer {
public:
    explicit OutputWriter(std::string& text) : text_(text) {}
    void write(const void* data, std::size_t size) override { text_.append(static_cast<const char*>(data), size); }

private:
    std::string& text_;
};

}  // namespace

LandXmlStamp LandXmlStampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    char time[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return {date, time};
}

void RequireLandXmlStation(const BuiltSection& section) {
    if (!section.chainage)
        section.record->chainage.Fail("LandXML 的桩号必须是数字：“" + DisplayText(section.record->chainage.text) + "”");
}

void WriteLandXmlDocument(const Route& route, std::span<const BuiltSection> sections,
                          const SectionLayoutSettings& settings, const LandXmlStamp& stamp, OutputText& output) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";

    pugi::xml_node root = document.append_child("LandXML");
    root.append_attribute("xmlns") = kNamespace;
    root.append_attribute("version") = "1.2";
    root.append_attribute("date") = stamp.date.c_str();
    root.append_attribute("time") = stamp.time.c_str();

    pugi::xml_node metric = root.append_child("Units").append_child("Metric");
    metric.append_attribute("linearUnit") = "meter";
    metric.append_attribute("areaUnit") = "squareMeter";
    metric.append_attribute("volumeUnit") = "cubicMeter";
    metric.append_attribute("temperatureUnit") = "celsius";
    metric.append_attribute("pressureUnit") = "milliBars";
    metric.append_attribute("angularUnit") = "decimal degrees";
    metric.append_attribute("directionUnit") = "decimal degrees";

    pugi::xml_node application = root.append_child("Application");
    application.append_attribute("name") = "QORVEL";
    application.append_attribute("version") = QORVEL_VERSION;

    const std::span<const RouteStation> stations = route.stations();
    double length = 0;
    for (std::size_t k = 1; k < stations.size(); ++k) length += PlaneDistance(stations[k - 1].position, stations[k].position);

    pugi::xml_node alignment = root.append_child("Alignments").append_child("Alignment");
    alignment.append_attribute("name") = "路线";
    alignment.append_attribute("length") = FormatFixed(length, 3).c_str();
    alignment.append_attribute("staStart") = FormatGeneral(stations.empty() ? 0.0 : stations.front().chainage).c_str();
    pugi::xml_node geometry = alignment.append_child("CoordGeom");
    for (std::size_t k = 1; k < stations.size(); ++k) {
        pugi::xml_node line = geometry.append_child("Line");
        line.append_child("Start").text() = northingEasting(stations[k - 1].position).c_str();
        line.append_child("End").text() = northingEasting(stations[k].position).c_str();
    }

    pugi::xml_node crossSections = alignment.append_child("CrossSects");
    std::string points;
    for (const BuiltSection& section : sections) {
        RequireLandXmlStation(section);
        pugi::xml_node crossSection = crossSections.append_child("CrossSect");
        crossSection.append_attribute("sta") = FormatGeneral(*section.chainage).c_str();
        crossSection.append_attribute("name") = utf8Station(section, settings.stationText).c_str();
        pugi::xml_node surface = crossSection.append_child("CrossSectSurf");
        surface.append_attribute("name") = "地面线";
        const SideList& left = settings.swapSides ? section.second() : section.first();
        const SideList& right = settings.swapSides ? section.first() : section.second();
        points.clear();
        ForEachPointLeftToRight(left, right, section.stakeElevation, [&](double offset, double elevation, std::string_view) {
            if (!points.empty()) points += ' ';
            AppendFixed(points, offset, 3);
            points += ' ';
            AppendFixed(points, elevation, 3);
        });
        surface.append_child("PntList2D").text() = points.c_str();
    }

    std::string text;
    OutputWriter writer(text);
    document.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n';
    output.AppendLines(text, lines);
}

}  // namespace qorvel
