#pragma once
// A minimal streaming JSON writer: one-line output, strings escaped (control characters as
// \r, \n, \t or \u00XX; UTF-8 passed through), reals with 9 significant digits written the same
// whatever the process locale, and null for a value that is not finite.

#include <string>
#include <string_view>
#include <vector>

namespace quarvell::replay {

class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(bool b);
    JsonWriter& value(int n);
    JsonWriter& value(long n);
    JsonWriter& real(double x);
    JsonWriter& null();
    const std::string& str() const { return out_; }

  private:
    void separate();

    std::string out_;
    // Per open container: whether it has an element yet.
    std::vector<bool> hasElement_;
    bool afterKey_ = false;
};

std::string JsonString(std::string_view text);

}  // namespace quarvell::replay
