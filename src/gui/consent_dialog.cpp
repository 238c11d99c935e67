#include "gui/consent_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/twips.h"

namespace qorvel::gui {

ConsentDialog::ConsentDialog()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Form3"));
    const TwipScale twips = TwipScale::For(*this);
    setFixedSize(twips.Size(6990, 5010));

    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setGeometry(twips.Rect(480, 600, 5895, 1815));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont font = text->font();
    font.setPointSize(12);
    text->setFont(font);
    QPalette red = text->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    text->setPalette(red);
    text->setText(QStringLiteral("本软件生成的全部成果，使用者在使用前必须自行检查核对。"
                                 "因使用本软件或其成果所造成的任何损失，软件作者概不承担责任。"
                                 "同意以上条款方可使用本软件。"));

    auto* agree = new QPushButton(QStringLiteral("同意"), this);
    agree->setObjectName(QStringLiteral("Command1"));
    agree->setGeometry(twips.Rect(480, 3600, 2175, 615));
    connect(agree, &QPushButton::clicked, this, &ConsentDialog::agreed);

    auto* decline = new QPushButton(QStringLiteral("不同意"), this);
    decline->setObjectName(QStringLiteral("Command2"));
    decline->setGeometry(twips.Rect(4320, 3600, 2175, 615));
    connect(decline, &QPushButton::clicked, this, &ConsentDialog::declined);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void ConsentDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A button Tab has moved to answers for itself.
            if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
                focused->click();
            else
                emit agreed();
            break;
        case Qt::Key_Escape: emit declined(); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace qorvel::gui
