#pragma once

#include <QString>
#include <QStringList>

#include "FileRead.h"

class Table;
class Workspace;

// Pure reader of the task templates: the header row first, then one row per
// template, each as columns 1 to 17.
FileRows ReadTaskTemplates(const QString& path);
// Pure writer: every row of the table, the header row included. Throws FileError.
void WriteTaskTemplates(const QString& path, const Table& templates);

LoadResult LoadTaskTemplates(Workspace& ws, const QString& name);
void SaveTaskTemplates(Workspace& ws, const QString& name);

struct GenerateReport {
    QStringList written;  // file names
    QStringList kept;     // existing files left alone
    QStringList refused;  // why a project got no file (ProgressFileRefusal)
};
// Writes the progress files of project row p (0: every project) from the
// templates. With overwrite false an existing progress file is left alone. A
// project that cannot have a file of its own is refused, never written.
GenerateReport GenerateProgressRows(Workspace& ws, int p, bool overwrite = true);
// The lines GenerateProgressRows writes for project row r (updates the sequence
// column of the template table as it goes). groupFirst carries the first
// identifier of the last group from one project to the next.
QStringList GeneratedProgressLines(Workspace& ws, int row, QString& groupFirst);
