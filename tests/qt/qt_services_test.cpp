// The Qt services: message and input boxes exactly as asked, number locales, the clock, the
// event loop, ending the program, files and processes, and the registry's stand-in.

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <fstream>

#include "about/sys_info.h"
#include "modal_answerer.h"
#include "platform/qt/qt_keyboard_port.h"
#include "platform/qt/qt_services.h"
#include "version.h"

namespace quarvell::platform::qt {
namespace {

class ServicesTest : public ::testing::Test {
  protected:
    QtKeyboardPort keyboard;
    QtServices services{keyboard};
};

TEST(NumberLocale, SeparatorsComeFromTheLocaleInAscii) {
    EXPECT_EQ(numberLocaleOf(QLocale::c()), (NumberLocale{'.', ','}));
    EXPECT_EQ(numberLocaleOf(QLocale(QLocale::English, QLocale::UnitedStates)),
              (NumberLocale{'.', ','}));
    EXPECT_EQ(numberLocaleOf(QLocale(QLocale::German, QLocale::Germany)), (NumberLocale{',', '.'}));
    // A no-break space of any width groups as a space.
    EXPECT_EQ(numberLocaleOf(QLocale(QLocale::French, QLocale::France)), (NumberLocale{',', ' '}));
    // Separators outside ASCII fall back to the usual pair, never to a clash.
    const NumberLocale arabic = numberLocaleOf(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_NE(arabic.decimal, arabic.group);
    const NumberLocale swiss = numberLocaleOf(QLocale(QLocale::German, QLocale::Switzerland));
    EXPECT_EQ(swiss.decimal, '.');
    EXPECT_NE(swiss.group, '.');
}

TEST_F(ServicesTest, MessageBoxesShowTheExactTextTitleAndButtonsWithoutIcon) {
    qt_test::ModalAnswerer dialogs;
    dialogs.press(QMessageBox::No);
    dialogs.press(QMessageBox::Yes);
    dialogs.press(QMessageBox::Ok);
    EXPECT_EQ(services.messageBox("Are you sure you want to quit?", MsgButtons::YesNo, "Quarvell"),
              MsgAnswer::No);
    EXPECT_EQ(services.messageBox("Sure?", MsgButtons::YesNo, "Quarvell"), MsgAnswer::Yes);
    EXPECT_EQ(services.messageBox("Entry was  ot numeric.\r\nIgnoring entry.", MsgButtons::Ok,
                                  "Quarvell"),
              MsgAnswer::Ok);
    ASSERT_EQ(dialogs.seen().size(), 3U);
    EXPECT_EQ(dialogs.seen()[0].title, "Quarvell");
    EXPECT_EQ(dialogs.seen()[0].text, "Are you sure you want to quit?");
    EXPECT_EQ(dialogs.seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(dialogs.seen()[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(dialogs.seen()[2].buttons, QMessageBox::Ok);
    EXPECT_EQ(dialogs.seen()[2].text, "Entry was  ot numeric.\nIgnoring entry.");
}

TEST_F(ServicesTest, EscapeAnswersTheQuitQuestionWithNo) {
    QTimer::singleShot(50, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(services.messageBox("Sure?", MsgButtons::YesNo, "Quarvell"), MsgAnswer::No);
}

TEST_F(ServicesTest, InputBoxesReturnTheAnswerOrNothingOnCancel) {
    qt_test::ModalAnswerer dialogs;
    dialogs.answer("12.5");
    dialogs.answer(std::nullopt);
    dialogs.answer("");
    EXPECT_EQ(services.inputBox("Enter the %/kHrs Failure Rate:", "Failure Rate Entry", ""),
              "12.5");
    EXPECT_EQ(services.inputBox("Entry of Hours tested is incorrect - retry entry.\r\n(Must "
                                "enter 1 or greater - no '0'.)",
                                "Input Hours Tested.", "0"),
              "");
    EXPECT_EQ(services.inputBox("p", "t", "0"), "");
    ASSERT_EQ(dialogs.seen().size(), 3U);
    EXPECT_EQ(dialogs.seen()[0].title, "Failure Rate Entry");
    EXPECT_EQ(dialogs.seen()[0].text, "Enter the %/kHrs Failure Rate:");
    // The title bar has room for the whole title besides its buttons, in a bold face.
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GE(dialogs.seen()[0].width,
              QFontMetrics(bold).horizontalAdvance(QStringLiteral("Failure Rate Entry")) + 100);
    EXPECT_EQ(dialogs.seen()[1].title, "Input Hours Tested.");
    EXPECT_EQ(dialogs.seen()[1].defaultAnswer, "0");
    EXPECT_EQ(dialogs.seen()[1].text,
              "Entry of Hours tested is incorrect - retry entry.\n(Must enter 1 or greater - no "
              "'0'.)");
}

TEST_F(ServicesTest, ProcessingEventsRunsWhatIsWaitingAndAClockThatMoves) {
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    for (int i = 0; i < 100 && !ran; ++i) {
        services.processEvents();
    }
    EXPECT_TRUE(ran);
    const double now = services.secondsSinceMidnight();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 86400.0);
}

TEST_F(ServicesTest, EndingTheProgramHidesEveryWindowAndStopsWaitingHandlers) {
    QWidget window;
    window.show();
    EXPECT_THROW(services.endProgram(), ProgramEnded);
    EXPECT_TRUE(services.ended());
    EXPECT_FALSE(window.isVisible());
    EXPECT_THROW(services.processEvents(), ProgramEnded);
}

TEST_F(ServicesTest, FilesProgramsAndVersion) {
    QTemporaryDir dir;
    const std::string file = (dir.path() + "/MSINFO32.EXE").toStdString();
    std::ofstream(file) << "x";
    EXPECT_TRUE(services.fileExists(file));
    EXPECT_FALSE(services.fileExists(dir.path().toStdString()));
    EXPECT_FALSE(services.fileExists(file + ".missing"));
    EXPECT_FALSE(services.startProgram(file + ".missing"));
    EXPECT_TRUE(services.startProgram("/bin/true"));

    const VersionRecord v = services.versionRecord();
    EXPECT_EQ(v.title, "Quarvell");
    EXPECT_EQ(v.major, kVersionMajor);
    EXPECT_EQ(v.minor, kVersionMinor);
    EXPECT_EQ(v.revision, kVersionRevision);
    EXPECT_EQ(&services.keyboard(), &keyboard);
}

// A folder standing in for one directory of the PATH, with programs put into it.
struct PathDir {
    QTemporaryDir dir;
    QString put(const QString& name, bool executable = true) const {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                       : QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
};

std::string readToolPath(QtRegistry& registry) {
    std::string value;
    return about::GetKeyValue(registry, platform::kHkeyLocalMachine, about::kSysInfoKey,
                              about::kSysInfoValue, value)
               ? value
               : "(none)";
}

TEST(Registry, TheToolIsTheFirstCandidateFoundOnThePath) {
    PathDir first;
    PathDir second;
    const QString path = first.dir.path() + ":" + second.dir.path();
    const QStringList tools{"hardinfo2", "hardinfo", "gnome-system-monitor"};

    QtRegistry none(path, tools);
    EXPECT_EQ(readToolPath(none), "(none)");

    second.put("gnome-system-monitor");
    first.put("hardinfo", false);  // not a program
    QtRegistry registry(path, tools);
    EXPECT_EQ(readToolPath(registry), second.dir.filePath("gnome-system-monitor").toStdString());
    // The PATH is searched again at every lookup, candidates in their order.
    const QString hardinfo = second.put("hardinfo");
    EXPECT_EQ(readToolPath(registry), hardinfo.toStdString());

    // Relative and empty PATH entries are never searched.
    QtRegistry relative(QStringLiteral("::.:bin"), tools);
    EXPECT_EQ(readToolPath(relative), "(none)");

    // Stored as text with its zero byte, and too long for a small buffer.
    std::uintptr_t key = 0;
    ASSERT_EQ(registry.openKey(platform::kHkeyLocalMachine, about::kSysInfoKey,
                               platform::kKeyAllAccess, key),
              0);
    std::uint32_t type = 0;
    std::vector<unsigned char> buffer(1024);
    std::uint32_t size = 1024;
    ASSERT_EQ(registry.queryValue(key, "PATH", type, buffer, size), 0);
    EXPECT_EQ(type, platform::kRegSz);
    EXPECT_EQ(size, hardinfo.toUtf8().size() + 1);
    EXPECT_EQ(buffer[size - 1], 0);
    std::uint32_t small = 4;
    EXPECT_NE(registry.queryValue(key, "PATH", type, buffer, small), 0);
    EXPECT_NE(registry.queryValue(key, "MSINFO", type, buffer, size), 0);
    EXPECT_EQ(registry.closeKey(key), 0);
    EXPECT_NE(registry.queryValue(key, "PATH", type, buffer, size), 0);

    // The folder location of the tool does not exist on this platform.
    std::string folder;
    EXPECT_FALSE(about::GetKeyValue(registry, platform::kHkeyLocalMachine,
                                    about::kSysInfoLocationKey, about::kSysInfoLocationValue,
                                    folder));
    EXPECT_NE(registry.openKey(0x80000001u, about::kSysInfoKey, platform::kKeyAllAccess, key), 0);
}

}  // namespace
}  // namespace quarvell::platform::qt
