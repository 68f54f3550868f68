#pragma once
// The help book's window: the program's HTML topics, shipped as Qt resources under
// ":/help/", shown in a browser window at a topic number ("600.html") or at the contents
// page ("index.html"). A number without a topic of its own opens the contents.

#include <QWidget>

class QTextBrowser;
class QPushButton;

namespace quarvell::platform::qt {

inline constexpr const char* kHelpRoot = ":/help/";

// The resource path of a topic, or of the contents page when there is no topic for it.
QString helpTopicPath(int contextNumber);
bool hasHelpTopic(int contextNumber);

class HelpWindow : public QWidget {
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showTopic(int contextNumber);
    void showContents();
    // The page shown now, as its resource path.
    QString currentPage() const;
    QTextBrowser* browser() const { return browser_; }

  private:
    void open(const QString& path);

    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* forward_;
    QPushButton* contents_;
};

}  // namespace quarvell::platform::qt
