#include "SharedWebProfile.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWebEngineProfile>

namespace rowstone {

QWebEngineProfile* SharedWebProfile() {
    static QPointer<QWebEngineProfile> profile;
    if (profile.isNull()) {
        // A profile without a storage name keeps everything in memory.
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    }
    return profile;
}

} // namespace rowstone
