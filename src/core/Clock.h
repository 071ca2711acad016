#pragma once

#include <QDateTime>

// The program's notion of "now". Everything that stamps a file or compares with
// today asks here, so tests can fix the moment.
class Clock {
  public:
    static QDateTime Now();
    static QDate Today() { return Now().date(); }
    // Fixes the moment returned by Now(); an invalid value returns to the system clock.
    static void Set(const QDateTime& moment);
    static void Reset() { Set(QDateTime()); }
};
