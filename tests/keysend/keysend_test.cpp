// Exact event streams of the key-sequence sender and its single-key operations, through the
// recording port.

#include "keysend/keysend.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "keysend/recording_port.h"
#include "platform/us_keyboard.h"

namespace quarvell::keysend {
namespace {

using platform::ansiToOem;
using platform::usKeyForCharacter;
using platform::usScanCode;

using Locks = RecordingPort::Locks;
using Family = RecordingPort::Family;

constexpr Locks kNumLockOn{false, true, false};
constexpr Locks kCapsLockOn{true, false, false};

// Event streams as short texts, so that expectations read like the keys a user would press:
// "Shift:d Tab:d Tab:u Shift:u". Shift-state bits of a character's code show in brackets
// ("A[S]" is the A key looked up for a capital). Anything an event should not carry (flags of
// the other family, a wrong scan code, a time or extra information) shows up in the text too.
struct FamilyFlags {
    std::uint32_t down;
    std::uint32_t up;
};
constexpr FamilyFlags kNewerFlags{8, 10};
constexpr FamilyFlags kOlderFlags{0, 2};

std::string KeyName(std::uint8_t key) {
    static const std::map<std::uint8_t, std::string> kLabels = {
        {9, "Tab"},          {13, "Enter"}, {16, "Shift"}, {17, "Ctrl"},   {18, "Alt"},
        {20, "CapsLock"},    {37, "Left"},  {42, "Print"}, {44, "PrtScr"}, {144, "NumLock"},
        {145, "ScrollLock"}, {0xC0, "`"},   {0xDB, "["},   {0xDD, "]"},
    };
    if (const auto label = kLabels.find(key); label != kLabels.end()) {
        return label->second;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= 96 && key <= 105) {
        return "Num" + std::to_string(key - 96);
    }
    return key >= 112 && key <= 127 ? "F" + std::to_string(key - 111) : "vk" + std::to_string(key);
}

std::string StreamText(const std::vector<platform::KeyEvent>& events,
                       FamilyFlags flags = kNewerFlags) {
    std::string text;
    for (const platform::KeyEvent& e : events) {
        const auto key = static_cast<std::uint8_t>(e.virtualKey & 0xFF);
        if (!text.empty()) {
            text += ' ';
        }
        text += KeyName(key);
        if ((e.virtualKey & 0xFF00) != 0) {
            text += std::string("[") + ((e.virtualKey & 0x200) != 0 ? "C" : "") +
                    ((e.virtualKey & 0x400) != 0 ? "A" : "") +
                    ((e.virtualKey & 0x100) != 0 ? "S" : "") + "]";
        }
        text += e.flags == flags.down ? ":d"
                : e.flags == flags.up ? ":u"
                                      : ":flags" + std::to_string(e.flags);
        if (e.scanCode != usScanCode(key)) {
            text += "!scan" + std::to_string(e.scanCode);
        }
        if (e.time != 0 || e.extraInfo != 0) {
            text += "!extra";
        }
    }
    return text;
}

// "Tab:d Tab:u" repeated.
std::string Repeated(const std::string& unit, int times) {
    std::string text = unit;
    for (int i = 1; i < times; ++i) {
        text += " " + unit;
    }
    return times > 0 ? text : "";
}

struct StreamCase {
    const char* what;
    std::string sequence;
    std::string expected;
    Locks locks = {};
    Family family = Family::Newer;
};

// Sends each sequence with options 0: the exact stream, nothing left held, locks as found,
// and no waiting.
void ExpectStreams(const std::vector<StreamCase>& cases) {
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPort port(c.family, c.locks);
        SendKeySequence(port, c.sequence, 0);
        EXPECT_EQ(StreamText(port.events(), c.family == Family::Older ? kOlderFlags : kNewerFlags),
                  c.expected)
            << "sequence: " << c.sequence;
        EXPECT_TRUE(port.keysDown().empty());
        EXPECT_EQ(port.locks(), c.locks);
        EXPECT_EQ(port.eventPasses(), 0);
    }
}

const std::string kTab = "Tab:d Tab:u";
const std::string kCaps = "CapsLock:d CapsLock:u";
const std::string kNum = "NumLock:d NumLock:u";
const std::string kScroll = "ScrollLock:d ScrollLock:u";
// 0xE9 (e acute) is 130 in the OEM code page.
const std::string kAltCode =
    kNum + " Alt:d Num1:d Num1:u Num3:d Num3:u Num0:d Num0:u Alt:u " + kNum;

TEST(SendKeySequence, LockKeysAreSwitchedOffAroundTheSequenceAndRestored) {
    ExpectStreams({
        {"locks off", "{TAB}", kTab},
        {"Num Lock on", "{TAB}", kNum + " " + kTab + " " + kNum, kNumLockOn},
        {"Caps Lock on", "{TAB}", kCaps + " " + kTab + " " + kCaps, kCapsLockOn},
        {"all three on",
         "{TAB}",
         kCaps + " " + kNum + " " + kScroll + " " + kTab + " " + kCaps + " " + kNum + " " + kScroll,
         {true, true, true}},
        {"extended character", "\xE9", kAltCode},
        {"extended character, Num Lock on", "\xE9", kNum + " " + kAltCode + " " + kNum, kNumLockOn},
    });
}

TEST(SendKeySequence, ModifiersAndGroups) {
    ExpectStreams({
        {"shift prefix", "+{TAB}", "Shift:d Tab:d Tab:u Shift:u"},
        {"group holds shift", "+(ab)", "Shift:d A:d A:u B:d B:u Shift:u"},
        {"group ends at its parenthesis", "+(a)+bc",
         "Shift:d A:d A:u Shift:u Shift:d B:d B:u Shift:u C:d C:u"},
        {"prefix covers one key only", "+ab", "Shift:d A:d A:u Shift:u B:d B:u"},
        {"last pressed, first released", "^%x", "Ctrl:d Alt:d X:d X:u Alt:u Ctrl:u"},
        {"trailing modifier", "abc+", "A:d A:u B:d B:u C:d C:u Shift:d Shift:u"},
        {"capital needs shift", "A", "Shift:d A[S]:d Shift:u A[S]:u"},
        {"held shift and looked-up shift", "+A", "Shift:d Shift:d A[S]:d Shift:u A[S]:u Shift:u"},
        {"control character", "\x1E", "Shift:d Ctrl:d 6[CS]:d Shift:u Ctrl:u 6[CS]:u"},
        {"unclosed group released at the end", "%(ab", "Alt:d A:d A:u B:d B:u Alt:u"},
        {"stray closing parenthesis", "a)b", "A:d A:u B:d B:u"},
        {"character without a key", std::string("a\0b", 3), "A:d A:u B:d B:u"},
    });
}

TEST(SendKeySequence, BraceItems) {
    ExpectStreams({
        {"repeat", "{TAB 3}", Repeated(kTab, 3)},
        {"names ignore case", "{tab}", kTab},
        {"half rounds down to even", "{TAB 2.5}", Repeated(kTab, 2)},
        {"half rounds up to even", "{TAB 3.5}", Repeated(kTab, 4)},
        {"count 0 drops the rest", "{TAB 0}x", ""},
        {"negative count sends nothing", "{TAB -1}x", "X:d X:u"},
        {"missing closing brace stops", "ab{TAB", "A:d A:u B:d B:u"},
        {"tilde is Enter", "~", "Enter:d Enter:u"},
        {"tilde in braces is the character", "{~}", "Shift:d `[S]:d Shift:u `[S]:u"},
        {"closing brace in braces", "{}}", "Shift:d ][S]:d Shift:u ][S]:u"},
        {"opening brace in braces", "{{}", "Shift:d [[S]:d Shift:u [[S]:u"},
        {"closing brace is the last before the next item", "{a}b}{TAB}",
         "A:d A:u Shift:d ][S]:d Shift:u ][S]:u B:d B:u " + kTab},
        {"empty item types nothing", "{}x", "X:d X:u"},
        {"other text is typed", "{ab 2}", "A:d A:u B:d B:u A:d A:u B:d B:u"},
        {"modifier words are not key names", "{ALT}",
         "Shift:d A[S]:d Shift:u A[S]:u Shift:d L[S]:d Shift:u L[S]:u "
         "Shift:d T[S]:d Shift:u T[S]:u"},
        {"print key", "{PRTSC}", "Print:d Print:u"},
        {"print screen key", "{PRTSCR}", "PrtScr:d PrtScr:u"},
        {"function and keypad keys", "{F12}{numpad7}", "F12:d F12:u Num7:d Num7:u"},
        {"shift over a repeated item", "+{LEFT 2}", "Shift:d Left:d Left:u Left:d Left:u Shift:u"},
        {"count text that is no number", "{a b}x", ""},
    });
}

TEST(SendKeySequence, OptionsCanLeaveALockAsTheSequenceLeftIt) {
    const struct {
        std::string sequence;
        std::int16_t options;
        std::string expected;
        Locks locksAfter;
    } cases[] = {
        {"{CAPSLOCK}", 0, kCaps + " " + kCaps, {}},
        {"{CAPSLOCK}", 2, kCaps, kCapsLockOn},
        {"{CAPSLOCK}", -12, kCaps, kCapsLockOn},
        {"{CAPSLOCK}", 34, kCaps + " " + kCaps, {}},
        {"{NUMLOCK}", 3, kNum, kNumLockOn},
        {"{NUMLOCK}", 2, kNum + " " + kNum, {}},
        {"{SCROLLLOCK}", 4, kScroll, {false, false, true}},
        {"{CAPSLOCK 2}", 0, kCaps + " " + kCaps, {}},
        {"{CAPSLOCK 3}", 234, Repeated(kCaps, 3), kCapsLockOn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sequence + " options " + std::to_string(c.options));
        RecordingPort port;
        SendKeySequence(port, c.sequence, c.options);
        EXPECT_EQ(StreamText(port.events()), c.expected);
        EXPECT_EQ(port.locks(), c.locksAfter);
        EXPECT_EQ(port.eventPasses(), c.options == 0 ? 0 : 21);  // non-zero options wait 20 ms
    }
}

TEST(SendKeySequence, EachKeyPressOrReleaseIsOneBatch) {
    RecordingPort port;
    SendKeySequence(port, "+{TAB}A", 0);
    std::vector<std::string> batches;
    for (const auto& batch : port.batches()) {
        batches.push_back(StreamText(batch));
    }
    EXPECT_EQ(batches, (std::vector<std::string>{"Shift:d", "Tab:d", "Tab:u", "Shift:u",
                                                 "Shift:d A[S]:d", "Shift:u A[S]:u"}));
}

TEST(SendKeySequence, OlderFamilySendsTheSameKeysWithItsOwnFlagsWithoutRecursing) {
    constexpr Family kOlder = Family::Older;
    ExpectStreams({
        {"shift prefix", "+{TAB}", "Shift:d Tab:d Tab:u Shift:u", {}, kOlder},
        {"Caps Lock on", "{TAB}", kCaps + " " + kTab + " " + kCaps, kCapsLockOn, kOlder},
        // Num Lock goes through the keyboard-state table, not through key events.
        {"Num Lock on", "{TAB}", kTab, kNumLockOn, kOlder},
        {"extended character",
         "\xE9",
         "Alt:d Num1:d Num1:u Num3:d Num3:u Num0:d Num0:u Alt:u",
         {},
         kOlder},
    });
    for (const Locks locks : {Locks{}, kNumLockOn}) {
        RecordingPort port(Family::Older, locks);
        KeySender sender(port);
        port.clear();
        sender.SendKeySequence("{TAB}", 0);
        if (locks.numLock) {
            EXPECT_EQ(port.keyboardStateWrites(), 2);  // off, and on again
        } else {
            EXPECT_EQ(port.versionQueries(), 1) << "asked once, not once per re-entry";
        }
    }
}

// Answers the version query with a platform identifier of the test's choice.
struct VersionPort : RecordingPort {
    std::uint8_t platformId = 1;
    bool answers = true;
    bool getVersion(platform::VersionRecordBytes& record) override {
        const bool sized = RecordingPort::getVersion(record);  // false unless record[0] is 148
        record[16] = platformId;
        return sized && answers;
    }
};

TEST(GetPlatformFamily, ReadsTheLowByteOfThePlatformIdAndFlagsFollowItOnEveryCall) {
    VersionPort port;
    KeySender sender(port);
    EXPECT_EQ(sender.GetPlatformFamily(), "9x");
    port.answers = false;
    EXPECT_EQ(sender.GetPlatformFamily(), "NT");
    port.answers = true;
    for (const int other : {0, 2, 3}) {
        port.platformId = static_cast<std::uint8_t>(other);
        EXPECT_EQ(sender.GetPlatformFamily(), "NT") << other;
    }

    VersionPort switching;
    KeySender switchingSender(switching);
    switchingSender.SendKeySequence("{TAB}", 0);
    switching.platformId = 2;
    switchingSender.SendKeySequence("{TAB}", 0);
    EXPECT_EQ(StreamText(switching.events()), "Tab:flags0 Tab:flags2 Tab:d Tab:u");
}

TEST(KeyNameToCode, NamesAndTheirCodes) {
    const std::pair<const char*, int> names[] = {
        {"BS", 8},    {"BKSP", 8},  {"Pgup", 33},    {"INSERT", 45},
        {"f10", 121}, {"F16", 127}, {"NUMPAD0", 96}, {"numpad9", 105},
    };
    for (const auto& [name, code] : names) {
        EXPECT_EQ(KeyNameToCode(name), code) << name;
    }
    for (const char* text : {"", "SHIFT", "CONTROL", "ALT", "F0", "F17", "F01", "F1x", "F",
                             "NUMPAD", "NUMPAD10", " TAB", "TAB ", "TABS", "~", "\xE9"}) {
        EXPECT_EQ(KeyNameToCode(text), 0) << '"' << text << '"';
    }
}

TEST(UsKeyboard, EveryTypableCharacterHasItsOwnKeyAndAScanCode) {
    std::set<std::int16_t> seen;
    for (int c = 0; c < 256; ++c) {
        const std::int16_t key = usKeyForCharacter(static_cast<std::uint8_t>(c));
        if (key >= 0) {
            EXPECT_TRUE(seen.insert(key).second) << "two characters on key " << key;
            EXPECT_NE(usScanCode(static_cast<std::uint8_t>(key & 0xFF)), 0) << "character " << c;
        }
    }
    EXPECT_EQ(seen.size(), 127u);  // NUL has no key
    // Exact where code page 437 has the character, else a look-alike, else "?".
    const std::pair<std::uint8_t, std::uint8_t> oem[] = {
        {'a', 'a'}, {0xE9, 130}, {0xC7, 0x80}, {0xA0, 0xFF}, {0xC0, 'A'}, {0x80, '?'},
    };
    for (const auto& [ansi, code] : oem) {
        EXPECT_EQ(ansiToOem(ansi), code) << "character " << int{ansi};
    }
}

TEST(PressAndReleaseKey, BatchesPutModifiersFirstForPressAndRelease) {
    const struct {
        std::string key;
        std::string press;
        std::string release;
    } cases[] = {
        {"SHIFT", "Shift:d", "Shift:u"},
        {"CONTROL", "Ctrl:d", "Ctrl:u"},
        {"ALT", "Alt:d", "Alt:u"},
        {"Shift", "Shift:d S[S]:d", "Shift:u S[S]:u"},  // only the exact words are modifiers
        {"\x1E", "Shift:d Ctrl:d 6[CS]:d", "Shift:u Ctrl:u 6[CS]:u"},
        {"ab", "A:d", "A:u"},  // a single character is its first
        {"", "", ""},
        {std::string(1, '\0'), "", ""},
        {"\xE9", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        RecordingPort port;
        KeySender sender(port);
        sender.PressKey(c.key);
        sender.ReleaseKey(c.key);
        std::vector<std::string> expected;
        if (!c.press.empty()) {
            expected = {c.press, c.release};
        }
        std::vector<std::string> batches;
        for (const auto& batch : port.batches()) {
            batches.push_back(StreamText(batch));
        }
        EXPECT_EQ(batches, expected);
    }
    // The older family's flags hold from construction, before any sequence.
    RecordingPort older(Family::Older, {});
    KeySender sender(older);
    sender.PressKey("TAB");
    sender.ReleaseKey("TAB");
    EXPECT_EQ(StreamText(older.events(), kOlderFlags), kTab);
}

TEST(EscapeExtendedChars, ReplacesEveryCharacterAbove127ByAnAltCodeGroup) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc{}()+^%~\x7F", "abc{}()+^%~\x7F"},
        {"{\xA0}", "{{NUMLOCK}%({NUMPAD2}{NUMPAD5}{NUMPAD5}){NUMLOCK}}"},
        {"\x80x", "{NUMLOCK}%({NUMPAD6}{NUMPAD3}){NUMLOCK}x"},
        {"\x95", "{NUMLOCK}%({NUMPAD7}){NUMLOCK}"},
    };
    RecordingPort port;
    KeySender sender(port);
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(sender.EscapeExtendedChars(text), escaped);
    }
}

TEST(ToggleNumLock, NewerFamilyPressesTheKeyOlderFamilyWritesTheStateTable) {
    RecordingPort newer;
    KeySender(newer).ToggleNumLock();
    EXPECT_EQ(StreamText(newer.events()), kNum);
    EXPECT_TRUE(newer.locks().numLock);

    RecordingPort older(Family::Older, {true, true, false});
    KeySender olderSender(older);
    olderSender.ToggleNumLock();
    EXPECT_TRUE(older.events().empty());
    EXPECT_EQ(older.locks(), kCapsLockOn);
    olderSender.ToggleNumLock();
    EXPECT_EQ(older.locks(), (Locks{true, true, false}));
}

TEST(WaitMilliseconds, ProcessesEventsUntilTheTimeHasPassedAcrossAWrap) {
    const struct {
        const char* what;
        std::uint32_t startTick;
        std::uint32_t step;
        std::int16_t milliseconds;
        int passes;
    } cases[] = {
        {"one tick a pass", 0, 1, 20, 21},
        {"wrapping during the wait", 0xFFFFFFF8u, 1, 20, 21},
        {"wrapping in big steps", 0xFFFFFFFEu, 7, 20, 3},
        {"zero still processes once", 0, 1, 0, 1},
        {"negative processes once", 0, 1, -5, 1},
        {"longest wait", 100, 1000, 32767, 33},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPort port;
        port.setTick(c.startTick);
        port.setTickStep(c.step);
        KeySender(port).WaitMilliseconds(c.milliseconds);
        EXPECT_EQ(port.eventPasses(), c.passes);
    }
}

}  // namespace
}  // namespace quarvell::keysend
