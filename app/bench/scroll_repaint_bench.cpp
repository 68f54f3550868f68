// Time from one step of the application-temperature scroll bar to the repainted window: the
// Change handler, the recalculation with every caption, the adapters' updates and a full
// synchronous repaint of the calculator, after the worked example has been entered. Prints
// the median and the 90th percentile in microseconds.

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/calculator_screen.h"
#include "platform/qt/form_binding.h"
#include "platform/qt/qt_keyboard_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/user_actions.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    quarvell::app::installAppIcon();
    quarvell::platform::qt::QtKeyboardPort keyboard;
    quarvell::platform::qt::QtServices services(keyboard);
    quarvell::platform::qt::UserActions actions(services);
    quarvell::window::FrmFit window(services);
    quarvell::app::CalculatorScreen screen(window, actions);

    // The worked example: 10.1f, 10 uF, 10 V, 5 V, 50 degrees C, level M.
    actions.run([&] {
        window.Form_Load();
        window.txtCap.setText("10");
        window.focus().setFocus(window.txtVolt);
        window.txtVolt.setText("10");
        window.focus().setFocus(window.hscTemp);
        window.cmbFR.select(8);
    });
    QApplication::processEvents();
    if (!window.txtFIT.visible()) {
        std::fprintf(stderr, "the worked example gave no result\n");
        return 1;
    }

    auto* bar = qobject_cast<QScrollBar*>(screen.main().widgetOf(window.hscTemp));
    QWidget* main = screen.mainWindow();
    constexpr int kWarmUp = 50;
    constexpr int kSteps = 1000;
    std::vector<double> micros;
    micros.reserve(kSteps);
    for (int i = 0; i < kWarmUp + kSteps; ++i) {
        const auto action = (i / 20) % 2 == 0 ? QAbstractSlider::SliderSingleStepAdd
                                              : QAbstractSlider::SliderSingleStepSub;
        const auto start = std::chrono::steady_clock::now();
        bar->triggerAction(action);
        main->repaint();
        const auto end = std::chrono::steady_clock::now();
        if (i >= kWarmUp) {
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    std::printf("step_to_repaint_median_us=%.1f step_to_repaint_p90_us=%.1f fit=\"%s\"\n",
                micros[micros.size() / 2], micros[micros.size() * 9 / 10],
                window.txtFIT.text().c_str());
    return 0;
}
