#pragma once
// The columns a parts list may carry and the reading of one row's values into an engine part:
// section codes or captions, capacitances with units or in the letter-for-decimal-point
// notation of parts lists (4u7), levels, rates and life tests, environments with or without
// their parentheses. A value that cannot be read is named with its column and the reason.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/engine.h"

namespace quarvell::batch {

enum class Column : std::uint8_t {
    Type,
    Notice,
    Capacitance,
    RatedVoltage,
    AppliedVoltage,
    Temperature,
    TempRating,
    Quality,
    Environment,
    CircuitResistance,
    Construction,
    PiVDenominator,
    Quantity
};
inline constexpr std::size_t kColumnCount = 13;

std::string_view ColumnName(Column c);
bool IsRequired(Column c);
// Case-insensitive, blanks around the name ignored.
std::optional<Column> FindColumn(std::string_view name);

// A row's values by column: nothing where the list has no such column.
using RowValues = std::array<std::optional<std::string_view>, kColumnCount>;

struct PartRow {
    model::Part part;
    double quantity = 1;
    bool lifeTest = false;
    // Columns given a value that the type has no use for, as bits by column.
    std::uint16_t unused = 0;
};

struct ValueError {
    Column column = Column::Type;
    std::string_view value;  // as given; empty for a missing value
    std::string reason;      // follows the quoted value: "is not a number with a unit"
};

// Numbers may use a decimal comma (a semicolon-separated list) or a period.
std::optional<ValueError> ReadRow(const RowValues& values, bool decimalComma, PartRow& out);

// "row 17: capacitance '4u7x' is not a number with a unit"
void AppendRowError(std::string& out, long row, const ValueError& error);
// A value quoted in a message: at most 40 bytes, control bytes and broken UTF-8 as '?'.
void AppendQuoted(std::string& out, std::string_view value);

// A plain decimal number with blanks around it: no group separators, no "inf" or "nan".
std::optional<double> ReadNumber(std::string_view text, bool decimalComma);

// A number with an optional unit (pF nF uF µF mF F; a bare number is microfarads), or the
// letter standing for the decimal point (4u7, 470n, 2p2).
std::optional<double> ReadCapacitance(std::string_view text, bool decimalComma);

// The position of an environment code (GB or G(B) ... CL or C(L)) in the list.
std::optional<int> ReadEnvironment(std::string_view text);

// The position of the circuit-resistance class an ohms-per-volt value falls in.
int ResistanceClass(double ohmsPerVolt);

}  // namespace quarvell::batch
