#include "Heartbeat.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

#include "../data/IniFile.h"
#include "../data/TextFile.h"
#include "Config.h"

namespace {

const QString kSection = QStringLiteral("Držitel");
const QString kKey = QStringLiteral("Klíč_uživatele");
const QString kName = QStringLiteral("Jméno");
const QString kHost = QStringLiteral("Stanice");
const QString kPid = QStringLiteral("Proces");
const QString kStarted = QStringLiteral("Od");
const QString kLast = QStringLiteral("Poslední_známka");

// A heartbeat is a few short lines; anything bigger is not one of ours and is
// not read into memory.
constexpr qint64 kMaxHeartbeatBytes = 4096;

QDateTime ParseStamp(const QString& text) {
    return QDateTime::fromString(text, Qt::ISODate);
}

QString Stamp(const QDateTime& moment) {
    return moment.toUTC().toString(Qt::ISODate);
}

}  // namespace

Heartbeat Heartbeat::Own(const QString& userKey, const QString& userName,
                         const QDateTime& started) {
    Heartbeat beat;
    beat.UserKey = userKey;
    beat.UserName = userName;
    beat.Host = QSysInfo::machineHostName();
    beat.Pid = QCoreApplication::applicationPid();
    beat.Started = started;
    beat.LastBeat = started;
    return beat;
}

bool Heartbeat::SameHolder(const Heartbeat& other) const {
    return UserKey == other.UserKey && UserName == other.UserName && Host == other.Host &&
           Pid == other.Pid && Started == other.Started;
}

bool Heartbeat::FromThisWorkstation(const QString& userKey) const {
    return !UserKey.isEmpty() && UserKey == userKey && Host == QSysInfo::machineHostName();
}

QString HeartbeatPath(const Config& config) {
    return config.ConfigPath() + QStringLiteral(".holder");
}

void WriteHeartbeat(const QString& path, const Heartbeat& beat) {
    IniFile ini;
    ini.SetValue(kSection, kKey, beat.UserKey);
    ini.SetValue(kSection, kName, beat.UserName);
    ini.SetValue(kSection, kHost, beat.Host);
    ini.SetValue(kSection, kPid, QString::number(beat.Pid));
    ini.SetValue(kSection, kStarted, Stamp(beat.Started));
    ini.SetValue(kSection, kLast, Stamp(beat.LastBeat));
    ini.Save(path);
}

std::optional<Heartbeat> ReadHeartbeat(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return std::nullopt;
    Heartbeat beat;
    const QDateTime modified = info.lastModified();
    if (info.isFile() && info.size() <= kMaxHeartbeatBytes) {
        try {
            const IniFile ini = IniFile::Load(path);
            beat.UserKey = ini.Value(kSection, kKey);
            beat.UserName = ini.Value(kSection, kName);
            beat.Host = ini.Value(kSection, kHost);
            beat.Pid = ini.Value(kSection, kPid).toLongLong();
            beat.Started = ParseStamp(ini.Value(kSection, kStarted));
            beat.LastBeat = ParseStamp(ini.Value(kSection, kLast));
        } catch (const FileError&) {
            beat = Heartbeat();
        }
    }
    if (!beat.LastBeat.isValid() || (modified.isValid() && modified > beat.LastBeat))
        beat.LastBeat = modified;
    return beat;
}

bool RemoveOwnHeartbeat(const QString& path, const Heartbeat& own) {
    const std::optional<Heartbeat> found = ReadHeartbeat(path);
    // Another copy's heartbeat (it took the slot over) stays.
    if (!found || !found->SameHolder(own)) return true;
    return QFile::remove(path);
}

bool ProcessRuns(qint64 pid) {
    if (pid <= 0) return false;
#ifdef Q_OS_UNIX
    // EPERM: it runs under another account.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    return true;
#endif
}
