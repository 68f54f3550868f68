#include "platform/scripted_services.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/us_keyboard.h"
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
    setValue(key, name, kRegSz, std::move(bytes));
}

long ScriptedRegistry::openKey(std::uint32_t root, const std::string& keyPath, std::uint32_t,
                               std::uintptr_t& handle) {
    handle = 0;
    if (root != kHkeyLocalMachine || keys_.count(keyPath) == 0) {
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

constexpr int kEscapeCharacter = 27;

bool IsKeypadDigit(int vk) {
    return vk >= kVkNumpad0 && vk <= kVkNumpad0 + 9;
}

// The US layout's key for a character. The headless window is typed into without Control, so
// of the control characters only those on a key of their own have a key here: Backspace, Tab,
// Enter and Escape, and the line feed, Control with Enter. Those typed by Control with a
// letter, a punctuation key or Backspace have none.
int KeyOf(int ch) {
    if (ch == kEscapeCharacter) {
        return kVkEscape;
    }
    const int key = usKeyForCharacter(static_cast<std::uint8_t>(ch));
    const bool ownKey = (key & kControlBit) == 0 || (key & 0xFF) == kVkReturn;
    return ownKey ? key : -1;
}

// The character a key types, or nothing.
std::optional<int> CharacterOf(int vk, bool shift) {
    if (IsKeypadDigit(vk)) {
        return '0' + (vk - kVkNumpad0);
    }
    if (vk == kVkTab) {
        return std::nullopt;  // Tab moves the focus and types nothing
    }
    for (int ch = 1; ch < 128; ++ch) {
        const int key = KeyOf(ch);
        if (key >= 0 && (key & 0xFF) == vk && (key & kControlBit) == 0 &&
            ((key & kShiftBit) != 0) == shift) {
            return ch;
        }
    }
    return std::nullopt;
}

// Without the extended flag a scan code shared by two keys is the keypad's key rather than the
// navigation key, and Num Lock rather than Break: the higher key code of the pair.
int KeyOfScanCode(std::uint16_t scanCode) {
    if (scanCode == 0) {
        return 0;
    }
    for (int vk = 255; vk > 0; --vk) {
        if (usScanCode(static_cast<std::uint8_t>(vk)) == scanCode) {
            return vk;
        }
    }
    return 0;
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
    return mapType == 0 ? usScanCode(static_cast<std::uint8_t>(code & 0xFF)) : 0;
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
        vk = KeyOfScanCode(e.scanCode);
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
    const bool altHeld = (state_[kVkAlt] & 0x80) != 0 || (e.virtualKey & kAltBit) != 0;
    const bool controlHeld = (state_[kVkControl] & 0x80) != 0 || (e.virtualKey & kControlBit) != 0;
    if (altHeld && altCode_ && IsKeypadDigit(vk)) {
        altCode_ = *altCode_ * 10 + (vk - kVkNumpad0);
        return;
    }
    bool shift = (state_[kVkShift] & 0x80) != 0 || (e.virtualKey & kShiftBit) != 0;
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
    const double later = clock_ + seconds;
    daysPassed_ += static_cast<long>(std::floor(later / kSecondsPerDay));
    setClock(later);
}

LocalDateTime ScriptedServices::localDateTime() {
    using namespace std::chrono;
    const year_month_day first{year{kScriptedFirstDay.year},
                               month{static_cast<unsigned>(kScriptedFirstDay.month)},
                               day{static_cast<unsigned>(kScriptedFirstDay.day)}};
    const year_month_day today{sys_days{first} + days{daysPassed_}};
    const auto second = static_cast<int>(std::floor(clock_));
    return {.year = static_cast<int>(today.year()),
            .month = static_cast<int>(static_cast<unsigned>(today.month())),
            .day = static_cast<int>(static_cast<unsigned>(today.day())),
            .hour = second / 3600,
            .minute = second / 60 % 60,
            .second = second % 60};
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
