#include "about/frm_about.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_doubles.h"
#include "version.h"

namespace quarvell::about {
namespace {

const char* const kDescription =
    "Failure rate predictions based on MIL-HDBK-217F for Capacitors.\r\n"
    "Based on worksheet previously created by Halvorin, TELVARO.\r\n"
    "FIT = Failures In Time\r\n"
    "FIT = Failures per Billion Part-Hours of Operation.\r\n"
    "\r\n"
    "Dervanth";

class AboutBox : public ::testing::Test {
  protected:
    AboutBox() {
        form.observe([this](FormEvent e) { events.push_back(e); });
    }

    void expectDesignTexts() const {
        EXPECT_EQ(form.caption(), "About MyApp");
        EXPECT_EQ(form.lblTitle.caption(), "Application Title");
        EXPECT_EQ(form.lblVersion.caption(), "Version");
        EXPECT_EQ(form.lblDescription.caption(), "App Description");
    }

    void expectLoadedTexts() const {
        EXPECT_EQ(form.caption(), "About Quarvell");
        EXPECT_EQ(form.lblTitle.caption(), "Quarvell");
        EXPECT_EQ(form.lblVersion.caption(),
                  VersionText(kVersionMajor, kVersionMinor, kVersionRevision));
        EXPECT_EQ(form.lblDescription.caption(), kDescription);
    }

    fakes::FakeServices services;
    FrmAbout form{services};
    std::vector<FormEvent> events;
};

TEST_F(AboutBox, LoadsWithItsTextsAndFixedButtons) {
    expectDesignTexts();
    EXPECT_FALSE(form.loaded());

    form.show();
    EXPECT_TRUE(form.loaded());
    expectLoadedTexts();
    EXPECT_EQ(form.cmdOK.caption(), "OK");
    EXPECT_EQ(form.cmdSysInfo.caption(), "&System Info...");
    EXPECT_EQ(&form.defaultButton(), &form.cmdOK);
    EXPECT_EQ(&form.cancelButton(), &form.cmdOK);
    EXPECT_EQ(events, std::vector<FormEvent>{FormEvent::Loaded});
}

TEST(VersionText, WritesEachNumberAsPlainDecimal) {
    struct Case {
        int major, minor, revision;
        const char* text;
    };
    for (const Case& c : {Case{3, 5, 31, "Version 3.5.31"}, Case{1, 0, 0, "Version 1.0.0"},
                          Case{10, 20, 300, "Version 10.20.300"}}) {
        EXPECT_EQ(VersionText(c.major, c.minor, c.revision), c.text);
    }
}

TEST_F(AboutBox, ShowingTheOpenBoxBringsTheSameOneToTheFront) {
    form.show();
    form.lblTitle.setCaption("touched");  // a reload would put the title back
    form.show();
    form.show();
    EXPECT_TRUE(form.loaded());
    EXPECT_EQ(form.raiseCount(), 2);
    EXPECT_EQ(form.lblTitle.caption(), "touched");
    EXPECT_EQ(events,
              (std::vector<FormEvent>{FormEvent::Loaded, FormEvent::Raised, FormEvent::Raised}));
}

TEST_F(AboutBox, EveryWayOfClosingUnloadsAndTheNextShowLoadsAfresh) {
    struct Way {
        const char* what;
        void (*close)(FrmAbout&);
    };
    const Way ways[] = {
        {"cmdOK", [](FrmAbout& f) { f.cmdOK.click(); }},
        {"Enter", [](FrmAbout& f) { f.pressEnter(); }},
        {"Escape", [](FrmAbout& f) { f.pressEscape(); }},
        {"close box", [](FrmAbout& f) { f.close(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        events.clear();
        form.show();
        form.lblDescription.setCaption("touched");
        way.close(form);
        EXPECT_FALSE(form.loaded());
        expectDesignTexts();
        way.close(form);  // nothing left to close
        form.show();
        expectLoadedTexts();
        EXPECT_EQ(events, (std::vector<FormEvent>{FormEvent::Loaded, FormEvent::Unloaded,
                                                  FormEvent::Loaded}));
        form.close();
    }
    EXPECT_EQ(form.raiseCount(), 0);
}

TEST_F(AboutBox, SystemInfoButtonLeavesTheBoxOpen) {
    form.show();
    form.cmdSysInfo.click();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "System Information Is Unavailable At This Time");
    EXPECT_TRUE(form.loaded());

    services.reg().set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                       {1, fakes::Bytes("/usr/bin/hardinfo")});
    services.files = {"/usr/bin/hardinfo"};
    form.cmdSysInfo.click();
    EXPECT_EQ(services.started, std::vector<std::string>{"/usr/bin/hardinfo"});
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(form.loaded());

    form.close();
    form.cmdSysInfo.click();  // an unloaded box has no buttons to press
    EXPECT_EQ(services.started.size(), 1u);
    EXPECT_EQ(services.messages.size(), 1u);
}

}  // namespace
}  // namespace quarvell::about
