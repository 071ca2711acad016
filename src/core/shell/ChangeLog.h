#pragma once

#include <QString>

class Workspace;

// Record kinds of the change log beyond the table kinds 1, 2, 4 and 6.
enum LogKind : int {
    kLogEvent = 0,
    kLogDayWritten = 60,
    kLogDayDeleted = 62,
    kLogWholeDayDeleted = 64,
    kLogProjectAdded = 70,
    kLogDeadlineIds = 101,
    kLogFinanceIds = 104,
};

// Action labels, 25 characters each.
inline constexpr const char16_t* kLabelLogin = u"Přihlášení uživatele_____";
inline constexpr const char16_t* kLabelBackup = u"Záloha dat_______________";
inline constexpr const char16_t* kLabelUserSettings = u"Změna nast.uživatele_____";
inline constexpr const char16_t* kLabelSortDeadlines = u"Setřídění průběhů________";
inline constexpr const char16_t* kLabelSortFinance = u"Setřídění financí________";
inline constexpr const char16_t* kLabelNewIds = u"Generovaní nový ID_______";
// The slot of a crashed holder was taken over (kind 0).
inline constexpr const char16_t* kLabelTakeover = u"Převzetí_připojení_______";

// The file a record with this label goes to: the day's backup file of the user
// for a backup label, else the month's change log; name overrides both.
QString ChangeLogFileName(const Workspace& ws, const QString& name, const QString& label);

// Appends one record to the change log or the backup file in the change folder;
// a file that does not exist yet is created with a full snapshot of the data
// first. Throws FileError.
void LogChange(Workspace& ws, const QString& name, const QString& label, int kind, int row);

// The snapshot lines that head a new change log or backup file.
QStringList SnapshotLines(Workspace& ws);
