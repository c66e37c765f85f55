#include "Browser.h"

#include <QDesktopServices>
#include <QUrl>

namespace rowstone::ui {

namespace {

class DesktopBrowser final : public BrowserService {
public:
    bool Open(const QString& address) override {
        return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
    }
};

DesktopBrowser desktopBrowser;
BrowserService* installed = &desktopBrowser;

} // namespace

void InstallBrowserService(BrowserService* service) {
    installed = service != nullptr ? service : &desktopBrowser;
}

bool OpenInBrowser(const QString& address) {
    return installed->Open(address);
}

} // namespace rowstone::ui
