#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

namespace quarvell::catalogue {
namespace {

TEST(FirstWord, IsTheTextBeforeTheFirstBlank) {
    const struct {
        const char* text;
        const char* word;
    } cases[] = {
        {"10.1k Aluminum (Polymer)", "10.1k"},
        {"10.12b Tantalum(Polymer)", "10.12b"},
        {"10.4 Metalized Paper/Film(non-Metal Case)", "10.4"},
        {"", ""},
        {"10.1f", "10.1f"},
        {" leading", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstWord(c.text), c.word) << c.text;
    }
}

// The type entries keep their spellings; the positions of every code are pinned by the
// Notice-switch table.
TEST(TypeLists, SetTypeNoticeFillsTheListWithoutSelectingAnything) {
    platform::ComboBox cmbType("cmbType", false);
    platform::Label lblType("lblType");
    int clicks = 0;
    TypeListView view{cmbType, lblType};
    cmbType.addItem("left over");
    cmbType.select(0);
    cmbType.onClick = [&] { ++clicks; };

    SetTypeNotice1(view);
    EXPECT_EQ(cmbType.count(), 9);
    EXPECT_EQ(cmbType.index(), -1);
    EXPECT_EQ(cmbType.text(), "");
    EXPECT_EQ(cmbType.items().front(), "10.4 Metalized Paper/Film(non-Metal Case)");
    EXPECT_EQ(cmbType.items().back(), "10.15b Aluminum(Polymer)");
    EXPECT_EQ(lblType.caption(), "Notice 1 - T&ype: Capacitor, Fixed, ...");

    SetTypeNotice2(view);
    EXPECT_EQ(cmbType.count(), 10);
    EXPECT_EQ(cmbType.index(), -1);
    EXPECT_EQ(cmbType.items()[0], "10.1b Metalize Paper/Film(non-Metal Case)");
    EXPECT_EQ(cmbType.items()[4], "10.1f Tantalum(Solid-Chip)");
    EXPECT_EQ(cmbType.items()[9], "10.1k Aluminum (Polymer)");
    EXPECT_EQ(lblType.caption(), "Notice 2 - T&ype: Capacitor, Fixed, ...");
    EXPECT_EQ(clicks, 0);
}

TEST(Ratings, ValueIsTheTemperatureInBothSeparatorConventions) {
    const struct {
        const char* entry;
        int value;
    } cases[] = {
        {"+85°C", 85},   {"+105°C", 105}, {"+125°C", 125}, {"+150°C", 150},
        {"+175°C", 175}, {"", 0},         {"+", 0},        {"x", 0},
    };
    for (bool decimalIsPoint : {true, false}) {
        for (const auto& c : cases) {
            EXPECT_EQ(RatingValue(c.entry, decimalIsPoint), c.value) << c.entry;
        }
    }
}

}  // namespace
}  // namespace quarvell::catalogue
