#pragma once

#include <QObject>
#include <functional>

#include "data/Table.h"

// The item every window works on: the table kind, the column and row selected
// in it, and the current project (a row of the project table). One object owns
// it, so that a window never keeps a row number of its own: the operations
// that move rows move it along with its row, and every change is announced by
// currentChanged.
class CurrentItem : public QObject {
    Q_OBJECT
  public:
    struct Place {
        int kind = kDeadlineTable;
        int column = 1;
        int row = 1;
        int projectRow = 0;
        bool operator==(const Place&) const = default;
    };

    using QObject::QObject;

    int Kind() const { return place_.kind; }
    int Column() const { return place_.column; }
    int Row() const { return place_.row; }
    int ProjectRow() const { return place_.projectRow; }
    const Place& Where() const { return place_; }
    // Whether the item is this cell of this table.
    bool Is(int kind, int column, int row) const {
        return place_.kind == kind && place_.column == column && place_.row == row;
    }

    // The one way to change it; the forms below build on it. Returns whether
    // anything changed (only then is currentChanged emitted).
    bool MoveTo(const Place& place);
    bool Select(int kind, int column, int row);
    // Keeps the column.
    bool SelectRow(int kind, int row);
    bool SetProjectRow(int row);

    // The rows of a table were put into another order; newRowOf gives each old
    // row's new number. The item and the current project go with their rows.
    void FollowRows(int kind, const std::function<int(int)>& newRowOf);
    // A row of a table was taken out and the rows below it moved up; rows is
    // the table's row count afterwards. An item on the removed row stays on
    // its number, which the next row now holds (the last row when it was the last).
    void FollowRemovedRow(int kind, int row, int rows);
    // The progress tables were filled from another file: an item of theirs
    // goes back to row 1, as no row of the old file is there any more.
    void ProgressReloaded();

  signals:
    void currentChanged();
    // Sent by FollowRows, whether or not the item moved: grids that keep a
    // selected cell of their own take it along with its row.
    void rowsReordered(int kind, const std::function<int(int)>& newRowOf);

  private:
    Place place_;
};
