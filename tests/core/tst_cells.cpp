#include <QtTest>

#include "Clock.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/Table.h"

// Converted while the globals are built, before main (as other files' start-up code may).
const double kDayConvertedAtStartUp = DayFromDate(QDate(1900, 1, 1));

class TestCells : public QObject {
    Q_OBJECT
  private slots:
    void datesConvertBeforeMain() { QCOMPARE(kDayConvertedAtStartUp, 2.0); }
    void init() { Clock::Set(QDateTime(QDate(2026, 12, 9), QTime(10, 30))); }
    void cleanup() { Clock::Reset(); }

    void parseAmount_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("grouped with a point") << "1.234,50" << 0.0;
        QTest::newRow("decimal point") << "1234.50" << 1234.5;
        QTest::newRow("blanks and currency") << "12 345,6 Kč" << 12345.6;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("formatted cell")
            << QString::fromUtf16(u"      1\u00a0234\u00a0567,00") << 1234567.0;
        QTest::newRow("negative") << "-15,25" << -15.25;
        QTest::newRow("sign inside") << "12-3" << 0.0;
        QTest::newRow("two signs") << "+-1" << 0.0;
        QTest::newRow("comma only") << "," << 0.0;
        QTest::newRow("leading comma") << ",5" << 0.5;
        QTest::newRow("letters only") << "abc" << 0.0;
    }
    void parseAmount() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(ParseAmount(text), expected);
    }

    void parseInt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("blanks between digits") << " 1 2 " << 12;
        QTest::newRow("letter") << "12a" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("negative") << "-360" << -360;
        QTest::newRow("plus") << "+7" << 7;
        // Digits and signs that make no integer, or one beyond 32 bits: 0, never a fault.
        QTest::newRow("sign between digits") << "1-2" << 0;
        QTest::newRow("double sign") << "--5" << 0;
        QTest::newRow("sign alone") << "-" << 0;
        QTest::newRow("above 32 bits") << "2147483648" << 0;
        QTest::newRow("below 32 bits") << "-2147483649" << 0;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("beyond 64 bits") << "99999999999999999999999" << 0;
    }
    void parseInt() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(ParseInt(text), expected);
    }

    void parseDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");  // invalid: the empty date
        QTest::newRow("blanks removed") << "5. 3. 2008" << QDate(2008, 3, 5);
        QTest::newRow("cell form") << "05.03.2008" << QDate(2008, 3, 5);
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("letters") << "xx" << QDate();
        QTest::newRow("no such day") << "31.2.2008" << QDate();
        QTest::newRow("day and month") << "24.12" << QDate(2026, 12, 24);
        QTest::newRow("day and month with point") << "24.12." << QDate(2026, 12, 24);
        QTest::newRow("two-digit year, this century") << "1.2.30" << QDate(2030, 2, 1);
        QTest::newRow("two-digit year, last century") << "1.2.80" << QDate(1980, 2, 1);
        QTest::newRow("two-digit year 76 is next century") << "1.1.76" << QDate(2076, 1, 1);
        QTest::newRow("two-digit year 77 is last century") << "1.1.77" << QDate(1977, 1, 1);
        QTest::newRow("placeholder") << "1.1.1900" << QDate(1900, 1, 1);
        QTest::newRow("comma removed") << "5.3.,2008" << QDate(2008, 3, 5);
        QTest::newRow("too many parts") << "1.2.3.4" << QDate();
        QTest::newRow("time attached") << "5.3.2008 10:00" << QDate();
    }
    void parseDate() {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        const double day = ParseDate(text);
        if (expected.isValid())
            QCOMPARE(DateFromDay(day), expected);
        else
            QCOMPARE(day, kEmptyDate);
    }

    void dayNumbers() {
        QCOMPARE(DayFromDate(QDate(1899, 12, 30)), 0.0);
        QCOMPARE(DayFromDate(QDate(1900, 1, 2)), kEmptyDate);
        QCOMPARE(FormatDate(ParseDate("5.3.2008")), QStringLiteral("05.03.2008"));
        QCOMPARE(FormatShortDate(ParseDate("05.03.2008")), QStringLiteral("5.3.2008"));
        QCOMPARE(DateTimeFromDay(DayFromDate(QDate(2026, 12, 9)) + 0.5),
                 QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    }

    void trimCell_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mode 1 keeps inner blank") << "  1 234,00  " << 1 << "1 234,00";
        QTest::newRow("mode 2 drops every blank") << "  1 234,00  " << 2 << "1234,00";
        QTest::newRow("code 160 always goes")
            << QString::fromUtf16(u" 1\u00a0234,00") << 1 << "1234,00";
        QTest::newRow("empty") << "" << 1 << "";
    }
    void trimCell() {
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(QString, expected);
        QCOMPARE(TrimCell(text, mode), expected);
    }

    void splitFields_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("trimmed fields, empty tail")
            << "a; b ;;c" << 5 << QStringList{"a", "b", "", "c", ""};
        QTest::newRow("rest dropped") << "a;b;c;d" << 2 << QStringList{"a", "b"};
        QTest::newRow("blank runs folded") << "x  y;z" << 2 << QStringList{"x y", "z"};
        QTest::newRow("separator at the end") << "a;b;" << 4 << QStringList{"a", "b", "", ""};
        QTest::newRow("last field untrimmed") << "a; b" << 2 << QStringList{"a", " b"};
        QTest::newRow("empty line") << "" << 3 << QStringList{"", "", ""};
    }
    void splitFields() {
        QFETCH(QString, line);
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        const FieldBuffer f = SplitFields(line, count, u';');
        for (int i = 0; i < expected.size(); ++i) QCOMPARE(f[i], expected[i]);
        for (int i = count; i < kFieldBufferSize; ++i) QVERIFY(f[i].isEmpty());
    }

    void padText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("alignment");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("right") << "abc"
                               << "right" << 5 << "  abc";
        QTest::newRow("already wide") << "abc"
                                      << "right" << 3 << " abc";
        QTest::newRow("left") << "abc"
                              << "left" << 3 << "abc ";
        QTest::newRow("left wider") << "ab"
                                    << "" << 4 << "ab  ";
    }
    void padText() {
        QFETCH(QString, text);
        QFETCH(QString, alignment);
        QFETCH(int, width);
        QFETCH(QString, expected);
        QCOMPARE(PadText(text, alignment, width), expected);
    }

    void formatAmount_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("grouped") << 1234567.0 << QString::fromUtf16(u"1\u00a0234\u00a0567,00");
        QTest::newRow("small") << 1.5 << QString("1,50");
        QTest::newRow("zero") << 0.0 << QString("0,00");
        QTest::newRow("negative") << -1234.5 << QString::fromUtf16(u"-1\u00a0234,50");
        QTest::newRow("half rounds away from zero") << 0.125 << QString("0,13");
        QTest::newRow("as typed, not as stored") << 1.005 << QString("1,01");
        QTest::newRow("negative half") << -2.675 << QString("-2,68");
        QTest::newRow("carry") << 999.995 << QString::fromUtf16(u"1\u00a0000,00");
        QTest::newRow("tiny negative is zero") << -0.001 << QString("0,00");
    }
    void formatAmount() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        const QString cell = FormatAmount(value);
        QCOMPARE(cell.size(), qMax<qsizetype>(18, expected.size()));
        QCOMPARE(cell.trimmed(), expected);
        QCOMPARE(ParseAmount(cell), ParseAmount(expected));
    }

    void findProjectRowMatchesSubstrings() {
        Table projects(kProjectTable);
        SetupTable(projects, kProjectTable, QString());
        projects.SetCell(Project::Number, 1, "1");
        projects.SetCell(Project::Number, 2, "12");
        QCOMPARE(FindProjectRowIn(projects, "12"), 1);
        QCOMPARE(FindProjectRowIn(projects, "T-12"), 1);
        QCOMPARE(FindProjectRowIn(projects, "7"), 0);
        projects.SetCell(Project::Number, 1, QString());  // an empty number never matches
        QCOMPARE(FindProjectRowIn(projects, "12"), 2);
    }

    void tableKeepsHiddenRows() {
        Table t(kDeadlineTable);
        t.SetCell(Deadline::Classification, 5, "five");
        QCOMPARE(t.RowCount(), 6);
        t.SetRowCount(2);
        QCOMPARE(t.Cell(Deadline::Classification, 5), QString());
        t.SetRowCount(6);
        QCOMPARE(t.Cell(Deadline::Classification, 5), QStringLiteral("five"));
        QCOMPARE(t.Cell(40, 1), QString());
    }

    void setupTableLayouts_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("lastHeader");
        QTest::newRow("projects") << int(kProjectTable) << 15 << 2 << "Datum do";
        QTest::newRow("deadlines") << int(kDeadlineTable) << 18 << 2 << "Dokument JPG";
        QTest::newRow("finance") << int(kFinanceTable) << 18 << 2 << "Dokument JPG";
        QTest::newRow("templates") << int(kTemplateTable) << 17 << 2 << "Dokument TXT";
        QTest::newRow("results") << int(kResultsTable) << 27 << 3 << "% Dotací";
        QTest::newRow("default templates")
            << int(kTemplateTableWithDefaults) << 17 << 17 << "Dokument TXT";
    }
    void setupTableLayouts() {
        QFETCH(int, kind);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(QString, lastHeader);
        Table t(kind);
        SetupTable(t, kind, QStringLiteral("Včetně DPH"));
        QCOMPARE(t.ColumnCount(), columns);
        QCOMPARE(t.RowCount(), rows);
        QCOMPARE(t.Cell(columns - 1, 0), lastHeader);
    }

    void setupTableSpecifics() {
        Table p(kProjectTable);
        SetupTable(p, kProjectTable, QString());
        QCOMPARE(p.Cell(Project::Number, 1), QStringLiteral("000"));
        QCOMPARE(p.Cell(Project::TextDocument, 1), QStringLiteral("Dodavatelská SoD"));
        QCOMPARE(p.Cell(Project::Start, 1), QStringLiteral("1.1.1900"));

        Table f(kFinanceTable);
        SetupTable(f, kFinanceTable, QStringLiteral("Včetně DPH"));
        QCOMPARE(f.Cell(Finance::Total, 0), QStringLiteral("Celkove výdaje plán Včetně DPH"));

        Table t(kTemplateTable);
        SetupTable(t, kTemplateTableWithDefaults, QString());
        QCOMPARE(t.Cell(Template::Step, 2),
                 QStringLiteral("Podpis smlouvy"));  // trailing blank dropped
        QCOMPARE(t.Cell(Template::Marker, 16), QStringLiteral("fakturace"));
        QCOMPARE(t.Cell(Template::Activity, 16), QStringLiteral("Platba_Faktura_1"));
        QCOMPARE(t.Cell(Template::RowNumber, 16), QStringLiteral("16"));

        Table r(kResultsTable);
        r.SetCell(Results::PlanEnd, 2, "old");
        SetupTable(r, kResultsTable, QString());
        r.SetRowCount(3);
        QCOMPARE(r.Cell(Results::PlanEnd, 2), QString());
    }
};

QTEST_GUILESS_MAIN(TestCells)
#include "tst_cells.moc"
