#pragma once

#include <chrono>
#include <memory>

namespace rowstone {

class CSplashDlg;

// Shows the splash window while the program starts and takes it down
// again. The window lives on the user-interface thread with every other
// window; it keeps painting and animating because the start-up's service
// requests run off that thread, and its picture animates on a thread of
// its own.
class CSplashThread {
public:
    // How long the main window waits for the splash to end.
    static constexpr std::chrono::milliseconds kEndWait{3000};

    CSplashThread();
    ~CSplashThread();
    CSplashThread(const CSplashThread&) = delete;
    CSplashThread& operator=(const CSplashThread&) = delete;

    // Creates and shows the splash window.
    bool Start();
    // Closes the splash window (its animation is asked to stop and the
    // window hides at once), then destroys it, waiting for its animation at
    // most kEndWait. True when the animation ended within the wait.
    bool Stop();

    // The splash window, or nullptr before Start and after Stop.
    CSplashDlg* SplashWindow() const { return splash.get(); }

private:
    std::unique_ptr<CSplashDlg> splash;
};

} // namespace rowstone
