#pragma once
// "一键生成断面成果": the whole way from the drawing and the detail point file to the result in
// one go. The surveyor names the drawing, the two layers (offered from the drawing's layers),
// the detail point file, the output folder, the layout and two switches; the dialog says which
// steps run in which order, runs the same steps the toolbar runs one by one, shows how far it
// is, ends with one message of every step's count and the problems the checks found, which
// offers to show the sections in the viewer, and opens the result. A box draws the sections on
// sheets as well (PDF, SVG or DXF beside the result), remembered between runs.
//
// Each time it opens it takes the layout and the switches from the main window. Its two layers
// are its own (the strip's layer box names whatever layer the last drawing step read), and its
// layers, drawing, detail point file and output folder are remembered from one run to the next,
// also across starts. The output folder follows the drawing chosen (beside it, named after it)
// until the surveyor names another. A path's completion list is closed before any message, which
// it would otherwise cover and whose Return it would take. Before replacing files of an earlier
// run in the output folder it lists them and asks; a run that stops before writing anything
// leaves no folder it made itself.

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "frame/pipeline.h"
#include "frame/settings.h"
#include "frame/workbench.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qorvel::gui {

class QtStepHost;
class UserInteraction;

// The dialog instance of the output folder (the files have their roles' dialogs).
inline constexpr int kOutputFolderDialog = 100;

class OneClickDialog final : public QDialog {
    Q_OBJECT

public:
    // Runs on `workbench` with the settings `settingsInForce` gives when a run starts (the main
    // window's: tolerances, switches, its layer box naming the section lines, its layout);
    // `owner` is the window it stays above.
    OneClickDialog(Workbench& workbench, UserInteraction& ui, std::function<Settings()> settingsInForce,
                   QWidget& owner);
    ~OneClickDialog() override;

    // Ready for a run: the progress of the last run cleared, the main window's layout, layer
    // and switches taken, the attached drawing shown.
    void Prepare();
    // Shows the drawing attached to the window and its layers (kept boxes keep what was typed).
    void ShowAttachedDrawing();

    // The buttons.
    void ChooseDrawing();
    void ChoosePoints();
    void ChooseFolder();
    void Start();

    // What the boxes ask for.
    PipelineRequest Request() const;
    QString Layout() const;
    // The settings of a run started now: the main window's, with the dialog's layout and switches.
    Settings RunSettings() const;

    // Not while the run is going: it ends first.
    void reject() override;

signals:
    // The surveyor chose to see the sections of the run just completed: the four files the
    // viewer reads (membership, centre stakes, detail points, matched section lines).
    void viewSectionsRequested(const QStringList& files);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FillLayers(const std::vector<std::string>& layers);
    // An open dialog for the file of `role`, offering `offered`; its folder is remembered.
    std::optional<QString> Choose(FileRole role, const QString& offered);
    void SuggestFolder();
    void CloseCompletions();
    QStringList MissingEntries() const;
    // The files of a run of `request` already in its output folder, by name.
    static QStringList FilesToReplace(const PipelineRequest& request);

    Workbench& workbench_;
    UserInteraction& ui_;
    std::function<Settings()> settingsInForce_;
    std::unique_ptr<QtStepHost> host_;
    QLineEdit* drawing_ = nullptr;
    QComboBox* labelLayer_ = nullptr;
    QComboBox* lineLayer_ = nullptr;
    QLineEdit* points_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QComboBox* layout_ = nullptr;
    QCheckBox* numericLabels_ = nullptr;  // "桩号为纯数字"
    QCheckBox* routeSides_ = nullptr;     // "按路线前进方向区分左右"
    QComboBox* sheets_ = nullptr;         // the sections drawn on sheets too: none, PDF, SVG, DXF
    QLabel* stage_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* start_ = nullptr;
    QString suggestedFolder_;  // the folder last suggested; the surveyor's own one is kept
};

}  // namespace qorvel::gui
