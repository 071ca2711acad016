#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

struct Config;

// While a copy holds the connection slot it keeps a small file beside the
// configuration file, rewritten every half minute. A copy that dies (a power
// cut, a kill) stops rewriting it, so the others can tell a crashed holder
// from a live one; a holder that writes no such file cannot be judged and is
// never taken over.
struct Heartbeat {
    QString UserKey;
    QString UserName;
    QString Host;
    qint64 Pid = 0;
    QDateTime Started;
    QDateTime LastBeat;

    // The heartbeat of this process for the user.
    static Heartbeat Own(const QString& userKey, const QString& userName, const QDateTime& started);
    // The same process wrote both (a rewrite changes only the last beat).
    bool SameHolder(const Heartbeat& other) const;
    // Written on this workstation by the same user key.
    bool FromThisWorkstation(const QString& userKey) const;
    // Seconds since the last beat at now, from the later of the stamp in the
    // file and the file's modification time (another workstation's clock may
    // run behind ours).
    qint64 Age(const QDateTime& now) const { return LastBeat.secsTo(now); }
};

inline constexpr int kHeartbeatIntervalMs = 30000;
// The key of section "Přístup" with the minutes without a beat after which
// another workstation may offer the takeover.
inline constexpr const char16_t* kTakeoverKey = u"Převzetí_připojení_po_minutách";

// The heartbeat file of the configuration file: "ORVA_Sledovani.Ini.holder".
QString HeartbeatPath(const Config& config);
// Writes the file atomically. Throws FileError.
void WriteHeartbeat(const QString& path, const Heartbeat& beat);
// The heartbeat in the file; nothing when there is no file. A file that cannot
// be read or understood still counts as a heartbeat (of an unknown holder,
// last beaten at its modification time), never as a missing one.
std::optional<Heartbeat> ReadHeartbeat(const QString& path);
// Removes the file when it is still this process's own. False when it could
// not be removed.
bool RemoveOwnHeartbeat(const QString& path, const Heartbeat& own);
// Whether a process of that id runs on this workstation.
bool ProcessRuns(qint64 pid);
