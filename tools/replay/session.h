#pragma once
// The replay tool's library: a headless calculator on the scripted platform (Session), the
// script of user actions that drives it, and the JSON report of what the user would see. The
// command-line program and the behaviour tests share it, so a scenario runs the same either
// way.

#include <functional>
#include <string>

#include "analysis/sheet.h"

#include "platform/scripted_services.h"
#include "window/frm_fit.h"

namespace quarvell::replay {

// The calculator as the program starts it, on the scripted platform.
class Session {
  public:
    explicit Session(model::NumberLocale locale = model::kPeriodLocale);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs one user action the way the event loop dispatches it: the end of the program inside
    // ends the session, and synthetic keys queued meanwhile arrive once the action is done.
    // Nothing runs once the session has ended.
    void act(const std::function<void()>& action);
    bool ended() const { return ended_; }

    platform::ScriptedServices services;
    window::FrmFit window;
    // Draws a sheet into a PDF file; false with the reason in `error`. Unset where the tool is
    // built without a PDF writer.
    std::function<bool(const analysis::Sheet& sheet, const std::string& path, std::string& error)>
        writePdf;

  private:
    bool ended_ = false;
};

}  // namespace quarvell::replay
