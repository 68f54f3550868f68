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
    EXPECT_EQ(s.inputBox("p", "t", ""), "12");
    EXPECT_EQ(s.inputBox("p", "t", ""), "");
    EXPECT_EQ(s.inputBox("p", "t", ""), "");

    EXPECT_EQ(s.messageBox("m", MsgButtons::YesNo, "t"), MsgAnswer::Yes);
    EXPECT_EQ(s.messageBox("m", MsgButtons::Ok, "t"), MsgAnswer::Ok);
    s.queueReply(MsgAnswer::No);
    s.queueReply(MsgAnswer::Yes);  // does not fit an OK box: used up, answered OK
    s.queueReply(MsgAnswer::Ok);   // nor a Yes/No box
    EXPECT_EQ(s.messageBox("m", MsgButtons::YesNo, "t"), MsgAnswer::No);
    EXPECT_EQ(s.messageBox("m", MsgButtons::Ok, "t"), MsgAnswer::Ok);
    EXPECT_EQ(s.messageBox("m", MsgButtons::YesNo, "t"), MsgAnswer::Yes);

    const auto events = s.takeEvents();
    ASSERT_EQ(events.size(), 9u);
    EXPECT_EQ(events[0].kind, ServiceEvent::Kind::InputBox);
    EXPECT_FALSE(events[0].inputAnswer);
    EXPECT_EQ(events[0].defaultAnswer, "0");
    EXPECT_EQ(events[1].inputAnswer, std::optional<std::string>("12"));
    EXPECT_FALSE(events[2].inputAnswer);
    EXPECT_EQ(events[3].inputAnswer, std::optional<std::string>(""));
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
    EXPECT_EQ(s.secondsSinceMidnight(), 100);
    s.processEvents();
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 100 + ScriptedServices::kEventStepSeconds);
    s.setClock(86399);
    s.wait(2.5);
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 1.5);
    s.wait(-3);
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 1.5);
    s.setClock(-10);
    EXPECT_DOUBLE_EQ(s.secondsSinceMidnight(), 86390);
}

TEST(ScriptedServices, EventHookDoesNotReenterItself) {
    ScriptedServices s;
    int calls = 0;
    s.onProcessEvents = [&] {
        ++calls;
        s.processEvents();
    };
    s.processEvents();
    EXPECT_EQ(calls, 1);
}

TEST(ScriptedServices, ProgramsStartOnlyWhenTheirFileExists) {
    ScriptedServices s;
    EXPECT_FALSE(s.startProgram("C:\\tool.exe"));
    s.addFile("C:\\tool.exe");
    EXPECT_TRUE(s.fileExists("C:\\tool.exe"));
    EXPECT_TRUE(s.startProgram("C:\\tool.exe"));
    ASSERT_EQ(s.events().size(), 1u);
    EXPECT_EQ(s.events()[0].path, "C:\\tool.exe");
}

TEST(ScriptedRegistry, OpensQueriesAndClosesLikeTheClassicCalls) {
    ScriptedRegistry r;
    r.setText("SOFTWARE\\K", "PATH", "C:\\x");
    std::uintptr_t h = 0;
    EXPECT_EQ(r.openKey(0x80000001u, "SOFTWARE\\K", 0x2003f, h), kRegFileNotFound);
    EXPECT_EQ(r.openKey(kRegLocalMachine, "SOFTWARE\\Other", 0x2003f, h), kRegFileNotFound);
    ASSERT_EQ(r.openKey(kRegLocalMachine, "SOFTWARE\\K", 0x2003f, h), kRegSuccess);
    EXPECT_EQ(r.openHandles(), 1);

    std::uint32_t type = 0;
    std::vector<unsigned char> buffer(1024);
    std::uint32_t size = 1024;
    ASSERT_EQ(r.queryValue(h, "PATH", type, buffer, size), kRegSuccess);
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(size, 5u);  // with its trailing zero byte
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 4), "C:\\x");

    std::uint32_t small = 2;
    EXPECT_EQ(r.queryValue(h, "PATH", type, buffer, small), kRegMoreData);
    EXPECT_EQ(small, 5u);
    EXPECT_EQ(r.queryValue(h, "MISSING", type, buffer, size), kRegFileNotFound);
    EXPECT_EQ(r.closeKey(h), kRegSuccess);
    EXPECT_EQ(r.closeKey(h), kRegInvalidHandle);
    EXPECT_EQ(r.queryValue(h, "PATH", type, buffer, size), kRegInvalidHandle);
    EXPECT_EQ(r.openHandles(), 0);
}

class ScriptedKeys : public ::testing::Test {
  protected:
    ScriptedKeys() {
        keyboard.setTarget({[this](int vk, bool shift) {
                                downs.push_back(vk);
                                shifts.push_back(shift);
                            },
                            [this](int ch) { typed += static_cast<char>(ch); }});
    }

    void press(int vk, std::uint16_t extra = 0) {
        KeyEvent down;
        down.virtualKey = static_cast<std::uint16_t>(vk | extra);
        down.flags = kKeyEventScanCode;
        KeyEvent up = down;
        up.flags |= kKeyEventKeyUp;
        keyboard.sendInput({down, up});
    }

    void hold(int vk, bool down) {
        KeyEvent e;
        e.virtualKey = static_cast<std::uint16_t>(vk);
        e.flags = kKeyEventScanCode | (down ? 0u : kKeyEventKeyUp);
        keyboard.sendInput({e});
    }

    ScriptedServices services;
    ScriptedKeyboard& keyboard = services.scriptedKeyboard();
    std::vector<int> downs;
    std::vector<bool> shifts;
    std::string typed;
};

TEST_F(ScriptedKeys, LayoutMapsCharactersToKeysAndScanCodes) {
    const struct {
        char ch;
        int code;
    } cases[] = {{'a', 'A'},  {'A', 0x100 | 'A'},  {'7', '7'}, {'&', 0x100 | '7'},
                 {'.', 0xBE}, {'~', 0x100 | 0xC0}, {'\r', 13}, {'\t', 9},
                 {' ', ' '},  {'\x01', -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(keyboard.vkKeyScan(static_cast<std::uint8_t>(c.ch), 0), c.code) << c.ch;
    }
    EXPECT_EQ(keyboard.mapVirtualKey(kVkTab, 0, 0), 0x0Fu);
    EXPECT_EQ(keyboard.mapVirtualKey('A', 0, 0), 0x1Eu);
    EXPECT_EQ(keyboard.mapVirtualKey(kVkNumLock, 0, 0), 0x45u);
    VersionRecordBytes v{};
    EXPECT_TRUE(keyboard.getVersion(v));
    EXPECT_EQ(v[0], 148);
    EXPECT_NE(v[16], 1) << "the newer platform family";
}

TEST_F(ScriptedKeys, KeysArriveWhenEventsAreProcessedWithShiftAndLocks) {
    press('A');
    hold(kVkShift, true);
    press('A');
    press('1');
    hold(kVkShift, false);
    press(kVkTab);
    EXPECT_TRUE(typed.empty()) << "nothing before the event loop runs";
    services.processEvents();
    EXPECT_EQ(typed, "aA!");
    EXPECT_EQ(downs.back(), kVkTab);

    typed.clear();
    EXPECT_EQ(keyboard.keyState(kVkCapsLock), 0);
    press(kVkCapsLock);
    services.deliverPendingInput();
    EXPECT_NE(keyboard.keyState(kVkCapsLock), 0);
    press('B');
    press('B', 0x100);
    services.deliverPendingInput();
    EXPECT_EQ(typed, "Bb");
}

TEST_F(ScriptedKeys, AltWithKeypadDigitsComposesACharacter) {
    hold(kVkAlt, true);
    press(96 + 6);
    press(96 + 5);
    hold(kVkAlt, false);
    services.deliverPendingInput();
    EXPECT_EQ(typed, "A");
}

}  // namespace
}  // namespace quarvell::platform
