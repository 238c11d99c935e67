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

    // "确定": reads Text1 ... Text5 leniently into the tolerances and hides the dialog. A box
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
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    std::array<QCheckBox*, 4> checks_{};   // Check1 ... Check4
    std::array<QLineEdit*, 5> boxes_{};    // Text1 ... Text5
    std::array<QLabel*, 5> boxLabels_{};   // the caption beside Text1 ... Text5
};

}  // namespace qorvel::gui
