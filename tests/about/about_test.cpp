// The About box and the system-information lookup, on the scripted platform.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/frm_about.h"
#include "about/sys_info.h"
#include "platform/scripted_services.h"
#include "version.h"

namespace quarvell::about {
namespace {

using platform::kHkeyLocalMachine;
using platform::kRegDword;
using platform::kRegSz;
using platform::ServiceEvent;

// The scripted platform, plus what it cannot script: a program that does not start although
// its file is there, and a record of the file checks StartSysInfo makes itself.
class Platform : public platform::ScriptedServices {
  public:
    bool fileExists(const std::string& path) override {
        if (!starting_) {
            fileChecks.push_back(path);
        }
        return ScriptedServices::fileExists(path);
    }
    bool startProgram(const std::string& path) override {
        starting_ = true;
        const bool started = !failStart && ScriptedServices::startProgram(path);
        starting_ = false;
        return started;
    }
    // What the user got: "start <path>" or "<title>: <message>" of an OK box.
    std::vector<std::string> seen() {
        std::vector<std::string> seen;
        for (const ServiceEvent& e : takeEvents()) {
            const bool okBox =
                e.kind == ServiceEvent::Kind::MsgBox && e.buttons == platform::MsgButtons::Ok;
            seen.push_back(e.kind == ServiceEvent::Kind::StartProgram ? "start " + e.path
                           : okBox                                    ? e.title + ": " + e.text
                                                                      : "other event");
        }
        return seen;
    }

    std::vector<std::string> fileChecks;
    bool failStart = false;

  private:
    bool starting_ = false;
};

const std::string kUnavailable = "Quarvell: System Information Is Unavailable At This Time";

class AboutBox : public ::testing::Test {
  protected:
    AboutBox() {
        form.observe([this](FormEvent e) { events.push_back(e); });
    }

    // The texts of the unloaded box (design) or the loaded one.
    void expectTexts(bool loaded) const {
        EXPECT_EQ(form.caption(), loaded ? "About Quarvell" : "About MyApp");
        EXPECT_EQ(form.lblTitle.caption(), loaded ? "Quarvell" : "Application Title");
        EXPECT_EQ(form.lblVersion.caption(),
                  loaded ? VersionText(kVersionMajor, kVersionMinor, kVersionRevision) : "Version");
        EXPECT_EQ(form.lblDescription.caption(),
                  loaded ? "Failure rate predictions based on MIL-HDBK-217F for Capacitors.\r\n"
                           "Based on worksheet previously created by Halvorin, TELVARO.\r\n"
                           "FIT = Failures In Time\r\n"
                           "FIT = Failures per Billion Part-Hours of Operation.\r\n"
                           "\r\n"
                           "Dervanth"
                         : "App Description");
    }

    Platform platform;
    FrmAbout form{platform};
    std::vector<FormEvent> events;
};

TEST_F(AboutBox, LoadsWithItsTextsAndVersion) {
    expectTexts(false);
    form.show();
    EXPECT_TRUE(form.loaded());
    expectTexts(true);
    EXPECT_EQ(form.cmdOK.caption(), "OK");
    EXPECT_EQ(form.cmdSysInfo.caption(), "&System Info...");
    EXPECT_EQ(events, std::vector<FormEvent>{FormEvent::Loaded});
    EXPECT_EQ(VersionText(3, 5, 31), "Version 3.5.31");
    EXPECT_EQ(VersionText(10, 0, 300), "Version 10.0.300");
}

TEST_F(AboutBox, ShowingTheOpenBoxBringsTheSameOneToTheFront) {
    form.show();
    form.lblTitle.setCaption("touched");  // a reload would put the title back
    form.show();
    form.show();
    EXPECT_EQ(form.raiseCount(), 2);
    EXPECT_EQ(form.lblTitle.caption(), "touched");
    EXPECT_EQ(events,
              (std::vector<FormEvent>{FormEvent::Loaded, FormEvent::Raised, FormEvent::Raised}));
}

TEST_F(AboutBox, EveryWayOfClosingUnloadsAndTheNextShowLoadsAfresh) {
    for (void (*close)(FrmAbout&) :
         {+[](FrmAbout& f) { f.cmdOK.click(); }, +[](FrmAbout& f) { f.pressEnter(); },
          +[](FrmAbout& f) { f.pressEscape(); }, +[](FrmAbout& f) { f.close(); }}) {
        events.clear();
        form.show();
        form.lblDescription.setCaption("touched");
        close(form);
        EXPECT_FALSE(form.loaded());
        expectTexts(false);
        close(form);  // nothing left to close
        form.show();
        expectTexts(true);
        EXPECT_EQ(events, (std::vector<FormEvent>{FormEvent::Loaded, FormEvent::Unloaded,
                                                  FormEvent::Loaded}));
        form.close();
    }
    EXPECT_EQ(form.raiseCount(), 0);
}

TEST_F(AboutBox, SystemInfoButtonLeavesTheBoxOpenAndDoesNothingOnceClosed) {
    form.show();
    form.cmdSysInfo.click();
    EXPECT_EQ(platform.seen(), std::vector<std::string>{kUnavailable});
    platform.scriptedRegistry().setText(kSysInfoKey, kSysInfoValue, "/usr/bin/hardinfo");
    platform.addFile("/usr/bin/hardinfo");
    form.cmdSysInfo.click();
    EXPECT_EQ(platform.seen(), std::vector<std::string>{"start /usr/bin/hardinfo"});
    EXPECT_TRUE(form.loaded());
    form.close();
    form.cmdSysInfo.click();
    EXPECT_TRUE(platform.seen().empty());
}

const std::string kKey = "SOFTWARE\\Test";

TEST(GetKeyValue, ConvertsByTypeAndClosesTheKey) {
    const struct {
        const char* what;
        std::uint32_t type;
        std::vector<unsigned char> bytes;
        std::string expected;  // the caller's value is "preset"
    } cases[] = {
        {"text with its zero", kRegSz, {'C', ':', '\\', 'x', 0}, "C:\\x"},
        {"text without a zero", kRegSz, {'C', ':', '\\', 'x'}, "C:\\x"},
        {"text loses only one zero", kRegSz, {'a', 'b', 0, 0}, std::string("ab\0", 3)},
        {"empty text with its zero", kRegSz, {0}, ""},
        {"empty text", kRegSz, {}, ""},
        {"text filling the buffer", kRegSz, std::vector<unsigned char>(1024, 'x'),
         std::string(1024, 'x')},
        {"number", kRegDword, {0x39, 0x30, 0, 0}, "12345"},
        {"number, little-endian", kRegDword, {0, 1, 0, 0}, "256"},
        {"number, high byte", kRegDword, {0, 0, 0, 1}, "16777216"},
        {"largest number", kRegDword, {0xff, 0xff, 0xff, 0xff}, "4294967295"},
        {"number of no bytes", kRegDword, {}, "0"},
        {"expandable text keeps the caller's value", 2, {'%', 'W', '%', 0}, "preset"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::ScriptedRegistry registry;
        registry.setValue(kKey, "V", c.type, c.bytes);
        std::string value = "preset";
        EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "V", value));
        EXPECT_EQ(value, c.expected);
        EXPECT_EQ(registry.openHandles(), 0);
    }
}

TEST(GetKeyValue, FailsWithAnEmptyValueAndClosesTheKey) {
    const struct {
        const char* what;
        const char* key;
        const char* name;
        std::size_t size;
    } cases[] = {
        {"no such key", "SOFTWARE\\Other", "V", 1},
        {"no such value", kKey.c_str(), "Other", 1},
        {"value larger than the buffer", kKey.c_str(), "V", 1025},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::ScriptedRegistry registry;
        registry.setValue(c.key, c.name, kRegSz, std::vector<unsigned char>(c.size, 'x'));
        std::string value = "preset";
        EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "V", value));
        EXPECT_EQ(value, "");
        EXPECT_EQ(registry.openHandles(), 0);
    }
}

// A registry that reports more bytes than the buffer holds must not make us read past it.
TEST(GetKeyValue, ClampsALengthBeyondTheBuffer) {
    struct OverReporting : platform::ScriptedRegistry {
        long queryValue(std::uintptr_t handle, const std::string& name, std::uint32_t& type,
                        std::vector<unsigned char>& buffer, std::uint32_t& size) override {
            const long result = ScriptedRegistry::queryValue(handle, name, type, buffer, size);
            size = 5000;
            return result;
        }
    } registry;
    registry.setText(kKey, "V", "abc");
    std::string value;
    ASSERT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "V", value));
    ASSERT_EQ(value.size(), 1023u);  // the buffer's last byte is a zero, dropped like a text's
    EXPECT_EQ(value.substr(0, 3), "abc");
}

const std::string kTool = "C:\\Program Files\\MSINFO\\MSINFO32.EXE";
const std::string kFolder = "C:\\Tools";
const std::string kFolderTool = "C:\\Tools\\MSINFO32.EXE";

TEST(StartSysInfo, TriesTheTwoLocationsInOrder) {
    const struct {
        const char* what;
        void (*script)(Platform&);
        std::string seen;
        std::vector<std::string> fileChecks;
    } cases[] = {
        {"first location, started without a file check",
         [](Platform& p) {
             p.scriptedRegistry().setText(kSysInfoKey, kSysInfoValue, kTool);
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, kFolder);
             p.addFile(kTool);
             p.addFile(kFolderTool);
         },
         "start " + kTool,
         {}},
        {"first location naming a missing file: no fallback",
         [](Platform& p) {
             p.scriptedRegistry().setText(kSysInfoKey, kSysInfoValue, kTool);
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, kFolder);
             p.addFile(kFolderTool);
         },
         kUnavailable,
         {}},
        {"first value not text: read, but names no program",
         [](Platform& p) {
             p.scriptedRegistry().setValue(kSysInfoKey, kSysInfoValue, 2, {'C', ':', 0});
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, kFolder);
             p.addFile(kFolderTool);
         },
         kUnavailable,
         {}},
        {"first key without the value falls back",
         [](Platform& p) {
             p.scriptedRegistry().setText(kSysInfoKey, "OTHER", kTool);
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, kFolder);
             p.addFile(kFolderTool);
         },
         "start " + kFolderTool,
         {kFolderTool}},
        {"second location without the file",
         [](Platform& p) {
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, kFolder);
             p.addFile(kFolder + "\\msinfo32.exe");
         },
         kUnavailable,
         {kFolderTool}},
        {"program that fails to start",
         [](Platform& p) {
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, kFolder);
             p.addFile(kFolderTool);
             p.failStart = true;
         },
         kUnavailable,
         {kFolderTool}},
        {"neither location", [](Platform&) {}, kUnavailable, {}},
        // An empty folder must not send us looking at the root of the drive.
        {"empty folder",
         [](Platform& p) {
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, "");
             p.addFile("\\MSINFO32.EXE");
         },
         kUnavailable,
         {}},
        // The platform would see the path cut at the zero byte: a different file.
        {"folder with a zero byte",
         [](Platform& p) {
             const std::string folder = kFolder + '\0' + "x";
             p.scriptedRegistry().setText(kSysInfoLocationKey, kSysInfoLocationValue, folder);
             p.addFile(folder + "\\MSINFO32.EXE");
         },
         kUnavailable,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Platform p;
        c.script(p);
        StartSysInfo(p);
        EXPECT_EQ(p.seen(), std::vector<std::string>{c.seen});
        EXPECT_EQ(p.fileChecks, c.fileChecks);
        EXPECT_EQ(p.scriptedRegistry().openHandles(), 0);
    }
}

}  // namespace
}  // namespace quarvell::about
