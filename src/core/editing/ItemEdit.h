#pragma once

#include <QString>

#include "ItemForm.h"
#include "TableRows.h"

class Workspace;

// The operations of the entry window's buttons on the current item (item kind
// and item row of the workspace): add the form as a new row, add an empty
// row, overwrite the item, delete it. Each first asks CheckPermission("tuto ",
// 3), records the rows in the change log, keeps stage rows in step and, for
// deadline items, lets the links move the dates.

struct EditContext {
    // The program's start-up moment: the date rules and the realistic terms
    // count from it.
    double now = 0;
    // The project the entry window works on (its chooser's number): the only
    // row of a progress table, when deleted, becomes this project's placeholder.
    QString projectNumber;
    // The entry window shows a row; may be empty.
    ShowRowFn show;
};

enum class EditOutcome {
    Done,
    Refused,   // the permission check said no; nothing changed
    NotAdded,  // no row could be added (no new identifier, or a table without adding)
};

// "Přidat copy".
EditOutcome AddCopy(Workspace& ws, ItemForm& form, const EditContext& ctx);
// "Přidat prázdnou": "Přidat copy", then the new row emptied but for its
// number, kind and identifier (a project gets the number "000").
EditOutcome AddEmpty(Workspace& ws, ItemForm& form, const EditContext& ctx);
// "Změnit".
EditOutcome ChangeItem(Workspace& ws, ItemForm& form, const EditContext& ctx);
// "Smazat", also the main window's "Smazat položku".
EditOutcome DeleteItem(Workspace& ws, const EditContext& ctx);
