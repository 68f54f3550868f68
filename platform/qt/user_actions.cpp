#include "platform/qt/user_actions.h"

#include "platform/qt/qt_services.h"
#include "platform/services.h"

#include <vector>

namespace quarvell::platform::qt {

UserActions::UserActions(QtServices& services) : services_(services) {
    services_.setBeforeProcessEvents([this] { followUp(); });
}

bool UserActions::ended() const {
    return services_.ended();
}

void UserActions::run(const std::function<void()>& action) {
    if (services_.ended()) {
        return;
    }
    ++depth_;
    try {
        action();
    } catch (const ProgramEnded&) {
        services_.finish();
    }
    --depth_;
    followUp();
}

int UserActions::addFollowUp(std::function<void()> followUp) {
    const int id = nextFollowUp_++;
    followUps_.emplace(id, std::move(followUp));
    return id;
}

void UserActions::removeFollowUp(int id) {
    followUps_.erase(id);
}

void UserActions::followUp() {
    if (services_.ended()) {
        return;
    }
    // A follow-up may remove itself or another one: walk over a copy of the ids.
    std::vector<int> ids;
    for (const auto& entry : followUps_) {
        ids.push_back(entry.first);
    }
    for (int id : ids) {
        const auto it = followUps_.find(id);
        if (it != followUps_.end()) {
            it->second();
        }
    }
}

}  // namespace quarvell::platform::qt
