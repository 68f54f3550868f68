#pragma once
// The shortest decimal that reads back to the same single, in positional notation: what
// std::to_chars(first, last, value, std::chars_format::fixed) writes, digit for digit, in a
// fraction of its time. The digits come from Jeon's Dragonbox, or Giulietti's Schubfach where
// the single is a power of two; a whole number is written exactly, as std::to_chars writes it
// ("2402405376", not "2402405400").

#include <cstddef>

namespace quarvell::batch {

// The most a number takes: the smallest subnormal takes 48 bytes.
inline constexpr std::size_t kShortestMax = 64;

// Writes the number at `out`, which has room for kShortestMax bytes whatever the number (zero as
// "0", never "-0"), and returns the end. Infinities and NaN
// are written as std::to_chars writes them, for completeness; the batch never writes them.
char* WriteShortest(char* out, float value);

}  // namespace quarvell::batch
