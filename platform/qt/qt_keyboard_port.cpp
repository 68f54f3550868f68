#include "platform/qt/qt_keyboard_port.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

#include <array>
#include <chrono>

#include "platform/key_codes.h"
#include "platform/us_keyboard.h"

namespace quarvell::platform::qt {
namespace {

constexpr std::uintptr_t kUsLayout = 0x04090409;
constexpr std::uint32_t kGuiThread = 1;
constexpr std::uint8_t kNewerFamilyPlatformId = 2;

const QEvent::Type kPendingKeyEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// A key event waiting in the queue; its receiver is decided when it comes out.
class PendingKey : public QEvent {
  public:
    PendingKey(QEvent::Type keyType, int key, Qt::KeyboardModifiers modifiers, QString text,
               std::uint16_t scanCode, std::uint16_t virtualKey)
        : QEvent(kPendingKeyEvent),
          keyType_(keyType),
          key_(key),
          modifiers_(modifiers),
          text_(std::move(text)),
          scanCode_(scanCode),
          virtualKey_(virtualKey) {}

    void deliver() const {
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr) {
            target = QApplication::activeWindow();
        }
        if (target == nullptr) {
            return;  // none of our windows has the keyboard
        }
        QKeyEvent event(keyType_, key_, modifiers_, scanCode_, virtualKey_, 0, text_);
        QCoreApplication::sendEvent(target, &event);
    }

  private:
    QEvent::Type keyType_;
    int key_;
    Qt::KeyboardModifiers modifiers_;
    QString text_;
    std::uint16_t scanCode_;
    std::uint16_t virtualKey_;
};

// The character a key types with or without Shift, from the same US-English table the
// lookups use; 0 for none.
using TypedCharacters = std::array<char, kControlBit>;

TypedCharacters makeTypedCharacters() {
    TypedCharacters typed{};
    for (int c = ' '; c <= '~'; ++c) {
        const std::int16_t key = usKeyForCharacter(static_cast<std::uint8_t>(c));
        if (key >= 0 && key < kControlBit) {
            typed[static_cast<std::size_t>(key)] = static_cast<char>(c);
        }
    }
    return typed;
}

int qtKeyOfNamedKey(std::uint8_t code, bool shift) {
    switch (code) {
        case kVkBack:
            return Qt::Key_Backspace;
        case kVkTab:
            return shift ? Qt::Key_Backtab : Qt::Key_Tab;
        case kVkReturn:
            return Qt::Key_Return;
        case kVkShift:
            return Qt::Key_Shift;
        case kVkControl:
            return Qt::Key_Control;
        case kVkAlt:
            return Qt::Key_Alt;
        case kVkPause:
            return Qt::Key_Pause;
        case kVkCapsLock:
            return Qt::Key_CapsLock;
        case kVkEscape:
            return Qt::Key_Escape;
        case kVkPageUp:
            return Qt::Key_PageUp;
        case kVkPageDown:
            return Qt::Key_PageDown;
        case kVkEnd:
            return Qt::Key_End;
        case kVkHome:
            return Qt::Key_Home;
        case kVkLeft:
            return Qt::Key_Left;
        case kVkUp:
            return Qt::Key_Up;
        case kVkRight:
            return Qt::Key_Right;
        case kVkDown:
            return Qt::Key_Down;
        case kVkPrint:
        case kVkPrintScreen:
            return Qt::Key_Print;
        case kVkInsert:
            return Qt::Key_Insert;
        case kVkDelete:
            return Qt::Key_Delete;
        case kVkHelp:
            return Qt::Key_Help;
        case kVkNumLock:
            return Qt::Key_NumLock;
        case kVkScrollLock:
            return Qt::Key_ScrollLock;
        default:
            break;
    }
    if (code >= kVkF1 && code <= kVkF16) {
        return Qt::Key_F1 + (code - kVkF1);
    }
    return Qt::Key_unknown;
}

QString controlText(int key) {
    switch (key) {
        case Qt::Key_Backspace:
            return QStringLiteral("\b");
        case Qt::Key_Tab:
            return QStringLiteral("\t");
        case Qt::Key_Return:
            return QStringLiteral("\r");
        case Qt::Key_Escape:
            return QStringLiteral("\x1b");
        default:
            return {};
    }
}

}  // namespace

class QtKeyboardPort::Relay : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == kPendingKeyEvent) {
            static_cast<PendingKey*>(event)->deliver();
            return true;
        }
        return QObject::event(event);
    }
};

QtKeyboardPort::QtKeyboardPort() : relay_(std::make_unique<Relay>()) {}

QtKeyboardPort::~QtKeyboardPort() = default;

std::uintptr_t QtKeyboardPort::foregroundWindow() {
    return reinterpret_cast<std::uintptr_t>(QApplication::activeWindow());
}

std::uint32_t QtKeyboardPort::windowThreadProcessId(std::uintptr_t) {
    return kGuiThread;
}

std::uintptr_t QtKeyboardPort::keyboardLayout(std::uint32_t) {
    return kUsLayout;
}

std::int16_t QtKeyboardPort::vkKeyScan(std::uint8_t character, std::uintptr_t) {
    return usKeyForCharacter(character);
}

std::uint32_t QtKeyboardPort::mapVirtualKey(std::uint32_t code, std::uint32_t mapType,
                                            std::uintptr_t) {
    if (mapType != 0 || code > 0xFF) {
        return 0;
    }
    return usScanCode(static_cast<std::uint8_t>(code));
}

std::uint32_t QtKeyboardPort::sendInput(const std::vector<KeyEvent>& events) {
    for (const KeyEvent& event : events) {
        post(event);
    }
    return static_cast<std::uint32_t>(events.size());
}

void QtKeyboardPort::post(const KeyEvent& event) {
    static const TypedCharacters typed = makeTypedCharacters();

    const bool down = (event.flags & kKeyEventKeyUp) == 0;
    const auto code = static_cast<std::uint8_t>(event.virtualKey & 0xFF);
    switch (code) {
        case kVkShift:
            shiftDown_ = down;
            break;
        case kVkControl:
            controlDown_ = down;
            break;
        case kVkAlt:
            altDown_ = down;
            break;
        default:
            break;
    }

    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, shiftDown_);
    modifiers.setFlag(Qt::ControlModifier, controlDown_);
    modifiers.setFlag(Qt::AltModifier, altDown_);

    int key = qtKeyOfNamedKey(code, shiftDown_);
    QString text;
    if (code >= kVkNumpad0 && code <= kVkNumpad0 + 9) {
        key = Qt::Key_0 + (code - kVkNumpad0);
        modifiers |= Qt::KeypadModifier;
        text = QString(QChar('0' + (code - kVkNumpad0)));
    } else if (key == Qt::Key_unknown) {
        const char c = typed[(shiftDown_ ? kShiftBit : 0) | code];
        if (c == 0) {
            return;  // no key of the US layout
        }
        text = QString(QChar::fromLatin1(c));
        key = text.toUpper().at(0).unicode();
    } else {
        text = controlText(key);
    }
    // With Control or Alt held a key is a command, not typing.
    if (controlDown_ || altDown_) {
        text.clear();
    }
    QCoreApplication::postEvent(
        relay_.get(), new PendingKey(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers,
                                     text, event.scanCode, code));
}

std::int16_t QtKeyboardPort::keyState(int) {
    return 0;
}

void QtKeyboardPort::getKeyboardState(KeyboardStateTable& table) {
    table.fill(0);
}

void QtKeyboardPort::setKeyboardState(const KeyboardStateTable&) {}

bool QtKeyboardPort::getVersion(VersionRecordBytes& record) {
    if (record[0] != record.size()) {
        return false;
    }
    record[16] = kNewerFamilyPlatformId;
    return true;
}

std::uint8_t QtKeyboardPort::charToOem(std::uint8_t character) {
    return ansiToOem(character);
}

// Truncated to 32 bits, it wraps like the platform's tick count.
std::uint32_t QtKeyboardPort::tickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void QtKeyboardPort::processEvents() {
    QCoreApplication::processEvents();
}

}  // namespace quarvell::platform::qt
