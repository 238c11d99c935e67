#include "gui/settings_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <optional>

#include "core/decimal_text.h"
#include "core/number_read.h"
#include "frame/drawing_code_pages.h"
#include "frame/plot_options.h"
#include "gui/twips.h"
#include "gui/user_interaction.h"

namespace qorvel::gui {

namespace {

struct BoxRow {
    int box;  // 1 for Text1, ...: the tolerance of the same place in ToleranceSettings()
    int top;  // twips
};

// In the order the rows stand in the dialog.
constexpr std::array kRows{BoxRow{1, 720}, BoxRow{3, 1800}, BoxRow{4, 3120}, BoxRow{5, 4200}, BoxRow{2, 5160}};

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

constexpr int kWidth = 8760;
constexpr int kHeight = 9240;
constexpr int kSheetTop = 6480;  // the section sheets' rows
constexpr int kButtonTop = 8400;
constexpr int kSwitchLeft = 960;
constexpr int kSwitchWidth = 3000;
constexpr int kSwitchHeight = 360;
constexpr int kCaptionLeft = 4320;
constexpr int kCaptionWidth = 2760;
constexpr int kBoxLeft = 7200;
constexpr int kBoxWidth = 900;
constexpr int kUnitLeft = 8160;

}  // namespace

SettingsDialog::SettingsDialog(Settings& settings, UserInteraction& ui, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      settings_(settings),
      ui_(ui) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("设置"));
    setAttribute(Qt::WA_DeleteOnClose);
    const TwipScale twips = TwipScale::For(*this);
    setFixedSize(twips.Size(kWidth, kHeight));

    const auto place = [&](QWidget* widget, const char* name, int left, int top, int width, int height) {
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(twips.Rect(left, top, width, height));
    };

    // The switches.
    textLabels_ = new QRadioButton(QStringLiteral("图上里程为字符型"), this);
    place(textLabels_, "Option1", kSwitchLeft, 720, kSwitchWidth, kSwitchHeight);
    numericLabels_ = new QRadioButton(QStringLiteral("图上里程为数值"), this);
    place(numericLabels_, "Option2", kSwitchLeft, 1200, kSwitchWidth, kSwitchHeight);
    const auto check = [&](const char* caption, const char* name, int top) {
        auto* box = new QCheckBox(QString::fromUtf8(caption), this);
        place(box, name, kSwitchLeft, top, kSwitchWidth, kSwitchHeight);
        return box;
    };
    swapSides_ = check("幅别颠倒生成", "Check1", 1800);
    negateHeights_ = check("变换高差正负号", "Check2", 2280);
    stationText_ = check("转换为字符型桩号", "Check3", 2760);
    blankLine_ = check("断面桩号隔一行生成", "Check4", 3360);
    routeSides_ = check("按路线前进方向区分左右", "Check5", 3840);

    // The code page of drawings that name none, below the switches.
    auto* codePageCaption = new QLabel(QStringLiteral("图形未注明代码页时，文字的代码页："), this);
    place(codePageCaption, "Label11", kSwitchLeft - 240, 4560, kSwitchWidth + 240, 300);
    codePage_ = new QComboBox(this);
    place(codePage_, "Combo1", kSwitchLeft - 240, 4920, kSwitchWidth + 240, 360);
    for (const DrawingCodePage& page : DrawingCodePages())
        codePage_->addItem(QStringLiteral("%1  %2").arg(Utf8(page.name), Utf8(page.description)), Utf8(page.name));
    codePage_->setToolTip(QStringLiteral("R2007 以前保存、又没有注明代码页的 DXF 图形，按此读取其文字"));
    codePageCaption->setBuddy(codePage_);

    // The tolerance boxes with their captions.
    constexpr std::array<const char*, 5> kBoxNames{"Text1", "Text2", "Text3", "Text4", "Text5"};
    constexpr std::array<const char*, 5> kCaptionNames{"Label1", "Label2", "Label3", "Label4", "Label5"};
    constexpr std::array<const char*, 5> kUnitNames{"Label6", "Label7", "Label8", "Label9", "Label10"};
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        const BoxRow& r = kRows[row];
        const std::size_t box = static_cast<std::size_t>(r.box - 1);
        const ToleranceSetting& tolerance = ToleranceSettings()[box];
        auto* caption = new QLabel(Utf8(tolerance.caption), this);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(caption, kCaptionNames[row], kCaptionLeft, r.top + 40, kCaptionWidth, 900);
        boxLabels_[box] = caption;
        boxes_[box] = new QLineEdit(this);
        place(boxes_[box], kBoxNames[box], kBoxLeft, r.top, kBoxWidth, 360);
        caption->setBuddy(boxes_[box]);
        auto* unit = new QLabel(QStringLiteral("米"), this);
        place(unit, kUnitNames[row], kUnitLeft, r.top + 40, 400, 300);
    }

    // Thin lines between the groups.
    const auto line = [&](const char* name, int left, int top, int width) {
        auto* rule = new QFrame(this);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        place(rule, name, left, top, width, 30);
    };
    line("Line1", kSwitchLeft - 240, 1620, kSwitchWidth);
    line("Line2", kSwitchLeft - 240, 3200, kSwitchWidth);
    line("Line8", kSwitchLeft - 240, 4380, kSwitchWidth);
    line("Line3", kCaptionLeft - 120, 1560, kWidth - kCaptionLeft - 120);
    line("Line4", kCaptionLeft - 120, 2880, kWidth - kCaptionLeft - 120);
    line("Line5", kCaptionLeft - 120, 3960, kWidth - kCaptionLeft - 120);
    line("Line6", kCaptionLeft - 120, 4920, kWidth - kCaptionLeft - 120);
    line("Line7", 240, 6360, kWidth - 480);

    // The section sheets, as 绘制断面图, the one-click run and the viewer's export draw them.
    const auto caption = [&](const char* text, const char* name, int left, int top, QWidget* buddy) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        place(label, name, left, top + 40, 1200, 300);
        label->setBuddy(buddy);
    };
    const auto edit = [&](const char* name, int left, int top, int width) {
        auto* box = new QLineEdit(this);
        place(box, name, left, top, width, 360);
        return box;
    };
    sheetSize_ = new QComboBox(this);
    place(sheetSize_, "SheetSize", 1440, kSheetTop, 1200, 360);
    for (const SheetSize size : {SheetSize::A3, SheetSize::A4, SheetSize::A1})
        sheetSize_->addItem(Utf8(SheetSizeName(size)), Utf8(SheetSizeName(size)));
    caption("断面图纸：", "Label12", 240, kSheetTop, sheetSize_);
    sheetScale_ = edit("SheetScale", 4320, kSheetTop, 1080);
    caption("横向比例 1：", "Label13", 3000, kSheetTop, sheetScale_);
    exaggeration_ = edit("Exaggeration", 7200, kSheetTop, 900);
    caption("竖向放大：", "Label14", 5880, kSheetTop, exaggeration_);
    project_ = edit("SheetProject", 1440, kSheetTop + 480, 2880);
    caption("项目名称：", "Label15", 240, kSheetTop + 480, project_);
    road_ = edit("SheetRoad", 5880, kSheetTop + 480, 2220);
    caption("路线名称：", "Label16", 4560, kSheetTop + 480, road_);
    drawingNumber_ = edit("DrawingNumber", 1440, kSheetTop + 960, 2880);
    caption("图号：", "Label17", 240, kSheetTop + 960, drawingNumber_);
    dxfUnits_ = new QComboBox(this);
    place(dxfUnits_, "DxfUnits", 5880, kSheetTop + 960, 2220, 360);
    dxfUnits_->addItem(QStringLiteral("米（实地尺寸）"), QStringLiteral("m"));
    dxfUnits_->addItem(QStringLiteral("毫米（图纸尺寸）"), QStringLiteral("mm"));
    caption("DXF 单位：", "Label18", 4560, kSheetTop + 960, dxfUnits_);
    line("Line9", 240, kButtonTop - 240, kWidth - 480);

    auto* confirm = new QPushButton(QStringLiteral("确定"), this);
    place(confirm, "Command1", 5520, kButtonTop, 1215, 495);
    connect(confirm, &QPushButton::clicked, this, [this] { Confirm(); });
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    place(cancel, "Command3", 6840, kButtonTop, 1215, 495);
    connect(cancel, &QPushButton::clicked, this, &SettingsDialog::Cancel);
    auto* restore = new QPushButton(QStringLiteral("恢复默认"), this);
    place(restore, "Command2", kSwitchLeft - 240, kButtonTop, 1215, 495);
    connect(restore, &QPushButton::clicked, this, &SettingsDialog::RestoreStartValues);

    ShowSettings(settings_);

    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SettingsDialog::ShowSettings(const Settings& settings) {
    (settings.numericLabels ? numericLabels_ : textLabels_)->setChecked(true);
    swapSides_->setChecked(settings.swapSides);
    negateHeights_->setChecked(settings.negateHeights);
    stationText_->setChecked(settings.stationText);
    blankLine_->setChecked(settings.blankLine);
    routeSides_->setChecked(settings.routeSides);
    codePage_->setCurrentIndex(std::max(0, codePage_->findData(Utf8(settings.codePage))));
    for (std::size_t box = 0; box < boxes_.size(); ++box)
        boxes_[box]->setText(QString::fromStdString(FormatGeneral(settings.*ToleranceSettings()[box].value)));
    sheetSize_->setCurrentIndex(std::max(0, sheetSize_->findData(Utf8(settings.sheetSize).toUpper())));
    sheetScale_->setText(QString::fromStdString(FormatGeneral(settings.sheetScale)));
    exaggeration_->setText(QString::fromStdString(FormatGeneral(settings.exaggeration)));
    project_->setText(Utf8(settings.sheetProject));
    road_->setText(Utf8(settings.sheetRoad));
    drawingNumber_->setText(Utf8(settings.drawingNumber));
    dxfUnits_->setCurrentIndex(std::max(0, dxfUnits_->findData(Utf8(settings.dxfUnits))));
}

void SettingsDialog::RestoreStartValues() { ShowSettings(Settings{}); }

bool SettingsDialog::Confirm() {
    std::array<double, 5> values{};
    for (std::size_t box = 0; box < boxes_.size(); ++box) {
        const ToleranceSetting& tolerance = ToleranceSettings()[box];
        // The avoid distance may be 0 or below: a negative one lets the stake's own shot onto a side.
        const bool anySign = tolerance.id == SettingId::AvoidDistance;
        const QString text = boxes_[box]->text();
        const QByteArray bytes = text.toUtf8();
        const std::optional<double> value = ReadStrict(std::string_view(bytes.constData(), bytes.size()));
        if (value && (anySign || *value > 0)) {
            values[box] = *value;
            continue;
        }
        const QString example = QString::fromStdString(FormatGeneral(Settings{}.*tolerance.value));
        const QString given = text.trimmed().isEmpty() ? QStringLiteral("空白") : QStringLiteral("“%1”").arg(text);
        ui_.ShowMessage(*this, QStringLiteral("注意！"),
                        (anySign ? QStringLiteral("“%1”只接受一个数（例如 %2，可为 0 或负数），%3不行。\n请重新输入。")
                                 : QStringLiteral("“%1”只接受大于 0 的数（例如 %2），%3不行。\n请重新输入。"))
                            .arg(boxLabels_[box]->text(), example, given));
        boxes_[box]->setFocus();
        boxes_[box]->selectAll();
        return false;
    }
    // The sheets' scale and exaggeration, in the ranges every front end reads alike.
    struct SheetNumber {
        QLineEdit* box;
        std::string (*problem)(double);
        double value = 0;
    };
    std::array<SheetNumber, 2> sheetNumbers{SheetNumber{sheetScale_, SheetScaleProblem},
                                            SheetNumber{exaggeration_, ExaggerationProblem}};
    for (SheetNumber& number : sheetNumbers) {
        const QByteArray bytes = number.box->text().toUtf8();
        const std::optional<double> value = ReadStrict(std::string_view(bytes.constData(), bytes.size()));
        const std::string problem = value ? number.problem(*value) : std::string("请输入一个数");
        if (problem.empty()) {
            number.value = *value;
            continue;
        }
        ui_.ShowMessage(*this, QStringLiteral("注意！"), Utf8(problem) + QStringLiteral("。\n请重新输入。"));
        number.box->setFocus();
        number.box->selectAll();
        return false;
    }
    for (std::size_t box = 0; box < boxes_.size(); ++box) settings_.*ToleranceSettings()[box].value = values[box];
    settings_.sheetSize = sheetSize_->currentData().toString().toStdString();
    settings_.sheetScale = sheetNumbers[0].value;
    settings_.exaggeration = sheetNumbers[1].value;
    settings_.sheetProject = project_->text().toStdString();
    settings_.sheetRoad = road_->text().toStdString();
    settings_.drawingNumber = drawingNumber_->text().toStdString();
    settings_.dxfUnits = dxfUnits_->currentData().toString().toStdString();
    settings_.numericLabels = numericLabels_->isChecked();
    settings_.swapSides = swapSides_->isChecked();
    settings_.negateHeights = negateHeights_->isChecked();
    settings_.stationText = stationText_->isChecked();
    settings_.blankLine = blankLine_->isChecked();
    settings_.routeSides = routeSides_->isChecked();
    settings_.codePage = codePage_->currentData().toString().toStdString();
    emit changed();
    hide();
    return true;
}

void SettingsDialog::Cancel() { close(); }

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A button Tab has moved to answers for itself; anywhere else Return means "确定".
            if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
                focused->click();
            else
                Confirm();
            break;
        case Qt::Key_Escape: Cancel(); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    emit unloaded();
    event->accept();
}

}  // namespace qorvel::gui
