#include <QApplication>

#include "app/calculator_screen.h"
#include "platform/qt/qt_keyboard_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/user_actions.h"
#include "version.h"

namespace quarvell::app {

namespace {

int run(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kProgramTitle));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    QApplication::setDesktopFileName(QString::fromLatin1(kAppId));
    installAppIcon();

    platform::qt::QtKeyboardPort keyboard;
    platform::qt::QtServices services(keyboard);
    platform::qt::UserActions actions(services);
    window::FrmFit window(services);
    CalculatorScreen screen(window, actions);

    actions.run([&] { window.Form_Load(); });
    if (services.ended()) {
        return 0;
    }
    return QApplication::exec();
}

}  // namespace

}  // namespace quarvell::app

int main(int argc, char** argv) {
    return quarvell::app::run(argc, argv);
}
