#include "ItemForm.h"

#include <cmath>
#include <utility>

#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"

namespace {

// Where the fields of each form lie in their table's row.
const std::pair<int, QString ProjectForm::*> kProjectTexts[] = {
    {Project::Number, &ProjectForm::number},
    {Project::Name, &ProjectForm::name},
    {Project::Manager, &ProjectForm::manager},
    {Project::Technician, &ProjectForm::technician},
    {Project::Measure, &ProjectForm::measure},
    {Project::Activities, &ProjectForm::activities},
    {Project::TextDocument, &ProjectForm::supplierDoc},
    {Project::Picture, &ProjectForm::externalDoc},
    {Project::Note, &ProjectForm::note},
    {Project::PlannedTotal, &ProjectForm::plannedEligible},
    {Project::Subsidy, &ProjectForm::subsidy}};
const std::pair<int, double ProjectForm::*> kProjectDates[] = {
    {Project::Start, &ProjectForm::dateFrom}, {Project::End, &ProjectForm::dateTo}};
// The texts a deadline and a finance row share; column 1 joins the type and the project.
const std::pair<int, QString ItemTexts::*> kItemTexts[] = {
    {Progress::Identifier, &ItemTexts::id},
    {Progress::Activity, &ItemTexts::activity},
    {Progress::Classification, &ItemTexts::classification},
    {Progress::Step, &ItemTexts::step},
    {Progress::Info, &ItemTexts::info},
    {Progress::Note, &ItemTexts::note},
    {Progress::Free, &ItemTexts::note2},
    {Progress::TextDocument, &ItemTexts::textDoc},
    {Progress::Picture, &ItemTexts::pictureDoc}};
const std::pair<int, double DeadlineForm::*> kDeadlineDates[] = {
    {Deadline::PlanStart, &DeadlineForm::planStart},
    {Deadline::PlanEnd, &DeadlineForm::planEnd},
    {Deadline::ActualStart, &DeadlineForm::actualStart},
    {Deadline::ActualEnd, &DeadlineForm::actualEnd}};
const std::pair<int, double FinanceForm::*> kFinanceDates[] = {
    {Finance::StartOrDelivery, &FinanceForm::delivery},
    {Finance::EndOrDue, &FinanceForm::due},
    {Finance::Approval, &FinanceForm::assignment},
    {Finance::ProcedureEndOrPaid, &FinanceForm::payment}};

// Row 0 appends: the table grows by one and the new last row is used. Column
// 0 numbers the row.
int TargetRow(Table& table, int row) {
    if (row <= 0) {
        row = table.RowCount();
        table.SetRowCount(row + 1);
    }
    table.SetCell(AnyTable::RowNumber, row, QString::number(row));
    return row;
}

// The stored row becomes the item row; its table is marked changed and the
// row announced, as added when the table grew.
int StoredRow(Workspace& ws, int kind, int changed, int row, int rowsBefore) {
    ws.SetChanged(changed, true);
    const int rows = ws.TableOf(kind)->RowCount();
    if (rows > rowsBefore)
        ws.NotifyRowsInserted(kind, rowsBefore, rows - 1);
    else
        ws.NotifyRowsChanged(kind, row, row);
    ws.Current().SelectRow(kind, row);
    return row;
}

void ReadItemTexts(const Table& t, int row, ItemTexts& f) {
    const FieldBuffer kind = SplitFields(t.Cell(Progress::KindAndProject, row), 2, u'-');
    f.type = kind[0];
    f.project = kind[1];
    for (const auto& [column, field] : kItemTexts) f.*field = t.Cell(column, row);
}

void StoreItemTexts(Table& t, int row, const ItemTexts& f) {
    t.SetCell(Progress::KindAndProject, row, f.type + u'-' + f.project);
    for (const auto& [column, field] : kItemTexts) t.SetCell(column, row, f.*field);
}

QString Amount(const QString& text) {
    return FormatAmount(ParseAmount(text));
}

}  // namespace

QString StoredDate(double day) {
    const QString text = FormatDate(day);
    return text == QLatin1String("02.01.1900") ? QString() : text;
}

ProjectForm ReadProjectForm(const Table& t, int row) {
    if (row <= 0) row = 1;
    ProjectForm f;
    for (const auto& [column, field] : kProjectTexts) f.*field = t.Cell(column, row);
    const FieldBuffer shares = SplitFields(t.Cell(Project::Percentages, row), 2, u'/');
    f.subsidyPercent = shares[0];
    f.erdfPercent = shares[1];
    for (const auto& [column, field] : kProjectDates) f.*field = ParseDate(t.Cell(column, row));
    return f;
}

DeadlineForm ReadDeadlineForm(const Table& t, int row) {
    DeadlineForm f;
    ReadItemTexts(t, row, f);
    f.duration = ParseInt(t.Cell(Deadline::Duration, row));
    for (const auto& [column, field] : kDeadlineDates) f.*field = ParseDate(t.Cell(column, row));
    return f;
}

FinanceForm ReadFinanceForm(const Table& t, int row, const FinanceForm& previous) {
    FinanceForm f;
    f.marked = previous.marked;
    ReadItemTexts(t, row, f);
    const double ineligible = ParseAmount(t.Cell(Finance::Ineligible, row));
    const double total = ParseAmount(t.Cell(Finance::Total, row));
    f.recognised = FormatAmount(ParseAmount(t.Cell(Finance::Eligible, row)));
    f.eligible = FormatAmount(total - ineligible);
    f.ineligible = FormatAmount(ineligible);
    f.total = FormatAmount(total);
    for (const auto& [column, field] : kFinanceDates) f.*field = ParseDate(t.Cell(column, row));
    return f;
}

QString RealTermText(const Table& deadlines, int row) {
    return deadlines.Cell(Deadline::RealStart, row) + QStringLiteral("  -  ") +
           deadlines.Cell(Deadline::RealEnd, row);
}

int StoreProjectRow(Workspace& ws, int row, const ProjectForm& f) {
    Table& t = ws.Projects;
    const int rowsBefore = t.RowCount();
    row = TargetRow(t, row);
    for (const auto& [column, field] : kProjectTexts) t.SetCell(column, row, f.*field);
    t.SetCell(Project::Percentages, row, f.subsidyPercent + u'/' + f.erdfPercent);
    for (const auto& [column, field] : kProjectDates) t.SetCell(column, row, StoredDate(f.*field));
    return StoredRow(ws, kProjectTable, kChangedProjects, row, rowsBefore);
}

int StoreDeadlineRow(Workspace& ws, int row, const DeadlineForm& f) {
    Table& t = ws.Deadlines;
    const int rowsBefore = t.RowCount();
    const bool appended = row <= 0;
    row = TargetRow(t, row);
    if (appended) {
        // A hidden row can still hold the realistic term of another project's item.
        t.SetCell(Deadline::RealStart, row, QString());
        t.SetCell(Deadline::RealEnd, row, QString());
    }
    StoreItemTexts(t, row, f);
    for (const auto& [column, field] : kDeadlineDates) t.SetCell(column, row, StoredDate(f.*field));
    t.SetCell(Deadline::Duration, row, QString::number(f.duration));
    return StoredRow(ws, kDeadlineTable, kChangedDeadlines, row, rowsBefore);
}

int StoreFinanceRow(Workspace& ws, int row, FinanceForm& f, const PageLayout& layout) {
    f.total = Amount(f.total);
    f.ineligible = Amount(f.ineligible);
    f.eligible = Amount(f.eligible);
    f.recognised = Amount(f.recognised);
    Table& t = ws.Finance;
    const int rowsBefore = t.RowCount();
    row = TargetRow(t, row);
    StoreItemTexts(t, row, f);
    for (const auto& [column, field] : kFinanceDates) t.SetCell(column, row, StoredDate(f.*field));
    // Column 7 belongs to the invoice layout, column 9 to the stage layout.
    if (!layout.assignmentShown) t.SetCell(Finance::Approval, row, QString());
    t.SetCell(Finance::Eligible, row, layout.recognisedShown ? f.recognised : QString());
    t.SetCell(Finance::Ineligible, row, f.ineligible);
    t.SetCell(Finance::Total, row, f.total);
    return StoredRow(ws, kFinanceTable, kChangedFinance, row, rowsBefore);
}

void ApplyPageLayout(PageLayout& l, QChar letter, const QString& activity, const QString& vatText) {
    const bool stage = activity.contains(QLatin1String("Etapa"));
    l.amountsShown = letter == u'F';
    if (letter == u'F') {
        l.assignmentShown = !stage;
        l.statusShown = !stage;
        l.recognisedShown = stage;
        l.copyEnabled = true;
        if (stage) {
            l.totalCaption = QStringLiteral("Celkové naklady etapy ") + vatText;
            l.deliveryCaption = QStringLiteral("Datum počátku PLÁN");
            l.dueCaption = QStringLiteral("Datum konce PLÁN");
            l.paymentCaption = QStringLiteral("Datum konce v řízení");
        } else {
            l.totalCaption = QStringLiteral("Celková částka ") + vatText;
            l.deliveryCaption = QStringLiteral("Datum doručení");
            l.dueCaption = QStringLiteral("Datum splatnosti");
            l.assignmentCaption = QStringLiteral("Datum pro zařazení");
            l.paymentCaption = QStringLiteral("Datum zaplacení");
        }
    }
    l.financeTypeEnabled = letter != u'T';
    if (letter == u'T') {
        l.plannedEligibleCaption = QStringLiteral("Celk.způs.výdaje PLÁN ") + vatText;
        l.copyEnabled = !stage;
        l.deadlineStageLocked = stage;
    }
}

void NormaliseFormDates(ItemForm& form, int kind, double now) {
    if (kind == kFinanceTable) {
        FinanceForm& f = form.finance;
        if (f.delivery > f.due && IsFormDateSet(f.due)) f.due = f.delivery;
        if (f.payment > now) f.payment = now;
        if (f.assignment > now) f.assignment = now;
        if (f.assignment > f.payment && IsFormDateSet(f.payment)) f.payment = f.assignment;
        if (f.payment > now) f.payment = now;
    } else if (kind == kDeadlineTable) {
        DeadlineForm& f = form.deadline;
        int days = f.duration;
        if (IsFormDateSet(f.planStart) && IsFormDateSet(f.planEnd) && f.planEnd - f.planStart > 0)
            days = int(std::nearbyint(f.planEnd - f.planStart));
        if (f.planStart > f.planEnd && IsFormDateSet(f.planEnd)) f.planEnd = f.planStart;
        if (f.actualEnd > now) f.actualEnd = now;
        if (f.actualStart > now) f.actualStart = now;
        if (f.actualStart > f.actualEnd && IsFormDateSet(f.actualEnd)) f.actualEnd = f.actualStart;
        if (f.actualEnd > now) f.actualEnd = now;
        f.duration = days;
    }
}

void MarkFulfilled(ItemForm& form, int kind, double now) {
    if (kind == kDeadlineTable) {
        DeadlineForm& f = form.deadline;
        f.actualStart = f.planStart;
        f.actualEnd = f.planEnd;
        if (f.actualStart > now) f.actualStart = now;
        // Not finished yet.
        if (f.actualEnd > now) f.actualEnd = kEmptyDate;
        NormaliseFormDates(form, kind, now);
    } else if (kind == kFinanceTable) {
        FinanceForm& f = form.finance;
        f.assignment = f.delivery;
        f.payment = f.due;
        NormaliseFormDates(form, kind, now);
        if (f.due > now) {
            f.payment = now;
            f.assignment = now - 10;
        }
    }
}

void RecomputeMarkedAmount(FinanceForm& f) {
    const double total = ParseAmount(f.total);
    const double ineligible = ParseAmount(f.ineligible);
    const double eligible = ParseAmount(f.eligible);
    switch (f.marked) {
        case MarkedAmount::Total:
            f.total = FormatAmount(ineligible + eligible);
            break;
        case MarkedAmount::Ineligible:
            f.ineligible = FormatAmount(total - eligible);
            break;
        case MarkedAmount::Eligible:
            f.eligible = FormatAmount(total - ineligible);
            break;
    }
}
