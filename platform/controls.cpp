#include "platform/controls.h"

#include <algorithm>
#include <cstdio>

namespace quarvell::platform {

std::string ColorText(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

Control::Control(ControlKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

// Setters notify only on a real change, so views never repaint for nothing.
#define QUARVELL_SET(member, value) \
    do {                            \
        if (member == value) {      \
            return;                 \
        }                           \
        member = value;             \
        notify();                   \
    } while (false)

std::string Typed(const std::string& text, int keyAscii) {
    std::string out = text;
    if (keyAscii == 8) {
        while (!out.empty() && (static_cast<unsigned char>(out.back()) & 0xC0) == 0x80) {
            out.pop_back();
        }
        if (!out.empty()) {
            out.pop_back();
        }
    } else if (keyAscii >= 32 && keyAscii < 128) {
        out += static_cast<char>(keyAscii);
    } else if (keyAscii >= 128 && keyAscii < 256) {
        out += static_cast<char>(0xC0 | (keyAscii >> 6));
        out += static_cast<char>(0x80 | (keyAscii & 0x3F));
    }
    return out;
}

void Control::setVisible(bool v) {
    QUARVELL_SET(visible_, v);
}
void Control::setEnabled(bool e) {
    QUARVELL_SET(enabled_, e);
}
void Control::setTooltip(std::string t) {
    QUARVELL_SET(tooltip_, t);
}
void Control::setHelpContext(int n) {
    QUARVELL_SET(helpContext_, n);
}
void Control::setTabIndex(int n) {
    QUARVELL_SET(tabIndex_, n);
}
void Control::setTabStop(bool t) {
    QUARVELL_SET(tabStop_, t);
}
void Control::setForeColor(Color c) {
    QUARVELL_SET(foreColor_, c);
}
void Control::setBackColor(Color c) {
    QUARVELL_SET(backColor_, c);
}
void Control::setPlace(Place p) {
    QUARVELL_SET(place_, p);
}
void Control::setAlignment(Alignment a) {
    QUARVELL_SET(alignment_, a);
}

bool Control::isShown() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->visible_) {
            return false;
        }
    }
    return true;
}

bool Control::isUsable() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->visible_ || !c->enabled_) {
            return false;
        }
    }
    return true;
}

int Control::observe(Observer o) {
    const int id = nextObserver_++;
    observers_.emplace(id, std::move(o));
    return id;
}

void Control::unobserve(int id) {
    observers_.erase(id);
}

void Control::notify() {
    // An observer may unobserve itself while being called: iterate over a snapshot of ids.
    std::vector<int> ids;
    ids.reserve(observers_.size());
    for (const auto& [id, o] : observers_) {
        ids.push_back(id);
    }
    for (int id : ids) {
        auto it = observers_.find(id);
        if (it != observers_.end()) {
            it->second(*this);
        }
    }
}

void Label::setCaption(std::string c) {
    QUARVELL_SET(caption_, c);
}
void Label::setTransparent(bool t) {
    QUARVELL_SET(transparent_, t);
}

void Label::setFont(double pointSize, bool bold) {
    if (pointSize_ == pointSize && bold_ == bold) {
        return;
    }
    pointSize_ = pointSize;
    bold_ = bold;
    notify();
}

void Label::click() {
    if (isUsable() && onClick) {
        onClick();
    }
}

TextBox::TextBox(std::string name) : Control(ControlKind::TextBox, std::move(name)) {
    setBackColor(kWindowBackground);
}

void TextBox::setText(std::string t) {
    QUARVELL_SET(text_, t);
}
void TextBox::setLocked(bool l) {
    QUARVELL_SET(locked_, l);
}

ComboBox::ComboBox(std::string name, bool editable)
    : Control(ControlKind::ComboBox, std::move(name)), editable_(editable) {
    setBackColor(kWindowBackground);
}

void ComboBox::clear() {
    if (items_.empty() && index_ == -1 && text_.empty()) {
        return;
    }
    items_.clear();
    index_ = -1;
    text_.clear();
    notify();
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    notify();
}

void ComboBox::select(int i) {
    if (i < -1 || i >= count()) {
        return;
    }
    index_ = i;
    text_ = i < 0 ? std::string() : items_[static_cast<std::size_t>(i)];
    notify();
    if (onClick) {
        onClick();
    }
}

void ComboBox::setText(std::string t) {
    if (!editable_) {
        return;
    }
    const auto it = std::find(items_.begin(), items_.end(), t);
    const int matching = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    if (text_ == t && index_ == matching) {
        return;
    }
    const bool changed = text_ != t;
    text_ = std::move(t);
    index_ = matching;
    notify();
    if (changed && onChange) {
        onChange();
    }
}

void ComboBox::setLocked(bool l) {
    QUARVELL_SET(locked_, l);
}

void ScrollBar::moveTo(std::int16_t v) {
    v = std::clamp(v, lowBound(), highBound());
    if (v == value_) {
        notify();
        return;
    }
    value_ = v;
    notify();
    if (onChange) {
        onChange();
    }
}

void ScrollBar::setMin(std::int16_t m) {
    if (m == min_) {
        return;
    }
    min_ = m;
    moveTo(value_);
}

void ScrollBar::setMax(std::int16_t m) {
    if (m == max_) {
        return;
    }
    max_ = m;
    moveTo(value_);
}

void ScrollBar::setSmallChange(std::int16_t s) {
    QUARVELL_SET(small_, s);
}
void ScrollBar::setLargeChange(std::int16_t l) {
    QUARVELL_SET(large_, l);
}

void ScrollBar::setValue(std::int16_t v) {
    if (std::clamp(v, lowBound(), highBound()) != value_) {
        moveTo(v);
    }
}

OptionButton::OptionButton(std::string name, int index)
    : Control(ControlKind::OptionButton, std::move(name)), index_(index) {}

void OptionButton::setCaption(std::string c) {
    QUARVELL_SET(caption_, c);
}

void OptionButton::setChosen(bool v) {
    QUARVELL_SET(value_, v);
}

void OptionButton::choose() {
    if (value_) {
        return;
    }
    click();
}

void OptionButton::click() {
    for (OptionButton* other : group_) {
        if (other != this) {
            other->setChosen(false);
        }
    }
    setChosen(true);
    if (onClick) {
        onClick(index_);
    }
}

void Frame::setCaption(std::string c) {
    QUARVELL_SET(caption_, c);
}

void Button::setCaption(std::string c) {
    QUARVELL_SET(caption_, c);
}

void Button::click() {
    if (isUsable() && onClick) {
        onClick();
    }
}

void MenuItem::setCaption(std::string c) {
    QUARVELL_SET(caption_, c);
}
void MenuItem::setShortcut(std::string s) {
    QUARVELL_SET(shortcut_, s);
}

void MenuItem::click() {
    if (enabled() && !separator() && onClick) {
        onClick();
    }
}

void Form::setCaption(std::string c) {
    QUARVELL_SET(caption_, c);
}
void Form::setKeyPreview(bool k) {
    QUARVELL_SET(keyPreview_, k);
}

#undef QUARVELL_SET

std::string ControlKey(const Control& c) {
    if (c.kind() == ControlKind::OptionButton) {
        return c.name() + std::to_string(static_cast<const OptionButton&>(c).index());
    }
    return c.name();
}

bool FocusScope::setFocus(Control& c) {
    if (focused_ == &c) {
        return true;
    }
    if (!c.isUsable()) {
        return false;
    }
    Control* previous = focused_;
    focused_ = &c;
    // A control that is still on its way in (its GotFocus has not run, because the LostFocus
    // of the one before moved the focus on) never really had the focus: it loses nothing.
    const bool previousArrived = previous != nullptr && previous != arriving_;
    Control* outerArriving = arriving_;
    arriving_ = &c;
    if (previousArrived && previous->onLostFocus) {
        previous->onLostFocus();
    }
    arriving_ = outerArriving;
    if (focused_ == &c && c.onGotFocus) {
        c.onGotFocus();
    }
    return true;
}

Control* FocusScope::nextInTabOrder(bool backwards) const {
    std::vector<Control*> stops;
    for (Control* c : controls_) {
        if (c->tabIndex() >= 0 && c->tabStop() && c->isUsable()) {
            stops.push_back(c);
        }
    }
    if (stops.empty()) {
        return nullptr;
    }
    std::stable_sort(stops.begin(), stops.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    const int here = focused_ != nullptr ? focused_->tabIndex() : -1;
    if (!backwards) {
        for (Control* c : stops) {
            if (c->tabIndex() > here) {
                return c;
            }
        }
        return stops.front();
    }
    for (auto it = stops.rbegin(); it != stops.rend(); ++it) {
        if ((*it)->tabIndex() < here) {
            return *it;
        }
    }
    return stops.back();
}

void FocusScope::tab(bool backwards) {
    if (Control* next = nextInTabOrder(backwards)) {
        setFocus(*next);
    }
}

}  // namespace quarvell::platform
