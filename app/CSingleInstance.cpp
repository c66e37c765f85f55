#include "CSingleInstance.h"

#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace rowstone {

CSingleInstance::CSingleInstance(const QString& directory, const QString& name) {
    QDir().mkpath(directory);
    const QByteArray path =
        QFile::encodeName(QDir(directory).filePath(name + QStringLiteral(".lock")));
    descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        alreadyRunning = errno == EWOULDBLOCK;
        ::close(descriptor);
        descriptor = -1;
    }
}

CSingleInstance::~CSingleInstance() {
    if (descriptor >= 0)
        ::close(descriptor);
}

QString CSingleInstance::DefaultDirectory() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    return QDir::temp().filePath(QStringLiteral("rowstone-%1").arg(::getuid()));
}

} // namespace rowstone
