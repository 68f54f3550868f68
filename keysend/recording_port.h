#pragma once
// A keyboard port that types into nothing: it keeps every event batch it is handed, answers
// character lookups and scan codes from the US-English tables, converts to the OEM code page,
// and plays the lock keys (a Caps Lock, Num Lock or Scroll Lock key-down switches the lock, as
// does writing the keyboard-state table). Its tick count moves on by a set step every time
// pending events are processed.

#include <cstdint>
#include <map>
#include <vector>

#include "platform/keyboard_port.h"

namespace quarvell::keysend {

class RecordingPort : public platform::KeyboardPort {
  public:
    enum class Family { Older, Newer };

    struct Locks {
        bool capsLock = false;
        bool numLock = false;
        bool scrollLock = false;
        friend bool operator==(const Locks&, const Locks&) = default;
    };

    RecordingPort() = default;
    RecordingPort(Family family, Locks locks) : family_(family), locks_(locks) {}

    const std::vector<std::vector<platform::KeyEvent>>& batches() const { return batches_; }
    std::vector<platform::KeyEvent> events() const;
    const Locks& locks() const { return locks_; }
    // Keys pressed more often than released (by key code, shift-state bits ignored).
    std::map<std::uint8_t, int> keysDown() const;
    int versionQueries() const { return versionQueries_; }
    int eventPasses() const { return eventPasses_; }
    int keyboardStateWrites() const { return keyboardStateWrites_; }

    void setTick(std::uint32_t tick) { tick_ = tick; }
    void setTickStep(std::uint32_t step) { tickStep_ = step; }
    void clear();

    std::uintptr_t foregroundWindow() override { return kWindow; }
    std::uint32_t windowThreadProcessId(std::uintptr_t window) override;
    std::uintptr_t keyboardLayout(std::uint32_t thread) override;
    std::int16_t vkKeyScan(std::uint8_t character, std::uintptr_t layout) override;
    std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType,
                                std::uintptr_t layout) override;
    std::uint32_t sendInput(const std::vector<platform::KeyEvent>& events) override;
    std::int16_t keyState(int virtualKey) override;
    void getKeyboardState(platform::KeyboardStateTable& table) override;
    void setKeyboardState(const platform::KeyboardStateTable& table) override;
    bool getVersion(platform::VersionRecordBytes& record) override;
    std::uint8_t charToOem(std::uint8_t character) override;
    std::uint32_t tickCount() override { return tick_; }
    void processEvents() override;

    // Handles that only have to be passed along faithfully.
    static constexpr std::uintptr_t kWindow = 0x1001;
    static constexpr std::uint32_t kThread = 0x2002;
    static constexpr std::uintptr_t kLayout = 0x04090409;  // US English

  private:
    Family family_ = Family::Newer;
    Locks locks_;
    std::vector<std::vector<platform::KeyEvent>> batches_;
    std::uint32_t tick_ = 0;
    std::uint32_t tickStep_ = 1;
    int versionQueries_ = 0;
    int eventPasses_ = 0;
    int keyboardStateWrites_ = 0;
};

}  // namespace quarvell::keysend
