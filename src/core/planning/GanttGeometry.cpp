#include "GanttGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/Table.h"

namespace {

constexpr int kEdgeWidth = 5;  // the grip of a bar's ends, in pixels
constexpr double kMonthLabelSpacing = 35;

double BarDate(const Table& t, int column, int row) {
    return ParseDate(t.Cell(column, row));
}

}  // namespace

int RoundHalfEven(double value) {
    // The default rounding mode rounds halves to even.
    const double rounded = std::nearbyint(value);
    constexpr double low = std::numeric_limits<int>::min() / 2;
    constexpr double high = std::numeric_limits<int>::max() / 2;
    // Far-off dates (the empty date at any zoom) stay far off without overflowing.
    if (!(rounded >= low)) return int(low);
    if (rounded > high) return int(high);
    return int(rounded);
}

int GanttScale::X(double day) const {
    return RoundHalfEven((day - p_.origin - p_.dayOffset) * p_.scale);
}

double GanttScale::Day(int x) const {
    return p_.origin + p_.dayOffset + x / p_.scale;
}

int GanttScale::BarHeight() const {
    return RoundHalfEven(p_.rowHeight / 3.0);
}

GanttBarDates BarDatesOf(const Table& t, int row, double startMoment) {
    GanttBarDates d;
    d.planFrom = BarDate(t, Deadline::PlanStart, row);
    d.planTo = BarDate(t, Deadline::PlanEnd, row);
    d.actualFrom = BarDate(t, Deadline::ActualStart, row);
    d.actualTo = BarDate(t, Deadline::ActualEnd, row);
    if (d.planFrom < kSetDateThreshold) d.planFrom = startMoment;
    if (d.planTo < kSetDateThreshold) d.planTo = d.planFrom + 1;
    if (d.actualFrom < kSetDateThreshold) d.actualFrom = startMoment;
    if (d.actualTo < kSetDateThreshold) d.actualTo = d.actualFrom + 1;
    return d;
}

GanttBarPixels BarPixelsOf(const Table& t, int row, double startMoment, const GanttScale& s) {
    const GanttBarDates d = BarDatesOf(t, row, startMoment);
    return {s.X(d.planFrom), s.X(d.planTo), s.X(d.actualFrom), s.X(d.actualTo)};
}

GanttHit HitTest(const Table& t, double startMoment, const GanttScale& s, QPoint at) {
    const int X = at.x();
    const int Y = at.y();
    const int h = s.BarHeight();
    const int H = qMax(1, s.Parameters().rowHeight);
    const int R = s.Parameters().firstRow;
    // Only rows whose baseline lies within a bar's height of the pointer can
    // match; rows are still tried from the top, so the first match is the same.
    const int low = qMax(1, R + int(std::ceil(double(Y - 1 - h) / H)));
    const int high = qMin(t.RowCount() - 1, R + int(std::floor(double(Y + 1 + h) / H)));
    for (int r = low; r <= high; ++r) {
        const int y = s.Y(r);
        const bool planRow = y - 1 - h <= Y && Y < y;
        const bool actualRow = y <= Y && Y <= y + 1 + h;
        if (!planRow && !actualRow) continue;
        const GanttBarPixels b = BarPixelsOf(t, r, startMoment, s);
        int code = kHitNone;
        if (planRow) {
            if (b.planStart < X && X <= b.planEnd) code = kHitPlan;
            if (b.planStart <= X && X < b.planStart + kEdgeWidth) code = kHitPlanStart;
            if (b.planEnd - kEdgeWidth <= X && X <= b.planEnd) code = kHitPlanEnd;
        }
        if (actualRow) {
            if (b.actualStart < X && X <= b.actualEnd) code = kHitActual;
            if (b.actualStart <= X && X < b.actualStart + kEdgeWidth) code = kHitActualStart;
            if (b.actualEnd - kEdgeWidth <= X && X <= b.actualEnd) code = kHitActualEnd;
        }
        if (code != kHitNone) return {code, r};
    }
    return {};
}

Qt::CursorShape CursorOfHit(int code) {
    switch (code) {
        case kHitPlan:
        case kHitActual:
            return Qt::CrossCursor;
        case kHitPlanStart:
        case kHitPlanEnd:
        case kHitActualStart:
        case kHitActualEnd:
            return Qt::SizeHorCursor;
        default:
            return Qt::ArrowCursor;
    }
}

bool BelongsToProject(const Table& t, int row, const QString& projectNumber) {
    return t.Cell(Deadline::KindAndProject, row).contains(projectNumber);
}

bool IsSingleOperation(const Table& t, int row) {
    return t.Cell(Deadline::Identifier, row).contains(QLatin1String("N-"));
}

QString LinkedIdentifierOf(const Table& t, int row, QStringView marker) {
    const QString cell = t.Cell(Deadline::Identifier, row);
    if (!cell.contains(QStringLiteral("/") + marker.toString())) return {};
    const FieldBuffer fields = SplitFields(cell, 3, u'/');
    QString linked;
    for (int i = 1; i <= 2; ++i)
        if (fields[i].contains(marker)) linked = fields[i].mid(2);
    return linked;
}

IdPrefixIndex::IdPrefixIndex(const Table& t) {
    const int rows = t.RowCount();
    entries_.reserve(size_t(qMax(0, rows - 1)));
    for (int r = 1; r < rows; ++r) entries_.push_back({t.Cell(Deadline::Identifier, r), r});
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        const int c = QString::compare(a.cell, b.cell);
        return c != 0 ? c < 0 : a.row < b.row;
    });
}

std::vector<int> IdPrefixIndex::RowsBeginningWith(const QString& identifier) const {
    std::vector<int> rows;
    auto it = std::lower_bound(
        entries_.begin(), entries_.end(), identifier,
        [](const Entry& e, const QString& id) { return QString::compare(e.cell, id) < 0; });
    for (; it != entries_.end() && it->cell.startsWith(identifier); ++it) rows.push_back(it->row);
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<double> MonthLineDays(const GanttScale& s, int width) {
    std::vector<double> days;
    // Without a positive scale no line would ever pass the right edge.
    if (!(s.Parameters().scale > 0)) return days;
    const double origin = s.Parameters().origin;
    const QDate first = DateFromDay(origin);
    // The first day of the next month: a December origin gives 1 January.
    const QDate next = QDate(first.year(), first.month(), 1).addMonths(1);
    double d = origin;
    for (int k = 1;; ++k) {
        days.push_back(d);
        if (s.X(d) > width) break;
        d = DayFromDate(next.addMonths(k - 1));
    }
    return days;
}

bool MonthLabelShown(const GanttScale& s, double day) {
    return 30 * s.Parameters().scale > kMonthLabelSpacing || DateFromDay(day).month() == 1;
}

bool DayTicksShown(double scale) {
    return scale > 2;
}
bool DayLinesShown(double scale) {
    return scale > 7;
}
bool DayNumbersShown(double scale) {
    return scale > 15;
}

QString CellDateAt(const GanttScale& s, int x) {
    return FormatDate(s.Day(x));
}
