#pragma once
// The handbook's fixed tables: environment factors, failure-rate levels, circuit-resistance and
// construction factors, all single precision. The types' own parameters are in their records
// (capacitor_types.h).

#include <array>

namespace quarvell::model::tables {

using EnvTable = std::array<float, 14>;

// PI(E) by environment position: G(B) G(F) G(M) N(S) N(U) A(IC) A(IF) A(UC) A(UF) A(RW) S(F)
// M(F) M(L) C(L).
inline constexpr EnvTable kEnvE2{1, 10, 20, 7, 15, 12, 15, 25, 30, 40, 0.5F, 20, 50, 570};
inline constexpr EnvTable kEnvE4{1, 2, 10, 5, 16, 6, 11, 18, 30, 23, 0.5F, 13, 34, 610};
inline constexpr EnvTable kEnvE14{1, 2, 12, 6, 17, 10, 12, 28, 35, 27, 0.5F, 14, 38, 690};
// The handbook's values for the other Notice 1 types.
inline constexpr EnvTable kEnvE10{1, 2, 9, 5, 15, 4, 4, 8, 12, 20, 0.4F, 13, 34, 610};
inline constexpr EnvTable kEnvE11{1, 2, 10, 5, 17, 4, 8, 16, 35, 24, 0.5F, 13, 34, 610};
inline constexpr EnvTable kEnvE12{1, 2, 8, 5, 14, 4, 5, 12, 20, 24, 0.4F, 11, 29, 530};
inline constexpr EnvTable kEnvE13{1, 2, 10, 6, 16, 4, 8, 14, 30, 23, 0.5F, 13, 34, 610};

// Failure rate (%/kPcHrs) of the fixed levels, positions 2 to 12 of cmbFR.
inline constexpr int kFirstFixedLevel = 2;
inline constexpr std::array<float, 11> kLevelRate{0.001F, 0.01F, 0.1F, 0.001F, 0.01F, 0.1F,
                                                  1.0F,   3.0F,  9.0F, 10.0F,  100.0F};

// PI(SR) by circuit-resistance position; any other position counts as the last one.
inline constexpr std::array<float, 6> kSeriesResistance{0.066F, 0.1F, 0.13F, 0.2F, 0.27F, 0.33F};
// PI(Const) of the wet-tantalum construction, positions 0 to 4.
inline constexpr std::array<float, 5> kConstruction{0.3F, 1.0F, 2.0F, 2.5F, 3.0F};

}  // namespace quarvell::model::tables
