#include "app/about_window.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/qt/form_binding.h"
#include "platform/qt/user_actions.h"
#include "platform/qt/widget_look.h"

namespace quarvell::app {

namespace {

// The box's client area in twips: room for the icon, the texts and the two buttons.
constexpr platform::Place kAboutPlace{0, 0, 5730, 3795};
// Below the lowest control.
constexpr int kAboutBottomMargin = 375;
// F1 in the box opens the topic of the menu item that opened it.
constexpr int kAboutHelpContext = 500;
constexpr int kIconPixels = 32;

}  // namespace

AboutWindow::AboutWindow(about::FrmAbout& about, platform::qt::UserActions& actions, QWidget* owner)
    : about_(about), actions_(actions), owner_(owner) {
    observer_ = about_.observe([this](about::FormEvent e) {
        switch (e) {
            case about::FormEvent::Loaded:
                load();
                break;
            case about::FormEvent::Raised:
                raise();
                break;
            case about::FormEvent::Unloaded:
                unload();
                break;
        }
    });
    if (about_.loaded()) {
        load();
    }
}

AboutWindow::~AboutWindow() {
    about_.unobserve(observer_);
    delete binding_.data();
    for (const auto& b : retiring_) {
        delete b.data();
    }
}

QWidget* AboutWindow::window() const {
    return binding_ != nullptr ? binding_->window() : nullptr;
}

void AboutWindow::load() {
    if (binding_ != nullptr) {
        raise();
        return;
    }
    platform::qt::FormDesign design;
    design.kind = platform::qt::FormDesign::Kind::Dialog;
    design.controls = {&about_.picIcon,        &about_.lblTitle, &about_.lblVersion,
                       &about_.lblDescription, &about_.cmdOK,    &about_.cmdSysInfo};
    design.dialogPlace = kAboutPlace;
    design.defaultHelpContext = kAboutHelpContext;
    binding_ = new platform::qt::FormBinding(std::move(design), actions_, owner_);
    fitDescription();
    QWidget* w = binding_->window();
    w->setObjectName(QStringLiteral("frmAbout"));
    w->setWindowTitle(platform::qt::toQString(about_.caption()));
    w->setAccessibleName(platform::qt::toQString(about_.caption()));
    if (auto* icon = qobject_cast<QLabel*>(binding_->widgetOf(about_.picIcon))) {
        icon->setPixmap(QApplication::windowIcon().pixmap(kIconPixels, kIconPixels));
    }
    if (auto* ok = qobject_cast<QPushButton*>(binding_->widgetOf(about_.defaultButton()))) {
        ok->setDefault(true);
    }
    binding_->setCloseHandler([this] { actions_.run([this] { about_.close(); }); });
    binding_->setEscapeHandler([this] { actions_.run([this] { about_.pressEscape(); }); });
    w->show();
    w->raise();
    w->activateWindow();
}

// The description is as tall as its lines are in the box's font: what lies below it moves
// down, and the box grows with it.
void AboutWindow::fitDescription() {
    using platform::qt::kTwipsPerPixel;
    auto* label = qobject_cast<QLabel*>(binding_->widgetOf(about_.lblDescription));
    const int missing = (label->heightForWidth(label->width()) - label->height()) * kTwipsPerPixel;
    const platform::Place text = about_.lblDescription.place();
    const std::vector<platform::Control*> controls{&about_.picIcon,    &about_.lblTitle,
                                                   &about_.lblVersion, &about_.lblDescription,
                                                   &about_.cmdOK,      &about_.cmdSysInfo};
    if (missing > 0) {
        for (platform::Control* c : controls) {
            platform::Place p = c->place();
            if (c == &about_.lblDescription) {
                p.height += missing;
            } else if (p.top >= text.top + text.height) {
                p.top += missing;
            } else if (p.top + p.height > text.top + text.height) {
                continue;  // beside the description all along
            }
            c->setPlace(p);
        }
    }
    int bottom = 0;
    for (const platform::Control* c : controls) {
        bottom = std::max(bottom, c->place().top + c->place().height);
    }
    const int height = std::max(kAboutPlace.height, bottom + kAboutBottomMargin);
    binding_->clientArea()->setFixedSize(platform::qt::pixels(kAboutPlace.width),
                                         platform::qt::pixels(height));
}

void AboutWindow::raise() {
    if (QWidget* w = window()) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void AboutWindow::unload() {
    if (binding_ == nullptr) {
        return;
    }
    binding_->window()->hide();
    // The box may be closing from inside one of its own buttons' handlers.
    binding_->deleteLater();
    std::erase_if(retiring_, [](const auto& b) { return b.isNull(); });
    retiring_.push_back(binding_);
    binding_ = nullptr;
}

}  // namespace quarvell::app
