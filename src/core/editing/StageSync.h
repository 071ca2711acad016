#pragma once

#include <QString>

#include "TableRows.h"

class Workspace;

// Stage rows are kept in step between the finance and the deadline tables:
// a stage's dates typed on one side are copied to the row of the same
// "Činnost" on the other. Only while the setting (SettingsFlags position 27)
// is on.

// A stage row for synchronisation: "Činnost" holds "Etapa" after its first
// character ("1.Etapa" is one, "Etapa_#_1" is not).
bool IsStageActivity(const QString& activity);
bool StageSyncOn(const Workspace& ws);

// Copies the finance stage row's "Činnost" and dates to the last deadline
// row of the same "Činnost", else to the last deadline row without
// "Činnost", "Zařazení" and "Proces", else to a new deadline row; logs the
// target row. Returns the target row, 0 when nothing was mirrored.
int MirrorStageToDeadlines(Workspace& ws, int financeRow);
// The same from a deadline stage row to the finance table (no duration there).
int MirrorStageToFinance(Workspace& ws, int deadlineRow);
void MirrorAllStagesToFinance(Workspace& ws);
// Before a stage row of kind 1 or 4 is deleted: deletes the last row of the
// other table with the same "Činnost", logging it first.
void DeleteStageMirror(Workspace& ws, int kind, int row, const QString& projectNumber,
                       const ShowRowFn& show = {});
