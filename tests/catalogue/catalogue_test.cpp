#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(TypeLists, SetTypeNoticeFillsTheListWithoutSelectingAnything) {
    platform::ComboBox cmbType("cmbType", false);
    platform::Label lblType("lblType");
    int clicks = 0;
    cmbType.onClick = [&] { ++clicks; };
    TypeListView view{cmbType, lblType};

    cmbType.addItem("left over");
    cmbType.select(0);
    clicks = 0;
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
    EXPECT_EQ(cmbType.items()[4], "10.1f Tantalum(Solid-Chip)");
    EXPECT_EQ(cmbType.items()[9], "10.1k Aluminum (Polymer)");
    EXPECT_EQ(lblType.caption(), "Notice 2 - T&ype: Capacitor, Fixed, ...");
    EXPECT_EQ(clicks, 0);
}

// Positions are binding: the Notice switch selects types by position.
TEST(TypeLists, CodesStandAtTheirPositions) {
    const std::vector<std::string> notice1 = {"10.4",  "10.10", "10.11",  "10.12", "10.13",
                                              "10.14", "10.15", "10.12b", "10.15b"};
    const std::vector<std::string> notice2 = {"10.1b", "10.1c", "10.1d", "10.1e", "10.1f",
                                              "10.1g", "10.1h", "10.1i", "10.1j", "10.1k"};
    for (int notice : {kNotice1, kNotice2}) {
        const auto& expected = notice == kNotice1 ? notice1 : notice2;
        const auto& entries = TypeEntries(notice);
        ASSERT_EQ(entries.size(), expected.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(FirstWord(entries[i]), expected[i]);
            // Every type of the list has its set-up in its own Notice's table, and only there.
            EXPECT_NE(FindTypeSetup(notice, expected[i]), nullptr) << expected[i];
            EXPECT_EQ(FindTypeSetup(notice == kNotice1 ? kNotice2 : kNotice1, expected[i]), nullptr)
                << expected[i];
        }
    }
    EXPECT_EQ(FindTypeSetup(kNotice2, "10.1F"), nullptr);  // case-sensitive
    EXPECT_EQ(FindTypeSetup(kNotice2, ""), nullptr);
}

TEST(TypeLists, EntryTextsKeepTheirSpellings) {
    EXPECT_EQ(TypeEntries(kNotice1)[0], "10.4 Metalized Paper/Film(non-Metal Case)");
    EXPECT_EQ(TypeEntries(kNotice2)[0], "10.1b Metalize Paper/Film(non-Metal Case)");
    int blankBeforeParenthesis = 0;
    for (int notice : {kNotice1, kNotice2}) {
        for (const std::string& e : TypeEntries(notice)) {
            blankBeforeParenthesis += e.find(" (") != std::string::npos ? 1 : 0;
        }
    }
    EXPECT_EQ(blankBeforeParenthesis, 1);
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

TEST(Ratings, KeptTemperatureIs125Or150OrElse85) {
    const struct {
        int previous;
        int kept;
    } cases[] = {{125, 125}, {150, 150}, {85, 85}, {105, 85}, {175, 85}, {0, 85}, {-55, 85}};
    for (const auto& c : cases) {
        EXPECT_EQ(KeptTemperature(c.previous), c.kept) << c.previous;
    }
}

TEST(OptionLists, HoldTheirFixedEntries) {
    EXPECT_EQ(CircuitResistanceEntries().size(), 6u);
    EXPECT_EQ(CircuitResistanceEntries()[kDefaultResistanceEntry], "(<0.1 Ohms/V)");
    EXPECT_EQ(ConstructionEntries()[kDefaultConstructionEntry], "Slug, & All Tantalum");
    EXPECT_EQ(PiVEntries(), (std::vector<std::string>{"1", ".9", ".8", ".7", ".6", ".5"}));
    EXPECT_EQ(LifeBiasEntries()[kLifeBiasOther], "Other");
    EXPECT_EQ(LifeBiasEntries()[4], "2.0 x Rated");
}

}  // namespace
}  // namespace quarvell::catalogue
