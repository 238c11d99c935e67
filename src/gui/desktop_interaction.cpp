#include "gui/desktop_interaction.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>
#include <QWindow>

namespace qorvel::gui {

std::optional<QString> DesktopInteraction::ChooseFile(QWidget& window, const FileRequest& request) {
    QPointer<QFileDialog>& dialog = dialogs_[request.instance];
    if (dialog.isNull()) {
        dialog = new QFileDialog(&window);  // owned by the window
        dialog->setObjectName(QStringLiteral("CommonDialog%1").arg(request.instance));
    } else if (dialog->parentWidget() != &window) {
        // An instance shared by the main window and a dialog opens over the one asking.
        dialog->setParent(&window, dialog->windowFlags());
    }
    // Qt's own dialog, not the desktop's: it speaks the language of Qt's translations, which the
    // program loads (Simplified Chinese) whatever the desktop's language.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setWindowTitle(request.title);
    dialog->setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open dialog also takes a name that does not exist (the step then says so). The step's
    // host asks before replacing a file, once it has refused the step's own inputs. A typed
    // name's extension is added by the host too.
    dialog->setFileMode(request.folder ? QFileDialog::Directory : QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::ShowDirsOnly, request.folder);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog->setOption(QFileDialog::DontResolveSymlinks, true);
    dialog->setDefaultSuffix(QString());
    dialog->setNameFilters(request.nameFilters);
    if (!request.directory.isEmpty()) dialog->setDirectory(request.directory);
    if (!request.offeredFile.isEmpty()) dialog->selectFile(request.offeredFile);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    return QDir::cleanPath(chosen.front());
}

void DesktopInteraction::ShowMessage(QWidget& window, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, &window);
    box.exec();
}

bool DesktopInteraction::AskYesNo(QWidget& window, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No, &window);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool DesktopInteraction::OpenInEditor(const QString& path) {
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(path)});
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
}

bool DesktopInteraction::OpenWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

void DesktopInteraction::StartWindowMove(QWidget& window) {
    if (QWindow* handle = window.windowHandle()) handle->startSystemMove();
}

void DesktopInteraction::EndProgram() {
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

}  // namespace qorvel::gui
