// The calculator on screen: the real window built from frmFIT, driven through its widgets
// with real key and mouse events on the offscreen platform.

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/about_window.h"
#include "screen_fixture.h"

namespace quarvell::app {
namespace {

TEST_F(ScreenTest, TheWindowHasItsCaptionFixedSizeAndMenus) {
    QWidget* main = screen.mainWindow();
    EXPECT_EQ(main->objectName(), "frmFIT");
    EXPECT_EQ(main->windowTitle(), "FIT                  Failure Rate Model per MIL-HDBK-217F");
    EXPECT_EQ(screen.main().clientArea()->size(), QSize(593, 642));
    EXPECT_EQ(main->minimumSize(), main->maximumSize());

    QStringList heads;
    for (QAction* a : screen.main().menuBar()->actions()) {
        heads << a->text();
    }
    EXPECT_EQ(heads, (QStringList{"About", "Print", "Analysis", "Help (F1)"}));
    EXPECT_EQ(action(window.mnuAbout)->text(), "About this program...");
    EXPECT_EQ(action(window.mnuPrintResults)->text(), "&Print Quarvell Form");
    EXPECT_EQ(action(window.mnuPrintResults)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(action(window.mnuPrintFF)->text(), "Print Results && &Form Feed");
    EXPECT_EQ(action(window.mnuPrintFF)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_FALSE(action(window.mnuPrintFF)->isEnabled());
    EXPECT_TRUE(action(window.line1)->isSeparator());
    EXPECT_EQ(action(window.mnuPrintSetup)->text(), "Printer &Setup");
    EXPECT_EQ(action(window.mnuContents)->text(), "Contents, Index");
    EXPECT_EQ(action(window.mnuSheet)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_FALSE(action(window.mnuSheet)->isEnabled());
}

TEST_F(ScreenTest, EveryControlExistsWithItsNamePlaceCaptionAndTooltip) {
    for (const Control* c : window.controls()) {
        if (c->kind() == ControlKind::Form || c->kind() == ControlKind::MenuItem) {
            continue;
        }
        SCOPED_TRACE(window::ControlKey(*c));
        QWidget* w = widgetOf(*c);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName().toStdString(), c->name());
        EXPECT_EQ(w->toolTip().toStdString(), c->tooltip());
        EXPECT_FALSE(w->accessibleName().isEmpty());
        QWidget* expectedParent =
            c->container() != nullptr ? widgetOf(*c->container()) : screen.main().clientArea();
        EXPECT_EQ(w->parentWidget(), expectedParent);
    }
    // Places in twips, 15 to a pixel, relative to the client area or the frame.
    const struct {
        const Control& control;
        QRect pixels;
    } places[] = {
        {window.txtCap, {16, 81, 104, 24}},    {window.cmbType, {8, 26, 255, 19}},
        {window.hscTemp, {139, 81, 257, 25}},  {window.fmeOther, {352, 176, 222, 140}},
        {window.txtHrs, {48, 16, 49, 19}},     {window.lblNote, {8, 536, 574, 93}},
        {window.cmdQuit, {464, 456, 105, 49}}, {window.optNotice2, {16, 480, 145, 28}},
    };
    for (const auto& p : places) {
        EXPECT_EQ(widgetOf(p.control)->geometry(), p.pixels) << p.control.name();
    }

    auto caption = [this](const Control& c) {
        if (auto* l = qobject_cast<QLabel*>(widgetOf(c))) {
            return l->text();
        }
        if (auto* b = qobject_cast<QAbstractButton*>(widgetOf(c))) {
            return b->text();
        }
        return qobject_cast<QGroupBox*>(widgetOf(c))->title();
    };
    EXPECT_EQ(caption(window.lblCap), " &Capacitance (uF)");
    EXPECT_EQ(caption(window.lblTempTxt), "&Temp (\u00B0C)");
    EXPECT_EQ(caption(window.lblFR), "Failure Rate %/k-Pc-Hrs @85\u00B0C+Vr");
    EXPECT_EQ(caption(window.Label1), "&Hours ");
    EXPECT_EQ(caption(window.cmdQuit), "&Quit");
    EXPECT_EQ(caption(window.optNotice1), "Rev. F - Notice 1");
    EXPECT_EQ(caption(window.fmeOther), " Acc Life Data ");
    EXPECT_EQ(caption(window.lblVersion), "Version 1.0.0");
    EXPECT_EQ(widgetOf(window.txtCap)->toolTip(), "Enter the capacitance, in uF.");
}

TEST_F(ScreenTest, TheStartUpStateIsOnScreen) {
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(window.txtCap));
    auto* type = qobject_cast<QComboBox*>(widgetOf(window.cmbType));
    EXPECT_EQ(type->currentText(), "10.1f Tantalum(Solid-Chip)");
    EXPECT_EQ(type->count(), 10);
    auto* level = qobject_cast<QComboBox*>(widgetOf(window.cmbFR));
    EXPECT_EQ(level->count(), 13);
    EXPECT_EQ(level->currentText(), "3.000%/kPcHr Non-ER Military");
    EXPECT_EQ(qobject_cast<QComboBox*>(widgetOf(window.cmbEnv))->count(), 14);
    EXPECT_FALSE(widgetOf(window.hscApp)->isEnabled());
    EXPECT_EQ(qobject_cast<QScrollBar*>(widgetOf(window.hscTemp))->value(), 50);
    EXPECT_EQ(edit(window.txtTemp)->text(), "50");
    for (const Control* hidden : std::initializer_list<const Control*>{
             &window.txtApp, &window.fmeOther, &window.txtFIT, &window.txtMTBF, &window.lblNote,
             &window.lblCalcFIT, &window.lblFormula}) {
        EXPECT_FALSE(widgetOf(*hidden)->isVisible()) << hidden->name();
    }
    EXPECT_EQ(widgetOf(window.lblCap)->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(widgetOf(window.optNotice1)->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_TRUE(qobject_cast<QRadioButton*>(widgetOf(window.optNotice2))->isChecked());
    auto* fit = qobject_cast<QLabel*>(widgetOf(window.lblCalcFIT));
    EXPECT_EQ(fit->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_TRUE(fit->font().bold());
    EXPECT_DOUBLE_EQ(fit->font().pointSizeF(), 9.75);
}

// How many pixels of a picture are the life-test frame's cyan.
int cyanPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() < 100 && c.green() > 200 && c.blue() > 200 ? 1 : 0;
        }
    }
    return n;
}

TEST_F(ScreenTest, OnlyTheLifeTestCaptionsAreCyanItsFieldsAndListKeepTheDefaultColours) {
    actions.run([this] {
        window.fmeOther.setVisible(true);
        window.txtHrs.setText("1000");
        window.txtPcs.setText("100");
        window.txtFail.setText("1");
        window.txtFR.setText("0.0010%/kPcHr");
    });
    for (const Control* c : std::initializer_list<const Control*>{
             &window.txtHrs, &window.txtPcs, &window.txtFail, &window.txtFR, &window.cmbLife}) {
        QWidget* w = widgetOf(*c);
        EXPECT_EQ(w->palette(), QApplication::palette(w)) << c->name();
        EXPECT_EQ(cyanPixels(w->grab().toImage()), 0) << c->name();
    }
    EXPECT_GT(cyanPixels(widgetOf(window.Label1)->grab().toImage()), 0);
    EXPECT_GT(cyanPixels(widgetOf(window.lblTestDC)->grab().toImage()), 0);
    // The frame's own caption, above its first field.
    QWidget* frame = widgetOf(window.fmeOther);
    EXPECT_GT(cyanPixels(
                  frame->grab(QRect(0, 0, frame->width(), widgetOf(window.txtHrs)->y())).toImage()),
              0);
}

TEST_F(ScreenTest, TheMessageWindowShowsOverTheWindowWithoutBlockingItAndHidesAgain) {
    QWidget* message = screen.message().window();
    EXPECT_FALSE(message->isVisible());
    bool shown = false;
    bool modal = true;
    QString title;
    QString text;
    window.onShowMessage = [&](const std::string&, const std::string&, float) {
        shown = message->isVisible();
        modal = QApplication::activeModalWidget() != nullptr;
        title = message->windowTitle();
        text = qobject_cast<QLabel*>(screen.message().widgetOf(window.frmMsg.txtMsg))->text();
    };
    // The window stays responsive: a click queued before the wait runs during it.
    bool clickedDuringWait = false;
    window.lblBase.onClick = [&] { clickedDuringWait = message->isVisible(); };
    QMetaObject::invokeMethod(
        widgetOf(window.lblBase), [this] { actions.run([this] { window.lblBase.click(); }); },
        Qt::QueuedConnection);
    window.lblBase.setVisible(true);
    actions.run([this] { window.ShowMessage("Not allowed!", "Reverting to rated.\r\n", 0.3f); });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(modal);
    EXPECT_EQ(title, "Not allowed!");
    EXPECT_EQ(text, "Reverting to rated.\n");
    EXPECT_TRUE(clickedDuringWait);
    EXPECT_FALSE(message->isVisible());
    EXPECT_EQ(message->parentWidget(), screen.mainWindow());
    auto* label = qobject_cast<QLabel*>(screen.message().widgetOf(window.frmMsg.txtMsg));
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(screen.message().clientArea()->size(), QSize(373, 110));
    EXPECT_EQ(message->palette().color(QPalette::Window), QColor(0, 0, 255));
}

// The style field shows the start of every type's style; a style too long for the field is
// whole in its tooltip, after the field's own.
TEST_F(ScreenTest, TheStyleFieldShowsTheStartOfItsTextAndTheWholeTextInItsTooltip) {
    QLineEdit* style = edit(window.txtStyle);
    const QString designed = QString::fromStdString(window.txtStyle.tooltip());
    int cut = 0;
    for (platform::OptionButton* notice : {&window.optNotice1, &window.optNotice2}) {
        actions.run([notice] { notice->click(); });
        for (int i = 0; i < window.cmbType.count(); ++i) {
            actions.run([this, i] { window.cmbType.select(i); });
            const QString text = style->text();
            SCOPED_TRACE(text.toStdString());
            ASSERT_EQ(text.toStdString(), window.txtStyle.text());
            style->grab();  // drawn as on screen
            EXPECT_EQ(style->cursorPositionAt(
                          QPoint(style->contentsRect().left() + 4, style->height() / 2)),
                      0);
            const bool fits =
                style->fontMetrics().horizontalAdvance(text) + 8 <= style->contentsRect().width();
            if (fits) {
                EXPECT_EQ(style->toolTip(), designed);
            } else {
                EXPECT_TRUE(style->toolTip().startsWith(designed));
                EXPECT_TRUE(style->toolTip().endsWith(text));
                ++cut;
            }
        }
    }
    EXPECT_GE(cut, 2);  // "Using CWR - Chip with Modified Pi(V) Denominator" among them
}

TEST_F(ScreenTest, TheMessageWindowOffersOnlyItsCloseBoxWhichHidesTheMessage) {
    QWidget* message = screen.message().window();
    // An X11 window manager offers every window function, minimise and maximise included, to a
    // window that names none: the close box is named, and the others are not.
    const Qt::WindowFlags flags = message->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    bool hiddenDuringWait = false;
    window.onShowMessage = [&](const std::string&, const std::string&, float) {
        QTimer::singleShot(0, message, [message] { message->close(); });
        QTimer::singleShot(100, message, [&] {
            hiddenDuringWait = !message->isVisible() && !window.frmMsg.form.visible();
        });
    };
    actions.run([this] { window.ShowMessage("Not allowed!", "Reverting to rated.\r\n", 0.3f); });
    EXPECT_TRUE(hiddenDuringWait);
    EXPECT_FALSE(message->isVisible());
    // The next message shows again.
    bool shownAgain = false;
    window.onShowMessage = [&](const std::string&, const std::string&, float) {
        shownAgain = message->isVisible();
    };
    actions.run([this] { window.ShowMessage("Not allowed!", "Again.\r\n", 0.05f); });
    EXPECT_TRUE(shownAgain);
}

TEST_F(ScreenTest, ARefusedApplicationVoltageShowsTheMessageWindow) {
    if (!window.txtApp.onLostFocus || !window.txtVolt.onLostFocus) {
        GTEST_SKIP() << "the rating and application entry handlers are not in the window yet";
    }
    QWidget* message = screen.message().window();
    bool shown = false;
    window.onShowMessage = [&](const std::string&, const std::string&, float) {
        shown = message->isVisible();
    };
    click(window.txtVolt);
    QTest::keyClicks(QApplication::focusWidget(), "10");
    press(Qt::Key_Tab);
    ASSERT_TRUE(edit(window.txtApp)->isVisible());
    click(window.txtApp);
    edit(window.txtApp)->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "12");
    press(Qt::Key_Tab);  // the 2-second "Not allowed!" runs inside this
    EXPECT_TRUE(shown);
    EXPECT_FALSE(message->isVisible());
    EXPECT_EQ(message->windowTitle(), "Not allowed!");
    EXPECT_EQ(edit(window.txtApp)->text(), "10");
}

// A caption never touches the sides of its coloured label ("Calculated MTBF" against the
// result field), and a one-line caption still fits on one line.
TEST_F(ScreenTest, CaptionsKeepOffTheSidesOfTheirColouredLabels) {
    typeWorkedExample();
    int checked = 0;
    for (const Control* c : window.controls()) {
        auto* label = qobject_cast<QLabel*>(widgetOf(*c));
        if (label == nullptr || !label->isVisible() || !label->autoFillBackground()) {
            continue;
        }
        SCOPED_TRACE(c->name());
        const QImage image = label->grab().toImage();
        const QColor back = label->palette().color(QPalette::Window);
        int first = image.width();
        int last = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor p = image.pixelColor(x, y);
                if (std::abs(p.red() - back.red()) + std::abs(p.green() - back.green()) +
                        std::abs(p.blue() - back.blue()) >
                    90) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        ASSERT_GE(last, 0);
        EXPECT_GE(first, 2);
        EXPECT_LE(last, image.width() - 3);
        if (!label->text().contains(QLatin1Char('\n'))) {
            EXPECT_LT(label->heightForWidth(label->width()),
                      2 * label->fontMetrics().lineSpacing());
        }
        ++checked;
    }
    EXPECT_GE(checked, 15);
}

TEST_F(ScreenTest, CapitalLettersJumpToTheirFieldsOnRealKeys) {
    auto focused = [this](const Control& c) {
        backToMain();
        return window.focus().focused() == &c && QApplication::focusWidget() == widgetOf(c);
    };
    click(window.txtTemp);
    ASSERT_TRUE(focused(window.txtTemp));
    type('C');
    EXPECT_TRUE(focused(window.txtCap));
    EXPECT_EQ(edit(window.txtTemp)->text(), "50");  // the letter of a jump is not typed
    type('R');
    EXPECT_TRUE(focused(window.txtVolt));
    type('T');
    EXPECT_TRUE(focused(window.txtTemp));
    type('C');
    EXPECT_TRUE(focused(window.txtCap));
    // V before a rated voltage (its field is hidden) and H while the life-test frame is
    // hidden jump nowhere and are swallowed; lower case is typed.
    type('V');
    type('H');
    type('c');
    EXPECT_TRUE(focused(window.txtCap));
    EXPECT_EQ(edit(window.txtCap)->text(), "c");

    // Leaving a life-test field empty asks for its value.
    dialogs.answer("1000");
    dialogs.answer("100");
    actions.run([this] { window.fmeOther.setVisible(true); });
    type('H');
    EXPECT_TRUE(focused(window.txtHrs));
    type('P');
    EXPECT_TRUE(focused(window.txtPcs));
    type('F');
    EXPECT_TRUE(focused(window.txtFail));
    EXPECT_EQ(edit(window.txtHrs)->text(), "1000");
    EXPECT_EQ(edit(window.txtPcs)->text(), "100");
}

TEST_F(ScreenTest, F1OpensTheTopicOfTheFocusedControlOrMenuItem) {
    press(Qt::Key_F1);
    EXPECT_EQ(helpPage(), ":/help/520.html");
    for (const auto& [control, page] : std::initializer_list<std::pair<const Control*, QString>>{
             {&window.txtVolt, ":/help/490.html"},
             {&window.txtTemp, ":/help/450.html"},
             {&window.cmbEnv, ":/help/650.html"},
             {&window.cmbFR, ":/help/560.html"},
             {&window.optNotice1, ":/help/700.html"},
             {&window.cmdQuit, ":/help/430.html"},
             {&window.cmbType, ":/help/1740.html"}}) {
        activateMain();
        // Focused as a click focuses it, without the click's own action.
        widgetOf(*control)->setFocus(Qt::MouseFocusReason);
        QTest::qWait(1);
        press(Qt::Key_F1);
        EXPECT_EQ(helpPage(), page) << control->name();
    }
    // A type chosen with the mouse: F1 opens the type's own topic, also from the open list.
    auto* types = qobject_cast<QComboBox*>(widgetOf(window.cmbType));
    activateMain();
    Q_EMIT types->activated(0);
    press(Qt::Key_F1);
    EXPECT_EQ(helpPage(), ":/help/999.html");
    activateMain();
    types->showPopup();
    QTest::keyClick(types->view(), Qt::Key_F1);
    EXPECT_EQ(helpPage(), ":/help/999.html");
    types->hidePopup();

    activateMain();
    QMenu* print = screen.main().menuAdapterOf(window.mnuPrint)->menu();
    print->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(print));
    print->setActiveAction(action(window.mnuPrintSetup));
    QTest::keyClick(print, Qt::Key_F1);
    EXPECT_EQ(helpPage(), ":/help/250.html");  // no number of its own: the menu's
    print->hide();
    activateMain();
    QMenu* about = screen.main().menuAdapterOf(window.mnuAboutHead)->menu();
    about->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    about->setActiveAction(action(window.mnuAbout));
    QTest::keyClick(about, Qt::Key_F1);
    EXPECT_EQ(helpPage(), ":/help/500.html");
    about->hide();

    action(window.mnuContents)->trigger();
    EXPECT_EQ(helpPage(), ":/help/index.html");
}

TEST_F(ScreenTest, QuitAnsweredNoLeavesEverythingAsItWas) {
    const std::string before = Snapshot(window);
    dialogs.press(QMessageBox::No);
    click(window.cmdQuit);
    ASSERT_EQ(dialogs.seen().size(), 1U);
    const qt_test::SeenDialog& box = dialogs.seen().front();
    EXPECT_EQ(box.title, "Quarvell");
    EXPECT_EQ(box.text, "Are you sure you want to quit?");
    EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(Snapshot(window), before);
    EXPECT_FALSE(services.ended());
    EXPECT_TRUE(screen.mainWindow()->isVisible());
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

TEST_F(ScreenTest, TheAboutBoxOpensOnceClosesWithOkAndLoadsAfresh) {
    action(window.mnuAbout)->trigger();
    QWidget* box = screen.about().window();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), "About Quarvell");
    EXPECT_EQ(
        qobject_cast<QLabel*>(screen.about().binding()->widgetOf(window.frmAbout.lblTitle))->text(),
        "Quarvell");
    action(window.mnuAbout)->trigger();
    EXPECT_EQ(screen.about().window(), box);  // the same box, brought to the front
    EXPECT_EQ(window.frmAbout.raiseCount(), 1);

    QTest::mouseClick(screen.about().binding()->widgetOf(window.frmAbout.cmdOK), Qt::LeftButton);
    EXPECT_FALSE(window.frmAbout.loaded());
    EXPECT_EQ(screen.about().window(), nullptr);

    action(window.mnuAbout)->trigger();
    QWidget* again = screen.about().window();
    ASSERT_NE(again, nullptr);
    QTest::keyClick(again, Qt::Key_Escape);
    EXPECT_FALSE(window.frmAbout.loaded());
}

TEST_F(ScreenTest, TheAboutBoxHasRoomForItsWholeDescription) {
    for (int load = 0; load < 2; ++load) {
        action(window.mnuAbout)->trigger();
        platform::qt::FormBinding& box = *screen.about().binding();
        auto* description = qobject_cast<QLabel*>(box.widgetOf(window.frmAbout.lblDescription));
        EXPECT_GE(description->height(), description->heightForWidth(description->width()));
        // Every control lies inside the box, and none on another.
        std::vector<QWidget*> widgets;
        for (const Control* c : std::initializer_list<const Control*>{
                 &window.frmAbout.picIcon, &window.frmAbout.lblTitle, &window.frmAbout.lblVersion,
                 &window.frmAbout.lblDescription, &window.frmAbout.cmdOK,
                 &window.frmAbout.cmdSysInfo}) {
            widgets.push_back(box.widgetOf(*c));
            EXPECT_TRUE(box.clientArea()->rect().contains(widgets.back()->geometry())) << c->name();
        }
        for (std::size_t i = 0; i < widgets.size(); ++i) {
            for (std::size_t j = i + 1; j < widgets.size(); ++j) {
                EXPECT_FALSE(widgets[i]->geometry().intersects(widgets[j]->geometry()))
                    << widgets[i]->objectName().toStdString() << " on "
                    << widgets[j]->objectName().toStdString();
            }
        }
        QTest::mouseClick(box.widgetOf(window.frmAbout.cmdOK), Qt::LeftButton);
    }
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

TEST_F(ScreenTest, TheWorkedExampleTypedThroughTheWidgetsWithEnter) {
    if (!window.txtCap.onLostFocus || !window.txtCap.onKeyPress || !window.cmbFR.onClick) {
        GTEST_SKIP() << "the entry handlers of the window are not there yet";
    }
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

}  // namespace
}  // namespace quarvell::app
