#pragma once

#include <QString>

class Table;
class Workspace;
struct FileRequest;

// Small shared steps of the data file operations.
namespace FileChoice {

bool IsFile(const QString& path);
// Asks for a file to open or save; empty when cancelled.
QString Open(Workspace& ws, const FileRequest& request);
QString Save(Workspace& ws, const FileRequest& request);
QString FileNameOf(const QString& path);
QString DirOf(const QString& path);
// One data row: cells first..last of the row, each followed by ";", with ";"
// inside a cell written as "~"; amount columns [amountFrom, amountTo] trimmed.
QString RowLine(const Table& table, int row, int first, int last, int amountFrom = -1,
                int amountTo = -1);
// The question asked before a missing file is created in basic form.
QString CreateQuestion(const QString& whatWasNotFound);

}  // namespace FileChoice
