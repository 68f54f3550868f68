// frmFIT as designed: places, tab numbers, tooltips, help numbers, captions, colours and the
// fixed list entries, before Form_Load runs.
#include "catalogue/catalogue.h"
#include "window/frm_fit.h"

namespace quarvell::window {

namespace {

using platform::Alignment;
using platform::Control;
using platform::Label;
using platform::Place;

struct Design {
    Place place;
    int tab = -1;
    const char* tooltip = "";
    const char* accessible = "";
    int help = 0;
};

void Apply(Control& c, const Design& d) {
    c.setPlace(d.place);
    c.setTabIndex(d.tab);
    c.setTooltip(d.tooltip);
    c.setAccessibleName(d.accessible);
    c.setHelpContext(d.help);
}

void Caption(Label& l, const char* caption, const Design& d) {
    Apply(l, d);
    l.setCaption(caption);
}

constexpr const char* kTypeTip = "From the pull-down list, select the desired capacitor type.";
constexpr const char* kRatingTip =
    "Temp. rating will effect Notice 1 calculations, but not Notice 2.";
constexpr const char* kCapTip = "Enter the capacitance, in uF.";
constexpr const char* kVoltTip = "Enter the Rated Voltage for the part.";
constexpr const char* kTempTip = "Use scroll bar or enter Application Temp.";
constexpr const char* kAppTip = "Use scroll bar, or enter Application Voltage.";
constexpr const char* kFrTip =
    "The established reliability defined for the part.  Other allows calculation based on life "
    "test data.";
constexpr const char* kEnvTip = "Select appropriate environmental conditions for application.";
constexpr const char* kStyleTip = "Style depends on selected type.";

}  // namespace

void FrmFit::setDesign() {
    form.setCaption("FIT                  Failure Rate Model per MIL-HDBK-217F");
    form.setPlace({0, 0, 8895, 9630});
    form.setHelpContext(10);
    form.setKeyPreview(true);
    form.setVisible(false);  // shown at the end of Form_Load
    form.setAccessibleName("Capacitor failure rate calculator");

    // clang-format off
    Apply(cmbType, {{120, 384, 3825, 288}, 1, kTypeTip, "Capacitor type", 600});
    Apply(cmbRating, {{6525, 360, 1140, 360}, 45, kRatingTip, "Temperature rating", 710});
    Apply(txtCap, {{240, 1215, 1560, 360}, 14, kCapTip, "Capacitance in microfarads", 520});
    Apply(txtVolt, {{240, 2085, 855, 360}, 15, kVoltTip, "Rated voltage", 490});
    Apply(hscTemp, {{2085, 1215, 3850, 375}, 17, "", "Application temperature slider", 480});
    Apply(txtTemp, {{6000, 1215, 975, 360}, 7, kTempTip, "Application temperature in °C", 450});
    Apply(hscApp, {{2040, 2085, 3850, 375}, 16, "", "Application voltage slider", 470});
    Apply(txtApp, {{6000, 2130, 975, 375}, 6, kAppTip, "Application voltage in volts DC", 460});
    Apply(cmbFR, {{240, 3000, 3375, 315}, 18, kFrTip, "Failure rate level", 560});
    Apply(cmbEnv, {{240, 3840, 4215, 315}, 55, kEnvTip, "Environmental conditions", 650});
    Apply(cmbRes, {{240, 4680, 3390, 360}, 30, catalogue::kCircuitResistanceTooltip,
                   "Circuit resistance or construction", 570});
    Apply(cmbPiV, {{3720, 4680, 1095, 315}, 58, "", "PI(V) denominator", 0});
    Apply(optNotice1, {{240, 6840, 2175, 375}, 20, "Notice-1 : Released 10 July 1992.",
                       "MIL-HDBK-217F Notice 1", 700});
    Apply(optNotice2, {{240, 7200, 2175, 420}, 19, "Notice-2 : Released 28 Feb 1995.",
                       "MIL-HDBK-217F Notice 2", 690});
    Apply(cmdQuit, {{6960, 6840, 1575, 735}, 0, "", "Quit", 430});
    // clang-format on
    optNotice1.setCaption("Rev. F - Notice 1");
    optNotice2.setCaption("Rev. F - Notice 2");
    cmdQuit.setCaption("&Quit");

    Apply(fmeOther, {{5280, 2640, 3330, 2100}, 8, "", "Accelerated life test data", 210});
    fmeOther.setCaption(" Acc Life Data ");
    for (Control* c : {static_cast<Control*>(&Label1), static_cast<Control*>(&txtHrs),
                       static_cast<Control*>(&Label2), static_cast<Control*>(&txtPcs),
                       static_cast<Control*>(&Label3), static_cast<Control*>(&txtFail),
                       static_cast<Control*>(&Label4), static_cast<Control*>(&txtFR),
                       static_cast<Control*>(&fmeBias)}) {
        c->setContainer(&fmeOther);
    }
    lblTestDC.setContainer(&fmeBias);
    cmbLife.setContainer(&fmeBias);
    // clang-format off
    Caption(Label1, "&Hours ", {{120, 240, 615, 255}, 13, "", "Hours label"});
    Apply(txtHrs, {{720, 240, 735, 285}, 31, "Enter the duration of the pieces tested.",
                   "Hours tested", 530});
    Caption(Label2, "&Pieces ", {{120, 720, 615, 255}, 12, "", "Pieces label"});
    Apply(txtPcs, {{720, 656, 735, 360}, 32, "Cumulative number of pieces tested.",
                   "Pieces tested", 540});
    Caption(Label3, "&Fail ", {{120, 1200, 615, 255}, 11, "", "Failures label"});
    Apply(txtFail, {{720, 1147, 735, 360}, 33, "Total number of pieces that failed test.",
                    "Pieces failed", 550});
    Caption(Label4, "FR", {{90, 1710, 615, 255}, 10, "", "Derived failure rate label"});
    Apply(txtFR, {{720, 1638, 1545, 360}, 9, "", "Derived failure rate", 560});
    txtFR.setLocked(true);
    txtFR.setText("Derived FR");
    Apply(fmeBias, {{1560, 240, 1545, 1005}, 50, "", "Life test bias"});
    fmeBias.setBordered(false);
    Caption(lblTestDC, "Life Test DCV", {{120, 0, 1320, 240}, 51, "", "Life test DC voltage label"});
    Apply(cmbLife, {{45, 270, 1500, 315}, 52, "The Life Test bias conditions.",
                    "Life test DC bias", 0});
    // clang-format on
    for (const std::string& entry : catalogue::LifeBiasEntries()) {
        cmbLife.addItem(entry);
    }

    Apply(txtStyle, {{3960, 360, 2535, 420}, 48, kStyleTip, "Capacitor style", 670});
    txtStyle.setLocked(true);
    // clang-format off
    Apply(txtEnterPercFR, {{240, 3000, 2985, 300}, 56,
                           "This is value entered.  To change, choose another pull-down selection.",
                           "Entered failure rate"});
    txtEnterPercFR.setVisible(false);
    Apply(txtDerated, {{1200, 2085, 735, 360}, 59,
                       "This is the derated voltage for the part, because of temperature.",
                       "Derated voltage"});
    txtDerated.setVisible(false);
    Apply(txtFIT, {{4920, 6840, 1935, 405}, 5, "Calculated FIT", "Calculated FIT", 10});
    txtFIT.setLocked(true);
    Apply(txtMTBF, {{4920, 7200, 1935, 405}, 54,
                    "Calculated Mean Time Between Failure (inverse of FIT)", "Calculated MTBF", 10});
    // clang-format on
    txtMTBF.setLocked(true);
    // Fields the user reads rather than fills in: Enter and Tab walk past them.
    for (platform::TextBox* t :
         {&txtFIT, &txtMTBF, &txtStyle, &txtFR, &txtDerated, &txtEnterPercFR}) {
        t->setTabStop(false);
    }

    // clang-format off
    Caption(lblType, "Notice 1 - T&ype: Capacitor, Fixed, ...", {{90, 0, 3795, 375}, -1, kTypeTip, "Type label"});
    Caption(lblStyle, "Style(s):", {{3915, 0, 2550, 375}, -1, kStyleTip, "Style label"});
    Caption(lblRating, "Temp Rating", {{6525, 0, 1830, 375}, -1, kRatingTip, "Rating label"});
    Caption(lblCap, " &Capacitance (uF)", {{120, 840, 1920, 375}, -1, kCapTip, "Capacitance label"});
    Caption(lblTemp, "Application Temperature (°C)", {{2085, 840, 3855, 735}, -1,
            "Scroll bar selection of application temperature.", "Application temperature label"});
    Caption(lblTempTxt, "&Temp (°C)", {{6000, 840, 1455, 375}, -1, kTempTip, "Temperature label"});
    Caption(lblVolt, "&Rated Voltage", {{210, 1755, 1815, 375}, -1, kVoltTip, "Voltage label"});
    Caption(lblAppVolt, "Application Voltage", {{2040, 1755, 3855, 735}, -1,
            "Scroll bar selection of application voltage.", "Application voltage label"});
    Caption(lblAppTxt, "&Volts (DC)", {{6000, 1755, 1455, 375}, -1, kAppTip, "Volts label"});
    Caption(lblFR, "Failure Rate % / k-Hrs @85°C+Vr", {{240, 2640, 3375, 375}, -1, kFrTip, "Failure rate label"});
    Caption(lblEnv, "Environmental Conditions", {{240, 3480, 4215, 375}, -1, kEnvTip, "Environment label"});
    Caption(lblRes, catalogue::kCircuitResistanceCaption,
            {{240, 4290, 3375, 375}, -1, catalogue::kCircuitResistanceTooltip, "Option label"});
    Caption(lblUnity, "&PI(V - Unity)", {{3720, 4290, 1095, 375}, -1, "", "PI(V) label"});
    Caption(lblFormula, "FIT=Base x PI(CV) x PI(Q) x PI(E) x 1000", {{120, 5160, 8625, 240}, -1, "", "FIT formula"});
    Caption(lblBase, "Base = .00375", {{120, 5520, 2832, 240}, -1, "", "Base failure rate"});
    Caption(lblPIt, "PI(T) = ", {{3240, 5520, 5505, 240}, -1, "", "Temperature factor"});
    Caption(lblS, "S = AppV / RatedV", {{120, 5835, 3090, 240}, -1, "", "Voltage stress ratio"});
    lblS.setVisible(false);
    Caption(lblPIv, "PI(V) = ", {{3240, 5835, 5505, 240}, -1, "", "Voltage factor"});
    Caption(lblPIc, "PI(C) = C^0.12", {{120, 6165, 2610, 240}, -1, "", "Capacitance factor"});
    Caption(lblPIe, "PI(E) = ", {{3240, 6165, 5505, 240}, -1, "", "Environment factor"});
    Caption(lblPIsr, "PI(SR) = ", {{120, 6480, 2970, 240}, -1, "", "Series resistance or construction factor"});
    Caption(lblPIq, "PI(Q) = ", {{3240, 6480, 5505, 240}, -1, "", "Quality factor"});
    Caption(lblCalcFIT, "Calculated FIT ", {{2700, 6840, 2205, 375}, -1, "", "FIT label"});
    Caption(lblCalcMTBF, "Calculated MTBF", {{2700, 7200, 2205, 375}, -1, "", "MTBF label"});
    Caption(lblVersion, "", {{315, 7680, 1815, 255}, -1, "", "Program version"});
    Caption(lblCopyright, "", {{2640, 7680, 3735, 255}, -1, "", "Copyright"});
    Caption(lblNote, "lblNote", {{120, 8040, 8610, 1395}, -1, "", "Notes and warnings"});
    // clang-format on

    for (const std::string& entry : catalogue::PiVEntries()) {
        cmbPiV.addItem(entry);
    }
    cmbPiV.setText("PiV");

    struct MenuDesign {
        platform::MenuItem& item;
        const char* caption;
        const char* shortcut;
        int help;
        const char* accessible;
    };
    // clang-format off
    for (const MenuDesign& m : {
             MenuDesign{mnuAboutHead, "About", "", 240, "About menu"},
             MenuDesign{mnuAbout, "About this program...", "", 500, "About this program"},
             MenuDesign{mnuPrint, "Print", "", 250, "Print menu"},
             MenuDesign{mnuPrintResults, "&Print Quarvell Form", "Ctrl+P", 0, "Print the calculator form"},
             MenuDesign{mnuPrintFF, "Print Results && &Form Feed", "Ctrl+F", 0, "Print results and form feed"},
             MenuDesign{line1, "-", "", 410, "Separator"},
             MenuDesign{mnuPrintSetup, "Printer &Setup", "", 0, "Printer setup"},
             MenuDesign{mnuAnalysis, "Analysis", "", 0, "Analysis menu"},
             MenuDesign{mnuCurves, "Curves...", "Ctrl+K", 0, "Curves of the failure rate"},
             MenuDesign{mnuSheet, "Calculation Sheet...", "Ctrl+Shift+S", 0, "Calculation sheet"},
             MenuDesign{mnuHelp, "Help (F1)", "", 10, "Help menu"},
             MenuDesign{mnuContents, "Contents, Index", "", 0, "Help contents and index"}}) {
        // clang-format on
        m.item.setCaption(m.caption);
        m.item.setShortcut(m.shortcut);
        m.item.setHelpContext(m.help);
        m.item.setAccessibleName(m.accessible);
    }
    mnuPrintFF.setEnabled(false);  // switched off in the design, and nothing switches it on
    mnuSheet.setEnabled(false);    // until there is a result
}

void FrmFit::setDesignAppearance() {
    const auto paint = [](std::initializer_list<Label*> labels, platform::Color back,
                          platform::Color fore, Alignment alignment) {
        for (Label* l : labels) {
            l->setBackColor(back);
            l->setForeColor(fore);
            l->setAlignment(alignment);
        }
    };
    paint({&lblType, &lblStyle, &lblRating, &lblCap}, platform::kRed, platform::kBlack,
          Alignment::Left);
    paint({&lblVolt}, platform::kRed, platform::kBlack, Alignment::Center);
    paint({&lblTemp, &lblTempTxt, &lblAppVolt, &lblAppTxt, &lblFR, &lblEnv, &lblRes, &lblUnity},
          platform::kLightGrey, platform::kBlack, Alignment::Center);
    fmeOther.setBackColor(platform::kBlue);
    fmeOther.setForeColor(platform::kCyan);
    fmeBias.setBackColor(platform::kBlue);
    paint({&Label1, &Label2, &Label3, &Label4, &lblTestDC}, platform::kBlue, platform::kCyan,
          Alignment::Right);
    lblTestDC.setTransparent(true);
    paint({&lblCalcFIT, &lblCalcMTBF}, platform::kBlue, platform::kYellow, Alignment::Right);
    lblCalcFIT.setFont(9.75, true);
    lblCalcMTBF.setFont(9.75, true);
    paint({&lblVersion, &lblCopyright}, platform::kDarkBlue, platform::kWhite, Alignment::Center);
    optNotice1.setBackColor(platform::kGreen);
    optNotice2.setBackColor(platform::kRed);
    txtDerated.setBackColor(platform::kRed);
    txtDerated.setForeColor(platform::kWhite);
    txtEnterPercFR.setBackColor(platform::kLightYellow);
}

FrmMsg::FrmMsg() {
    form.setCaption("");
    form.setPlace({0, 0, 5595, 1650});
    form.setBackColor(platform::kBlue);
    form.setVisible(false);
    form.setAccessibleName("Message");
    txtMsg.setPlace({120, 0, 4395, 1320});
    txtMsg.setTransparent(true);
    txtMsg.setFont(9.75, true);
    txtMsg.setForeColor(platform::kWhite);  // the platform's highlight-text colour
    txtMsg.setAccessibleName("Message text");
}

}  // namespace quarvell::window
