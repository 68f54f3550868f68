#pragma once
// This platform has no registry. The About box's lookup of the system-information tool is
// answered from what the platform offers instead: value "PATH" of the MSINFO key names the first
// system-information or system-monitor program found on the PATH; when there is none, the key
// does not exist. The second location (a folder holding MSINFO32.EXE) never exists here.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>

#include "platform/services.h"

namespace quarvell::platform::qt {

class QtRegistry : public Registry {
  public:
    // Searches the PATH of the environment, as it is at each lookup, for defaultTools().
    QtRegistry();
    // Searches this PATH text (directories separated by ':') for these programs, in order.
    QtRegistry(QString searchPath, QStringList tools);

    // Tools that show what the machine is and does, the most informative first.
    static QStringList defaultTools();

    // The full path of the program the lookup answers with now; empty when there is none.
    QString systemInfoTool() const;

    long openKey(std::uint32_t root, const std::string& keyPath, std::uint32_t access,
                 std::uintptr_t& handle) override;
    long queryValue(std::uintptr_t handle, const std::string& valueName, std::uint32_t& type,
                    std::vector<unsigned char>& buffer, std::uint32_t& size) override;
    long closeKey(std::uintptr_t handle) override;

  private:
    std::optional<QString> searchPath_;
    QStringList tools_;
    // Open keys and the program each one found when it was opened.
    std::map<std::uintptr_t, QString> open_;
    std::uintptr_t nextHandle_ = 1;
};

}  // namespace quarvell::platform::qt
