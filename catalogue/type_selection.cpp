#include "catalogue/type_selection.h"

#include "catalogue/catalogue.h"
#include "catalogue/counterpart.h"

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

void AppendNote(model::CalcState& s, std::string_view text, bool line) {
    if (line) {
        s.in.PendingNote += s.NoteSeparator;
        s.NoteSeparator = model::kCrLf;
    }
    s.in.PendingNote += text;
}

void ApplySetup(TypeSelectionView& v, const model::CapacitorType& type, int ratingBefore) {
    using Kind = model::NotePiece::Kind;
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

    for (const model::NotePiece& piece : type.notes) {
        switch (piece.kind) {
            case Kind::None:
                break;
            case Kind::Line:
                AppendNote(s, piece.text, true);
                break;
            case Kind::Suffix:
                AppendNote(s, piece.text, false);
                break;
            case Kind::ForcedRatingLine:
                if (s.in.TempRating != 125) {
                    AppendNote(s, piece.text, true);
                    s.in.TempRating = 125;
                }
                break;
        }
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
