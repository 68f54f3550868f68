// The calculation sheet as data and as text, HTML and JSON: the worked example line by line
// against what the window shows, every type's factors against the window's captions, life-test
// bounds against the reference values, and the other Notice's answer.
#include "analysis/sheet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "analysis/sheet_numbers.h"
#include "analysis/sheet_render.h"
#include "catalogue/counterpart.h"
#include "model/engine_texts.h"
#include "model/life_test.h"
#include "tests/model/part.h"
#include "tests/support/script.h"

namespace quarvell::analysis {
namespace {

using nlohmann::json;
using quarvell::testing::Act;

constexpr const char* kWorkedExample =
    "select cmbType 4\ntype txtCap 10\nenter\ntype txtVolt 10\nenter\ntype txtApp 5\nenter\n"
    "type txtTemp 50\nenter\nselect cmbFR 8\nselect cmbEnv 0\nselect cmbRes 5\n";

Sheet SheetOf(replay::Session& s) {
    return MakeSheet(s.window.evaluation(), ContextOf(s.services, s.window.state().in.PendingNote));
}

const Line& FactorOf(const Sheet& s, const std::string& key) {
    for (const Line& l : s.factors) {
        if (l.key == key) {
            return l;
        }
    }
    ADD_FAILURE() << "no factor " << key;
    static const Line none;
    return none;
}

const Entry& EntryOf(const std::vector<Entry>& entries, const std::string& key) {
    for (const Entry& e : entries) {
        if (e.key == key) {
            return e;
        }
    }
    ADD_FAILURE() << "no entry " << key;
    static const Entry none;
    return none;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Three significant digits, as the reference values are given.
std::string ThreeDigits(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3g", v);
    return buffer;
}

TEST(WorkedExampleSheet, HoldsEveryLineWithTheValuesTheWindowShows) {
    replay::Session session;
    Act(session, kWorkedExample);
    const window::FrmFit& w = session.window;
    ASSERT_TRUE(w.hasSheet());
    const Sheet s = SheetOf(session);

    EXPECT_EQ(s.program, "Quarvell");
    EXPECT_EQ(s.date, "2026-01-05");
    EXPECT_EQ(s.time, "10:00");
    EXPECT_EQ(s.handbook, "MIL-HDBK-217F Notice 2");
    EXPECT_EQ(s.section, "10.1f Tantalum(Solid-Chip)");
    EXPECT_EQ(s.style, w.txtStyle.text());

    const std::map<std::string, std::string> inputs{
        {"capacitance", "10 \u00B5F"},
        {"rated_voltage", "10 V"},
        {"applied_voltage", "5 V"},
        {"temp_rating", w.cmbRating.text().substr(1, 2) + " \u00B0C"},
        {"temperature", "50 \u00B0C"},
        {"quality", "1.000%/kPcHr Exponent 'M'"},
        {"environment", "G(B)  Ground, Benign"},
        {"circuit_resistance", "(<0.1 Ohms/V)"},
        {"piv_denominator", "0.6"}};
    ASSERT_EQ(s.inputs.size(), inputs.size());
    for (const auto& [key, text] : inputs) {
        EXPECT_EQ(EntryOf(s.inputs, key).text, text) << key;
    }

    const struct {
        const char* key;
        const platform::Label& label;
        const char* worked;
        const char* value;
    } factors[] = {
        {"lambda_b", w.lblBase, "handbook table, 10.1f", "0.00005"},
        {"pi_t", w.lblPIt, "exp[-0.15/8.617E-5 \u00D7 (1/323 - 1/298)]", "1.572"},
        {"pi_cv", w.lblPIc, "10^0.23", "1.698"},
        {"pi_v", w.lblPIv, "(0.5/0.6)^17 + 1", "1.045"},
        {"pi_sr", w.lblPIsr, "(<0.1 Ohms/V): 0.33 \u00D7 10", "3.3"},
        {"pi_q", w.lblPIq, "\u221A1", "1.000"},
        {"pi_e", w.lblPIe, "G(B)", "1"},
    };
    ASSERT_EQ(s.factors.size(), std::size(factors));
    for (const auto& f : factors) {
        const Line& l = FactorOf(s, f.key);
        EXPECT_EQ(l.worked, f.worked) << f.key;
        EXPECT_EQ(l.value, f.value) << f.key;
        EXPECT_TRUE(EndsWith(f.label.caption(), "= " + l.value)) << f.label.caption();
    }
    EXPECT_EQ(s.stress.worked, "5/10");
    EXPECT_TRUE(EndsWith(w.lblS.caption(), "= " + s.stress.value)) << w.lblS.caption();
    EXPECT_FALSE(s.derated);
    EXPECT_EQ(s.fit.formula,
              "Base \u00D7 PI(CV) \u00D7 PI(T) \u00D7 PI(SR) \u00D7 PI(V) \u00D7 PI(Q) \u00D7 "
              "PI(E) \u00D7 1000");
    EXPECT_EQ(s.fit.worked,
              "0.00005 \u00D7 1.698 \u00D7 1.572 \u00D7 3.3 \u00D7 1.045 \u00D7 1.000 \u00D7 1 "
              "\u00D7 1000");
    EXPECT_EQ(s.fit.value, "0.4602");

    EXPECT_EQ(s.windowFit, w.txtFIT.text());
    EXPECT_EQ(s.windowMtbf, w.txtMTBF.text());
    EXPECT_EQ(EntryOf(s.results, "fit").text, "0.4602 per 10^9 h");
    EXPECT_EQ(EntryOf(s.results, "failures_per_1e6h").text, "0.0004602");
    EXPECT_EQ(EntryOf(s.results, "percent_per_1000h").text, "4.602E-05 %");
    EXPECT_EQ(EntryOf(s.results, "mtbf_hours").text, "2.173E+09 h");
    EXPECT_EQ(EntryOf(s.results, "mtbf_years").text, "248,000 years of 8760 h");
    EXPECT_TRUE(s.notes.empty());
    EXPECT_EQ(s.warning, "");
    EXPECT_FALSE(s.lifeTest);

    // The Notice switch carries the chip over to the leaded 10.12, with its message.
    const catalogue::Counterpart other = catalogue::CounterpartOf(w.evaluation().part);
    const model::Evaluation o = model::Evaluate(other.part);
    EXPECT_EQ(s.other.section, "10.12 Tantalum(Solid-Leaded)");
    EXPECT_EQ(s.other.fit.number, Tidy(o.fit));
    EXPECT_NEAR(*s.other.ratio.number, static_cast<double>(o.fit) / w.state().out.Fit, 1e-5);
    EXPECT_NE(s.other.standIn.find("In Notice-1, no CWR Chip style is selectable."),
              std::string::npos);
}

TEST(WorkedExampleSheet, PlainTextWorksEachFactorOutAsByHand) {
    replay::Session session;
    Act(session, kWorkedExample);
    const std::string text = PlainText(SheetOf(session));
    for (const char* line : {
             "Calculation sheet: 10.1f Tantalum(Solid-Chip)\n",
             "\n  PI(T)  = exp[-Ea/k \u00D7 (1/T - 1/298)]\n"
             "         = exp[-0.15/8.617E-5 \u00D7 (1/323 - 1/298)] = 1.572\n",
             "\n  PI(CV) = C^0.23, C in \u00B5F\n         = 10^0.23 = 1.698\n",
             "\n  FIT                      0.4602 per 10^9 h\n",
             "The calculator window shows 0.460 Parts/BPc-Hr and an MTBF of 2.2 Billion-Hrs.",
             "The same part under MIL-HDBK-217F Notice 1: 10.12 Tantalum(Solid-Leaded)\n",
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
    }
}

TEST(WorkedExampleSheet, JsonHoldsTheSameAsDataUnderTheBatchNames) {
    replay::Session session;
    Act(session, kWorkedExample);
    const window::FrmFit& w = session.window;
    const model::Evaluation& e = w.evaluation();
    const json j = json::parse(Json(SheetOf(session)));

    const std::map<std::string, float> numbers{
        {"lambda_b", e.base}, {"pi_t", e.piT},   {"pi_cv", e.piCV},
        {"pi_v", e.piV},      {"pi_sr", e.piSR}, {"pi_q", e.piQ},
        {"pi_e", e.piE},      {"fit", e.fit},    {"mtbf_hours", model::MtbfHours(e.fit)}};
    for (const auto& [key, value] : numbers) {
        EXPECT_EQ(j.at(key).get<double>(), Tidy(value)) << key;
    }
    EXPECT_DOUBLE_EQ(j.at("failures_per_1e6h").get<double>(), Tidy(e.fit / 1000));
    EXPECT_DOUBLE_EQ(j.at("percent_per_1000h").get<double>(), Tidy(e.fit / 10000));
    EXPECT_NEAR(j.at("mtbf_years").get<double>(), model::MtbfHours(e.fit) / 8760.0, 0.01);
    EXPECT_EQ(j.at("stress"), 0.5);
    for (const char* absent : {"pi_c", "derated_voltage", "warning"}) {
        EXPECT_TRUE(j.at(absent).is_null()) << absent;
    }
    EXPECT_FALSE(j.contains("rate_upper_60")) << "no life test, no bounds";
    EXPECT_EQ(j.at("inputs").at("capacitance"), 10);
    EXPECT_EQ(j.at("inputs").at("capacitance_unit"), "uF");
    EXPECT_EQ(j.at("inputs").at("quality"), "1.000%/kPcHr Exponent 'M'");
    EXPECT_EQ(j.at("window").at("fit"), "0.460 Parts/BPc-Hr");
    EXPECT_EQ(j.at("factors").at(1).at("worked"), "exp[-0.15/8.617E-5 \u00D7 (1/323 - 1/298)]");
    EXPECT_EQ(j.at("other_notice").at("type"), "10.12");
    EXPECT_EQ(j.at("other_notice").at("stand_in"), true);
    EXPECT_GT(j.at("other_notice").at("ratio").get<double>(), 1);
}

TEST(WorkedExampleSheet, NumbersFollowTheDecimalComma) {
    replay::Session session(model::kCommaLocale);
    Act(session, kWorkedExample);
    const Sheet s = SheetOf(session);
    EXPECT_EQ(FactorOf(s, "pi_t").worked, "exp[-0,15/8,617E-5 \u00D7 (1/323 - 1/298)]");
    EXPECT_EQ(FactorOf(s, "pi_t").value, "1,572");
    EXPECT_EQ(FactorOf(s, "pi_v").worked, "(0,5/0,6)^17 + 1");
    EXPECT_EQ(s.fit.value, "0,4602");
    EXPECT_EQ(EntryOf(s.results, "mtbf_years").text, "248.000 years of 8760 h");
    EXPECT_EQ(s.windowFit, session.window.txtFIT.text());
    // The JSON's numbers are numbers whatever the texts' separators.
    EXPECT_DOUBLE_EQ(json::parse(Json(s)).at("pi_t").get<double>(),
                     Tidy(session.window.evaluation().piT));
}

// Every type of both Notices at the worked example's values, and hot and overstressed: the
// sheet's value of each factor is the one its window caption ends with, the FIT's working puts
// in every factor, and no text shows a non-number.
TEST(EveryTypeSheet, ShowsTheWindowsValuesAndWorksEveryFactorIn) {
    using model::testing::Evaluated;
    using model::testing::Given;
    for (const model::Notice notice : {model::Notice::One, model::Notice::Two}) {
        for (const model::CapacitorType& type : model::TypesOf(notice)) {
            // The wet tantalum's construction list has a first entry only.
            const int option = type.option == model::OptionList::Construction ? 0 : 5;
            const Given usual{.type = type.code, .rating = type.ratings[0], .option = option};
            const Given hot{.type = type.code,
                            .rating = type.ratings[0],
                            .cap = 0.0047F,
                            .app = 12,
                            .temp = 130,
                            .env = 7,
                            .option = 0};
            for (const Given& given : {usual, hot}) {
                SCOPED_TRACE(std::string(type.code) + " at " + std::to_string(given.temp));
                const Evaluated ev(given);
                ASSERT_TRUE(model::Usable(ev.e));
                const Sheet s = MakeSheet(ev.e, {.program = "Quarvell", .version = "1.0.0"});
                const std::map<std::string, const std::string*> captions{
                    {"lambda_b", &ev.t.base}, {"pi_t", &ev.t.piT},   {"pi_cv", &ev.t.piCV},
                    {"pi_v", &ev.t.piV},      {"pi_sr", &ev.t.piSR}, {"pi_c", &ev.t.piSR},
                    {"pi_q", &ev.t.piQ},      {"pi_e", &ev.t.piE}};
                for (const Line& l : s.factors) {
                    EXPECT_TRUE(EndsWith(*captions.at(l.key), l.value))
                        << l.key << ": " << *captions.at(l.key) << " vs " << l.value;
                    EXPECT_TRUE(l.number.has_value()) << l.key;
                }
                EXPECT_EQ(s.factors.size(), type.option == model::OptionList::None ? 6U : 7U);
                EXPECT_TRUE(EndsWith(ev.t.stress, s.stress.value)) << ev.t.stress;
                EXPECT_EQ(s.derated.has_value(), ev.e.derated);
                if (ev.e.derated) {
                    EXPECT_EQ(s.derated->value, ev.t.derated + " V");
                }
                for (const char* name : {"Base", "PI(", "PiV"}) {
                    EXPECT_EQ(s.fit.worked.find(name), std::string::npos) << s.fit.worked;
                }
                EXPECT_NEAR(*s.fit.number, ev.e.fit, ev.e.fit * 1e-6);
                // The product puts in each factor as its own line shows it.
                for (const Line& l : s.factors) {
                    EXPECT_NE(s.fit.worked.find(l.value), std::string::npos)
                        << l.key << " " << l.value << " in " << s.fit.worked;
                }
                const std::string text = PlainText(s) + Html(s) + Json(s);
                for (const char* bad : {"nan", "inf", "Out of range"}) {
                    EXPECT_EQ(text.find(bad), std::string::npos) << bad;
                }
            }
        }
    }
}

TEST(NoticeOneSheet, CeramicsTakePicofaradsAndWholeKelvinWhereTheHandbookDoes) {
    using model::testing::Evaluated;
    using model::testing::Given;
    const Evaluated ceramic(Given{.type = "10.10", .cap = 0.01F});
    const Sheet c = MakeSheet(ceramic.e, {});
    EXPECT_EQ(EntryOf(c.inputs, "capacitance").text, "10000 pF");
    EXPECT_EQ(c.capacitanceUnit, "pF");
    EXPECT_EQ(FactorOf(c, "pi_cv").worked, "0.41 \u00D7 10000^0.11");
    EXPECT_EQ(FactorOf(c, "pi_t").worked, "exp(323/398)");
    EXPECT_EQ(json::parse(Json(c)).at("inputs").at("capacitance"), 10000);

    const Evaluated dry(Given{.type = "10.15", .temp = 50.4F});
    const Sheet d = MakeSheet(dry.e, {});
    EXPECT_EQ(FactorOf(d, "pi_t").worked, "exp[4.09 \u00D7 (323/398)^5.9]");
    EXPECT_NE(FactorOf(d, "pi_t").formula.find("whole kelvin"), std::string::npos);

    // 10.13: the construction, whose entry is escaped in the HTML.
    const Evaluated wet(Given{.type = "10.13", .option = 0});
    const Sheet t = MakeSheet(wet.e, {});
    EXPECT_EQ(FactorOf(t, "pi_c").worked, "Slug, & All Tantalum");
    const std::string html = Html(t);
    EXPECT_NE(html.find("Slug, &amp; All Tantalum"), std::string::npos);
    EXPECT_EQ(html.find("Slug, & All"), std::string::npos);
}

TEST(DeratedSheet, ShowsTheDeratedRatingTheNotesAndTheWarning) {
    using model::testing::Evaluated;
    using model::testing::Given;
    const Evaluated hot(Given{.type = "10.1e", .app = 8, .temp = 125});
    const Sheet s = MakeSheet(hot.e, {});
    ASSERT_TRUE(s.derated);
    EXPECT_EQ(s.derated->worked, "10 \u00D7 (1 - (125 - 85) \u00D7 0.33/40)");
    EXPECT_EQ(s.derated->value, "6.7 V");
    EXPECT_EQ(s.stress.worked, "8/6.7");
    EXPECT_EQ(s.notes,
              (std::vector<std::string>{
                  "Voltage-Derating applied in Temperature Range (>85) - 'S' calc appears in red.",
                  "Ttemperature Derated Voltage Rating shown to the right of Rated Voltage."}));
    EXPECT_EQ(s.warning, "Application voltage (8) is above rated voltage (6.7).");
    const json j = json::parse(Json(s));
    EXPECT_EQ(j.at("derated_voltage"), Tidy(6.7F));
    EXPECT_EQ(j.at("warning"), s.warning);
    EXPECT_NE(Html(s).find("WARNING: Application voltage (8)"), std::string::npos);
}

// One-sided chi-square upper bounds at 60 % and 90 % over 10^6 piece-hours at the rated
// voltage, however the piece-hours are made up (the bias counts cubed).
TEST(LifeTestSheet, BoundsMatchTheReferenceValues) {
    const struct {
        float pieces, hours, failures, bias;
        const char* upper60;
        const char* upper90;
        const char* point;
    } cases[] = {
        {100, 10000, 0, 1, "0.0916", "0.23", ""},
        {1000, 1000, 1, 1, "0.202", "0.389", "0.1 %/kPcHr"},
        {125000, 1, 1, 2, "0.202", "0.389", "0.1 %/kPcHr"},
        {8000, 1000, 0, 0.5F, "0.0916", "0.23", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.failures) + " failures, bias " + std::to_string(c.bias));
        model::testing::Given given{.level = model::kLifeTestLevel};
        given.test = {.pieces = c.pieces, .hours = c.hours, .failures = c.failures, .bias = c.bias};
        const model::Part part = model::testing::MakePart(given);
        const model::Evaluation e = model::Evaluate(part);
        const Sheet s = MakeSheet(e, {});
        ASSERT_TRUE(s.lifeTest);
        const LifeTestSection& t = *s.lifeTest;
        EXPECT_EQ(t.noFailures, c.failures == 0);
        EXPECT_EQ(t.pointEstimate.value, c.point);
        EXPECT_EQ(EntryOf(t.data, "piece_hours").number, 1e6);
        ASSERT_EQ(t.bounds.size(), 2U);
        const json j = json::parse(Json(s));
        EXPECT_EQ(ThreeDigits(j.at("rate_upper_60").get<double>()), c.upper60);
        EXPECT_EQ(ThreeDigits(j.at("rate_upper_90").get<double>()), c.upper90);
        for (const LifeTestBound& b : t.bounds) {
            const model::Evaluation at =
                model::EvaluateAtRate(part, static_cast<float>(*b.rate.number));
            EXPECT_EQ(b.fit.number, Tidy(at.fit)) << b.percent;
            EXPECT_EQ(j.at("fit_upper_" + std::to_string(b.percent)).get<double>(), Tidy(at.fit));
            EXPECT_EQ(b.piQ.number, Tidy(at.piQ));
            EXPECT_NE(b.piQ.value, "Out of range");
        }
        EXPECT_EQ(
            t.bounds[0].rate.worked.find(
                "\u03C7\u00B2(0.6; " + std::to_string(2 * static_cast<int>(c.failures) + 2) + ")"),
            0U)
            << t.bounds[0].rate.worked;
    }
}

TEST(LifeTestSheet, WithoutFailuresSaysSoAndHasNoFitButItsBounds) {
    replay::Session session;
    Act(session,
        "type txtCap 10\ntype txtVolt 10\nenter\nselect cmbFR 0\ntype txtHrs 10000\nenter\n"
        "type txtPcs 100\nenter\ntype txtFail 0\nenter\n");
    ASSERT_TRUE(session.window.hasSheet());
    const Sheet s = SheetOf(session);
    EXPECT_TRUE(s.results.empty());
    EXPECT_NE(s.noResult.find("no failures"), std::string::npos);
    EXPECT_EQ(FactorOf(s, "pi_q").value, "");
    EXPECT_EQ(s.fit.value, "");
    EXPECT_EQ(s.notes, (std::vector<std::string>{
                           "The life test had no failures: there is no point estimate of the "
                           "failure rate, only its upper bounds."}));
    EXPECT_EQ(s.other.fit.number, std::nullopt);
    const json j = json::parse(Json(s));
    for (const char* key : {"fit", "pi_q", "mtbf_hours"}) {
        EXPECT_TRUE(j.at(key).is_null()) << key;
    }
    EXPECT_EQ(j.at("life_test").at("no_failures"), true);
    EXPECT_EQ(ThreeDigits(j.at("rate_upper_60").get<double>()), "0.0916");
    EXPECT_GT(j.at("fit_upper_90").get<double>(), j.at("fit_upper_60").get<double>());
    const std::string text = PlainText(s);
    EXPECT_NE(text.find("= \u221A0.09162907 = 0.303\n"), std::string::npos) << text;
}

TEST(SheetFormat, IsTakenFromTheExtensionInAnyCase) {
    const std::map<std::string, SheetFormat> cases{
        {"a.json", SheetFormat::Json},           {"dir/A.PDF", SheetFormat::Pdf},
        {"x.y.Html", SheetFormat::Html},         {"sheet.htm", SheetFormat::Unknown},
        {"sheet.txt", SheetFormat::Unknown},     {"sheet", SheetFormat::Unknown},
        {"v1.json/sheet", SheetFormat::Unknown}, {"", SheetFormat::Unknown}};
    for (const auto& [path, format] : cases) {
        EXPECT_EQ(FormatOfPath(path), format) << path;
    }
}

}  // namespace
}  // namespace quarvell::analysis
