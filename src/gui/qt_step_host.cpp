#include "gui/qt_step_host.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>

#include "frame/drawing_summary.h"
#include "frame/step_frame.h"
#include "gui/name_filters.h"
#include "gui/remembered.h"

namespace qorvel::gui {

namespace {
constexpr int kEventIntervalMs = 100;

// `path` with the extension of the filter's first pattern ("*.dat") when it has none of its own.
QString WithExtensionOf(const QString& path, std::string_view filter) {
    const QFileInfo file(path);
    if (!file.suffix().isEmpty() || file.fileName().isEmpty()) return path;
    const std::size_t star = filter.find("|*.");
    if (star == std::string_view::npos) return path;
    std::string_view extension = filter.substr(star + 2);
    extension = extension.substr(0, extension.find_first_of(";| "));
    if (extension.size() < 2 || extension.find('*') != std::string_view::npos) return path;
    return path.endsWith(u'.') ? path + FromUtf8(extension.substr(1)) : path + FromUtf8(extension);
}

}  // namespace

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToFileSystemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromFileSystemPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

bool IsReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.permissions().testFlag(QFileDevice::WriteOwner);
}

QtStepHost::QtStepHost(QWidget& window, StepDisplay display, UserInteraction& ui, const Session& session)
    : window_(window), display_(std::move(display)), ui_(ui), session_(session) {
    sinceEvents_.start();
}

QString QtStepHost::LastFileOf(FileRole role) const {
    const auto found = lastFiles_.find(role);
    return found == lastFiles_.end() ? QString() : found->second;
}

void QtStepHost::AnswerNextWith(FileRole role, const QString& path) { presetAnswers_[role] = path; }
void QtStepHost::AnswerNextWithNone(FileRole role) { presetAnswers_[role] = std::nullopt; }

FileRequest QtStepHost::RequestFor(const FileQuestion& question) const {
    const FileRole role = question.file.role;
    FileRequest request;
    request.instance = static_cast<int>(role);
    request.save = question.save;
    request.nameFilters = ToQtNameFilters(question.file.filter);
    const QString what = FromUtf8(RoleName(role));
    if (question.save) {
        request.title = QStringLiteral("保存：%1").arg(what);
        // The usual name, beside the step's first input.
        QString folder;
        if (!question.inputs.empty())
            folder = QFileInfo(FromFileSystemPath(question.inputs.front())).absolutePath();
        else if (const std::optional<DrawingSummary> drawing = SummaryOfAttachedDrawing(session_))
            folder = QFileInfo(FromFileSystemPath(drawing->path)).absolutePath();
        else
            folder = RememberedFolder(request.instance);
        const QString name = FromUtf8(question.usualName);
        request.offeredFile = folder.isEmpty() || name.isEmpty() ? name : QDir(folder).filePath(name);
        if (request.offeredFile.isEmpty()) request.offeredFile = LastFileOf(role);
    } else {
        request.title = question.count > 1
                            ? QStringLiteral("打开（%1/%2）：%3").arg(question.position).arg(question.count).arg(what)
                            : QStringLiteral("打开：%1").arg(what);
        request.offeredFile = LastFileOf(role);
    }
    if (request.offeredFile.isEmpty()) request.directory = RememberedFolder(request.instance);
    return request;
}

std::optional<std::string> QtStepHost::AskFile(const FileQuestion& question) {
    const FileRole role = question.file.role;
    if (const auto preset = presetAnswers_.find(role); preset != presetAnswers_.end()) {
        const std::optional<QString> path = preset->second;
        presetAnswers_.erase(preset);
        if (!path) return std::nullopt;
        lastFiles_[role] = *path;
        return ToFileSystemPath(*path);
    }
    FileRequest request = RequestFor(question);
    for (;;) {
        std::optional<QString> chosen = ui_.ChooseFile(window_, request);
        if (!chosen) return std::nullopt;
        if (question.save) *chosen = WithExtensionOf(*chosen, question.file.filter);
        if (question.save && !AcceptOutput(question, *chosen, request.title)) {
            request.offeredFile = *chosen;
            continue;
        }
        lastFiles_[role] = *chosen;
        RememberFolder(request.instance, QFileInfo(*chosen).absolutePath());
        return ToFileSystemPath(*chosen);
    }
}

bool QtStepHost::AcceptOutput(const FileQuestion& question, const QString& chosen, const QString& title) {
    const std::string path = ToFileSystemPath(chosen);
    for (const std::string& input : question.inputs) {
        if (!SameFile(path, input)) continue;
        ui_.ShowMessage(window_, QStringLiteral("警告！"),
                        QStringLiteral("“%1”是这一步读取的输入文件，写出会毁掉它。\n请另选输出文件。").arg(chosen));
        return false;
    }
    if (IsReadOnlyFile(chosen)) {
        ui_.ShowMessage(window_, QStringLiteral("注意！"),
                        QStringLiteral("文件“%1”是只读文件，不能替换。\n请另选文件名。").arg(chosen));
        return false;
    }
    if (QFileInfo::exists(chosen))
        return ui_.AskYesNo(window_, title, QStringLiteral("“%1”已经存在。\n要替换它吗？").arg(chosen));
    return true;
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
