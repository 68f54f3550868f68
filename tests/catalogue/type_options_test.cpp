// The rating, option, PI(V) and life-test bias lists: each handler on its own (what it stores,
// whether it recalculates, what it says), then as the user meets them in the window.
#include "catalogue/type_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "platform/scripted_services.h"
#include "tests/support/script.h"

namespace quarvell::catalogue {
namespace {

using platform::ServiceEvent;

class OptionHandlers : public ::testing::Test {
  protected:
    OptionHandlers() {
        for (const char* r : {"+85°C", "+105°C", "+125°C", "+150°C"}) {
            cmbRating.addItem(r);
        }
        for (const std::string& e : PiVEntries()) {
            cmbPiV.addItem(e);
        }
        for (const std::string& e : LifeBiasEntries()) {
            cmbLife.addItem(e);
        }
        cmbRating.onClick = [this] { cmbRating_Click(view); };
        cmbPiV.onClick = [this] { cmbPiV_Click(view); };
        cmbLife.onClick = [this] { cmbLife_Click(view); };
        state.in.TypeCode = "10.1j";
        state.in.LifeBias = 1.0f;
        state.in.DecimalIsPoint = true;
    }

    // The user's denominator is checked as the window checks it when the list is left.
    void typeDenominator(const std::string& text) {
        cmbPiV.setText(text);
        cmbPiV_Click(view);
    }

    std::vector<ServiceEvent> boxes() {
        std::vector<ServiceEvent> out;
        for (const ServiceEvent& e : services.takeEvents()) {
            if (e.kind == ServiceEvent::Kind::MsgBox || e.kind == ServiceEvent::Kind::InputBox) {
                out.push_back(e);
            }
        }
        return out;
    }

    struct Message {
        std::string title;
        std::string text;
        float seconds;
    };

    model::CalcState state;
    platform::ComboBox cmbRating{"cmbRating", false};
    platform::ComboBox cmbPiV{"cmbPiV", true};
    platform::ComboBox cmbLife{"cmbLife", false};
    platform::TextBox txtFIT{"txtFIT"};
    platform::ScriptedServices services;
    int recalcs = 0;
    std::vector<Message> messages;
    OptionsView view{state,
                     cmbRating,
                     cmbPiV,
                     cmbLife,
                     txtFIT,
                     services,
                     [this] { ++recalcs; },
                     [this](const std::string& title, const std::string& text, float seconds) {
                         messages.push_back({title, text, seconds});
                     }};
};

TEST_F(OptionHandlers, RatingChoiceStoresTheTemperatureAndRecalculates) {
    cmbRating.select(3);
    EXPECT_EQ(state.in.TempRating, 150);
    cmbRating.select(0);
    EXPECT_EQ(state.in.TempRating, 85);
    EXPECT_EQ(recalcs, 2);
    state.in.DecimalIsPoint = false;
    cmbRating.select(1);
    EXPECT_EQ(state.in.TempRating, 105);
}

TEST_F(OptionHandlers, ResistanceChoiceRecalculatesOnlyOnceAResultIsShown) {
    txtFIT.setVisible(false);
    cmbRes_Click(view);
    EXPECT_EQ(recalcs, 0);
    txtFIT.setVisible(true);
    cmbRes_Click(view);
    EXPECT_EQ(recalcs, 1);
}

TEST_F(OptionHandlers, SuspendedListsDoNothingButTheBiasStillCounts) {
    state.SuspendRecalc = true;
    txtFIT.setVisible(true);
    cmbRating.select(3);
    cmbRes_Click(view);
    typeDenominator("7");
    EXPECT_EQ(state.in.TempRating, 0);
    EXPECT_EQ(recalcs, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(cmbPiV.text(), "7");

    cmbLife.select(4);
    EXPECT_EQ(state.in.LifeBias, 2.0f);
    EXPECT_EQ(recalcs, 1);  // the calculation itself returns while suspended
}

TEST_F(OptionHandlers, EveryFixedDenominatorPassesWithoutAMessage) {
    for (int i = 0; i < cmbPiV.count(); ++i) {
        cmbPiV.select(i);
    }
    EXPECT_EQ(recalcs, cmbPiV.count());
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionHandlers, ARejectedDenominatorIsReplacedByTheTypesDefault) {
    const struct {
        const char* text;
        const char* type;
        bool numeric;
    } cases[] = {
        {"0.45", "10.1j", true},   {"1.1", "10.1j", true},       {"0.4999", "10.1j", true},
        {"1.0001", "10.1k", true}, {"0", "10.1k", true},         {"-0.8", "10.1j", true},
        {"1e9", "10.1k", true},    {"abc", "10.1j", false},      {"", "10.1k", false},
        {"PiV", "10.1j", false},   {".8 volts", "10.1k", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        state.in.TypeCode = c.type;
        recalcs = 0;
        messages.clear();
        typeDenominator(c.text);
        const bool aluminum = std::string(c.type) == "10.1k";
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title,
                  aluminum ? "Resetting to default (0.9)" : "Resetting to default (0.8)");
        EXPECT_EQ(messages[0].text,
                  c.numeric ? "WARNING: You must restrict entry between 0.5 and 1.0.\r\n"
                            : "WARNING: You must enter denominator as numeric entry.\r\n");
        EXPECT_EQ(messages[0].seconds, 7.0f);
        EXPECT_EQ(cmbPiV.text(), aluminum ? ".9" : ".8");
        EXPECT_EQ(recalcs, 2);  // the default's own check, then the handler's
    }
}

TEST_F(OptionHandlers, DenominatorBoundsAreIncluded) {
    for (const char* text : {"0.5", "1.0", "1", ".75", "0.9"}) {
        typeDenominator(text);
        EXPECT_EQ(cmbPiV.text(), text);
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(recalcs, 5);
}

TEST_F(OptionHandlers, FixedBiasEntriesGiveTheirMultiple) {
    const float expected[] = {1.0f, 1.25f, 1.33f, 1.5f, 2.0f};
    for (int i = 0; i < 5; ++i) {
        cmbLife.select(i);
        EXPECT_EQ(state.in.LifeBias, expected[i]) << cmbLife.text();
    }
    EXPECT_EQ(recalcs, 5);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OptionHandlers, OtherBiasAsksAndRefusesWhatCannotBeUsed) {
    const struct {
        std::optional<std::string> answer;  // nothing: Cancel
        const char* refusal;                // nullptr: taken
        float bias;
    } cases[] = {
        {"1.4", nullptr, 1.4f},
        {" 3 ", nullptr, 3.0f},
        {"abc", kBiasNotNumeric, 1.0f},
        {"", kBiasNotNumeric, 1.0f},
        {std::nullopt, kBiasNotNumeric, 1.0f},
        {"0", kBiasNotPositive, 1.0f},
        {"-2", kBiasNotPositive, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.value_or("(Cancel)"));
        state.in.LifeBias = 1.0f;
        recalcs = 0;
        if (c.answer) {
            services.queueAnswer(*c.answer);
        } else {
            services.queueCancel();
        }
        cmbLife.select(kLifeBiasOther);
        const auto shown = boxes();
        ASSERT_GE(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, ServiceEvent::Kind::InputBox);
        EXPECT_EQ(shown[0].text, "Enter DC Bias as a multiple of Rated:");
        EXPECT_EQ(shown[0].title, "Odd Life Bias conditions");
        EXPECT_EQ(shown[0].defaultAnswer, "");
        EXPECT_EQ(state.in.LifeBias, c.bias);
        EXPECT_EQ(cmbLife.text(), "Other");
        if (c.refusal == nullptr) {
            EXPECT_EQ(shown.size(), 1u);
            EXPECT_EQ(recalcs, 1);
        } else {
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[1].kind, ServiceEvent::Kind::MsgBox);
            EXPECT_EQ(shown[1].text, c.refusal);
            EXPECT_EQ(shown[1].title, "Quarvell");
            EXPECT_EQ(shown[1].buttons, platform::MsgButtons::Ok);
            EXPECT_EQ(recalcs, 0);
        }
    }
}

TEST_F(OptionHandlers, OtherBiasTooLargeForTheCalculationIsRefused) {
    const struct {
        const char* answer;
        const char* refusal;
    } cases[] = {{"1e39", kBiasTooLarge}, {"-1e39", kBiasNotPositive}};
    for (const auto& c : cases) {
        services.queueAnswer(c.answer);
        cmbLife.select(kLifeBiasOther);
        const auto shown = boxes();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[1].text, c.refusal);
    }
    EXPECT_EQ(state.in.LifeBias, 1.0f);
    EXPECT_EQ(recalcs, 0);
}

TEST_F(OptionHandlers, OtherBiasIsReadInThePlatformsNumberFormat) {
    services.setNumberLocale(platform::kCommaLocale);
    services.queueAnswer("1,4");
    cmbLife.select(kLifeBiasOther);
    EXPECT_EQ(state.in.LifeBias, 1.4f);
    // The fixed entries are written with a period whatever the locale.
    cmbLife.select(1);
    EXPECT_EQ(state.in.LifeBias, 1.25f);
}

TEST_F(OptionHandlers, FixedDenominatorsPassUnderACommaLocaleToo) {
    services.setNumberLocale(platform::kCommaLocale);
    for (int i = 0; i < cmbPiV.count(); ++i) {
        cmbPiV.select(i);
    }
    EXPECT_TRUE(messages.empty());
}

// In the window.

using quarvell::testing::Act;
using quarvell::testing::ChooseType;

TEST(PiVInTheWindow, ATypedDenominatorIsCheckedWhenTheUserLeavesTheList) {
    replay::Session session;
    window::FrmFit& w = session.window;
    ChooseType(session, "10.1j");
    session.services.takeEvents();
    const double before = session.services.clock();

    Act(session, "type cmbPiV 0.45");
    EXPECT_TRUE(session.services.takeEvents().empty()) << "nothing happens while typing";
    Act(session, "focus cmbEnv");

    const auto events = session.services.takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, ServiceEvent::Kind::ShowMessage);
    EXPECT_EQ(events[0].title, "Resetting to default (0.8)");
    EXPECT_EQ(events[0].text, "WARNING: You must restrict entry between 0.5 and 1.0.\r\n");
    EXPECT_EQ(events[0].seconds, 7.0);
    EXPECT_EQ(events[1].kind, ServiceEvent::Kind::Beep);
    EXPECT_EQ(w.cmbPiV.text(), ".8");
    EXPECT_FALSE(w.frmMsg.form.visible());
    EXPECT_GE(session.services.clock() - before, 7.0);
    EXPECT_LT(session.services.clock() - before, 7.2);

    // Leaving the list again without typing says nothing.
    Act(session, "focus cmbPiV\nfocus cmbEnv");
    EXPECT_TRUE(session.services.takeEvents().empty());
}

TEST(PiVInTheWindow, AnAcceptedDenominatorStays) {
    replay::Session session;
    ChooseType(session, "10.1k");
    Act(session, "type cmbPiV 0.75\ntab");
    EXPECT_EQ(session.window.cmbPiV.text(), "0.75");
    EXPECT_TRUE(session.services.takeEvents().empty());
}

}  // namespace
}  // namespace quarvell::catalogue
