#pragma once
// The calculation sheet's preview: the sheet of the calculation on screen as it will be
// printed, with Save (PDF, HTML, JSON), Print and Copy (its plain text to the clipboard). A
// sheet shown stays as it was made until the menu makes a new one.

#include <QDialog>
#include <QString>

#include "analysis/sheet.h"
#include "analysis/sheet_render.h"

class QLabel;
class QPushButton;
class QTextBrowser;

namespace quarvell::app {

class SheetWindow : public QDialog {
  public:
    explicit SheetWindow(QWidget* parent);

    // Shows this sheet, in front.
    void showSheet(analysis::Sheet sheet);
    const analysis::Sheet& sheet() const { return sheet_; }

    // Saving without asking (the Save buttons ask for the file first); false when the file
    // could not be written, with the user told why.
    bool saveAs(const QString& path, analysis::SheetFormat format);
    void copy();

  private:
    void save(analysis::SheetFormat format);
    void print();
    void tell(const QString& text);

    analysis::Sheet sheet_;
    QTextBrowser* view_;
    QLabel* status_;
};

}  // namespace quarvell::app
