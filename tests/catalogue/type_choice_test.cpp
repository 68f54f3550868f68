// Choosing a type and switching Notice: what each type sets up, the ratings carried over and the
// type each switch carries over to are shown by the type_choice, rating_keeping and
// notice_switch scenarios; here what a script cannot reach.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/script.h"

namespace quarvell::catalogue {
namespace {

using quarvell::testing::Act;
using quarvell::testing::ChooseType;
using quarvell::testing::TypeEntries;

TEST(TypeChoice, NoTypeSelectedHidesTheOptionListsAndTheNote) {
    replay::Session session;
    window::FrmFit& w = session.window;
    ChooseType(session, "10.1k");
    w.cmbType.select(-1);
    EXPECT_EQ(w.state().in.TypeCode, "");
    EXPECT_FALSE(w.cmbRes.visible());
    EXPECT_FALSE(w.cmbPiV.visible());
    EXPECT_FALSE(w.lblPIv.visible());
    EXPECT_FALSE(w.lblNote.visible());
    EXPECT_EQ(w.txtStyle.text(), "Using CE - Chip Al/Ploymer");  // the rest stays as it was
    EXPECT_FALSE(w.state().SuspendRecalc);
}

// While recalculation is suspended the type list, the option lists and the Notice buttons do
// nothing beyond showing the user's choice; the life-test bias still counts.
TEST(Suspended, ListsAndNoticeButtonsDoNothingButTheBiasStillCounts) {
    replay::Session session;
    window::FrmFit& w = session.window;
    ChooseType(session, "10.1j");
    quarvell::testing::EnterPart(session, "10", "10");
    const float fit = w.state().out.Fit;
    ASSERT_NE(fit, 0.0f);
    w.state().SuspendRecalc = true;

    Act(session, "select cmbType 9");
    EXPECT_EQ(w.cmbType.index(), 9);  // the list itself follows the user
    EXPECT_EQ(w.state().in.TypeCode, "10.1j");
    EXPECT_EQ(w.txtStyle.text(), "Using CWR - Chip with Modified Pi(V) Denominator");
    EXPECT_EQ(w.cmbPiV.index(), 2);

    Act(session, "select cmbRating 2\nselect cmbRes 0\ntype cmbPiV 7\nfocus cmbEnv");
    EXPECT_EQ(w.state().in.TempRating, 85);
    EXPECT_EQ(w.cmbPiV.text(), "7");
    EXPECT_EQ(w.state().out.Fit, fit);

    Act(session, "click optNotice1");
    EXPECT_EQ(w.state().in.Notice, kNotice2);
    EXPECT_TRUE(w.optNotice2.value());
    EXPECT_FALSE(w.optNotice1.value());
    EXPECT_EQ(w.cmbType.count(), 10);  // still the Notice 2 list
    EXPECT_TRUE(session.services.takeEvents().empty());

    w.fmeOther.setVisible(true);
    Act(session, "select cmbLife 4");
    EXPECT_EQ(w.state().in.LifeBias, 2.0f);
}

// The message is up while the list of the new Notice waits without a selection.
TEST(NoticeSwitch, TheNewListHasNoSelectionWhileTheMessageIsUp) {
    replay::Session session;
    std::optional<int> indexDuringMessage;
    session.services.onProcessEvents = [&] { indexDuringMessage = session.window.cmbType.index(); };
    Act(session, "select optNotice 1");  // 10.1f goes to 10.12 with a message
    EXPECT_EQ(indexDuringMessage, -1);
    EXPECT_EQ(session.window.cmbType.index(), 3);
}

// A screen reports a click on the button already on; the replay tool's choice does not.
TEST(NoticeSwitch, ClickingTheNoticeInUseChangesNothing) {
    replay::Session session;
    const window::FrmFit& w = session.window;
    session.act([&] { session.window.optNotice2.click(); });
    EXPECT_EQ(w.state().in.TypeCode, "10.1f");
    EXPECT_EQ(w.cmbType.items(), TypeEntries(kNotice2));
    EXPECT_EQ(w.cmbType.index(), 4);
    EXPECT_TRUE(session.services.takeEvents().empty());
}

}  // namespace
}  // namespace quarvell::catalogue
