#include "app/calculator_screen.h"

#include <QApplication>
#include <QIcon>

#include "analysis/sheet.h"
#include "app/about_window.h"
#include "app/curves_window.h"
#include "app/sheet_window.h"
#include "platform/qt/form_binding.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/user_actions.h"

namespace quarvell::app {

namespace {

platform::qt::FormDesign mainDesign(window::FrmFit& window) {
    platform::qt::FormDesign design;
    design.kind = platform::qt::FormDesign::Kind::Main;
    design.form = &window.form;
    design.controls = window.controls();
    design.focus = &window.focus();
    for (const auto& menu : window.menus()) {
        design.menus.push_back({menu.head, menu.items});
    }
    design.keyPreview = [&window](int& keyAscii) { window.Form_KeyPress(keyAscii); };
    design.unload = [&window] { window.Form_UnLoad(); };
    design.helpKey = [&window] { window.pressF1(); };
    design.helpContents = &window.mnuContents;
    design.defaultHelpContext = window.form.helpContext();
    return design;
}

platform::qt::FormDesign messageDesign(window::FrmFit& window) {
    platform::qt::FormDesign design;
    design.kind = platform::qt::FormDesign::Kind::Message;
    design.form = &window.frmMsg.form;
    design.controls = {&window.frmMsg.txtMsg};
    return design;
}

}  // namespace

CalculatorScreen::CalculatorScreen(window::FrmFit& window, platform::qt::UserActions& actions)
    : main_(std::make_unique<platform::qt::FormBinding>(mainDesign(window), actions)),
      message_(std::make_unique<platform::qt::FormBinding>(messageDesign(window), actions,
                                                           main_->window())),
      about_(std::make_unique<AboutWindow>(window.frmAbout, actions, main_->window())),
      curves_(std::make_unique<CurvesWindow>(window, actions.services(), main_->window())),
      sheet_(std::make_unique<SheetWindow>(main_->window())),
      printer_(actions.services().printer()) {
    window.onCurves = [this] {
        if (curves_) {
            curves_->open();
        }
    };
    window.onSheet = [this, &window] {
        sheet_->showSheet(analysis::MakeSheet(
            window.evaluation(),
            analysis::ContextOf(window.services(), window.state().in.PendingNote)));
    };
    // Where a print went (a PDF where there is no printer) is said in the timed message.
    printer_.setNotice([&window](const std::string& title, const std::string& text, float seconds) {
        window.ShowMessage(title, text, seconds);
    });
}

CalculatorScreen::~CalculatorScreen() {
    printer_.setNotice({});
    // The dialogs belong to the main window: take them down first.
    sheet_.reset();
    curves_.reset();
    about_.reset();
    message_.reset();
    main_.reset();
}

QWidget* CalculatorScreen::mainWindow() const {
    return main_->window();
}

void installAppIcon() {
    QIcon icon(QStringLiteral(":/icons/quarvell.svg"));
    icon.addFile(QStringLiteral(":/icons/quarvell-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
}

}  // namespace quarvell::app
