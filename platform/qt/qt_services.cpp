#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTime>
#include <QWidget>

#include <algorithm>

#include "platform/qt/help_window.h"
#include "platform/qt/widget_look.h"
#include "version.h"

namespace quarvell::platform::qt {

namespace {

// The title bar's icon and buttons, beside the title.
constexpr int kTitleBarButtonsWidth = 140;

char asciiSeparator(QString separator, char fallback) {
    if (separator.size() == 1 && separator.at(0).unicode() < 0x80) {
        return static_cast<char>(separator.at(0).unicode());
    }
    return fallback;
}

}  // namespace

NumberLocale numberLocaleOf(const QLocale& locale) {
    NumberLocale n;
    n.decimal = asciiSeparator(locale.decimalPoint(), '.');
    // Spaces of every width group digits alike; anything else unknown groups as the
    // opposite of the decimal sign.
    const QString group = locale.groupSeparator();
    const bool space = group.size() == 1 && group.at(0).isSpace();
    n.group = space ? ' ' : asciiSeparator(group, n.decimal == '.' ? ',' : '.');
    if (n.group == n.decimal) {
        n.group = n.decimal == '.' ? ',' : '.';
    }
    return n;
}

QtServices::QtServices(KeyboardPort& keyboard) : keyboard_(keyboard) {
    // A pass of the event loop waits at most this long for something to happen, so that a
    // timed message does not keep a processor core busy while the user reads it.
    wake_.setSingleShot(true);
    wake_.setInterval(2);
}

QtServices::~QtServices() = default;

void QtServices::setMainWindow(QWidget* window) {
    mainWindow_ = window;
    printer_.setWindow(window);
}

MsgAnswer QtServices::messageBox(const std::string& text, MsgButtons buttons,
                                 const std::string& title) {
    const bool yesNo = buttons == MsgButtons::YesNo;
    QMessageBox box(QMessageBox::NoIcon, toQString(title), toDisplayText(text),
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, mainWindow_);
    box.setObjectName(QStringLiteral("messageBox"));
    if (yesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        // Closing the question with Escape or the close box answers No.
        box.setEscapeButton(QMessageBox::No);
    }
    const int answer = box.exec();
    if (!yesNo) {
        return MsgAnswer::Ok;
    }
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

std::string QtServices::inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) {
    QInputDialog box(mainWindow_);
    box.setObjectName(QStringLiteral("inputBox"));
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(toQString(title));
    box.setLabelText(toDisplayText(prompt));
    box.setTextValue(toQString(defaultAnswer));
    // Wide enough for the whole title beside the title bar's buttons, which the dialog's own
    // size leaves out; window managers draw titles bold.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QSize size = box.sizeHint();
    box.resize(std::max(size.width(), QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) +
                                          kTitleBarButtonsWidth),
               size.height());
    if (box.exec() != QDialog::Accepted) {
        return {};
    }
    return box.textValue().toStdString();
}

void QtServices::beep() {
    QApplication::beep();
}

double QtServices::secondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

LocalDateTime QtServices::localDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {.year = date.year(),
            .month = date.month(),
            .day = date.day(),
            .hour = time.hour(),
            .minute = time.minute(),
            .second = time.second()};
}

void QtServices::processEvents() {
    if (ended_) {
        throw ProgramEnded{};
    }
    if (beforeProcessEvents_) {
        beforeProcessEvents_();
    }
    wake_.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    // A handler run during this pass may have ended the program: the waiting handler must
    // not go on.
    if (ended_) {
        throw ProgramEnded{};
    }
}

void QtServices::finish() {
    if (ended_) {
        return;
    }
    ended_ = true;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        w->hide();
    }
    // Leave the event loop, and any dialog's loop inside it. Without a running loop (the
    // program ended during start-up) the caller simply does not enter one: an exit() now
    // would make every later loop return at once.
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
    }
}

void QtServices::endProgram() {
    finish();
    throw ProgramEnded{};
}

void QtServices::showHelp(int contextNumber) {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>();
    }
    if (contextNumber == 0) {
        help_->showContents();
    } else {
        help_->showTopic(contextNumber);
    }
}

HelpWindow* QtServices::helpWindow() const {
    return help_.get();
}

NumberLocale QtServices::numberLocale() {
    return numberLocaleOf(QLocale::system());
}

VersionRecord QtServices::versionRecord() {
    return {kProgramTitle, kVersionMajor, kVersionMinor, kVersionRevision,
            "Copyright \u00A9 Dervanth"};
}

QtPrinter& QtServices::printer() {
    return printer_;
}

QtRegistry& QtServices::registry() {
    return registry_;
}

bool QtServices::fileExists(const std::string& path) {
    const QFileInfo info(toQString(path));
    return info.exists() && info.isFile();
}

bool QtServices::startProgram(const std::string& path) {
    return QProcess::startDetached(toQString(path), {});
}

KeyboardPort& QtServices::keyboard() {
    return keyboard_;
}

}  // namespace quarvell::platform::qt
