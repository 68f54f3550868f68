#pragma once
// Drives a headless calculator with replay lines, so behaviour tests read like the user's
// actions: Act(session, "select cmbType 9\ntype txtCap 10").

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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
            std::optional<std::string> error;
            session.act([&] { error = replay::Perform(session, *parsed.action); });
            ASSERT_FALSE(error) << line << ": " << *error;
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

// The type list's entries of a Notice (1 or 2).
inline std::vector<std::string> TypeEntries(int notice) {
    std::vector<std::string> entries;
    for (const model::CapacitorType& t : model::TypesOf(static_cast<model::Notice>(notice))) {
        entries.emplace_back(t.entry);
    }
    return entries;
}

// Capacitance and rated voltage typed, each followed by Enter: a result is on screen.
inline void EnterPart(replay::Session& session, std::string_view capacitance,
                      std::string_view ratedVoltage) {
    Act(session, "type txtCap " + std::string(capacitance) + "\nenter\ntype txtVolt " +
                     std::string(ratedVoltage) + "\nenter");
}

}  // namespace quarvell::testing
