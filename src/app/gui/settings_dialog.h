#pragma once
// Form2, "设置": the five tolerances and the switches of the steps. It does not block the main
// window, so it may stay open while steps run. A switch takes effect for the next step at once;
// a tolerance only through "确定", which also hides the dialog and keeps it loaded. The close box
// unloads it: the tolerances keep what "确定" stored, and the next showing starts again from the
// start values.

#include <QWidget>
#include <array>

#include "app/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qorvel::gui {

class UserInteraction;

class SettingsDialog final : public QWidget {
    Q_OBJECT

public:
    // `settings` receives the tolerances on "确定"; `owner` is the main window, which the dialog
    // stays above and which deletes it with itself.
    SettingsDialog(Settings& settings, UserInteraction& ui, QWidget* owner);

    // The switches as they stand in the dialog now.
    void CopySwitchesTo(Settings& settings) const;
    // The switches as they stand while the dialog is not loaded.
    static void CopyStartSwitchesTo(Settings& settings);

    // "确定": reads the five boxes leniently into the tolerances and hides the dialog. A box
    // holding a number beyond the range of a double is refused with a message; then nothing is
    // stored, the dialog stays, and false is returned.
    bool Confirm();

signals:
    // Closed with the close box (or with the main window): the dialog is going away.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Settings& settings_;
    UserInteraction& ui_;
    QRadioButton* textLabels_ = nullptr;     // "图上里程为字符型"
    QRadioButton* numericLabels_ = nullptr;  // "图上里程为数值"
    QCheckBox* swapSides_ = nullptr;
    QCheckBox* negateHeights_ = nullptr;
    QCheckBox* stationText_ = nullptr;
    QCheckBox* blankLine_ = nullptr;
    std::array<QLineEdit*, 5> boxes_{};    // the tolerances, in the order of ToleranceSettings()
    std::array<QLabel*, 5> boxLabels_{};   // the caption beside each box
};

}  // namespace qorvel::gui
