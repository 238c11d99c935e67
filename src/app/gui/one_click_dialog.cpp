#include "app/gui/one_click_dialog.h"

#include <QCloseEvent>
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

#include "app/gui/name_filters.h"
#include "app/gui/painted_icons.h"
#include "app/gui/qt_step_host.h"
#include "app/gui/user_interaction.h"
#include "app/pipeline_summary.h"
#include "app/step_frame.h"
#include "drawing/attached_drawing.h"

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
    box->lineEdit()->setPlaceholderText(hint);
    return box;
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
    const Settings window = settingsInForce_();
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
    lineLayer_->setEditText(FromUtf8(window.layerName));  // the window's layer box names the section lines
    points_ = new QLineEdit(this);
    points_->setObjectName(QStringLiteral("Points"));
    points_->setPlaceholderText(QStringLiteral("全图碎步点数据文件"));
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("OutputFolder"));
    folder_->setPlaceholderText(QStringLiteral("各步的文件写入此文件夹"));
    layout_ = new QComboBox(this);
    layout_->setObjectName(QStringLiteral("Layout"));
    for (int number = 1; number <= 5; ++number) layout_->addItem(QStringLiteral("格式 %1").arg(number));
    layout_->setCurrentText(FromUtf8(window.layoutName));

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

    host_ = std::make_unique<QtStepHost>(*this, StepDisplay{stage_, status_, progress_}, ui_);
    Prepare();
}

OneClickDialog::~OneClickDialog() = default;

void OneClickDialog::Prepare() {
    stage_->setText(QStringLiteral("依次提取桩号文字、合成中桩坐标并检查、提取横断面线、匹配桩号并检查、"
                                   "碎步点归类、输出成果。"));
    status_->clear();
    progress_->setValue(0);
    ShowAttachedDrawing();
}

void OneClickDialog::ShowAttachedDrawing() {
    const std::shared_ptr<AttachedDrawing>& drawing = workbench_.session().drawing;
    if (!drawing) return;
    drawing_->setText(FromFileSystemPath(drawing->path()));
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

// Beside the drawing, named after it, unless the surveyor has named a folder.
void OneClickDialog::SuggestFolder() {
    if (!folder_->text().isEmpty() || drawing_->text().isEmpty()) return;
    const QFileInfo drawing(drawing_->text());
    folder_->setText(drawing.absolutePath() + QStringLiteral("/") + drawing.completeBaseName() +
                     QStringLiteral("_断面成果"));
}

void OneClickDialog::ChooseDrawing() {
    if (workbench_.busy()) return;
    const FileRequest request{static_cast<int>(FileRole::Drawing), false,
                              ToQtNameFilters(FilterOf(FileRole::Drawing)), drawing_->text()};
    const std::optional<QString> chosen = ui_.ChooseFile(*this, request);
    if (!chosen) return;
    // Read and attached at once, as the toolbar's "打开图形" does: its layers fill the boxes, and
    // a drawing that cannot be read is reported now, not halfway through the run.
    workbench_.AttachDrawing(ToFileSystemPath(*chosen), *host_);
    ShowAttachedDrawing();
}

void OneClickDialog::ChoosePoints() {
    const FileRequest request{static_cast<int>(FileRole::DetailPoints), false,
                              ToQtNameFilters(FilterOf(FileRole::DetailPoints)), points_->text()};
    if (const std::optional<QString> chosen = ui_.ChooseFile(*this, request)) points_->setText(*chosen);
}

void OneClickDialog::ChooseFolder() {
    const FileRequest request{kOutputFolderDialog, false, {}, folder_->text(), true};
    if (const std::optional<QString> chosen = ui_.ChooseFile(*this, request)) folder_->setText(*chosen);
}

PipelineRequest OneClickDialog::Request() const {
    PipelineRequest request;
    request.drawing = ToFileSystemPath(drawing_->text());
    request.points = ToFileSystemPath(points_->text());
    request.labelLayer = labelLayer_->currentText().toStdString();
    request.lineLayer = lineLayer_->currentText().toStdString();
    request.outputFolder = ToFileSystemPath(folder_->text());
    return request;
}

QString OneClickDialog::Layout() const { return layout_->currentText(); }

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
    const QStringList missing = MissingEntries();
    if (!missing.isEmpty()) {
        ui_.ShowMessage(*this, QStringLiteral("注意！"), QStringLiteral("请填写：%1。").arg(missing.join(u'、')));
        return;
    }
    start_->setEnabled(false);
    status_->clear();
    Settings settings = settingsInForce_();
    settings.layoutName = Layout().toStdString();
    const std::optional<PipelineReport> report = workbench_.RunPipeline(Request(), *host_, settings);
    start_->setEnabled(true);
    if (!report) return;
    ShowAttachedDrawing();  // the run attaches the drawing it read
    if (!report->Completed()) {
        host_->ShowMessage(MessageRole::Warning, "注意！", PipelineStopText(*report));
        return;
    }
    stage_->setText(QStringLiteral("一键生成完成。"));
    host_->ShowMessage(MessageRole::Summary, kSummaryTitle, PipelineSummaryText(*report));
    host_->OpenResult(report->Find(FileRole::SectionResults)->output);
    accept();
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
