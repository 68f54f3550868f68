#pragma once
// Scripts of user actions, one per line, and their JSON report: see the tool's usage text in
// main.cpp for the actions. A script is checked as a whole before it runs, so a bad line costs
// nothing but its error message.

#include <functional>
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
        Dump,
        Sheet,
        Curves
    };
    Kind kind = Kind::Dump;
    int line = 0;
    std::string control;
    std::string text;  // typed text, the answer, the key, or the file of a sheet or the curves
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

// Runs one action; dump is the caller's business. An action that cannot be done (a sheet or
// curves without a result, or a file that cannot be written) gives its error message.
std::optional<std::string> Perform(Session& session, const Action& action);

// Writes the CSV of the curves of the calculator's result to the file at path (the Curves
// window's export). Returns the reason when there is no usable result, in which case nothing
// is written, or when the file cannot be written; else the empty text.
std::string WriteCurves(const Session& session, const std::string& path);

// The report of one printed state, on one line (no line ending): controls, calculator state,
// focus, the events since the previous report, and whether the program has ended.
std::string StateJson(Session& session);

// A JSON value as the reports write it: compact, members in their order, control characters as
// \r, \n, \t or \u00XX and other bytes as they are, reals with 9 significant digits, and null
// for a real that is not finite.
std::string JsonText(const nlohmann::ordered_json& value);

struct ReplayOptions {
    bool comma = false;
    // The sheet action's PDF writer (Session::writePdf).
    std::function<bool(const analysis::Sheet& sheet, const std::string& path, std::string& error)>
        writePdf;
};

// Reads the script, runs it and prints one report per dump and one after the last action.
// Returns the exit status: 0, or 2 after a script error, reported on err with its line, in
// which case nothing is run or printed, or after an action that cannot be done (a sheet or
// curves without a result, a file that cannot be written), reported the same way: the run
// stops there and prints nothing.
int RunReplay(std::istream& script, std::ostream& out, std::ostream& err,
              const ReplayOptions& options);

}  // namespace quarvell::replay
