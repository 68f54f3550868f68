#include "platform/qt/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace quarvell::platform::qt {

namespace {

const QString kBookTitle = QStringLiteral("Quarvell Help");

QString contentsPath() {
    return QString::fromLatin1(kHelpRoot) + QStringLiteral("index.html");
}

QString numberedPath(int contextNumber) {
    return QString::fromLatin1(kHelpRoot) + QString::number(contextNumber) +
           QStringLiteral(".html");
}

}  // namespace

bool hasHelpTopic(int contextNumber) {
    return contextNumber > 0 && QFile::exists(numberedPath(contextNumber));
}

QString helpTopicPath(int contextNumber) {
    return hasHelpTopic(contextNumber) ? numberedPath(contextNumber) : contentsPath();
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      browser_(new QTextBrowser(this)),
      back_(new QPushButton(QStringLiteral("&Back"), this)),
      forward_(new QPushButton(QStringLiteral("&Forward"), this)),
      contents_(new QPushButton(QStringLiteral("&Contents"), this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(kBookTitle);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    // Lines break between words only, in tables too: a narrow column never splits "10.10".
    browser_->setWordWrapMode(QTextOption::WordWrap);
    browser_->setSearchPaths({QString::fromLatin1(kHelpRoot)});
    QFile style(QString::fromLatin1(kHelpRoot) + QStringLiteral("help.css"));
    if (style.open(QIODevice::ReadOnly | QIODevice::Text)) {
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents_);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents_, &QPushButton::clicked, this, [this] { showContents(); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        // The contents page is the book itself.
        const QString page = browser_->documentTitle();
        setWindowTitle(page.isEmpty() || page == kBookTitle
                           ? kBookTitle
                           : kBookTitle + QStringLiteral(" - ") + page);
    });
    // Wide enough for the widest table, the environment factors, to read without scrolling.
    resize(720, 600);
}

void HelpWindow::showTopic(int contextNumber) {
    open(helpTopicPath(contextNumber));
}

void HelpWindow::showContents() {
    open(contentsPath());
}

void HelpWindow::open(const QString& path) {
    browser_->setSource(QUrl(QStringLiteral("qrc") + path));
    show();
    raise();
    activateWindow();
}

QString HelpWindow::currentPage() const {
    const QUrl url = browser_->source();
    return QStringLiteral(":") + url.path();
}

}  // namespace quarvell::platform::qt
