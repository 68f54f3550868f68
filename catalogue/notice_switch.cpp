#include "catalogue/notice_switch.h"

#include <vector>

namespace quarvell::catalogue {

namespace {

struct Message {
    const char* title;
    const char* text;
    float seconds;
};

const Message kChipsAllowed{"Notice 2 Allows chips.", "In Notice-2, a Chip style is selctable.", 5};
const Message kNoCwrChip{"Notice 1 does not Allow chips.",
                         "In Notice-1, no CWR Chip style is selectable.", 2};
const Message kNoTantalumPolymer{"Notice 1 does not Allow for chip or polymer.",
                                 "In Notice-1, no Chip or Polymer style is selectable.", 2};
const Message kNoAluminumPolymer{"Notice 1 does not Allow for chip or polymer.",
                                 "In Notice-1, no Chip or Polymer style is selctable.", 2};

// Tried in order, the first match wins; longer codes come before the patterns that also match
// them.
struct Counterpart {
    const char* pattern;
    int position;  // in the new Notice's list
    const Message* message;
};

const std::vector<Counterpart> kToNotice2 = {
    {"10.4*", 0, nullptr},   {"10.10*", 1, nullptr},        {"10.11*", 2, nullptr},
    {"10.12b*", 8, nullptr}, {"10.12*", 3, &kChipsAllowed}, {"10.13*", 5, nullptr},
    {"10.14*", 6, nullptr},  {"10.15b*", 9, nullptr},       {"10.15*", 7, nullptr},
};

const std::vector<Counterpart> kToNotice1 = {
    {"10.1b*", 0, nullptr},
    {"10.1c*", 1, nullptr},
    {"10.1d*", 2, nullptr},
    {"10.1f*", 3, &kNoCwrChip},
    {"10.1j*", 7, &kNoTantalumPolymer},
    {"10.1[efj]*", 3, nullptr},
    {"10.1g*", 4, nullptr},
    {"10.1h*", 5, nullptr},
    {"10.1k*", 8, &kNoAluminumPolymer},
    {"10.1[ik]*", 6, nullptr},
};

// The set at the start of pattern (just after "["); advances pattern past its "]".
bool InSet(char c, std::string_view& pattern) {
    bool found = false;
    std::size_t i = 0;
    while (i < pattern.size() && pattern[i] != ']') {
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            found = found || (c >= pattern[i] && c <= pattern[i + 2]);
            i += 3;
        } else {
            found = found || c == pattern[i];
            ++i;
        }
    }
    pattern.remove_prefix(i < pattern.size() ? i + 1 : i);
    return found;
}

}  // namespace

bool Like(std::string_view text, std::string_view pattern) {
    while (!pattern.empty()) {
        const char p = pattern.front();
        pattern.remove_prefix(1);
        if (p == '*') {
            for (std::size_t skip = 0; skip <= text.size(); ++skip) {
                if (Like(text.substr(skip), pattern)) {
                    return true;
                }
            }
            return false;
        }
        if (text.empty()) {
            return false;
        }
        const char c = text.front();
        text.remove_prefix(1);
        if (p == '[') {
            if (!InSet(c, pattern)) {
                return false;
            }
        } else if (p != '?' && p != c) {
            return false;
        }
    }
    return text.empty();
}

void optNotice_Click(NoticeSwitchView& v, int index) {
    model::CalcState& s = v.state;
    if (s.SuspendRecalc) {
        // The buttons keep showing the Notice the calculation uses.
        if (s.in.Notice == kNotice1) {
            v.optNotice1.choose();
        } else if (s.in.Notice == kNotice2) {
            v.optNotice2.choose();
        }
        return;
    }
    // Refilling the list for the Notice in use would find no counterpart and leave no type.
    if (index == s.in.Notice) {
        return;
    }
    s.in.Notice = static_cast<std::int16_t>(index);
    const std::vector<Counterpart>* rows = nullptr;
    if (index == kNotice2) {
        SetTypeNotice2(v.typeList);
        rows = &kToNotice2;
    } else {
        SetTypeNotice1(v.typeList);
        rows = &kToNotice1;
    }
    for (const Counterpart& row : *rows) {
        if (Like(s.in.TypeCode, row.pattern)) {
            if (row.message != nullptr) {
                v.showMessage(row.message->title, row.message->text, row.message->seconds);
            }
            v.typeList.cmbType.select(row.position);
            break;
        }
    }
    s.in.TypeCode = FirstWord(v.typeList.cmbType.text());
    v.recalculate();
}

}  // namespace quarvell::catalogue
