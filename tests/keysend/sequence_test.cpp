#include <gtest/gtest.h>

#include <string>

#include "keysend/keysend.h"
#include "keysend/recording_port.h"
#include "tests/keysend/event_text.h"

namespace quarvell::keysend {
namespace {

using test_support::kOlderFlags;
using test_support::repeated;
using test_support::streamText;
using Locks = RecordingPort::Locks;
using Family = RecordingPort::Family;

constexpr Locks kLocksOff{};
constexpr Locks kNumLockOn{false, true, false};
constexpr Locks kCapsLockOn{true, false, false};
constexpr Locks kAllLocksOn{true, true, true};

struct StreamCase {
    const char* what;
    std::string sequence;
    std::string expected;
};

void expectStreams(const std::vector<StreamCase>& cases, Locks locks = kLocksOff) {
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPort port(Family::Newer, locks);
        SendKeySequence(port, c.sequence, 0);
        EXPECT_EQ(streamText(port.events()), c.expected) << "sequence: " << c.sequence;
        EXPECT_TRUE(port.keysDown().empty());
        EXPECT_EQ(port.locks(), locks);
    }
}

TEST(SendKeySequence, LockKeysAreSwitchedOffAroundTheSequenceAndRestored) {
    struct Case {
        const char* what;
        Locks locks;
        std::string expected;
    };
    const Case cases[] = {
        {"locks off", kLocksOff, "Tab:d Tab:u"},
        {"Num Lock on", kNumLockOn, "NumLock:d NumLock:u Tab:d Tab:u NumLock:d NumLock:u"},
        {"Caps Lock on", kCapsLockOn, "CapsLock:d CapsLock:u Tab:d Tab:u CapsLock:d CapsLock:u"},
        {"all three on", kAllLocksOn,
         "CapsLock:d CapsLock:u NumLock:d NumLock:u ScrollLock:d ScrollLock:u Tab:d Tab:u "
         "CapsLock:d CapsLock:u NumLock:d NumLock:u ScrollLock:d ScrollLock:u"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPort port(Family::Newer, c.locks);
        SendKeySequence(port, "{TAB}", 0);
        EXPECT_EQ(streamText(port.events()), c.expected);
        EXPECT_EQ(port.locks(), c.locks);
        EXPECT_EQ(port.eventPasses(), 0) << "options 0 must not wait";
    }
}

TEST(SendKeySequence, ModifiersAndGroups) {
    expectStreams({
        {"shift prefix", "+{TAB}", "Shift:d Tab:d Tab:u Shift:u"},
        {"group holds shift", "+(ab)", "Shift:d A:d A:u B:d B:u Shift:u"},
        {"prefix covers one key only", "+ab", "Shift:d A:d A:u Shift:u B:d B:u"},
        {"last pressed, first released", "^%x", "Ctrl:d Alt:d X:d X:u Alt:u Ctrl:u"},
        {"trailing modifier", "abc+", "A:d A:u B:d B:u C:d C:u Shift:d Shift:u"},
        {"capital needs shift", "A", "Shift:d A[S]:d Shift:u A[S]:u"},
        {"held shift and looked-up shift", "+A", "Shift:d Shift:d A[S]:d Shift:u A[S]:u Shift:u"},
        {"control character", "\x1E", "Shift:d Ctrl:d 6[CS]:d Shift:u Ctrl:u 6[CS]:u"},
        {"unclosed group released at the end", "%(ab", "Alt:d A:d A:u B:d B:u Alt:u"},
        {"stray closing parenthesis", "a)b", "A:d A:u B:d B:u"},
    });
}

TEST(SendKeySequence, BraceItems) {
    const std::string tab = "Tab:d Tab:u";
    expectStreams({
        {"repeat", "{TAB 3}", repeated(tab, 3)},
        {"names ignore case", "{tab}", tab},
        {"half rounds down to even", "{TAB 2.5}", repeated(tab, 2)},
        {"half rounds up to even", "{TAB 3.5}", repeated(tab, 4)},
        {"count 0 drops the rest", "{TAB 0}x", ""},
        {"negative count sends nothing", "{TAB -1}x", "X:d X:u"},
        {"missing closing brace stops", "ab{TAB", "A:d A:u B:d B:u"},
        {"two items", "{TAB}{ENTER}", "Tab:d Tab:u Enter:d Enter:u"},
        {"tilde is Enter", "~", "Enter:d Enter:u"},
        {"tilde in braces is the character", "{~}", "Shift:d `[S]:d Shift:u `[S]:u"},
        {"closing brace in braces", "{}}", "Shift:d ][S]:d Shift:u ][S]:u"},
        {"opening brace in braces", "{{}", "Shift:d [[S]:d Shift:u [[S]:u"},
        {"closing brace is the last before the next item", "{a}b}{TAB}",
         "A:d A:u Shift:d ][S]:d Shift:u ][S]:u B:d B:u Tab:d Tab:u"},
        {"empty item types nothing", "{}x", "X:d X:u"},
        {"other text is typed", "{abc 2}", "A:d A:u B:d B:u C:d C:u A:d A:u B:d B:u C:d C:u"},
        {"modifier words are not key names", "{SHIFT}",
         "Shift:d S[S]:d Shift:u S[S]:u Shift:d H[S]:d Shift:u H[S]:u "
         "Shift:d I[S]:d Shift:u I[S]:u Shift:d F[S]:d Shift:u F[S]:u "
         "Shift:d T[S]:d Shift:u T[S]:u"},
        {"print key", "{PRTSC}", "Print:d Print:u"},
        {"print screen key", "{PRTSCR}", "PrtScr:d PrtScr:u"},
        {"function and keypad keys", "{F12}{numpad7}", "F12:d F12:u Num7:d Num7:u"},
        {"shift over a repeated item", "+{LEFT 2}", "Shift:d Left:d Left:u Left:d Left:u Shift:u"},
        {"count text that is no number", "{a b}x", ""},
    });
}

TEST(SendKeySequence, CharactersWithoutAKeyAreSkipped) {
    expectStreams({{"NUL", std::string("a\0b", 3), "A:d A:u B:d B:u"}});
}

TEST(SendKeySequence, ExtendedCharacterGoesThroughAltAndTheKeypad) {
    // 0xE9 (e acute) is 130 in the OEM code page.
    const std::string altCode =
        "NumLock:d NumLock:u Alt:d Num1:d Num1:u Num3:d Num3:u Num0:d Num0:u Alt:u "
        "NumLock:d NumLock:u";
    expectStreams({{"locks off", "\xE9", altCode}});
    expectStreams(
        {{"Num Lock on", "\xE9", "NumLock:d NumLock:u " + altCode + " NumLock:d NumLock:u"}},
        kNumLockOn);
}

TEST(SendKeySequence, OptionsCanLeaveALockAsTheSequenceLeftIt) {
    struct Case {
        std::string sequence;
        std::int16_t options;
        std::string expected;
        Locks locksAfter;
        int eventPasses;
    };
    const std::string caps = "CapsLock:d CapsLock:u";
    const std::string num = "NumLock:d NumLock:u";
    const std::string scroll = "ScrollLock:d ScrollLock:u";
    const Case cases[] = {
        {"{CAPSLOCK}", 0, caps + " " + caps, kLocksOff, 0},
        {"{CAPSLOCK}", 2, caps, kCapsLockOn, 21},
        {"{CAPSLOCK}", -12, caps, kCapsLockOn, 21},
        {"{CAPSLOCK}", 34, caps + " " + caps, kLocksOff, 21},
        {"{NUMLOCK}", 3, num, kNumLockOn, 21},
        {"{NUMLOCK}", 2, num + " " + num, kLocksOff, 21},
        {"{SCROLLLOCK}", 4, scroll, {false, false, true}, 21},
        {"{CAPSLOCK 2}", 0, caps + " " + caps, kLocksOff, 0},
        {"{CAPSLOCK 3}", 234, repeated(caps, 3), kCapsLockOn, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sequence + " options " + std::to_string(c.options));
        RecordingPort port;
        SendKeySequence(port, c.sequence, c.options);
        EXPECT_EQ(streamText(port.events()), c.expected);
        EXPECT_EQ(port.locks(), c.locksAfter);
        EXPECT_EQ(port.eventPasses(), c.eventPasses);
    }
}

TEST(SendKeySequence, EachKeyPressOrReleaseIsOneBatch) {
    RecordingPort port;
    SendKeySequence(port, "+{TAB}A", 0);
    std::vector<std::string> batches;
    for (const auto& batch : port.batches()) {
        batches.push_back(streamText(batch));
    }
    EXPECT_EQ(batches, (std::vector<std::string>{"Shift:d", "Tab:d", "Tab:u", "Shift:u",
                                                 "Shift:d A[S]:d", "Shift:u A[S]:u"}));
}

TEST(SendKeySequence, OlderFamilySendsTheSameKeysWithItsOwnFlagsWithoutRecursing) {
    struct Case {
        std::string sequence;
        Locks locks;
        std::string expected;
        int keyboardStateWrites;
    };
    const Case cases[] = {
        {"{TAB}", kLocksOff, "Tab:d Tab:u", 0},
        {"+{TAB}", kLocksOff, "Shift:d Tab:d Tab:u Shift:u", 0},
        {"{TAB}", kCapsLockOn, "CapsLock:d CapsLock:u Tab:d Tab:u CapsLock:d CapsLock:u", 0},
        // Num Lock goes through the keyboard-state table, not through key events.
        {"{TAB}", kNumLockOn, "Tab:d Tab:u", 2},
        {"\xE9", kLocksOff, "Alt:d Num1:d Num1:u Num3:d Num3:u Num0:d Num0:u Alt:u", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sequence);
        RecordingPort port(Family::Older, c.locks);
        KeySender sender(port);
        port.clear();
        sender.SendKeySequence(c.sequence, 0);
        EXPECT_EQ(streamText(port.events(), kOlderFlags), c.expected);
        EXPECT_EQ(port.keyboardStateWrites(), c.keyboardStateWrites);
        EXPECT_EQ(port.locks(), c.locks);
        EXPECT_TRUE(port.keysDown().empty());
    }

    RecordingPort port(Family::Older, kLocksOff);
    KeySender sender(port);
    port.clear();
    sender.SendKeySequence("{TAB}", 0);
    EXPECT_EQ(port.versionQueries(), 1) << "the family is asked once, not once per re-entry";
}

TEST(SendKeySequence, FlagsAreSetAfreshOnEveryCall) {
    struct SwitchingPort : RecordingPort {
        Family current = Family::Older;
        bool getVersion(platform::VersionRecordBytes& record) override {
            const bool ok = RecordingPort::getVersion(record);
            record[16] = current == Family::Older ? 1 : 2;
            return ok;
        }
    } port;
    KeySender sender(port);
    sender.SendKeySequence("{TAB}", 0);
    port.current = Family::Newer;
    sender.SendKeySequence("{TAB}", 0);
    EXPECT_EQ(streamText(port.events()), "Tab:flags0 Tab:flags2 Tab:d Tab:u");
}

}  // namespace
}  // namespace quarvell::keysend
