#pragma once
// The services the program takes from its platform besides the controls: message and input
// boxes, the beep, the clock, event processing, ending, help, printer, registry, processes,
// the keyboard and the number locale. The Qt front end implements them for real; the
// scripted implementation answers from a queue and records every call for tests.

#include <cstdint>
#include <string>
#include <vector>

#include "model/number_locale.h"

namespace quarvell::platform {

using model::kCommaLocale;
using model::kPeriodLocale;
using model::NumberLocale;

class KeyboardPort;

// Thrown by Services::endProgram so that no handler statement runs after the program ended.
// The outermost dispatcher of a user action (the Qt binding, the replay tool) catches it.
struct ProgramEnded {};

enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

struct VersionRecord {
    std::string title;
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::string copyright;
};

// A local calendar date and wall-clock time, as the platform's clock gives them.
struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Printer {
  public:
    virtual ~Printer() = default;
    virtual void setUnitInches() = 0;
    virtual void setPrintPosition(double left, double top) = 0;
    // Prints a picture of the calculator window as it stands.
    virtual void printWindow() = 0;
    // Finishes and sends out a document in progress; nothing when none is open.
    virtual void endDocument() = 0;
    // The print-setup dialog; the choice applies to later prints.
    virtual void showPrintSetup() = 0;
};

// The registry's own numbers: the local-machine root, the access a key is opened with, the
// two value types the program reads (text, and a little-endian 32-bit number) and the return
// codes of its calls.
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kKeyAllAccess = 0x2003fu;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegInvalidHandle = 6;
inline constexpr long kRegMoreData = 234;

// The registry calls of the system-information lookup, with their classic return codes.
class Registry {
  public:
    virtual ~Registry() = default;
    virtual long openKey(std::uint32_t root, const std::string& keyPath, std::uint32_t access,
                         std::uintptr_t& handle) = 0;
    // buffer holds `size` bytes on entry; on success size is the value's length in bytes.
    virtual long queryValue(std::uintptr_t handle, const std::string& valueName,
                            std::uint32_t& type, std::vector<unsigned char>& buffer,
                            std::uint32_t& size) = 0;
    virtual long closeKey(std::uintptr_t handle) = 0;
};

class Services {
  public:
    virtual ~Services() = default;

    // No icon; the answer is the button chosen.
    virtual MsgAnswer messageBox(const std::string& text, MsgButtons buttons,
                                 const std::string& title) = 0;
    // Returns the text typed, or the empty text when the user cancels.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) = 0;
    virtual void beep() = 0;
    // Time of day in seconds since midnight.
    virtual double secondsSinceMidnight() = 0;
    // The local date and time, as a report is stamped with.
    virtual LocalDateTime localDateTime() = 0;
    // One pass of the event loop.
    virtual void processEvents() = 0;
    // Ends the program at once: implementations record or close, then throw ProgramEnded.
    [[noreturn]] virtual void endProgram() = 0;
    virtual void showHelp(int contextNumber) = 0;
    virtual NumberLocale numberLocale() = 0;
    virtual VersionRecord versionRecord() = 0;
    virtual Printer& printer() = 0;
    virtual Registry& registry() = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // Starts a program in a normal window with the focus; false when it cannot be started.
    virtual bool startProgram(const std::string& path) = 0;
    virtual KeyboardPort& keyboard() = 0;
};

}  // namespace quarvell::platform
