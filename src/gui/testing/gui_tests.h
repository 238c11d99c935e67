#pragma once
// The Qt test classes of the window, run one at a time by name (see gui_test_main.cpp).

#include <QObject>
#include <memory>

namespace qorvel::gui::testing {

std::unique_ptr<QObject> MakeUnitsTest();
std::unique_ptr<QObject> MakeMainWindowTest();
std::unique_ptr<QObject> MakeSettingsDialogTest();
std::unique_ptr<QObject> MakeConsentDialogTest();
std::unique_ptr<QObject> MakeWindowStepsTest();
std::unique_ptr<QObject> MakeWindowDrawingTest();
std::unique_ptr<QObject> MakeOneClickDialogTest();
std::unique_ptr<QObject> MakeSectionViewerTest();

}  // namespace qorvel::gui::testing
