#include "GridActions.h"

#include "../Workspace.h"
#include "../data/Columns.h"
#include "../data/Progress.h"
#include "RowIds.h"

AddRecordResult AddRecord(Workspace& ws, int kind, int row) {
    AddRecordResult result;
    const bool progress = kind == kDeadlineTable || kind == kFinanceTable;
    if (!progress && kind != kProjectTable) return result;
    Table& t = *ws.TableOf(kind);
    // The header row is no item to copy.
    if (row < 1 || row >= t.RowCount()) return result;

    QString id;
    if (progress) {
        const NewRowIdResult newId = NewRowId(ws, kind, t.Cell(Progress::Identifier, row));
        if (!newId.Ok()) {
            result.error = newId.Message();
            return result;
        }
        id = newId.id;
    }
    const int n = t.RowCount();
    t.SetCell(AnyTable::RowNumber, n, QString::number(n));
    // Up to the column beyond the grid as well: a hidden row may still hold old texts there.
    for (int c = AnyTable::FirstContent; c <= t.ColumnCount(); ++c) t.SetCell(c, n, t.Cell(c, row));
    if (progress) t.SetCell(Progress::Identifier, n, id);
    t.SetRowCount(n + 1);

    ws.SetChanged(kind == kDeadlineTable  ? kChangedDeadlines
                  : kind == kFinanceTable ? kChangedFinance
                                          : kChangedProjects,
                  true);
    ws.Current().Select(kind, 2, n);
    // The grid takes the new row count first, so that the new row can be selected.
    ws.NotifyRowsInserted(kind, n, n);
    ws.RevealGridCell(kind, 2, n);
    result.row = n;
    return result;
}

int OpenProjectRow(Workspace& ws, int row) {
    if (row <= 0) row = 1;
    CurrentItem& current = ws.Current();
    const int column = current.Column();
    current.MoveTo({kProjectTable, column, row, row});
    const QString name = ProgressFileName(ws, ws.Projects.Cell(Project::Number, row));
    // A file created for a project without one is loaded too, or the tables
    // would keep the previous project's rows under the new name.
    LoadResult loaded = LoadProgress(ws, name);
    if (loaded == LoadResult::Created) loaded = LoadProgress(ws, name);
    // Looking for a missing file may have moved the current project. A load that
    // did not happen keeps the project whose rows the tables still hold.
    current.MoveTo(
        {kProjectTable, column, row, loaded == LoadResult::Loaded ? row : current.ProjectRow()});
    return row;
}
