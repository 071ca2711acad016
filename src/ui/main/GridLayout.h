#pragma once

#include <QColor>
#include <QList>

// How a grid shows its table: the column widths, the header and fixed-column
// colours and the fixed rows and columns besides the header row and the
// row-number column. The table itself holds only the cells.
struct GridLayout {
    QList<int> widths;  // by table column from 0; 0 or missing: the default width
    int defaultWidth = 64;
    int fixedColumns = 1;
    int fixedRows = 1;
    QColor headerColor;
    QColor fixedColumnColor;  // invalid: the header colour

    int ColumnWidth(int column) const;
    QColor FixedColumnColour() const {
        return fixedColumnColor.isValid() ? fixedColumnColor : headerColor;
    }
};

// The designed layout of the grid that shows a table of the kind.
GridLayout GridLayoutOf(int kind);

// The cell a grid shows selected and the row it scrolls to the top, in table
// coordinates. A grid keeps its own: only the table of the current item has
// its selected cell in the core (the current item).
struct GridSelection {
    int column = 1;
    int row = 1;
    int topRow = 1;
};
