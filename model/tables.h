#pragma once
// The handbook's fixed data: environment factors, failure-rate levels, circuit-resistance and
// construction factors, the Notice 2 type parameters and the Notice 1 type formulas with
// their captions. Values the Parts call single precision are float, the Notice 1
// coefficients, exponents and denominators double.

#include <array>
#include <string_view>

namespace quarvell::model::tables {

using EnvTable = std::array<float, 14>;

// PI(E) by environment position: G(B) G(F) G(M) N(S) N(U) A(IC) A(IF) A(UC) A(UF) A(RW) S(F)
// M(F) M(L) C(L).
inline constexpr EnvTable kEnvE2{1, 10, 20, 7, 15, 12, 15, 25, 30, 40, 0.5F, 20, 50, 570};
inline constexpr EnvTable kEnvE4{1, 2, 10, 5, 16, 6, 11, 18, 30, 23, 0.5F, 13, 34, 610};
inline constexpr EnvTable kEnvE14{1, 2, 12, 6, 17, 10, 12, 28, 35, 27, 0.5F, 14, 38, 690};
// The handbook's own values for the Notice 1 types the Parts leave without a table.
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

inline constexpr std::string_view kFormulaPlain =
    "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000";
inline constexpr std::string_view kFormulaSeriesResistance =
    "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000";

struct Notice2Type {
    char letter;
    float base;
    float activationEnergy;  // eV
    float capExponent;
    float voltExponent;
    float piVDenominator;  // 0 for the types that read it from cmbPiV
    std::string_view styleSuffix;
};

inline constexpr std::array<Notice2Type, 10> kNotice2Types{{
    {'b', 0.00051F, 0.15F, 0.09F, 5, 0.6F, "   CFR Style - Metalize Paper/Film"},
    {'c', 0.00099F, 0.35F, 0.09F, 3, 0.6F, "   CC,CCR,CK,CKR Style - Ceramic General"},
    {'d', 0.0020F, 0.35F, 0.09F, 3, 0.6F, "   CDR Style - Ceramic Chip"},
    {'e', 0.00040F, 0.15F, 0.23F, 17, 0.6F, "   CSR Style - Tantalum Leaded"},
    {'f', 0.00005F, 0.15F, 0.23F, 17, 0.6F, "   CWR Style - Tantalum Chip"},
    {'g', 0.00040F, 0.15F, 0.23F, 17, 0.6F, "   CL,CLR Style - Tantalum Wet"},
    {'h', 0.00012F, 0.35F, 0.23F, 5, 0.6F, "   CUR Style - Wet Aluminum"},
    {'i', 0.00012F, 0.35F, 0.23F, 5, 0.6F, "   CE Style - Dry Aluminum"},
    {'j', 0.00005F, 0.15F, 0.23F, 17, 0, ""},
    {'k', 0.00012F, 0.35F, 0.23F, 5, 0, ""},
}};

enum class ExtraFactor { None, SeriesResistance, Construction };
enum class SCaption { OnRated, DeratedScientific };

// A power factor coef x x^exponent with the caption written before its value.
struct PowerFactor {
    std::string_view caption;
    double coef;
    double exponent;
};

// PI(T) = exp(coef x (T/TR)^exponent); the caption is prefix, T, "/", TR, suffix, value.
struct TemperatureFactor {
    std::string_view prefix;
    std::string_view suffix;
    double coef;
    double exponent;
};

// A Notice 1 type: PI(CV) = cv.coef x C^cv.exponent, PI(V) = (S/v.coef)^v.exponent + 1 and
// PI(T), with their captions.
struct Notice1Type {
    std::string_view baseCaption;
    float base;
    PowerFactor cv;
    bool picofarads;  // the handbook's factor takes pF (10.10, 10.11)
    PowerFactor v;    // coef: the denominator of S
    bool vOnRated;    // 10.14: S on the rated, not the derated voltage
    TemperatureFactor t;
    bool integerKelvin;  // 10.15: the rounded AppKelvin instead of T
    const EnvTable* piE;
    ExtraFactor extra;
    bool derates;  // threshold 85
    SCaption sCaption;
    std::string_view formula;
    std::string_view styleSuffix;
};

inline constexpr std::string_view kFormulaBraceTV =
    "FIT={Base x PI(T) x PiV} x PI(CV) x PI(Q) x PI(E) x 1000";
inline constexpr std::string_view kFormulaBraceVT =
    "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Q) x PI(E) x 1000";

inline constexpr Notice1Type kType10_4{
    .baseCaption = "Base = 0.00099",
    .base = 0.00099F,
    .cv = {"PI(CV) = 1.1 x uF^(0.085) = ", 1.1, 0.085},
    .picofarads = false,
    .v = {"PI(V) = [(S/0.4)^5]+1 = ", 0.4, 5},
    .vOnRated = false,
    .t = {"PI(T) = Exp[2.5 x (", ")^18] = ", 2.5, 18},
    .integerKelvin = false,
    .piE = &kEnvE4,
    .extra = ExtraFactor::None,
    .derates = false,
    .sCaption = SCaption::OnRated,
    .formula = kFormulaBraceTV,
    .styleSuffix = "   CFR Style - Metalized Paper/Film",
};
// Mended: the handbook's PI(CV) of 10.10 and 10.11 takes picofarads (normalised to 1 at
// 3300 pF and 81 pF); in microfarads it came out about five times too small.
inline constexpr Notice1Type kType10_10{
    .baseCaption = "Base = 0.0003",
    .base = 0.0003F,
    .cv = {"PI(CV) = 0.41 x pF^(0.11) = ", 0.41, 0.11},
    .picofarads = true,
    .v = {"PI(V) = [(S/0.3)^3]+1 = ", 0.3, 3},
    .vOnRated = false,
    .t = {"PI(T) = Exp[", "] = ", 1, 1},
    .integerKelvin = false,
    .piE = &kEnvE10,
    .extra = ExtraFactor::None,
    .derates = false,
    .sCaption = SCaption::OnRated,
    .formula = kFormulaBraceVT,
    .styleSuffix = "   CK,CKR Style - Ceramic Leaded",
};
inline constexpr Notice1Type kType10_11{
    .baseCaption = "Base = 2.6E-9",
    .base = 2.6E-9F,
    .cv = {"PI(CV) = 0.59 x pF^(0.12) = ", 0.59, 0.12},
    .picofarads = true,
    .v = {"PI(V) = [(S/0.3)^3]+1 = ", 0.3, 3},
    .vOnRated = false,
    .t = {"PI(T) = Exp[14.3 x (", ")] = ", 14.3, 1},
    .integerKelvin = false,
    .piE = &kEnvE11,
    .extra = ExtraFactor::None,
    .derates = false,
    .sCaption = SCaption::OnRated,
    .formula = kFormulaBraceVT,
    .styleSuffix = "   CCR,CC,CDR Style - Ceramic Chip",
};
inline constexpr Notice1Type kType10_12{
    .baseCaption = "Base = 0.00375",
    .base = 0.00375F,
    .cv = {"PI(CV) = 1.0 x uF^(0.12) = ", 1, 0.12},
    .picofarads = false,
    .v = {"PI(V) = [(S/0.4)^3]+1 = ", 0.4, 3},
    .vOnRated = false,
    .t = {"PI(T) = Exp[2.6 x (", ")^9] = ", 2.6, 9},
    .integerKelvin = false,
    .piE = &kEnvE12,
    .extra = ExtraFactor::SeriesResistance,
    .derates = true,
    .sCaption = SCaption::OnRated,
    .formula = "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(SR) x PI(Q) x PI(E) x 1000",
    .styleSuffix = "   CSR Style - Tantalum, Solid Electrolyte",
};
inline constexpr Notice1Type kType10_13{
    .baseCaption = "Base = .00165",
    .base = 0.00165F,
    .cv = {"PI(CV) = 0.82 x uF^(0.066) = ", 0.82, 0.066},
    .picofarads = false,
    .v = {"PI(V) = [(S/0.4)^3]+1 = ", 0.4, 3},
    .vOnRated = false,
    .t = {"PI(T) = Exp[2.6 x (", ")^9] = ", 2.6, 9},
    .integerKelvin = false,
    .piE = &kEnvE13,
    .extra = ExtraFactor::Construction,
    .derates = true,
    .sCaption = SCaption::DeratedScientific,
    .formula = "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Const) x PI(Q) x PI(E) x 1000",
    .styleSuffix = "   CL,CLR Style - Tantalum Wet",
};
// Mended: the handbook's temperature exponent of 10.14 is 5 (18 belongs to paper/film).
inline constexpr Notice1Type kType10_14{
    .baseCaption = "Base = .00254",
    .base = 0.00254F,
    .cv = {"PI(CV) = 0.34 x uF^(0.18) = ", 0.34, 0.18},
    .picofarads = false,
    .v = {"PI(V) = [(S/0.5)^3]+1 = ", 0.5, 3},
    .vOnRated = true,
    .t = {"PI(T) = Exp[5.09 x (", ")^5] = ", 5.09, 5},
    .integerKelvin = false,
    .piE = &kEnvE14,
    .extra = ExtraFactor::None,
    .derates = false,
    .sCaption = SCaption::OnRated,
    .formula = kFormulaPlain,
    .styleSuffix = "   CUR Style - Aluminum, wet electrolyte, polarized",
};
inline constexpr Notice1Type kType10_15{
    .baseCaption = "Base = .0028",
    .base = 0.0028F,
    .cv = {"PI(CV) = 0.32 x uF^(0.19) = ", 0.32, 0.19},
    .picofarads = false,
    .v = {"PI(V) = [(S/0.55)^3]+1 = ", 0.55, 3},
    .vOnRated = false,
    .t = {"PI(T) = Exp[4.09 x (", ")^5.9] = ", 4.09, 5.9},
    .integerKelvin = true,
    .piE = &kEnvE14,
    .extra = ExtraFactor::None,
    .derates = false,
    .sCaption = SCaption::OnRated,
    .formula = kFormulaBraceTV,
    .styleSuffix = "   CE Style - Aluminum, Dry electrolyte, polarized",
};

}  // namespace quarvell::model::tables
