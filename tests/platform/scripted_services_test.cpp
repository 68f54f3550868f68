#include "platform/scripted_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarvell::platform {
namespace {

TEST(ScriptedServices, BoxesAnswerFromTheQueueOrWithCancelAndTheFirstButton) {
    ScriptedServices s;
    EXPECT_EQ(s.inputBox("p", "t", "0"), "");
    s.queueAnswer("12");
    s.queueCancel();
    s.queueAnswer("");
    for (const char* answer : {"12", "", ""}) {
        EXPECT_EQ(s.inputBox("p", "t", ""), answer);
    }

    EXPECT_EQ(s.messageBox("m", MsgButtons::YesNo, "t"), MsgAnswer::Yes);
    s.queueReply(MsgAnswer::No);
    s.queueReply(MsgAnswer::Yes);  // does not fit an OK box: used up, answered OK
    s.queueReply(MsgAnswer::Ok);   // nor a Yes/No box
    EXPECT_EQ(s.messageBox("m", MsgButtons::YesNo, "t"), MsgAnswer::No);
    EXPECT_EQ(s.messageBox("m", MsgButtons::Ok, "t"), MsgAnswer::Ok);
    EXPECT_EQ(s.messageBox("m", MsgButtons::YesNo, "t"), MsgAnswer::Yes);

    const auto events = s.takeEvents();
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].kind, ServiceEvent::Kind::InputBox);
    EXPECT_EQ(events[0].defaultAnswer, "0");
    EXPECT_FALSE(events[0].inputAnswer);  // cancelled
    EXPECT_EQ(events[1].inputAnswer, std::optional<std::string>("12"));
    EXPECT_FALSE(events[2].inputAnswer);
    EXPECT_EQ(events[3].inputAnswer, std::optional<std::string>(""));  // answered, empty
    EXPECT_EQ(events[5].answer, MsgAnswer::No);
    EXPECT_TRUE(s.takeEvents().empty());
}

TEST(ScriptedServices, EndingRecordsAndThrows) {
    ScriptedServices s;
    EXPECT_THROW(s.endProgram(), ProgramEnded);
    EXPECT_TRUE(s.ended());
    ASSERT_EQ(s.events().size(), 1u);
    EXPECT_EQ(s.events()[0].kind, ServiceEvent::Kind::End);
}

TEST(ScriptedServices, ClockMovesOnlyWithEventsAndWaitsAndWrapsAtMidnight) {
    ScriptedServices s;
    s.setClock(100);
    s.processEvents();
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 100 + ScriptedServices::kEventStepSeconds);
    s.setClock(86399);
    s.wait(2.5);
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 1.5);
    s.wait(-3);
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 1.5);
    s.setClock(-10);
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 86390);
    // The event hook does not re-enter itself.
    int calls = 0;
    s.onProcessEvents = [&] {
        ++calls;
        s.processEvents();
    };
    s.processEvents();
    EXPECT_EQ(calls, 1);
}

TEST(ScriptedServices, DateIsFixedAndMovesOnAtMidnightWithTheClock) {
    ScriptedServices s;
    EXPECT_EQ(s.localDateTime(), (LocalDateTime{.year = 2026, .month = 1, .day = 5, .hour = 10}));
    s.setClock(86399.5);
    EXPECT_EQ(s.localDateTime(),
              (LocalDateTime{
                  .year = 2026, .month = 1, .day = 5, .hour = 23, .minute = 59, .second = 59}));
    s.wait(1);
    EXPECT_EQ(s.localDateTime(), (LocalDateTime{.year = 2026, .month = 1, .day = 6}));
    // Across the end of a month, several days at once.
    s.wait(26 * kSecondsPerDay + 3661);
    EXPECT_EQ(
        s.localDateTime(),
        (LocalDateTime{.year = 2026, .month = 2, .day = 1, .hour = 1, .minute = 1, .second = 1}));
}

// Lookups through the registry are tested with the About box; here only handles.
TEST(ScriptedRegistry, AnswersOnlyUnderItsRootAndOnlyOpenHandles) {
    ScriptedRegistry r;
    r.setText("SOFTWARE\\K", "PATH", "C:\\x");
    std::uintptr_t h = 0;
    EXPECT_EQ(r.openKey(0x80000001u, "SOFTWARE\\K", 0x2003f, h), kRegFileNotFound);  // other root
    ASSERT_EQ(r.openKey(kHkeyLocalMachine, "SOFTWARE\\K", 0x2003f, h), kRegSuccess);
    EXPECT_EQ(r.closeKey(h), kRegSuccess);
    EXPECT_EQ(r.closeKey(h), kRegInvalidHandle);
    std::uint32_t type = 0;
    std::uint32_t size = 1024;
    std::vector<unsigned char> buffer(size);
    EXPECT_EQ(r.queryValue(h, "PATH", type, buffer, size), kRegInvalidHandle);
    EXPECT_EQ(r.openHandles(), 0);
}

class ScriptedKeys : public ::testing::Test, public KeyInput {
  protected:
    ScriptedKeys() { keyboard.setTarget(this); }
    void keyDown(int virtualKey, bool) override { lastDown = virtualKey; }
    void keyPress(int keyAscii) override { typed += static_cast<char>(keyAscii); }

    // A key going down (or up) with the given shift-state bits.
    void send(int vk, bool down, std::uint16_t bits = 0) {
        KeyEvent e;
        e.virtualKey = static_cast<std::uint16_t>(vk | bits);
        e.flags = kKeyEventScanCode | (down ? 0u : kKeyEventKeyUp);
        keyboard.sendInput({e});
    }
    void press(int vk, std::uint16_t bits = 0) {
        send(vk, true, bits);
        send(vk, false, bits);
    }

    ScriptedServices services;
    ScriptedKeyboard& keyboard = services.scriptedKeyboard();
    int lastDown = 0;
    std::string typed;
};

TEST_F(ScriptedKeys, LayoutMapsCharactersToKeysAndScanCodes) {
    const std::pair<char, int> cases[] = {
        {'a', 'A'}, {'A', 0x100 | 'A'}, {'&', 0x100 | '7'}, {'~', 0x100 | 0xC0}, {'\x01', -1}};
    for (const auto& [ch, code] : cases) {
        EXPECT_EQ(keyboard.vkKeyScan(static_cast<std::uint8_t>(ch), 0), code) << ch;
    }
    EXPECT_EQ(keyboard.mapVirtualKey(kVkTab, 0, 0), 0x0Fu);
    EXPECT_EQ(keyboard.mapVirtualKey('A', 0, 0), 0x1Eu);
    VersionRecordBytes v{};
    EXPECT_TRUE(keyboard.getVersion(v));
    EXPECT_EQ(v[0], 148);
    EXPECT_NE(v[16], 1) << "the newer platform family";
}

TEST_F(ScriptedKeys, KeysArriveWhenEventsAreProcessedWithShiftLocksAndAltCodes) {
    press('A');
    send(kVkShift, true);
    press('A');
    press('1');
    send(kVkShift, false);
    press(kVkTab);
    EXPECT_TRUE(typed.empty()) << "nothing before the event loop runs";
    services.processEvents();
    EXPECT_EQ(typed, "aA!");
    EXPECT_EQ(lastDown, kVkTab);

    press(kVkCapsLock);
    services.deliverPendingInput();
    EXPECT_NE(keyboard.keyState(kVkCapsLock), 0);
    press('B');
    press('B', 0x100);
    // Alt with keypad digits composes a character when Alt goes up.
    send(kVkAlt, true);
    press(96 + 6);
    press(96 + 5);
    send(kVkAlt, false);
    services.deliverPendingInput();
    EXPECT_EQ(typed, "aA!BbA");
}

}  // namespace
}  // namespace quarvell::platform
