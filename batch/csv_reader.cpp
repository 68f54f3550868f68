#include "batch/csv_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quarvell::batch {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::uint64_t kOnes = 0x0101010101010101U;
constexpr std::uint64_t kLow7 = kOnes * 0x7F;

// The top bit of each byte of x that equals c, and of no other: no carry crosses a byte.
std::uint64_t BytesEqual(std::uint64_t x, char c) {
    const std::uint64_t y = x ^ (kOnes * static_cast<unsigned char>(c));
    return ~(((y & kLow7) + kLow7) | y | kLow7);
}

}  // namespace

CsvReader::CsvReader(ByteSource& source)
    : source_(source), buffer_(new char[2 * kMaxRecord + 1]), capacity_(2 * kMaxRecord) {
    buffer_[0] = '\n';
    fields_.reserve(64);
    scratch_.reserve(capacity_);
}

bool CsvReader::refill() {
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        next_ -= std::min(next_, begin_);
        begin_ = 0;
    }
    if (end_ >= kMaxRecord) {
        error_ = "a record is longer than 1 MiB; is a quote left open?";
        return false;
    }
    const std::ptrdiff_t n = source_.read(buffer_.get() + end_, capacity_ - end_);
    if (n < 0) {
        error_ = "cannot read the input: " + source_.error();
        return false;
    }
    eof_ = n == 0;
    end_ += static_cast<std::size_t>(n);
    buffer_[end_] = '\n';  // ends the scan of an unquoted field at the end of the bytes read
    return true;
}

// Decided on the first line that is not empty: semicolons outnumbering commas outside quotes.
void CsvReader::chooseSeparator() {
    std::size_t commas = 0;
    std::size_t semicolons = 0;
    bool quoted = false;
    for (std::size_t i = begin_; i < end_; ++i) {
        const char c = buffer_[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            commas += c == ',' ? 1 : 0;
            semicolons += c == ';' ? 1 : 0;
        }
    }
    separator_ = semicolons > commas ? ';' : ',';
    for (const char c : {separator_, '\n', '\r', '"'}) {
        stops_[static_cast<unsigned char>(c)] = true;
    }
}

void CsvReader::addField(std::string_view field) {
    if (fieldCount_++ < kMaxFields) {
        fields_.push_back(field);
    }
}

// A record without quotes, whole in the bytes read: the usual kind, cut eight bytes at a time.
// The stops of a word are found at once and the fields between them taken in turn, with no
// branch per byte. False for any other record, which the general parse takes from its start.
bool CsvReader::parsePlain() {
    if constexpr (std::endian::native != std::endian::little) {
        return false;
    }
    const char* const base = buffer_.get();
    const char* const e = base + end_;
    const char* start = base + begin_;
    fields_.clear();
    fieldCount_ = 0;
    for (const char* word = start; e - word >= 8; word += 8) {
        std::uint64_t x = 0;
        std::memcpy(&x, word, 8);
        std::uint64_t stops = BytesEqual(x, separator_) | BytesEqual(x, '\n') |
                              BytesEqual(x, '\r') | BytesEqual(x, '"');
        for (; stops != 0; stops &= stops - 1) {
            const char* const at = word + std::countr_zero(stops) / 8;
            if (*at == '"') {
                return false;
            }
            addField(std::string_view(start, static_cast<std::size_t>(at - start)));
            start = at + 1;
            if (*at == separator_) {
                continue;
            }
            if (*at == '\r') {
                if (start == e) {
                    return false;  // a line feed may follow in the bytes not read yet
                }
                start += *start == '\n' ? 1 : 0;
            }
            next_ = static_cast<std::size_t>(start - base);
            strayQuote_ = false;
            quoted_ = false;
            return true;
        }
    }
    return false;
}

CsvReader::Parse CsvReader::parseRecord() {
    if (parsePlain()) {
        return Parse::Done;
    }
    fields_.clear();
    fieldCount_ = 0;
    strayQuote_ = false;
    quoted_ = false;
    scratch_.clear();
    const char* const base = buffer_.get();
    const char* p = base + begin_;
    const char* const e = base + end_;
    const char sep = separator_;
    const auto endsField = [sep](char c) { return c == sep || c == '\n' || c == '\r'; };
    for (;;) {
        std::string_view field;
        if (p < e && *p == '"') {
            quoted_ = true;
            const char* start = ++p;
            const std::size_t copyStart = scratch_.size();
            bool copied = false;
            for (;;) {
                const auto* q = static_cast<const char*>(std::memchr(p, '"', e - p));
                if (q == nullptr || (q + 1 == e && !eof_)) {
                    if (!eof_) {
                        return Parse::NeedMore;
                    }
                    error_ = "a quoted field is not closed before the end of the input";
                    return Parse::Failed;
                }
                if (q + 1 < e && q[1] == '"') {
                    scratch_.append(start, q + 1);
                    copied = true;
                    p = start = q + 2;
                    continue;
                }
                if (copied) {
                    scratch_.append(start, q);
                }
                field = copied ? std::string_view(scratch_).substr(copyStart)
                               : std::string_view(start, static_cast<std::size_t>(q - start));
                p = q + 1;
                break;
            }
            const char* after = p;
            while (after < e && !endsField(*after)) {
                ++after;
            }
            if (after == e && !eof_) {
                return Parse::NeedMore;
            }
            if (after != p) {
                // Kept as written after the quoted part, and flagged.
                strayQuote_ = true;
                if (!copied) {
                    scratch_.append(field);
                }
                scratch_.append(p, after);
                field = std::string_view(scratch_).substr(copyStart);
                p = after;
            }
        } else {
            const char* start = p;
            for (;; ++p) {
                while (!stops_[static_cast<unsigned char>(*p)]) {
                    ++p;
                }
                if (p == e || *p != '"') {
                    break;
                }
                strayQuote_ = true;
            }
            if (p == e && !eof_) {
                return Parse::NeedMore;
            }
            field = std::string_view(start, static_cast<std::size_t>(p - start));
        }
        addField(field);
        if (p == e) {
            next_ = end_;
            return Parse::Done;
        }
        if (*p == sep) {
            ++p;
            continue;
        }
        if (*p == '\r') {
            ++p;
            if (p == e && !eof_) {
                return Parse::NeedMore;
            }
            if (p < e && *p == '\n') {
                ++p;
            }
        } else {
            ++p;
        }
        next_ = static_cast<std::size_t>(p - base);
        return Parse::Done;
    }
}

CsvReader::Result CsvReader::next() {
    if (!started_) {
        started_ = true;
        // The whole first line is needed to choose the separator.
        for (;;) {
            while (begin_ < end_ && (buffer_[begin_] == '\n' || buffer_[begin_] == '\r')) {
                ++begin_;
            }
            const std::string_view read(buffer_.get() + begin_, end_ - begin_);
            const bool markPending =
                end_ < kByteOrderMark.size() && !eof_ && kByteOrderMark.starts_with(read);
            if (!markPending && read.starts_with(kByteOrderMark)) {
                begin_ += kByteOrderMark.size();
                continue;
            }
            bool quoted = false;
            bool lineEnd = false;
            for (const char c : read) {
                quoted = c == '"' ? !quoted : quoted;
                if (!quoted && (c == '\n' || c == '\r')) {
                    lineEnd = true;
                    break;
                }
            }
            if (eof_ || (lineEnd && !markPending)) {
                break;
            }
            if (!refill()) {
                return Result::Failed;
            }
        }
        chooseSeparator();
        next_ = begin_;
    }
    for (;;) {
        begin_ = next_;
        if (begin_ == end_) {
            if (eof_) {
                return Result::End;
            }
            if (!refill()) {
                return Result::Failed;
            }
            continue;
        }
        const Parse parse = parseRecord();
        if (parse == Parse::Failed) {
            return Result::Failed;
        }
        if (parse == Parse::NeedMore) {
            next_ = begin_;
            if (!refill()) {
                return Result::Failed;
            }
            next_ = begin_;
            continue;
        }
        if (next_ - begin_ > kMaxRecord) {
            error_ = "a record is longer than 1 MiB; is a quote left open?";
            return Result::Failed;
        }
        const bool empty = std::all_of(fields_.begin(), fields_.end(),
                                       [](std::string_view f) { return f.empty(); });
        if (empty && fieldCount_ <= kMaxFields) {
            continue;
        }
        return Result::Record;
    }
}

}  // namespace quarvell::batch
