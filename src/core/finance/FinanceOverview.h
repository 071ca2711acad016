#pragma once

#include <QString>

class Workspace;

// The project sets of the finance overview.
enum class OverviewSet { One, Group, All };

// Computes the finance overview with the overview's current choices for the
// current project into the results table; returns "OK". The one entry the
// other windows (calendar, minutes, Gantt, entry window) call.
QString ComputeFinanceOverview(Workspace& ws);

// Chooses the project set of the next computation (the overview window shows it).
void SetOverviewSet(Workspace& ws, OverviewSet set);
