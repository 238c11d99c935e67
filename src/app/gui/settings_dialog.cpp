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
#include "core/number_read.h"

namespace qorvel::gui {

namespace {

struct BoxRow {
    int box;  // 1 for Text1, ...
    int top;  // twips
    const char* caption;
    const char* startText;
};

// In the order the rows stand in the dialog.
constexpr std::array kRows{
    BoxRow{1, 720, "桩号文字插入点与中桩点允许偏差值", "0.05"},
    BoxRow{3, 1800, "匹配断面线桩号时，允许中桩点与断面线的垂直距离允许值", "0.01"},
    BoxRow{4, 3120, "碎步点按桩号归类时，其垂直断面线的允许距离值", "0.05"},
    BoxRow{5, 4200, "生成成果时，规避中桩的距离值", "0.08"},
    BoxRow{2, 5160, "向碎步点添加桩号代码时，允许碎步点距离横断面线的直线距离为", "0.01"},
};

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
    option1_ = new QRadioButton(QStringLiteral("图上里程为字符型"), this);
    place(option1_, "Option1", kSwitchLeft, 720, kSwitchWidth, kSwitchHeight);
    option1_->setChecked(true);
    option2_ = new QRadioButton(QStringLiteral("图上里程为数值"), this);
    place(option2_, "Option2", kSwitchLeft, 1200, kSwitchWidth, kSwitchHeight);
    constexpr std::array<const char*, 4> kCheckCaptions{"幅别颠倒生成", "变换高差正负号", "转换为字符型桩号",
                                                         "断面桩号隔一行生成"};
    constexpr std::array kCheckTops{1800, 2280, 2760, 3360};
    constexpr std::array<const char*, 4> kCheckNames{"Check1", "Check2", "Check3", "Check4"};
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        checks_[i] = new QCheckBox(QString::fromUtf8(kCheckCaptions[i]), this);
        place(checks_[i], kCheckNames[i], kSwitchLeft, kCheckTops[i], kSwitchWidth, kSwitchHeight);
    }

    // The tolerance boxes with their captions, filled with the start values.
    constexpr std::array<const char*, 5> kBoxNames{"Text1", "Text2", "Text3", "Text4", "Text5"};
    constexpr std::array<const char*, 5> kCaptionNames{"Label1", "Label2", "Label3", "Label4", "Label5"};
    constexpr std::array<const char*, 5> kUnitNames{"Label6", "Label7", "Label8", "Label9", "Label10"};
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        const BoxRow& r = kRows[row];
        const std::size_t box = static_cast<std::size_t>(r.box - 1);
        auto* caption = new QLabel(QString::fromUtf8(r.caption), this);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(caption, kCaptionNames[row], kCaptionLeft, r.top + 40, kCaptionWidth, 900);
        boxLabels_[box] = caption;
        boxes_[box] = new QLineEdit(QString::fromLatin1(r.startText), this);
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
    settings.Option2 = option2_->isChecked();
    settings.Check1 = checks_[0]->isChecked();
    settings.Check2 = checks_[1]->isChecked();
    settings.Check3 = checks_[2]->isChecked();
    settings.Check4 = checks_[3]->isChecked();
}

void SettingsDialog::CopyStartSwitchesTo(Settings& settings) {
    const Settings start;
    settings.Option2 = start.Option2;
    settings.Check1 = start.Check1;
    settings.Check2 = start.Check2;
    settings.Check3 = start.Check3;
    settings.Check4 = start.Check4;
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
    settings_.StakeTextTolerance = values[0];
    settings_.CodePointTolerance = values[1];
    settings_.LineMatchTolerance = values[2];
    settings_.GroupTolerance = values[3];
    settings_.StakeAvoidDistance = values[4];
    hide();
    return true;
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    emit unloaded();
    event->accept();
}

}  // namespace qorvel::gui
