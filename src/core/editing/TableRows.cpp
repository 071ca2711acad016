#include "TableRows.h"

#include "../Workspace.h"
#include "../data/Columns.h"

namespace {

QString Trace(const Workspace& ws, const QString& what, int kind, int row) {
    return QString::number(ws.Current().Kind()) + u' ' + QString::number(ws.Current().Row()) +
           what + u' ' + QString::number(kind) + u' ' + QString::number(row);
}

int ChangeFlagOf(int kind) {
    switch (kind) {
        case kDeadlineTable:
            return kChangedDeadlines;
        case kFinanceTable:
            return kChangedFinance;
        case kProjectTable:
            return kChangedProjects;
        default:
            return kChangedTemplates;
    }
}

void EmptyRow(Table& t, int row, int lastColumn) {
    for (int c = AnyTable::FirstContent; c <= lastColumn; ++c) t.SetCell(c, row, QString());
}

}  // namespace

int DeleteTableRow(Workspace& ws, int kind, int row, const QString& projectNumber,
                   const ShowRowFn& show) {
    ws.AppendCheck(Trace(ws, QStringLiteral(" Pred Mazanim Tabulky "), kind, row));
    const bool known = kind == kDeadlineTable || kind == kProjectTable || kind == kFinanceTable ||
                       kind == kTemplateTable;
    Table* table = known ? ws.TableOf(kind) : nullptr;
    if (!table || row < 1 || row >= table->RowCount()) {
        ws.AppendCheck(Trace(ws, QStringLiteral(" Po Mazani Tabulky "), kind, row));
        return row;
    }
    Table& t = *table;
    // One column beyond the grid: the template file keeps a column the grid does not show.
    const int lastColumn = t.ColumnCount();
    const int last = t.RowCount() - 1;
    for (int i = row; i < last; ++i)
        for (int c = AnyTable::FirstContent; c <= lastColumn; ++c)
            t.SetCell(c, i, t.Cell(c, i + 1));
    EmptyRow(t, last, lastColumn);
    const int rowsBefore = t.RowCount();

    if (kind == kDeadlineTable || kind == kFinanceTable) {
        if (t.RowCount() <= 2) {
            const QString prefix =
                kind == kDeadlineTable ? QStringLiteral("T-") : QStringLiteral("F-");
            t.SetCell(Progress::KindAndProject, 1, prefix + projectNumber);
            t.SetCell(Progress::Identifier, 1, prefix + projectNumber + QStringLiteral("-01"));
        } else {
            t.SetRowCount(t.RowCount() - 1);
        }
    } else if (t.RowCount() > 2) {
        t.SetRowCount(t.RowCount() - 1);
    }
    // The current item moves up with its row; on the row taken out it stays
    // on the number the next row now holds.
    if (t.RowCount() < rowsBefore) ws.Current().FollowRemovedRow(kind, row, t.RowCount());
    const int shown = qMin(row, t.RowCount() - 1);
    if (show && kind != kTemplateTable) show(kind, shown);
    ws.SetChanged(ChangeFlagOf(kind), true);
    if (t.RowCount() < rowsBefore)
        ws.NotifyRowsRemoved(kind, row, row);
    else
        ws.NotifyRowsChanged(kind, row, last);
    ws.AppendCheck(Trace(ws, QStringLiteral(" Po Mazani Tabulky "), kind, shown));
    return shown;
}
