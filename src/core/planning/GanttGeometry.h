#pragma once

#include <QtCore/qnamespace.h>

#include <QPoint>
#include <QString>
#include <QStringView>
#include <vector>

class Table;

// The display parameters of the Gantt diagram, as the configuration keeps them.
struct GanttParameters {
    double origin = 0;    // T0: the start of the overall time range
    int dayOffset = 100;  // S: days between T0 and the left edge
    double scale = 1.0;   // N: pixels per day
    int firstRow = 0;     // R: the deadline row drawn at the top
    int rowHeight = 23;   // H: pixels per row
};

// Day ↔ pixel and row ↔ pixel of the diagram. Rounding halves to even.
class GanttScale {
  public:
    GanttScale() = default;
    explicit GanttScale(const GanttParameters& p) : p_(p) {}

    const GanttParameters& Parameters() const { return p_; }
    // round((d − T0 − S) × N)
    int X(double day) const;
    // T0 + S + x / N
    double Day(int x) const;
    // (r − R) × H: the baseline of row r; the plan bar lies above it, the actual bar below.
    int Y(int row) const { return (row - p_.firstRow) * p_.rowHeight; }
    // round(H / 3): the height of one bar.
    int BarHeight() const;

  private:
    GanttParameters p_;
};

int RoundHalfEven(double value);

// The four dates of a row's bars. A missing (set at or below 1000) start
// becomes the start-up moment, a missing end the start plus one day.
struct GanttBarDates {
    double planFrom = 0;
    double planTo = 0;
    double actualFrom = 0;
    double actualTo = 0;
};
GanttBarDates BarDatesOf(const Table& deadlines, int row, double startMoment);

// The bar pixels PS, PE, AS, AE of a row.
struct GanttBarPixels {
    int planStart = 0;
    int planEnd = 0;
    int actualStart = 0;
    int actualEnd = 0;
};
GanttBarPixels BarPixelsOf(const Table& deadlines, int row, double startMoment,
                           const GanttScale& scale);

// The zones of a row's bars under the pointer.
enum GanttHitCode : int {
    kHitNone = 0,
    kHitPlan = 10,
    kHitPlanStart = 11,
    kHitPlanEnd = 12,
    kHitActual = 20,
    kHitActualStart = 21,
    kHitActualEnd = 22,
};
inline bool IsPlanHit(int code) {
    return code >= kHitPlan && code <= kHitPlanEnd;
}
inline bool IsActualHit(int code) {
    return code >= kHitActual && code <= kHitActualEnd;
}

struct GanttHit {
    int code = kHitNone;
    int row = 0;  // 0 when no bar is under the pointer
};
// Every row of the deadline table is tested, not only the drawn project's;
// the first row (from the top) with a zone under the pointer wins, and within
// a row the later zone of the order body, start, end wins.
GanttHit HitTest(const Table& deadlines, double startMoment, const GanttScale& scale, QPoint at);
Qt::CursorShape CursorOfHit(int code);

// Whether row's "Akce číslo" contains the project number.
bool BelongsToProject(const Table& deadlines, int row, const QString& projectNumber);
// A row that names a superior is a single operation: its bars take the lighter colours.
bool IsSingleOperation(const Table& deadlines, int row);
// The identifier a row links to with marker ("N-" or "P-"), from link field 1,
// then field 2, the later one winning; empty when the ID cell has no "/"+marker.
QString LinkedIdentifierOf(const Table& deadlines, int row, QStringView marker);

// The rows whose whole ID cell begins with an identifier, found by binary search.
class IdPrefixIndex {
  public:
    explicit IdPrefixIndex(const Table& deadlines);
    std::vector<int> RowsBeginningWith(const QString& identifier) const;

  private:
    struct Entry {
        QString cell;
        int row;
    };
    std::vector<Entry> entries_;  // sorted by cell, then row
};

// The days on which the month lines stand, from T0 up to and including the
// first whose pixel lies beyond width: T0 itself, then the first of each
// following month.
std::vector<double> MonthLineDays(const GanttScale& scale, int width);
// Whether the month line's date is written: always above 35 pixels per 30
// days, else only in January.
bool MonthLabelShown(const GanttScale& scale, double day);
// Whether the lines of each day are drawn: header ticks above 2 pixels per
// day, lines across the diagram above 7, day numbers above 15.
bool DayTicksShown(double scale);
bool DayLinesShown(double scale);
bool DayNumbersShown(double scale);
// The date of a pixel as a cell writes it ("dd.mm.yyyy", the date part).
QString CellDateAt(const GanttScale& scale, int x);
