#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class Table;

// One project's deadline items for the office's calendar program.
struct CalendarProject {
    QString number;
    QString name;
};

// The deadline rows of a project ("T-" + its number in "Akce číslo") as
// iCalendar events (RFC 5545, UTF-8, CR LF, lines folded at 75 octets): one
// all-day event per row over its planned dates, the row identifier as the UID
// so that importing the file again updates the events instead of adding
// copies. A row without planned dates has nothing to show and is left out.
// Returns the events, without the calendar's frame.
QByteArray CalendarEvents(const Table& deadlines, const CalendarProject& project,
                          const QDateTime& stamp, int* count = nullptr);
// The calendar's frame around events.
QByteArray CalendarFile(const QByteArray& events);
