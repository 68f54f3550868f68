// User stories written as data: scenarios/NAME.replay is a replay script (a first line
// "#! --comma" asks for the comma locale), scenarios/NAME.expected what the reports must show.
// In the expectations, "@N" picks the N-th printed state (from 1) and "@last" the final one;
// every other line is a path into that report, segments separated by "/", and the compact JSON
// expected there, as the tool writes it. A segment "#" stands for the number of elements.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/replay/json_path.h"
#include "tools/replay/replay.h"

namespace quarvell::testing {
namespace {

namespace fs = std::filesystem;

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
    const std::vector<std::string> reports = Reports(out.str());
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
        EXPECT_EQ(JsonAt(reports[current], line.substr(0, blank)).value_or("(nothing there)"),
                  line.substr(blank + 1))
            << "line " << lineNumber << ": " << line.substr(0, blank);
    }
    EXPECT_GT(checks, 0) << "a scenario without expectations";
}

INSTANTIATE_TEST_SUITE_P(Stories, Scenario, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
}  // namespace quarvell::testing
