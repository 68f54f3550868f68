#include "platform/qt/qt_printer.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

#include "platform/qt/widget_look.h"
#include "version.h"

namespace quarvell::platform::qt {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr float kNoticeSeconds = 5.0f;
constexpr int kMaxNumbered = 1000;

// "name.pdf\r\nin folder", as the messages say where a form went.
QString whereText(const QString& path) {
    const QFileInfo file(path);
    return QStringLiteral("%1\r\nin %2")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
}

// Creates "Quarvell 2026-12-06 21-30-05.pdf" in the folder, numbered "(2)", "(3)", ... when the
// name is taken. Created exclusively: whatever has the name already stays as it is, a link
// too, also one that leads nowhere (writing through it would put the form elsewhere). On
// failure `path` is the name tried last and `reason` why it failed.
std::unique_ptr<QFile> createDatedFile(const QDir& folder, QString& path, QString& reason) {
    const QString stem = QStringLiteral("%1 %2").arg(
        QString::fromLatin1(kProgramTitle),
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    for (int n = 1; n <= kMaxNumbered; ++n) {
        path = folder.filePath(n == 1 ? stem + QStringLiteral(".pdf")
                                      : QStringLiteral("%1 (%2).pdf").arg(stem).arg(n));
        auto file = std::make_unique<QFile>(path);
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            return file;
        }
        const QFileInfo taken(path);
        if (!taken.exists() && !taken.isSymLink()) {
            reason = file->errorString();
            return nullptr;
        }
    }
    reason = QStringLiteral("Every name is taken.");
    return nullptr;
}

// Everything written is on the disk: a full disk fails a write, or at the latest the sync.
bool finishFile(QFile& file, QString& reason) {
    bool ok = file.flush() && file.error() == QFileDevice::NoError && file.size() > 0;
#if defined(Q_OS_UNIX)
    if (ok && ::fsync(file.handle()) != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        file.close();
        return false;
    }
#endif
    if (ok) {
        file.close();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok && reason.isEmpty()) {
        reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                      : QStringLiteral("Nothing was written.");
    }
    return ok;
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
    if (fileFolder_.isEmpty()) {
        if (chosen_ != nullptr && toPaper(*chosen_)) {
            printOnPaper(*chosen_);
            return;
        }
        if (chosen_ == nullptr) {
            QPrinterInfo target = QPrinterInfo::defaultPrinter();
            if (target.isNull()) {
                const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
                if (!printers.isEmpty()) {
                    target = printers.constFirst();
                }
            }
            if (!target.isNull()) {
                QPrinter printer(target, QPrinter::HighResolution);
                printOnPaper(printer);
                return;
            }
        }
    }
    // Printing to a file, chosen in Printer Setup or for want of a printer, makes a new dated
    // file each time, as the file of a setup would be overwritten by every print.
    const bool noPrinter = fileFolder_.isEmpty() && chosen_ == nullptr;
    printToFile(QDir(fileFolder_.isEmpty() ? documentsFolder() : fileFolder_), noPrinter);
}

void QtPrinter::printOnPaper(QPrinter& printer) {
    printer.setDocName(QString::fromLatin1(kProgramTitle));
    printer.setCreator(QString::fromLatin1(kProgramTitle));
    // Positions count from the paper's corner, not from the printable area.
    printer.setFullPage(true);
    if (!paint(printer, printer.pageLayout(), printer.resolution())) {
        tell("Not Printed",
             QStringLiteral("The printer %1 could not print the form.").arg(printer.printerName()));
    }
}

void QtPrinter::printToFile(const QDir& folder, bool noPrinter) {
    folder.mkpath(QStringLiteral("."));
    QString path;
    QString reason;
    std::unique_ptr<QFile> file = createDatedFile(folder, path, reason);
    bool saved = false;
    if (file != nullptr) {
        QPageLayout layout = chosen_ != nullptr ? chosen_->pageLayout()
                                                : QPrinter(QPrinter::HighResolution).pageLayout();
        // Positions count from the paper's corner.
        layout.setMinimumMargins(QMarginsF());
        layout.setMargins(QMarginsF());
        {
            QPdfWriter pdf(file.get());
            pdf.setTitle(QString::fromLatin1(kProgramTitle));
            pdf.setCreator(QString::fromLatin1(kProgramTitle));
            pdf.setPageLayout(layout);
            saved = paint(pdf, layout, pdf.resolution());
        }
        saved = finishFile(*file, reason) && saved;
        if (!saved) {
            // By name: removing the QFile itself refuses while its unwritten rest fails again.
            file->close();
            QFile::remove(path);
        }
    }
    if (!saved) {
        tell("Not Printed", QStringLiteral("The form could not be saved as\r\n") + whereText(path) +
                                QStringLiteral("\r\n") + reason);
        return;
    }
    tell("Printed to a File",
         (noPrinter ? QStringLiteral("No printer is installed.\r\nThe form was saved as\r\n")
                    : QStringLiteral("The form was saved as\r\n")) +
             whereText(path));
}

bool QtPrinter::paint(QPaintDevice& device, const QPageLayout& pageLayout, int resolution) {
    QPageLayout layout = pageLayout;
    layout.setUnits(QPageLayout::Point);
    const QRectF paper = layout.fullRectPoints();
    const QMarginsF unprintable = layout.minimumMargins();
    // The window as the user sees it, menu bar included, at the size it has on screen.
    const QSizeF pixels = window_->size();
    const double screenDpi = std::max(1, window_->logicalDpiX());

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
    if (!painter.begin(&device)) {
        return false;
    }
    // Drawn, not photographed: texts stay texts and edges stay sharp at any zoom.
    const double devicePerPoint = resolution / kPointsPerInch;
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
    painter.scale(double(drawing.logicalDpiX()) / device.logicalDpiX(),
                  double(drawing.logicalDpiY()) / device.logicalDpiY());
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
