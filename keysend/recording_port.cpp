#include "keysend/recording_port.h"

#include "platform/key_codes.h"
#include "platform/us_keyboard.h"

namespace quarvell::keysend {
namespace {

using platform::ansiToOem;
using platform::kVkCapsLock;
using platform::kVkNumLock;
using platform::kVkScrollLock;
using platform::usKeyForCharacter;
using platform::usScanCode;

// Answered for a layout handle other than ours, so that a caller that loses the layout on the
// way shows up as missing events.
constexpr std::int16_t kNoKey = -1;

}  // namespace

std::vector<platform::KeyEvent> RecordingPort::events() const {
    std::vector<platform::KeyEvent> all;
    for (const auto& batch : batches_) {
        all.insert(all.end(), batch.begin(), batch.end());
    }
    return all;
}

std::map<std::uint8_t, int> RecordingPort::keysDown() const {
    std::map<std::uint8_t, int> down;
    for (const platform::KeyEvent& event : events()) {
        const auto key = static_cast<std::uint8_t>(event.virtualKey & 0xFF);
        down[key] += (event.flags & platform::kKeyEventKeyUp) != 0 ? -1 : 1;
        if (down[key] == 0) {
            down.erase(key);
        }
    }
    return down;
}

void RecordingPort::clear() {
    batches_.clear();
    versionQueries_ = 0;
    eventPasses_ = 0;
    keyboardStateWrites_ = 0;
}

std::uint32_t RecordingPort::windowThreadProcessId(std::uintptr_t window) {
    return window == kWindow ? kThread : 0;
}

std::uintptr_t RecordingPort::keyboardLayout(std::uint32_t thread) {
    return thread == kThread ? kLayout : 0;
}

std::int16_t RecordingPort::vkKeyScan(std::uint8_t character, std::uintptr_t layout) {
    return layout == kLayout ? usKeyForCharacter(character) : kNoKey;
}

std::uint32_t RecordingPort::mapVirtualKey(std::uint32_t code, std::uint32_t mapType,
                                           std::uintptr_t layout) {
    if (mapType != 0 || layout != kLayout || code > 0xFF) {
        return 0;
    }
    return usScanCode(static_cast<std::uint8_t>(code));
}

std::uint32_t RecordingPort::sendInput(const std::vector<platform::KeyEvent>& events) {
    batches_.push_back(events);
    for (const platform::KeyEvent& event : events) {
        if ((event.flags & platform::kKeyEventKeyUp) != 0) {
            continue;
        }
        switch (event.virtualKey & 0xFF) {
            case kVkCapsLock:
                locks_.capsLock = !locks_.capsLock;
                break;
            case kVkNumLock:
                locks_.numLock = !locks_.numLock;
                break;
            case kVkScrollLock:
                locks_.scrollLock = !locks_.scrollLock;
                break;
            default:
                break;
        }
    }
    return static_cast<std::uint32_t>(events.size());
}

std::int16_t RecordingPort::keyState(int virtualKey) {
    switch (virtualKey) {
        case kVkCapsLock:
            return locks_.capsLock ? 1 : 0;
        case kVkNumLock:
            return locks_.numLock ? 1 : 0;
        case kVkScrollLock:
            return locks_.scrollLock ? 1 : 0;
        default:
            return 0;
    }
}

void RecordingPort::getKeyboardState(platform::KeyboardStateTable& table) {
    table.fill(0);
    table[kVkCapsLock] = locks_.capsLock ? 1 : 0;
    table[kVkNumLock] = locks_.numLock ? 1 : 0;
    table[kVkScrollLock] = locks_.scrollLock ? 1 : 0;
}

void RecordingPort::setKeyboardState(const platform::KeyboardStateTable& table) {
    ++keyboardStateWrites_;
    locks_.capsLock = (table[kVkCapsLock] & 1) != 0;
    locks_.numLock = (table[kVkNumLock] & 1) != 0;
    locks_.scrollLock = (table[kVkScrollLock] & 1) != 0;
}

bool RecordingPort::getVersion(platform::VersionRecordBytes& record) {
    ++versionQueries_;
    if (record[0] != record.size()) {
        return false;
    }
    record[16] = family_ == Family::Older ? 1 : 2;
    return true;
}

std::uint8_t RecordingPort::charToOem(std::uint8_t character) {
    return ansiToOem(character);
}

void RecordingPort::processEvents() {
    ++eventPasses_;
    tick_ += tickStep_;
}

}  // namespace quarvell::keysend
