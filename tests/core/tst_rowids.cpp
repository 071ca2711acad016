#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "editing/RowIds.h"

namespace {

Table WithColumn(int column, const QStringList& cells) {
    Table t(kDeadlineTable);
    t.SetCell(column, 0, QStringLiteral("header"));
    for (int i = 0; i < cells.size(); ++i) t.SetCell(column, i + 1, cells[i]);
    t.SetRowCount(int(cells.size()) + 1);
    return t;
}

QStringList Sequence(const QString& prefix, int from, int to) {
    QStringList ids;
    for (int n = from; n <= to; ++n)
        ids << prefix + QString::number(n).rightJustified(2, u'0') + QStringLiteral("/");
    return ids;
}

}  // namespace

class TestRowIds : public QObject {
    Q_OBJECT

  private slots:
    void newRowId_data();
    void newRowId();
    void newRowIdRefuses_data();
    void newRowIdRefuses();
    void tableByKind();
    void renumberActivity_data();
    void renumberActivity();
    void numberedActivity_data();
    void numberedActivity();
};

void TestRowIds::newRowId_data() {
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first gap") << QStringList{"T-001-01//", "T-001-02/N-T-001-01/",
                                              "T-001-04/N-T-001-01/P-T-001-02"}
                               << QStringLiteral("T-001-02/N-T-001-01/")
                               << QStringLiteral("T-001-03");
    QTest::newRow("one to nine used") << Sequence(QStringLiteral("T-001-"), 1, 9)
                                      << QStringLiteral("T-001-05") << QStringLiteral("T-001-10");
    QTest::newRow("two digits and more")
        << Sequence(QStringLiteral("T-001-"), 1, 120) << QStringLiteral("T-001-05")
        << QStringLiteral("T-001-121");
    QTest::newRow("empty table") << QStringList{} << QStringLiteral("F-012-07/")
                                 << QStringLiteral("F-012-01");
    QTest::newRow("link fields are not carried over")
        << QStringList{"T-012-01//"} << QStringLiteral("T-012-03/N-T-012-01/P-T-012-02")
        << QStringLiteral("T-012-02");
    QTest::newRow("other projects' sequences are used too")
        << QStringList{"F-002-01/", "J-002-02/"} << QStringLiteral("F-001-01/")
        << QStringLiteral("F-001-03");
    QTest::newRow("a sequence of one digit")
        << QStringList{"T-001-1", "T-001-02"} << QStringLiteral("T-001-01")
        << QStringLiteral("T-001-03");
    QTest::newRow("blanks around the fields")
        << QStringList{" T-001-01 / N-T-001-03"} << QStringLiteral("T-001-01")
        << QStringLiteral("T-001-02");
}

void TestRowIds::newRowId() {
    QFETCH(QStringList, ids);
    QFETCH(QString, given);
    QFETCH(QString, expected);
    const NewRowIdResult result = NewRowId(WithColumn(12, ids), given);
    QVERIFY(result.Ok());
    QCOMPARE(result.id, expected);
}

void TestRowIds::newRowIdRefuses_data() {
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("bad");
    QTest::addColumn<int>("badRow");
    const QStringList good{"T-001-01//", "T-001-02//"};
    QTest::newRow("given sequence not a number")
        << good << QStringLiteral("T-001-0x/N-T-001-01/") << QStringLiteral("T-001-0x") << 0;
    QTest::newRow("given identifier without sequence")
        << good << QStringLiteral("T-001") << QStringLiteral("T-001") << 0;
    QTest::newRow("project number with a dash")
        << good << QStringLiteral("T-12-A-03") << QStringLiteral("T-12-A-03") << 0;
    QTest::newRow("a row's sequence not a number")
        << QStringList{"T-001-01//", "T-001-02//", "T-001-ab/N-T-001-01/"}
        << QStringLiteral("T-001-01") << QStringLiteral("T-001-ab") << 3;
    QTest::newRow("a row without identifier")
        << QStringList{"T-001-01//", QString()} << QStringLiteral("T-001-01") << QString() << 2;
    QTest::newRow("a sequence beyond the integers")
        << QStringList{"T-001-99999999999/"} << QStringLiteral("T-001-01")
        << QStringLiteral("T-001-99999999999") << 1;
}

void TestRowIds::newRowIdRefuses() {
    QFETCH(QStringList, ids);
    QFETCH(QString, given);
    QFETCH(QString, bad);
    QFETCH(int, badRow);
    const NewRowIdResult result = NewRowId(WithColumn(12, ids), given);
    QVERIFY(!result.Ok());
    QVERIFY(result.id.isEmpty());
    QCOMPARE(result.badIdentifier, bad);
    QCOMPARE(result.badRow, badRow);
    // The message names the identifier, and the row when it is one of the table's.
    QVERIFY(result.Message().contains(u'"' + bad + u'"'));
    QCOMPARE(result.Message().contains(QStringLiteral("řádku %1").arg(badRow)), badRow > 0);
}

void TestRowIds::tableByKind() {
    TempBase base;
    Workspace& ws = *base.ws;
    ws.Deadlines = WithColumn(12, {"T-001-01/"});
    ws.Finance = WithColumn(12, {"F-001-01/", "F-001-02/"});
    ws.Deadlines.SetCell(Deadline::Activity, 1, QStringLiteral("Etapa_#_1"));
    ws.Finance.SetCell(Finance::Activity, 1, QStringLiteral("Etapa_#_2"));
    QCOMPARE(NewRowId(ws, kDeadlineTable, QStringLiteral("T-001-01")).id,
             QStringLiteral("T-001-02"));
    QCOMPARE(NewRowId(ws, kFinanceTable, QStringLiteral("F-001-01")).id,
             QStringLiteral("F-001-03"));
    QCOMPARE(RenumberActivity(ws, kDeadlineTable, QStringLiteral("Etapa_#_1")),
             QStringLiteral("Etapa_#_2"));
    QCOMPARE(RenumberActivity(ws, kFinanceTable, QStringLiteral("Etapa_#_1")),
             QStringLiteral("Etapa_#_1"));
}

void TestRowIds::renumberActivity_data() {
    QTest::addColumn<QStringList>("activities");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected");
    QTest::newRow("next after the used ones")
        << QStringList{"Etapa_#_1", "Realizace", "Etapa_#_2"} << QStringLiteral("Etapa_#_1")
        << QStringLiteral("Etapa_#_3");
    QTest::newRow("first gap") << QStringList{"Etapa_#_1", "Etapa_#_3"}
                               << QStringLiteral("Etapa_#_3") << QStringLiteral("Etapa_#_2");
    QTest::newRow("other prefixes do not count")
        << QStringList{"Monitoring_#_1", "Etapa_x_1"} << QStringLiteral("Etapa_#_4")
        << QStringLiteral("Etapa_#_1");
    QTest::newRow("trailing blank of the templates")
        << QStringList{"Platba_Faktura_1 "} << QStringLiteral("Platba_Faktura_1 ")
        << QStringLiteral("Platba_Faktura_2");
    QTest::newRow("a fourth part is dropped")
        << QStringList{"Etapa_#_1_b"} << QStringLiteral("Etapa_#_1_b")
        << QStringLiteral("Etapa_#_2");
    QTest::newRow("a part that is no number is no number")
        << QStringList{"Etapa_#_x", "Etapa_#_01"} << QStringLiteral("Etapa_#_x")
        << QStringLiteral("Etapa_#_2");
    QTest::newRow("more rows than numbers") << QStringList{"A_b_1", "A_b_1", "A_b_2", "A_b_4"}
                                            << QStringLiteral("A_b_9") << QStringLiteral("A_b_3");
}

void TestRowIds::renumberActivity() {
    QFETCH(QStringList, activities);
    QFETCH(QString, given);
    QFETCH(QString, expected);
    QCOMPARE(RenumberActivity(WithColumn(2, activities), given), expected);
}

void TestRowIds::numberedActivity_data() {
    QTest::addColumn<QString>("activity");
    QTest::addColumn<bool>("numbered");
    QTest::newRow("stage") << QStringLiteral("Etapa_#_1") << true;
    QTest::newRow("invoice") << QStringLiteral("Platba_Faktura_1 ") << true;
    QTest::newRow("no underscore") << QStringLiteral("Realizace") << false;
    QTest::newRow("one underscore") << QStringLiteral("Etapa_#") << false;
    QTest::newRow("empty third part") << QStringLiteral("Etapa_#_") << false;
}

void TestRowIds::numberedActivity() {
    QFETCH(QString, activity);
    QFETCH(bool, numbered);
    QCOMPARE(IsNumberedActivity(activity), numbered);
}

QTEST_GUILESS_MAIN(TestRowIds)
#include "tst_rowids.moc"
