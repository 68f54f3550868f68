// The help book shipped in the program: a topic for every help number the window and the
// type catalogue use, no broken links, and environment factors that agree with the model's.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextBrowser>
#include <QTextLayout>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <array>
#include <set>
#include <string>

#include "catalogue/catalogue.h"
#include "model/tables.h"
#include "platform/qt/help_window.h"
#include "platform/scripted_services.h"
#include "window/frm_fit.h"

namespace quarvell::platform::qt {
namespace {

QString page(const QString& name) {
    QFile f(QString::fromLatin1(kHelpRoot) + name);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(f.readAll());
}

std::set<int> helpNumbersInUse() {
    ScriptedServices services;
    window::FrmFit w(services);
    w.Form_Load();
    std::set<int> numbers;
    for (const Control* c : w.controls()) {
        numbers.insert(c->helpContext());
    }
    for (int notice : {1, 2}) {
        for (const model::CapacitorType& type :
             model::TypesOf(static_cast<model::Notice>(notice))) {
            numbers.insert(type.helpContext);
        }
    }
    numbers.insert(1740);  // the type list's number once it has the focus
    numbers.erase(0);
    return numbers;
}

TEST(HelpBook, EveryHelpNumberInUseHasATopicOfItsOwn) {
    const std::set<int> numbers = helpNumbersInUse();
    EXPECT_GT(numbers.size(), 30U);
    for (int n : numbers) {
        EXPECT_TRUE(hasHelpTopic(n)) << "no help topic for " << n;
        EXPECT_EQ(helpTopicPath(n), QString(":/help/%1.html").arg(n));
    }
    EXPECT_FALSE(hasHelpTopic(12345));
    EXPECT_EQ(helpTopicPath(12345), ":/help/index.html");
}

TEST(HelpBook, EveryPageHasATitleAndEveryLinkLeadsToAPage) {
    const QStringList pages = QDir(QString::fromLatin1(kHelpRoot)).entryList({"*.html"});
    ASSERT_GT(pages.size(), 35);
    const QSet<QString> known(pages.begin(), pages.end());
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)"));
    const QRegularExpression title(QStringLiteral("<title>[^<]+</title>"));
    for (const QString& name : pages) {
        const QString html = page(name);
        EXPECT_TRUE(title.match(html).hasMatch()) << name.toStdString();
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (target.startsWith(QStringLiteral("http"))) {
                continue;
            }
            EXPECT_TRUE(known.contains(target))
                << name.toStdString() << " links to missing " << target.toStdString();
        }
    }
}

// Every page reads whole at the help window's own size: no line of a table or paragraph breaks
// inside a word, nothing needs scrolling sideways, and the title says which page is open.
TEST(HelpBook, EveryPageFitsTheWindowWithoutBreakingAWord) {
    HelpWindow help;
    help.showContents();
    EXPECT_EQ(help.windowTitle(), "Quarvell Help");
    const QStringList pages = QDir(QString::fromLatin1(kHelpRoot)).entryList({"*.html"});
    for (const QString& name : pages) {
        SCOPED_TRACE(name.toStdString());
        help.browser()->setSource(QUrl(QStringLiteral("qrc") + kHelpRoot + name));
        QTextDocument* doc = help.browser()->document();
        if (name != QStringLiteral("index.html")) {
            EXPECT_EQ(help.windowTitle(), QStringLiteral("Quarvell Help - ") +
                                              doc->metaInformation(QTextDocument::DocumentTitle));
        }
        QApplication::processEvents();
        doc->size();  // lays the whole page out
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, block.text());
            for (int i = 1; i < layout->lineCount(); ++i) {
                const int at = layout->lineAt(i).textStart();
                breaks.setPosition(at);
                EXPECT_TRUE(block.text().at(at - 1).isSpace() || breaks.isAtBoundary())
                    << "\"" << block.text().left(at).toStdString() << "|"
                    << block.text().mid(at).toStdString() << "\"";
            }
        }
        EXPECT_EQ(help.browser()->horizontalScrollBar()->maximum(), 0);
    }
}

// The environment factors printed in the help are the ones the model computes with.
TEST(HelpBook, EnvironmentFactorsAgreeWithTheModel) {
    const QString html = page(QStringLiteral("650.html"));
    const struct {
        const char* row;
        const model::tables::EnvTable& values;
    } tables[] = {
        {"Every Notice 2 type", model::tables::kEnvE2},
        {"10.4", model::tables::kEnvE4},
        {"10.10", model::tables::kEnvE10},
        {"10.11", model::tables::kEnvE11},
        {"10.12, 10.12b", model::tables::kEnvE12},
        {"10.13", model::tables::kEnvE13},
        {"10.14, 10.15, 10.15b", model::tables::kEnvE14},
    };
    for (const auto& t : tables) {
        SCOPED_TRACE(t.row);
        const QString start = QStringLiteral("<tr><td>") + t.row + QStringLiteral("</td>");
        const qsizetype at = html.indexOf(start);
        ASSERT_GE(at, 0);
        const QString row = html.mid(at, html.indexOf(QStringLiteral("</tr>"), at) - at);
        const QRegularExpression cell(QStringLiteral("<td class=\"n\">([0-9.]+)</td>"));
        std::size_t i = 0;
        for (auto it = cell.globalMatch(row); it.hasNext(); ++i) {
            ASSERT_LT(i, t.values.size());
            EXPECT_FLOAT_EQ(it.next().captured(1).toFloat(), t.values[i]) << "position " << i;
        }
        EXPECT_EQ(i, t.values.size());
    }
}

}  // namespace
}  // namespace quarvell::platform::qt
