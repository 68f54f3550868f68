#pragma once
// Case tables kept as data: a file of JSON values, one a line, beside the test that reads it;
// blank lines and lines starting with # are comments.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace quarvell::testing {

inline std::vector<nlohmann::json> ReadCases(const std::string& path) {
    std::vector<nlohmann::json> cases;
    std::ifstream in(path);
    EXPECT_TRUE(in.is_open()) << "cannot read " << path;
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(" \t") != std::string::npos && line[0] != '#') {
            cases.push_back(nlohmann::json::parse(line));
        }
    }
    return cases;
}

}  // namespace quarvell::testing
