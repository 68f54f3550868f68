#include "platform/scripted_services.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "version.h"

namespace quarvell::platform {

void ScriptedPrinter::setUnitInches() {
    calls_.push_back("unit inches");
}

void ScriptedPrinter::setPrintPosition(double left, double top) {
    calls_.push_back("position " + std::to_string(left) + " " + std::to_string(top));
}

void ScriptedPrinter::printWindow() {
    calls_.push_back("print window");
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::Print;
    record_(std::move(e));
}

void ScriptedPrinter::endDocument() {
    calls_.push_back("end document");
}

void ScriptedPrinter::showPrintSetup() {
    calls_.push_back("print setup");
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::PrintSetup;
    record_(std::move(e));
}

void ScriptedRegistry::setValue(const std::string& key, const std::string& name, std::uint32_t type,
                                std::vector<unsigned char> bytes) {
    keys_.insert(key);
    values_[{key, name}] = Value{type, std::move(bytes)};
}

void ScriptedRegistry::setText(const std::string& key, const std::string& name,
                               const std::string& text, bool withZero) {
    std::vector<unsigned char> bytes(text.begin(), text.end());
    if (withZero) {
        bytes.push_back(0);
    }
    setValue(key, name, 1, std::move(bytes));
}

long ScriptedRegistry::openKey(std::uint32_t root, const std::string& keyPath, std::uint32_t,
                               std::uintptr_t& handle) {
    handle = 0;
    if (root != kRegLocalMachine || keys_.count(keyPath) == 0) {
        return kRegFileNotFound;
    }
    handle = nextHandle_++;
    open_[handle] = keyPath;
    return kRegSuccess;
}

long ScriptedRegistry::queryValue(std::uintptr_t handle, const std::string& valueName,
                                  std::uint32_t& type, std::vector<unsigned char>& buffer,
                                  std::uint32_t& size) {
    const auto key = open_.find(handle);
    if (key == open_.end()) {
        return kRegInvalidHandle;
    }
    const auto value = values_.find({key->second, valueName});
    if (value == values_.end()) {
        return kRegFileNotFound;
    }
    const auto length = static_cast<std::uint32_t>(value->second.bytes.size());
    type = value->second.type;
    if (length > size || length > buffer.size()) {
        size = length;
        return kRegMoreData;
    }
    std::copy(value->second.bytes.begin(), value->second.bytes.end(), buffer.begin());
    size = length;
    return kRegSuccess;
}

long ScriptedRegistry::closeKey(std::uintptr_t handle) {
    return open_.erase(handle) != 0 ? kRegSuccess : kRegInvalidHandle;
}

namespace {

// Set-1 scan codes of the keys a US keyboard layout maps.
std::uint32_t ScanCode(int vk) {
    static constexpr std::array<std::uint8_t, 26> kLetters = {
        0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
        0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    static constexpr std::array<std::uint8_t, 10> kKeypad = {0x52, 0x4F, 0x50, 0x51, 0x4B,
                                                             0x4C, 0x4D, 0x47, 0x48, 0x49};
    if (vk >= 'A' && vk <= 'Z') {
        return kLetters[static_cast<std::size_t>(vk - 'A')];
    }
    if (vk >= '1' && vk <= '9') {
        return static_cast<std::uint32_t>(vk - '1' + 2);
    }
    if (vk >= 96 && vk <= 105) {
        return kKeypad[static_cast<std::size_t>(vk - 96)];
    }
    if (vk >= kVkF1 && vk < kVkF1 + 10) {
        return static_cast<std::uint32_t>(vk - kVkF1 + 0x3B);
    }
    switch (vk) {
        case '0':
            return 0x0B;
        case kVkEscape:
            return 0x01;
        case kVkBack:
            return 0x0E;
        case kVkTab:
            return 0x0F;
        case kVkReturn:
            return 0x1C;
        case kVkControl:
            return 0x1D;
        case kVkShift:
            return 0x2A;
        case kVkAlt:
            return 0x38;
        case ' ':
            return 0x39;
        case kVkCapsLock:
            return 0x3A;
        case kVkNumLock:
            return 0x45;
        case kVkScrollLock:
            return 0x46;
        default:
            return 0;
    }
}

// The US layout's key for a character: key code in the low byte, 0x100 for Shift.
int KeyOf(int ch) {
    if (ch >= 'a' && ch <= 'z') {
        return ch - 'a' + 'A';
    }
    if (ch >= 'A' && ch <= 'Z') {
        return 0x100 | ch;
    }
    if (ch >= '0' && ch <= '9') {
        return ch;
    }
    static constexpr const char* kShiftedDigits = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d) {
        if (kShiftedDigits[d] == ch) {
            return 0x100 | ('0' + d);
        }
    }
    struct Punct {
        char plain;
        char shifted;
        int vk;
    };
    static constexpr std::array<Punct, 11> kPunct = {{{';', ':', 0xBA},
                                                      {'=', '+', 0xBB},
                                                      {',', '<', 0xBC},
                                                      {'-', '_', 0xBD},
                                                      {'.', '>', 0xBE},
                                                      {'/', '?', 0xBF},
                                                      {'`', '~', 0xC0},
                                                      {'[', '{', 0xDB},
                                                      {'\\', '|', 0xDC},
                                                      {']', '}', 0xDD},
                                                      {'\'', '"', 0xDE}}};
    for (const Punct& p : kPunct) {
        if (p.plain == ch) {
            return p.vk;
        }
        if (p.shifted == ch) {
            return 0x100 | p.vk;
        }
    }
    switch (ch) {
        case ' ':
            return ' ';
        case '\r':
            return kVkReturn;
        case '\n':
            return 0x200 | kVkReturn;
        case '\t':
            return kVkTab;
        case '\b':
            return kVkBack;
        case 27:
            return kVkEscape;
        default:
            return -1;
    }
}

// The character a key types, or nothing.
std::optional<int> CharacterOf(int vk, bool shift) {
    if (vk >= 96 && vk <= 105) {
        return '0' + (vk - 96);
    }
    if (vk == kVkTab) {
        return std::nullopt;  // Tab moves the focus and types nothing
    }
    for (int ch = 1; ch < 128; ++ch) {
        const int key = KeyOf(ch);
        if (key >= 0 && (key & 0xFF) == vk && (key & 0x200) == 0 && ((key & 0x100) != 0) == shift) {
            return ch;
        }
    }
    return std::nullopt;
}

bool IsModifierOrLock(int vk) {
    return vk == kVkShift || vk == kVkControl || vk == kVkAlt || vk == kVkCapsLock ||
           vk == kVkNumLock || vk == kVkScrollLock;
}

}  // namespace

ScriptedKeyboard::ScriptedKeyboard(std::function<double()> monotonicSeconds,
                                   std::function<void()> processEvents)
    : monotonicSeconds_(std::move(monotonicSeconds)), processEvents_(std::move(processEvents)) {}

void ScriptedKeyboard::setLock(int virtualKey, bool on) {
    auto& s = state_[static_cast<std::size_t>(virtualKey & 0xFF)];
    s = static_cast<std::uint8_t>(on ? (s | 1) : (s & ~1));
}

bool ScriptedKeyboard::lockOn(int virtualKey) const {
    return (state_[static_cast<std::size_t>(virtualKey & 0xFF)] & 1) != 0;
}

std::int16_t ScriptedKeyboard::vkKeyScan(std::uint8_t character, std::uintptr_t) {
    return static_cast<std::int16_t>(KeyOf(character));
}

std::uint32_t ScriptedKeyboard::mapVirtualKey(std::uint32_t code, std::uint32_t mapType,
                                              std::uintptr_t) {
    return mapType == 0 ? ScanCode(static_cast<int>(code & 0xFF)) : 0;
}

std::uint32_t ScriptedKeyboard::sendInput(const std::vector<KeyEvent>& events) {
    for (const KeyEvent& e : events) {
        sent_.push_back(e);
        pending_.push_back(e);
    }
    return static_cast<std::uint32_t>(events.size());
}

std::int16_t ScriptedKeyboard::keyState(int virtualKey) {
    const std::uint8_t s = state_[static_cast<std::size_t>(virtualKey & 0xFF)];
    std::int16_t result = (s & 0x80) != 0 ? static_cast<std::int16_t>(-32768) : std::int16_t{0};
    if ((s & 1) != 0) {
        result = static_cast<std::int16_t>(result | 1);
    }
    return result;
}

bool ScriptedKeyboard::getVersion(VersionRecordBytes& record) {
    record.fill(0);
    record[0] = static_cast<std::uint8_t>(record.size());
    record[16] = 2;  // the newer platform family
    return true;
}

std::uint32_t ScriptedKeyboard::tickCount() {
    const double ms = monotonicSeconds_() * 1000.0 + 5.0e6;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms) & 0xFFFFFFFFu);
}

void ScriptedKeyboard::deliverPending() {
    // Keys that a delivered key sends in turn queue up behind the rest.
    while (!pending_.empty()) {
        const KeyEvent e = pending_.front();
        pending_.pop_front();
        deliver(e);
    }
}

void ScriptedKeyboard::deliver(const KeyEvent& e) {
    int vk = e.virtualKey & 0xFF;
    if (vk == 0 && (e.flags & kKeyEventScanCode) != 0) {
        for (int candidate = 1; candidate < 256; ++candidate) {
            if (ScanCode(candidate) == e.scanCode) {
                vk = candidate;
                break;
            }
        }
    }
    if (vk == 0) {
        return;
    }
    auto& s = state_[static_cast<std::size_t>(vk)];
    const bool up = (e.flags & kKeyEventKeyUp) != 0;
    if (up) {
        s = static_cast<std::uint8_t>(s & ~0x80);
        if (vk == kVkAlt && altCode_) {
            const int code = *altCode_ & 0xFF;
            altCode_.reset();
            if (code != 0 && target_ != nullptr) {
                target_->keyPress(code);
            }
        }
        return;
    }
    const bool toggles = vk == kVkCapsLock || vk == kVkNumLock || vk == kVkScrollLock;
    if (toggles && (s & 0x80) == 0) {
        s = static_cast<std::uint8_t>(s ^ 1);
    }
    s = static_cast<std::uint8_t>(s | 0x80);
    if (vk == kVkAlt) {
        altCode_ = 0;
        return;
    }
    if (IsModifierOrLock(vk)) {
        return;
    }
    const bool altHeld = (state_[kVkAlt] & 0x80) != 0 || (e.virtualKey & 0x400) != 0;
    const bool controlHeld = (state_[kVkControl] & 0x80) != 0 || (e.virtualKey & 0x200) != 0;
    if (altHeld && altCode_ && vk >= 96 && vk <= 105) {
        altCode_ = *altCode_ * 10 + (vk - 96);
        return;
    }
    bool shift = (state_[kVkShift] & 0x80) != 0 || (e.virtualKey & 0x100) != 0;
    if (target_ == nullptr) {
        return;
    }
    target_->keyDown(vk, shift);
    if (altHeld || controlHeld) {
        return;
    }
    if (vk >= 'A' && vk <= 'Z' && lockOn(kVkCapsLock)) {
        shift = !shift;
    }
    if (const auto ch = CharacterOf(vk, shift)) {
        target_->keyPress(*ch);
    }
}

ScriptedServices::ScriptedServices(NumberLocale locale)
    : locale_(locale),
      version_{kProgramTitle, kVersionMajor, kVersionMinor, kVersionRevision,
               "Copyright \u00A9 Dervanth"},
      printer_([this](ServiceEvent e) { record(std::move(e)); }),
      keyboard_([this] { return monotonic_; }, [this] { processEvents(); }) {}

void ScriptedServices::queueAnswer(std::string text) {
    answers_.emplace_back(std::move(text));
}

void ScriptedServices::queueCancel() {
    answers_.emplace_back(std::nullopt);
}

void ScriptedServices::queueReply(MsgAnswer answer) {
    replies_.push_back(answer);
}

void ScriptedServices::setClock(double secondsSinceMidnight) {
    clock_ = std::fmod(secondsSinceMidnight, kSecondsPerDay);
    if (clock_ < 0) {
        clock_ += kSecondsPerDay;
    }
}

void ScriptedServices::advance(double seconds) {
    monotonic_ += seconds;
    setClock(clock_ + seconds);
}

void ScriptedServices::wait(double seconds) {
    if (seconds > 0) {
        advance(seconds);
    }
}

void ScriptedServices::recordShowMessage(const std::string& title, const std::string& text,
                                         double seconds) {
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::ShowMessage;
    e.title = title;
    e.text = text;
    e.seconds = seconds;
    record(std::move(e));
}

std::vector<ServiceEvent> ScriptedServices::takeEvents() {
    std::vector<ServiceEvent> out(events_.begin() + static_cast<std::ptrdiff_t>(taken_),
                                  events_.end());
    taken_ = events_.size();
    return out;
}

MsgAnswer ScriptedServices::messageBox(const std::string& text, MsgButtons buttons,
                                       const std::string& title) {
    MsgAnswer answer = buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    if (!replies_.empty()) {
        const MsgAnswer queued = replies_.front();
        replies_.pop_front();
        const bool fits =
            buttons == MsgButtons::Ok ? queued == MsgAnswer::Ok : queued != MsgAnswer::Ok;
        if (fits) {
            answer = queued;
        }
    }
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::MsgBox;
    e.title = title;
    e.text = text;
    e.buttons = buttons;
    e.answer = answer;
    record(std::move(e));
    return answer;
}

std::string ScriptedServices::inputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultAnswer) {
    std::optional<std::string> answer;
    if (!answers_.empty()) {
        answer = std::move(answers_.front());
        answers_.pop_front();
    }
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::InputBox;
    e.title = title;
    e.text = prompt;
    e.defaultAnswer = defaultAnswer;
    e.inputAnswer = answer;
    record(std::move(e));
    return answer.value_or(std::string());
}

void ScriptedServices::beep() {
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::Beep;
    record(std::move(e));
}

void ScriptedServices::processEvents() {
    advance(kEventStepSeconds);
    keyboard_.deliverPending();
    if (onProcessEvents && !inEventHook_) {
        struct Guard {
            bool& flag;
            ~Guard() { flag = false; }
        } guard{inEventHook_};
        inEventHook_ = true;
        onProcessEvents();
    }
}

void ScriptedServices::endProgram() {
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::End;
    record(std::move(e));
    ended_ = true;
    throw ProgramEnded{};
}

void ScriptedServices::showHelp(int contextNumber) {
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::Help;
    e.context = contextNumber;
    record(std::move(e));
}

bool ScriptedServices::startProgram(const std::string& path) {
    if (!fileExists(path)) {
        return false;
    }
    ServiceEvent e;
    e.kind = ServiceEvent::Kind::StartProgram;
    e.path = path;
    record(std::move(e));
    return true;
}

}  // namespace quarvell::platform
