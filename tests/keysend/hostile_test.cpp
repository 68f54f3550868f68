// Repeat counts, and malformed or hostile sequences: never a crash or a hang, never a
// modifier left down or a lock left changed.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "keysend/keysend.h"
#include "keysend/recording_port.h"

namespace quarvell::keysend {
namespace {

using Locks = RecordingPort::Locks;
using Family = RecordingPort::Family;

struct Outcome {
    int tabs = 0;
    bool restSent = false;
};

// "{TAB <count>}x": how many Tabs went out, and whether the x after the item did.
Outcome SendCount(const std::string& count) {
    RecordingPort port;
    SendKeySequence(port, "{TAB " + count + "}x", 0);
    Outcome outcome;
    for (const platform::KeyEvent& event : port.events()) {
        if ((event.flags & platform::kKeyEventKeyUp) == 0) {
            outcome.tabs += event.virtualKey == 9 ? 1 : 0;
            outcome.restSent = outcome.restSent || event.virtualKey == 'X';
        }
    }
    return outcome;
}

TEST(RepeatCount, IsReadLenientlyAndRoundedHalfToEven) {
    const struct {
        std::string count;
        int tabs;  // 0: the item and the rest of the sequence are dropped; -1: nothing for
                   // the item, but the rest goes on
    } cases[] = {
        {"3", 3},     {" 3", 3},   {"1 2", 12},  // blanks anywhere are ignored
        {"\t2\n", 2}, {"+3", 3},   {"- 2", -1},    {"-1", -1},   {"-0.4", 0},   {"-0.6", -1},
        {"0.5", 0},   {"1.5", 2},  {"2.5", 2},     {"3.5", 4},   {"2.4999", 2}, {".9", 1},
        {"3.", 3},    {"2e1", 20}, {"25e-1", 2},   {"35E-1", 4}, {"1e", 1},     {"1e+", 1},
        {"&H1F", 31}, {"&hA", 10}, {"& H 10", 16}, {"&O17", 15}, {"&o8", 0},    {"&H", 0},
        {"&X3", 0},   {"3x", 3},   {"3 x 4", 3},   {"x3", 0},    {"", 0},       {"--2", 0},
        {"1,5", 1},  // the decimal separator is always the period
        {"3}", 3},   // the closing brace is the last one before the next "{"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("count \"" + c.count + "\"");
        const Outcome outcome = SendCount(c.count);
        EXPECT_EQ(outcome.tabs, std::max(c.tabs, 0));
        EXPECT_EQ(outcome.restSent, c.tabs != 0);
    }
}

TEST(RepeatCount, IsCappedForHugeValues) {
    const std::string counts[] = {
        "1000", "1001", "1000.5", "99999999", "1e308", "1e999", "&HFFFFFFFFFFFFFFFFFFFF", "9e400",
    };
    for (const std::string& count : counts) {
        SCOPED_TRACE(count.substr(0, 40));
        const Outcome outcome = SendCount(count);
        EXPECT_EQ(outcome.tabs, kMaxRepeatCount);
        EXPECT_TRUE(outcome.restSent);
    }
    // Far below zero and far below one are no exceptions.
    EXPECT_TRUE(SendCount("-1e999").restSent);
    EXPECT_FALSE(SendCount("1e-999").restSent);
    // A repeated text is capped too.
    RecordingPort port;
    SendKeySequence(port, "{ab 1e308}", 0);
    EXPECT_EQ(port.batches().size(), 4u * kMaxRepeatCount);
}

// Sends the text on both families from lock states that switch each lock both ways:
// whatever the text, nothing may stay held and every lock must be back as it was.
void ExpectKeyboardLeftAsFound(const std::string& text) {
    for (const Family family : {Family::Newer, Family::Older}) {
        for (const Locks locks : {Locks{}, Locks{true, true, true}, Locks{false, true, false},
                                  Locks{true, false, true}}) {
            RecordingPort port(family, locks);
            SendKeySequence(port, text, 0);
            ASSERT_TRUE(port.keysDown().empty())
                << "key " << int{port.keysDown().begin()->first} << " left down";
            ASSERT_EQ(port.locks(), locks);
        }
    }
}

TEST(HostileSequences, LeaveNoKeyDownAndEveryLockAsFound) {
    std::vector<std::string> texts = {
        "{",
        "}",
        "{{{{",
        "}}}}",
        "{}{}{",
        "{{}}}",
        "+{",
        "^%+(",
        "(+a",
        "+(((a",
        ")))",
        "(((",
        "{TAB}}",
        "+^%",
        "%(^(+(a)",
        "{TAB 2",
        "{+}",
        "{(}",
        "{ }",
        "{ 5}",
        "{{TAB}",
        "}{TAB}{",
        "+{TAB 0}",
        "%({TAB 0}",
        "+~(",
        "{~ 3}~",
        "{} 3}",
        "{\xE9}",
        "+(\xE9{",
        "\xE9{TAB 0}\xE9",
        // Lock keys within the sequence.
        "{CAPSLOCK}{",
        "{NUMLOCK}+(",
        "{NUMLOCK 3}",
        "{SCROLLLOCK 7}x",
        "{capslock}{NumLock}",
        "+{CAPSLOCK 999}",
        "{NUMLOCK 1e9}",
        "(%{NUMLOCK}",
        "{CAPSLOCK -3}",
    };
    std::string all;
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        texts.insert(texts.end(), {one, "+(" + one + ")", "{" + one + " 2}"});
        all += one;
    }
    texts.insert(texts.end(), {all, std::string(all.rbegin(), all.rend())});
    // Random texts from pieces chosen to hit the parser's corners often.
    const std::string pieces[] = {"{",    "}",   "(",        ")",          "+",
                                  "^",    "%",   "~",        " ",          "a",
                                  "B",    "1",   "2.5",      "&H",         "e",
                                  "-",    "\t",  "TAB",      "tab",        "NUMLOCK",
                                  "F5",   "0",   "\xE9",     "\x80",       std::string(1, '\0'),
                                  "\n",   "}{",  "CAPSLOCK", "SCROLLLOCK", " 3}",
                                  " 0}",  "{~}", "{}}",      "{{}",        "1e3",
                                  "SHIFT"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 24);
    std::uniform_int_distribution<int> options(-5000, 5000);
    for (int n = 0; n < 300; ++n) {
        std::string text;
        for (int i = length(random); i > 0; --i) {
            text += pieces[pick(random)];
        }
        texts.push_back(text);
        // Whatever the options keep of the locks, no modifier stays down.
        RecordingPort port;
        SendKeySequence(port, text, static_cast<std::int16_t>(options(random)));
        ASSERT_TRUE(port.keysDown().empty()) << text;
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(::testing::PrintToString(text.substr(0, 60)));
        ExpectKeyboardLeftAsFound(text);
        if (HasFatalFailure()) {
            return;
        }
    }
    // Very long texts: no recursion that runs out of stack, no time that grows out of hand.
    constexpr std::size_t kLength = 30000;
    for (const std::string& text :
         {std::string(kLength, '+') + "a", std::string(kLength, '{') + "}",
          std::string(kLength, '('), "{}" + std::string(kLength, 'a'),
          std::string(kLength / 10, '\xE9')}) {
        RecordingPort port(Family::Newer, {true, true, true});
        SendKeySequence(port, text, 0);
        EXPECT_TRUE(port.keysDown().empty()) << text.substr(0, 8);
        EXPECT_EQ(port.locks(), (Locks{true, true, true})) << text.substr(0, 8);
    }
}

}  // namespace
}  // namespace quarvell::keysend
