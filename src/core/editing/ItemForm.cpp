#include "ItemForm.h"

#include <cmath>

#include "../Workspace.h"
#include "../data/Cells.h"

namespace {

// Row 0 appends: the table grows by one and the new last row is used.
int TargetRow(Table& table, int row) {
    if (row > 0) return row;
    const int added = table.RowCount();
    table.SetRowCount(added + 1);
    return added;
}

QString TypeAndProject(const QString& type, const QString& project) {
    return type + u'-' + project;
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
    f.number = t.Cell(1, row);
    f.name = t.Cell(2, row);
    f.manager = t.Cell(3, row);
    f.technician = t.Cell(4, row);
    f.measure = t.Cell(5, row);
    f.activities = t.Cell(6, row);
    f.supplierDoc = t.Cell(7, row);
    f.externalDoc = t.Cell(8, row);
    f.note = t.Cell(9, row);
    const FieldBuffer shares = SplitFields(t.Cell(10, row), 2, u'/');
    f.subsidyPercent = shares[0];
    f.erdfPercent = shares[1];
    f.plannedEligible = t.Cell(11, row);
    f.subsidy = t.Cell(12, row);
    f.dateFrom = ParseDate(t.Cell(13, row));
    f.dateTo = ParseDate(t.Cell(14, row));
    return f;
}

DeadlineForm ReadDeadlineForm(const Table& t, int row) {
    DeadlineForm f;
    const FieldBuffer kind = SplitFields(t.Cell(1, row), 2, u'-');
    f.type = kind[0];
    f.project = kind[1];
    f.id = t.Cell(12, row);
    f.activity = t.Cell(2, row);
    f.classification = t.Cell(3, row);
    f.step = t.Cell(4, row);
    f.info = t.Cell(13, row);
    f.note = t.Cell(14, row);
    f.duration = ParseInt(t.Cell(9, row));
    f.planStart = ParseDate(t.Cell(5, row));
    f.planEnd = ParseDate(t.Cell(6, row));
    f.actualStart = ParseDate(t.Cell(7, row));
    f.actualEnd = ParseDate(t.Cell(8, row));
    f.note2 = t.Cell(15, row);
    f.textDoc = t.Cell(16, row);
    f.pictureDoc = t.Cell(17, row);
    return f;
}

FinanceForm ReadFinanceForm(const Table& t, int row, const FinanceForm& previous) {
    FinanceForm f;
    f.marked = previous.marked;
    const FieldBuffer kind = SplitFields(t.Cell(1, row), 2, u'-');
    f.type = kind[0];
    f.project = kind[1];
    f.id = t.Cell(12, row);
    f.activity = t.Cell(2, row);
    f.classification = t.Cell(3, row);
    f.step = t.Cell(4, row);
    f.info = t.Cell(13, row);
    f.note = t.Cell(14, row);
    const double ineligible = ParseAmount(t.Cell(10, row));
    const double total = ParseAmount(t.Cell(11, row));
    f.recognised = FormatAmount(ParseAmount(t.Cell(9, row)));
    f.eligible = FormatAmount(total - ineligible);
    f.ineligible = FormatAmount(ineligible);
    f.total = FormatAmount(total);
    f.delivery = ParseDate(t.Cell(5, row));
    f.due = ParseDate(t.Cell(6, row));
    f.assignment = ParseDate(t.Cell(7, row));
    f.payment = ParseDate(t.Cell(8, row));
    f.note2 = t.Cell(15, row);
    f.textDoc = t.Cell(16, row);
    f.pictureDoc = t.Cell(17, row);
    return f;
}

QString RealTermText(const Table& deadlines, int row) {
    return deadlines.Cell(10, row) + QStringLiteral("  -  ") + deadlines.Cell(11, row);
}

int StoreProjectRow(Workspace& ws, int row, const ProjectForm& f) {
    Table& t = ws.Projects;
    row = TargetRow(t, row);
    t.SetCell(0, row, QString::number(row));
    t.SetCell(1, row, f.number);
    t.SetCell(2, row, f.name);
    t.SetCell(3, row, f.manager);
    t.SetCell(4, row, f.technician);
    t.SetCell(5, row, f.measure);
    t.SetCell(6, row, f.activities);
    t.SetCell(7, row, f.supplierDoc);
    t.SetCell(8, row, f.externalDoc);
    t.SetCell(9, row, f.note);
    t.SetCell(10, row, f.subsidyPercent + u'/' + f.erdfPercent);
    t.SetCell(11, row, f.plannedEligible);
    t.SetCell(12, row, f.subsidy);
    t.SetCell(13, row, StoredDate(f.dateFrom));
    t.SetCell(14, row, StoredDate(f.dateTo));
    ws.SetChanged(kChangedProjects, true);
    ws.ItemRow = row;
    return row;
}

int StoreDeadlineRow(Workspace& ws, int row, const DeadlineForm& f) {
    Table& t = ws.Deadlines;
    const bool appended = row <= 0;
    row = TargetRow(t, row);
    if (appended) {
        // A hidden row can still hold the realistic term of another project's item.
        t.SetCell(10, row, QString());
        t.SetCell(11, row, QString());
    }
    t.SetCell(0, row, QString::number(row));
    t.SetCell(1, row, TypeAndProject(f.type, f.project));
    t.SetCell(2, row, f.activity);
    t.SetCell(3, row, f.classification);
    t.SetCell(4, row, f.step);
    t.SetCell(5, row, StoredDate(f.planStart));
    t.SetCell(6, row, StoredDate(f.planEnd));
    t.SetCell(7, row, StoredDate(f.actualStart));
    t.SetCell(8, row, StoredDate(f.actualEnd));
    t.SetCell(9, row, QString::number(f.duration));
    t.SetCell(12, row, f.id);
    t.SetCell(13, row, f.info);
    t.SetCell(14, row, f.note);
    t.SetCell(15, row, f.note2);
    t.SetCell(16, row, f.textDoc);
    t.SetCell(17, row, f.pictureDoc);
    ws.SetChanged(kChangedDeadlines, true);
    ws.ItemRow = row;
    return row;
}

int StoreFinanceRow(Workspace& ws, int row, FinanceForm& f, const PageLayout& layout) {
    f.total = Amount(f.total);
    f.ineligible = Amount(f.ineligible);
    f.eligible = Amount(f.eligible);
    f.recognised = Amount(f.recognised);
    Table& t = ws.Finance;
    row = TargetRow(t, row);
    t.SetCell(0, row, QString::number(row));
    t.SetCell(1, row, TypeAndProject(f.type, f.project));
    t.SetCell(2, row, f.activity);
    t.SetCell(3, row, f.classification);
    t.SetCell(4, row, f.step);
    t.SetCell(5, row, StoredDate(f.delivery));
    t.SetCell(6, row, StoredDate(f.due));
    t.SetCell(7, row, layout.assignmentShown ? StoredDate(f.assignment) : QString());
    t.SetCell(8, row, StoredDate(f.payment));
    t.SetCell(9, row, layout.recognisedShown ? f.recognised : QString());
    t.SetCell(10, row, f.ineligible);
    t.SetCell(11, row, f.total);
    t.SetCell(12, row, f.id);
    t.SetCell(13, row, f.info);
    t.SetCell(14, row, f.note);
    t.SetCell(15, row, f.note2);
    t.SetCell(16, row, f.textDoc);
    t.SetCell(17, row, f.pictureDoc);
    ws.SetChanged(kChangedFinance, true);
    ws.ItemRow = row;
    return row;
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
