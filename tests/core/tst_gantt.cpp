#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Dates.h"
#include "data/TextFile.h"
#include "editing/EditLabels.h"
#include "editing/Links.h"
#include "planning/GanttEdit.h"
#include "planning/GanttGeometry.h"
#include "planning/ICalendar.h"

namespace {

const QString kLog = QStringLiteral("Zmeny_2026-12.csv");
// Midnight of 1 January 2026: the time origin of the fixture.
double Origin() {
    return DayFromDate(QDate(2026, 1, 1));
}

QString Day(int offset) {
    return FormatDate(Origin() + offset);
}

void PutRow(Table& t, int row, const QStringList& cells) {
    t.SetCell(0, row, QString::number(row));
    for (int c = 0; c < cells.size(); ++c) t.SetCell(c + 1, row, cells[c]);
    if (t.RowCount() <= row) t.SetRowCount(row + 1);
}

// Project 001 with two rows and a row of project 202 below them. At N = 1,
// S = 0, H = 30 (bar height 10) row 1's plan bar spans pixels 100–200 above
// y = 30 and its actual bar 150–160 below it.
struct Fixture {
    TempBase base;
    Workspace& ws = *base.ws;
    LinkRecorder links{ws};
    GanttInteraction gantt{ws, links};

    Fixture() {
        SetupTable(ws.Projects, kProjectTable, QString());
        SetupTable(ws.Deadlines, kDeadlineTable, QString());
        SetupTable(ws.Finance, kFinanceTable, QString());
        PutRow(ws.Projects, 1, {"001", "Silnice"});
        PutRow(ws.Deadlines, 1,
               {"T-001", "Realizace", "Stavba", "Průběh", Day(100), Day(200), Day(150), Day(160),
                "100", "", "", "T-001-01/"});
        PutRow(ws.Deadlines, 2,
               {"T-001", "Kolaudace", "Úřad", "Řízení", Day(220), Day(240), "", "", "20", "", "",
                "T-001-02/"});
        PutRow(
            ws.Deadlines, 3,
            {"T-202", "Cizí", "Jinde", "", Day(100), Day(200), "", "", "100", "", "", "T-202-01/"});
        ws.Current().SetProjectRow(1);
        ws.Access.Permission = QStringLiteral("3_000");
        ws.config.SetFlag(kFlagFollowLinks, false);
        ws.config.SetFlag(kFlagSyncStages, false);
        ws.config.SetFlag(kFlagWarnBeforeChange, false);
        ws.StartMoment = Origin() + 300;
        ws.ChangeFlags = QStringLiteral("0000000");
        base.WriteLines(kLog, {QStringLiteral("x")});
        gantt.SetScale(Scale(1.0));
    }

    static GanttScale Scale(double n, int rowHeight = 30, int firstRow = 0) {
        return GanttScale({Origin(), 0, n, firstRow, rowHeight});
    }
    QStringList Records() const { return base.Lines(kLog).mid(1); }
    // Hover, press, drag and release as the mouse would.
    void Drag(GanttMode mode, QPoint from, QPoint to) {
        gantt.SetMode(mode);
        gantt.Move(from);
        gantt.Press(Qt::LeftButton, from);
        gantt.Move(to);
        gantt.Release(Qt::LeftButton, to);
    }
};

}  // namespace

class TestGantt : public QObject {
    Q_OBJECT

  private slots:
    void scale_data();
    void scale();
    void barDatesSubstitute();
    void hitCodes_data();
    void hitCodes();
    void monthLines_data();
    void monthLines();
    void dayThresholds();
    void linkFields();
    void moves_data();
    void moves();
    void rowsOfOtherProjectsStay();
    void linksThroughDiagram_data();
    void linksThroughDiagram();
    void popupCommands_data();
    void popupCommands();
    void calendarEvents();
    void calendarParsesElsewhere();
};

void TestGantt::scale_data() {
    QTest::addColumn<double>("n");
    QTest::addColumn<int>("offset");
    QTest::addColumn<double>("day");  // days after the origin
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("height");  // H, giving h = round(H / 3)
    QTest::addColumn<int>("h");
    QTest::newRow("one pixel a day") << 1.0 << 0 << 12.0 << 12 << 23 << 8;
    QTest::newRow("offset") << 1.0 << 100 << 112.0 << 12 << 30 << 10;
    QTest::newRow("half to even down") << 1.0 << 0 << 12.5 << 12 << 1 << 0;
    QTest::newRow("half to even up") << 1.0 << 0 << 13.5 << 14 << 2 << 1;
    QTest::newRow("zoomed in") << 30.1 << 15 << 17.0 << 60 << 100 << 33;
    QTest::newRow("zoomed out") << 0.1 << 0 << 25.0 << 2 << 35 << 12;
    QTest::newRow("before the edge") << 2.0 << 100 << 10.0 << -180 << 23 << 8;
}

void TestGantt::scale() {
    QFETCH(double, n);
    QFETCH(int, offset);
    QFETCH(double, day);
    QFETCH(int, x);
    QFETCH(int, height);
    QFETCH(int, h);
    const GanttScale s({Origin(), offset, n, 2, height});
    QCOMPARE(s.X(Origin() + day), x);
    QCOMPARE(s.BarHeight(), h);
    QCOMPARE(s.Y(5), 3 * height);
    // d(x) is the exact inverse of the unrounded x(d).
    QCOMPARE(s.Day(x), Origin() + offset + x / n);
}

void TestGantt::barDatesSubstitute() {
    Fixture f;
    const GanttBarDates filled = BarDatesOf(f.ws.Deadlines, 1, f.ws.StartMoment);
    QCOMPARE(filled.planFrom, Origin() + 100);
    QCOMPARE(filled.actualTo, Origin() + 160);
    // Row 2 has no actual dates: the start-up moment, and one day on.
    const GanttBarDates missing = BarDatesOf(f.ws.Deadlines, 2, f.ws.StartMoment);
    QCOMPARE(missing.actualFrom, f.ws.StartMoment);
    QCOMPARE(missing.actualTo, f.ws.StartMoment + 1);
    f.ws.Deadlines.SetCell(Deadline::PlanStart, 2, QString());
    f.ws.Deadlines.SetCell(Deadline::PlanEnd, 2, QStringLiteral("nesmysl"));
    const GanttBarDates plan = BarDatesOf(f.ws.Deadlines, 2, f.ws.StartMoment);
    QCOMPARE(plan.planFrom, f.ws.StartMoment);
    QCOMPARE(plan.planTo, f.ws.StartMoment + 1);
}

void TestGantt::hitCodes_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("row");
    // Plan bar of row 1: 100 < X ≤ 200, 19 ≤ Y < 30; actual bar 150–160, 30 ≤ Y ≤ 41.
    QTest::newRow("left of the plan") << QPoint(99, 25) << 0 << 0 << 0;
    QTest::newRow("plan start pixel") << QPoint(100, 25) << 0 << 11 << 1;
    QTest::newRow("plan start grip end") << QPoint(104, 25) << 0 << 11 << 1;
    QTest::newRow("plan body") << QPoint(105, 25) << 0 << 10 << 1;
    QTest::newRow("plan end grip") << QPoint(195, 25) << 0 << 12 << 1;
    QTest::newRow("plan end pixel") << QPoint(200, 25) << 0 << 12 << 1;
    QTest::newRow("right of the plan") << QPoint(201, 25) << 0 << 0 << 0;
    QTest::newRow("plan top") << QPoint(150, 19) << 0 << 10 << 1;
    QTest::newRow("above the plan") << QPoint(150, 18) << 0 << 0 << 0;
    QTest::newRow("plan bottom") << QPoint(150, 29) << 0 << 10 << 1;
    QTest::newRow("actual start on the baseline") << QPoint(150, 30) << 0 << 21 << 1;
    QTest::newRow("actual body") << QPoint(155, 30) << 0 << 22 << 1;
    QTest::newRow("actual bottom") << QPoint(158, 41) << 0 << 22 << 1;
    QTest::newRow("below the actual") << QPoint(158, 42) << 0 << 0 << 0;
    // Row 3 belongs to another project: it answers all the same.
    QTest::newRow("row of another project") << QPoint(150, 85) << 0 << 10 << 3;
    // Scrolled by one row, row 2 lies where row 1 was.
    QTest::newRow("scrolled") << QPoint(225, 25) << 1 << 10 << 2;
    QTest::newRow("scrolled row above the top") << QPoint(150, -5) << 1 << 10 << 1;
}

void TestGantt::hitCodes() {
    QFETCH(QPoint, at);
    QFETCH(int, firstRow);
    QFETCH(int, code);
    QFETCH(int, row);
    Fixture f;
    const GanttScale s = Fixture::Scale(1.0, 30, firstRow);
    const GanttHit hit = HitTest(f.ws.Deadlines, f.ws.StartMoment, s, at);
    QCOMPARE(hit.code, code);
    QCOMPARE(hit.row, row);
    const Qt::CursorShape cursor = code == 0        ? Qt::ArrowCursor
                                   : code % 10 == 0 ? Qt::CrossCursor
                                                    : Qt::SizeHorCursor;
    QCOMPARE(CursorOfHit(code), cursor);
    // The interaction shows the hit and keeps its label while nothing is hit.
    f.gantt.SetScale(s);
    f.gantt.HitAt(QPoint(105, 25 + 30 * firstRow));
    const QString before = f.gantt.UpperLabel();
    QCOMPARE(f.gantt.HitAt(at), code);
    QCOMPARE(f.gantt.CurrentRow(), row);
    if (code == 0) QCOMPARE(f.gantt.UpperLabel(), before);
    QCOMPARE(f.gantt.LowerLabel(), f.ws.Deadlines.Cell(Deadline::Classification, row));
}

void TestGantt::monthLines_data() {
    QTest::addColumn<QDateTime>("origin");
    QTest::addColumn<double>("n");
    QTest::addColumn<QStringList>("first");  // the first three line dates
    QTest::addColumn<QList<bool>>("labels");
    QTest::newRow("December origin")
        << QDateTime(QDate(2025, 12, 20), QTime(10, 30)) << 1.17
        << QStringList{"20.12.2025", "01.01.2026", "01.02.2026"} << QList<bool>{true, true, true};
    QTest::newRow("only January labelled")
        << QDateTime(QDate(2025, 11, 3), QTime()) << 1.1
        << QStringList{"03.11.2025", "01.12.2025", "01.01.2026"} << QList<bool>{false, false, true};
}

void TestGantt::monthLines() {
    QFETCH(QDateTime, origin);
    QFETCH(double, n);
    QFETCH(QStringList, first);
    QFETCH(QList<bool>, labels);
    const GanttScale s({DayFromDateTime(origin), 0, n, 0, 23});
    const std::vector<double> days = MonthLineDays(s, 400);
    QStringList dates;
    QList<bool> shown;
    for (size_t i = 0; i < 3; ++i) {
        dates << FormatDate(days[i]);
        shown << MonthLabelShown(s, days[i]);
    }
    QCOMPARE(dates, first);
    QCOMPARE(shown, labels);
    // Lines up to the first one beyond the width, and no further.
    QVERIFY(s.X(days.back()) > 400);
    QVERIFY(s.X(days[days.size() - 2]) <= 400);
}

void TestGantt::dayThresholds() {
    QCOMPARE(DayTicksShown(2.0), false);
    QCOMPARE(DayTicksShown(2.1), true);
    QCOMPARE(DayLinesShown(7.0), false);
    QCOMPARE(DayLinesShown(7.1), true);
    QCOMPARE(DayNumbersShown(15.0), false);
    QCOMPARE(DayNumbersShown(15.1), true);
}

void TestGantt::linkFields() {
    Table t(kDeadlineTable);
    SetupTable(t, kDeadlineTable, QString());
    const QStringList cells = {"T-001-01/", "T-001-02/N-T-001-01/P-T-001-1",
                               "T-001-03/N-T-001-01/N-T-001-02", "T-001-10/P-T-001-02",
                               "T-001-11/"};
    for (int r = 1; r <= cells.size(); ++r)
        PutRow(t, r, {"T-001", "", "", "", "", "", "", "", "", "", "", cells[r - 1]});
    QCOMPARE(LinkedIdentifierOf(t, 1, u"N-"), QString());
    QCOMPARE(LinkedIdentifierOf(t, 2, u"N-"), QStringLiteral("T-001-01"));
    QCOMPARE(LinkedIdentifierOf(t, 2, u"P-"), QStringLiteral("T-001-1"));
    // Two superior fields: the later one wins.
    QCOMPARE(LinkedIdentifierOf(t, 3, u"N-"), QStringLiteral("T-001-02"));
    QVERIFY(IsSingleOperation(t, 2));
    QVERIFY(!IsSingleOperation(t, 4));
    // An identifier that begins others reaches all of them.
    const IdPrefixIndex index(t);
    QCOMPARE(index.RowsBeginningWith(QStringLiteral("T-001-1")), (std::vector<int>{4, 5}));
    QCOMPARE(index.RowsBeginningWith(QStringLiteral("T-001-02")), (std::vector<int>{2}));
    QCOMPARE(index.RowsBeginningWith(QStringLiteral("T-009")), std::vector<int>{});
}

void TestGantt::moves_data() {
    QTest::addColumn<double>("n");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QStringList>("cells");  // columns 5 to 9 of row 1 afterwards
    QTest::addColumn<int>("records");
    const QString d100 = Day(100), d200 = Day(200), d150 = Day(150), d160 = Day(160);
    QTest::newRow("plan end dragged") << 1.0 << QPoint(198, 25) << QPoint(208, 25)
                                      << QStringList{d100, Day(208), d150, d160, "108"} << 2;
    QTest::newRow("plan moved whole") << 1.0 << QPoint(150, 25) << QPoint(145, 25)
                                      << QStringList{Day(95), Day(195), d150, d160, "100"} << 2;
    QTest::newRow("start past the end") << 1.0 << QPoint(101, 25) << QPoint(250, 25)
                                        << QStringList{d200, Day(250), d150, d160, "50"} << 2;
    QTest::newRow("actual end, no duration") << 1.0 << QPoint(159, 35) << QPoint(170, 35)
                                             << QStringList{d100, d200, d150, Day(170), "100"} << 2;
    // Half a pixel a day: the moved end lands on the pixel grid.
    QTest::newRow("coarse zoom end") << 0.5 << QPoint(99, 25) << QPoint(103, 25)
                                     << QStringList{d100, Day(206), d150, d160, "106"} << 2;
    // A click without moving leaves the dates alone and logs nothing.
    QTest::newRow("click without move") << 0.5 << QPoint(70, 25) << QPoint(70, 25)
                                        << QStringList{d100, d200, d150, d160, "100"} << 0;
}

void TestGantt::moves() {
    QFETCH(double, n);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QStringList, cells);
    QFETCH(int, records);
    Fixture f;
    f.gantt.SetScale(Fixture::Scale(n));
    f.Drag(GanttMode::Moves, from, to);
    QStringList after;
    for (int c = 5; c <= 9; ++c) after << f.ws.Deadlines.Cell(c, 1);
    QCOMPARE(after, cells);
    const QStringList log = f.Records();
    QCOMPARE(log.size(), records);
    if (records == 2) {
        QVERIFY(log[0].contains(QString::fromUtf16(kLabelChangedOld)));
        QVERIFY(log[0].contains(Day(100)));
        QVERIFY(log[1].contains(QString::fromUtf16(kLabelChangedNew)));
        QVERIFY(log[1].contains(cells[1]));
    }
    QCOMPARE(f.ws.ChangeFlags.at(1), QChar(u'1'));
    QVERIFY(!f.gantt.Dragging());
    QCOMPARE(f.ws.Current().Kind(), int(kDeadlineTable));
    QCOMPARE(f.ws.Current().Row(), 1);
}

void TestGantt::rowsOfOtherProjectsStay() {
    Fixture f;
    // Row 3 (project 202) is not drawn; its bar still answers the pointer.
    f.Drag(GanttMode::Moves, QPoint(198, 85), QPoint(230, 85));
    QCOMPARE(f.ws.Deadlines.Cell(Deadline::PlanEnd, 3), Day(200));
    QVERIFY(f.Records().isEmpty());
    QCOMPARE(f.ws.Current().Row(), 3);
}

void TestGantt::linksThroughDiagram_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("cell");  // row 2's ID cell afterwards
    QTest::addColumn<int>("records");
    QTest::newRow("predecessor") << int(GanttMode::Predecessors) << QPoint(230, 55)
                                 << "T-001-02/P-T-001-01" << 2;
    QTest::newRow("superior") << int(GanttMode::Superiors) << QPoint(230, 55)
                              << "T-001-02/N-T-001-01" << 2;
    QTest::newRow("released over no bar")
        << int(GanttMode::Predecessors) << QPoint(300, 55) << "T-001-02/" << 0;
}

void TestGantt::linksThroughDiagram() {
    QFETCH(int, mode);
    QFETCH(QPoint, to);
    QFETCH(QString, cell);
    QFETCH(int, records);
    Fixture f;
    f.Drag(GanttMode(mode), QPoint(150, 25), to);
    QCOMPARE(f.ws.Deadlines.Cell(Deadline::Identifier, 2), cell);
    QCOMPARE(f.ws.Deadlines.Cell(Deadline::Identifier, 1), QStringLiteral("T-001-01/"));
    const QStringList log = f.Records();
    QCOMPARE(log.size(), records);
    QLine line;
    QColor colour;
    QCOMPARE(f.gantt.TakeFinalLink(line, colour), records > 0);
    if (records > 0) {
        QVERIFY(log[0].contains(QString::fromUtf16(kLabelChangedOld)));
        QVERIFY(log[1].contains(cell));
        // From the pressed bar's plan end to the target's start (predecessor) or end.
        QCOMPARE(line.p1(), QPoint(200, 25));
        QCOMPARE(line.p2().x(), mode == int(GanttMode::Predecessors) ? 220 : 240);
        // The recording is finished: the next press starts a new one.
        QCOMPARE(f.links.State().pendingPredecessor, 0);
    } else {
        // The first call stands until the next press in a link mode.
        QCOMPARE(f.links.State().pendingPredecessor, 1);
    }
}

void TestGantt::popupCommands_data() {
    QTest::addColumn<QString>("permission");
    QTest::addColumn<bool>("remove");  // else delete
    QTest::addColumn<bool>("done");
    QTest::newRow("links removed") << "3_000" << true << true;
    QTest::newRow("row deleted") << "3_000" << false << true;
    QTest::newRow("read-only user, links") << "1_000" << true << false;
    QTest::newRow("read-only user, delete") << "2_000" << false << false;
}

void TestGantt::popupCommands() {
    QFETCH(QString, permission);
    QFETCH(bool, remove);
    QFETCH(bool, done);
    Fixture f;
    f.ws.Access.Permission = permission;
    f.ws.Deadlines.SetCell(Deadline::Identifier, 2, QStringLiteral("T-001-02/N-T-001-01/P-X"));
    // A right click on row 2 makes it the current item.
    f.gantt.Move(QPoint(230, 55));
    f.gantt.Press(Qt::RightButton, QPoint(230, 55));
    QCOMPARE(f.ws.Current().Row(), 2);
    QCOMPARE(f.ws.CheckListing.last(), QStringLiteral("1 2 Form6.Image1MouseDown"));
    QCOMPARE(f.gantt.ModesAllowed(), done);
    const bool result = remove ? f.gantt.RemoveLinks() : f.gantt.DeleteRow();
    QCOMPARE(result, done);
    const QStringList log = f.Records();
    if (!done) {
        QVERIFY(log.isEmpty());
        QCOMPARE(f.ws.Deadlines.RowCount(), 4);
        QCOMPARE(f.ws.Deadlines.Cell(Deadline::Identifier, 2),
                 QStringLiteral("T-001-02/N-T-001-01/P-X"));
        QCOMPARE(f.base.prompter.Texts(ScriptedPrompter::Kind::Information).size(), 1);
    } else if (remove) {
        QCOMPARE(log.size(), 1);
        QVERIFY(log[0].contains(QString::fromUtf16(kLabelLinksRemoved)));
        QCOMPARE(f.ws.Deadlines.Cell(Deadline::Identifier, 2), QStringLiteral("T-001-02"));
    } else {
        QCOMPARE(log.size(), 1);
        QVERIFY(log[0].contains(QString::fromUtf16(kLabelDeleted)));
        QCOMPARE(f.ws.Deadlines.RowCount(), 3);
        QCOMPARE(f.ws.Deadlines.Cell(Deadline::Identifier, 2), QStringLiteral("T-202-01/"));
        QCOMPARE(f.ws.Current().Row(), 2);
    }
}

// The fixture's project as a calendar, with a row that tests escaping and
// folding and one without planned dates.
static QByteArray FixtureCalendar(Fixture& f, int* count) {
    PutRow(f.ws.Deadlines, 4,
           {"T-001",
            QStringLiteral("Výběrové řízení; zhotovitel, dozor a \\ technická pomoc "
                           "při přípravě projektové dokumentace stavby"),
            "", "", Day(30), Day(30), "", "", "0", "", "", ""});
    PutRow(f.ws.Deadlines, 5,
           {"T-001", "Bez termínu", "", "", "", "", "", "", "", "", "", "T-001-05/"});
    const QByteArray events =
        CalendarEvents(f.ws.Deadlines, {QStringLiteral("001"), QStringLiteral("Silnice")},
                       QDateTime(QDate(2026, 12, 9), QTime(10, 30), Qt::UTC), count);
    return CalendarFile(events);
}

void TestGantt::calendarEvents() {
    Fixture f;
    int count = 0;
    const QByteArray ics = FixtureCalendar(f, &count);
    // Rows 1, 2 and 4 of project 001; row 3 is another project's, row 5 has no dates.
    QCOMPARE(count, 3);
    QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
    QVERIFY(ics.endsWith("END:VCALENDAR\r\n"));
    QVERIFY(ics.contains("UID:T-001-01\r\n"));
    QVERIFY(ics.contains("UID:T-001-02\r\n"));
    QVERIFY(!ics.contains("T-202"));
    // All-day events: the end is the day after the last planned day.
    QVERIFY(ics.contains("DTSTART;VALUE=DATE:20260411\r\nDTEND;VALUE=DATE:20260721\r\n"));
    QVERIFY(ics.contains("DTSTAMP:20261209T103000Z\r\n"));
    // A row without an identifier gets a UID of its own.
    QVERIFY(ics.contains("UID:T-001-radek-4\r\n"));
    // No line longer than 75 octets; a continuation begins with a blank.
    const QList<QByteArray> lines = ics.split('\n');
    for (const QByteArray& line : lines) QVERIFY2(line.size() <= 76, line.constData());
    QByteArray unfolded = ics;
    unfolded.replace("\r\n ", "");
    QVERIFY(QString::fromUtf8(unfolded).contains(
        QStringLiteral("SUMMARY:001 Silnice: Výběrové řízení\\; zhotovitel\\, dozor a \\\\ "
                       "technická")));
}

void TestGantt::calendarParsesElsewhere() {
    // The office's calendar programs read what an independent parser reads.
    // Debian's python3 first: its package is the parser meant here.
    QString python;
    for (const QString& found :
         {QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")}),
          QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
        if (!found.isEmpty() && QProcess::execute(found, {"-c", "import icalendar"}) == 0) {
            python = found;
            break;
        }
    }
    if (python.isEmpty()) QSKIP("python3-icalendar is not installed");
    Fixture f;
    int count = 0;
    const QString path = f.base.Path(QStringLiteral("akce.ics"));
    TextFile::WriteBytes(path, FixtureCalendar(f, &count));
    QProcess check;
    check.start(python, {"-c",
                         "import sys, icalendar\n"
                         "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                         "for e in cal.walk('VEVENT'):\n"
                         "    print(e['UID'], e.decoded('DTSTART'), e.decoded('DTEND'), "
                         "e['SUMMARY'], sep='|')\n",
                         path});
    QVERIFY(check.waitForFinished(30000));
    const QStringList out =
        QString::fromUtf8(check.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(check.exitCode(), 0);
    QCOMPARE(out.size(), 3);
    QCOMPARE(out[0], QStringLiteral("T-001-01|2026-04-11|2026-07-21|001 Silnice: Realizace"));
    QVERIFY(out[2].endsWith(QStringLiteral(
        "001 Silnice: Výběrové řízení; zhotovitel, dozor a \\ technická pomoc při přípravě "
        "projektové dokumentace stavby")));
}

QTEST_GUILESS_MAIN(TestGantt)
#include "tst_gantt.moc"
