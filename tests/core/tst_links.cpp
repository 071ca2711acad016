#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "editing/Links.h"
#include "shell/Config.h"

namespace {

// Deadline rows written "identifier cell;planned start;planned end;actual
// start;actual end;duration" (missing fields empty).
void Fill(Workspace& ws, const QStringList& rows, bool followLinks = true) {
    ws.config.SetFlag(kFlagFollowLinks, followLinks);
    ws.config.SetFlag(kFlagSortByIdForGantt, false);
    Table& t = ws.Deadlines;
    SetupTable(t, kDeadlineTable, QString());
    for (int r = 1; r <= rows.size(); ++r) {
        const QStringList f = rows[r - 1].split(u';');
        t.SetCell(Deadline::RowNumber, r, QString::number(r));
        t.SetCell(Deadline::KindAndProject, r, QStringLiteral("T-001"));
        t.SetCell(Deadline::Activity, r, QStringLiteral("Realizace"));
        t.SetCell(Deadline::Identifier, r, f.value(0));
        for (int c = 5; c <= 9; ++c) t.SetCell(c, r, f.value(c - 4));
    }
    t.SetRowCount(int(rows.size()) + 1);
}

// The rows' cells of the columns, "|"-joined per row.
QStringList Cells(const Workspace& ws, const QList<int>& columns) {
    QStringList out;
    for (int r = 1; r < ws.Deadlines.RowCount(); ++r) {
        QStringList cells;
        for (int c : columns) cells << ws.Deadlines.Cell(c, r);
        out << cells.join(u'|');
    }
    return out;
}

QStringList Planned(const Workspace& ws) {
    return Cells(ws, {5, 6});
}

}  // namespace

class TestLinks : public QObject {
    Q_OBJECT

  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void propagation_data();
    void propagation();
    void chains_data();
    void chains();
    void cyclesEnd();
    void indexMatchesScan();
    void actualDatesAndRealisticTerm_data();
    void actualDatesAndRealisticTerm();
    void settingOff();
    void sortsByIdentifierFirst();
    void savingPropagates();
    void removeAllLinks();
    void recordLink_data();
    void recordLink();
    void recordingCaptions();
    void pendingRowGone();
};

void TestLinks::propagation_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("planned");  // planned start|end of each row afterwards
    QTest::addColumn<QString>("duration");     // of row 1 afterwards

    // Superiors span their children (every set date is rewritten in the short form).
    QTest::newRow("superior spans its children")
        << QStringList{"T-001-01//;;;;;5", "T-001-02/N-T-001-01/;10.03.2026;20.03.2026;;;10",
                       "T-001-03/N-T-001-01/;05.03.2026;31.03.2026;;;26"}
        << QStringList{"5.3.2026|31.3.2026", "10.3.2026|20.3.2026", "5.3.2026|31.3.2026"}
        << QStringLiteral("36");
    QTest::newRow("first child without dates leaves the start unset")
        << QStringList{"T-001-01//;01.01.2026;;;;5", "T-001-02/N-T-001-01/;;;;;10",
                       "T-001-03/N-T-001-01/;05.03.2026;31.03.2026;;;26"}
        << QStringList{"|31.3.2026", "|", "5.3.2026|31.3.2026"} << QStringLiteral("36");
    QTest::newRow("child of one day counts its duration")
        << QStringList{"T-001-01//", "T-001-02/N-T-001-01/;10.03.2026;10.03.2026;;;7"}
        << QStringList{"10.3.2026|17.3.2026", "10.3.2026|10.3.2026"} << QStringLiteral("7");
    // Successors start the day after their predecessor's end.
    QTest::newRow("unplanned successor")
        << QStringList{"T-001-01//;01.04.2026;10.04.2026;;;9", "T-001-02//P-T-001-01;;;;;5"}
        << QStringList{"1.4.2026|10.4.2026", "11.4.2026|16.4.2026"} << QStringLiteral("9");
    QTest::newRow("successor planned far later is pulled back")
        << QStringList{"T-001-01//;01.04.2026;10.04.2026;;;9",
                       "T-001-02//P-T-001-01;01.09.2026;06.09.2026;;;5"}
        << QStringList{"1.4.2026|10.4.2026", "11.4.2026|16.4.2026"} << QStringLiteral("9");
    // A missing planned date follows from the other and the duration.
    QTest::newRow("end from start") << QStringList{"T-001-02/N-T-001-09/;01.04.2026;;;;10"}
                                    << QStringList{"1.4.2026|11.4.2026"} << QStringLiteral("10");
    QTest::newRow("start from end") << QStringList{"T-001-02/N-T-001-09/;;11.04.2026;;;10"}
                                    << QStringList{"1.4.2026|11.4.2026"} << QStringLiteral("10");
    // The span from an empty start must not become the duration of a top-level row.
    QTest::newRow("top-level start from end")
        << QStringList{"T-001-02//;;11.04.2026;;;10"} << QStringList{"1.4.2026|11.4.2026"}
        << QStringLiteral("10");
    // The second superior pass takes in what the predecessor pass moved.
    QTest::newRow("superior follows a moved child")
        << QStringList{"T-001-01//", "T-001-02/N-T-001-01/;01.04.2026;10.04.2026;;;9",
                       "T-001-03/N-T-001-01/P-T-001-02;01.03.2026;05.03.2026;;;4"}
        << QStringList{"1.4.2026|15.4.2026", "1.4.2026|10.4.2026", "11.4.2026|15.4.2026"}
        << QStringLiteral("13");
    // The predecessor pass takes the span the first superior pass gave.
    QTest::newRow("successor of a superior")
        << QStringList{"T-001-01//;01.01.2026;02.01.2026",
                       "T-001-02/N-T-001-01/;01.04.2026;10.04.2026;;;9",
                       "T-001-03//P-T-001-01;;;;;3"}
        << QStringList{"1.4.2026|10.4.2026", "1.4.2026|10.4.2026", "11.4.2026|14.4.2026"}
        << QStringLiteral("9");
    // Links to identifiers no row has find nothing; a row without identifier
    // is nobody's superior or predecessor.
    QTest::newRow("missing identifiers")
        << QStringList{"T-001-01/N-T-001-99/;01.04.2026;10.04.2026;;;9",
                       "T-001-02//P-T-001-99;01.05.2026;05.05.2026;;;4",
                       "T-001-03/N-/P-;01.06.2026;05.06.2026;;;4", ";01.07.2026;05.07.2026;;;4"}
        << QStringList{"1.4.2026|10.4.2026", "1.5.2026|5.5.2026", "1.6.2026|5.6.2026",
                       "1.7.2026|5.7.2026"}
        << QStringLiteral("9");
    // Identifiers match as substrings: T-001-1 is also named by links to T-001-10.
    QTest::newRow("T-001-1 and T-001-10")
        << QStringList{"T-001-1//", "T-001-10//", "T-001-2//",
                       "T-001-11/N-T-001-10/;05.03.2026;31.03.2026;;;26"}
        << QStringList{"5.3.2026|31.3.2026", "5.3.2026|31.3.2026", "|", "5.3.2026|31.3.2026"}
        << QStringLiteral("26");
}

void TestLinks::propagation() {
    QFETCH(QStringList, rows);
    QFETCH(QStringList, planned);
    QFETCH(QString, duration);
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, rows);
    PropagateLinkDates(ws);
    QCOMPARE(Planned(ws), planned);
    QCOMPARE(ws.Deadlines.Cell(Deadline::Duration, 1), duration);
    QVERIFY(ws.Changed(kChangedDeadlines));
}

void TestLinks::chains_data() {
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<int>("moved");  // successors moved by one propagation
    QTest::newRow("in row order, all at once") << false << 39;
    QTest::newRow("against row order, one at a time") << true << 1;
}

void TestLinks::chains() {
    QFETCH(bool, reversed);
    QFETCH(int, moved);
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    // Link k follows link k - 1; each lasts 4 days.
    const int length = 40;
    QStringList rows{"T-001-01//;01.04.2026;05.04.2026;;;4"};
    for (int k = 2; k <= length; ++k)
        rows << QStringLiteral("T-001-%1//P-T-001-%2;;;;;4")
                    .arg(k, 2, 10, QLatin1Char('0'))
                    .arg(k - 1, 2, 10, QLatin1Char('0'));
    if (reversed) std::reverse(rows.begin(), rows.end());
    Fill(ws, rows);
    const double first = DayFromDate(QDate(2026, 4, 1));
    for (int pass = 1; pass <= (reversed ? 3 : 1); ++pass) {
        PropagateLinkDates(ws);
        const QStringList planned = Planned(ws);
        for (int k = 2; k <= length; ++k) {
            const double start = first + 5 * (k - 1);
            const QString expected =
                k - 1 <= moved * pass ? FormatShortDate(start) + u'|' + FormatShortDate(start + 4)
                                      : QStringLiteral("|");
            QCOMPARE(planned.at(reversed ? length - k : k - 1), expected);
        }
    }
}

void TestLinks::cyclesEnd() {
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    // Two rows naming each other as predecessor, a row its own predecessor, two
    // rows each other's superior, and a ring of 200 successors.
    QStringList rows{"T-001-01//P-T-001-02;01.04.2026;10.04.2026;;;9",
                     "T-001-02//P-T-001-01;01.05.2026;05.05.2026;;;4",
                     "T-001-03//P-T-001-03;01.06.2026;03.06.2026;;;2",
                     "T-001-04/N-T-001-05/;01.07.2026;03.07.2026;;;2",
                     "T-001-05/N-T-001-04/;01.08.2026;03.08.2026;;;2"};
    for (int k = 0; k < 200; ++k)
        rows << QStringLiteral("T-002-%1//P-T-002-%2;01.01.2027;02.01.2027;;;1")
                    .arg(k, 3, 10, QLatin1Char('0'))
                    .arg((k + 199) % 200, 3, 10, QLatin1Char('0'));
    Fill(ws, rows);
    PropagateLinkDates(ws);
    const QStringList planned = Planned(ws);
    // Row 1 moves row 2 after itself, then row 2 moves row 1 after its new end.
    QCOMPARE(planned.mid(0, 5),
             (QStringList{"16.4.2026|25.4.2026", "11.4.2026|15.4.2026", "4.6.2026|6.6.2026",
                          "1.7.2026|3.7.2026", "1.8.2026|3.8.2026"}));
    // Each ring member follows the one before it; the first follows the last.
    const double start = DayFromDate(QDate(2027, 1, 1));
    for (int k = 0; k < 200; ++k) {
        const double s = start + 2 * (k == 0 ? 200 : k);
        QCOMPARE(planned.at(5 + k), FormatShortDate(s) + u'|' + FormatShortDate(s + 1));
    }
}

void TestLinks::indexMatchesScan() {
    // Links in any field, repeated markers and identifiers that contain one
    // another, against the plain substring scan.
    QRandomGenerator random(4711);
    auto id = [&] {
        return QStringLiteral("T-0%1-%2").arg(random.bounded(3)).arg(random.bounded(1, 25));
    };
    Table t(kDeadlineTable);
    const int rows = 400;
    for (int r = 1; r <= rows; ++r) {
        QString cell = id() + u'/';
        for (int f = random.bounded(4); f > 0; --f)
            cell += QString::fromUtf16(random.bounded(2) ? u"N-" : u"P-") + id() +
                    (random.bounded(3) ? QStringLiteral("/") : QString());
        t.SetCell(Deadline::Identifier, r, cell);
    }
    for (const QString& marker : {QStringLiteral("N-"), QStringLiteral("P-")}) {
        const LinkIndex index(t, marker);
        QStringList queries{QString(), QStringLiteral("T-0"), QStringLiteral("X")};
        for (int i = 0; i < 60; ++i) queries << id();
        for (const QString& q : queries) {
            std::vector<int> scan;
            for (int r = 1; r <= rows; ++r)
                if (t.Cell(Deadline::Identifier, r).contains(marker + q)) scan.push_back(r);
            QCOMPARE(index.RowsLinkedTo(q), scan);
        }
    }
}

void TestLinks::actualDatesAndRealisticTerm_data() {
    // The start-up moment is 9 December 2026, 10:30; every row lasts 10 days.
    QTest::addColumn<QString>("actual");     // columns 7 and 8 before
    QTest::addColumn<QString>("kept");       // and after
    QTest::addColumn<QString>("realistic");  // columns 10 and 11
    QTest::newRow("not started") << ";"
                                 << "|"
                                 << "9.12.2026|19.12.2026";
    QTest::newRow("started 30 days ago, unfinished") << "09.11.2026;"
                                                     << "09.11.2026|"
                                                     << "9.11.2026|9.12.2026";
    QTest::newRow("started 5 days ago, unfinished") << "04.12.2026;"
                                                    << "04.12.2026|"
                                                    << "4.12.2026|14.12.2026";
    QTest::newRow("finished") << "01.11.2026;05.11.2026"
                              << "01.11.2026|05.11.2026"
                              << "1.11.2026|5.11.2026";
    QTest::newRow("start today is kept") << "09.12.2026;"
                                         << "09.12.2026|"
                                         << "9.12.2026|19.12.2026";
    QTest::newRow("start tomorrow is erased") << "10.12.2026;"
                                              << "|"
                                              << "9.12.2026|19.12.2026";
    QTest::newRow("end tomorrow is erased") << "01.12.2026;10.12.2026"
                                            << "01.12.2026|"
                                            << "1.12.2026|11.12.2026";
    QTest::newRow("end before start is erased") << "05.11.2026;04.11.2026"
                                                << "05.11.2026|"
                                                << "5.11.2026|9.12.2026";
}

void TestLinks::actualDatesAndRealisticTerm() {
    QFETCH(QString, actual);
    QFETCH(QString, kept);
    QFETCH(QString, realistic);
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, {QStringLiteral("T-001-02/N-T-001-09/;;;") + actual + QStringLiteral(";10")});
    PropagateLinkDates(ws);
    QCOMPARE(Cells(ws, {7, 8}), QStringList{kept});
    QCOMPARE(Cells(ws, {10, 11}), QStringList{realistic});
}

void TestLinks::settingOff() {
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, {"T-001-02//P-T-001-01;01.09.2026;;10.12.2026;;5", "T-001-01//;01.04.2026;10.04.2026"},
         false);
    ws.config.SetFlag(kFlagSortByIdForGantt, true);
    const QStringList before = Cells(ws, {5, 6, 7, 8, 9, 10, 11, 12});
    PropagateLinkDates(ws);
    QCOMPARE(Cells(ws, {5, 6, 7, 8, 9, 10, 11, 12}), before);
    QVERIFY(!ws.Changed(kChangedDeadlines));
    QVERIFY(!base.Exists(QStringLiteral("Zmeny_2026-12.csv")));
}

void TestLinks::sortsByIdentifierFirst() {
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    // Against row order a chain moves one link per propagation; sorted first, all at once.
    Fill(ws, {"T-001-03//P-T-001-02;;;;;1", "T-001-02//P-T-001-01;;;;;1",
              "T-001-01//;01.04.2026;02.04.2026"});
    ws.config.SetFlag(kFlagSortByIdForGantt, true);
    PropagateLinkDates(ws);
    QCOMPARE(Cells(ws, {12, 5, 6}),
             (QStringList{"T-001-01//|1.4.2026|2.4.2026", "T-001-02//P-T-001-01|3.4.2026|4.4.2026",
                          "T-001-03//P-T-001-02|5.4.2026|6.4.2026"}));
    // The sort is recorded in the change log.
    QVERIFY(base.Exists(QStringLiteral("Zmeny_2026-12.csv")));
}

void TestLinks::savingPropagates() {
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, {"T-001-01//;01.04.2026;10.04.2026;;;9", "T-001-02//P-T-001-01;;;;;5"});
    const QString name = QStringLiteral("APr_NameAkce__001.csv");
    QVERIFY(SaveProgress(ws, name, SaveMode::All));
    const QStringList lines = base.Lines(name);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(4), QStringLiteral("T-001;Realizace;;;11.4.2026;16.4.2026;;;5;9.12.2026;"
                                         "14.12.2026;T-001-02//P-T-001-01;;;;;;;"));
    // Saving clears the mark the propagation set.
    QVERIFY(!ws.Changed(kChangedDeadlines));
}

void TestLinks::removeAllLinks() {
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, {"T-001-03/N-T-001-01/P-T-001-02", "T-001-01//", "", " T-001-04 /N-T-001-01"});
    RemoveAllLinks(ws);
    QCOMPARE(Cells(ws, {12}), (QStringList{"T-001-03", "T-001-01", "", "T-001-04"}));
    QCOMPARE(ws.Deadlines.Cell(Deadline::Identifier, 0), QStringLiteral("ID-vnitřní"));
    QVERIFY(ws.Changed(kChangedDeadlines));
}

void TestLinks::recordLink_data() {
    // Row 2 (T-001-02) is picked first, then the cell of row 3 is linked to it.
    QTest::addColumn<bool>("superior");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("linked");
    QTest::newRow("child of no links") << true << "T-001-05//"
                                       << "T-001-05/N-T-001-02";
    QTest::newRow("earlier superior replaced, predecessor kept")
        << true << "T-001-05/N-T-001-09/P-T-001-04"
        << "T-001-05/N-T-001-02/P-T-001-04";
    QTest::newRow("predecessor in the second field kept") << true << "T-001-05/P-T-001-04"
                                                          << "T-001-05/N-T-001-02/P-T-001-04";
    QTest::newRow("never its own superior") << true << "T-001-02//P-T-001-01"
                                            << "T-001-02//P-T-001-01";
    QTest::newRow("successor of no links") << false << "T-001-05"
                                           << "T-001-05/P-T-001-02";
    QTest::newRow("earlier predecessor replaced, superior kept")
        << false << "T-001-05/N-T-001-01/P-T-001-04"
        << "T-001-05/N-T-001-01/P-T-001-02";
    QTest::newRow("predecessor in the second field replaced") << false << "T-001-05/P-T-001-04"
                                                              << "T-001-05/P-T-001-02";
    QTest::newRow("never its own predecessor") << false << "T-001-02/N-T-001-01/P-T-001-04"
                                               << "T-001-02/N-T-001-01/";
}

void TestLinks::recordLink() {
    QFETCH(bool, superior);
    QFETCH(QString, cell);
    QFETCH(QString, linked);
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, {"T-001-01//", "T-001-02/N-T-001-01/", cell});
    LinkRecorder recorder(ws);
    auto record = [&](int row) {
        return superior ? recorder.RecordSuperiorLink(row) : recorder.RecordPredecessorLink(row);
    };
    QVERIFY(!record(2));
    QVERIFY(record(3));
    QCOMPARE(ws.Deadlines.Cell(Deadline::Identifier, 3), linked);
    QCOMPARE(ws.Deadlines.Cell(Deadline::Identifier, 2), QStringLiteral("T-001-02/N-T-001-01/"));
    // Written links count as a change before the recording is finished.
    QVERIFY(ws.Changed(kChangedDeadlines));
}

void TestLinks::recordingCaptions() {
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, {"T-001-01//", "T-001-02//", "T-001-03//", "T-001-04//", "T-001-05//", "T-001-06//",
              "T-001-07//"});
    ws.Current().SelectRow(ws.Current().Kind(), 6);
    LinkRecorder recorder(ws);
    QSignalSpy menu(&recorder, &LinkRecorder::menuChanged);
    QSignalSpy show(&recorder, &LinkRecorder::showDeadlineRow);
    const LinkMenuState& state = recorder.State();
    QCOMPARE(state.superiorCaption, QStringLiteral("Potvrdit nadřízenou položku"));
    QCOMPARE(state.predecessorCaption, QStringLiteral("Potvrdit první položku"));

    // Rows 3, 5, 7 in turn make a chain.
    for (int row : {3, 5, 7}) recorder.RecordPredecessorLink(row);
    QCOMPARE(Cells(ws, {12}).mid(2), (QStringList{"T-001-03//", "T-001-04//", "T-001-05/P-T-001-03",
                                                  "T-001-06//", "T-001-07/P-T-001-05"}));
    QCOMPARE(state.predecessorCaption, QStringLiteral("Předchůdce/7/pro následníka"));
    QCOMPARE(state.pendingPredecessor, 7);
    QVERIFY(!state.superiorEnabled && state.predecessorEnabled);
    QCOMPARE(menu.count(), 3);

    recorder.FinishLinking();
    QCOMPARE(state.superiorCaption, QStringLiteral("Potvrdit nadřízenou položku"));
    QCOMPARE(state.predecessorCaption, QStringLiteral("Potvrď první položku"));
    QVERIFY(state.superiorEnabled && state.predecessorEnabled && state.pendingPredecessor == 0);
    QCOMPARE(show.count(), 1);
    QCOMPARE(show.at(0).at(0).toInt(), 6);

    // A new recording starts from its first row again; the superior stays pending.
    QVERIFY(!recorder.RecordSuperiorLink(4));
    QCOMPARE(state.superiorCaption, QStringLiteral("Nadřazena/4/přidat podřízenou"));
    QVERIFY(!state.predecessorEnabled);
    QVERIFY(recorder.RecordSuperiorLink(1));
    QVERIFY(recorder.RecordSuperiorLink(2));
    QCOMPARE(Cells(ws, {12}).mid(0, 2),
             (QStringList{"T-001-01/N-T-001-04", "T-001-02/N-T-001-04"}));
}

void TestLinks::pendingRowGone() {
    TempBase& base = *base_;
    Workspace& ws = *base.ws;
    Fill(ws, {"", "T-001-02/N-T-001-09/P-T-001-08", "T-001-03//"});
    LinkRecorder recorder(ws);
    recorder.RecordSuperiorLink(3);
    recorder.RecordPredecessorLink(3);
    ws.Deadlines.SetRowCount(3);  // row 3 deleted while pending
    QVERIFY(!recorder.RecordSuperiorLink(2));
    QVERIFY(!recorder.RecordPredecessorLink(2));
    // Rows outside the table are not touched, nor is the table grown.
    QVERIFY(!recorder.RecordSuperiorLink(9));
    QCOMPARE(ws.Deadlines.RowCount(), 3);
    // A pending row without identifier links nothing and drops no link.
    recorder.FinishLinking();
    recorder.RecordSuperiorLink(1);
    QVERIFY(!recorder.RecordSuperiorLink(2));
    recorder.FinishLinking();
    recorder.RecordPredecessorLink(1);
    QVERIFY(!recorder.RecordPredecessorLink(2));
    QCOMPARE(ws.Deadlines.Cell(Deadline::Identifier, 2),
             QStringLiteral("T-001-02/N-T-001-09/P-T-001-08"));
}

QTEST_GUILESS_MAIN(TestLinks)
#include "tst_links.moc"
