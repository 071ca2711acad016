#include <QtTest>

#include "data/Columns.h"
#include "data/Table.h"
#include "planning/StripGeometry.h"

namespace {

using Ints = QList<int>;

// A day without time of day, so that the expected pixels can be worked out by hand.
constexpr double kNow = 46000.0;

Ints Corners(const StripBar& b) {
    return {b.left, b.top, b.right, b.bottom};
}

}  // namespace

class TestStrip : public QObject {
    Q_OBJECT

  private slots:
    void layout_data();
    void layout();
    void datesOfItems();
};

void TestStrip::layout_data() {
    QTest::addColumn<double>("now");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<double>>("dates");  // plan from, to, actual from, to, real from, to
    QTest::addColumn<double>("marker");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<Ints>("plan");
    QTest::addColumn<Ints>("actual");
    QTest::addColumn<int>("markerX");
    QTest::addColumn<Ints>("real");  // from x, to x, y

    const QSize strip(711, 38);
    // 691 pixels over 70 days; today lies 40 days from the left end.
    const int today = 395;
    const int dayZero = -453691;  // day 0: far left of the strip
    QTest::newRow("no dates: zero-width bars on today")
        << kNow << strip << QList<double>{3, 3, 3, 3, 0, 0} << 0.0 << kNow - 40 << kNow + 30
        << Ints{today, 1, today, 17} << Ints{today, 21, today, 38} << today
        << Ints{dayZero, dayZero, 19};
    QTest::newRow("a day of 1000 is missing")
        << kNow << strip << QList<double>{1000, 1000, 1000, 1000, 0, 0} << 0.0 << kNow - 40
        << kNow + 30 << Ints{today, 1, today, 17} << Ints{today, 21, today, 38} << today
        << Ints{dayZero, dayZero, 19};
    // 1000.5 is set: the range reaches back to it, ten days more on the left.
    QTest::newRow("a day just above 1000 is set")
        << kNow << strip << QList<double>{1000.5, 3, 3, 3, 0, 0} << 0.0 << 990.5 << kNow + 30
        << Ints{0, 1, 0, 17} << Ints{691, 21, 691, 38} << 691 << Ints{-15, -15, 19};
    // 140 days over 691 pixels.
    QTest::newRow("past plan widens the start")
        << kNow << strip << QList<double>{kNow - 100, kNow - 90, 3, 3, 0, 0} << 0.0 << kNow - 110
        << kNow + 30 << Ints{49, 1, 99, 17} << Ints{543, 21, 543, 38} << 543
        << Ints{-226500, -226500, 19};
    QTest::newRow("future actual end widens the end")
        << kNow << strip << QList<double>{3, 3, kNow + 5, kNow + 100, 0, 0} << 0.0 << kNow - 40
        << kNow + 100 << Ints{197, 1, 197, 17} << Ints{222, 21, 691, 38} << 197
        << Ints{-226845, -226845, 19};
    QTest::newRow("realistic term widens the range")
        << kNow << strip << QList<double>{3, 3, 3, 3, kNow - 5, kNow + 60} << 0.0 << kNow - 40
        << kNow + 60 << Ints{276, 1, 276, 17} << Ints{276, 21, 276, 38} << 276
        << Ints{242, 691, 19};
    QTest::newRow("actual end missing: zero width at the actual start")
        << kNow << strip << QList<double>{kNow - 20, kNow + 10, kNow - 10, 3, 0, 0} << 0.0
        << kNow - 40 << kNow + 30 << Ints{197, 1, 494, 17} << Ints{296, 21, 296, 38} << today
        << Ints{dayZero, dayZero, 19};
    QTest::newRow("marker on the calendar's day")
        << kNow << strip << QList<double>{3, 3, 3, 3, 0, 0} << kNow - 20 << kNow - 40 << kNow + 30
        << Ints{today, 1, today, 17} << Ints{today, 21, today, 38} << 197
        << Ints{dayZero, dayZero, 19};
    // One pixel a day, today at half a day: 40.5 and 42.5 round to the even neighbour,
    // and so do the halves of an odd height.
    QTest::newRow("halves to even")
        << kNow + 0.5 << QSize(90, 37) << QList<double>{kNow + 1, kNow + 3, 3, 3, 0, 0} << 0.0
        << kNow - 39.5 << kNow + 30.5 << Ints{40, 1, 42, 16} << Ints{40, 20, 40, 37} << 40
        << Ints{-45960, -45960, 18};
}

void TestStrip::layout() {
    QFETCH(double, now);
    QFETCH(QSize, size);
    QFETCH(QList<double>, dates);
    QFETCH(double, marker);
    const StripDates d{dates[0], dates[1], dates[2], dates[3], dates[4], dates[5]};
    const StripLayout l = LayoutStrip(d, now, marker, size);
    QTEST(l.scale.Start(), "start");
    QTEST(l.scale.End(), "end");
    QTEST(Corners(l.plan), "plan");
    QTEST(Corners(l.actual), "actual");
    QTEST(l.markerX, "markerX");
    QTEST((Ints{l.realFromX, l.realToX, l.realY}), "real");
}

void TestStrip::datesOfItems() {
    Table deadlines(kDeadlineTable);
    Table finance(kFinanceTable);
    const QStringList cells = {"1",        "T-001",      "Realizace",  "Stavba",
                               "Výstavba", "01.03.2026", "30.06.2026", "02.03.2026",
                               "",         "121",        "02.03.2026", "30.06.2026"};
    for (int c = 0; c < cells.size(); ++c) {
        deadlines.SetCell(c, 1, cells[c]);
        finance.SetCell(c, 1, cells[c]);
    }
    // A finance row's columns 10 and 11 hold amounts, never a realistic term.
    finance.SetCell(Finance::Ineligible, 1, QStringLiteral("  546 000,00"));
    finance.SetCell(Finance::Total, 1, QStringLiteral("14 196 000,00"));

    const StripDates d = StripDatesOf(deadlines, kDeadlineTable, 1);
    QCOMPARE(d.planFrom, double(QDate(1899, 12, 30).daysTo(QDate(2026, 3, 1))));
    QCOMPARE(d.actualTo, 3.0);  // empty cell: the empty date
    QCOMPARE(d.realTo, double(QDate(1899, 12, 30).daysTo(QDate(2026, 6, 30))));
    const StripDates f = StripDatesOf(finance, kFinanceTable, 1);
    QCOMPARE(f.planTo, d.planTo);
    QCOMPARE(f.realFrom, 0.0);
    QCOMPARE(f.realTo, 0.0);
}

QTEST_GUILESS_MAIN(TestStrip)
#include "tst_strip.moc"
