#pragma once
// What assistive technology learns of the windows beyond what the toolkit tells by itself. A
// screen reader is to say what a sighted user reads; the toolkit gets three things wrong here:
// - option buttons: the headless group, not the toolkit, keeps them exclusive, so the toolkit
//   calls them check boxes; they are radio buttons;
// - read-only fields: the toolkit calls every line edit editable, read-only or not;
// - the timed message: a plain dialog to the toolkit; it is an alert, announced when it shows
//   with its title and text.
// Names and labels are the adapters' business (control_adapters.h): a label is named by its
// text, a field or list is labelled by its caption label.

#include <QRadioButton>

class QWidget;

namespace quarvell::platform::qt {

// An option button: the whole coloured area of it is the button, not only its circle and text.
class OptionWidget : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// Puts the program's accessible interfaces in place; once per process, before any window of
// the program is asked for its interface.
void installAccessibility();

// A window of timed messages: its role is the alert's.
void markAsAlert(QWidget& window);
// Tells assistive technology that the alert window shows now, with its text.
void announceAlert(QWidget& window);

}  // namespace quarvell::platform::qt
