#pragma once
// The calculator on screen for Qt tests: the real window built from frmFIT on the offscreen
// platform, with helpers that act as the user does (keys, clicks, the worked example).

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/calculator_screen.h"
#include "modal_answerer.h"
#include "platform/qt/control_adapters.h"
#include "platform/qt/form_binding.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_keyboard_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/user_actions.h"
#include "window/frm_fit.h"

namespace quarvell::app {

using platform::Control;
using platform::ControlKind;

inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 2000) {
    for (int waited = 0; !done() && waited < milliseconds; waited += 10) {
        QTest::qWait(10);
    }
    return done();
}

class ScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        actions.run([this] { window.Form_Load(); });
        QWidget* main = screen.mainWindow();
        QApplication::setActiveWindow(main);
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        actions.run([] {});
    }

    QWidget* widgetOf(const Control& c) { return screen.main().widgetOf(c); }
    QLineEdit* edit(const platform::TextBox& b) { return qobject_cast<QLineEdit*>(widgetOf(b)); }
    QAction* action(const platform::MenuItem& m) {
        return screen.main().menuAdapterOf(m)->action();
    }
    // A key pressed by the user in whatever has the focus. A dialog that just closed leaves
    // the offscreen platform without an active window, where a desktop hands the activation
    // back to the calculator: do that first.
    void press(Qt::Key key) {
        backToMain();
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    void backToMain() {
        if (QApplication::activeWindow() == nullptr) {
            activateMain();
        }
    }
    void click(const Control& c) { QTest::mouseClick(widgetOf(c), Qt::LeftButton); }
    // Help takes the keyboard; the user comes back to the calculator.
    void activateMain() {
        QTest::qWait(5);  // an activation still on its way (the help window's) comes first
        QApplication::setActiveWindow(screen.mainWindow());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.mainWindow()));
        ASSERT_TRUE(waitUntil([] { return QApplication::focusWidget() != nullptr; }));
    }
    // The worked example as a user types it: 10 uF, 10 V (the application voltage follows at
    // 5 V), then the level "1.000%/kPcHr Exponent 'M'"; FIT 0.460 on screen.
    void typeWorkedExample() {
        auto leave = [this](const platform::TextBox& box, const char* text) {
            click(box);
            QTest::keyClicks(QApplication::focusWidget(), text);
            press(Qt::Key_Return);
            ASSERT_TRUE(waitUntil([&] { return window.focus().focused() != &box; }));
        };
        leave(window.txtCap, "10");
        leave(window.txtVolt, "10");
        widgetOf(window.cmbFR)->setFocus(Qt::MouseFocusReason);
        press(Qt::Key_Up);
        ASSERT_EQ(edit(window.txtFIT)->text(), "0.460 Parts/BPc-Hr");
    }

    // Fails the test on any dialog it does not expect, instead of hanging in it.
    qt_test::ModalAnswerer dialogs;
    platform::qt::QtKeyboardPort keyboard;
    platform::qt::QtServices services{keyboard};
    platform::qt::UserActions actions{services};
    window::FrmFit window{services};
    CalculatorScreen screen{window, actions};
};

}  // namespace quarvell::app
