// The yardstick for the calculator's start-up: the least Qt Widgets program with a window of
// the same size, a menu bar and a label, built with the same compiler, flags and Qt.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Qt Widgets window"));
    window.menuBar()->addMenu(QStringLiteral("Help"));
    auto* client = new QLabel(QStringLiteral("Minimal"), &window);
    client->setFixedSize(593, 642);
    window.setCentralWidget(client);
    window.show();
    return QApplication::exec();
}
