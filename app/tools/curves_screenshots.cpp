// Takes the README's pictures of the Curves window: the calculator is set up through its own
// controls (the worked example, then 10.1j a little into its derating), the Curves window is
// opened from the Analysis menu and grabbed as it is drawn.
//   curves_screenshots [output-directory]      (default: docs)
// Run it on a display, or offscreen: QT_QPA_PLATFORM=offscreen curves_screenshots docs

#include <QApplication>
#include <QPixmap>
#include <QTest>

#include <cstdio>
#include <string>

#include "app/calculator_screen.h"
#include "app/curves_window.h"
#include "catalogue/catalogue.h"
#include "platform/qt/qt_keyboard_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/user_actions.h"

namespace {

using namespace quarvell;

// A value typed into a field and the field left, as the user does with Enter.
void Enter(window::FrmFit& w, platform::TextBox& field, const char* text) {
    w.focus().setFocus(field);
    field.setText(text);
    w.focus().setFocus(w.cmdQuit);
}

int TypePosition(const window::FrmFit& w, std::string_view code) {
    const auto& items = w.cmbType.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (catalogue::FirstWord(items[i]) == code) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Grab(app::CurvesWindow& curves, const QString& path) {
    QTest::qWait(300);  // laid out and painted
    if (!curves.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("wrote %s\n", path.toLocal8Bit().constData());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    app::installAppIcon();
    platform::qt::QtKeyboardPort keyboard;
    platform::qt::QtServices services(keyboard);
    platform::qt::UserActions actions(services);
    window::FrmFit w(services);
    app::CalculatorScreen screen(w, actions);
    actions.run([&] { w.Form_Load(); });

    // 10.1f, 10 uF, 10 V at 5 V, 50 degC, level M, G(B).
    actions.run([&] {
        Enter(w, w.txtCap, "10");
        Enter(w, w.txtVolt, "10");
        w.cmbFR.select(8);
        w.mnuCurves.click();
    });
    app::CurvesWindow& curves = screen.curves();
    if (!Grab(curves, out + QStringLiteral("/curves-worked-example.png"))) {
        return 1;
    }

    // 10.1j rated +125 degC, 10 V at 8 V, at 110 degC: 5 degC past the onset of its derating.
    actions.run([&] {
        w.cmbType.select(TypePosition(w, "10.1j"));
        w.cmbRating.select(2);
        Enter(w, w.txtApp, "8");
        Enter(w, w.txtTemp, "110");
    });
    return Grab(curves, out + QStringLiteral("/curves-10.1j-derating.png")) ? 0 : 1;
}
