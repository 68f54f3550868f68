#include "platform/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QVariant>

#include <mutex>

namespace quarvell::platform::qt {

namespace {

constexpr const char* kAlertProperty = "quarvellAlert";

class OptionAccessible : public QAccessibleWidget {
  public:
    explicit OptionAccessible(OptionWidget* w) : QAccessibleWidget(w, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (button()->isEnabled()) {
            names.prepend(toggleAction());
        }
        return names;
    }
    void doAction(const QString& name) override {
        if (name == toggleAction() || name == pressAction()) {
            if (button()->isEnabled()) {
                button()->click();
            }
            return;
        }
        QAccessibleWidget::doAction(name);
    }

  private:
    QRadioButton* button() const { return static_cast<QRadioButton*>(widget()); }
};

// A field the user reads but cannot change: read-only and nothing else, with its text for
// reading word by word.
class ReadOnlyFieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ReadOnlyFieldAccessible(QLineEdit* w)
        : QAccessibleWidget(w, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return edit()->text();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = edit()->isReadOnly();
        s.editable = !s.readOnly;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    void selection(int index, int* start, int* end) const override {
        *start = 0;
        *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = *start + edit()->selectionLength();
        }
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { edit()->deselect(); }
    void setSelection(int, int start, int end) override {
        edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        return edit()->text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    // From the cursor's place, which the field knows, by the widths of the characters between.
    QRect characterRect(int offset) const override {
        const QString t = edit()->text();
        if (offset < 0 || offset >= t.size()) {
            return {};
        }
        const QRect cursor = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int at = edit()->cursorPosition();
        const QFontMetrics metrics = edit()->fontMetrics();
        const int x =
            offset >= at
                ? cursor.center().x() + metrics.horizontalAdvance(t.mid(at, offset - at))
                : cursor.center().x() - metrics.horizontalAdvance(t.mid(offset, at - offset));
        return {edit()->mapToGlobal(QPoint(x, cursor.top())),
                QSize(metrics.horizontalAdvance(t.at(offset)), cursor.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int) override { edit()->setCursorPosition(start); }
    QString attributes(int offset, int* start, int* end) const override {
        *start = offset;
        *end = offset;
        return {};
    }

  private:
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
};

// The timed message: an alert whose description is what it says.
class AlertAccessible : public QAccessibleWidget {
  public:
    explicit AlertAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            QStringList lines;
            for (const QLabel* label : widget()->findChildren<QLabel*>()) {
                if (!label->isHidden()) {
                    lines << label->text().trimmed();
                }
            }
            return lines.join(QLatin1Char('\n'));
        }
        return QAccessibleWidget::text(t);
    }
};

// Asked first, for every object, before the toolkit's own interfaces.
QAccessibleInterface* programInterface(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    if (auto* option = dynamic_cast<OptionWidget*>(object)) {
        return new OptionAccessible(option);
    }
    // Read-only as the program made it: a field that becomes editable later keeps this
    // interface, whose state follows.
    if (auto* edit = qobject_cast<QLineEdit*>(object); edit != nullptr && edit->isReadOnly()) {
        return new ReadOnlyFieldAccessible(edit);
    }
    if (object->property(kAlertProperty).toBool()) {
        return new AlertAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(&programInterface); });
}

void markAsAlert(QWidget& window) {
    window.setProperty(kAlertProperty, true);
}

void announceAlert(QWidget& window) {
    QAccessibleEvent alert(&window, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

}  // namespace quarvell::platform::qt
