// Whole runs of the batch on small lists: the columns it writes, the values in them, both
// Notices, life tests, totals, the two input and output formats, and the runs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/batch/batch_support.h"

namespace quarvell::batch {
namespace {

using testing::kHeader;
using testing::kLifeTestColumns;
using testing::kNoticeColumns;
using testing::kOutputs;
using testing::ReadTable;
using testing::RunOn;
using testing::Table;
using Json = nlohmann::ordered_json;

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

// The worked example (10.1f, 10 uF, 10 V at 5 V, 50 degC, level M, G(B)) with columns of its
// own, in any case: the factors are the engine's; here the columns and their units.
TEST(Run, TheOutputColumnsFollowTheInputsOwnWithTheirUnits) {
    const testing::Ran r = RunOn(
        "Ref,Type,Capacitance,Rated_Voltage,Applied_Voltage,Temperature,Quality,Environment,"
        "Part number\nC1,10.1f,10,10,5,50,M,G(B),\"T491, 10u\"\n");
    EXPECT_EQ(r.outcome.status, kExitOk);
    const Table t = ReadTable(r.out);
    EXPECT_EQ(t.names, Concat({{"Ref", "Type", "Capacitance", "Rated_Voltage", "Applied_Voltage",
                                "Temperature", "Quality", "Environment", "Part number"},
                               kOutputs,
                               kLifeTestColumns}));
    ASSERT_EQ(t.rows.size(), 1U);
    EXPECT_EQ(t.at(0, "Part number"), "T491, 10u");
    EXPECT_EQ(t.number(0, "lambda_b"), 0.00005F);
    const float fit = *t.number(0, "fit");
    EXPECT_NEAR(fit, 0.4602, 5e-5);
    EXPECT_EQ(t.number(0, "failures_per_1e6h"), static_cast<float>(fit / 1e3));
    EXPECT_EQ(t.number(0, "percent_per_1000h"), static_cast<float>(fit / 1e4));
    const float hours = *t.number(0, "mtbf_hours");
    EXPECT_FLOAT_EQ(hours, 1e9F / fit);
    EXPECT_EQ(t.number(0, "mtbf_years"), static_cast<float>(hours / 8760.0));
    for (const char* empty : {"pi_c", "derated_voltage", "notes", "warning", "error",
                              "rate_upper_60", "fit_upper_90"}) {
        EXPECT_EQ(t.at(0, empty), "") << empty;
    }
    // Spreadsheets leave blanks around names; the names stay as given.
    const Table blanks =
        ReadTable(RunOn(" type ,\tcapacitance, rated_voltage,applied_voltage ,temperature,quality,"
                        "environment, fit \n10.1f,10,10,5,50,M,GB,1\n")
                      .out);
    EXPECT_EQ(blanks.names[0], " type ");
    EXPECT_EQ(std::count(blanks.names.begin(), blanks.names.end(), "fit"), 1);
    EXPECT_EQ(blanks.at(0, "fit"), t.at(0, "fit"));
}

// Plain decimals with a period, never an exponent, never "nan" or "inf", and each reads back
// to the single it stands for.
TEST(Run, NumbersArePlainDecimalsThatReadBackExactly) {
    const testing::Ran r = RunOn(std::string(kHeader) +
                                 "\n10.11,2p2,100,1,-55,0.001%,SF\n"
                                 "10.4,1000,10,9,250,commercial-q10,CL\n"
                                 "10.1c,1e-6,1,1,125,D,GB\n");
    const Table t = ReadTable(r.out);
    ASSERT_EQ(t.rows.size(), 3U);
    for (std::size_t row = 0; row < t.rows.size(); ++row) {
        for (const std::string& name : kOutputs) {
            const std::string& cell = t.at(row, name);
            if (name != "notes" && name != "warning" && name != "error" && !cell.empty()) {
                EXPECT_EQ(cell.find_first_not_of("-0123456789."), std::string::npos) << cell;
                t.number(row, name);
            }
        }
    }
    EXPECT_EQ(t.at(0, "fit").substr(0, 6), "0.0000");  // far below 1: positional digits
    // PI(T) of 10.4 rated +125 degC at 250 degC is beyond the single range: no FIT, an error
    // naming the temperature.
    EXPECT_EQ(t.at(1, "fit"), "");
    EXPECT_EQ(t.at(1, "error"),
              "row 2: temperature '250' gives PI(T) beyond the range of single-precision numbers");
    EXPECT_NE(t.at(1, "pi_e"), "");
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    EXPECT_EQ(r.out.find("inf"), std::string::npos);
    EXPECT_EQ(r.outcome.status, kExitRowErrors);
}

// Overstress is what a parts-list review looks for: evaluated as given, and flagged. Factors
// a type lacks are empty.
TEST(Run, ValuesAboveTheRatingsAreEvaluatedAsGivenAndFlagged) {
    const testing::Ran r = RunOn(std::string(kHeader) +
                                 ",temp_rating,circuit_resistance,construction\n"
                                 "10.1e,10,10,8,125,P,GB,,0.9,\n"
                                 "10.1c,1,50,60,40,M,GB,,0.9,\n"
                                 "10.1c,1,50,50,40,M,GB,,,\n"
                                 "10.12,1,50,10,100,M,GB,85,0.9,\n"
                                 "10.13,10,10,5,50,M,GB,,,foil-hermetic\n");
    EXPECT_EQ(r.outcome.status, kExitOk);
    const Table t = ReadTable(r.out);
    EXPECT_EQ(t.number(0, "derated_voltage"), 6.7F);
    EXPECT_NEAR(*t.number(0, "stress"), 8 / 6.7, 1e-6);
    EXPECT_EQ(t.at(0, "warning"), "Application voltage (8) is above rated voltage (6.7).");
    EXPECT_EQ(t.at(0, "notes"),
              "Voltage-Derating applied in Temperature Range (>85) - 'S' calc appears in red.; "
              "Ttemperature Derated Voltage Rating shown to the right of Rated Voltage.");
    EXPECT_NE(t.at(0, "fit"), "");
    // The list's factor of Notice 1 taken ten times, as a single.
    EXPECT_EQ(t.number(0, "pi_sr"), static_cast<float>(0.066F * 10.0));
    EXPECT_EQ(t.at(1, "warning"), "Application voltage (60) is above rated voltage (50).");
    EXPECT_EQ(t.number(1, "stress"), 1.2F);
    EXPECT_EQ(t.at(1, "pi_sr") + t.at(1, "pi_c"), "");
    EXPECT_EQ(t.at(1, "notes"), "circuit_resistance does not apply to 10.1c and is not used");
    EXPECT_EQ(t.at(2, "warning"), "");  // at the rating: no warning
    EXPECT_EQ(t.at(3, "warning"),
              "Application temperature (100) may be above maximum temperature (85).");
    EXPECT_EQ(t.number(3, "pi_sr"), 0.066F);
    EXPECT_EQ(t.at(4, "pi_sr"), "");
    EXPECT_EQ(t.number(4, "pi_c"), 1.0F);
}

// The one-sided chi-square bounds; with no failures they have a closed form,
// -ln(1 - confidence) / T, T the piece-hours at the rating.
TEST(Run, LifeTestsGiveTheirUpperBoundsEvenWithoutFailures) {
    const testing::Ran r = RunOn(std::string(kHeader) +
                                 "\n10.1f,10,10,5,50,test:100/1000/0,GB\n"
                                 "10.1f,10,10,5,50,test:100/1000/0@2,GB\n"
                                 "10.1f,10,10,5,50,test:100/1000/2,GB\n"
                                 "10.1f,10,10,5,50,2%,GB\n");
    EXPECT_EQ(r.outcome.status, kExitOk);
    const Table t = ReadTable(r.out);
    EXPECT_EQ(t.at(0, "fit") + t.at(0, "pi_q") + t.at(0, "error"), "");
    EXPECT_EQ(t.at(0, "notes"),
              "no failures in the life test: no point estimate of the rate, only its upper bounds");
    EXPECT_NEAR(*t.number(0, "rate_upper_60"), -std::log(0.4), 1e-6);
    EXPECT_NEAR(*t.number(0, "rate_upper_90"), -std::log(0.1), 1e-6);
    EXPECT_NEAR(*t.number(1, "rate_upper_90"), -std::log(0.1) / 8, 1e-6);
    // The FIT goes with the square root of the rate (PI(Q)).
    EXPECT_NEAR(*t.number(0, "fit_upper_90") / *t.number(0, "fit_upper_60"),
                std::sqrt(std::log(0.1) / std::log(0.4)), 1e-5);
    // 2 failures: the point estimate 2 %/kPcHr, the rate row's FIT, and bounds above it.
    EXPECT_EQ(t.number(2, "fit"), t.number(3, "fit"));
    EXPECT_EQ(t.number(2, "pi_q"), t.number(3, "pi_q"));
    EXPECT_GT(*t.number(2, "rate_upper_60"), 2);
    EXPECT_GT(*t.number(2, "rate_upper_90"), *t.number(2, "rate_upper_60"));
    EXPECT_GT(*t.number(2, "fit_upper_60"), *t.number(2, "fit"));
    EXPECT_EQ(t.at(3, "rate_upper_60"), "");
}

// The other Notice's part is the one the Notice switch leaves: 10.1f becomes 10.12 at its
// default rating and circuit resistance; the switch's message marks it a stand-in.
TEST(Run, BothNoticesCompareThePartWithItsCounterpart) {
    const std::string list = std::string(kHeader) +
                             ",circuit_resistance\n"
                             "10.1f,10,10,5,50,M,NS,0.7\n"
                             "10.12,10,10,5,50,M,NS,\n"
                             "10.1e,10,10,5,50,M,NS,\n"
                             "10.4,1,100,50,40,P,GF,\n"
                             "10.1b,1,100,50,40,P,GF,\n";
    const testing::Ran r = RunOn(list, {.bothNotices = true});
    const Table t = ReadTable(r.out);
    EXPECT_EQ(std::vector<std::string>(t.names.begin() + 8, t.names.end()),
              Concat({kOutputs, kNoticeColumns, kLifeTestColumns}));
    EXPECT_EQ(t.number(0, "fit_notice2"), t.number(0, "fit"));
    EXPECT_EQ(t.number(0, "fit_notice1"), t.number(1, "fit"));
    EXPECT_EQ(t.number(0, "fit_ratio"),
              static_cast<float>(static_cast<double>(*t.number(0, "fit_notice2")) /
                                 *t.number(0, "fit_notice1")));
    EXPECT_EQ(t.at(0, "notes"),
              "the Notice 1 counterpart 10.12 is a stand-in: Notice 1 does not Allow chips. In "
              "Notice-1, no CWR Chip style is selectable.");
    EXPECT_EQ(t.number(1, "fit_notice1"), t.number(1, "fit"));
    EXPECT_EQ(t.number(1, "fit_notice2"), t.number(2, "fit"));
    EXPECT_EQ(t.at(1, "notes"),
              "No provision was made in 217F Notice 1 for Tant-Chip.; the Notice 2 counterpart "
              "10.1e is a stand-in: Notice 2 Allows chips. In Notice-2, a Chip style is "
              "selctable.");
    EXPECT_EQ(t.at(2, "notes"), "");
    EXPECT_EQ(t.number(3, "fit_notice2"), t.number(4, "fit"));
    EXPECT_EQ(t.number(4, "fit_notice1"), t.number(3, "fit"));
    double notice1 = 0;
    for (std::size_t row = 0; row < 5; ++row) {
        notice1 += *t.number(row, "fit_notice1");
    }
    EXPECT_EQ(r.outcome.totals.noticeFit[0], notice1);
    EXPECT_EQ(ReadTable(RunOn(list).out).names.size(), t.names.size() - 3);
}

TEST(Run, TotalsAreTheQuantitiesTimesTheFitOfTheRowsEvaluated) {
    const testing::Ran r = RunOn(std::string(kHeader) +
                                 ",quantity\n"
                                 "10.1f,10,10,5,50,M,GB,4\n"
                                 "10.1c,1,50,25,40,P,GB,\n"
                                 "10.1c,1,50,25,40,P,GB,0\n"
                                 "10.1c,x,50,25,40,P,GB,3\n"
                                 "10.1f,10,10,5,50,test:10/10/0,GB,7\n");
    EXPECT_EQ(r.outcome.status, kExitRowErrors);
    const Table t = ReadTable(r.out);
    const Totals& totals = r.outcome.totals;
    EXPECT_EQ(totals.rows, 5);
    EXPECT_EQ(totals.refused, 1);
    EXPECT_EQ(totals.withoutFit, 1);
    EXPECT_DOUBLE_EQ(totals.fit, 4.0 * *t.number(0, "fit") + *t.number(1, "fit"));
    EXPECT_EQ(t.at(3, "error"), "row 4: capacitance 'x' is not a number with a unit");
}

// Spreadsheets under a decimal comma separate with semicolons; the results are the same.
TEST(Run, ASemicolonListWithDecimalCommasGivesTheSameResults) {
    const testing::Ran comma = RunOn(std::string(kHeader) +
                                     ",note\n"
                                     "10.1f,4.7,6.3,3.5,85.5,0.25%,GB,\"a, b\"\n"
                                     "10.13,22,50,20,90,test:100/1000.5/2@1.5,GM,x\n");
    const testing::Ran semicolon = RunOn(
        "\xEF\xBB\xBFtype;capacitance;rated_voltage;applied_voltage;temperature;quality;"
        "environment;note\r\n"
        "10.1f;4,7;6,3;3,5;85,5;0,25%;GB;a, b\r\n"
        "10.13;22;50;20;90;test:100/1000,5/2@1,5;GM;x\r\n");
    EXPECT_EQ(semicolon.outcome.status, kExitOk);
    const Table a = ReadTable(comma.out);
    const Table b = ReadTable(semicolon.out);
    EXPECT_EQ(a.names, b.names);
    ASSERT_EQ(b.rows.size(), 2U);
    EXPECT_EQ(b.at(0, "note"), "a, b");
    for (std::size_t row = 0; row < 2; ++row) {
        for (const std::string& name : Concat({kOutputs, kLifeTestColumns})) {
            EXPECT_EQ(a.at(row, name), b.at(row, name)) << name;
        }
    }
    EXPECT_NE(a.at(1, "fit_upper_90"), "");
}

// Columns named as the batch's own outputs are an earlier run's results: this run's replace
// them, so a result file read again gives the same file.
TEST(Run, AResultFileEvaluatedAgainGivesTheSameFile) {
    const std::string list = std::string("ref,") + kHeader +
                             ",fit,Notes\n"
                             "\"C1, C2\",10.1f,10,10,12,50,M,GB,99,old\n"
                             "\"say \"\"x\"\"\",10.1j,47,16,12,110,test:100/1000/1,AIC,,\n"
                             "C3,10.4,bad,16,12,110,M,AIC,,\n";
    for (const bool both : {false, true}) {
        const testing::Ran first = RunOn(list, {.bothNotices = both});
        const Table t = ReadTable(first.out);
        EXPECT_EQ(t.names[0], "ref");
        EXPECT_EQ(t.at(0, "ref"), "C1, C2");
        EXPECT_EQ(t.at(1, "ref"), "say \"x\"");
        EXPECT_EQ(std::count(t.names.begin(), t.names.end(), "fit"), 1);
        EXPECT_EQ(std::count(t.names.begin(), t.names.end(), "Notes"), 0);
        const testing::Ran again = RunOn(first.out, {.bothNotices = both});
        EXPECT_EQ(again.out, first.out);
        EXPECT_EQ(again.outcome.status, first.outcome.status);
    }
}

// A carried text is quoted when, and only when, it holds a separator, a quote or a line break,
// wherever in the text that is and however long the text.
TEST(Run, CarriedTextsAreQuotedExactlyWhenTheyNeedIt) {
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 20; ++length) {
        texts.push_back(std::string(length, 'x'));
        for (std::size_t at = 0; at < length; ++at) {
            for (const char special : {',', '"', '\n', '\r', ';'}) {
                std::string t(length, 'x');
                t[at] = special;
                texts.push_back(t);
            }
        }
    }
    std::string list = std::string("ref,") + kHeader + "\n";
    for (const std::string& t : texts) {
        std::string quoted;
        for (const char c : t) {
            quoted += c == '"' ? "\"\"" : std::string(1, c);
        }
        list += "\"" + quoted + "\",10.1f,10,10,5,50,M,GB\n";
    }
    const testing::Ran r = RunOn(list);
    const Table t = ReadTable(r.out);
    ASSERT_EQ(t.rows.size(), texts.size());
    std::size_t start = r.out.find('\n') + 1;  // each row's first bytes, after the header
    for (std::size_t row = 0; row < texts.size(); ++row) {
        const std::string& text = texts[row];
        EXPECT_EQ(t.at(row, "ref"), text);
        const bool quotes = text.find_first_of(",\"\n\r") != std::string::npos;
        if (quotes) {
            EXPECT_EQ(r.out[start], '"') << ::testing::PrintToString(text);
        } else {
            EXPECT_EQ(r.out.substr(start, text.size() + 1), text + ",");
        }
        start = r.out.find("\n", start + (quotes ? 2 * text.size() + 2 : text.size())) + 1;
    }
}

// JSON Lines out: the CSV's columns as keys, numbers as numbers, empty cells as null or "".
// JSON strings are UTF-8: text that is not gets U+FFFD, and the row says which column.
TEST(Run, JsonLinesOutHasTheSameValuesAsNumbersAndNulls) {
    const std::string list = std::string("ref,") + kHeader +
                             "\n\"C1 \"\"x\"\"\",10.1f,10,10,5,50,M,GB\n"
                             "C2,10.1f,10,10,5,50,test:100/1000/0,GB\n"
                             "C3,10.1f,ten,10,5,50,M,GB\n"
                             "C4 \xB5,10.1f,4.7\xB5"
                             "F,10,5,50,M,GB\n"
                             "C5 \xC2\xB5,10.1f,10,10,5,50,M,GB\n";
    const Table csv = ReadTable(RunOn(list, {.bothNotices = true}).out);
    const testing::Ran json = RunOn(list, {.output = Format::JsonLines, .bothNotices = true});
    EXPECT_EQ(json.outcome.status, kExitRowErrors);
    const std::vector<Json> rows = testing::JsonRows(json.out);
    ASSERT_EQ(rows.size(), 5U);
    for (std::size_t row = 0; row < 3; ++row) {
        std::vector<std::string> keys;
        for (const auto& item : rows[row].items()) {
            keys.push_back(item.key());
        }
        EXPECT_EQ(keys, csv.names);
        for (const std::string& name : csv.names) {
            const std::string& cell = csv.at(row, name);
            const Json& v = rows[row][name];
            if (cell.empty()) {
                EXPECT_TRUE(v.is_null() || v == "") << name;
            } else if (v.is_number()) {
                EXPECT_EQ(static_cast<float>(v.get<double>()), *csv.number(row, name)) << name;
            } else {
                EXPECT_EQ(v.get<std::string>(), cell) << name;
            }
        }
    }
    EXPECT_EQ(rows[3]["ref"], "C4 \xEF\xBF\xBD");
    EXPECT_EQ(rows[3]["error"],
              "row 4: column 'ref' is not UTF-8 text; its other bytes are written as U+FFFD; row "
              "4: column 'capacitance' is not UTF-8 text; its other bytes are written as U+FFFD");
    EXPECT_NE(rows[3]["fit"], nullptr);
    EXPECT_EQ(rows[4]["ref"], "C5 \xC2\xB5");
    EXPECT_EQ(rows[4]["error"], nullptr);
    EXPECT_EQ(json.outcome.totals.refused, 1);
    EXPECT_EQ(json.outcome.totals.errors, 2);
}

// The same list as JSON Lines, with numbers as numbers, keys in any case and order, and a key
// of its own, gives what the CSV list gives.
TEST(Run, JsonLinesInGiveWhatTheCsvListGives) {
    const testing::Ran csv = RunOn(std::string("ref,") + kHeader +
                                   ",quantity\n"
                                   "C1,10.1f,10,10,5,50,M,GB,2\n"
                                   "C2,10.4,4u7,50,25,40,non-er,NS,1\n");
    const testing::Ran json = RunOn(
        "{\"ref\":\"C1\",\"TYPE\":\"10.1f\",\"capacitance\":10,\"rated_voltage\":10,"
        "\"applied_voltage\":5,\"temperature\":50,\"quality\":\"M\",\"environment\":\"GB\","
        "\"quantity\":2}\n\n"
        "{\"ref\":\"C2\",\"TYPE\":\"10.4\",\"capacitance\":\"4u7\",\"rated_voltage\":50,"
        "\"applied_voltage\":25,\"temperature\":40,\"quality\":\"non-er\",\"environment\":\"NS\","
        "\"quantity\":1}\n",
        {.input = Format::JsonLines});
    EXPECT_EQ(json.outcome.status, kExitOk);
    const Table a = ReadTable(csv.out);
    const Table b = ReadTable(json.out);
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (std::size_t row = 0; row < a.rows.size(); ++row) {
        for (const std::string& name : Concat({kOutputs, kLifeTestColumns})) {
            EXPECT_EQ(a.at(row, name), b.at(row, name)) << name;
        }
    }
    // JSON in and out keeps each object's own keys and values, numbers as numbers.
    const testing::Ran both = RunOn(
        "{\"ref\":1,\"type\":\"10.1f\",\"capacitance\":10,\"rated_voltage\":10,"
        "\"applied_voltage\":5,\"temperature\":50,\"quality\":\"M\",\"environment\":\"GB\","
        "\"tags\":[\"a\"],\"fit\":3}\n"
        "{\"type\":\"10.1f\",\"capacitance\":10,\"rated_voltage\":10,\"applied_voltage\":5,"
        "\"temperature\":50,\"quality\":\"M\",\"environment\":\"GB\",\"extra\":null}\n",
        {.input = Format::JsonLines, .output = Format::JsonLines});
    EXPECT_EQ(both.outcome.status, kExitOk);
    const std::vector<Json> rows = testing::JsonRows(both.out);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0]["ref"], 1);
    EXPECT_EQ(rows[0]["tags"], Json::array({"a"}));
    EXPECT_NE(rows[0]["fit"], 3);
    EXPECT_EQ(rows[0].begin().key(), "ref");
    EXPECT_TRUE(rows[1].contains("extra"));
    EXPECT_FALSE(rows[1].contains("ref"));
}

TEST(Run, JsonLinesRowsThatCannotBeReadAreReportedAndTheOthersEvaluated) {
    const std::string first =
        "{\"type\":\"10.1f\",\"capacitance\":10,\"rated_voltage\":10,\"applied_voltage\":5,"
        "\"temperature\":50,\"quality\":\"M\",\"environment\":\"GB\"}\n";
    const testing::Ran r = RunOn(first + "[1,2]\n{\"type\":\n" + std::string(100, '[') + "\n" +
                                     "{\"type\":true,\"capacitance\":1}\n"
                                     "{\"Type\":\"10.1f\",\"type\":\"10.1c\"}\n"
                                     "{\"type\":\"10.1f\",\"other\":1}\n"
                                     "{\"type\":\"10.1f\",\"temperature\":51e380}\n" +
                                     first,
                                 {.input = Format::JsonLines});
    EXPECT_EQ(r.outcome.status, kExitRowErrors);
    const Table t = ReadTable(r.out);
    ASSERT_EQ(t.rows.size(), 9U);
    EXPECT_EQ(t.at(0, "error"), "");
    EXPECT_EQ(t.at(1, "error"), "row 2: is not a JSON object");
    EXPECT_EQ(t.at(2, "error").substr(0, 36), "row 3: is not JSON (syntax error at ");
    EXPECT_EQ(t.at(3, "error"), "row 4: is not a parts-list object (nested too deep)");
    EXPECT_EQ(t.at(4, "error"), "row 5: type is not a text or a number");
    EXPECT_EQ(t.at(5, "error"), "row 6: names the column type twice");
    EXPECT_EQ(t.at(6, "error"),
              "row 7: key 'other' is not among the first line's keys, so the CSV output has no "
              "column for it");
    EXPECT_EQ(t.at(7, "error"), "row 8: is not a parts-list object (a number out of range)");
    EXPECT_EQ(t.at(8, "error"), "");
}

TEST(Run, InputsThatAreNoPartsListEndTheRunAndRowsThatCannotBeReadAreReported) {
    const std::string row = "10.1f,10,10,5,50,M,GB";
    const std::string header = std::string(kHeader) + "\n";
    const struct {
        std::string input;
        Format format;
        int status;
        std::string message;  // of the run, or else the first row's error
    } cases[] = {
        {"", Format::Csv, kExitUnusable,
         "the input is empty: a header line naming the columns is needed"},
        {"\n\r\n", Format::Csv, kExitUnusable,
         "the input is empty: a header line naming the columns is needed"},
        {"type,cap,rated_voltage\n", Format::Csv, kExitUnusable,
         "the header lacks the required columns capacitance, applied_voltage, temperature, "
         "quality, environment (it names: 'type', 'cap', 'rated_voltage')"},
        {std::string(kHeader) + ",TYPE\n", Format::Csv, kExitUnusable,
         "the header names the column 'TYPE' twice"},
        {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + std::string(50, '\xFF'), Format::Csv,
         kExitUnusable, "the header lacks the required columns type, capacitance"},
        {header + row + "\n\"" + row + "\n" + row + "\n", Format::Csv, kExitUnusable,
         "row 2: a quoted field is not closed before the end of the input"},
        {header + row + ",extra\n", Format::Csv, kExitRowErrors,
         "row 1: has 8 fields where the header has 7"},
        {header + "10.1f,10\n", Format::Csv, kExitRowErrors,
         "row 1: has 2 fields where the header has 7"},
        {header + "10.1f,1\"0,10,5,50,M,GB\n", Format::Csv, kExitRowErrors,
         "row 1: has a quote inside a field that is not quoted, or after a closing quote"},
        {header + "\x01\x02\xFF," + std::string(2, '\0') + ",10,5,50,M,GB\n", Format::Csv,
         kExitRowErrors,
         "row 1: type '?"
         "?"
         "?' is not a capacitor type"},
        {"", Format::JsonLines, kExitUnusable,
         "the input is empty: no JSON object names the columns"},
        {"not json\n", Format::JsonLines, kExitUnusable,
         "the first line is not JSON (syntax error at byte "},
        {"{\"type\":1}\n", Format::JsonLines, kExitUnusable,
         "the header lacks the required columns capacitance"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.input));
        const testing::Ran r = RunOn(c.input, {.input = c.format});
        EXPECT_EQ(r.outcome.status, c.status);
        EXPECT_EQ(r.outcome.message.empty(), c.status != kExitUnusable);
        const std::string message = c.status == kExitUnusable ? r.outcome.message
                                    : r.out.empty()           ? ""
                                                              : ReadTable(r.out).at(0, "error");
        EXPECT_EQ(message.substr(0, c.message.size()), c.message);
    }
}

class FullSink : public ByteSink {
  public:
    explicit FullSink(std::size_t room) : room_(room) {}
    bool write(std::string_view bytes) override {
        if (bytes.size() > room_) {
            return false;
        }
        room_ -= bytes.size();
        return true;
    }
    std::string error() const override { return "No space left on device"; }

  private:
    std::size_t room_;
};

TEST(Run, AFailedWriteEndsTheRunAsAFailure) {
    std::string list = std::string(kHeader) + "\n";
    for (int i = 0; i < 2000; ++i) {
        list += "10.1f,10,10,5,50,M,GB\n";
    }
    for (const std::size_t room : {std::size_t{0}, std::size_t{100000}}) {
        StringSource in(list);
        FullSink out(room);
        const Outcome o = batch::Run(in, out, {});
        EXPECT_EQ(o.status, kExitUnusable);
        EXPECT_EQ(o.message, "cannot write the output: No space left on device");
    }
}

}  // namespace
}  // namespace quarvell::batch
