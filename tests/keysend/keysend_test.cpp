// Exact event streams of the key-sequence sender and its single-key operations, through the
// recording port; the streams of whole sequences are in streams.jsonl.

#include "keysend/keysend.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "keysend/recording_port.h"
#include "platform/us_keyboard.h"
#include "tests/support/cases.h"

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
    // Appended rather than joined with operator+, which GCC 12 at -O3 takes for an overlapping
    // copy (a false -Wrestrict).
    std::string name;
    if (key >= 96 && key <= 105) {
        name.append("Num").append(std::to_string(key - 96));
    } else if (key >= 112 && key <= 127) {
        name.append("F").append(std::to_string(key - 111));
    } else {
        name.append("vk").append(std::to_string(key));
    }
    return name;
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

// A sequence of the table: characters up to U+00FF stand for their byte.
std::string Bytes(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        bytes += c == 0xC2 || c == 0xC3 ? static_cast<char>(((c & 3) << 6) | (utf8[++i] & 0x3F))
                                        : static_cast<char>(c);
    }
    return bytes;
}

// Each sequence of streams.jsonl, sent with options 0: the exact stream, nothing left held,
// locks as found, and no waiting.
TEST(SendKeySequence, SendsTheStreamsOfTheTable) {
    const auto cases =
        quarvell::testing::ReadCases(QUARVELL_SOURCE_DIR "/tests/keysend/streams.jsonl");
    ASSERT_GT(cases.size(), 40U);
    for (const nlohmann::json& c : cases) {
        SCOPED_TRACE(c.dump());
        const std::string locks = c.size() > 3 ? c[3].get<std::string>() : "";
        const Locks found{locks.find('c') != std::string::npos,
                          locks.find('n') != std::string::npos,
                          locks.find('s') != std::string::npos};
        const bool older = c.size() > 4 && c[4] == "older";
        RecordingPort port(older ? Family::Older : Family::Newer, found);
        SendKeySequence(port, Bytes(c[0]), 0);
        EXPECT_EQ(StreamText(port.events(), older ? kOlderFlags : kNewerFlags), c[1]);
        EXPECT_TRUE(port.keysDown().empty());
        EXPECT_EQ(port.locks(), found);
        EXPECT_EQ(port.eventPasses(), 0);
    }
}

const std::string kTab = "Tab:d Tab:u";
const std::string kCaps = "CapsLock:d CapsLock:u";
const std::string kNum = "NumLock:d NumLock:u";
const std::string kScroll = "ScrollLock:d ScrollLock:u";

// The older family asks for the platform once, however often the sender re-enters itself.
TEST(SendKeySequence, OlderFamilyDoesNotRecurse) {
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
