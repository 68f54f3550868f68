#pragma once
// One adapter per control kind. An adapter owns nothing but the link: it creates the widget,
// mirrors every property of its headless control into it whenever the control reports a
// change, and turns what the user does to the widget into the control's own operation
// (setText, select, setValue, click). Keys, focus and F1 are the form binding's business.

#include <QPointer>
#include <QString>

#include <string>

#include "platform/controls.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace quarvell::platform::qt {

class FormBinding;
class LabelAdapter;

class ControlAdapter {
  public:
    ControlAdapter(Control& control, FormBinding& form);
    virtual ~ControlAdapter();
    ControlAdapter(const ControlAdapter&) = delete;
    ControlAdapter& operator=(const ControlAdapter&) = delete;

    Control& control() const { return control_; }
    // The widget that stands for the control (nullptr for menu items).
    virtual QWidget* widget() const = 0;
    // Mirrors every property of the control into the widget.
    virtual void sync() = 0;
    // The caption label that names the control on screen (a field's, a list's).
    void setCaptionLabel(const LabelAdapter* label);

  protected:
    // Starts observing; called once the widget exists.
    void bind();
    // Name, place, visibility, enabled state, tooltip and accessible name; caption is what the
    // user reads on the control itself (none for fields and lists, which show a value).
    void syncCommon(QWidget& w, const std::string& caption);
    // The tooltip on screen: the control's own.
    virtual QString shownTooltip() const;
    FormBinding& form() const { return form_; }

  private:
    Control& control_;
    FormBinding& form_;
    const LabelAdapter* captionLabel_ = nullptr;
    int observer_ = 0;
};

class LabelAdapter : public ControlAdapter {
  public:
    LabelAdapter(Label& label, FormBinding& form, QWidget* parent);
    QWidget* widget() const override;
    QLabel* label() const { return widget_; }
    void sync() override;
    // The control whose caption this label is: the label names it, and its access key leads
    // there.
    void setLabelled(ControlAdapter& control);
    // What a screen reader says of the label: its text as shown.
    QString spokenText() const;

  private:
    Label& label_;
    QLabel* widget_;
    ControlAdapter* labelled_ = nullptr;
    std::string shownCaption_;
    bool synced_ = false;
};

class TextBoxAdapter : public ControlAdapter {
  public:
    TextBoxAdapter(TextBox& box, FormBinding& form, QWidget* parent);
    QWidget* widget() const override;
    void sync() override;

  protected:
    QString shownTooltip() const override;

  private:
    TextBox& box_;
    QLineEdit* widget_;
};

class ComboBoxAdapter : public ControlAdapter {
  public:
    ComboBoxAdapter(ComboBox& list, FormBinding& form, QWidget* parent);
    QWidget* widget() const override;
    void sync() override;
    bool locked() const;

  private:
    ComboBox& list_;
    QComboBox* widget_;
};

class ScrollBarAdapter : public ControlAdapter {
  public:
    ScrollBarAdapter(ScrollBar& bar, FormBinding& form, QWidget* parent);
    QWidget* widget() const override;
    void sync() override;

  private:
    ScrollBar& bar_;
    QScrollBar* widget_;
};

class OptionButtonAdapter : public ControlAdapter {
  public:
    OptionButtonAdapter(OptionButton& option, FormBinding& form, QWidget* parent);
    QWidget* widget() const override;
    void sync() override;

  private:
    OptionButton& option_;
    QRadioButton* widget_;
};

class FrameAdapter : public ControlAdapter {
  public:
    FrameAdapter(Frame& frame, FormBinding& form, QWidget* parent);
    QWidget* widget() const override;
    void sync() override;

  private:
    Frame& frame_;
    QWidget* widget_;
};

class ButtonAdapter : public ControlAdapter {
  public:
    ButtonAdapter(Button& button, FormBinding& form, QWidget* parent);
    QWidget* widget() const override;
    void sync() override;

  private:
    Button& button_;
    QPushButton* widget_;
};

// A menu-bar entry (a QMenu) or an item of one (a QAction; "-" is a separator).
class MenuItemAdapter : public ControlAdapter {
  public:
    MenuItemAdapter(MenuItem& item, FormBinding& form, QMenuBar* bar);
    MenuItemAdapter(MenuItem& item, FormBinding& form, QMenu* menu, MenuItem* head);
    QWidget* widget() const override { return nullptr; }
    QAction* action() const { return action_; }
    QMenu* menu() const { return menu_; }
    MenuItem& item() const { return item_; }
    // The item's help number, else its menu's.
    int helpContext() const;
    void sync() override;

  private:
    MenuItem& item_;
    MenuItem* head_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* action_ = nullptr;
};

}  // namespace quarvell::platform::qt
