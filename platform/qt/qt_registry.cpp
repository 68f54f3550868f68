#include "platform/qt/qt_registry.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace quarvell::platform::qt {

namespace {

const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolValue = QStringLiteral("PATH");

}  // namespace

QtRegistry::QtRegistry() : tools_(defaultTools()) {}

QtRegistry::QtRegistry(QString searchPath, QStringList tools)
    : searchPath_(std::move(searchPath)), tools_(std::move(tools)) {}

QStringList QtRegistry::defaultTools() {
    return {QStringLiteral("hardinfo2"),
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("plasma-systemmonitor"),
            QStringLiteral("ksysguard"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

QString QtRegistry::systemInfoTool() const {
    const QString path = searchPath_ ? *searchPath_ : QString::fromLocal8Bit(qgetenv("PATH"));
    // Only absolute directories: an empty or relative entry would run whatever program of that
    // name lies in the current directory.
    QStringList dirs;
    for (const QString& dir : path.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir)) {
            dirs << dir;
        }
    }
    if (dirs.isEmpty()) {
        return {};
    }
    for (const QString& tool : tools_) {
        const QString found = QStandardPaths::findExecutable(tool, dirs);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

long QtRegistry::openKey(std::uint32_t root, const std::string& keyPath, std::uint32_t,
                         std::uintptr_t& handle) {
    handle = 0;
    if (root != kHkeyLocalMachine ||
        QString::fromStdString(keyPath).compare(kToolKey, Qt::CaseInsensitive) != 0) {
        return kRegFileNotFound;
    }
    QString tool = systemInfoTool();
    if (tool.isEmpty()) {
        return kRegFileNotFound;
    }
    handle = nextHandle_++;
    open_.emplace(handle, std::move(tool));
    return kRegSuccess;
}

long QtRegistry::queryValue(std::uintptr_t handle, const std::string& valueName,
                            std::uint32_t& type, std::vector<unsigned char>& buffer,
                            std::uint32_t& size) {
    const auto key = open_.find(handle);
    if (key == open_.end()) {
        return kRegInvalidHandle;
    }
    if (QString::fromStdString(valueName).compare(kToolValue, Qt::CaseInsensitive) != 0) {
        return kRegFileNotFound;
    }
    // Text with its terminating zero byte, as the registry stores it.
    QByteArray value = key->second.toUtf8();
    value.append('\0');
    const auto length = static_cast<std::uint32_t>(value.size());
    const std::uint32_t room =
        std::min<std::uint32_t>(size, static_cast<std::uint32_t>(buffer.size()));
    type = kRegSz;
    size = length;
    if (length > room) {
        return kRegMoreData;
    }
    std::copy(value.cbegin(), value.cend(), buffer.begin());
    return kRegSuccess;
}

long QtRegistry::closeKey(std::uintptr_t handle) {
    return open_.erase(handle) != 0 || handle == 0 ? kRegSuccess : kRegInvalidHandle;
}

}  // namespace quarvell::platform::qt
