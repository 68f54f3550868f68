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
#include <QPointer>
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
#include <initializer_list>
#include <limits>
#include <vector>

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

void Attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// Shows or hides a series, and its entry in the legend with it.
void Show(QChart* chart, QAbstractSeries* series, bool visible, bool inLegend = true) {
    series->setVisible(visible);
    for (QLegendMarker* m : chart->legend()->markers(series)) {
        m->setVisible(visible && inLegend);
    }
}

QAreaSeries* NewShade(const QColor& colour) {
    auto* area = new QAreaSeries(new QLineSeries, new QLineSeries);
    area->upperSeries()->setParent(area);
    area->lowerSeries()->setParent(area);
    area->setPen(Qt::NoPen);
    area->setBrush(colour);
    return area;
}

void Span(QAreaSeries* shade, double from, double to, const LogRange& range) {
    shade->upperSeries()->replace({{from, range.high}, {to, range.high}});
    shade->lowerSeries()->replace({{from, range.low}, {to, range.low}});
}

QLineSeries* NewLine(const QPen& pen) {
    auto* s = new QLineSeries;
    s->setPen(pen);
    return s;
}

QScatterSeries* NewPoint(const QColor& fill, const QColor& edge) {
    auto* s = new QScatterSeries;
    s->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    s->setMarkerSize(11);
    s->setColor(fill);
    s->setBorderColor(edge);
    return s;
}

QPen CurvePen(bool own) {
    QPen pen(own ? kOwnColour : kOtherColour, own ? 2.5 : 2.0);
    if (!own) {
        pen.setStyle(Qt::DashLine);
    }
    return pen;
}

}  // namespace

// One chart in its view. The series are made once and their data replaced at each drawing,
// in the order they are drawn: shading under the curves, markers over them. The view shows
// the exact values of the nearest point under the pointer.
class CurveView : public QChartView {
    // Declared first: the members below depend on which chart this is.
    const CurvesWindow& window_;
    Chart which_;

  public:
    CurveView(const QString& xTitle, const CurvesWindow& window, Chart which)
        : QChartView(new QChart), window_(window), which_(which) {
        setRenderHint(QPainter::Antialiasing);
        setMouseTracking(true);
        viewport()->setMouseTracking(true);
        setMinimumSize(760, 330);
        QChart* c = chart();
        c->setLocalizeNumbers(true);
        c->setLocale(QLocale::system());
        c->legend()->setAlignment(Qt::AlignBottom);
        c->setMargins(QMargins(4, 4, 4, 4));
        x->setTitleText(xTitle);
        x->setLabelFormat(QStringLiteral("%.6g"));
        x->setTickType(QValueAxis::TicksDynamic);
        x->setTickAnchor(0);
        c->addAxis(x, Qt::AlignBottom);
        y->setTitleText(QStringLiteral("FIT (failures per 10\u2079 h)"));
        y->setLabelFormat(QStringLiteral("%.6g"));
        y->setMinorGridLinePen(QPen(QColor(0xe8, 0xe8, 0xe8), 1));
        c->addAxis(y, Qt::AlignLeft);
        if (which == Chart::Voltage) {
            stressAxis->setTitleText(QStringLiteral("Stress S"));
            stressAxis->setLabelFormat(QStringLiteral("%.6g"));
            c->addAxis(stressAxis, Qt::AlignRight);
        }
        for (QAbstractSeries* series :
             std::initializer_list<QAbstractSeries*>{shade, limitShade, other, own, marker}) {
            Attach(c, series, x, y);
        }
        if (which == Chart::Voltage) {
            stress->setName(QStringLiteral("S (right axis)"));
            Attach(c, stress, x, stressAxis);
        }
        ownPoint->setName(QStringLiteral("operating point"));
        Attach(c, ownPoint, x, y);
        Attach(c, otherPoint, x, y);
        clear();
    }

    // Nothing drawn.
    void clear() {
        for (QAbstractSeries* s : chart()->series()) {
            Show(chart(), s, false);
        }
        if (stressAxis != nullptr) {
            stressAxis->setVisible(false);
        }
        removePieces();
    }

    // A curve's points: the first run in `line`, any further run (after points without a
    // FIT) in a piece of its own.
    void plot(QLineSeries* line, const std::vector<QList<QPointF>>& runs) {
        line->replace(runs.empty() ? QList<QPointF>() : runs.front());
        Show(chart(), line, !runs.empty());
        for (std::size_t i = 1; i < runs.size(); ++i) {
            QLineSeries* piece = NewLine(line->pen());
            piece->setName(line->name());
            piece->replace(runs[i]);
            Attach(chart(), piece, x, y);
            Show(chart(), piece, true, false);
            pieces_.push_back(piece);
        }
    }

    void removePieces() {
        for (QLineSeries* piece : pieces_) {
            chart()->removeSeries(piece);
            delete piece;
        }
        pieces_.clear();
    }

    QValueAxis* x = new QValueAxis;
    QLogValueAxis* y = new QLogValueAxis;
    // The voltage chart's S on its right axis.
    QValueAxis* stressAxis = which_ == Chart::Voltage ? new QValueAxis : nullptr;
    QAreaSeries* shade = NewShade(which_ == Chart::Temperature ? kRatingShade : kDeratedShade);
    QAreaSeries* limitShade = NewShade(kLimitShade);
    QLineSeries* other = NewLine(CurvePen(false));
    QLineSeries* own = NewLine(CurvePen(true));
    QLineSeries* marker =
        NewLine(which_ == Chart::Temperature ? QPen(kDeratingColour, 1.5, Qt::DotLine)
                                             : QPen(kMarkerColour, 1.5, Qt::DashLine));
    QLineSeries* stress =
        which_ == Chart::Voltage ? NewLine(QPen(kStressColour, 1.5, Qt::DashDotLine)) : nullptr;
    QScatterSeries* ownPoint = NewPoint(kOwnColour, Qt::black);
    QScatterSeries* otherPoint = NewPoint(Qt::white, kOtherColour);

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
        const QString text = chart()->plotArea().contains(at)
                                 ? window_.hoverText(which_, chart()->mapToValue(at, own).x())
                                 : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(event->globalPosition().toPoint(), text, this);
        }
    }

  private:
    std::vector<QLineSeries*> pieces_;
};

CurvesWindow::CurvesWindow(window::FrmFit& calculator, platform::Services& services, QWidget* owner)
    : QWidget(owner, Qt::Window),
      calculator_(calculator),
      services_(services),
      pages_(new QStackedWidget(this)),
      chartsPage_(new QWidget),
      summary_(new QLabel),
      missing_(new QLabel),
      temperatureView_(new CurveView(QStringLiteral("Application temperature (%1)").arg(kDegrees),
                                     *this, Chart::Temperature)),
      voltageView_(new CurveView(QStringLiteral("Applied voltage (V)"), *this, Chart::Voltage)),
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
        temperatureView_->clear();
        voltageView_->clear();
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
    const bool temperature = which == Chart::Temperature;
    CurveView& v = *(temperature ? temperatureView_ : voltageView_);
    QChart* c = v.chart();
    v.clear();
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
    v.x->setRange(curve.from, curve.to);
    v.x->setTickInterval(NiceInterval(static_cast<double>(curve.to) - curve.from, 10));
    v.y->setBase(range.base);
    v.y->setRange(range.low, range.high);
    v.y->setMinorTickCount(range.base == 10 ? 8 : 0);

    if (temperature) {
        Span(v.shade, curves_.rating, curve.to, range);
        v.shade->setName(
            QStringLiteral("above the rating (%1 %2)").arg(curves_.rating).arg(kDegrees));
        Show(c, v.shade, true);
        if (curves_.limit && *curves_.limit < curve.to) {
            Span(v.limitShade, std::max<double>(*curves_.limit, curve.from), curve.to, range);
            v.limitShade->setName(QStringLiteral("above the over-temperature limit (%1 %2)")
                                      .arg(*curves_.limit)
                                      .arg(kDegrees));
            Show(c, v.limitShade, true);
        }
    } else if (curves_.deratedVoltage) {
        Span(v.shade, *curves_.deratedVoltage, curve.to, range);
        v.shade->setName(
            QStringLiteral("above the derated rating (%1 V)").arg(number(*curves_.deratedVoltage)));
        Show(c, v.shade, true);
    }

    for (model::Notice notice : {o, n}) {
        const bool mine = notice == n;
        QLineSeries* line = mine ? v.own : v.other;
        const model::Part& part = mine ? own : curves_.other.part;
        QString name = QStringLiteral("%1 (%2)").arg(NoticeName(notice), Text(part.type->code));
        if (!mine && curves_.standIn != nullptr) {
            name += QStringLiteral(", stand-in");
        }
        line->setName(name);
        // A point without a FIT breaks the curve.
        std::vector<QList<QPointF>> runs(1);
        for (const CurvePoint& p : curve.points) {
            if (const auto& fit = p.fit[Column(notice)]) {
                runs.back().append({p.x, *fit});
            } else if (!runs.back().isEmpty()) {
                runs.emplace_back();
            }
        }
        if (runs.back().isEmpty()) {
            runs.pop_back();
        }
        v.plot(line, runs);
    }

    const double derateAbove = curves_.derateAbove.value_or(0);
    if (temperature && curves_.derateAbove && derateAbove > curve.from && derateAbove < curve.to) {
        v.marker->replace({{derateAbove, range.low}, {derateAbove, range.high}});
        v.marker->setName(
            QStringLiteral("derating from %1 %2").arg(*curves_.derateAbove).arg(kDegrees));
        Show(c, v.marker, true);
    }
    if (!temperature && curves_.deratedVoltage) {
        const double at = *curves_.deratedVoltage;
        v.marker->replace({{at, range.low}, {at, range.high}});
        v.marker->setName(
            QStringLiteral("derated rating %1 V").arg(number(*curves_.deratedVoltage)));
        Show(c, v.marker, true);
    }

    if (!temperature) {
        QList<QPointF> points;
        float most = 0;
        for (const CurvePoint& p : curve.points) {
            if (p.stress) {
                points.append({p.x, *p.stress});
                most = std::max(most, *p.stress);
            }
        }
        v.stressAxis->setRange(0, most > 0 ? most : 1);
        v.stressAxis->applyNiceNumbers();
        v.stressAxis->setVisible(true);
        v.stress->replace(points);
        Show(c, v.stress, true);
    }

    const float ownX = temperature ? own.temperature : own.appliedVoltage;
    if (ownX >= curve.from && ownX <= curve.to) {
        v.ownPoint->replace({{ownX, *curves_.operatingFit(n)}});
        Show(c, v.ownPoint, true);
        if (const auto fit = curves_.operatingFit(o)) {
            v.otherPoint->replace({{ownX, *fit}});
            Show(c, v.otherPoint, true, false);
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
