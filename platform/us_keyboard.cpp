#include "platform/us_keyboard.h"

#include <array>

#include "platform/key_codes.h"

namespace quarvell::platform {
namespace {

// OEM key codes of the punctuation keys.
constexpr std::int16_t kSemicolonKey = 0xBA;
constexpr std::int16_t kEqualsKey = 0xBB;
constexpr std::int16_t kCommaKey = 0xBC;
constexpr std::int16_t kMinusKey = 0xBD;
constexpr std::int16_t kPeriodKey = 0xBE;
constexpr std::int16_t kSlashKey = 0xBF;
constexpr std::int16_t kGraveKey = 0xC0;
constexpr std::int16_t kOpenBracketKey = 0xDB;
constexpr std::int16_t kBackslashKey = 0xDC;
constexpr std::int16_t kCloseBracketKey = 0xDD;
constexpr std::int16_t kQuoteKey = 0xDE;

constexpr std::array<std::int16_t, 128> makeAsciiKeys() {
    std::array<std::int16_t, 128> keys{};
    keys.fill(-1);
    // Control characters come from Control with a letter or punctuation key, as on the
    // platform; NUL is left without a key.
    for (int c = 1; c <= 26; ++c) {
        keys[c] = static_cast<std::int16_t>(kControlBit | ('A' + c - 1));
    }
    keys[8] = kVkBack;
    keys[9] = kVkTab;
    keys[10] = kControlBit | kVkReturn;
    keys[13] = kVkReturn;
    keys[27] = kControlBit | kOpenBracketKey;
    keys[28] = kControlBit | kBackslashKey;
    keys[29] = kControlBit | kCloseBracketKey;
    keys[30] = kControlBit | kShiftBit | '6';
    keys[31] = kControlBit | kShiftBit | kMinusKey;
    keys[127] = kControlBit | kVkBack;

    keys[' '] = ' ';
    for (int c = '0'; c <= '9'; ++c) {
        keys[c] = static_cast<std::int16_t>(c);
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        keys[c] = static_cast<std::int16_t>(kShiftBit | c);
        keys[c - 'A' + 'a'] = static_cast<std::int16_t>(c);
    }
    const char* shiftedDigits = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d) {
        keys[static_cast<unsigned char>(shiftedDigits[d])] =
            static_cast<std::int16_t>(kShiftBit | ('0' + d));
    }
    struct Pair {
        char plain;
        char shifted;
        std::int16_t key;
    };
    constexpr Pair punctuation[] = {
        {';', ':', kSemicolonKey},    {'=', '+', kEqualsKey},      {',', '<', kCommaKey},
        {'-', '_', kMinusKey},        {'.', '>', kPeriodKey},      {'/', '?', kSlashKey},
        {'`', '~', kGraveKey},        {'[', '{', kOpenBracketKey}, {'\\', '|', kBackslashKey},
        {']', '}', kCloseBracketKey}, {'\'', '"', kQuoteKey},
    };
    for (const Pair& p : punctuation) {
        keys[static_cast<unsigned char>(p.plain)] = p.key;
        keys[static_cast<unsigned char>(p.shifted)] = static_cast<std::int16_t>(kShiftBit | p.key);
    }
    return keys;
}

constexpr std::array<std::int16_t, 128> kAsciiKeys = makeAsciiKeys();

constexpr std::array<std::uint16_t, 256> makeScanCodes() {
    std::array<std::uint16_t, 256> scan{};
    scan[kVkBack] = 0x0E;
    scan[kVkTab] = 0x0F;
    scan[kVkReturn] = 0x1C;
    scan[kVkShift] = 0x2A;
    scan[kVkControl] = 0x1D;
    scan[kVkAlt] = 0x38;
    scan[kVkPause] = 0x45;
    scan[kVkCapsLock] = 0x3A;
    scan[kVkEscape] = 0x01;
    scan[' '] = 0x39;
    scan[kVkPageUp] = 0x49;
    scan[kVkPageDown] = 0x51;
    scan[kVkEnd] = 0x4F;
    scan[kVkHome] = 0x47;
    scan[kVkLeft] = 0x4B;
    scan[kVkUp] = 0x48;
    scan[kVkRight] = 0x4D;
    scan[kVkDown] = 0x50;
    scan[kVkPrintScreen] = 0x54;
    scan[kVkInsert] = 0x52;
    scan[kVkDelete] = 0x53;
    scan['0'] = 0x0B;
    for (int d = 1; d <= 9; ++d) {
        scan['0' + d] = static_cast<std::uint16_t>(0x01 + d);
    }
    constexpr std::uint16_t letters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                           0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                           0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    for (int i = 0; i < 26; ++i) {
        scan['A' + i] = letters[i];
    }
    constexpr std::uint16_t keypad[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B,
                                          0x4C, 0x4D, 0x47, 0x48, 0x49};
    for (int i = 0; i < 10; ++i) {
        scan[kVkNumpad0 + i] = keypad[i];
    }
    for (int i = 0; i < 10; ++i) {
        scan[kVkF1 + i] = static_cast<std::uint16_t>(0x3B + i);  // F1 to F10
    }
    scan[kVkF1 + 10] = 0x57;  // F11
    scan[kVkF1 + 11] = 0x58;  // F12
    for (int i = 0; i < 4; ++i) {
        scan[kVkF1 + 12 + i] = static_cast<std::uint16_t>(0x64 + i);  // F13 to F16
    }
    scan[kVkNumLock] = 0x45;
    scan[kVkScrollLock] = 0x46;
    scan[kSemicolonKey] = 0x27;
    scan[kEqualsKey] = 0x0D;
    scan[kCommaKey] = 0x33;
    scan[kMinusKey] = 0x0C;
    scan[kPeriodKey] = 0x34;
    scan[kSlashKey] = 0x35;
    scan[kGraveKey] = 0x29;
    scan[kOpenBracketKey] = 0x1A;
    scan[kBackslashKey] = 0x2B;
    scan[kCloseBracketKey] = 0x1B;
    scan[kQuoteKey] = 0x28;
    return scan;
}

constexpr std::array<std::uint16_t, 256> kScanCodes = makeScanCodes();

// 0x80 to 0xFF.
constexpr std::array<std::uint8_t, 128> kAnsiToOem = {
    0x3F, 0x3F, 0x2C, 0x9F, 0x22, 0x2E, 0x3F, 0x3F, 0x5E, 0x3F, 0x53, 0x3C, 0x3F, 0x3F, 0x5A, 0x3F,
    0x3F, 0x27, 0x27, 0x22, 0x22, 0x07, 0x2D, 0x2D, 0x3F, 0x3F, 0x73, 0x3E, 0x3F, 0x3F, 0x7A, 0x59,
    0xFF, 0xAD, 0x9B, 0x9C, 0x3F, 0x9D, 0x7C, 0x15, 0x3F, 0x63, 0xA6, 0xAE, 0xAA, 0x2D, 0x52, 0x3F,
    0xF8, 0xF1, 0xFD, 0x33, 0x3F, 0xE6, 0x14, 0xFA, 0x3F, 0x31, 0xA7, 0xAF, 0xAC, 0xAB, 0x3F, 0xA8,
    0x41, 0x41, 0x41, 0x41, 0x8E, 0x8F, 0x92, 0x80, 0x45, 0x90, 0x45, 0x45, 0x49, 0x49, 0x49, 0x49,
    0x44, 0xA5, 0x4F, 0x4F, 0x4F, 0x4F, 0x99, 0x78, 0x4F, 0x55, 0x55, 0x55, 0x9A, 0x59, 0x3F, 0xE1,
    0x85, 0xA0, 0x83, 0x61, 0x84, 0x86, 0x91, 0x87, 0x8A, 0x82, 0x88, 0x89, 0x8D, 0xA1, 0x8C, 0x8B,
    0x64, 0xA4, 0x95, 0xA2, 0x93, 0x6F, 0x94, 0xF6, 0x6F, 0x97, 0xA3, 0x96, 0x81, 0x79, 0x3F, 0x98,
};

}  // namespace

std::int16_t usKeyForCharacter(std::uint8_t character) {
    return character < kAsciiKeys.size() ? kAsciiKeys[character] : std::int16_t{-1};
}

std::uint16_t usScanCode(std::uint8_t keyCode) {
    return kScanCodes[keyCode];
}

std::uint8_t ansiToOem(std::uint8_t character) {
    return character < 0x80 ? character : kAnsiToOem[character - 0x80];
}

}  // namespace quarvell::platform
