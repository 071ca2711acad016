#pragma once

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>

#include "GanttGeometry.h"

class LinkRecorder;
class Workspace;

inline constexpr const char16_t* kLabelLinksRemoved = u"Zrušené_vazby____________";

// The editing modes of the diagram's pop-up menu.
enum class GanttMode { None, Moves, Predecessors, Superiors };

// What the diagram asks the window to draw on top of its picture while the
// mouse is held, and the line that stays after a link was recorded.
struct GanttOverlay {
    bool outline = false;  // the bar being moved, (x1, y1)–(x2, y2)
    QRect outlineRect;
    QColor outlineFill;
    bool rubberLine = false;  // from the link anchor to the pointer
    QLine rubber;
    QColor lineColour;
};

// The mouse on the Gantt diagram: hit testing, moving and resizing bars and
// drawing links between them, with the change-log records around every edit.
// The window hands it the scale it draws with and paints what it reports.
class GanttInteraction {
  public:
    GanttInteraction(Workspace& ws, LinkRecorder& links);

    void SetScale(const GanttScale& scale) { scale_ = scale; }
    const GanttScale& Scale() const { return scale_; }
    void SetMode(GanttMode mode) { mode_ = mode; }
    GanttMode Mode() const { return mode_; }
    // Whether the user may choose an editing mode (asked without a message).
    bool ModesAllowed() const;

    // The hit test at the pointer: the current row becomes the row under it
    // (0 for none); the information labels follow.
    int HitAt(QPoint at);
    int HoverCode() const { return hover_; }
    int CurrentRow() const { return row_; }
    // "X/Y/row/code    from  to" of the last hit; kept while nothing is hit.
    const QString& UpperLabel() const { return upper_; }
    // "Zařazení" of the current row (the column header with no row).
    QString LowerLabel() const;

    // Left press on a bar starts a move or a link in the chosen mode; any
    // press appends a trace line.
    void Press(Qt::MouseButton button, QPoint at);
    // Returns whether the overlay changed.
    bool Move(QPoint at);
    // Left release: commits the move or the link. Returns whether a table changed.
    bool Release(Qt::MouseButton button, QPoint at);
    bool Dragging() const { return x1_ != 0 && y1_ != 0; }
    GanttOverlay Overlay() const;
    // After a recorded link: anchor → target, and the target point.
    bool TakeFinalLink(QLine& line, QColor& colour);

    // The pop-up items that act on the current row; false when nothing was done.
    bool RemoveLinks();
    bool DeleteRow();

  private:
    bool CommitMove();
    bool CommitLink(int target);
    // Edits only rows the diagram draws: rows of other projects answer the
    // hit test but must not be changed unseen.
    bool Drawn(int row) const;
    void Log(const char16_t* label, int row);

    Workspace& ws_;
    LinkRecorder& links_;
    GanttScale scale_;
    GanttMode mode_ = GanttMode::None;
    int hover_ = 0;
    int row_ = 0;
    QString upper_;
    // The drag: outline corners, a drag while x1 and y1 are both non-zero.
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    int startX1_ = 0, startX2_ = 0;  // the bar's ends at the press
    int grab_ = 0;
    int length_ = 0;
    int pressedRow_ = 0;
    QPoint anchor_;
    QColor fill_;
    bool finalPending_ = false;
    QLine finalLine_;
};

// The links of a row are all taken out: its ID cell keeps only its own identifier.
void RemoveRowLinks(Workspace& ws, int row);
