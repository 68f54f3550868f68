// Printing the real window: what reaches the page and the file it goes to, also when the
// printer was set up to print to a file, a link stands in the way or the disk is full.

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "screen_fixture.h"

namespace quarvell::app {
namespace {

// What the test needs of a PDF written by the printer: its pages, the sizes of its pictures,
// and what poppler reads in it (its text) and draws of it (at 96 dpi, pixel for pixel with
// the screen).
struct PdfFile {
    QString path;
    QByteArray bytes;

    explicit PdfFile(const QString& file) : path(file) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            bytes = f.readAll();
        }
    }
    int pages() const {
        int n = 0;
        auto it = QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))
                      .globalMatch(QString::fromLatin1(bytes));
        for (; it.hasNext(); it.next()) {
            ++n;
        }
        return n;
    }
    // The largest picture embedded, in its own pixels.
    int largestPicture() const {
        int largest = 0;
        const QRegularExpression image(
            QStringLiteral("/Subtype\\s*/Image[^>]*?/Width\\s+(\\d+)[^>]*?/Height\\s+(\\d+)"));
        for (auto it = image.globalMatch(QString::fromLatin1(bytes)); it.hasNext();) {
            const auto m = it.next();
            largest = std::max(largest, m.captured(1).toInt() * m.captured(2).toInt());
        }
        return largest;
    }
    QString text() const { return QString::fromUtf8(poppler("pdftotext", {path, "-"})); }
    QImage page() const {
        const QTemporaryDir dir;
        poppler("pdftoppm", {"-r", "96", "-png", "-singlefile", path, dir.filePath("page")});
        return QImage(dir.filePath("page.png"));
    }

  private:
    static QByteArray poppler(const QString& tool, const QStringList& arguments) {
        QProcess p;
        p.start(tool, arguments);
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            ADD_FAILURE() << tool.toStdString() << " (poppler-utils) did not read the PDF";
        }
        return p.readAllStandardOutput();
    }
};

// How far two pictures of the same size are apart: the mean difference of a colour channel.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i) {
            sum += std::abs(p[i] - q[i]);
        }
    }
    return sum / (x.width() * x.height() * 3.0);
}

// The spread of lightness in a picture: 0 for a blank one.
int contrast(const QImage& image) {
    int low = 255;
    int high = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int col = 0; col < image.width(); ++col) {
            const int v = qGray(image.pixel(col, row));
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    return high - low;
}

// A variable of the program's environment, replaced for one test.
class EnvironmentForTest {
  public:
    EnvironmentForTest(const char* name, const QString& value)
        : name_(name), saved_(qgetenv(name)) {
        qputenv(name_, value.toLocal8Bit());
    }
    ~EnvironmentForTest() { qputenv(name_, saved_); }
    EnvironmentForTest(const EnvironmentForTest&) = delete;
    EnvironmentForTest& operator=(const EnvironmentForTest&) = delete;

  private:
    const char* name_;
    QByteArray saved_;
};

// A smaller limit on the size of the files this process writes, as a full disk would set one.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int);
};

class PrintTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        services.printer().setFileFolder(folder.path());
        window.onShowMessage = [this](const std::string& title, const std::string& text, float) {
            messages.push_back(title + ": " + text);
        };
    }
    QStringList printed() const { return QDir(folder.path()).entryList(QDir::Files, QDir::Name); }
    // The printer's notices as it gives them, without the timed message's wait.
    void noticesWithoutWaiting() {
        services.printer().setNotice([this](const std::string& title, const std::string& text,
                                            float) { messages.push_back(title + ": " + text); });
    }
    void pressCtrl(Qt::Key key) {
        backToMain();
        QTest::keyClick(screen.mainWindow(), key, Qt::ControlModifier);
    }

    QTemporaryDir folder;
    std::vector<std::string> messages;
};

TEST_F(PrintTest, APrintOfTheWorkedExampleIsAOnePagePdfOfTheWindow) {
    pressCtrl(Qt::Key_P);  // no result yet: nothing is printed and nothing is said
    EXPECT_TRUE(printed().isEmpty());
    EXPECT_TRUE(messages.empty());

    typeWorkedExample();
    const QImage onScreen = screen.mainWindow()->grab().toImage();
    pressCtrl(Qt::Key_P);
    ASSERT_EQ(printed().size(), 1);
    const QString name = printed().front();
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^Quarvell \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.pdf$"))
                    .match(name)
                    .hasMatch())
        << name.toStdString();
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_NE(messages.front().find(name.toStdString()), std::string::npos) << messages.front();

    const PdfFile pdf(QDir(folder.path()).filePath(name));
    EXPECT_EQ(pdf.pages(), 1);
    EXPECT_GT(pdf.bytes.size(), 10'000);
    EXPECT_LT(pdf.bytes.size(), 5'000'000);
    // Drawn, not a picture of the window: its texts are texts.
    EXPECT_LT(pdf.largestPicture(), onScreen.width() * onScreen.height() / 10);
    const QString pdfText = pdf.text();
    for (const char* shown : {"0.460 Parts/BPc-Hr", "2.2 Billion-Hrs", "Calculated MTBF",
                              "10.1f Tantalum(Solid-Chip)", "Rev. F - Notice 2", "Version 1.0.0"}) {
        EXPECT_TRUE(pdfText.contains(QString::fromUtf8(shown))) << shown;
    }
    // A quarter inch from the paper's corner, the window as it is on screen.
    const QImage page = pdf.page().copy(QRect(QPoint(24, 24), onScreen.size()));
    EXPECT_LT(meanDifference(page, onScreen), 6.0);
    // The result field's text was drawn, not an empty field.
    QWidget* fit = widgetOf(window.txtFIT);
    const QRect field(fit->mapTo(screen.mainWindow(), QPoint(0, 0)), fit->size());
    EXPECT_GT(contrast(page.copy(field)), 100);

    // Prints within the same second never overwrite one another.
    std::vector<std::string> told;
    services.printer().setNotice(
        [&told](const std::string&, const std::string& text, float) { told.push_back(text); });
    action(window.mnuPrintResults)->trigger();
    action(window.mnuPrintResults)->trigger();
    EXPECT_EQ(printed().size(), 3);
    EXPECT_EQ(told.size(), 2U);
}

const QRegularExpression kDatedName(
    QStringLiteral("^Quarvell \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d( \\(\\d+\\))?\\.pdf$"));

// A link by the name of the next print, even one leading nowhere, is left as it is: the form
// goes to a name of its own in the folder, never through the link.
TEST_F(PrintTest, APrintNeverWritesThroughALinkOfItsName) {
    typeWorkedExample();
    noticesWithoutWaiting();
    const QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("taken.pdf"));
    QStringList links;
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 10; ++second) {
        links << folder.filePath(
            QStringLiteral("Quarvell %1.pdf")
                .arg(now.addSecs(second).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))));
        ASSERT_TRUE(QFile::link(target, links.back()));
    }
    pressCtrl(Qt::Key_P);
    EXPECT_FALSE(QFile::exists(target));
    for (const QString& link : links) {
        EXPECT_TRUE(QFileInfo(link).isSymLink() && !QFileInfo::exists(link));
    }
    ASSERT_EQ(printed().size(), 1);
    const QString name = printed().front();
    EXPECT_TRUE(kDatedName.match(name).hasMatch() && name.endsWith(QStringLiteral(" (2).pdf")));
    EXPECT_GT(QFileInfo(folder.filePath(name)).size(), 10'000);
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages.front(), "Printed to a File: The form was saved as\r\n" +
                                    name.toStdString() + "\r\nin " + folder.path().toStdString());
}

// A disk that takes no more: nothing of the form stays, and the message says why.
TEST_F(PrintTest, AFormThatCannotBeWrittenWholeIsNotSavedAndTheMessageSaysWhy) {
    typeWorkedExample();
    noticesWithoutWaiting();
    {
        const FileSizeLimit full(4096);
        pressCtrl(Qt::Key_P);
    }
    EXPECT_TRUE(
        QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System));
    ASSERT_EQ(messages.size(), 1U);
    const QStringList lines =
        QString::fromStdString(messages.front()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4) << messages.front();
    EXPECT_EQ(lines[0], "Not Printed: The form could not be saved as");
    EXPECT_TRUE(kDatedName.match(lines[1]).hasMatch());
    EXPECT_EQ(lines[2], "in " + folder.path());
    EXPECT_EQ(lines[3], QString::fromLocal8Bit(std::strerror(EFBIG)));
}

// Printing to a file chosen in Printer Setup makes a new dated file in the documents folder at
// every print, as without a printer; the file named in the setup is never written over.
TEST_F(PrintTest, PrintingToAFileChosenInPrinterSetupMakesANewDatedFileEachTime) {
    typeWorkedExample();
    noticesWithoutWaiting();
    const QTemporaryDir home;
    const EnvironmentForTest homeForTest("HOME", home.path());
    services.printer().setFileFolder({});
    const QString chosen = QDir(home.path()).filePath(QStringLiteral("print.pdf"));
    dialogs.accept([&chosen](QDialog& dialog) {
        auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
        printers->setCurrentIndex(printers->count() - 1);  // "Print to File (PDF)"
        dialog.findChild<QLineEdit*>(QStringLiteral("filename"))->setText(chosen);
    });
    action(window.mnuPrintSetup)->trigger();
    action(window.mnuPrintResults)->trigger();
    action(window.mnuPrintResults)->trigger();
    EXPECT_FALSE(QFile::exists(chosen));
    const QDir documents(QDir(home.path()).filePath(QStringLiteral("Documents")));
    const QStringList files = documents.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2);
    std::vector<std::string> told;
    for (const QString& name : files) {
        EXPECT_TRUE(kDatedName.match(name).hasMatch()) << name.toStdString();
        told.push_back("Printed to a File: The form was saved as\r\n" + name.toStdString() +
                       "\r\nin " + documents.path().toStdString());
    }
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages, told);
}

}  // namespace
}  // namespace quarvell::app
