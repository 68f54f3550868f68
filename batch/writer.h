#pragma once
// The results written out: CSV (comma-separated, period decimals, LF line ends, RFC 4180
// quoting) or JSON Lines (one object per part, keys in column order, numbers as JSON numbers).
// Numbers are the shortest plain decimal that reads back to the same single.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/evaluate.h"
#include "batch/io.h"

namespace quarvell::batch {

// An input value carried to the output.
struct Cell {
    enum class Kind : std::uint8_t { Text, Json, Null };
    std::string_view name;
    std::string_view text;  // Text: the text itself; Json: a JSON number, literal or structure
    Kind kind = Kind::Text;
};

// The shortest digits that read back to the same single, in positional notation.
void AppendNumber(std::string& out, float value);
// Whether the bytes are UTF-8 (JSON strings must be).
bool IsUtf8(std::string_view text);

class RowWriter {
  public:
    RowWriter(OutputBuffer& out, std::vector<Output> outputs)
        : out_(out), outputs_(std::move(outputs)) {}
    virtual ~RowWriter() = default;
    // The input columns carried over; CSV writes its header line.
    virtual void header(std::span<const std::string_view> inputNames) = 0;
    virtual void row(std::span<const Cell> input, const RowResult& result) = 0;

  protected:
    OutputBuffer& out_;
    std::vector<Output> outputs_;
};

class CsvWriter : public RowWriter {
  public:
    using RowWriter::RowWriter;
    void header(std::span<const std::string_view> inputNames) override;
    void row(std::span<const Cell> input, const RowResult& result) override;
};

class JsonWriter : public RowWriter {
  public:
    using RowWriter::RowWriter;
    void header(std::span<const std::string_view>) override {}
    void row(std::span<const Cell> input, const RowResult& result) override;
};

}  // namespace quarvell::batch
