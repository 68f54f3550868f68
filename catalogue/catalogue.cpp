#include "catalogue/catalogue.h"

#include <cmath>
#include <cstdint>

#include "model/number_text.h"

namespace quarvell::catalogue {

const std::vector<std::string>& EnvironmentEntries() {
    static const std::vector<std::string> entries = {
        "G(B)  Ground, Benign",
        "G(F)  Ground, Fixed.",
        "G(M)  Ground, Mobile",
        "N(S)  Naval, Sheltered.",
        "N(U)  Naval, Unsheltered.",
        "A(IC) Airborne, in cargo.",
        "A(IF) same as A(IC) but hi-perf-AC.",
        "A(UC) Airborne, uninhabited.",
        "A(UF) same as A(UC) but hi-perf-AC.",
        "A(RW) Airborne, helicopters.",
        "S(F)  Earth, space orbital.",
        "M(F)  Air-breathing missles.",
        "M(L)  Severe, missle launch.",
        "C(L)  Cannon launchings.",
    };
    return entries;
}

const std::vector<std::string>& FailureRateLevelEntries() {
    static const std::vector<std::string> entries = {
        "Enter Pcs/Hrs/Fail",           "Enter known %/kPcHr FR",    "0.001%/kPcHr Weibull 'D'",
        "0.010%/kPcHr Weibull 'C'",     "0.100%/kPcHr Weibull 'B'",  "0.001%/kPcHr Exponent 'S'",
        "0.010%/kPcHr Exponent 'R'",    "0.100%/kPcHr Exponent 'P'", "1.000%/kPcHr Exponent 'M'",
        "3.000%/kPcHr Non-ER Military", "Non-ER PI(Q) as '3'",       "10.00%/kPcHr Commercial/Unk",
        "Commercial/Unk PI(Q) as '10'",
    };
    return entries;
}

const std::vector<std::string>& CircuitResistanceEntries() {
    static const std::vector<std::string> entries = {
        "(>0.8 Ohms/V)",      "(0.6 - 0.8 Ohms/V)", "(0.4 - 0.6 Ohms/V)",
        "(0.2 - 0.4 Ohms/V)", "(0.1 - 0.2 Ohms/V)", "(<0.1 Ohms/V)",
    };
    return entries;
}

const std::vector<std::string>& ConstructionEntries() {
    static const std::vector<std::string> entries = {
        "Slug, & All Tantalum",
        "Foil, Hermetic",
        "Foil, Non-Hermetic",
        "Slug, Non-Hermetic",
    };
    return entries;
}

const std::vector<std::string>& PiVEntries() {
    static const std::vector<std::string> entries = {"1", ".9", ".8", ".7", ".6", ".5"};
    return entries;
}

const std::vector<std::string>& LifeBiasEntries() {
    static const std::vector<std::string> entries = {
        "1 x Rated", "1.25 x Rated", "1.33 x Rated", "1.50 x Rated", "2.0 x Rated", "Other",
    };
    return entries;
}

std::string FirstWord(std::string_view text) {
    return std::string(text.substr(0, text.find(' ')));
}

int RatingValue(std::string_view entry, bool decimalIsPoint) {
    // Characters, not bytes: the degree sign takes two bytes in UTF-8.
    std::size_t start = 0;
    std::size_t chars = 0;
    std::string_view piece;
    for (std::size_t i = 0; i <= entry.size(); ++i) {
        const bool boundary =
            i == entry.size() || (static_cast<unsigned char>(entry[i]) & 0xC0) != 0x80;
        if (!boundary) {
            continue;
        }
        if (chars == 1) {
            start = i;
        }
        if (chars == 4 || i == entry.size()) {
            piece = chars >= 1 ? entry.substr(start, i - start) : std::string_view();
            break;
        }
        ++chars;
    }
    const float value = model::LeadingNumber(piece, decimalIsPoint);
    if (!std::isfinite(value) || std::fabs(value) > 32767.0f) {
        return 0;
    }
    return static_cast<std::int16_t>(std::nearbyint(value));
}

std::string RatingEntry(int degrees) {
    std::string entry = "+";
    entry += std::to_string(degrees);
    entry += "\u00B0C";
    return entry;
}

int KeptTemperature(int previousRating) {
    if (previousRating == 125 || previousRating == 150) {
        return previousRating;
    }
    return 85;
}

namespace {

void FillTypeList(TypeListView& v, model::Notice notice) {
    v.cmbType.clear();
    for (const model::CapacitorType& type : model::TypesOf(notice)) {
        v.cmbType.addItem(std::string(type.entry));
    }
    v.lblType.setCaption(std::string(model::TypeListCaption(notice)));
}

}  // namespace

void SetTypeNotice1(TypeListView& v) {
    FillTypeList(v, model::Notice::One);
}

void SetTypeNotice2(TypeListView& v) {
    FillTypeList(v, model::Notice::Two);
}

}  // namespace quarvell::catalogue
