#include <gtest/gtest.h>

#include <random>
#include <string>

#include "keysend/keysend.h"
#include "keysend/recording_port.h"

namespace quarvell::keysend {
namespace {

using Locks = RecordingPort::Locks;
using Family = RecordingPort::Family;

std::vector<Locks> allLockStates() {
    std::vector<Locks> states;
    for (int bits = 0; bits < 8; ++bits) {
        states.push_back({(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0});
    }
    return states;
}

// Sends the text from every lock state on both families: whatever the text, nothing may stay
// held and every lock must be back as it was.
void expectKeyboardLeftAsFound(const std::string& text) {
    for (const Family family : {Family::Newer, Family::Older}) {
        for (const Locks& locks : allLockStates()) {
            RecordingPort port(family, locks);
            SendKeySequence(port, text, 0);
            ASSERT_TRUE(port.keysDown().empty())
                << "key " << int{port.keysDown().begin()->first} << " left down";
            ASSERT_EQ(port.locks(), locks);
        }
    }
}

TEST(HostileSequences, UnbalancedBracesAndParentheses) {
    const std::string cases[] = {
        "{",      "}",        "{{{{",      "}}}}",        "{}{}{",    "{{}}}",
        "+{",     "^%+(",     "(+a",       "+(((a",       ")))",      "(((",
        "+^%",    "%(^(+(a)", "{TAB",      "{TAB 2",      "{+}",      "{(}",
        "{ }",    "{  }",     "{ 5}",      "{{TAB}",      "{TAB}}",   "}{TAB}{",
        "{TAB 0", "+{TAB 0}", "%({TAB 0}", "{CAPSLOCK}{", "{NUMLOCK", "{NUMLOCK}+(",
        "+~(",    "{~ 3}~",   "{} 3}",     "{\xE9}",      "+(\xE9{",  "\xE9{TAB 0}\xE9",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        expectKeyboardLeftAsFound(text);
    }
}

TEST(HostileSequences, LockKeysInsideTheSequence) {
    const std::string cases[] = {
        "{CAPSLOCK}",      "{NUMLOCK 3}",   "{SCROLLLOCK 7}x", "{capslock}{NumLock}",
        "+{CAPSLOCK 999}", "{NUMLOCK 1e9}", "(%{NUMLOCK}",     "{CAPSLOCK -3}",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        expectKeyboardLeftAsFound(text);
    }
}

TEST(HostileSequences, EveryByteValue) {
    std::string all;
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        SCOPED_TRACE("byte " + std::to_string(c));
        expectKeyboardLeftAsFound(one);
        expectKeyboardLeftAsFound("+(" + one + ")");
        expectKeyboardLeftAsFound("{" + one + " 2}");
        all += one;
    }
    expectKeyboardLeftAsFound(all);
    expectKeyboardLeftAsFound(std::string(all.rbegin(), all.rend()));
}

TEST(HostileSequences, VeryLongTexts) {
    constexpr std::size_t kLength = 100000;
    const std::string cases[] = {
        std::string(kLength, 'a'),        std::string(kLength, '+') + "a",
        std::string(kLength, '{'),        std::string(kLength, '{') + "}",
        std::string(kLength, '}'),        std::string(kLength, '('),
        "{}" + std::string(kLength, 'a'), std::string(kLength / 2, '\xE9'),
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 8) + "... (" + std::to_string(text.size()) + " bytes)");
        RecordingPort port(Family::Newer, {true, true, true});
        SendKeySequence(port, text, 0);
        EXPECT_TRUE(port.keysDown().empty());
        EXPECT_EQ(port.locks(), (Locks{true, true, true}));
    }
}

TEST(HostileSequences, HugeRepeatCountsAreCapped) {
    RecordingPort port;
    SendKeySequence(port, "{ab 1e308}{TAB 99999999}", 0);
    EXPECT_EQ(port.batches().size(), 2u * (2 * kMaxRepeatCount + kMaxRepeatCount));
    EXPECT_TRUE(port.keysDown().empty());
}

TEST(HostileSequences, RandomSequences) {
    // Pieces chosen so that random texts hit the parser's corners often.
    const std::string pieces[] = {
        "{",     "}",   "(",        ")",          "+",
        "^",     "%",   "~",        " ",          "a",
        "B",     "1",   "2.5",      "&H",         "e",
        "-",     "\t",  "TAB",      "tab",        "NUMLOCK",
        "F5",    "0",   "\xE9",     "\x80",       std::string(1, '\0'),
        "\n",    "}{",  "CAPSLOCK", "SCROLLLOCK", " 3}",
        " 0}",   "{~}", "{}}",      "{{}",        "1e3",
        "SHIFT",
    };
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 24);
    std::uniform_int_distribution<int> options(-5000, 5000);
    for (int n = 0; n < 300; ++n) {
        std::string text;
        for (int i = length(random); i > 0; --i) {
            text += pieces[pick(random)];
        }
        SCOPED_TRACE(text);
        expectKeyboardLeftAsFound(text);

        // Whatever the options keep of the locks, no modifier stays down.
        RecordingPort port;
        SendKeySequence(port, text, static_cast<std::int16_t>(options(random)));
        ASSERT_TRUE(port.keysDown().empty());
        if (HasFatalFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace quarvell::keysend
