#pragma once

#include <QHash>
#include <QImage>
#include <QWidget>
#include <map>

#include "diary/Calendar.h"

class QDateEdit;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;
class Workspace;

// The diary calendar: the projects as rows, days as columns, each cell showing
// weekends and today, the project's deadline problems on that day and, where a
// day record exists, its frame, counters and short message. The pictures are
// drawn into images at every redraw; the pointer's cell outline (a NOT-XOR
// figure) and the row and column marks are drawn over them.
class Graf : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTopBarHeight = 22;
    static constexpr int kHeaderHeight = 21;
    static constexpr int kListWidth = 240;

    explicit Graf(Workspace& ws, QWidget* parent = nullptr);

    // Redraws everything: frame, every cell, the current-cell outline.
    void RefreshCalendar();
    // Redraws the cells of project row p (0: every visible row) in column i
    // (0: every column); returns the deadline problem count of the last cell.
    int FillCalendarCells(int p, int i);
    void MarkCurrentCell();

    const CalendarView& View() const { return view_; }
    CalendarData& Data() { return data_; }
    void SetFirstDay(double first);
    int CurrentDay() const { return currentDay_; }
    int CurrentRow() const { return currentRow_; }
    // The grid picture, as last drawn (without the pointer's marks).
    const QImage& GridImage() const { return grid_; }

    // Pointer events of the three pictures, in the picture's coordinates.
    enum class Picture { Header, List, Grid };
    void PointerMoved(Picture picture, QPoint position);
    void PointerPressed(Picture picture, QPoint position, Qt::MouseButton button);
    void PaintPicture(Picture picture, QWidget* target, const QRect& area);

  signals:
    // A cell was clicked: the day entry shows column's day for project row;
    // open says whether it opens (right button on the grid). A click that
    // chose every project closes the day entry instead (row 0).
    void cellChosen(int column, double day, int row, bool open);
    // The finance overview is wanted for the project set just chosen.
    void financeOverviewWanted();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void DrawFrame();
    // cells: (column, project row); single: one project's row, drawn with its chart.
    void DrawCells(QPainter& painter, const QList<QPoint>& cells, bool single, bool onWhite);
    void ShowDayOverview();
    void HideDayOverview();
    void DeleteColumn();
    void PrintMinutes();
    void ToggleHeight();
    void ChooseCell(Picture picture, Qt::MouseButton button);
    // A cell text with its top left corner at (x, y).
    void DrawText(QPainter& painter, int x, int y, const QString& text, const QColor& colour);
    // The pixels the pointer's marks cover on each picture, to repaint only those.
    void UpdateMarks();

    Workspace& ws_;
    CalendarView view_;
    CalendarData data_;
    int currentDay_ = 0;
    int currentRow_ = 0;
    QPoint pointer_;

    QImage header_;
    QImage list_;
    QImage grid_;
    QWidget* headerPicture_ = nullptr;
    QWidget* listPicture_ = nullptr;
    QWidget* gridPicture_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QDateEdit* firstDay_ = nullptr;
    QLabel* coordinates_ = nullptr;
    QFrame* overview_ = nullptr;
    QLabel* overviewCaption_ = nullptr;
    QLabel* projectCount_ = nullptr;
    QPushButton* print_ = nullptr;
    int overviewColumn_ = 0;
    QHash<QString, QImage> texts_;
    // The shapes of one redraw by colour, kept between redraws so that their
    // storage is not allocated again for every redraw (a map: the lists are
    // held by reference while more colours are added).
    std::map<QRgb, QList<QRect>> fills_;
    QList<QRect> records_;
};
