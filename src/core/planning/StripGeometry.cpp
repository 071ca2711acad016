#include "StripGeometry.h"

#include <cmath>
#include <limits>

#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/Table.h"

namespace {

constexpr double kDaysAround = 30;
constexpr double kLeftMargin = 10;
constexpr int kWidthMargin = 20;

int Round(double value) {
    // The default rounding mode rounds halves to even.
    const double rounded = std::nearbyint(value);
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    if (!(rounded >= low)) return std::numeric_limits<int>::min();
    if (rounded > high) return std::numeric_limits<int>::max();
    return int(rounded);
}

}  // namespace

StripDates StripDatesOf(const Table& table, int kind, int row) {
    StripDates d;
    d.planFrom = ParseDate(table.Cell(Deadline::PlanStart, row));
    d.planTo = ParseDate(table.Cell(Deadline::PlanEnd, row));
    d.actualFrom = ParseDate(table.Cell(Deadline::ActualStart, row));
    d.actualTo = ParseDate(table.Cell(Deadline::ActualEnd, row));
    if (kind == kDeadlineTable) {
        d.realFrom = ParseDate(table.Cell(Deadline::RealStart, row));
        d.realTo = ParseDate(table.Cell(Deadline::RealEnd, row));
    }
    return d;
}

StripScale::StripScale(const StripDates& dates, double now, int width) {
    start_ = now - kDaysAround;
    end_ = now + kDaysAround;
    const double end = end_;
    for (double v : {dates.planFrom, dates.planTo, dates.actualFrom, dates.actualTo, now, end,
                     dates.realFrom, dates.realTo}) {
        if (!IsDateSet(v)) continue;
        if (v < start_) start_ = v;
        if (v > end_) end_ = v;
    }
    start_ -= kLeftMargin;
    scale_ = double(width - kWidthMargin) / (end_ - start_);
}

int StripScale::X(double day) const {
    return Round((day - start_) * scale_);
}

StripLayout LayoutStrip(const StripDates& dates, double now, double markerDay, QSize size) {
    StripLayout l;
    l.scale = StripScale(dates, now, size.width());
    StripDates d = dates;
    if (!IsDateSet(d.planFrom)) d.planFrom = now;
    if (!IsDateSet(d.planTo)) d.planTo = d.planFrom;
    if (!IsDateSet(d.actualFrom)) d.actualFrom = now;
    if (!IsDateSet(d.actualTo)) d.actualTo = d.actualFrom;

    const double h = size.height();
    const StripScale& s = l.scale;
    l.plan = {s.X(d.planFrom), 1, s.X(d.planTo), Round(h / 2 - 2)};
    l.actual = {s.X(d.actualFrom), Round(h / 2 + 2), s.X(d.actualTo), size.height()};
    l.markerX = s.X(markerDay > 0 ? markerDay : now);
    // An item without a realistic term has its line at day 0, far off the strip.
    l.realFromX = s.X(d.realFrom);
    l.realToX = s.X(d.realTo);
    l.realY = Round(h / 2);
    return l;
}
