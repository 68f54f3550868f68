// User stories written as data: scenarios/NAME.replay is a replay script (a first line
// "#! --comma" asks for the comma locale), scenarios/NAME.expected what the reports must show.
// In the expectations, "@N" picks the N-th printed state (from 1) and "@last" the final one;
// every other line is a path into that report, segments separated by "/", and the JSON value
// expected there. A last segment "#" stands for the number of elements.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/replay/replay.h"

namespace quarvell::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

std::string ReadFile(const std::string& name) {
    std::ifstream in(fs::path(QUARVELL_SCENARIO_DIR) / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Scenarios() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(QUARVELL_SCENARIO_DIR)) {
        if (entry.path().extension() == ".replay") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The value at a path of keys and indexes, or nothing where the path leads nowhere.
std::optional<Json> At(const Json& report, const std::string& path) {
    const Json* v = &report;
    std::istringstream segments(path);
    for (std::string s; std::getline(segments, s, '/');) {
        std::size_t index = 0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), index);
        if (s == "#") {
            return Json(v->size());
        } else if (v->is_object() && v->contains(s)) {
            v = &v->at(s);
        } else if (v->is_array() && ec == std::errc() && end == s.data() + s.size() &&
                   index < v->size()) {
            v = &v->at(index);
        } else {
            return std::nullopt;
        }
    }
    return *v;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, ShowsWhatItsExpectationsSay) {
    const std::string script = ReadFile(GetParam() + ".replay");
    replay::ReplayOptions options;
    options.comma = script.rfind("#! --comma", 0) == 0;
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(replay::RunReplay(in, out, err, options), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    std::vector<Json> reports;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        reports.push_back(Json::parse(line));
    }
    ASSERT_FALSE(reports.empty());

    std::istringstream expected(ReadFile(GetParam() + ".expected"));
    std::size_t current = reports.size() - 1;
    int lineNumber = 0;
    int checks = 0;
    for (std::string line; std::getline(expected, line);) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '@') {
            current = line == "@last" ? reports.size() - 1 : std::stoul(line.substr(1)) - 1;
            ASSERT_LT(current, reports.size()) << "line " << lineNumber << ": no report " << line;
            continue;
        }
        const std::size_t blank = line.find(' ');
        ASSERT_NE(blank, std::string::npos) << "line " << lineNumber << ": path and value";
        ++checks;
        const std::optional<Json> found = At(reports[current], line.substr(0, blank));
        EXPECT_EQ(found ? found->dump() : "(nothing there)",
                  Json::parse(line.substr(blank + 1)).dump())
            << "line " << lineNumber << ": " << line.substr(0, blank);
    }
    EXPECT_GT(checks, 0) << "a scenario without expectations";
}

INSTANTIATE_TEST_SUITE_P(Stories, Scenario, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
}  // namespace quarvell::testing
