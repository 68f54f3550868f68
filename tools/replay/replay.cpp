#include "tools/replay/replay.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "analysis/curves.h"
#include "analysis/sheet_render.h"
#include "platform/key_codes.h"

namespace quarvell::replay {

namespace {

using platform::Control;
using platform::ControlKind;

constexpr const char* kOptionGroup = "optNotice";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Splits off the first word; rest is what follows the single blank after it.
std::string_view TakeWord(std::string_view& s) {
    const auto end = s.find_first_of(" \t");
    const std::string_view word = s.substr(0, end);
    s = end == std::string_view::npos ? std::string_view() : s.substr(end + 1);
    return word;
}

std::optional<long> ParseInteger(std::string_view s) {
    s = TrimRight(TrimLeft(s));
    long n = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || result.ec != std::errc() || result.ptr != s.data() + s.size()) {
        return std::nullopt;
    }
    return n;
}

std::optional<double> ParseSeconds(std::string_view s) {
    s = TrimRight(TrimLeft(s));
    double x = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), x);
    if (s.empty() || result.ec != std::errc() || result.ptr != s.data() + s.size() ||
        !std::isfinite(x) || x < 0) {
        return std::nullopt;
    }
    return x;
}

// The About box's controls that a script may click.
template <typename Session_>
auto AboutControl(Session_& session, std::string_view name)
    -> decltype(&session.window.frmAbout.cmdOK) {
    auto& about = session.window.frmAbout;
    if (name == "cmdOK") {
        return &about.cmdOK;
    }
    if (name == "cmdSysInfo") {
        return &about.cmdSysInfo;
    }
    return nullptr;
}

bool Focusable(const Session& session, const Control* c) {
    for (const Control* f : session.window.focus().controls()) {
        if (f == c) {
            return true;
        }
    }
    return false;
}

ParsedLine Error(int line, std::string message) {
    return {std::nullopt, ParseError{line, std::move(message)}};
}

}  // namespace

ParsedLine ParseLine(const std::string& text, int lineNumber, const Session& session) {
    std::string_view rest = TrimLeft(text);
    if (TrimRight(rest).empty() || rest.front() == '#') {
        return {};
    }
    const std::string verb(TakeWord(rest));
    Action a;
    a.line = lineNumber;

    const auto noArguments = [&](Action::Kind kind) -> ParsedLine {
        if (!TrimRight(rest).empty()) {
            return Error(lineNumber, "\"" + verb + "\" takes no argument");
        }
        a.kind = kind;
        return {a, std::nullopt};
    };
    const auto needControl = [&](std::string& name) -> const Control* {
        name = std::string(TakeWord(rest));
        return session.window.find(name);
    };
    const auto unknownControl = [&](const std::string& name) {
        return Error(lineNumber, name.empty() ? "\"" + verb + "\" needs a control name"
                                              : "unknown control \"" + name + "\"");
    };

    if (verb == "select") {
        a.kind = Action::Kind::Select;
        const Control* c = needControl(a.control);
        const auto n = ParseInteger(rest);
        if (a.control == kOptionGroup) {
            if (!n || (*n != 1 && *n != 2)) {
                return Error(lineNumber, "select optNotice needs the button 1 or 2");
            }
        } else if (c == nullptr) {
            return unknownControl(a.control);
        } else if (c->kind() != ControlKind::ComboBox) {
            return Error(lineNumber, "cannot select in \"" + a.control + "\": it is not a list");
        } else if (!n || *n < 0) {
            return Error(lineNumber, "select needs an entry number 0 or above");
        }
        a.number = *n;
        return {a, std::nullopt};
    }
    if (verb == "type") {
        a.kind = Action::Kind::Type;
        const Control* c = needControl(a.control);
        if (c == nullptr) {
            return unknownControl(a.control);
        }
        const bool field = c->kind() == ControlKind::TextBox ||
                           (c->kind() == ControlKind::ComboBox &&
                            static_cast<const platform::ComboBox*>(c)->editable());
        if (!field) {
            return Error(lineNumber, "cannot type into \"" + a.control + "\"");
        }
        a.text = std::string(rest);
        return {a, std::nullopt};
    }
    if (verb == "focus") {
        a.kind = Action::Kind::Focus;
        const Control* c = needControl(a.control);
        if (c == nullptr) {
            return unknownControl(a.control);
        }
        if (!Focusable(session, c)) {
            return Error(lineNumber, "\"" + a.control + "\" cannot take the focus");
        }
        return TrimRight(rest).empty() ? ParsedLine{a, std::nullopt}
                                       : Error(lineNumber, "focus takes only a control name");
    }
    if (verb == "scroll") {
        a.kind = Action::Kind::Scroll;
        const Control* c = needControl(a.control);
        if (c == nullptr) {
            return unknownControl(a.control);
        }
        if (c->kind() != ControlKind::ScrollBar) {
            return Error(lineNumber, "cannot scroll \"" + a.control + "\"");
        }
        const auto n = ParseInteger(rest);
        if (!n) {
            return Error(lineNumber, "scroll needs a whole number");
        }
        a.number = *n;
        return {a, std::nullopt};
    }
    if (verb == "click") {
        a.kind = Action::Kind::Click;
        const Control* c = needControl(a.control);
        if (c == nullptr) {
            c = AboutControl(session, a.control);
        }
        if (c == nullptr) {
            return unknownControl(a.control);
        }
        switch (c->kind()) {
            case ControlKind::Button:
            case ControlKind::Label:
            case ControlKind::MenuItem:
            case ControlKind::OptionButton:
                break;
            default:
                return Error(lineNumber, "cannot click \"" + a.control + "\"");
        }
        return TrimRight(rest).empty() ? ParsedLine{a, std::nullopt}
                                       : Error(lineNumber, "click takes only a control name");
    }
    if (verb == "key") {
        a.kind = Action::Kind::Key;
        if (rest.size() != 1 || static_cast<unsigned char>(rest[0]) < 32 ||
            static_cast<unsigned char>(rest[0]) > 126) {
            return Error(lineNumber, "key needs exactly one printable character");
        }
        a.text = std::string(rest);
        return {a, std::nullopt};
    }
    if (verb == "answer") {
        a.kind = Action::Kind::Answer;
        a.text = std::string(rest);
        return {a, std::nullopt};
    }
    if (verb == "reply") {
        a.kind = Action::Kind::Reply;
        const std::string_view button = TrimRight(rest);
        if (button == "Yes") {
            a.reply = platform::MsgAnswer::Yes;
        } else if (button == "No") {
            a.reply = platform::MsgAnswer::No;
        } else if (button == "OK") {
            a.reply = platform::MsgAnswer::Ok;
        } else {
            return Error(lineNumber, "reply needs Yes, No or OK");
        }
        return {a, std::nullopt};
    }
    if (verb == "wait") {
        a.kind = Action::Kind::Wait;
        const auto s = ParseSeconds(rest);
        if (!s) {
            return Error(lineNumber, "wait needs a number of seconds, 0 or above");
        }
        a.seconds = *s;
        return {a, std::nullopt};
    }
    if (verb == "enter") {
        return noArguments(Action::Kind::Enter);
    }
    if (verb == "tab") {
        return noArguments(Action::Kind::Tab);
    }
    if (verb == "f1") {
        return noArguments(Action::Kind::F1);
    }
    if (verb == "cancel") {
        return noArguments(Action::Kind::Cancel);
    }
    if (verb == "dump") {
        return noArguments(Action::Kind::Dump);
    }
    if (verb == "sheet") {
        a.kind = Action::Kind::Sheet;
        a.text = std::string(TrimRight(TrimLeft(rest)));
        if (a.text.empty()) {
            return Error(lineNumber, "sheet needs a file name");
        }
        if (analysis::FormatOfPath(a.text) == analysis::SheetFormat::Unknown) {
            return Error(lineNumber,
                         "sheet writes a .json, .html or .pdf file, not \"" + a.text + "\"");
        }
        return {a, std::nullopt};
    }
    if (verb == "curves") {
        a.kind = Action::Kind::Curves;
        a.text = std::string(TrimRight(TrimLeft(rest)));
        if (a.text.empty()) {
            return Error(lineNumber, "curves needs the name of the file to write");
        }
        return {a, std::nullopt};
    }
    return Error(lineNumber, "unknown action \"" + verb + "\"");
}

namespace {

// The user reaches a control with the mouse or the keyboard: it takes the focus first, with
// the focus handlers that run on the way; a hidden or disabled control cannot be reached.
bool Reach(Session& s, Control& c) {
    if (!c.isUsable()) {
        return false;
    }
    s.window.focus().setFocus(c);
    return c.isUsable();
}

void Click(Session& s, Control& c) {
    switch (c.kind()) {
        case ControlKind::Button:
            // The main window's buttons take the focus when clicked; the About box is a window
            // of its own.
            if (s.window.find(c.name()) == &c && !Reach(s, c)) {
                return;
            }
            static_cast<platform::Button&>(c).click();
            break;
        case ControlKind::Label:
            static_cast<platform::Label&>(c).click();
            break;
        case ControlKind::MenuItem:
            static_cast<platform::MenuItem&>(c).click();
            break;
        case ControlKind::OptionButton:
            if (Reach(s, c)) {
                static_cast<platform::OptionButton&>(c).choose();
            }
            break;
        default:
            break;
    }
}

// The sheet of the calculation on screen, written whole or not at all.
std::optional<std::string> WriteSheet(Session& s, const std::string& path) {
    if (!s.window.hasSheet()) {
        return "no result to put on a calculation sheet";
    }
    const analysis::Sheet sheet = analysis::MakeSheet(
        s.window.evaluation(), analysis::ContextOf(s.services, s.window.state().in.PendingNote));
    const analysis::SheetFormat format = analysis::FormatOfPath(path);
    if (format == analysis::SheetFormat::Pdf) {
        if (!s.writePdf) {
            return "this build writes no PDF sheets";
        }
        std::string reason;
        if (!s.writePdf(sheet, path, reason)) {
            return "cannot write \"" + path + "\": " + reason;
        }
        return std::nullopt;
    }
    const std::string text =
        format == analysis::SheetFormat::Json ? analysis::Json(sheet) : analysis::Html(sheet);
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "the file cannot be written";
        std::remove(path.c_str());
        return "cannot write \"" + path + "\": " + reason;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> Perform(Session& session, const Action& a) {
    window::FrmFit& w = session.window;
    switch (a.kind) {
        case Action::Kind::Select: {
            if (a.control == kOptionGroup) {
                platform::OptionButton& button = a.number == 1 ? w.optNotice1 : w.optNotice2;
                if (Reach(session, button)) {
                    button.choose();
                }
                return std::nullopt;
            }
            auto& list = static_cast<platform::ComboBox&>(*w.find(a.control));
            if (Reach(session, list) && !list.locked() && a.number < list.count()) {
                list.select(static_cast<int>(a.number));
            }
            return std::nullopt;
        }
        case Action::Kind::Type: {
            Control& c = *w.find(a.control);
            if (!Reach(session, c) || w.focus().focused() != &c) {
                return std::nullopt;
            }
            if (c.kind() == ControlKind::TextBox) {
                auto& field = static_cast<platform::TextBox&>(c);
                if (!field.locked()) {
                    field.setText(a.text);
                }
            } else {
                auto& list = static_cast<platform::ComboBox&>(c);
                if (!list.locked()) {
                    list.setText(a.text);
                }
            }
            return std::nullopt;
        }
        case Action::Kind::Focus:
            Reach(session, *w.find(a.control));
            return std::nullopt;
        case Action::Kind::Scroll: {
            auto& bar = static_cast<platform::ScrollBar&>(*w.find(a.control));
            if (Reach(session, bar)) {
                const long v = std::clamp<long>(a.number, INT16_MIN, INT16_MAX);
                bar.setValue(static_cast<std::int16_t>(v));
            }
            return std::nullopt;
        }
        case Action::Kind::Click: {
            Control* c = w.find(a.control);
            if (c == nullptr) {
                c = AboutControl(session, a.control);
            }
            Click(session, *c);
            return std::nullopt;
        }
        case Action::Kind::Key:
            w.keyPress(static_cast<unsigned char>(a.text[0]));
            return std::nullopt;
        case Action::Kind::Enter:
            w.keyPress(platform::kVkReturn);
            return std::nullopt;
        case Action::Kind::Tab:
            w.keyDown(platform::kVkTab, false);
            return std::nullopt;
        case Action::Kind::F1:
            w.pressF1();
            return std::nullopt;
        case Action::Kind::Answer:
            session.services.queueAnswer(a.text);
            return std::nullopt;
        case Action::Kind::Cancel:
            session.services.queueCancel();
            return std::nullopt;
        case Action::Kind::Reply:
            session.services.queueReply(a.reply);
            return std::nullopt;
        case Action::Kind::Wait:
            session.services.wait(a.seconds);
            return std::nullopt;
        case Action::Kind::Dump:
            return std::nullopt;
        case Action::Kind::Sheet:
            return WriteSheet(session, a.text);
        case Action::Kind::Curves:
            if (std::string error = WriteCurves(session, a.text); !error.empty()) {
                return "curves " + a.text + ": " + error;
            }
            return std::nullopt;
    }
    return std::nullopt;
}

std::string WriteCurves(const Session& session, const std::string& path) {
    const analysis::Curves curves = analysis::ComputeCurves(session.window.evaluation());
    if (!curves.usable()) {
        return "no curves without a usable result. " + curves.missing;
    }
    // Written beside the file first and then put in its place, so that a file that cannot be
    // written whole leaves what was there.
    const std::string csv = analysis::CurvesCsv(curves);
    const std::string partial = path + ".partial";
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    bool written = file && file.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    file.close();
    written = written && !file.fail();
    std::error_code ec;
    if (written) {
        std::filesystem::rename(partial, path, ec);
    }
    if (!written || ec) {
        std::filesystem::remove(partial, ec);
        return "cannot write the curves to \"" + path + "\"";
    }
    return {};
}

namespace {

using Json = nlohmann::ordered_json;

// An empty object with room for its members: they are copied, not moved, as the object grows.
Json Object(std::size_t members) {
    Json j = Json::object();
    j.get_ref<Json::object_t&>().reserve(members);
    return j;
}

Json ControlJson(const Control& c) {
    Json j = Object(12);
    j["visible"] = c.visible();
    j["enabled"] = c.enabled();
    switch (c.kind()) {
        case ControlKind::Label:
            j["caption"] = static_cast<const platform::Label&>(c).caption();
            break;
        case ControlKind::TextBox: {
            const auto& t = static_cast<const platform::TextBox&>(c);
            j["text"] = t.text();
            j["locked"] = t.locked();
            break;
        }
        case ControlKind::ComboBox: {
            const auto& l = static_cast<const platform::ComboBox&>(c);
            j["text"] = l.text();
            j["items"] = l.items();
            j["index"] = l.index();
            j["locked"] = l.locked();
            break;
        }
        case ControlKind::ScrollBar: {
            const auto& b = static_cast<const platform::ScrollBar&>(c);
            j["value"] = b.value();
            j["min"] = b.min();
            j["max"] = b.max();
            j["smallChange"] = b.smallChange();
            j["largeChange"] = b.largeChange();
            break;
        }
        case ControlKind::OptionButton: {
            const auto& o = static_cast<const platform::OptionButton&>(c);
            j["caption"] = o.caption();
            j["value"] = o.value();
            break;
        }
        case ControlKind::Frame:
            j["caption"] = static_cast<const platform::Frame&>(c).caption();
            break;
        case ControlKind::Button:
            j["caption"] = static_cast<const platform::Button&>(c).caption();
            break;
        case ControlKind::MenuItem:
            j["caption"] = static_cast<const platform::MenuItem&>(c).caption();
            break;
        case ControlKind::Form:
            j["caption"] = static_cast<const platform::Form&>(c).caption();
            break;
    }
    j["foreColor"] = platform::ColorText(c.foreColor());
    j["backColor"] = platform::ColorText(c.backColor());
    j["tooltip"] = c.tooltip();
    j["helpContext"] = c.helpContext();
    j["tabIndex"] = c.tabIndex();
    return j;
}

Json ControlsJson(window::FrmFit& w) {
    Json j = Object(w.controls().size() + 8);
    for (const Control* c : w.controls()) {
        j[window::ControlKey(*c)] = ControlJson(*c);
    }
    j["frmMsg"] = ControlJson(w.frmMsg.form);
    j["txtMsg"] = ControlJson(w.frmMsg.txtMsg);
    const about::FrmAbout& a = w.frmAbout;
    j["frmAbout"] = {{"visible", a.loaded()}, {"caption", a.caption()}};
    j["lblTitle"] = ControlJson(a.lblTitle);
    j["frmAbout.lblVersion"] = ControlJson(a.lblVersion);
    j["lblDescription"] = ControlJson(a.lblDescription);
    j["cmdOK"] = ControlJson(a.cmdOK);
    j["cmdSysInfo"] = ControlJson(a.cmdSysInfo);
    return j;
}

// Single-precision values are reported as the doubles they widen to.
Json StateJsonObject(const model::CalcState& s) {
    const model::CalcInputs& in = s.in;
    const model::CalcResults& out = s.out;
    Json j = Object(36);
    j["Notice"] = static_cast<int>(in.Notice);
    j["TypeCode"] = in.TypeCode;
    j["TempRating"] = in.TempRating;
    j["RatedVoltage"] = double{in.RatedVoltage};
    j["Capacitance"] = double{in.Capacitance};
    j["AppVoltage"] = double{in.AppVoltage};
    j["AppTemp"] = double{in.AppTemp};
    j["FrLevel"] = in.FrLevel;
    j["EnteredRate"] = double{in.EnteredRate};
    j["TestPieces"] = double{in.TestPieces};
    j["TestHours"] = double{in.TestHours};
    j["TestFailures"] = double{in.TestFailures};
    j["LifeBias"] = double{in.LifeBias};
    j["EnvIndex"] = in.EnvIndex;
    j["ResListVisible"] = in.ResListVisible;
    j["ResIndex"] = in.ResIndex;
    j["PiVDenominatorText"] = in.PiVDenominatorText;
    j["PendingNote"] = in.PendingNote;
    j["VoltSteps"] = in.VoltSteps;
    j["DecimalIsPoint"] = in.DecimalIsPoint;
    j["Base"] = double{out.Base};
    j["PiT"] = double{out.PiT};
    j["PiV"] = double{out.PiV};
    j["PiCV"] = double{out.PiCV};
    j["PiSR"] = double{out.PiSR};
    j["PiConst"] = double{out.PiConst};
    j["PiQ"] = double{out.PiQ};
    j["PiE"] = double{out.PiE};
    j["FailureRate"] = double{out.FailureRate};
    j["Fit"] = double{out.Fit};
    j["DeratedVoltage"] = double{out.DeratedVoltage};
    j["TempLimit"] = out.TempLimit;
    j["NoteText"] = out.NoteText;
    j["SuspendRecalc"] = s.SuspendRecalc;
    j["NoteSeparator"] = s.NoteSeparator;
    j["InputPrompt"] = s.InputPrompt;
    return j;
}

const char* AnswerText(platform::MsgAnswer a) {
    switch (a) {
        case platform::MsgAnswer::Yes:
            return "Yes";
        case platform::MsgAnswer::No:
            return "No";
        case platform::MsgAnswer::Ok:
            break;
    }
    return "OK";
}

Json EventJson(const platform::ServiceEvent& e) {
    using Kind = platform::ServiceEvent::Kind;
    switch (e.kind) {
        case Kind::ShowMessage:
            return {{"kind", "showMessage"},
                    {"title", e.title},
                    {"text", e.text},
                    {"seconds", e.seconds}};
        case Kind::MsgBox:
            return {{"kind", "msgBox"},
                    {"title", e.title},
                    {"text", e.text},
                    {"buttons", e.buttons == platform::MsgButtons::Ok ? "OK" : "YesNo"},
                    {"answer", AnswerText(e.answer)}};
        case Kind::InputBox:
            return {{"kind", "inputBox"},
                    {"prompt", e.text},
                    {"title", e.title},
                    {"default", e.defaultAnswer},
                    {"answer", e.inputAnswer ? Json(*e.inputAnswer) : Json()}};
        case Kind::Beep:
            return {{"kind", "beep"}};
        case Kind::Help:
            return {{"kind", "help"}, {"context", e.context}};
        case Kind::Print:
            return {{"kind", "print"}};
        case Kind::PrintSetup:
            return {{"kind", "printSetup"}};
        case Kind::StartProgram:
            return {{"kind", "startProgram"}, {"path", e.path}};
        case Kind::End:
            break;
    }
    return {{"kind", "end"}};
}

void AppendString(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(ch) < 0x20) {
                    constexpr char kHex[] = "0123456789ABCDEF";
                    out += "\\u00";
                    out += kHex[(ch >> 4) & 0xF];
                    out += kHex[ch & 0xF];
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
}

void AppendJson(std::string& out, const Json& v) {
    switch (v.type()) {
        case Json::value_t::object: {
            out += '{';
            for (auto it = v.begin(); it != v.end(); ++it) {
                out += it == v.begin() ? "" : ",";
                AppendString(out, it.key());
                out += ':';
                AppendJson(out, it.value());
            }
            out += '}';
            return;
        }
        case Json::value_t::array:
            out += '[';
            for (auto it = v.begin(); it != v.end(); ++it) {
                out += it == v.begin() ? "" : ",";
                AppendJson(out, *it);
            }
            out += ']';
            return;
        case Json::value_t::string:
            AppendString(out, v.get_ref<const std::string&>());
            return;
        case Json::value_t::boolean:
            out += v.get<bool>() ? "true" : "false";
            return;
        case Json::value_t::number_integer:
            out += std::to_string(v.get<std::int64_t>());
            return;
        case Json::value_t::number_unsigned:
            out += std::to_string(v.get<std::uint64_t>());
            return;
        case Json::value_t::number_float: {
            const double x = v.get<double>();
            if (std::isfinite(x)) {
                char buf[32];
                const auto r =
                    std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 9);
                out.append(buf, r.ptr);
                return;
            }
            break;
        }
        default:
            break;
    }
    out += "null";
}

}  // namespace

std::string JsonText(const nlohmann::ordered_json& value) {
    std::string out;
    AppendJson(out, value);
    return out;
}

std::string StateJson(Session& session) {
    Json events = Json::array();
    for (const platform::ServiceEvent& e : session.services.takeEvents()) {
        events.push_back(EventJson(e));
    }
    const Control* focused = session.window.focus().focused();
    Json report = Object(5);
    report["controls"] = ControlsJson(session.window);
    report["state"] = StateJsonObject(session.window.state());
    report["focus"] = focused != nullptr ? Json(window::ControlKey(*focused)) : Json();
    report["events"] = std::move(events);
    report["ended"] = session.ended();
    return JsonText(report);
}

int RunReplay(std::istream& script, std::ostream& out, std::ostream& err,
              const ReplayOptions& options) {
    Session session(options.comma ? model::kCommaLocale : model::kPeriodLocale);
    session.writePdf = options.writePdf;
    std::vector<Action> actions;
    std::vector<std::string> lines;
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        ParsedLine parsed = ParseLine(line, number, session);
        if (parsed.error) {
            err << "quarvell-replay: line " << parsed.error->line << ": " << parsed.error->message
                << ": " << line << "\n";
            return 2;
        }
        if (parsed.action) {
            actions.push_back(std::move(*parsed.action));
            lines.push_back(line);
        }
    }
    // Printed only once the whole script has run: an action that fails prints nothing, as a
    // script error does.
    std::ostringstream reports;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const Action& a = actions[i];
        if (a.kind == Action::Kind::Dump) {
            reports << StateJson(session) << "\n";
            continue;
        }
        std::optional<std::string> error;
        if (a.kind == Action::Kind::Sheet && session.ended()) {
            error = "the program has ended: no calculation to put on a sheet";
        } else {
            session.act([&] { error = Perform(session, a); });
        }
        if (error) {
            err << "quarvell-replay: line " << a.line << ": " << *error << ": " << lines[i] << "\n";
            return 2;
        }
    }
    reports << StateJson(session) << "\n";
    out << reports.str();
    return 0;
}

}  // namespace quarvell::replay
