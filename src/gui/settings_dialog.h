#pragma once
// Form2, "设置": the five tolerances, the switches of the steps and the surveyor's code page for
// drawings that name none. It does not block the main window, so it may stay open while steps
// run. It opens showing the settings in force; nothing it shows takes effect before "确定" (or
// Return), which reads every box strictly, refuses a box that does not hold what it should
// (naming it, the dialog staying open and the settings in force unchanged), and otherwise
// stores everything and hides the dialog, keeping it loaded. "恢复默认" puts the start values
// back into the boxes, the switches and the code page. "取消", Escape and the close box unload
// it and leave every setting as it was: a switch ticked by mistake never reaches a result.

#include <QWidget>
#include <array>

#include "frame/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qorvel::gui {

class UserInteraction;

class SettingsDialog final : public QWidget {
    Q_OBJECT

public:
    // `settings` are the settings in force: the dialog shows them, writes the switches into them
    // as they change and the tolerances on "确定". `owner` is the main window, which the dialog
    // stays above and which deletes it with itself.
    SettingsDialog(Settings& settings, UserInteraction& ui, QWidget* owner);

    // "确定": every tolerance must be a number above 0 and the avoid distance a number (of any
    // sign: a negative one lets the stake's own shot into a side), written plainly, "0.05". A box
    // that is not is named in a message and nothing is stored: the dialog stays, false is
    // returned. Otherwise the tolerances, the switches and the code page are stored and the
    // dialog hides.
    bool Confirm();
    // "取消": nothing is stored; the dialog unloads.
    void Cancel();
    // "恢复默认": the start values in the boxes and the switches.
    void RestoreStartValues();

signals:
    // "确定" stored the settings.
    void changed();
    // Closed with the close box (or with the main window): the dialog is going away.
    void unloaded();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowSettings(const Settings& settings);

    Settings& settings_;
    UserInteraction& ui_;
    QRadioButton* textLabels_ = nullptr;     // "图上里程为字符型"
    QRadioButton* numericLabels_ = nullptr;  // "图上里程为数值"
    QCheckBox* swapSides_ = nullptr;
    QCheckBox* negateHeights_ = nullptr;
    QCheckBox* stationText_ = nullptr;
    QCheckBox* blankLine_ = nullptr;
    QCheckBox* routeSides_ = nullptr;
    QComboBox* codePage_ = nullptr;          // the surveyor's code page
    std::array<QLineEdit*, 5> boxes_{};    // the tolerances, in the order of ToleranceSettings()
    std::array<QLabel*, 5> boxLabels_{};   // the caption beside each box
    // The section sheets: size, scale 1:N, exaggeration, the title block's texts, DXF units.
    QComboBox* sheetSize_ = nullptr;
    QLineEdit* sheetScale_ = nullptr;
    QLineEdit* exaggeration_ = nullptr;
    QLineEdit* project_ = nullptr;
    QLineEdit* road_ = nullptr;
    QLineEdit* drawingNumber_ = nullptr;
    QComboBox* dxfUnits_ = nullptr;
};

}  // namespace qorvel::gui
