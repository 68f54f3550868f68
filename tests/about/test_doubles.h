#pragma once
// A scripted registry and the services the About box uses, recording every call.

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"

namespace quarvell::about::fakes {

inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorMoreData = 234;

struct RegValue {
    std::uint32_t type = 1;
    std::vector<unsigned char> bytes;
};

inline std::vector<unsigned char> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// Keys exist when a value is scripted under them. Handles are numbered from 100 so that a
// stray close of handle 0 (after a failed open) stands out in the log.
class ScriptedRegistry : public platform::Registry {
  public:
    void set(const std::string& key, const std::string& name, RegValue v) {
        values[{key, name}] = std::move(v);
    }

    long openKey(std::uint32_t root, const std::string& keyPath, std::uint32_t access,
                 std::uintptr_t& handle) override {
        log.push_back("open " + std::to_string(root) + " " + keyPath + " " +
                      std::to_string(access));
        if (failOpen.count(keyPath) != 0) {
            return kErrorAccessDenied;
        }
        bool exists = false;
        for (const auto& entry : values) {
            exists = exists || entry.first.first == keyPath;
        }
        if (!exists) {
            return kErrorFileNotFound;
        }
        handle = nextHandle++;
        openKeys[handle] = keyPath;
        return 0;
    }

    long queryValue(std::uintptr_t handle, const std::string& valueName, std::uint32_t& type,
                    std::vector<unsigned char>& buffer, std::uint32_t& size) override {
        log.push_back("query " + std::to_string(handle) + " " + valueName + " " +
                      std::to_string(size) + "/" + std::to_string(buffer.size()));
        const auto key = openKeys.find(handle);
        if (key == openKeys.end()) {
            return kErrorFileNotFound;
        }
        if (failQuery.count(valueName) != 0) {
            return kErrorAccessDenied;
        }
        const auto v = values.find({key->second, valueName});
        if (v == values.end()) {
            return kErrorFileNotFound;
        }
        const auto length = static_cast<std::uint32_t>(v->second.bytes.size());
        if (length > size || length > buffer.size()) {
            size = length;
            return kErrorMoreData;
        }
        std::copy(v->second.bytes.begin(), v->second.bytes.end(), buffer.begin());
        type = v->second.type;
        size = length;
        if (reportedSize != 0) {
            size = reportedSize;
        }
        return 0;
    }

    long closeKey(std::uintptr_t handle) override {
        log.push_back("close " + std::to_string(handle));
        openKeys.erase(handle);
        return 0;
    }

    std::map<std::pair<std::string, std::string>, RegValue> values;
    std::set<std::string> failOpen;   // key paths
    std::set<std::string> failQuery;  // value names
    std::uint32_t reportedSize = 0;   // when set, the length reported instead of the real one
    std::map<std::uintptr_t, std::string> openKeys;
    std::uintptr_t nextHandle = 100;
    std::vector<std::string> log;
};

class NullPrinter : public platform::Printer {
  public:
    void setUnitInches() override {}
    void setPrintPosition(double, double) override {}
    void printWindow() override {}
    void endDocument() override {}
    void showPrintSetup() override {}
};

struct Message {
    std::string text;
    platform::MsgButtons buttons;
    std::string title;
};

// Files are a set of paths; startProgram fails for a path that is not there, or for any path
// when failStart is set.
class FakeServices : public platform::Services {
  public:
    platform::MsgAnswer messageBox(const std::string& text, platform::MsgButtons buttons,
                                   const std::string& title) override {
        messages.push_back({text, buttons, title});
        return platform::MsgAnswer::Ok;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        throw std::logic_error("unexpected input box");
    }
    void beep() override {}
    double secondsSinceMidnight() override { return 0; }
    void processEvents() override {}
    [[noreturn]] void endProgram() override { throw platform::ProgramEnded{}; }
    void showHelp(int) override {}
    platform::NumberLocale numberLocale() override { return platform::kPeriodLocale; }
    platform::VersionRecord versionRecord() override { return {}; }
    platform::Printer& printer() override { return printer_; }
    platform::Registry& registry() override { return registry_; }
    bool fileExists(const std::string& path) override {
        fileChecks.push_back(path);
        return files.count(path) != 0;
    }
    bool startProgram(const std::string& path) override {
        startAttempts.push_back(path);
        if (failStart || files.count(path) == 0) {
            return false;
        }
        started.push_back(path);
        return true;
    }
    [[noreturn]] platform::KeyboardPort& keyboard() override {
        throw std::logic_error("unexpected keyboard use");
    }

    ScriptedRegistry& reg() { return registry_; }

    std::set<std::string> files;
    bool failStart = false;
    std::vector<Message> messages;
    std::vector<std::string> fileChecks;
    std::vector<std::string> startAttempts;
    std::vector<std::string> started;

  private:
    ScriptedRegistry registry_;
    NullPrinter printer_;
};

}  // namespace quarvell::about::fakes
