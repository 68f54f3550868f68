#include "catalogue/catalogue.h"

#include <cmath>
#include <cstdint>

#include "model/number_text.h"

namespace quarvell::catalogue {

namespace {

const std::string k85 = "+85°C";
const std::string k105 = "+105°C";
const std::string k125 = "+125°C";
const std::string k150 = "+150°C";
const std::string k175 = "+175°C";

constexpr int kHelpNotice1Ceramic = 635;
constexpr int kHelpUnassigned = 999;

NotePiece Line(std::string text) {
    return {NotePiece::Kind::Line, std::move(text)};
}
NotePiece Suffix(std::string text) {
    return {NotePiece::Kind::Suffix, std::move(text)};
}

std::vector<TypeSetup> Notice1Setups() {
    std::vector<TypeSetup> rows;
    TypeSetup t;

    t = {};
    t.code = "10.4";
    t.ratings = {k85, k125};
    t.defaultRating = 1;
    t.keepsRating = true;
    t.style = "CFR - non-Metal Case";
    t.biasEntry = 4;
    t.helpContext = kHelpUnassigned;
    t.setsTempLimit125 = true;
    rows.push_back(t);

    t = {};
    t.code = "10.10";
    t.ratings = {k85, k125, k150};
    t.defaultRating = 1;
    t.keepsRating = true;
    t.style = "CK,CKR - Leaded";
    t.biasEntry = 4;
    t.helpContext = kHelpNotice1Ceramic;
    rows.push_back(t);

    t = {};
    t.code = "10.11";
    t.ratings = {k85, k125};
    t.defaultRating = 1;
    t.style = "CCR,CC,CDR - Chip";
    t.biasEntry = 4;
    t.helpContext = 630;
    rows.push_back(t);

    t = {};
    t.code = "10.12";
    t.ratings = {k85, k125};
    t.defaultRating = 0;
    t.style = "Using CSR - Leaded Ta";
    t.optionList = OptionList::CircuitResistance;
    t.helpContext = 590;
    t.notes = {Line("No provision was made in 217F Notice 1 for Tant-Chip.")};
    rows.push_back(t);

    t = {};
    t.code = "10.12b";
    t.ratings = {k125, k105, k85};
    t.defaultRating = 0;
    t.style = "CSR - Leaded";
    t.optionList = OptionList::CircuitResistance;
    t.helpContext = 590;
    t.notes = {Line("No provision made in 217F for Tant Polymer or Chips.")};
    rows.push_back(t);

    t = {};
    t.code = "10.13";
    t.ratings = {k175, k125, k85};
    t.defaultRating = 1;
    t.style = "Using CL,CLR - Wet-Ta";
    t.optionList = OptionList::Construction;
    t.helpContext = 615;
    rows.push_back(t);

    t = {};
    t.code = "10.14";
    t.ratings = {k125};
    t.defaultRating = 0;
    t.style = "Using CU,CUR - Wet-Al";
    t.helpContext = kHelpUnassigned;
    t.forcesRating125 = true;
    t.notes = {{NotePiece::Kind::ForcedRatingLine, "Only temperature available is +125°C."}};
    rows.push_back(t);

    t = {};
    t.code = "10.15";
    t.ratings = {k85, k105, k125};
    t.defaultRating = 2;
    t.keepsRating = true;
    t.style = "Using CE with Modified Pi(V) Denominator";
    t.helpContext = 610;
    t.notes = {Line("Using CE with Modified Pi(V) Denominator")};
    rows.push_back(t);

    t = {};
    t.code = "10.15b";
    t.ratings = {k125, k105};
    t.defaultRating = 0;
    t.style = "Using CE";
    t.helpContext = 610;
    t.notes = {Line("No provision made in 217F for Al-Polymer or Chip Style"), Line("Using CE")};
    rows.push_back(t);

    return rows;
}

std::vector<TypeSetup> Notice2Setups() {
    std::vector<TypeSetup> rows;
    TypeSetup t;

    t = {};
    t.code = "10.1b";
    t.ratings = {k85, k125};
    t.defaultRating = 1;
    t.keepsRating = true;
    t.style = "CFR - Paper/Film non-Metal Case";
    t.biasEntry = 4;
    t.helpContext = kHelpUnassigned;
    rows.push_back(t);

    t = {};
    t.code = "10.1c";
    t.ratings = {k85, k125, k150};
    t.defaultRating = 1;
    t.keepsRating = true;
    t.style = "CK,CKR - Leaded";
    t.biasEntry = 4;
    t.helpContext = 640;
    rows.push_back(t);

    t = {};
    t.code = "10.1d";
    t.ratings = {k85, k125, k150};
    t.defaultRating = 1;
    t.keepsRating = true;
    t.style = "CCR,CC,CDR - Chip";
    t.biasEntry = 4;
    t.helpContext = 640;
    rows.push_back(t);

    t = {};
    t.code = "10.1e";
    t.ratings = {k85, k125};
    t.defaultRating = 0;
    t.style = "CSR - Leaded";
    t.optionList = OptionList::CircuitResistance;
    t.optionListFirst = true;
    t.helpContext = 600;
    rows.push_back(t);

    t = {};
    t.code = "10.1f";
    t.ratings = {k85, k125};
    t.defaultRating = 0;
    t.style = "CWR - Chip";
    t.optionList = OptionList::CircuitResistance;
    t.optionListFirst = true;
    t.helpContext = 600;
    rows.push_back(t);

    t = {};
    t.code = "10.1g";
    t.ratings = {k175, k125, k85};
    t.defaultRating = 1;
    t.style = "CL,CLR";
    t.helpContext = 1710;
    t.notes = {Line("Tantalum-Wet")};
    rows.push_back(t);

    t = {};
    t.code = "10.1h";
    t.ratings = {k85, k125};
    t.defaultRating = 1;
    // The style field would otherwise keep the previous type's style.
    t.style = "CU,CUR - Wet Aluminum";
    t.helpContext = 620;
    t.notes = {Suffix(" Chip Style or +125°C.")};
    rows.push_back(t);

    t = {};
    t.code = "10.1i";
    t.ratings = {k125, k105, k85};
    t.defaultRating = 0;
    t.style = "CU/CUR";
    t.helpContext = 625;
    t.notes = {Line("Aluminum-Wet Style +85°C.")};
    rows.push_back(t);

    t = {};
    t.code = "10.1j";
    t.ratings = {k85, k105, k125};
    t.defaultRating = 0;
    t.style = "Using CWR - Chip with Modified Pi(V) Denominator";
    t.optionList = OptionList::CircuitResistance;
    t.optionListFirst = true;
    t.piVEntry = 2;
    t.helpContext = 600;
    t.notes = {Line("No provisions in 217F for Tant-Polymer.")};
    rows.push_back(t);

    t = {};
    t.code = "10.1k";
    t.ratings = {k85, k105, k125};
    t.defaultRating = 2;
    t.style = "Using CE - Chip Al/Ploymer";
    t.piVEntry = 1;
    t.helpContext = 620;
    t.notes = {Line("No provision was made in 217F for Aluminum Polymer"),
               Line("Using CE with Modified Pi(V) Denominator"), Suffix(" Chip Style or +125°C.")};
    rows.push_back(t);

    return rows;
}

}  // namespace

const std::vector<std::string>& TypeEntries(int notice) {
    static const std::vector<std::string> notice1 = {
        "10.4 Metalized Paper/Film(non-Metal Case)",
        "10.10 Ceramic(Leaded)",
        "10.11 Ceramic(Chip)",
        "10.12 Tantalum(Solid-Leaded)",
        "10.13 Tantalum(Wet-Leaded)",
        "10.14 Aluminum(Wet)",
        "10.15 Aluminum(Dry)",
        "10.12b Tantalum(Polymer)",
        "10.15b Aluminum(Polymer)",
    };
    static const std::vector<std::string> notice2 = {
        "10.1b Metalize Paper/Film(non-Metal Case)",
        "10.1c Ceramic(Leaded)",
        "10.1d Ceramic(Chip)",
        "10.1e Tantalum(Solid-Leaded)",
        "10.1f Tantalum(Solid-Chip)",
        "10.1g Tantalum(Wet-Leaded)",
        "10.1h Aluminum(Wet)",
        "10.1i Aluminum(Dry)",
        "10.1j Tantalum(Polymer)",
        "10.1k Aluminum (Polymer)",
    };
    return notice == kNotice1 ? notice1 : notice2;
}

const std::string& TypeListCaption(int notice) {
    static const std::string notice1 = "Notice 1 - T&ype: Capacitor, Fixed, ...";
    static const std::string notice2 = "Notice 2 - T&ype: Capacitor, Fixed, ...";
    return notice == kNotice1 ? notice1 : notice2;
}

const std::vector<TypeSetup>& TypeSetups(int notice) {
    static const std::vector<TypeSetup> notice1 = Notice1Setups();
    static const std::vector<TypeSetup> notice2 = Notice2Setups();
    return notice == kNotice1 ? notice1 : notice2;
}

const TypeSetup* FindTypeSetup(int notice, std::string_view code) {
    for (const TypeSetup& row : TypeSetups(notice)) {
        if (row.code == code) {
            return &row;
        }
    }
    return nullptr;
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

int KeptTemperature(int previousRating) {
    if (previousRating == 125 || previousRating == 150) {
        return previousRating;
    }
    return 85;
}

namespace {

void FillTypeList(TypeListView& v, int notice) {
    v.cmbType.clear();
    for (const std::string& entry : TypeEntries(notice)) {
        v.cmbType.addItem(entry);
    }
    v.lblType.setCaption(TypeListCaption(notice));
}

}  // namespace

void SetTypeNotice1(TypeListView& v) {
    FillTypeList(v, kNotice1);
}

void SetTypeNotice2(TypeListView& v) {
    FillTypeList(v, kNotice2);
}

}  // namespace quarvell::catalogue
