#pragma once
// Headless controls: the window's controls as plain objects with the classic desktop
// semantics, so that every behaviour of the calculator runs and is tested without a
// windowing system. A view (the Qt binding, the replay tool) observes property changes and
// feeds user actions back through the same operations that program code uses.
//
// Semantics kept here once and for all:
// - Selecting a list entry from code (or by the user) runs the list's Click handler at once,
//   nested, before the caller's next statement; so does choosing an option button.
// - Changing a scroll bar's value, or moving a bound below or above it, runs Change when the
//   value actually changes.
// - Focus moves run LostFocus of the old control, then GotFocus of the new one.
// - Every property change notifies the control's observers.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quarvell::platform {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kGreen{0, 255, 0};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kDarkBlue{0, 0, 192};
inline constexpr Color kCyan{0, 255, 255};
inline constexpr Color kYellow{255, 255, 0};
inline constexpr Color kLightYellow{255, 255, 192};
inline constexpr Color kLightGrey{192, 192, 192};
// The platform's default face and field colours.
inline constexpr Color kButtonFace{240, 240, 240};
inline constexpr Color kWindowBackground{255, 255, 255};

// "#RRGGBB".
std::string ColorText(Color c);

// The text after one character typed at its end: Backspace removes the last character, other
// control characters type nothing, a character above 127 is taken from the 8-bit Western set.
std::string Typed(const std::string& text, int keyAscii);

// Left, top, width, height in twips (15 twips are one pixel at 96 dpi), relative to the
// containing frame or the window's client area.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Place&, const Place&) = default;
};

enum class Alignment { Left, Center, Right };

enum class ControlKind {
    Label,
    TextBox,
    ComboBox,
    ScrollBar,
    OptionButton,
    Frame,
    Button,
    MenuItem,
    Form
};

class Control {
  public:
    using Observer = std::function<void(const Control&)>;
    using Handler = std::function<void()>;

    Control(ControlKind kind, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    // Visible and enabled, and so is every container up the chain.
    bool isShown() const;
    bool isUsable() const;

    const std::string& tooltip() const { return tooltip_; }
    void setTooltip(std::string t);
    int helpContext() const { return helpContext_; }
    void setHelpContext(int n);
    // -1: the control takes no part in the tab order.
    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int n);
    // Off: Tab passes the control by, though a click still gives it the focus.
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool t);
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c);
    Color backColor() const { return backColor_; }
    void setBackColor(Color c);
    const Place& place() const { return place_; }
    void setPlace(Place p);
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment a);
    Control* container() const { return container_; }
    void setContainer(Control* frame) { container_ = frame; }
    // The text a screen reader says for the control.
    const std::string& accessibleName() const { return accessibleName_; }
    void setAccessibleName(std::string n) { accessibleName_ = std::move(n); }

    int observe(Observer o);
    void unobserve(int id);

    Handler onGotFocus;
    Handler onLostFocus;

  protected:
    void notify();

  private:
    ControlKind kind_;
    std::string name_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string tooltip_;
    int helpContext_ = 0;
    int tabIndex_ = -1;
    bool tabStop_ = true;
    Color foreColor_ = kBlack;
    Color backColor_ = kButtonFace;
    Place place_;
    Alignment alignment_ = Alignment::Left;
    Control* container_ = nullptr;
    std::string accessibleName_;
    std::map<int, Observer> observers_;
    int nextObserver_ = 1;
};

class Label : public Control {
  public:
    explicit Label(std::string name) : Control(ControlKind::Label, std::move(name)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    bool transparent() const { return transparent_; }
    void setTransparent(bool t);
    bool bold() const { return bold_; }
    double pointSize() const { return pointSize_; }
    void setFont(double pointSize, bool bold);
    // The user clicks the label.
    void click();
    Handler onClick;

  private:
    std::string caption_;
    bool transparent_ = false;
    bool bold_ = false;
    double pointSize_ = 8.25;
};

class TextBox : public Control {
  public:
    explicit TextBox(std::string name);
    const std::string& text() const { return text_; }
    void setText(std::string t);
    // Read-only: the user cannot edit the text.
    bool locked() const { return locked_; }
    void setLocked(bool l);
    // Runs for every character typed into the field; setting the code to 0 swallows it.
    std::function<void(int& keyAscii)> onKeyPress;

  private:
    std::string text_;
    bool locked_ = false;
};

class ComboBox : public Control {
  public:
    // Editable lists let the user type a text of their own besides choosing an entry.
    ComboBox(std::string name, bool editable);
    bool editable() const { return editable_; }
    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    // -1: no entry selected.
    int index() const { return index_; }
    const std::string& text() const { return text_; }

    void clear();
    void addItem(std::string item);
    // Selects entry i (or none for -1) and runs Click at once, also when i is already
    // selected. An index outside the list is ignored.
    void select(int i);
    // The user types into an editable list: the text changes, the selection follows an
    // entry of exactly that text, and Click does not run.
    void setText(std::string t);
    // A locked list keeps its selection against the user's choice.
    bool locked() const { return locked_; }
    void setLocked(bool l);
    Handler onClick;
    // Runs when the user's typing changes the text of an editable list.
    Handler onChange;

  private:
    bool editable_;
    std::vector<std::string> items_;
    int index_ = -1;
    std::string text_;
    bool locked_ = false;
};

class ScrollBar : public Control {
  public:
    explicit ScrollBar(std::string name) : Control(ControlKind::ScrollBar, std::move(name)) {}
    std::int16_t min() const { return min_; }
    std::int16_t max() const { return max_; }
    std::int16_t smallChange() const { return small_; }
    std::int16_t largeChange() const { return large_; }
    std::int16_t value() const { return value_; }
    // Moving a bound past the value drags the value with it (and runs Change).
    void setMin(std::int16_t m);
    void setMax(std::int16_t m);
    void setSmallChange(std::int16_t s);
    void setLargeChange(std::int16_t l);
    // The value is kept within the range; Change runs when it actually changes.
    void setValue(std::int16_t v);
    Handler onChange;

  private:
    std::int16_t lowBound() const { return min_ < max_ ? min_ : max_; }
    std::int16_t highBound() const { return min_ < max_ ? max_ : min_; }
    void moveTo(std::int16_t v);

    std::int16_t min_ = 0;
    std::int16_t max_ = 32767;
    std::int16_t small_ = 1;
    std::int16_t large_ = 1;
    std::int16_t value_ = 0;
};

class OptionButton : public Control {
  public:
    OptionButton(std::string name, int index);
    int index() const { return index_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    bool value() const { return value_; }
    // The buttons of one group exclude each other.
    void setGroup(std::vector<OptionButton*> group) { group_ = std::move(group); }
    // Chooses this button (the others of the group are cleared) and runs Click when the
    // choice changes.
    void choose();
    // The user clicks the button: chosen, and Click runs even when it was chosen already.
    void click();
    std::function<void(int index)> onClick;

  private:
    void setChosen(bool v);

    int index_;
    std::string caption_;
    bool value_ = false;
    std::vector<OptionButton*> group_;
};

class Frame : public Control {
  public:
    explicit Frame(std::string name) : Control(ControlKind::Frame, std::move(name)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    bool bordered() const { return bordered_; }
    void setBordered(bool b) { bordered_ = b; }

  private:
    std::string caption_;
    bool bordered_ = true;
};

class Button : public Control {
  public:
    explicit Button(std::string name) : Control(ControlKind::Button, std::move(name)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    void click();
    Handler onClick;

  private:
    std::string caption_;
};

class MenuItem : public Control {
  public:
    explicit MenuItem(std::string name) : Control(ControlKind::MenuItem, std::move(name)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    // Shortcut text such as "Ctrl+P"; empty for none.
    const std::string& shortcut() const { return shortcut_; }
    void setShortcut(std::string s);
    bool separator() const { return caption_ == "-"; }
    // Runs Click only while the item is enabled.
    void click();
    Handler onClick;

  private:
    std::string caption_;
    std::string shortcut_;
};

// A window: its caption (the title bar) and whether typed characters reach the window's own
// key handler before the focused control. Its place is the client area.
class Form : public Control {
  public:
    explicit Form(std::string name) : Control(ControlKind::Form, std::move(name)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool k);

  private:
    std::string caption_;
    bool keyPreview_ = false;
};

// The name a control goes by in scripts and reports: its name, with the index for the option
// buttons ("optNotice1").
std::string ControlKey(const Control& c);

// The focus and tab order of one window.
class FocusScope {
  public:
    void add(Control& c) { controls_.push_back(&c); }
    const std::vector<Control*>& controls() const { return controls_; }
    Control* focused() const { return focused_; }
    // Runs LostFocus of the control that had the focus, then GotFocus of c (unless the
    // LostFocus handler moved the focus elsewhere). Hidden or disabled controls cannot
    // take the focus.
    bool setFocus(Control& c);
    // The next (or previous) control in tab order after the focused one, skipping controls
    // without a tab number or tab stop and hidden or disabled ones; nullptr when there is none.
    Control* nextInTabOrder(bool backwards) const;
    // Tab or Shift+Tab.
    void tab(bool backwards);

  private:
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    Control* arriving_ = nullptr;
};

}  // namespace quarvell::platform
