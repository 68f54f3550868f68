// The note block, derating and the warnings of a recalculation.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model_fixture.h"

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

TEST(NoteBlock, WorkedExampleOfType10_1eDerated) {
    Window w;
    w.run({.type = "10.1e", .volt = "10", .app = 8, .temp = 125});
    EXPECT_EQ(w.state.out.NoteText,
              "NOTE: " + kDerated85 + "\r\n" + kDeratedRating +
                  "\r\nWARNING: Application voltage (8) is above rated voltage (6.7).");
    EXPECT_EQ(w.lblNote.caption(), w.state.out.NoteText);
    EXPECT_TRUE(w.lblNote.visible());
    EXPECT_EQ(w.state.out.DeratedVoltage, 6.7F);
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 1.19");  // on the derated 6.7 V
    EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
    EXPECT_TRUE(w.txtDerated.visible());
    EXPECT_EQ(w.txtDerated.text(), "6.7");
    // Rebuilt from the type's note each time: notes never accumulate.
    w.recalc();
    EXPECT_EQ(w.noteLines().size(), 3u);
    // At exactly 85 degC nothing is derated, and the display is reset.
    w.run({.type = "10.1e", .volt = "10", .app = 5, .temp = 85});
    EXPECT_EQ(w.state.out.DeratedVoltage, 10.0F);
    EXPECT_EQ(w.lblS.foreColor(), platform::kBlack);
    EXPECT_FALSE(w.txtDerated.visible());
    EXPECT_FALSE(w.lblNote.visible());
}

TEST(Derating, NotesAndSCaptionOfEachDeratingType) {
    const struct {
        Part part;
        const char* s;
        Lines notes;
    } cases[] = {
        {{.type = "10.13", .temp = 125, .res = 0},
         "7.46E-01",  // scientific, on the derated voltage
         {"NOTE: Voltage is in Temperature derating Range (>85) - 'S' calc appears in red.",
          kDeratedRating}},
        {{.type = "10.12", .temp = 125}, "0.50", {"NOTE: " + kDerated85, kDeratedRating}},
        // The second pass of 10.1g opens a new line even in an empty block.
        {{.type = "10.1g", .temp = 90, .resList = false}, "0.52", {"", kDeratedRating}},
        // The type's note comes first; later lines have no prefix.
        {{.type = "10.1e", .temp = 125, .pendingNote = "NOTE: Type note"},
         "0.75",
         {"NOTE: Type note", kDerated85, kDeratedRating}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part.type);
        Window w;
        w.run(c.part);
        EXPECT_EQ(w.lblS.caption(), std::string("S = AppV/RatedV = ") + c.s);
        EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
        EXPECT_TRUE(w.txtDerated.visible());
        EXPECT_EQ(w.noteLines(), c.notes);
    }
    // 10.12 shows S on the rated voltage but derates PI(V).
    Window w;
    w.run({.type = "10.12", .temp = 125});
    EXPECT_FLOAT_EQ(w.state.out.PiV, static_cast<float>(std::pow(5 / 6.7 / 0.4, 3) + 1));
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
    int changes = 0;
    w.hscApp.onChange = [&] { ++changes; };
    w.run({.type = "10.1j", .volt = "10", .app = 5, .temp = 110, .voltSteps = 2});
    EXPECT_EQ(w.state.out.DeratedVoltage, 9.175F);
    EXPECT_EQ(w.hscApp.max(), 18);  // 2 steps per volt x 9.175, rounded
    EXPECT_EQ(changes, 0);          // the position stays below it
    EXPECT_EQ(w.lblS.foreColor(), platform::kRed);
    EXPECT_EQ(w.txtDerated.text(), "9.175");
    Lines notes = kTantalumPolymer;
    notes.push_back(
        "Voltage-Derating applied in Temperature Range (>105) - 'S' calc appears in red.");
    notes.push_back(kDeratedRating);
    EXPECT_EQ(w.noteLines(), notes);
    EXPECT_TRUE(w.lblUnity.visible());
    EXPECT_TRUE(w.cmbPiV.visible());

    Window cool;
    cool.hscApp.setMax(20);
    cool.run({.type = "10.1j", .volt = "10", .app = 5, .temp = 100, .voltSteps = 2});
    EXPECT_EQ(cool.state.out.DeratedVoltage, 10.0F);
    EXPECT_EQ(cool.hscApp.max(), 20);
    EXPECT_FALSE(cool.txtDerated.visible());
    EXPECT_EQ(cool.noteLines(), kTantalumPolymer);
}

TEST(NoteBlock, PolymerTypesReplaceTheTypeNoteAndSelectTheirDefaultDenominator) {
    Window k;
    k.run({.type = "10.1k", .resList = false, .pendingNote = "NOTE: No provision was made"});
    EXPECT_EQ(k.noteLines(), kAluminumPolymer);
    EXPECT_EQ(k.cmbPiV.index(), 1);  // ".9"
    EXPECT_EQ(k.lblPIv.caption(), "PI(V) = [(S/0.9)^5]+1 = 1.053");
    EXPECT_FALSE(k.lblPIsr.visible());
    // A warning follows on a third line.
    k.run({.type = "10.1k", .app = 12, .resList = false, .pendingNote = "NOTE: x"});
    Lines warned = kAluminumPolymer;
    warned.push_back("WARNING: Application voltage (12) is above rated voltage (10).");
    EXPECT_EQ(k.noteLines(), warned);

    Window j;
    j.run({.type = "10.1j", .pendingNote = "NOTE: Type note"});
    EXPECT_EQ(j.noteLines(), kTantalumPolymer);
    EXPECT_EQ(j.cmbPiV.index(), 2);  // ".8"

    // A denominator already selected is kept.
    Window kept;
    kept.cmbPiV.select(5);
    kept.run({.type = "10.1k", .resList = false});
    EXPECT_EQ(kept.cmbPiV.index(), 5);
    EXPECT_EQ(kept.lblPIv.caption().substr(0, 15), "PI(V) = [(S/0.5");
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
        w.run({.type = "10.1b", .rating = c.rating, .app = c.app, .temp = c.temp});
        EXPECT_EQ(w.state.out.NoteText, c.note);
        EXPECT_EQ(w.lblNote.visible(), !c.note.empty());
    }
    // The combined warning names the rating but tests the limit: 10.1e at 130 degC has limit
    // 125, rating +150, and a derated voltage of 6.2875 below the 8 V applied.
    Window w;
    w.run({.type = "10.1e", .rating = "+150\u00B0C", .app = 8, .temp = 130});
    EXPECT_EQ(w.noteLines().back(),
              "WARNING: Application is higher than rated temperature(150) and voltage(6.2875)!");
}

}  // namespace
}  // namespace quarvell::model::testing
