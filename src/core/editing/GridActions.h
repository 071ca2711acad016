#pragma once

#include <QString>

class Workspace;

// What "Přidat záznam" did: the new row, or why no row was added.
struct AddRecordResult {
    int row = 0;
    QString error;  // for the user; empty when nothing needed saying
    bool Added() const { return row > 0; }
};

// "Přidat záznam": appends a copy of row of the deadline (1), finance (4) or
// project (2) table; a progress row gets the next free identifier, a project
// keeps its number. The new row is selected in its grid and becomes the
// current item, so that a following delete cannot hit the row it was copied
// from. No permission check and no change-log record: the menu item is only
// enabled for users with the right. When no identifier can be made, nothing
// is added.
AddRecordResult AddRecord(Workspace& ws, int kind, int row);

// A project row was selected: it becomes the current item and the current
// project (a row of 0 or less is row 1), and the project's progress file is
// loaded into the deadline and finance tables, the changed tables being saved
// first. Returns the row. Throws FileError.
int OpenProjectRow(Workspace& ws, int row);
