#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "../data/Dates.h"

class Table;
class Workspace;

// Whether deadlines are kept and payments made in time, evaluated on demand
// for a reference date (a day number, time of day as the fraction). The
// evaluators only read the tables.

// 0 when the deadline row is kept, else a sum of weights up to 13 (not days):
// 2 no planned start, 3 no planned end, 1 started late, 3 finished late,
// 4 started only after the planned end. An item not started or not finished
// counts as done `tolerance` days before the reference date.
int DeadlineScore(const Table& deadlines, int row, double referenceDate, int tolerance);
// With the configured deadline tolerance ("Úchylka_Chyby_Termíny").
int DeadlineScore(const Workspace& ws, int row, double referenceDate);

// Days, 0 to 1000, by which the payment of a finance row ("Platba" or "Faktura"
// in "Činnost", total filled) is late; an unpaid one counts as paid `tolerance`
// days before the reference date, a missing due date as 14 days after delivery.
int PaymentDelay(const Table& finance, int row, double referenceDate, int tolerance);
// With the configured payment tolerance ("Úchylka_Chyby_Finance").
int PaymentDelay(const Workspace& ws, int row, double referenceDate);

// The dates the two evaluators read, parsed once, for code that evaluates
// one row against many reference dates (the diary calendar).
struct DeadlineDates {
    double plannedStart = kEmptyDate;
    double plannedEnd = kEmptyDate;
    double actualStart = kEmptyDate;
    double actualEnd = kEmptyDate;
};
DeadlineDates DeadlineDatesOf(const Table& deadlines, int row);
int DeadlineScore(const DeadlineDates& dates, double referenceDate, int tolerance);
struct PaymentDates {
    bool payable = false;  // "Platba" or "Faktura" with a total
    double due = kEmptyDate;
    double paid = kEmptyDate;
};
PaymentDates PaymentDatesOf(const Table& finance, int row);
int PaymentDelay(const PaymentDates& dates, double referenceDate, int tolerance);

// What the main window's status label shows for an item.
struct ItemStatus {
    int value = 0;  // the deadline score or the payment delay
    QString text;
    QColor colour;  // invalid: the window's own colour
    // The label "Reálný termín plnění" is shown for deadline items only.
    bool showRealisticTerm = false;
};

// The status of a deadline (kind 1) or finance (kind 4) row at the moment now;
// none for other kinds, whose label stays as it is.
std::optional<ItemStatus> EvaluateItemStatus(const Workspace& ws, int kind, int row, double now);
// The label's colour for a score or delay: none at 0, then green, yellow
// (above 5), magenta (above 14) and red (above 30).
QColor StatusColour(int value);
