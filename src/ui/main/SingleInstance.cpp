#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Only the user may create or remove files here: in a shared folder such as
// /tmp another account could create the lock first and keep the program from
// starting.
bool IsPrivate(const QString& dir) {
    const QFileInfo info(dir);
    if (!info.isDir()) return false;
#ifdef Q_OS_UNIX
    if (info.ownerId() != ::getuid()) return false;
#endif
    return !(info.permissions() & (QFile::WriteGroup | QFile::WriteOther));
}

QString LockPathFor(const QString& userKey, const QString& directory) {
    const QString dir = directory.isEmpty() ? DefaultLockDirectory() : directory;
    return QDir(dir).filePath(QStringLiteral("orva-%1.lock").arg(userKey));
}

}  // namespace

QString DefaultLockDirectory() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && IsPrivate(runtime)) return runtime;
    const QString own = QDir::home().filePath(QStringLiteral(".sledovani-orva"));
    QDir().mkpath(own);
    QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return own;
}

SingleInstance::SingleInstance(const QString& userKey, const QString& directory)
    : path_(LockPathFor(userKey, directory)), lock_(path_) {
    // A running copy holds its lock however long it runs; only a lock whose
    // process is gone counts as stale.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::TryAcquire() {
    if (lock_.isLocked()) return true;
    if (lock_.tryLock(0)) return true;
    // A folder where no lock can be made cannot tell of another copy; refusing
    // to start would keep the user out for good.
    if (lock_.error() != QLockFile::LockFailedError) return true;
    // Qt takes over the lock of a process that is gone. An empty, cut or
    // unreadable lock (a power cut while it was written) names no process,
    // and one written under another host name (the lock's name already says
    // which workstation it is for) names a process that cannot be asked:
    // neither can belong to a running copy.
    qint64 pid = 0;
    QString host;
    QString application;
    const bool named = lock_.getLockInfo(&pid, &host, &application) && pid > 0;
    if (named && (host.isEmpty() || host == QSysInfo::machineHostName())) return false;
    lock_.removeStaleLockFile();
    return lock_.tryLock(0);
}

void ShowAlreadyRunning(QWidget* parent) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Sledování ORVA"),
                    QString::fromUtf16(kAlreadyRunning), QMessageBox::Ok, parent);
    box.exec();
}
