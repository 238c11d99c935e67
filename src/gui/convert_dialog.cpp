#include "gui/convert_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "frame/result_layouts.h"
#include "gui/layout_box.h"
#include "gui/name_filters.h"
#include "gui/painted_icons.h"
#include "gui/qt_step_host.h"
#include "gui/remembered.h"
#include "gui/user_interaction.h"

namespace qorvel::gui {

namespace {

QWidget* FileRow(QWidget* parent, QLineEdit* field, const char* buttonName, std::function<void()> choose) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    auto* button = new QPushButton(QStringLiteral("选择…"), row);
    button->setObjectName(QString::fromLatin1(buttonName));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, row, std::move(choose));
    layout->addWidget(button);
    return row;
}

}  // namespace

ConvertDialog::ConvertDialog(Workbench& workbench, QtStepHost& host, UserInteraction& ui,
                             std::function<Settings()> settingsInForce, QWidget& owner)
    : QDialog(&owner), workbench_(workbench), host_(host), ui_(ui), settingsInForce_(std::move(settingsInForce)) {
    setObjectName(QStringLiteral("Convert"));
    setWindowTitle(QStringLiteral("格式转换"));
    setWindowIcon(PaintedIcon(&icons::ConvertSections));
    setModal(true);

    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("Input"));
    input_->setPlaceholderText(QStringLiteral("任一格式的断面成果文件"));
    input_->setMinimumWidth(360);
    from_ = new QComboBox(this);
    from_->setObjectName(QStringLiteral("From"));
    from_->addItem(QStringLiteral("按文件内容识别"), QString());
    FillLayoutBox(*from_);
    from_->setCurrentIndex(0);
    detected_ = new QLabel(this);
    detected_->setObjectName(QStringLiteral("Detected"));
    to_ = new QComboBox(this);
    to_->setObjectName(QStringLiteral("To"));
    FillLayoutBox(*to_);
    stakes_ = new QLineEdit(this);
    stakes_->setObjectName(QStringLiteral("Stakes"));
    stakes_->setPlaceholderText(QStringLiteral("需要中桩高程或路线时选择（如转为 LandXML）"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("断面成果文件："), FileRow(this, input_, "ChooseInput", [this] { ChooseInput(); }));
    form->addRow(QStringLiteral("原格式："), from_);
    form->addRow(QString(), detected_);
    form->addRow(QStringLiteral("转换为："), to_);
    form->addRow(QStringLiteral("中桩文件："), FileRow(this, stakes_, "ChooseStakes", [this] { ChooseStakes(); }));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* convert = buttons->addButton(QStringLiteral("转换"), QDialogButtonBox::AcceptRole);
    convert->setObjectName(QStringLiteral("ConvertButton"));
    buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &ConvertDialog::Convert);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(input_, &QLineEdit::textChanged, this, &ConvertDialog::ShowDetectedLayout);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    ShowDetectedLayout();
}

void ConvertDialog::ShowDetectedLayout() {
    QFile file(input_->text());
    if (input_->text().isEmpty() || !file.open(QIODevice::ReadOnly)) {
        detected_->clear();
        return;
    }
    const QByteArray start = file.read(64 * 1024);
    const ResultLayout* shown = DetectResultLayout(std::string_view(start.constData(), static_cast<std::size_t>(start.size())));
    detected_->setText(shown ? QStringLiteral("文件内容为：%1").arg(FromUtf8(shown->caption))
                             : QStringLiteral("格式 1 至格式 5 无法从内容区分，请选择原格式"));
}

void ConvertDialog::ChooseInput() {
    FileRequest request;
    request.instance = static_cast<int>(FileRole::SectionResults);
    request.nameFilters = ToQtNameFilters(Describe(StepId::ConvertSections).inputs[0].filter);
    request.offeredFile = input_->text();
    request.title = QStringLiteral("打开：%1").arg(FromUtf8(RoleName(FileRole::SectionResults)));
    if (request.offeredFile.isEmpty()) request.directory = RememberedFolder(request.instance);
    if (const std::optional<QString> chosen = ui_.ChooseFile(*this, request)) {
        input_->setText(*chosen);
        RememberFolder(request.instance, QFileInfo(*chosen).absolutePath());
    }
}

void ConvertDialog::ChooseStakes() {
    FileRequest request;
    request.instance = static_cast<int>(FileRole::CentreStakes);
    request.nameFilters = ToQtNameFilters(Describe(StepId::ConvertSections).inputs[1].filter);
    request.offeredFile = stakes_->text();
    request.title = QStringLiteral("打开：%1").arg(FromUtf8(RoleName(FileRole::CentreStakes)));
    if (request.offeredFile.isEmpty()) request.directory = RememberedFolder(request.instance);
    if (const std::optional<QString> chosen = ui_.ChooseFile(*this, request)) stakes_->setText(*chosen);
}

Settings ConvertDialog::ConversionSettings() const {
    Settings settings = settingsInForce_();
    settings.layout = ChosenLayout(*to_);
    settings.sourceLayout = ChosenLayout(*from_);
    return settings;
}

void ConvertDialog::Convert() {
    if (input_->text().isEmpty()) {
        ui_.ShowMessage(*this, QStringLiteral("注意！"), QStringLiteral("请选择要转换的断面成果文件。"));
        return;
    }
    host_.AnswerNextWith(FileRole::SectionResults, input_->text());
    if (stakes_->text().isEmpty()) host_.AnswerNextWithNone(FileRole::CentreStakes);
    else host_.AnswerNextWith(FileRole::CentreStakes, stakes_->text());
    const std::optional<StepResult> result = workbench_.Run(StepId::ConvertSections, host_, ConversionSettings());
    host_.ForgetAnswers();
    if (result && result->Completed()) accept();
}

}  // namespace qorvel::gui
