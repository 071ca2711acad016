#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <map>

#include "../data/FileStamp.h"
#include "../data/ProgressCache.h"
#include "../editing/Status.h"
#include "DayRecord.h"

class Workspace;

// What the diary calendar shows: projects as rows, consecutive days as columns.
// Column c (from 1) shows day first + c - 1; visible row r (from 1) shows
// project row offset + r. Cell (c, r) spans x (c - 1) * cellWidth … c * cellWidth
// and y (r - 1) * cellHeight … r * cellHeight of the grid picture.
struct CalendarView {
    int cellWidth = 68;
    int cellHeight = 34;
    double first = 0;  // the first day shown, with the time of day it was set with
    int offset = 0;    // project rows scrolled away
    int columns = 1;   // day columns shown, recomputed from the grid's width

    double Day(int column) const { return first + column - 1; }
    // "dd.mm.yyyy" of the column: the day the day entry and the minutes use.
    QString ColumnDate(int column) const;
    // The column of a day, or 0 when the day is not shown.
    int ColumnOf(double day) const;
};

// Columns for a grid this wide: every column that starts inside it.
int DayColumns(int gridWidth, int cellWidth);
// The column or row under a pointer coordinate: round(pos / size + 0.5), a
// position exactly on a border going to the even index.
int CellIndex(int position, int size);

// Navigation: each returns the new first day.
double ScreenBack(double first, int columns);     // one screen back
double ScreenForward(double first, int columns);  // the last column becomes the first
double TodayFirst(double startMoment);            // a week before the start-up moment
// The 1st of the month of first when past its 5th day, else of the month before.
double MonthBack(double first);
// With G = first + columns: the 1st of G's month when before its 28th, else of the next.
double MonthForward(double first, int columns);

// The colour of a project's texts by the first character of its number.
QColor ProjectColour(const QString& number);
// The colour of a deadline problem line for a score; 8 keeps the previous colour.
QColor ProblemColour(int score, const QColor& previous);

// The parsed day files, each read again only when its size or modification
// time changed (another workstation wrote it).
class DayFileCache {
  public:
    // The records of every section of the file, by upper-case section name;
    // empty for a missing file.
    const QHash<QString, DayRecord>& Records(const QString& path);
    int ParseCount() const { return parses_; }
    void Clear() { entries_.clear(); }

  private:
    struct Entry {
        FileStamp stamp;
        QHash<QString, DayRecord> records;
    };
    // A map keeps its entries in place as others are added: the calendar holds
    // the records of every visible day at once.
    std::map<QString, Entry> entries_;
    QHash<QString, DayRecord> none_;
    int parses_ = 0;
};

// One cell of the calendar.
struct CalendarCell {
    QList<int> problems;  // the deadline scores above 0, in row order
    int payments = 0;     // late payments on the day
    bool hasRecord = false;
    int taskCount = 0;
    bool overdue = false;  // a task of the record is overdue
    QString shortMessage;
};

// The cells of the visible projects and days, computed in one pass per
// project: its progress rows are read once (through the progress cache, or
// from the tables for the project they hold) and each day file once.
class CalendarData {
  public:
    // Projects rows from firstRow to lastRow (clipped to the table), every column.
    void Compute(Workspace& ws, const CalendarView& view, int firstRow, int lastRow,
                 bool withRecords);
    // Recomputes one project row (after its record or progress changed).
    void ComputeRow(Workspace& ws, const CalendarView& view, int row, bool withRecords);
    // An empty cell outside what was computed.
    const CalendarCell& Cell(int row, int column) const;

    ProgressCache& Progress() { return progress_; }
    DayFileCache& DayFiles() { return dayFiles_; }

    // A project's deadline and payment dates, parsed once per read of its file.
    struct ProjectDates {
        QList<DeadlineDates> deadlines;
        QList<PaymentDates> payments;
    };

  private:
    ProjectDates DatesOf(Workspace& ws, const QString& number, const QString& fileName);

    QHash<int, QList<CalendarCell>> rows_;
    QHash<QString, ProjectDates> dates_;  // by progress file path
    CalendarCell empty_;
    ProgressCache progress_;
    DayFileCache dayFiles_;
};
