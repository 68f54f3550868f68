#include "platform/qt/form_binding.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "platform/qt/accessibility.h"
#include "platform/qt/control_adapters.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/user_actions.h"
#include "platform/qt/widget_look.h"

namespace quarvell::platform::qt {

class FormBinding::MainWindow : public QMainWindow {
  public:
    std::function<void()> onClose;

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        if (onClose) {
            onClose();
        }
    }
};

class FormBinding::FormWindow : public QDialog {
  public:
    FormWindow(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags) {}
    std::function<void()> onClose;
    std::function<void()> onEscape;

  protected:
    // The headless form decides when the window goes away.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (onClose) {
            onClose();
        }
    }
    void reject() override {
        if (onEscape) {
            onEscape();
        }
    }
};

namespace {

int containerDepth(const Control& c) {
    int depth = 0;
    for (const Control* p = c.container(); p != nullptr; p = p->container()) {
        ++depth;
    }
    return depth;
}

bool isNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_F4:
        case Qt::Key_Space:
            return true;
        default:
            return false;
    }
}

// Where a window's frame goes: centred on the point, but moved onto the screen's free area
// where it would stand out of it.
QPoint placeOnScreen(QSize size, QPoint centre, const QRect& area) {
    QPoint corner = centre - QPoint(size.width() / 2, size.height() / 2);
    corner.setX(std::min(corner.x(), area.right() + 1 - size.width()));
    corner.setY(std::min(corner.y(), area.bottom() + 1 - size.height()));
    // The top-left corner wins over the others: a window larger than the screen hangs from it.
    corner.setX(std::max(corner.x(), area.left()));
    corner.setY(std::max(corner.y(), area.top()));
    return corner;
}

}  // namespace

FormBinding::FormBinding(FormDesign design, UserActions& actions, QWidget* owner)
    : design_(std::move(design)), actions_(actions) {
    installAccessibility();
    buildWindow(owner);
    buildControls();
    buildMenus();
    assignCaptionLabels();
    if (design_.focus != nullptr) {
        followUp_ = actions_.addFollowUp([this] { syncFocus(); });
    }
    if (design_.form != nullptr) {
        formObserver_ = design_.form->observe([this](const Control&) { syncForm(); });
        syncForm();
    }
}

FormBinding::~FormBinding() {
    destroying_ = true;
    if (followUp_ != 0) {
        actions_.removeFollowUp(followUp_);
    }
    if (design_.form != nullptr && formObserver_ != 0) {
        design_.form->unobserve(formObserver_);
    }
    // Adapters stop observing before their widgets go, and no widget event finds them after.
    byWidget_.clear();
    popups_.clear();
    byControl_.clear();
    menuAdapters_.clear();
    adapters_.clear();
    delete window_.data();
}

void FormBinding::setCloseHandler(std::function<void()> handler) {
    if (auto* w = dynamic_cast<FormWindow*>(window_.data())) {
        w->onClose = std::move(handler);
    }
}

void FormBinding::setEscapeHandler(std::function<void()> handler) {
    if (auto* w = dynamic_cast<FormWindow*>(window_.data())) {
        w->onEscape = std::move(handler);
    }
}

void FormBinding::buildWindow(QWidget* owner) {
    Place place = design_.form != nullptr ? design_.form->place() : design_.dialogPlace;
    if (design_.kind == FormDesign::Kind::Main) {
        auto* main = new MainWindow;
        main->onClose = [this] { userClosed(); };
        client_ = new QWidget(main);
        main->setCentralWidget(client_);
        mainWindow_ = main;
        window_ = main;
        // The window takes the size of its client area and menu bar, and keeps it.
        main->layout()->setSizeConstraint(QLayout::SetFixedSize);
        actions_.services().setMainWindow(main);
    } else {
        // The close box is named outright: X11 window managers give a window that names none
        // of its buttons every one of them, minimise and maximise included.
        Qt::WindowFlags flags =
            Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        if (design_.kind == FormDesign::Kind::Message) {
            // A timed message informs; the keyboard stays with the calculator.
            flags |= Qt::WindowDoesNotAcceptFocus;
        }
        auto* w = new FormWindow(owner, flags);
        w->setModal(false);
        if (design_.kind == FormDesign::Kind::Message) {
            w->setAttribute(Qt::WA_ShowWithoutActivating);
            markAsAlert(*w);
            // Closing a message hides it before its time; the wait goes on without it.
            w->onClose = [this] { actions_.run([this] { design_.form->setVisible(false); }); };
        }
        client_ = w;
        window_ = w;
    }
    if (design_.form != nullptr) {
        window_->setObjectName(toQString(design_.form->name()));
    }
    client_->setObjectName(window_->objectName() + QStringLiteral("Client"));
    window_->setFont(dialogFont());
    client_->setFixedSize(pixels(place.width), pixels(place.height));
    window_->installEventFilter(this);
}

void FormBinding::buildControls() {
    // Frames first, outer before inner, so that every control finds its frame's widget.
    std::vector<Control*> frames;
    for (Control* c : design_.controls) {
        if (c->kind() == ControlKind::Frame) {
            frames.push_back(c);
        }
    }
    std::stable_sort(frames.begin(), frames.end(), [](const Control* a, const Control* b) {
        return containerDepth(*a) < containerDepth(*b);
    });
    auto create = [this](Control& c) {
        QWidget* parent = parentFor(c);
        std::unique_ptr<ControlAdapter> adapter;
        switch (c.kind()) {
            case ControlKind::Label:
                adapter = std::make_unique<LabelAdapter>(static_cast<Label&>(c), *this, parent);
                break;
            case ControlKind::TextBox:
                adapter = std::make_unique<TextBoxAdapter>(static_cast<TextBox&>(c), *this, parent);
                break;
            case ControlKind::ComboBox:
                adapter =
                    std::make_unique<ComboBoxAdapter>(static_cast<ComboBox&>(c), *this, parent);
                break;
            case ControlKind::ScrollBar:
                adapter =
                    std::make_unique<ScrollBarAdapter>(static_cast<ScrollBar&>(c), *this, parent);
                break;
            case ControlKind::OptionButton:
                adapter = std::make_unique<OptionButtonAdapter>(static_cast<OptionButton&>(c),
                                                                *this, parent);
                break;
            case ControlKind::Frame:
                adapter = std::make_unique<FrameAdapter>(static_cast<Frame&>(c), *this, parent);
                break;
            case ControlKind::Button:
                adapter = std::make_unique<ButtonAdapter>(static_cast<Button&>(c), *this, parent);
                break;
            case ControlKind::MenuItem:
            case ControlKind::Form:
                return;  // menus have their own place; a form is no control of another
        }
        byControl_[&c] = adapter.get();
        adapters_.push_back(std::move(adapter));
    };
    for (Control* c : frames) {
        create(*c);
    }
    for (Control* c : design_.controls) {
        if (c->kind() != ControlKind::Frame) {
            create(*c);
        }
    }
    // Without a focus scope the toolkit keeps its own focus handling (a plain dialog).
    if (design_.focus == nullptr) {
        return;
    }
    const auto& scope = design_.focus->controls();
    for (const auto& adapter : adapters_) {
        QWidget* w = adapter->widget();
        const Control& c = adapter->control();
        const bool takesFocus = c.kind() != ControlKind::Label && c.kind() != ControlKind::Frame &&
                                std::find(scope.begin(), scope.end(), &c) != scope.end();
        w->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    }
}

void FormBinding::buildMenus() {
    if (design_.menus.empty() || mainWindow_ == nullptr) {
        return;
    }
    QMenuBar* bar = mainWindow_->menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    bar->installEventFilter(this);
    for (const FormMenu& m : design_.menus) {
        auto head = std::make_unique<MenuItemAdapter>(*m.head, *this, bar);
        QMenu* menu = head->menu();
        menu->installEventFilter(this);
        menuAdapters_.push_back(std::move(head));
        for (MenuItem* item : m.items) {
            menuAdapters_.push_back(std::make_unique<MenuItemAdapter>(*item, *this, menu, m.head));
        }
    }
}

// The control a caption label names: the nearest entry control in the same frame that starts
// level with the label, beside it, or right under it. The label names it to assistive
// technology, and the label's access key leads there. The classic rule takes the next tab
// number after the label's instead, which sends the life-test labels' keys to the capacitance
// field; the control the caption names is what the user means. Labels with nothing that close
// (the breakdown, the notes) are no captions.
void FormBinding::assignCaptionLabels() {
    if (design_.focus == nullptr) {
        return;
    }
    constexpr long kCaptionGap = 120;  // twips between a caption and the control it names
    const auto& scope = design_.focus->controls();
    for (const auto& adapter : adapters_) {
        auto* label = dynamic_cast<LabelAdapter*>(adapter.get());
        if (label == nullptr) {
            continue;
        }
        const Control& l = label->control();
        const Place& lp = l.place();
        ControlAdapter* best = nullptr;
        long bestScore = std::numeric_limits<long>::max();
        for (const auto& candidate : adapters_) {
            const Control& c = candidate->control();
            if (c.container() != l.container() || c.tabIndex() < 0 ||
                c.kind() == ControlKind::Label || c.kind() == ControlKind::Frame ||
                std::find(scope.begin(), scope.end(), &c) == scope.end()) {
                continue;
            }
            const Place& cp = c.place();
            const long dx = cp.left - lp.left;
            const long dy = cp.top - lp.top;
            if (dy < -lp.height / 2 || dy >= lp.height + kCaptionGap || dx < -lp.width / 2 ||
                dx > lp.width + kCaptionGap) {
                continue;
            }
            const long score = dy + std::labs(dx);
            if (score < bestScore) {
                bestScore = score;
                best = candidate.get();
            }
        }
        if (best != nullptr) {
            label->setLabelled(*best);
        }
    }
}

QWidget* FormBinding::window() const {
    return window_;
}

QMenuBar* FormBinding::menuBar() const {
    return mainWindow_ != nullptr ? mainWindow_->menuBar() : nullptr;
}

QWidget* FormBinding::parentFor(const Control& control) const {
    if (control.container() != nullptr) {
        const auto it = byControl_.find(control.container());
        if (it != byControl_.end()) {
            return it->second->widget();
        }
    }
    return client_;
}

QWidget* FormBinding::widgetOf(const Control& control) const {
    const ControlAdapter* a = adapterOf(control);
    return a != nullptr ? a->widget() : nullptr;
}

ControlAdapter* FormBinding::adapterOf(const Control& control) const {
    const auto it = byControl_.find(&control);
    return it != byControl_.end() ? it->second : nullptr;
}

MenuItemAdapter* FormBinding::menuAdapterOf(const MenuItem& item) const {
    for (const auto& m : menuAdapters_) {
        if (&m->item() == &item) {
            return m.get();
        }
    }
    return nullptr;
}

void FormBinding::watch(QWidget* widget, ControlAdapter* adapter) {
    byWidget_[widget] = adapter;
    widget->installEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->lineEdit() != nullptr) {
            byWidget_[combo->lineEdit()] = adapter;
            combo->lineEdit()->installEventFilter(this);
        }
        popups_[combo->view()] = adapter;
        combo->view()->installEventFilter(this);
    }
}

void FormBinding::syncForm() {
    const Form& form = *design_.form;
    const QString title = toQString(form.caption());
    if (window_->windowTitle() != title) {
        window_->setWindowTitle(title);
    }
    const Place& place = form.place();
    const QSize size(pixels(place.width), pixels(place.height));
    if (client_->size() != size) {
        client_->setFixedSize(size);
    }
    applyColours(*client_, form, true);
    if (form.visible() && window_->isHidden()) {
        showForm();
    } else if (!form.visible() && !window_->isHidden()) {
        window_->hide();
    }
}

void FormBinding::showForm() {
    if (design_.kind == FormDesign::Kind::Main) {
        if (!shownOnce_) {
            window_->adjustSize();
            if (const QScreen* screen = window_->screen()) {
                const QRect area = screen->availableGeometry();
                window_->move(placeOnScreen(window_->frameGeometry().size(), area.center(), area));
            }
            shownOnce_ = true;
        }
        window_->show();
        return;
    }
    // Over its owner, and drawn at once: the handler that shows it goes on waiting.
    if (QWidget* owner = window_->parentWidget()) {
        window_->adjustSize();
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        const QScreen* screen = owner->screen();
        window_->move(screen != nullptr ? placeOnScreen(window_->frameGeometry().size(), centre,
                                                        screen->availableGeometry())
                                        : centre - window_->rect().center());
    }
    window_->show();
    window_->raise();
    window_->repaint();
    if (design_.kind == FormDesign::Kind::Message) {
        announceAlert(*window_);
    }
}

bool FormBinding::eventFilter(QObject* watched, QEvent* event) {
    if (destroying_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto& key = static_cast<QKeyEvent&>(*event);
            if (qobject_cast<QMenu*>(watched) != nullptr ||
                qobject_cast<QMenuBar*>(watched) != nullptr) {
                return handleMenuKey(watched, key);
            }
            if (popups_.count(watched) != 0) {
                // A list's open drop-down: F1 is the list's.
                if (key.key() == Qt::Key_F1) {
                    return handleKey(nullptr, popups_[watched], key);
                }
                return false;
            }
            // Only the widget with the focus: a key it ignores travels on to its parents,
            // and must not be seen twice.
            auto* target = qobject_cast<QWidget*>(watched);
            if (target == nullptr || target != QApplication::focusWidget()) {
                return false;
            }
            const auto it = byWidget_.find(watched);
            return handleKey(target, it != byWidget_.end() ? it->second : nullptr, key);
        }
        case QEvent::FocusIn: {
            const auto it = byWidget_.find(watched);
            if (it != byWidget_.end()) {
                return handleFocusIn(it->second, static_cast<QFocusEvent&>(*event));
            }
            return false;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel: {
            const auto it = byWidget_.find(watched);
            auto* list =
                it != byWidget_.end() ? dynamic_cast<ComboBoxAdapter*>(it->second) : nullptr;
            if (list != nullptr && list->locked()) {
                // A locked list takes the focus but does not open.
                if (event->type() == QEvent::MouseButtonPress && design_.focus != nullptr) {
                    Control& c = list->control();
                    actions_.run([&] { design_.focus->setFocus(c); });
                }
                return true;
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            const auto it = byWidget_.find(watched);
            auto* label = it != byWidget_.end() ? dynamic_cast<LabelAdapter*>(it->second) : nullptr;
            const auto& mouse = static_cast<QMouseEvent&>(*event);
            if (label != nullptr && mouse.button() == Qt::LeftButton &&
                label->label()->rect().contains(mouse.position().toPoint())) {
                auto& l = static_cast<Label&>(label->control());
                actions_.run([&] { l.click(); });
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

bool FormBinding::handleKey(QWidget* target, ControlAdapter* adapter, QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool plain = (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    if (key == Qt::Key_F1 && plain && (mods & Qt::ShiftModifier) == 0) {
        if (design_.helpKey) {
            actions_.run(design_.helpKey);
        } else {
            showHelp(currentHelpContext());
        }
        return true;
    }
    if (design_.focus != nullptr && plain && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        const bool backwards = key == Qt::Key_Backtab || (mods & Qt::ShiftModifier) != 0;
        actions_.run([&] { design_.focus->tab(backwards); });
        return true;
    }
    const QString text = event.text();
    const bool typed = text.size() == 1 && (mods & (Qt::AltModifier | Qt::MetaModifier)) == 0 &&
                       key != Qt::Key_Tab && key != Qt::Key_Backtab;
    if (typed) {
        const int original = text.at(0).unicode();
        int code = original;
        bool focusMoved = false;
        actions_.run([&] {
            const Control* had = design_.focus != nullptr ? design_.focus->focused() : nullptr;
            if (design_.keyPreview && design_.form != nullptr && design_.form->keyPreview()) {
                design_.keyPreview(code);
            }
            focusMoved = design_.focus != nullptr && design_.focus->focused() != had;
            if (code != 0 && !focusMoved && adapter != nullptr &&
                adapter->control().kind() == ControlKind::TextBox) {
                auto& box = static_cast<TextBox&>(adapter->control());
                if (box.onKeyPress) {
                    box.onKeyPress(code);
                }
                focusMoved = design_.focus != nullptr && design_.focus->focused() != had;
            }
        });
        // A letter that sent the focus to another field is not typed into the one it left.
        if (actions_.ended() || code == 0 || focusMoved) {
            return true;
        }
        if (code != original) {
            // A handler typed another character in place of this one.
            auto* edit = qobject_cast<QLineEdit*>(target);
            if (edit != nullptr && !edit->isReadOnly() && code >= 32) {
                edit->insert(QString(QChar(code)));
                Q_EMIT edit->textEdited(edit->text());
            }
            return true;
        }
    }
    auto* list = dynamic_cast<ComboBoxAdapter*>(adapter);
    if (list != nullptr && list->locked() && (isNavigationKey(key) || typed)) {
        return true;
    }
    return false;
}

bool FormBinding::handleFocusIn(ControlAdapter* adapter, QFocusEvent& event) {
    if (design_.focus == nullptr || syncingFocus_) {
        return false;
    }
    // Only the user's own moves count: a click or an access key. The window getting
    // activated, a popup closing or the toolkit moving the focus off a hidden widget are
    // no focus changes of the headless window, which the toolkit then follows again.
    const Qt::FocusReason reason = event.reason();
    if (reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
        Control& c = adapter->control();
        const auto& scope = design_.focus->controls();
        if (design_.focus->focused() != &c &&
            std::find(scope.begin(), scope.end(), &c) != scope.end()) {
            ++focusInDepth_;
            actions_.run([&] { design_.focus->setFocus(c); });
            --focusInDepth_;
        }
    }
    // Moving the toolkit's focus from inside its own focus change is asking for trouble:
    // catch up right after it.
    if (!focusSyncPending_) {
        focusSyncPending_ = true;
        QTimer::singleShot(0, this, [this] {
            focusSyncPending_ = false;
            syncFocus();
        });
    }
    return false;
}

void FormBinding::syncFocus() {
    if (design_.focus == nullptr || syncingFocus_ || actions_.ended() || window_ == nullptr) {
        return;
    }
    if (focusInDepth_ > 0) {
        if (!focusSyncPending_) {
            focusSyncPending_ = true;
            QTimer::singleShot(0, this, [this] {
                focusSyncPending_ = false;
                syncFocus();
            });
        }
        return;
    }
    Control* c = design_.focus->focused();
    if (c == nullptr) {
        return;
    }
    QWidget* w = widgetOf(*c);
    if (w == nullptr || !w->isVisibleTo(window_) || !w->isEnabled()) {
        return;
    }
    QWidget* current = window_->focusWidget();
    if (current == w || (current != nullptr && current->focusProxy() == w) ||
        (w->focusProxy() != nullptr && current == w->focusProxy())) {
        return;
    }
    syncingFocus_ = true;
    w->setFocus(Qt::OtherFocusReason);
    syncingFocus_ = false;
}

int FormBinding::currentHelpContext() const {
    const Control* c = nullptr;
    if (design_.focus != nullptr) {
        c = design_.focus->focused();
    } else if (QWidget* w = QApplication::focusWidget()) {
        const auto it = byWidget_.find(w);
        c = it != byWidget_.end() ? &it->second->control() : nullptr;
    }
    int n = c != nullptr ? c->helpContext() : 0;
    if (n == 0 && design_.form != nullptr) {
        n = design_.form->helpContext();
    }
    return n != 0 ? n : design_.defaultHelpContext;
}

bool FormBinding::handleMenuKey(QObject* watched, QKeyEvent& event) {
    if (event.key() != Qt::Key_F1) {
        return false;
    }
    QAction* active = nullptr;
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
        active = menu->activeAction();
        if (active == nullptr) {
            active = menu->menuAction();
        }
    } else if (auto* bar = qobject_cast<QMenuBar*>(watched)) {
        active = bar->activeAction();
    }
    int n = 0;
    for (const auto& m : menuAdapters_) {
        if (m->action() == active) {
            n = m->helpContext();
        }
    }
    if (n == 0) {
        n = currentHelpContext();
    }
    showHelp(n);
    return true;
}

void FormBinding::showHelp(int contextNumber) {
    actions_.run([&] { actions_.services().showHelp(contextNumber); });
}

void FormBinding::menuCommand(MenuItemAdapter& item) {
    MenuItem& m = item.item();
    actions_.run([&] {
        m.click();
        if (&m == design_.helpContents) {
            actions_.services().showHelp(0);
        }
    });
}

void FormBinding::userClosed() {
    if (actions_.ended()) {
        return;
    }
    actions_.run([&] {
        if (design_.unload) {
            design_.unload();
        }
    });
    actions_.services().finish();
}

}  // namespace quarvell::platform::qt
