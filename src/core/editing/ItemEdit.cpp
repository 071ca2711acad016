#include "ItemEdit.h"

#include "../Prompter.h"
#include "../Workspace.h"
#include "../data/DataFiles.h"
#include "../shell/Access.h"
#include "../shell/ChangeLog.h"
#include "EditLabels.h"
#include "Links.h"
#include "RowIds.h"
#include "StageSync.h"

namespace {

void Log(Workspace& ws, const char16_t* label, int kind, int row) {
    LogChange(ws, QString(), QString::fromUtf16(label), kind, row);
}

void Show(const EditContext& ctx, int kind, int row) {
    if (ctx.show) ctx.show(kind, row);
}

bool Allowed(Workspace& ws) {
    return CheckPermission(ws, QString::fromUtf16(kThisOperation), 3);
}

// Sorting by identifier during the propagation may move the item: it is
// followed by its own identifier, so that the log, the display and the stage
// mirror concern the row that was stored.
int FollowDeadlineRow(const Workspace& ws, int row, const QString& own) {
    const Table& t = ws.Deadlines;
    if (own.isEmpty() || OwnIdentifier(t, row) == own) return row;
    for (int r = 1; r < t.RowCount(); ++r)
        if (OwnIdentifier(t, r) == own) return r;
    return row;
}

void PropagateAndFollow(Workspace& ws, const EditContext& ctx) {
    const QString own = OwnIdentifier(ws.Deadlines, ws.ItemRow);
    PropagateLinkDates(ws, ctx.now);
    ws.ItemRow = FollowDeadlineRow(ws, ws.ItemRow, own);
}

EditOutcome AddProgressRow(Workspace& ws, ItemForm& form, const EditContext& ctx, int kind) {
    const bool deadline = kind == kDeadlineTable;
    QString& activity = deadline ? form.deadline.activity : form.finance.activity;
    QString& id = deadline ? form.deadline.id : form.finance.id;
    if (IsNumberedActivity(activity)) activity = RenumberActivity(ws, kind, activity);
    const NewRowIdResult newId = NewRowId(ws, kind, id);
    if (!newId.Ok()) {
        ws.Ask().Error(newId.Message());
        return EditOutcome::NotAdded;
    }
    id = newId.id;
    const int row = deadline ? StoreDeadlineRow(ws, 0, form.deadline)
                             : StoreFinanceRow(ws, 0, form.finance, form.layout);
    ws.AppendCheck(id + QStringLiteral("  ") + ws.TableOf(kind)->Cell(12, row));
    Log(ws, kLabelAdded, ws.ItemKind, ws.ItemRow);
    if (deadline) PropagateAndFollow(ws, ctx);
    ws.SelectGridCell(kind, 2, ws.ItemRow);
    Show(ctx, kind, ws.ItemRow);
    if (deadline)
        MirrorStageToFinance(ws, ws.ItemRow);
    else
        MirrorStageToDeadlines(ws, ws.ItemRow);
    ws.SetChanged(deadline ? kChangedDeadlines : kChangedFinance, true);
    ws.NotifyTable(kind);
    return EditOutcome::Done;
}

EditOutcome AddProject(Workspace& ws, ItemForm& form, const EditContext& ctx) {
    const int row = StoreProjectRow(ws, 0, form.project);
    Log(ws, kLabelAdded, kProjectTable, row);
    ws.SetChanged(kChangedProjects, true);
    // The register is saved and read again.
    LoadProjectRegister(ws, ws.config.SouborAkce);
    const int last = ws.Projects.RowCount() - 1;
    const QString name = ProgressFileName(ws, ws.Projects.Cell(1, last));
    // A progress file created for the new project is loaded too: otherwise the
    // tables would keep the previous project's rows under the new file name.
    if (LoadProgress(ws, name) == LoadResult::Created) LoadProgress(ws, name);
    Log(ws, kLabelProjectData, kLogProjectAdded, last);
    ws.SelectGridCell(kProjectTable, 2, ws.ItemRow);
    Show(ctx, kProjectTable, ws.ItemRow);
    ws.NotifyTable(kProjectTable);
    return EditOutcome::Done;
}

}  // namespace

EditOutcome AddCopy(Workspace& ws, ItemForm& form, const EditContext& ctx) {
    if (!Allowed(ws)) return EditOutcome::Refused;
    const int kind = ws.ItemKind;
    NormaliseFormDates(form, kind, ctx.now);
    switch (kind) {
        case kDeadlineTable:
        case kFinanceTable:
            return AddProgressRow(ws, form, ctx, kind);
        case kProjectTable:
            return AddProject(ws, form, ctx);
        default:
            return EditOutcome::NotAdded;
    }
}

EditOutcome AddEmpty(Workspace& ws, ItemForm& form, const EditContext& ctx) {
    const EditOutcome added = AddCopy(ws, form, ctx);
    if (added != EditOutcome::Done) return added;
    const int kind = ws.ItemKind;
    const int row = ws.ItemRow;
    Table& t = *ws.TableOf(kind);
    const int last = t.ColumnCount() - 1;
    if (kind == kProjectTable) {
        for (int c = 2; c <= last; ++c) t.SetCell(c, row, QString());
        t.SetCell(1, row, QStringLiteral("000"));
        // The register was saved while the project was added; the emptied row must be saved too.
        ws.SetChanged(kChangedProjects, true);
    } else {
        for (int c = 2; c <= last; ++c)
            if (c != 12) t.SetCell(c, row, QString());
    }
    ws.SelectGridCell(kind, 2, row);
    Show(ctx, kind, row);
    ws.NotifyTable(kind);
    return EditOutcome::Done;
}

EditOutcome ChangeItem(Workspace& ws, ItemForm& form, const EditContext& ctx) {
    if (!Allowed(ws)) return EditOutcome::Refused;
    const int kind = ws.ItemKind;
    NormaliseFormDates(form, kind, ctx.now);
    Log(ws, kLabelChangedOld, kind, ws.ItemRow);
    switch (kind) {
        case kDeadlineTable:
            StoreDeadlineRow(ws, ws.ItemRow, form.deadline);
            PropagateAndFollow(ws, ctx);
            break;
        case kProjectTable:
            StoreProjectRow(ws, ws.ItemRow, form.project);
            break;
        case kFinanceTable:
            StoreFinanceRow(ws, ws.ItemRow, form.finance, form.layout);
            break;
        default:
            break;
    }
    Log(ws, kLabelChangedNew, kind, ws.ItemRow);
    if (kind == kFinanceTable) MirrorStageToDeadlines(ws, ws.ItemRow);
    if (kind == kDeadlineTable) MirrorStageToFinance(ws, ws.ItemRow);
    ws.NotifyTable(kind);
    // The form shows the row as stored, with the dates the links moved.
    if (kind == kDeadlineTable || kind == kFinanceTable || kind == kProjectTable)
        Show(ctx, kind, ws.ItemRow);
    return EditOutcome::Done;
}

EditOutcome DeleteItem(Workspace& ws, const EditContext& ctx) {
    if (!Allowed(ws)) return EditOutcome::Refused;
    const int kind = ws.ItemKind;
    const int row = ws.ItemRow;
    const QString where = QString::number(kind) + u' ' + QString::number(row);
    Log(ws, kLabelDeleted, kind, row);
    ws.AppendCheck(QString());
    ws.AppendCheck(where + QStringLiteral(" SmazSedouEtapu"));
    if (kind == kFinanceTable || kind == kDeadlineTable) {
        DeleteStageMirror(ws, kind, row, ctx.projectNumber, ctx.show);
        ws.ItemKind = kind;
        ws.ItemRow = row;
        ws.AppendCheck(where + (kind == kFinanceTable ? QStringLiteral(" SmazZelenouEtapu")
                                                      : QStringLiteral(" SmazRadek")));
    }
    ws.ItemRow = DeleteTableRow(ws, kind, row, ctx.projectNumber, ctx.show);
    ws.ItemKind = kind;
    return EditOutcome::Done;
}
