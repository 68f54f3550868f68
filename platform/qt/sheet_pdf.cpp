#include "platform/qt/sheet_pdf.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include <algorithm>

#include "analysis/sheet_render.h"
#include "platform/qt/sheet_paint.h"

namespace quarvell::platform::qt {

namespace {

constexpr double kMarginMillimetres = 15;
constexpr int kLayoutPasses = 4;
constexpr double kLayoutDpi = 96;
constexpr double kPointsPerInch = 72;
constexpr double kInchesPerMetre = 0.0254;

}  // namespace

QPageSize SheetPageSize(const QLocale& locale) {
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

QPageLayout SheetPageLayout(const QLocale& locale) {
    return QPageLayout(
        SheetPageSize(locale), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
}

bool PaintSheet(const analysis::Sheet& sheet, QPagedPaintDevice& device, QString& error) {
    const QRectF page = device.pageLayout().paintRect(QPageLayout::Point);

    // Laid out at the screen's usual resolution, whatever the device's: pixel sizes of the
    // HTML (borders, cell padding) keep their look on a printer of 1200 dpi.
    QImage layoutDevice(1, 1, QImage::Format_RGB32);
    layoutDevice.setDotsPerMeterX(qRound(kLayoutDpi / kInchesPerMetre));
    layoutDevice.setDotsPerMeterY(qRound(kLayoutDpi / kInchesPerMetre));
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&layoutDevice);
    document.setDocumentMargin(0);
    document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 9));
    document.setHtml(QString::fromStdString(analysis::Html(sheet)));
    const double width = page.width() * kLayoutDpi / kPointsPerInch;
    const double height = page.height() * kLayoutDpi / kPointsPerInch;
    // One page: a sheet that would run over is laid out wider and drawn smaller.
    double shrink = 1;
    for (int pass = 0; pass < kLayoutPasses; ++pass) {
        document.setTextWidth(width / shrink);
        const double drawn = document.size().height() * shrink;
        if (drawn <= height) {
            break;
        }
        shrink *= height / drawn;
    }

    QPainter painter;
    if (!painter.begin(&device)) {
        error = QStringLiteral("The page cannot be drawn on.");
        return false;
    }
    const double toDevice = device.logicalDpiX() / kLayoutDpi * shrink;
    painter.scale(toDevice, toDevice);
    document.drawContents(&painter);
    return painter.end();
}

bool WriteSheetPdf(const analysis::Sheet& sheet, const std::string& path, std::string& error) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        error = "no GUI application to draw the PDF with";
        return false;
    }
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    QString reason;
    bool drawn = false;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(
            QStringLiteral("Calculation sheet: %1").arg(QString::fromStdString(sheet.section)));
        pdf.setCreator(QStringLiteral("%1 %2").arg(QString::fromStdString(sheet.program),
                                                   QString::fromStdString(sheet.version)));
        pdf.setPageLayout(SheetPageLayout(QLocale::system()));
        drawn = PaintSheet(sheet, pdf, reason);
    }
    if (!drawn) {
        file.cancelWriting();
        error = reason.toStdString();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

GuiForPdf::GuiForPdf() {
    if (QCoreApplication::instance() == nullptr) {
        // The tool has no screen: Qt draws offscreen whatever the environment says.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
}

GuiForPdf::~GuiForPdf() = default;

}  // namespace quarvell::platform::qt
