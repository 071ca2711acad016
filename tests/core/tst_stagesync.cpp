#include <QtTest>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "editing/StageSync.h"

namespace {

const QString kLog = QStringLiteral("Zmeny_2026-12.csv");
const QString kStamp = QStringLiteral(";09.12.2026 - 10:30;Jmeno Prijmeni;Uzivatel_TEST;");
const QString kAdded = QStringLiteral("Přidána_nová_položka_____");
const QString kUpdated = QStringLiteral("Nově_upravená_položka____");
const QString kDeleted = QStringLiteral("Smazaná_položka__________");

void PutRow(Table& t, int row, const QStringList& cells) {
    t.SetCell(Progress::RowNumber, row, QString::number(row));
    for (int c = 0; c < cells.size(); ++c) t.SetCell(c + 1, row, cells[c]);
    if (t.RowCount() <= row) t.SetRowCount(row + 1);
}

QString Record(const QString& label, const Table& t, int row) {
    QString line = label + kStamp;
    for (int c = 0; c <= t.ColumnCount(); ++c) line += t.Cell(c, row) + u';';
    return line;
}

// Rows as "Činnost|Zařazení|Proces" for the deadline or finance table of project 007.
void Fill(Table& t, const QString& prefix, const QStringList& rows) {
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList parts = rows[r].split(u'|');
        PutRow(t, r + 1,
               {prefix + "007", parts.value(0), parts.value(1), parts.value(2), "", "", "", "", "",
                "", "", prefix + QStringLiteral("007-%1/").arg(r + 1, 2, 10, QChar(u'0'))});
    }
}

struct Fixture {
    TempBase base;
    Workspace& ws = *base.ws;

    Fixture() {
        SetupTable(ws.Deadlines, kDeadlineTable, ws.config.PopisDPH);
        SetupTable(ws.Finance, kFinanceTable, ws.config.PopisDPH);
        ws.config.SetFlag(kFlagSyncStages, true);
        ws.ChangeFlags = QStringLiteral("0000000");
        base.WriteLines(kLog, {QStringLiteral("x")});
    }
    QStringList Records() const { return base.Lines(kLog).mid(1); }
};

}  // namespace

class TestStageSync : public QObject {
    Q_OBJECT

  private slots:
    void stageActivity_data();
    void stageActivity();
    void mirror_data();
    void mirror();
    void mirrorWithBadIdentifier();
    void mirrorAll();
    void deleteMirror_data();
    void deleteMirror();
};

void TestStageSync::stageActivity_data() {
    QTest::addColumn<QString>("activity");
    QTest::addColumn<bool>("stage");
    QTest::newRow("word inside") << "1.Etapa" << true;
    QTest::newRow("second character") << "xEtapa_#_1" << true;
    QTest::newRow("word first") << "Etapa_#_1" << false;
    QTest::newRow("lower case") << "1.etapa" << false;
    QTest::newRow("no word") << "Realizace" << false;
}

void TestStageSync::stageActivity() {
    QFETCH(QString, activity);
    QTEST(IsStageActivity(activity), "stage");
}

void TestStageSync::mirror_data() {
    QTest::addColumn<bool>("toDeadlines");
    QTest::addColumn<bool>("syncOn");
    QTest::addColumn<QString>("activity");     // of the source row 1
    QTest::addColumn<QStringList>("targets");  // the other table's rows
    QTest::addColumn<int>("target");           // 0: nothing mirrored
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("newId");  // the identifier of an added row
    const QStringList rows{"Realizace|Stavba|Výstavba", "1.Etapa|A|B", "1.Etapa|C|D", "2.Etapa||"};
    QTest::newRow("to deadlines: last of the same activity")
        << true << true << "1.Etapa" << rows << 3 << kUpdated << "";
    QTest::newRow("to finance: last of the same activity")
        << false << true << "1.Etapa" << rows << 3 << kUpdated << "";
    QTest::newRow("word first is no stage") << true << true << "Etapa_#_1" << rows << 0 << ""
                                            << "";
    QTest::newRow("setting off") << false << false << "1.Etapa" << rows << 0 << ""
                                 << "";
    QTest::newRow("to deadlines: empty row reused")
        << true << true << "3.Etapa" << QStringList{"Realizace|S|V", "||", "||", "X|Y|Z"} << 3
        << kUpdated << "";
    QTest::newRow("to deadlines: new row")
        << true << true << "3.Etapa" << rows << 5 << kAdded << "T-007-05";
    QTest::newRow("to finance: new row")
        << false << true << "3.Etapa" << rows << 5 << kAdded << "F-007-05";
}

void TestStageSync::mirror() {
    QFETCH(bool, toDeadlines);
    QFETCH(bool, syncOn);
    QFETCH(QString, activity);
    QFETCH(QStringList, targets);
    QFETCH(int, target);
    QFETCH(QString, label);
    QFETCH(QString, newId);
    Fixture fx;
    fx.ws.config.SetFlag(kFlagSyncStages, syncOn);
    Table& from = toDeadlines ? fx.ws.Finance : fx.ws.Deadlines;
    Table& to = toDeadlines ? fx.ws.Deadlines : fx.ws.Finance;
    const QString fromPrefix = toDeadlines ? QStringLiteral("F-") : QStringLiteral("T-");
    const QString toPrefix = toDeadlines ? QStringLiteral("T-") : QStringLiteral("F-");
    Fill(to, toPrefix, targets);
    PutRow(from, 1,
           {fromPrefix + "007", activity, "Zařazení", "Plán", "01.03.2026", "31.03.2026",
            "02.03.2026", "30.04.2026", "45", "", "", fromPrefix + "007-09/", "etapa"});
    const int rowsBefore = to.RowCount();

    const int result =
        toDeadlines ? MirrorStageToDeadlines(fx.ws, 1) : MirrorStageToFinance(fx.ws, 1);
    QCOMPARE(result, target);
    if (target == 0) {
        QCOMPARE(to.RowCount(), rowsBefore);
        QVERIFY(fx.Records().isEmpty());
        QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0000000"));
        return;
    }
    for (int c : {Deadline::Activity, Deadline::PlanStart, Deadline::PlanEnd, Deadline::ActualStart,
                  Deadline::ActualEnd})
        QCOMPARE(to.Cell(c, target), from.Cell(c, 1));
    // What the mirror does not copy stays.
    if (newId.isEmpty()) {
        QCOMPARE(to.Cell(Progress::Classification, target), targets[target - 1].split(u'|')[1]);
        QCOMPARE(to.Cell(Progress::Identifier, target),
                 toPrefix + QStringLiteral("007-0%1/").arg(target));
        QCOMPARE(to.RowCount(), rowsBefore);
    } else {
        QCOMPARE(to.RowCount(), rowsBefore + 1);
        QCOMPARE(to.Cell(Progress::RowNumber, target), QString::number(target));
        QCOMPARE(to.Cell(Progress::KindAndProject, target), toPrefix + "007");
        QCOMPARE(to.Cell(Progress::Identifier, target), newId);
        QCOMPARE(to.Cell(Progress::Classification, target), QString());
    }
    // Only the deadline table gets the duration of the planned term.
    QCOMPARE(to.Cell(Deadline::Duration, target), toDeadlines ? QStringLiteral("30") : QString());
    QCOMPARE(fx.Records(), QStringList{Record(label, to, target)});
    QCOMPARE(fx.ws.ChangeFlags,
             toDeadlines ? QStringLiteral("0100000") : QStringLiteral("0001000"));
}

void TestStageSync::mirrorWithBadIdentifier() {
    Fixture fx;
    Fill(fx.ws.Deadlines, QStringLiteral("T-"), {"Realizace|S|V"});
    fx.ws.Deadlines.SetCell(Deadline::Identifier, 1, QStringLiteral("T-007-A1/"));
    PutRow(fx.ws.Finance, 1, {"F-007", "1.Etapa", "", "Plán", "01.03.2026", "31.03.2026"});
    QCOMPARE(MirrorStageToDeadlines(fx.ws, 1), 0);
    QCOMPARE(fx.ws.Deadlines.RowCount(), 2);
    QVERIFY(fx.Records().isEmpty());
    const QStringList errors = fx.base.prompter.Texts(ScriptedPrompter::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(QStringLiteral("T-007-A1")), qPrintable(errors[0]));
}

void TestStageSync::mirrorAll() {
    Fixture fx;
    Fill(fx.ws.Deadlines, QStringLiteral("T-"),
         {"1.Etapa|a|b", "Realizace|c|d", "2.Etapa|e|f", "Etapa_#_3|g|h"});
    Fill(fx.ws.Finance, QStringLiteral("F-"), {"Platba_Faktura_1|x|y", "2.Etapa|z|w"});
    MirrorAllStagesToFinance(fx.ws);
    const Table& f = fx.ws.Finance;
    QCOMPARE(f.RowCount(), 4);
    QCOMPARE(f.Cell(Finance::Activity, 2), QStringLiteral("2.Etapa"));
    QCOMPARE(f.Cell(Finance::Activity, 3), QStringLiteral("1.Etapa"));
    QCOMPARE(f.Cell(Finance::Identifier, 3), QStringLiteral("F-007-03"));
    QCOMPARE(fx.Records(), (QStringList{Record(kAdded, f, 3), Record(kUpdated, f, 2)}));
}

void TestStageSync::deleteMirror_data() {
    QTest::addColumn<int>("kind");  // of the row being deleted
    QTest::addColumn<bool>("syncOn");
    QTest::addColumn<QString>("activity");
    QTest::addColumn<int>("deleted");  // row of the other table, 0 none
    QTest::newRow("finance stage deletes the last deadline mirror")
        << int(kFinanceTable) << true << "1.Etapa" << 3;
    QTest::newRow("deadline stage deletes the finance mirror")
        << int(kDeadlineTable) << true << "2.Etapa" << 4;
    QTest::newRow("setting off") << int(kFinanceTable) << false << "1.Etapa" << 0;
    QTest::newRow("word first") << int(kFinanceTable) << true << "Etapa_#_1" << 0;
    QTest::newRow("no mirror") << int(kDeadlineTable) << true << "9.Etapa" << 0;
}

void TestStageSync::deleteMirror() {
    QFETCH(int, kind);
    QFETCH(bool, syncOn);
    QFETCH(QString, activity);
    QFETCH(int, deleted);
    Fixture fx;
    fx.ws.config.SetFlag(kFlagSyncStages, syncOn);
    const QStringList rows{"Realizace|a|b", "1.Etapa|c|d", "1.Etapa|e|f", "2.Etapa|g|h",
                           "Etapa_#_1|i|j"};
    Fill(fx.ws.Deadlines, QStringLiteral("T-"), rows);
    Fill(fx.ws.Finance, QStringLiteral("F-"), rows);
    Table& own = *fx.ws.TableOf(kind);
    own.SetCell(Progress::Activity, 1, activity);
    const int other = kind == kFinanceTable ? kDeadlineTable : kFinanceTable;
    Table& t = *fx.ws.TableOf(other);
    const QString expected = deleted ? Record(kDeleted, t, deleted) : QString();
    const QString follower = t.Cell(Progress::Identifier, deleted + 1);
    QList<QPair<int, int>> shown;
    DeleteStageMirror(fx.ws, kind, 1, QStringLiteral("007"),
                      [&](int k, int r) { shown << qMakePair(k, r); });
    if (!deleted) {
        QCOMPARE(t.RowCount(), 6);
        QVERIFY(fx.Records().isEmpty());
        QVERIFY(shown.isEmpty());
        return;
    }
    QCOMPARE(t.RowCount(), 5);
    QCOMPARE(t.Cell(Progress::Identifier, deleted), follower);
    QCOMPARE(own.RowCount(), 6);
    QCOMPARE(fx.Records(), QStringList{expected});
    QCOMPARE(shown, (QList<QPair<int, int>>{{other, deleted}}));
    QCOMPARE(fx.ws.ChangeFlags,
             other == kDeadlineTable ? QStringLiteral("0100000") : QStringLiteral("0001000"));
}

QTEST_GUILESS_MAIN(TestStageSync)
#include "tst_stagesync.moc"
