#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The command line of orva-cli, as read from the arguments after the program name.
struct Arguments {
    enum class Command {
        None,
        Help,
        Check,
        Generate,
        Status,
        Backup,
        Ical,
        Finance,
        Minutes,
        Reconstruct
    };
    Command command = Command::None;
    QString base;  // empty: the current directory
    QString project;
    bool hasProject = false;
    bool force = false;
    QDate date;   // status: the reference day (invalid for today); minutes, reconstruct: --day
    QString out;  // the file (reconstruct: the folder) the command writes
    QString log;  // reconstruct: the change log
    // finance: the choices of the overview
    QString set, division;
    int dateKind = 0;     // 0: as the configuration keeps it
    int subsidyBase = 0;  // 0: as the configuration keeps it
};

// Reads the arguments; on a mistake returns false with a Czech message in error.
bool ParseArguments(const QStringList& args, Arguments& out, QString& error);

// The Czech help text.
QString UsageText();
