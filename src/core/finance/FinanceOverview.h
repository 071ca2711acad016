#pragma once

#include <QString>

#include "finance/OverviewState.h"

class Table;
class Workspace;

// Computes the finance overview with the overview's current choices for the
// current project into the results table; returns "OK". The one entry the
// other windows (calendar, minutes, Gantt, entry window) call.
QString ComputeFinanceOverview(Workspace& ws);

// Chooses the project set of the next computation (the overview window shows it).
void SetOverviewSet(Workspace& ws, OverviewSet set);
void SetOverviewDivision(Workspace& ws, OverviewDivision division);
// The invoice date kind (1 delivery … 4 payment) and the subsidy base are also
// kept in SettingsFlags positions 16 and 17.
void SetInvoiceDateKind(Workspace& ws, int kind);
void SetSubsidyBase(Workspace& ws, SubsidyBase base);
// Takes the invoice date kind and the subsidy base from SettingsFlags; a
// position holding anything else leaves its choice as it is.
void ApplyOverviewFlags(Workspace& ws);

// The captions of the set and division options ("Jeden projekt", "Projekty  / Etapy" …).
QString OverviewSetCaption(OverviewSet set);
QString OverviewDivisionCaption(OverviewDivision division);

// The mode text of the choices: division word "#" set word ("Rok#Skupina").
QString OverviewModeText(const OverviewState& choices);

// The computation for project row projectRow and mode text mode; leaves the
// results table filled and projectRow the current project. Returns "OK".
QString BuildOverview(Workspace& ws, int projectRow, const QString& mode);

// The group list of an "Aktivity" cell: from "[" up to the "]" (excluded), or
// empty when there is none or nothing between them.
QString GroupListOf(const QString& activities);
// Every year from the earliest "Datum od" to the latest "Datum do" of the
// project table, each followed by ";" ("2008;2009;2010;").
QString ProjectYearRange(const Table& projects);
// Sorts rows first … last (and whatever follows them) by column 3 as code
// page 1250 bytes; empty rows go last whatever the names around them.
void SortResultRows(Table& results, int first, int last);

// What adding to an amount cell leaves in it: the sum in its two-decimal cell
// form, as read back.
double RoundedCellSum(double sum);
