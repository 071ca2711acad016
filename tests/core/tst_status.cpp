#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "editing/Status.h"

namespace {

// The reference day of every case: 9 December 2026 at 00:00.
const double kDay = DayFromDate(QDate(2026, 12, 9));

// Date cells written ";"-separated: "-20" is 20 days before the reference
// day, "@999" day number 999 itself, "xx" a cell that is no date, "" empty.
Table Row(int firstColumn, const QString& cells, const QList<int>& skip = {}) {
    Table t;
    int column = firstColumn;
    for (const QString& f : cells.split(u';')) {
        while (skip.contains(column)) ++column;
        bool number = false;
        const int days = f.toInt(&number);
        t.SetCell(column++, 1,
                  f.startsWith(u'@') ? FormatDate(f.mid(1).toDouble())
                  : number           ? FormatDate(kDay + days)
                                     : f);
    }
    return t;
}

}  // namespace

class TestStatus : public QObject {
    Q_OBJECT

  private slots:
    void deadlineScore_data();
    void deadlineScore();
    void paymentDelay_data();
    void paymentDelay();
    void colours_data();
    void colours();
    void itemStatus();
};

void TestStatus::deadlineScore_data() {
    QTest::addColumn<QString>("dates");  // planned start, planned end, actual start, actual end
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<double>("time");  // of the reference day
    QTest::addColumn<int>("score");
    QTest::newRow("kept") << "-20;10;-20;-5" << 10 << 0.0 << 0;
    QTest::newRow("no dates at all") << ";;;" << 10 << 0.0 << 13;
    QTest::newRow("not started, planned start 20 days back") << "-20;40;;" << 10 << 0.0 << 1;
    QTest::newRow("the same within a tolerance of 30") << "-20;40;;" << 30 << 0.0 << 0;
    QTest::newRow("planned start exactly the tolerance back") << "-10;40;;" << 10 << 0.0 << 0;
    QTest::newRow("planned start a day more back") << "-11;40;;" << 10 << 0.0 << 1;
    QTest::newRow("the same start against noon") << "-10;40;;" << 10 << 0.5 << 1;
    QTest::newRow("finished 3 days late") << "-30;-10;-30;-7" << 10 << 0.0 << 3;
    QTest::newRow("started and finished late") << "-30;-10;-29;-7" << 10 << 0.0 << 4;
    QTest::newRow("unfinished, end exactly the tolerance back") << "-40;-10;-40;" << 10 << 0.0 << 0;
    QTest::newRow("unfinished, end a day more back") << "-40;-11;-40;" << 10 << 0.0 << 3;
    QTest::newRow("not started, end a day more back") << "-40;-11;;" << 10 << 0.0 << 8;
    QTest::newRow("started after the planned end") << "-30;-20;-15;-5" << 10 << 0.0 << 8;
    QTest::newRow("no planned start") << ";10;-5;" << 10 << 0.0 << 3;
    QTest::newRow("no planned end") << "-5;;-5;" << 10 << 0.0 << 10;
    QTest::newRow("negative tolerance reports early") << "3;40;;" << -5 << 0.0 << 1;
    QTest::newRow("unreadable planned start") << "xx;10;-5;-1" << 10 << 0.0 << 3;
    // Day 1000 is the first set date.
    QTest::newRow("planned start on day 999") << "@999;10;-5;" << 10 << 0.0 << 3;
    QTest::newRow("planned start on day 1000") << "@1000;10;-5;" << 10 << 0.0 << 1;
    QTest::newRow("actual start on day 999") << "-20;10;@999;" << 10 << 0.0 << 1;
    QTest::newRow("actual start on day 1000") << "-20;10;@1000;" << 10 << 0.0 << 0;
}

void TestStatus::deadlineScore() {
    QFETCH(QString, dates);
    QFETCH(int, tolerance);
    QFETCH(double, time);
    QFETCH(int, score);
    QCOMPARE(DeadlineScore(Row(5, dates), 1, kDay + time, tolerance), score);
}

void TestStatus::paymentDelay_data() {
    QTest::addColumn<QString>("row");  // "Činnost";delivery;due;paid;total (column 7 skipped)
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<double>("time");
    QTest::addColumn<int>("delay");
    QTest::newRow("delivered 30 days ago, no due date, unpaid")
        << "Platba_Faktura_1;-30;;;1,00" << 10 << 0.0 << 6;
    QTest::newRow("paid 40 days after due")
        << "Platba_Faktura_1;-90;-60;-20;1,00" << 10 << 0.0 << 40;
    QTest::newRow("paid before due") << "Platba_Faktura_1;-90;-60;-70;1,00" << 10 << 0.0 << 0;
    QTest::newRow("not yet due") << "Platba_Faktura_1;-5;20;;1,00" << 10 << 0.0 << 0;
    QTest::newRow("due exactly the tolerance back") << "Faktura;;-10;;1,00" << 10 << 0.0 << 0;
    QTest::newRow("\"Platba\" alone") << "Platba zálohy;;-60;-20;1,00" << 10 << 0.0 << 40;
    QTest::newRow("stage row") << "Etapa_#_1;-90;-60;;1,00" << 10 << 0.0 << 0;
    QTest::newRow("lower-case word is no payment") << "faktura;-90;-60;;1,00" << 10 << 0.0 << 0;
    QTest::newRow("empty total") << "Faktura;-90;-60;;" << 10 << 0.0 << 0;
    QTest::newRow("blank total") << "Faktura;-90;-60;;   " << 10 << 0.0 << 0;
    QTest::newRow("zero total counts") << "Faktura;;-60;-20;0,00" << 10 << 0.0 << 40;
    QTest::newRow("exactly 1000 days") << "Faktura;;-1100;-100;1,00" << 10 << 0.0 << 1000;
    QTest::newRow("1001 days reported as 1000") << "Faktura;;-1101;-100;1,00" << 10 << 0.0 << 1000;
    QTest::newRow("no dates at all") << "Faktura;;;;1,00" << 10 << 0.0 << 1000;
    QTest::newRow("6.5 rounds to 6") << "Faktura;;-16;;1,00" << 10 << 0.5 << 6;
    QTest::newRow("7.5 rounds to 8") << "Faktura;;-17;;1,00" << 10 << 0.5 << 8;
    QTest::newRow("negative tolerance reports early") << "Faktura;;-2;;1,00" << -5 << 0.0 << 7;
    // Delivery must lie above day 1000; a due date below it counts as missing.
    QTest::newRow("delivery on day 1001") << "Faktura;@1001;;@1020;1,00" << 10 << 0.0 << 5;
    QTest::newRow("delivery on day 1000") << "Faktura;@1000;;@1020;1,00" << 10 << 0.0 << 1000;
    QTest::newRow("due on day 999") << "Faktura;@1001;@999;@1020;1,00" << 10 << 0.0 << 5;
    QTest::newRow("due on day 1000") << "Faktura;@1001;@1000;@1020;1,00" << 10 << 0.0 << 20;
    QTest::newRow("paid on day 999") << "Faktura;;-20;@999;1,00" << 10 << 0.0 << 10;
    QTest::newRow("paid on day 1000") << "Faktura;;-20;@1000;1,00" << 10 << 0.0 << 0;
}

void TestStatus::paymentDelay() {
    QFETCH(QString, row);
    QFETCH(int, tolerance);
    QFETCH(double, time);
    QFETCH(int, delay);
    // Columns 2 ("Činnost"), 5, 6, 8 (dates) and 11 (total).
    QCOMPARE(PaymentDelay(Row(2, row, {3, 4, 7, 9, 10}), 1, kDay + time, tolerance), delay);
}

void TestStatus::colours_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("colour");
    const QColor green(0x00, 0xFF, 0x00), yellow(0xFF, 0xFF, 0x00), magenta(0xFF, 0x00, 0xFF),
        red(0xFF, 0x00, 0x00);
    QTest::newRow("0: the window's colour") << 0 << QColor();
    QTest::newRow("1") << 1 << green;
    QTest::newRow("5") << 5 << green;
    QTest::newRow("6") << 6 << yellow;
    QTest::newRow("14") << 14 << yellow;
    QTest::newRow("15") << 15 << magenta;
    QTest::newRow("30") << 30 << magenta;
    QTest::newRow("31") << 31 << red;
}

void TestStatus::colours() {
    QFETCH(int, value);
    QFETCH(QColor, colour);
    QCOMPARE(StatusColour(value), colour);
}

void TestStatus::itemStatus() {
    TempBase base;
    Workspace& ws = *base.ws;
    ws.config.UchylkaTerminy = 10;
    ws.config.UchylkaFinance = 10;
    ws.Deadlines = Row(5, "-20;10;-20;-5");
    ws.Deadlines.SetCell(Deadline::PlanStart, 2, QString());  // row 2 without dates
    ws.Finance = Row(2, "Faktura;;-60;-70;1,00", {3, 4, 7, 9, 10});
    ws.Finance.SetCell(Finance::ProcedureEndOrPaid, 2,
                       FormatDate(kDay - 20));  // row 2 paid 40 days late
    for (int c : {Finance::Activity, Finance::EndOrDue, Finance::Total})
        ws.Finance.SetCell(c, 2, ws.Finance.Cell(c, 1));

    struct Case {
        int kind, row;
        QString text;
        QColor colour;
        bool realisticTerm;
    };
    const QList<Case> cases{
        {kDeadlineTable, 1, "Termín OK", QColor(), true},
        {kDeadlineTable, 2, "Chyba termínu 13", QColor(0xFF, 0xFF, 0x00), true},
        {kFinanceTable, 1, "Zaplaceno", QColor(), false},
        {kFinanceTable, 2, "Pozdní platba 40", QColor(0xFF, 0x00, 0x00), false},
    };
    for (const Case& c : cases) {
        const std::optional<ItemStatus> status = EvaluateItemStatus(ws, c.kind, c.row, kDay);
        QVERIFY(status);
        QCOMPARE(status->text, c.text);
        QCOMPARE(status->colour, c.colour);
        QCOMPARE(status->showRealisticTerm, c.realisticTerm);
    }
    // Other tables have no status: their label stays as it is.
    QVERIFY(!EvaluateItemStatus(ws, kProjectTable, 1, kDay));
}

QTEST_GUILESS_MAIN(TestStatus)
#include "tst_status.moc"
