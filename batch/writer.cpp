#include "batch/writer.h"

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

bool NeedsQuotes(std::string_view text) {
    for (const char c : text) {
        if (c == ',' || c == '"' || c == '\n' || c == '\r') {
            return true;
        }
    }
    return false;
}

void AppendCsvField(std::string& out, std::string_view text) {
    if (!NeedsQuotes(text)) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

// A JSON string; bytes that are not UTF-8 become U+FFFD, as JSON has no way to carry them.
void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (c >= 0x80) {
            const std::size_t length = SequenceLength(text.substr(i));
            if (length == 0) {
                out += "\\ufffd";
                ++i;
            } else {
                out += text.substr(i, length);
                i += length;
            }
            continue;
        }
        out += '\\';
        switch (c) {
            case '"':
            case '\\':
                out += static_cast<char>(c);
                break;
            case '\n':
                out += 'n';
                break;
            case '\r':
                out += 'r';
                break;
            case '\t':
                out += 't';
                break;
            default:
                out += "u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
                break;
        }
        ++i;
    }
    out += '"';
}

void AppendJsonCell(std::string& out, const Cell& cell) {
    switch (cell.kind) {
        case Cell::Kind::Text:
            AppendJsonString(out, cell.text);
            break;
        case Cell::Kind::Json:
            out += cell.text;
            break;
        case Cell::Kind::Null:
            out += "null";
            break;
    }
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

}  // namespace

namespace {

// Into 64 bytes: the longest, the smallest subnormal, takes 48.
std::size_t FormatNumber(char* buffer, float value) {
    if (value == 0) {
        buffer[0] = '0';  // never "-0"
        return 1;
    }
    const auto r = std::to_chars(buffer, buffer + 64, value, std::chars_format::fixed);
    return static_cast<std::size_t>(r.ptr - buffer);
}

}  // namespace

void AppendNumber(std::string& out, float value) {
    char buffer[64];
    out.append(buffer, FormatNumber(buffer, value));
}

void NumberTexts::append(std::string& out, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    Entry& e = entries_[(bits * 0x9E3779B1U) >> (32 - kBits)];
    if (e.length == 0 || e.bits != bits) {
        char buffer[64];
        const std::size_t length = FormatNumber(buffer, value);
        if (length > sizeof e.text) {
            out.append(buffer, length);
            return;
        }
        e.bits = bits;
        e.length = static_cast<std::uint8_t>(length);
        std::memcpy(e.text, buffer, length);
    }
    out.append(e.text, e.length);
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

void CsvWriter::header(std::span<const std::string_view> inputNames) {
    std::string& out = out_.text();
    bool first = true;
    for (const std::string_view name : inputNames) {
        if (!first) {
            out += ',';
        }
        first = false;
        AppendCsvField(out, name);
    }
    for (const Output o : outputs_) {
        if (!first) {
            out += ',';
        }
        first = false;
        out += OutputName(o);
    }
    out += '\n';
    out_.flushIfFull();
}

void CsvWriter::row(std::span<const Cell> input, const RowResult& result) {
    std::string& out = out_.text();
    bool first = true;
    for (const Cell& cell : input) {
        if (!first) {
            out += ',';
        }
        first = false;
        if (cell.plain) {
            out += cell.text;
        } else if (cell.kind != Cell::Kind::Null) {
            AppendCsvField(out, cell.text);
        }
    }
    for (const Output o : outputs_) {
        if (!first) {
            out += ',';
        }
        first = false;
        if (IsText(o)) {
            AppendCsvField(out, TextOf(result, o));
        } else if (result.has(o) && Repeats(o)) {
            numbers_.append(out, result[o]);
        } else if (result.has(o)) {
            AppendNumber(out, result[o]);
        }
    }
    out += '\n';
    out_.flushIfFull();
}

void JsonWriter::row(std::span<const Cell> input, const RowResult& result) {
    std::string& out = out_.text();
    out += '{';
    bool first = true;
    for (const Cell& cell : input) {
        if (!first) {
            out += ',';
        }
        first = false;
        AppendJsonString(out, cell.name);
        out += ':';
        AppendJsonCell(out, cell);
    }
    for (const Output o : outputs_) {
        if (!first) {
            out += ',';
        }
        first = false;
        out += '"';
        out += OutputName(o);
        out += "\":";
        if (IsText(o)) {
            const std::string& text = TextOf(result, o);
            if (text.empty()) {
                out += "null";
            } else {
                AppendJsonString(out, text);
            }
        } else if (result.has(o) && Repeats(o)) {
            numbers_.append(out, result[o]);
        } else if (result.has(o)) {
            AppendNumber(out, result[o]);
        } else {
            out += "null";
        }
    }
    out += "}\n";
    out_.flushIfFull();
}

}  // namespace quarvell::batch
