#pragma once
// The desktop's own dialogs, message boxes and text editor.

#include <QPointer>
#include <map>

#include "gui/user_interaction.h"

class QFileDialog;

namespace qorvel::gui {

class DesktopInteraction final : public UserInteraction {
public:
    std::optional<QString> ChooseFile(QWidget& window, const FileRequest& request) override;
    void ShowMessage(QWidget& window, const QString& title, const QString& text) override;
    bool AskYesNo(QWidget& window, const QString& title, const QString& text) override;
    bool OpenInEditor(const QString& path) override;
    bool OpenWithDesktop(const QString& path) override;
    void StartWindowMove(QWidget& window) override;
    void EndProgram() override;

private:
    // The dialog instances, made the first time a step uses one and kept by the window, so
    // each keeps its folder and view between steps.
    std::map<int, QPointer<QFileDialog>> dialogs_;
};

}  // namespace qorvel::gui
