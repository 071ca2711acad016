#include <QtTest>

#include "Clock.h"
#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "editing/EditLabels.h"
#include "shell/ChangeLog.h"

namespace {

const QString kFile10 = QStringLiteral("APr_NameAkce__10.csv");
const QString kFile101 = QStringLiteral("APr_NameAkce__101.csv");

ProgramRun RunCli(const QStringList& args) {
    return RunProgram(QStringLiteral(ORVA_CLI), args);
}

void SetDay(int day) {
    Clock::Set(QDateTime(QDate(2026, 12, day), QTime(9, 0)));
}

// Projects 101 and 10 with their files; on 1 December the log begins, on the
// 2nd project 10 gets a row, on the 3rd its first row is renamed.
void WriteMonth(TempBase& base) {
    Workspace& ws = *base.ws;
    base.WriteLines("NameAkce.csv", RegisterLines({QStringLiteral("101;Most;;;;;;;;;;;;;;"),
                                                   QStringLiteral("10;Škola;;;;;;;;;;;;;;")}));
    base.WriteLines(kFile10, {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;10", "Termíny",
                              "T-10;Příprava;S;P;;;;;0;;;T-10-01/;;;;;;",
                              "F-10;Etapa 1;;Plán;;;;;1000;;1000;F-10-01/;etapa;;;;;"});
    base.WriteLines(kFile101, {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;101", "Termíny",
                               "T-101;Cizí;S;P;;;;;0;;;T-101-01/;;;;;;"});
    ws.config.CestaZmeny = QStringLiteral("Zmeny/");
    QDir().mkpath(base.Path("Zmeny"));
    LoadProjectRegister(ws, ws.config.SouborAkce);
    LoadProgress(ws, kFile10);
    SetDay(1);
    LogChange(ws, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
    SetDay(2);
    const int row = ws.Deadlines.RowCount();
    ws.Deadlines.SetCell(0, row, QString::number(row));
    ws.Deadlines.SetCell(Deadline::KindAndProject, row, QStringLiteral("T-10"));
    ws.Deadlines.SetCell(Deadline::Activity, row, QStringLiteral("Kolaudace"));
    ws.Deadlines.SetCell(Deadline::Identifier, row, QStringLiteral("T-10-02/"));
    LogChange(ws, QString(), QString::fromUtf16(kLabelAdded), kDeadlineTable, row);
    SetDay(3);
    LogChange(ws, QString(), QString::fromUtf16(kLabelChangedOld), kDeadlineTable, 1);
    ws.Deadlines.SetCell(Deadline::Activity, 1, QStringLiteral("Projekt"));
    LogChange(ws, QString(), QString::fromUtf16(kLabelChangedNew), kDeadlineTable, 1);
    Clock::Reset();
}

QStringList Activities(const QString& path) {
    const ProgressRows rows = ReadProgressFile(path, QString());
    QStringList list;
    for (const QStringList& r : rows.deadlines) list << r[Deadline::Activity - 1];
    return list;
}

}  // namespace

class TestCliReconstruct : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void daysOfTheMonth_data() {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QStringList>("activities");
        QTest::newRow("snapshot day") << "01.12.2026" << QStringList{"Příprava"};
        QTest::newRow("row added") << "02.12.2026" << QStringList{"Příprava", "Kolaudace"};
        QTest::newRow("row renamed") << "03.12.2026" << QStringList{"Projekt", "Kolaudace"};
    }
    void daysOfTheMonth() {
        QFETCH(QString, day);
        QFETCH(QStringList, activities);
        TempBase& base = *base_;
        WriteMonth(base);
        const QByteArray live10 = base.Bytes(kFile10);
        const ProgramRun run = RunCli({"reconstruct", "--base", base.Dir(), "--log",
                                       base.Path("Zmeny/Zmeny_2026-12.csv"), "--day", day, "--out",
                                       base.Path("past")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(Activities(base.Path("past/") + kFile10), activities);
        // Project 101 keeps its own rows only, and gets a file of its own.
        QCOMPARE(Activities(base.Path("past/") + kFile101), QStringList{"Cizí"});
        const FileRows projects = ReadProjectRegister(base.Path("past/NameAkce.csv"), QString());
        QCOMPARE(projects.rows.size(), 2);
        QCOMPARE(base.Bytes(kFile10), live10);
    }

    void oneProjectOnly() {
        TempBase& base = *base_;
        WriteMonth(base);
        const ProgramRun run = RunCli({"reconstruct", "--base", base.Dir(), "--log",
                                       base.Path("Zmeny/Zmeny_2026-12.csv"), "--day", "03.12.2026",
                                       "--project", "10", "--out", base.Path("p")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(base.Exists("p/" + kFile10));
        QVERIFY(!base.Exists("p/" + kFile101));
    }

    void refusedTargets_data() {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("the base itself") << QStringList{"--out", "."} << 2;
        QTest::newRow("no --out") << QStringList{} << 2;
        QTest::newRow("bad day") << QStringList{"--out", "x", "--day", "31.02.2026"} << 2;
    }
    void refusedTargets() {
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        TempBase& base = *base_;
        WriteMonth(base);
        const QByteArray live = base.Bytes("NameAkce.csv");
        QStringList args{
            "reconstruct", "--base",    base.Dir(), "--log", base.Path("Zmeny/Zmeny_2026-12.csv"),
            "--day",       "02.12.2026"};
        for (QString a : extra) args << (a == "." ? base.Dir() : a == "x" ? base.Path("x") : a);
        const ProgramRun run = RunCli(args);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(base.Bytes("NameAkce.csv"), live);
    }
};

QTEST_GUILESS_MAIN(TestCliReconstruct)
#include "tst_cli_reconstruct.moc"
