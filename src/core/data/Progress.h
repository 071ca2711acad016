#pragma once

#include <QString>
#include <QStringList>

#include "FileRead.h"

class Table;
class Workspace;

enum class SaveMode { Open = 1, All = 2 };

// What a progress file holds: its own column headers (when it has a header
// line) and its deadline and finance rows, each as columns 1 to 17.
struct ProgressRows {
    QStringList header;
    QList<QStringList> deadlines;
    QList<QStringList> finance;
    std::optional<FileError> error;
    int cutCells = 0;  // cells cut to kMaxCellChars at reading

    bool Ok() const { return !error.has_value(); }
    QString ErrorString() const { return error ? error->Text() : QString(); }
};

// Pure reader: finance amounts in their cell form; an empty VAT cell of an
// invoice row gets defaultVat.
ProgressRows ReadProgressFile(const QString& path, const QString& defaultVat);
// Pure writer: the rows of both tables whose kind cell contains the project
// number (deadline rows from the header row on, finance rows after it).
// Throws FileError.
void WriteProgressFile(const QString& path, const QString& number, const Table& deadlines,
                       const Table& finance);

// Whether a text from a data file may become part of a file name: a project
// number with "/", "\" or ".." would name a file outside its folder.
bool IsSafeNamePart(const QString& text);
// The refusal reported for a project number that is not safe in a file name.
QString UnsafeNumberText(const QString& number);
QString ProgressFileName(Workspace& ws, const QString& number);
// The progress file name of exactly this project number under the register
// file name, without looking the number up in the project table.
QString ProgressFileNameFor(const QString& registerName, const QString& number);
// Why project row r cannot have a progress file of its own, or empty when it
// can: no number, a number unsafe in a file name, or a number under which
// ProgressFileName finds an earlier project (1 listed before 12, or a number
// listed twice), whose file it would be. CurrentProjectRow stays as it was.
QString ProgressFileRefusal(Workspace& ws, int row);
// The project number as loading reads it from a progress file name.
QString ProgressNumberForLoading(const QString& fileName);
// The project number as saving reads it from a progress file name.
QString ProgressNumberForSaving(const QString& fileName);
LoadResult LoadProgress(Workspace& ws, const QString& name);
// False when nothing was written (no name).
bool SaveProgress(Workspace& ws, const QString& name, SaveMode mode);
void LoadAllProgress(Workspace& ws);
// Returns the progress files left alone because the tables hold none of their rows.
QStringList SaveAllProgress(Workspace& ws);
void ComputeTimeRange(Workspace& ws);
