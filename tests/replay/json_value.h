#pragma once
// Just enough JSON to read the replay tool's reports back in tests.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarvell::testing {

struct Json {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Json> array;
    std::vector<std::pair<std::string, Json>> object;

    // Member by key, or element by decimal index; nullptr when there is none.
    const Json* at(std::string_view keyOrIndex) const;
    // Compact text, members in their order.
    std::string text() const;
};

// Objects compare as sets of members.
bool operator==(const Json& a, const Json& b);

std::optional<Json> ParseJson(std::string_view text, std::string* error = nullptr);

}  // namespace quarvell::testing
