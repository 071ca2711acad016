#include "Search.h"

#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"

bool IsSearchable(int kind) {
    switch (kind) {
        case kDeadlineTable:
        case kProjectTable:
        case kFinanceTable:
        case kTemplateTable:
        case kResultsTable:
            return true;
        default:
            return false;
    }
}

SearchResult Search(Workspace& ws, const QString& text) {
    SearchResult result;
    const int kind = ws.Current().Kind();
    const int column = ws.Current().Column();
    if (IsSearchable(kind) && !text.isEmpty()) {
        const Table& table = *ws.TableOf(kind);
        const int rows = table.RowCount();
        ws.NotifyGauge(0, rows);
        for (int r = 1; r < rows; ++r) {
            ws.NotifyGauge(r, rows);
            const QString cell = table.Cell(column, r);
            if (!cell.contains(text, Qt::CaseSensitive)) continue;
            QString entry = QString::number(r) + u'/' + cell;
            if (kind == kDeadlineTable) entry += u'/' + table.Cell(Deadline::Classification, r);
            result.entries << entry;
            ++result.count;
        }
        ws.NotifyGauge(0, rows);
    }
    result.label = text + QStringLiteral(" Vyhledáno ") + QString::number(result.count) +
                   QStringLiteral(" krát");
    return result;
}

int HitRow(const QString& entry) {
    return ParseInt(SplitFields(entry, 2, u'/')[0]);
}
