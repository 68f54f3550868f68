// Switching Notice carries the type over to its counterpart, with a timed message where the
// Notices treat it differently.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/script.h"

namespace quarvell::catalogue {
namespace {

using platform::ServiceEvent;
using quarvell::testing::Act;
using quarvell::testing::ChooseType;

struct Switch {
    int from;  // Notice of the type chosen first
    const char* code;
    const char* counterpart;
    int position;
    const char* title;  // nullptr: no message
    const char* text;
    double seconds;
};

std::vector<std::string> TypeEntries(int notice) {
    std::vector<std::string> entries;
    for (const model::CapacitorType& t : model::TypesOf(static_cast<model::Notice>(notice))) {
        entries.emplace_back(t.entry);
    }
    return entries;
}

const char* const kNotice1Title = "Notice 1 does not Allow for chip or polymer.";

const Switch kSwitches[] = {
    {1, "10.4", "10.1b", 0, nullptr, nullptr, 0},
    {1, "10.10", "10.1c", 1, nullptr, nullptr, 0},
    {1, "10.11", "10.1d", 2, nullptr, nullptr, 0},
    {1, "10.12b", "10.1j", 8, nullptr, nullptr, 0},
    {1, "10.12", "10.1e", 3, "Notice 2 Allows chips.", "In Notice-2, a Chip style is selctable.",
     5},
    {1, "10.13", "10.1g", 5, nullptr, nullptr, 0},
    {1, "10.14", "10.1h", 6, nullptr, nullptr, 0},
    {1, "10.15b", "10.1k", 9, nullptr, nullptr, 0},
    {1, "10.15", "10.1i", 7, nullptr, nullptr, 0},
    {2, "10.1b", "10.4", 0, nullptr, nullptr, 0},
    {2, "10.1c", "10.10", 1, nullptr, nullptr, 0},
    {2, "10.1d", "10.11", 2, nullptr, nullptr, 0},
    {2, "10.1e", "10.12", 3, nullptr, nullptr, 0},
    {2, "10.1f", "10.12", 3, "Notice 1 does not Allow chips.",
     "In Notice-1, no CWR Chip style is selectable.", 2},
    {2, "10.1j", "10.12b", 7, kNotice1Title, "In Notice-1, no Chip or Polymer style is selectable.",
     2},
    {2, "10.1g", "10.13", 4, nullptr, nullptr, 0},
    {2, "10.1h", "10.14", 5, nullptr, nullptr, 0},
    {2, "10.1k", "10.15b", 8, kNotice1Title, "In Notice-1, no Chip or Polymer style is selctable.",
     2},
    {2, "10.1i", "10.15", 6, nullptr, nullptr, 0},
};

TEST(NoticeSwitch, CarriesEachTypeToItsCounterpartWithItsMessage) {
    for (const Switch& c : kSwitches) {
        SCOPED_TRACE(std::string(c.code) + " -> " + c.counterpart);
        replay::Session session;
        const window::FrmFit& w = session.window;
        if (c.from == kNotice1) {
            Act(session, "select optNotice 1");
        }
        ChooseType(session, c.code);
        session.services.takeEvents();

        // The message is up while the list of the new Notice waits without a selection.
        std::optional<int> indexDuringMessage;
        session.services.onProcessEvents = [&] { indexDuringMessage = w.cmbType.index(); };
        Act(session, c.from == kNotice1 ? "select optNotice 2" : "select optNotice 1");

        const int to = c.from == kNotice1 ? kNotice2 : kNotice1;
        EXPECT_EQ(w.state().in.Notice, to);
        EXPECT_EQ(w.cmbType.items(), TypeEntries(to));
        EXPECT_EQ(w.cmbType.index(), c.position);
        EXPECT_EQ(w.state().in.TypeCode, c.counterpart);
        EXPECT_EQ(w.txtStyle.text(), model::FindType(c.counterpart)->style);

        const auto events = session.services.takeEvents();
        if (c.title == nullptr) {
            EXPECT_TRUE(events.empty());
            continue;
        }
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].kind, ServiceEvent::Kind::ShowMessage);
        EXPECT_EQ(events[0].title, c.title);
        EXPECT_EQ(events[0].text, c.text);
        EXPECT_EQ(events[0].seconds, c.seconds);
        EXPECT_EQ(events[1].kind, ServiceEvent::Kind::Beep);
        EXPECT_EQ(indexDuringMessage, -1);
    }
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
