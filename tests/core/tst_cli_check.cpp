#include <QtTest>

#include "data/DataCheck.h"

// The rules by which the data folder check calls a cell or a line suspect.
class TestCliCheck : public QObject {
    Q_OBJECT

  private slots:
    void amountCells_data();
    void amountCells();
    void dateCells_data();
    void dateCells();
    void progressLines();
    void registerLines();
};

void TestCliCheck::amountCells_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("bad");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("zero") << QStringLiteral("0,00") << false;
    QTest::newRow("stored form") << QStringLiteral("1234567,00") << false;
    QTest::newRow("blanks between thousands") << QStringLiteral("1 234 567,00") << false;
    QTest::newRow("code 160 between thousands") << QStringLiteral("1\u00A0234,50") << false;
    QTest::newRow("decimal point") << QStringLiteral("1234.50") << false;
    QTest::newRow("signs") << QStringLiteral("-1500") << false;
    QTest::newRow("lone sign reads as 0") << QStringLiteral("-") << false;
    QTest::newRow("point and comma read as 0") << QStringLiteral("1.234,50") << true;
    QTest::newRow("sign inside reads as 0") << QStringLiteral("12-5") << true;
    QTest::newRow("currency letters") << QStringLiteral("12 345,6 Kč") << true;
    QTest::newRow("percent") << QStringLiteral("12%") << true;
}

void TestCliCheck::amountCells() {
    QFETCH(QString, cell);
    QFETCH(bool, bad);
    QCOMPARE(IsBadAmountCell(cell), bad);
}

void TestCliCheck::dateCells_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("bad");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("stored form") << QStringLiteral("05.03.2008") << false;
    QTest::newRow("short form with blanks") << QStringLiteral("5. 3. 2008") << false;
    QTest::newRow("day and month") << QStringLiteral("5.3.") << false;
    QTest::newRow("two-digit year") << QStringLiteral("5.3.08") << false;
    QTest::newRow("sample placeholder") << QStringLiteral("1.1.1900") << false;
    QTest::newRow("no such day") << QStringLiteral("31.02.2026") << true;
    QTest::newRow("ISO form") << QStringLiteral("2026-03-05") << true;
    QTest::newRow("text") << QStringLiteral("xx") << true;
    QTest::newRow("the empty date itself") << QStringLiteral("02.01.1900") << true;
}

void TestCliCheck::dateCells() {
    QFETCH(QString, cell);
    QFETCH(bool, bad);
    QCOMPARE(IsBadDateCell(cell), bad);
}

void TestCliCheck::progressLines() {
    const QStringList lines = {
        QStringLiteral("Akce ORVA;01.12.2026"),
        QStringLiteral("Akce - Projekt Číslo ;012;Název"),
        QStringLiteral("Termíny"),
        QStringLiteral("Akce číslo;Činnost;Zařazení"),
        QString(),
        QStringLiteral(" ;;; "),
        QStringLiteral("T-012;Realizace;Stavba;Výstavba;01.03.2026;1.3.2026x;;;30;;;T-012-01//;"),
        QStringLiteral("F-012;Etapa;;Plán;;;;;1 000,00;0;12 tis.;F-012-01/;"),
        QStringLiteral("J-012;Jiné;;;;;;;;;;J-012-01/;"),
        QStringLiteral("O-012;Ostatní;;;;;;;;;;O-012-01/;"),
        QStringLiteral("T -012;Realizace;Stavba;Kolaudace;"),
        QStringLiteral(";Realizace;Stavba;Kolaudace;"),
        QStringLiteral("t-012;Realizace;"),
        QStringLiteral("Poznámka k akci"),
    };
    DataCheckReport report;
    ProjectCheck counts;
    ScanProgressLines(lines, QStringLiteral("APr_NameAkce__012.csv"), QStringLiteral("Včetně DPH"),
                      report, &counts);
    QCOMPARE(counts.deadlineRows, 1);
    QCOMPARE(counts.financeRows, 3);
    QList<int> skipped;
    for (const SkippedLine& s : report.skipped) skipped << s.line;
    QCOMPARE(skipped, (QList<int>{11, 12, 13, 14}));
    QCOMPARE(report.badCells.size(), 2);
    const BadCell& date = report.badCells[0];
    QCOMPARE(date.line, 7);
    QCOMPARE(date.column, 6);
    QCOMPARE(date.header, QStringLiteral("Plán do"));
    QVERIFY(!date.amount);
    const BadCell& amount = report.badCells[1];
    QCOMPARE(amount.line, 8);
    QCOMPARE(amount.column, 11);
    QCOMPARE(amount.header, QStringLiteral("Celkove výdaje plán Včetně DPH"));
    QVERIFY(amount.amount);
}

void TestCliCheck::registerLines() {
    // A project on the first line is lost: the loader never reads that line.
    const QStringList lines = {
        QStringLiteral("001;Ztracená akce;;;;;;;;;0;0;;;;"),
        QStringLiteral("Akce ORVA"),
        QStringLiteral("Číslo akce;Název akce;"),
        QStringLiteral("002;Akce;;;;;;;;;1 000,00;x;01.01.2026;;;"),
        QStringLiteral(";Jen název;;"),
        QString(),
        QStringLiteral(";;;"),
    };
    DataCheckReport report;
    ScanRegisterLines(lines, QStringLiteral("NameAkce.csv"), report);
    QList<int> skipped;
    for (const SkippedLine& s : report.skipped) skipped << s.line;
    QCOMPARE(skipped, (QList<int>{1, 5}));
    QCOMPARE(report.badCells.size(), 1);
    QCOMPARE(report.badCells[0].line, 4);
    QCOMPARE(report.badCells[0].column, 12);
}

QTEST_GUILESS_MAIN(TestCliCheck)
#include "tst_cli_check.moc"
