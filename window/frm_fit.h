#pragma once
// The calculator window frmFIT, headless: it owns every control, its menus, the message window
// frmMsg, the About box and the calculator state. The platform (the Qt binding, the replay
// tool, a test) creates the window, runs Form_Load, then feeds the user's actions to the
// controls and to keyPress/keyDown; the handlers change the state and the controls and end in
// recalculate(), which runs the model over its view of the controls. Each subsystem gets only
// the controls it touches, through the views built here.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "about/frm_about.h"
#include "catalogue/catalogue.h"
#include "catalogue/notice_switch.h"
#include "catalogue/type_options.h"
#include "catalogue/type_selection.h"
#include "model/calc_state.h"
#include "model/engine.h"
#include "model/engine_texts.h"
#include "platform/controls.h"
#include "platform/key_input.h"
#include "platform/services.h"

namespace quarvell::window {

// The small timed message window: a title and one bold text on blue.
class FrmMsg {
  public:
    FrmMsg();
    platform::Form form{"frmMsg"};
    platform::Label txtMsg{"txtMsg"};
};

// Waits the given seconds of the time of day, processing window events meanwhile; a wait that
// spans midnight ends on time too.
void Pause(platform::Services& services, float seconds);

using platform::ControlKey;

// x minus the largest integer not above x, plus 1 when x is zero or negative: 12.5 gives 0.5,
// 0 gives 1, -0.5 gives 1.5. Decides the steps per volt of the application-voltage scroll bar.
float FractionalPart(float x);

class FrmFit : public platform::KeyInput {
  public:
    explicit FrmFit(platform::Services& services);
    FrmFit(const FrmFit&) = delete;
    FrmFit& operator=(const FrmFit&) = delete;

    void Form_Load();

    // Shows frmMsg with the title and text, beeps, waits, hides it again.
    void ShowMessage(const std::string& title, const std::string& text, float seconds);
    void recalculate();

    // The user's keyboard: a typed character goes through the window's key preview, then to
    // the focused control (typed into a field that can be edited); keyDown handles the keys
    // that type nothing (Tab, Shift+Tab, F1).
    void keyPress(int keyAscii) override;
    void keyDown(int virtualKey, bool shift) override;
    // F1: the help topic of the focused control, else of its frame, else the window's own.
    void pressF1();

    void cmbEnv_Click();
    void lblBase_Click();
    void cmdQuit_Click();
    void Form_KeyPress(int& keyAscii);
    // The close box: the platform ends the program once this has run.
    void Form_UnLoad();

    // Rating and application entries.
    void txtCap_LostFocus();
    void txtVolt_LostFocus();
    void hscApp_Change();
    void txtApp_LostFocus();
    void hscTemp_Change();
    void txtTemp_LostFocus();

    // Failure-rate level and life test.
    void cmbFR_Click();
    void txtHrs_LostFocus();
    void txtPcs_LostFocus();
    void txtFail_LostFocus();

    model::CalcState& state() { return state_; }
    const model::CalcState& state() const { return state_; }
    platform::FocusScope& focus() { return focus_; }
    const platform::FocusScope& focus() const { return focus_; }
    platform::Services& services() { return services_; }

    // Every control of frmFIT in design order, the window itself first and the menus last.
    const std::vector<platform::Control*>& controls() const { return controls_; }
    // The menu bar: each head with its items.
    struct Menu {
        platform::MenuItem* head;
        std::vector<platform::MenuItem*> items;
    };
    const std::vector<Menu>& menus() const { return menus_; }
    // By ControlKey; nullptr when there is none.
    platform::Control* find(std::string_view key) const;

    // The last recalculation's part and evaluation, for the analysis windows; a refusal when
    // the controls gave no part to evaluate.
    const model::Evaluation& evaluation() const { return evaluation_; }
    // What a calculation sheet can be made of: a usable result, or a complete life test
    // without failures (the sheet gives its upper bounds).
    bool hasSheet() const;

    // Run by the Analysis menu's items; the platform that shows those windows sets them.
    std::function<void()> onCurves;
    std::function<void()> onSheet;
    // Each is told after every recalculation, when evaluation() may have changed.
    std::vector<std::function<void()>> onRecalculated;

    // Told of every ShowMessage as it appears (the scripted platform records it).
    std::function<void(const std::string& title, const std::string& text, float seconds)>
        onShowMessage;

    platform::Form form{"frmFIT"};

    // Entry controls.
    platform::ComboBox cmbType{"cmbType", false}, cmbRating{"cmbRating", false};
    platform::TextBox txtCap{"txtCap"}, txtVolt{"txtVolt"}, txtTemp{"txtTemp"}, txtApp{"txtApp"};
    platform::ScrollBar hscTemp{"hscTemp"}, hscApp{"hscApp"};
    platform::ComboBox cmbFR{"cmbFR", false}, cmbEnv{"cmbEnv", false}, cmbRes{"cmbRes", false},
        cmbPiV{"cmbPiV", true};
    platform::OptionButton optNotice1{"optNotice", 1}, optNotice2{"optNotice", 2};
    platform::Button cmdQuit{"cmdQuit"};

    // The life-test frame.
    platform::Frame fmeOther{"fmeOther"}, fmeBias{"fmeBias"};
    platform::Label Label1{"Label1"}, Label2{"Label2"}, Label3{"Label3"}, Label4{"Label4"},
        lblTestDC{"lblTestDC"};
    platform::TextBox txtHrs{"txtHrs"}, txtPcs{"txtPcs"}, txtFail{"txtFail"}, txtFR{"txtFR"};
    platform::ComboBox cmbLife{"cmbLife", false};

    // Result and read-only fields.
    platform::TextBox txtStyle{"txtStyle"}, txtEnterPercFR{"txtEnterPercFR"},
        txtDerated{"txtDerated"}, txtFIT{"txtFIT"}, txtMTBF{"txtMTBF"};

    // Labels.
    platform::Label lblType{"lblType"}, lblStyle{"lblStyle"}, lblRating{"lblRating"},
        lblCap{"lblCap"}, lblTemp{"lblTemp"}, lblTempTxt{"lblTempTxt"}, lblVolt{"lblVolt"},
        lblAppVolt{"lblAppVolt"}, lblAppTxt{"lblAppTxt"}, lblFR{"lblFR"}, lblEnv{"lblEnv"},
        lblRes{"lblRes"}, lblUnity{"lblUnity"}, lblFormula{"lblFormula"}, lblBase{"lblBase"},
        lblPIt{"lblPIt"}, lblS{"lblS"}, lblPIv{"lblPIv"}, lblPIc{"lblPIc"}, lblPIe{"lblPIe"},
        lblPIsr{"lblPIsr"}, lblPIq{"lblPIq"}, lblCalcFIT{"lblCalcFIT"}, lblCalcMTBF{"lblCalcMTBF"},
        lblVersion{"lblVersion"}, lblCopyright{"lblCopyright"}, lblNote{"lblNote"};

    // Menus.
    platform::MenuItem mnuAboutHead{"mnuAboutHead"}, mnuAbout{"mnuAbout"}, mnuPrint{"mnuPrint"},
        mnuPrintResults{"mnuPrintResults"}, mnuPrintFF{"mnuPrintFF"}, line1{"line1"},
        mnuPrintSetup{"mnuPrintSetup"}, mnuHelp{"mnuHelp"}, mnuContents{"mnuContents"};
    // The Analysis menu stands in menus() and find() but not in controls(), which lists the
    // classic window.
    platform::MenuItem mnuAnalysis{"mnuAnalysis"}, mnuCurves{"mnuCurves"}, mnuSheet{"mnuSheet"};

    FrmMsg frmMsg;
    about::FrmAbout frmAbout;

  private:
    void setDesign();
    void setDesignAppearance();
    void wireHandlers();
    // Enter (and for txtTemp also a typed Tab) moves on to the next control, as Tab does.
    void enterMovesOn(int& keyAscii, bool tabToo);
    // hscApp steps per volt; 1 until a rated voltage has set them.
    int voltSteps() const;
    // One recalculation: the controls read into a part, the part evaluated, its texts
    // written. The window's own effects (the default PI(V) entry selected, hscApp's top lowered
    // by a derating) run their handlers nested, as on screen.
    void recalculation();
    model::Part readPart(const model::CapacitorType& type) const;
    void storeResults(const model::Evaluation& e);
    void writeTexts(const model::Texts& t);
    // Gives hscApp back the full range of the rating once no derating lowers its top.
    void fitAppRangeToRating();
    void takeFocusUnlessRecalculating(platform::Control& bar);
    void refuseTemperature(const std::string& title, const std::string& text);
    void startLifeTest();
    void askKnownRate();
    // entered: given where 0 is an answer too (the failures); set once a number is entered.
    void lifeTestEntry(platform::TextBox& field, float& value, const char* prompt,
                       const char* title, bool* entered = nullptr);

    platform::Services& services_;
    model::CalcState state_;
    platform::FocusScope focus_;
    std::vector<platform::Control*> controls_;
    std::vector<Menu> menus_;
    std::vector<platform::Control*> analysisMenu_;
    // The user typed into the PI(V) list since its entry was last checked.
    bool piVTyped_ = false;
    // A recalculation is running: scroll-bar changes now are the program's own.
    bool recalculating_ = false;
    model::Evaluation evaluation_{.refusal = model::Refusal::NoCapacitance};
    // The texts of the last recalculation, kept so that their storage is reused.
    model::Texts texts_;

    catalogue::TypeListView typeList_{.cmbType = cmbType, .lblType = lblType};
    catalogue::TypeSelectionView typeSelection_{
        .state = state_,
        .cmbType = cmbType,
        .cmbRating = cmbRating,
        .cmbPiV = cmbPiV,
        .lblPIv = lblPIv,
        .cmbLife = cmbLife,
        .txtStyle = txtStyle,
        .lblNote = lblNote,
        .res = {.state = state_, .cmbRes = cmbRes, .lblRes = lblRes},
        .recalculate = [this] { recalculate(); }};
    catalogue::OptionsView options_{
        .state = state_,
        .cmbRating = cmbRating,
        .cmbPiV = cmbPiV,
        .cmbLife = cmbLife,
        .txtFIT = txtFIT,
        .services = services_,
        .recalculate = [this] { recalculate(); },
        .showMessage = [this](const std::string& title, const std::string& text,
                              float seconds) { ShowMessage(title, text, seconds); }};
    catalogue::NoticeSwitchView noticeSwitch_{
        .state = state_,
        .typeList = typeList_,
        .optNotice1 = optNotice1,
        .optNotice2 = optNotice2,
        .recalculate = [this] { recalculate(); },
        .showMessage = [this](const std::string& title, const std::string& text,
                              float seconds) { ShowMessage(title, text, seconds); }};
};

}  // namespace quarvell::window
