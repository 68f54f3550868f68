#pragma once
// The platform services on Qt: message and input boxes, beep, clock, event processing, ending
// the program, the help book, the number locale, the version record, printing (QtPrinter) and
// the registry's stand-in (QtRegistry). showHelp(0) opens the help book at its contents page.

#include <QLocale>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_registry.h"
#include "platform/services.h"

class QWidget;

namespace quarvell::platform::qt {

class HelpWindow;

// The number locale the platform writes numbers with: its decimal and group separators.
// Separators outside ASCII (a narrow no-break space, an Arabic decimal sign) are written as
// the nearest ASCII character the number text understands.
NumberLocale numberLocaleOf(const QLocale& locale);

class QtServices : public Services {
  public:
    explicit QtServices(KeyboardPort& keyboard);
    ~QtServices() override;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    MsgAnswer messageBox(const std::string& text, MsgButtons buttons,
                         const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    void beep() override;
    double secondsSinceMidnight() override;
    LocalDateTime localDateTime() override;
    void processEvents() override;
    [[noreturn]] void endProgram() override;
    void showHelp(int contextNumber) override;
    NumberLocale numberLocale() override;
    VersionRecord versionRecord() override;
    QtPrinter& printer() override;
    QtRegistry& registry() override;
    bool fileExists(const std::string& path) override;
    bool startProgram(const std::string& path) override;
    KeyboardPort& keyboard() override;

    // Dialogs are centred over this window (the calculator), and it is the window printed.
    void setMainWindow(QWidget* window);
    // Runs before each pass of the event loop that the program asks for, so that views
    // catch up with what the handler did before it waits.
    void setBeforeProcessEvents(std::function<void()> hook) {
        beforeProcessEvents_ = std::move(hook);
    }

    // Closes every window and leaves the event loop; what endProgram does before it throws.
    // Safe to call more than once.
    void finish();
    bool ended() const { return ended_; }

    // The help window, once F1 or the Help menu has opened it.
    HelpWindow* helpWindow() const;

  private:
    KeyboardPort& keyboard_;
    QtPrinter printer_;
    QtRegistry registry_;
    QPointer<QWidget> mainWindow_;
    std::unique_ptr<HelpWindow> help_;
    std::function<void()> beforeProcessEvents_;
    QTimer wake_;
    bool ended_ = false;
};

}  // namespace quarvell::platform::qt
