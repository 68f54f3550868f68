// What a screen reader hears of every control of every window, through the toolkit's
// accessibility interfaces: what a sighted user reads. Labels are named by their text, fields
// and lists are labelled by their caption labels, option buttons are radio buttons named by
// their captions, read-only fields are read-only, and the timed message is an announced alert.

#include <QAccessible>
#include <QAccessibleBridge>
#include <QAccessibleBridgePlugin>
#include <QLabel>
#include <QtPlugin>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/widget_look.h"
#include "screen_fixture.h"

namespace quarvell::app {
namespace {

QAccessibleInterface* accessible(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w);
}

// What the user reads on a captioned control.
QString shownText(const std::string& caption) {
    return platform::qt::toDisplayText(platform::qt::withoutAccessMarks(caption)).trimmed();
}

// Labels, buttons and option buttons of any window.
void expectCaptionedControlsSayWhatTheyShow(platform::qt::FormBinding& binding,
                                            const std::vector<Control*>& controls) {
    for (const Control* c : controls) {
        QWidget* w = binding.widgetOf(*c);
        if (w == nullptr) {
            continue;
        }
        SCOPED_TRACE(window::ControlKey(*c));
        QAccessibleInterface* a = accessible(w);
        ASSERT_NE(a, nullptr);
        switch (c->kind()) {
            case ControlKind::Label: {
                const std::string& caption = static_cast<const platform::Label*>(c)->caption();
                EXPECT_EQ(a->text(QAccessible::Name),
                          caption.empty() ? QString::fromStdString(c->accessibleName())
                                          : shownText(caption));
                break;
            }
            case ControlKind::Button:
                EXPECT_EQ(a->role(), QAccessible::Button);
                EXPECT_EQ(a->text(QAccessible::Name),
                          shownText(static_cast<const platform::Button*>(c)->caption()));
                break;
            case ControlKind::OptionButton: {
                const auto* option = static_cast<const platform::OptionButton*>(c);
                EXPECT_EQ(a->role(), QAccessible::RadioButton);
                EXPECT_EQ(a->text(QAccessible::Name), shownText(option->caption()));
                EXPECT_TRUE(a->state().checkable);
                EXPECT_EQ(a->state().checked, option->value());
                break;
            }
            default:
                break;
        }
    }
}

TEST_F(ScreenTest, EveryControlOfTheWindowSaysWhatTheUserReads) {
    typeWorkedExample();
    actions.run([this] { window.fmeOther.setVisible(true); });
    expectCaptionedControlsSayWhatTheyShow(screen.main(), window.controls());

    // Every field, list and scroll bar by the label that names it on screen; the two fields
    // without one go by their own names.
    const std::map<const Control*, const platform::Label*> captions{
        {&window.cmbType, &window.lblType},     {&window.txtStyle, &window.lblStyle},
        {&window.cmbRating, &window.lblRating}, {&window.txtCap, &window.lblCap},
        {&window.hscTemp, &window.lblTemp},     {&window.txtTemp, &window.lblTempTxt},
        {&window.txtVolt, &window.lblVolt},     {&window.hscApp, &window.lblAppVolt},
        {&window.txtApp, &window.lblAppTxt},    {&window.cmbFR, &window.lblFR},
        {&window.cmbEnv, &window.lblEnv},       {&window.cmbRes, &window.lblRes},
        {&window.cmbPiV, &window.lblUnity},     {&window.txtHrs, &window.Label1},
        {&window.txtPcs, &window.Label2},       {&window.txtFail, &window.Label3},
        {&window.txtFR, &window.Label4},        {&window.cmbLife, &window.lblTestDC},
        {&window.txtFIT, &window.lblCalcFIT},   {&window.txtMTBF, &window.lblCalcMTBF},
    };
    for (const Control* c : window.controls()) {
        if (c->kind() != ControlKind::TextBox && c->kind() != ControlKind::ComboBox &&
            c->kind() != ControlKind::ScrollBar) {
            continue;
        }
        SCOPED_TRACE(c->name());
        QAccessibleInterface* a = accessible(widgetOf(*c));
        const auto caption = captions.find(c);
        if (caption == captions.end()) {
            EXPECT_TRUE(c == &window.txtEnterPercFR || c == &window.txtDerated);
            EXPECT_EQ(a->text(QAccessible::Name), QString::fromStdString(c->accessibleName()));
        } else {
            QWidget* label = widgetOf(*caption->second);
            bool labelled = false;
            for (const auto& [other, relation] : a->relations(QAccessible::Label)) {
                labelled = labelled || other->object() == label;
            }
            EXPECT_TRUE(labelled) << caption->second->name();
            // A list's name is its value on this platform; the label relation names it.
            if (c->kind() != ControlKind::ComboBox) {
                EXPECT_EQ(a->text(QAccessible::Name), shownText(caption->second->caption()));
            }
        }
        if (c->kind() == ControlKind::TextBox) {
            const bool locked = static_cast<const platform::TextBox*>(c)->locked();
            EXPECT_EQ(a->state().readOnly, locked);
            EXPECT_EQ(a->state().editable, !locked);
            EXPECT_EQ(a->text(QAccessible::Value),
                      QString::fromStdString(static_cast<const platform::TextBox*>(c)->text()));
        }
    }
    // The breakdown reads as it shows.
    EXPECT_EQ(accessible(widgetOf(window.lblPIe))->text(QAccessible::Name),
              "PI(E) = Lookup Env.= 1");
}

// A bridge of the toolkit's accessibility to assistive technology, as the platform's own
// (AT-SPI) is one: it hears every event the program raises, whether or not a screen reader
// listens.
class RecordingBridge : public QAccessibleBridge {
  public:
    void setRootObject(QAccessibleInterface*) override {}
    void notifyAccessibilityUpdate(QAccessibleEvent* event) override {
        if (listener) {
            listener(*event);
        }
    }
    static inline std::function<void(QAccessibleEvent&)> listener;
};

class RecordingBridgePlugin : public QAccessibleBridgePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "recording_bridge.json")

  public:
    // The toolkit keeps the bridge to the end and never deletes it: held here, it is no leak.
    QAccessibleBridge* create(const QString&) override {
        created = new RecordingBridge;
        return created;
    }
    static inline RecordingBridge* created = nullptr;
};

struct AlertSeen {
    QAccessible::Role role;
    QString name;
    QString description;
};

TEST_F(ScreenTest, TheTimedMessageIsAnAlertAnnouncedWithItsText) {
    std::vector<AlertSeen> alerts;
    RecordingBridge::listener = [&alerts](QAccessibleEvent& event) {
        if (event.type() == QAccessible::Alert) {
            QAccessibleInterface* a = event.accessibleInterface();
            alerts.push_back(
                {a->role(), a->text(QAccessible::Name), a->text(QAccessible::Description)});
        }
    };
    actions.run(
        [this] { window.ShowMessage("Not allowed!", "Reverting to rated voltage.\r\n", 0.05f); });
    RecordingBridge::listener = {};
    expectCaptionedControlsSayWhatTheyShow(screen.message(), {&window.frmMsg.txtMsg});
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_EQ(alerts[0].role, QAccessible::AlertMessage);
    EXPECT_EQ(alerts[0].name, "Not allowed!");
    EXPECT_EQ(alerts[0].description, "Reverting to rated voltage.");
    EXPECT_EQ(accessible(screen.message().window())->role(), QAccessible::AlertMessage);
}

}  // namespace
}  // namespace quarvell::app

Q_IMPORT_PLUGIN(RecordingBridgePlugin)

#include "accessibility_test.moc"
