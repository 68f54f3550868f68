#include "keysend/keysend.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/key_codes.h"

namespace quarvell::keysend {
namespace {

using platform::KeyEvent;

constexpr std::uint8_t kOlderFamilyPlatformId = 1;
constexpr std::size_t kPlatformIdByte = 16;

struct NamedKey {
    std::string_view name;
    std::uint16_t code;
};

constexpr NamedKey kKeyNames[] = {
    {"BACKSPACE", platform::kVkBack},
    {"BS", platform::kVkBack},
    {"BKSP", platform::kVkBack},
    {"BREAK", platform::kVkPause},
    {"CAPSLOCK", platform::kVkCapsLock},
    {"DELETE", platform::kVkDelete},
    {"DEL", platform::kVkDelete},
    {"DOWN", platform::kVkDown},
    {"END", platform::kVkEnd},
    {"ENTER", platform::kVkReturn},
    {"ESC", platform::kVkEscape},
    {"HELP", platform::kVkHelp},
    {"HOME", platform::kVkHome},
    {"INS", platform::kVkInsert},
    {"INSERT", platform::kVkInsert},
    {"LEFT", platform::kVkLeft},
    {"NUMLOCK", platform::kVkNumLock},
    {"PGDN", platform::kVkPageDown},
    {"PGUP", platform::kVkPageUp},
    {"PRTSC", platform::kVkPrint},
    {"RIGHT", platform::kVkRight},
    {"SCROLLLOCK", platform::kVkScrollLock},
    {"TAB", platform::kVkTab},
    {"UP", platform::kVkUp},
    {"PRTSCR", platform::kVkPrintScreen},
};

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// "F1".."F16" and "NUMPAD0".."NUMPAD9"; no leading zeros, nothing after the number.
std::uint16_t numberedKeyCode(std::string_view upper) {
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' && upper[1] != '0') {
        int n = 0;
        auto [end, ec] = std::from_chars(upper.data() + 1, upper.data() + upper.size(), n);
        if (ec == std::errc{} && end == upper.data() + upper.size() && n >= 1 && n <= 16) {
            return static_cast<std::uint16_t>(platform::kVkF1 + n - 1);
        }
    }
    constexpr std::string_view numpad = "NUMPAD";
    if (upper.size() == numpad.size() + 1 && upper.starts_with(numpad)) {
        const char digit = upper.back();
        if (digit >= '0' && digit <= '9') {
            return static_cast<std::uint16_t>(platform::kVkNumpad0 + (digit - '0'));
        }
    }
    return 0;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigitIn(char c, int base) {
    if (c >= '0' && c <= '9') {
        return c - '0' < base;
    }
    const char lower = static_cast<char>(c | 0x20);
    return base == 16 && lower >= 'a' && lower <= 'f';
}

// Reads a number the lenient way repeat counts are written: blanks, tabs and line feeds are
// ignored wherever they stand, "&H"/"&O" introduce hexadecimal/octal digits, otherwise an
// optional sign, digits, a decimal point and an exponent; reading stops at the first character
// that does not fit, and no digits at all read as 0.
double readLenientNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c)) {
            s.push_back(c);
        }
    }
    std::size_t i = 0;
    if (s.size() >= 2 && s[0] == '&') {
        const char radix = static_cast<char>(s[1] | 0x20);
        const int base = radix == 'h' ? 16 : radix == 'o' ? 8 : 0;
        if (base == 0) {
            return 0;
        }
        // Doubles, so that any number of digits reads without overflow.
        double value = 0;
        for (i = 2; i < s.size() && isDigitIn(s[i], base); ++i) {
            const char lower = static_cast<char>(s[i] | 0x20);
            value = value * base + (s[i] <= '9' ? s[i] - '0' : lower - 'a' + 10);
        }
        return value;
    }

    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') {
            number.push_back('-');
        }
        ++i;
    }
    bool anyDigit = false;
    for (; i < s.size() && isDigitIn(s[i], 10); ++i) {
        number.push_back(s[i]);
        anyDigit = true;
    }
    if (i < s.size() && s[i] == '.') {
        number.push_back('.');
        for (++i; i < s.size() && isDigitIn(s[i], 10); ++i) {
            number.push_back(s[i]);
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0;
    }
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negativeExponent = s[j] == '-';
            exponent.push_back(s[j]);
            ++j;
        }
        const std::size_t digitsStart = j;
        for (; j < s.size() && isDigitIn(s[j], 10); ++j) {
            exponent.push_back(s[j]);
        }
        if (j > digitsStart) {
            number += exponent;
        }
    }
    double value = 0;
    const auto read = std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        // Beyond a double: vanishingly small with a negative exponent, otherwise huge.
        const double magnitude = negativeExponent ? 0.0 : HUGE_VAL;
        value = number[0] == '-' ? -magnitude : magnitude;
    }
    return value;
}

// Rounds half to even; anything above the cap counts as the cap, anything below zero as -1.
int repeatCount(std::string_view text) {
    const double rounded = std::nearbyint(readLenientNumber(text));
    if (rounded < 0) {
        return -1;
    }
    if (!(rounded < kMaxRepeatCount)) {
        return kMaxRepeatCount;
    }
    return static_cast<int>(rounded);
}

}  // namespace

std::uint16_t KeyNameToCode(std::string_view name) {
    const std::string upper = upperAscii(name);
    for (const NamedKey& key : kKeyNames) {
        if (key.name == upper) {
            return key.code;
        }
    }
    return numberedKeyCode(upper);
}

struct LockBook {
    bool onAtStart = false;
    bool believedOn = false;
};

struct KeySender::Sequence {
    std::string text;
    std::size_t next = 0;  // the remaining text starts here
    std::vector<std::string_view> heldModifiers;
    bool inGroup = false;
    LockBook capsLock;
    LockBook numLock;
    LockBook scrollLock;
};

KeySender::KeySender(platform::KeyboardPort& port) : port_(port) {
    useFamilyFlags();
}

void KeySender::useFamilyFlags() {
    if (GetPlatformFamily() == "9x") {
        keyDownFlags_ = 0;
        keyUpFlags_ = platform::kKeyEventKeyUp;
    } else {
        keyDownFlags_ = platform::kKeyEventScanCode;
        keyUpFlags_ = platform::kKeyEventScanCode | platform::kKeyEventKeyUp;
    }
}

// The older family runs the same steps with its own flags and toggles Num Lock through the
// keyboard-state table (see ToggleNumLock).
void KeySender::SendKeySequence(std::string_view text, std::int16_t options) {
    useFamilyFlags();

    Sequence sequence;
    if (port_.keyState(platform::kVkCapsLock) != 0) {
        sequence.capsLock.onAtStart = true;
        tapKey("CAPSLOCK");
    }
    if (port_.keyState(platform::kVkNumLock) != 0) {
        sequence.numLock.onAtStart = true;
        ToggleNumLock();
    }
    if (port_.keyState(platform::kVkScrollLock) != 0) {
        sequence.scrollLock.onAtStart = true;
        tapKey("SCROLLLOCK");
    }

    sequence.text = EscapeExtendedChars(text);
    bool stopped = false;
    while (!stopped && sequence.next < sequence.text.size()) {
        const char c = sequence.text[sequence.next++];
        switch (c) {
            case '+':
            case '^':
            case '%': {
                const std::string_view word = c == '+' ? "SHIFT" : c == '^' ? "CONTROL" : "ALT";
                sequence.heldModifiers.push_back(word);
                PressKey(word);
                continue;
            }
            case '(':
                sequence.inGroup = true;
                continue;
            case ')':
                sequence.inGroup = false;
                releaseHeld(sequence);
                continue;
            case '{':
                stopped = !sendBraceItem(sequence);
                break;
            case '~':
                tapKey("ENTER");
                break;
            default:
                tapKey(std::string_view(&c, 1));
                break;
        }
        if (!sequence.inGroup) {
            releaseHeld(sequence);
        }
    }
    releaseHeld(sequence);

    const std::string optionText = std::to_string(options);
    if (optionText.find('2') == std::string::npos &&
        sequence.capsLock.believedOn != sequence.capsLock.onAtStart) {
        tapKey("CAPSLOCK");
    }
    if (optionText.find('3') == std::string::npos &&
        sequence.numLock.believedOn != sequence.numLock.onAtStart) {
        ToggleNumLock();
    }
    if (optionText.find('4') == std::string::npos &&
        sequence.scrollLock.believedOn != sequence.scrollLock.onAtStart) {
        tapKey("SCROLLLOCK");
    }
    if (options != 0) {
        WaitMilliseconds(20);
    }
}

// Returns false when the rest of the sequence is to be dropped: no closing brace, or a repeat
// count of 0.
bool KeySender::sendBraceItem(Sequence& sequence) {
    const std::string& text = sequence.text;
    // The closing brace is the last "}" before a "{" that follows a "}", so that "{}}" names
    // "}" and "{{}" names "{".
    std::optional<std::size_t> closing;
    for (std::size_t i = sequence.next; i < text.size(); ++i) {
        if (text[i] == '}') {
            closing = i;
        } else if (text[i] == '{' && closing) {
            break;
        }
    }
    if (!closing) {
        return false;
    }
    std::string_view item(text.data() + sequence.next, *closing - sequence.next);
    sequence.next = *closing + 1;

    int count = 1;
    if (const std::size_t space = item.find(' '); space != std::string_view::npos) {
        count = repeatCount(item.substr(space + 1));
        item = item.substr(0, space);
    }
    if (count == 0) {
        return false;
    }

    if (KeyNameToCode(item) > 0) {
        const std::string upper = upperAscii(item);
        LockBook* lock = upper == "CAPSLOCK"     ? &sequence.capsLock
                         : upper == "NUMLOCK"    ? &sequence.numLock
                         : upper == "SCROLLLOCK" ? &sequence.scrollLock
                                                 : nullptr;
        for (int n = 0; n < count; ++n) {
            if (lock == &sequence.numLock) {
                ToggleNumLock();
            } else {
                tapKey(item);
            }
            if (lock != nullptr) {
                lock->believedOn = !lock->believedOn;
            }
        }
    } else {
        for (int n = 0; n < count; ++n) {
            for (std::size_t i = 0; i < item.size(); ++i) {
                tapKey(item.substr(i, 1));
            }
        }
    }
    return true;
}

void KeySender::releaseHeld(Sequence& sequence) {
    // Last pressed, first released.
    for (auto word = sequence.heldModifiers.rbegin(); word != sequence.heldModifiers.rend();
         ++word) {
        ReleaseKey(*word);
    }
    sequence.heldModifiers.clear();
}

void KeySender::tapKey(std::string_view key) {
    PressKey(key);
    ReleaseKey(key);
}

void KeySender::PressKey(std::string_view key) {
    sendKey(key, keyDownFlags_);
}

void KeySender::ReleaseKey(std::string_view key) {
    sendKey(key, keyUpFlags_);
}

// A release sends the modifiers before the key too: releasing "A" lets go of Shift, then A.
void KeySender::sendKey(std::string_view key, std::uint32_t flags) {
    const std::uintptr_t window = port_.foregroundWindow();
    const std::uint32_t thread = port_.windowThreadProcessId(window);
    const std::uintptr_t layout = port_.keyboardLayout(thread);

    std::vector<KeyEvent> batch;
    batch.reserve(4);
    const auto add = [&](std::uint16_t code) {
        KeyEvent event;
        event.virtualKey = code;
        event.scanCode = static_cast<std::uint16_t>(port_.mapVirtualKey(code & 0xFFu, 0, layout));
        event.flags = flags;
        batch.push_back(event);
    };

    if (key == "SHIFT") {
        add(platform::kVkShift);
    } else if (key == "CONTROL") {
        add(platform::kVkControl);
    } else if (key == "ALT") {
        add(platform::kVkAlt);
    } else {
        if (key.empty()) {
            return;
        }
        std::uint16_t code = KeyNameToCode(key);
        if (code == 0) {
            const std::int16_t scanned =
                port_.vkKeyScan(static_cast<std::uint8_t>(key.front()), layout);
            if (scanned < 0) {
                return;
            }
            code = static_cast<std::uint16_t>(scanned);
        }
        if ((code & platform::kShiftBit) != 0) {
            add(platform::kVkShift);
        }
        if ((code & platform::kControlBit) != 0) {
            add(platform::kVkControl);
        }
        if ((code & platform::kAltBit) != 0) {
            add(platform::kVkAlt);
        }
        add(code);
    }
    port_.sendInput(batch);
}

// Alt with the keypad digits of the OEM code types the character; Num Lock must be on for the
// keypad to give digits.
std::string KeySender::EscapeExtendedChars(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<std::uint8_t>(c);
        if (code < 128) {
            escaped.push_back(c);
            continue;
        }
        escaped += "{NUMLOCK}%(";
        for (const char digit : std::to_string(port_.charToOem(code))) {
            escaped += "{NUMPAD";
            escaped.push_back(digit);
            escaped += "}";
        }
        escaped += "){NUMLOCK}";
    }
    return escaped;
}

void KeySender::ToggleNumLock() {
    if (GetPlatformFamily() == "9x") {
        platform::KeyboardStateTable table{};
        port_.getKeyboardState(table);
        table[platform::kVkNumLock] = table[platform::kVkNumLock] != 0 ? 0 : 1;
        port_.setKeyboardState(table);
    } else {
        tapKey("NUMLOCK");
    }
}

std::string_view KeySender::GetPlatformFamily() {
    platform::VersionRecordBytes record{};
    record[0] = static_cast<std::uint8_t>(record.size());
    if (port_.getVersion(record) && record[kPlatformIdByte] == kOlderFamilyPlatformId) {
        return "9x";
    }
    return "NT";
}

// Elapsed time is taken modulo 2^32, so a wrap of the tick count neither ends the wait early
// nor makes it endless.
void KeySender::WaitMilliseconds(std::int16_t milliseconds) {
    const std::uint32_t start = port_.tickCount();
    port_.processEvents();
    if (milliseconds < 0) {
        return;
    }
    const auto limit = static_cast<std::uint32_t>(milliseconds);
    while (port_.tickCount() - start <= limit) {
        port_.processEvents();
    }
}

void SendKeySequence(platform::KeyboardPort& port, std::string_view text, std::int16_t options) {
    KeySender(port).SendKeySequence(text, options);
}

}  // namespace quarvell::keysend
