// Choosing a type, as the user does it, on a freshly started calculator. The 10.14 rule, the
// bias a type puts back and a type chosen again are shown by scenarios.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/script.h"

namespace quarvell::catalogue {
namespace {

using quarvell::testing::Act;
using quarvell::testing::ChooseType;
using quarvell::testing::TypeEntries;

enum class Res { Hidden, Resistance, Construction };

struct TypeCase {
    int notice;
    const char* code;
    const char* ratings;  // the entries, separated by blanks
    int rating;           // selected, when the part carries the start-up rating of 125
    int tempRating;       // TempRating afterwards
    const char* style;
    Res res;
    int piV;  // selected PI(V) entry; -1: hidden
    int bias;
    float lifeBias;
    int help;
    const char* note;
};

const TypeCase kTypes[] = {
    {1, "10.4", "+85°C +125°C", 1, 125, "CFR - non-Metal Case", Res::Hidden, -1, 4, 2.0f, 999, ""},
    {1, "10.10", "+85°C +125°C +150°C", 1, 125, "CK,CKR - Leaded", Res::Hidden, -1, 4, 2.0f, 635,
     ""},
    {1, "10.11", "+85°C +125°C", 1, 125, "CCR,CC,CDR - Chip", Res::Hidden, -1, 4, 2.0f, 630, ""},
    {1, "10.12", "+85°C +125°C", 0, 125, "Using CSR - Leaded Ta", Res::Resistance, -1, 0, 1.0f, 590,
     "NOTE: No provision was made in 217F Notice 1 for Tant-Chip."},
    {1, "10.12b", "+125°C +105°C +85°C", 0, 125, "CSR - Leaded", Res::Resistance, -1, 0, 1.0f, 590,
     "NOTE: No provision made in 217F for Tant Polymer or Chips."},
    {1, "10.13", "+175°C +125°C +85°C", 1, 125, "Using CL,CLR - Wet-Ta", Res::Construction, -1, 0,
     1.0f, 615, ""},
    {1, "10.14", "+125°C", 0, 125, "Using CU,CUR - Wet-Al", Res::Hidden, -1, 0, 1.0f, 999, ""},
    {1, "10.15", "+85°C +105°C +125°C", 2, 125, "Using CE with Modified Pi(V) Denominator",
     Res::Hidden, -1, 0, 1.0f, 610, "NOTE: Using CE with Modified Pi(V) Denominator"},
    {1, "10.15b", "+125°C +105°C", 0, 125, "Using CE", Res::Hidden, -1, 0, 1.0f, 610,
     "NOTE: No provision made in 217F for Al-Polymer or Chip Style\r\nUsing CE"},
    {2, "10.1b", "+85°C +125°C", 1, 125, "CFR - Paper/Film non-Metal Case", Res::Hidden, -1, 4,
     2.0f, 999, ""},
    {2, "10.1c", "+85°C +125°C +150°C", 1, 125, "CK,CKR - Leaded", Res::Hidden, -1, 4, 2.0f, 640,
     ""},
    {2, "10.1d", "+85°C +125°C +150°C", 1, 125, "CCR,CC,CDR - Chip", Res::Hidden, -1, 4, 2.0f, 640,
     ""},
    // The circuit-resistance list comes first for these, so their rating choice is taken.
    {2, "10.1e", "+85°C +125°C", 0, 85, "CSR - Leaded", Res::Resistance, -1, 0, 1.0f, 600, ""},
    {2, "10.1f", "+85°C +125°C", 0, 85, "CWR - Chip", Res::Resistance, -1, 0, 1.0f, 600, ""},
    {2, "10.1g", "+175°C +125°C +85°C", 1, 125, "CL,CLR", Res::Hidden, -1, 0, 1.0f, 1710,
     "NOTE: Tantalum-Wet"},
    {2, "10.1h", "+85°C +125°C", 1, 125, "CU,CUR - Wet Aluminum", Res::Hidden, -1, 0, 1.0f, 620,
     " Chip Style or +125°C."},
    {2, "10.1i", "+125°C +105°C +85°C", 0, 125, "CU/CUR", Res::Hidden, -1, 0, 1.0f, 625,
     "NOTE: Aluminum-Wet Style +85°C."},
    {2, "10.1j", "+85°C +105°C +125°C", 0, 85, "Using CWR - Chip with Modified Pi(V) Denominator",
     Res::Resistance, 2, 0, 1.0f, 600, "NOTE: No provisions in 217F for Tant-Polymer."},
    {2, "10.1k", "+85°C +105°C +125°C", 2, 125, "Using CE - Chip Al/Ploymer", Res::Hidden, 1, 0,
     1.0f, 620,
     "NOTE: No provision was made in 217F for Aluminum Polymer\r\nUsing CE with Modified Pi(V) "
     "Denominator Chip Style or +125°C."},
};

void PrintTo(const TypeCase& t, std::ostream* os) {
    *os << t.code;
}

class EachType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(EachType, ChoosingItSetsUpTheWindow) {
    const TypeCase& t = GetParam();
    replay::Session session;
    window::FrmFit& w = session.window;
    // Start from a bias the set-up must replace, and from a type with a note to clear.
    ChooseType(session, "10.1g");
    w.cmbLife.select(3);
    if (t.notice == kNotice1) {
        Act(session, "select optNotice 1");
    }
    w.state().in.TempRating = 125;

    ChooseType(session, t.code);

    const model::CalcState& s = w.state();
    std::string ratings;
    for (const std::string& r : w.cmbRating.items()) {
        ratings += (ratings.empty() ? "" : " ") + r;
    }
    EXPECT_EQ(s.in.TypeCode, t.code);
    EXPECT_EQ(ratings, t.ratings);
    EXPECT_EQ(w.cmbRating.index(), t.rating);
    EXPECT_EQ(s.in.TempRating, t.tempRating);
    EXPECT_EQ(w.txtStyle.text(), t.style);

    EXPECT_EQ(w.cmbRes.visible(), t.res != Res::Hidden);
    EXPECT_EQ(w.lblRes.visible(), t.res != Res::Hidden);
    if (t.res != Res::Hidden) {
        const bool wet = t.res == Res::Construction;
        EXPECT_EQ(w.cmbRes.items(), wet ? ConstructionEntries() : CircuitResistanceEntries());
        EXPECT_EQ(w.cmbRes.text(), wet ? "Slug, & All Tantalum" : "(<0.1 Ohms/V)");
        EXPECT_EQ(w.cmbRes.locked(), wet);
        EXPECT_EQ(w.lblRes.caption(),
                  wet ? "Wet Tantalum Construction Type" : "Circuit Resistance (Ohms/Volt)");
        EXPECT_EQ(w.cmbRes.tooltip(),
                  wet ? "Selection locked as 'Slug, All Tantalum' as only offering from TELVARO"
                      : "Select range of circuit conditions - remember it's ohms-per-volt, and "
                        "not ohms.");
    }

    EXPECT_EQ(w.cmbPiV.visible(), t.piV >= 0);
    EXPECT_EQ(w.lblPIv.visible(), t.piV >= 0);
    if (t.piV >= 0) {
        EXPECT_EQ(w.cmbPiV.index(), t.piV);
    }
    EXPECT_EQ(w.cmbLife.index(), t.bias);
    EXPECT_EQ(s.in.LifeBias, t.lifeBias);
    EXPECT_EQ(w.cmbType.helpContext(), t.help);

    EXPECT_EQ(s.in.PendingNote, t.note);
    EXPECT_EQ(w.lblNote.visible(), std::string(t.note) != "");
    EXPECT_EQ(w.lblNote.caption(), t.note);
    EXPECT_FALSE(s.SuspendRecalc);
    EXPECT_TRUE(session.services.takeEvents().empty()) << "no message for a type choice";
}

INSTANTIATE_TEST_SUITE_P(BothNotices, EachType, ::testing::ValuesIn(kTypes),
                         [](const ::testing::TestParamInfo<TypeCase>& param) {
                             std::string name = param.param.code;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return "Type" + name;
                         });

TEST(RatingKeeping, ARatingCarriesOverWhereTheNewListOffersIt) {
    const struct {
        int notice;
        const char* from;  // a type offering the rating chosen first
        int fromRating;    // the entry the user picks there
        const char* to;
        const char* shown;
    } cases[] = {
        {2, "10.1c", 2, "10.1d", "+150°C"},  // ceramics keep +150°C
        {2, "10.1d", 2, "10.1c", "+150°C"},
        {2, "10.1c", 2, "10.1b", "+125°C"},  // 150 is not offered: the default
        {2, "10.1c", 0, "10.1d", "+85°C"},
        {2, "10.1j", 1, "10.1c", "+85°C"},  // 105 becomes 85
        {2, "10.1g", 0, "10.1b", "+85°C"},  // so does 175
        {1, "10.10", 2, "10.15", "+125°C"},
        {1, "10.10", 2, "10.4", "+125°C"},
        {1, "10.12b", 1, "10.15", "+85°C"},
        {1, "10.4", 1, "10.15", "+125°C"},
        {1, "10.10", 0, "10.11", "+125°C"},  // 10.11 does not keep ratings
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        replay::Session session;
        if (c.notice == kNotice1) {
            Act(session, "select optNotice 1");
        }
        ChooseType(session, c.from);
        Act(session, "select cmbRating " + std::to_string(c.fromRating));
        ChooseType(session, c.to);
        EXPECT_EQ(session.window.cmbRating.text(), c.shown);
    }
}

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

}  // namespace
}  // namespace quarvell::catalogue
