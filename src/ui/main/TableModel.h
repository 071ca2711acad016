#pragma once

#include <QAbstractTableModel>

#include "GridLayout.h"

class Table;
class Workspace;

// Shows a core Table in a view. Table row 0 is the horizontal header and table
// column 0 (the row number) the vertical header, so model (row, column) is table
// (column + 1, row + 1). The grid's further fixed rows and columns (the results
// grid has them) are drawn in the header colour and cannot be selected.
//
// The core changes its tables without asking and then announces the change:
// rows inserted, removed or changed, or the whole table (a load, a sort). The
// model caches the table's size and follows each notice with the matching
// model signal, so that views keep their scroll position, selection and column
// widths; until then views see the old size and never read past it.
//
// Only the task template table is edited in place; an edit goes straight into
// the table and marks the templates changed. Rows of the project, deadline,
// finance and template tables can be moved.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    TableModel(Workspace& ws, Table& table, QObject* parent = nullptr);

    const Table& table() const { return table_; }
    // The designed layout of the table's grid: widths, colours, fixed parts.
    const GridLayout& Layout() const { return layout_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    bool Editable() const;
    bool RowsMovable() const;
    // Moves table row from to the place of table row to (both 1 …), shifting the
    // rows between; marks the table changed. The deadline table keeps its row
    // numbers 1, 2, 3 … in place, the other tables move them with their rows.
    bool MoveRow(int from, int to);

    // Table coordinates of a model index, and back.
    static int TableColumn(const QModelIndex& index) { return index.column() + 1; }
    static int TableRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex IndexOf(int tableColumn, int tableRow) const;

    // True for the cells that the grid keeps fixed besides its header row and
    // row-number column.
    bool IsFixed(const QModelIndex& index) const;

    // Reloads everything from the table.
    void Refresh();

  signals:
    // Sent before rows go, ahead of the selection models, which would move
    // their current cell to a neighbouring row.
    void removingRows();

  private:
    void RowsInserted(int first, int last);
    void RowsRemoved(int first, int last);
    void RowsChanged(int first, int last);

    Workspace& ws_;
    Table& table_;
    const GridLayout layout_;
    int rows_ = 0;
    int columns_ = 0;
};
