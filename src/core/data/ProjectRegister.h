#pragma once

#include <QString>

#include "FileRead.h"

class Table;
class Workspace;

// The project register file: a line with the date of saving, a title line and
// one line of columns 1 to 14 per project.

// Pure reader: the project rows, amounts in their cell form; an empty cell of
// column 9 gets defaultVat, the configured VAT text.
FileRows ReadProjectRegister(const QString& path, const QString& defaultVat);
// Pure writer: every row of the table, the header row included. Throws FileError.
void WriteProjectRegister(const QString& path, const Table& projects);

// The operations: they save unsaved changes, ask for a file where none is
// configured, offer to create a missing one and put the rows into the table.
LoadResult LoadProjectRegister(Workspace& ws, const QString& name);
void SaveProjectRegister(Workspace& ws, const QString& name);
