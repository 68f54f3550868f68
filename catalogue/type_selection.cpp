#include "catalogue/type_selection.h"

#include <algorithm>

#include "catalogue/catalogue.h"

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

void ShowOptionList(ResListView& v, OptionList list) {
    if (list == OptionList::CircuitResistance) {
        SetSeriesResis(v);
    } else if (list == OptionList::Construction) {
        SetConstruction(v);
    }
}

int IndexOf(const std::vector<std::string>& entries, const std::string& entry) {
    const auto it = std::find(entries.begin(), entries.end(), entry);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

void AppendNote(model::CalcState& s, const std::string& text, bool line) {
    if (line) {
        s.in.PendingNote += s.NoteSeparator;
        s.NoteSeparator = model::kCrLf;
    }
    s.in.PendingNote += text;
}

void ApplySetup(TypeSelectionView& v, const TypeSetup& row, int ratingBefore) {
    model::CalcState& s = v.state;
    if (row.optionListFirst) {
        ShowOptionList(v.res, row.optionList);
    }

    v.cmbRating.clear();
    for (const std::string& entry : row.ratings) {
        v.cmbRating.addItem(entry);
    }
    v.cmbRating.select(row.defaultRating);

    if (!row.optionListFirst) {
        ShowOptionList(v.res, row.optionList);
    }

    v.txtStyle.setText(row.style);

    for (const NotePiece& piece : row.notes) {
        switch (piece.kind) {
            case NotePiece::Kind::Line:
                AppendNote(s, piece.text, true);
                break;
            case NotePiece::Kind::Suffix:
                AppendNote(s, piece.text, false);
                break;
            case NotePiece::Kind::ForcedRatingLine:
                if (s.in.TempRating != 125) {
                    AppendNote(s, piece.text, true);
                    s.in.TempRating = 125;
                }
                break;
        }
    }

    if (row.keepsRating) {
        std::string keptEntry = "+";
        keptEntry.append(std::to_string(KeptTemperature(ratingBefore))).append("°C");
        const int kept = IndexOf(row.ratings, keptEntry);
        if (kept >= 0) {
            v.cmbRating.select(kept);
        }
    }

    if (row.piVEntry >= 0) {
        v.cmbPiV.setVisible(true);
        v.lblPIv.setVisible(true);
        v.cmbPiV.select(row.piVEntry);
    }

    v.cmbType.setHelpContext(row.helpContext);
    v.cmbLife.select(row.biasEntry);
    if (row.setsTempLimit125) {
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

    if (const TypeSetup* row = FindTypeSetup(s.in.Notice, s.in.TypeCode)) {
        ApplySetup(v, *row, ratingBefore);
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
