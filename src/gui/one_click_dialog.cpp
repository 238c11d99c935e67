#include "gui/one_click_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCompleter>
#include <QDir>
#include <QAbstractItemView>
#include <QFileSystemModel>
#include <QMouseEvent>
#include <QPointer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "frame/drawing_summary.h"
#include "frame/pipeline_summary.h"
#include "frame/sections_on_view.h"
#include "frame/step_frame.h"
#include "plot/sheet_kinds.h"
#include "gui/layout_box.h"
#include "gui/name_filters.h"
#include "gui/painted_icons.h"
#include "gui/qt_step_host.h"
#include "gui/remembered.h"
#include "gui/user_interaction.h"

namespace qorvel::gui {

namespace {

// The filter of a file the run's first stage of that role asks for.
std::string_view FilterOf(FileRole role) {
    for (const StepId id : PipelineSteps())
        for (const FileSpec& input : Describe(id).inputs)
            if (input.role == role) return input.filter;
    return {};
}

QComboBox* LayerBox(QWidget* parent, const char* name, const QString& hint) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);  // any layer name may be typed, letter case as in the drawing
    box->setInsertPolicy(QComboBox::NoInsert);
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);  // "ZH" typed stays "ZH"
    box->lineEdit()->setPlaceholderText(hint);
    return box;
}

// QCompleter closes its list on a press outside it and swallows that press, so the button
// clicked beside a half-typed path did nothing (and the release that followed found no widget
// that had been pressed). This filter, seen before the completer's own, closes the list, hands
// the press to the widget under it and lets that widget hold the mouse until the release, so
// the click completes as any other. Only a widget of the box's own window takes it (the dialog
// is modal: the main window behind it takes no click).
class ClickThroughList final : public QObject {
public:
    ClickThroughList(QWidget& box, QObject* parent) : QObject(parent), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == pressed_ && event->type() == QEvent::MouseButtonRelease) {
            pressed_->releaseMouse();  // the release is on its way to it
            pressed_->removeEventFilter(this);
            pressed_ = nullptr;
            return false;
        }
        if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType()) return false;
        auto* list = static_cast<QWidget*>(watched);
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint global = press->globalPosition().toPoint();
        if (list->rect().contains(list->mapFromGlobal(global))) return false;
        list->hide();
        QWidget* target = QApplication::widgetAt(global);
        if (target != nullptr && target->window() == box_.window()) {
            QMouseEvent replay(QEvent::MouseButtonPress, target->mapFromGlobal(press->globalPosition()),
                               press->globalPosition(), press->button(), press->buttons(), press->modifiers());
            QCoreApplication::sendEvent(target, &replay);
            if (!pressed_ && target->isVisible()) {
                pressed_ = target;
                target->installEventFilter(this);
                target->grabMouse();
            }
        }
        return true;
    }

private:
    QWidget& box_;
    QPointer<QWidget> pressed_;
};

// Completes file names typed into `box` from the file system, in a list below it.
void CompleteFileNames(QLineEdit* box, bool foldersOnly) {
    auto* files = new QFileSystemModel(box);
    files->setRootPath(QString());
    files->setFilter(foldersOnly ? QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives
                                 : QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Drives);
    auto* completer = new QCompleter(files, box);
    completer->setObjectName(QStringLiteral("FileNames"));
    box->setCompleter(completer);
    // The model reads a folder only when asked, in the background: the folder being typed in is
    // read, and the list offered once it has been.
    QObject::connect(box, &QLineEdit::textEdited, files, [files](const QString& text) {
        const QString folder = QFileInfo(text).path();
        if (QFileInfo(folder).isDir()) files->setRootPath(folder);
    });
    QObject::connect(files, &QFileSystemModel::directoryLoaded, completer, [box, completer] {
        if (box->hasFocus() && !box->text().isEmpty()) completer->complete();
    });
    QWidget* list = completer->popup();
    list->setAttribute(Qt::WA_NoMouseReplay);  // the filter has delivered the press already
    list->installEventFilter(new ClickThroughList(*box, completer));
}

QCheckBox* Switch(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// "依次运行：2、提取中桩桩号文字 → 3、… → 10、输出成果"
QString StepOrder() {
    QStringList captions;
    for (const StepId id : PipelineSteps()) captions << FromUtf8(Describe(id).caption);
    return QStringLiteral("依次运行：") + captions.join(QStringLiteral(" → "));
}

QPushButton* ChooseButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(QStringLiteral("选择…"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QWidget* Row(QWidget* parent, QWidget* field, QPushButton* button) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(button);
    return row;
}

}  // namespace

OneClickDialog::OneClickDialog(Workbench& workbench, UserInteraction& ui, std::function<Settings()> settingsInForce,
                               QWidget& owner)
    : QDialog(&owner), workbench_(workbench), ui_(ui), settingsInForce_(std::move(settingsInForce)) {
    setObjectName(QStringLiteral("OneClick"));
    setWindowTitle(QStringLiteral("一键生成断面成果"));
    setWindowIcon(PaintedIcon(&icons::OneClick));
    setModal(true);

    drawing_ = new QLineEdit(this);
    drawing_->setObjectName(QStringLiteral("Drawing"));
    drawing_->setReadOnly(true);  // chosen with its button, which reads the drawing and its layers
    drawing_->setPlaceholderText(QStringLiteral("请选择路线图形（DXF 文件）"));
    drawing_->setMinimumWidth(360);
    labelLayer_ = LayerBox(this, "LabelLayer", QStringLiteral("中桩桩号文字所在图层"));
    lineLayer_ = LayerBox(this, "LineLayer", QStringLiteral("横断面线所在图层"));
    labelLayer_->setEditText(RememberedOneClick(OneClickEntry::LabelLayer));
    const QString lineLayer = RememberedOneClick(OneClickEntry::LineLayer);
    lineLayer_->setEditText(lineLayer.isEmpty() ? FromUtf8(Settings{}.layerName) : lineLayer);
    points_ = new QLineEdit(this);
    points_->setObjectName(QStringLiteral("Points"));
    points_->setPlaceholderText(QStringLiteral("全图碎步点数据文件"));
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("OutputFolder"));
    folder_->setPlaceholderText(QStringLiteral("各步的文件写入此文件夹"));
    layout_ = new QComboBox(this);
    layout_->setObjectName(QStringLiteral("Layout"));
    FillLayoutBox(*layout_);
    numericLabels_ = Switch(this, "NumericLabels", QStringLiteral("桩号为纯数字"));
    routeSides_ = Switch(this, "RouteSides", QStringLiteral("按路线前进方向区分左右"));
    sheets_ = new QComboBox(this);
    sheets_->setObjectName(QStringLiteral("Sheets"));
    sheets_->addItem(QStringLiteral("不绘制"), QString());
    for (const SheetKind& kind : SheetKinds())
        sheets_->addItem(QString::fromUtf8(kind.caption.data(), kind.caption.size()),
                         QString::fromUtf8(kind.name.data(), kind.name.size()));
    sheets_->setToolTip(QStringLiteral("各断面绘在图纸上，写入输出文件夹的 10-sections.pdf（或 .svg、.dxf）；图纸、比例和图签在“设置”中选择"));
    sheets_->setCurrentIndex(std::max(0, sheets_->findData(RememberedSheetKind())));
    CompleteFileNames(points_, false);
    CompleteFileNames(folder_, true);
    // The last run's files, as long as they are there.
    if (const QString drawing = RememberedOneClick(OneClickEntry::Drawing); QFileInfo(drawing).isFile())
        drawing_->setText(drawing);
    if (const QString points = RememberedOneClick(OneClickEntry::Points); QFileInfo(points).isFile())
        points_->setText(points);
    folder_->setText(RememberedOneClick(OneClickEntry::OutputFolder));
    SuggestFolder();

    QPushButton* chooseDrawing = ChooseButton(this, "ChooseDrawing");
    QPushButton* choosePoints = ChooseButton(this, "ChoosePoints");
    QPushButton* chooseFolder = ChooseButton(this, "ChooseFolder");
    connect(chooseDrawing, &QPushButton::clicked, this, &OneClickDialog::ChooseDrawing);
    connect(choosePoints, &QPushButton::clicked, this, &OneClickDialog::ChoosePoints);
    connect(chooseFolder, &QPushButton::clicked, this, &OneClickDialog::ChooseFolder);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("路线图形："), Row(this, drawing_, chooseDrawing));
    form->addRow(QStringLiteral("桩号文字图层："), labelLayer_);
    form->addRow(QStringLiteral("横断面线图层："), lineLayer_);
    form->addRow(QStringLiteral("碎步点文件："), Row(this, points_, choosePoints));
    form->addRow(QStringLiteral("输出文件夹："), Row(this, folder_, chooseFolder));
    form->addRow(QStringLiteral("成果格式："), layout_);
    auto* switches = new QWidget(this);
    auto* switchRow = new QHBoxLayout(switches);
    switchRow->setContentsMargins(0, 0, 0, 0);
    switchRow->addWidget(numericLabels_);
    switchRow->addWidget(routeSides_);
    switchRow->addStretch(1);
    form->addRow(QStringLiteral("选项："), switches);
    form->addRow(QStringLiteral("断面图："), sheets_);

    stage_ = new QLabel(this);
    stage_->setObjectName(QStringLiteral("Stage"));
    stage_->setWordWrap(true);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);

    auto* buttons = new QDialogButtonBox(this);
    start_ = buttons->addButton(QStringLiteral("开始生成"), QDialogButtonBox::AcceptRole);
    start_->setObjectName(QStringLiteral("Start"));
    start_->setDefault(true);
    QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("Close"));
    connect(start_, &QPushButton::clicked, this, &OneClickDialog::Start);
    connect(close, &QPushButton::clicked, this, &OneClickDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(stage_);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addWidget(buttons);

    host_ = std::make_unique<QtStepHost>(*this, StepDisplay{stage_, status_, progress_}, ui_, workbench_.session());
    Prepare();
}

OneClickDialog::~OneClickDialog() = default;

void OneClickDialog::Prepare() {
    // The main window's layout box names the layout; its settings give the switches.
    const Settings window = settingsInForce_();
    ChooseLayout(*layout_, window.layout);
    numericLabels_->setChecked(window.numericLabels);
    routeSides_->setChecked(window.routeSides);
    stage_->setText(StepOrder());
    status_->clear();
    progress_->setValue(0);
    ShowAttachedDrawing();
}

void OneClickDialog::ShowAttachedDrawing() {
    const std::optional<DrawingSummary> drawing = SummaryOfAttachedDrawing(workbench_.session());
    if (!drawing) return;
    drawing_->setText(FromFileSystemPath(drawing->path));
    FillLayers(drawing->LayerNames());
    SuggestFolder();
}

void OneClickDialog::FillLayers(const std::vector<std::string>& layers) {
    for (QComboBox* box : {labelLayer_, lineLayer_}) {
        const QString typed = box->currentText();
        box->clear();
        for (const std::string& layer : layers) box->addItem(FromUtf8(layer));
        box->setEditText(typed);
    }
}

// Beside the drawing, named after it, unless the surveyor has named a folder of their own.
void OneClickDialog::SuggestFolder() {
    if (drawing_->text().isEmpty()) return;
    const QFileInfo drawing(drawing_->text());
    const QString beside =
        drawing.absolutePath() + QStringLiteral("/") + drawing.completeBaseName() + QStringLiteral("_断面成果");
    if (folder_->text().isEmpty() || folder_->text() == suggestedFolder_ || folder_->text() == beside) {
        folder_->setText(beside);
        suggestedFolder_ = beside;
    }
}

void OneClickDialog::CloseCompletions() {
    for (QLineEdit* box : {points_, folder_})
        if (box->completer() != nullptr) box->completer()->popup()->hide();
}

void OneClickDialog::ChooseDrawing() {
    if (workbench_.busy()) return;
    CloseCompletions();
    const std::optional<QString> chosen = Choose(FileRole::Drawing, drawing_->text());
    if (!chosen) return;
    // Read and attached at once, as the toolbar's "打开图形" does: its layers fill the boxes, and
    // a drawing that cannot be read is reported now, not halfway through the run.
    workbench_.AttachDrawing(ToFileSystemPath(*chosen), *host_, RunSettings());
    ShowAttachedDrawing();
}

void OneClickDialog::ChoosePoints() {
    CloseCompletions();
    if (const std::optional<QString> chosen = Choose(FileRole::DetailPoints, points_->text()))
        points_->setText(*chosen);
}

void OneClickDialog::ChooseFolder() {
    CloseCompletions();
    FileRequest request;
    request.instance = kOutputFolderDialog;
    request.folder = true;
    request.title = QStringLiteral("选择输出文件夹");
    request.offeredFile = folder_->text();
    if (request.offeredFile.isEmpty()) request.directory = RememberedFolder(kOutputFolderDialog);
    const std::optional<QString> chosen = ui_.ChooseFile(*this, request);
    if (!chosen) return;
    folder_->setText(*chosen);
    RememberFolder(kOutputFolderDialog, *chosen);
}

std::optional<QString> OneClickDialog::Choose(FileRole role, const QString& offered) {
    FileRequest request;
    request.instance = static_cast<int>(role);
    request.nameFilters = ToQtNameFilters(FilterOf(role));
    request.offeredFile = offered;
    request.title = QStringLiteral("打开：%1").arg(FromUtf8(RoleName(role)));
    if (offered.isEmpty()) request.directory = RememberedFolder(request.instance);
    std::optional<QString> chosen = ui_.ChooseFile(*this, request);
    if (chosen) RememberFolder(request.instance, QFileInfo(*chosen).absolutePath());
    return chosen;
}

PipelineRequest OneClickDialog::Request() const {
    PipelineRequest request;
    request.drawing = ToFileSystemPath(drawing_->text());
    request.points = ToFileSystemPath(points_->text());
    request.labelLayer = labelLayer_->currentText().toStdString();
    request.lineLayer = lineLayer_->currentText().toStdString();
    request.outputFolder = ToFileSystemPath(folder_->text());
    request.plotKind = sheets_->currentData().toString().toStdString();
    request.resultLayout = ChosenLayout(*layout_);
    return request;
}

QString OneClickDialog::Layout() const { return layout_->currentText(); }

Settings OneClickDialog::RunSettings() const {
    Settings settings = settingsInForce_();
    settings.layout = ChosenLayout(*layout_);
    settings.numericLabels = numericLabels_->isChecked();
    settings.routeSides = routeSides_->isChecked();
    return settings;
}

QStringList OneClickDialog::FilesToReplace(const PipelineRequest& request) {
    QStringList files;
    for (const PipelineStage& stage : PipelineStages(request)) {
        const QFileInfo file(FromFileSystemPath(stage.output));
        if (file.exists()) files << file.fileName();
    }
    return files;
}

QStringList OneClickDialog::MissingEntries() const {
    QStringList missing;
    if (drawing_->text().isEmpty()) missing << QStringLiteral("路线图形");
    if (labelLayer_->currentText().isEmpty()) missing << QStringLiteral("桩号文字图层");
    if (lineLayer_->currentText().isEmpty()) missing << QStringLiteral("横断面线图层");
    if (points_->text().isEmpty()) missing << QStringLiteral("碎步点文件");
    if (folder_->text().isEmpty()) missing << QStringLiteral("输出文件夹");
    return missing;
}

void OneClickDialog::Start() {
    if (workbench_.busy()) return;
    CloseCompletions();
    const QStringList missing = MissingEntries();
    if (!missing.isEmpty()) {
        ui_.ShowMessage(*this, QStringLiteral("注意！"), QStringLiteral("请填写：%1。").arg(missing.join(u'、')));
        return;
    }
    const PipelineRequest request = Request();
    const QStringList earlier = FilesToReplace(request);
    if (!earlier.isEmpty() &&
        !ui_.AskYesNo(*this, windowTitle(),
                      QStringLiteral("输出文件夹“%1”中已有以下文件，继续将替换它们：\n%2\n\n要继续吗？")
                          .arg(folder_->text(), earlier.join(u'\n'))))
        return;
    RememberOneClick(OneClickEntry::LabelLayer, labelLayer_->currentText());
    RememberOneClick(OneClickEntry::LineLayer, lineLayer_->currentText());
    RememberOneClick(OneClickEntry::Drawing, drawing_->text());
    RememberOneClick(OneClickEntry::Points, points_->text());
    RememberOneClick(OneClickEntry::OutputFolder, folder_->text());
    RememberSheetKind(sheets_->currentData().toString());
    const QString folder = folder_->text();
    const bool folderExisted = QFileInfo::exists(folder);
    start_->setEnabled(false);
    status_->clear();
    const std::optional<PipelineReport> report = workbench_.RunPipeline(request, *host_, RunSettings());
    start_->setEnabled(true);
    // A folder this run made and left empty goes again (rmdir removes only an empty folder).
    if (!folderExisted && (!report || !report->Completed())) QDir().rmdir(folder);
    if (!report) return;
    ShowAttachedDrawing();  // the run attaches the drawing it read
    if (!report->Completed()) {
        const StepCaution* caution = report->StoppingCaution();
        host_->ShowMessage(MessageRole::Warning, "注意！",
                           (caution ? caution->cause + "\n\n" : std::string()) + PipelineStopText(*report));
        return;
    }
    stage_->setText(QStringLiteral("一键生成完成。"));
    const bool view = ui_.AskYesNo(*this, FromUtf8(kSummaryTitle),
                                   FromUtf8(PipelineSummaryText(*report)) +
                                       QStringLiteral("\n\n要在“断面查看”中逐个查看这些断面吗？"));
    host_->OpenResult(report->Find(FileRole::SectionResults)->output);
    if (const StageReport* sheets = report->Find(FileRole::SectionSheets);
        sheets && ui_.AskYesNo(*this, FromUtf8(kSummaryTitle),
                               QStringLiteral("要打开绘制的断面图“%1”吗？").arg(FromUtf8(sheets->OutputName()))))
        ui_.OpenWithDesktop(FromFileSystemPath(sheets->output));
    accept();
    if (!view) return;
    // The viewer opens the very sections the run built for its result.
    workbench_.session().sectionsOnView = SectionsOnViewOfRun(*report, RunSettings());
    QStringList files;
    for (const FileSpec& input : Describe(StepId::SectionViewer).inputs)
        files << FromFileSystemPath(PipelineFilePath(request, input.role));
    emit viewSectionsRequested(files);
}

void OneClickDialog::reject() {
    if (workbench_.busy()) return;  // the run ends first
    QDialog::reject();
}

void OneClickDialog::closeEvent(QCloseEvent* event) {
    if (workbench_.busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace qorvel::gui
