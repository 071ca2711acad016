#pragma once

#include <QString>
#include <functional>

class Workspace;

// How an editing operation asks the entry window to show a row of a table
// (kind 1, 2 or 4); empty when no window is listening.
using ShowRowFn = std::function<void(int kind, int row)>;

// Removes row r of the table of kind k (1, 2, 4 or 6) by moving the rows below
// it up one place, and returns the row that becomes current. The only data row
// of the deadline or finance table is not removed but made the placeholder row
// of projectNumber (the number of the project the entry window works on); the
// only project or template row is emptied. A row outside the table changes
// nothing. The row is a full int: tables may hold more than 65,535 rows.
int DeleteTableRow(Workspace& ws, int kind, int row, const QString& projectNumber,
                   const ShowRowFn& show = {});
