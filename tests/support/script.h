#pragma once
// Drives a headless calculator with replay lines, so behaviour tests read like the user's
// actions: Act(session, "select cmbType 9\ntype txtCap 10").

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "tools/replay/replay.h"

namespace quarvell::testing {

inline void Act(replay::Session& session, std::string_view script) {
    std::istringstream lines{std::string(script)};
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        const replay::ParsedLine parsed = replay::ParseLine(line, ++number, session);
        ASSERT_FALSE(parsed.error) << line << ": " << parsed.error->message;
        if (parsed.action) {
            session.act([&] { replay::Perform(session, *parsed.action); });
        }
    }
}

// The position of a type in the list now shown.
inline int TypePosition(const replay::Session& session, std::string_view code) {
    const auto& items = session.window.cmbType.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (catalogue::FirstWord(items[i]) == code) {
            return static_cast<int>(i);
        }
    }
    ADD_FAILURE() << "no type " << code << " in the list";
    return -1;
}

inline void ChooseType(replay::Session& session, std::string_view code) {
    Act(session, "select cmbType " + std::to_string(TypePosition(session, code)));
}

// The Notice 1 list, as the Notice switch leaves it before it selects the matching type.
inline void UseNotice1(replay::Session& session) {
    window::FrmFit& w = session.window;
    if (w.optNotice1.onClick) {
        Act(session, "select optNotice 1");
        return;
    }
    w.optNotice1.choose();
    w.state().in.Notice = catalogue::kNotice1;
    catalogue::TypeListView list{w.cmbType, w.lblType};
    catalogue::SetTypeNotice1(list);
}

// What accepted capacitance and rated-voltage entries leave behind, for tests that need a
// result on screen before the entry fields have their handlers.
inline void EnterPart(replay::Session& session, int capacitance, int ratedVoltage) {
    window::FrmFit& w = session.window;
    w.txtCap.setText(std::to_string(capacitance));
    w.txtVolt.setText(std::to_string(ratedVoltage));
    w.state().in.Capacitance = static_cast<float>(capacitance);
    w.state().in.RatedVoltage = static_cast<float>(ratedVoltage);
    w.state().in.AppVoltage = static_cast<float>(ratedVoltage) / 2;
}

}  // namespace quarvell::testing
