#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QtTest>

#include "Clock.h"
#include "TestSupport.h"
#include "data/Columns.h"
#include "data/IniFile.h"
#include "data/ProjectRegister.h"
#include "data/TextFile.h"
#include "shell/Access.h"
#include "shell/ChangeLog.h"
#include "shell/Config.h"
#include "shell/Heartbeat.h"
#include "shell/Slot.h"

#ifdef Q_OS_UNIX
#include <unistd.h>

#include <csignal>
#endif

namespace {

const QString kIni = QStringLiteral("ORVA_Sledovani.Ini");
const QString kLock = QStringLiteral("ORVA_Sledovani.Ini.lock");
const QString kHolder = QStringLiteral("ORVA_Sledovani.Ini.holder");
const QString kLog = QStringLiteral("Zmeny_2026-12.csv");
const QString kBackup = QStringLiteral("Zaloha_Jan-Novák_2026-12-09.csv");
const QString kOther = QStringLiteral("Uzivatel_JINY=Eva Malá/0000/4_000/0000");

using State = ConnectionSlot::State;

QString Record(const QString& permission) {
    return QStringLiteral("Jan Novák/") + ScramblePassword(QStringLiteral("heslo")) + u'/' +
           permission + u'/' + ScramblePassword(QStringLiteral("správce"));
}

// The shared configuration file as another workstation leaves it.
void WriteIni(const TempBase& base, const QString& holder, const QString& permission = "3_000",
              int limit = 10) {
    base.WriteLines(kIni, {"[Nastavení]", "Popis=Můj popis",
                           "Doba_nečinnosi_pro_odpojení=" + QString::number(limit), "[Přístup]",
                           kOther, "Uzivatel_TEST=" + Record(permission), "Pripojen=" + holder});
}

// What the start-up has done before the slot is claimed.
void StartUp(TempBase& base) {
    QVERIFY(ReadConfiguration(base.ws->config));
    ReadUserRecord(*base.ws);
}

QString IniValue(const TempBase& base, const QString& key) {
    return IniFile::Load(base.Path(kIni)).Value(QStringLiteral("Přístup"), key);
}

QString FilePermission(const TempBase& base) {
    return IniValue(base, QStringLiteral("Uzivatel_TEST")).section(u'/', 2, 2);
}

QStringList LinesStarting(const TempBase& base, const QString& file, const QString& label) {
    QStringList found;
    for (const QString& l : base.Lines(file))
        if (l.startsWith(label)) found << l;
    return found;
}

QStringList Logins(const TempBase& base) {
    return LinesStarting(base, kLog, QStringLiteral("Přihlášení uživatele_____;"));
}

void WriteRegister(const TempBase& base, const QString& name) {
    base.WriteLines("NameAkce.csv",
                    {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader,
                     "101;" + name + ";M;T;1.1;;;;P;90/85;1000,00;0;03.02.2025;27.02.2027;;"});
}

const QString kTakenMessage = QStringLiteral(
    "Program je již použiván uživatelem :\r\n\r\nEva Malá\r\n\r\nPro uživatele : Jan "
    "Novák\r\n\r\nBude přiděleno opravnání pouze pro čtení\r\n");
// Said in addition when the holder writes no heartbeat and cannot be judged.
const QString kByHand = QStringLiteral("Pripojen=Volný");

// A heartbeat left by a holder, as if its last beat was ageMinutes ago.
Heartbeat WriteBeat(const TempBase& base, const QString& name, const QString& key,
                    const QString& host, qint64 pid, int ageMinutes,
                    const QDateTime& now = Clock::Now()) {
    Heartbeat beat;
    beat.UserKey = key;
    beat.UserName = name;
    beat.Host = host;
    beat.Pid = pid;
    beat.Started = now.addSecs(-3600 * 5);
    beat.LastBeat = now.addSecs(-60 * ageMinutes);
    WriteHeartbeat(base.Path(kHolder), beat);
    QFile file(base.Path(kHolder));
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(beat.LastBeat, QFileDevice::FileModificationTime);
    return beat;
}

// A process id that runs on this workstation and is not the test itself.
qint64 LivePid() {
#ifdef Q_OS_UNIX
    return ::getppid();
#else
    return 1;
#endif
}

}  // namespace

class TestSlot : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void claimAtStartUp_data() {
        QTest::addColumn<QString>("holderAtRead");   // when the start-up read the file
        QTest::addColumn<QString>("holderAtClaim");  // in the file when the slot is claimed
        QTest::addColumn<bool>("claimed");
        QTest::addColumn<QString>("label");
        const QString free = QStringLiteral("Volný");
        const QString eva = QStringLiteral("Eva Malá");
        const QString claimedLabel =
            QStringLiteral("První připojení / Jan Novák / Oprávnění 3_000");
        const QString takenLabel =
            QStringLiteral("Připojení obsazeno Eva Malá   / Jan Novák / Oprávnění 1_000");
        QTest::newRow("free") << free << free << true << claimedLabel;
        QTest::newRow("taken") << eva << eva << false << takenLabel;
        QTest::newRow("claimed by another copy since the start-up")
            << free << eva << false << takenLabel;
        QTest::newRow("freed since the start-up") << eva << free << true << claimedLabel;
    }
    void claimAtStartUp() {
        QFETCH(QString, holderAtRead);
        QFETCH(QString, holderAtClaim);
        QFETCH(bool, claimed);
        QFETCH(QString, label);
        TempBase& base = *base_;
        WriteIni(base, holderAtRead);
        StartUp(base);
        WriteIni(base, holderAtClaim);
        const QByteArray before = base.Bytes(kIni);

        ConnectionSlot slot(*base.ws);
        QSignalSpy spy(&slot, &ConnectionSlot::stateChanged);
        slot.ClaimSlotAtStartUp();

        QCOMPARE(slot.CurrentState(), claimed ? State::Claimed : State::Taken);
        QCOMPARE(slot.LabelText(), label);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toString(), label);
        QCOMPARE(slot.PollRunning(), !claimed);
        QCOMPARE(slot.InactivityRunning(), claimed);
        QCOMPARE(slot.PollInterval(), ConnectionSlot::kPollIntervalMs);
        QCOMPARE(base.ws->MayWrite(), claimed);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error),
                 claimed ? QStringList()
                         : QStringList{kTakenMessage +
                                       QStringLiteral("\r\nDržitel připojení nezapisuje "
                                                      "známku činnosti, připojení proto nelze "
                                                      "převzít. Skončil-li program u něj "
                                                      "nečekaně, je třeba připojení uvolnit "
                                                      "ručně: v souboru ORVA_Sledovani.Ini v "
                                                      "oddílu [Přístup] nastavit "
                                                      "Pripojen=Volný.\r\n")});
        // The holder's heartbeat lives as long as the claim.
        QCOMPARE(base.Exists(kHolder), claimed);
        QCOMPARE(slot.Beating(), claimed);
        if (claimed) {
            QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Jan Novák"));
            QCOMPARE(FilePermission(base), QStringLiteral("3_000"));
            // The rest of the shared file survives the rewrite.
            const QStringList lines = base.Lines(kIni);
            QVERIFY(lines.contains(kOther));
            QVERIFY(lines.contains(QStringLiteral("Popis=Můj popis")));
        } else {
            QCOMPARE(base.Bytes(kIni), before);
            QCOMPARE(base.ws->config.Pripojen, holderAtClaim);
        }
        const QStringList logins = Logins(base);
        QCOMPARE(logins.size(), 1);
        QCOMPARE(logins[0].section(u';', 2, 2), QStringLiteral("Jan Novák"));
        QCOMPARE(logins[0].section(u';', 5, 5), QString(claimed ? "3_000" : "1_000"));
        QVERIFY(!base.Exists(kLock));
    }

    // Copies that must not take a free slot: a user who may change nothing,
    // and a configuration file in which the slot cannot be found.
    void freeSlotNotTaken_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("polls");
        QTest::addColumn<QString>("error");  // the start of the message, "" for none
        const QString readOnly = "[Nastavení]\r\n[Přístup]\r\nUzivatel_TEST=" + Record("1_000") +
                                 "\r\nPripojen=Volný\r\n";
        QTest::newRow("read-only user")
            << TextFile::Encode(readOnly) << State::ReadOnly
            << "Pouze pro čtení / Jan Novák / Oprávnění 1_000" << false << "";
        // Sections under other names (a file of another program, a typo):
        // "Pripojen" would read as free.
        QTest::newRow("no sections")
            << QByteArray("[Nastaveni]\r\nPripojen=Volný\r\n") << State::Taken
            << "Připojení obsazeno    / Jmeno Prijmeni / Oprávnění 1_000" << true
            << "Konfigurační soubor ";
    }
    void freeSlotNotTaken() {
        QFETCH(QByteArray, ini);
        QFETCH(State, state);
        QFETCH(QString, label);
        QFETCH(bool, polls);
        QFETCH(QString, error);
        TempBase& base = *base_;
        base.WriteBytes(kIni, ini);
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();

        QCOMPARE(slot.CurrentState(), state);
        QCOMPARE(slot.LabelText(), label);
        QVERIFY(!base.ws->MayWrite());
        QCOMPARE(slot.PollRunning(), polls);
        QVERIFY(!slot.InactivityRunning());
        const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
        QCOMPARE(errors.size(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty()) QVERIFY2(errors[0].startsWith(error), qPrintable(errors[0]));
        QCOMPARE(Logins(base).size(), 1);
        // A poll does not take it either, and the close leaves the file alone.
        slot.PollSlot();
        QCOMPARE(slot.CurrentState(), state);
        slot.ReleaseAtClose();
        QCOMPARE(base.Bytes(kIni), ini);
    }

    // The copy that holds the slot frees it at the close even when its user
    // may no longer change anything; the label follows every change of the record.
    void holderMadeReadOnlyFreesTheSlot() {
        TempBase& base = *base_;
        WriteIni(base, "Volný");
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        QSignalSpy spy(&slot, &ConnectionSlot::stateChanged);
        base.ws->Access.Permission = QStringLiteral("1_000");
        slot.UserRecordChanged();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toString(),
                 QStringLiteral("První připojení / Jan Novák / Oprávnění 1_000"));
        QVERIFY(!base.ws->MayWrite());
        slot.ReleaseAtClose();
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Volný"));
        QVERIFY(!slot.HoldsSlot());
    }

    // A read-only user given a writing permission at the desk takes the free
    // slot at once; a waiting copy given one stays read-only until its turn.
    void permissionRaisedAtTheDesk_data() {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("permission");  // in force afterwards
        QTest::newRow("slot free") << "Volný" << State::Claimed << "3_000";
        QTest::newRow("slot taken") << "Eva Malá" << State::Taken << "1_000";
    }
    void permissionRaisedAtTheDesk() {
        QFETCH(QString, holder);
        QFETCH(State, state);
        QFETCH(QString, permission);
        TempBase& base = *base_;
        WriteIni(base, holder, "1_000");
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        QCOMPARE(slot.CurrentState(), State::ReadOnly);
        base.ws->Access.Permission = QStringLiteral("3_000");
        slot.UserRecordChanged();
        QCOMPARE(slot.CurrentState(), state);
        QCOMPARE(base.ws->Access.Permission, permission);
        QCOMPARE(IniValue(base, "Pripojen"),
                 state == State::Claimed ? QStringLiteral("Jan Novák") : holder);
        QCOMPARE(slot.PollRunning(), state == State::Taken);
        if (state == State::Claimed) QCOMPARE(FilePermission(base), QStringLiteral("3_000"));
    }

    // A waiting copy stays read-only until the slot is free; then it takes the
    // slot with the permission of its record as stored now.
    void pollClaimsTheFreedSlot() {
        TempBase& base = *base_;
        WriteIni(base, "Eva Malá");
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.SetIntervals(50, ConnectionSlot::kInactivityIntervalMs);
        slot.ClaimSlotAtStartUp();
        QVERIFY(slot.PollRunning());
        const QByteArray taken = base.Bytes(kIni);
        base.prompter.log.clear();

        slot.PollSlot();
        QCOMPARE(slot.CurrentState(), State::Taken);
        QCOMPARE(base.ws->Access.Permission, QStringLiteral("1_000"));
        QVERIFY(!base.ws->MayWrite());
        QCOMPARE(base.Bytes(kIni), taken);
        QCOMPARE(base.prompter.beeps, 0);
        QVERIFY(base.prompter.log.isEmpty());

        QSignalSpy spy(&slot, &ConnectionSlot::stateChanged);
        WriteIni(base, "Volný", "4_000");
        QTRY_COMPARE(slot.CurrentState(), State::Claimed);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toString(),
                 QStringLiteral("První připojení / Jan Novák / Oprávnění 4_000"));
        QCOMPARE(base.ws->Access.Permission, QStringLiteral("4_000"));
        QCOMPARE(base.ws->Access.Password, QStringLiteral("heslo"));
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Jan Novák"));
        QCOMPARE(FilePermission(base), QStringLiteral("4_000"));
        QVERIFY(!slot.PollRunning());
        QVERIFY(slot.InactivityRunning());
        QCOMPARE(base.prompter.beeps, 1);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Information),
                 QStringList{"Program byl nově aktivován.\r\n\r\nBylo přiděleno opravnání pro "
                             "uživatele : Jan Novák\r\n"});
        const QStringList logins = Logins(base);
        QCOMPARE(logins.size(), 2);
        QCOMPARE(logins[1].section(u';', 5, 5), QStringLiteral("4_000"));
        QVERIFY(!base.Exists(kLock));
    }

    // The previous holder changed the files while this copy waited: the late
    // claim reads them again and never writes its stale tables over them.
    void lateClaimReadsTheDataAgain() {
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        WriteIni(base, "Eva Malá");
        WriteRegister(base, "Silnice");
        StartUp(base);
        QCOMPARE(LoadProjectRegister(ws, ws.config.SouborAkce), LoadResult::Loaded);
        ConnectionSlot slot(ws);
        slot.ClaimSlotAtStartUp();
        ws.Projects.SetCell(Project::Name, 1, QStringLiteral("Neuložená změna"));
        ws.SetChanged(kChangedProjects, true);

        WriteRegister(base, "Most přes řeku");
        WriteIni(base, "Volný");
        const QByteArray theirs = base.Bytes("NameAkce.csv");
        slot.PollSlot();

        QCOMPARE(slot.CurrentState(), State::Claimed);
        QCOMPARE(base.Bytes("NameAkce.csv"), theirs);
        QCOMPARE(ws.Projects.Cell(Project::Name, 1), QStringLiteral("Most přes řeku"));
        QCOMPARE(ws.ChangeFlags, QStringLiteral("0000000"));
        QVERIFY(base.prompter.Texts(ScriptedPrompter::Kind::OpenDialog).isEmpty());
        QVERIFY(base.prompter.Texts(ScriptedPrompter::Kind::Question).isEmpty());
    }

    void pollWithoutConfigurationFile() {
        TempBase& base = *base_;
        WriteIni(base, "Eva Malá");
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        QVERIFY(QFile::remove(base.Path(kIni)));
        base.prompter.log.clear();

        slot.PollSlot();
        QCOMPARE(slot.CurrentState(), State::Taken);
        QVERIFY(slot.PollRunning());
        QVERIFY(!base.Exists(kIni));
        QVERIFY(base.prompter.log.isEmpty());
        QCOMPARE(base.prompter.beeps, 0);
    }

    // A claim that cannot be checked in the file is no claim: the copy works
    // read-only and its poll, quiet while the file stays unreadable, claims later.
    void unreadableConfigurationGivesReadOnly() {
        TempBase& base = *base_;
        WriteIni(base, "Volný");
        StartUp(base);
        QVERIFY(QFile::remove(base.Path(kIni)));
        QVERIFY(QDir().mkdir(base.Path(kIni)));
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();

        QCOMPARE(slot.CurrentState(), State::Taken);
        QCOMPARE(slot.LabelText(),
                 QStringLiteral("Připojení obsazeno    / Jan Novák / Oprávnění 1_000"));
        QVERIFY(!base.ws->MayWrite());
        QVERIFY(slot.PollRunning());
        const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].startsWith(QStringLiteral("Chyba při práci se souborem:")));

        slot.PollSlot();
        QCOMPARE(slot.CurrentState(), State::Taken);
        QCOMPARE(base.prompter.log.size(), 1);

        QVERIFY(QDir().rmdir(base.Path(kIni)));
        WriteIni(base, "Volný");
        slot.PollSlot();
        QCOMPARE(slot.CurrentState(), State::Claimed);
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Jan Novák"));
    }

    void inactivity_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("script");    // T: a timer tick, R: a user action
        QTest::addColumn<int>("disconnectAt");  // position in the script, from 1
        QTest::addColumn<int>("counterAt");
        QTest::newRow("limit 10") << 10 << "TTTTTTT" << 3 << 15;
        QTest::newRow("limit 12") << 12 << "TTTTTTT" << 3 << 15;
        QTest::newRow("limit 0") << 0 << "TTTT" << 1 << 5;
        QTest::newRow("limit 5") << 5 << "TTTT" << 2 << 10;
        QTest::newRow("limit 15 on the boundary") << 15 << "TTTTTT" << 4 << 20;
        QTest::newRow("action restarts the count") << 10 << "TTRTTTT" << 6 << 15;
        QTest::newRow("action on every second tick") << 10 << "TTRTTRTTR" << 0 << 0;
    }
    void inactivity() {
        QFETCH(int, limit);
        QFETCH(QString, script);
        QFETCH(int, disconnectAt);
        QFETCH(int, counterAt);
        TempBase& base = *base_;
        WriteIni(base, "Volný", "3_000", limit);
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();

        int at = 0;
        int counter = 0;
        for (int i = 0; i < script.size(); ++i) {
            if (script[i] == u'R')
                base.ws->ResetInactivity();
            else
                slot.CheckInactivity();
            if (at == 0 && slot.CurrentState() == State::Disconnected) {
                at = i + 1;
                counter = base.ws->Access.InactivityCounter;
            }
        }
        QCOMPARE(at, disconnectAt);
        QCOMPARE(counter, counterAt);
        const int disconnects = disconnectAt > 0 ? 1 : 0;
        QCOMPARE(base.prompter.beeps, disconnects);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Information).size(), disconnects);
        QCOMPARE(LinesStarting(base, kBackup, QStringLiteral("Záloha dat_______________;")).size(),
                 disconnects);
        QCOMPARE(IniValue(base, "Pripojen"), QString(disconnects ? "Volný" : "Jan Novák"));
    }

    void disconnectBacksUpAndFreesTheSlot() {
        TempBase& base = *base_;
        WriteIni(base, "Volný", "3_000", 0);
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.SetIntervals(ConnectionSlot::kPollIntervalMs, 50);
        slot.ClaimSlotAtStartUp();
        QSignalSpy spy(&slot, &ConnectionSlot::stateChanged);

        QTRY_COMPARE(slot.CurrentState(), State::Disconnected);
        const QString label = QStringLiteral("Omezení / Jan Novák / Oprávnění 1_000");
        QCOMPARE(slot.LabelText(), label);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toString(), label);
        QVERIFY(!slot.InactivityRunning());
        QVERIFY(!slot.PollRunning());
        QVERIFY(!base.ws->MayWrite());
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Volný"));
        // The stored record keeps the user's own permission.
        QCOMPARE(FilePermission(base), QStringLiteral("3_000"));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Information),
                 QStringList{"Program byl pro nečinnost odpojen.\r\nData byla zálohována\r\nBylo "
                             "přiděleno opravnání pro čtení : Jan Novák\r\n"});
        const QStringList backup = base.Lines(kBackup);
        QVERIFY(!backup.isEmpty());
        QCOMPARE(backup.first(), QStringLiteral(";Uloženo 09.12.2026"));
        QVERIFY(backup.last().startsWith(QStringLiteral("Záloha dat_______________;")));
        const QStringList logins = Logins(base);
        QCOMPARE(logins.size(), 2);
        QCOMPARE(logins[1].section(u';', 5, 5), QStringLiteral("1_000"));

        // Read-only now: the close leaves the file alone.
        const QByteArray freed = base.Bytes(kIni);
        slot.ReleaseAtClose();
        QCOMPARE(base.Bytes(kIni), freed);
    }

    // The backup file of a day holds a snapshot only once, so the idle
    // holder's unsaved changes are written to their files before the slot goes.
    void disconnectSavesUnsavedChanges() {
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        WriteIni(base, "Volný", "3_000", 0);
        WriteRegister(base, "Silnice");
        StartUp(base);
        LoadProjectRegister(ws, ws.config.SouborAkce);
        base.WriteLines(kBackup, {";Uloženo 09.12.2026", "Akce ORVA"});
        ConnectionSlot slot(ws);
        slot.ClaimSlotAtStartUp();
        ws.Projects.SetCell(Project::Name, 1, QStringLiteral("Nový název"));
        ws.SetChanged(kChangedProjects, true);

        slot.CheckInactivity();
        QCOMPARE(slot.CurrentState(), State::Disconnected);
        QVERIFY(!ws.Changed(kChangedProjects));
        QVERIFY(base.Lines("NameAkce.csv").join(u'\n').contains(QStringLiteral("Nový název")));
        QCOMPARE(base.Lines(kBackup).size(), 3);
    }

    // A holder renamed in the settings window still frees the slot it claimed.
    void renamedHolderFreesItsSlot() {
        TempBase& base = *base_;
        WriteIni(base, "Volný");
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Jan Novák"));
        base.ws->Access.UserName = QStringLiteral("Jan Nový");
        slot.ReleaseAtClose();
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Volný"));
    }

    // How the slot is given up: at the close, or by a disconnect for inactivity.
    void giveUpTheSlot_data() {
        QTest::addColumn<QString>("holder");  // in the file at the start-up
        QTest::addColumn<bool>("serviceMode");
        QTest::addColumn<bool>("idle");
        QTest::addColumn<QString>("holderAfter");  // "" when the file must stay untouched
        QTest::newRow("holder frees its slot") << "Volný" << false << false << "Volný";
        QTest::newRow("read-only copy") << "Eva Malá" << false << false << "";
        QTest::newRow("service mode leaves another's slot")
            << "Eva Malá" << true << false << "Eva Malá";
        QTest::newRow("holder in service mode") << "Volný" << true << false << "Volný";
        QTest::newRow("idle service mode leaves another's slot")
            << "Eva Malá" << true << true << "Eva Malá";
    }
    void giveUpTheSlot() {
        QFETCH(QString, holder);
        QFETCH(bool, serviceMode);
        QFETCH(bool, idle);
        QFETCH(QString, holderAfter);
        TempBase& base = *base_;
        WriteIni(base, holder, "3_000", 0);
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        if (serviceMode) slot.EnterServiceMode();
        const QByteArray before = base.Bytes(kIni);

        if (idle) {
            slot.CheckInactivity();
            QCOMPARE(slot.CurrentState(), State::Disconnected);
            QCOMPARE(base.ws->Access.Permission, QStringLiteral("1_000"));
        } else {
            slot.ReleaseAtClose();
            QVERIFY(!slot.PollRunning());
        }
        QVERIFY(!slot.InactivityRunning());
        QVERIFY(!slot.Beating());
        // Only a slot this copy held had its heartbeat, which goes with it.
        QVERIFY(!base.Exists(kHolder));
        if (holderAfter.isEmpty()) {
            QCOMPARE(base.Bytes(kIni), before);
        } else {
            QCOMPARE(IniValue(base, "Pripojen"), holderAfter);
            // The service level is not stored as the user's permission.
            QCOMPARE(FilePermission(base), QStringLiteral("3_000"));
            QVERIFY(base.Lines(kIni).contains(kOther));
        }
        QVERIFY(!base.Exists(kLock));
    }

    void enterServiceMode_data() {
        QTest::addColumn<bool>("warn");
        QTest::addColumn<QList<bool>>("answers");  // to the confirmation, one per call
        QTest::addColumn<QList<bool>>("menus");    // the service menus after each call
        QTest::newRow("no warning: on, then off")
            << false << QList<bool>{} << QList<bool>{true, false};
        QTest::newRow("confirmed twice")
            << true << QList<bool>{true, true} << QList<bool>{true, false};
        QTest::newRow("declined") << true << QList<bool>{false, false} << QList<bool>{false, false};
        QTest::newRow("declined, then confirmed")
            << true << QList<bool>{false, true} << QList<bool>{false, true};
    }
    void enterServiceMode() {
        QFETCH(bool, warn);
        QFETCH(QList<bool>, answers);
        QFETCH(QList<bool>, menus);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        WriteIni(base, "Eva Malá");
        StartUp(base);
        ws.config.SetFlag(kFlagWarnBeforeChange, warn);
        ConnectionSlot slot(ws);
        slot.ClaimSlotAtStartUp();
        QSignalSpy spy(&slot, &ConnectionSlot::serviceMenusChanged);
        base.prompter.answers = answers;

        QList<bool> signalled;
        bool toggled = false;
        for (int i = 0; i < menus.size(); ++i) {
            const bool wasOn = ws.Access.ServiceMenus;
            slot.EnterServiceMode();
            QCOMPARE(ws.Access.ServiceMenus, menus[i]);
            QCOMPARE(ws.Access.Permission, QStringLiteral("5_000"));
            if (ws.Access.ServiceMenus != wasOn) {
                signalled << menus[i];
                toggled = true;
            }
        }
        QCOMPARE(spy.count(), signalled.size());
        for (int i = 0; i < spy.count(); ++i) QCOMPARE(spy.at(i).at(0).toBool(), signalled[i]);
        QCOMPARE(base.prompter.beeps, int(signalled.size()));
        // A declined confirmation leaves the waiting copy polling.
        QCOMPARE(slot.PollRunning(), !toggled);
        QCOMPARE(slot.InactivityRunning(), toggled);
        QVERIFY(ws.MayWrite());
        QVERIFY(base.prompter.Texts(ScriptedPrompter::Kind::Information).isEmpty());
    }

    // A holder that is gone: its heartbeat says who, where and since when.
    void crashedHolder_data() {
        QTest::addColumn<QString>("beatName");  // "" for no heartbeat file
        QTest::addColumn<QString>("beatKey");
        QTest::addColumn<QString>("beatHost");  // "here" for this workstation
        QTest::addColumn<int>("pid");           // 0: gone, 1: a live process here
        QTest::addColumn<int>("ageMinutes");
        QTest::addColumn<int>("limit");  // the configured minutes, 0: key missing
        QTest::addColumn<bool>("sole");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("claimed");
        QTest::addColumn<QString>("said");  // the start of the one message, "" for none
        const QString eva = QStringLiteral("Eva Malá");
        const QString evaKey = QStringLiteral("Uzivatel_JINY");
        const QString mine = QStringLiteral("Uzivatel_TEST");
        const QString host = QStringLiteral("stanice-eva");
        const QString taken = QStringLiteral("Program je již použiván");
        const QString back = QStringLiteral("Program byl na této stanici nečekaně ukončen");
        QTest::newRow("no heartbeat: by hand only")
            << ""
            << ""
            << "" << 0 << 0 << 0 << false << QList<bool>{true} << false << false << taken;
        QTest::newRow("fresh heartbeat elsewhere") << eva << evaKey << host << 0 << 4 << 0 << false
                                                   << QList<bool>{true} << false << false << taken;
        QTest::newRow("stale heartbeat, declined") << eva << evaKey << host << 0 << 6 << 0 << false
                                                   << QList<bool>{false} << true << false << "";
        QTest::newRow("stale heartbeat, taken over")
            << eva << evaKey << host << 0 << 6 << 0 << false << QList<bool>{true} << true << true
            << "";
        QTest::newRow("longer limit configured") << eva << evaKey << host << 0 << 6 << 30 << false
                                                 << QList<bool>{true} << false << false << taken;
        QTest::newRow("limit below a minute is one minute")
            << eva << evaKey << host << 0 << 2 << -5 << false << QList<bool>{true} << true << true
            << "";
        QTest::newRow("heartbeat of an earlier holder")
            << "Petr Starý" << evaKey << host << 0 << 60 << 0 << false << QList<bool>{true} << false
            << false << taken;
        QTest::newRow("stale but the process runs here")
            << eva << evaKey << "here" << 1 << 60 << 0 << false << QList<bool>{true} << false
            << false << taken;
        QTest::newRow("own crashed copy: back at once")
            << eva << mine << "here" << 0 << 0 << 0 << true << QList<bool>{} << false << true
            << back;
        QTest::newRow("own key, lock not held: treated as another's")
            << eva << mine << "here" << 0 << 0 << 0 << false << QList<bool>{true} << false << false
            << taken;
        QTest::newRow("own key on another workstation")
            << eva << mine << host << 0 << 0 << 0 << true << QList<bool>{true} << false << false
            << taken;
    }
    void crashedHolder() {
        QFETCH(QString, beatName);
        QFETCH(QString, beatKey);
        QFETCH(QString, beatHost);
        QFETCH(int, pid);
        QFETCH(int, ageMinutes);
        QFETCH(int, limit);
        QFETCH(bool, sole);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, asked);
        QFETCH(bool, claimed);
        QFETCH(QString, said);
        TempBase& base = *base_;
        WriteIni(base, "Eva Malá");
        if (limit != 0) {
            IniFile ini = IniFile::Load(base.Path(kIni));
            ini.SetValue(QStringLiteral("Přístup"), QString::fromUtf16(kTakeoverKey),
                         QString::number(limit));
            ini.Save(base.Path(kIni));
        }
        if (!beatName.isEmpty())
            WriteBeat(base, beatName, beatKey,
                      beatHost == "here" ? QSysInfo::machineHostName() : beatHost,
                      pid == 1 ? LivePid() : 999999999, ageMinutes);
        StartUp(base);
        const QByteArray before = base.Bytes(kIni);
        base.prompter.answers = answers;
        ConnectionSlot slot(*base.ws);
        slot.SetSoleCopy(sole);
        slot.ClaimSlotAtStartUp();

        QCOMPARE(slot.CurrentState(), claimed ? State::Claimed : State::Taken);
        const QStringList questions = base.prompter.Texts(ScriptedPrompter::Kind::Question);
        QCOMPARE(questions.size(), asked ? 1 : 0);
        if (asked) {
            QVERIFY2(questions[0].startsWith(QStringLiteral(
                         "Program je již použiván uživatelem :\r\n\r\nEva Malá\r\n\r\nna stanici "
                         "stanice-eva od 9.12.2026 05:30, ale od 9.12.2026 10:2")),
                     qPrintable(questions[0]));
            QVERIFY(questions[0].contains(
                QStringLiteral("Převzít připojení pro uživatele : Jan Novák ?")));
        }
        QStringList messages = base.prompter.Texts(ScriptedPrompter::Kind::Error) +
                               base.prompter.Texts(ScriptedPrompter::Kind::Information);
        QCOMPARE(messages.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty()) QVERIFY2(messages[0].startsWith(said), qPrintable(messages[0]));
        // Only a holder that writes no heartbeat must be freed by hand.
        if (!said.isEmpty() && !claimed)
            QCOMPARE(messages[0].contains(kByHand), beatName != QStringLiteral("Eva Malá"));
        const QStringList takeovers =
            LinesStarting(base, kLog, QString::fromUtf16(kLabelTakeover) + u';');
        QCOMPARE(takeovers.size(), claimed ? 1 : 0);
        if (claimed) {
            QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Jan Novák"));
            QCOMPARE(FilePermission(base), QStringLiteral("3_000"));
            QCOMPARE(base.ws->Access.Permission, QStringLiteral("3_000"));
            QCOMPARE(takeovers[0].section(u';', 2, 2), QStringLiteral("Jan Novák"));
            const std::optional<Heartbeat> beat = ReadHeartbeat(base.Path(kHolder));
            QVERIFY(beat);
            QCOMPARE(beat->UserName, QStringLiteral("Jan Novák"));
            QCOMPARE(beat->Pid, QCoreApplication::applicationPid());
            QVERIFY(slot.Beating());
            slot.ReleaseAtClose();
            QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Volný"));
            QVERIFY(!base.Exists(kHolder));
        } else {
            QCOMPARE(base.Bytes(kIni), before);
            QCOMPARE(base.ws->Access.Permission, QStringLiteral("1_000"));
            QVERIFY(slot.PollRunning());
            QCOMPARE(base.Exists(kHolder), !beatName.isEmpty());
        }
    }

    // A waiting copy whose holder crashes meanwhile is asked once, not at
    // every tick; a heartbeat that moves on is a live holder again.
    void waitingCopyOffersTheTakeoverOnce() {
        TempBase& base = *base_;
        WriteIni(base, "Eva Malá");
        WriteBeat(base, "Eva Malá", "Uzivatel_JINY", "stanice-eva", 999999999, 1);
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        QCOMPARE(slot.CurrentState(), State::Taken);
        base.prompter.log.clear();

        slot.PollSlot();
        QVERIFY(base.prompter.log.isEmpty());
        WriteBeat(base, "Eva Malá", "Uzivatel_JINY", "stanice-eva", 999999999, 20);
        base.prompter.answers = {false};
        slot.PollSlot();
        slot.PollSlot();
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question).size(), 1);
        QCOMPARE(slot.CurrentState(), State::Taken);

        WriteBeat(base, "Eva Malá", "Uzivatel_JINY", "stanice-eva", 999999999, 10);
        base.prompter.answers = {true};
        slot.PollSlot();
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question).size(), 2);
        QCOMPARE(slot.CurrentState(), State::Claimed);
        QCOMPARE(base.ws->Access.Permission, QStringLiteral("3_000"));
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Jan Novák"));
        QVERIFY(slot.InactivityRunning());
        QVERIFY(!slot.PollRunning());
        QCOMPARE(LinesStarting(base, kLog, QString::fromUtf16(kLabelTakeover) + u';').size(), 1);
    }

    // A holder that was stopped (not dead) finds at its next beat that the
    // slot was taken over, and goes read-only instead of beating over the new
    // holder's heartbeat.
    void revivedHolderYieldsTheSlot() {
        TempBase& base = *base_;
        WriteIni(base, "Volný");
        StartUp(base);
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        QCOMPARE(slot.CurrentState(), State::Claimed);
        base.ws->SetChanged(kChangedProjects, true);
        WriteIni(base, "Eva Malá");
        const Heartbeat theirs =
            WriteBeat(base, "Eva Malá", "Uzivatel_JINY", "stanice-eva", 4242, 0);

        slot.Beat();
        QCOMPARE(slot.CurrentState(), State::Taken);
        QVERIFY(!slot.Beating());
        QVERIFY(!base.ws->MayWrite());
        QCOMPARE(base.ws->ChangeFlags, QStringLiteral("0000000"));
        QVERIFY(ReadHeartbeat(base.Path(kHolder))->SameHolder(theirs));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error).size(), 1);
        slot.ReleaseAtClose();
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Eva Malá"));
        QVERIFY(base.Exists(kHolder));
    }

#ifdef Q_OS_UNIX
    // Real workstations: the holder is killed, and the slot comes back to its
    // own user at once, to another after the question, never from a live holder.
    void killedHolderRecovered() {
        TempBase& base = *base_;
        WriteIni(base, "Volný");
        // Each "workstation user" has a record in the shared file.
        {
            IniFile ini = IniFile::Load(base.Path(kIni));
            ini.SetValue(QStringLiteral("Přístup"), QStringLiteral("Uzivatel_A"),
                         QStringLiteral("Ada/0000/3_000/0000"));
            ini.SetValue(QStringLiteral("Přístup"), QStringLiteral("Uzivatel_B"),
                         QStringLiteral("Bob/0000/3_000/0000"));
            ini.Save(base.Path(kIni));
        }
        const QString locks = base.Path(QStringLiteral("locks"));
        QVERIFY(QDir().mkpath(locks));
        QFile::setPermissions(locks, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto start = [&](const QString& name, const QString& key, const QStringList& options) {
            auto* p = new QProcess(this);
            p->start(QStringLiteral(SLOT_CLAIMER),
                     options + QStringList{QStringLiteral("--say"), QStringLiteral("--lock"), locks,
                                           base.Dir(), name, key});
            return p;
        };
        // Everything the claimer printed up to its verdict.
        auto verdict = [](QProcess* p) {
            QStringList lines;
            QDeadlineTimer deadline(20000);
            while (!deadline.hasExpired()) {
                if (!p->canReadLine() && !p->waitForReadyRead(200) &&
                    p->state() == QProcess::NotRunning && !p->canReadLine())
                    break;
                while (p->canReadLine()) {
                    lines << QString::fromUtf8(p->readLine()).trimmed();
                    if (lines.last() == "CLAIMED" || lines.last() == "TAKEN" ||
                        lines.last() == "RUNNING")
                        return lines;
                }
            }
            return lines;
        };
        const QString taken = QStringLiteral("Program je již použiván");

        QProcess* ada = start("Ada", "Uzivatel_A", {"--hold", "--beat", "100"});
        QCOMPARE(verdict(ada).constLast(), QStringLiteral("CLAIMED"));
        QVERIFY(base.Exists(kHolder));
        // A second copy of the same user on this workstation does not start.
        QProcess* twin = start("Ada", "Uzivatel_A", {"--answer", "yes"});
        QCOMPARE(verdict(twin), QStringList{"RUNNING"});
        // A live holder, even one whose heartbeat looks old, keeps its slot.
        QProcess* bob = start("Bob", "Uzivatel_B", {"--answer", "yes"});
        QStringList out = verdict(bob);
        QCOMPARE(out.constLast(), QStringLiteral("TAKEN"));
        QVERIFY(out.first().startsWith("SAID " + taken));
        QVERIFY(!out.join(u'\n').contains("ASKED"));
        ::kill(pid_t(ada->processId()), SIGSTOP);
        const Heartbeat live = *ReadHeartbeat(base.Path(kHolder));
        WriteBeat(base, "Ada", "Uzivatel_A", live.Host, live.Pid, 60, QDateTime::currentDateTime());
        out = verdict(start("Bob", "Uzivatel_B", {"--answer", "yes"}));
        QCOMPARE(out.constLast(), QStringLiteral("TAKEN"));
        QVERIFY(!out.join(u'\n').contains("ASKED"));
        ::kill(pid_t(ada->processId()), SIGCONT);
        // Going on, the holder beats again.
        QTRY_VERIFY_WITH_TIMEOUT(
            ReadHeartbeat(base.Path(kHolder))->Age(QDateTime::currentDateTime()) < 60, 10000);

        // Killed: the slot stays taken, with the heartbeat left behind.
        ada->kill();
        QVERIFY(ada->waitForFinished(10000));
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Ada"));
        // Another workstation, while the heartbeat is recent: no question.
        out = verdict(start("Bob", "Uzivatel_B", {"--answer", "yes"}));
        QCOMPARE(out.constLast(), QStringLiteral("TAKEN"));
        QVERIFY(!out.join(u'\n').contains("ASKED"));
        // Ada restarts on her workstation: the slot is hers again at once.
        ada = start("Ada", "Uzivatel_A", {"--hold"});
        out = verdict(ada);
        QCOMPARE(out.constLast(), QStringLiteral("CLAIMED"));
        QVERIFY2(out.first().startsWith(
                     "SAID Program byl na této stanici nečekaně ukončen a připojení uživatele Ada"),
                 qPrintable(out.join(u'\n')));
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Ada"));
        ada->kill();
        QVERIFY(ada->waitForFinished(10000));

        // Killed again, and nobody came for ten minutes: Bob is asked and takes it.
        const Heartbeat dead = *ReadHeartbeat(base.Path(kHolder));
        WriteBeat(base, "Ada", "Uzivatel_A", dead.Host, dead.Pid, 10, QDateTime::currentDateTime());
        out = verdict(start("Bob", "Uzivatel_B", {"--answer", "yes"}));
        QCOMPARE(out.constLast(), QStringLiteral("CLAIMED"));
        QVERIFY2(out.first().startsWith("ASKED " + taken + " uživatelem :||Ada||na stanici "),
                 qPrintable(out.join(u'\n')));
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Bob"));
        // The claimers run on the system clock, not the test's.
        const QString log = QDate::currentDate().toString(QStringLiteral("'Zmeny_'yyyy-MM'.csv'"));
        const QStringList takeovers =
            LinesStarting(base, log, QString::fromUtf16(kLabelTakeover) + u';');
        QCOMPARE(takeovers.size(), 2);
        QCOMPARE(takeovers[0].section(u';', 2, 2), QStringLiteral("Ada"));
        QCOMPARE(takeovers[1].section(u';', 2, 2), QStringLiteral("Bob"));
        // Bob's claimer ended without closing: his heartbeat names him.
        QCOMPARE(ReadHeartbeat(base.Path(kHolder))->UserName, QStringLiteral("Bob"));
    }
#endif

    // A copy that died while holding the lock (here: on another workstation)
    // does not keep the others from claiming.
    void staleLockIsTakenOver() {
        TempBase& base = *base_;
        WriteIni(base, "Volný");
        StartUp(base);
        base.WriteBytes(kLock, "999999\norva\nneexistujici-stanice\n");
        {
            QFile lock(base.Path(kLock));
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                     QFileDevice::FileModificationTime));
        }
        ConnectionSlot slot(*base.ws);
        slot.ClaimSlotAtStartUp();
        QCOMPARE(slot.CurrentState(), State::Claimed);
        QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Jan Novák"));
        QVERIFY(!base.Exists(kLock));
    }

    void concurrentClaimsHaveOneWinner_data() {
        QTest::addColumn<bool>("fresh");
        QTest::newRow("free slot") << false;
        // No configuration file yet: each copy would create one with the slot free.
        QTest::newRow("new folder") << true;
    }

    // Workstations started at the same moment: exactly one of them writes.
    void concurrentClaimsHaveOneWinner() {
        QFETCH(bool, fresh);
        constexpr int kRounds = 6;
        constexpr int kClaimers = 4;
        TempBase base;
        const QString go = base.Path(QStringLiteral("go"));
        for (int round = 0; round < kRounds; ++round) {
            if (fresh)
                QFile::remove(base.Path(kIni));
            else
                WriteIni(base, "Volný");
            QFile::remove(go);
            QList<QProcess*> claimers;
            for (int i = 0; i < kClaimers; ++i) {
                auto* p = new QProcess(this);
                p->setProcessChannelMode(QProcess::SeparateChannels);
                p->start(QStringLiteral(SLOT_CLAIMER),
                         {base.Dir(), QStringLiteral("Stanice %1").arg(i),
                          QStringLiteral("Uzivatel_%1").arg(i), go});
                claimers << p;
            }
            for (QProcess* p : claimers) {
                QVERIFY2(p->waitForStarted(10000), qPrintable(p->errorString()));
                QTRY_VERIFY_WITH_TIMEOUT(p->canReadLine() || p->state() == QProcess::NotRunning,
                                         10000);
                QCOMPARE(p->readLine().trimmed(), QByteArray("READY"));
            }
            base.WriteBytes(QStringLiteral("go"), "go");

            QList<int> winners;
            for (int i = 0; i < kClaimers; ++i) {
                QProcess* p = claimers[i];
                QVERIFY(p->waitForFinished(30000));
                const QByteArray out = p->readAllStandardOutput().trimmed();
                QVERIFY2(out == "CLAIMED" || out == "TAKEN",
                         out.constData() + QByteArray(" / ") + p->readAllStandardError());
                if (out == "CLAIMED") winners << i;
                delete p;
            }
            QCOMPARE(winners.size(), 1);
            QCOMPARE(IniValue(base, "Pripojen"), QStringLiteral("Stanice %1").arg(winners[0]));
            QVERIFY(!base.Exists(kLock));
        }
    }
};

QTEST_GUILESS_MAIN(TestSlot)
#include "tst_slot.moc"
