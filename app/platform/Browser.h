#pragma once

#include <QString>

namespace rowstone::ui {

// Opens an address with the system's default handler (the web browser).
// Tests install a recorder instead, so that no browser is started.
class BrowserService {
public:
    virtual ~BrowserService() = default;
    virtual bool Open(const QString& address) = 0;
};

void InstallBrowserService(BrowserService* service);
bool OpenInBrowser(const QString& address);

} // namespace rowstone::ui
