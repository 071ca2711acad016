#include "Status.h"

#include <cmath>

#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"

namespace {

// The status rules call a date set from day 1000 on; only the delivery date
// of a payment needs to lie above it.
bool Set(double day) {
    return day >= kSetDateThreshold;
}

}  // namespace

DeadlineDates DeadlineDatesOf(const Table& deadlines, int row) {
    return {ParseDate(deadlines.Cell(Deadline::PlanStart, row)),
            ParseDate(deadlines.Cell(Deadline::PlanEnd, row)),
            ParseDate(deadlines.Cell(Deadline::ActualStart, row)),
            ParseDate(deadlines.Cell(Deadline::ActualEnd, row))};
}

int DeadlineScore(const DeadlineDates& dates, double referenceDate, int tolerance) {
    const double plannedStart = dates.plannedStart;
    const double plannedEnd = dates.plannedEnd;
    double actualStart = dates.actualStart;
    double actualEnd = dates.actualEnd;
    if (!Set(actualStart)) actualStart = referenceDate - tolerance;
    if (!Set(actualEnd)) actualEnd = referenceDate - tolerance;
    int score = 0;
    if (!Set(plannedStart)) score += 2;
    if (!Set(plannedEnd)) score += 3;
    if (plannedStart < actualStart) score += 1;
    if (plannedEnd < actualEnd) score += 3;
    if (plannedEnd < actualStart) score += 4;
    return score;
}

int DeadlineScore(const Table& deadlines, int row, double referenceDate, int tolerance) {
    return DeadlineScore(DeadlineDatesOf(deadlines, row), referenceDate, tolerance);
}

int DeadlineScore(const Workspace& ws, int row, double referenceDate) {
    return DeadlineScore(ws.Deadlines, row, referenceDate, ws.config.UchylkaTerminy);
}

PaymentDates PaymentDatesOf(const Table& finance, int row) {
    PaymentDates dates;
    const QString activity = finance.Cell(Progress::Activity, row);
    dates.payable = (activity.contains(QLatin1String("Platba")) ||
                     activity.contains(QLatin1String("Faktura"))) &&
                    !TrimCell(finance.Cell(Finance::Total, row), 1).isEmpty();
    if (!dates.payable) return dates;
    const double delivered = ParseDate(finance.Cell(Finance::StartOrDelivery, row));
    dates.due = ParseDate(finance.Cell(Finance::EndOrDue, row));
    dates.paid = ParseDate(finance.Cell(Finance::ProcedureEndOrPaid, row));
    if (delivered > kSetDateThreshold && dates.due < kSetDateThreshold) dates.due = delivered + 14;
    return dates;
}

int PaymentDelay(const PaymentDates& dates, double referenceDate, int tolerance) {
    if (!dates.payable) return 0;
    const double paid = Set(dates.paid) ? dates.paid : referenceDate - tolerance;
    const double days = std::nearbyint(paid - dates.due);
    if (days < 0) return 0;
    if (days > 1000) return 1000;
    return int(days);
}

int PaymentDelay(const Table& finance, int row, double referenceDate, int tolerance) {
    return PaymentDelay(PaymentDatesOf(finance, row), referenceDate, tolerance);
}

int PaymentDelay(const Workspace& ws, int row, double referenceDate) {
    return PaymentDelay(ws.Finance, row, referenceDate, ws.config.UchylkaFinance);
}

QColor StatusColour(int value) {
    if (value > 30) return QColor(0xFF, 0x00, 0x00);
    if (value > 14) return QColor(0xFF, 0x00, 0xFF);
    if (value > 5) return QColor(0xFF, 0xFF, 0x00);
    if (value > 0) return QColor(0x00, 0xFF, 0x00);
    return QColor();
}

std::optional<ItemStatus> EvaluateItemStatus(const Workspace& ws, int kind, int row, double now) {
    ItemStatus status;
    if (kind == kDeadlineTable) {
        status.value = DeadlineScore(ws, row, now);
        status.text = status.value <= 0
                          ? QStringLiteral("Termín OK")
                          : QStringLiteral("Chyba termínu ") + QString::number(status.value);
        status.showRealisticTerm = true;
    } else if (kind == kFinanceTable) {
        status.value = PaymentDelay(ws, row, now);
        status.text = status.value <= 0
                          ? QStringLiteral("Zaplaceno")
                          : QStringLiteral("Pozdní platba ") + QString::number(status.value);
    } else {
        return std::nullopt;
    }
    status.colour = StatusColour(status.value);
    return status;
}
