#pragma once
// The calculation sheet as a PDF file, for callers without Qt of their own (the replay tool):
// one A4 or Letter page by the system's locale, its text drawn as text, so that it can be
// searched and copied. Qt draws it; GuiForPdf gives a program without a window the offscreen
// GUI application that Qt's fonts need.

#include <memory>
#include <string>

#include "analysis/sheet.h"

class QGuiApplication;

namespace quarvell::platform::qt {

// Writes the sheet whole or not at all; false with the reason in `error`. Needs a GUI
// application (QApplication, or GuiForPdf).
bool WriteSheetPdf(const analysis::Sheet& sheet, const std::string& path, std::string& error);

// An offscreen GUI application while it lives, unless the program has an application already.
class GuiForPdf {
  public:
    GuiForPdf();
    ~GuiForPdf();
    GuiForPdf(const GuiForPdf&) = delete;
    GuiForPdf& operator=(const GuiForPdf&) = delete;

  private:
    int argc_ = 1;
    char name_[16] = "quarvell";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace quarvell::platform::qt
