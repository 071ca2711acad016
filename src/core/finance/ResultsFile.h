#pragma once

#include <QDate>
#include <QStringList>

class Table;
class Workspace;

// The lines of the results file: "Výsledky" with the day, the column headers,
// then results rows 1 to the last; columns 1 to 26, each followed by ";", the
// money columns as plain numbers with a decimal comma.
QStringList ResultsFileLines(const Table& results, const QDate& day);
// Writes the results file in code page 1250. Throws FileError.
void WriteResultsFile(const QString& path, const Table& results, const QDate& day);
// Asks where to save the results table and writes it there (the chosen name
// becomes the configured results file). False when the dialog was cancelled.
// Throws FileError, leaving an existing file whole.
bool SaveResultsFile(Workspace& ws);
