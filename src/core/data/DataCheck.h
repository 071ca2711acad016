#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "../Prompter.h"

class Workspace;

// Checking a shared data folder before it is trusted: the folder is read the
// way the program starts up, nothing is asked and nothing is written, and what
// the program would silently ignore or misread is listed.

// A cell that is not empty but reads as the empty date.
bool IsBadDateCell(const QString& cell);
// A cell with characters no amount has, or with a non-zero digit that still
// reads as 0 (for example "1.234,50", whose "." becomes a second comma).
bool IsBadAmountCell(const QString& cell);

struct SkippedLine {
    QString file;  // file name without directory
    int line = 0;  // counted from 1
    QString text;
};

struct BadCell {
    QString file;
    int line = 0;
    int column = 0;  // table column, which is also the field number of the line
    QString header;  // the table's header of that column
    QString text;
    bool amount = false;  // an amount was expected, else a date
};

struct ProjectCheck {
    QString number;
    QString fileName;  // the progress file name the program uses for this project
    bool missing = false;
    bool unreadable = false;
    // The number has "/", "\" or "..": no file is read or written under it.
    bool unsafeNumber = false;
    // Number of an earlier project whose progress file this project gets too,
    // because its number occurs in this one's; empty when the file is its own.
    QString sharesFileOf;
    int deadlineRows = 0;
    int financeRows = 0;
};

struct DataCheckReport {
    bool configFound = false;
    // What is wrong with a configuration file that exists: not in code page
    // 1250, or without its sections. Empty when nothing is.
    QString configProblem;
    QString registerPath;
    QString templatePath;
    bool registerLoaded = false;
    bool templatesLoaded = false;
    int templateRows = 0;  // rows below the header row
    QList<ProjectCheck> projects;
    QStringList missingFiles;  // full paths
    QStringList fileErrors;    // "<path>: <system message>"
    QList<SkippedLine> skipped;
    QList<BadCell> badCells;
    QList<ScriptedPrompter::Entry> prompts;  // every question and dialog, unanswered

    // Nothing missing, unreadable, asked, skipped or misread.
    bool Clean() const;
};

// Line scanners: append what the loader would skip or misread in the lines
// of one file. fileName only labels the findings.
void ScanRegisterLines(const QStringList& lines, const QString& fileName, DataCheckReport& report);
void ScanTemplateLines(const QStringList& lines, const QString& fileName, DataCheckReport& report);
// counts, when given, receives the number of deadline and finance rows.
void ScanProgressLines(const QStringList& lines, const QString& fileName, const QString& vatText,
                       DataCheckReport& report, ProjectCheck* counts = nullptr);

// Reads the configuration (the defaults when there is none; the file is not
// created), the project register, the task templates and every project's
// progress file in turn, counting each project's rows. The
// workspace must use prompter, whose answers should be empty so that every
// question is No and every dialog cancelled. The base directory must be set.
DataCheckReport CheckDataFolder(Workspace& ws, ScriptedPrompter& prompter);
