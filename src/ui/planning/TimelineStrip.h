#pragma once

#include <QWidget>

#include "planning/StripGeometry.h"

class Workspace;

// The main window's timeline strip: for the item the entry window shows, the
// planned span (blue, upper half), the actual span (red, lower half), the
// realistic term (green line) and a yellow marker on today. The core lays the
// parts out; the widget only paints them.
class TimelineStrip : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 711;
    static constexpr int kHeight = 38;

    explicit TimelineStrip(Workspace& ws, QWidget* parent = nullptr);

    // Draws row of the deadline (1) or finance (4) table at once and shows the
    // strip; other kinds leave it as it is.
    void ShowItem(int kind, int row);
    // The day the diary calendar has chosen: the marker stands on it instead
    // of today. 0 puts it back on today.
    void SetMarkerDay(double day);

    bool HasItem() const { return kind_ != 0; }
    const StripLayout& Layout() const { return layout_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Relayout();

    Workspace& ws_;
    int kind_ = 0;
    StripDates dates_;
    double now_ = 0;
    double markerDay_ = 0;
    StripLayout layout_;
};
