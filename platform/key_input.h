#pragma once
// Where a keyboard port delivers the user's keys in a headless window: a key going down (Tab,
// Shift+Tab and F1 act here) and then the character it types, which goes through the window's
// key preview to the focused control. Keys are the virtual-key codes of key_codes.h.

#include "platform/key_codes.h"

namespace quarvell::platform {

class KeyInput {
  public:
    virtual ~KeyInput() = default;
    virtual void keyDown(int virtualKey, bool shift) = 0;
    virtual void keyPress(int keyAscii) = 0;
};

}  // namespace quarvell::platform
