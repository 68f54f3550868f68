#pragma once
// The Qt binding: the calculator on screen.
//
// The headless window (window/) stays the single source of truth; this directory only shows
// it. A FormBinding takes one headless form with its controls and menus and builds a real
// window from them: one small adapter per control (control_adapters.h) mirrors every
// property it observes into a widget, and every user action (typing, choosing, scrolling,
// clicking, a menu command) goes back through the control's own operation inside
// UserActions::run, which ends the program cleanly when a handler ends it.
//
// The form binding also does what the platform does for a classic window:
// - focus: a click or an access key that focuses a widget runs FocusScope::setFocus (LostFocus
//   of the control that had the focus, then GotFocus); Tab and Shift+Tab run FocusScope::tab,
//   so the order is the headless tab order; after every action the toolkit's focus follows
//   the headless one;
// - key preview: each typed character goes to the form's key handler first, then to the
//   focused text field's key handler; a character set to 0 by either never reaches the widget,
//   nor does one after which the focus went elsewhere (a letter that jumped to its field);
// - F1: the help book opens at the focused control's help number (the form's own when the
//   control has none), or at the highlighted menu item's;
// - the close box: the form's unload handler runs and the program ends.
//
// QtServices (qt_services.h) is the rest of the platform: message and input boxes, the clock,
// the event loop, the help window. The About box is bound the same way each time it loads
// (app/about_window.h).

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/controls.h"

class QFocusEvent;
class QKeyEvent;
class QMainWindow;
class QMenuBar;
class QWidget;

namespace quarvell::platform::qt {

class ControlAdapter;
class MenuItemAdapter;
class UserActions;

struct FormMenu {
    MenuItem* head = nullptr;
    std::vector<MenuItem*> items;
};

struct FormDesign {
    enum class Kind {
        Main,     // the application window: menu bar, centred on the screen, fixed size
        Message,  // a small non-modal window shown over its owner and painted at once
        Dialog    // a dialog whose showing and hiding its own binding looks after
    };
    Kind kind = Kind::Main;
    // Caption, place (the client area), visibility, colours, help number and key preview;
    // a Dialog may have none.
    Form* form = nullptr;
    // Every control of the form, in the order they are drawn; a frame before the controls it
    // holds.
    std::vector<Control*> controls;
    FocusScope* focus = nullptr;
    std::vector<FormMenu> menus;
    // The form's key-preview handler (sees every typed character first) and its unload
    // handler (runs when the user closes the window).
    std::function<void(int& keyAscii)> keyPreview;
    std::function<void()> unload;
    // What F1 does while a control (not a menu) has the focus; without it, the help book
    // opens at the focused control's number, else the form's, else defaultHelpContext.
    std::function<void()> helpKey;
    // The menu item that opens the help book at its contents page.
    MenuItem* helpContents = nullptr;
    // The help number F1 uses when neither the control nor the form has one.
    int defaultHelpContext = 10;
    // Client size of a Dialog without a form, in twips.
    Place dialogPlace;
};

class FormBinding : public QObject {
  public:
    FormBinding(FormDesign design, UserActions& actions, QWidget* owner = nullptr);
    ~FormBinding() override;
    FormBinding(const FormBinding&) = delete;
    FormBinding& operator=(const FormBinding&) = delete;

    // The top-level window and the area the controls are placed in.
    QWidget* window() const;
    QWidget* clientArea() const { return client_; }
    QMenuBar* menuBar() const;

    // The widget of a control, or nullptr.
    QWidget* widgetOf(const Control& control) const;
    ControlAdapter* adapterOf(const Control& control) const;
    MenuItemAdapter* menuAdapterOf(const MenuItem& item) const;

    UserActions& actions() const { return actions_; }
    const FormDesign& design() const { return design_; }

    // For the adapters: routes the widget's events (keys, focus, mouse) through the binding.
    void watch(QWidget* widget, ControlAdapter* adapter);
    // A user's menu command.
    void menuCommand(MenuItemAdapter& item);
    // Where a control's widget goes: its frame's widget, or the client area.
    QWidget* parentFor(const Control& control) const;
    // Makes the toolkit's focus follow the headless focus.
    void syncFocus();
    // The help number F1 opens now.
    int currentHelpContext() const;
    // A Dialog's close box and Escape key (by default both do nothing).
    void setCloseHandler(std::function<void()> handler);
    void setEscapeHandler(std::function<void()> handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class MainWindow;
    class FormWindow;

    void buildWindow(QWidget* owner);
    void buildControls();
    void buildMenus();
    void assignCaptionLabels();
    void syncForm();
    void showForm();
    bool handleKey(QWidget* target, ControlAdapter* adapter, QKeyEvent& event);
    bool handleFocusIn(ControlAdapter* adapter, QFocusEvent& event);
    bool handleMenuKey(QObject* watched, QKeyEvent& event);
    void showHelp(int contextNumber);
    void userClosed();

    FormDesign design_;
    UserActions& actions_;
    QPointer<QWidget> window_;
    QMainWindow* mainWindow_ = nullptr;
    QWidget* client_ = nullptr;
    std::vector<std::unique_ptr<ControlAdapter>> adapters_;
    std::vector<std::unique_ptr<MenuItemAdapter>> menuAdapters_;
    std::map<const Control*, ControlAdapter*> byControl_;
    std::map<const QObject*, ControlAdapter*> byWidget_;
    // The drop-down views of the lists, for F1 while one is open.
    std::map<const QObject*, ControlAdapter*> popups_;
    int formObserver_ = 0;
    int followUp_ = 0;
    bool destroying_ = false;
    bool shownOnce_ = false;
    bool syncingFocus_ = false;
    bool focusSyncPending_ = false;
    int focusInDepth_ = 0;
};

}  // namespace quarvell::platform::qt
