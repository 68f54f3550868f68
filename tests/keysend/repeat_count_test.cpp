#include <gtest/gtest.h>

#include <string>

#include "keysend/keysend.h"
#include "keysend/recording_port.h"

namespace quarvell::keysend {
namespace {

struct Outcome {
    int tabs = 0;
    bool restSent = false;
};

// "{TAB <count>}x": how many Tabs went out, and whether the x after the item did.
Outcome sendCount(const std::string& count) {
    RecordingPort port;
    SendKeySequence(port, "{TAB " + count + "}x", 0);
    Outcome outcome;
    for (const platform::KeyEvent& event : port.events()) {
        if ((event.flags & platform::kKeyEventKeyUp) != 0) {
            continue;
        }
        if (event.virtualKey == 9) {
            ++outcome.tabs;
        } else if (event.virtualKey == 'X') {
            outcome.restSent = true;
        }
    }
    return outcome;
}

TEST(RepeatCount, IsReadLenientlyAndRoundedHalfToEven) {
    struct Case {
        std::string count;
        int tabs;  // 0: the item and the rest of the sequence are dropped
    };
    const Case cases[] = {
        {"3", 3},
        {" 3", 3},
        {"1 2", 12},  // blanks anywhere are ignored
        {"\t2\n", 2},
        {"+3", 3},
        {"- 2", -1},  // negative: nothing for the item, the rest goes
                      // on
        {"-1", -1},
        {"-0.4", 0},
        {"-0.6", -1},
        {"0.5", 0},
        {"1.5", 2},
        {"2.5", 2},
        {"3.5", 4},
        {"2.4999", 2},
        {".9", 1},
        {"3.", 3},
        {"2e1", 20},
        {"2E+1", 20},
        {"25e-1", 2},
        {"35E-1", 4},
        {"1e", 1},  // an exponent without digits is not read
        {"1e+", 1},
        {"&H1F", 31},
        {"&hA", 10},
        {"& H 10", 16},
        {"&O17", 15},
        {"&o8", 0},  // no octal digit
        {"&H", 0},
        {"&", 0},
        {"&X3", 0},
        {"3x", 3},
        {"3 x 4", 3},
        {"x3", 0},
        {"", 0},
        {"--2", 0},
        {"+-2", 0},
        {"1,5", 1},  // the decimal separator is always the period
        {"3}", 3},   // the closing brace is the last one before the next "{"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("count \"" + c.count + "\"");
        const Outcome outcome = sendCount(c.count);
        EXPECT_EQ(outcome.tabs, std::max(c.tabs, 0));
        EXPECT_EQ(outcome.restSent, c.tabs != 0);
    }
}

TEST(RepeatCount, IsCappedForHugeValues) {
    const std::string cases[] = {
        "1000",
        "1001",
        "1000.5",
        "99999999",
        "1e9",
        "1e308",
        "1e999",
        "&HFFFFFFFFFFFFFFFFFFFF",
        std::string(400, '9'),
    };
    for (const std::string& count : cases) {
        SCOPED_TRACE(count.substr(0, 40));
        const Outcome outcome = sendCount(count);
        EXPECT_EQ(outcome.tabs, kMaxRepeatCount);
        EXPECT_TRUE(outcome.restSent);
    }
    // Far below zero and far below one are no exceptions.
    EXPECT_EQ(sendCount("-1e999").tabs, 0);
    EXPECT_TRUE(sendCount("-1e999").restSent);
    EXPECT_FALSE(sendCount("1e-999").restSent);
}

}  // namespace
}  // namespace quarvell::keysend
