#pragma once
// Key sending: turns a key-sequence text such as "{TAB}", "+{TAB}" or "^%x" into synthetic
// keyboard input for whatever has the keyboard focus. The text is parsed here into key presses
// and releases (named keys in braces with repeat counts, Shift/Control/Alt prefixes, groups in
// parentheses, "~" for Enter, characters above 127 through Alt and keypad codes); each press
// or release becomes one batch of keyboard events handed to a platform::KeyboardPort. Caps
// Lock, Num Lock and Scroll Lock are switched off while typing and restored afterwards.
//
// The recording port (recording_port.h), on the platform's US-English keyboard tables
// (platform/us_keyboard.h), stands in for a real platform.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/keyboard_port.h"

namespace quarvell::keysend {

// Virtual-key code of a key name ("TAB", "F5", "NUMPAD3", ...; any case), 0 for other text.
std::uint16_t KeyNameToCode(std::string_view name);

// A repeat count in braces larger than this is treated as this, so that a stray "{X 1e9}"
// cannot keep the keyboard busy for hours.
inline constexpr int kMaxRepeatCount = 1000;

class KeySender {
  public:
    explicit KeySender(platform::KeyboardPort& port);

    // Options: a "2", "3" or "4" in the decimal text leaves Caps Lock, Num Lock or Scroll Lock
    // as the sequence left it; any non-zero value waits 20 ms at the end.
    void SendKeySequence(std::string_view text, std::int16_t options);

    // One key: a key name, "SHIFT", "CONTROL" or "ALT", or a single character.
    void PressKey(std::string_view key);
    void ReleaseKey(std::string_view key);

    std::string EscapeExtendedChars(std::string_view text);
    void ToggleNumLock();
    // "9x" for the older platform family, "NT" otherwise.
    std::string_view GetPlatformFamily();
    void WaitMilliseconds(std::int16_t milliseconds);

  private:
    struct Sequence;

    void useFamilyFlags();
    void sendKey(std::string_view key, std::uint32_t flags);
    void tapKey(std::string_view key);
    void releaseHeld(Sequence& sequence);
    bool sendBraceItem(Sequence& sequence);

    platform::KeyboardPort& port_;
    std::uint32_t keyDownFlags_ = platform::kKeyEventScanCode;
    std::uint32_t keyUpFlags_ = platform::kKeyEventScanCode | platform::kKeyEventKeyUp;
};

// What the window calls: one sequence through a fresh sender.
void SendKeySequence(platform::KeyboardPort& port, std::string_view text, std::int16_t options);

}  // namespace quarvell::keysend
