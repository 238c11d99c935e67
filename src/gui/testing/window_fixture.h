#pragma once
// What the window tests share: a fresh main window for each test function, shown on the
// offscreen screen and answered by a scripted user, as at the program's first start (nothing
// remembered), and widgets found by their object names.

#include <QSettings>
#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>

#include "gui/main_window.h"
#include "testing/scripted_interaction.h"

namespace qorvel::gui::testing {

// The child of that object name; without it the test cannot go on.
template <class T>
T* Find(QWidget& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    if (found == nullptr) qFatal("no %s", qPrintable(name));
    return found;
}

inline QString Q(const std::string& path) { return QString::fromStdString(path); }

// Mixed into a test class: Show() from its init(), Close() from its cleanup().
class ShownMainWindow {
protected:
    std::unique_ptr<ScriptedInteraction> ui_;
    std::unique_ptr<MainWindow> window_;

    [[nodiscard]] bool Show() {
        QSettings().clear();
        return ShowAgain();
    }
    // A new main window, as at the program's next start: what the last one remembered stays.
    [[nodiscard]] bool ShowAgain() {
        window_.reset();
        ui_ = std::make_unique<ScriptedInteraction>();
        window_ = std::make_unique<MainWindow>(*ui_);
        window_->show();
        return QTest::qWaitForWindowExposed(window_.get());
    }
    void Close() {
        window_.reset();
        ui_.reset();
    }
};

}  // namespace qorvel::gui::testing
