// Start-up: the fixed lists, the start-up type and the defaults, all while SuspendRecalc keeps
// the handlers that the selections fire from acting. Nothing is calculated.
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "model/number_text.h"
#include "window/frm_fit.h"

namespace quarvell::window {

namespace {

void Fill(platform::ComboBox& list, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        list.addItem(entry);
    }
}

constexpr int kStartEnvironment = 0;
constexpr int kStartLevel = 9;  // "3.000%/kPcHr Non-ER Military"
constexpr int kStartType = 4;   // "10.1f Tantalum(Solid-Chip)"
constexpr std::int16_t kStartTemperature = 50;

}  // namespace

void FrmFit::Form_Load() {
    model::CalcState& s = state_;
    const model::NumberLocale locale = services_.numberLocale();
    const platform::VersionRecord version = services_.versionRecord();

    txtCap.setText("");
    txtVolt.setText("");
    txtApp.setText("");

    s.in.DecimalIsPoint = model::GeneralText(1.0 / 3.0, locale).find('.') != std::string::npos;

    model::SuspendRecalculation(s);

    cmbEnv.clear();
    Fill(cmbEnv, catalogue::EnvironmentEntries());
    cmbEnv.select(kStartEnvironment);

    cmbFR.clear();
    Fill(cmbFR, catalogue::FailureRateLevelEntries());
    cmbFR.select(kStartLevel);

    hscTemp.setMin(-55);
    hscTemp.setMax(125);
    hscTemp.setSmallChange(1);
    hscTemp.setLargeChange(5);

    hscApp.setEnabled(false);

    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &txtApp, &txtFIT, &txtMTBF, &lblAppTxt, &lblCalcMTBF}) {
        c->setVisible(false);
    }

    txtHrs.setText("");
    txtPcs.setText("");
    txtFail.setText("");
    txtFR.setText("");

    lblCopyright.setCaption(version.copyright);
    lblVersion.setCaption("Version " + std::to_string(version.major) + "." +
                          std::to_string(version.minor) + "." + std::to_string(version.revision));

    // Not emptied first: the list is empty in the design.
    Fill(cmbRes, catalogue::CircuitResistanceEntries());
    cmbRes.select(catalogue::kDefaultResistanceEntry);

    cmbRating.clear();
    cmbRating.addItem("+85°C");
    cmbRating.addItem("+125°C");
    cmbRating.select(0);

    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&lblFormula, &lblCalcFIT, &lblBase, &lblPIc,
                                                   &lblPIq, &lblPIe, &lblPIsr, &lblPIt, &lblPIv}) {
        c->setVisible(false);
    }

    catalogue::SetTypeNotice2(typeList_);

    optNotice2.choose();
    s.in.Notice = catalogue::kNotice2;

    cmbType.select(kStartType);
    s.in.TypeCode = "10.1f";

    hscTemp.setValue(kStartTemperature);
    txtTemp.setText(std::to_string(kStartTemperature));
    s.in.AppTemp = kStartTemperature;

    cmbLife.select(0);

    s.out.PiSR = 0.066f;

    txtStyle.setText("CWR - Chip");

    lblNote.setVisible(false);
    fmeOther.setVisible(false);

    // The rating list shows +85°C meanwhile; the first calculation reads it from the list.
    s.in.TempRating = 125;
    s.in.LifeBias = 1.0f;

    model::ResumeRecalculation(s);

    lblFR.setCaption("Failure Rate %/k-Pc-Hrs @85°C+Vr");
    cmbType.setHelpContext(600);

    form.setVisible(true);
    focus_.setFocus(txtCap);
}

}  // namespace quarvell::window
