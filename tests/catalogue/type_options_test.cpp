// The PI(V) denominator and life-test bias lists as the user meets them in the window.
#include "catalogue/type_options.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/script.h"

namespace quarvell::catalogue {
namespace {

using platform::ServiceEvent;
using quarvell::testing::Act;
using quarvell::testing::ChooseType;

// A typed denominator is checked when the user leaves the list: one outside 0.5 to 1.0, or no
// number, is replaced by the type's default with a 7-second warning.
TEST(PiV, ATypedDenominatorOutOfRangeOrNotNumericIsReplacedByTheTypesDefault) {
    const char* const kRange = "WARNING: You must restrict entry between 0.5 and 1.0.\r\n";
    const char* const kNumeric = "WARNING: You must enter denominator as numeric entry.\r\n";
    const struct {
        const char* text;
        const char* type;
        const char* warning;  // nullptr: taken
    } cases[] = {
        {"0.5", "10.1j", nullptr},       {"1.0", "10.1k", nullptr},   {"1", "10.1j", nullptr},
        {".75", "10.1k", nullptr},       {"0.9", "10.1j", nullptr},   {"0.45", "10.1j", kRange},
        {"1.1", "10.1j", kRange},        {"0.4999", "10.1j", kRange}, {"1.0001", "10.1k", kRange},
        {"0", "10.1k", kRange},          {"-0.8", "10.1j", kRange},   {"1e9", "10.1k", kRange},
        {"abc", "10.1j", kNumeric},      {"", "10.1k", kNumeric},     {"PiV", "10.1j", kNumeric},
        {".8 volts", "10.1k", kNumeric},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " \"" + c.text + "\"");
        replay::Session session;
        ChooseType(session, c.type);
        session.services.takeEvents();
        Act(session, std::string("type cmbPiV ") + c.text + "\nfocus cmbEnv");
        const auto events = session.services.takeEvents();
        if (c.warning == nullptr) {
            EXPECT_TRUE(events.empty());
            EXPECT_EQ(session.window.cmbPiV.text(), c.text);
            continue;
        }
        const bool aluminum = std::string(c.type) == "10.1k";
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].kind, ServiceEvent::Kind::ShowMessage);
        EXPECT_EQ(events[0].title,
                  aluminum ? "Resetting to default (0.9)" : "Resetting to default (0.8)");
        EXPECT_EQ(events[0].text, c.warning);
        EXPECT_EQ(events[0].seconds, 7.0);
        EXPECT_EQ(session.window.cmbPiV.text(), aluminum ? ".9" : ".8");
    }
}

// The fixed entries are written with a period whatever the platform's number format.
TEST(FixedEntries, PassAndGiveTheirValuesInBothNumberFormats) {
    const float multiples[] = {1.0f, 1.25f, 1.33f, 1.5f, 2.0f};
    for (const auto& locale : {model::kPeriodLocale, model::kCommaLocale}) {
        replay::Session session(locale);
        ChooseType(session, "10.1j");
        session.window.fmeOther.setVisible(
            true);  // the life-test frame, as the level list shows it
        for (int i = 0; i < 6; ++i) {
            Act(session, "select cmbPiV " + std::to_string(i));
        }
        for (int i = 0; i < 5; ++i) {
            Act(session, "select cmbLife " + std::to_string(i));
            EXPECT_EQ(session.window.state().in.LifeBias, multiples[i]) << i;
        }
        EXPECT_TRUE(session.services.takeEvents().empty());
    }
}

TEST(LifeBias, OtherAsksAndRefusesWhatCannotBeUsed) {
    const struct {
        const char* answer;  // nullptr: Cancel
        bool comma;
        const char* refusal;  // nullptr: taken
        float bias;
    } cases[] = {
        {"1.4", false, nullptr, 1.4f},
        {" 3 ", false, nullptr, 3.0f},
        {"1,4", true, nullptr, 1.4f},
        {"abc", false, kBiasNotNumeric, 1.0f},
        {"", false, kBiasNotNumeric, 1.0f},
        {nullptr, false, kBiasNotNumeric, 1.0f},
        {"0", false, kBiasNotPositive, 1.0f},
        {"-2", false, kBiasNotPositive, 1.0f},
        {"-1e39", false, kBiasNotPositive, 1.0f},
        {"1e39", false, kBiasTooLarge, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer == nullptr ? "(Cancel)" : c.answer);
        replay::Session session(c.comma ? model::kCommaLocale : model::kPeriodLocale);
        session.window.fmeOther.setVisible(true);
        Act(session,
            c.answer == nullptr ? std::string("cancel") : std::string("answer ") + c.answer);
        Act(session, "select cmbLife 5");
        const auto events = session.services.takeEvents();
        ASSERT_EQ(events.size(), c.refusal == nullptr ? 1u : 2u);
        EXPECT_EQ(events[0].kind, ServiceEvent::Kind::InputBox);
        EXPECT_EQ(events[0].text, kBiasPrompt);
        EXPECT_EQ(events[0].title, kBiasTitle);
        EXPECT_EQ(events[0].defaultAnswer, "");
        if (c.refusal != nullptr) {
            EXPECT_EQ(events[1].kind, ServiceEvent::Kind::MsgBox);
            EXPECT_EQ(events[1].text, c.refusal);
            EXPECT_EQ(events[1].title, "Quarvell");
            EXPECT_EQ(events[1].buttons, platform::MsgButtons::Ok);
        }
        EXPECT_EQ(session.window.state().in.LifeBias, c.bias);
        EXPECT_EQ(session.window.cmbLife.text(), "Other");
    }
}

}  // namespace
}  // namespace quarvell::catalogue
