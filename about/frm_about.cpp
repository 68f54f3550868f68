#include "about/frm_about.h"

#include <vector>

#include "version.h"

namespace quarvell::about {

std::string VersionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

std::string DescriptionText() {
    return "Failure rate predictions based on MIL-HDBK-217F for Capacitors.\r\n"
           "Based on worksheet previously created by Halvorin, TELVARO.\r\n"
           "FIT = Failures In Time\r\n"
           "FIT = Failures per Billion Part-Hours of Operation.\r\n"
           "\r\n"
           "Dervanth";
}

FrmAbout::FrmAbout(platform::Services& services) : services_(services) {
    // Design geometry in twips, room for the six description lines.
    picIcon.setPlace({240, 240, 540, 540});
    lblTitle.setPlace({1050, 240, 3885, 480});
    lblVersion.setPlace({1050, 780, 3885, 225});
    lblDescription.setPlace({1050, 1125, 3885, 1170});
    cmdOK.setPlace({4245, 2625, 1260, 345});
    cmdSysInfo.setPlace({4260, 3075, 1245, 345});

    picIcon.setAccessibleName("Program icon");
    lblTitle.setAccessibleName("Program title");
    lblVersion.setAccessibleName("Version");
    lblDescription.setAccessibleName("Description");
    cmdOK.setAccessibleName("OK");
    cmdSysInfo.setAccessibleName("System information");

    cmdOK.setTabIndex(0);
    cmdSysInfo.setTabIndex(1);
    cmdOK.setCaption("OK");
    cmdSysInfo.setCaption("&System Info...");
    cmdOK.onClick = [this] { close(); };
    cmdSysInfo.onClick = [this] {
        if (loaded_) {
            StartSysInfo(services_);
        }
    };

    setDesignState();
}

void FrmAbout::setDesignState() {
    caption_ = "About MyApp";
    lblTitle.setCaption("Application Title");
    lblVersion.setCaption("Version");
    lblDescription.setCaption("App Description");
}

void FrmAbout::Form_Load() {
    caption_ = std::string("About ") + kProgramTitle;
    lblVersion.setCaption(VersionText(kVersionMajor, kVersionMinor, kVersionRevision));
    lblTitle.setCaption(kProgramTitle);
    lblDescription.setCaption(DescriptionText());
}

void FrmAbout::show() {
    if (loaded_) {
        ++raiseCount_;
        notify(FormEvent::Raised);
        return;
    }
    Form_Load();
    loaded_ = true;
    notify(FormEvent::Loaded);
}

void FrmAbout::close() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    setDesignState();
    notify(FormEvent::Unloaded);
}

void FrmAbout::pressEnter() {
    if (loaded_) {
        defaultButton().click();
    }
}

void FrmAbout::pressEscape() {
    if (loaded_) {
        cancelButton().click();
    }
}

int FrmAbout::observe(Observer o) {
    const int id = nextObserver_++;
    observers_.emplace(id, std::move(o));
    return id;
}

void FrmAbout::unobserve(int id) {
    observers_.erase(id);
}

void FrmAbout::notify(FormEvent e) {
    // An observer may unobserve itself while being called.
    std::vector<int> ids;
    ids.reserve(observers_.size());
    for (const auto& entry : observers_) {
        ids.push_back(entry.first);
    }
    for (int id : ids) {
        auto it = observers_.find(id);
        if (it != observers_.end()) {
            it->second(e);
        }
    }
}

}  // namespace quarvell::about
