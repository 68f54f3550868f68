#pragma once
// Every user action that reaches the headless window (a key, a click, a choice, a focus
// change) runs through UserActions::run. It is the one place that catches ProgramEnded: the
// program may end inside any handler, also inside one that runs nested while another handler
// waits in a timed message or a dialog; then every window closes and no further handler runs.
// After each action the views catch up with what the handlers did to the focus.

#include <functional>
#include <map>

namespace quarvell::platform::qt {

class QtServices;

class UserActions {
  public:
    explicit UserActions(QtServices& services);
    UserActions(const UserActions&) = delete;
    UserActions& operator=(const UserActions&) = delete;

    // Runs one user action; nothing once the program has ended.
    void run(const std::function<void()>& action);
    // Runs after every action, and before every pass of the event loop that a waiting
    // handler asks for. Returns an id for removeFollowUp.
    int addFollowUp(std::function<void()> followUp);
    void removeFollowUp(int id);
    // How deep actions are nested right now (0: none is running).
    int depth() const { return depth_; }
    bool ended() const;
    QtServices& services() { return services_; }

  private:
    void followUp();

    QtServices& services_;
    int depth_ = 0;
    std::map<int, std::function<void()>> followUps_;
    int nextFollowUp_ = 1;
};

}  // namespace quarvell::platform::qt
