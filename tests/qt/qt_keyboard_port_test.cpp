#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "keysend/keysend.h"
#include "platform/qt/qt_keyboard_port.h"

namespace quarvell::platform::qt {
namespace {

class FocusOutCounter : public QObject {
  public:
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            ++count;
        }
        return false;
    }
};

class QtKeyboardPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(first_);
        layout->addWidget(second_);
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        first_->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), first_);
    }

    void send(const char* sequence) {
        keysend::SendKeySequence(port_, sequence, 0);
        // Posted events come out in one pass; a few more let anything they posted follow.
        for (int pass = 0; pass < 5; ++pass) {
            QCoreApplication::processEvents();
        }
    }

    QWidget window_;
    QLineEdit* first_ = new QLineEdit(&window_);
    QLineEdit* second_ = new QLineEdit(&window_);
    QtKeyboardPort port_;
};

// Keys are posted: they arrive once the sender has returned, each in the field that has the
// focus by its own time, and Tab moves the focus on (the field left learns it) and Shift+Tab
// back.
TEST_F(QtKeyboardPortTest, KeysArriveAfterTheSenderReturnedAndFollowTheFocusOfTheirTime) {
    FocusOutCounter focusOut;
    first_->installEventFilter(&focusOut);
    keysend::SendKeySequence(port_, "ab{TAB}cd", 0);
    EXPECT_EQ(QApplication::focusWidget(), first_);
    EXPECT_EQ(first_->text(), "");
    send("");
    EXPECT_EQ(QApplication::focusWidget(), second_);
    EXPECT_EQ(focusOut.count, 1);
    EXPECT_EQ(first_->text(), "ab");
    EXPECT_EQ(second_->text(), "cd");
    first_->removeEventFilter(&focusOut);
    send("+{TAB}");
    EXPECT_EQ(QApplication::focusWidget(), first_);
}

TEST_F(QtKeyboardPortTest, ShiftedCharactersAndEditingKeys) {
    send("Hello, {{}World{}}! 1{+}1=2~");
    EXPECT_EQ(first_->text(), "Hello, {World}! 1+1=2");
    send("{BS 3}{HOME}{DEL}");
    EXPECT_EQ(first_->text(), "ello, {World}! 1+");
    EXPECT_EQ(QApplication::focusWidget(), first_);
}

TEST_F(QtKeyboardPortTest, NoModifierStaysHeld) {
    send("+(ab)^");
    send("c");
    EXPECT_EQ(first_->text(), "ABc");
}

TEST(QtKeyboardPort, AnswersAsAUsEnglishNewerPlatformWithLocksOff) {
    QtKeyboardPort port;
    EXPECT_EQ(port.keyState(20), 0);
    EXPECT_EQ(port.keyState(144), 0);
    EXPECT_EQ(port.keyState(145), 0);
    EXPECT_EQ(keysend::KeySender(port).GetPlatformFamily(), "NT");
    EXPECT_EQ(port.vkKeyScan('A', 0), 0x141);
    EXPECT_EQ(port.mapVirtualKey(9, 0, 0), 0x0Fu);
    const std::uint32_t before = port.tickCount();
    EXPECT_LE(port.tickCount() - before, 60000u) << "ticks count forward";
}

}  // namespace
}  // namespace quarvell::platform::qt
