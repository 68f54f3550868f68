#include "batch/jsonl_reader.h"

#include <algorithm>
#include <cstring>

namespace quarvell::batch {

namespace {

// A parts list nests nothing; deep nesting is refused before parsing, so that no structure
// is built (and torn down) a million levels deep.
constexpr int kMaxDepth = 64;

bool NestsTooDeep(std::string_view line) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > kMaxDepth) {
                return true;
            }
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return false;
}

bool Blank(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

}  // namespace

JsonLinesReader::JsonLinesReader(ByteSource& source)
    : source_(source), buffer_(new char[2 * kMaxLine]), capacity_(2 * kMaxLine) {}

bool JsonLinesReader::refill() {
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ >= kMaxLine) {
        error_ = "a line is longer than 1 MiB";
        return false;
    }
    const std::ptrdiff_t n = source_.read(buffer_.get() + end_, capacity_ - end_);
    if (n < 0) {
        error_ = "cannot read the input: " + source_.error();
        return false;
    }
    eof_ = n == 0;
    end_ += static_cast<std::size_t>(n);
    return true;
}

JsonLinesReader::Result JsonLinesReader::next() {
    for (;;) {
        const std::string_view rest(buffer_.get() + begin_, end_ - begin_);
        const std::size_t newline = rest.find('\n');
        if (newline == std::string_view::npos && !eof_) {
            if (!refill()) {
                return Result::Failed;
            }
            continue;
        }
        if (rest.empty()) {
            return Result::End;
        }
        std::string_view line = rest.substr(0, newline);
        begin_ += newline == std::string_view::npos ? rest.size() : newline + 1;
        if (!started_) {
            started_ = true;
            if (line.starts_with("\xEF\xBB\xBF")) {
                line.remove_prefix(3);
            }
        }
        if (Blank(line)) {
            continue;
        }
        if (NestsTooDeep(line)) {
            problem_ = "is not a parts-list object (nested too deep)";
            return Result::NotObject;
        }
        try {
            object_ = nlohmann::ordered_json::parse(line);
        } catch (const nlohmann::json::parse_error& e) {
            problem_ = "is not JSON (syntax error at byte " + std::to_string(e.byte) + ")";
            return Result::NotObject;
        } catch (const nlohmann::json::out_of_range&) {
            // A number beyond the range of a double, such as 1e400.
            problem_ = "is not a parts-list object (a number out of range)";
            return Result::NotObject;
        }
        if (!object_.is_object()) {
            problem_ = "is not a JSON object";
            return Result::NotObject;
        }
        return Result::Object;
    }
}

}  // namespace quarvell::batch
