#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include "Heartbeat.h"

class QTimer;
class Workspace;

// The connection slot: one user at a time may change data. The slot holder is
// the key "Pripojen" of section "Přístup" in the shared configuration file;
// the other running copies are read-only and poll for the slot, and a holder
// who stays idle is backed up and disconnected.
class ConnectionSlot : public QObject {
    Q_OBJECT
  public:
    // ReadOnly: the user's own permission allows no change, so the slot is
    // left to those who may write.
    enum class State { Claimed, Taken, Disconnected, ReadOnly };
    Q_ENUM(State)

    static constexpr int kPollIntervalMs = 150000;
    static constexpr int kInactivityIntervalMs = 300000;

    explicit ConnectionSlot(Workspace& ws, QObject* parent = nullptr);

    // Tests shorten the timers.
    void SetIntervals(int pollMs, int inactivityMs);
    void SetBeatInterval(int ms);
    bool Beating() const;
    // This copy holds the workstation's single-instance lock, so a heartbeat
    // of this user key and workstation was left by a copy that is gone.
    void SetSoleCopy(bool sole) { soleCopy_ = sole; }
    int PollInterval() const;
    bool PollRunning() const;
    bool InactivityRunning() const;

    // Claims the free slot or falls back to read-only, shows the state, starts
    // the matching timer and writes the log-in record.
    void ClaimSlotAtStartUp();
    // A read-only copy looks whether the slot became free and takes it.
    void PollSlot();
    // Counts idle minutes; past the limit the data are backed up and the slot freed.
    void CheckInactivity();
    // Raises the permission to the service level and toggles the service menus.
    void EnterServiceMode();
    // At the close: frees the slot when this copy holds it (whatever the
    // permission text) and writes the configuration file; a copy that neither
    // holds the slot nor may write leaves the file alone.
    void ReleaseAtClose();
    // The user record was changed in the settings window: the label shows the
    // new text; a user who may now write takes the free slot, and one without
    // the slot stays read-only until it is got.
    void UserRecordChanged();
    // This copy holds the slot.
    bool HoldsSlot() const { return !claimedAs_.isEmpty(); }

    State CurrentState() const { return state_; }
    // The permission label's text for the current state.
    QString LabelText() const;

  public slots:
    // Rewrites the heartbeat while this copy holds the slot.
    void Beat();

  signals:
    void stateChanged(ConnectionSlot::State state, const QString& labelText);
    // The service menus became enabled or disabled.
    void serviceMenusChanged(bool enabled);

  private:
    // What became of a taken slot whose holder may have crashed.
    enum class Recovery { NoHeartbeat, Live, Declined, Failed, Recovered };

    void SetState(State state);
    // The holder named in the configuration file; the value in memory when
    // there is no file. Throws FileError.
    // recognised, when given, is cleared for a file without its sections,
    // whose holder is then empty: never the free slot.
    QString FileHolder(bool* recognised = nullptr) const;
    // Under the configuration lock: takes the slot when the file says it is
    // free. holder receives the holder found; failed is set when a file error
    // was shown.
    bool ClaimIfFree(QString& holder, bool& recognised, bool& failed);
    // The taken state: message, read-only permission, poll timer.
    void FallBackToReadOnly(const QString& holder, bool recognised, bool failed, Recovery recovery);
    // Takes the slot when it is free, else works read-only and says why.
    void ClaimOrFallBack();
    // Frees the slot in the file when it is this user's and writes the
    // configuration; false when the file could not be written.
    bool ReleaseSlot();
    // SaveConfiguration with the user's own permission text in the user record,
    // never the read-only or service text the program put in its place. A quiet
    // write reports no failure.
    bool WriteConfig(bool report = true);
    // The part of PollSlot under the lock; true when the slot was claimed.
    bool TryLateClaim();
    void AssignPermission(const QString& permission);
    QString OwnPermission() const;
    // After a late claim: the tables are read again from the files that the
    // previous holder may have changed.
    void ReloadData();
    void ReportError(const QString& text);

    // A slot taken at start-up or while waiting: taken back at once from a
    // crashed copy of this user on this workstation, or offered after a
    // question when the holder's heartbeat is stale.
    Recovery Recover(const QString& holder);
    void LogTakeover();
    // Under the configuration lock: takes the slot when the file still names
    // the holder and the heartbeat is still the one judged.
    bool TakeOver(const QString& holder, const Heartbeat& beat);
    void StartBeating();
    void StopBeating();
    // Another copy took the slot over while this one did not beat (it was
    // stopped or cut off): it works read-only from now on.
    void LostSlot(const QString& holder);
    Workspace& ws_;
    QTimer* poll_;
    QTimer* inactivity_;
    State state_ = State::Taken;
    QString holder_;
    // The name this copy holds the slot under, empty while it holds none.
    QString claimedAs_;
    // The permission text the program assigned ("1_000" or "5_000") and the
    // user's own one that it replaced.
    QString assigned_;
    QString own_;

    QTimer* beat_;
    Heartbeat heartbeat_;
    bool soleCopy_ = false;
    // A question about a stale holder is open (the poll timer goes on meanwhile).
    bool asking_ = false;
    // The stale heartbeat the waiting copy already offered to take over.
    Heartbeat offered_;
};
