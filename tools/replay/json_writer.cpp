#include "tools/replay/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quarvell::replay {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(ch) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned char>(ch));
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
    return out;
}

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasElement_.empty()) {
        if (hasElement_.back()) {
            out_ += ',';
        }
        hasElement_.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    out_ += '{';
    hasElement_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_ += '}';
    hasElement_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    out_ += '[';
    hasElement_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_ += ']';
    hasElement_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    out_ += JsonString(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    out_ += JsonString(text);
    return *this;
}

JsonWriter& JsonWriter::value(bool b) {
    separate();
    out_ += b ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::value(int n) {
    return value(static_cast<long>(n));
}

JsonWriter& JsonWriter::value(long n) {
    separate();
    out_ += std::to_string(n);
    return *this;
}

JsonWriter& JsonWriter::real(double x) {
    if (!std::isfinite(x)) {
        return null();
    }
    separate();
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 9);
    out_.append(buf, result.ptr);
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    out_ += "null";
    return *this;
}

}  // namespace quarvell::replay
