#include "model/capacitor_types.h"

namespace quarvell::model {

namespace {

using Kind = NotePiece::Kind;

constexpr int kHelpUnassigned = 999;
// The life-test bias entry is "1 x Rated" (entry 0) unless a type says otherwise.
constexpr int kBiasDouble = 4;  // "2.0 x Rated": paper/film and ceramics are tested at twice

constexpr SwitchMessage kChipsAllowed{"Notice 2 Allows chips.",
                                      "In Notice-2, a Chip style is selctable.", 5};
constexpr SwitchMessage kNoCwrChip{"Notice 1 does not Allow chips.",
                                   "In Notice-1, no CWR Chip style is selectable.", 2};
constexpr SwitchMessage kNoTantalumPolymer{"Notice 1 does not Allow for chip or polymer.",
                                           "In Notice-1, no Chip or Polymer style is selectable.",
                                           2};
constexpr SwitchMessage kNoAluminumPolymer{"Notice 1 does not Allow for chip or polymer.",
                                           "In Notice-1, no Chip or Polymer style is selctable.",
                                           2};

constexpr std::string_view kPlain = "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000";
constexpr std::string_view kWithSR =
    "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000";
constexpr std::string_view kBraceTV = "FIT={Base x PI(T) x PiV} x PI(CV) x PI(Q) x PI(E) x 1000";
constexpr std::string_view kBraceVT = "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Q) x PI(E) x 1000";

// Notice 2 shares one form; the letters differ in their parameters.
constexpr TypeModel Notice2Model(float base, float activation, float capExponent,
                                 float voltExponent, std::string_view formula,
                                 std::string_view styleSuffix) {
    return {.base = base,
            .piE = &tables::kEnvE2,
            .formula = formula,
            .styleSuffix = styleSuffix,
            .activationEnergy = activation,
            .capExponent = capExponent,
            .voltExponent = voltExponent,
            .piVDenominator = 0.6F};
}

constexpr TypeModel DeratedAbove85(TypeModel m, DeratingNote note, TempLimitRule limit) {
    m.derateAbove = 85;
    m.derateSpan = 40;
    m.derateNote = note;
    m.redWhenDerated = true;
    m.tempLimit = limit;
    return m;
}

constexpr TypeModel Polymer(TypeModel m, std::string_view notes) {
    m.piVDenominator = 0;
    m.replacementNote = notes;
    return m;
}

// The solid-tantalum model of Notice 1, shared by 10.12 and its polymer variant 10.12b.
constexpr TypeModel kSolidTantalum{
    .base = 0.00375F,
    .piE = &tables::kEnvE12,
    .formula = "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(SR) x PI(Q) x PI(E) x 1000",
    .styleSuffix = "   CSR Style - Tantalum, Solid Electrolyte",
    .derateAbove = 85,
    .derateSpan = 40,
    .derateNote = DeratingNote::Applied,
    .redWhenDerated = true,
    .baseCaption = "Base = 0.00375",
    .cv = {"PI(CV) = 1.0 x uF^(0.12) = ", 1, 0.12},
    .v = {"PI(V) = [(S/0.4)^3]+1 = ", 0.4, 3},
    .t = {"PI(T) = Exp[2.6 x (", ")^9] = ", 2.6, 9},
};

// The dry-aluminium model of Notice 1, shared by 10.15 and its polymer variant 10.15b.
constexpr TypeModel kDryAluminum{
    .base = 0.0028F,
    .piE = &tables::kEnvE14,
    .formula = kBraceTV,
    .styleSuffix = "   CE Style - Aluminum, Dry electrolyte, polarized",
    .baseCaption = "Base = .0028",
    .cv = {"PI(CV) = 0.32 x uF^(0.19) = ", 0.32, 0.19},
    .v = {"PI(V) = [(S/0.55)^3]+1 = ", 0.55, 3},
    .t = {"PI(T) = Exp[4.09 x (", ")^5.9] = ", 4.09, 5.9},
    .integerKelvin = true,
};

constexpr TypeModel kTantalumPolymer = [] {
    TypeModel m =
        Polymer(Notice2Model(0.00005F, 0.15F, 0.23F, 17, kWithSR, ""),
                "NOTE: No provisions in 217F for Tantalum-Polymer.\r\n"
                "NOTE: In PI(V) default denominator or Unity Factor changed from 0.6 to 0.8");
    m.derateAbove = 105;
    m.derateSpan = 20;
    m.derateNote = DeratingNote::Applied;
    m.redWhenDerated = true;
    m.lowersScrollTop = true;
    return m;
}();

constexpr TypeModel kAluminumPolymer = [] {
    TypeModel m =
        Polymer(Notice2Model(0.00012F, 0.35F, 0.23F, 5, kWithSR, ""),
                "NOTE: No provisions in 217F for Aluminum-Polymer.\r\n"
                "NOTE: In PI(V), default denominator or Unity Factor changed from 0.6 to 0.9");
    m.tempLimit = TempLimitRule::Fixed125;
    return m;
}();

// One record per type, in list order; each field named, packed by hand so that a type reads
// as one block.
// clang-format off
const std::array<CapacitorType, 9> kNotice1{{
    {.notice = Notice::One, .code = "10.4", .entry = "10.4 Metalized Paper/Film(non-Metal Case)",
     .ratings = {85, 125}, .defaultRating = 1, .keepsRating = true, .style = "CFR - non-Metal Case",
     .biasEntry = kBiasDouble, .helpContext = kHelpUnassigned, .counterpart = "10.1b",
     .model = {.base = 0.00099F, .piE = &tables::kEnvE4, .formula = kBraceTV,
               .styleSuffix = "   CFR Style - Metalized Paper/Film",
               .tempLimit = TempLimitRule::Fixed125, .baseCaption = "Base = 0.00099",
               .cv = {"PI(CV) = 1.1 x uF^(0.085) = ", 1.1, 0.085},
               .v = {"PI(V) = [(S/0.4)^5]+1 = ", 0.4, 5},
               .t = {"PI(T) = Exp[2.5 x (", ")^18] = ", 2.5, 18}}},
    // The handbook's PI(CV) of the ceramics takes picofarads (1 at 3300 pF and 81 pF).
    {.notice = Notice::One, .code = "10.10", .entry = "10.10 Ceramic(Leaded)",
     .ratings = {85, 125, 150}, .defaultRating = 1, .keepsRating = true, .style = "CK,CKR - Leaded",
     .biasEntry = kBiasDouble, .helpContext = 635, .counterpart = "10.1c",
     .model = {.base = 0.0003F, .piE = &tables::kEnvE10, .formula = kBraceVT,
               .styleSuffix = "   CK,CKR Style - Ceramic Leaded", .baseCaption = "Base = 0.0003",
               .cv = {"PI(CV) = 0.41 x pF^(0.11) = ", 0.41, 0.11}, .picofarads = true,
               .v = {"PI(V) = [(S/0.3)^3]+1 = ", 0.3, 3}, .t = {"PI(T) = Exp[", "] = ", 1, 1}}},
    {.notice = Notice::One, .code = "10.11", .entry = "10.11 Ceramic(Chip)", .ratings = {85, 125},
     .defaultRating = 1, .style = "CCR,CC,CDR - Chip", .biasEntry = kBiasDouble, .helpContext = 630,
     .counterpart = "10.1d",
     .model = {.base = 2.6E-9F, .piE = &tables::kEnvE11, .formula = kBraceVT,
               .styleSuffix = "   CCR,CC,CDR Style - Ceramic Chip", .baseCaption = "Base = 2.6E-9",
               .cv = {"PI(CV) = 0.59 x pF^(0.12) = ", 0.59, 0.12}, .picofarads = true,
               .v = {"PI(V) = [(S/0.3)^3]+1 = ", 0.3, 3},
               .t = {"PI(T) = Exp[14.3 x (", ")] = ", 14.3, 1}}},
    {.notice = Notice::One, .code = "10.12", .entry = "10.12 Tantalum(Solid-Leaded)",
     .ratings = {85, 125}, .style = "Using CSR - Leaded Ta",
     .notes = {{{Kind::Line, "No provision was made in 217F Notice 1 for Tant-Chip."}}},
     .option = OptionList::CircuitResistance, .helpContext = 590, .counterpart = "10.1e",
     .switchMessage = &kChipsAllowed, .model = kSolidTantalum},
    {.notice = Notice::One, .code = "10.13", .entry = "10.13 Tantalum(Wet-Leaded)",
     .ratings = {175, 125, 85}, .defaultRating = 1, .style = "Using CL,CLR - Wet-Ta",
     .option = OptionList::Construction, .helpContext = 615, .counterpart = "10.1g",
     .model = {.base = 0.00165F, .piE = &tables::kEnvE13,
               .formula = "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Const) x PI(Q) x PI(E) x 1000",
               .styleSuffix = "   CL,CLR Style - Tantalum Wet", .derateAbove = 85,
               .derateSpan = 40, .derateNote = DeratingNote::InRange, .baseCaption = "Base = .00165",
               .cv = {"PI(CV) = 0.82 x uF^(0.066) = ", 0.82, 0.066},
               .v = {"PI(V) = [(S/0.4)^3]+1 = ", 0.4, 3},
               .t = {"PI(T) = Exp[2.6 x (", ")^9] = ", 2.6, 9}, .sScientific = true}},
    // The handbook's temperature exponent of 10.14 is 5 (18 belongs to paper/film).
    {.notice = Notice::One, .code = "10.14", .entry = "10.14 Aluminum(Wet)", .ratings = {125},
     .style = "Using CU,CUR - Wet-Al",
     .notes = {{{Kind::ForcedRatingLine, "Only temperature available is +125\u00B0C."}}},
     .helpContext = kHelpUnassigned, .counterpart = "10.1h",
     .model = {.base = 0.00254F, .piE = &tables::kEnvE14, .formula = kPlain,
               .styleSuffix = "   CUR Style - Aluminum, wet electrolyte, polarized",
               .baseCaption = "Base = .00254", .cv = {"PI(CV) = 0.34 x uF^(0.18) = ", 0.34, 0.18},
               .v = {"PI(V) = [(S/0.5)^3]+1 = ", 0.5, 3}, .vOnRated = true,
               .t = {"PI(T) = Exp[5.09 x (", ")^5] = ", 5.09, 5}}},
    {.notice = Notice::One, .code = "10.15", .entry = "10.15 Aluminum(Dry)",
     .ratings = {85, 105, 125}, .defaultRating = 2, .keepsRating = true,
     .style = "Using CE with Modified Pi(V) Denominator",
     .notes = {{{Kind::Line, "Using CE with Modified Pi(V) Denominator"}}}, .helpContext = 610,
     .counterpart = "10.1i", .model = kDryAluminum},
    {.notice = Notice::One, .code = "10.12b", .entry = "10.12b Tantalum(Polymer)",
     .ratings = {125, 105, 85}, .style = "CSR - Leaded",
     .notes = {{{Kind::Line, "No provision made in 217F for Tant Polymer or Chips."}}},
     .option = OptionList::CircuitResistance, .helpContext = 590, .counterpart = "10.1j",
     .model = kSolidTantalum},
    {.notice = Notice::One, .code = "10.15b", .entry = "10.15b Aluminum(Polymer)",
     .ratings = {125, 105}, .style = "Using CE",
     .notes = {{{Kind::Line, "No provision made in 217F for Al-Polymer or Chip Style"},
                {Kind::Line, "Using CE"}}},
     .helpContext = 610, .counterpart = "10.1k", .model = kDryAluminum},
}};

const std::array<CapacitorType, 10> kNotice2{{
    {.code = "10.1b", .entry = "10.1b Metalize Paper/Film(non-Metal Case)", .ratings = {85, 125},
     .defaultRating = 1, .keepsRating = true, .style = "CFR - Paper/Film non-Metal Case",
     .biasEntry = kBiasDouble, .helpContext = kHelpUnassigned, .counterpart = "10.4",
     .model = Notice2Model(0.00051F, 0.15F, 0.09F, 5, kPlain, "   CFR Style - Metalize Paper/Film")},
    {.code = "10.1c", .entry = "10.1c Ceramic(Leaded)", .ratings = {85, 125, 150},
     .defaultRating = 1, .keepsRating = true, .style = "CK,CKR - Leaded",
     .biasEntry = kBiasDouble, .helpContext = 640, .counterpart = "10.10",
     .model = Notice2Model(0.00099F, 0.35F, 0.09F, 3, kPlain,
                           "   CC,CCR,CK,CKR Style - Ceramic General")},
    {.code = "10.1d", .entry = "10.1d Ceramic(Chip)", .ratings = {85, 125, 150},
     .defaultRating = 1, .keepsRating = true, .style = "CCR,CC,CDR - Chip",
     .biasEntry = kBiasDouble, .helpContext = 640, .counterpart = "10.11",
     .model = Notice2Model(0.0020F, 0.35F, 0.09F, 3, kPlain, "   CDR Style - Ceramic Chip")},
    {.code = "10.1e", .entry = "10.1e Tantalum(Solid-Leaded)", .ratings = {85, 125},
     .style = "CSR - Leaded", .option = OptionList::CircuitResistance, .optionListFirst = true,
     .helpContext = 600, .counterpart = "10.12",
     .model = DeratedAbove85(Notice2Model(0.00040F, 0.15F, 0.23F, 17, kWithSR,
                                          "   CSR Style - Tantalum Leaded"),
                             DeratingNote::Applied, TempLimitRule::Fixed125)},
    {.code = "10.1f", .entry = "10.1f Tantalum(Solid-Chip)", .ratings = {85, 125},
     .style = "CWR - Chip", .option = OptionList::CircuitResistance, .optionListFirst = true,
     .helpContext = 600, .counterpart = "10.12", .switchMessage = &kNoCwrChip,
     .model = DeratedAbove85(Notice2Model(0.00005F, 0.15F, 0.23F, 17, kWithSR,
                                          "   CWR Style - Tantalum Chip"),
                             DeratingNote::Applied, TempLimitRule::Fixed125)},
    {.code = "10.1g", .entry = "10.1g Tantalum(Wet-Leaded)", .ratings = {175, 125, 85},
     .defaultRating = 1, .style = "CL,CLR", .notes = {{{Kind::Line, "Tantalum-Wet"}}},
     .helpContext = 1710, .counterpart = "10.13",
     .model = DeratedAbove85(Notice2Model(0.00040F, 0.15F, 0.23F, 17, kPlain,
                                          "   CL,CLR Style - Tantalum Wet"),
                             DeratingNote::None, TempLimitRule::Fixed125WhenDerated)},
    // Without a style of its own the field would keep the previous type's style.
    {.code = "10.1h", .entry = "10.1h Aluminum(Wet)", .ratings = {85, 125}, .defaultRating = 1,
     .style = "CU,CUR - Wet Aluminum", .notes = {{{Kind::Suffix, " Chip Style or +125\u00B0C."}}},
     .helpContext = 620, .counterpart = "10.14",
     .model = Notice2Model(0.00012F, 0.35F, 0.23F, 5, kPlain, "   CUR Style - Wet Aluminum")},
    {.code = "10.1i", .entry = "10.1i Aluminum(Dry)", .ratings = {125, 105, 85},
     .style = "CU/CUR", .notes = {{{Kind::Line, "Aluminum-Wet Style +85\u00B0C."}}},
     .helpContext = 625, .counterpart = "10.15",
     .model = Notice2Model(0.00012F, 0.35F, 0.23F, 5, kPlain, "   CE Style - Dry Aluminum")},
    {.code = "10.1j", .entry = "10.1j Tantalum(Polymer)", .ratings = {85, 105, 125},
     .style = "Using CWR - Chip with Modified Pi(V) Denominator",
     .notes = {{{Kind::Line, "No provisions in 217F for Tant-Polymer."}}},
     .option = OptionList::CircuitResistance, .optionListFirst = true, .piVEntry = 2,
     .helpContext = 600, .counterpart = "10.12b", .switchMessage = &kNoTantalumPolymer,
     .model = kTantalumPolymer},
    {.code = "10.1k", .entry = "10.1k Aluminum (Polymer)", .ratings = {85, 105, 125},
     .defaultRating = 2, .style = "Using CE - Chip Al/Ploymer",
     .notes = {{{Kind::Line, "No provision was made in 217F for Aluminum Polymer"},
                {Kind::Line, "Using CE with Modified Pi(V) Denominator"},
                {Kind::Suffix, " Chip Style or +125\u00B0C."}}},
     .piVEntry = 1, .helpContext = 620, .counterpart = "10.15b",
     .switchMessage = &kNoAluminumPolymer, .model = kAluminumPolymer},
}};
// clang-format on

}  // namespace

int CapacitorType::ratingCount() const {
    int n = 0;
    while (n < static_cast<int>(ratings.size()) && ratings[static_cast<std::size_t>(n)] != 0) {
        ++n;
    }
    return n;
}

std::span<const CapacitorType> TypesOf(Notice notice) {
    if (notice == Notice::One) {
        return kNotice1;
    }
    return kNotice2;
}

const CapacitorType* FindType(Notice notice, std::string_view code) {
    for (const CapacitorType& t : TypesOf(notice)) {
        if (t.code == code) {
            return &t;
        }
    }
    return nullptr;
}

const CapacitorType* FindType(std::string_view code) {
    const CapacitorType* t = FindType(Notice::One, code);
    return t != nullptr ? t : FindType(Notice::Two, code);
}

int PositionOf(const CapacitorType& type) {
    const std::span<const CapacitorType> list = TypesOf(type.notice);
    return static_cast<int>(&type - list.data());
}

const CapacitorType& CounterpartOf(const CapacitorType& type) {
    const Notice other = type.notice == Notice::One ? Notice::Two : Notice::One;
    return *FindType(other, type.counterpart);
}

std::string_view TypeListCaption(Notice notice) {
    return notice == Notice::One ? "Notice 1 - T&ype: Capacitor, Fixed, ..."
                                 : "Notice 2 - T&ype: Capacitor, Fixed, ...";
}

}  // namespace quarvell::model
