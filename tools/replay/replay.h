#pragma once
// Scripts of user actions, one per line, and their JSON report: see the tool's usage text in
// main.cpp for the actions. A script is checked as a whole before it runs, so a bad line costs
// nothing but its error message.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "platform/services.h"
#include "tools/replay/session.h"

namespace quarvell::replay {

struct Action {
    enum class Kind {
        Select,
        Type,
        Focus,
        Scroll,
        Click,
        Key,
        Enter,
        Tab,
        F1,
        Answer,
        Cancel,
        Reply,
        Wait,
        Dump
    };
    Kind kind = Kind::Dump;
    int line = 0;
    std::string control;
    std::string text;  // typed text, the answer, or the key
    long number = 0;   // entry or scroll value
    double seconds = 0;
    platform::MsgAnswer reply = platform::MsgAnswer::Ok;
};

struct ParseError {
    int line = 0;
    std::string message;
};

// Parses one script line (already without its line ending); nothing for a blank or comment
// line. Control names are checked against the session's window.
struct ParsedLine {
    std::optional<Action> action;
    std::optional<ParseError> error;
};
ParsedLine ParseLine(const std::string& text, int lineNumber, const Session& session);

// Runs one action; dump is the caller's business.
void Perform(Session& session, const Action& action);

// The report of one printed state, on one line (no line ending): controls, calculator state,
// focus, the events since the previous report, and whether the program has ended.
std::string StateJson(Session& session);

// A JSON value as the reports write it: compact, members in their order, control characters as
// \r, \n, \t or \u00XX and other bytes as they are, reals with 9 significant digits, and null
// for a real that is not finite.
std::string JsonText(const nlohmann::ordered_json& value);

struct ReplayOptions {
    bool comma = false;
};

// Reads the script, runs it and prints one report per dump and one after the last action.
// Returns the exit status: 0, or 2 after a script error, reported on err with its line, in
// which case nothing is run or printed.
int RunReplay(std::istream& script, std::ostream& out, std::ostream& err,
              const ReplayOptions& options);

}  // namespace quarvell::replay
