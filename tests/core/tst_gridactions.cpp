#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "editing/GridActions.h"
#include "editing/TableRows.h"

namespace {

// Progress rows of project 001 whose identifiers carry the given sequences.
void FillProgress(Table& t, int kind, const QStringList& sequences) {
    SetupTable(t, kind, QString());
    const QString type = kind == kFinanceTable ? QStringLiteral("F-") : QStringLiteral("T-");
    for (int r = 1; r <= sequences.size(); ++r) {
        t.SetCell(Progress::RowNumber, r, QString::number(r));
        t.SetCell(Progress::KindAndProject, r, type + QStringLiteral("001"));
        t.SetCell(Progress::Activity, r, QStringLiteral("Činnost %1").arg(r));
        t.SetCell(Deadline::PlanStart, r, QStringLiteral("01.0%1.2026").arg(r));
        t.SetCell(Progress::Identifier, r,
                  type + QStringLiteral("001-") + sequences[r - 1] +
                      (r == 3 ? QStringLiteral("/N-T-001-01/") : QString()));
    }
    t.SetRowCount(sequences.size() + 1);
}

}  // namespace

class TestGridActions : public QObject {
    Q_OBJECT

  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void addRecord_data();
    void addRecord();
    void openProjectRow_data();
    void openProjectRow();
    void deleteBeyond16Bits_data();
    void deleteBeyond16Bits();
};

void TestGridActions::addRecord_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("sequences");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("added");  // the new row, 0 for none
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("error");

    const QStringList five = {"01", "02", "03", "04", "05"};
    QTest::newRow("deadline row 3 of five")
        << int(kDeadlineTable) << five << 3 << 6 << "T-001-06" << false;
    QTest::newRow("finance: the gap is filled")
        << int(kFinanceTable) << QStringList{"01", "02", "04"} << 1 << 4 << "F-001-03" << false;
    QTest::newRow("last row") << int(kDeadlineTable) << five << 5 << 6 << "T-001-06" << false;
    QTest::newRow("project keeps its number")
        << int(kProjectTable) << five << 1 << 2 << "" << false;
    QTest::newRow("identifier without number")
        << int(kDeadlineTable) << QStringList{"01", "x2", "03"} << 1 << 0 << "" << true;
    QTest::newRow("header row") << int(kDeadlineTable) << five << 0 << 0 << "" << false;
    QTest::newRow("beyond the table") << int(kDeadlineTable) << five << 6 << 0 << "" << false;
    QTest::newRow("template table") << int(kTemplateTable) << five << 1 << 0 << "" << false;
}

void TestGridActions::addRecord() {
    QFETCH(int, kind);
    QFETCH(QStringList, sequences);
    QFETCH(int, row);
    QFETCH(int, added);
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Table& t = *ws.TableOf(kind);
    if (kind == kProjectTable) {
        SetupTable(t, kind, QString());
        t.SetCell(Project::Number, 1, QStringLiteral("101"));
        t.SetCell(Project::Name, 1, QStringLiteral("Chodník Lipová"));
    } else {
        FillProgress(t, kind, sequences);
    }
    // A hidden row beyond the count keeps old texts; the copy must not show them.
    t.SetCell(t.ColumnCount() - 1, t.RowCount(), QStringLiteral("starý text"));
    t.SetRowCount(t.RowCount() - 1);
    const int rowsBefore = t.RowCount();
    ws.Current().SelectRow(kind, row);
    QSignalSpy selected(&ws, &Workspace::gridCellRevealed);

    const AddRecordResult result = AddRecord(ws, kind, row);
    QCOMPARE(result.row, added);
    QTEST(!result.error.isEmpty(), "error");
    if (!added) {
        QCOMPARE(t.RowCount(), rowsBefore);
        QCOMPARE(ws.ChangeFlags, QStringLiteral("0000000"));
        QCOMPARE(ws.Current().Row(), row);
        if (!result.error.isEmpty())
            QVERIFY2(result.error.contains("T-001-x2"), qPrintable(result.error));
        return;
    }
    QCOMPARE(t.RowCount(), rowsBefore + 1);
    QCOMPARE(t.Cell(AnyTable::RowNumber, added), QString::number(added));
    for (int c = 1; c < t.ColumnCount(); ++c)
        if (c != 12) QCOMPARE(t.Cell(c, added), t.Cell(c, row));
    // Link fields are not carried over.
    if (kind != kProjectTable) QTEST(t.Cell(Progress::Identifier, added), "id");
    QCOMPARE(t.Cell(Progress::KindAndProject, added), t.Cell(Progress::KindAndProject, row));
    QCOMPARE(ws.Changed(kind == kDeadlineTable  ? kChangedDeadlines
                        : kind == kFinanceTable ? kChangedFinance
                                                : kChangedProjects),
             true);
    // Selected in its grid and current, so that a delete cannot hit the original.
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first(), (QVariantList{kind, 2, added}));
    QCOMPARE(ws.Current().Row(), added);
    QCOMPARE(ws.Current().Kind(), kind);
    // No change-log record is written.
    QVERIFY(!base.Exists(QStringLiteral("Zmeny_2026-12.csv")));
}

void TestGridActions::openProjectRow_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("opened");
    QTest::addColumn<QString>("kindCell");
    QTest::newRow("second project") << 2 << 2 << "T-202";
    QTest::newRow("row 0 is row 1") << 0 << 1 << "T-101";
}

void TestGridActions::openProjectRow() {
    QFETCH(int, row);
    QFETCH(int, opened);
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    base.WriteLines(
        QStringLiteral("NameAkce.csv"),
        {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader,
         "101;Chodník Lipová;;;;;;;;85/85;;;;;;", "202;Rekonstrukce školy;;;;;;;;85/85;;;;;;"});
    for (const QString& number : {QStringLiteral("101"), QStringLiteral("202")})
        base.WriteLines(QStringLiteral("APr_NameAkce__%1.csv").arg(number),
                        {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;" + number, "Termíny",
                         "T-" + number + ";Realizace;Stavba;;01.06.2026;30.09.2026;;;120;;;T-" +
                             number + "-01/;;;;;;",
                         "F-" + number + ";Etapa_#_1;;Plán;;;;;;;;F-" + number + "-01/;;;;;;"});
    LoadProjectRegister(ws, QStringLiteral("NameAkce.csv"));
    const QString open = QStringLiteral("APr_NameAkce__303.csv");
    base.WriteLines(open, {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;303", "Termíny",
                           "T-303;Realizace;;;;;;;30;;;T-303-01/;;;;;;"});
    LoadProgress(ws, open);
    // An unsaved change of the open project goes to its file before another is loaded.
    ws.Deadlines.SetCell(Deadline::Step, 1, QStringLiteral("Kolaudace"));
    ws.SetChanged(kChangedDeadlines, true);

    QCOMPARE(OpenProjectRow(ws, row), opened);
    QCOMPARE(ws.Current().Kind(), int(kProjectTable));
    QCOMPARE(ws.Current().Row(), opened);
    QCOMPARE(ws.Current().ProjectRow(), opened);
    QTEST(ws.Deadlines.Cell(Deadline::KindAndProject, 1), "kindCell");
    QVERIFY(base.Lines(open).join(u'\n').contains(QStringLiteral("T-303;Realizace;;Kolaudace;")));
    QVERIFY(!ws.Changed(kChangedDeadlines));
    QCOMPARE(base.prompter.log.size(), 0);
}

void TestGridActions::deleteBeyond16Bits_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("returned");
    // A 16-bit row number would make these row 0 (nothing deleted) and row 1.
    QTest::newRow("row 65,536") << 65536 << 65536;
    QTest::newRow("row 65,537") << 65537 << 65537;
    QTest::newRow("first row") << 1 << 1;
    QTest::newRow("last row") << 70000 << 69999;
}

void TestGridActions::deleteBeyond16Bits() {
    QFETCH(int, row);
    QFETCH(int, returned);
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Table& t = ws.Deadlines;
    SetupTable(t, kDeadlineTable, QString());
    const int rows = 70000;
    for (int r = 1; r <= rows; ++r) {
        t.SetCell(Deadline::RowNumber, r, QString::number(r));
        t.SetCell(Deadline::Identifier, r, QStringLiteral("T-001-%1").arg(r));
    }
    t.SetRowCount(rows + 1);

    QCOMPARE(DeleteTableRow(ws, kDeadlineTable, row, QStringLiteral("001")), returned);
    QCOMPARE(t.RowCount(), rows);
    // The rows before it stay, the ones after it move up; row numbers stay in place.
    if (row > 1)
        QCOMPARE(t.Cell(Deadline::Identifier, row - 1), QStringLiteral("T-001-%1").arg(row - 1));
    if (row < rows)
        QCOMPARE(t.Cell(Deadline::Identifier, row), QStringLiteral("T-001-%1").arg(row + 1));
    QCOMPARE(t.Cell(Deadline::Identifier, 1),
             row == 1 ? QStringLiteral("T-001-2") : QStringLiteral("T-001-1"));
    if (row < rows) QCOMPARE(t.Cell(Deadline::RowNumber, row), QString::number(row));
    QVERIFY(ws.Changed(kChangedDeadlines));
}

QTEST_GUILESS_MAIN(TestGridActions)
#include "tst_gridactions.moc"
