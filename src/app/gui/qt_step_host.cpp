#include "app/gui/qt_step_host.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>

#include "app/gui/name_filters.h"

namespace qorvel::gui {

namespace {
constexpr int kEventIntervalMs = 100;

}  // namespace

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToFileSystemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromFileSystemPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

bool IsReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.permissions().testFlag(QFileDevice::WriteOwner);
}

QtStepHost::QtStepHost(QWidget& window, StepDisplay display, UserInteraction& ui)
    : window_(window), display_(std::move(display)), ui_(ui) {
    sinceEvents_.start();
}

QString QtStepHost::LastFileOf(FileRole role) const {
    const auto found = lastFiles_.find(role);
    return found == lastFiles_.end() ? QString() : found->second;
}

std::optional<std::string> QtStepHost::AskFile(const FileQuestion& question) {
    const FileRole role = question.file.role;
    FileRequest request{static_cast<int>(role), question.save, ToQtNameFilters(question.file.filter), LastFileOf(role)};
    for (;;) {
        const std::optional<QString> chosen = ui_.ChooseFile(window_, request);
        if (!chosen) return std::nullopt;
        lastFiles_[role] = *chosen;
        if (question.save && IsReadOnlyFile(*chosen)) {
            ui_.ShowMessage(window_, QStringLiteral("注意！"),
                            QStringLiteral("文件“%1”是只读文件，不能替换。\n请另选文件名。").arg(*chosen));
            request.offeredFile = *chosen;
            continue;
        }
        return ToFileSystemPath(*chosen);
    }
}

void QtStepHost::ShowMessage(MessageRole, std::string_view title, std::string_view text) {
    // A closing count, a warning and a notice all stop for the user's OK.
    ui_.ShowMessage(window_, FromUtf8(title), FromUtf8(text));
}

void QtStepHost::ShowFailure(std::string_view description) {
    ui_.ShowMessage(window_, QStringLiteral("警告！"), FromUtf8(description));
}

void QtStepHost::SetStatus(int panel, std::string_view text) {
    QLabel* label = panel == 1 ? display_.panel1.data() : display_.panel2.data();
    if (label == nullptr) return;
    label->setText(FromUtf8(text));
    label->repaint();
    KeepWindowPainted();
}

void QtStepHost::SetProgress(int percent) {
    if (display_.progress.isNull()) return;
    display_.progress->setValue(std::clamp(percent, 0, 100));
    display_.progress->repaint();
    KeepWindowPainted();
}

void QtStepHost::OpenResult(const std::string& path) {
    const QString file = FromFileSystemPath(path);
    if (!ui_.OpenInEditor(file))
        ui_.ShowMessage(window_, QStringLiteral("注意！"),
                        QStringLiteral("无法启动文本编辑器。结果已保存在：\n%1").arg(file));
}

void QtStepHost::BringMainWindowToFront() {
    window_.raise();
    window_.activateWindow();
}

void QtStepHost::KeepWindowPainted() {
    if (sinceEvents_.elapsed() < kEventIntervalMs) return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.restart();
}

}  // namespace qorvel::gui
