#include <QtTest>

#include "TestSupport.h"
#include "data/Dates.h"
#include "diary/Calendar.h"
#include "diary/DayRecord.h"

namespace {

double Day(int y, int m, int d) {
    return DayFromDate(QDate(y, m, d));
}

}  // namespace

class TestCalendar : public QObject {
    Q_OBJECT

  private slots:
    void navigation_data();
    void navigation();
    void geometry_data();
    void geometry();
    void colours();
    void cellsInOnePass();
};

void TestCalendar::navigation_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("first");
    QTest::addColumn<int>("columns");
    QTest::addColumn<double>("expected");
    QTest::newRow("month back in early January")
        << "monthBack" << Day(2027, 1, 4) << 20 << Day(2026, 12, 1);
    QTest::newRow("month back past the 5th")
        << "monthBack" << Day(2027, 1, 6) << 20 << Day(2027, 1, 1);
    QTest::newRow("month forward at the end of December")
        << "monthForward" << Day(2026, 12, 10) << 20 << Day(2027, 1, 1);
    QTest::newRow("month forward before the 28th")
        << "monthForward" << Day(2026, 12, 1) << 20 << Day(2026, 12, 1);
    QTest::newRow("screen back by all columns")
        << "back" << Day(2026, 12, 20) << 15 << Day(2026, 12, 5);
    QTest::newRow("screen forward: last column first")
        << "forward" << Day(2026, 12, 20) << 15 << Day(2027, 1, 3);
    QTest::newRow("today keeps the time of day")
        << "today" << Day(2026, 12, 9) + 0.4375 << 15 << Day(2026, 12, 2) + 0.4375;
}

void TestCalendar::navigation() {
    QFETCH(QString, control);
    QFETCH(double, first);
    QFETCH(int, columns);
    QFETCH(double, expected);
    double got = 0;
    if (control == u"monthBack") got = MonthBack(first);
    if (control == u"monthForward") got = MonthForward(first, columns);
    if (control == u"back") got = ScreenBack(first, columns);
    if (control == u"forward") got = ScreenForward(first, columns);
    if (control == u"today") got = TodayFirst(first);
    QCOMPARE(got, expected);
}

void TestCalendar::geometry_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("index");
    QTest::newRow("inside the first") << 10 << 68 << 1;
    QTest::newRow("inside the third") << 150 << 68 << 3;
    QTest::newRow("half-way border to even: 34/68 + .5 = 1") << 34 << 68 << 1;
    QTest::newRow("border between 1 and 2 (1.5 -> 2)") << 68 << 68 << 2;
    QTest::newRow("border between 2 and 3 (2.5 -> 2)") << 136 << 68 << 2;
    QTest::newRow("border between 3 and 4 (3.5 -> 4)") << 204 << 68 << 4;
}

void TestCalendar::geometry() {
    QFETCH(int, position);
    QFETCH(int, size);
    QFETCH(int, index);
    QCOMPARE(CellIndex(position, size), index);
    // Every column that starts inside the grid, and no cap at 50.
    QCOMPARE(DayColumns(680, 68), 11);
    QCOMPARE(DayColumns(4000, 68), 59);
    CalendarView view;
    view.first = Day(2026, 12, 30) + 0.5;
    view.columns = 5;
    QCOMPARE(view.ColumnDate(3), QStringLiteral("01.01.2027"));
    QCOMPARE(view.ColumnOf(Day(2027, 1, 1)), 3);
    QCOMPARE(view.ColumnOf(Day(2027, 1, 10)), 0);
}

void TestCalendar::colours() {
    QCOMPARE(ProjectColour(QStringLiteral("101")), QColor(0x00, 0x00, 0x80));
    QCOMPARE(ProjectColour(QStringLiteral("a7")), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(ProjectColour(QStringLiteral("c")), QColor(Qt::black));
    QCOMPARE(ProjectColour(QStringLiteral("X1")), QColor(0x00, 0x00, 0xFF));
    QCOMPARE(ProjectColour(QString()), QColor(0x00, 0x00, 0xFF));
    const QColor before(1, 2, 3);
    QCOMPARE(ProblemColour(1, before), QColor(0x00, 0xFF, 0xFF));
    QCOMPARE(ProblemColour(8, before), before);
    QCOMPARE(ProblemColour(9, before), QColor(0x00, 0x00, 0x80));
    QCOMPARE(ProblemColour(13, before), QColor(0xFF, 0x00, 0x00));
}

// Two projects, the first with a late deadline and a late invoice, the second
// with no progress file; a day record for the first on one day. The cells
// count the problems per day, read each file once and read a changed file again.
void TestCalendar::cellsInOnePass() {
    TempBase base;
    Workspace& ws = *base.ws;
    ws.Projects.SetCell(1, 1, QStringLiteral("101"));
    ws.Projects.SetCell(1, 2, QStringLiteral("202"));
    ws.config.UchylkaTerminy = 0;
    ws.config.UchylkaFinance = 0;
    base.WriteLines(
        QStringLiteral("APr_NameAkce__101.csv"),
        {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;101", "Termíny",
         "T-101;Stavba;x;y;01.12.2026;05.12.2026;01.12.2026;;4;;;T-101-01//;;;;;;",
         "F-101;Platba faktura;x;y;01.12.2026;07.12.2026;;;0,00;0,00;100,00;F-101-01/;;;;;;"});
    CalendarView view;
    view.first = Day(2026, 12, 4);
    view.columns = 5;  // 4. to 8. December
    DayRecord record;
    record.tasks = {{"Jan", "x", "1.12.2026", "V běhu"}};
    record.taskCount = 1;
    record.messages = {QStringLiteral("Kontrola")};
    WriteDayRecord(ws, Day(2026, 12, 6), 1, record);

    CalendarData data;
    data.Compute(ws, view, 1, 5, true);
    QList<int> deadlines, payments;
    for (int c = 1; c <= 5; ++c) {
        deadlines << int(data.Cell(1, c).problems.size());
        payments << data.Cell(1, c).payments;
    }
    QCOMPARE(deadlines, (QList<int>{0, 0, 1, 1, 1}));  // late from the 6th on
    QCOMPARE(payments, (QList<int>{0, 0, 0, 0, 1}));   // due on the 7th
    QCOMPARE(data.Cell(1, 3).problems.value(0), 3);
    QVERIFY(data.Cell(1, 3).hasRecord);
    QCOMPARE(data.Cell(1, 3).shortMessage, QStringLiteral("Kontro"));
    QVERIFY(data.Cell(1, 3).overdue);
    QVERIFY(!data.Cell(1, 2).hasRecord);
    QVERIFY(!data.Cell(2, 3).hasRecord);
    QCOMPARE(data.Cell(2, 3).problems.size(), 0);
    QVERIFY(base.prompter.log.isEmpty());  // a missing progress file asks nothing

    const int progressParses = data.Progress().ParseCount();
    const int dayParses = data.DayFiles().ParseCount();
    data.Compute(ws, view, 1, 5, true);
    QCOMPARE(data.Progress().ParseCount(), progressParses);
    QCOMPARE(data.DayFiles().ParseCount(), dayParses);

    // Another workstation erases the record: the file is read again.
    EraseDayRecord(ws, Day(2026, 12, 6), 1);
    data.Compute(ws, view, 1, 5, true);
    QVERIFY(!data.Cell(1, 3).hasRecord);
}

QTEST_GUILESS_MAIN(TestCalendar)
#include "tst_calendar.moc"
