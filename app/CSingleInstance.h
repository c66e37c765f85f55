#pragma once

#include <QString>

namespace rowstone {

// The marker of a running copy: an exclusive lock on a named file in a
// per-user directory. The operating system drops the lock when the process
// ends, however it ends, so a crashed copy never blocks the next one.
class CSingleInstance {
public:
    CSingleInstance(const QString& directory, const QString& name);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // False when another copy holds the marker (or it cannot be made).
    bool Acquired() const { return descriptor >= 0; }
    bool AlreadyRunning() const { return alreadyRunning; }

    // The default directory: the user's runtime directory, else a per-user
    // folder below the temporary directory.
    static QString DefaultDirectory();

private:
    int descriptor = -1;
    bool alreadyRunning = false;
};

} // namespace rowstone
