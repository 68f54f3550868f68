#pragma once
// The About box on screen: a dialog built from frmAbout's controls each time the box loads,
// raised when it is asked for again, and taken down when it unloads.

#include <QPointer>

#include <memory>
#include <vector>

#include "about/frm_about.h"

class QWidget;

namespace quarvell::platform::qt {
class FormBinding;
class UserActions;
}  // namespace quarvell::platform::qt

namespace quarvell::app {

class AboutWindow {
  public:
    AboutWindow(about::FrmAbout& about, platform::qt::UserActions& actions, QWidget* owner);
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // The dialog while the box is loaded, else nullptr.
    QWidget* window() const;
    platform::qt::FormBinding* binding() const { return binding_; }

  private:
    void load();
    void fitDescription();
    void raise();
    void unload();

    about::FrmAbout& about_;
    platform::qt::UserActions& actions_;
    QPointer<QWidget> owner_;
    QPointer<platform::qt::FormBinding> binding_;
    // Bindings of closed boxes whose deletion is still queued; the destructor takes them down
    // itself if the event loop has not, before the controls they observe go away.
    std::vector<QPointer<platform::qt::FormBinding>> retiring_;
    int observer_ = 0;
};

}  // namespace quarvell::app
