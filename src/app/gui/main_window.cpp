#include "app/gui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/gui/one_click_dialog.h"
#include "app/gui/painted_icons.h"
#include "app/gui/qt_step_host.h"
#include "app/gui/settings_dialog.h"
#include "app/gui/toolbar_table.h"
#include "app/gui/twips.h"
#include "app/gui/user_interaction.h"
#include "drawing/attached_drawing.h"

namespace qorvel::gui {

namespace {

// The strip, in twips.
constexpr int kExpandedWidth = 12600;
constexpr int kExpandedHeight = 1000;
constexpr int kShrunkWidth = 800;
constexpr int kShrunkHeight = 660;
constexpr int kToggleLeft = 100;
constexpr int kToolbarTop = 120;
constexpr int kToolbar1Left = 780;
constexpr int kToolbar1Inset = 45;
constexpr int kIconSize = 330;  // sixteen buttons fit left of the layer box
constexpr int kProgressLeft = 8930;
constexpr int kProgressWidth = 3325;  // ends where the layout box ends
constexpr int kProgressHeight = 210;
// The command buttons and Text1 lie below the strip, out of sight at both sizes.
constexpr int kHiddenRowTop = 1200;
constexpr int kHiddenButtonWidth = 2400;
constexpr int kHiddenButtonHeight = 400;

const QColor kWindowColour(255, 192, 128);
const QColor kPurple(128, 0, 128);
const QColor kRed(255, 0, 0);

const char* const kWelcome = "    欢迎使用QORVEL 5.0 ";
const char* const kTitle = "QORVEL 5.0 路线横断面格式整理软件";

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The window counts as busy while a step or a run goes on.
class Running {
public:
    explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
    ~Running() { flag_ = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& flag_;
};

}  // namespace

MainWindow::MainWindow(UserInteraction& ui) : ui_(ui) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(PaintedIcon(&icons::OutputSections));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kWindowColour);
    setPalette(colours);
    setAutoFillBackground(true);
    CreateControls();
    host_ = std::make_unique<QtStepHost>(*this, StepDisplay{panel1_, panel2_, progressBar1_}, ui_);
    StartUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
    const TwipScale twips = TwipScale::For(*this);

    toolbar2_ = CreateToolbar("Toolbar2", std::span(&ExpandEntry(), 1));
    toolbar3_ = CreateToolbar("Toolbar3", std::span(&ShrinkEntry(), 1));
    toolbar1_ = CreateToolbar("Toolbar1", Toolbar1Entries());
    // The first button keeps clear of the shrunk window's edge, so only the toggle shows there.
    auto* inset = new QWidget(toolbar1_);
    inset->setFixedSize(twips(kToolbar1Inset), 1);
    toolbar1_->insertWidget(toolbar1_->actions().constFirst(), inset);
    toolbar1_->adjustSize();

    label1_ = new QLabel(QStringLiteral("指定图层-"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    QPalette purple = label1_->palette();
    purple.setColor(QPalette::WindowText, kPurple);
    label1_->setPalette(purple);
    label1_->adjustSize();
    label1_->move(twips.Point(8400, 240));

    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);  // any layer name may be typed
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    combo1_->setGeometry(QRect(twips.Point(9225, 200), QSize(twips(1095), combo1_->sizeHint().height())));

    combo2_ = new QComboBox(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    QPalette red = combo2_->palette();
    red.setColor(QPalette::Text, kRed);
    red.setColor(QPalette::ButtonText, kRed);
    combo2_->setPalette(red);
    combo2_->setGeometry(QRect(twips.Point(11040, 200), QSize(twips(1215), combo2_->sizeHint().height())));

    statusBar1_ = new QStatusBar(this);
    statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar1_->setSizeGripEnabled(false);
    panel1_ = new QLabel(statusBar1_);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel2_ = new QLabel(statusBar1_);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    for (QLabel* panel : {panel1_, panel2_}) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar1_->addWidget(panel1_);
    statusBar1_->addWidget(panel2_, 1);
    progressRoom_ = new QWidget(statusBar1_);
    statusBar1_->addPermanentWidget(progressRoom_);

    progressBar1_ = new QProgressBar(this);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setRange(0, 100);
    progressBar1_->setValue(0);
    progressBar1_->setTextVisible(false);
    progressBar1_->resize(twips.Size(kProgressWidth, kProgressHeight));

    // The step buttons, one per step, in step order.
    int index = 0;
    for (const StepCommand& command : StepCommands()) {
        if (command.button.empty()) continue;
        auto* button = new QPushButton(FromUtf8(command.caption), this);
        button->setObjectName(FromUtf8(command.button));
        button->setGeometry(twips.Rect(120 + (index % 4) * (kHiddenButtonWidth + 120),
                                       kHiddenRowTop + (index / 4) * (kHiddenButtonHeight + 120),
                                       kHiddenButtonWidth, kHiddenButtonHeight));
        button->setFocusPolicy(Qt::NoFocus);
        const StepCommand* step = &command;
        connect(button, &QPushButton::clicked, this, [this, step] { RunStepCommand(*step); });
        ++index;
    }
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFocusPolicy(Qt::NoFocus);
    text1_->setGeometry(twips.Rect(120, kHiddenRowTop + ((index + 3) / 4) * (kHiddenButtonHeight + 120),
                                   2 * kHiddenButtonWidth, kHiddenButtonHeight));
}

QToolBar* MainWindow::CreateToolbar(const char* name, std::span<const ToolbarEntry> entries) {
    const TwipScale twips = TwipScale::For(*this);
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QString::fromLatin1(name));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setIconSize(twips.Size(kIconSize, kIconSize));
    toolbar->setStyleSheet(QStringLiteral("QToolBar { border: 0px; background: transparent; spacing: 1px; }"));
    for (const ToolbarEntry& entry : entries) {
        QAction* action = toolbar->addAction(PaintedIcon(entry.icon), FromUtf8(entry.tooltip));
        action->setObjectName(FromUtf8(entry.key));
        action->setToolTip(FromUtf8(entry.tooltip));
        const std::string_view key = entry.key;  // the table is static
        connect(action, &QAction::triggered, this, [this, key] { Dispatch(key); });
        if (QWidget* button = toolbar->widgetForAction(action)) {
            button->setObjectName(FromUtf8(entry.key));
            button->setFocusPolicy(Qt::NoFocus);
        }
    }
    toolbar->adjustSize();
    return toolbar;
}

void MainWindow::StartUp() {
    const TwipScale twips = TwipScale::For(*this);
    // 1. Above every ordinary window for the window's whole life; a fixed frame.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    // 2. The toolbars; the two toggles share one place, the shrink toggle showing while expanded.
    toolbar1_->move(twips.Point(kToolbar1Left, kToolbarTop));
    toolbar2_->move(twips.Point(kToggleLeft, kToolbarTop));
    toolbar3_->move(twips.Point(kToggleLeft, kToolbarTop));
    toolbar2_->hide();
    toolbar3_->show();
    // 3. Expanded.
    ApplySize(kExpandedWidth, kExpandedHeight);
    // 4. The progress bar (on the status bar's row, which ApplySize placed).
    PlaceStatusRow();
    // 5. The layer box.
    combo1_->addItem(QStringLiteral("dmx"));
    combo1_->setCurrentText(QStringLiteral("dmx"));
    // 6. The layout box.
    for (int layout = 1; layout <= 5; ++layout) combo2_->addItem(QStringLiteral("格式 %1").arg(layout));
    combo2_->setCurrentIndex(0);
    // 7. A text box no step reads.
    text1_->setText(QStringLiteral("显示区域"));
    // 8. The welcome text.
    panel1_->setText(QString::fromUtf8(kWelcome));
    // 9. The tolerances' start values; the settings dialog is loaded only when first shown.
    const Settings start;
    session_.settings.StakeTextTolerance = start.StakeTextTolerance;
    session_.settings.CodePointTolerance = start.CodePointTolerance;
    session_.settings.LineMatchTolerance = start.LineMatchTolerance;
    session_.settings.GroupTolerance = start.GroupTolerance;
    session_.settings.StakeAvoidDistance = start.StakeAvoidDistance;
}

void MainWindow::ApplySize(int widthTwips, int heightTwips) {
    const TwipScale twips = TwipScale::For(*this);
    setFixedSize(twips.Size(widthTwips, heightTwips));
    PlaceStatusRow();
}

void MainWindow::PlaceStatusRow() {
    // The status bar along the bottom edge; the progress bar on its row, below the two boxes.
    const TwipScale twips = TwipScale::For(*this);
    const QSize full = twips.Size(kExpandedWidth, kExpandedHeight);
    const int barHeight = statusBar1_->sizeHint().height();
    statusBar1_->setGeometry(0, height() - barHeight, width(), barHeight);
    const int progressLeft = twips(kProgressLeft);
    progressRoom_->setFixedWidth(qMax(0, full.width() - progressLeft));
    progressBar1_->move(progressLeft, full.height() - barHeight + (barHeight - progressBar1_->height()) / 2);
    progressBar1_->raise();
}

void MainWindow::Dispatch(std::string_view key) {
    if (stepRunning_) return;
    if (const ToolbarEntry* entry = FindToolbarEntry(key)) entry->handler(*this, key);
}

SettingsDialog* MainWindow::settingsDialog() const { return settingsDialog_.data(); }

void MainWindow::ShowSettings() {
    if (settingsDialog_.isNull()) {
        settingsDialog_ = new SettingsDialog(session_.settings, ui_, this);  // deletes itself when closed
        connect(settingsDialog_, &SettingsDialog::unloaded, this, [this] { settingsDialog_ = nullptr; });
    }
    settingsDialog_->show();
    settingsDialog_->raise();
    settingsDialog_->activateWindow();
}

void MainWindow::ShowAbout() {
    ui_.ShowMessage(*this, QStringLiteral("QORVEL 5.0"),
                    QStringLiteral("感谢您使用 QORVEL 5.0 路线横断面格式整理软件！\n\n"
                                   "使用中如有问题，或对软件有任何意见和建议，"
                                   "欢迎通过 QORVEL 项目的问题反馈页告诉我们。"));
}

void MainWindow::ExitProgram() {
    close();  // closes the settings dialog too
    ui_.EndProgram();
}

void MainWindow::Expand() {
    ApplySize(kExpandedWidth, kExpandedHeight);
    toolbar2_->hide();
    toolbar3_->show();
    statusBar1_->show();
    expanded_ = true;
}

void MainWindow::Shrink() {
    ApplySize(kShrunkWidth, kShrunkHeight);
    toolbar2_->show();
    toolbar3_->hide();
    statusBar1_->hide();
    expanded_ = false;
}

void MainWindow::RunStepByKey(std::string_view key) {
    if (const StepCommand* command = FindStepByKey(key))
        RunStepCommand(*command);
    else
        ShowUnavailable(FromUtf8(key));
}

void MainWindow::ShowUnavailable(const QString& command) {
    ui_.ShowMessage(*this, QStringLiteral("提示！"), QStringLiteral("“%1”的功能暂未提供，敬请期待。").arg(command));
}

void MainWindow::RunStepCommand(const StepCommand& command) {
    if (stepRunning_) return;
    if (command.run == nullptr) {
        ShowUnavailable(FromUtf8(command.caption));
        return;
    }
    Running running(stepRunning_);
    CopyWindowStateToSettings();
    command.run(*host_, session_);
    // Clicks and keys that came while the step ran are delivered now, while the window still
    // counts as busy, and so are dropped: a step is never started behind the user's back.
    QCoreApplication::processEvents();
    ShowDrawingLayers();
}

void MainWindow::ShowOneClick() {
    if (oneClickDialog_.isNull()) oneClickDialog_ = new OneClickDialog(*this, ui_);  // owned by the window
    oneClickDialog_->Prepare();
    oneClickDialog_->show();
    oneClickDialog_->raise();
    oneClickDialog_->activateWindow();
}

OneClickDialog* MainWindow::oneClickDialog() const { return oneClickDialog_.data(); }

std::optional<PipelineReport> MainWindow::RunPipeline(const PipelineRequest& request, const std::string& layout,
                                                      StepHost& host) {
    if (stepRunning_) return std::nullopt;
    Running running(stepRunning_);
    CopyWindowStateToSettings();
    session_.settings.LayoutName = layout;
    PipelineReport report = qorvel::RunPipeline(host, session_, request);
    QCoreApplication::processEvents();  // as after a step: what came meanwhile is dropped
    ShowDrawingLayers();
    return report;
}

void MainWindow::ShowDrawingLayers() {
    const std::shared_ptr<AttachedDrawing>& drawing = session_.drawing;
    if (!drawing || listedDrawing_.lock() == drawing) return;
    listedDrawing_ = drawing;
    const QString typed = combo1_->currentText();
    combo1_->clear();
    for (const std::string& layer : drawing->LayerNames()) combo1_->addItem(FromUtf8(layer));
    combo1_->setEditText(typed);
}

QString MainWindow::layerText() const { return combo1_->currentText(); }

QString MainWindow::layoutText() const { return combo2_->currentText(); }

void MainWindow::CopyWindowStateToSettings() {
    Settings& settings = session_.settings;
    if (settingsDialog_)
        settingsDialog_->CopySwitchesTo(settings);
    else
        SettingsDialog::CopyStartSwitchesTo(settings);
    settings.LayerName = combo1_->currentText().toStdString();
    settings.LayoutName = combo2_->currentText().toStdString();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (PressMovesWindow(*this, event->position().toPoint())) {
        ui_.StartWindowMove(*this);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (stepRunning_) {
        event->ignore();
        return;
    }
    if (settingsDialog_) settingsDialog_->close();
    if (oneClickDialog_) oneClickDialog_->close();
    event->accept();
}

bool PressMovesWindow(const QWidget& surface, QPoint position) {
    return surface.rect().contains(position) && surface.childAt(position) == nullptr;
}

}  // namespace qorvel::gui
