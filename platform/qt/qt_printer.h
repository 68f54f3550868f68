#pragma once
// Printing on Qt: the calculator window drawn at the print position, on a page of its own. A
// machine with a printer gets paper, from the printer chosen in Printer Setup or else its
// default one. A machine without printers gets a one-page PDF in the user's documents folder,
// under a new dated name each time, and the user is told where; so does a user who chose
// printing to a file in Printer Setup. A file that could not be written whole is removed, and
// the user is told why.

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "platform/services.h"

class QDir;
class QPageLayout;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace quarvell::platform::qt {

class QtPrinter : public Printer {
  public:
    // Tells the user something about a print, for a few seconds (the window's timed message).
    using Notice =
        std::function<void(const std::string& title, const std::string& text, float seconds)>;

    QtPrinter();
    ~QtPrinter() override;
    QtPrinter(const QtPrinter&) = delete;
    QtPrinter& operator=(const QtPrinter&) = delete;

    void setUnitInches() override;
    void setPrintPosition(double left, double top) override;
    void printWindow() override;
    // Every print is a finished document already, so nothing is ever left to send out.
    void endDocument() override {}
    void showPrintSetup() override;

    // The window that is printed; the print-setup dialog opens over it.
    void setWindow(QWidget* window);
    void setNotice(Notice notice) { notice_ = std::move(notice); }
    // Prints become PDF files in this folder even where printers exist (tests); an empty
    // folder restores the usual choice.
    void setFileFolder(const QString& folder) { fileFolder_ = folder; }

  private:
    bool paint(QPaintDevice& device, const QPageLayout& layout, int resolution);
    void printOnPaper(QPrinter& printer);
    void printToFile(const QDir& folder, bool noPrinter);
    void tell(const std::string& title, const QString& text);

    QPointer<QWidget> window_;
    Notice notice_;
    QString fileFolder_;
    // The printer and settings chosen in Printer Setup; none until the user confirmed it.
    std::unique_ptr<QPrinter> chosen_;
    // Where the picture's top-left corner goes, from the paper's corner.
    double unitsPerInch_ = 1440.0;  // twips until told otherwise
    double left_ = 0;
    double top_ = 0;
};

}  // namespace quarvell::platform::qt
