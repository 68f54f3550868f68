#pragma once
// A test double of the window for Recalculate: the real headless controls it reads and
// writes, filled with the fixed list texts, plus the calculator state. The lists' handlers
// are empty unless a test sets them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/calc_state.h"
#include "model/number_text.h"
#include "model/recalculate.h"
#include "platform/controls.h"

namespace quarvell::model::testing {

using platform::ComboBox;
using platform::Label;
using platform::NumberLocale;
using platform::OptionButton;
using platform::ScrollBar;
using platform::TextBox;

// Positions of cmbFR and cmbEnv used by the tests.
inline constexpr int kLevelLifeTest = 0;
inline constexpr int kLevelEntered = 1;
inline constexpr int kLevelP = 7;  // 0.100%/kPcHr Exponent 'P'
inline constexpr int kLevelM = 8;  // 1.000%/kPcHr Exponent 'M'
inline constexpr int kResOver08 = 0;
inline constexpr int kResUnder01 = 5;

inline const std::string kCrLfText = "\r\n";

// The inputs of one part, as the handlers would leave them.
struct Part {
    std::string type = "10.1f";
    std::string rating = "+125\u00B0C";
    std::string cap = "10";
    std::string volt = "10";
    float app = 5;
    float temp = 50;
    int level = kLevelM;
    int env = 0;
    bool resList = true;
    int res = kResUnder01;
    std::string pendingNote;
    std::int16_t voltSteps = 1;
};

// Everything a user can see of the result controls, for before/after comparisons.
struct Snapshot {
    std::vector<std::string> texts;
    std::vector<bool> visible;
    std::vector<platform::Color> colors;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

class Window {
  public:
    TextBox txtCap{"txtCap"};
    TextBox txtVolt{"txtVolt"};
    ComboBox cmbRating{"cmbRating", false};
    ComboBox cmbPiV{"cmbPiV", true};
    ComboBox cmbRes{"cmbRes", false};
    ComboBox cmbFR{"cmbFR", false};
    ComboBox cmbEnv{"cmbEnv", false};
    OptionButton optNotice1{"optNotice", 1};
    OptionButton optNotice2{"optNotice", 2};
    ScrollBar hscApp{"hscApp"};
    Label lblFormula{"lblFormula"};
    Label lblBase{"lblBase"};
    Label lblPIt{"lblPIt"};
    Label lblPIv{"lblPIv"};
    Label lblPIc{"lblPIc"};
    Label lblPIsr{"lblPIsr"};
    Label lblPIq{"lblPIq"};
    Label lblPIe{"lblPIe"};
    Label lblS{"lblS"};
    Label lblFR{"lblFR"};
    Label lblUnity{"lblUnity"};
    Label lblCalcFIT{"lblCalcFIT"};
    Label lblCalcMTBF{"lblCalcMTBF"};
    Label lblNote{"lblNote"};
    TextBox txtFR{"txtFR"};
    TextBox txtDerated{"txtDerated"};
    TextBox txtFIT{"txtFIT"};
    TextBox txtMTBF{"txtMTBF"};

    RecalcView view{txtCap,      txtVolt, cmbRating,  cmbPiV,     cmbRes, cmbFR,    cmbEnv,
                    optNotice2,  hscApp,  lblFormula, lblBase,    lblPIt, lblPIv,   lblPIc,
                    lblPIsr,     lblPIq,  lblPIe,     lblS,       lblFR,  lblUnity, lblCalcFIT,
                    lblCalcMTBF, lblNote, txtFR,      txtDerated, txtFIT, txtMTBF};
    CalcState state;
    NumberLocale loc = platform::kPeriodLocale;

    Window() {
        for (const char* r : {"+85\u00B0C", "+105\u00B0C", "+125\u00B0C", "+150\u00B0C"}) {
            cmbRating.addItem(r);
        }
        for (const char* d : {"1", ".9", ".8", ".7", ".6", ".5"}) {
            cmbPiV.addItem(d);
        }
        for (const char* r : {"(>0.8 Ohms/V)", "(0.6 - 0.8 Ohms/V)", "(0.4 - 0.6 Ohms/V)",
                              "(0.2 - 0.4 Ohms/V)", "(0.1 - 0.2 Ohms/V)", "(<0.1 Ohms/V)"}) {
            cmbRes.addItem(r);
        }
        for (int i = 0; i < 13; ++i) {
            cmbFR.addItem("level " + std::to_string(i));
        }
        for (int i = 0; i < 14; ++i) {
            cmbEnv.addItem("env " + std::to_string(i));
        }
        optNotice1.setGroup({&optNotice1, &optNotice2});
        optNotice2.setGroup({&optNotice1, &optNotice2});
        // As after start-up: the results are hidden until the first recalculation.
        for (platform::Control* c : resultControls()) {
            c->setVisible(false);
        }
        state.in.AppTemp = 50;
        state.in.TempRating = 125;
        state.in.LifeBias = 1.0F;
        state.out.PiSR = 0.066F;
        state.out.TempLimit = 125;
        state.in.TypeCode = "10.1f";
        state.in.Notice = 2;
        state.in.VoltSteps = 1;
    }

    std::vector<platform::Control*> resultControls() {
        return {&lblFormula, &lblBase,    &lblPIt, &lblPIv,   &lblPIc,     &lblPIsr,     &lblPIq,
                &lblPIe,     &lblS,       &lblFR,  &lblUnity, &lblCalcFIT, &lblCalcMTBF, &lblNote,
                &txtFR,      &txtDerated, &txtFIT, &txtMTBF,  &cmbPiV,     &hscApp};
    }

    // Sets the inputs of a part the way the handlers of the window would.
    void use(const Part& p) {
        const bool notice2 = p.type.size() == 5 && p.type.starts_with("10.1") && p.type[4] >= 'a' &&
                             p.type[4] <= 'z';
        state.in.TypeCode = p.type;
        state.in.Notice = notice2 ? 2 : 1;
        (notice2 ? optNotice2 : optNotice1).choose();
        const auto it = std::find(cmbRating.items().begin(), cmbRating.items().end(), p.rating);
        cmbRating.select(static_cast<int>(it - cmbRating.items().begin()));
        txtCap.setText(p.cap);
        txtVolt.setText(p.volt);
        if (const auto v = ParseNumber(p.volt, loc)) {
            state.in.RatedVoltage = static_cast<float>(*v);
        }
        if (const auto c = ParseNumber(p.cap, loc)) {
            state.in.Capacitance = static_cast<float>(*c);
        }
        state.in.AppVoltage = p.app;
        state.in.AppTemp = p.temp;
        state.in.VoltSteps = p.voltSteps;
        cmbFR.select(p.level);
        cmbEnv.select(p.env);
        cmbRes.setVisible(p.resList);
        cmbRes.select(p.res);
        state.in.PendingNote = p.pendingNote;
    }

    void recalc() { Recalculate(state, view, loc); }

    void run(const Part& p) {
        use(p);
        recalc();
    }

    Snapshot snapshot() {
        Snapshot s;
        for (platform::Control* c : resultControls()) {
            s.visible.push_back(c->visible());
            s.colors.push_back(c->foreColor());
            if (auto* l = dynamic_cast<Label*>(c)) {
                s.texts.push_back(l->caption());
            } else if (auto* t = dynamic_cast<TextBox*>(c)) {
                s.texts.push_back(t->text());
            } else if (auto* b = dynamic_cast<ComboBox*>(c)) {
                s.texts.push_back(b->text());
            } else if (auto* h = dynamic_cast<ScrollBar*>(c)) {
                s.texts.push_back(std::to_string(h->max()) + "/" + std::to_string(h->value()));
            }
        }
        return s;
    }

    // The note lines shown, split at CR LF.
    std::vector<std::string> noteLines() const {
        std::vector<std::string> lines;
        const std::string& t = lblNote.caption();
        std::size_t start = 0;
        for (std::size_t at; (at = t.find(kCrLfText, start)) != std::string::npos; start = at + 2) {
            lines.push_back(t.substr(start, at - start));
        }
        lines.push_back(t.substr(start));
        return lines;
    }
};

// A plain copy of the results, to compare whole states.
inline bool SameResults(const CalcResults& a, const CalcResults& b) {
    return a.Base == b.Base && a.PiT == b.PiT && a.PiV == b.PiV && a.PiCV == b.PiCV &&
           a.PiSR == b.PiSR && a.PiConst == b.PiConst && a.PiQ == b.PiQ && a.PiE == b.PiE &&
           a.FailureRate == b.FailureRate && a.Fit == b.Fit &&
           a.DeratedVoltage == b.DeratedVoltage && a.TempLimit == b.TempLimit &&
           a.NoteText == b.NoteText;
}

}  // namespace quarvell::model::testing
