#pragma once
// Form3, shown before anything else: the surveyor agrees that every result must be checked and
// that the author bears no liability for it, or the program ends. Return agrees, Escape declines.

#include <QWidget>

namespace qorvel::gui {

class ConsentDialog final : public QWidget {
    Q_OBJECT

public:
    ConsentDialog();

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    void agreed();    // "同意"
    void declined();  // "不同意"
};

}  // namespace qorvel::gui
