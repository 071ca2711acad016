#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "DiarySupport.h"
#include "data/Dates.h"
#include "diary/Denik.h"
#include "diary/DiaryWiring.h"
#include "diary/Graf.h"

namespace {

// A function, not a global: the day conversion is not ready while globals are made.
double RecordDay() {
    return DayFromDate(QDate(2026, 12, 9));
}

template <typename T>
T* Child(const QWidget& w, const QString& name) {
    T* child = w.findChild<T*>(name);
    if (!child) qFatal("no child %s", qPrintable(name));
    return child;
}

// The calendar from 7 December 2026 (today is its column 3) and the day entry, wired.
struct Windows {
    DiaryBase b;
    Graf graf{b.ws};
    Denik denik{b.ws};

    Windows() {
        ConnectDiary(b.ws, graf, denik, nullptr);
        graf.resize(900, 400);
        graf.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graf));
        graf.SetFirstDay(DayFromDate(QDate(2026, 12, 7)));
    }
    QWidget* Grid() const { return Child<QWidget>(graf, QStringLiteral("Mrizka")); }
    // Right click in the middle of cell (column, visible row).
    void OpenCell(int column, int row) {
        const CalendarView& v = graf.View();
        QTest::mouseClick(
            Grid(), Qt::RightButton, {},
            QPoint(column * v.cellWidth - v.cellWidth / 2, row * v.cellHeight - v.cellHeight / 2));
    }
    void Click(const QString& button) {
        QTest::mouseClick(Child<QPushButton>(denik, button), Qt::LeftButton);
    }
    void AddTask(const QString& person, const QString& task) {
        Child<QComboBox>(denik, QStringLiteral("Osoby"))->setEditText(person);
        Child<QComboBox>(denik, QStringLiteral("Ukol"))->setEditText(task);
        Click(QStringLiteral("Pridat"));
    }
    QString Ident() const { return Child<QLabel>(denik, QStringLiteral("Identifikace"))->text(); }
};

}  // namespace

class TestDiary : public QObject {
    Q_OBJECT

  private slots:
    void rightClickOpensAndOkWrites();
    void cellsAreDrawn_data();
    void cellsAreDrawn();
    void otherDayNeedsLevel5_data();
    void otherDayNeedsLevel5();
    void taskTable();
    void eraseAndCopyBack();
    void deleteColumn();
    void projectTableChangedWhileOpen_data();
    void projectTableChangedWhileOpen();
};

void TestDiary::rightClickOpensAndOkWrites() {
    Windows w;
    QCOMPARE(w.graf.View().ColumnDate(3), QStringLiteral("09.12.2026"));
    w.OpenCell(3, 1);
    QVERIFY(w.denik.isVisible());
    QCOMPARE(w.Ident(), QStringLiteral("3/1   -   09.12.2026"));
    QCOMPARE(Child<QLabel>(w.denik, QStringLiteral("PocetTerminu"))->text(), QStringLiteral("1"));
    QCOMPARE(Child<QLabel>(w.denik, QStringLiteral("PocetPlateb"))->text(), QStringLiteral("1"));

    w.AddTask(QStringLiteral("Jana Nováková [cz]"), QStringLiteral("Převzít výkop"));
    Child<QPlainTextEdit>(w.denik, QStringLiteral("Zapis"))
        ->setPlainText(QStringLiteral("Porada na stavbě"));
    Child<QPlainTextEdit>(w.denik, QStringLiteral("Vzkazy"))
        ->setPlainText(QStringLiteral("Objednat jeřáb"));
    w.Click(QStringLiteral("Zapsat"));

    QVERIFY(!w.denik.isVisible());
    const QStringList file = w.b.base.Lines(QStringLiteral("Denik/Den_2026.12.09.ITI"));
    QCOMPARE(file.value(0), QStringLiteral("[101]"));
    QVERIFY(file.contains(QStringLiteral("Osoba=Jana Nováková")));
    QVERIFY(file.contains(
        QStringLiteral("Tabulka_1=Jana Nováková [cz]/Převzít výkop/9.12.2026/V běhu")));
    QVERIFY(file.contains(QStringLiteral("Termíny_Chyby=1")));
    QVERIFY(file.contains(QStringLiteral("Hláška=Objedn")));
    QVERIFY(file.contains(QStringLiteral("Memo1_0=Porada na stavbě")));
    const QString record = w.b.base.Lines(DiaryBase::kLog).last();
    QCOMPARE(record, QStringLiteral("Zápis akce deník_________;09.12.2026 - 10:30;Jmeno Prijmeni;"
                                    "Uzivatel_TEST;Denik;09.12.2026;1;Porada na stavbě...;"
                                    "Objednat jeřáb...;"));
    // The calendar shows the new record at once.
    QVERIFY(w.graf.Data().Cell(1, 3).hasRecord);
    QCOMPARE(w.graf.Data().Cell(1, 3).shortMessage, QStringLiteral("Objedn"));
    // framed in blue on its left edge
    const CalendarView& v = w.graf.View();
    QCOMPARE(w.graf.GridImage().pixel(2 * v.cellWidth, v.cellHeight / 2), qRgb(0, 0, 0xFF));
}

// Pixels of cells on the drawn calendar, from the cell's top left corner.
// Problem lines stack upwards from four pixels above the cell's bottom, in
// the colour of their problem (0: the colour of the cell's first problem).
void TestDiary::cellsAreDrawn_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QPoint>("from");  // negative: from the right or bottom edge
    QTest::addColumn<uint>("colour");
    QTest::newRow("border") << 2 << 2 << QPoint(0, 0) << uint(qRgb(0, 0, 0));
    QTest::newRow("working day") << 2 << 2 << QPoint(2, 2) << uint(qRgb(0xFF, 0xFF, 0xFF));
    QTest::newRow("today") << 3 << 2 << QPoint(2, 2) << uint(qRgb(0xFF, 0xFF, 0x00));
    QTest::newRow("Saturday") << 6 << 2 << QPoint(2, 2) << uint(qRgb(0xF0, 0xF0, 0xF0));
    QTest::newRow("Sunday") << 7 << 1 << QPoint(2, 2) << uint(qRgb(0xF0, 0xF0, 0xF0));
    QTest::newRow("chart square") << 2 << 2 << QPoint(-18, -18) << uint(qRgb(0, 0, 0));
    QTest::newRow("first problem line") << 3 << 1 << QPoint(-10, -4) << 0u;
    QTest::newRow("no problem") << 3 << 2 << QPoint(-10, -4) << uint(qRgb(0xFF, 0xFF, 0x00));
}

void TestDiary::cellsAreDrawn() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QPoint, from);
    QFETCH(uint, colour);
    Windows w;
    for (const int flag : {kFlagHighlightLate, kFlagDiaryChart, kFlagCellText})
        w.b.ws.config.SetFlag(flag, true);
    // From two days before the start-up moment, with its time of day, as the
    // today button steps: only then is today's column yellow.
    w.b.ws.StartMoment = NowDay();
    w.graf.SetFirstDay(w.b.ws.StartMoment - 2);
    const CalendarView& v = w.graf.View();
    const int x = (column - 1) * v.cellWidth + (from.x() < 0 ? v.cellWidth : 0) + from.x();
    const int y = (row - 1) * v.cellHeight + (from.y() < 0 ? v.cellHeight : 0) + from.y();
    if (colour == 0) {
        const CalendarCell& cell = w.graf.Data().Cell(row, column);
        QVERIFY(!cell.problems.isEmpty());
        colour = ProblemColour(cell.problems.first(), Qt::black).rgb();
    }
    QCOMPARE(QColor(w.graf.GridImage().pixel(x, y)), QColor(colour));
}

void TestDiary::otherDayNeedsLevel5_data() {
    QTest::addColumn<QString>("permission");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("written");
    QTest::newRow("level 3, today") << "3_000" << 3 << true;
    QTest::newRow("level 3, yesterday") << "3_000" << 2 << false;
    QTest::newRow("level 5, yesterday") << "5_000" << 2 << true;
    QTest::newRow("read-only, today") << "1_000" << 3 << false;
}

void TestDiary::otherDayNeedsLevel5() {
    QFETCH(QString, permission);
    QFETCH(int, column);
    QFETCH(bool, written);
    Windows w;
    w.b.ws.Access.Permission = permission;
    w.OpenCell(column, 2);
    w.AddTask(QStringLiteral("Karel Šťastný"), QStringLiteral("Dozor"));
    w.Click(QStringLiteral("Zapsat"));
    const QString file = DayFileName(RecordDay() + column - 3);
    QCOMPARE(w.b.base.Exists(QStringLiteral("Denik/") + file), written);
    QCOMPARE(w.b.base.Lines(DiaryBase::kLog).last().startsWith(QStringLiteral("Zápis akce")),
             written);
    QCOMPARE(w.b.base.prompter.Texts(ScriptedPrompter::Kind::Error).isEmpty() &&
                 w.b.base.prompter.Texts(ScriptedPrompter::Kind::Information).isEmpty(),
             written);
}

void TestDiary::taskTable() {
    Windows w;
    w.OpenCell(3, 1);
    auto* table = Child<QTableWidget>(w.denik, QStringLiteral("TabulkaUkolu"));
    auto* counter = Child<QLabel>(w.denik, QStringLiteral("PocetUkolu"));
    w.AddTask(QStringLiteral("A"), QStringLiteral("a"));
    w.AddTask(QStringLiteral("B"), QStringLiteral("b"));
    w.AddTask(QStringLiteral("C"), QStringLiteral("c"));
    QCOMPARE(counter->text(), QStringLiteral("3"));
    // Row 2 loses its person: a new row must not land on row 3.
    table->item(1, 1)->setText(QString());
    w.AddTask(QStringLiteral("D"), QStringLiteral("d"));
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->item(2, 1)->text(), QStringLiteral("C"));
    QCOMPARE(table->item(3, 1)->text(), QStringLiteral("D"));

    // Selecting row 1 and marking it done; deleting it moves the rest up.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(0, 1)).center());
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("1"));
    w.denik.SetTaskState(QStringLiteral("Splněno"));
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("Splněno"));
    QCOMPARE(w.denik.DeleteTaskRow(1), 3);
    QCOMPARE(table->item(0, 1)->text(), QString());
    QCOMPARE(table->item(2, 1)->text(), QStringLiteral("D"));
    QCOMPARE(w.denik.DeleteTaskRow(1), 2);
    QCOMPARE(w.denik.DeleteTaskRow(1), 1);
    QCOMPARE(w.denik.DeleteTaskRow(1), 0);  // the only row: emptied, not removed
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 1)->text(), QString());
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("0"));
    QCOMPARE(w.denik.DeleteTaskRow(0), 1);  // nothing selected: nothing happens
}

void TestDiary::eraseAndCopyBack() {
    Windows w;
    DayRecord earlier;
    earlier.tasks = {{"Jana", "Výkop", "5.12.2026", "V běhu"}};
    earlier.taskCount = 1;
    earlier.messages = {QStringLiteral("Starý vzkaz")};
    WriteDayRecord(w.b.ws, RecordDay() - 3, 1, earlier);

    w.OpenCell(3, 1);
    w.Click(QStringLiteral("Predchozi"));
    auto* table = Child<QTableWidget>(w.denik, QStringLiteral("TabulkaUkolu"));
    // As read on that day: the deadline lay before it.
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("PO_TERMÍNU"));
    QCOMPARE(w.Ident(), QStringLiteral("3/1   -   09.12.2026"));
    w.Click(QStringLiteral("Zapsat"));
    QCOMPARE(ReadDayRecord(w.b.ws, 1, RecordDay()).messages, earlier.messages);

    w.OpenCell(3, 1);
    w.Click(QStringLiteral("SmazatDen"));
    QVERIFY(!ReadDayRecord(w.b.ws, 1, RecordDay()).Exists());
    QVERIFY(w.b.base.Lines(DiaryBase::kLog)
                .last()
                .startsWith(QStringLiteral("Smaze akci v deniku______;")));
    QVERIFY(!w.graf.Data().Cell(1, 3).hasRecord);
}

void TestDiary::deleteColumn() {
    Windows w;
    DayRecord r;
    WriteDayRecord(w.b.ws, RecordDay(), 1, r);
    auto* header = Child<QWidget>(w.graf, QStringLiteral("PanelDni"));
    const int x = Graf::kListWidth + 2 * w.graf.View().cellWidth + 10;
    QTest::mouseClick(header, Qt::RightButton, {}, QPoint(x, 10));
    auto* panel = Child<QWidget>(w.graf, QStringLiteral("DenniPrehled"));
    QVERIFY(panel->isVisible());
    QCOMPARE(Child<QPushButton>(w.graf, QStringLiteral("TiskZapisu"))->text(),
             QStringLiteral("Tisk zápisu ze dne   09.12.2026"));
    QTest::mouseClick(Child<QPushButton>(w.graf, QStringLiteral("SmazatSloupec")), Qt::LeftButton);
    QVERIFY(!panel->isVisible());
    QVERIFY(!w.b.base.Exists(QStringLiteral("Denik/Den_2026.12.09.ITI")));
    QCOMPARE(w.b.base.Lines(DiaryBase::kLog).last(),
             QStringLiteral("Smaze celý den deníku____;09.12.2026 - 10:30;Jmeno Prijmeni;"
                            "Uzivatel_TEST;Denik;09.12.2026;") +
                 w.b.base.Path(QStringLiteral("Denik/Den_2026.12.09.ITI")) + u';');
}

// The day entry window left open while the project table under it is sorted
// or loses the project: the record goes to the project it was opened for, or
// nowhere with a message, never to the project that took over the row.
void TestDiary::projectTableChangedWhileOpen_data() {
    QTest::addColumn<bool>("removed");
    QTest::newRow("rows swapped") << false;
    QTest::newRow("project gone") << true;
}

void TestDiary::projectTableChangedWhileOpen() {
    QFETCH(bool, removed);
    Windows w;
    w.OpenCell(3, 1);
    w.AddTask(QStringLiteral("Karel Šťastný"), QStringLiteral("Dozor"));
    Table& projects = w.b.ws.Projects;
    projects.SwapRowCells(1, 2, 0);
    if (removed) projects.SetRowCount(2);
    w.Click(QStringLiteral("Zapsat"));
    const QStringList file = w.b.base.Lines(QStringLiteral("Denik/Den_2026.12.09.ITI"));
    QCOMPARE(file.contains(QStringLiteral("[202]")), false);
    QCOMPARE(file.contains(QStringLiteral("[101]")), !removed);
    QCOMPARE(file.contains(QStringLiteral("Tabulka_1=Karel Šťastný/Dozor/9.12.2026/V běhu")),
             !removed);
    QCOMPARE(w.b.base.prompter.Texts(ScriptedPrompter::Kind::Error),
             removed ? QStringList{QStringLiteral(
                           "Akce 101 už v tabulce projektů není; deník akce nelze změnit.")}
                     : QStringList{});
    if (!removed) QCOMPARE(w.Ident(), QStringLiteral("3/2   -   09.12.2026"));
}

QTEST_MAIN(TestDiary)
#include "tst_diary.moc"
