// The curves as data: every plotted value is the engine's for the part (or the Notice switch's
// counterpart) at that x, the markers sit where the part's ratings put them, the CSV carries
// the points in the batch command's number form, and without a result nothing is drawn but
// the reason.

#include "analysis/curves.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/counterpart.h"
#include "tests/model/part.h"

namespace quarvell::analysis {
namespace {

using model::testing::Given;
using model::testing::MakePart;

std::optional<float> EngineFit(const model::Part& p) {
    const model::Evaluation e = model::Evaluate(p);
    return model::Usable(e) ? std::optional<float>(e.fit) : std::nullopt;
}

struct Case {
    const char* name;
    Given given;
};

// A part of each Notice, derating types on both sides of their threshold, a stand-in
// counterpart, and the integer-kelvin model of 10.15.
const Case kCases[] = {
    {"worked example 10.1f", Given{}},
    {"10.1j near its derating", Given{.type = "10.1j", .rating = 125, .temp = 100}},
    {"10.1j derated", Given{.type = "10.1j", .rating = 125, .app = 8, .temp = 115}},
    {"10.12 derated", Given{.type = "10.12", .rating = 85, .temp = 95}},
    {"10.13 construction", Given{.type = "10.13", .rating = 175, .option = 1}},
    {"10.15 whole kelvin", Given{.type = "10.15", .rating = 105, .volt = 25, .app = 20}},
    {"10.1g rated 175", Given{.type = "10.1g", .rating = 175, .volt = 63, .app = 40, .env = 3}},
};

TEST(Curves, EveryPlottedValueIsTheEnginesForThatPartAtThatX) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const model::Part own = MakePart(c.given);
        const model::Part other = catalogue::CounterpartOf(own).part;
        const std::size_t ownColumn = own.type->notice == model::Notice::One ? 0 : 1;
        const Curves curves = ComputeCurves(own);
        ASSERT_TRUE(curves.usable()) << curves.missing;

        EXPECT_EQ(curves.temperature.from, -55);
        EXPECT_EQ(curves.temperature.to, own.tempRating + 25);
        EXPECT_EQ(curves.voltage.from, 0);
        EXPECT_EQ(curves.voltage.to, own.ratedVoltage);
        for (const Curve* curve : {&curves.temperature, &curves.voltage}) {
            const bool temperature = curve == &curves.temperature;
            ASSERT_EQ(curve->points.size(), 400U);
            EXPECT_EQ(curve->points.front().x, curve->from);
            EXPECT_EQ(curve->points.back().x, curve->to);
            const double step = (static_cast<double>(curve->to) - curve->from) / 399;
            for (std::size_t i : {0, 1, 57, 200, 311, 398, 399}) {
                SCOPED_TRACE(i);
                const CurvePoint& p = curve->points[i];
                EXPECT_NEAR(p.x, curve->from + step * static_cast<double>(i), 1e-4);
                model::Part a = own;
                model::Part b = other;
                (temperature ? a.temperature : a.appliedVoltage) = p.x;
                (temperature ? b.temperature : b.appliedVoltage) = p.x;
                EXPECT_EQ(p.fit[ownColumn], EngineFit(a));
                EXPECT_EQ(p.fit[1 - ownColumn], EngineFit(b));
                ASSERT_TRUE(p.stress);
                EXPECT_EQ(*p.stress, static_cast<float>(model::Evaluate(a).stress));
            }
        }
    }
}

TEST(Curves, TheOperatingPointIsTheCalculatorsResultOnItsCurves) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const model::Part own = MakePart(c.given);
        const Curves curves = ComputeCurves(own);
        const model::Notice notice = own.type->notice;
        const model::Notice otherNotice =
            notice == model::Notice::One ? model::Notice::Two : model::Notice::One;
        EXPECT_EQ(curves.operatingFit(notice), EngineFit(own));
        EXPECT_EQ(curves.operatingFit(otherNotice), EngineFit(catalogue::CounterpartOf(own).part));
        const float fit1 = *curves.operatingFit(model::Notice::One);
        const float fit2 = *curves.operatingFit(model::Notice::Two);
        ASSERT_TRUE(curves.ratio);
        EXPECT_FLOAT_EQ(*curves.ratio, fit2 / fit1);

        // The operating point lies between the samples either side of it.
        const std::size_t column = notice == model::Notice::One ? 0 : 1;
        for (const auto& [curve, x] : {std::pair{&curves.temperature, own.temperature},
                                       std::pair{&curves.voltage, own.appliedVoltage}}) {
            std::size_t i = 1;
            while (i + 1 < curve->points.size() && curve->points[i].x < x) {
                ++i;
            }
            const float below = *curve->points[i - 1].fit[column];
            const float above = *curve->points[i].fit[column];
            const float fit = *curves.operatingFit(notice);
            EXPECT_LE(std::fmin(below, above), fit);
            EXPECT_GE(std::fmax(below, above), fit);
        }
    }
}

TEST(Curves, MarkersSitAtTheRatingLimitAndDeratedRating) {
    const struct {
        const char* name;
        Given given;
        std::optional<std::int16_t> limit;
        std::optional<int> derateAbove;
        std::optional<float> derated;
    } cases[] = {
        {"10.1f at 125", Given{}, std::nullopt, 85, std::nullopt},
        // A fixed over-temperature limit of 125 beside a lower rating.
        {"10.1f at 85", Given{.rating = 85}, 125, 85, std::nullopt},
        {"10.4 at 85", Given{.type = "10.4", .rating = 85, .option = -1}, 125, {}, {}},
        // 10.1g's limit becomes 125 once derating applies, below a rating of 175.
        {"10.1g at 175", Given{.type = "10.1g", .rating = 175}, 125, 85, std::nullopt},
        {"10.1g at 125", Given{.type = "10.1g", .rating = 125}, std::nullopt, 85, std::nullopt},
        {"10.1h", Given{.type = "10.1h", .rating = 85, .option = -1}, {}, {}, {}},
        // 10 V derated at 115 degC over 105: 10 x (1 - 10 x 0.33 / 20).
        {"10.1j derated", Given{.type = "10.1j", .app = 8, .temp = 115}, {}, 105, 8.35F},
        {"10.1j below it", Given{.type = "10.1j", .temp = 100}, {}, 105, {}},
        {"10.12 derated", Given{.type = "10.12", .rating = 85, .temp = 125}, {}, 85, 6.7F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Curves curves = ComputeCurves(MakePart(c.given));
        ASSERT_TRUE(curves.usable()) << curves.missing;
        EXPECT_EQ(curves.rating, c.given.rating);
        EXPECT_EQ(curves.limit, c.limit);
        EXPECT_EQ(curves.derateAbove, c.derateAbove);
        EXPECT_EQ(curves.ratedVoltage, c.given.volt);
        ASSERT_EQ(curves.deratedVoltage.has_value(), c.derated.has_value());
        if (c.derated) {
            EXPECT_FLOAT_EQ(*curves.deratedVoltage, *c.derated);
        }
    }
}

TEST(Curves, TheOtherNoticeIsTheSwitchsPartAndSaysWhenItStandsIn) {
    const Curves chip = ComputeCurves(MakePart(Given{}));
    EXPECT_EQ(chip.other.part.type->code, "10.12");
    ASSERT_NE(chip.standIn, nullptr);
    EXPECT_EQ(chip.standIn->text, "In Notice-1, no CWR Chip style is selectable.");
    EXPECT_EQ(chip.otherMissing, "");

    // 10.13's counterpart takes its rating list's default and has no construction.
    const Curves wet = ComputeCurves(MakePart(Given{.type = "10.13", .rating = 175, .option = 2}));
    EXPECT_EQ(wet.other.part.type->code, "10.1g");
    EXPECT_EQ(wet.standIn, nullptr);
    EXPECT_EQ(wet.other.part.tempRating, 125);
    EXPECT_EQ(wet.other.part.option, -1);
}

TEST(Curves, WithoutAResultNothingIsDrawnButWhatIsMissing) {
    model::Evaluation noVoltage;  // as the window leaves it before a rated voltage
    noVoltage.refusal = model::Refusal::NoRatedVoltage;
    const struct {
        const char* name;
        model::Evaluation e;
        const char* missing;
    } cases[] = {
        {"no rated voltage", noVoltage, "The rated voltage must be a number greater than 0."},
        {"no capacitance", model::Evaluate(MakePart(Given{.cap = 0})),
         "The capacitance must be a number greater than 0."},
        {"no rate", model::Evaluate(MakePart(Given{.level = model::kRateLevel})),
         "No failure rate entered."},
        {"life test", model::Evaluate(MakePart(Given{.level = model::kLifeTestLevel})),
         "Life test incomplete: enter hours, pieces and failures."},
        {"below absolute zero", model::Evaluate(MakePart(Given{.temp = -300})),
         "PI(T) is not a finite number for these inputs."},
        {"a FIT of 0", model::Evaluate(MakePart(Given{.temp = -260})),
         "The FIT is 0 for these inputs."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Curves curves = ComputeCurves(c.e);
        EXPECT_FALSE(curves.usable());
        EXPECT_EQ(curves.missing, c.missing);
        EXPECT_TRUE(curves.temperature.points.empty() && curves.voltage.points.empty());
        EXPECT_EQ(curves.operatingFit(model::Notice::Two), std::nullopt);
        EXPECT_EQ(CurvesCsv(curves), "chart,x,fit_notice1,fit_notice2,stress\n");
    }
}

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, at)) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == at) {
        parts.emplace_back();
    }
    return parts;
}

TEST(CurvesCsv, HeaderThenEachChartsPointsInOrder) {
    const Curves curves = ComputeCurves(MakePart(Given{}));
    const std::vector<std::string> lines = Split(CurvesCsv(curves), '\n');
    ASSERT_EQ(lines.size(), 1U + 400 + 400 + 1);  // the last line ends too
    EXPECT_EQ(lines[0], "chart,x,fit_notice1,fit_notice2,stress");
    EXPECT_EQ(lines.back(), "");
    for (std::size_t row = 0; row < 800; ++row) {
        const Curve& curve = row < 400 ? curves.temperature : curves.voltage;
        const CurvePoint& p = curve.points[row % 400];
        const std::vector<std::string> cells = Split(lines[row + 1], ',');
        ASSERT_EQ(cells.size(), 5U) << lines[row + 1];
        EXPECT_EQ(cells[0], row < 400 ? "temperature" : "voltage");
        // Every number reads back to the very single plotted.
        const auto read = [](const std::string& cell) {
            float v = 0;
            const auto r = std::from_chars(cell.data(), cell.data() + cell.size(), v);
            EXPECT_TRUE(r.ec == std::errc() && r.ptr == cell.data() + cell.size()) << cell;
            EXPECT_EQ(cell.find_first_of("eE"), std::string::npos) << cell;
            return v;
        };
        EXPECT_EQ(read(cells[1]), p.x);
        EXPECT_EQ(read(cells[2]), *p.fit[0]);
        EXPECT_EQ(read(cells[3]), *p.fit[1]);
        EXPECT_EQ(read(cells[4]), *p.stress);
    }
    EXPECT_EQ(lines[1].rfind("temperature,-55,", 0), 0U);
    EXPECT_EQ(lines[400].rfind("temperature,150,", 0), 0U);
    EXPECT_EQ(lines[401],
              "voltage,0," + Split(lines[401], ',')[2] + "," + Split(lines[401], ',')[3] + ",0");
    EXPECT_EQ(lines[800].rfind("voltage,10,", 0), 0U);
}

TEST(CurvesCsv, AValueThatDoesNotExistIsAnEmptyCell) {
    // A part so large and poor that its FIT leaves the singles where the derated 10.1j is
    // stressed hardest: the hot end of the temperature chart.
    const Curves curves = ComputeCurves(MakePart(Given{.type = "10.1j",
                                                       .cap = 1e38F,
                                                       .app = 8,
                                                       .level = model::kRateLevel,
                                                       .rate = 3e38F,
                                                       .env = 13}));
    ASSERT_TRUE(curves.usable()) << curves.missing;
    ASSERT_FALSE(curves.temperature.points.back().fit[1]);
    const std::vector<std::string> lines = Split(CurvesCsv(curves), '\n');
    ASSERT_EQ(lines.size(), 802U);
    const std::vector<std::string> hot = Split(lines[400], ',');
    ASSERT_EQ(hot.size(), 5U);
    EXPECT_EQ(hot[0], "temperature");
    EXPECT_EQ(hot[1], "150");
    EXPECT_EQ(hot[3], "");
    EXPECT_NE(hot[4], "");  // S is still there
}

TEST(CurvesCsv, NumbersAsTheBatchCommandWritesThem) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0F, "0"},
        {-55, "-55"},
        {0.1F, "0.1"},
        {150, "150"},
        {1e-10F, "0.0000000001"},
        {1e20F, "100000002004087734272"},
        {0.46041238F, "0.46041238"},
        {3.3000002F, "3.3000002"},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        AppendPlainNumber(out, c.value);
        EXPECT_EQ(out, std::string("x") + c.text);
    }
}

}  // namespace
}  // namespace quarvell::analysis
