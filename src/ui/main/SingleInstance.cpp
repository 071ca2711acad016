#include "SingleInstance.h"

#include <QDir>
#include <QMessageBox>

namespace {

QString LockPathFor(const QString& userKey, const QString& directory) {
    const QString dir = directory.isEmpty() ? QDir::tempPath() : directory;
    return QDir(dir).filePath(QStringLiteral("orva-%1.lock").arg(userKey));
}

}  // namespace

SingleInstance::SingleInstance(const QString& userKey, const QString& directory)
    : path_(LockPathFor(userKey, directory)), lock_(path_) {
    // A running copy holds its lock however long it runs; only a lock whose
    // process is gone counts as stale.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::TryAcquire() {
    if (lock_.isLocked()) return true;
    return lock_.tryLock(0);
}

void ShowAlreadyRunning(QWidget* parent) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Sledování ORVA"),
                    QString::fromUtf16(kAlreadyRunning), QMessageBox::Ok, parent);
    box.exec();
}
