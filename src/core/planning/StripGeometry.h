#pragma once

#include <QSize>

class Table;

// The dates the main window's timeline strip draws for one item. A date of
// 1000 or less is missing (the empty date is 3.0).
struct StripDates {
    double planFrom = 0;
    double planTo = 0;
    double actualFrom = 0;
    double actualTo = 0;
    double realFrom = 0;
    double realTo = 0;
};

// The dates of a deadline row (kind 1) or a finance row (kind 4) of table;
// finance rows have no realistic term, so its two dates are 0.
StripDates StripDatesOf(const Table& table, int kind, int row);

// Day ↔ pixel of the strip: the range spans today ± 30 days, widened to every
// known date of the item, with 10 more days on the left, over the strip's
// width less a 20-pixel margin.
class StripScale {
  public:
    StripScale() = default;
    StripScale(const StripDates& dates, double now, int width);

    double Start() const { return start_; }
    double End() const { return end_; }
    double PixelsPerDay() const { return scale_; }
    // Rounded halves to even; days far outside the range stay far outside the strip.
    int X(double day) const;

  private:
    double start_ = 0;
    double end_ = 1;
    double scale_ = 1;
};

// A bar from one corner to the other; right may lie left of left when the
// item's dates are in the wrong order.
struct StripBar {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where the parts of the strip go for one item.
struct StripLayout {
    StripScale scale;
    StripBar plan;    // upper half, blue
    StripBar actual;  // lower half, red
    int markerX = 0;  // the yellow line across the strip
    int realFromX = 0;
    int realToX = 0;
    int realY = 0;  // the green line of the realistic term
};

// Missing plan dates become today (the end: the start), missing actual dates
// likewise; the marker stands on markerDay, or on today when it is 0 or less.
StripLayout LayoutStrip(const StripDates& dates, double now, double markerDay, QSize size);
