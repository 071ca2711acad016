#pragma once

#include <QList>
#include <QStringList>
#include <optional>

#include "TextFile.h"

// What a load that may ask the user ended in.
enum class LoadResult {
    Loaded,     // the file was read into its table
    Created,    // a new file in basic form was written
    Unchanged,  // nothing was read (no file, or the question was answered No)
    Quit,       // the user declined to create a missing project register: end the program
};

// The rows a pure reader found in a data file, or why it could not read it.
// The readers never ask and never touch the workspace; the operations that load
// a file into its table rethrow the error, so that the general error handler
// shows it as before.
struct FileRows {
    QList<QStringList> rows;  // the cells of columns 1 onwards of each row, as the table holds them
    std::optional<FileError> error;
    int cutCells = 0;  // cells cut to kMaxCellChars at reading

    bool Ok() const { return !error.has_value(); }
    QString ErrorString() const { return error ? error->Text() : QString(); }
    void ThrowIfFailed() const {
        if (error) throw *error;
    }
};

// Sizes beyond anything the program writes: a cell of megabytes (a damaged
// or foreign file) would be carried through every redraw of its table.
inline constexpr int kMaxCellChars = 2000;
inline constexpr qint64 kMaxDataFileBytes = qint64(64) << 20;

// The lines of a data file for a pure reader: a file that cannot be read, or
// is bigger than any data file, gives no lines and leaves the reason in error.
// Cells (fields between ";") longer than kMaxCellChars are cut there; cutCells,
// when given, counts them.
QStringList ReadDataLines(const QString& path, std::optional<FileError>& error,
                          int* cutCells = nullptr);

class Workspace;
// Tells the user that cells of the file were cut at reading; nothing when none were.
void ReportCutCells(Workspace& ws, const QString& path, int cutCells);
