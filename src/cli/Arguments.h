#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The command line of orva-cli, as read from the arguments after the program name.
struct Arguments {
    enum class Command { None, Help, Check, Generate, Status, Backup, Reconstruct };
    Command command = Command::None;
    QString base;  // empty: the current directory
    QString project;
    bool hasProject = false;
    bool force = false;
    QDate date;  // status: the reference day; invalid for today
    // reconstruct: the change log, the day whose end is rebuilt and the folder written to
    QString log;
    QDate day;
    QString out;
};

// Reads the arguments; on a mistake returns false with a Czech message in error.
bool ParseArguments(const QStringList& args, Arguments& out, QString& error);

// The Czech help text.
QString UsageText();
