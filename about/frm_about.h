#pragma once
// The About box frmAbout: names the program, its version (taken from the build), the handbook
// and its author, and starts the platform's system-information tool (sys_info.h). It reads no
// calculator state. The box is not modal and there is never more than one: show() loads it,
// or brings the open one to the front; close() (cmdOK, Enter, Escape or the close box)
// unloads it, and the next show() loads it afresh.
//
// A view mirrors the box through observe(): Loaded means create and show the window with the
// controls as they now stand, Raised means activate the window already shown, Unloaded means
// close it. While unloaded the controls hold their design texts.

#include <functional>
#include <map>
#include <string>

#include "about/sys_info.h"
#include "platform/controls.h"
#include "platform/services.h"

namespace quarvell::about {

// "Version 3.5.31": each number as plain decimal.
std::string VersionText(int major, int minor, int revision);

// The description lines joined by CR LF, with one empty line before the author.
std::string DescriptionText();

enum class FormEvent { Loaded, Raised, Unloaded };

class FrmAbout {
  public:
    using Observer = std::function<void(FormEvent)>;

    explicit FrmAbout(platform::Services& services);
    FrmAbout(const FrmAbout&) = delete;
    FrmAbout& operator=(const FrmAbout&) = delete;

    // mnuAbout: loads the box with its texts set afresh, or brings the open box to the front.
    void show();
    // cmdOK or the close box; nothing when the box is not loaded.
    void close();
    bool loaded() const { return loaded_; }
    // How many times show() found the box open and brought it to the front.
    int raiseCount() const { return raiseCount_; }
    // The window caption.
    const std::string& caption() const { return caption_; }

    // cmdOK is both the default button (Enter) and the cancel button (Escape).
    platform::Button& defaultButton() { return cmdOK; }
    platform::Button& cancelButton() { return cmdOK; }
    void pressEnter();
    void pressEscape();

    int observe(Observer o);
    void unobserve(int id);

    platform::Label picIcon{"picIcon"};
    platform::Label lblTitle{"lblTitle"};
    platform::Label lblVersion{"lblVersion"};
    platform::Label lblDescription{"lblDescription"};
    platform::Button cmdOK{"cmdOK"};
    platform::Button cmdSysInfo{"cmdSysInfo"};

  private:
    void setDesignState();
    void Form_Load();
    void notify(FormEvent e);

    platform::Services& services_;
    bool loaded_ = false;
    int raiseCount_ = 0;
    std::string caption_;
    std::map<int, Observer> observers_;
    int nextObserver_ = 1;
};

}  // namespace quarvell::about
