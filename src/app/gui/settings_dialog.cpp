#include "app/gui/settings_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <optional>

#include "app/gui/twips.h"
#include "app/gui/user_interaction.h"
#include "core/decimal_text.h"
#include "core/number_read.h"

namespace qorvel::gui {

namespace {

struct BoxRow {
    int box;  // 1 for Text1, ...: the tolerance of the same place in ToleranceSettings()
    int top;  // twips
};

// In the order the rows stand in the dialog.
constexpr std::array kRows{BoxRow{1, 720}, BoxRow{3, 1800}, BoxRow{4, 3120}, BoxRow{5, 4200}, BoxRow{2, 5160}};

const Settings kStart;

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

constexpr int kWidth = 8760;
constexpr int kHeight = 7560;
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

    // The switches, in their start states.
    textLabels_ = new QRadioButton(QStringLiteral("图上里程为字符型"), this);
    place(textLabels_, "Option1", kSwitchLeft, 720, kSwitchWidth, kSwitchHeight);
    textLabels_->setChecked(!kStart.numericLabels);
    numericLabels_ = new QRadioButton(QStringLiteral("图上里程为数值"), this);
    place(numericLabels_, "Option2", kSwitchLeft, 1200, kSwitchWidth, kSwitchHeight);
    numericLabels_->setChecked(kStart.numericLabels);
    const auto check = [&](const char* caption, const char* name, int top, bool start) {
        auto* box = new QCheckBox(QString::fromUtf8(caption), this);
        place(box, name, kSwitchLeft, top, kSwitchWidth, kSwitchHeight);
        box->setChecked(start);
        return box;
    };
    swapSides_ = check("幅别颠倒生成", "Check1", 1800, kStart.swapSides);
    negateHeights_ = check("变换高差正负号", "Check2", 2280, kStart.negateHeights);
    stationText_ = check("转换为字符型桩号", "Check3", 2760, kStart.stationText);
    blankLine_ = check("断面桩号隔一行生成", "Check4", 3360, kStart.blankLine);

    // The tolerance boxes with their captions, filled with the start values.
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
        boxes_[box] = new QLineEdit(QString::fromStdString(FormatGeneral(kStart.*tolerance.value)), this);
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
    line("Line3", kCaptionLeft - 120, 1560, kWidth - kCaptionLeft - 120);
    line("Line4", kCaptionLeft - 120, 2880, kWidth - kCaptionLeft - 120);
    line("Line5", kCaptionLeft - 120, 3960, kWidth - kCaptionLeft - 120);
    line("Line6", kCaptionLeft - 120, 4920, kWidth - kCaptionLeft - 120);
    line("Line7", 240, 6360, kWidth - 480);

    auto* confirm = new QPushButton(QStringLiteral("确定"), this);
    place(confirm, "Command1", 6840, 6720, 1215, 495);
    connect(confirm, &QPushButton::clicked, this, [this] { Confirm(); });

    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SettingsDialog::CopySwitchesTo(Settings& settings) const {
    settings.numericLabels = numericLabels_->isChecked();
    settings.swapSides = swapSides_->isChecked();
    settings.negateHeights = negateHeights_->isChecked();
    settings.stationText = stationText_->isChecked();
    settings.blankLine = blankLine_->isChecked();
}

void SettingsDialog::CopyStartSwitchesTo(Settings& settings) {
    settings.numericLabels = kStart.numericLabels;
    settings.swapSides = kStart.swapSides;
    settings.negateHeights = kStart.negateHeights;
    settings.stationText = kStart.stationText;
    settings.blankLine = kStart.blankLine;
}

bool SettingsDialog::Confirm() {
    std::array<double, 5> values{};
    for (std::size_t box = 0; box < boxes_.size(); ++box) {
        const QByteArray text = boxes_[box]->text().toUtf8();
        const std::optional<double> value = ReadLenient(std::string_view(text.constData(), text.size()));
        if (!value) {
            // A tolerance of 1e999 metres is no tolerance; better to ask again than to store 0.
            ui_.ShowMessage(*this, QStringLiteral("注意！"),
                            QStringLiteral("“%1”的数值“%2”超出范围，请重新输入。")
                                .arg(boxLabels_[box]->text(), boxes_[box]->text()));
            boxes_[box]->setFocus();
            boxes_[box]->selectAll();
            return false;
        }
        values[box] = *value;
    }
    for (std::size_t box = 0; box < boxes_.size(); ++box) settings_.*ToleranceSettings()[box].value = values[box];
    hide();
    return true;
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    emit unloaded();
    event->accept();
}

}  // namespace qorvel::gui
