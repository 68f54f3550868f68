// The binding on a small form of its own: every adapter mirrors its control and feeds the
// user's actions back; focus, Tab order, key preview, access keys, F1, ending and closing.

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <string>
#include <vector>

#include "modal_answerer.h"
#include "platform/controls.h"
#include "platform/qt/control_adapters.h"
#include "platform/qt/form_binding.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_keyboard_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/user_actions.h"

namespace quarvell::platform::qt {
namespace {

struct TestForm {
    TestForm() {
        form.setCaption("Binding test");
        form.setPlace({0, 0, 6000, 4500});
        form.setHelpContext(10);
        form.setKeyPreview(true);
        form.setVisible(false);

        // Places in twips (15 to a pixel) and tab numbers.
        const auto put = [](Control& c, Place p, int tab) {
            c.setPlace(p);
            c.setTabIndex(tab);
        };
        put(cmdGo, {4500, 3600, 1200, 450}, 0);
        put(lblName, {120, 120, 900, 255}, -1);
        put(txtName, {1080, 120, 1500, 360}, 1);
        put(txtOther, {1080, 600, 1500, 360}, 2);
        put(cmbKind, {1080, 1080, 1500, 315}, 3);
        put(hscLevel, {3000, 120, 2400, 375}, 4);
        put(cmbEdit, {3000, 600, 1200, 315}, 5);
        put(opt1, {120, 1560, 1500, 375}, 6);
        put(opt2, {120, 1935, 1500, 375}, 7);
        put(fmeBox, {3000, 1500, 2700, 1500}, -1);
        put(lblInside, {120, 300, 900, 255}, -1);
        put(txtInside, {1050, 300, 1200, 360}, 8);
        cmdGo.setCaption("&Go");
        lblName.setCaption("&Name");
        lblName.setBackColor(kRed);
        lblName.setAlignment(Alignment::Right);
        txtName.setTooltip("The name.");
        txtName.setHelpContext(520);
        opt1.setCaption("One");
        opt2.setCaption("Two");
        opt1.setGroup({&opt1, &opt2});
        opt2.setGroup({&opt1, &opt2});
        fmeBox.setCaption(" Box ");
        fmeBox.setBackColor(kBlue);
        lblInside.setContainer(&fmeBox);
        lblInside.setCaption("&Inside");
        txtInside.setContainer(&fmeBox);

        for (const char* item : {"Alpha", "Beta", "Gamma"}) {
            cmbKind.addItem(item);
            cmbEdit.addItem(item);
        }
        cmbKind.select(0);
        hscLevel.setMin(-10);
        hscLevel.setMax(40);
        hscLevel.setSmallChange(1);
        hscLevel.setLargeChange(5);
        hscLevel.setValue(10);
        opt1.choose();

        mnuFile.setCaption("&File");
        mnuFile.setHelpContext(240);
        mnuRun.setCaption("&Run && Stop");
        mnuRun.setShortcut("Ctrl+R");
        mnuRun.setHelpContext(500);
        sep.setCaption("-");
        mnuOff.setCaption("&Off");
        mnuOff.setEnabled(false);

        for (Control* c : std::vector<Control*>{&cmdGo, &txtName, &txtOther, &cmbKind, &hscLevel,
                                                &cmbEdit, &opt1, &opt2, &txtInside}) {
            focus.add(*c);
        }
        for (Control* c : std::vector<Control*>{&txtName, &txtOther, &cmbKind, &txtInside}) {
            c->onLostFocus = [this, c] { log.push_back("LostFocus " + c->name()); };
            c->onGotFocus = [this, c] { log.push_back("GotFocus " + c->name()); };
        }
        cmbKind.onClick = [this] { log.push_back("Click cmbKind " + cmbKind.text()); };
        cmbEdit.onChange = [this] { log.push_back("Change cmbEdit " + cmbEdit.text()); };
        hscLevel.onChange = [this] {
            log.push_back("Change hscLevel " + std::to_string(hscLevel.value()));
        };
        opt1.onClick = [this](int i) { log.push_back("Click opt " + std::to_string(i)); };
        opt2.onClick = opt1.onClick;
        cmdGo.onClick = [this] { log.push_back("Click cmdGo"); };
        lblName.onClick = [this] { log.push_back("Click lblName"); };
        mnuRun.onClick = [this] { log.push_back("Click mnuRun"); };
        mnuOff.onClick = [this] { log.push_back("Click mnuOff"); };
        txtName.onKeyPress = [this](int& k) {
            log.push_back("KeyPress txtName " + std::to_string(k));
            if (k == '#') {
                k = 0;
            } else if (k == 'a') {
                k = 'b';
            }
        };
    }

    FormDesign design() {
        FormDesign s;
        s.form = &form;
        s.controls = {&cmdGo,   &lblName, &txtName, &txtOther,  &cmbKind,   &hscLevel,
                      &cmbEdit, &opt1,    &opt2,    &lblInside, &txtInside, &fmeBox};
        s.focus = &focus;
        s.menus = {{&mnuFile, {&mnuRun, &sep, &mnuOff}}};
        s.keyPreview = [this](int& k) {
            log.push_back("Preview " + std::to_string(k));
            if (k == '!') {
                k = 0;
            } else if (k == 'O') {
                focus.setFocus(txtOther);
            }
        };
        s.unload = [this] { log.push_back("Unload"); };
        return s;
    }

    Form form{"frmTest"};
    Button cmdGo{"cmdGo"};
    Label lblName{"lblName"};
    TextBox txtName{"txtName"};
    TextBox txtOther{"txtOther"};
    ComboBox cmbKind{"cmbKind", false};
    ScrollBar hscLevel{"hscLevel"};
    ComboBox cmbEdit{"cmbEdit", true};
    OptionButton opt1{"optPick", 1};
    OptionButton opt2{"optPick", 2};
    Frame fmeBox{"fmeBox"};
    Label lblInside{"lblInside"};
    TextBox txtInside{"txtInside"};
    MenuItem mnuFile{"mnuFile"};
    MenuItem mnuRun{"mnuRun"};
    MenuItem sep{"sep"};
    MenuItem mnuOff{"mnuOff"};
    FocusScope focus;
    std::vector<std::string> log;
};

class BindingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        binding = std::make_unique<FormBinding>(t.design(), actions);
        actions.run([&] {
            t.form.setVisible(true);
            t.focus.setFocus(t.txtName);
        });
        QWidget* w = binding->window();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        t.log.clear();
    }

    template <typename W>
    W* widget(const Control& c) {
        return qobject_cast<W*>(binding->widgetOf(c));
    }
    QLineEdit* edit(const TextBox& b) { return widget<QLineEdit>(b); }

    // Fails the test on any dialog, instead of hanging in it.
    qt_test::ModalAnswerer dialogs;
    QtKeyboardPort keyboard;
    QtServices services{keyboard};
    UserActions actions{services};
    TestForm t;
    std::unique_ptr<FormBinding> binding;
};

TEST_F(BindingTest, PlacesInTwipsBecomePixelsAndFramesHoldTheirControls) {
    EXPECT_EQ(binding->clientArea()->size(), QSize(400, 300));
    EXPECT_EQ(edit(t.txtName)->geometry(), QRect(72, 8, 100, 24));
    QWidget* frame = binding->widgetOf(t.fmeBox);
    ASSERT_NE(qobject_cast<QGroupBox*>(frame), nullptr);
    EXPECT_EQ(frame->geometry(), QRect(200, 100, 180, 100));
    EXPECT_EQ(edit(t.txtInside)->parentWidget(), frame);
    EXPECT_EQ(edit(t.txtInside)->geometry(), QRect(70, 20, 80, 24));
    EXPECT_EQ(binding->window()->windowTitle(), "Binding test");
    EXPECT_EQ(binding->window()->objectName(), "frmTest");
}

TEST_F(BindingTest, EveryPropertyIsMirroredAndFollowsChanges) {
    QLineEdit* name = edit(t.txtName);
    EXPECT_EQ(name->objectName(), "txtName");
    EXPECT_EQ(name->toolTip(), "The name.");
    EXPECT_FALSE(name->accessibleName().isEmpty());

    t.txtName.setText("abc");
    t.txtName.setLocked(true);
    t.txtName.setBackColor(kRed);
    t.txtName.setForeColor(kWhite);
    EXPECT_EQ(name->text(), "abc");
    EXPECT_TRUE(name->isReadOnly());
    EXPECT_EQ(name->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(name->palette().color(QPalette::Text), QColor(255, 255, 255));
    t.txtName.setVisible(false);
    EXPECT_TRUE(name->isHidden());
    t.txtName.setVisible(true);
    t.txtName.setEnabled(false);
    EXPECT_FALSE(name->isEnabled());

    auto* label = widget<QLabel>(t.lblName);
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);
    t.lblName.setFont(9.75, true);
    EXPECT_TRUE(label->font().bold());
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 9.75);
    // A colour set back to the default returns to the toolkit's own.
    t.lblName.setBackColor(kButtonFace);
    EXPECT_FALSE(label->autoFillBackground());
    t.lblName.setCaption("Line one\r\nLine two");
    EXPECT_EQ(label->text(), "Line one\nLine two");

    auto* list = widget<QComboBox>(t.cmbKind);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), "Alpha");
    t.cmbKind.addItem("Delta");
    t.cmbKind.select(3);
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentIndex(), 3);
    t.cmbKind.select(-1);
    EXPECT_EQ(list->currentIndex(), -1);
    t.cmbKind.clear();
    EXPECT_EQ(list->count(), 0);

    auto* bar = widget<QScrollBar>(t.hscLevel);
    EXPECT_EQ(bar->minimum(), -10);
    EXPECT_EQ(bar->maximum(), 40);
    EXPECT_EQ(bar->pageStep(), 5);
    EXPECT_EQ(bar->value(), 10);
    t.hscLevel.setMax(5);  // drags the value down with it
    EXPECT_EQ(bar->maximum(), 5);
    EXPECT_EQ(bar->value(), 5);
    t.hscLevel.setEnabled(false);
    EXPECT_FALSE(bar->isEnabled());

    EXPECT_TRUE(widget<QRadioButton>(t.opt1)->isChecked());
    t.opt2.choose();
    EXPECT_FALSE(widget<QRadioButton>(t.opt1)->isChecked());
    EXPECT_TRUE(widget<QRadioButton>(t.opt2)->isChecked());

    auto* box = qobject_cast<QGroupBox*>(binding->widgetOf(t.fmeBox));
    EXPECT_EQ(box->title(), " Box ");
    EXPECT_EQ(box->palette().color(QPalette::Window), QColor(0, 0, 255));
    t.fmeBox.setVisible(false);
    EXPECT_FALSE(edit(t.txtInside)->isVisible());

    EXPECT_EQ(widget<QPushButton>(t.cmdGo)->text(), "&Go");
    t.form.setCaption("Renamed");
    EXPECT_EQ(binding->window()->windowTitle(), "Renamed");
}

// A caption keeps off the sides of its coloured label; a field in a coloured frame keeps the
// toolkit's colours; a read-only field shows how its text begins, and a text too long for it
// is whole in its tooltip, after the field's own.
TEST_F(BindingTest, CaptionsFieldsAndTooltipsStayReadable) {
    auto* label = widget<QLabel>(t.lblName);
    EXPECT_GT(label->contentsMargins().left(), 0);
    EXPECT_EQ(label->contentsMargins().right(), label->contentsMargins().left());
    t.lblName.setBackColor(kButtonFace);
    EXPECT_EQ(label->contentsMargins(), QMargins());

    t.fmeBox.setForeColor(kCyan);
    QLineEdit* inside = edit(t.txtInside);
    EXPECT_EQ(inside->palette(), QApplication::palette(inside));
    EXPECT_EQ(binding->widgetOf(t.fmeBox)->palette().color(QPalette::WindowText),
              QColor(0, 255, 255));

    QLineEdit* name = edit(t.txtName);
    t.txtName.setLocked(true);
    t.txtName.setText("short");
    EXPECT_EQ(name->toolTip(), "The name.");
    const std::string longText(60, 'W');
    t.txtName.setText(longText);
    EXPECT_TRUE(name->toolTip().startsWith("The name."));
    EXPECT_TRUE(name->toolTip().endsWith(QString::fromStdString(longText)));
    name->grab();  // drawn as on screen: the start of the text shows
    EXPECT_EQ(name->cursorPositionAt(QPoint(name->contentsRect().left() + 4, name->height() / 2)),
              0);
}

TEST_F(BindingTest, MenusMirrorCaptionsShortcutsSeparatorsAndEnabledState) {
    MenuItemAdapter* file = binding->menuAdapterOf(t.mnuFile);
    MenuItemAdapter* run = binding->menuAdapterOf(t.mnuRun);
    ASSERT_NE(file, nullptr);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(file->menu()->title(), "&File");
    EXPECT_EQ(run->action()->text(), "&Run && Stop");
    EXPECT_EQ(run->action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_TRUE(binding->menuAdapterOf(t.sep)->action()->isSeparator());
    EXPECT_FALSE(binding->menuAdapterOf(t.mnuOff)->action()->isEnabled());

    run->action()->trigger();
    binding->menuAdapterOf(t.mnuOff)->action()->trigger();  // disabled: nothing
    EXPECT_EQ(t.log, std::vector<std::string>{"Click mnuRun"});
    t.mnuRun.setEnabled(false);
    EXPECT_FALSE(run->action()->isEnabled());
}

TEST_F(BindingTest, UserActionsGoBackThroughTheControls) {
    QTest::keyClicks(edit(t.txtName), "xy");
    EXPECT_EQ(t.txtName.text(), "xy");

    auto* list = widget<QComboBox>(t.cmbKind);
    list->setFocus();
    Q_EMIT list->activated(2);
    EXPECT_EQ(t.cmbKind.index(), 2);
    // Choosing the entry that is already chosen is a click too.
    Q_EMIT list->activated(2);

    auto* editable = widget<QComboBox>(t.cmbEdit);
    QTest::keyClicks(editable->lineEdit(), "Be");
    EXPECT_EQ(t.cmbEdit.text(), "Be");
    EXPECT_EQ(t.cmbEdit.index(), -1);

    widget<QScrollBar>(t.hscLevel)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(t.hscLevel.value(), 11);

    QTest::mouseClick(widget<QRadioButton>(t.opt2), Qt::LeftButton);
    EXPECT_TRUE(t.opt2.value());
    // Clicking the chosen button again is a click, and it stays chosen.
    QTest::mouseClick(widget<QRadioButton>(t.opt2), Qt::LeftButton);
    EXPECT_TRUE(widget<QRadioButton>(t.opt2)->isChecked());

    QTest::mouseClick(widget<QPushButton>(t.cmdGo), Qt::LeftButton);
    QTest::mouseClick(widget<QLabel>(t.lblName), Qt::LeftButton);

    std::vector<std::string> clicks;
    for (const std::string& e : t.log) {
        if (e.rfind("KeyPress", 0) != 0 && e.rfind("Preview", 0) != 0 &&
            e.rfind("LostFocus", 0) != 0 && e.rfind("GotFocus", 0) != 0) {
            clicks.push_back(e);
        }
    }
    EXPECT_EQ(clicks, (std::vector<std::string>{"Click cmbKind Gamma", "Click cmbKind Gamma",
                                                "Change cmbEdit B", "Change cmbEdit Be",
                                                "Change hscLevel 11", "Click opt 2", "Click opt 2",
                                                "Click cmdGo", "Click lblName"}));
}

TEST_F(BindingTest, ALockedListKeepsItsSelectionAgainstTheUser) {
    t.cmbKind.setLocked(true);
    auto* list = widget<QComboBox>(t.cmbKind);
    Q_EMIT list->activated(1);
    EXPECT_EQ(t.cmbKind.index(), 0);
    EXPECT_EQ(list->currentIndex(), 0);
    t.focus.setFocus(t.cmbKind);
    actions.run([] {});
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(t.cmbKind.index(), 0);
    EXPECT_EQ(list->currentIndex(), 0);
}

TEST_F(BindingTest, AClickMovesTheFocusThroughTheHeadlessScope) {
    QTest::mouseClick(edit(t.txtOther), Qt::LeftButton);
    EXPECT_EQ(t.log, (std::vector<std::string>{"LostFocus txtName", "GotFocus txtOther"}));
    EXPECT_EQ(t.focus.focused(), &t.txtOther);
    EXPECT_EQ(QApplication::focusWidget(), edit(t.txtOther));
}

TEST_F(BindingTest, TabFollowsTheHeadlessTabOrderAndSkipsHiddenControls) {
    auto tab = [](bool back) {
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
    };
    tab(false);
    EXPECT_EQ(t.focus.focused(), &t.txtOther);
    EXPECT_EQ(QApplication::focusWidget(), edit(t.txtOther));
    t.cmbKind.setVisible(false);
    tab(false);
    EXPECT_EQ(t.focus.focused(), &t.hscLevel);
    EXPECT_EQ(QApplication::focusWidget(), binding->widgetOf(t.hscLevel));
    tab(true);
    EXPECT_EQ(t.focus.focused(), &t.txtOther);
    EXPECT_EQ(QApplication::focusWidget(), edit(t.txtOther));
    EXPECT_EQ(t.log, (std::vector<std::string>{"LostFocus txtName", "GotFocus txtOther",
                                               "LostFocus txtOther", "GotFocus txtOther"}));
}

TEST_F(BindingTest, AHandlerThatMovesTheFocusIsFollowedOnScreen) {
    t.txtOther.onGotFocus = [this] { t.focus.setFocus(t.txtInside); };
    QTest::mouseClick(edit(t.txtOther), Qt::LeftButton);
    QTest::qWait(20);  // the toolkit catches up right after its own focus change
    EXPECT_EQ(t.focus.focused(), &t.txtInside);
    EXPECT_EQ(QApplication::focusWidget(), edit(t.txtInside));
}

TEST_F(BindingTest, TypedCharactersGoToTheKeyPreviewFirstThenToTheField) {
    QLineEdit* name = edit(t.txtName);
    QTest::keyClick(name, 'x');
    EXPECT_EQ(t.log, (std::vector<std::string>{"Preview 120", "KeyPress txtName 120"}));
    EXPECT_EQ(name->text(), "x");

    QTest::keyClick(name, '!');  // swallowed by the preview
    QTest::keyClick(name, '#');  // swallowed by the field's handler
    QTest::keyClick(name, 'a');  // replaced by the field's handler
    EXPECT_EQ(name->text(), "xb");
    EXPECT_EQ(t.txtName.text(), "xb");

    // A letter that sends the focus elsewhere is typed nowhere.
    QTest::keyClick(name, 'O');
    EXPECT_EQ(t.focus.focused(), &t.txtOther);
    EXPECT_EQ(QApplication::focusWidget(), edit(t.txtOther));
    EXPECT_EQ(name->text(), "xb");
    EXPECT_EQ(edit(t.txtOther)->text(), "");
}

TEST_F(BindingTest, AccessKeysOfCaptionsLeadToTheControlTheyName) {
    EXPECT_EQ(widget<QLabel>(t.lblName)->buddy(), edit(t.txtName));
    EXPECT_EQ(widget<QLabel>(t.lblInside)->buddy(), edit(t.txtInside));
    QTest::keyClick(edit(t.txtName), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(t.focus.focused(), &t.txtInside);
    EXPECT_EQ(t.log, (std::vector<std::string>{"LostFocus txtName", "GotFocus txtInside"}));
}

TEST_F(BindingTest, F1OpensTheFocusedControlsTopicElseTheFormsElseTheMenuItems) {
    QTest::keyClick(edit(t.txtName), Qt::Key_F1);
    ASSERT_NE(services.helpWindow(), nullptr);
    EXPECT_EQ(services.helpWindow()->currentPage(), ":/help/520.html");

    t.focus.setFocus(t.txtOther);
    actions.run([] {});
    QTest::keyClick(edit(t.txtOther), Qt::Key_F1);
    EXPECT_EQ(services.helpWindow()->currentPage(), ":/help/10.html");

    // Also from a list's open entries, which take the keys.
    t.cmbKind.setHelpContext(530);
    t.focus.setFocus(t.cmbKind);
    actions.run([] {});
    auto* list = widget<QComboBox>(t.cmbKind);
    list->showPopup();
    QTest::keyClick(list->view(), Qt::Key_F1);
    EXPECT_EQ(services.helpWindow()->currentPage(), ":/help/530.html");
    list->hidePopup();

    QMenu* menu = binding->menuAdapterOf(t.mnuFile)->menu();
    menu->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(binding->menuAdapterOf(t.mnuRun)->action());
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_EQ(services.helpWindow()->currentPage(), ":/help/500.html");
    // An item without a number of its own takes its menu's.
    menu->setActiveAction(binding->menuAdapterOf(t.mnuOff)->action());
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_EQ(services.helpWindow()->currentPage(), ":/help/240.html");
    menu->hide();
}

TEST_F(BindingTest, ThePreviewAndF1HandlersOfTheFormTakePrecedence) {
    binding.reset();
    FormDesign design = t.design();
    int f1 = 0;
    design.helpKey = [&f1] { ++f1; };
    binding = std::make_unique<FormBinding>(std::move(design), actions);
    QApplication::setActiveWindow(binding->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(binding->window()));
    actions.run([] {});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(f1, 1);
    EXPECT_EQ(services.helpWindow(), nullptr);
}

TEST_F(BindingTest, EndingTheProgramInAHandlerClosesEverythingAndRunsNothingMore) {
    t.cmdGo.onClick = [this] {
        t.log.push_back("ending");
        services.endProgram();
        t.log.push_back("after the end");  // never runs
    };
    QTest::mouseClick(widget<QPushButton>(t.cmdGo), Qt::LeftButton);
    EXPECT_TRUE(services.ended());
    EXPECT_FALSE(binding->window()->isVisible());
    actions.run([this] { t.log.push_back("a later action"); });
    EXPECT_EQ(t.log.back(), "ending");
}

TEST_F(BindingTest, AnEndInANestedHandlerStopsTheHandlerThatWaits) {
    // The button's handler waits, processing events; meanwhile the user picks the menu item
    // that ends the program. The waiting handler must not go on.
    t.mnuRun.onClick = [this] { services.endProgram(); };
    t.cmdGo.onClick = [this] {
        QMetaObject::invokeMethod(
            binding->menuAdapterOf(t.mnuRun)->action(),
            [this] { binding->menuAdapterOf(t.mnuRun)->action()->trigger(); },
            Qt::QueuedConnection);
        for (int i = 0; i < 1000; ++i) {
            services.processEvents();
        }
        t.log.push_back("waited to the end");
    };
    QTest::mouseClick(widget<QPushButton>(t.cmdGo), Qt::LeftButton);
    EXPECT_TRUE(services.ended());
    for (const std::string& e : t.log) {
        EXPECT_NE(e, "waited to the end");
    }
}

TEST_F(BindingTest, TheCloseBoxRunsTheUnloadHandlerAndEndsTheProgram) {
    binding->window()->close();
    EXPECT_EQ(t.log, std::vector<std::string>{"Unload"});
    EXPECT_TRUE(services.ended());
    EXPECT_FALSE(binding->window()->isVisible());
}

}  // namespace
}  // namespace quarvell::platform::qt
