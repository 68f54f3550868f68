// The timed message window and the wait that keeps the window responsive.
#include <cmath>

#include "window/frm_fit.h"

namespace quarvell::window {

namespace {

constexpr double kSecondsPerDay = 86400.0;

}  // namespace

void Pause(platform::Services& services, float seconds) {
    // Measured as time elapsed rather than against an end time of day, so that a wait across
    // midnight, where the time of day starts again from 0, ends on time instead of never.
    double wanted = seconds;
    if (!(wanted > 0)) {
        return;
    }
    wanted = std::fmin(wanted, kSecondsPerDay - 1);
    const double start = services.secondsSinceMidnight();
    for (;;) {
        double elapsed = services.secondsSinceMidnight() - start;
        if (elapsed < 0) {
            elapsed += kSecondsPerDay;
        }
        if (elapsed >= wanted) {
            return;
        }
        services.processEvents();
    }
}

void FrmFit::ShowMessage(const std::string& title, const std::string& text, float seconds) {
    frmMsg.form.setCaption(title);
    frmMsg.txtMsg.setCaption(text);
    frmMsg.form.setVisible(true);
    if (onShowMessage) {
        onShowMessage(title, text, seconds);
    }
    services_.beep();
    Pause(services_, seconds);
    frmMsg.form.setVisible(false);
}

}  // namespace quarvell::window
