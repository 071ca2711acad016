#include "TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QThread>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <unistd.h>
#endif

FileError::FileError(const QString& path, const QString& message)
    : std::runtime_error((path + QStringLiteral(": ") + message).toStdString()),
      path_(path),
      message_(message) {}

namespace TextFile {

namespace {

constexpr const char* kCodePage = "windows-1250";
constexpr int kRenameAttempts = 5;
constexpr int kRenamePauseMs = 200;

FailureHook& Hook() {
    static FailureHook hook;
    return hook;
}

QByteArray Joined(const QStringList& lines) {
    QString text;
    qsizetype size = 0;
    for (const QString& l : lines) size += l.size() + 2;
    text.reserve(size);
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return Encode(text);
}

// Why a write stopped: the system's message for the error the failed call left
// (a short write or a failed flush leaves Qt only "Unknown error"), else the
// device's.
QString Reason(const QFileDevice& file, int error) {
    if (error != 0) return qt_error_string(error);
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return qt_error_string(EIO);
}

// Writes the bytes and pushes them to the disk: Qt keeps small writes in a
// buffer and a full disk shows only when it is flushed, and a file system that
// allocates late (or a network share) only at the sync. Empty when every byte
// is on the disk, else the system's message.
QString WriteWhole(QFileDevice& file, const QByteArray& bytes) {
    errno = 0;
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) return Reason(file, errno);
    errno = 0;
    if (!file.flush()) return Reason(file, errno);
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0 && errno != EINVAL) return qt_error_string(errno);
#endif
    return QString();
}

QString InjectedFailure(const QString& path) {
    return Hook() ? Hook()(path) : QString();
}

// Holds an exclusive lock on an open file while a record is appended, so that
// taking back a failed record never cuts another workstation's. A file system
// without locks appends unlocked, as before.
class AppendLock {
  public:
    explicit AppendLock(int handle) : handle_(handle) {
#ifdef Q_OS_UNIX
        while (::flock(handle_, LOCK_EX) != 0 && errno == EINTR) {
        }
#endif
    }
    ~AppendLock() {
#ifdef Q_OS_UNIX
        ::flock(handle_, LOCK_UN);
#endif
    }
    AppendLock(const AppendLock&) = delete;
    AppendLock& operator=(const AppendLock&) = delete;

  private:
    int handle_;
};

// Appends at the end, or takes the bytes back when they did not get there whole.
bool Append(const QString& path, const QByteArray& bytes, bool create) {
    QFile file(path);
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;
    if (!create) mode |= QIODevice::ExistingOnly;
    if (!file.open(mode)) {
        if (!create && !QFileInfo::exists(path)) return false;
        throw FileError(path, file.errorString());
    }
    const AppendLock lock(file.handle());
    const qint64 end = file.size();
    QString failed = WriteWhole(file, bytes);
    if (failed.isEmpty()) failed = InjectedFailure(path);
    if (failed.isEmpty()) return true;
    // A cut record would be read back as a damaged line: the file ends where it did.
    if (!file.resize(end))
        failed += QStringLiteral(" (neúplný záznam nelze odstranit: ") + file.errorString() + u')';
    throw FileError(path, failed);
}

// Puts a finished temporary file in place under the path only when nothing is
// there yet. A hard link fails when the name is taken, so no other creator's
// file is ever replaced; where the file system has no hard links, a lock file
// beside it keeps creators apart instead.
bool PlaceNew(const QString& temp, const QString& path) {
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) == 0) {
        QFile::remove(temp);
        return true;
    }
    const int error = errno;
    if (error == EEXIST) return false;
    if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS && error != EXDEV)
        throw FileError(path, qt_error_string(error));
#endif
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(30000))
        throw FileError(path + QStringLiteral(".lock"), QStringLiteral("Soubor je uzamčen"));
    if (QFileInfo::exists(path)) return false;
    QFile file(temp);
    if (!file.rename(path)) throw FileError(path, file.errorString());
    return true;
}

}  // namespace

bool CodecAvailable() {
    return QStringEncoder(kCodePage).isValid();
}

QByteArray Encode(const QString& text) {
    QStringEncoder encoder(kCodePage);
    return encoder.encode(text);
}

QString Decode(const QByteArray& bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw FileError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw FileError(path, file.errorString());
    const QString text = Decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0) end = text.size();
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == u'\r') --stop;
        lines.append(text.mid(start, stop - start));
        start = next;
    }
    return lines;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QString lastError;
    for (int attempt = 0; attempt < kRenameAttempts; ++attempt) {
        if (attempt > 0) QThread::msleep(kRenamePauseMs);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) throw FileError(path, file.errorString());
        // QSaveFile's commit renames a file whose last buffered bytes failed to
        // reach the disk, so the content is checked before it may commit.
        const QString failed = WriteWhole(file, bytes);
        if (!failed.isEmpty()) {
            file.cancelWriting();
            throw FileError(path, failed);
        }
        const QString injected = InjectedFailure(path);
        if (!injected.isEmpty()) {
            file.cancelWriting();
            file.commit();
            if (injected.startsWith(QLatin1String("rename:"))) {
                lastError = injected.mid(7).trimmed();
                continue;
            }
            throw FileError(path, injected);
        }
        if (file.commit()) return;
        lastError = file.errorString();
        // Only a refused rename is worth another try (a share that holds the file
        // open on another workstation); a failed write will fail again.
        if (file.error() != QFileDevice::RenameError) throw FileError(path, lastError);
    }
    throw FileError(path, lastError);
}

void WriteLines(const QString& path, const QStringList& lines) {
    WriteBytes(path, Joined(lines));
}

bool CreateExclusive(const QString& path, const QByteArray& bytes) {
    if (QFileInfo::exists(path)) return false;
    // Beside the target, so that the link stays on one file system.
    QString temp;
    QFile file;
    for (int tries = 1;; ++tries) {
        temp = path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                    QLatin1Char('0'));
        file.setFileName(temp);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
        // Only a name that happens to be taken is worth another one.
        if (!QFileInfo::exists(temp) || tries == 10) throw FileError(path, file.errorString());
    }
    QString failed = WriteWhole(file, bytes);
    file.close();
    if (failed.isEmpty() && file.error() != QFileDevice::NoError) failed = file.errorString();
    if (failed.isEmpty()) failed = InjectedFailure(path);
    try {
        if (!failed.isEmpty()) throw FileError(path, failed);
        const bool placed = PlaceNew(temp, path);
        QFile::remove(temp);
        return placed;
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

void AppendLines(const QString& path, const QStringList& lines) {
    Append(path, Joined(lines), true);
}

bool AppendToExisting(const QString& path, const QByteArray& bytes) {
    return Append(path, bytes, false);
}

void SetFailureHookForTests(FailureHook hook) {
    Hook() = std::move(hook);
}

}  // namespace TextFile
