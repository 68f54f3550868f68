#include "analysis/sheet_render.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <string_view>

namespace quarvell::analysis {

namespace {

using Json_ = nlohmann::ordered_json;

// Characters, not bytes: the sheet's texts hold µ, °, × and √.
std::size_t Width(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Padded(std::string_view s, std::size_t width) {
    std::string out(s);
    const std::size_t w = Width(s);
    if (w < width) {
        out.append(width - w, ' ');
    }
    return out;
}

std::string Title(const Sheet& s) {
    return "Calculation sheet: " + s.section;
}

std::string OtherHeading(const Sheet& s) {
    return "The same part under " + s.other.handbook + ": " + s.other.section;
}

// ---- Plain text.

class TextWriter {
  public:
    void line(std::string_view s = {}) {
        out_.append(s);
        out_ += '\n';
    }
    void section(std::string_view name) {
        line();
        line(name);
    }
    void entries(const std::vector<Entry>& entries) {
        std::size_t width = 0;
        for (const Entry& e : entries) {
            width = std::max(width, Width(e.name));
        }
        for (const Entry& e : entries) {
            line("  " + Padded(e.name, width + 2) + e.text);
        }
    }
    // Worked as a hand calculation: the formula, then this part's numbers and the value.
    void working(const Line& l, std::size_t width) {
        const std::string name = "  " + Padded(l.name, width) + " = ";
        const std::string indent(Width(name) - 2, ' ');
        line(name + l.formula);
        std::string worked = l.worked;
        if (!l.value.empty()) {
            worked += worked.empty() ? l.value : " = " + l.value;
        }
        line(indent + "= " + worked);
    }
    std::string take() { return std::move(out_); }

  private:
    std::string out_;
};

std::size_t NameWidth(const Sheet& s) {
    std::size_t width = Width(s.stress.name);
    for (const Line& l : s.factors) {
        width = std::max(width, Width(l.name));
    }
    return std::max(width, Width(s.fit.name));
}

// ---- HTML.

std::string Escaped(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

constexpr std::string_view kStyle = R"(
body { font-family: 'Liberation Sans', Arial, Helvetica, sans-serif; font-size: 9pt;
       color: #000000; }
h1 { font-size: 15pt; margin-top: 0; margin-bottom: 4pt; color: #1f3a5f; }
h2 { font-size: 11pt; margin-top: 12pt; margin-bottom: 4pt; color: #1f3a5f; }
p { margin-top: 3pt; margin-bottom: 3pt; }
table { border-collapse: collapse; border-color: #9aa5b1; }
td { border: 1px solid #9aa5b1; padding: 3px 5px; vertical-align: top; }
th { border: 1px solid #9aa5b1; padding: 3px 5px; text-align: left; vertical-align: top;
     background-color: #e6ecf3; font-weight: bold; }
td.value { text-align: right; white-space: nowrap; font-weight: bold; }
td.name { white-space: nowrap; font-weight: bold; background-color: #f5f7fa; }
tr.total td { background-color: #eef3f8; }
.small { font-size: 7.5pt; color: #444444; }
.warning { color: #b00000; font-weight: bold; }
)";

class HtmlWriter {
  public:
    HtmlWriter& raw(std::string_view s) {
        out_.append(s);
        return *this;
    }
    HtmlWriter& text(std::string_view s) {
        out_ += Escaped(s);
        return *this;
    }
    HtmlWriter& element(std::string_view tag, std::string_view s,
                        std::string_view attributes = {}) {
        raw("<").raw(tag).raw(attributes).raw(">").text(s).raw("</").raw(tag).raw(">");
        return *this;
    }
    // A table of name and text pairs, `across` pairs to a row.
    void entries(const std::vector<Entry>& entries, int across) {
        raw(R"(<table width="100%" cellspacing="0">)");
        for (std::size_t i = 0; i < entries.size(); i += static_cast<std::size_t>(across)) {
            raw("<tr>");
            for (std::size_t k = i; k < i + static_cast<std::size_t>(across); ++k) {
                if (k < entries.size()) {
                    element("td", entries[k].name, R"( class="name")");
                    element("td", entries[k].text);
                } else {
                    raw("<td></td><td></td>");
                }
            }
            raw("</tr>\n");
        }
        raw("</table>\n");
    }
    void working(const Line& l, bool total = false) {
        raw(total ? R"(<tr class="total">)" : "<tr>");
        element("td", l.name, R"( class="name")");
        element("td", l.formula);
        element("td", l.worked);
        element("td", l.value, R"( class="value")");
        raw("</tr>\n");
    }
    void workingHeader(std::string_view first) {
        raw(R"(<table width="100%" cellspacing="0"><tr>)");
        element("th", first);
        element("th", "Formula");
        element("th", "With this part's numbers");
        element("th", "Value");
        raw("</tr>\n");
    }
    std::string take() { return std::move(out_); }

  private:
    std::string out_;
};

// ---- JSON.

Json_ NumberOrText(const std::optional<double>& number, const std::string& text) {
    if (number) {
        return *number;
    }
    return text.empty() ? Json_() : Json_(text);
}

Json_ LineJson(const Line& l) {
    Json_ j;
    j["key"] = l.key;
    j["name"] = l.name;
    j["formula"] = l.formula;
    j["worked"] = l.worked;
    j["value"] = l.number ? Json_(*l.number) : Json_();
    j["text"] = l.value;
    return j;
}

std::optional<double> NumberOf(const std::vector<Line>& lines, std::string_view key) {
    for (const Line& l : lines) {
        if (l.key == key) {
            return l.number;
        }
    }
    return std::nullopt;
}

std::optional<double> NumberOf(const std::vector<Entry>& entries, std::string_view key) {
    for (const Entry& e : entries) {
        if (e.key == key) {
            return e.number;
        }
    }
    return std::nullopt;
}

Json_ Optional(const std::optional<double>& v) {
    return v ? Json_(*v) : Json_();
}

}  // namespace

std::string PlainText(const Sheet& s) {
    TextWriter w;
    w.line(Title(s));
    w.line(s.program + " " + s.version + ", " + s.date + " " + s.time);
    w.line(s.handbook + ", section " + s.section + ", style " + s.style);

    w.section("Inputs");
    w.entries(s.inputs);

    w.section("Factors");
    const std::size_t width = NameWidth(s);
    for (const Line& l : s.factors) {
        w.working(l, width);
    }
    w.working(s.stress, width);
    if (s.derated) {
        w.working(*s.derated, width);
    }
    w.working(s.fit, width);
    w.line("  " + s.legend);

    w.section("Results");
    if (s.results.empty()) {
        w.line("  " + s.noResult);
    } else {
        w.entries(s.results);
        w.line("  The calculator window shows " + s.windowFit +
               (s.windowMtbf.empty() ? "" : " and an MTBF of " + s.windowMtbf) + ".");
    }

    if (s.lifeTest) {
        const LifeTestSection& t = *s.lifeTest;
        w.section("Life test");
        w.entries(t.data);
        std::size_t lifeWidth = Width(t.pointEstimate.name);
        for (const LifeTestBound& b : t.bounds) {
            lifeWidth = std::max({lifeWidth, Width(b.rate.name), Width(b.piQ.name)});
        }
        w.working(t.pointEstimate, lifeWidth);
        for (const LifeTestBound& b : t.bounds) {
            w.working(b.rate, lifeWidth);
            w.working(b.piQ, lifeWidth);
            w.working(b.fit, lifeWidth);
        }
        if (t.bounds.empty()) {
            w.line("  No upper bounds: the test gives no piece-hours to bound the rate with.");
        }
    }

    w.section(OtherHeading(s));
    w.line("  As the Notice switch leaves it: " + s.other.heldAs + ".");
    w.entries({s.other.fit, s.other.ratio});
    if (!s.other.standIn.empty()) {
        w.line("  " + s.other.standIn);
    }

    if (!s.notes.empty() || !s.warning.empty()) {
        w.section("Notes");
        for (const std::string& n : s.notes) {
            w.line("  " + n);
        }
        if (!s.warning.empty()) {
            w.line("  WARNING: " + s.warning);
        }
    }
    return w.take();
}

std::string Html(const Sheet& s) {
    HtmlWriter w;
    w.raw("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n");
    w.element("title", Title(s)).raw("\n<style>").raw(kStyle).raw("</style>\n</head>\n<body>\n");
    w.element("h1", Title(s)).raw("\n");
    w.raw("<p>").element("b", s.handbook).text(", section " + s.section + ", style " + s.style);
    w.raw("<br>").text(s.program + " " + s.version + ", " + s.date + " " + s.time).raw("</p>\n");

    w.element("h2", "Inputs").raw("\n");
    w.entries(s.inputs, 2);

    w.element("h2", "Factors").raw("\n");
    w.workingHeader("Factor");
    for (const Line& l : s.factors) {
        w.working(l);
    }
    w.working(s.stress);
    if (s.derated) {
        w.working(*s.derated);
    }
    w.working(s.fit, true);
    w.raw("</table>\n");
    w.element("p", s.legend, R"( class="small")").raw("\n");

    w.element("h2", "Results").raw("\n");
    if (s.results.empty()) {
        w.element("p", s.noResult).raw("\n");
    } else {
        w.entries(s.results, 2);
        w.element("p",
                  "The calculator window shows " + s.windowFit +
                      (s.windowMtbf.empty() ? "" : " and an MTBF of " + s.windowMtbf) + ".",
                  R"( class="small")")
            .raw("\n");
    }

    if (s.lifeTest) {
        const LifeTestSection& t = *s.lifeTest;
        w.element("h2", "Life test").raw("\n");
        w.entries(t.data, 2);
        w.raw("<p></p>");
        w.workingHeader("Quantity");
        w.working(t.pointEstimate);
        for (const LifeTestBound& b : t.bounds) {
            w.working(b.rate, true);
            w.working(b.piQ);
            w.working(b.fit);
        }
        w.raw("</table>\n");
        if (t.bounds.empty()) {
            w.element("p", "No upper bounds: the test gives no piece-hours to bound the rate with.")
                .raw("\n");
        }
    }

    w.element("h2", OtherHeading(s)).raw("\n");
    w.element("p", "As the Notice switch leaves it: " + s.other.heldAs + ".").raw("\n");
    w.entries({s.other.fit, s.other.ratio}, 2);
    if (!s.other.standIn.empty()) {
        w.element("p", s.other.standIn).raw("\n");
    }

    if (!s.notes.empty() || !s.warning.empty()) {
        w.element("h2", "Notes").raw("\n");
        for (const std::string& n : s.notes) {
            w.element("p", n).raw("\n");
        }
        if (!s.warning.empty()) {
            w.element("p", "WARNING: " + s.warning, R"( class="warning")").raw("\n");
        }
    }
    w.raw("</body>\n</html>\n");
    return w.take();
}

std::string Json(const Sheet& s) {
    Json_ j;
    j["program"] = s.program;
    j["version"] = s.version;
    j["date"] = s.date;
    j["time"] = s.time;
    j["handbook"] = s.handbook;
    j["notice"] = s.notice;
    j["type"] = s.code;
    j["section"] = s.section;
    j["style"] = s.style;
    Json_& inputs = j["inputs"];
    for (const Entry& e : s.inputs) {
        inputs[e.key] = NumberOrText(e.number, e.text);
        if (e.key == "capacitance") {
            inputs["capacitance_unit"] = s.capacitanceUnit;
        }
    }
    // The batch command's columns, null where the part has no such value.
    for (const char* key : {"lambda_b", "pi_t", "pi_cv", "pi_v", "pi_sr", "pi_c", "pi_q", "pi_e"}) {
        j[key] = Optional(NumberOf(s.factors, key));
    }
    j["stress"] = Optional(s.stress.number);
    j["derated_voltage"] = s.derated ? Optional(s.derated->number) : Json_();
    for (const char* key :
         {"fit", "failures_per_1e6h", "percent_per_1000h", "mtbf_hours", "mtbf_years"}) {
        j[key] = Optional(NumberOf(s.results, key));
    }
    Json_& factors = j["factors"];
    factors = Json_::array();
    for (const Line& l : s.factors) {
        factors.push_back(LineJson(l));
    }
    factors.push_back(LineJson(s.stress));
    if (s.derated) {
        factors.push_back(LineJson(*s.derated));
    }
    factors.push_back(LineJson(s.fit));
    j["no_result"] = s.noResult.empty() ? Json_() : Json_(s.noResult);
    j["window"] = {{"fit", s.windowFit.empty() ? Json_() : Json_(s.windowFit)},
                   {"mtbf", s.windowMtbf.empty() ? Json_() : Json_(s.windowMtbf)}};
    j["notes"] = s.notes;
    j["warning"] = s.warning.empty() ? Json_() : Json_(s.warning);
    if (s.lifeTest) {
        const LifeTestSection& t = *s.lifeTest;
        for (const char* key : {"rate_upper_60", "rate_upper_90"}) {
            std::optional<double> v;
            for (const LifeTestBound& b : t.bounds) {
                v = b.rate.key == key ? b.rate.number : v;
            }
            j[key] = Optional(v);
        }
        for (const char* key : {"fit_upper_60", "fit_upper_90"}) {
            std::optional<double> v;
            for (const LifeTestBound& b : t.bounds) {
                v = b.fit.key == key ? b.fit.number : v;
            }
            j[key] = Optional(v);
        }
        Json_& test = j["life_test"];
        for (const Entry& e : t.data) {
            test[e.key] = NumberOrText(e.number, e.text);
        }
        test["no_failures"] = t.noFailures;
        test["point_estimate"] = LineJson(t.pointEstimate);
        Json_& bounds = test["bounds"];
        bounds = Json_::array();
        for (const LifeTestBound& b : t.bounds) {
            bounds.push_back({{"confidence_percent", b.percent},
                              {"rate", LineJson(b.rate)},
                              {"pi_q", LineJson(b.piQ)},
                              {"fit", LineJson(b.fit)}});
        }
    }
    const OtherNotice& o = s.other;
    j["other_notice"] = {{"handbook", o.handbook},
                         {"notice", o.notice},
                         {"type", o.code},
                         {"section", o.section},
                         {"held_as", o.heldAs},
                         {"fit", o.fit.number ? Json_(*o.fit.number) : Json_()},
                         {"fit_text", o.fit.text},
                         {"ratio", o.ratio.number ? Json_(*o.ratio.number) : Json_()},
                         {"stand_in", !o.standIn.empty()},
                         {"stand_in_note", o.standIn.empty() ? Json_() : Json_(o.standIn)}};
    return j.dump(2, ' ', false, Json_::error_handler_t::replace) + "\n";
}

SheetFormat FormatOfPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return SheetFormat::Unknown;
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "json") {
        return SheetFormat::Json;
    }
    if (extension == "html") {
        return SheetFormat::Html;
    }
    if (extension == "pdf") {
        return SheetFormat::Pdf;
    }
    return SheetFormat::Unknown;
}

}  // namespace quarvell::analysis
