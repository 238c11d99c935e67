// qorvel-gui: the desktop program. It opens with the consent dialog; "同意" opens the main
// window. For screenshots and demonstrations, `qorvel-gui --skip-consent` opens the main
// window directly; `qorvel-gui --view MEMBERS STAKES POINTS MATCHED` opens the section viewer
// on those four files alone.

#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "core/interrupt_cleanup.h"
#include "gui/desktop_interaction.h"
#include "gui/program.h"
#include "gui/remembered.h"

int main(int argc, char** argv) {
    qorvel::InstallInterruptCleanup();
    QApplication application(argc, argv);
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
