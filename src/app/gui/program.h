#pragma once
// The program's windows from start to end: the consent dialog first, the main window once the
// surveyor agrees (never a second one).

#include <memory>

namespace qorvel::gui {

class ConsentDialog;
class MainWindow;
class UserInteraction;

class Program {
public:
    explicit Program(UserInteraction& ui);
    ~Program();

    // Shows the consent dialog.
    ConsentDialog& ShowConsent();
    // Shows the main window, loading it the first time.
    MainWindow& ShowMainWindow();

    ConsentDialog* consentDialog() const { return consent_.get(); }
    MainWindow* mainWindow() const { return mainWindow_.get(); }

private:
    UserInteraction& ui_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<ConsentDialog> consent_;
};

}  // namespace qorvel::gui
