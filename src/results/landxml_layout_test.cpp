#include "results/landxml_layout.h"

#include <string>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "results/section_results.h"

namespace qorvel {
namespace {

// A route running east and bending north; the section of 1020 drawn from right to left, that of
// 1040 without points.
struct Files {
    DataFile members = DataFile::FromBytes("members.dat", "1000,A,B\r\n1020,C\r\n1040\r\n");
    DataFile stakes = DataFile::FromBytes("stakes.dat",
                                          "1000,,0,0,50\r\n1020,,20,0,50.5\r\n1020.0,,99,99,9\r\n1040,,40,10,51.0004\r\n");
    DataFile points = DataFile::FromBytes("points.dat", "A,,0,5,50.2\r\nB,,0,-6,49.7\r\nC,,20,4,50.8\r\n");
    DataFile lines = DataFile::FromBytes("matched.dat", "1000,0,10,0,-10\r\n1020,20,-10,20,10\r\n1040,35,20,45,0\r\n");
};

std::string landXml(const Files& files, const SectionResultOptions& options) {
    double carried = 0;
    NullProgress progress;
    return OutputSectionResults({files.members, files.stakes, files.points, files.lines}, options, carried, progress)
        .output.bytes();
}

// The document without its date="…" time="…", which change from run to run.
std::string withoutDateAndTime(std::string document) {
    const std::size_t date = document.find(" date=\"");
    const std::size_t time = document.find(" time=\"", date);
    if (date == std::string::npos || time != date + 18) return document;
    return document.erase(date, 18 + 16);
}

SectionResultOptions landXmlOptions() {
    SectionResultOptions options;
    options.layout.layoutName = "LandXML";
    return options;
}

TEST(LandXmlLayout, AnAlignmentThroughTheStakesWithItsCrossSections) {
    const Files files;
    SectionResultOptions options = landXmlOptions();
    options.sides = SideRule::Route;
    options.layout.stationText = true;
    const std::string document = landXml(files, options);
    EXPECT_EQ(withoutDateAndTime(document),
              R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
  <Units>
    <Metric linearUnit="meter" areaUnit="squareMeter" volumeUnit="cubicMeter" temperatureUnit="celsius" pressureUnit="milliBars" angularUnit="decimal degrees" directionUnit="decimal degrees" />
  </Units>
  <Application name="QORVEL" version=")" QORVEL_VERSION R"(" />
  <Alignments>
    <Alignment name="路线" length="42.361" staStart="1000">
      <CoordGeom>
        <Line>
          <Start>0 0</Start>
          <End>0 20</End>
        </Line>
        <Line>
          <Start>0 20</Start>
          <End>10 40</End>
        </Line>
      </CoordGeom>
      <CrossSects>
        <CrossSect sta="1000" name="K1+000">
          <CrossSectSurf name="地面线">
            <PntList2D>-5.000 50.200 0.000 50.000 6.000 49.700</PntList2D>
          </CrossSectSurf>
        </CrossSect>
        <CrossSect sta="1020" name="K1+020">
          <CrossSectSurf name="地面线">
            <PntList2D>-4.000 50.800 0.000 50.500</PntList2D>
          </CrossSectSurf>
        </CrossSect>
        <CrossSect sta="1040" name="K1+040">
          <CrossSectSurf name="地面线">
            <PntList2D>0.000 51.000</PntList2D>
          </CrossSectSurf>
        </CrossSect>
      </CrossSects>
    </Alignment>
  </Alignments>
</LandXML>
)");

    // Read back: the same document; swapped sides run the other way, the chainage as in the
    // file without station text.
    options.layout.swapSides = true;
    options.layout.stationText = false;
    pugi::xml_document read;
    ASSERT_TRUE(read.load_string(landXml(files, options).c_str()));
    const pugi::xml_node root = read.child("LandXML");
    EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.landxml.org/schema/LandXML-1.2");
    EXPECT_EQ(std::string(root.attribute("date").value()).size(), 10u);
    const pugi::xml_node second = root.child("Alignments").child("Alignment").child("CrossSects").child("CrossSect").next_sibling();
    EXPECT_STREQ(second.attribute("name").value(), "1020");
    EXPECT_STREQ(second.child("CrossSectSurf").child_value("PntList2D"), "0.000 50.500 4.000 50.800");
}

TEST(LandXmlLayout, AChainageThatIsNoNumberFailsInItsPlace) {
    Files files;
    files.members = DataFile::FromBytes("members.dat", "1000,A\r\n\r\nK1+020,C\r\n");
    files.stakes = DataFile::FromBytes("stakes.dat", "1000,,0,0,50\r\nK1+020,,20,0,50\r\n");
    files.lines = DataFile::FromBytes("matched.dat", "1000,0,10,0,-10\r\nK1+020,20,-10,20,10\r\n");
    try {
        landXml(files, landXmlOptions());
        FAIL() << "no failure";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“members.dat”第 3 行，字段 0：LandXML 的桩号必须是数字：“K1+020”");
    }
    // With no more than one station the alignment has no line.
    files.members = DataFile::FromBytes("members.dat", "1000,A\r\n");
    const std::string document = landXml(files, landXmlOptions());
    EXPECT_NE(document.find(R"(<Alignment name="路线" length="0.000" staStart="1000">)"), std::string::npos);
    EXPECT_NE(document.find("<CoordGeom />"), std::string::npos);
}

}  // namespace
}  // namespace qorvel
