#include "results/landxml_layout.h"

#include <string>

#include <gtest/gtest.h>

#include "results/section_results.h"
#include "results/xml_text.h"
#include "support/error_of.h"

namespace qorvel {
namespace {

using testing::ErrorOf;

// A route running east and bending north, its sections in descending order. The line of 1020 is
// drawn from the route's right to its left, and holds a point on the left only; 1000 is drawn
// twice, the second time askew so that it catches no point; 1040 has no points at all.
struct Files {
    DataFile members = DataFile::FromBytes("members.dat", "1040\r\n1020,C\r\n1000,A,B\r\n");
    DataFile stakes = DataFile::FromBytes("stakes.dat",
                                          "1000,,0,0,50\r\n1020,,20,0,50.5\r\n1020.0,,99,99,9\r\n1040,,40,10,51.0004\r\n");
    DataFile points = DataFile::FromBytes("points.dat", "A,,0,5,50.2\r\nB,,0,-6,49.7\r\nC,,20,4,50.8\r\n");
    DataFile lines = DataFile::FromBytes(
        "matched.dat", "1000,0,10,0,-10\r\n1020,20,-10,20,10\r\n1040,35,20,45,0\r\n1000,-10,10,10,-10\r\n");
};

SectionResults results(const Files& files, const SectionResultOptions& options) {
    double carried = 0;
    NullProgress progress;
    return OutputSectionResults({files.members, files.stakes, files.points, files.lines}, options, carried, progress);
}

// The document without its date="…" time="…", which change from run to run.
std::string withoutDateAndTime(std::string document) {
    const std::size_t date = document.find(" date=\"");
    const std::size_t time = document.find(" time=\"", date);
    if (date == std::string::npos || time != date + 18) return document;
    return document.erase(date, 18 + 16);
}

SectionResultOptions layoutOptions(std::string_view layout) {
    SectionResultOptions options;
    options.layout.layoutName = layout;
    return options;
}

TEST(LandXmlLayout, AnAlignmentThroughTheStakesWithOneCrossSectionPerStationForward) {
    const Files files;
    SectionResultOptions options = layoutOptions("LandXML");
    options.layout.stationText = true;
    const SectionResults written = results(files, options);
    EXPECT_EQ(withoutDateAndTime(written.output.bytes()),
              R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
  <Units>
    <Metric linearUnit="meter" areaUnit="squareMeter" volumeUnit="cubicMeter" temperatureUnit="celsius" pressureUnit="milliBars" angularUnit="decimal degrees" directionUnit="decimal degrees" />
  </Units>
  <Application name="QORVEL" version=")" QORVEL_VERSION R"(" />
  <Alignments>
    <Alignment name="路线" length="40.000" staStart="1000">
      <CoordGeom>
        <Line staStart="1000">
          <Start>0 0</Start>
          <End>0 20</End>
        </Line>
        <Line staStart="1020">
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
      </CrossSects>
    </Alignment>
  </Alignments>
</LandXML>
)");
    EXPECT_EQ(written.written, 2u);
    EXPECT_EQ(LeftOutSectionsWarning("members.dat", written.leftOut),
              "有 2 个断面未写出（文件“members.dat”）：桩号重复 1000（第 3 行）；两侧无点 1040（第 1 行）");

    // Read back; the date and time are those given, the sides by the route with the drawing's
    // side rule asked for.
    options.layout.stationText = false;
    options.sides = SideRule::Drawn;
    OutputText output;
    const Route route = Route::FromCentreStakes(files.stakes);
    WriteLandXmlDocument(route, {}, {"2024-05-01", "13:45:10"}, output);
    const XmlDocument empty = XmlDocument::Parse("a.xml", output.bytes());
    EXPECT_EQ(*empty.root().Attribute("date"), "2024-05-01");
    EXPECT_EQ(*empty.root().Attribute("time"), "13:45:10");
    // No cross section: no CrossSects, which would need one.
    EXPECT_EQ(output.bytes().find("CrossSects"), std::string::npos);

    const std::string document = results(files, options).output.bytes();
    const XmlDocument read = XmlDocument::Parse("b.xml", document);
    const XmlElement& alignment = *read.Children(*read.Children(read.root(), "Alignments")[0], "Alignment")[0];
    const auto crossSections = read.Children(*read.Children(alignment, "CrossSects")[0], "CrossSect");
    ASSERT_EQ(crossSections.size(), 2u);
    EXPECT_EQ(*crossSections[1]->Attribute("name"), "1020");
    EXPECT_EQ(read.Children(*read.Children(*crossSections[1], "CrossSectSurf")[0], "PntList2D")[0]->text,
              "-4.000 50.800 0.000 50.500");
}

TEST(LandXmlLayout, HdmFileOfTheSameSections) {
    const Files files;
    const SectionResults written = results(files, layoutOptions("纬地 HDM"));
    EXPECT_EQ(written.output.bytes(),
              "HINTCAD5.83_HDM_SHUJU\r\n"
              "1000.000\r\n1\t5.000\t0.200\r\n1\t6.000\t-0.300\r\n\r\n"
              "1020.000\r\n1\t4.000\t0.300\r\n0\r\n\r\n"
              "1040.000\r\n0\r\n0\r\n\r\n");
    EXPECT_EQ(written.output.lineCount(), 13u);
    EXPECT_EQ(LeftOutSectionsWarning("members.dat", written.leftOut),
              "有 1 个断面未写出（文件“members.dat”）：桩号重复 1000（第 3 行）");
}

TEST(LandXmlLayout, StationsMustBeNumbersAndSidesDecided) {
    Files files;
    files.members = DataFile::FromBytes("members.dat", "1000,A\r\n\r\nK1+020,C\r\n");
    files.stakes = DataFile::FromBytes("stakes.dat", "1000,,0,0,50\r\nK1+020,,20,0,50\r\n1040,,40,0,50\r\n");
    files.lines = DataFile::FromBytes("matched.dat", "1000,0,10,0,-10\r\nK1+020,20,-10,20,10\r\n");
    EXPECT_EQ(ErrorOf([&] { results(files, layoutOptions("LandXML")); }),
              "文件“members.dat”第 3 行，字段 0：LandXML 的桩号必须是数字：“K1+020”");
    EXPECT_EQ(ErrorOf([&] { results(files, layoutOptions("纬地 HDM")); }),
              "文件“members.dat”第 3 行，字段 0：纬地 HDM 的桩号必须是数字：“K1+020”");

    // With one station the route has no direction: no side can be told, and the section fails
    // though it would have been written.
    files.members = DataFile::FromBytes("members.dat", "1000,A\r\n");
    files.stakes = DataFile::FromBytes("stakes.dat", "1000,,0,0,50\r\n");
    EXPECT_EQ(ErrorOf([&] { results(files, layoutOptions("纬地 HDM")); }),
              "文件“members.dat”第 1 行，字段 0：按路线前进方向无法确定桩号“1000”的断面哪侧在左：断面线与路线平行或长度为 "
              "0，或中桩文件在此处定不出路线方向");
    // A station in XML that no XML can hold.
    EXPECT_EQ(ErrorOf([] { LandXmlStationName({"1", "members.dat", 4, 0}, "K1\x01"); }),
              "文件“members.dat”第 4 行，字段 0：桩号中有 XML 不能表示的控制字符：“K1\\x01”");
}

}  // namespace
}  // namespace qorvel
