#pragma once

#include <QLockFile>
#include <QString>

class QWidget;

// One running copy per workstation and user: a lock file named by the user key,
// in a folder of the user's own. The lock belongs to the process, so a copy
// that crashed leaves a lock that the next start recognises as stale and takes
// over; so is an empty or unreadable lock.
class SingleInstance {
  public:
    // directory: where the lock file lives, DefaultLockDirectory() when empty.
    explicit SingleInstance(const QString& userKey, const QString& directory = QString());

    // True when this copy is the only one; the lock is held until destruction.
    bool TryAcquire();
    bool Acquired() const { return lock_.isLocked(); }
    QString LockPath() const { return path_; }

  private:
    QString path_;
    QLockFile lock_;
};

// The user's runtime folder when it is private to the user, else the private
// folder ".sledovani-orva" in the home folder (created when missing).
QString DefaultLockDirectory();

// The message a second copy shows before it ends.
inline constexpr const char16_t* kAlreadyRunning = u"Aplikace \"Sledování ORVA\" již běží !";

// Shows the information message with its one button "OK".
void ShowAlreadyRunning(QWidget* parent = nullptr);
