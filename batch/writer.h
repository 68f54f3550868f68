#pragma once
// The results written out: CSV (comma-separated, period decimals, LF line ends, RFC 4180
// quoting) or JSON Lines (one object per part, keys in column order, numbers as JSON numbers).
// Numbers are the shortest plain decimal that reads back to the same single.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/evaluate.h"
#include "batch/io.h"
#include "batch/shortest.h"

namespace quarvell::batch {

// An input value carried to the output.
struct Cell {
    enum class Kind : std::uint8_t { Text, Json, Null };
    std::string_view name;
    std::string_view text;  // Text: the text itself; Json: a JSON number, literal or structure
    Kind kind = Kind::Text;
    // Known to hold no separator, quote or line break, so CSV needs no quotes for it.
    bool plain = false;
};

// The shortest digits that read back to the same single, in positional notation.
void AppendNumber(std::string& out, float value);

// The same, remembering the texts of recent values: a parts list repeats its factors (the
// same base rate, environment, level or temperature) from row to row.
class NumberTexts {
  public:
    // Writes at `out`, which has room for kShortestMax bytes, and returns the end.
    char* write(char* out, float value);

  private:
    struct Entry {
        std::uint32_t bits = 0;
        std::uint8_t length = 0;  // 0: empty
        char text[27];
    };
    static constexpr unsigned kBits = 12;
    std::vector<Entry> entries_ = std::vector<Entry>(std::size_t{1} << kBits);
};
// Whether the bytes are UTF-8 (JSON strings must be).
bool IsUtf8(std::string_view text);

class RowWriter {
  public:
    RowWriter(OutputBuffer& out, const std::vector<Output>& outputs);
    virtual ~RowWriter() = default;
    // The input columns carried over; CSV writes its header line.
    virtual void header(std::span<const std::string_view> inputNames) = 0;
    // `verbatim`, where the input has its own columns all, in order and unquoted: the text that
    // holds them with their separators, which CSV copies as it stands.
    virtual void row(std::span<const Cell> input, const RowResult& result,
                     std::optional<std::string_view> verbatim) = 0;

  protected:
    // How each output column is written, worked out once for the run.
    enum class Kind : std::uint8_t { RepeatingNumber, Number, Notes, Warning, Error };
    struct Column {
        Output output;
        Kind kind;
        std::uint32_t bit;     // in RowResult::present
        std::string_view key;  // JSON Lines: the quoted name and its colon
    };
    char* number(char* at, const Column& c, const RowResult& result);

    OutputBuffer& out_;
    std::vector<Column> columns_;
    std::size_t texts_ = 0;  // where the notes, warning and error columns start
    std::vector<std::string> keys_;
    NumberTexts numbers_;
};

class CsvWriter : public RowWriter {
  public:
    using RowWriter::RowWriter;
    void header(std::span<const std::string_view> inputNames) override;
    void row(std::span<const Cell> input, const RowResult& result,
             std::optional<std::string_view> verbatim) override;
};

class JsonWriter : public RowWriter {
  public:
    using RowWriter::RowWriter;
    void header(std::span<const std::string_view>) override {}
    void row(std::span<const Cell> input, const RowResult& result,
             std::optional<std::string_view> verbatim) override;
};

}  // namespace quarvell::batch
