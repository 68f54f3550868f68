#include "tests/replay/json_value.h"

#include <charconv>
#include <cstdlib>

#include "tools/replay/json_writer.h"

namespace quarvell::testing {

namespace {

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<Json> document(std::string* error) {
        std::optional<Json> v = value();
        skipBlanks();
        if (v && pos_ != text_.size()) {
            fail("trailing characters");
            v.reset();
        }
        if (!v && error != nullptr) {
            *error = error_ + " at " + std::to_string(pos_);
        }
        return v;
    }

  private:
    void fail(const char* what) {
        if (error_.empty()) {
            error_ = what;
        }
    }

    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }

    bool take(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) == word) {
            pos_ += word.size();
            return true;
        }
        return false;
    }

    std::optional<std::string> string() {
        if (!take('"')) {
            fail("string expected");
            return std::nullopt;
        }
        std::string out;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("raw control character in string");
                return std::nullopt;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) {
                break;
            }
            c = text_[pos_++];
            switch (c) {
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    unsigned code = 0;
                    const auto r =
                        std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16);
                    if (r.ptr != text_.data() + pos_ + 4 || code > 0x7F) {
                        fail("unsupported \\u escape");
                        return std::nullopt;
                    }
                    pos_ += 4;
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    out += c;
            }
        }
        if (!take('"')) {
            fail("unterminated string");
            return std::nullopt;
        }
        return out;
    }

    std::optional<Json> value() {
        skipBlanks();
        if (pos_ >= text_.size()) {
            fail("value expected");
            return std::nullopt;
        }
        Json v;
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            v.type = Json::Type::Object;
            if (take('}')) {
                return v;
            }
            do {
                auto key = string();
                if (!key || !take(':')) {
                    fail("member expected");
                    return std::nullopt;
                }
                auto member = value();
                if (!member) {
                    return std::nullopt;
                }
                v.object.emplace_back(std::move(*key), std::move(*member));
            } while (take(','));
            if (!take('}')) {
                fail("} expected");
                return std::nullopt;
            }
        } else if (c == '[') {
            ++pos_;
            v.type = Json::Type::Array;
            if (take(']')) {
                return v;
            }
            do {
                auto element = value();
                if (!element) {
                    return std::nullopt;
                }
                v.array.push_back(std::move(*element));
            } while (take(','));
            if (!take(']')) {
                fail("] expected");
                return std::nullopt;
            }
        } else if (c == '"') {
            auto s = string();
            if (!s) {
                return std::nullopt;
            }
            v.type = Json::Type::String;
            v.string = std::move(*s);
        } else if (literal("true")) {
            v.type = Json::Type::Bool;
            v.boolean = true;
        } else if (literal("false")) {
            v.type = Json::Type::Bool;
        } else if (literal("null")) {
            v.type = Json::Type::Null;
        } else {
            double x = 0;
            const auto r = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), x);
            if (r.ec != std::errc() || r.ptr == text_.data() + pos_) {
                fail("number expected");
                return std::nullopt;
            }
            pos_ = static_cast<std::size_t>(r.ptr - text_.data());
            v.type = Json::Type::Number;
            v.number = x;
        }
        return v;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

}  // namespace

const Json* Json::at(std::string_view keyOrIndex) const {
    if (type == Type::Object) {
        for (const auto& [k, v] : object) {
            if (k == keyOrIndex) {
                return &v;
            }
        }
        return nullptr;
    }
    if (type == Type::Array) {
        std::size_t i = 0;
        const auto r = std::from_chars(keyOrIndex.data(), keyOrIndex.data() + keyOrIndex.size(), i);
        if (r.ec == std::errc() && r.ptr == keyOrIndex.data() + keyOrIndex.size() &&
            i < array.size()) {
            return &array[i];
        }
    }
    return nullptr;
}

std::string Json::text() const {
    replay::JsonWriter w;
    switch (type) {
        case Type::Null:
            return "null";
        case Type::Bool:
            return boolean ? "true" : "false";
        case Type::Number:
            w.real(number);
            return w.str();
        case Type::String:
            return replay::JsonString(string);
        case Type::Array: {
            std::string out = "[";
            for (std::size_t i = 0; i < array.size(); ++i) {
                out += (i > 0 ? "," : "") + array[i].text();
            }
            return out + "]";
        }
        case Type::Object: {
            std::string out = "{";
            for (std::size_t i = 0; i < object.size(); ++i) {
                out += (i > 0 ? "," : "") + replay::JsonString(object[i].first) + ":" +
                       object[i].second.text();
            }
            return out + "}";
        }
    }
    return "";
}

bool operator==(const Json& a, const Json& b) {
    if (a.type != b.type) {
        return false;
    }
    switch (a.type) {
        case Json::Type::Null:
            return true;
        case Json::Type::Bool:
            return a.boolean == b.boolean;
        case Json::Type::Number:
            return a.number == b.number;
        case Json::Type::String:
            return a.string == b.string;
        case Json::Type::Array:
            return a.array == b.array;
        case Json::Type::Object:
            if (a.object.size() != b.object.size()) {
                return false;
            }
            for (const auto& [k, v] : a.object) {
                const Json* other = b.at(k);
                if (other == nullptr || !(*other == v)) {
                    return false;
                }
            }
            return true;
    }
    return false;
}

std::optional<Json> ParseJson(std::string_view text, std::string* error) {
    return Parser(text).document(error);
}

}  // namespace quarvell::testing
