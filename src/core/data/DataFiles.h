#pragma once

#include <QString>
#include <QStringList>

class Workspace;

// What a load that may ask the user ended in.
enum class LoadResult {
    Loaded,     // the file was read into its table
    Created,    // a new file in basic form was written
    Unchanged,  // nothing was read (no file, or the question was answered No)
    Quit,       // the user declined to create a missing project register: end the program
};

enum class SaveMode { Open = 1, All = 2 };

// Project register.
LoadResult LoadProjectRegister(Workspace& ws, const QString& name);
void SaveProjectRegister(Workspace& ws, const QString& name);

// Progress files.
// Whether a text from a data file may become part of a file name: a project
// number with "/", "\" or ".." would name a file outside its folder.
bool IsSafeNamePart(const QString& text);
// The refusal reported for a project number that is not safe in a file name.
QString UnsafeNumberText(const QString& number);
QString ProgressFileName(Workspace& ws, const QString& number);
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

// Task templates and generation.
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

// People, pick lists and notes.
inline constexpr int kPeopleFields = 6;
QStringList DefaultPeopleLines();
// The pick-list text of one people line, or empty for a line without surname.
QString PersonEntry(const QString& line);
void LoadPeople(Workspace& ws, const QString& name);
void RefreshPickLists(Workspace& ws);
void LoadNotes(Workspace& ws, const QString& name);
void SaveNotes(Workspace& ws, const QString& name);
