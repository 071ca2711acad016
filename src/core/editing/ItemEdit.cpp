#include "ItemEdit.h"

#include "../Prompter.h"
#include "../Workspace.h"
#include "../data/Columns.h"
#include "../data/Progress.h"
#include "../data/ProjectRegister.h"
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

// Sorting by identifier during the propagation may move the item; the sort
// moves the current item with it, so that the log, the display and the stage
// mirror concern the row that was stored.
void Propagate(Workspace& ws, const EditContext& ctx) {
    PropagateLinkDates(ws, ctx.now);
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
    ws.AppendCheck(id + QStringLiteral("  ") + ws.TableOf(kind)->Cell(Progress::Identifier, row));
    Log(ws, kLabelAdded, kind, row);
    if (deadline) Propagate(ws, ctx);
    const int stored = ws.Current().Row();
    ws.RevealGridCell(kind, 2, stored);
    Show(ctx, kind, stored);
    if (deadline)
        MirrorStageToFinance(ws, stored);
    else
        MirrorStageToDeadlines(ws, stored);
    ws.SetChanged(deadline ? kChangedDeadlines : kChangedFinance, true);
    return EditOutcome::Done;
}

EditOutcome AddProject(Workspace& ws, ItemForm& form, const EditContext& ctx) {
    const int row = StoreProjectRow(ws, 0, form.project);
    Log(ws, kLabelAdded, kProjectTable, row);
    ws.SetChanged(kChangedProjects, true);
    // The register is saved and read again.
    LoadProjectRegister(ws, ws.config.SouborAkce);
    const int last = ws.Projects.RowCount() - 1;
    const QString name = ProgressFileName(ws, ws.Projects.Cell(Project::Number, last));
    // A progress file created for the new project is loaded too: otherwise the
    // tables would keep the previous project's rows under the new file name.
    if (LoadProgress(ws, name) == LoadResult::Created) LoadProgress(ws, name);
    Log(ws, kLabelProjectData, kLogProjectAdded, last);
    const int shown = ws.Current().Row();
    ws.RevealGridCell(kProjectTable, 2, shown);
    Show(ctx, kProjectTable, shown);
    ws.NotifyTable(kProjectTable);
    return EditOutcome::Done;
}

}  // namespace

EditOutcome AddCopy(Workspace& ws, ItemForm& form, const EditContext& ctx) {
    if (!Allowed(ws)) return EditOutcome::Refused;
    const TableEdit edit(ws);
    const int kind = ws.Current().Kind();
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
    const TableEdit edit(ws);
    const EditOutcome added = AddCopy(ws, form, ctx);
    if (added != EditOutcome::Done) return added;
    const int kind = ws.Current().Kind();
    const int row = ws.Current().Row();
    Table& t = *ws.TableOf(kind);
    const int last = t.ColumnCount() - 1;
    if (kind == kProjectTable) {
        for (int c = Project::Name; c <= last; ++c) t.SetCell(c, row, QString());
        t.SetCell(Project::Number, row, QStringLiteral("000"));
        // The register was saved while the project was added; the emptied row must be saved too.
        ws.SetChanged(kChangedProjects, true);
    } else {
        for (int c = Progress::Activity; c <= last; ++c)
            if (c != Progress::Identifier) t.SetCell(c, row, QString());
    }
    ws.RevealGridCell(kind, 2, row);
    Show(ctx, kind, row);
    ws.NotifyRowsChanged(kind, row, row);
    return EditOutcome::Done;
}

EditOutcome ChangeItem(Workspace& ws, ItemForm& form, const EditContext& ctx) {
    if (!Allowed(ws)) return EditOutcome::Refused;
    const int kind = ws.Current().Kind();
    const int row = ws.Current().Row();
    const TableEdit edit(ws);
    NormaliseFormDates(form, kind, ctx.now);
    Log(ws, kLabelChangedOld, kind, row);
    switch (kind) {
        case kDeadlineTable:
            StoreDeadlineRow(ws, row, form.deadline);
            Propagate(ws, ctx);
            break;
        case kProjectTable:
            StoreProjectRow(ws, row, form.project);
            break;
        case kFinanceTable:
            StoreFinanceRow(ws, row, form.finance, form.layout);
            break;
        default:
            break;
    }
    // The propagation may have sorted the stored row elsewhere.
    const int stored = ws.Current().Row();
    Log(ws, kLabelChangedNew, kind, stored);
    if (kind == kFinanceTable) MirrorStageToDeadlines(ws, stored);
    if (kind == kDeadlineTable) MirrorStageToFinance(ws, stored);
    // The form shows the row as stored, with the dates the links moved.
    if (kind == kDeadlineTable || kind == kFinanceTable || kind == kProjectTable)
        Show(ctx, kind, stored);
    return EditOutcome::Done;
}

EditOutcome DeleteItem(Workspace& ws, const EditContext& ctx) {
    if (!Allowed(ws)) return EditOutcome::Refused;
    const int kind = ws.Current().Kind();
    const int row = ws.Current().Row();
    const QString where = QString::number(kind) + u' ' + QString::number(row);
    const TableEdit edit(ws);
    Log(ws, kLabelDeleted, kind, row);
    ws.AppendCheck(QString());
    ws.AppendCheck(where + QStringLiteral(" SmazSedouEtapu"));
    if (kind == kFinanceTable || kind == kDeadlineTable) {
        DeleteStageMirror(ws, kind, row, ctx.projectNumber, ctx.show);
        ws.AppendCheck(where + (kind == kFinanceTable ? QStringLiteral(" SmazZelenouEtapu")
                                                      : QStringLiteral(" SmazRadek")));
    }
    ws.Current().SelectRow(kind, DeleteTableRow(ws, kind, row, ctx.projectNumber, ctx.show));
    return EditOutcome::Done;
}
