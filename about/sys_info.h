#pragma once
// Finding and starting the platform's system-information tool through two read-only registry
// values under the local-machine root.

#include <cstdint>
#include <string>

#include "platform/services.h"

namespace quarvell::about {

inline constexpr std::uint32_t kValueBufferSize = 1024;

inline constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kSysInfoValue = "PATH";
inline constexpr const char* kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSysInfoLocationValue = "MSINFO";
inline constexpr const char* kSysInfoProgram = "\\MSINFO32.EXE";
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Starts the tool named by the first registry location (no file check there), else the
// MSINFO32.EXE in the folder named by the second one if that file exists; any failure ends
// in the single unavailable message.
void StartSysInfo(platform::Services& services);

// Reads value SubKeyRef of key KeyName under KeyRoot as text. A text value loses one trailing
// zero byte; a 32-bit number becomes its decimal text; any other type leaves KeyVal as the
// caller set it. False, with KeyVal empty, when the key or the value cannot be read. The key
// handle is closed on every path.
bool GetKeyValue(platform::Registry& registry, std::uint32_t KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal);

}  // namespace quarvell::about
