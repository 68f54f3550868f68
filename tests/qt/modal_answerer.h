#pragma once
// Answers the modal dialogs a Qt test expects (message boxes, input boxes, and other dialogs it
// closes unanswered), in order, and fails the test on any other: an unexpected dialog is recorded
// and closed instead of leaving the test hanging in its event loop.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarvell::qt_test {

// What a dialog showed.
struct SeenDialog {
    std::string kind;  // "message", "input" or "dialog"
    std::string title;
    std::string text;  // for another kind of dialog: its object name
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::string defaultAnswer;
    int width = 0;
};

class ModalAnswerer {
  public:
    ModalAnswerer() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    ~ModalAnswerer() {
        timer_.stop();
        EXPECT_TRUE(unexpected_.empty())
            << "unexpected modal dialog: " << (unexpected_.empty() ? "" : unexpected_.front());
        EXPECT_TRUE(buttons_.empty() && inputs_.empty() && others_.empty())
            << "an expected dialog never came";
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // The next message box is answered with this button.
    void press(QMessageBox::StandardButton b) { buttons_.push_back(b); }
    // The next input box is answered with this text, or cancelled (nullopt).
    void answer(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

    // The next dialog of another kind (a print dialog) is closed as with Cancel, or filled in
    // and accepted.
    void dismiss() { others_.emplace_back(); }
    void accept(std::function<void(QDialog&)> fillIn) { others_.push_back(std::move(fillIn)); }

    const std::vector<SeenDialog>& seen() const { return seen_; }

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen_.push_back({"message",
                             box->windowTitle().toStdString(),
                             box->text().toStdString(),
                             box->standardButtons(),
                             box->icon(),
                             {}});
            if (buttons_.empty()) {
                unexpected_.push_back("message box: " + box->text().toStdString());
                box->done(0);
                return;
            }
            const QMessageBox::StandardButton b = buttons_.front();
            buttons_.pop_front();
            box->button(b)->click();
            return;
        }
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            seen_.push_back({"input",
                             input->windowTitle().toStdString(),
                             input->labelText().toStdString(),
                             {},
                             QMessageBox::NoIcon,
                             input->textValue().toStdString(),
                             input->width()});
            if (inputs_.empty()) {
                unexpected_.push_back("input box: " + input->labelText().toStdString());
                input->reject();
                return;
            }
            const std::optional<std::string> a = inputs_.front();
            inputs_.pop_front();
            if (a) {
                input->setTextValue(QString::fromStdString(*a));
                input->accept();
            } else {
                input->reject();
            }
            return;
        }
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog != nullptr && !others_.empty()) {
            const std::function<void(QDialog&)> fillIn = others_.front();
            others_.pop_front();
            seen_.push_back({"dialog",
                             dialog->windowTitle().toStdString(),
                             dialog->objectName().toStdString(),
                             {},
                             QMessageBox::NoIcon,
                             {}});
            if (fillIn) {
                fillIn(*dialog);
                dialog->accept();
            } else {
                dialog->reject();
            }
            return;
        }
        unexpected_.push_back("dialog: " + modal->windowTitle().toStdString());
        modal->close();
    }

    QTimer timer_;
    std::deque<QMessageBox::StandardButton> buttons_;
    std::deque<std::optional<std::string>> inputs_;
    std::vector<SeenDialog> seen_;
    std::deque<std::function<void(QDialog&)>> others_;
    std::vector<std::string> unexpected_;
};

}  // namespace quarvell::qt_test
