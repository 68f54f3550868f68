// The note block, derating and the warnings of a recalculation (Parts 1.2 and 1.3).

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model_fixture.h"

namespace quarvell::model::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kDerated85 =
    "Voltage-Derating applied in Temperature Range (>85) - 'S' calc appears in red.";
const std::string kDerated105 =
    "Voltage-Derating applied in Temperature Range (>105) - 'S' calc appears in red.";
const std::string kDeratedRating =
    "NOTE: Ttemperature Derated Voltage Rating shown to the right of Rated Voltage.";
const std::string kTantalumPolymer1 = "NOTE: No provisions in 217F for Tantalum-Polymer.";
const std::string kTantalumPolymer2 =
    "NOTE: In PI(V) default denominator or Unity Factor changed from 0.6 to 0.8";
const std::string kAluminumPolymer1 = "NOTE: No provisions in 217F for Aluminum-Polymer.";
const std::string kAluminumPolymer2 =
    "NOTE: In PI(V), default denominator or Unity Factor changed from 0.6 to 0.9";

TEST(NoteBlock, WorkedExampleOfType10_1eDerated) {
    Window w;
    w.run({.type = "10.1e", .volt = "10", .app = 8, .temp = 125});
    EXPECT_EQ(w.state.out.NoteText,
              "NOTE: " + kDerated85 + "\r\n" + kDeratedRating +
                  "\r\nWARNING: Application voltage (8) is above rated voltage (6.7).");
    EXPECT_EQ(w.lblNote.caption(), w.state.out.NoteText);
    EXPECT_TRUE(w.lblNote.visible());
    EXPECT_EQ(w.state.out.DeratedVoltage, 6.7F);
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 1.19");
    EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
    EXPECT_TRUE(w.txtDerated.visible());
    EXPECT_EQ(w.txtDerated.text(), "6.7");
    // Rebuilt from the type's note each time: notes never accumulate.
    w.recalc();
    EXPECT_EQ(w.noteLines().size(), 3u);
}

TEST(Derating, Type10_1eAbove85Degrees) {
    Window w;
    w.run({.type = "10.1e", .volt = "100", .app = 50, .temp = 125});
    EXPECT_EQ(w.state.out.DeratedVoltage, 67.0F);
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 0.75");  // S uses 67 V
    EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
    EXPECT_TRUE(w.txtDerated.visible());
    EXPECT_EQ(w.txtDerated.text(), "67");
    EXPECT_EQ(w.state.out.TempLimit, 125);
    // At exactly 85 degC nothing is derated, and the display is reset.
    w.run({.type = "10.1e", .volt = "100", .app = 50, .temp = 85});
    EXPECT_EQ(w.state.out.DeratedVoltage, 100.0F);
    EXPECT_EQ(w.lblS.foreColor(), platform::kBlack);
    EXPECT_FALSE(w.txtDerated.visible());
    EXPECT_FALSE(w.lblNote.visible());
}

TEST(Derating, NeverBelowOneTenthOfTheRating) {
    const struct {
        const char* type;
        float temp;
        float derated;
    } cases[] = {
        {"10.1e", 194, static_cast<float>(10 * (1 - 109 * 0.33 / 40))},  // just above the floor
        {"10.1e", 200, 1.0F},
        {"10.1j", 160, 1.0F},
        {"10.12", 300, 1.0F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.temp));
        Window w;
        w.run({.type = c.type, .volt = "10", .app = 0.5F, .temp = c.temp});
        EXPECT_EQ(w.state.out.DeratedVoltage, c.derated);
    }
}

TEST(Derating, Type10_1jAbove105Degrees) {
    Window w;
    w.hscApp.setMax(20);
    w.hscApp.setValue(10);
    w.run({.type = "10.1j", .volt = "10", .app = 5, .temp = 110, .voltSteps = 2});
    EXPECT_EQ(w.state.out.DeratedVoltage, static_cast<float>(10 * (1 - 5 * 0.33 / 20)));
    EXPECT_EQ(w.state.out.DeratedVoltage, 9.175F);
    EXPECT_EQ(w.hscApp.max(), 18);  // 2 steps per volt x 9.175, rounded
    EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
    EXPECT_EQ(w.txtDerated.text(), "9.175");
    EXPECT_EQ(w.noteLines(),
              (Lines{kTantalumPolymer1, kTantalumPolymer2, kDerated105, kDeratedRating}));
    EXPECT_TRUE(w.lblUnity.visible());
    EXPECT_TRUE(w.cmbPiV.visible());

    Window cool;
    cool.hscApp.setMax(20);
    cool.run({.type = "10.1j", .volt = "10", .app = 5, .temp = 100, .voltSteps = 2});
    EXPECT_EQ(cool.state.out.DeratedVoltage, 10.0F);
    EXPECT_EQ(cool.hscApp.max(), 20);
    EXPECT_FALSE(cool.txtDerated.visible());
    EXPECT_EQ(cool.noteLines(), (Lines{kTantalumPolymer1, kTantalumPolymer2}));
}

TEST(Derating, Type10_13ShowsSInScientificFormInRed) {
    Window w;
    w.run({.type = "10.13", .volt = "10", .app = 5, .temp = 125, .res = 0});
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 7.46E-01");
    EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
    EXPECT_TRUE(w.txtDerated.visible());
    EXPECT_EQ(w.noteLines(),
              (Lines{"NOTE: Voltage is in Temperature derating Range (>85) - 'S' calc appears "
                     "in red.",
                     kDeratedRating}));
}

TEST(Derating, Type10_12ShowsSOnTheRatedVoltageButDeratesPiV) {
    Window w;
    w.run({.type = "10.12", .volt = "10", .app = 5, .temp = 125});
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 0.50");
    EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
    EXPECT_FLOAT_EQ(w.state.out.PiV, static_cast<float>(std::pow(5 / 6.7 / 0.4, 3) + 1));
    EXPECT_EQ(w.noteLines(), (Lines{"NOTE: " + kDerated85, kDeratedRating}));
}

TEST(NoteBlock, Type10_1gSecondPassOpensANewLineEvenInAnEmptyBlock) {
    Window w;
    w.run({.type = "10.1g", .temp = 90, .resList = false});
    EXPECT_EQ(w.state.out.NoteText, "\r\n" + kDeratedRating);
    EXPECT_EQ(w.state.out.TempLimit, 125);
}

TEST(NoteBlock, TypeNoteComesFirstAndLaterLinesHaveNoPrefix) {
    Window w;
    w.run({.type = "10.1e", .temp = 125, .pendingNote = "NOTE: Type note"});
    EXPECT_EQ(w.noteLines(), (Lines{"NOTE: Type note", kDerated85, kDeratedRating}));
}

TEST(NoteBlock, PolymerTypesReplaceTheTypeNoteByExactlyTwoLines) {
    Window w;
    w.run({.type = "10.1k",
           .resList = false,
           .pendingNote = "NOTE: No provision was made in 217F for Aluminum Polymer"});
    EXPECT_EQ(w.noteLines(), (Lines{kAluminumPolymer1, kAluminumPolymer2}));
    EXPECT_EQ(w.cmbPiV.index(), 1);  // the default ".9"
    EXPECT_EQ(w.lblPIv.caption(), "PI(V) = [(S/0.9)^5]+1 = 1.053");
    EXPECT_FLOAT_EQ(w.state.out.PiV, static_cast<float>(std::pow(0.5 / 0.9F, 5) + 1));
    EXPECT_FALSE(w.lblPIsr.visible());
    // A warning follows on a third line.
    w.run({.type = "10.1k", .app = 12, .resList = false, .pendingNote = "NOTE: x"});
    EXPECT_EQ(w.noteLines(),
              (Lines{kAluminumPolymer1, kAluminumPolymer2,
                     "WARNING: Application voltage (12) is above rated voltage (10)."}));

    Window j;
    j.run({.type = "10.1j", .pendingNote = "NOTE: Type note"});
    EXPECT_EQ(j.noteLines(), (Lines{kTantalumPolymer1, kTantalumPolymer2}));
    EXPECT_EQ(j.cmbPiV.index(), 2);  // the default ".8"
}

TEST(NoteBlock, PolymerTypesKeepASelectedDenominator) {
    Window w;
    w.cmbPiV.select(5);
    w.run({.type = "10.1k", .resList = false});
    EXPECT_EQ(w.cmbPiV.index(), 5);
    EXPECT_EQ(w.lblPIv.caption().substr(0, 15), "PI(V) = [(S/0.5");
}

TEST(Warnings, AtMostOneInOrderOfPrecedence) {
    const struct {
        const char* what;
        float app;
        float temp;
        const char* rating;
        std::string note;  // "" for no note at all
    } cases[] = {
        {"voltage equal to the rating", 10, 50, "+125\u00B0C", ""},
        {"temperature equal to the limit", 5, 85, "+85\u00B0C", ""},
        {"voltage a hundredth above", 10.01F, 50, "+125\u00B0C",
         "NOTE: WARNING: Application voltage (10.01) is above rated voltage (10)."},
        {"temperature above the limit", 5, 90, "+85\u00B0C",
         "NOTE: WARNING: Application temperature (90) may be above maximum temperature (85)."},
        {"temperature and voltage", 12, 90.5F, "+85\u00B0C",
         "NOTE: WARNING: Application is higher than rated temperature(85) and voltage(10)!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Window w;
        w.run({.type = "10.1b",
               .rating = c.rating,
               .volt = "10",
               .app = c.app,
               .temp = c.temp,
               .resList = false});
        EXPECT_EQ(w.state.out.NoteText, c.note);
        EXPECT_EQ(w.lblNote.visible(), !c.note.empty());
    }
}

TEST(Warnings, TheCombinedWarningNamesTheRatingButTestsTheLimit) {
    // 10.1e at 130 degC: limit 125, rating +150, derated voltage 6.37 below the 8 V applied.
    Window w;
    w.run({.type = "10.1e", .rating = "+150\u00B0C", .volt = "10", .app = 8, .temp = 130});
    EXPECT_EQ(w.noteLines().back(),
              "WARNING: Application is higher than rated temperature(150) and voltage(" +
                  GeneralText(w.state.out.DeratedVoltage, w.loc) + ")!");
}

}  // namespace
}  // namespace quarvell::model::testing
