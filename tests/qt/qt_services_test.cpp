// The Qt services: message and input boxes exactly as asked, number locales, the clock, the
// event loop, ending the program, files and processes.

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <fstream>

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

TEST_F(ServicesTest, FilesProgramsVersionAndRegistry) {
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

    std::uintptr_t handle = 1;
    EXPECT_NE(services.registry().openKey(0x80000002u, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                          0x2003f, handle),
              0);
    EXPECT_EQ(&services.keyboard(), &keyboard);
}

}  // namespace
}  // namespace quarvell::platform::qt
