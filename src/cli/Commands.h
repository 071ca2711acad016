#pragma once

#include <QTextStream>

struct Arguments;

// Exit statuses of orva-cli.
enum ExitStatus : int {
    kExitOk = 0,
    // Missing or unreadable files, projects left out, or problems found by the check.
    kExitProblems = 1,
    kExitUsage = 2,
};

// Each command reports on out (the summary) and err (file errors), and returns
// its exit status.
int RunCheck(const Arguments& args, QTextStream& out, QTextStream& err);
int RunGenerate(const Arguments& args, QTextStream& out, QTextStream& err);
// The morning list: one line per late deadline or payment of every project.
int RunStatus(const Arguments& args, QTextStream& out, QTextStream& err);
// A full backup into the change folder, as the menu command writes it.
int RunBackup(const Arguments& args, QTextStream& out, QTextStream& err);
// The planned dates of the deadline items as an iCalendar file (all projects,
// or the one of --project), for the office's calendar program.
int RunIcal(const Arguments& args, QTextStream& out, QTextStream& err);
// The finance overview with the chosen choices, written as a results file.
int RunFinance(const Arguments& args, QTextStream& out, QTextStream& err);
// The minutes of a day from the diary, written as RTF or PDF (needs a QGuiApplication).
int RunMinutes(const Arguments& args, QTextStream& out, QTextStream& err);
// Rebuilds the project table and progress files as of the end of a day from a
// change log, into a folder of their own.
int RunReconstruct(const Arguments& args, QTextStream& out, QTextStream& err);
