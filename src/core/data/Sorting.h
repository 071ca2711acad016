#pragma once

class Workspace;

// Sorts the rows 1 … of the deadline or finance table ascending by the key of
// the column (dates, amounts and texts each have their own key); writes the
// sort record to the change log and marks the table changed.
void SortDeadlineTable(Workspace& ws, int column);
void SortFinanceTable(Workspace& ws, int column);
// Exchanges two rows; in the deadline table the row numbers stay in place.
void SwapRows(Workspace& ws, int kind, int rowA, int rowB);
// Renumbers the identifiers of the active table (the current item's kind) in row order.
void RegenerateIds(Workspace& ws);
