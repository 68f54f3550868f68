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

#include "analysis/curves.h"
#include "analysis/sheet_render.h"
#include "platform/key_codes.h"
#include "tools/replay/json_writer.h"

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

void WriteControl(JsonWriter& j, const Control& c) {
    j.beginObject();
    j.key("visible").value(c.visible());
    j.key("enabled").value(c.enabled());
    switch (c.kind()) {
        case ControlKind::Label:
            j.key("caption").value(static_cast<const platform::Label&>(c).caption());
            break;
        case ControlKind::TextBox: {
            const auto& t = static_cast<const platform::TextBox&>(c);
            j.key("text").value(t.text());
            j.key("locked").value(t.locked());
            break;
        }
        case ControlKind::ComboBox: {
            const auto& l = static_cast<const platform::ComboBox&>(c);
            j.key("text").value(l.text());
            j.key("items").beginArray();
            for (const std::string& item : l.items()) {
                j.value(item);
            }
            j.endArray();
            j.key("index").value(l.index());
            j.key("locked").value(l.locked());
            break;
        }
        case ControlKind::ScrollBar: {
            const auto& b = static_cast<const platform::ScrollBar&>(c);
            j.key("value").value(static_cast<int>(b.value()));
            j.key("min").value(static_cast<int>(b.min()));
            j.key("max").value(static_cast<int>(b.max()));
            j.key("smallChange").value(static_cast<int>(b.smallChange()));
            j.key("largeChange").value(static_cast<int>(b.largeChange()));
            break;
        }
        case ControlKind::OptionButton: {
            const auto& o = static_cast<const platform::OptionButton&>(c);
            j.key("caption").value(o.caption());
            j.key("value").value(o.value());
            break;
        }
        case ControlKind::Frame:
            j.key("caption").value(static_cast<const platform::Frame&>(c).caption());
            break;
        case ControlKind::Button:
            j.key("caption").value(static_cast<const platform::Button&>(c).caption());
            break;
        case ControlKind::MenuItem:
            j.key("caption").value(static_cast<const platform::MenuItem&>(c).caption());
            break;
        case ControlKind::Form:
            j.key("caption").value(static_cast<const platform::Form&>(c).caption());
            break;
    }
    j.key("foreColor").value(platform::ColorText(c.foreColor()));
    j.key("backColor").value(platform::ColorText(c.backColor()));
    j.key("tooltip").value(c.tooltip());
    j.key("helpContext").value(c.helpContext());
    j.key("tabIndex").value(c.tabIndex());
    j.endObject();
}

void WriteControls(JsonWriter& j, window::FrmFit& w) {
    j.beginObject();
    for (const Control* c : w.controls()) {
        j.key(window::ControlKey(*c));
        WriteControl(j, *c);
    }
    j.key("frmMsg");
    WriteControl(j, w.frmMsg.form);
    j.key("txtMsg");
    WriteControl(j, w.frmMsg.txtMsg);
    const about::FrmAbout& a = w.frmAbout;
    j.key("frmAbout").beginObject();
    j.key("visible").value(a.loaded());
    j.key("caption").value(a.caption());
    j.endObject();
    j.key("lblTitle");
    WriteControl(j, a.lblTitle);
    j.key("frmAbout.lblVersion");
    WriteControl(j, a.lblVersion);
    j.key("lblDescription");
    WriteControl(j, a.lblDescription);
    j.key("cmdOK");
    WriteControl(j, a.cmdOK);
    j.key("cmdSysInfo");
    WriteControl(j, a.cmdSysInfo);
    j.endObject();
}

void WriteState(JsonWriter& j, const model::CalcState& s) {
    const model::CalcInputs& in = s.in;
    const model::CalcResults& out = s.out;
    j.beginObject();
    j.key("Notice").value(static_cast<int>(in.Notice));
    j.key("TypeCode").value(in.TypeCode);
    j.key("TempRating").value(static_cast<int>(in.TempRating));
    j.key("RatedVoltage").real(in.RatedVoltage);
    j.key("Capacitance").real(in.Capacitance);
    j.key("AppVoltage").real(in.AppVoltage);
    j.key("AppTemp").real(in.AppTemp);
    j.key("FrLevel").value(in.FrLevel);
    j.key("EnteredRate").real(in.EnteredRate);
    j.key("TestPieces").real(in.TestPieces);
    j.key("TestHours").real(in.TestHours);
    j.key("TestFailures").real(in.TestFailures);
    j.key("LifeBias").real(in.LifeBias);
    j.key("EnvIndex").value(in.EnvIndex);
    j.key("ResListVisible").value(in.ResListVisible);
    j.key("ResIndex").value(in.ResIndex);
    j.key("PiVDenominatorText").value(in.PiVDenominatorText);
    j.key("PendingNote").value(in.PendingNote);
    j.key("VoltSteps").value(static_cast<int>(in.VoltSteps));
    j.key("DecimalIsPoint").value(in.DecimalIsPoint);
    j.key("Base").real(out.Base);
    j.key("PiT").real(out.PiT);
    j.key("PiV").real(out.PiV);
    j.key("PiCV").real(out.PiCV);
    j.key("PiSR").real(out.PiSR);
    j.key("PiConst").real(out.PiConst);
    j.key("PiQ").real(out.PiQ);
    j.key("PiE").real(out.PiE);
    j.key("FailureRate").real(out.FailureRate);
    j.key("Fit").real(out.Fit);
    j.key("DeratedVoltage").real(out.DeratedVoltage);
    j.key("TempLimit").value(static_cast<int>(out.TempLimit));
    j.key("NoteText").value(out.NoteText);
    j.key("SuspendRecalc").value(s.SuspendRecalc);
    j.key("NoteSeparator").value(s.NoteSeparator);
    j.key("InputPrompt").value(s.InputPrompt);
    j.endObject();
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

void WriteEvent(JsonWriter& j, const platform::ServiceEvent& e) {
    using Kind = platform::ServiceEvent::Kind;
    j.beginObject();
    switch (e.kind) {
        case Kind::ShowMessage:
            j.key("kind").value("showMessage");
            j.key("title").value(e.title);
            j.key("text").value(e.text);
            j.key("seconds").real(e.seconds);
            break;
        case Kind::MsgBox:
            j.key("kind").value("msgBox");
            j.key("title").value(e.title);
            j.key("text").value(e.text);
            j.key("buttons").value(e.buttons == platform::MsgButtons::Ok ? "OK" : "YesNo");
            j.key("answer").value(AnswerText(e.answer));
            break;
        case Kind::InputBox:
            j.key("kind").value("inputBox");
            j.key("prompt").value(e.text);
            j.key("title").value(e.title);
            j.key("default").value(e.defaultAnswer);
            j.key("answer");
            if (e.inputAnswer) {
                j.value(*e.inputAnswer);
            } else {
                j.null();
            }
            break;
        case Kind::Beep:
            j.key("kind").value("beep");
            break;
        case Kind::Help:
            j.key("kind").value("help");
            j.key("context").value(e.context);
            break;
        case Kind::Print:
            j.key("kind").value("print");
            break;
        case Kind::PrintSetup:
            j.key("kind").value("printSetup");
            break;
        case Kind::StartProgram:
            j.key("kind").value("startProgram");
            j.key("path").value(e.path);
            break;
        case Kind::End:
            j.key("kind").value("end");
            break;
    }
    j.endObject();
}

}  // namespace

std::string StateJson(Session& session) {
    JsonWriter j;
    j.beginObject();
    j.key("controls");
    WriteControls(j, session.window);
    j.key("state");
    WriteState(j, session.window.state());
    j.key("focus");
    if (const Control* f = session.window.focus().focused()) {
        j.value(window::ControlKey(*f));
    } else {
        j.null();
    }
    j.key("events").beginArray();
    for (const platform::ServiceEvent& e : session.services.takeEvents()) {
        WriteEvent(j, e);
    }
    j.endArray();
    j.key("ended").value(session.ended());
    j.endObject();
    return j.str();
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
