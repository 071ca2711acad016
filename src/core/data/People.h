#pragma once

#include <QString>
#include <QStringList>

class Workspace;

// People, pick lists and notes.
inline constexpr int kPeopleFields = 6;
QStringList DefaultPeopleLines();
// The pick-list text of one people line, or empty for a line without surname.
QString PersonEntry(const QString& line);
// Pure reader: the distinct pick-list entries of a people file. Throws FileError.
QStringList ReadPeopleEntries(const QString& path);
void LoadPeople(Workspace& ws, const QString& name);
void RefreshPickLists(Workspace& ws);
void LoadNotes(Workspace& ws, const QString& name);
void SaveNotes(Workspace& ws, const QString& name);

// The choices of the entry window's fields, from the tables, each without empty
// or repeated values.
struct EntryFormLists {
    QStringList projectNumbers;
    QStringList projectNames;
    QStringList managers;
    QStringList technicians;
    QStringList deadlineActivities;
    QStringList deadlineClassifications;
    QStringList deadlineSteps;
    QStringList deadlineInfos;
    QStringList deadlineNotes;
    // The finance rows' values, then those of templates other than deadlines.
    QStringList financeActivities;
    QStringList financeClassifications;  // the templates' only
    // The finance rows' values, then every template's.
    QStringList financeSteps;
};
EntryFormLists EntryFormPickLists(const Workspace& ws);
// Number + "/ " + name of every project with a number, once each.
QStringList ProjectPickEntries(const Workspace& ws);
