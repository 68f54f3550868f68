#pragma once
// The scripted platform: a Services implementation for tests and the replay tool, in a library
// of its own (quarvell_scripted) that the program never links. Input and message boxes answer
// from queues (Cancel and the first button when nothing is queued), every visible call is
// recorded as an event, the clock is a fake that only moves when events are processed or time
// is made to pass (on a fixed first day, so that dated output repeats), and the registry, the file
// set and the keyboard are scripted too.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/key_codes.h"
#include "platform/key_input.h"
#include "platform/keyboard_port.h"
#include "platform/services.h"

namespace quarvell::platform {

inline constexpr double kSecondsPerDay = 86400.0;
// The day a scripted session starts on; its clock passing midnight moves on to the next.
inline constexpr LocalDateTime kScriptedFirstDay{.year = 2026, .month = 1, .day = 5};

// One thing the user saw or heard, or one thing the program did to the outside world.
struct ServiceEvent {
    enum class Kind {
        ShowMessage,
        MsgBox,
        InputBox,
        Beep,
        Help,
        Print,
        PrintSetup,
        StartProgram,
        End
    };
    Kind kind = Kind::Beep;
    std::string title;
    std::string text;  // message text, or the input box's prompt
    double seconds = 0;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer answer = MsgAnswer::Ok;
    std::string defaultAnswer;
    std::optional<std::string> inputAnswer;  // nothing: Cancel
    int context = 0;
    std::string path;
};

class ScriptedPrinter : public Printer {
  public:
    explicit ScriptedPrinter(std::function<void(ServiceEvent)> record)
        : record_(std::move(record)) {}
    void setUnitInches() override;
    void setPrintPosition(double left, double top) override;
    void printWindow() override;
    void endDocument() override;
    void showPrintSetup() override;
    // Every call, in order, for tests that look closer than the event list.
    const std::vector<std::string>& calls() const { return calls_; }

  private:
    std::function<void(ServiceEvent)> record_;
    std::vector<std::string> calls_;
};

// Keys and values under the local-machine root only.
class ScriptedRegistry : public Registry {
  public:
    void setValue(const std::string& key, const std::string& name, std::uint32_t type,
                  std::vector<unsigned char> bytes);
    // A text value, stored with its trailing zero byte unless told otherwise.
    void setText(const std::string& key, const std::string& name, const std::string& text,
                 bool withZero = true);
    long openKey(std::uint32_t root, const std::string& keyPath, std::uint32_t access,
                 std::uintptr_t& handle) override;
    long queryValue(std::uintptr_t handle, const std::string& valueName, std::uint32_t& type,
                    std::vector<unsigned char>& buffer, std::uint32_t& size) override;
    long closeKey(std::uintptr_t handle) override;
    int openHandles() const { return static_cast<int>(open_.size()); }

  private:
    struct Value {
        std::uint32_t type = 0;
        std::vector<unsigned char> bytes;
    };
    std::map<std::pair<std::string, std::string>, Value> values_;
    std::set<std::string> keys_;
    std::map<std::uintptr_t, std::string> open_;
    std::uintptr_t nextHandle_ = 0x100;
};

// A US keyboard. Synthetic input is queued by sendInput and delivered, in order, when the
// platform next processes events; that is when a key sent from inside a handler arrives.
class ScriptedKeyboard : public KeyboardPort {
  public:
    ScriptedKeyboard(std::function<double()> monotonicSeconds, std::function<void()> processEvents);

    // Where delivered keys go; nowhere while none is set.
    void setTarget(KeyInput* target) { target_ = target; }
    void setLock(int virtualKey, bool on);
    bool lockOn(int virtualKey) const;
    // Every event handed to sendInput, in order.
    const std::vector<KeyEvent>& sent() const { return sent_; }
    void deliverPending();

    std::uintptr_t foregroundWindow() override { return 1; }
    std::uint32_t windowThreadProcessId(std::uintptr_t) override { return 1; }
    std::uintptr_t keyboardLayout(std::uint32_t) override { return 0x04090409; }
    std::int16_t vkKeyScan(std::uint8_t character, std::uintptr_t layout) override;
    std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType,
                                std::uintptr_t layout) override;
    std::uint32_t sendInput(const std::vector<KeyEvent>& events) override;
    std::int16_t keyState(int virtualKey) override;
    void getKeyboardState(KeyboardStateTable& table) override { table = state_; }
    void setKeyboardState(const KeyboardStateTable& table) override { state_ = table; }
    bool getVersion(VersionRecordBytes& record) override;
    std::uint8_t charToOem(std::uint8_t character) override { return character; }
    std::uint32_t tickCount() override;
    void processEvents() override { processEvents_(); }

  private:
    void deliver(const KeyEvent& e);

    std::function<double()> monotonicSeconds_;
    std::function<void()> processEvents_;
    KeyInput* target_ = nullptr;
    KeyboardStateTable state_{};
    std::deque<KeyEvent> pending_;
    std::vector<KeyEvent> sent_;
    // Alt held with keypad digits composes a character when Alt is released.
    std::optional<int> altCode_;
};

class ScriptedServices : public Services {
  public:
    explicit ScriptedServices(NumberLocale locale = kPeriodLocale);

    // The script.
    void queueAnswer(std::string text);
    void queueCancel();
    void queueReply(MsgAnswer answer);
    void setClock(double secondsSinceMidnight);
    double clock() const { return clock_; }
    // Time passes without any event being processed.
    void wait(double seconds);
    void addFile(std::string path) { files_.insert(std::move(path)); }
    ScriptedRegistry& scriptedRegistry() { return registry_; }
    ScriptedPrinter& scriptedPrinter() { return printer_; }
    ScriptedKeyboard& scriptedKeyboard() { return keyboard_; }
    // Runs on every pass of the event loop, after queued keys are delivered: where a test
    // acts while the program waits.
    std::function<void()> onProcessEvents;
    // Delivers queued synthetic keys, as the event loop does once a handler has returned.
    void deliverPendingInput() { keyboard_.deliverPending(); }

    // The record.
    void recordShowMessage(const std::string& title, const std::string& text, double seconds);
    const std::vector<ServiceEvent>& events() const { return events_; }
    // The events since the last call.
    std::vector<ServiceEvent> takeEvents();
    bool ended() const { return ended_; }

    MsgAnswer messageBox(const std::string& text, MsgButtons buttons,
                         const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    void beep() override;
    double secondsSinceMidnight() override { return clock_; }
    LocalDateTime localDateTime() override;
    void processEvents() override;
    [[noreturn]] void endProgram() override;
    void showHelp(int contextNumber) override;
    NumberLocale numberLocale() override { return locale_; }
    VersionRecord versionRecord() override { return version_; }
    Printer& printer() override { return printer_; }
    Registry& registry() override { return registry_; }
    bool fileExists(const std::string& path) override { return files_.count(path) != 0; }
    bool startProgram(const std::string& path) override;
    KeyboardPort& keyboard() override { return keyboard_; }

    // How far one pass of the event loop moves the clock.
    static constexpr double kEventStepSeconds = 0.05;

  private:
    void record(ServiceEvent e) { events_.push_back(std::move(e)); }
    void advance(double seconds);

    NumberLocale locale_;
    VersionRecord version_;
    double clock_ = 10 * 3600.0;
    long daysPassed_ = 0;  // midnights the clock has passed since the first day
    double monotonic_ = 0;
    std::deque<std::optional<std::string>> answers_;
    std::deque<MsgAnswer> replies_;
    std::vector<ServiceEvent> events_;
    std::size_t taken_ = 0;
    std::set<std::string> files_;
    ScriptedPrinter printer_;
    ScriptedRegistry registry_;
    ScriptedKeyboard keyboard_;
    bool inEventHook_ = false;
    bool ended_ = false;
};

}  // namespace quarvell::platform
