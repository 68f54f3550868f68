#include "platform/qt/control_adapters.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>

#include "platform/qt/accessibility.h"
#include "platform/qt/form_binding.h"
#include "platform/qt/user_actions.h"
#include "platform/qt/widget_look.h"

namespace quarvell::platform::qt {

namespace {

void setTextIfChanged(QWidget& w, const QString& tooltip) {
    if (w.toolTip() != tooltip) {
        w.setToolTip(tooltip);
    }
}

// Whether a text shows whole in a field: within its frame and the field's own margins.
bool fitsWhole(const QLineEdit& edit, const QString& text) {
    constexpr int kLineEditMargin = 2;  // the toolkit's space on either side of the text
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QRect area = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    return edit.fontMetrics().horizontalAdvance(text) + 2 * kLineEditMargin + margins.left() +
               margins.right() <=
           area.width();
}

}  // namespace

ControlAdapter::ControlAdapter(Control& control, FormBinding& form)
    : control_(control), form_(form) {}

ControlAdapter::~ControlAdapter() {
    if (observer_ != 0) {
        control_.unobserve(observer_);
    }
}

void ControlAdapter::bind() {
    observer_ = control_.observe([this](const Control&) { sync(); });
    if (QWidget* w = widget()) {
        w->setObjectName(toQString(control_.name()));
        form_.watch(w, this);
    }
    sync();
}

void ControlAdapter::syncCommon(QWidget& w, const std::string& caption) {
    const QRect rect = pixelRect(control_.place());
    if (w.geometry() != rect) {
        w.setGeometry(rect);
    }
    const bool visible = control_.visible();
    if (w.isHidden() == visible) {
        w.setVisible(visible);
        // A control that appears lies on top of what it covers (the typed-rate
        // confirmation over the level list); labels always stay beneath the controls.
        if (visible && control_.kind() != ControlKind::Label) {
            w.raise();
        }
    }
    if (w.isEnabled() != control_.enabled()) {
        w.setEnabled(control_.enabled());
    }
    setTextIfChanged(w, shownTooltip());
    const QString name =
        captionLabel_ != nullptr ? captionLabel_->spokenText() : accessibleText(control_, caption);
    if (w.accessibleName() != name) {
        w.setAccessibleName(name);
    }
    const QString description = toQString(control_.tooltip());
    if (w.accessibleDescription() != description) {
        w.setAccessibleDescription(description);
    }
}

QString ControlAdapter::shownTooltip() const {
    return toQString(control_.tooltip());
}

void ControlAdapter::setCaptionLabel(const LabelAdapter* label) {
    captionLabel_ = label;
    sync();
}

// Labels -----------------------------------------------------------------------------------

LabelAdapter::LabelAdapter(Label& label, FormBinding& form, QWidget* parent)
    : ControlAdapter(label, form), label_(label), widget_(new QLabel(parent)) {
    widget_->setTextFormat(Qt::PlainText);
    widget_->setWordWrap(true);
    widget_->lower();
    bind();
}

QWidget* LabelAdapter::widget() const {
    return widget_;
}

void LabelAdapter::setLabelled(ControlAdapter& control) {
    labelled_ = &control;
    widget_->setBuddy(control.widget());
    synced_ = false;
    sync();
    control.setCaptionLabel(this);
}

QString LabelAdapter::spokenText() const {
    return accessibleText(label_, label_.caption());
}

void LabelAdapter::sync() {
    syncCommon(*widget_, label_.caption());
    if (!synced_ || shownCaption_ != label_.caption()) {
        shownCaption_ = label_.caption();
        // With a buddy the label draws its access key itself; without one the marks go.
        const std::string& shown =
            widget_->buddy() != nullptr ? shownCaption_ : withoutAccessMarks(shownCaption_);
        widget_->setText(toDisplayText(shown));
        synced_ = true;
        // The control this label names is called by the new caption.
        if (labelled_ != nullptr) {
            labelled_->sync();
        }
    }
    applyColours(*widget_, label_, !label_.transparent());
    // On a coloured label the caption keeps off the sides, also where it has no blank there.
    const int margin = widget_->autoFillBackground() ? kCaptionMargin : 0;
    if (widget_->contentsMargins() != QMargins(margin, 0, margin, 0)) {
        widget_->setContentsMargins(margin, 0, margin, 0);
    }
    const Qt::Alignment alignment = toQtAlignment(label_.alignment()) | Qt::AlignTop;
    if (widget_->alignment() != alignment) {
        widget_->setAlignment(alignment);
    }
    QFont font = dialogFont();
    font.setPointSizeF(label_.pointSize());
    font.setBold(label_.bold());
    if (widget_->font() != font) {
        widget_->setFont(font);
    }
}

// Text fields ------------------------------------------------------------------------------

TextBoxAdapter::TextBoxAdapter(TextBox& box, FormBinding& form, QWidget* parent)
    : ControlAdapter(box, form), box_(box), widget_(new QLineEdit(parent)) {
    // Before anything asks for its accessible interface, which is chosen once: a read-only
    // field gets the one that tells it is read-only.
    widget_->setReadOnly(box.locked());
    QObject::connect(widget_, &QLineEdit::textEdited, widget_, [this](const QString& text) {
        this->form().actions().run([&] { box_.setText(text.toStdString()); });
        sync();
    });
    bind();
}

QWidget* TextBoxAdapter::widget() const {
    return widget_;
}

// A read-only field too narrow for its text has the whole text in its tooltip, after what
// the tooltip says of the field.
QString TextBoxAdapter::shownTooltip() const {
    QString tip = ControlAdapter::shownTooltip();
    const QString text = toQString(box_.text());
    if (!box_.locked() || fitsWhole(*widget_, text)) {
        return tip;
    }
    return tip.isEmpty() ? text : tip + QLatin1Char('\n') + text;
}

void TextBoxAdapter::sync() {
    syncCommon(*widget_, {});
    const QString text = toQString(box_.text());
    if (widget_->isReadOnly() != box_.locked()) {
        widget_->setReadOnly(box_.locked());
    }
    if (widget_->text() != text) {
        widget_->setText(text);
        // A field the user only reads shows how its text begins; setText leaves the view at
        // the end.
        if (box_.locked()) {
            widget_->setCursorPosition(0);
        }
    }
    const Qt::Alignment alignment = toQtAlignment(box_.alignment()) | Qt::AlignVCenter;
    if (widget_->alignment() != alignment) {
        widget_->setAlignment(alignment);
    }
    applyColours(*widget_, box_, false);
}

// Lists ------------------------------------------------------------------------------------

ComboBoxAdapter::ComboBoxAdapter(ComboBox& list, FormBinding& form, QWidget* parent)
    : ControlAdapter(list, form), list_(list), widget_(new QComboBox(parent)) {
    widget_->setEditable(list.editable());
    widget_->setInsertPolicy(QComboBox::NoInsert);
    widget_->setMaxVisibleItems(16);
    QObject::connect(widget_, &QComboBox::activated, widget_, [this](int index) {
        if (!list_.locked()) {
            this->form().actions().run([&] { list_.select(index); });
        }
        sync();
    });
    if (QLineEdit* edit = widget_->lineEdit()) {
        QObject::connect(edit, &QLineEdit::textEdited, widget_, [this](const QString& text) {
            if (!list_.locked()) {
                this->form().actions().run([&] { list_.setText(text.toStdString()); });
            }
            sync();
        });
    }
    bind();
}

QWidget* ComboBoxAdapter::widget() const {
    return widget_;
}

bool ComboBoxAdapter::locked() const {
    return list_.locked();
}

void ComboBoxAdapter::sync() {
    const QSignalBlocker block(widget_);
    syncCommon(*widget_, {});
    const auto& items = list_.items();
    bool same = widget_->count() == list_.count();
    for (int i = 0; same && i < list_.count(); ++i) {
        same = widget_->itemText(i) == toQString(items[static_cast<std::size_t>(i)]);
    }
    if (!same) {
        widget_->clear();
        for (const std::string& item : items) {
            widget_->addItem(toQString(item));
        }
    }
    if (widget_->currentIndex() != list_.index()) {
        widget_->setCurrentIndex(list_.index());
    }
    const QString text = toQString(list_.text());
    if (list_.editable()) {
        if (widget_->currentText() != text) {
            widget_->setEditText(text);
        }
    } else {
        // A list with no entry chosen may still show a text of its own.
        const QString placeholder = list_.index() < 0 ? text : QString();
        if (widget_->placeholderText() != placeholder) {
            widget_->setPlaceholderText(placeholder);
        }
    }
    applyColours(*widget_, list_, false);
}

// Scroll bars ------------------------------------------------------------------------------

ScrollBarAdapter::ScrollBarAdapter(ScrollBar& bar, FormBinding& form, QWidget* parent)
    : ControlAdapter(bar, form), bar_(bar), widget_(new QScrollBar(Qt::Horizontal, parent)) {
    QObject::connect(widget_, &QScrollBar::valueChanged, widget_, [this](int value) {
        this->form().actions().run([&] { bar_.setValue(static_cast<std::int16_t>(value)); });
        sync();
    });
    bind();
}

QWidget* ScrollBarAdapter::widget() const {
    return widget_;
}

void ScrollBarAdapter::sync() {
    const QSignalBlocker block(widget_);
    syncCommon(*widget_, {});
    // A range from a larger minimum to a smaller maximum runs from right to left.
    const bool reversed = bar_.min() > bar_.max();
    const int low = reversed ? bar_.max() : bar_.min();
    const int high = reversed ? bar_.min() : bar_.max();
    if (widget_->minimum() != low || widget_->maximum() != high) {
        widget_->setRange(low, high);
    }
    if (widget_->invertedAppearance() != reversed) {
        widget_->setInvertedAppearance(reversed);
        widget_->setInvertedControls(reversed);
    }
    if (widget_->singleStep() != bar_.smallChange()) {
        widget_->setSingleStep(bar_.smallChange());
    }
    if (widget_->pageStep() != bar_.largeChange()) {
        widget_->setPageStep(bar_.largeChange());
    }
    if (widget_->value() != bar_.value()) {
        widget_->setValue(bar_.value());
    }
}

// Option buttons ---------------------------------------------------------------------------

OptionButtonAdapter::OptionButtonAdapter(OptionButton& option, FormBinding& form, QWidget* parent)
    : ControlAdapter(option, form), option_(option), widget_(new OptionWidget(parent)) {
    // The headless group decides which button is chosen.
    widget_->setAutoExclusive(false);
    QObject::connect(widget_, &QRadioButton::clicked, widget_, [this] {
        this->form().actions().run([&] { option_.click(); });
        sync();
    });
    bind();
}

QWidget* OptionButtonAdapter::widget() const {
    return widget_;
}

void OptionButtonAdapter::sync() {
    const QSignalBlocker block(widget_);
    syncCommon(*widget_, option_.caption());
    const QString caption = toQString(option_.caption());
    if (widget_->text() != caption) {
        widget_->setText(caption);
    }
    if (widget_->isChecked() != option_.value()) {
        widget_->setChecked(option_.value());
    }
    applyColours(*widget_, option_, true);
}

// Frames -----------------------------------------------------------------------------------

FrameAdapter::FrameAdapter(Frame& frame, FormBinding& form, QWidget* parent)
    : ControlAdapter(frame, form),
      frame_(frame),
      widget_(frame.bordered() ? static_cast<QWidget*>(new QGroupBox(parent))
                               : new QWidget(parent)) {
    bind();
}

QWidget* FrameAdapter::widget() const {
    return widget_;
}

void FrameAdapter::sync() {
    syncCommon(*widget_, frame_.caption());
    if (auto* box = qobject_cast<QGroupBox*>(widget_)) {
        const QString caption = toQString(frame_.caption());
        if (box->title() != caption) {
            box->setTitle(caption);
        }
    }
    applyColours(*widget_, frame_, true);
}

// Buttons ----------------------------------------------------------------------------------

ButtonAdapter::ButtonAdapter(Button& button, FormBinding& form, QWidget* parent)
    : ControlAdapter(button, form), button_(button), widget_(new QPushButton(parent)) {
    QObject::connect(widget_, &QPushButton::clicked, widget_,
                     [this] { this->form().actions().run([&] { button_.click(); }); });
    bind();
}

QWidget* ButtonAdapter::widget() const {
    return widget_;
}

void ButtonAdapter::sync() {
    syncCommon(*widget_, button_.caption());
    const QString caption = toQString(button_.caption());
    if (widget_->text() != caption) {
        widget_->setText(caption);
    }
    applyColours(*widget_, button_, false);
}

// Menus ------------------------------------------------------------------------------------

MenuItemAdapter::MenuItemAdapter(MenuItem& item, FormBinding& form, QMenuBar* bar)
    : ControlAdapter(item, form), item_(item), menu_(bar->addMenu(QString())) {
    action_ = menu_->menuAction();
    menu_->setObjectName(toQString(item.name()));
    action_->setObjectName(toQString(item.name()));
    // Opening the menu is the menu's own click.
    QObject::connect(menu_, &QMenu::aboutToShow, menu_,
                     [this] { this->form().actions().run([&] { item_.click(); }); });
    bind();
}

MenuItemAdapter::MenuItemAdapter(MenuItem& item, FormBinding& form, QMenu* menu, MenuItem* head)
    : ControlAdapter(item, form), item_(item), head_(head) {
    action_ = item.separator() ? menu->addSeparator() : menu->addAction(QString());
    action_->setObjectName(toQString(item.name()));
    QObject::connect(action_, &QAction::triggered, action_,
                     [this] { this->form().menuCommand(*this); });
    bind();
}

int MenuItemAdapter::helpContext() const {
    if (item_.helpContext() != 0) {
        return item_.helpContext();
    }
    return head_ != nullptr ? head_->helpContext() : 0;
}

void MenuItemAdapter::sync() {
    const QString caption = toQString(item_.caption());
    if (menu_ != nullptr) {
        if (menu_->title() != caption) {
            menu_->setTitle(caption);
        }
    } else {
        action_->setSeparator(item_.separator());
        if (!item_.separator() && action_->text() != caption) {
            action_->setText(caption);
        }
        const QKeySequence shortcut = QKeySequence::fromString(toQString(item_.shortcut()));
        if (action_->shortcut() != shortcut) {
            action_->setShortcut(shortcut);
        }
    }
    if (action_->isEnabled() != item_.enabled()) {
        action_->setEnabled(item_.enabled());
    }
    if (action_->isVisible() != item_.visible()) {
        action_->setVisible(item_.visible());
    }
    const QString tip = toQString(item_.tooltip());
    if (action_->toolTip() != tip && !tip.isEmpty()) {
        action_->setToolTip(tip);
    }
}

}  // namespace quarvell::platform::qt
