#pragma once
// The program's start and its windows on screen. main() creates the application, the Qt
// platform, the headless calculator window and this screen, runs Form_Load and the event
// loop. The screen binds frmFIT (controls, menus, focus, key preview, F1), the timed message
// window frmMsg and the About box to real widgets, and lets the printer speak through frmMsg;
// it holds no behaviour of its own.

#include <memory>

#include "window/frm_fit.h"

class QWidget;

namespace quarvell::platform::qt {
class FormBinding;
class QtPrinter;
class UserActions;
}  // namespace quarvell::platform::qt

namespace quarvell::app {

class AboutWindow;
class CurvesWindow;
class SheetWindow;

// The id the desktop file, the metainfo and the icon go by.
inline constexpr const char* kAppId = "io.github.quarvell.Quarvell";

class CalculatorScreen {
  public:
    CalculatorScreen(window::FrmFit& window, platform::qt::UserActions& actions);
    ~CalculatorScreen();
    CalculatorScreen(const CalculatorScreen&) = delete;
    CalculatorScreen& operator=(const CalculatorScreen&) = delete;

    platform::qt::FormBinding& main() const { return *main_; }
    platform::qt::FormBinding& message() const { return *message_; }
    AboutWindow& about() const { return *about_; }
    // The windows the Analysis menu opens.
    CurvesWindow& curves() const { return *curves_; }
    SheetWindow& sheet() const { return *sheet_; }
    QWidget* mainWindow() const;

  private:
    std::unique_ptr<platform::qt::FormBinding> main_;
    std::unique_ptr<platform::qt::FormBinding> message_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<CurvesWindow> curves_;
    std::unique_ptr<SheetWindow> sheet_;
    platform::qt::QtPrinter& printer_;
};

// The program's icon (the application's window icon), from the built-in resources.
void installAppIcon();

}  // namespace quarvell::app
