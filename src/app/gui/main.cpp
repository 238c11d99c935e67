// qorvel-gui: the desktop program. It opens with the consent dialog; "同意" opens the main
// window. For screenshots and demonstrations, `qorvel-gui --skip-consent` opens the main
// window directly.

#include <QApplication>
#include <QStringList>

#include "app/gui/desktop_interaction.h"
#include "app/gui/program.h"
#include "app/gui/remembered.h"
#include "core/interrupt_cleanup.h"

int main(int argc, char** argv) {
    qorvel::InstallInterruptCleanup();
    QApplication application(argc, argv);
    qorvel::gui::NameSettingsStore();
    qorvel::gui::InstallChineseTranslations(application);

    qorvel::gui::DesktopInteraction desktop;
    qorvel::gui::Program program(desktop);
    if (QApplication::arguments().contains(QStringLiteral("--skip-consent")))
        program.ShowMainWindow();
    else
        program.ShowConsent();
    return QApplication::exec();
}
