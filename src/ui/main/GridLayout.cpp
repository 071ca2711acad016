#include "GridLayout.h"

#include "data/Table.h"

namespace {

// Column widths in pixels by table column; 0: the grid's default width.
const QList<int> kProjectWidths = {20, 60, 130, 150, 150, 80, 80, 100, 100, 0, 0, 90, 90, 0, 70};
const QList<int> kProgressWidths = {20, 60, 130, 150, 100, 70,  70,  70,  70,
                                    55, 80, 80,  200, 120, 150, 150, 100, 100};
const QList<int> kFinanceWidths = {20, 60, 130, 150, 100, 70,  70,  90,  90,
                                   90, 90, 90,  200, 120, 150, 150, 100, 100};
const QList<int> kTemplateWidths = {20, 60, 130, 150, 100, 70,  70,  70, 70,
                                    55, 80, 80,  120, 150, 150, 150, 150};
const QList<int> kResultWidths = {21, 26, 65, 96, 65, 65, 80, 80, 80, 80, 80, 80, 86, 86,
                                  80, 80, 80, 80, 80, 80, 86, 86, 16, 86, 86, 86, 0};

// The deadline grid's header is the system's button face.
const QColor kButtonFace(0xF0, 0xF0, 0xF0);

}  // namespace

int GridLayout::ColumnWidth(int column) const {
    const int w = column >= 0 && column < widths.size() ? widths[column] : 0;
    return w > 0 ? w : defaultWidth;
}

GridLayout GridLayoutOf(int kind) {
    GridLayout layout;
    switch (kind) {
        case kProjectTable:
            layout.widths = kProjectWidths;
            layout.headerColor = QColor(Qt::yellow);
            break;
        case kDeadlineTable:
            layout.widths = kProgressWidths;
            layout.defaultWidth = 70;
            layout.headerColor = kButtonFace;
            layout.fixedColumnColor = kButtonFace;
            break;
        case kFinanceTable:
            layout.widths = kFinanceWidths;
            layout.defaultWidth = 70;
            layout.headerColor = QColor(0x00, 0xFF, 0x00);  // lime
            break;
        case kResultsTable:
            layout.widths = kResultWidths;
            layout.defaultWidth = 72;
            layout.headerColor = QColor(Qt::cyan);  // aqua
            layout.fixedColumns = 4;
            layout.fixedRows = 2;
            break;
        case kTemplateTable:
        case kTemplateTableWithDefaults:
            layout.widths = kTemplateWidths;
            layout.headerColor = QColor(Qt::magenta);  // fuchsia
            break;
        default:
            break;
    }
    return layout;
}
