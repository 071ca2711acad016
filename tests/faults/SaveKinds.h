#pragma once

// The kinds of save the fault harness interrupts. Each kind saves one file
// (or appends to it) in two alternating versions; after a kill at any moment
// the file must be one whole version: never a mix, a cut or an empty file.
//
// To cover a new file, add a row to SaveKinds() in SaveKinds.cpp: how to save
// version 0 or 1, and (for an append) that it appends.

#include <QString>
#include <QStringList>
#include <functional>

class Workspace;

struct SaveKind {
    QString name;
    // The file the save writes, relative to the base directory.
    QString file;
    // Saves the given version (0 or 1) of the file. Throws FileError.
    std::function<void(Workspace& ws, int version)> save;
    // Appends a record each time instead of replacing the file: the file is
    // then its first whole state followed by any number of whole records.
    bool appends = false;
    // Removes the file before each save, so that its creation is interrupted too.
    bool recreates = false;
    // Carries the moment it was written (a PDF), which the check ignores.
    bool dated = false;
};

const QList<SaveKind>& SaveKinds();
const SaveKind* FindSaveKind(const QString& name);

// A workspace on the base directory with the clock fixed, so that every save
// of a version writes the same bytes.
void SetUpWorkspace(Workspace& ws, const QString& baseDir);

// Writes the reference copies of both versions into baseDir/refs/ and leaves
// version 0 in place. Throws FileError.
void PrepareSaveKind(const SaveKind& kind, Workspace& ws);
// Empty when the file is a whole version, else what is wrong with it.
QString CheckSaveKind(const SaveKind& kind, const QString& baseDir);
