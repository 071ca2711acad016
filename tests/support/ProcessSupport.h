#pragma once

// Helpers of the small programs that tests start as separate workstations.

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QString>
#include <QThread>
#include <cstdio>

// One line on standard output, at once: the test reads it while the program runs.
inline void Print(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The base directory argument as the configuration holds it, with its slash.
inline QString BaseDirArgument(QString base) {
    if (!base.endsWith(u'/')) base += u'/';
    return base;
}

// Prints "READY" and waits for the go file, so that several programs can be let
// go at the same moment. False when it did not appear within 20 s.
inline bool WaitForGoFile(const QString& path) {
    Print("READY");
    QDeadlineTimer deadline(20000);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired()) return false;
        QThread::usleep(200);
    }
    return true;
}
