#include "gui/program.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "gui/consent_dialog.h"
#include "gui/main_window.h"
#include "gui/section_viewer.h"
#include "gui/user_interaction.h"

namespace qorvel::gui {

bool InstallChineseTranslations(QCoreApplication& application) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setParent(&application);  // lives as long as the application
    return QCoreApplication::installTranslator(translator.release());
}

Program::Program(UserInteraction& ui) : ui_(ui) {}

Program::~Program() = default;

ConsentDialog& Program::ShowConsent() {
    if (!consent_) {
        consent_ = std::make_unique<ConsentDialog>();
        QObject::connect(consent_.get(), &ConsentDialog::agreed, consent_.get(), [this] {
            ShowMainWindow();
            consent_->close();
        });
        QObject::connect(consent_.get(), &ConsentDialog::declined, consent_.get(), [this] { ui_.EndProgram(); });
    }
    consent_->show();
    return *consent_;
}

bool Program::ViewSections(const QStringList& files) {
    if (!mainWindow_) mainWindow_ = std::make_unique<MainWindow>(ui_);
    if (!mainWindow_->ViewSections(files, mainWindow_->SettingsInForce())) return false;
    // The viewer alone on the screen: closing it ends the program, unless the main window
    // has been shown meanwhile.
    QObject::connect(mainWindow_->sectionViewer(), &SectionViewer::closed, mainWindow_.get(), [this] {
        if (!mainWindow_->isVisible()) ui_.EndProgram();
    });
    return true;
}

MainWindow& Program::ShowMainWindow() {
    if (!mainWindow_) mainWindow_ = std::make_unique<MainWindow>(ui_);
    mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->activateWindow();
    return *mainWindow_;
}

}  // namespace qorvel::gui
