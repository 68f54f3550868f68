// The calculator on screen: the real window built from frmFIT, driven through its widgets
// with real key and mouse events on the offscreen platform. What the window does is tested
// headless; here that it is all on screen, and what only a screen has.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/about_window.h"
#include "screen_fixture.h"

namespace quarvell::app {
namespace {

TEST_F(ScreenTest, EveryControlIsAWidgetOfItsNameInItsContainerInAWindowOfFixedSize) {
    for (const Control* c : window.controls()) {
        if (c->kind() == ControlKind::Form || c->kind() == ControlKind::MenuItem) {
            continue;
        }
        SCOPED_TRACE(window::ControlKey(*c));
        QWidget* w = widgetOf(*c);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName().toStdString(), c->name());
        EXPECT_EQ(w->toolTip().toStdString().substr(0, c->tooltip().size()), c->tooltip());
        EXPECT_FALSE(w->accessibleName().isEmpty());
        QWidget* expectedParent =
            c->container() != nullptr ? widgetOf(*c->container()) : screen.main().clientArea();
        EXPECT_EQ(w->parentWidget(), expectedParent);
    }
    QWidget* main = screen.mainWindow();
    EXPECT_EQ(main->objectName(), "frmFIT");
    EXPECT_EQ(main->minimumSize(), main->maximumSize());
}

TEST_F(ScreenTest, TheWorkedExampleTypedThroughTheWidgetsWithEnter) {
    auto focusedOn = [this](const Control& c) {
        return waitUntil([&] { return QApplication::focusWidget() == widgetOf(c); });
    };
    ASSERT_TRUE(focusedOn(window.txtCap));
    QTest::keyClicks(QApplication::focusWidget(), "10");
    press(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([this] { return window.focus().focused() != &window.txtCap; }));
    click(window.txtVolt);
    QTest::keyClicks(QApplication::focusWidget(), "10");
    press(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([this] { return window.focus().focused() != &window.txtVolt; }));
    // The voltage scroll bar was still disabled when the Tab arrived: the focus skipped it.
    EXPECT_TRUE(
        waitUntil([this] { return QApplication::focusWidget() == widgetOf(window.hscTemp); }));
    EXPECT_EQ(edit(window.txtApp)->text(), "5");
    EXPECT_EQ(edit(window.txtTemp)->text(), "50");

    widgetOf(window.cmbFR)->setFocus(Qt::MouseFocusReason);
    press(Qt::Key_Up);  // from "3.000%/kPcHr Non-ER Military" to "1.000%/kPcHr Exponent 'M'"
    EXPECT_EQ(window.cmbFR.text(), "1.000%/kPcHr Exponent 'M'");
    EXPECT_EQ(window.cmbEnv.index(), 0);
    EXPECT_EQ(window.cmbRes.text(), "(<0.1 Ohms/V)");

    EXPECT_TRUE(edit(window.txtFIT)->isVisible());
    EXPECT_EQ(edit(window.txtFIT)->text(), "0.460 Parts/BPc-Hr");
    EXPECT_EQ(edit(window.txtMTBF)->text(), "2.2 Billion-Hrs");
}

// The timed message shows over the window without blocking it and hides again; its close box,
// the only window function it offers, hides it early, and the next message shows again.
TEST_F(ScreenTest, TheMessageWindowShowsWithoutBlockingTheWindowAndHidesAgain) {
    QWidget* message = screen.message().window();
    EXPECT_FALSE(message->isVisible());
    EXPECT_EQ(message->parentWidget(), screen.mainWindow());
    // An X11 window manager offers every window function, minimise and maximise included, to a
    // window that names none: the close box is named, and the others are not.
    const Qt::WindowFlags flags = message->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    QString shown;
    window.onShowMessage = [&](const std::string&, const std::string&, float) {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        shown =
            message->isVisible()
                ? message->windowTitle() + ": " +
                      qobject_cast<QLabel*>(screen.message().widgetOf(window.frmMsg.txtMsg))->text()
                : "";
    };
    // A click queued before the wait runs during it.
    bool clickedDuringWait = false;
    window.lblBase.onClick = [&] { clickedDuringWait = message->isVisible(); };
    QMetaObject::invokeMethod(
        widgetOf(window.lblBase), [this] { actions.run([this] { window.lblBase.click(); }); },
        Qt::QueuedConnection);
    window.lblBase.setVisible(true);
    actions.run([this] { window.ShowMessage("Not allowed!", "Reverting to rated.\r\n", 0.3f); });
    EXPECT_EQ(shown, "Not allowed!: Reverting to rated.\n");
    EXPECT_TRUE(clickedDuringWait);
    EXPECT_FALSE(message->isVisible());

    bool hiddenDuringWait = false;
    window.onShowMessage = [&](const std::string&, const std::string&, float) {
        QTimer::singleShot(0, message, [message] { message->close(); });
        QTimer::singleShot(100, message, [&] {
            hiddenDuringWait = !message->isVisible() && !window.frmMsg.form.visible();
        });
    };
    actions.run([this] { window.ShowMessage("Not allowed!", "Closed.\r\n", 0.3f); });
    EXPECT_TRUE(hiddenDuringWait);
    window.onShowMessage = [&](const std::string&, const std::string&, float) {
        shown = message->isVisible() ? message->windowTitle() : "";
    };
    actions.run([this] { window.ShowMessage("Again", "Again.\r\n", 0.05f); });
    EXPECT_EQ(shown, "Again");
}

TEST_F(ScreenTest, QuitAnsweredYesClosesEveryWindow) {
    action(window.mnuAbout)->trigger();
    ASSERT_NE(screen.about().window(), nullptr);
    dialogs.press(QMessageBox::Yes);
    click(window.cmdQuit);
    EXPECT_TRUE(services.ended());
    EXPECT_FALSE(screen.mainWindow()->isVisible());
    EXPECT_FALSE(screen.about().window()->isVisible());
}

TEST_F(ScreenTest, ClosingTheWindowEndsTheProgramWithoutTheQuestion) {
    action(window.mnuAbout)->trigger();
    screen.mainWindow()->close();  // no question: the fixture fails on any dialog
    EXPECT_TRUE(services.ended());
    EXPECT_FALSE(screen.about().window()->isVisible());
}

// The same box whenever the menu is chosen while it is open; OK or Escape unload it. Its
// controls lie inside it, none on another, with room for the whole description; its system
// information button starts the tool found on the PATH.
TEST_F(ScreenTest, TheAboutBoxOpensOnceShowsItsControlsWholeAndStartsTheTool) {
    action(window.mnuAbout)->trigger();
    QWidget* box = screen.about().window();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), "About Quarvell");
    action(window.mnuAbout)->trigger();
    EXPECT_EQ(screen.about().window(), box);
    EXPECT_EQ(window.frmAbout.raiseCount(), 1);

    platform::qt::FormBinding& binding = *screen.about().binding();
    auto* description = qobject_cast<QLabel*>(binding.widgetOf(window.frmAbout.lblDescription));
    EXPECT_GE(description->height(), description->heightForWidth(description->width()));
    std::vector<QWidget*> widgets;
    for (const Control* c : std::initializer_list<const Control*>{
             &window.frmAbout.picIcon, &window.frmAbout.lblTitle, &window.frmAbout.lblVersion,
             &window.frmAbout.lblDescription, &window.frmAbout.cmdOK,
             &window.frmAbout.cmdSysInfo}) {
        widgets.push_back(binding.widgetOf(*c));
        EXPECT_TRUE(binding.clientArea()->rect().contains(widgets.back()->geometry())) << c->name();
    }
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        for (std::size_t j = i + 1; j < widgets.size(); ++j) {
            EXPECT_FALSE(widgets[i]->geometry().intersects(widgets[j]->geometry()))
                << widgets[i]->objectName().toStdString() << " on "
                << widgets[j]->objectName().toStdString();
        }
    }

    const QTemporaryDir bin;
    const QString ran = bin.filePath(QStringLiteral("ran"));
    QFile tool(bin.filePath(QStringLiteral("gnome-system-monitor")));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write(QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(ran).toLocal8Bit());
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    QTest::mouseClick(binding.widgetOf(window.frmAbout.cmdSysInfo), Qt::LeftButton);
    qputenv("PATH", path);
    EXPECT_TRUE(waitUntil([&ran] { return QFile::exists(ran); }, 5000));

    QTest::mouseClick(binding.widgetOf(window.frmAbout.cmdOK), Qt::LeftButton);
    EXPECT_FALSE(window.frmAbout.loaded());
    EXPECT_EQ(screen.about().window(), nullptr);
    action(window.mnuAbout)->trigger();
    ASSERT_NE(screen.about().window(), nullptr);
    QTest::keyClick(screen.about().window(), Qt::Key_Escape);
    EXPECT_FALSE(window.frmAbout.loaded());
}

// Centred on the screen's free area where the window fits; elsewhere its title bar and menus
// still lie on it. QUARVELL_TEST_SCREEN names the screen's size when a test chose one.
TEST_F(ScreenTest, TheWindowOpensWithItsTitleBarAndMenusOnTheScreen) {
    QWidget* main = screen.mainWindow();
    const QRect area = main->screen()->availableGeometry();
    const QString expected = qEnvironmentVariable("QUARVELL_TEST_SCREEN");
    if (!expected.isEmpty()) {
        EXPECT_EQ(QStringLiteral("%1x%2").arg(area.width()).arg(area.height()), expected);
    }
    const QRect frame = main->frameGeometry();
    EXPECT_GE(frame.top(), area.top());
    EXPECT_GE(frame.left(), area.left());
    QMenuBar* menus = screen.main().menuBar();
    EXPECT_TRUE(area.contains(QRect(menus->mapToGlobal(QPoint(0, 0)), menus->size())));
    if (frame.width() <= area.width() && frame.height() <= area.height()) {
        EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 2);
        EXPECT_LE(std::abs(frame.center().y() - area.center().y()), 2);
    }
}

// A screen of 1280 x 1024 pixels at twice the scale (640 x 512 to the program), lower than the
// window: the check above runs in a program of its own on such a screen.
TEST(WindowPlacement, OnAScreenLowerThanTheWindowTheTitleBarAndMenusStayOnIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1280,
                     "height": 1024, "dpr": 2.0, "logicalDpi": 192}]})");
    config.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               QStringLiteral("offscreen:configfile=") + config.fileName());
    env.insert(QStringLiteral("QUARVELL_TEST_SCREEN"), QStringLiteral("640x512"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral(
                    "--gtest_filter=ScreenTest.TheWindowOpensWithItsTitleBarAndMenusOnTheScreen")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

}  // namespace
}  // namespace quarvell::app
