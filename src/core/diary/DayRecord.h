#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;
class Workspace;
struct Config;

// One task row of a day record: who, what, by when (a "d.M.yyyy" text) and its state.
struct DayTask {
    QString person;
    QString task;
    QString deadline;
    QString state;
    bool operator==(const DayTask&) const = default;
};

inline constexpr const char16_t* kStateRunning = u"V běhu";
inline constexpr const char16_t* kStateNewTerm = u"Nový termín";
inline constexpr const char16_t* kStateDone = u"Splněno";
inline constexpr const char16_t* kStateStopped = u"Zastaveno";
inline constexpr const char16_t* kStateOverdue = u"PO_TERMÍNU";
// The short message of a record whose first message line is empty.
inline constexpr const char16_t* kNoMessage = u"Není";

// One project's record of one day, as the day entry window holds it.
struct DayRecord {
    double day = 0;  // the record's day; "now" when the file does not say
    int taskCount = 0;
    int deadlineProblems = 0;
    QString shortMessage;  // empty: no record
    QString person;        // the person chooser's text (written up to its "[")
    QString note;          // the note chooser's text
    QList<DayTask> tasks;
    QStringList minutes;
    QStringList messages;
    // A task read back as overdue: the task counter shows in red.
    bool overdue = false;

    bool Exists() const { return !shortMessage.isEmpty(); }
};

// "Den_yyyy.mm.dd.ITI", the file of the day.
QString DayFileName(double day);
// In the diary folder ("CestaDennik") of the configuration.
QString DayFilePath(const Config& config, double day);

// The project's fields that a write stores beside the record.
struct DayProject {
    QString number;
    QString name;
    QString manager;
    QString technician;
};

// Pure reading and writing of one section of a loaded day file. Reading takes
// every task and text key of the section in numeric order whatever gaps lie
// between them; writing removes every task and text key first, so that rows
// and lines of an earlier, longer record never come back. The write sets
// record.shortMessage to the stored "Hláška".
DayRecord ReadDayRecordFrom(const IniFile& ini, const QString& section, double now);
void WriteDayRecordTo(IniFile& ini, const DayProject& project, double day, DayRecord& record);

// The same on the day files of the workspace; a projectRow outside the
// project table does nothing (an empty record). Throws FileError.
void WriteDayRecord(Workspace& ws, double day, int projectRow, DayRecord& record);
DayRecord ReadDayRecord(Workspace& ws, int projectRow, double day);
void EraseDayRecord(Workspace& ws, double day, int projectRow);
void DeleteDayFile(Workspace& ws, double day);
