#include <QBarSet>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "TestSupport.h"
#include "data/Cells.h"
#include "finance/GrafFinance.h"

using namespace Qt::StringLiterals;

namespace {

// The default switches but 2D, so that the series hold the values themselves.
const QString k2D = QString(16, u'1') + u'0' + QString(12, u'1');

struct Fixture {
    explicit Fixture(const QString& switches = k2D) {
        ws().config.GrafFinanci = switches;
        ws().config.CestaTXT = u"txt/"_s;
        QDir().mkpath(base.Path(u"txt"_s));
        SetupTable(ws().Results, kResultsTable, QString());
        chart = std::make_unique<GrafFinance>(ws());
    }
    Workspace& ws() { return *base.ws; }
    // Results row with quantity i = base + i (column i + 5) and "Objekt" label.
    void FillRow(int row, double first, const QString& label) {
        Table& r = ws().Results;
        r.SetCell(Results::Project, row, u"Sk-101"_s);
        r.SetCell(Results::Object, row, label);
        for (int i = 1; i <= GrafFinance::kQuantities; ++i)
            r.SetCell(i + 5, row, FormatAmount(first + i));
    }
    double LastValue(int i) const { return chart->Line(i)->points().constLast().y(); }

    TempBase base;
    std::unique_ptr<GrafFinance> chart;
};

}  // namespace

class TestGrafFinance : public QObject {
    Q_OBJECT

  private slots:
    void switchesRead_data();
    void switchesRead();
    void switchesKept();
    void rowsSlideThroughTheLineChart();
    void roundingAndText();
    void untickedQuantityAndClear();
    void depthLook();
    void bitmaps();
};

void TestGrafFinance::switchesRead_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("boxes");  // 16 marks
    QTest::addColumn<bool>("depth");
    QTest::addColumn<bool>("curves");

    QTest::newRow("default") << QString(29, u'1') << QString(16, u'1') << true << true;
    QTest::newRow("mixed") << u"1010000000000001011111111111"_s << u"1010000000000001"_s << false
                           << true;
    QTest::newRow("curves panel hidden")
        << u"111111111111111110"_s << QString(16, u'1') << true << false;
    QTest::newRow("short value keeps the rest on")
        << u"01"_s << u"0111111111111111"_s << true << true;
}

void TestGrafFinance::switchesRead() {
    QFETCH(QString, value);
    QFETCH(QString, boxes);
    QFETCH(bool, depth);
    QFETCH(bool, curves);
    Fixture f(value);
    for (int i = 1; i <= 16; ++i) {
        QCOMPARE(f.chart->Box(i)->isChecked(), boxes[i - 1] == u'1');
        QCOMPARE(f.chart->Box(i)->objectName(), u"CheckBox"_s + QString::number(i));
        QCOMPARE(f.chart->Line(i)->isVisible(), boxes[i - 1] == u'1');
    }
    QCOMPARE(f.chart->DepthSwitch()->isChecked(), depth);
    QCOMPARE(f.chart->CurvesSwitch()->isChecked(), curves);
    QCOMPARE(f.chart->BoxGroup()->isVisibleTo(f.chart.get()), curves);
}

// Positions 1-18 follow the switches, the rest stay as they were.
void TestGrafFinance::switchesKept() {
    Fixture f(u"11111111111111111111111111102"_s);
    f.chart->Box(3)->setChecked(false);
    f.chart->Box(16)->setChecked(false);
    f.chart->DepthSwitch()->setChecked(false);
    f.chart->show();
    f.chart->close();
    QCOMPARE(f.ws().config.GrafFinanci, u"11011111111111100111111111102"_s);
    f.chart->CurvesSwitch()->setChecked(false);
    QCOMPARE(f.ws().config.GrafFinanci, u"11011111111111100011111111102"_s);

    Fixture shortValue(u"0"_s);
    shortValue.chart->Box(2)->setChecked(false);
    QCOMPARE(shortValue.ws().config.GrafFinanci, u"00111111111111111111111111111"_s);
}

void TestGrafFinance::rowsSlideThroughTheLineChart() {
    Fixture f;
    QCOMPARE(f.chart->PointsPerSeries(), 10);
    f.FillRow(2, 100, u"Etapa 1"_s);
    f.FillRow(3, 200, u"Etapa 2"_s);
    f.chart->ShowChartRow(2);
    f.chart->ShowChartRow(3);
    f.chart->ShowChartRow(3);  // the same row twice is two points

    const QList<double> history = f.chart->History(4);
    QCOMPARE(history.size(), 10);
    QCOMPARE(history.mid(6), (QList<double>{0, 104, 204, 204}));
    QCOMPARE(f.chart->PointLabels().mid(7),
             (QStringList{u"Etapa 1"_s, u"Etapa 2"_s, u"Etapa 2"_s}));
    const QList<QPointF> points = f.chart->Line(4)->points();
    QCOMPARE(points.size(), 10);
    QCOMPARE(points.constFirst().x(), 3.0);
    QCOMPARE(points.constLast(), QPointF(12, 204));

    for (int i = 1; i <= 16; ++i) {
        QCOMPARE(f.chart->Bar(i)->at(i - 1), 200.0 + i);
        QCOMPARE(f.chart->Pie()->slices().at(i - 1)->value(), 200.0 + i);
        QCOMPARE(f.chart->Bar(i)->color(), GrafFinance::QuantityColour(i));
    }
    QCOMPARE(f.chart->Bar(5)->at(4), 205.0);
    QCOMPARE(f.chart->Bar(5)->at(3), 0.0);

    // "Celkem" shows row 1.
    f.FillRow(1, 1000, u"Celkem"_s);
    f.chart->findChild<QPushButton*>(u"Celkem"_s)->click();
    QCOMPARE(f.LastValue(1), 1001.0);
}

// Whole numbers, halves to the even neighbour; the text table keeps the text.
void TestGrafFinance::roundingAndText() {
    Fixture f;
    Table& r = f.ws().Results;
    r.SetCell(6, 2, FormatAmount(1234.50));
    r.SetCell(7, 2, FormatAmount(1235.50));
    r.SetCell(8, 2, FormatAmount(-2.5));
    f.chart->ShowChartRow(2);
    QCOMPARE(f.LastValue(1), 1234.0);
    QCOMPARE(f.LastValue(2), 1236.0);
    QCOMPARE(f.LastValue(3), -2.0);
    QCOMPARE(f.LastValue(5), 0.0);
    QCOMPARE(f.chart->ValueTable()->item(1, 1)->text(), FormatAmount(1234.50));
    QCOMPARE(f.chart->ValueTable()->item(1, 0)->text(), u"Plán SR"_s);
    QCOMPARE(f.chart->ValueTable()->item(16, 0)->text(), u"Výdaje Celkem"_s);
}

// A cleared box: its pie slice keeps the old value, its bar takes the face
// colour; then the history is emptied.
void TestGrafFinance::untickedQuantityAndClear() {
    Fixture f;
    f.FillRow(2, 100, u"Rok_2025"_s);
    f.FillRow(3, 500, u"Rok_2026"_s);
    f.chart->ShowChartRow(2);
    f.chart->Box(7)->setChecked(false);
    f.chart->ShowChartRow(3);
    QCOMPARE(f.chart->Pie()->slices().at(6)->value(), 107.0);
    QCOMPARE(f.chart->Pie()->slices().at(7)->value(), 508.0);
    QCOMPARE(f.chart->Bar(7)->at(6), 507.0);
    QCOMPARE(f.chart->Bar(7)->color(), f.chart->palette().color(QPalette::Button));
    QVERIFY(!f.chart->Line(7)->isVisible());

    // "Smazat" with a results table of three rows keeps three points per line.
    f.ws().Results.SetRowCount(3);
    f.chart->findChild<QPushButton*>(u"Smazat"_s)->click();
    QCOMPARE(f.chart->Line(1)->points().size(), 3);
    QCOMPARE(f.chart->History(1), (QList<double>{0, 0, 0}));
    QCOMPARE(f.chart->Pie()->slices().at(0)->value(), 0.0);
    f.chart->ShowChartRow(2);
    QCOMPARE(f.chart->Line(1)->points().size(), 3);
    QCOMPARE(f.LastValue(1), 101.0);
}

// The 3D look shifts series behind one another and leaves the values alone.
void TestGrafFinance::depthLook() {
    Fixture f(QString(16, u'1') + u"0"_s);
    f.FillRow(2, 100, u"Etapa 1"_s);
    f.chart->ShowChartRow(2);
    f.chart->DepthSwitch()->setChecked(true);
    const QPointF front = f.chart->Line(1)->points().constLast();
    const QPointF back = f.chart->Line(16)->points().constLast();
    QVERIFY(back.x() > front.x());
    QVERIFY(back.y() - 116 > front.y() - 101);
    QCOMPARE(f.chart->History(16).constLast(), 116.0);
    f.chart->DepthSwitch()->setChecked(false);
    QCOMPARE(f.chart->Line(16)->points().constLast(), QPointF(10, 116));
}

void TestGrafFinance::bitmaps() {
    Fixture f;
    f.FillRow(2, 100, u"Etapa 1"_s);
    f.chart->resize(900, 600);
    f.chart->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.chart.get()));
    f.chart->ShowChartRow(2);
    f.chart->SaveBitmaps();
    for (const QString& name : {u"01"_s, u"02"_s, u"03"_s}) {
        const QImage image(f.base.Path(u"txt/Graf_Financi_"_s + name + u".bmp"_s));
        QVERIFY2(!image.isNull(), qPrintable(name));
    }
    QCOMPARE(QImage(f.base.Path(u"txt/Graf_Financi_01.bmp"_s)).size(), f.chart->LineView()->size());
}

QTEST_MAIN(TestGrafFinance)
#include "tst_graffinance.moc"
