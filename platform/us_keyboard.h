#pragma once
// The US-English keyboard as the classic desktop platform describes it: which key (and which
// Shift, Control and Alt) types a character, each key's scan code, and the conversion of the
// 8-bit Western character set to the OEM code page 437. Shared by the keyboard ports: the Qt
// port, which has no keyboard layout of its own to ask, the scripted keyboard and the key
// sender's recording port.

#include <cstdint>

namespace quarvell::platform {

// Key code in the low byte, shift-state bits (0x100 Shift, 0x200 Control, 0x400 Alt) above it;
// -1 when no key types the character.
std::int16_t usKeyForCharacter(std::uint8_t character);

// Scan code of a key code (low byte only); 0 for keys without one.
std::uint16_t usScanCode(std::uint8_t keyCode);

// Windows-1252 to code page 437: exact where 437 has the character, otherwise a plain
// look-alike, otherwise "?".
std::uint8_t ansiToOem(std::uint8_t character);

}  // namespace quarvell::platform
