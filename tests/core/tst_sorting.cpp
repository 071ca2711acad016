#include <QtTest>
#include <random>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Sorting.h"
#include "data/TextFile.h"
#include "shell/ChangeLog.h"

namespace {

constexpr int kTagColumn = 14;  // "Poznámka": tells the rows apart

const QString kLog = QStringLiteral("Zmeny_2026-12.csv");

// Rows 1 … of the table get the cells in the column, their number in column 0
// and a tag "r<row>" in column 14.
void Fill(Workspace& ws, int kind, int column, const QStringList& cells) {
    Table& t = *ws.TableOf(kind);
    SetupTable(t, kind, QString());
    for (int i = 0; i < cells.size(); ++i) {
        const int r = i + 1;
        t.SetCell(Progress::RowNumber, r, QString::number(r));
        t.SetCell(Progress::KindAndProject, r, kind == kDeadlineTable ? "T-012" : "F-012");
        t.SetCell(kTagColumn, r, "r" + QString::number(r));
        t.SetCell(column, r, cells[i]);
    }
    t.SetRowCount(int(cells.size()) + 1);
}

QStringList ColumnCells(const Table& t, int column) {
    QStringList cells;
    for (int r = 1; r < t.RowCount(); ++r) cells << t.Cell(column, r);
    return cells;
}

void Sort(Workspace& ws, int kind, int column) {
    if (kind == kDeadlineTable)
        SortDeadlineTable(ws, column);
    else
        SortFinanceTable(ws, column);
}

// The keys as the exchange sort of the program compares them, for the reference sort.
double DateKey(const QString& cell) {
    if (cell.size() < 6) return 100000;
    return ParseDate(TrimCell(cell, 2));
}
double AmountKey(const QString& cell) {
    const double v = ParseAmount(cell);
    return v == 0 ? 10000 : v;
}
QByteArray TextKey(const QString& cell) {
    return TextFile::Encode(cell.isEmpty() ? QStringLiteral("ZZZZZ") : cell);
}

// The exchange sort the program used to run, n·(n−1)/2 comparisons.
template <typename Key>
void ExchangeSort(std::vector<Key>& keys) {
    for (size_t i = 0; i < keys.size(); ++i)
        for (size_t j = i + 1; j < keys.size(); ++j)
            if (keys[j] < keys[i]) std::swap(keys[i], keys[j]);
}

template <typename Key, typename KeyOf>
void CompareWithExchangeSort(const QStringList& before, const QStringList& after, KeyOf keyOf) {
    std::vector<Key> expected, actual;
    for (const QString& c : before) expected.push_back(keyOf(c));
    for (const QString& c : after) actual.push_back(keyOf(c));
    ExchangeSort(expected);
    QVERIFY(actual == expected);
}

}  // namespace

class TestSorting : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    // expected: the column after the sort, top to bottom; "a|b" is a group of
    // cells with equal keys, in any order.
    void order_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("plan from: unreadable first, empty and short last")
            << 1 << 5 << QStringList{"15.03.2026",  "",           "xx.yy.zzzz", "1.2.2026", "5.3",
                                     " 1. 3. 2026", "31.02.2026", "02.2.26"}
            << QStringList{"xx.yy.zzzz|31.02.2026", "1.2.2026",   "02.2.26",
                           " 1. 3. 2026",           "15.03.2026", "|5.3"};
        QTest::newRow("deadline real to is a date")
            << 1 << 11 << QStringList{"01.01.2027", "31.12.2026", "12345"}
            << QStringList{"31.12.2026", "01.01.2027", "12345"};
        QTest::newRow("duration: 0 and empty after 9999")
            << 1 << 9 << QStringList{"9999", "0", "", "12", "-5", "abc", "10001", "1,5"}
            << QStringList{"-5", "1,5", "12", "9999", "0||abc", "10001"};
        QTest::newRow("finance amounts as shown")
            << 4 << 10
            << QStringList{FormatAmount(1234.5), FormatAmount(0), "999,99", FormatAmount(20000)}
            << QStringList{"999,99", FormatAmount(1234.5), FormatAmount(0), FormatAmount(20000)};
        QTest::newRow("finance dates") << 4 << 8 << QStringList{"", "01.01.2026", "garbage!"}
                                       << QStringList{"garbage!", "01.01.2026", ""};
        QTest::newRow("texts: upper case, empty, lower case")
            << 1 << 2 << QStringList{"etapa", "", "Realizace"}
            << QStringList{"Realizace", "", "etapa"};
        QTest::newRow("ZZZZZ is emptied")
            << 4 << 3 << QStringList{"ZZZZZ", "b", "A", ""} << QStringList{"A", "|", "b"};
        // Code page 1250: Z 5A, a 61, Š 8A, Ž 8E, Á C1, Č C8, Ú DA, á E1.
        QTest::newRow("accented letters by code page 1250")
            << 1 << 13
            << QStringList{"ábc", "Údolí", "Čáp", "Ávod", "Žabka", "Šachta", "abc", "Zahrada", ""}
            << QStringList{"", "Zahrada", "abc", "Šachta", "Žabka", "Ávod", "Čáp", "Údolí", "ábc"};
        QTest::newRow("case and prefixes") << 1 << 17 << QStringList{"b", "Realizace", "B", "Real"}
                                           << QStringList{"B", "Real", "Realizace", "b"};
        QTest::newRow("identifiers")
            << 1 << 12 << QStringList{"T-012-10/", "T-012-02/N-T-012-01/", "T-012-01//"}
            << QStringList{"T-012-01//", "T-012-02/N-T-012-01/", "T-012-10/"};
    }
    void order() {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QStringList, cells);
        QFETCH(QStringList, expected);
        TempBase& base = *base_;
        Fill(*base.ws, kind, column, cells);
        Sort(*base.ws, kind, column);
        const QStringList sorted = ColumnCells(*base.ws->TableOf(kind), column);
        QCOMPARE(sorted.size(), cells.size());
        qsizetype at = 0;
        for (const QString& group : expected) {
            QStringList want = group.split(u'|');
            QStringList got = sorted.mid(at, want.size());
            want.sort();
            got.sort();
            QCOMPARE(got, want);
            at += want.size();
        }
    }

    // The deadline table keeps its row numbers in place; elsewhere they travel.
    void rowNumbers_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("deadline") << 1 << QStringList{"1", "2", "3"};
        QTest::newRow("finance") << 4 << QStringList{"2", "3", "1"};
    }
    void rowNumbers() {
        QFETCH(int, kind);
        QFETCH(QStringList, numbers);
        TempBase& base = *base_;
        Fill(*base.ws, kind, 2, {"c", "a", "b"});
        Sort(*base.ws, kind, 2);
        const Table& t = *base.ws->TableOf(kind);
        QCOMPARE(ColumnCells(t, 0), numbers);
        QCOMPARE(ColumnCells(t, kTagColumn), QStringList({"r2", "r3", "r1"}));
        QCOMPARE(ColumnCells(t, 2), QStringList({"a", "b", "c"}));
    }

    void sortIsRecorded_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("flags");
        QTest::newRow("deadline") << 1 << 5 << "Setřídění průběhů________;Plán od;"
                                  << "0100000";
        QTest::newRow("finance") << 4 << 9 << "Setřídění financí________;Způs.Uznané URR/-;"
                                 << "0001000";
    }
    void sortIsRecorded() {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QString, record);
        QFETCH(QString, flags);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        ws.Access.UserName = QStringLiteral("Eva");
        Fill(ws, kind, column, {"2", "1", "3"});
        QSignalSpy gauge(&ws, &Workspace::progressGauge);
        Sort(ws, kind, column);
        const QString last = base.Lines(kLog).last();
        QCOMPARE(last.section(u';', 0, 0) + u';' + last.section(u';', 4), record);
        QCOMPARE(last.section(u';', 1, 3), QStringLiteral("09.12.2026 - 10:30;Eva;Uzivatel_TEST"));
        QCOMPARE(ws.ChangeFlags, flags);
        QVERIFY(gauge.size() >= 2);
        QCOMPARE(gauge.first(), QVariantList({0, 4}));
        QCOMPARE(gauge.last(), QVariantList({0, 4}));
    }

    void columnWithoutKey_data() {
        QTest::addColumn<int>("column");
        QTest::newRow("row number") << 0;
        QTest::newRow("beyond the table") << 18;
    }
    void columnWithoutKey() {
        QFETCH(int, column);
        TempBase& base = *base_;
        Fill(*base.ws, kDeadlineTable, 2, {"c", "a", "b"});
        base.ws->Deadlines.SetCell(column, 1, "z");
        SortDeadlineTable(*base.ws, column);
        QCOMPARE(ColumnCells(base.ws->Deadlines, 2), QStringList({"c", "a", "b"}));
        QCOMPARE(base.ws->ChangeFlags, QStringLiteral("0000000"));
        QVERIFY(!base.Exists(kLog));
    }

    // Without its log record the sort does not happen.
    void unwritableLogStopsTheSort() {
        TempBase& base = *base_;
        Fill(*base.ws, kFinanceTable, Finance::Activity, {"c", "a", "b"});
        base.ws->config.CestaZmeny = QStringLiteral("Chybi/");
        QVERIFY_THROWS_EXCEPTION(FileError, SortFinanceTable(*base.ws, Finance::Activity));
        QCOMPARE(ColumnCells(base.ws->Finance, Finance::Activity), QStringList({"c", "a", "b"}));
        QCOMPARE(base.ws->ChangeFlags, QStringLiteral("0000000"));
    }

    void equalKeysLoseNoRow() {
        TempBase& base = *base_;
        QStringList cells;
        for (int i = 0; i < 60; ++i) cells << QStringList{"01.01.2026", "", "xx.xx.xxxx"}[i % 3];
        Fill(*base.ws, kDeadlineTable, Deadline::PlanEnd, cells);
        for (int r = 1; r <= 60; ++r)
            base.ws->Deadlines.SetCell(Deadline::Classification, r, "c" + QString::number(r));
        SortDeadlineTable(*base.ws, Deadline::PlanEnd);
        const Table& t = base.ws->Deadlines;
        QCOMPARE(t.RowCount(), 61);
        QSet<QString> tags;
        for (int r = 1; r <= 60; ++r) {
            const QString tag = t.Cell(kTagColumn, r);
            tags.insert(tag);
            QCOMPARE(t.Cell(Deadline::Classification, r),
                     "c" + tag.mid(1));  // the row travelled whole
            QCOMPARE(t.Cell(Deadline::PlanEnd, r), cells[tag.mid(1).toInt() - 1]);
            QCOMPARE(t.Cell(Deadline::PlanEnd, r),
                     QStringList({"xx.xx.xxxx", "01.01.2026", ""})[(r - 1) / 20]);
        }
        QCOMPARE(tags.size(), 60);
    }

    // Large tables come out in the order of the exchange sort, key for key.
    void sameOrderAsExchangeSort_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("rows");
        QTest::newRow("dates") << 1 << 5 << 10000;
        QTest::newRow("texts") << 1 << 3 << 3000;
        QTest::newRow("amounts") << 4 << 11 << 3000;
    }
    void sameOrderAsExchangeSort() {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(int, rows);
        std::mt19937 rng(7);
        const QStringList words = {"Realizace", "etapa", "", "ZZZZZ", "Čištění", "Zámek", "a", "A"};
        QStringList cells;
        for (int i = 0; i < rows; ++i) {
            const int pick = int(rng() % 20);
            QString cell;
            if (column == 5) {
                const QDate d = QDate(2020, 1, 1).addDays(int(rng() % 3000));
                cell = pick == 0   ? QString()
                       : pick == 1 ? QStringLiteral("špatně!")
                       : pick == 2 ? d.toString("d.M.yyyy")
                                   : d.toString("dd.MM.yyyy");
            } else if (column == 3) {
                cell = words[pick % words.size()] + (pick > 10 ? QString::number(rng() % 50) : "");
            } else {
                cell = pick == 0 ? QString() : FormatAmount(double(rng() % 2000000) / 100.0 - 1000);
            }
            cells << cell;
        }
        TempBase base;
        Fill(*base.ws, kind, column, cells);
        Sort(*base.ws, kind, column);
        const QStringList sorted = ColumnCells(*base.ws->TableOf(kind), column);
        QCOMPARE(sorted.size(), cells.size());
        if (column == 5)
            CompareWithExchangeSort<double>(cells, sorted, DateKey);
        else if (column == 3)
            CompareWithExchangeSort<QByteArray>(cells, sorted, TextKey);
        else
            CompareWithExchangeSort<double>(cells, sorted, AmountKey);
    }

    void regenerateIds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("record");
        QTest::newRow("deadline") << 1 << "ID-vnitřní;Termíny;";
        QTest::newRow("finance") << 4 << "ID-vnitřní;Finance;";
    }
    void regenerateIds() {
        QFETCH(int, kind);
        QFETCH(QString, record);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        const QString prefix = kind == kDeadlineTable ? "T-012" : "F-012";
        QStringList ids;
        for (int r = 1; r <= 123; ++r) ids << prefix + "-" + QString::number(200 - r) + "/";
        ids[2] = prefix + "-07/N-" + prefix + "-01/P-" + prefix + "-02";  // row 3, with links
        ids[4] = QString();                                               // row 5, no identifier
        ids[5] = "O-012-01/";                                             // row 6, other kind
        Fill(ws, kind, 12, ids);
        ws.Current().SelectRow(kind, ws.Current().Row());
        RegenerateIds(ws);
        const Table& t = *ws.TableOf(kind);
        QCOMPARE(t.Cell(Progress::Identifier, 1), prefix + "-01");
        QCOMPARE(t.Cell(Progress::Identifier, 3), prefix + "-03");
        QCOMPARE(t.Cell(Progress::Identifier, 5), prefix + "-05");
        QCOMPARE(t.Cell(Progress::Identifier, 6), QStringLiteral("O-012-06"));
        QCOMPARE(t.Cell(Progress::Identifier, 10), prefix + "-10");
        QCOMPARE(t.Cell(Progress::Identifier, 123), prefix + "-123");
        QCOMPARE(t.Cell(Progress::Identifier, 0), QStringLiteral("ID-vnitřní"));
        QCOMPARE(ws.ChangeFlags, QStringLiteral("0100000"));
        QVERIFY(base.Lines(kLog).last().endsWith(record));
        QVERIFY(base.Lines(kLog).last().startsWith("Generovaní nový ID_______;"));
    }

    void regenerateIdsElsewhereOnlyMarks() {
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        Fill(ws, kDeadlineTable, 12, {"T-012-05/"});
        ws.Current().SelectRow(kProjectTable, ws.Current().Row());
        RegenerateIds(ws);
        QCOMPARE(ws.Deadlines.Cell(Deadline::Identifier, 1), QStringLiteral("T-012-05/"));
        QCOMPARE(ws.ChangeFlags, QStringLiteral("0100000"));
        // The log is begun with its snapshot, but kind 102 has no record line.
        QCOMPARE(base.Lines(kLog).size(), SnapshotLines(ws).size());
    }

    // The current item stays on its item, wherever the sort puts it; an item
    // of the other table keeps its row.
    void currentItemFollowsItsRow_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("currentKind");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("rowAfter");
        QTest::newRow("deadline, first to last") << 1 << 1 << 1 << 4;
        QTest::newRow("finance, last to first") << 4 << 4 << 4 << 1;
        QTest::newRow("finance, middle") << 4 << 4 << 2 << 3;
        QTest::newRow("other table") << 1 << 4 << 1 << 1;
    }
    void currentItemFollowsItsRow() {
        QFETCH(int, kind);
        QFETCH(int, currentKind);
        QFETCH(int, row);
        QFETCH(int, rowAfter);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        Fill(ws, kind, Deadline::PlanStart,
             {"04.04.2026", "03.03.2026", "02.02.2026", "01.01.2026"});
        ws.Current().Select(currentKind, Deadline::PlanStart, row);
        QSignalSpy moved(&ws.Current(), &CurrentItem::currentChanged);
        Sort(ws, kind, Deadline::PlanStart);
        QCOMPARE(ws.Current().Row(), rowAfter);
        QCOMPARE(moved.size(), row == rowAfter ? 0 : 1);
        if (kind == currentKind)
            QCOMPARE(ws.TableOf(kind)->Cell(kTagColumn, rowAfter), "r" + QString::number(row));
    }

    void swapRows_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("firstRow");
        QTest::newRow("deadline keeps the number") << 1 << QStringList{"1", "b"};
        QTest::newRow("finance moves it") << 4 << QStringList{"2", "b"};
        QTest::newRow("project moves it") << 2 << QStringList{"2", "b"};
        QTest::newRow("templates are not swapped") << 6 << QStringList{"1", "a"};
    }
    void swapRows() {
        QFETCH(int, kind);
        QFETCH(QStringList, firstRow);
        TempBase& base = *base_;
        Table& t = *base.ws->TableOf(kind);
        const int text = kind == kProjectTable ? int(Project::Name) : int(Progress::Activity);
        for (int r = 1; r <= 2; ++r) {
            t.SetCell(AnyTable::RowNumber, r, QString::number(r));
            t.SetCell(text, r, r == 1 ? "a" : "b");
        }
        SwapRows(*base.ws, kind, 1, 2);
        SwapRows(*base.ws, kind, 1, -1);  // out of range: nothing
        QCOMPARE(QStringList({t.Cell(AnyTable::RowNumber, 1), t.Cell(text, 1)}), firstRow);
    }
};

QTEST_GUILESS_MAIN(TestSorting)
#include "tst_sorting.moc"
