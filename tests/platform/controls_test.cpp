#include "platform/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarvell::platform {
namespace {

TEST(ComboBox, SelectingFromCodeRunsClickAtOnceEvenForTheSameEntry) {
    ComboBox list("cmbEnv", false);
    list.addItem("a");
    list.addItem("b");
    std::vector<int> clicks;
    list.onClick = [&] { clicks.push_back(list.index()); };
    list.select(1);
    list.select(1);
    list.select(7);  // outside the list: ignored
    list.select(-1);
    EXPECT_EQ(clicks, (std::vector<int>{1, 1, -1}));
    EXPECT_EQ(list.text(), "");
}

TEST(ComboBox, NestedSelectionRunsBeforeTheCallerContinues) {
    ComboBox outer("outer", false);
    ComboBox inner("inner", false);
    outer.addItem("x");
    inner.addItem("y");
    std::vector<std::string> log;
    inner.onClick = [&] { log.push_back("inner"); };
    outer.onClick = [&] {
        log.push_back("outer start");
        inner.select(0);
        log.push_back("outer end");
    };
    outer.select(0);
    EXPECT_EQ(log, (std::vector<std::string>{"outer start", "inner", "outer end"}));
}

TEST(ComboBox, TypingIntoAnEditableListFollowsAMatchingEntryWithoutClick) {
    ComboBox list("cmbPiV", true);
    for (const char* t : {"1", ".9", ".8"}) {
        list.addItem(t);
    }
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.setText(".9");
    EXPECT_EQ(list.index(), 1);
    list.setText("0.45");
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(list.text(), "0.45");
    EXPECT_EQ(clicks, 0);

    ComboBox fixed("cmbFR", false);
    fixed.setText("free text");
    EXPECT_EQ(fixed.text(), "");
}

TEST(ScrollBar, ChangeRunsOnlyWhenTheValueReallyChanges) {
    ScrollBar bar("hscApp");
    bar.setMin(0);
    bar.setMax(50);
    int changes = 0;
    bar.onChange = [&] { ++changes; };
    bar.setValue(25);
    bar.setValue(25);
    EXPECT_EQ(changes, 1);
    bar.setValue(99);  // held within the range
    EXPECT_EQ(bar.value(), 50);
    EXPECT_EQ(changes, 2);
    bar.setMax(40);  // lowering the maximum below the value drags it along
    EXPECT_EQ(bar.value(), 40);
    EXPECT_EQ(changes, 3);
    bar.setMax(45);  // raising it leaves the value alone
    EXPECT_EQ(bar.value(), 40);
    EXPECT_EQ(changes, 3);
    bar.setMin(-10);
    bar.setValue(-32768);
    EXPECT_EQ(bar.value(), -10);
}

TEST(OptionButton, ChoosingFromCodeRunsClickOnlyOnAChangeWhileAUserClickAlwaysDoes) {
    OptionButton one("optNotice1", 1);
    OptionButton two("optNotice2", 2);
    one.setGroup({&one, &two});
    two.setGroup({&one, &two});
    std::vector<int> clicks;
    one.onClick = two.onClick = [&](int i) { clicks.push_back(i); };
    two.choose();
    two.choose();
    EXPECT_TRUE(two.value());
    one.click();
    one.click();
    EXPECT_TRUE(one.value());
    EXPECT_FALSE(two.value());
    EXPECT_EQ(clicks, (std::vector<int>{2, 1, 1}));
}

TEST(Control, ObserversSeeEveryRealChangeOnce) {
    Label label("lblNote");
    int seen = 0;
    const int id = label.observe([&](const Control&) { ++seen; });
    label.setCaption("a");
    label.setCaption("a");
    label.setVisible(false);
    label.setForeColor(kRed);
    EXPECT_EQ(seen, 3);
    label.unobserve(id);
    label.setCaption("b");
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(ColorText(kRed), "#FF0000");
    EXPECT_EQ(ColorText(kLightGrey), "#C0C0C0");
}

TEST(MenuItemAndButton, DisabledOrHiddenOnesDoNotRun) {
    MenuItem item("mnuPrintFF");
    Button button("cmdQuit");
    int runs = 0;
    item.onClick = button.onClick = [&] { ++runs; };
    item.setEnabled(false);
    item.click();
    button.setVisible(false);
    button.click();
    EXPECT_EQ(runs, 0);
    item.setEnabled(true);
    item.click();
    EXPECT_EQ(runs, 1);
}

class FocusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        a.setTabIndex(14);
        b.setTabIndex(15);
        frame.setTabIndex(8);
        inFrame.setTabIndex(31);
        inFrame.setContainer(&frame);
        readOnly.setTabIndex(-1);
        for (Control* c : std::initializer_list<Control*>{&a, &b, &frame, &inFrame, &readOnly}) {
            scope.add(*c);
            c->onGotFocus = [this, c] { log.push_back("got " + c->name()); };
            c->onLostFocus = [this, c] { log.push_back("lost " + c->name()); };
        }
    }
    TextBox a{"txtCap"}, b{"txtVolt"}, inFrame{"txtHrs"}, readOnly{"txtFIT"};
    Frame frame{"fmeOther"};
    FocusScope scope;
    std::vector<std::string> log;
};

TEST_F(FocusTest, LostFocusRunsBeforeGotFocusAndTabSkipsHiddenContainers) {
    scope.setFocus(a);
    scope.tab(false);
    EXPECT_EQ(scope.focused(), &b);
    frame.setVisible(false);
    scope.tab(false);  // wraps past the hidden frame's field to the frame-less start
    EXPECT_EQ(scope.focused(), &a);
    EXPECT_EQ(log, (std::vector<std::string>{"got txtCap", "lost txtCap", "got txtVolt",
                                             "lost txtVolt", "got txtCap"}));
    EXPECT_FALSE(scope.setFocus(inFrame));
    frame.setVisible(true);
    scope.setFocus(b);
    scope.tab(false);
    EXPECT_EQ(scope.focused(), &inFrame);
    scope.tab(true);
    EXPECT_EQ(scope.focused(), &b);
}

TEST_F(FocusTest, ALostFocusHandlerThatMovesTheFocusWins) {
    scope.setFocus(a);
    a.onLostFocus = [this] { scope.setFocus(inFrame); };
    scope.setFocus(b);
    EXPECT_EQ(scope.focused(), &inFrame);
    EXPECT_EQ(log.back(), "got txtHrs");
}

TEST(ComboBox, TypingRunsChangeOnlyWhenTheTextChanges) {
    ComboBox list("cmbPiV", true);
    list.addItem(".8");
    int changes = 0;
    int clicks = 0;
    list.onChange = [&] { ++changes; };
    list.onClick = [&] { ++clicks; };
    list.setText("0.4");
    list.setText("0.4");
    list.select(0);  // choosing an entry is a Click, not a Change
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(Form, CaptionAndKeyPreviewNotify) {
    Form form("frmMsg");
    int notes = 0;
    form.observe([&](const Control&) { ++notes; });
    form.setCaption("Not allowed!");
    form.setCaption("Not allowed!");
    form.setKeyPreview(true);
    EXPECT_EQ(notes, 2);
    EXPECT_EQ(form.kind(), ControlKind::Form);
}

}  // namespace
}  // namespace quarvell::platform
