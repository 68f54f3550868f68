#include "platform/qt/qt_printer.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

#include "platform/qt/widget_look.h"
#include "version.h"

namespace quarvell::platform::qt {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr float kNoticeSeconds = 5.0f;

// "Quarvell 2026-12-06 21-30-05.pdf" in the folder, numbered when that name is taken.
QString datedFileName(const QDir& folder) {
    const QString stem = QStringLiteral("%1 %2").arg(
        QString::fromLatin1(kProgramTitle),
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    QString name = stem + QStringLiteral(".pdf");
    for (int n = 2; folder.exists(name); ++n) {
        name = QStringLiteral("%1 (%2).pdf").arg(stem).arg(n);
    }
    return folder.filePath(name);
}

// A file chosen once in Printer Setup takes every later print: the later ones are numbered
// instead of overwriting the earlier ones.
QString freeFileName(const QString& chosen) {
    const QFileInfo info(chosen);
    if (!info.exists()) {
        return chosen;
    }
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString name;
    for (int n = 2;; ++n) {
        name = info.dir().filePath(
            QStringLiteral("%1 (%2)%3").arg(info.completeBaseName()).arg(n).arg(suffix));
        if (!QFileInfo::exists(name)) {
            return name;
        }
    }
}

QString documentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

bool toPaper(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty();
}

}  // namespace

QtPrinter::QtPrinter() = default;
QtPrinter::~QtPrinter() = default;

void QtPrinter::setWindow(QWidget* window) {
    window_ = window;
}

void QtPrinter::setUnitInches() {
    unitsPerInch_ = 1.0;
}

void QtPrinter::setPrintPosition(double left, double top) {
    left_ = left / unitsPerInch_;
    top_ = top / unitsPerInch_;
}

void QtPrinter::printWindow() {
    if (window_ == nullptr) {
        return;
    }
    if (!fileFolder_.isEmpty()) {
        printToFile(datedFileName(QDir(fileFolder_)), false);
        return;
    }
    if (chosen_ != nullptr) {
        if (toPaper(*chosen_)) {
            printOnPaper(*chosen_);
            return;
        }
        if (!chosen_->outputFileName().isEmpty()) {
            printToFile(freeFileName(chosen_->outputFileName()), false);
            return;
        }
    }
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty()) {
            target = printers.constFirst();
        }
    }
    if (target.isNull()) {
        QDir folder(documentsFolder());
        folder.mkpath(QStringLiteral("."));
        printToFile(datedFileName(folder), true);
        return;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    printOnPaper(printer);
}

void QtPrinter::printOnPaper(QPrinter& printer) {
    if (!paint(printer)) {
        tell("Not Printed",
             QStringLiteral("The printer %1 could not print the form.").arg(printer.printerName()));
    }
}

void QtPrinter::printToFile(const QString& path, bool noPrinter) {
    QPrinter pdf(QPrinter::HighResolution);
    if (chosen_ != nullptr) {
        pdf.setPageLayout(chosen_->pageLayout());
    }
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    const QFileInfo file(path);
    const QString where = QStringLiteral("%1\r\nin %2")
                              .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
    if (!paint(pdf)) {
        tell("Not Printed", QStringLiteral("The form could not be saved as\r\n") + where);
        return;
    }
    tell("Printed to a File",
         (noPrinter ? QStringLiteral("No printer is installed.\r\nThe form was saved as\r\n")
                    : QStringLiteral("The form was saved as\r\n")) +
             where);
}

bool QtPrinter::paint(QPrinter& printer) {
    // The window as the user sees it, menu bar included, at the size it has on screen.
    const QSizeF pixels = window_->size();
    const double screenDpi = std::max(1, window_->logicalDpiX());

    printer.setDocName(QString::fromLatin1(kProgramTitle));
    printer.setCreator(QString::fromLatin1(kProgramTitle));
    // Positions count from the paper's corner, not from the printable area.
    printer.setFullPage(true);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QRectF paper = layout.fullRectPoints();
    const QMarginsF unprintable = layout.minimumMargins();

    // Where the printer cannot print at the asked position, the picture moves just inside
    // what it can; where the picture does not fit, it shrinks to the room left.
    const double left = std::max(left_ * kPointsPerInch, unprintable.left());
    const double top = std::max(top_ * kPointsPerInch, unprintable.top());
    const double roomWidth = paper.width() - left - unprintable.right();
    const double roomHeight = paper.height() - top - unprintable.bottom();
    QSizeF size = pixels * (kPointsPerInch / screenDpi);
    if (size.width() > roomWidth || size.height() > roomHeight) {
        size.scale(QSizeF(roomWidth, roomHeight), Qt::KeepAspectRatio);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // Drawn, not photographed: texts stay texts and edges stay sharp at any zoom.
    const double devicePerPoint = printer.resolution() / kPointsPerInch;
    painter.translate(QPointF(left, top) * devicePerPoint);
    painter.scale(size.width() / pixels.width() * devicePerPoint,
                  size.height() / pixels.height() * devicePerPoint);
    // Recorded first: a widget drawn straight onto a printer comes out as one large bitmap.
    QPicture drawing;
    {
        QPainter recorder(&drawing);
        window_->render(&recorder, QPoint(), QRegion(),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    // A recording plays back at the target's resolution; the painter is scaled already.
    painter.scale(double(drawing.logicalDpiX()) / printer.logicalDpiX(),
                  double(drawing.logicalDpiY()) / printer.logicalDpiY());
    painter.drawPicture(0, 0, drawing);
    return painter.end();
}

void QtPrinter::showPrintSetup() {
    std::unique_ptr<QPrinter> candidate;
    QPrinter* printer = chosen_.get();
    if (printer == nullptr) {
        candidate = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = candidate.get();
    }
    QPrintDialog dialog(printer, window_);
    dialog.setObjectName(QStringLiteral("printSetup"));
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    // Choosing the printer and its paper only: what to print is always the one window.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
            ok->setText(QStringLiteral("OK"));
        }
    }
    if (dialog.exec() == QDialog::Accepted && candidate != nullptr) {
        chosen_ = std::move(candidate);
    }
}

void QtPrinter::tell(const std::string& title, const QString& text) {
    if (notice_) {
        notice_(title, text.toStdString(), kNoticeSeconds);
    }
}

}  // namespace quarvell::platform::qt
