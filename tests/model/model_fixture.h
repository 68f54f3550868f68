#pragma once
// A test double of the window for Recalculate: the real headless controls it reads and
// writes, filled with the fixed list texts, plus the calculator state. The lists' handlers
// are empty unless a test sets them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "model/calc_state.h"
#include "model/number_text.h"
#include "model/recalculate.h"
#include "platform/controls.h"

namespace quarvell::model::testing {

using platform::ComboBox;
using platform::Label;
using platform::TextBox;
using Lines = std::vector<std::string>;

// Positions of cmbFR and cmbRes.
inline constexpr int kLevelLifeTest = 0;
inline constexpr int kLevelEntered = 1;
inline constexpr int kLevelM = 8;  // 1.000%/kPcHr Exponent 'M'
inline constexpr int kResUnder01 = 5;

// The inputs of one part, as the handlers would leave them. The defaults are the worked
// example of 10.1f: 10 uF, 10 V rated, 5 V applied at 50 degC, level M, G(B), (<0.1 Ohms/V).
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

inline auto Tie(const CalcResults& r) {
    return std::tie(r.Base, r.PiT, r.PiV, r.PiCV, r.PiSR, r.PiConst, r.PiQ, r.PiE, r.FailureRate,
                    r.Fit, r.DeratedVoltage, r.TempLimit, r.NoteText);
}

class Window {
  public:
    TextBox txtCap{"txtCap"}, txtVolt{"txtVolt"}, txtFR{"txtFR"}, txtDerated{"txtDerated"},
        txtFIT{"txtFIT"}, txtMTBF{"txtMTBF"};
    ComboBox cmbRating{"cmbRating", false}, cmbPiV{"cmbPiV", true}, cmbRes{"cmbRes", false},
        cmbFR{"cmbFR", false}, cmbEnv{"cmbEnv", false};
    platform::OptionButton optNotice1{"optNotice", 1}, optNotice2{"optNotice", 2};
    platform::ScrollBar hscApp{"hscApp"};
    Label lblFormula{"lblFormula"}, lblBase{"lblBase"}, lblPIt{"lblPIt"}, lblPIv{"lblPIv"},
        lblPIc{"lblPIc"}, lblPIsr{"lblPIsr"}, lblPIq{"lblPIq"}, lblPIe{"lblPIe"}, lblS{"lblS"},
        lblFR{"lblFR"}, lblUnity{"lblUnity"}, lblCalcFIT{"lblCalcFIT"}, lblCalcMTBF{"lblCalcMTBF"},
        lblNote{"lblNote"};

    RecalcView view{txtCap,      txtVolt, cmbRating,  cmbPiV,     cmbRes, cmbFR,    cmbEnv,
                    optNotice2,  hscApp,  lblFormula, lblBase,    lblPIt, lblPIv,   lblPIc,
                    lblPIsr,     lblPIq,  lblPIe,     lblS,       lblFR,  lblUnity, lblCalcFIT,
                    lblCalcMTBF, lblNote, txtFR,      txtDerated, txtFIT, txtMTBF};
    CalcState state;
    model::NumberLocale loc = model::kPeriodLocale;

    Window() {
        for (const char* r : {"+85\u00B0C", "+105\u00B0C", "+125\u00B0C", "+150\u00B0C"}) {
            cmbRating.addItem(r);
        }
        for (const char* d : {"1", ".9", ".8", ".7", ".6", ".5"}) {
            cmbPiV.addItem(d);
        }
        for (int i = 0; i < 14; ++i) {  // 6 positions of cmbRes, 13 of cmbFR, 14 of cmbEnv
            if (i < 6) {
                cmbRes.addItem(std::to_string(i));
            }
            if (i < 13) {
                cmbFR.addItem(std::to_string(i));
            }
            cmbEnv.addItem(std::to_string(i));
        }
        optNotice1.setGroup({&optNotice1, &optNotice2});
        optNotice2.setGroup({&optNotice1, &optNotice2});
        // As after start-up: the results are hidden until the first recalculation.
        for (platform::Control* c : resultControls()) {
            c->setVisible(false);
        }
        state.in.LifeBias = 1.0F;
        state.out.TempLimit = 125;
    }

    std::vector<platform::Control*> resultControls() {
        return {&lblFormula, &lblBase,    &lblPIt, &lblPIv,   &lblPIc,     &lblPIsr,     &lblPIq,
                &lblPIe,     &lblS,       &lblFR,  &lblUnity, &lblCalcFIT, &lblCalcMTBF, &lblNote,
                &txtFR,      &txtDerated, &txtFIT, &txtMTBF,  &cmbPiV,     &hscApp};
    }

    // Sets the inputs of a part the way the handlers of the window would.
    void use(const Part& p) {
        const bool notice2 = p.type.size() == 5 && p.type.starts_with("10.1") && p.type[4] >= 'a';
        state.in.TypeCode = p.type;
        state.in.Notice = notice2 ? 2 : 1;
        (notice2 ? optNotice2 : optNotice1).choose();
        const auto& ratings = cmbRating.items();
        cmbRating.select(static_cast<int>(std::find(ratings.begin(), ratings.end(), p.rating) -
                                          ratings.begin()));
        txtCap.setText(p.cap);
        txtVolt.setText(p.volt);
        state.in.RatedVoltage = static_cast<float>(ParseNumber(p.volt, loc).value_or(0));
        state.in.Capacitance = static_cast<float>(ParseNumber(p.cap, loc).value_or(0));
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

    // Everything a user can see of the result controls, one line per control.
    Lines shown() {
        Lines s;
        for (platform::Control* c : resultControls()) {
            std::string text;
            if (auto* l = dynamic_cast<Label*>(c)) {
                text = l->caption();
            } else if (auto* t = dynamic_cast<TextBox*>(c)) {
                text = t->text();
            } else if (auto* b = dynamic_cast<ComboBox*>(c)) {
                text = b->text();
            } else if (auto* h = dynamic_cast<platform::ScrollBar*>(c)) {
                text = std::to_string(h->max()) + "/" + std::to_string(h->value());
            }
            s.push_back(c->name() + (c->visible() ? " shown " : " hidden ") +
                        platform::ColorText(c->foreColor()) + " " + text);
        }
        return s;
    }

    // The note lines shown, split at CR LF.
    Lines noteLines() const {
        Lines lines;
        const std::string& t = lblNote.caption();
        std::size_t start = 0;
        for (std::size_t at; (at = t.find(kCrLf, start)) != std::string::npos; start = at + 2) {
            lines.push_back(t.substr(start, at - start));
        }
        lines.push_back(t.substr(start));
        return lines;
    }
};

}  // namespace quarvell::model::testing
