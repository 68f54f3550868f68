#include "app/curves_window.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QShortcut>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/number_text.h"
#include "platform/services.h"
#include "window/frm_fit.h"

namespace quarvell::app {

using analysis::Chart;
using analysis::Curve;
using analysis::CurvePoint;

namespace {

const QColor kOwnColour(0x1f, 0x5f, 0xbf);
const QColor kOtherColour(0xd9, 0x6a, 0x00);
const QColor kStressColour(0x70, 0x70, 0x70);
const QColor kRatingShade(0xd0, 0x30, 0x30, 45);
const QColor kLimitShade(0xf0, 0xa0, 0x00, 60);
const QColor kDeratedShade(0xd0, 0x30, 0x30, 35);
const QColor kDeratingColour(0x80, 0x30, 0xa0);
const QColor kMarkerColour(0xb0, 0x10, 0x10);

// The FIT axis holds at most this many labelled powers; beyond, a label every few decades.
constexpr int kMostLabels = 12;

const QString kDegrees = QStringLiteral("\u00B0C");

QString NoticeName(model::Notice n) {
    return n == model::Notice::One ? QStringLiteral("Notice 1") : QStringLiteral("Notice 2");
}

std::size_t Column(model::Notice n) {
    return n == model::Notice::One ? 0 : 1;
}

model::Notice OtherNotice(model::Notice n) {
    return n == model::Notice::One ? model::Notice::Two : model::Notice::One;
}

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Whole powers of the axis base around the FIT values, so that there are labels at both
// ends whatever the span.
struct LogRange {
    double low = 0.1;
    double high = 10;
    double base = 10;
};

LogRange FitRange(double lowest, double highest) {
    // A curve never runs along the frame: a twentieth of a decade to spare at either end.
    int low = static_cast<int>(std::floor(std::log10(lowest) - 0.05));
    int high = static_cast<int>(std::ceil(std::log10(highest) + 0.05));
    if (high <= low) {
        high = low + 1;
    }
    const int step = std::max(1, (high - low + kMostLabels - 1) / kMostLabels);
    const auto floorTo = [step](int v) {
        return v >= 0 ? v / step * step : -((-v + step - 1) / step * step);
    };
    low = floorTo(low);
    high = -floorTo(-high);
    // A hair below the lowest power, so that the axis labels that one too.
    return {std::pow(10.0, low) * 0.9999, std::pow(10.0, high), std::pow(10.0, step)};
}

// A tick interval of 1, 2 or 5 times a power of ten that gives about `ticks` intervals.
double NiceInterval(double span, int ticks) {
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw) {
            return m * power;
        }
    }
    return 10 * power;
}

QLineSeries* AddLine(QChart* chart, const QList<QPointF>& points, const QString& name,
                     const QPen& pen, QAbstractAxis* x, QAbstractAxis* y, bool inLegend) {
    auto* s = new QLineSeries;
    s->setName(name);
    s->setPen(pen);
    s->replace(points);
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    if (!inLegend) {
        for (QLegendMarker* m : chart->legend()->markers(s)) {
            m->setVisible(false);
        }
    }
    return s;
}

void AddShade(QChart* chart, double from, double to, const LogRange& range, const QColor& colour,
              const QString& name, QAbstractAxis* x, QAbstractAxis* y) {
    auto* upper = new QLineSeries;
    upper->append(from, range.high);
    upper->append(to, range.high);
    auto* lower = new QLineSeries;
    lower->append(from, range.low);
    lower->append(to, range.low);
    auto* area = new QAreaSeries(upper, lower);
    area->setName(name);
    area->setPen(Qt::NoPen);
    area->setBrush(colour);
    chart->addSeries(area);
    area->attachAxis(x);
    area->attachAxis(y);
}

void AddVertical(QChart* chart, double at, const LogRange& range, const QPen& pen,
                 const QString& name, QAbstractAxis* x, QAbstractAxis* y) {
    AddLine(chart, {{at, range.low}, {at, range.high}}, name, pen, x, y, true);
}

void AddPoint(QChart* chart, double x, double fit, const QColor& fill, const QColor& edge,
              const QString& name, QAbstractAxis* xAxis, QAbstractAxis* yAxis, bool inLegend) {
    auto* s = new QScatterSeries;
    s->setName(name);
    s->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    s->setMarkerSize(11);
    s->setColor(fill);
    s->setBorderColor(edge);
    s->append(x, fit);
    chart->addSeries(s);
    s->attachAxis(xAxis);
    s->attachAxis(yAxis);
    if (!inLegend) {
        for (QLegendMarker* m : chart->legend()->markers(s)) {
            m->setVisible(false);
        }
    }
}

QChart* NewChart(const QString& xTitle) {
    auto* chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale::system());
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* x = new QValueAxis;
    x->setTitleText(xTitle);
    x->setLabelFormat(QStringLiteral("%.6g"));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    chart->addAxis(x, Qt::AlignBottom);
    auto* y = new QLogValueAxis;
    y->setTitleText(QStringLiteral("FIT (failures per 10\u2079 h)"));
    y->setLabelFormat(QStringLiteral("%.6g"));
    y->setMinorGridLinePen(QPen(QColor(0xe8, 0xe8, 0xe8), 1));
    chart->addAxis(y, Qt::AlignLeft);
    return chart;
}

}  // namespace

// A chart view that shows the exact values of the nearest point under the pointer.
class CurveView : public QChartView {
  public:
    CurveView(QChart* chart, const CurvesWindow& window, Chart which)
        : QChartView(chart), window_(window), which_(which) {
        setRenderHint(QPainter::Antialiasing);
        setMouseTracking(true);
        viewport()->setMouseTracking(true);
        setMinimumSize(760, 330);
    }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
        const QString text = chart()->plotArea().contains(at) && !chart()->series().isEmpty()
                                 ? window_.hoverText(which_, chart()->mapToValue(at).x())
                                 : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(event->globalPosition().toPoint(), text, this);
        }
    }

  private:
    const CurvesWindow& window_;
    Chart which_;
};

CurvesWindow::CurvesWindow(window::FrmFit& calculator, platform::Services& services, QWidget* owner)
    : QWidget(owner, Qt::Window),
      calculator_(calculator),
      services_(services),
      pages_(new QStackedWidget(this)),
      chartsPage_(new QWidget),
      summary_(new QLabel),
      missing_(new QLabel),
      temperatureView_(
          new CurveView(NewChart(QStringLiteral("Application temperature (%1)").arg(kDegrees)),
                        *this, Chart::Temperature)),
      voltageView_(
          new CurveView(NewChart(QStringLiteral("Applied voltage (V)")), *this, Chart::Voltage)),
      png_(new QPushButton(QStringLiteral("Export &PNG..."))),
      svg_(new QPushButton(QStringLiteral("Export &SVG..."))),
      csv_(new QPushButton(QStringLiteral("Export &CSV..."))) {
    setObjectName(QStringLiteral("frmCurves"));
    setWindowTitle(QStringLiteral("Curves"));
    setAccessibleName(windowTitle());

    summary_->setObjectName(QStringLiteral("lblCurvesSummary"));
    summary_->setWordWrap(true);
    summary_->setTextFormat(Qt::PlainText);
    temperatureView_->setObjectName(QStringLiteral("chtTemperature"));
    temperatureView_->setAccessibleName(QStringLiteral("FIT against application temperature"));
    voltageView_->setObjectName(QStringLiteral("chtVoltage"));
    voltageView_->setAccessibleName(QStringLiteral("FIT against applied voltage"));
    auto* charts = new QVBoxLayout(chartsPage_);
    charts->setContentsMargins(0, 0, 0, 0);
    charts->addWidget(summary_);
    charts->addWidget(temperatureView_, 1);
    charts->addWidget(voltageView_, 1);

    missing_->setObjectName(QStringLiteral("lblCurvesMissing"));
    missing_->setWordWrap(true);
    missing_->setAlignment(Qt::AlignCenter);
    missing_->setTextFormat(Qt::PlainText);
    QFont big = missing_->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    missing_->setFont(big);
    pages_->addWidget(chartsPage_);
    pages_->addWidget(missing_);

    auto* help = new QPushButton(QStringLiteral("&Help"));
    auto* close = new QPushButton(QStringLiteral("Cl&ose"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {png_, svg_, csv_}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    connect(png_, &QPushButton::clicked, this, [this] {
        exportWith(QStringLiteral("PNG"), QStringLiteral("PNG images (*.png)"),
                   QStringLiteral("png"), &CurvesWindow::exportPng);
    });
    connect(svg_, &QPushButton::clicked, this, [this] {
        exportWith(QStringLiteral("SVG"), QStringLiteral("SVG drawings (*.svg)"),
                   QStringLiteral("svg"), &CurvesWindow::exportSvg);
    });
    connect(csv_, &QPushButton::clicked, this, [this] {
        exportWith(QStringLiteral("CSV"), QStringLiteral("CSV files (*.csv)"),
                   QStringLiteral("csv"), &CurvesWindow::exportCsv);
    });
    const auto showHelp = [this] { services_.showHelp(kCurvesHelpContext); };
    connect(help, &QPushButton::clicked, this, showHelp);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, showHelp);

    // Told of every recalculation; a window already gone is told nothing.
    calculator_.onRecalculated.push_back([window = QPointer<CurvesWindow>(this)] {
        if (window != nullptr && window->isVisible()) {
            window->refresh();
        }
    });
    resize(1000, 900);
}

CurvesWindow::~CurvesWindow() = default;

void CurvesWindow::open() {
    // Shown, it is drawn (showEvent); while shown, it has followed every recalculation.
    show();
    raise();
    activateWindow();
}

void CurvesWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

QChart* CurvesWindow::chart(Chart which) const {
    return (which == Chart::Temperature ? temperatureView_ : voltageView_)->chart();
}

QString CurvesWindow::number(float value) const {
    return QString::fromStdString(model::GeneralText(value, locale_));
}

void CurvesWindow::refresh() {
    locale_ = services_.numberLocale();
    curves_ = analysis::ComputeCurves(calculator_.evaluation());
    const bool usable = curves_.usable();
    for (QPushButton* b : {png_, svg_, csv_}) {
        b->setEnabled(usable);
    }
    if (!usable) {
        for (Chart which : {Chart::Temperature, Chart::Voltage}) {
            chart(which)->removeAllSeries();
        }
        missing_->setText(QStringLiteral("No curves: the calculator has no result to draw.\n\n") +
                          missingText());
        pages_->setCurrentWidget(missing_);
        return;
    }
    missing_->clear();
    summary_->setText(summary());
    draw(Chart::Temperature);
    draw(Chart::Voltage);
    pages_->setCurrentWidget(chartsPage_);
}

QString CurvesWindow::missingText() const {
    return Text(curves_.missing);
}

QString CurvesWindow::summary() const {
    if (!curves_.usable()) {
        return {};
    }
    const model::Part& own = curves_.own.part;
    const model::Part& other = curves_.other.part;
    const model::Notice n = curves_.notice();
    const model::Notice o = OtherNotice(n);
    QStringList lines;
    lines << QStringLiteral("%1 under %2 (solid), beside %3 under %4 (dashed).")
                 .arg(Text(own.type->entry), NoticeName(n), Text(other.type->entry), NoticeName(o));
    if (curves_.standIn != nullptr) {
        lines << QStringLiteral("The %1 curve is a stand-in: %2 %3")
                     .arg(NoticeName(o), Text(curves_.standIn->title), Text(curves_.standIn->text));
    }
    QString at = QStringLiteral("At the operating point (%1 %2, %3 V): %4 FIT under %5")
                     .arg(number(own.temperature), kDegrees, number(own.appliedVoltage),
                          number(*curves_.operatingFit(n)), NoticeName(n));
    if (const auto fit = curves_.operatingFit(o)) {
        at += QStringLiteral(", %1 FIT under %2").arg(number(*fit), NoticeName(o));
    } else {
        at +=
            QStringLiteral("; no FIT under %1: %2").arg(NoticeName(o), Text(curves_.otherMissing));
    }
    if (curves_.ratio) {
        at += QStringLiteral("; Notice 2 / Notice 1 = %1").arg(number(*curves_.ratio));
    }
    lines << at + QLatin1Char('.');
    QStringList outside;
    if (own.temperature < curves_.temperature.from || own.temperature > curves_.temperature.to) {
        outside << QStringLiteral("temperature");
    }
    if (own.appliedVoltage > curves_.voltage.to) {
        outside << QStringLiteral("voltage");
    }
    if (!outside.isEmpty()) {
        lines << QStringLiteral("The operating point lies beyond the %1 chart.")
                     .arg(outside.join(QStringLiteral(" and the ")));
    }
    return lines.join(QLatin1Char('\n'));
}

QString CurvesWindow::hoverText(Chart which, double x) const {
    if (!curves_.usable()) {
        return {};
    }
    const Curve& curve = which == Chart::Temperature ? curves_.temperature : curves_.voltage;
    const double span = static_cast<double>(curve.to) - curve.from;
    const double at = span > 0 ? (x - curve.from) / span * (analysis::kCurvePoints - 1) : 0;
    const auto i = static_cast<std::size_t>(
        std::clamp(std::lround(at), 0L, static_cast<long>(analysis::kCurvePoints - 1)));
    const CurvePoint& p = curve.points[i];
    QStringList lines;
    lines << (which == Chart::Temperature ? number(p.x) + QLatin1Char(' ') + kDegrees
                                          : number(p.x) + QStringLiteral(" V"));
    const model::Notice n = curves_.notice();
    for (model::Notice notice : {n, OtherNotice(n)}) {
        const auto& fit = p.fit[Column(notice)];
        const model::Part& part = notice == n ? curves_.own.part : curves_.other.part;
        lines << QStringLiteral("%1 (%2): %3")
                     .arg(NoticeName(notice), Text(part.type->code),
                          fit ? number(*fit) + QStringLiteral(" FIT") : QStringLiteral("no FIT"));
    }
    if (p.stress) {
        lines << QStringLiteral("S = %1").arg(number(*p.stress));
    }
    return lines.join(QLatin1Char('\n'));
}

void CurvesWindow::draw(Chart which) {
    QChart* c = chart(which);
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes(Qt::Vertical)) {
        if (axis->alignment() == Qt::AlignRight) {
            c->removeAxis(axis);
            delete axis;
        }
    }
    const bool temperature = which == Chart::Temperature;
    const Curve& curve = temperature ? curves_.temperature : curves_.voltage;
    const model::Part& own = curves_.own.part;
    const model::Notice n = curves_.notice();
    const model::Notice o = OtherNotice(n);
    c->setTitle(temperature ? QStringLiteral("FIT against application temperature, at %1 V")
                                  .arg(number(own.appliedVoltage))
                            : QStringLiteral("FIT against applied voltage, at %1 %2")
                                  .arg(number(own.temperature), kDegrees));

    double lowest = std::numeric_limits<double>::max();
    double highest = 0;
    for (const CurvePoint& p : curve.points) {
        for (const auto& fit : p.fit) {
            if (fit) {
                lowest = std::min(lowest, static_cast<double>(*fit));
                highest = std::max(highest, static_cast<double>(*fit));
            }
        }
    }
    const LogRange range = highest > 0 ? FitRange(lowest, highest) : LogRange{};
    auto* x = qobject_cast<QValueAxis*>(c->axes(Qt::Horizontal).front());
    auto* y = qobject_cast<QLogValueAxis*>(c->axes(Qt::Vertical).front());
    x->setRange(curve.from, curve.to);
    x->setTickInterval(NiceInterval(static_cast<double>(curve.to) - curve.from, 10));
    y->setBase(range.base);
    y->setRange(range.low, range.high);
    y->setMinorTickCount(range.base == 10 ? 8 : 0);

    // Shading first, so that the curves are drawn over it.
    if (temperature) {
        AddShade(c, curves_.rating, curve.to, range, kRatingShade,
                 QStringLiteral("above the rating (%1 %2)").arg(curves_.rating).arg(kDegrees), x,
                 y);
        if (curves_.limit && *curves_.limit < curve.to) {
            AddShade(c, std::max<double>(*curves_.limit, curve.from), curve.to, range, kLimitShade,
                     QStringLiteral("above the over-temperature limit (%1 %2)")
                         .arg(*curves_.limit)
                         .arg(kDegrees),
                     x, y);
        }
    } else if (curves_.deratedVoltage) {
        AddShade(
            c, *curves_.deratedVoltage, curve.to, range, kDeratedShade,
            QStringLiteral("above the derated rating (%1 V)").arg(number(*curves_.deratedVoltage)),
            x, y);
    }

    for (model::Notice notice : {o, n}) {
        const bool mine = notice == n;
        QPen pen(mine ? kOwnColour : kOtherColour, mine ? 2.5 : 2.0);
        if (!mine) {
            pen.setStyle(Qt::DashLine);
        }
        const model::Part& part = mine ? own : curves_.other.part;
        QString name = QStringLiteral("%1 (%2)").arg(NoticeName(notice), Text(part.type->code));
        if (!mine && curves_.standIn != nullptr) {
            name += QStringLiteral(", stand-in");
        }
        // A run of points without a FIT breaks the curve.
        QList<QPointF> run;
        bool first = true;
        const auto flush = [&] {
            if (!run.isEmpty()) {
                AddLine(c, run, name, pen, x, y, first);
                first = false;
                run.clear();
            }
        };
        for (const CurvePoint& p : curve.points) {
            if (const auto& fit = p.fit[Column(notice)]) {
                run.append({p.x, *fit});
            } else {
                flush();
            }
        }
        flush();
    }

    const double derateAbove = curves_.derateAbove.value_or(0);
    if (temperature && curves_.derateAbove && derateAbove > curve.from && derateAbove < curve.to) {
        AddVertical(c, *curves_.derateAbove, range, QPen(kDeratingColour, 1.5, Qt::DotLine),
                    QStringLiteral("derating from %1 %2").arg(*curves_.derateAbove).arg(kDegrees),
                    x, y);
    }
    if (!temperature && curves_.deratedVoltage) {
        AddVertical(c, *curves_.deratedVoltage, range, QPen(kMarkerColour, 1.5, Qt::DashLine),
                    QStringLiteral("derated rating %1 V").arg(number(*curves_.deratedVoltage)), x,
                    y);
    }

    if (!temperature) {
        auto* s = new QValueAxis;
        s->setTitleText(QStringLiteral("Stress S"));
        s->setLabelFormat(QStringLiteral("%.6g"));
        c->addAxis(s, Qt::AlignRight);
        QList<QPointF> points;
        float most = 0;
        for (const CurvePoint& p : curve.points) {
            if (p.stress) {
                points.append({p.x, *p.stress});
                most = std::max(most, *p.stress);
            }
        }
        s->setRange(0, most > 0 ? most : 1);
        s->applyNiceNumbers();
        AddLine(c, points, QStringLiteral("S (right axis)"),
                QPen(kStressColour, 1.5, Qt::DashDotLine), x, s, true);
    }

    const float ownX = temperature ? own.temperature : own.appliedVoltage;
    if (ownX >= curve.from && ownX <= curve.to) {
        AddPoint(c, ownX, *curves_.operatingFit(n), kOwnColour, Qt::black,
                 QStringLiteral("operating point"), x, y, true);
        if (const auto fit = curves_.operatingFit(o)) {
            AddPoint(c, ownX, *fit, Qt::white, kOtherColour, QString(), x, y, false);
        }
    }
}

void CurvesWindow::exportWith(const QString& what, const QString& filter, const QString& suffix,
                              QString (CurvesWindow::*write)(const QString&) const) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Export the curves as %1").arg(what),
                                     folder + QStringLiteral("/curves.") + suffix, filter);
    if (path.isEmpty()) {
        return;
    }
    if (!path.contains(QLatin1Char('.'))) {
        path += QLatin1Char('.') + suffix;
    }
    const QString error = (this->*write)(path);
    if (!error.isEmpty()) {
        QMessageBox::warning(
            this, QStringLiteral("Not Exported"),
            QStringLiteral("The curves could not be saved as %1:\n%2").arg(path, error));
    }
}

namespace {

QString Unusable() {
    return QStringLiteral("there are no curves to export");
}

}  // namespace

QString CurvesWindow::exportPng(const QString& path) const {
    if (!curves_.usable()) {
        return Unusable();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const QImage image = chartsPage_->grab().toImage();
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return file.errorString().isEmpty() ? QStringLiteral("the picture could not be written")
                                            : file.errorString();
    }
    return file.commit() ? QString() : file.errorString();
}

QString CurvesWindow::exportSvg(const QString& path) const {
    if (!curves_.usable()) {
        return Unusable();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(chartsPage_->size());
    svg.setViewBox(chartsPage_->rect());
    svg.setTitle(QStringLiteral("Curves"));
    svg.setDescription(summary());
    QPainter painter;
    if (!painter.begin(&svg)) {
        file.cancelWriting();
        return QStringLiteral("the drawing could not be started");
    }
    chartsPage_->render(&painter);
    painter.end();
    return file.commit() ? QString() : file.errorString();
}

QString CurvesWindow::exportCsv(const QString& path) const {
    if (!curves_.usable()) {
        return Unusable();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const std::string csv = analysis::CurvesCsv(curves_);
    if (file.write(csv.data(), static_cast<qint64>(csv.size())) !=
        static_cast<qint64>(csv.size())) {
        file.cancelWriting();
        return file.errorString();
    }
    return file.commit() ? QString() : file.errorString();
}

}  // namespace quarvell::app
