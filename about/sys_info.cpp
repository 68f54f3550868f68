#include "about/sys_info.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "version.h"

namespace quarvell::about {
namespace {

using platform::kHkeyLocalMachine;
using platform::kKeyAllAccess;
using platform::kRegDword;
using platform::kRegSuccess;
using platform::kRegSz;

// Little-endian; bytes the value lacks (a trailing zero byte is already gone) count as zero.
std::string DwordText(const std::vector<unsigned char>& bytes, std::size_t length) {
    std::uint32_t number = 0;
    for (std::size_t i = std::min<std::size_t>(length, 4); i-- > 0;) {
        number = (number << 8) | bytes[i];
    }
    return std::to_string(number);
}

// A zero byte would cut the path short at the platform's file and process calls, so the file
// checked or started would not be the one the registry named.
bool UsablePath(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos;
}

}  // namespace

bool GetKeyValue(platform::Registry& registry, std::uint32_t KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal) {
    std::uintptr_t key = 0;
    if (registry.openKey(KeyRoot, KeyName, kKeyAllAccess, key) != kRegSuccess) {
        KeyVal.clear();
        registry.closeKey(key);
        return false;
    }

    std::vector<unsigned char> buffer(kValueBufferSize, 0);
    std::uint32_t type = 0;
    std::uint32_t size = kValueBufferSize;
    if (registry.queryValue(key, SubKeyRef, type, buffer, size) != kRegSuccess) {
        KeyVal.clear();
        registry.closeKey(key);
        return false;
    }

    // Never trust the reported length beyond the bytes actually there.
    std::size_t length = std::min<std::size_t>({size, buffer.size(), kValueBufferSize});
    if (length > 0 && buffer[length - 1] == 0) {
        --length;
    }

    if (type == kRegSz) {
        KeyVal.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length));
    } else if (type == kRegDword) {
        KeyVal = DwordText(buffer, length);
    }

    registry.closeKey(key);
    return true;
}

void StartSysInfo(platform::Services& services) {
    platform::Registry& registry = services.registry();
    std::string path;
    bool found = false;

    if (GetKeyValue(registry, kHkeyLocalMachine, kSysInfoKey, kSysInfoValue, path)) {
        found = UsablePath(path);
    } else {
        std::string folder;
        if (GetKeyValue(registry, kHkeyLocalMachine, kSysInfoLocationKey, kSysInfoLocationValue,
                        folder) &&
            UsablePath(folder)) {
            path = folder + kSysInfoProgram;
            found = services.fileExists(path);
        }
    }

    if (found && services.startProgram(path)) {
        return;
    }
    services.messageBox(kSysInfoUnavailable, platform::MsgButtons::Ok, kProgramTitle);
}

}  // namespace quarvell::about
