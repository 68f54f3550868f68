#include "about/sys_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "test_doubles.h"

namespace quarvell::about {
namespace {

using fakes::Bytes;
using fakes::FakeServices;
using fakes::RegValue;
using fakes::ScriptedRegistry;

const std::string kKey = "SOFTWARE\\Test";
const std::string kOpenLog = "open 2147483650 SOFTWARE\\Test 131135";

std::string Text(std::initializer_list<char> chars) {
    return {chars.begin(), chars.end()};
}

struct ReadCase {
    const char* what;
    std::uint32_t type;
    std::vector<unsigned char> bytes;
    std::string expected;  // the caller's KeyVal is "preset"
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.what;
}

class ReadValue : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadValue, ConvertsByTypeAndClosesTheKey) {
    const ReadCase& c = GetParam();
    ScriptedRegistry reg;
    reg.set(kKey, "V", {c.type, c.bytes});
    std::string val = "preset";
    EXPECT_TRUE(GetKeyValue(reg, kHkeyLocalMachine, kKey, "V", val));
    EXPECT_EQ(val, c.expected);
    EXPECT_EQ(reg.log, (std::vector<std::string>{kOpenLog, "query 100 V 1024/1024", "close 100"}));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadValue,
    ::testing::Values(
        ReadCase{"TextWithTrailingZero", 1, Bytes(Text({'C', ':', '\\', 'x', '\0'})), "C:\\x"},
        ReadCase{"TextWithoutTrailingZero", 1, Bytes("C:\\x"), "C:\\x"},
        ReadCase{"TextLosesOnlyOneZero", 1, Bytes(Text({'a', 'b', '\0', '\0'})),
                 Text({'a', 'b', '\0'})},
        ReadCase{"EmptyTextWithItsZero", 1, {0}, ""}, ReadCase{"EmptyTextOfLengthZero", 1, {}, ""},
        ReadCase{"TextFillingTheBuffer", 1, Bytes(std::string(1024, 'x')), std::string(1024, 'x')},
        ReadCase{"Dword", 4, {0x39, 0x30, 0, 0}, "12345"},
        ReadCase{"DwordIsLittleEndian", 4, {0x00, 0x01, 0x00, 0x00}, "256"},
        ReadCase{"DwordHighByteOnly", 4, {0, 0, 0, 0x01}, "16777216"},
        ReadCase{"DwordLargest", 4, {0xff, 0xff, 0xff, 0xff}, "4294967295"},
        ReadCase{"DwordOfLengthZero", 4, {}, "0"},
        ReadCase{"ExpandableTextKeepsCallersValue", 2, Bytes("%WINDIR%"), "preset"}),
    [](const ::testing::TestParamInfo<ReadCase>& p) { return std::string(p.param.what); });

struct FailCase {
    const char* what;
    void (*script)(ScriptedRegistry&);
    std::vector<std::string> log;
};

void PrintTo(const FailCase& c, std::ostream* os) {
    *os << c.what;
}

class ReadFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(ReadFailure, ReturnsFalseWithAnEmptyValueAndStillCloses) {
    const FailCase& c = GetParam();
    ScriptedRegistry reg;
    c.script(reg);
    std::string val = "preset";
    EXPECT_FALSE(GetKeyValue(reg, kHkeyLocalMachine, kKey, "V", val));
    EXPECT_EQ(val, "");
    EXPECT_EQ(reg.log, c.log);
    EXPECT_TRUE(reg.openKeys.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ReadFailure,
    ::testing::Values(FailCase{"KeyMissing", [](ScriptedRegistry&) {}, {kOpenLog, "close 0"}},
                      FailCase{"OpenRefused",
                               [](ScriptedRegistry& r) {
                                   r.set(kKey, "V", {1, Bytes("x")});
                                   r.failOpen.insert(kKey);
                               },
                               {kOpenLog, "close 0"}},
                      FailCase{"ValueMissing",
                               [](ScriptedRegistry& r) {
                                   r.set(kKey, "Other", {1, Bytes("x")});
                               },
                               {kOpenLog, "query 100 V 1024/1024", "close 100"}},
                      FailCase{"QueryRefused",
                               [](ScriptedRegistry& r) {
                                   r.set(kKey, "V", {1, Bytes("x")});
                                   r.failQuery.insert("V");
                               },
                               {kOpenLog, "query 100 V 1024/1024", "close 100"}},
                      FailCase{"ValueLargerThanTheBuffer",
                               [](ScriptedRegistry& r) {
                                   r.set(kKey, "V", {1, Bytes(std::string(1025, 'x'))});
                               },
                               {kOpenLog, "query 100 V 1024/1024", "close 100"}}),
    [](const ::testing::TestParamInfo<FailCase>& p) { return std::string(p.param.what); });

// A registry that reports more bytes than the buffer holds must not make us read past it.
TEST(GetKeyValue, ClampsALengthBeyondTheBuffer) {
    ScriptedRegistry reg;
    reg.set(kKey, "V", {1, Bytes("abc")});
    reg.reportedSize = 5000;
    std::string val;
    ASSERT_TRUE(GetKeyValue(reg, kHkeyLocalMachine, kKey, "V", val));
    ASSERT_EQ(val.size(), 1023u);  // the buffer's last byte is a zero, dropped like a text's
    EXPECT_EQ(val.substr(0, 3), "abc");
}

const std::string kFirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kSecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kToolPath = "C:\\Program Files\\MSINFO\\MSINFO32.EXE";
const std::string kFolder = "C:\\Tools";
const std::string kFolderTool = "C:\\Tools\\MSINFO32.EXE";

void First(FakeServices& s, const std::string& path, std::uint32_t type = 1) {
    s.reg().set(kFirstKey, "PATH", {type, Bytes(path + '\0')});
}
void Second(FakeServices& s, const std::string& folder) {
    s.reg().set(kSecondKey, "MSINFO", {1, Bytes(folder + '\0')});
}

struct LaunchCase {
    const char* what;
    void (*script)(FakeServices&);
    std::string started;  // empty: the unavailable message instead
    std::vector<std::string> fileChecks;
    bool secondTried;
};

void PrintTo(const LaunchCase& c, std::ostream* os) {
    *os << c.what;
}

class Launch : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(Launch, StartsTheToolOrSaysItIsUnavailable) {
    const LaunchCase& c = GetParam();
    FakeServices s;
    c.script(s);
    StartSysInfo(s);

    if (c.started.empty()) {
        EXPECT_TRUE(s.started.empty());
        ASSERT_EQ(s.messages.size(), 1u);
        EXPECT_EQ(s.messages[0].text, "System Information Is Unavailable At This Time");
        EXPECT_EQ(s.messages[0].buttons, platform::MsgButtons::Ok);
        EXPECT_EQ(s.messages[0].title, "Quarvell");
    } else {
        EXPECT_EQ(s.started, std::vector<std::string>{c.started});
        EXPECT_TRUE(s.messages.empty());
    }
    EXPECT_EQ(s.fileChecks, c.fileChecks);

    const auto& log = s.reg().log;
    const bool secondTried = std::any_of(log.begin(), log.end(), [](const std::string& l) {
        return l.find(kSecondKey) != std::string::npos;
    });
    EXPECT_EQ(secondTried, c.secondTried);
    const auto opens = std::count_if(log.begin(), log.end(),
                                     [](const std::string& l) { return l.starts_with("open "); });
    const auto closes = std::count_if(log.begin(), log.end(),
                                      [](const std::string& l) { return l.starts_with("close "); });
    EXPECT_EQ(opens, closes);
    EXPECT_TRUE(s.reg().openKeys.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Locations, Launch,
    ::testing::Values(LaunchCase{"FirstLocationStartsWithoutAFileCheck",
                                 [](FakeServices& s) {
                                     First(s, kToolPath);
                                     Second(s, kFolder);
                                     s.files = {kToolPath, kFolderTool};
                                 },
                                 kToolPath,
                                 {},
                                 false},
                      LaunchCase{"FirstLocationNamingAMissingFileDoesNotFallBack",
                                 [](FakeServices& s) {
                                     First(s, kToolPath);
                                     Second(s, kFolder);
                                     s.files = {kFolderTool};
                                 },
                                 "",
                                 {},
                                 false},
                      LaunchCase{"OnlySecondLocationWithTheFile",
                                 [](FakeServices& s) {
                                     Second(s, kFolder);
                                     s.files = {kFolderTool};
                                 },
                                 kFolderTool,
                                 {kFolderTool},
                                 true},
                      LaunchCase{"OnlySecondLocationWithoutTheFile",
                                 [](FakeServices& s) {
                                     Second(s, kFolder);
                                     s.files = {kFolder + "\\msinfo32.exe"};
                                 },
                                 "",
                                 {kFolderTool},
                                 true},
                      LaunchCase{"NeitherLocation", [](FakeServices&) {}, "", {}, true},
                      LaunchCase{"FirstKeyRefusedFallsBack",
                                 [](FakeServices& s) {
                                     First(s, kToolPath);
                                     Second(s, kFolder);
                                     s.reg().failOpen.insert(kFirstKey);
                                     s.files = {kToolPath, kFolderTool};
                                 },
                                 kFolderTool,
                                 {kFolderTool},
                                 true},
                      LaunchCase{"FirstValueUnreadableFallsBack",
                                 [](FakeServices& s) {
                                     First(s, kToolPath);
                                     Second(s, kFolder);
                                     s.reg().failQuery.insert("PATH");
                                     s.files = {kToolPath, kFolderTool};
                                 },
                                 kFolderTool,
                                 {kFolderTool},
                                 true},
                      LaunchCase{"ProgramFailsToStart",
                                 [](FakeServices& s) {
                                     Second(s, kFolder);
                                     s.files = {kFolderTool};
                                     s.failStart = true;
                                 },
                                 "",
                                 {kFolderTool},
                                 true},
                      // A first value that is not text reads as success but names no program.
                      LaunchCase{"FirstValueNotText",
                                 [](FakeServices& s) {
                                     First(s, kToolPath, 2);
                                     Second(s, kFolder);
                                     s.files = {kToolPath, kFolderTool};
                                 },
                                 "",
                                 {},
                                 false},
                      // An empty folder must not send us looking at the root of the drive.
                      LaunchCase{"SecondValueEmpty",
                                 [](FakeServices& s) {
                                     Second(s, "");
                                     s.files = {"\\MSINFO32.EXE"};
                                 },
                                 "",
                                 {},
                                 true},
                      // The platform would see the path cut at the zero byte: a different file.
                      LaunchCase{"FolderWithAZeroByte",
                                 [](FakeServices& s) {
                                     Second(s, kFolder + '\0' + "x");
                                     s.files = {kFolder + '\0' + "x\\MSINFO32.EXE"};
                                 },
                                 "",
                                 {},
                                 true}),
    [](const ::testing::TestParamInfo<LaunchCase>& p) { return std::string(p.param.what); });

}  // namespace
}  // namespace quarvell::about
