#pragma once
// Runs the batch on a text and reads its CSV output back by column name.

#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch.h"
#include "batch/csv_reader.h"

namespace quarvell::batch::testing {

struct Ran {
    Outcome outcome;
    std::string out;
};

inline Ran RunOn(std::string input, Options options = {}, std::size_t chunk = 1 << 16) {
    StringSource in(std::move(input), chunk);
    StringSink out;
    Ran r{.outcome = Run(in, out, options)};
    r.out = std::move(out.text);
    return r;
}

// A CSV text as rows of cells by column name, in column order.
struct Table {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> rows;

    const std::string& at(std::size_t row, const std::string& name) const {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) {
                return rows.at(row).at(i);
            }
        }
        ADD_FAILURE() << "no column " << name;
        static const std::string none;
        return none;
    }
    // The cell read as a single, exactly; nothing for an empty cell.
    std::optional<float> number(std::size_t row, const std::string& name) const {
        const std::string& text = at(row, name);
        if (text.empty()) {
            return std::nullopt;
        }
        float v = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
        EXPECT_TRUE(r.ec == std::errc() && r.ptr == text.data() + text.size())
            << name << " = " << text;
        return v;
    }
};

inline Table ReadTable(const std::string& csv) {
    StringSource source(csv);
    CsvReader reader(source);
    Table t;
    if (reader.next() != CsvReader::Result::Record) {
        ADD_FAILURE() << "no header in " << csv;
        return t;
    }
    t.names.assign(reader.fields().begin(), reader.fields().end());
    for (CsvReader::Result r = reader.next(); r == CsvReader::Result::Record; r = reader.next()) {
        t.rows.emplace_back(reader.fields().begin(), reader.fields().end());
        EXPECT_EQ(t.rows.back().size(), t.names.size());
    }
    return t;
}

// The objects of a JSON Lines output.
inline std::vector<nlohmann::ordered_json> JsonRows(const std::string& out) {
    std::vector<nlohmann::ordered_json> rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(nlohmann::ordered_json::parse(line));
    }
    return rows;
}

// The words of a text separated by blanks.
inline std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

inline constexpr const char* kHeader =
    "type,capacitance,rated_voltage,applied_voltage,temperature,quality,environment";
inline const std::vector<std::string> kInputColumns = Words(
    "type notice capacitance rated_voltage applied_voltage temperature temp_rating quality "
    "environment circuit_resistance construction piv_denominator quantity");
// The columns written after the input's own: every factor and result, the other Notice's FIT
// with both Notices, and the bounds of a life test.
inline const std::vector<std::string> kOutputs = Words(
    "lambda_b pi_t pi_cv pi_v pi_sr pi_c pi_q pi_e stress derated_voltage fit failures_per_1e6h "
    "percent_per_1000h mtbf_hours mtbf_years notes warning error");
inline const std::vector<std::string> kNoticeColumns = Words("fit_notice1 fit_notice2 fit_ratio");
inline const std::vector<std::string> kLifeTestColumns =
    Words("rate_upper_60 rate_upper_90 fit_upper_60 fit_upper_90");

}  // namespace quarvell::batch::testing
