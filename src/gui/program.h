#pragma once
// The program's windows from start to end: the consent dialog first, the main window once the
// surveyor agrees (never a second one).

#include <QStringList>
#include <memory>

class QCoreApplication;

namespace qorvel::gui {

class ConsentDialog;
class MainWindow;
class UserInteraction;

// Installs Qt's own Simplified Chinese translations (qtbase_zh_CN from Qt's translations folder,
// Debian's qt6-translations-l10n) whatever the desktop's language, so the file dialogs and the
// buttons of every message box read 打开, 保存, 取消, 确定, 是, 否 like the rest of the program.
// False when they are not installed (the dialogs then speak English).
bool InstallChineseTranslations(QCoreApplication& application);

class Program {
public:
    explicit Program(UserInteraction& ui);
    ~Program();

    // Shows the consent dialog.
    ConsentDialog& ShowConsent();
    // Shows the main window, loading it the first time.
    MainWindow& ShowMainWindow();
    // `qorvel-gui --view`: the section viewer on the four files (membership, centre stakes,
    // detail points, matched section lines) with the settings remembered, without the consent
    // dialog or the main window; closing it ends the program. False when the files could not be
    // opened (the reason has been shown).
    bool ViewSections(const QStringList& files);

    ConsentDialog* consentDialog() const { return consent_.get(); }
    MainWindow* mainWindow() const { return mainWindow_.get(); }

private:
    UserInteraction& ui_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<ConsentDialog> consent_;
};

}  // namespace qorvel::gui
