#include "CTesselApp.h"

#include "CSingleInstance.h"
#include "CSplashThread.h"
#include "CTesselDlg.h"
#include "MessageBoxes.h"

namespace rowstone {

CTesselApp::CTesselApp(QString serviceUrl, QString markerDirectory)
    : serviceUrl(std::move(serviceUrl)), markerDirectory(std::move(markerDirectory)) {}

int CTesselApp::Run() {
    const CSingleInstance marker(markerDirectory, QString::fromUtf8(kMarkerName));
    if (marker.AlreadyRunning()) {
        ui::ShowMessage(nullptr, QStringLiteral("该应用程序已经运行！"), ui::ApplicationCaption(),
                        ui::MessageButtons::Ok, ui::MessageIcon::Warning);
        return 0;
    }
    CSplashThread splash;
    splash.Start();
    CTesselDlg mainWindow(serviceUrl);
    mainWindow.SetSplashThread(&splash);
    mainWindow.DoModal();
    return 0;
}

} // namespace rowstone
