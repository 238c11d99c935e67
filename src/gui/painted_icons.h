#pragma once
// The toolbar icons, drawn with QPainter on a 24 x 24 canvas and scaled to whatever size and
// pixel density the toolbar asks for, so they stay sharp on every screen. The step icons carry
// the step's number in a badge, as the surveyor knows the steps by number.

#include <QIcon>

class QPainter;

namespace qorvel::gui {

using IconPainter = void (*)(QPainter& painter);

QIcon PaintedIcon(IconPainter painter);

namespace icons {
void Settings(QPainter& p);          // a gear
void OpenDrawing(QPainter& p);       // an open folder holding a route drawing
void OneClick(QPainter& p);          // a result sheet with a lightning bolt: everything in one go
void AddCodes(QPainter& p);          // step 8: a tag on a detail point
void ProjectPoints(QPainter& p);     // step 11: points moved onto a section line
void PolylineVertices(QPainter& p);  // step 1
void StationLabels(QPainter& p);     // step 2
void MergeStakes(QPainter& p);       // step 3
void SectionLineEnds(QPainter& p);   // step 4
void CheckStakes(QPainter& p);       // step 5
void MatchLines(QPainter& p);        // step 6
void CheckLines(QPainter& p);        // step 7
void GroupPoints(QPainter& p);       // step 9
void OutputSections(QPainter& p);    // step 10
void ViewSections(QPainter& p);      // a ground line under a magnifying glass: 查看断面
void ConvertSections(QPainter& p);   // one sheet of sections turned into another: 格式转换
void About(QPainter& p);             // an "i" in a circle
void Exit(QPainter& p);              // a power switch
void Expand(QPainter& p);            // chevrons to the right
void Shrink(QPainter& p);            // chevrons to the left
}  // namespace icons

}  // namespace qorvel::gui
