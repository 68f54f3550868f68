// main() of the Qt tests: the offscreen platform, one QApplication for all tests, and a
// watchdog that fails a test run that hangs (a modal dialog nobody answers, an event that
// never comes) instead of letting it block the build.

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

class Watchdog {
  public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::fprintf(stderr, "Qt test run did not finish within %lld s: failing\n",
                               static_cast<long long>(limit.count()));
                  std::_Exit(EXIT_FAILURE);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    // The offscreen platform, with the options a test may give it (a screen of a chosen size).
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Settings, caches and runtime files go to a temporary place of this run, never the
    // user's own.
    const QTemporaryDir home;
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const Watchdog watchdog(std::chrono::seconds(120));
    return RUN_ALL_TESTS();
}
