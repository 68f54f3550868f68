// The rules of the rating entry that are data: the steps per volt of the application-voltage
// scroll bar and where a rating puts it.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/script.h"

namespace quarvell::window {
namespace {

using quarvell::testing::Act;

TEST(FractionalPart, IsWhatLiesAboveTheIntegerBelowOrOneMoreAtZeroAndBelow) {
    const struct {
        float x;
        float part;
    } cases[] = {{12.5f, 0.5f}, {0, 1}, {-0.5f, 1.5f}, {3, 0}, {-2, 1}, {3.15f, 3.15f - 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(FractionalPart(c.x), c.part) << c.x;
    }
}

TEST(RatedVoltage, SetsTheStepsAndRangeOfTheApplicationVoltage) {
    const struct {
        const char* rating;
        int steps;  // 0: refused, the bar keeps its start-up range
        int max;
        int value;
    } cases[] = {
        {"25", 2, 50, 25},          {"50", 1, 50, 25},        {"6.3", 1, 6, 3},
        {"0.3", 1, 0, 0},           {"2.5", 2, 5, 2},          // 2.5 steps rounds to the even 2
        {"1.6", 1, 2, 1},           {"1.5", 2, 3, 2},          // halves of 0.8 and 0.75
        {"32766", 1, 32766, 16383}, {"32767", 0, 32767, 0},    // in half volts 65534
        {"32768", 0, 32767, 0},     {"20000.5", 0, 32767, 0},  // 2 steps a volt would need 40001
        {"-10", 0, 32767, 0},
    };
    for (const auto& c : cases) {
        replay::Session session;
        const FrmFit& w = session.window;
        Act(session, std::string("type txtVolt ") + c.rating + "\ntab");
        EXPECT_EQ(w.state().in.VoltSteps, c.steps) << c.rating;
        EXPECT_EQ(w.hscApp.max(), c.max) << c.rating;
        EXPECT_EQ(w.hscApp.value(), c.value) << c.rating;
        EXPECT_EQ(w.hscApp.enabled(), c.steps != 0) << c.rating;
        EXPECT_EQ(w.txtVolt.text(), c.steps != 0 ? c.rating : "") << c.rating;
    }
}

}  // namespace
}  // namespace quarvell::window
