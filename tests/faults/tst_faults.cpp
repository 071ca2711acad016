#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "SaveKinds.h"
#include "TestSupport.h"

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

namespace {

// Kills per kind of save; the long run sets ORVA_FAULT_KILLS_PER_KIND.
int KillsPerKind() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ORVA_FAULT_KILLS_PER_KIND", &ok);
    return ok && n > 0 ? n : 6;
}

ProgramRun Driver(const QString& mode, const QString& kind, const QString& dir) {
    return RunProgram(QStringLiteral(SAVE_DRIVER), {mode, kind, dir});
}

void AddKindRows() {
    QTest::addColumn<QString>("kind");
    for (const SaveKind& k : SaveKinds()) QTest::newRow(qPrintable(k.name)) << k.name;
}

}  // namespace

class TestFaults : public QObject {
    Q_OBJECT
  private slots:
    // A workstation killed (power cut, SIGKILL) at a random moment of a save
    // leaves the old or the new file, whole.
    void killDuringSave_data() { AddKindRows(); }
    void killDuringSave() {
        QFETCH(QString, kind);
        const SaveKind& k = *FindSaveKind(kind);
        QTemporaryDir dir;
        const QString base = dir.path() + u'/';
        const ProgramRun prepared = Driver(QStringLiteral("prepare"), kind, base);
        QVERIFY2(prepared.exitCode == 0, qPrintable(prepared.out + prepared.err));
        QVERIFY(CheckSaveKind(k, base).isEmpty());

        const quint32 seed = qEnvironmentVariableIsSet("ORVA_FAULT_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("ORVA_FAULT_SEED"))
                                 : QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const int kills = KillsPerKind();
        for (int i = 0; i < kills; ++i) {
            QProcess p;
            p.start(QStringLiteral(SAVE_DRIVER), {QStringLiteral("loop"), kind, base});
            QVERIFY(p.waitForStarted(10000));
            QTRY_VERIFY_WITH_TIMEOUT(p.canReadLine() || p.state() == QProcess::NotRunning, 10000);
            QCOMPARE(p.readLine().trimmed(), QByteArray("READY"));
            // Anywhere within the next saves, which take a few milliseconds each.
            QThread::usleep(random.bounded(40000));
            QVERIFY2(p.state() == QProcess::Running, p.readAllStandardOutput().constData());
            p.kill();
            QVERIFY(p.waitForFinished(10000));
            const QString problem = CheckSaveKind(k, base);
            // The long run shows how far it got.
            if (kills > 50 && (i + 1) % 50 == 0)
                qInfo("%s: %d kills, every file whole", qPrintable(kind), i + 1);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("%1 after kill %2 (seed %3): %4")
                                                       .arg(kind)
                                                       .arg(i + 1)
                                                       .arg(seed)
                                                       .arg(problem)));
        }
    }

    // A full disk or a read-only folder: the save is refused with the file's
    // path and the system's reason, and the old file stays whole.
    void refusedSave_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("readOnly");
        for (const SaveKind& k : SaveKinds()) {
            QTest::newRow(qPrintable(k.name + QStringLiteral(", full disk"))) << k.name << false;
            QTest::newRow(qPrintable(k.name + QStringLiteral(", read-only"))) << k.name << true;
        }
    }
    void refusedSave() {
        QFETCH(QString, kind);
        QFETCH(bool, readOnly);
        const SaveKind& k = *FindSaveKind(kind);
        SmallDisk disk(1024);
        SKIP_WITHOUT_SMALL_DISK(disk);
        const ProgramRun prepared = Driver(QStringLiteral("prepare"), kind, disk.Dir());
        QVERIFY2(prepared.exitCode == 0, qPrintable(prepared.out + prepared.err));
        // Qt refuses to replace a file it cannot write before the system is asked.
        const QStringList reasons = readOnly
                                        ? QStringList{QStringLiteral("Read-only file system"),
                                                      QStringLiteral("is not writable")}
                                        : QStringList{QStringLiteral("No space left on device")};
        if (readOnly) {
#ifdef Q_OS_LINUX
            QCOMPARE(::mount("tmpfs", QFile::encodeName(disk.Dir()).constData(), "tmpfs",
                             MS_REMOUNT | MS_RDONLY, nullptr),
                     0);
#endif
        } else {
            // A file the save removes first would free its own room.
            if (k.recreates) QFile::remove(disk.Path(k.file));
            disk.Fill(0);
        }
        const ProgramRun run = Driver(QStringLiteral("once"), kind, disk.Dir());
        // An append may still fit into the last page of its file.
        if (!(k.appends && run.exitCode == 0)) {
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.out.startsWith(QStringLiteral("ERROR ") + disk.Dir() + k.file) &&
                         std::any_of(reasons.cbegin(), reasons.cend(),
                                     [&](const QString& r) { return run.out.contains(r); }),
                     qPrintable(run.out));
        }
        const QString problem = CheckSaveKind(k, disk.Dir());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
