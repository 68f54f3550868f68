// The Curves window on screen: opened from the Analysis menu, redrawn by every change in the
// calculator, saying what is missing without a result, exporting a picture, a drawing and the
// points, with exact values under the pointer and a help topic of its own.

#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QToolTip>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/curves_window.h"
#include "model/number_text.h"
#include "screen_fixture.h"

namespace quarvell::app {
namespace {

using analysis::Chart;

class CurvesTest : public ScreenTest {
  protected:
    CurvesWindow& curves() { return screen.curves(); }
    void openCurves() {
        backToMain();
        QTest::keyClick(screen.mainWindow(), Qt::Key_K, Qt::ControlModifier);
        ASSERT_TRUE(waitUntil([this] { return curves().isVisible(); }));
    }
    // The points of the chart's line series of that name, the pieces of a broken curve
    // together.
    QList<QPointF> plotted(Chart which, const QString& name) {
        QList<QPointF> points;
        for (QAbstractSeries* s : curves().chart(which)->series()) {
            if (s->name() == name && s->type() == QAbstractSeries::SeriesTypeLine &&
                s->isVisible()) {
                points += static_cast<QLineSeries*>(s)->points();
            }
        }
        return points;
    }
    QLabel* label(const char* name) { return curves().findChild<QLabel*>(name); }
    bool drawsNothing(Chart which) {
        const QList<QAbstractSeries*> series = curves().chart(which)->series();
        return std::none_of(series.begin(), series.end(),
                            [](const QAbstractSeries* s) { return s->isVisible(); });
    }
};

TEST_F(CurvesTest, CtrlKOpensTheWindowThatSaysWhatIsMissingUntilThereIsAResult) {
    openCurves();
    EXPECT_EQ(curves().windowTitle(), "Curves");
    EXPECT_FALSE(curves().isModal());
    EXPECT_TRUE(label("lblCurvesMissing")->isVisible());
    EXPECT_TRUE(label("lblCurvesMissing")
                    ->text()
                    .endsWith("The capacitance must be a number greater than 0."));
    EXPECT_FALSE(curves().findChild<QChartView*>("chtTemperature")->isVisible());
    EXPECT_TRUE(drawsNothing(Chart::Temperature));

    activateMain();
    typeWorkedExample();
    EXPECT_TRUE(curves().missingText().isEmpty());
    EXPECT_TRUE(curves().findChild<QChartView*>("chtTemperature")->isVisible());
    EXPECT_FALSE(label("lblCurvesMissing")->isVisible());
}

TEST_F(CurvesTest, EveryChangeInTheCalculatorRedrawsTheEnginesCurves) {
    typeWorkedExample();
    openCurves();
    const auto expectPlotted = [this](const char* ownName, const char* otherName) {
        const analysis::Curves expected = analysis::ComputeCurves(window.evaluation());
        const std::size_t own = expected.notice() == model::Notice::One ? 0 : 1;
        for (Chart which : {Chart::Temperature, Chart::Voltage}) {
            const auto& points =
                (which == Chart::Temperature ? expected.temperature : expected.voltage).points;
            const QList<QPointF> solid = plotted(which, ownName);
            const QList<QPointF> dashed = plotted(which, otherName);
            ASSERT_EQ(solid.size(), 400);
            ASSERT_EQ(dashed.size(), 400);
            for (int i : {0, 123, 399}) {
                const auto& p = points[static_cast<std::size_t>(i)];
                EXPECT_EQ(solid[i], QPointF(p.x, *p.fit[own]));
                EXPECT_EQ(dashed[i], QPointF(p.x, *p.fit[1 - own]));
            }
        }
    };
    expectPlotted("Notice 2 (10.1f)", "Notice 1 (10.12), stand-in");
    EXPECT_TRUE(curves().summary().contains("The Notice 1 curve is a stand-in"));

    // A scroll of the temperature bar, then the Notice switch.
    qobject_cast<QScrollBar*>(widgetOf(window.hscTemp))->setValue(80);
    EXPECT_EQ(curves().curves().own.part.temperature, 80);
    EXPECT_TRUE(curves().chart(Chart::Voltage)->title().endsWith("at 80 \u00B0C"));
    expectPlotted("Notice 2 (10.1f)", "Notice 1 (10.12), stand-in");
    actions.run([this] { window.optNotice1.choose(); });
    EXPECT_EQ(curves().curves().notice(), model::Notice::One);
    expectPlotted("Notice 1 (10.12)", "Notice 2 (10.1e), stand-in");

    // A life test without its data: no result, no curves.
    actions.run([this] { window.cmbFR.select(model::kLifeTestLevel); });
    EXPECT_EQ(curves().missingText(), "Life test incomplete: enter hours, pieces and failures.");
    EXPECT_TRUE(drawsNothing(Chart::Voltage));
    EXPECT_FALSE(label("lblCurvesSummary")->isVisible());
}

TEST_F(CurvesTest, ThePointerShowsTheNearestPointsExactValues) {
    typeWorkedExample();
    openCurves();
    const analysis::CurvePoint& p = curves().curves().voltage.points[200];
    const auto text = [](float v) { return QString::fromStdString(model::GeneralText(v, {})); };
    const QString expected = QStringLiteral(
                                 "%1 V\nNotice 2 (10.1f): %2 FIT\n"
                                 "Notice 1 (10.12): %3 FIT\nS = %4")
                                 .arg(text(p.x), text(*p.fit[1]), text(*p.fit[0]), text(*p.stress));
    EXPECT_EQ(curves().hoverText(Chart::Voltage, p.x + 0.001), expected);

    auto* view = curves().findChild<QChartView*>("chtVoltage");
    QChart* chart = view->chart();
    const QPointF inChart = chart->mapToPosition(QPointF(p.x, *p.fit[1]), chart->series().front());
    const QPoint at = view->mapFromScene(chart->mapToScene(inChart));
    // The pointer moved over the plot (the offscreen platform moves no cursor of its own).
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    ASSERT_TRUE(waitUntil([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), expected);
}

TEST_F(CurvesTest, ExportsAPictureAWellFormedDrawingAndThePoints) {
    typeWorkedExample();
    openCurves();
    const QTemporaryDir dir;
    const QString png = dir.filePath("curves.png");
    const QString svg = dir.filePath("curves.svg");
    const QString csv = dir.filePath("curves.csv");
    EXPECT_EQ(curves().exportPng(png), "");
    EXPECT_EQ(curves().exportSvg(svg), "");
    EXPECT_EQ(curves().exportCsv(csv), "");

    const QImage image(png);
    EXPECT_GT(image.width(), 700);
    EXPECT_GT(image.height(), 600);

    QFile drawing(svg);
    ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&drawing);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("svg"));
    bool hasTitle = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters() &&
            xml.text().contains(QStringLiteral("FIT against applied voltage"))) {
            hasTitle = true;  // the charts' texts stay text
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(hasTitle);
    EXPECT_TRUE(QSvgRenderer(svg).isValid());

    QFile points(csv);
    ASSERT_TRUE(points.open(QIODevice::ReadOnly));
    EXPECT_EQ(points.readAll().toStdString(), analysis::CurvesCsv(curves().curves()));

    // A folder that does not exist: the reason, and no file.
    const QString nowhere = dir.filePath("missing/curves.csv");
    EXPECT_FALSE(curves().exportCsv(nowhere).isEmpty());
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST_F(CurvesTest, F1OpensTheCurvesTopic) {
    openCurves();
    QApplication::setActiveWindow(&curves());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&curves()));
    QTest::keyClick(&curves(), Qt::Key_F1);
    ASSERT_NE(services.helpWindow(), nullptr);
    EXPECT_EQ(services.helpWindow()->currentPage(), ":/help/1800.html");
}

}  // namespace
}  // namespace quarvell::app
