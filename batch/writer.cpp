#include "batch/writer.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>

namespace quarvell::batch {

namespace {

constexpr std::string_view kHex = "0123456789abcdef";

// The length of the UTF-8 sequence at the start of text, or 0 when it is none.
std::size_t SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char c = byte(0);
    if (c < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : low;    // no overlong forms
        high = c == 0xED ? 0x9F : high;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : low;
        high = c == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

char* Put(char* at, std::string_view text) {
    const char* const from = text.data();
    const std::size_t n = text.size();
    // The short texts of a list's cells in two overlapping copies of fixed size, without a call.
    if (n >= 8 && n <= 16) {
        std::memcpy(at, from, 8);
        std::memcpy(at + n - 8, from + n - 8, 8);
    } else if (n >= 4 && n < 8) {
        std::memcpy(at, from, 4);
        std::memcpy(at + n - 4, from + n - 4, 4);
    } else if (n > 0 && n < 4) {
        at[0] = from[0];
        at[n / 2] = from[n / 2];
        at[n - 1] = from[n - 1];
    } else if (n > 0) {  // an empty view may hold no pointer at all
        std::memcpy(at, from, n);
    }
    return at + n;
}

// The most a text takes as a CSV field (every byte a doubled quote) or as a JSON string (every
// byte escaped as \u00XX), with the quotes around it.
std::size_t CsvBound(std::string_view text) {
    return 2 * text.size() + 2;
}
std::size_t JsonBound(std::string_view text) {
    return 6 * text.size() + 2;
}

constexpr std::uint64_t kOnes = 0x0101010101010101U;

// The top bit set in the bytes of x equal to the byte repeated in `pattern`, and perhaps in
// bytes above such a byte: enough to tell whether there is one.
std::uint64_t Bytes(std::uint64_t x, std::uint64_t pattern) {
    const std::uint64_t y = x ^ pattern;
    return (y - kOnes) & ~y & (kOnes * 0x80);
}

// Eight bytes at a time, with one test a word: the notes are long, and rarely need quotes.
bool NeedsQuotes(std::string_view text) {
    const char* p = text.data();
    const char* const e = p + text.size();
    for (; e - p >= 8; p += 8) {
        std::uint64_t x = 0;
        std::memcpy(&x, p, 8);
        if ((Bytes(x, kOnes * ',') | Bytes(x, kOnes * '"') | Bytes(x, kOnes * '\n') |
             Bytes(x, kOnes * '\r')) != 0) {
            return true;
        }
    }
    for (; p < e; ++p) {
        if (*p == ',' || *p == '"' || *p == '\n' || *p == '\r') {
            return true;
        }
    }
    return false;
}

char* PutCsvField(char* at, std::string_view text) {
    if (!NeedsQuotes(text)) {
        return Put(at, text);
    }
    *at++ = '"';
    for (const char c : text) {
        if (c == '"') {
            *at++ = '"';
        }
        *at++ = c;
    }
    *at++ = '"';
    return at;
}

// A JSON string; bytes that are not UTF-8 become U+FFFD, as JSON has no way to carry them.
char* PutJsonString(char* at, std::string_view text) {
    *at++ = '"';
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            *at++ = static_cast<char>(c);
            ++i;
            continue;
        }
        if (c >= 0x80) {
            const std::size_t length = SequenceLength(text.substr(i));
            if (length == 0) {
                at = Put(at, "\\ufffd");
                ++i;
            } else {
                at = Put(at, text.substr(i, length));
                i += length;
            }
            continue;
        }
        *at++ = '\\';
        switch (c) {
            case '"':
            case '\\':
                *at++ = static_cast<char>(c);
                break;
            case '\n':
                *at++ = 'n';
                break;
            case '\r':
                *at++ = 'r';
                break;
            case '\t':
                *at++ = 't';
                break;
            default:
                at = Put(at, "u00");
                *at++ = kHex[c >> 4];
                *at++ = kHex[c & 0xF];
                break;
        }
        ++i;
    }
    *at++ = '"';
    return at;
}

std::size_t JsonCellBound(const Cell& cell) {
    switch (cell.kind) {
        case Cell::Kind::Text:
            return JsonBound(cell.text);
        case Cell::Kind::Json:
            return cell.text.size();
        case Cell::Kind::Null:
            break;
    }
    return 4;
}

char* PutJsonCell(char* at, const Cell& cell) {
    switch (cell.kind) {
        case Cell::Kind::Text:
            return PutJsonString(at, cell.text);
        case Cell::Kind::Json:
            return Put(at, cell.text);
        case Cell::Kind::Null:
            break;
    }
    return Put(at, "null");
}

// The factors take few values over a list (one base rate per type, one PI(E) per environment);
// the FIT and what follows from it take a new one nearly every row and would only crowd the
// remembered texts out.
bool Repeats(Output o) {
    return o <= Output::DeratedVoltage;
}

const std::string& TextOf(const RowResult& r, Output o) {
    return o == Output::Notes ? r.notes : o == Output::Warning ? r.warning : r.error;
}

// What the texts of a row can take, whatever their columns.
std::size_t TextsBound(const RowResult& r, std::size_t (*bound)(std::string_view)) {
    return bound(r.notes) + bound(r.warning) + bound(r.error);
}

}  // namespace

void AppendNumber(std::string& out, float value) {
    char buffer[kShortestMax];
    out.append(buffer, WriteShortest(buffer, value));
}

char* NumberTexts::write(char* out, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    Entry& e = entries_[(bits * 0x9E3779B1U) >> (32 - kBits)];
    if (e.length == 0 || e.bits != bits) {
        char* const end = WriteShortest(out, value);
        const auto length = static_cast<std::size_t>(end - out);
        if (length <= sizeof e.text) {
            e.bits = bits;
            e.length = static_cast<std::uint8_t>(length);
            std::memcpy(e.text, out, length);
        }
        return end;
    }
    // The whole entry, whatever its length: there is room for it.
    std::memcpy(out, e.text, sizeof e.text);
    return out + e.length;
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(text.substr(i));
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

RowWriter::RowWriter(OutputBuffer& out, const std::vector<Output>& outputs) : out_(out) {
    keys_.reserve(outputs.size());
    for (const Output o : outputs) {
        std::string& key = keys_.emplace_back("\"");
        key += OutputName(o);
        key += "\":";
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const Output o = outputs[i];
        Kind kind = Repeats(o) ? Kind::RepeatingNumber : Kind::Number;
        if (IsText(o)) {
            kind = o == Output::Notes     ? Kind::Notes
                   : o == Output::Warning ? Kind::Warning
                                          : Kind::Error;
        }
        columns_.push_back({.output = o, .kind = kind, .bit = RowResult::Bit(o), .key = keys_[i]});
    }
    const auto notes = std::find_if(columns_.begin(), columns_.end(),
                                    [](const Column& c) { return c.kind == Kind::Notes; });
    // Every run has the three, one after the other: notes, warning, error.
    texts_ = static_cast<std::size_t>(notes - columns_.begin());
}

// A number column's value, or nothing where the row has none.
char* RowWriter::number(char* at, const Column& c, const RowResult& result) {
    if ((result.present & c.bit) == 0) {
        return at;
    }
    const float v = result[c.output];
    return c.kind == Kind::RepeatingNumber ? numbers_.write(at, v) : WriteShortest(at, v);
}

void CsvWriter::header(std::span<const std::string_view> inputNames) {
    std::size_t bound = 1;
    for (const std::string_view name : inputNames) {
        bound += CsvBound(name) + 1;
    }
    for (const Column& c : columns_) {
        bound += OutputName(c.output).size() + 1;
    }
    char* at = out_.room(bound);
    for (const std::string_view name : inputNames) {
        at = PutCsvField(at, name);
        *at++ = ',';
    }
    for (const Column& c : columns_) {
        at = Put(at, OutputName(c.output));
        *at++ = ',';
    }
    at[-1] = '\n';  // in place of the last separator
    out_.end(at);
    out_.flushIfFull();
}

void CsvWriter::row(std::span<const Cell> input, const RowResult& result,
                    std::optional<std::string_view> verbatim) {
    std::size_t bound = columns_.size() * (kShortestMax + 1) + TextsBound(result, CsvBound);
    if (verbatim) {
        bound += verbatim->size() + 1;
    } else {
        for (const Cell& cell : input) {
            bound += CsvBound(cell.text) + 1;
        }
    }
    char* at = out_.room(bound);
    if (verbatim) {
        at = Put(at, *verbatim);
        *at++ = ',';
    } else {
        for (const Cell& cell : input) {
            if (cell.plain) {
                at = Put(at, cell.text);
            } else if (cell.kind != Cell::Kind::Null) {
                at = PutCsvField(at, cell.text);
            }
            *at++ = ',';
        }
    }
    // The numbers before the three texts and after them, each run in a loop of its own.
    const auto numbers = [&](const Column* c, const Column* end) {
        for (; c != end; ++c) {
            at = number(at, *c, result);
            *at++ = ',';
        }
    };
    const Column* const first = columns_.data();
    const Column* const texts = first + texts_;
    numbers(first, texts);
    at = PutCsvField(at, result.notes);
    *at++ = ',';
    at = PutCsvField(at, result.warning);
    *at++ = ',';
    at = PutCsvField(at, result.error);
    *at++ = ',';
    numbers(texts + 3, first + columns_.size());
    at[-1] = '\n';  // in place of the last separator
    out_.end(at);
    out_.flushIfFull();
}

void JsonWriter::row(std::span<const Cell> input, const RowResult& result,
                     std::optional<std::string_view>) {
    std::size_t bound = 2 + TextsBound(result, JsonBound);
    for (const Cell& cell : input) {
        bound += JsonBound(cell.name) + JsonCellBound(cell) + 2;
    }
    for (const Column& c : columns_) {
        bound += c.key.size() + kShortestMax + 1;
    }
    char* at = out_.room(bound);
    *at++ = '{';
    for (const Cell& cell : input) {
        at = PutJsonString(at, cell.name);
        *at++ = ':';
        at = PutJsonCell(at, cell);
        *at++ = ',';
    }
    for (const Column& c : columns_) {
        at = Put(at, c.key);
        if (c.kind == Kind::RepeatingNumber || c.kind == Kind::Number) {
            char* const end = number(at, c, result);
            at = end == at ? Put(at, "null") : end;
        } else {
            const std::string& text = TextOf(result, c.output);
            at = text.empty() ? Put(at, "null") : PutJsonString(at, text);
        }
        *at++ = ',';
    }
    at[-1] = '}';  // in place of the last separator
    *at++ = '\n';
    out_.end(at);
    out_.flushIfFull();
}

}  // namespace quarvell::batch
