#include "app/sheet_window.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <string>

#include "platform/qt/sheet_paint.h"
#include "platform/qt/sheet_pdf.h"

namespace quarvell::app {

namespace {

struct FormatInfo {
    const char* extension;
    const char* filter;
};

FormatInfo InfoOf(analysis::SheetFormat format) {
    switch (format) {
        case analysis::SheetFormat::Pdf:
            return {"pdf", "PDF (*.pdf)"};
        case analysis::SheetFormat::Html:
            return {"html", "HTML (*.html)"};
        default:
            return {"json", "JSON (*.json)"};
    }
}

QString DocumentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QPushButton* AddButton(QDialogButtonBox* box, const QString& text, const char* name,
                       QDialogButtonBox::ButtonRole role) {
    QPushButton* b = box->addButton(text, role);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

SheetWindow::SheetWindow(QWidget* parent)
    : QDialog(parent), view_(new QTextBrowser(this)), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmSheet"));
    setWindowTitle(QStringLiteral("Calculation Sheet"));
    view_->setObjectName(QStringLiteral("sheetView"));
    view_->setOpenLinks(false);
    view_->setAccessibleName(QStringLiteral("Calculation sheet"));
    status_->setObjectName(QStringLiteral("lblSheetStatus"));

    auto* buttons = new QDialogButtonBox(this);
    using Role = QDialogButtonBox::ButtonRole;
    connect(AddButton(buttons, QStringLiteral("Save P&DF..."), "cmdSavePdf", Role::ActionRole),
            &QPushButton::clicked, this, [this] { save(analysis::SheetFormat::Pdf); });
    connect(AddButton(buttons, QStringLiteral("Save &HTML..."), "cmdSaveHtml", Role::ActionRole),
            &QPushButton::clicked, this, [this] { save(analysis::SheetFormat::Html); });
    connect(AddButton(buttons, QStringLiteral("Save &JSON..."), "cmdSaveJson", Role::ActionRole),
            &QPushButton::clicked, this, [this] { save(analysis::SheetFormat::Json); });
    connect(AddButton(buttons, QStringLiteral("&Print..."), "cmdPrint", Role::ActionRole),
            &QPushButton::clicked, this, [this] { print(); });
    connect(AddButton(buttons, QStringLiteral("&Copy"), "cmdCopy", Role::ActionRole),
            &QPushButton::clicked, this, [this] { copy(); });
    connect(AddButton(buttons, QStringLiteral("Close"), "cmdClose", Role::RejectRole),
            &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(860, 900);
}

void SheetWindow::showSheet(analysis::Sheet sheet) {
    sheet_ = std::move(sheet);
    view_->setHtml(QString::fromStdString(analysis::Html(sheet_)));
    status_->clear();
    show();
    raise();
    activateWindow();
}

void SheetWindow::copy() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(analysis::PlainText(sheet_)));
    tell(QStringLiteral("The sheet's text is on the clipboard."));
}

void SheetWindow::save(analysis::SheetFormat format) {
    const FormatInfo info = InfoOf(format);
    const QString name =
        QStringLiteral("Calculation sheet %1 %2 %3.%4")
            .arg(QString::fromStdString(sheet_.code), QString::fromStdString(sheet_.date),
                 QString::fromStdString(sheet_.time).replace(QLatin1Char(':'), QLatin1Char('-')),
                 QString::fromLatin1(info.extension));
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Calculation Sheet"),
                                                QDir(DocumentsFolder()).filePath(name),
                                                QString::fromLatin1(info.filter));
    if (path.isEmpty()) {
        return;
    }
    if (analysis::FormatOfPath(path.toStdString()) != format) {
        path += QLatin1Char('.') + QString::fromLatin1(info.extension);
    }
    saveAs(path, format);
}

bool SheetWindow::saveAs(const QString& path, analysis::SheetFormat format) {
    QString reason;
    bool saved = false;
    if (format == analysis::SheetFormat::Pdf) {
        std::string error;
        saved = platform::qt::WriteSheetPdf(sheet_, path.toStdString(), error);
        reason = QString::fromStdString(error);
    } else {
        const std::string text =
            format == analysis::SheetFormat::Html ? analysis::Html(sheet_) : analysis::Json(sheet_);
        QSaveFile file(path);
        saved = file.open(QIODevice::WriteOnly) &&
                file.write(text.data(), static_cast<qint64>(text.size())) ==
                    static_cast<qint64>(text.size()) &&
                file.commit();
        reason = file.errorString();
    }
    if (!saved) {
        QMessageBox::warning(this, QStringLiteral("Not Saved"),
                             QStringLiteral("The sheet could not be saved as\n%1\n%2")
                                 .arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    tell(QStringLiteral("Saved as %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void SheetWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Calculation sheet"));
    printer.setPageLayout(platform::qt::SheetPageLayout(QLocale::system()));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QString reason;
    if (!platform::qt::PaintSheet(sheet_, printer, reason)) {
        QMessageBox::warning(this, QStringLiteral("Not Printed"),
                             QStringLiteral("The sheet could not be printed.\n%1").arg(reason));
        return;
    }
    tell(QStringLiteral("The sheet went to %1.")
             .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                     : printer.outputFileName()));
}

void SheetWindow::tell(const QString& text) {
    status_->setText(text);
}

}  // namespace quarvell::app
