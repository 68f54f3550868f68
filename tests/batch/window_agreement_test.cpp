// The batch and the window agree: a few hundred generated parts, each entered in the headless
// window as a user would and listed for the batch, give the same factors, FIT and warning. The
// parts stay within what the window accepts (voltages on its scroll steps up to the rating,
// temperatures on its scroll bar), since beyond that the window refuses or limits while the
// batch takes the values as given. A quarter of them go through a window with a decimal comma
// and a semicolon-separated list.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "tests/batch/batch_support.h"
#include "tests/support/script.h"

namespace quarvell::batch {
namespace {

using quarvell::testing::Act;

struct Generated {
    const model::CapacitorType* type = nullptr;
    int rating = 0;  // entry of the rating list
    int resistance = -1;
    int piV = -1;
    std::string capacitance;  // as typed in the window, in microfarads
    std::string listed;       // as the list gives it, with a unit or a letter for the point
    double rated = 0;
    double applied = 0;
    int temperature = 0;
    int level = 0;     // 0: life test, 1: a known rate
    std::string rate;  // level 1
    int hours = 0;     // level 0
    int pieces = 0;
    int failures = 0;
    int bias = 0;  // entry of the bias list
    int environment = 0;
};

// Capacitances as typed in microfarads and as a list gives them.
const std::pair<const char*, const char*> kCapacitances[] = {
    {"0.0000022", "2p2"},   {"0.000047", "47pF"}, {"0.0047", "4n7"}, {"0.1", "100n"},
    {"0.47", "470nF"},      {"1", "1"},           {"4.7", "4u7"},    {"10", "10uF"},
    {"22", "22 \302\265F"}, {"100", "100"},       {"470", "470u"},   {"2200", "2.2mF"}};
const double kRatings[] = {6.3, 10, 16, 25, 35, 50, 63, 100, 200};
const char* const kRates[] = {"0.05", "0.25", "2", "7.5"};
const char* const kBiasText[] = {"1", "1.25", "1.33", "1.5", "2"};

// The window's steps of the application voltage: whole volts, or half volts when half the
// rating has a fraction between 0.2 and 0.8.
int VoltSteps(double rated) {
    const float half = static_cast<float>(rated) / 2;
    const float fraction = half - std::floor(half);
    return fraction <= 0.2F || fraction >= 0.8F ? 1 : 2;
}

Generated Generate(std::mt19937& random) {
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    Generated g;
    const model::Notice notice = pick(2) == 0 ? model::Notice::One : model::Notice::Two;
    const auto types = model::TypesOf(notice);
    g.type = &types[static_cast<std::size_t>(pick(static_cast<int>(types.size())))];
    g.rating = pick(g.type->ratingCount());
    if (g.type->option == model::OptionList::CircuitResistance) {
        g.resistance = pick(6);
    }
    if (g.type->polymer()) {
        g.piV = pick(6);
    }
    const auto& cap = kCapacitances[pick(static_cast<int>(std::size(kCapacitances)))];
    g.capacitance = cap.first;
    g.listed = cap.second;
    g.rated = kRatings[pick(static_cast<int>(std::size(kRatings)))];
    g.temperature = pick(181) - 55;
    const int steps = VoltSteps(g.rated);
    double top = std::nearbyint(steps * g.rated) / steps;
    const model::TypeModel& m = g.type->model;
    if (m.lowersScrollTop && g.temperature > m.derateAbove) {
        // The window lowers the scroll bar's top to the derated rating.
        const double derated = static_cast<float>(
            g.rated * (1 - (g.temperature - m.derateAbove) * 0.33 / m.derateSpan));
        top = std::floor(steps * derated) / steps;
    }
    g.applied = pick(static_cast<int>(top * steps) + 1) / static_cast<double>(steps);
    g.level = pick(14);
    if (g.level == 13) {
        g.level = 1;
    }
    g.rate = kRates[pick(static_cast<int>(std::size(kRates)))];
    g.hours = 100 * (1 + pick(50));
    g.pieces = 10 * (1 + pick(20));
    g.failures = 1 + pick(5);
    g.bias = pick(5);
    g.environment = pick(14);
    return g;
}

std::string Text(double v, bool comma) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    std::string s = buffer;
    for (char& c : s) {
        c = comma && c == '.' ? ',' : c;
    }
    return s;
}

std::string Comma(std::string s, bool comma) {
    for (char& c : s) {
        c = comma && c == '.' ? ',' : c;
    }
    return s;
}

// The window writes its numbers with the user's separator, the batch with a period.
std::string Periods(std::string s) {
    for (char& c : s) {
        c = c == ',' ? '.' : c;
    }
    return s;
}

// The user's actions in the window, in an order it takes them in.
std::string Script(const Generated& g, bool comma) {
    std::string s;
    if (g.type->notice == model::Notice::One) {
        s += "select optNotice 1\n";
    }
    s += "select cmbType " + std::to_string(model::PositionOf(*g.type)) + "\n";
    s += "select cmbRating " + std::to_string(g.rating) + "\n";
    if (g.resistance >= 0) {
        s += "select cmbRes " + std::to_string(g.resistance) + "\n";
    }
    if (g.piV >= 0) {
        s += "select cmbPiV " + std::to_string(g.piV) + "\n";
    }
    s += "select cmbEnv " + std::to_string(g.environment) + "\n";
    s += "type txtCap " + Comma(g.capacitance, comma) + "\nenter\n";
    s += "type txtVolt " + Text(g.rated, comma) + "\nenter\n";
    s += "type txtTemp " + std::to_string(g.temperature) + "\nenter\n";
    s += "type txtApp " + Text(g.applied, comma) + "\nenter\n";
    if (g.level == 1) {
        s += "answer " + Comma(g.rate, comma) + "\nselect cmbFR 1\n";
    } else if (g.level == 0) {
        s += "select cmbFR 0\nselect cmbLife " + std::to_string(g.bias) + "\n";
        s += "type txtHrs " + std::to_string(g.hours) + "\nenter\n";
        s += "type txtPcs " + std::to_string(g.pieces) + "\nenter\n";
        s += "type txtFail " + std::to_string(g.failures) + "\nenter\n";
    } else {
        s += "select cmbFR " + std::to_string(g.level) + "\n";
    }
    return s;
}

// The quality column of each level of the list (0 and 1 are the life test and a known rate).
const std::vector<std::string> kLevels =
    testing::Words(". . D C B S R P M non-er non-er-q3 commercial commercial-q10");
const char* const kEnvironments[] = {"GB",  "GF",  "GM",  "NS", "NU", "AIC", "AIF",
                                     "AUC", "AUF", "ARW", "SF", "MF", "ML",  "CL"};

// The same part as a row of the list.
std::string Row(const Generated& g, bool comma) {
    const char sep = comma ? ';' : ',';
    std::string quality;
    if (g.level == 1) {
        quality = Comma(g.rate, comma) + "%";
    } else if (g.level == 0) {
        quality = "test:" + std::to_string(g.pieces) + "/" + std::to_string(g.hours) + "/" +
                  std::to_string(g.failures) + "@" + Comma(kBiasText[g.bias], comma);
    } else {
        quality = kLevels[g.level];
    }
    std::string resistance;
    if (g.resistance >= 0) {
        resistance = catalogue::CircuitResistanceEntries()[static_cast<std::size_t>(g.resistance)];
    }
    const std::string piV =
        g.piV >= 0 ? Comma(catalogue::PiVEntries()[static_cast<std::size_t>(g.piV)], comma) : "";
    std::string row;
    for (const std::string& cell :
         {std::string(g.type->code), Comma(g.listed, comma), Text(g.rated, comma),
          Text(g.applied, comma), std::to_string(g.temperature),
          std::to_string(g.type->ratings[static_cast<std::size_t>(g.rating)]), quality,
          std::string(kEnvironments[g.environment]), resistance, piV}) {
        row += row.empty() ? "" : std::string(1, sep);
        row += cell;
    }
    return row + "\n";
}

TEST(WindowAgreement, GeneratedPartsGiveTheSameFactorsFitAndWarningBothWays) {
    constexpr int kParts = 300;
    std::mt19937 random(20240611);
    std::vector<Generated> parts;
    for (int i = 0; i < kParts; ++i) {
        parts.push_back(Generate(random));
    }
    // What the comparison has met, so that it cannot pass by meeting nothing.
    int warnings = 0;
    int derated = 0;
    int lifeTests = 0;
    int rates = 0;
    for (const bool comma : {false, true}) {
        const char sep = comma ? ';' : ',';
        std::string list;
        for (const char* name :
             {"type", "capacitance", "rated_voltage", "applied_voltage", "temperature",
              "temp_rating", "quality", "environment", "circuit_resistance", "piv_denominator"}) {
            list += list.empty() ? "" : std::string(1, sep);
            list += name;
        }
        list += "\n";
        std::vector<const Generated*> chosen;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if ((i % 4 == 0) == comma) {
                chosen.push_back(&parts[i]);
                list += Row(parts[i], comma);
            }
        }
        const testing::Ran ran = testing::RunOn(list);
        ASSERT_EQ(ran.outcome.status, kExitOk) << ran.out;
        const testing::Table t = testing::ReadTable(ran.out);
        ASSERT_EQ(t.rows.size(), chosen.size());

        for (std::size_t row = 0; row < chosen.size(); ++row) {
            const Generated& g = *chosen[row];
            const std::string script = Script(g, comma);
            SCOPED_TRACE(script);
            replay::Session session(comma ? model::kCommaLocale : model::kPeriodLocale);
            Act(session, script);
            const model::CalcInputs& in = session.window.state().in;
            // The window took the part as generated.
            ASSERT_EQ(in.TypeCode, g.type->code);
            ASSERT_EQ(in.AppVoltage, static_cast<float>(g.applied));
            ASSERT_EQ(in.AppTemp, static_cast<float>(g.temperature));
            ASSERT_EQ(in.TempRating, g.type->ratings[static_cast<std::size_t>(g.rating)]);

            const model::CalcResults& out = session.window.state().out;
            const auto factor = [&](const char* column) { return t.number(row, column); };
            EXPECT_EQ(factor("lambda_b"), out.Base);
            EXPECT_EQ(factor("pi_t"), out.PiT);
            EXPECT_EQ(factor("pi_cv"), out.PiCV);
            EXPECT_EQ(factor("pi_v"), out.PiV);
            EXPECT_EQ(factor("pi_q"), out.PiQ);
            EXPECT_EQ(factor("pi_e"), out.PiE);
            if (g.type->option == model::OptionList::CircuitResistance) {
                EXPECT_EQ(factor("pi_sr"), out.PiSR);
            }
            if (g.type->option == model::OptionList::Construction) {
                EXPECT_EQ(factor("pi_c"), out.PiConst);
            }
            EXPECT_EQ(factor("derated_voltage").value_or(static_cast<float>(g.rated)),
                      out.DeratedVoltage);
            ASSERT_TRUE(out.Usable);
            EXPECT_EQ(factor("fit"), out.Fit);
            // The warning is the window's note line that starts with "WARNING: ".
            const std::size_t w = out.NoteText.find("WARNING: ");
            const std::string warning =
                w == std::string::npos
                    ? ""
                    : out.NoteText.substr(w + 9, out.NoteText.find("\r\n", w) - w - 9);
            EXPECT_EQ(t.at(row, "warning"), comma ? Periods(warning) : warning);
            warnings += warning.empty() ? 0 : 1;
            derated += t.at(row, "derated_voltage").empty() ? 0 : 1;
            lifeTests += g.level == 0 ? 1 : 0;
            rates += g.level == 1 ? 1 : 0;
        }
    }
    EXPECT_GT(warnings, 10);
    EXPECT_GT(derated, 10);
    EXPECT_GT(lifeTests, 10);
    EXPECT_GT(rates, 10);
}

}  // namespace
}  // namespace quarvell::batch
