#include "platform/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarvell::platform {
namespace {

TEST(ComboBox, SelectingFromCodeRunsClickAtOnceNestedEvenForTheSameEntry) {
    ComboBox outer("cmbEnv", false);
    ComboBox inner("cmbRes", false);
    outer.addItem("a");
    outer.addItem("b");
    inner.addItem("y");
    std::vector<std::string> log;
    inner.onClick = [&] { log.push_back("inner"); };
    outer.onClick = [&] {
        log.push_back("outer " + std::to_string(outer.index()));
        inner.select(0);
        log.push_back("outer end");
    };
    outer.select(1);
    outer.select(1);
    outer.select(7);  // outside the list: ignored
    outer.select(-1);
    EXPECT_EQ(log, (std::vector<std::string>{"outer 1", "inner", "outer end", "outer 1", "inner",
                                             "outer end", "outer -1", "inner", "outer end"}));
    EXPECT_EQ(outer.text(), "");
}

TEST(ComboBox, TypingFollowsAMatchingEntryAndRunsChangeNotClick) {
    ComboBox list("cmbPiV", true);
    for (const char* t : {"1", ".9", ".8"}) {
        list.addItem(t);
    }
    int clicks = 0;
    int changes = 0;
    list.onClick = [&] { ++clicks; };
    list.onChange = [&] { ++changes; };
    list.setText(".9");
    EXPECT_EQ(list.index(), 1);
    list.setText("0.45");
    list.setText("0.45");
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(list.text(), "0.45");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(changes, 2);
    list.select(0);  // choosing an entry is a Click, not a Change
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 2);

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
    Form form("frmMsg");
    int seen = 0;
    const int id = label.observe([&](const Control&) { ++seen; });
    form.observe([&](const Control&) { ++seen; });
    label.setCaption("a");
    label.setCaption("a");
    label.setVisible(false);
    label.setForeColor(kRed);
    form.setCaption("Not allowed!");
    form.setCaption("Not allowed!");
    form.setKeyPreview(true);
    EXPECT_EQ(seen, 5);
    label.unobserve(id);
    label.setCaption("b");
    EXPECT_EQ(seen, 5);
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

TEST(FocusScope, LostFocusRunsFirstTabSkipsHiddenContainersAndAHandlerMayRedirect) {
    TextBox a{"txtCap"}, b{"txtVolt"}, inFrame{"txtHrs"}, readOnly{"txtFIT"};
    Frame frame{"fmeOther"};
    FocusScope scope;
    std::vector<std::string> log;
    a.setTabIndex(14);
    b.setTabIndex(15);
    frame.setTabIndex(8);
    inFrame.setTabIndex(31);
    inFrame.setContainer(&frame);
    for (Control* c : std::initializer_list<Control*>{&a, &b, &frame, &inFrame, &readOnly}) {
        scope.add(*c);
        c->onGotFocus = [&log, c] { log.push_back("got " + c->name()); };
        c->onLostFocus = [&log, c] { log.push_back("lost " + c->name()); };
    }
    scope.setFocus(a);
    scope.tab(false);
    EXPECT_EQ(scope.focused(), &b);
    frame.setVisible(false);
    scope.tab(false);  // wraps past the hidden frame's field, and the untabbed one, to the start
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
    // A LostFocus handler that moves the focus wins.
    b.onLostFocus = [&] { scope.setFocus(inFrame); };
    scope.setFocus(a);
    EXPECT_EQ(scope.focused(), &inFrame);
    EXPECT_EQ(log.back(), "got txtHrs");
}

}  // namespace
}  // namespace quarvell::platform
