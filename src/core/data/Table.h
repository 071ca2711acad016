#pragma once

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
// It holds data only: column widths, colours and the selected cell belong to
// the grid that shows it.
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

  private:
    int kind_;
    int rowCount_ = 0;
    int columnCount_ = 0;
    QList<QStringList> rows_;
};

// Lays out the table of the kind: column count, row count 2 (results 3) and
// the header row; kind 2 writes the sample project into row 1, kind 5
// empties the results, kind 61 also loads the default task templates.
// financeVatText is the configured "popis_DPH" of the finance header.
void SetupTable(Table& table, int kind, const QString& financeVatText);

// The headers of the five tables, as SetupTable writes them into row 0.
QStringList TableHeaders(int kind, const QString& financeVatText = QString());

// First row whose column-1 text occurs in text (empty cells never match), else 0.
int FindProjectRowIn(const Table& projects, const QString& text);

// The 16 default task template lines.
const QStringList& DefaultTemplateLines();
