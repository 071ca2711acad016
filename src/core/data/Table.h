#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

// Item kinds: the code of a table, also a record kind of the change log.
enum TableKind : int {
    kDeadlineTable = 1,
    kProjectTable = 2,
    kFinanceTable = 4,
    kResultsTable = 5,
    kTemplateTable = 6,
    kTemplateTableWithDefaults = 61,
};

// A grid of text cells addressed by (column, row) from 0; row 0 holds the headers
// and column 0 the row number. Lowering the row count hides rows without erasing
// them; raising it shows their old texts again. Cells beyond the column count are
// kept too (the template file carries one column more than the grid shows).
class Table {
  public:
    explicit Table(int kind = 0) : kind_(kind) {}

    int Kind() const { return kind_; }
    int RowCount() const { return rowCount_; }
    int ColumnCount() const { return columnCount_; }
    void SetRowCount(int rows);
    void SetColumnCount(int columns) { columnCount_ = qMax(0, columns); }

    // Empty beyond the row count or where nothing was written.
    QString Cell(int column, int row) const;
    // Writing beyond the row count first raises it to row + 1.
    void SetCell(int column, int row, const QString& text);
    void SwapRowCells(int rowA, int rowB, int firstColumn);

    int FixedColumns() const { return fixedColumns_; }
    int FixedRows() const { return fixedRows_; }
    int ColumnWidth(int column) const;
    int DefaultColumnWidth() const { return defaultWidth_; }
    QColor HeaderColor() const { return headerColor_; }
    QColor FixedColumnColor() const { return fixedColumnColor_; }
    int Height() const { return height_; }

    // The single selected cell and the top visible row, as the grid shows them.
    int SelectedColumn() const { return selectedColumn_; }
    int SelectedRow() const { return selectedRow_; }
    int TopRow() const { return topRow_; }
    void Select(int column, int row);
    void SetTopRow(int row) { topRow_ = row; }

    // Column layout, header colour and fixed parts, as SetupTable lays them out.
    void SetLayout(int columns, const QList<int>& widths, int defaultWidth, int fixedColumns,
                   int fixedRows, QColor header, QColor fixedColumn, int height);

  private:
    int kind_;
    int rowCount_ = 0;
    int columnCount_ = 0;
    QList<QStringList> rows_;
    QList<int> widths_;
    int defaultWidth_ = 64;
    int fixedColumns_ = 1;
    int fixedRows_ = 1;
    QColor headerColor_;
    QColor fixedColumnColor_;
    int height_ = 120;
    int selectedColumn_ = 1;
    int selectedRow_ = 1;
    int topRow_ = 1;
};

// Lays out the table of the kind: columns, widths, colours, row count 2 (results
// 3) and the header row; kind 2 writes the sample project into row 1, kind 5
// empties the results, kind 61 also loads the default task templates.
// financeVatText is the configured "popis_DPH" of the finance header.
void SetupTable(Table& table, int kind, const QString& financeVatText);

// The headers of the five tables, as SetupTable writes them into row 0.
QStringList TableHeaders(int kind, const QString& financeVatText = QString());

// First row whose column-1 text occurs in text (empty cells never match), else 0.
int FindProjectRowIn(const Table& projects, const QString& text);

// The 16 default task template lines.
const QStringList& DefaultTemplateLines();
