#include "GanttEdit.h"

#include <utility>

#include "../Workspace.h"
#include "../data/Columns.h"
#include "../editing/EditLabels.h"
#include "../editing/Links.h"
#include "../editing/StageSync.h"
#include "../editing/TableRows.h"
#include "../shell/Access.h"
#include "../shell/ChangeLog.h"

namespace {

const QColor kPlanColour(0x00, 0x00, 0xFF);
const QColor kActualColour(0xFF, 0x00, 0x00);
const QColor kPredecessorColour(0x00, 0x80, 0x00);
const QColor kSuperiorColour(0xFF, 0x00, 0x00);

}  // namespace

GanttInteraction::GanttInteraction(Workspace& ws, LinkRecorder& links) : ws_(ws), links_(links) {}

bool GanttInteraction::ModesAllowed() const {
    return CheckPermission(ws_, QString::fromUtf16(kNoReport), 3);
}

int GanttInteraction::HitAt(QPoint at) {
    const GanttHit hit = HitTest(ws_.Deadlines, ws_.StartMoment, scale_, at);
    row_ = hit.row;
    if (hit.code != kHitNone) {
        const bool plan = IsPlanHit(hit.code);
        const Table& t = ws_.Deadlines;
        upper_ = QStringLiteral("%1/%2/%3/%4    %5  %6")
                     .arg(at.x())
                     .arg(at.y())
                     .arg(hit.row)
                     .arg(hit.code)
                     .arg(t.Cell(plan ? Deadline::PlanStart : Deadline::ActualStart, hit.row),
                          t.Cell(plan ? Deadline::PlanEnd : Deadline::ActualEnd, hit.row));
    }
    return hit.code;
}

QString GanttInteraction::LowerLabel() const {
    return ws_.Deadlines.Cell(Deadline::Classification, row_);
}

bool GanttInteraction::Drawn(int row) const {
    return BelongsToProject(ws_.Deadlines, row, ws_.CurrentProjectNumber());
}

void GanttInteraction::Log(const char16_t* label, int row) {
    LogChange(ws_, QString(), QString::fromUtf16(label), kDeadlineTable, row);
}

void GanttInteraction::Press(Qt::MouseButton button, QPoint at) {
    if (button == Qt::LeftButton && hover_ > 0) {
        CurrentItem& current = ws_.Current();
        current.SelectRow(kDeadlineTable, row_);
        ws_.RevealGridCell(kDeadlineTable, current.Column(), row_);
        if (mode_ != GanttMode::None && Drawn(row_)) {
            pressedRow_ = row_;
            const int h = scale_.BarHeight();
            const int y = scale_.Y(row_);
            const GanttBarPixels bar = BarPixelsOf(ws_.Deadlines, row_, ws_.StartMoment, scale_);
            switch (mode_) {
                case GanttMode::Predecessors:
                case GanttMode::Superiors:
                    if (mode_ == GanttMode::Predecessors)
                        links_.RecordPredecessorLink(row_);
                    else
                        links_.RecordSuperiorLink(row_);
                    anchor_ = QPoint(bar.planEnd, y - RoundHalfEven(h / 2.0));
                    x1_ = at.x();
                    y1_ = at.y();
                    break;
                case GanttMode::Moves:
                    if (IsPlanHit(hover_)) {
                        fill_ = kPlanColour;
                        x1_ = bar.planStart;
                        x2_ = bar.planEnd;
                        y1_ = y - 2;
                        y2_ = y - 2 - h;
                    } else {
                        fill_ = kActualColour;
                        x1_ = bar.actualStart;
                        x2_ = bar.actualEnd;
                        y1_ = y + 3;
                        y2_ = y + 3 + h;
                    }
                    startX1_ = x1_;
                    startX2_ = x2_;
                    grab_ = at.x() - x1_;
                    length_ = x2_ - x1_;
                    break;
                case GanttMode::None:
                    break;
            }
        }
    } else if (button == Qt::RightButton && row_ > 0) {
        ws_.Current().SelectRow(kDeadlineTable, row_);
    }
    ws_.AppendCheck(QStringLiteral("%1 %2 Form6.Image1MouseDown")
                        .arg(ws_.Current().Kind())
                        .arg(ws_.Current().Row()));
}

bool GanttInteraction::Move(QPoint at) {
    ws_.ResetInactivity();
    if (!Dragging()) {
        hover_ = HitAt(at);
        return false;
    }
    switch (mode_) {
        case GanttMode::Predecessors:
        case GanttMode::Superiors:
            if (hover_ <= 0) return false;
            x1_ = at.x();
            y1_ = at.y();
            return true;
        case GanttMode::Moves:
            if (hover_ == kHitPlan || hover_ == kHitActual) {
                x1_ = at.x() - grab_;
                x2_ = x1_ + length_;
            } else if (hover_ == kHitPlanStart || hover_ == kHitActualStart) {
                x1_ = at.x();
            } else {
                x2_ = at.x();
            }
            return true;
        case GanttMode::None:
            break;
    }
    return false;
}

GanttOverlay GanttInteraction::Overlay() const {
    GanttOverlay o;
    if (!Dragging()) return o;
    if (mode_ == GanttMode::Moves) {
        o.outline = true;
        o.outlineRect = QRect(QPoint(x1_, y1_), QPoint(x2_, y2_)).normalized();
        o.outlineFill = fill_;
    } else if (mode_ != GanttMode::None) {
        o.rubberLine = true;
        o.rubber = QLine(anchor_, QPoint(x1_, y1_));
        o.lineColour = mode_ == GanttMode::Predecessors ? kPredecessorColour : kSuperiorColour;
    }
    return o;
}

bool GanttInteraction::Release(Qt::MouseButton button, QPoint at) {
    if (button != Qt::LeftButton) return false;
    const int code = HitAt(at);
    if (!Dragging()) return false;
    // The drag ends whatever the commit does, also when writing the log fails.
    struct EndDrag {
        GanttInteraction* self;
        ~EndDrag() { self->x1_ = self->y1_ = 0; }
    } endDrag{this};
    bool changed = false;
    if ((mode_ == GanttMode::Predecessors || mode_ == GanttMode::Superiors) && code > 0 &&
        hover_ > 0 && Drawn(row_))
        changed = CommitLink(row_);
    if (mode_ == GanttMode::Moves) changed = CommitMove();
    ws_.SetChanged(kChangedDeadlines, true);
    return changed;
}

bool GanttInteraction::CommitLink(int target) {
    const int h = scale_.BarHeight();
    const GanttBarPixels bar = BarPixelsOf(ws_.Deadlines, target, ws_.StartMoment, scale_);
    const int y = RoundHalfEven(scale_.Y(target) - h / 2.0);
    const bool predecessor = mode_ == GanttMode::Predecessors;
    const QPoint point(predecessor ? bar.planStart : bar.planEnd, y);
    TableEdit edit(ws_);
    Log(kLabelChangedOld, target);
    if (predecessor) {
        links_.RecordPredecessorLink(target);
        Log(kLabelChangedNew, target);
        links_.FinishLinking();
    } else {
        links_.RecordSuperiorLink(target);
        links_.FinishLinking();
        Log(kLabelChangedNew, target);
    }
    finalPending_ = true;
    finalLine_ = QLine(anchor_, point);
    return true;
}

bool GanttInteraction::TakeFinalLink(QLine& line, QColor& colour) {
    if (!finalPending_) return false;
    finalPending_ = false;
    line = finalLine_;
    colour = mode_ == GanttMode::Superiors ? kSuperiorColour : kPredecessorColour;
    return true;
}

bool GanttInteraction::CommitMove() {
    Table& t = ws_.Deadlines;
    const int row = pressedRow_;
    if (row < 1 || row >= t.RowCount()) return false;
    const bool plan = IsPlanHit(hover_);
    const int fromColumn = plan ? Deadline::PlanStart : Deadline::ActualStart;
    const int toColumn = plan ? Deadline::PlanEnd : Deadline::ActualEnd;
    // An end the mouse did not move keeps its date: read back from its pixel
    // it could land a day off, and a click would change the item unseen.
    const bool startKept = x1_ == startX1_;
    const bool endKept = x2_ == startX2_;
    if (startKept && endKept) return false;
    struct Edge {
        int x;
        QString text;
    };
    Edge from{x1_, startKept ? t.Cell(fromColumn, row) : CellDateAt(scale_, x1_)};
    Edge to{x2_, endKept ? t.Cell(toColumn, row) : CellDateAt(scale_, x2_)};
    // An end dragged past the other: the smaller pixel is always the start.
    if (from.x > to.x) std::swap(from, to);

    TableEdit edit(ws_);
    Log(kLabelChangedOld, row);
    t.SetCell(fromColumn, row, from.text);
    t.SetCell(toColumn, row, to.text);
    if (plan)
        t.SetCell(Deadline::Duration, row,
                  QString::number(RoundHalfEven(scale_.Day(to.x) - scale_.Day(from.x))));
    ws_.NotifyRowsChanged(kDeadlineTable, row, row);
    Log(kLabelChangedNew, row);
    PropagateLinkDates(ws_);
    if (plan && StageSyncOn(ws_) && IsStageActivity(t.Cell(Deadline::Activity, row)))
        MirrorAllStagesToFinance(ws_);
    return true;
}

bool GanttInteraction::RemoveLinks() {
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return false;
    const CurrentItem& current = ws_.Current();
    if (row_ <= 0 || current.Kind() != kDeadlineTable) return false;
    const int row = current.Row();
    if (row < 1 || row >= ws_.Deadlines.RowCount()) return false;
    TableEdit edit(ws_);
    Log(kLabelLinksRemoved, row);
    RemoveRowLinks(ws_, row);
    return true;
}

bool GanttInteraction::DeleteRow() {
    if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return false;
    CurrentItem& current = ws_.Current();
    if (row_ <= 0 || current.Kind() != kDeadlineTable) return false;
    const int row = current.Row();
    if (row < 1 || row >= ws_.Deadlines.RowCount()) return false;
    TableEdit edit(ws_);
    Log(kLabelDeleted, row);
    const QString number = ws_.CurrentProjectNumber();
    DeleteStageMirror(ws_, kDeadlineTable, row, number);
    const int shown = DeleteTableRow(ws_, kDeadlineTable, row, number);
    current.SelectRow(kDeadlineTable, shown);
    row_ = 0;
    return true;
}

void RemoveRowLinks(Workspace& ws, int row) {
    ws.Deadlines.SetCell(Deadline::Identifier, row, OwnIdentifier(ws.Deadlines, row));
    ws.SetChanged(kChangedDeadlines, true);
    ws.NotifyRowsChanged(kDeadlineTable, row, row);
}
