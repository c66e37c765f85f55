#include "SharedWebProfile.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace rowstone {

namespace {

// The engine would hand an address of a scheme it does not know to the
// desktop, and only after a click of the player's own, without asking the
// view first. Registered and handled, "app:" addresses take the path of
// every other navigation, where the view refuses them.
void RegisterCommandScheme() {
    const QByteArray name("app");
    if (QWebEngineUrlScheme::schemeByName(name).name() == name)
        return;
    QWebEngineUrlScheme scheme(name);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
}

// Serves nothing: the views refuse every "app:" navigation before it loads,
// and anything else (an image address, say) is denied.
class CommandSchemeHandler final : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    }
};

} // namespace

QWebEngineProfile* SharedWebProfile() {
    static QPointer<QWebEngineProfile> profile;
    if (profile.isNull()) {
        RegisterCommandScheme();
        // A profile without a storage name keeps everything in memory.
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        profile->installUrlSchemeHandler("app", new CommandSchemeHandler(profile));
    }
    return profile;
}

} // namespace rowstone
