#pragma once
// The keyboard port of our own Qt window. Synthetic key events become QKeyEvents for the
// widget that has the focus when they are delivered, posted rather than sent, so that a Tab
// moves the focus exactly as the user's Tab does and only after the sender has returned.
// Characters are looked up on a US-English layout; the lock keys are reported off.

#include <memory>

#include "platform/keyboard_port.h"

namespace quarvell::platform::qt {

class QtKeyboardPort : public KeyboardPort {
  public:
    QtKeyboardPort();
    ~QtKeyboardPort() override;
    QtKeyboardPort(const QtKeyboardPort&) = delete;
    QtKeyboardPort& operator=(const QtKeyboardPort&) = delete;

    std::uintptr_t foregroundWindow() override;
    std::uint32_t windowThreadProcessId(std::uintptr_t window) override;
    std::uintptr_t keyboardLayout(std::uint32_t thread) override;
    std::int16_t vkKeyScan(std::uint8_t character, std::uintptr_t layout) override;
    std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType,
                                std::uintptr_t layout) override;
    std::uint32_t sendInput(const std::vector<KeyEvent>& events) override;
    std::int16_t keyState(int virtualKey) override;
    void getKeyboardState(KeyboardStateTable& table) override;
    void setKeyboardState(const KeyboardStateTable& table) override;
    bool getVersion(VersionRecordBytes& record) override;
    std::uint8_t charToOem(std::uint8_t character) override;
    std::uint32_t tickCount() override;
    void processEvents() override;

  private:
    class Relay;

    void post(const KeyEvent& event);

    std::unique_ptr<Relay> relay_;
    bool shiftDown_ = false;
    bool controlDown_ = false;
    bool altDown_ = false;
};

}  // namespace quarvell::platform::qt
