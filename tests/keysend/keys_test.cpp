#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "keysend/keysend.h"
#include "keysend/recording_port.h"
#include "keysend/us_keyboard.h"
#include "tests/keysend/event_text.h"

namespace quarvell::keysend {
namespace {

using test_support::kOlderFlags;
using test_support::streamText;
using Family = RecordingPort::Family;

TEST(KeyNameToCode, NamesAndTheirCodes) {
    const std::pair<const char*, int> names[] = {
        {"BACKSPACE", 8}, {"BS", 8},           {"BKSP", 8},  {"BREAK", 19}, {"CAPSLOCK", 20},
        {"DELETE", 46},   {"DEL", 46},         {"DOWN", 40}, {"END", 35},   {"ENTER", 13},
        {"ESC", 27},      {"HELP", 47},        {"HOME", 36}, {"INS", 45},   {"INSERT", 45},
        {"LEFT", 37},     {"NUMLOCK", 144},    {"PGDN", 34}, {"PGUP", 33},  {"PRTSC", 42},
        {"RIGHT", 39},    {"SCROLLLOCK", 145}, {"TAB", 9},   {"UP", 38},    {"PRTSCR", 44},
        {"F1", 112},      {"F9", 120},         {"F10", 121}, {"F16", 127},  {"NUMPAD0", 96},
        {"NUMPAD9", 105}, {"tab", 9},          {"Pgdn", 34}, {"f5", 116},   {"numpad4", 100}};
    for (const auto& [name, code] : names) {
        EXPECT_EQ(KeyNameToCode(name), code) << name;
    }
    const char* notNames[] = {"",     "SHIFT", "CONTROL", "ALT",    "F0",       "F17",
                              "F01",  "F1x",   "F",       "NUMPAD", "NUMPAD10", "NUMPADX",
                              " TAB", "TAB ",  "TABS",    "~",      "\xE9"};
    for (const char* text : notNames) {
        EXPECT_EQ(KeyNameToCode(text), 0) << '"' << text << '"';
    }
}

TEST(UsKeyboard, CharacterLookupsCarryTheirShiftState) {
    const std::pair<std::uint8_t, int> cases[] = {
        {'A', 0x141},  {'a', 0x41},  {'~', 0x1C0}, {'`', 0xC0},  {'+', 0x1BB},
        {'=', 0xBB},   {'{', 0x1DB}, {'}', 0x1DD}, {'1', 0x31},  {'!', 0x131},
        {')', 0x130},  {' ', 0x20},  {'\t', 0x09}, {'\r', 0x0D}, {'\n', 0x20D},
        {0x01, 0x241}, {0, -1},      {0xE9, -1},   {0x80, -1},   {0xFF, -1},
    };
    for (const auto& [character, key] : cases) {
        EXPECT_EQ(usKeyForCharacter(character), key) << "character " << int{character};
    }
}

TEST(UsKeyboard, EveryTypableCharacterHasItsOwnKeyAndAScanCode) {
    std::set<std::int16_t> seen;
    for (int c = 0; c < 256; ++c) {
        const std::int16_t key = usKeyForCharacter(static_cast<std::uint8_t>(c));
        if (key < 0) {
            continue;
        }
        EXPECT_TRUE(seen.insert(key).second) << "two characters on key " << key;
        EXPECT_NE(usScanCode(static_cast<std::uint8_t>(key & 0xFF)), 0) << "character " << c;
    }
    EXPECT_EQ(seen.size(), 127u);  // NUL has no key
}

TEST(UsKeyboard, OemConversion) {
    const std::pair<std::uint8_t, std::uint8_t> cases[] = {
        {'a', 'a'},   {0x7F, 0x7F}, {0xE9, 130}, {0xC7, 0x80}, {0xFC, 0x81},
        {0xA0, 0xFF}, {0xB0, 0xF8}, {0x80, '?'}, {0xC0, 'A'},  {0x81, '?'},
    };
    for (const auto& [ansi, oem] : cases) {
        EXPECT_EQ(ansiToOem(ansi), oem) << "character " << int{ansi};
    }
}

TEST(PressAndReleaseKey, BatchesPutModifiersFirstForPressAndRelease) {
    struct Case {
        std::string key;
        std::string press;
        std::string release;
    };
    const Case cases[] = {
        {"SHIFT", "Shift:d", "Shift:u"},
        {"CONTROL", "Ctrl:d", "Ctrl:u"},
        {"ALT", "Alt:d", "Alt:u"},
        {"Shift", "Shift:d S[S]:d", "Shift:u S[S]:u"},  // only the exact words are modifiers
        {"TAB", "Tab:d", "Tab:u"},
        {"a", "A:d", "A:u"},
        {"A", "Shift:d A[S]:d", "Shift:u A[S]:u"},
        {"\x1E", "Shift:d Ctrl:d 6[CS]:d", "Shift:u Ctrl:u 6[CS]:u"},
        {"ab", "A:d", "A:u"},  // a single character is its first
        {"", "", ""},
        {std::string(1, '\0'), "", ""},
        {"\xE9", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        RecordingPort port;
        KeySender sender(port);
        sender.PressKey(c.key);
        sender.ReleaseKey(c.key);
        const auto& batches = port.batches();
        if (c.press.empty()) {
            EXPECT_TRUE(batches.empty());
            continue;
        }
        ASSERT_EQ(batches.size(), 2u);
        EXPECT_EQ(streamText(batches[0]), c.press);
        EXPECT_EQ(streamText(batches[1]), c.release);
    }
}

TEST(PressAndReleaseKey, OlderFamilyFlagsBeforeAnySequence) {
    RecordingPort port(Family::Older, {});
    KeySender sender(port);
    sender.PressKey("TAB");
    sender.ReleaseKey("TAB");
    EXPECT_EQ(streamText(port.events(), kOlderFlags), "Tab:d Tab:u");
}

TEST(EscapeExtendedChars, ReplacesEveryCharacterAbove127ByAnAltCodeGroup) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc{}()+^%~\x7F", "abc{}()+^%~\x7F"},
        {"\xE9", "{NUMLOCK}%({NUMPAD1}{NUMPAD3}{NUMPAD0}){NUMLOCK}"},
        {"{\xA0}", "{{NUMLOCK}%({NUMPAD2}{NUMPAD5}{NUMPAD5}){NUMLOCK}}"},
        {"\x80x", "{NUMLOCK}%({NUMPAD6}{NUMPAD3}){NUMLOCK}x"},
        {"\x95", "{NUMLOCK}%({NUMPAD7}){NUMLOCK}"},
        {"", ""},
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
    EXPECT_EQ(streamText(newer.events()), "NumLock:d NumLock:u");
    EXPECT_TRUE(newer.locks().numLock);

    RecordingPort older(Family::Older, {true, true, false});
    KeySender olderSender(older);
    olderSender.ToggleNumLock();
    EXPECT_TRUE(older.events().empty());
    EXPECT_EQ(older.locks(), (RecordingPort::Locks{true, false, false}));
    olderSender.ToggleNumLock();
    EXPECT_EQ(older.locks(), (RecordingPort::Locks{true, true, false}));
}

TEST(GetPlatformFamily, ReadsTheLowByteOfThePlatformId) {
    struct FixedIdPort : RecordingPort {
        FixedIdPort(std::uint8_t platformId, bool succeeds)
            : platformId_(platformId), succeeds_(succeeds) {}
        bool getVersion(platform::VersionRecordBytes& record) override {
            sizeSeen = record[0];
            record[16] = platformId_;
            return succeeds_;
        }
        int sizeSeen = -1;

      private:
        std::uint8_t platformId_;
        bool succeeds_;
    };
    const std::tuple<std::uint8_t, bool, std::string_view> cases[] = {
        {1, true, "9x"}, {2, true, "NT"}, {0, true, "NT"}, {3, true, "NT"}, {1, false, "NT"},
    };
    for (const auto& [id, answer, family] : cases) {
        FixedIdPort port(id, answer);
        EXPECT_EQ(KeySender(port).GetPlatformFamily(), family) << int{id} << ' ' << answer;
        EXPECT_EQ(port.sizeSeen, 148);
    }
}

TEST(WaitMilliseconds, ProcessesEventsUntilTheTimeHasPassedAcrossAWrap) {
    struct Case {
        const char* what;
        std::uint32_t startTick;
        std::uint32_t step;
        std::int16_t milliseconds;
        int passes;
    };
    const Case cases[] = {
        {"one tick a pass", 0, 1, 20, 21},
        {"wrapping during the wait", 0xFFFFFFF8u, 1, 20, 21},
        {"wrapping in big steps", 0xFFFFFFFEu, 7, 20, 3},
        {"at the last tick", 0xFFFFFFFFu, 1, 20, 21},
        {"zero still processes once", 0, 1, 0, 1},
        {"negative processes once", 0, 1, -5, 1},
        {"longest wait", 100, 1000, 32767, 33},
    };
    for (const Case& c : cases) {
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
