// The calculation sheet on screen: the Analysis menu's item follows the result, opens the
// preview of the calculation on screen, and the preview copies and saves what it shows.

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "analysis/sheet_render.h"
#include "app/sheet_window.h"
#include "platform/qt/sheet_paint.h"
#include "screen_fixture.h"

namespace quarvell::app {
namespace {

class SheetTest : public ScreenTest {
  protected:
    QPushButton* button(const char* name) {
        return screen.sheet().findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void openSheet() {
        ASSERT_TRUE(action(window.mnuSheet)->isEnabled());
        action(window.mnuSheet)->trigger();
        ASSERT_TRUE(waitUntil([this] { return screen.sheet().isVisible(); }));
    }
};

TEST_F(SheetTest, TheItemIsDisabledWithoutAResultAndOpensTheSheetOfTheResultOnScreen) {
    EXPECT_EQ(action(window.mnuSheet)->text(), "Calculation Sheet...");
    EXPECT_FALSE(action(window.mnuSheet)->isEnabled());
    action(window.mnuSheet)->trigger();
    EXPECT_FALSE(screen.sheet().isVisible());

    typeWorkedExample();
    openSheet();
    EXPECT_EQ(screen.sheet().windowTitle(), "Calculation Sheet");
    EXPECT_EQ(screen.sheet().sheet().section, "10.1f Tantalum(Solid-Chip)");
    EXPECT_EQ(screen.sheet().sheet().fit.value, "0.4602");
    EXPECT_EQ(screen.sheet().sheet().windowFit, "0.460 Parts/BPc-Hr");
    screen.sheet().close();

    // A life test still to be entered leaves no result: the item is disabled again.
    widgetOf(window.cmbFR)->setFocus(Qt::MouseFocusReason);
    press(Qt::Key_Home);
    ASSERT_TRUE(waitUntil([this] { return !action(window.mnuSheet)->isEnabled(); }));
}

TEST_F(SheetTest, CopyPutsThePlainTextOnTheClipboard) {
    typeWorkedExample();
    openSheet();
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(button("cmdCopy"), Qt::LeftButton);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(), analysis::PlainText(screen.sheet().sheet()));
    EXPECT_TRUE(
        copied.contains(QStringLiteral("= exp[-0.15/8.617E-5 \u00D7 (1/323 - 1/298)] = 1.572\n")))
        << copied.toStdString();
}

TEST_F(SheetTest, SaveWritesTheSheetWhereTheUserChoseAndSaysWhenItCannot) {
    typeWorkedExample();
    openSheet();
    const QTemporaryDir folder;
    // The extension is added when the name has none.
    const QString chosen = folder.filePath(QStringLiteral("worked"));
    dialogs.accept(
        [&chosen](QDialog& dialog) { dynamic_cast<QFileDialog&>(dialog).selectFile(chosen); });
    QTest::mouseClick(button("cmdSaveJson"), Qt::LeftButton);
    QFile saved(chosen + QStringLiteral(".json"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), analysis::Json(screen.sheet().sheet()));

    const QString nowhere = folder.filePath(QStringLiteral("no/such/folder/sheet.pdf"));
    dialogs.press(QMessageBox::Ok);
    EXPECT_FALSE(screen.sheet().saveAs(nowhere, analysis::SheetFormat::Pdf));
    ASSERT_FALSE(dialogs.seen().empty());
    EXPECT_EQ(dialogs.seen().back().title, "Not Saved");
    EXPECT_FALSE(QFile::exists(nowhere));

    const QString pdf = folder.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_TRUE(screen.sheet().saveAs(pdf, analysis::SheetFormat::Pdf));
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("%PDF"));
}

TEST(SheetPage, IsLetterWhereTheLocaleMeasuresInUsUnitsElseA4) {
    using platform::qt::SheetPageSize;
    EXPECT_EQ(SheetPageSize(QLocale(QLocale::English, QLocale::UnitedStates)).id(),
              QPageSize::Letter);
    EXPECT_EQ(SheetPageSize(QLocale(QLocale::English, QLocale::UnitedKingdom)).id(), QPageSize::A4);
    EXPECT_EQ(SheetPageSize(QLocale(QLocale::German, QLocale::Germany)).id(), QPageSize::A4);
}

}  // namespace
}  // namespace quarvell::app
