#pragma once
// The analysis faces of the engine as data, without any GUI: the calculation sheet of one part
// (every input, every factor with its formula and this part's numbers put in, the results, the
// notes, the other Notice's answer and a life test's bounds). The sheet is made once from an
// evaluation and then written out by the renderers (sheet_render.h) as plain text, HTML or
// JSON; the Qt layer draws the PDF and prints from the HTML.

#include <optional>
#include <string>
#include <vector>

#include "model/engine.h"
#include "model/number_locale.h"
#include "platform/services.h"

namespace quarvell::analysis {

// An input or a result: what it is, its text on the sheet, and its number for the JSON.
struct Entry {
    std::string key;   // the batch command's column name where there is one
    std::string name;  // as the sheet labels it
    std::string text;  // in the number locale, with its unit
    std::optional<double> number;
};

// One line of working: a quantity, its formula, the formula with this part's numbers put in,
// and what it comes to, as the calculator window shows it.
struct Line {
    std::string key;
    std::string name;     // "PI(T)"
    std::string formula;  // "exp[-Ea/k × (1/T - 1/298)]"
    std::string worked;   // "exp[-0.15/8.617E-5 × (1/323 - 1/298)]"
    std::string value;    // "1.572"; empty where there is none
    std::optional<double> number;
};

// The same part under the other Notice, as the Notice switch leaves it.
struct OtherNotice {
    int notice = 0;
    std::string handbook;  // "MIL-HDBK-217F Notice 1"
    std::string code;      // "10.12"
    std::string section;   // "10.12 Tantalum(Solid-Leaded)"
    std::string heldAs;    // the rating, option, denominator and bias the switch leaves
    Entry fit;
    Entry ratio;          // its FIT over this part's
    std::string standIn;  // why the counterpart is a stand-in; empty when it is not one
};

struct LifeTestBound {
    int percent = 0;  // 60 or 90
    Line rate;        // %/kPcHr
    Line piQ;
    Line fit;
};

struct LifeTestSection {
    std::vector<Entry> data;  // pieces, hours, failures, bias, equivalent piece-hours
    bool noFailures = false;
    Line pointEstimate;
    std::vector<LifeTestBound> bounds;  // none when the test bounds nothing
};

struct Sheet {
    // Heading.
    std::string program;  // "Quarvell"
    std::string version;  // "1.0.0"
    std::string date;     // "2026-01-05"
    std::string time;     // "10:00"
    int notice = 0;
    std::string handbook;  // "MIL-HDBK-217F Notice 2"
    std::string code;      // "10.1f"
    std::string section;   // "10.1f Tantalum(Solid-Chip)"
    std::string style;

    std::vector<Entry> inputs;
    std::string capacitanceUnit;  // "uF", or "pF" for the types whose PI(CV) takes picofarads

    // Base, PI(T), PI(CV), PI(V), PI(SR) or PI(Const), PI(Q), PI(E), by the batch names.
    std::vector<Line> factors;
    Line stress;
    std::optional<Line> derated;
    Line fit;
    std::string legend;  // what the formulas' letters stand for

    // FIT, failures per 10^6 hours, % per 1000 hours, MTBF in hours and in years; empty with
    // noResult saying why.
    std::vector<Entry> results;
    std::string noResult;
    std::string windowFit;   // as the window shows them
    std::string windowMtbf;  // empty where the window shows none

    std::vector<std::string> notes;
    std::string warning;

    OtherNotice other;
    std::optional<LifeTestSection> lifeTest;
};

// What the sheet is stamped with and how its numbers are written.
struct SheetContext {
    std::string program;
    std::string version;
    platform::LocalDateTime when;
    model::NumberLocale locale = model::kPeriodLocale;
    std::string typeNote;  // the note the type selection assembled (the window's PendingNote)
};

// The platform's version record, clock and number locale with a type note.
SheetContext ContextOf(platform::Services& services, std::string typeNote);

// The sheet of an evaluation that was not refused: made for a usable result, and for a
// complete life test without failures, whose upper bounds it gives (the window's hasSheet);
// anything the evaluation lacks is said on the sheet.
Sheet MakeSheet(const model::Evaluation& e, const SheetContext& context);

}  // namespace quarvell::analysis
