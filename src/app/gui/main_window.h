#pragma once
// Form1, the main window: a narrow strip that stays above every other window so it can sit over
// the drawing while the surveyor works. Its toolbar starts every step, the settings dialog, the
// about message and the exit; its boxes give the steps the layer name and the result layout;
// its status bar and progress bar show how a step is getting on.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <span>
#include <string_view>

#include "app/pipeline.h"
#include "app/session.h"
#include "app/step_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QStatusBar;
class QToolBar;

namespace qorvel::gui {

class OneClickDialog;
class QtStepHost;
class SettingsDialog;
class UserInteraction;
struct ToolbarEntry;

class MainWindow final : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(UserInteraction& ui);
    ~MainWindow() override;

    // Runs the command of a toolbar key. Keys compare exactly, letter case included; a key that
    // matches none does nothing. Nothing is taken while a step runs.
    void Dispatch(std::string_view key);

    // The toolbar's commands.
    void ShowSettings();
    void ShowAbout();
    void ExitProgram();
    void Expand();
    void Shrink();
    void RunStepByKey(std::string_view key);
    // Runs a step in the window: the settings dialog's switches and the two boxes are handed to
    // it, then it runs to its end. A step not available yet says so.
    void RunStepCommand(const StepCommand& command);
    // "一键生成断面成果": shows the dialog of the whole run, loading it the first time.
    void ShowOneClick();
    // Runs the stages from the drawing to the result with `host` showing them, the settings
    // dialog's switches and tolerances in force and `layout` as the result layout. Nothing
    // (and no run) while a step runs.
    std::optional<PipelineReport> RunPipeline(const PipelineRequest& request, const std::string& layout,
                                              StepHost& host);
    // Lists the layers of the attached drawing in the layer box when it is another drawing than
    // the one listed (or the same one read again), keeping the text in the box.
    void ShowDrawingLayers();

    QString layerText() const;
    QString layoutText() const;

    // The settings dialog while it is loaded (shown, or hidden after "确定"); nullptr otherwise.
    SettingsDialog* settingsDialog() const;
    // The one-click dialog once loaded; nullptr before.
    OneClickDialog* oneClickDialog() const;
    Session& session() { return session_; }
    QtStepHost& host() { return *host_; }
    bool isExpanded() const { return expanded_; }
    bool isRunningStep() const { return stepRunning_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    QToolBar* CreateToolbar(const char* name, std::span<const ToolbarEntry> entries);
    void StartUp();
    void ApplySize(int widthTwips, int heightTwips);
    void PlaceStatusRow();
    void CopyWindowStateToSettings();
    void ShowUnavailable(const QString& command);

    UserInteraction& ui_;
    Session session_;
    QToolBar* toolbar1_ = nullptr;
    QToolBar* toolbar2_ = nullptr;  // expand
    QToolBar* toolbar3_ = nullptr;  // shrink
    QLabel* label1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QStatusBar* statusBar1_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QWidget* progressRoom_ = nullptr;  // keeps status panel 2 clear of the progress bar
    QProgressBar* progressBar1_ = nullptr;
    QLineEdit* text1_ = nullptr;
    std::unique_ptr<QtStepHost> host_;
    QPointer<SettingsDialog> settingsDialog_;
    QPointer<OneClickDialog> oneClickDialog_;
    std::weak_ptr<AttachedDrawing> listedDrawing_;  // the drawing whose layers the layer box lists
    bool expanded_ = true;
    bool stepRunning_ = false;
};

// Whether a press at `position` (in `surface`'s coordinates) moves the window: a press on the
// window's own surface does, a press on one of its controls does not.
bool PressMovesWindow(const QWidget& surface, QPoint position);

}  // namespace qorvel::gui
