// User stories written as data: scenarios/NAME.replay is a replay script (a first line
// "#! --comma" asks for the comma locale), scenarios/NAME.expected what the reports must show.
// In the expectations, "@N" picks the N-th printed state (from 1) and "@last" the final one;
// every other line is a path into that report, segments separated by "/", and the JSON value
// expected there. A segment "#" stands for the number of elements.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/replay/json_value.h"
#include "tools/replay/replay.h"

namespace quarvell::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
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

// The value at a path, or a description of where the path ends.
std::optional<Json> Lookup(const Json& root, const std::string& path, std::string& where) {
    const Json* node = &root;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, end - start);
        start = end + 1;
        if (segment == "#") {
            Json count;
            count.type = Json::Type::Number;
            count.number = static_cast<double>(
                node->type == Json::Type::Array ? node->array.size() : node->object.size());
            return count;
        }
        node = node->at(segment);
        if (node == nullptr) {
            where = "no \"" + segment + "\"";
            return std::nullopt;
        }
    }
    return *node;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, ShowsWhatItsExpectationsSay) {
    const fs::path dir = QUARVELL_SCENARIO_DIR;
    const std::string script = ReadFile(dir / (GetParam() + ".replay"));
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
        std::string error;
        auto report = ParseJson(line, &error);
        ASSERT_TRUE(report) << "report " << reports.size() + 1 << " is no JSON: " << error;
        reports.push_back(std::move(*report));
    }
    ASSERT_FALSE(reports.empty());

    std::istringstream expected(ReadFile(dir / (GetParam() + ".expected")));
    std::size_t current = reports.size() - 1;
    int lineNumber = 0;
    int checks = 0;
    for (std::string line; std::getline(expected, line);) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '@') {
            const std::string which = line.substr(1);
            current = which == "last" ? reports.size() - 1 : std::stoul(which) - 1;
            ASSERT_LT(current, reports.size()) << "line " << lineNumber << ": no report " << which;
            continue;
        }
        const std::size_t blank = line.find(' ');
        ASSERT_NE(blank, std::string::npos) << "line " << lineNumber << ": path and value";
        const std::string path = line.substr(0, blank);
        std::string error;
        const auto want = ParseJson(line.substr(blank + 1), &error);
        ASSERT_TRUE(want) << "line " << lineNumber << ": " << error;
        std::string where;
        const auto got = Lookup(reports[current], path, where);
        ++checks;
        if (!got) {
            ADD_FAILURE() << "line " << lineNumber << ": " << path << ": " << where;
            continue;
        }
        EXPECT_TRUE(*got == *want) << "line " << lineNumber << ": " << path << "\n  expected "
                                   << want->text() << "\n  actual   " << got->text();
    }
    EXPECT_GT(checks, 0) << "a scenario without expectations";
}

INSTANTIATE_TEST_SUITE_P(Stories, Scenario, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name;
                             for (char c : param.param) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace quarvell::testing
