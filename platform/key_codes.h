#pragma once
// The classic desktop platform's virtual-key codes of the keys this program names, and the
// shift-state bits a keyboard layout puts above a key code's low byte when it answers which
// key types a character. Headless keys (platform/key_input.h), the key sender and every
// keyboard port speak in these.

namespace quarvell::platform {

inline constexpr int kVkBack = 8;
inline constexpr int kVkTab = 9;
inline constexpr int kVkReturn = 13;
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkAlt = 18;
inline constexpr int kVkPause = 19;
inline constexpr int kVkCapsLock = 20;
inline constexpr int kVkEscape = 27;
inline constexpr int kVkPageUp = 33;
inline constexpr int kVkPageDown = 34;
inline constexpr int kVkEnd = 35;
inline constexpr int kVkHome = 36;
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkPrint = 42;
inline constexpr int kVkPrintScreen = 44;
inline constexpr int kVkInsert = 45;
inline constexpr int kVkDelete = 46;
inline constexpr int kVkHelp = 47;
// The keypad's digit keys follow on in order, as do the function keys up to F16.
inline constexpr int kVkNumpad0 = 96;
inline constexpr int kVkF1 = 112;
inline constexpr int kVkF16 = 127;
inline constexpr int kVkNumLock = 144;
inline constexpr int kVkScrollLock = 145;

inline constexpr int kShiftBit = 0x100;
inline constexpr int kControlBit = 0x200;
inline constexpr int kAltBit = 0x400;

}  // namespace quarvell::platform
