#pragma once
// Form1, the main window: a narrow strip that stays above every other window so it can sit over
// the drawing while the surveyor works. Its toolbar starts every step, the settings dialog, the
// about message and the exit (Tab reaches its buttons; Ctrl+O opens a drawing, Ctrl+R the whole
// run, Alt+1 ... Alt+0 steps 1 to 10); its boxes give the steps the layer name and the result
// layout; its status bar and progress bar show how a step is getting on. The settings in force,
// the boxes and the drawings last opened (the 最近打开 menu of 打开图形) are remembered from one
// run of the program to the next.

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <span>
#include <string_view>

#include "frame/settings.h"
#include "frame/step_catalogue.h"
#include "frame/workbench.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolBar;

namespace qorvel::gui {

class ConvertDialog;
class OneClickDialog;
class QtStepHost;
class SectionViewer;
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
    // Runs a step in the window with the settings in force; it runs to its end. A caution of
    // the step follows its summary in a "注意！" box. 查看断面 shows the sections it opened in
    // the viewer.
    void RunStep(StepId step);
    // Opens the four files of the sections (membership, centre stakes, detail points, matched
    // section lines; asked for when `files` is empty) with `settings` and shows them in the
    // viewer window. False when they could not be opened.
    bool ViewSections(const QStringList& files, const Settings& settings);
    // Shows sections already opened (those a one-click run built) in the viewer window.
    void ShowSections(std::shared_ptr<const SectionsOnView> sections);
    // "一键生成断面成果": shows the dialog of the whole run, loading it the first time.
    void ShowOneClick();
    // 格式转换's dialog.
    void ShowConvert();
    ConvertDialog* convertDialog() const;
    // What a step started now runs with: the tolerances confirmed in the settings dialog, its
    // switches as they stand, the layer and layout boxes.
    Settings SettingsInForce() const;
    // Lists the layers of the attached drawing in the layer box when it is another drawing than
    // the one listed (or the same one read again), keeping the text in the box, and puts it
    // first among the recent drawings.
    void ShowDrawingLayers();
    // Attaches one of the recent drawings, as 打开图形 does with the file chosen.
    void OpenRecentDrawing(const QString& path);

    QString layerText() const;
    QString layoutText() const;

    // The settings dialog while it is loaded (shown, or hidden after "确定"); nullptr otherwise.
    SettingsDialog* settingsDialog() const;
    // The one-click dialog once loaded; nullptr before.
    OneClickDialog* oneClickDialog() const;
    // The section viewer once opened; nullptr before.
    SectionViewer* sectionViewer() const;
    Workbench& workbench() { return workbench_; }
    Session& session() { return workbench_.session(); }
    QtStepHost& host() { return *host_; }
    bool isExpanded() const { return expanded_; }
    bool isRunningStep() const { return workbench_.busy(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    QToolBar* CreateToolbar(const char* name, std::span<const ToolbarEntry> entries);
    void Perform(const ToolbarEntry& entry);
    void StartUp();
    void ApplySize(int widthTwips, int heightTwips);
    void PlaceStatusRow();
    void FillRecentMenu();
    void RememberSettingsInForce() const;

    UserInteraction& ui_;
    Workbench workbench_;
    Settings settings_;  // tolerances and switches in force (the layer and layout are in their boxes)
    QToolBar* toolbar_ = nullptr;
    QToolBar* expandBar_ = nullptr;
    QToolBar* shrinkBar_ = nullptr;
    QLabel* layerCaption_ = nullptr;
    QComboBox* layerBox_ = nullptr;
    QComboBox* layoutBox_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* stagePanel_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QWidget* progressRoom_ = nullptr;  // keeps the status panel clear of the progress bar
    QProgressBar* progressBar_ = nullptr;
    QLineEdit* displayArea_ = nullptr;  // a text box no step reads
    QMenu* recentMenu_ = nullptr;       // "最近打开" on 打开图形
    std::unique_ptr<QtStepHost> host_;
    QPointer<SettingsDialog> settingsDialog_;
    QPointer<OneClickDialog> oneClickDialog_;
    QPointer<ConvertDialog> convertDialog_;
    QPointer<SectionViewer> sectionViewer_;
    std::weak_ptr<AttachedDrawing> listedDrawing_;  // the drawing whose layers the layer box lists
    bool expanded_ = true;
};

// Whether a press at `position` (in `surface`'s coordinates) moves the window: a press on the
// window's own surface does, a press on one of its controls does not.
bool PressMovesWindow(const QWidget& surface, QPoint position);

}  // namespace qorvel::gui
