#include "catalogue/type_selection.h"

#include <algorithm>

#include "catalogue/catalogue.h"
#include "catalogue/counterpart.h"
#include "model/engine_texts.h"

namespace quarvell::catalogue {

namespace {

void FillResList(ResListView& v, const std::vector<std::string>& entries, const char* caption,
                 int selected, bool locked, const char* tooltip) {
    v.cmbRes.setVisible(true);
    v.lblRes.setVisible(true);
    v.cmbRes.clear();
    for (const std::string& entry : entries) {
        v.cmbRes.addItem(entry);
    }
    v.lblRes.setCaption(caption);
    model::SuspendRecalculation(v.state);
    v.cmbRes.select(selected);
    v.cmbRes.setLocked(locked);
    v.cmbRes.setTooltip(tooltip);
    model::ResumeRecalculation(v.state);
}

void ShowOptionList(ResListView& v, model::OptionList list) {
    if (list == model::OptionList::CircuitResistance) {
        SetSeriesResis(v);
    } else if (list == model::OptionList::Construction) {
        SetConstruction(v);
    }
}

void ApplySetup(TypeSelectionView& v, const model::CapacitorType& type, int ratingBefore) {
    model::CalcState& s = v.state;
    if (type.optionListFirst) {
        ShowOptionList(v.res, type.option);
    }

    v.cmbRating.clear();
    for (int i = 0; i < type.ratingCount(); ++i) {
        v.cmbRating.addItem(RatingEntry(type.ratings[static_cast<std::size_t>(i)]));
    }
    v.cmbRating.select(type.defaultRating);

    if (!type.optionListFirst) {
        ShowOptionList(v.res, type.option);
    }

    v.txtStyle.setText(std::string(type.style));

    // A list of only +125°C forces the rating away from any other, with a note that says so.
    const bool forced =
        s.in.TempRating != 125 &&
        std::any_of(type.notes.begin(), type.notes.end(), [](const model::NotePiece& p) {
            return p.kind == model::NotePiece::Kind::ForcedRatingLine;
        });
    // From the separator in use now: a rating selection above may have recalculated, and a
    // recalculation leaves its own separator behind.
    std::string_view separator = s.NoteSeparator;
    s.in.PendingNote = model::TypeNote(type, forced, separator);
    s.NoteSeparator = separator;
    if (forced) {
        s.in.TempRating = 125;
    }

    const std::int16_t rating = RatingAfterChoosing(type, static_cast<std::int16_t>(ratingBefore));
    if (rating != type.ratings[static_cast<std::size_t>(type.defaultRating)]) {
        for (int i = 0; i < type.ratingCount(); ++i) {
            if (type.ratings[static_cast<std::size_t>(i)] == rating) {
                v.cmbRating.select(i);
            }
        }
    }

    if (type.polymer()) {
        v.cmbPiV.setVisible(true);
        v.lblPIv.setVisible(true);
        v.cmbPiV.select(type.piVEntry);
    }

    v.cmbType.setHelpContext(type.helpContext);
    v.cmbLife.select(type.biasEntry);
    // Of the Notice 1 types only 10.4 has a limit of its own, and choosing it sets that limit.
    if (type.notice == model::Notice::One &&
        type.model.tempLimit == model::TempLimitRule::Fixed125) {
        s.out.TempLimit = 125;
    }
}

}  // namespace

void cmbType_Click(TypeSelectionView& v) {
    model::CalcState& s = v.state;
    if (s.SuspendRecalc) {
        return;
    }
    s.in.PendingNote.clear();
    s.NoteSeparator = model::kNotePrefix;
    model::SuspendRecalculation(s);
    const int ratingBefore = s.in.TempRating;
    s.in.TypeCode = FirstWord(v.cmbType.text());
    HideRes(v.res);
    v.cmbPiV.setVisible(false);
    v.lblPIv.setVisible(false);

    if (const model::CapacitorType* type =
            model::FindType(static_cast<model::Notice>(s.in.Notice), s.in.TypeCode)) {
        ApplySetup(v, *type, ratingBefore);
    }

    model::ResumeRecalculation(s);
    v.lblNote.setVisible(!s.in.PendingNote.empty());
    v.lblNote.setCaption(s.in.PendingNote);
    v.recalculate();
}

void cmbType_GotFocus(TypeSelectionView& v) {
    v.cmbType.setHelpContext(kTypeListFocusHelp);
}

void HideRes(ResListView& v) {
    v.cmbRes.setVisible(false);
    v.lblRes.setVisible(false);
}

void SetSeriesResis(ResListView& v) {
    FillResList(v, CircuitResistanceEntries(), kCircuitResistanceCaption, kDefaultResistanceEntry,
                false, kCircuitResistanceTooltip);
}

void SetConstruction(ResListView& v) {
    FillResList(v, ConstructionEntries(), kConstructionCaption, kDefaultConstructionEntry, true,
                kConstructionTooltip);
}

}  // namespace quarvell::catalogue
