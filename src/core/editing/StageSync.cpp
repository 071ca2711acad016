#include "StageSync.h"

#include <cmath>

#include "../Prompter.h"
#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../shell/ChangeLog.h"
#include "EditLabels.h"
#include "RowIds.h"

namespace {

struct MirrorSide {
    int kind;
    int changeFlag;
    QString prefix;
    bool writesDuration;
};

const MirrorSide kToDeadlines{kDeadlineTable, kChangedDeadlines, QStringLiteral("T-"), true};
const MirrorSide kToFinance{kFinanceTable, kChangedFinance, QStringLiteral("F-"), false};

int LastRowWithActivity(const Table& t, const QString& activity) {
    int found = 0;
    for (int r = 1; r < t.RowCount(); ++r)
        if (t.Cell(Progress::Activity, r) == activity) found = r;
    return found;
}

int Mirror(Workspace& ws, const Table& from, int row, const MirrorSide& side) {
    if (row < 1 || row >= from.RowCount()) return 0;
    const QString activity = from.Cell(Progress::Activity, row);
    if (!StageSyncOn(ws) || !IsStageActivity(activity)) return 0;
    Table& to = *ws.TableOf(side.kind);
    int target = 0;
    int blank = 0;
    for (int r = 1; r < to.RowCount(); ++r) {
        if (to.Cell(Progress::Activity, r) == activity) target = r;
        if (to.Cell(Progress::Activity, r).isEmpty() &&
            to.Cell(Progress::Classification, r).isEmpty() && to.Cell(Progress::Step, r).isEmpty())
            blank = r;
    }
    if (target == 0) target = blank;
    const bool added = target == 0;
    if (added) {
        const QString project = SplitFields(from.Cell(Progress::KindAndProject, row), 3, u'-')[1];
        const NewRowIdResult id =
            NewRowId(ws, side.kind, side.prefix + project + QStringLiteral("-01"));
        if (!id.Ok()) {
            ws.Ask().Error(id.Message());
            return 0;
        }
        target = to.RowCount();
        to.SetRowCount(target + 1);
        for (int c = 1; c < qMax(to.ColumnCount(), int(Progress::Count)); ++c)
            to.SetCell(c, target, QString());
        // Every other way of adding a row numbers it too.
        to.SetCell(Progress::RowNumber, target, QString::number(target));
        to.SetCell(Progress::KindAndProject, target, side.prefix + project);
        to.SetCell(Progress::Identifier, target, id.id);
    }
    for (int c :
         std::initializer_list<int>{Progress::Activity, Deadline::PlanStart, Deadline::PlanEnd,
                                    Deadline::ActualStart, Deadline::ActualEnd})
        to.SetCell(c, target, from.Cell(c, row));
    if (side.writesDuration) {
        const double days = ParseDate(to.Cell(Deadline::PlanEnd, target)) -
                            ParseDate(to.Cell(Deadline::PlanStart, target));
        to.SetCell(Deadline::Duration, target, QString::number(qint64(std::nearbyint(days))));
    }
    LogChange(ws, QString(), QString::fromUtf16(added ? kLabelAdded : kLabelChangedNew), side.kind,
              target);
    ws.SetChanged(side.changeFlag, true);
    if (added)
        ws.NotifyRowsInserted(side.kind, target, target);
    else
        ws.NotifyRowsChanged(side.kind, target, target);
    return target;
}

}  // namespace

bool IsStageActivity(const QString& activity) {
    return activity.indexOf(QLatin1String("Etapa")) >= 1;
}

bool StageSyncOn(const Workspace& ws) {
    return ws.config.Flag(kFlagSyncStages);
}

int MirrorStageToDeadlines(Workspace& ws, int financeRow) {
    return Mirror(ws, ws.Finance, financeRow, kToDeadlines);
}

int MirrorStageToFinance(Workspace& ws, int deadlineRow) {
    return Mirror(ws, ws.Deadlines, deadlineRow, kToFinance);
}

void MirrorAllStagesToFinance(Workspace& ws) {
    for (int d = 1; d < ws.Deadlines.RowCount(); ++d) MirrorStageToFinance(ws, d);
}

void DeleteStageMirror(Workspace& ws, int kind, int row, const QString& projectNumber,
                       const ShowRowFn& show) {
    if (kind != kDeadlineTable && kind != kFinanceTable) return;
    const Table& own = *ws.TableOf(kind);
    const QString activity = own.Cell(Progress::Activity, row);
    if (!StageSyncOn(ws) || !IsStageActivity(activity)) return;
    const int other = kind == kFinanceTable ? kDeadlineTable : kFinanceTable;
    const int found = LastRowWithActivity(*ws.TableOf(other), activity);
    if (found < 1) return;
    LogChange(ws, QString(), QString::fromUtf16(kLabelDeleted), other, found);
    DeleteTableRow(ws, other, found, projectNumber, show);
    ws.SetChanged(other == kDeadlineTable ? kChangedDeadlines : kChangedFinance, true);
}
