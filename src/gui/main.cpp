// qorvel-gui: the desktop program. It opens with the consent dialog; "同意" opens the main
// window. For screenshots and demonstrations, `qorvel-gui --skip-consent` opens the main
// window directly; `qorvel-gui --view MEMBERS STAKES POINTS MATCHED` opens the section viewer
// on those four files alone; `qorvel-gui --help` prints how it is called.
//
// Without a display Qt cannot open a window and ends the program with its own English fatal
// message (and a core dump, exit 134); a surveyor who started the window over a remote shell
// gets one Chinese line and exit 1 instead.

#include <QApplication>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/interrupt_cleanup.h"
#include "gui/desktop_interaction.h"
#include "gui/program.h"
#include "gui/remembered.h"

namespace {

constexpr char kUsage[] =
    "用法：qorvel-gui [--skip-consent | --view MEMBERS STAKES POINTS MATCHED]\n"
    "  打开 QORVEL 5.0 路线横断面格式整理软件的窗口；--skip-consent 跳过使用协议直接打开主窗口，\n"
    "  --view 只用四个文件（桩号归属文件、中桩文件、碎步点文件、匹配桩号后的断面线文件）打开断面查看窗口。\n"
    "  没有图形界面时请使用命令行程序 qorvel（qorvel --help）。\n";

// While the application connects to the display: Qt's complaints are held back, and a fatal
// one (no display, no platform plugin) ends the program with one line of its own.
void WhileConnecting(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) return;
    std::fputs("错误：没有可用的显示，无法打开窗口（图形界面不可用）；没有图形界面时请使用命令行程序 qorvel。\n", stderr);
    std::_Exit(1);
}

bool AskedForHelp(int argc, char** argv) {
    for (int index = 1; index < argc; ++index)
        if (std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (AskedForHelp(argc, argv)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    qorvel::InstallInterruptCleanup();
    const QtMessageHandler usual = qInstallMessageHandler(WhileConnecting);
    QApplication application(argc, argv);
    qInstallMessageHandler(usual);
    qorvel::gui::NameSettingsStore();
    qorvel::gui::InstallChineseTranslations(application);

    qorvel::gui::DesktopInteraction desktop;
    qorvel::gui::Program program(desktop);
    const QStringList arguments = QApplication::arguments();
    if (const qsizetype view = arguments.indexOf(QStringLiteral("--view")); view >= 0) {
        const QStringList files = arguments.mid(view + 1);
        if (files.size() != 4) {
            std::fputs("用法：qorvel-gui --view MEMBERS STAKES POINTS MATCHED\n"
                       "  （桩号归属文件、中桩文件、碎步点文件、匹配桩号后的断面线文件）\n",
                       stderr);
            return 2;
        }
        if (!program.ViewSections(files)) return 1;
    } else if (arguments.contains(QStringLiteral("--skip-consent")))
        program.ShowMainWindow();
    else
        program.ShowConsent();
    return QApplication::exec();
}
