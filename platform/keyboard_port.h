#pragma once
// The keyboard operations the key-sequence sender needs from its platform, with the classic
// desktop semantics (virtual-key codes, scan codes, event flags). The Qt binding delivers the
// events to the focused widget of our own window; the scripted platform delivers them to the
// headless window; a recording port collects them for tests.

#include <array>
#include <cstdint>
#include <vector>

namespace quarvell::platform {

// One synthetic keyboard event: the platform's keyboard input record.
struct KeyEvent {
    std::uint16_t virtualKey = 0;  // for a character, with its shift-state bits
    std::uint16_t scanCode = 0;
    std::uint32_t flags = 0;  // 8: the scan code identifies the key; 2: key up
    std::uint32_t time = 0;
    std::uintptr_t extraInfo = 0;
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

inline constexpr std::uint32_t kKeyEventScanCode = 8;
inline constexpr std::uint32_t kKeyEventKeyUp = 2;

using KeyboardStateTable = std::array<std::uint8_t, 256>;
// The version record, 148 bytes; byte 0 holds its size, byte 16 the low byte of the platform
// identifier (1: the older family).
using VersionRecordBytes = std::array<std::uint8_t, 148>;

class KeyboardPort {
  public:
    virtual ~KeyboardPort() = default;
    virtual std::uintptr_t foregroundWindow() = 0;
    virtual std::uint32_t windowThreadProcessId(std::uintptr_t window) = 0;
    virtual std::uintptr_t keyboardLayout(std::uint32_t thread) = 0;
    // Key code in the low byte, shift-state bits (0x100 Shift, 0x200 Control, 0x400 Alt)
    // above it; -1 when the layout has no key for the character.
    virtual std::int16_t vkKeyScan(std::uint8_t character, std::uintptr_t layout) = 0;
    // Map type 0: key code to scan code.
    virtual std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType,
                                        std::uintptr_t layout) = 0;
    // The events reach the focused window in this order, with no other input between them.
    virtual std::uint32_t sendInput(const std::vector<KeyEvent>& events) = 0;
    // Non-zero when the lock is on (or the key is held).
    virtual std::int16_t keyState(int virtualKey) = 0;
    virtual void getKeyboardState(KeyboardStateTable& table) = 0;
    virtual void setKeyboardState(const KeyboardStateTable& table) = 0;
    virtual bool getVersion(VersionRecordBytes& record) = 0;
    virtual std::uint8_t charToOem(std::uint8_t character) = 0;
    // Milliseconds since start-up, wrapping at 2^32.
    virtual std::uint32_t tickCount() = 0;
    virtual void processEvents() = 0;
};

}  // namespace quarvell::platform
