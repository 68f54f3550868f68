#pragma once
// The Curves window: how the FIT of the capacitor in the calculator moves with the application
// temperature and with the applied voltage, under its Notice (solid) and the other (dashed),
// drawn with Qt Charts from analysis::ComputeCurves. It is not modal and follows every
// recalculation of the calculator while it is shown; without a usable result it says what is
// missing instead of keeping old curves. It exports the charts as PNG and SVG and the points
// as CSV, and F1 opens its own help topic.

#include <QString>
#include <QWidget>

#include "analysis/curves.h"
#include "model/number_locale.h"

class QChart;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace quarvell::window {
class FrmFit;
}
namespace quarvell::platform {
class Services;
}

namespace quarvell::app {

// The help topic of the Curves window (app/help/1800.html).
inline constexpr int kCurvesHelpContext = 1800;

class CurveView;

class CurvesWindow : public QWidget {
  public:
    CurvesWindow(window::FrmFit& calculator, platform::Services& services,
                 QWidget* owner = nullptr);
    ~CurvesWindow() override;
    CurvesWindow(const CurvesWindow&) = delete;
    CurvesWindow& operator=(const CurvesWindow&) = delete;

    // Shows the window with the calculator's curves, or brings it to the front.
    void open();
    // Draws the calculator's last evaluation again.
    void refresh();

    const analysis::Curves& curves() const { return curves_; }
    QChart* chart(analysis::Chart which) const;
    // The part, the operating point and the ratio above the charts.
    QString summary() const;
    // What is shown instead of the charts without a usable result; empty with one.
    QString missingText() const;
    // What the pointer shows over x in a chart: the nearest point's exact values.
    QString hoverText(analysis::Chart which, double x) const;

    // Each writes the file whole or not at all: an empty text when written, else the reason.
    QString exportPng(const QString& path) const;
    QString exportSvg(const QString& path) const;
    QString exportCsv(const QString& path) const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void draw(analysis::Chart which);
    void exportWith(const QString& what, const QString& filter, const QString& suffix,
                    QString (CurvesWindow::*write)(const QString&) const);
    QString number(float value) const;

    window::FrmFit& calculator_;
    platform::Services& services_;
    model::NumberLocale locale_;
    analysis::Curves curves_;

    QStackedWidget* pages_;
    QWidget* chartsPage_;
    QLabel* summary_;
    QLabel* missing_;
    CurveView* temperatureView_;
    CurveView* voltageView_;
    QPushButton* png_;
    QPushButton* svg_;
    QPushButton* csv_;
};

}  // namespace quarvell::app
