#include <QtTest>

#include "DiarySupport.h"
#include "data/Dates.h"
#include "diary/DayRecord.h"
#include "shell/Config.h"

class TestCliMinutes : public QObject {
    Q_OBJECT

  private slots:
    void minutes_data();
    void minutes();
};

void TestCliMinutes::minutes_data() {
    QTest::addColumn<QString>("out");
    QTest::addColumn<bool>("collisions");  // "Tisk kolizních termínů" in the configuration
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("holds");
    QTest::newRow("rtf with collisions")
        << "Zapis.rtf" << true << 0 << QByteArray("{\\rtf1\\ansi\\ansicpg1250")
        << QByteArray("T 01.12.2026 - 05.12.2026 / 01.12.2026");
    QTest::newRow("rtf without") << "Zapis.rtf" << false << 0 << QByteArray("{\\rtf1")
                                 << QByteArray("Z\\'e1pis z porady");
    QTest::newRow("pdf") << "Zapis.PDF" << true << 0 << QByteArray("%PDF") << QByteArray();
    QTest::newRow("no output file") << "" << true << 2 << QByteArray() << QByteArray();
}

void TestCliMinutes::minutes() {
    QFETCH(QString, out);
    QFETCH(bool, collisions);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, holds);
    DiaryBase b;
    b.ws.config.SetFlag(kFlagPrintCollisions, collisions);
    WriteConfiguration(b.ws.config);
    DayRecord r;
    r.tasks = {{"Jana", "Výkop", "12.12.2026", "V běhu"}};
    r.taskCount = 1;
    WriteDayRecord(b.ws, DayFromDate(QDate(2026, 12, 9)), 1, r);

    QStringList args{"minutes", "--base", b.base.Dir(), "--day", "09.12.2026"};
    if (!out.isEmpty()) args << "--out" << b.base.Path(out);
    const ProgramRun run = RunProgram(QStringLiteral(ORVA_CLI), args);
    QCOMPARE(run.exitCode, exitCode);
    if (out.isEmpty()) return;
    const QByteArray bytes = b.base.Bytes(out);
    QVERIFY(bytes.startsWith(start));
    QVERIFY(bytes.contains(holds));
    QCOMPARE(bytes.contains("T 01.12.2026"), collisions && !out.endsWith(u"PDF"));
    if (out.endsWith(u"rtf")) QVERIFY(bytes.contains(" 1   Jana   V\\'fdkop   12.12.2026"));
}

QTEST_GUILESS_MAIN(TestCliMinutes)
#include "tst_cli_minutes.moc"
