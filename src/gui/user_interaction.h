#pragma once
// Everything the window does that waits for the user or reaches outside the program: file
// dialogs, message boxes and questions, the text editor, moving the window, ending the program. The program
// uses the desktop's own (DesktopInteraction); the tests put a scripted one in its place, so
// whole steps run through the real window without a modal dialog stopping them.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace qorvel::gui {

struct FileRequest {
    int instance = 1;         // the dialog instance: one for each role of file (its FileRole)
    bool save = false;        // a save dialog (the step's host asks before replacing a file)
    QStringList nameFilters;  // in Qt's "description (patterns)" form
    QString offeredFile;      // the file offered: the one last chosen, or the usual name
    bool folder = false;      // chooses a folder, not a file
    QString title;            // what is asked for, e.g. "打开（2/4）：碎步点文件"
    QString directory;        // where the dialog opens when no file is offered
};

class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // A file dialog over `window`; nothing when the user cancels.
    virtual std::optional<QString> ChooseFile(QWidget& window, const FileRequest& request) = 0;
    // A modal message box with the exclamation icon and an OK button.
    virtual void ShowMessage(QWidget& window, const QString& title, const QString& text) = 0;
    // A modal question with the buttons 是 and 否 (否 the default); true for 是.
    virtual bool AskYesNo(QWidget& window, const QString& title, const QString& text) = 0;
    // Opens `path` in the desktop's text editor without waiting for it; false if none started.
    virtual bool OpenInEditor(const QString& path) = 0;
    // Opens `path` (a PDF, a DXF, a folder of SVG pages) with the program the desktop gives its
    // kind, without waiting for it; false if none started.
    virtual bool OpenWithDesktop(const QString& path) = 0;
    // Lets the window system move `window` with the mouse, as a drag on its title bar does.
    virtual void StartWindowMove(QWidget& window) = 0;
    // Ends the program at once, closing every window.
    virtual void EndProgram() = 0;
};

}  // namespace qorvel::gui
