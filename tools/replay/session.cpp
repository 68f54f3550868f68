#include "tools/replay/session.h"

namespace quarvell::replay {

Session::Session(model::NumberLocale locale) : services(locale), window(services) {
    window.onShowMessage = [this](const std::string& title, const std::string& text,
                                  float seconds) {
        services.recordShowMessage(title, text, seconds);
    };
    services.scriptedKeyboard().setTarget(&window);
    act([this] { window.Form_Load(); });
}

void Session::act(const std::function<void()>& action) {
    if (ended_) {
        return;
    }
    try {
        action();
        services.deliverPendingInput();
    } catch (const platform::ProgramEnded&) {
        ended_ = true;
    }
}

}  // namespace quarvell::replay
