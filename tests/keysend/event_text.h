#pragma once
// Event streams as short texts, so that expectations read like the keys a user would press:
// "Shift:d Tab:d Tab:u Shift:u". Shift-state bits of a character's code show in brackets
// ("A[S]" is the A key looked up for a capital). Anything an event should not carry (flags of
// the other family, a wrong scan code, a time or extra information) shows up in the text too.

#include <string>
#include <vector>

#include "keysend/us_keyboard.h"
#include "platform/keyboard_port.h"

namespace quarvell::keysend::test_support {

struct FamilyFlags {
    std::uint32_t down;
    std::uint32_t up;
};
inline constexpr FamilyFlags kNewerFlags{8, 10};
inline constexpr FamilyFlags kOlderFlags{0, 2};

struct KeyLabel {
    std::uint8_t key;
    const char* label;
};
inline constexpr KeyLabel kKeyLabels[] = {
    {8, "BS"},    {9, "Tab"},    {13, "Enter"},    {16, "Shift"},    {17, "Ctrl"},
    {18, "Alt"},  {19, "Break"}, {20, "CapsLock"}, {27, "Esc"},      {32, "Space"},
    {33, "PgUp"}, {34, "PgDn"},  {35, "End"},      {36, "Home"},     {37, "Left"},
    {38, "Up"},   {39, "Right"}, {40, "Down"},     {42, "Print"},    {44, "PrtScr"},
    {45, "Ins"},  {46, "Del"},   {47, "Help"},     {144, "NumLock"}, {145, "ScrollLock"},
    {0xBA, ";"},  {0xBB, "="},   {0xBC, ","},      {0xBD, "-"},      {0xBE, "."},
    {0xBF, "/"},  {0xC0, "`"},   {0xDB, "["},      {0xDC, "\\"},     {0xDD, "]"},
    {0xDE, "'"},
};

inline std::string keyName(std::uint8_t key) {
    for (const KeyLabel& label : kKeyLabels) {
        if (label.key == key) {
            return label.label;
        }
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= 96 && key <= 105) {
        return "Num" + std::to_string(key - 96);
    }
    if (key >= 112 && key <= 127) {
        return "F" + std::to_string(key - 111);
    }
    return "vk" + std::to_string(key);
}

inline std::string eventText(const platform::KeyEvent& event, FamilyFlags flags) {
    const auto key = static_cast<std::uint8_t>(event.virtualKey & 0xFF);
    std::string text = keyName(key);
    if ((event.virtualKey & 0xFF00) != 0) {
        text += '[';
        if ((event.virtualKey & 0x200) != 0) {
            text += 'C';
        }
        if ((event.virtualKey & 0x400) != 0) {
            text += 'A';
        }
        if ((event.virtualKey & 0x100) != 0) {
            text += 'S';
        }
        text += ']';
    }
    if (event.flags == flags.down) {
        text += ":d";
    } else if (event.flags == flags.up) {
        text += ":u";
    } else {
        text += ":flags" + std::to_string(event.flags);
    }
    if (event.scanCode != usScanCode(key)) {
        text += "!scan" + std::to_string(event.scanCode);
    }
    if (event.time != 0 || event.extraInfo != 0) {
        text += "!extra";
    }
    return text;
}

inline std::string streamText(const std::vector<platform::KeyEvent>& events,
                              FamilyFlags flags = kNewerFlags) {
    std::string text;
    for (const platform::KeyEvent& event : events) {
        if (!text.empty()) {
            text += ' ';
        }
        text += eventText(event, flags);
    }
    return text;
}

// "Tab:d Tab:u" repeated.
inline std::string repeated(const std::string& unit, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += (i == 0 ? "" : " ") + unit;
    }
    return text;
}

}  // namespace quarvell::keysend::test_support
