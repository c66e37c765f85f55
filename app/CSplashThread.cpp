#include "CSplashThread.h"

#include "CSplashDlg.h"

#include <QCoreApplication>

namespace rowstone {

CSplashThread::CSplashThread() = default;

CSplashThread::~CSplashThread() {
    Stop();
}

bool CSplashThread::Start() {
    if (splash != nullptr)
        return true;
    splash = std::make_unique<CSplashDlg>();
    if (!splash->Create(nullptr)) {
        splash.reset();
        return false;
    }
    splash->show();
    // Give the window its first paint before start-up goes on.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

bool CSplashThread::Stop() {
    if (splash == nullptr)
        return true;
    splash->close();
    const bool ended = splash->EndAnimation(kEndWait);
    splash.reset();
    return ended;
}

} // namespace rowstone
