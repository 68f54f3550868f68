#pragma once
// Reads the replay tool's reports back in tests without building a tree: a value is found by
// its path and compared as the JSON text the tool writes (compact, members in their order).

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarvell::testing {

// The end of the compact JSON value starting at `pos`, or npos where there is none.
inline std::size_t SkipJson(std::string_view t, std::size_t pos) {
    constexpr std::size_t kNone = std::string_view::npos;
    if (pos >= t.size()) {
        return kNone;
    }
    const char c = t[pos];
    if (c == '"') {
        for (++pos; pos < t.size() && t[pos] != '"'; ++pos) {
            if (static_cast<unsigned char>(t[pos]) < 0x20) {
                return kNone;
            }
            pos += t[pos] == '\\' ? 1 : 0;
        }
        return pos < t.size() ? pos + 1 : kNone;
    }
    if (c == '{' || c == '[') {
        const char close = c == '{' ? '}' : ']';
        if (pos + 1 < t.size() && t[pos + 1] == close) {
            return pos + 2;
        }
        do {
            if (c == '{') {
                pos = SkipJson(t, pos + 1);
                if (pos == kNone || t[pos - 1] != '"' || pos >= t.size() || t[pos] != ':') {
                    return kNone;
                }
            }
            pos = SkipJson(t, pos + 1);
        } while (pos < t.size() && t[pos] == ',');
        return pos < t.size() && t[pos] == close ? pos + 1 : kNone;
    }
    for (std::string_view word : {"true", "false", "null"}) {
        if (t.substr(pos, word.size()) == word) {
            return pos + word.size();
        }
    }
    double x = 0;
    const auto r = std::from_chars(t.data() + pos, t.data() + t.size(), x);
    return r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - t.data()) : kNone;
}

// The members of an object by key, or the elements of an array by index, as JSON texts.
inline std::vector<std::pair<std::string, std::string_view>> Members(std::string_view v) {
    std::vector<std::pair<std::string, std::string_view>> out;
    if (v.size() < 3 || (v[0] != '{' && v[0] != '[')) {
        return out;
    }
    for (std::size_t pos = 1; pos < v.size(); ++pos) {
        std::string key = std::to_string(out.size());
        if (v[0] == '{') {
            const std::size_t end = SkipJson(v, pos);
            if (end == std::string_view::npos) {
                break;
            }
            key = v.substr(pos + 1, end - pos - 2);
            pos = end + 1;
        }
        const std::size_t end = SkipJson(v, pos);
        if (end == std::string_view::npos) {
            break;
        }
        out.emplace_back(key, v.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

// The JSON text at a path of keys and indexes separated by "/"; a last segment "#" gives the
// number of members. Nothing when the path leads nowhere.
inline std::optional<std::string> JsonAt(std::string_view json, std::string_view path) {
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view segment = path.substr(start, end - start);
        start = end + 1;
        const auto members = Members(json);
        if (segment == "#") {
            return std::to_string(members.size());
        }
        const auto found = std::find_if(members.begin(), members.end(),
                                        [&](const auto& m) { return m.first == segment; });
        if (found == members.end()) {
            return std::nullopt;
        }
        json = found->second;
    }
    return std::string(json);
}

// The reports printed, one a line; a line that is no JSON fails the test.
inline std::vector<std::string> Reports(const std::string& out) {
    std::vector<std::string> reports;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(SkipJson(line, 0), line.size()) << "no JSON: " << line.substr(0, 200);
        reports.push_back(line);
    }
    return reports;
}

}  // namespace quarvell::testing
