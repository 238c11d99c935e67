#include "gui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "frame/drawing_summary.h"
#include "gui/convert_dialog.h"
#include "gui/layout_box.h"
#include "gui/one_click_dialog.h"
#include "gui/painted_icons.h"
#include "gui/qt_step_host.h"
#include "gui/remembered.h"
#include "gui/section_viewer.h"
#include "gui/settings_dialog.h"
#include "gui/toolbar_table.h"
#include "gui/twips.h"
#include "gui/user_interaction.h"

namespace qorvel::gui {

namespace {

// The strip, in twips.
constexpr int kExpandedWidth = 13080;
constexpr int kExpandedHeight = 1000;
constexpr int kShrunkWidth = 800;
constexpr int kShrunkHeight = 660;
constexpr int kToggleLeft = 100;
constexpr int kToolbarTop = 120;
constexpr int kToolbar1Left = 780;
constexpr int kToolbar1Inset = 45;
constexpr int kIconSize = 330;  // eighteen buttons fit left of the layer box
constexpr int kLayerCaptionLeft = 9210;
constexpr int kLayerBoxLeft = 10035;
constexpr int kLayoutBoxLeft = 11520;
constexpr int kProgressLeft = 9410;
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
    host_ = std::make_unique<QtStepHost>(*this, StepDisplay{stagePanel_, statusPanel_, progressBar_}, ui_,
                                         workbench_.session());
    // Clicks and keys that came while a step ran are delivered at its end, while the workbench
    // still counts as busy, and so are dropped: a step is never started behind the user's back.
    workbench_.SetAfterRun([this] {
        QCoreApplication::processEvents();
        ShowDrawingLayers();
    });
    StartUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
    const TwipScale twips = TwipScale::For(*this);

    expandBar_ = CreateToolbar("Toolbar2", std::span(&ExpandEntry(), 1));
    shrinkBar_ = CreateToolbar("Toolbar3", std::span(&ShrinkEntry(), 1));
    toolbar_ = CreateToolbar("Toolbar1", Toolbar1Entries());
    // The first button keeps clear of the shrunk window's edge, so only the toggle shows there.
    auto* inset = new QWidget(toolbar_);
    inset->setFixedSize(twips(kToolbar1Inset), 1);
    toolbar_->insertWidget(toolbar_->actions().constFirst(), inset);
    // 打开图形 offers the drawings last opened in a menu of its own, shown while the button is
    // held down (a menu arrow would widen the button, and the toolbar has no width to spare).
    recentMenu_ = new QMenu(QStringLiteral("最近打开"), this);
    recentMenu_->setObjectName(QStringLiteral("RecentDrawings"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);
    if (auto* open = toolbar_->findChild<QToolButton*>(FromUtf8(FindStepButton(StepId::AttachDrawing)->key))) {
        open->setMenu(recentMenu_);
        open->setPopupMode(QToolButton::DelayedPopup);
        open->defaultAction()->setToolTip(open->defaultAction()->toolTip() + QStringLiteral("\n按住不放：最近打开"));
    }
    toolbar_->adjustSize();

    layerCaption_ = new QLabel(QStringLiteral("指定图层-"), this);
    layerCaption_->setObjectName(QStringLiteral("Label1"));
    QPalette purple = layerCaption_->palette();
    purple.setColor(QPalette::WindowText, kPurple);
    layerCaption_->setPalette(purple);
    layerCaption_->adjustSize();
    layerCaption_->move(twips.Point(kLayerCaptionLeft, 240));

    layerBox_ = new QComboBox(this);
    layerBox_->setObjectName(QStringLiteral("Combo1"));
    layerBox_->setEditable(true);  // any layer name may be typed
    layerBox_->setInsertPolicy(QComboBox::NoInsert);
    // Layers compare with their letter case: "ZH" typed stays "ZH", even beside a layer "zh".
    layerBox_->completer()->setCaseSensitivity(Qt::CaseSensitive);
    layerBox_->setGeometry(QRect(twips.Point(kLayerBoxLeft, 200), QSize(twips(1095), layerBox_->sizeHint().height())));

    layoutBox_ = new QComboBox(this);
    layoutBox_->setObjectName(QStringLiteral("Combo2"));
    QPalette red = layoutBox_->palette();
    red.setColor(QPalette::Text, kRed);
    red.setColor(QPalette::ButtonText, kRed);
    layoutBox_->setPalette(red);
    layoutBox_->setGeometry(QRect(twips.Point(kLayoutBoxLeft, 200), QSize(twips(1215), layoutBox_->sizeHint().height())));

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(false);
    stagePanel_ = new QLabel(statusBar_);
    stagePanel_->setObjectName(QStringLiteral("Panel1"));
    statusPanel_ = new QLabel(statusBar_);
    statusPanel_->setObjectName(QStringLiteral("Panel2"));
    for (QLabel* panel : {stagePanel_, statusPanel_}) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar_->addWidget(stagePanel_);
    statusBar_->addWidget(statusPanel_, 1);
    progressRoom_ = new QWidget(statusBar_);
    statusBar_->addPermanentWidget(progressRoom_);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->resize(twips.Size(kProgressWidth, kProgressHeight));

    // The step buttons, one per step, in step order.
    int index = 0;
    for (const StepButton& shown : StepButtons()) {
        if (shown.button.empty()) continue;
        const StepDescription& step = Describe(shown.step);
        auto* button = new QPushButton(FromUtf8(step.caption), this);
        button->setObjectName(FromUtf8(shown.button));
        button->setGeometry(twips.Rect(120 + (index % 4) * (kHiddenButtonWidth + 120),
                                       kHiddenRowTop + (index / 4) * (kHiddenButtonHeight + 120),
                                       kHiddenButtonWidth, kHiddenButtonHeight));
        button->setFocusPolicy(Qt::NoFocus);
        const StepId id = step.id;
        connect(button, &QPushButton::clicked, this, [this, id] { RunStep(id); });
        ++index;
    }
    displayArea_ = new QLineEdit(this);
    displayArea_->setObjectName(QStringLiteral("Text1"));
    displayArea_->setFocusPolicy(Qt::NoFocus);
    displayArea_->setGeometry(twips.Rect(120, kHiddenRowTop + ((index + 3) / 4) * (kHiddenButtonHeight + 120),
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
        action->setToolTip(FromUtf8(ToolbarTooltip(entry)));
        if (!entry.shortcut.empty()) action->setShortcut(QKeySequence(FromUtf8(entry.shortcut)));
        const std::string_view key = entry.key;  // the table lives as long as the program
        connect(action, &QAction::triggered, this, [this, key] { Dispatch(key); });
        if (QWidget* button = toolbar->widgetForAction(action)) {
            button->setObjectName(FromUtf8(entry.key));
            button->setFocusPolicy(Qt::TabFocus);  // Tab reaches it, Space presses it
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
    toolbar_->move(twips.Point(kToolbar1Left, kToolbarTop));
    expandBar_->move(twips.Point(kToggleLeft, kToolbarTop));
    shrinkBar_->move(twips.Point(kToggleLeft, kToolbarTop));
    expandBar_->hide();
    shrinkBar_->show();
    // 3. Expanded.
    ApplySize(kExpandedWidth, kExpandedHeight);
    // 4. The progress bar (on the status bar's row, which ApplySize placed).
    PlaceStatusRow();
    // 5. The settings in force: those remembered from the last run, or the start values.
    settings_ = RememberedSettings();
    // 6. The layer box.
    layerBox_->addItem(QStringLiteral("dmx"));
    layerBox_->setCurrentText(FromUtf8(settings_.layerName));
    // 7. The layout box.
    FillLayoutBox(*layoutBox_);
    ChooseLayout(*layoutBox_, settings_.layout);
    connect(layerBox_, &QComboBox::editTextChanged, this, &MainWindow::RememberSettingsInForce);
    connect(layoutBox_, &QComboBox::currentTextChanged, this, &MainWindow::RememberSettingsInForce);
    // 8. A text box no step reads.
    displayArea_->setText(QStringLiteral("显示区域"));
    // 9. The welcome text.
    stagePanel_->setText(QString::fromUtf8(kWelcome));
    // 10. The keyboard starts in the layer box; Tab goes on to the layout box and the toolbar.
    layerBox_->setFocus();
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
    const int barHeight = statusBar_->sizeHint().height();
    statusBar_->setGeometry(0, height() - barHeight, width(), barHeight);
    const int progressLeft = twips(kProgressLeft);
    progressRoom_->setFixedWidth(qMax(0, full.width() - progressLeft));
    progressBar_->move(progressLeft, full.height() - barHeight + (barHeight - progressBar_->height()) / 2);
    progressBar_->raise();
}

void MainWindow::Dispatch(std::string_view key) {
    if (isRunningStep()) return;
    if (const ToolbarEntry* entry = FindToolbarEntry(key)) Perform(*entry);
}

void MainWindow::Perform(const ToolbarEntry& entry) {
    switch (entry.action) {
        case ToolbarAction::Settings: ShowSettings(); break;
        case ToolbarAction::RunStep: RunStep(*entry.step); break;
        case ToolbarAction::OneClick: ShowOneClick(); break;
        case ToolbarAction::About: ShowAbout(); break;
        case ToolbarAction::Exit: ExitProgram(); break;
        case ToolbarAction::Expand: Expand(); break;
        case ToolbarAction::Shrink: Shrink(); break;
    }
}

SettingsDialog* MainWindow::settingsDialog() const { return settingsDialog_.data(); }

void MainWindow::ShowSettings() {
    if (settingsDialog_.isNull()) {
        settingsDialog_ = new SettingsDialog(settings_, ui_, this);  // deletes itself when closed
        connect(settingsDialog_, &SettingsDialog::unloaded, this, [this] { settingsDialog_ = nullptr; });
        connect(settingsDialog_, &SettingsDialog::changed, this, &MainWindow::RememberSettingsInForce);
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
    expandBar_->hide();
    shrinkBar_->show();
    statusBar_->show();
    expanded_ = true;
}

void MainWindow::Shrink() {
    ApplySize(kShrunkWidth, kShrunkHeight);
    expandBar_->show();
    shrinkBar_->hide();
    statusBar_->hide();
    expanded_ = false;
}

void MainWindow::RunStep(StepId step) {
    if (step == StepId::SectionViewer) {
        ViewSections({}, SettingsInForce());
        return;
    }
    if (step == StepId::ConvertSections) {
        ShowConvert();
        return;
    }
    const std::optional<StepResult> result = workbench_.Run(step, *host_, SettingsInForce());
    // After the summary: the step's inputs are likely not what it asks for.
    if (result && result->Completed() && result->caution)
        host_->ShowMessage(MessageRole::Warning, "注意！", result->caution->cause);
}

bool MainWindow::ViewSections(const QStringList& files, const Settings& settings) {
    if (isRunningStep()) return false;
    const std::span<const FileSpec> inputs = Describe(StepId::SectionViewer).inputs;
    for (qsizetype k = 0; k < files.size() && k < static_cast<qsizetype>(inputs.size()); ++k)
        host_->AnswerNextWith(inputs[static_cast<std::size_t>(k)].role, files[k]);
    session().sectionsOnView.reset();
    const std::optional<StepResult> result = workbench_.Run(StepId::SectionViewer, *host_, settings);
    host_->ForgetAnswers();
    if (!result || !result->Completed() || !session().sectionsOnView) return false;
    ShowSections(std::move(session().sectionsOnView));
    return true;
}

void MainWindow::ShowSections(std::shared_ptr<const SectionsOnView> sections) {
    const bool first = sectionViewer_.isNull();
    if (first) {  // owned by the window
        sectionViewer_ = new SectionViewer(ui_, session(), this);
        // A closed viewer lets its sections go: a survey of a million points holds a few
        // hundred megabytes.
        connect(sectionViewer_, &SectionViewer::closed, this, [this] { sectionViewer_->SetSections(nullptr); });
    }
    stagePanel_->setText(FromUtf8(sections->CheckSummary()));
    sectionViewer_->SetSections(std::move(sections));
    sectionViewer_->show();
    if (first) sectionViewer_->PlaceClearOf(*this);  // later, where the surveyor put it
    sectionViewer_->raise();
    sectionViewer_->activateWindow();
}

SectionViewer* MainWindow::sectionViewer() const { return sectionViewer_.data(); }

void MainWindow::ShowConvert() {
    if (isRunningStep()) return;
    if (convertDialog_.isNull())  // owned by the window
        convertDialog_ = new ConvertDialog(workbench_, *host_, ui_, [this] { return SettingsInForce(); }, *this);
    convertDialog_->show();
    convertDialog_->raise();
    convertDialog_->activateWindow();
}

ConvertDialog* MainWindow::convertDialog() const { return convertDialog_.data(); }

void MainWindow::ShowOneClick() {
    if (oneClickDialog_.isNull()) {  // owned by the window
        oneClickDialog_ = new OneClickDialog(workbench_, ui_, [this] { return SettingsInForce(); }, *this);
        connect(oneClickDialog_, &OneClickDialog::viewSectionsRequested, this,
                [this](const QStringList& files) {
                    // The run hands over the sections it built; without them the files are read.
                    if (session().sectionsOnView) ShowSections(std::move(session().sectionsOnView));
                    else ViewSections(files, oneClickDialog_->RunSettings());
                });
    }
    oneClickDialog_->Prepare();
    oneClickDialog_->show();
    oneClickDialog_->raise();
    oneClickDialog_->activateWindow();
}

OneClickDialog* MainWindow::oneClickDialog() const { return oneClickDialog_.data(); }

void MainWindow::ShowDrawingLayers() {
    const std::shared_ptr<AttachedDrawing>& drawing = workbench_.session().drawing;
    if (!drawing || listedDrawing_.lock() == drawing) return;
    listedDrawing_ = drawing;
    const std::optional<DrawingSummary> summary = SummaryOfAttachedDrawing(workbench_.session());
    RememberDrawing(FromFileSystemPath(summary->path));
    const QString typed = layerBox_->currentText();
    layerBox_->clear();
    for (const LayerSummary& layer : summary->layers) layerBox_->addItem(FromUtf8(layer.name));
    layerBox_->setEditText(typed);
}

void MainWindow::OpenRecentDrawing(const QString& path) {
    if (isRunningStep()) return;
    host_->AnswerNextWith(FileRole::Drawing, path);
    RunStep(StepId::AttachDrawing);
}

void MainWindow::FillRecentMenu() {
    recentMenu_->clear();
    const QStringList drawings = RecentDrawings();
    for (const QString& drawing : drawings)
        connect(recentMenu_->addAction(drawing), &QAction::triggered, this, [this, drawing] { OpenRecentDrawing(drawing); });
    if (drawings.isEmpty()) recentMenu_->addAction(QStringLiteral("（无）"))->setEnabled(false);
}

void MainWindow::RememberSettingsInForce() const { RememberSettings(SettingsInForce()); }

QString MainWindow::layerText() const { return layerBox_->currentText(); }

QString MainWindow::layoutText() const { return layoutBox_->currentText(); }

Settings MainWindow::SettingsInForce() const {
    Settings settings = settings_;
    settings.layerName = layerBox_->currentText().toStdString();
    settings.layout = ChosenLayout(*layoutBox_);
    return settings;
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
    if (isRunningStep()) {
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
