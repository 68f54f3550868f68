#pragma once
// A streaming CSV reader after RFC 4180: quoted fields (with "" for a quote, line breaks
// inside), CRLF, LF or CR line ends, a UTF-8 byte-order mark skipped, empty lines and lines of
// empty fields skipped. The separator is the comma, unless the first line separates its names
// with semicolons, as spreadsheets write under a decimal comma. Records are cut from a fixed
// block of memory: fields are views into it, copied only where a quote must be unescaped.

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/io.h"

namespace quarvell::batch {

class CsvReader {
  public:
    // A record longer than this is taken for a quote left open, not for data.
    static constexpr std::size_t kMaxRecord = std::size_t{1} << 20;
    // Fields past this many are counted, not kept.
    static constexpr std::size_t kMaxFields = 4096;

    explicit CsvReader(ByteSource& source);

    enum class Result { Record, End, Failed };
    // The next record; its fields stay valid until the next call. The first record is the
    // header, and reading it decides the separator.
    Result next();

    std::span<const std::string_view> fields() const { return fields_; }
    // All fields of the record, kept or not.
    std::size_t fieldCount() const { return fieldCount_; }
    // The record has a quote inside an unquoted field or text after a closing quote.
    bool strayQuote() const { return strayQuote_; }
    // No field of the record was quoted or holds a quote.
    bool plain() const { return !quoted_ && !strayQuote_; }
    char separator() const { return separator_; }
    // Why the input cannot be read on (after Failed).
    const std::string& error() const { return error_; }

  private:
    enum class Parse { Done, NeedMore, Failed };
    Parse parseRecord();
    bool parsePlain();
    bool refill();
    void chooseSeparator();
    void addField(std::string_view field);

    ByteSource& source_;
    // The bytes read, and one more: a line end that stops the scan of an unquoted field.
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t begin_ = 0;  // start of the record being read
    std::size_t end_ = 0;    // end of the bytes read
    std::size_t next_ = 0;   // where the record just parsed ended
    bool eof_ = false;
    bool started_ = false;
    char separator_ = ',';
    std::array<bool, 256> stops_{};  // the bytes that end an unquoted field, and the quote
    std::vector<std::string_view> fields_;
    std::size_t fieldCount_ = 0;
    bool strayQuote_ = false;
    bool quoted_ = false;
    // Unescaped quoted fields; reserved for the whole block, so views into it stay valid.
    std::string scratch_;
    std::string error_;
};

}  // namespace quarvell::batch
