#include "TimelineStrip.h"

#include <QPainter>

#include "Workspace.h"
#include "data/Dates.h"

namespace {

// The system's scroll-bar colour, on which the strip was designed.
const QColor kBackground(0xC8, 0xC8, 0xC8);
const QColor kPlan(0x00, 0x00, 0xFF);
const QColor kActual(0xFF, 0x00, 0x00);
const QColor kMarker(0xFF, 0xFF, 0x00);
const QColor kReal(0x00, 0x80, 0x00);
constexpr int kLineWidth = 3;

// A bar with a black outline, filled; a bar without width stays a black line.
void DrawBar(QPainter& p, const StripBar& bar, const QColor& fill) {
    const int left = qMin(bar.left, bar.right);
    const int right = qMax(bar.left, bar.right);
    const int top = qMin(bar.top, bar.bottom);
    const int bottom = qMax(bar.top, bar.bottom);
    if (right - left <= 1) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(left, top, left, bottom - 1);
        return;
    }
    // The corners are the outer edge, the right and bottom one excluded.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fill);
    p.drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).adjusted(0, 0, -1, -1));
}

}  // namespace

TimelineStrip::TimelineStrip(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("Strip"));
    setFixedSize(kWidth, kHeight);
    setToolTip(
        QStringLiteral("Graf - Modrý pruh je plánovaný časový rozsah, Ćervený skutečný, Žlutá "
                       "přímka ukazuje dnešek, Zelená přímka reálnou možnost plnění."));
    // Nothing is drawn until an item is shown.
    hide();
}

void TimelineStrip::ShowItem(int kind, int row) {
    if (kind != kDeadlineTable && kind != kFinanceTable) return;
    const Table* table = ws_.TableOf(kind);
    kind_ = kind;
    dates_ = StripDatesOf(*table, kind, row);
    now_ = NowDay();
    Relayout();
    show();
    repaint();
}

void TimelineStrip::SetMarkerDay(double day) {
    markerDay_ = day;
    if (!HasItem()) return;
    Relayout();
    update();
}

void TimelineStrip::Relayout() {
    layout_ = LayoutStrip(dates_, now_, markerDay_, size());
}

void TimelineStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kBackground);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!HasItem()) return;

    const StripLayout& l = layout_;
    DrawBar(p, l.plan, kPlan);
    DrawBar(p, l.actual, kActual);
    p.setPen(QPen(kMarker, kLineWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(l.markerX, 0, l.markerX, height());
    p.setPen(QPen(kReal, kLineWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(l.realFromX, l.realY, l.realToX, l.realY);
}
