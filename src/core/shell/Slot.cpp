#include "Slot.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>
#include <QTimer>

#include "../Clock.h"
#include "../FileChoice.h"
#include "../Prompter.h"
#include "../Workspace.h"
#include "../data/IniFile.h"
#include "../data/Progress.h"
#include "../data/ProjectRegister.h"
#include "../data/Templates.h"
#include "../data/TextFile.h"
#include "Access.h"
#include "ChangeLog.h"
#include "Config.h"
#include "StartUp.h"

namespace {

const QString kFree = QString::fromUtf16(kSlotFree);

QString UserKeyOf(const Config& config) {
    return config.UserKey.isEmpty() ? DefaultUserKey() : config.UserKey;
}

QString Moment(const QDateTime& moment) {
    return moment.isValid() ? moment.toLocalTime().toString(QStringLiteral("d.M.yyyy hh:mm"))
                            : QStringLiteral("?");
}

// Said after the usual message when the holder cannot be judged.
const QString kFreeByHand = QStringLiteral(
    "\r\nDržitel připojení nezapisuje známku činnosti, připojení proto nelze převzít. "
    "Skončil-li program u něj nečekaně, je třeba připojení uvolnit ručně: v souboru "
    "ORVA_Sledovani.Ini v oddílu [Přístup] nastavit Pripojen=Volný.\r\n");

}  // namespace

ConnectionSlot::ConnectionSlot(Workspace& ws, QObject* parent)
    : QObject(parent),
      ws_(ws),
      poll_(new QTimer(this)),
      inactivity_(new QTimer(this)),
      beat_(new QTimer(this)) {
    poll_->setInterval(kPollIntervalMs);
    inactivity_->setInterval(kInactivityIntervalMs);
    beat_->setInterval(kHeartbeatIntervalMs);
    connect(poll_, &QTimer::timeout, this, &ConnectionSlot::PollSlot);
    connect(inactivity_, &QTimer::timeout, this, &ConnectionSlot::CheckInactivity);
    connect(beat_, &QTimer::timeout, this, &ConnectionSlot::Beat);
}

void ConnectionSlot::LostSlot(const QString& holder) {
    beat_->stop();
    heartbeat_ = Heartbeat();
    claimedAs_.clear();
    ws_.config.Pripojen = holder;
    // Saving now would write over what the new holder changed.
    ws_.ChangeFlags = QStringLiteral("0000000");
    AssignPermission(QString::fromUtf16(kReadOnlyPermission));
    holder_ = holder;
    SetState(State::Taken);
    inactivity_->stop();
    poll_->start();
    ws_.Ask().Error(QStringLiteral("Program dlouho nepracoval a připojení mezitím převzal "
                                   "uživatel :\r\n\r\n") +
                    holder +
                    QStringLiteral("\r\n\r\nNeuložené změny nebyly uloženy. Bude "
                                   "přiděleno opravnání pouze pro čtení\r\n"));
}

void ConnectionSlot::SetBeatInterval(int ms) {
    beat_->setInterval(ms);
}

bool ConnectionSlot::Beating() const {
    return beat_->isActive();
}

void ConnectionSlot::StartBeating() {
    heartbeat_ = Heartbeat::Own(UserKeyOf(ws_.config), claimedAs_, Clock::Now());
    beat_->start();
    Beat();
}

void ConnectionSlot::StopBeating() {
    beat_->stop();
    if (heartbeat_.Pid != 0) RemoveOwnHeartbeat(HeartbeatPath(ws_.config), heartbeat_);
    heartbeat_ = Heartbeat();
}

void ConnectionSlot::Beat() {
    if (claimedAs_.isEmpty()) return;
    const QString path = HeartbeatPath(ws_.config);
    const std::optional<Heartbeat> found = ReadHeartbeat(path);
    if (found && !found->SameHolder(heartbeat_) && !found->UserName.isEmpty()) {
        QString holder;
        try {
            holder = FileHolder();
        } catch (const FileError&) {
            return;
        }
        if (holder != claimedAs_) {
            LostSlot(holder);
            return;
        }
    }
    heartbeat_.LastBeat = Clock::Now();
    try {
        WriteHeartbeat(path, heartbeat_);
    } catch (const FileError&) {
        // Tried again at the next beat; a holder whose beats fail looks
        // crashed only after the limit, and the others then ask before taking.
    }
}

void ConnectionSlot::SetIntervals(int pollMs, int inactivityMs) {
    poll_->setInterval(pollMs);
    inactivity_->setInterval(inactivityMs);
}

int ConnectionSlot::PollInterval() const {
    return poll_->interval();
}
bool ConnectionSlot::PollRunning() const {
    return poll_->isActive();
}
bool ConnectionSlot::InactivityRunning() const {
    return inactivity_->isActive();
}

QString ConnectionSlot::LabelText() const {
    const AccessState& a = ws_.Access;
    const QString tail = a.UserName + QStringLiteral(" / Oprávnění ") + a.Permission;
    switch (state_) {
        case State::Claimed:
            return QStringLiteral("První připojení / ") + tail;
        case State::Taken:
            return QStringLiteral("Připojení obsazeno ") + holder_ + QStringLiteral("   / ") + tail;
        case State::Disconnected:
            return QStringLiteral("Omezení / ") + tail;
        case State::ReadOnly:
            return QStringLiteral("Pouze pro čtení / ") + tail;
    }
    return QString();
}

void ConnectionSlot::SetState(State state) {
    state_ = state;
    emit stateChanged(state_, LabelText());
}

QString ConnectionSlot::FileHolder(bool* recognised) const {
    const QString path = ws_.config.ConfigPath();
    if (recognised) *recognised = true;
    if (!QFileInfo::exists(path)) return ws_.config.Pripojen;
    const IniFile ini = LoadConfigurationFile(path);
    // A file in which the slot cannot be found is nobody's free slot: a copy
    // that took it would write beside the real holder.
    if (!IsConfigurationRecognised(ini)) {
        if (recognised) *recognised = false;
        return QString();
    }
    return SlotHolderIn(ini);
}

QString ConnectionSlot::OwnPermission() const {
    const QString& current = ws_.Access.Permission;
    return !assigned_.isEmpty() && current == assigned_ ? own_ : current;
}

void ConnectionSlot::AssignPermission(const QString& permission) {
    own_ = OwnPermission();
    assigned_ = permission;
    ws_.Access.Permission = permission;
}

bool ConnectionSlot::WriteConfig(bool report) {
    AccessState& a = ws_.Access;
    const QString held = a.Permission;
    a.Permission = OwnPermission();
    bool written = true;
    if (report) {
        written = SaveConfiguration(ws_);
    } else {
        StoreUserRecord(ws_);
        try {
            WriteConfiguration(ws_.config);
        } catch (const FileError&) {
            written = false;
        }
    }
    a.Permission = held;
    return written;
}

bool ConnectionSlot::ReleaseSlot() {
    Config& c = ws_.config;
    // A busy lock does not stop the release: the slot must not stay taken, and
    // nobody else claims a slot that names this user.
    ConfigLock lock(c);
    const QString holder = FileHolder();
    // Only the slot this copy claimed is freed, by the name it was claimed
    // under (the user may have been renamed since); a copy in service mode
    // that never claimed it must not free another workstation's slot.
    const bool mine = !claimedAs_.isEmpty() && holder == claimedAs_;
    c.Pripojen = mine ? kFree : holder;
    const bool written = WriteConfig();
    if (written && mine) {
        claimedAs_.clear();
        StopBeating();
    }
    return written;
}

void ConnectionSlot::ReportError(const QString& text) {
    ws_.Ask().Error(QStringLiteral("Chyba při práci se souborem:\n") + text);
}

bool ConnectionSlot::ClaimIfFree(QString& holder, bool& recognised, bool& failed) {
    Config& c = ws_.config;
    bool claimed = false;
    ConfigLock lock(c);
    try {
        // The file, not the value read at start-up: another workstation may
        // have claimed the slot since.
        holder = FileHolder(&recognised);
        if (!lock.Busy() && recognised && holder == kFree) {
            c.Pripojen = ws_.Access.UserName;
            claimed = WriteConfig();
            // A claim that is not in the file is no claim: another copy
            // would find the slot free as well.
            failed = !claimed;
        }
        if (!claimed) c.Pripojen = holder;
    } catch (const FileError& e) {
        ReportError(e.Text());
        failed = true;
    }
    if (claimed) {
        claimedAs_ = c.Pripojen;
        StartBeating();
    }
    return claimed;
}

void ConnectionSlot::FallBackToReadOnly(const QString& holder, bool recognised, bool failed,
                                        Recovery recovery) {
    if (!failed && !recognised)
        ws_.Ask().Error(QStringLiteral("Konfigurační soubor ") + ws_.config.ConfigPath() +
                        QStringLiteral(" nemá oddíl [Nastavení] ani [Přístup] (není uložen v "
                                       "kódové stránce 1250?).\r\n\r\nPro uživatele : ") +
                        ws_.Access.UserName +
                        QStringLiteral("\r\n\r\nBude přiděleno opravnání pouze pro čtení\r\n"));
    else if (!failed && recovery != Recovery::Declined)
        ws_.Ask().Error(QStringLiteral("Program je již použiván uživatelem :\r\n\r\n") + holder +
                        QStringLiteral("\r\n\r\nPro uživatele : ") + ws_.Access.UserName +
                        QStringLiteral("\r\n\r\nBude přiděleno opravnání pouze pro čtení\r\n") +
                        (recovery == Recovery::NoHeartbeat ? kFreeByHand : QString()));
    AssignPermission(QString::fromUtf16(kReadOnlyPermission));
    holder_ = failed ? QString() : holder;
    SetState(State::Taken);
    poll_->start();
    inactivity_->stop();
}

void ConnectionSlot::ClaimSlotAtStartUp() {
    if (!ws_.MayWrite()) {
        // A user who may change nothing does not take the one writing place
        // from those who may; the slot stays as it is.
        holder_.clear();
        SetState(State::ReadOnly);
        poll_->stop();
        inactivity_->stop();
    } else {
        ClaimOrFallBack();
    }
    LogChange(ws_, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
}

void ConnectionSlot::ClaimOrFallBack() {
    QString holder;
    bool recognised = true;
    // A file error was shown instead of the message.
    bool failed = false;
    bool claimed = ClaimIfFree(holder, recognised, failed);
    Recovery recovery = Recovery::Failed;
    if (!claimed && recognised && !failed) {
        recovery = Recover(holder);
        claimed = recovery == Recovery::Recovered;
    }
    if (claimed) {
        SetState(State::Claimed);
        poll_->stop();
        inactivity_->start();
    } else {
        FallBackToReadOnly(holder, recognised, failed, recovery);
    }
}

void ConnectionSlot::UserRecordChanged() {
    if (claimedAs_.isEmpty()) {
        if (state_ == State::ReadOnly && ws_.MayWrite()) {
            // The user may now write: the slot is taken as at a start, or
            // waited for.
            ClaimOrFallBack();
            return;
        }
        // Without the slot the copy stays read-only; the new permission is the
        // user's own and takes effect with the slot.
        if (!assigned_.isEmpty() && state_ != State::ReadOnly && ws_.Access.Permission != assigned_)
            AssignPermission(QString::fromUtf16(kReadOnlyPermission));
    }
    emit stateChanged(state_, LabelText());
}

bool ConnectionSlot::TryLateClaim() {
    Config& c = ws_.config;
    if (!QFileInfo::exists(c.ConfigPath())) return false;
    ConfigLock lock(c);
    if (lock.Busy()) return false;
    // A file that cannot be read or written now is tried again at the next
    // tick; a message every time would only pile up while nobody is there.
    IniFile ini;
    try {
        ini = LoadConfigurationFile(c.ConfigPath());
    } catch (const FileError&) {
        return false;
    }
    const QString holder = IsConfigurationRecognised(ini) ? SlotHolderIn(ini) : QString();
    if (holder != kFree) {
        c.Pripojen = holder;
        return false;
    }
    // The user record read again takes effect only with the slot: a copy that
    // is still waiting stays read-only.
    const AccessState before = ws_.Access;
    const QString recordBefore = c.UserRecord;
    const QString assignedBefore = assigned_;
    c.UserRecord = AccessValueIn(ini, UserKeyOf(c));
    ReadUserRecord(ws_);
    assigned_.clear();
    c.Pripojen = ws_.Access.UserName;
    // A record that now allows no change leaves the slot to those who may.
    if (ws_.MayWrite() && WriteConfig(false)) {
        claimedAs_ = c.Pripojen;
        StartBeating();
        return true;
    }
    ws_.Access = before;
    c.UserRecord = recordBefore;
    assigned_ = assignedBefore;
    c.Pripojen = holder;
    return false;
}

void ConnectionSlot::PollSlot() {
    if (state_ == State::ReadOnly || asking_) return;
    if (!TryLateClaim()) {
        // A holder that crashed while this copy waited: offered once, since
        // nobody may be at the desk to answer every tick.
        const QString holder = ws_.config.Pripojen;
        if (state_ != State::Taken || holder == kFree ||
            !QFileInfo::exists(ws_.config.ConfigPath()))
            return;
        const std::optional<Heartbeat> beat = ReadHeartbeat(HeartbeatPath(ws_.config));
        if (!beat || (beat->SameHolder(offered_) && beat->LastBeat == offered_.LastBeat)) return;
        if (Recover(holder) != Recovery::Recovered) return;
        try {
            SetState(State::Claimed);
            poll_->stop();
            inactivity_->start();
            ReloadData();
            LogChange(ws_, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
        } catch (const FileError& e) {
            ReportError(e.Text());
        }
        return;
    }
    try {
        ws_.Ask().Beep();
        SetState(State::Claimed);
        poll_->stop();
        inactivity_->start();
        ReloadData();
        LogChange(ws_, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
        ws_.Ask().Inform(QStringLiteral("Program byl nově aktivován.\r\n\r\nBylo přiděleno "
                                        "opravnání pro uživatele : ") +
                         ws_.Access.UserName + QStringLiteral("\r\n"));
    } catch (const FileError& e) {
        ReportError(e.Text());
    }
}

void ConnectionSlot::ReloadData() {
    Config& c = ws_.config;
    // Marks of a read-only copy were never to be saved; left set, the loads
    // below would write the stale tables over the previous holder's files.
    ws_.ChangeFlags = QStringLiteral("0000000");
    using FileChoice::IsFile;
    if (IsFile(c.DataPath(c.SouborAkce))) LoadProjectRegister(ws_, c.SouborAkce);
    if (IsFile(c.DataPath(c.SouborUkony))) LoadTaskTemplates(ws_, c.SouborUkony);
    if (IsFile(c.DataPath(c.SouborPopis))) LoadProgress(ws_, c.SouborPopis);
    ws_.ChangeFlags = QStringLiteral("0000000");
}

void ConnectionSlot::CheckInactivity() {
    AccessState& a = ws_.Access;
    a.InactivityCounter += 5;
    const int limit = ws_.config.DobaNecinnosti;
    if (a.InactivityCounter <= limit || a.InactivityCounter > limit + 5) return;
    try {
        // Unsaved changes go to their files while the slot is still held: the
        // backup copies the progress files from disk, and a day's later backups
        // hold no snapshot at all.
        SaveMarkedTables(ws_);
        LogChange(ws_, QString(), QString::fromUtf16(kLabelBackup), kLogEvent, 12);
        ws_.Ask().Beep();
        if (!QFileInfo::exists(ws_.config.ConfigPath())) return;
        // Unless the freed slot is in the file the user keeps it, so that the
        // close can still save and free it.
        if (!ReleaseSlot()) return;
        AssignPermission(QString::fromUtf16(kReadOnlyPermission));
        SetState(State::Disconnected);
        inactivity_->stop();
        LogChange(ws_, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
        ws_.Ask().Inform(QStringLiteral("Program byl pro nečinnost odpojen.\r\nData byla "
                                        "zálohována\r\nBylo přiděleno opravnání pro čtení : ") +
                         a.UserName + QStringLiteral("\r\n"));
    } catch (const FileError& e) {
        ReportError(e.Text());
    }
}

void ConnectionSlot::EnterServiceMode() {
    AccessState& a = ws_.Access;
    AssignPermission(QString::fromUtf16(kServicePermission));
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
    a.ServiceMenus = !a.ServiceMenus;
    emit serviceMenusChanged(a.ServiceMenus);
    // The label shows the permission, which is now the service level.
    emit stateChanged(state_, LabelText());
    ws_.Ask().Beep();
    inactivity_->start();
    poll_->stop();
}

void ConnectionSlot::ReleaseAtClose() {
    poll_->stop();
    inactivity_->stop();
    // The copy that holds the slot frees it whatever its permission text says
    // now; one that does not hold it rewrites the file only if it may write.
    if (claimedAs_.isEmpty() && !ws_.MayWrite()) return;
    try {
        ReleaseSlot();
    } catch (const FileError& e) {
        ReportError(e.Text());
    }
}

bool ConnectionSlot::TakeOver(const QString& holder, const Heartbeat& beat) {
    Config& c = ws_.config;
    ConfigLock lock(c);
    if (lock.Busy()) return false;
    try {
        bool recognised = true;
        const QString now = FileHolder(&recognised);
        const std::optional<Heartbeat> still = ReadHeartbeat(HeartbeatPath(c));
        // Someone else took it meanwhile, or the holder beat again: it lives.
        if (!recognised || now != holder || !still || !still->SameHolder(beat) ||
            still->LastBeat != beat.LastBeat)
            return false;
        c.Pripojen = ws_.Access.UserName;
        if (!WriteConfig()) {
            c.Pripojen = holder;
            return false;
        }
    } catch (const FileError& e) {
        ReportError(e.Text());
        c.Pripojen = holder;
        return false;
    }
    assigned_.clear();
    claimedAs_ = c.Pripojen;
    StartBeating();
    return true;
}

void ConnectionSlot::LogTakeover() {
    // The slot is taken over whether or not the record can be written.
    try {
        LogChange(ws_, QString(), QString::fromUtf16(kLabelTakeover), kLogEvent, 1);
    } catch (const FileError& e) {
        ReportError(e.Text());
    }
}

ConnectionSlot::Recovery ConnectionSlot::Recover(const QString& holder) {
    Config& c = ws_.config;
    const std::optional<Heartbeat> beat = ReadHeartbeat(HeartbeatPath(c));
    // A heartbeat of another holder is an old one: the present holder writes none.
    if (!beat || beat->UserName != holder) return Recovery::NoHeartbeat;
    const QString name = ws_.Access.UserName;
    // The permission the user has once the slot is back; the read-only text a
    // waiting copy was given is replaced.
    const QString own = OwnPermission();
    if (!own.contains(QLatin1String("1_")) && soleCopy_ &&
        beat->FromThisWorkstation(UserKeyOf(c))) {
        const QString before = ws_.Access.Permission;
        ws_.Access.Permission = own;
        if (!TakeOver(holder, *beat)) {
            ws_.Access.Permission = before;
            return Recovery::Failed;
        }
        LogTakeover();
        ws_.Ask().Inform(QStringLiteral("Program byl na této stanici nečekaně ukončen a připojení "
                                        "uživatele ") +
                         holder + QStringLiteral(" (od ") + Moment(beat->Started) +
                         QStringLiteral(") zůstalo obsazeno.\r\n\r\nPřipojení bylo znovu "
                                        "převzato pro uživatele : ") +
                         name + QStringLiteral("\r\n"));
        return Recovery::Recovered;
    }
    const qint64 age = beat->Age(Clock::Now());
    if (age < qint64(c.TakeoverMinutes) * 60) return Recovery::Live;
    // Stopped but alive on this workstation (a suspended process): not ours to take.
    if (beat->Host == QSysInfo::machineHostName() &&
        beat->Pid != QCoreApplication::applicationPid() && ProcessRuns(beat->Pid))
        return Recovery::Live;
    if (own.contains(QLatin1String("1_"))) return Recovery::Live;
    offered_ = *beat;
    asking_ = true;
    const bool yes = ws_.Ask().AskYesNo(
        QStringLiteral("Program je již použiván uživatelem :\r\n\r\n") + holder +
        QStringLiteral("\r\n\r\nna stanici ") +
        (beat->Host.isEmpty() ? QStringLiteral("?") : beat->Host) + QStringLiteral(" od ") +
        Moment(beat->Started) + QStringLiteral(", ale od ") + Moment(beat->LastBeat) +
        QStringLiteral(" (") + QString::number(age / 60) +
        QStringLiteral(" min) o sobě nedal vědět; program tam zřejmě nečekaně skončil.\r\n\r\n"
                       "Převzít připojení pro uživatele : ") +
        name +
        QStringLiteral(" ?\r\n\r\nNeběží-li tam program opravdu, data od posledního "
                       "uložení jsou ztracena; běží-li, hrozí přepsání jeho změn."));
    asking_ = false;
    if (!yes) return Recovery::Declined;
    const QString before = ws_.Access.Permission;
    ws_.Access.Permission = own;
    if (!TakeOver(holder, *beat)) {
        ws_.Access.Permission = before;
        ws_.Ask().Error(QStringLiteral("Připojení se mezitím změnilo a nebylo převzato."));
        return Recovery::Failed;
    }
    LogTakeover();
    return Recovery::Recovered;
}
