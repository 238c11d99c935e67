#pragma once
// "格式转换": a section result file of any layout written in another. The surveyor chooses the
// file (its layout is shown as its content tells it; 格式 1 to 格式 5 look alike and are chosen
// by hand), the layout to write, and, where the layout written needs what the file lacks (the
// stakes' elevations, LandXML's alignment), the centre-stake file; 转换 runs the step as the
// command line's `convert` runs it, with the window's switches, and asks where to save.

#include <QDialog>
#include <functional>

#include "frame/settings.h"
#include "frame/workbench.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace qorvel::gui {

class QtStepHost;
class UserInteraction;

class ConvertDialog final : public QDialog {
    Q_OBJECT

public:
    ConvertDialog(Workbench& workbench, QtStepHost& host, UserInteraction& ui, std::function<Settings()> settingsInForce,
                  QWidget& owner);

    void ChooseInput();
    void ChooseStakes();
    // Runs the conversion; the dialog closes when it completed.
    void Convert();
    // The settings of a conversion started now: the window's, with the dialog's layouts.
    Settings ConversionSettings() const;

private:
    void ShowDetectedLayout();

    Workbench& workbench_;
    QtStepHost& host_;
    UserInteraction& ui_;
    std::function<Settings()> settingsInForce_;
    QLineEdit* input_ = nullptr;
    QComboBox* from_ = nullptr;
    QLabel* detected_ = nullptr;
    QComboBox* to_ = nullptr;
    QLineEdit* stakes_ = nullptr;
};

}  // namespace qorvel::gui
