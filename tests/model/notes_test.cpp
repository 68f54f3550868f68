// Derating, the note block and the warnings of an evaluation's texts.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "part.h"

namespace quarvell::model::testing {
namespace {

const std::string kDerated85 =
    "Voltage-Derating applied in Temperature Range (>85) - 'S' calc appears in red.";
const std::string kDeratedRating =
    "NOTE: Ttemperature Derated Voltage Rating shown to the right of Rated Voltage.";
const Lines kTantalumPolymer = {
    "NOTE: No provisions in 217F for Tantalum-Polymer.",
    "NOTE: In PI(V) default denominator or Unity Factor changed from 0.6 to 0.8"};
const Lines kAluminumPolymer = {
    "NOTE: No provisions in 217F for Aluminum-Polymer.",
    "NOTE: In PI(V), default denominator or Unity Factor changed from 0.6 to 0.9"};

// Above its threshold a type's 10 V rating falls by a third over the span, never below 1 V.
TEST(Derating, ThresholdsSpansAndFloor) {
    const struct {
        const char* type;
        float temp;
        float rating;
    } cases[] = {
        {"10.1e", 85, 10},
        {"10.1e", 125, 6.7F},
        {"10.1e", 200, 1},
        {"10.1e", 194, static_cast<float>(10 * (1 - 109 * 0.33 / 40))},  // just above the floor
        {"10.1f", 125, 6.7F},
        {"10.1g", 125, 6.7F},
        {"10.12", 125, 6.7F},
        {"10.12b", 125, 6.7F},
        {"10.13", 125, 6.7F},
        {"10.12", 300, 1},
        {"10.1j", 105, 10},
        {"10.1j", 110, 9.175F},
        {"10.1j", 160, 1},
        {"10.1b", 125, 10},
        {"10.14", 125, 10},
        {"10.15", 125, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " at " + std::to_string(c.temp));
        const Evaluated r({.type = c.type, .app = 0.5F, .temp = c.temp, .option = 0});
        EXPECT_EQ(r.e.deratedVoltage, c.rating);
        EXPECT_EQ(r.e.derated, c.rating != 10);
        EXPECT_EQ(r.t.showsDerated, c.rating != 10);
        EXPECT_EQ(r.t.stressRed, c.rating != 10);
    }
    EXPECT_EQ(Evaluated({.type = "10.1j", .temp = 110}).t.derated, "9.175");
    // 10.12 shows S on the rated voltage but derates PI(V).
    EXPECT_FLOAT_EQ(Evaluated({.type = "10.12", .temp = 125}).e.piV,
                    static_cast<float>(std::pow(5 / 6.7 / 0.4, 3) + 1));
}

TEST(NoteBlock, WorkedExampleOf10_1eDerated) {
    const Evaluated r({.type = "10.1e", .app = 8, .temp = 125});
    EXPECT_EQ(r.t.note, "NOTE: " + kDerated85 + "\r\n" + kDeratedRating +
                            "\r\nWARNING: Application voltage (8) is above rated voltage (6.7).");
    EXPECT_EQ(r.t.noteSeparator, "\r\n");
    EXPECT_EQ(r.t.stress, "S = AppV/RatedV = 1.19");  // on the derated 6.7 V
    EXPECT_EQ(r.t.derated, "6.7");
    EXPECT_EQ(Evaluated({.type = "10.1e", .temp = 85}).t.note, "");
}

TEST(NoteBlock, DeratingNotesAndStressOfEachType) {
    const struct {
        Given part;
        const char* s;
        Lines notes;
    } cases[] = {
        {{.type = "10.13", .temp = 125, .option = 0},
         "7.46E-01",  // scientific, on the derated voltage
         {"NOTE: Voltage is in Temperature derating Range (>85) - 'S' calc appears in red.",
          kDeratedRating}},
        {{.type = "10.12", .temp = 125}, "0.50", {"NOTE: " + kDerated85, kDeratedRating}},
        // 10.1g says nothing of its derating, but still opens a new line, even in an empty block.
        {{.type = "10.1g", .temp = 90}, "0.52", {"", kDeratedRating}},
        {{.type = "10.1g", .temp = 90, .typeNote = "NOTE: Tantalum-Wet"},
         "0.52",
         {"NOTE: Tantalum-Wet", kDeratedRating}},
        // The type's note comes first; later lines have no prefix.
        {{.type = "10.1e", .temp = 125, .typeNote = "NOTE: Type note"},
         "0.75",
         {"NOTE: Type note", kDerated85, kDeratedRating}},
        // The polymer types' own lines replace the type's note.
        {{.type = "10.1j", .temp = 110, .typeNote = "NOTE: Type note"},
         "0.54",
         {kTantalumPolymer[0], kTantalumPolymer[1],
          "Voltage-Derating applied in Temperature Range (>105) - 'S' calc appears in red.",
          kDeratedRating}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.part.type) + " " + std::string(c.part.typeNote));
        const Evaluated r(c.part);
        EXPECT_EQ(r.t.stress, std::string("S = AppV/RatedV = ") + c.s);
        EXPECT_EQ(NoteLines(r.t.note), c.notes);
    }
}

TEST(NoteBlock, PolymerTypesReplaceTheTypeNote) {
    EXPECT_EQ(NoteLines(Evaluated({.type = "10.1k", .typeNote = "NOTE: No provision"}).t.note),
              kAluminumPolymer);
    EXPECT_EQ(NoteLines(Evaluated({.type = "10.1j", .typeNote = "NOTE: Type note"}).t.note),
              kTantalumPolymer);
    // A warning follows on a third line.
    Lines warned = kAluminumPolymer;
    warned.push_back("WARNING: Application voltage (12) is above rated voltage (10).");
    EXPECT_EQ(NoteLines(Evaluated({.type = "10.1k", .app = 12, .typeNote = "NOTE: x"}).t.note),
              warned);
}

TEST(Warnings, AtMostOneInOrderOfPrecedence) {
    const struct {
        const char* what;
        float app;
        float temp;
        std::int16_t rating;
        Warning warning;
        std::string note;
    } cases[] = {
        {"voltage equal to the rating", 10, 50, 125, Warning::None, ""},
        {"temperature equal to the limit", 5, 85, 85, Warning::None, ""},
        {"voltage a hundredth above", 10.01F, 50, 125, Warning::Voltage,
         "NOTE: WARNING: Application voltage (10.01) is above rated voltage (10)."},
        {"temperature above the limit", 5, 90, 85, Warning::Temperature,
         "NOTE: WARNING: Application temperature (90) may be above maximum temperature (85)."},
        {"temperature and voltage", 12, 90.5F, 85, Warning::TemperatureAndVoltage,
         "NOTE: WARNING: Application is higher than rated temperature(85) and voltage(10)!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Evaluated r({.type = "10.1b", .rating = c.rating, .app = c.app, .temp = c.temp});
        EXPECT_EQ(r.e.warning, c.warning);
        EXPECT_EQ(r.t.note, c.note);
    }
    // The combined warning names the rating but tests the limit: 10.1e at 130 degC has limit
    // 125, rating +150, and a derated voltage of 6.2875 below the 8 V applied.
    EXPECT_EQ(
        NoteLines(Evaluated({.type = "10.1e", .rating = 150, .app = 8, .temp = 130}).t.note).back(),
        "WARNING: Application is higher than rated temperature(150) and voltage(6.2875)!");
}

// Lines after "NOTE: " then CR LF, suffixes as they stand, no line for a forced rating.
TEST(TypeNote, AssemblesTheTypesPieces) {
    EXPECT_EQ(TypeNote(*FindType("10.14")), "");
    EXPECT_EQ(TypeNote(*FindType("10.1h")), " Chip Style or +125\u00B0C.");
    EXPECT_EQ(TypeNote(*FindType("10.1k")),
              "NOTE: No provision was made in 217F for Aluminum Polymer\r\nUsing CE with Modified "
              "Pi(V) Denominator Chip Style or +125\u00B0C.");
}

}  // namespace
}  // namespace quarvell::model::testing
