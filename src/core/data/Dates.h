#pragma once

#include <QDateTime>
#include <QString>

// Dates are day numbers counted from 30 December 1899, with the time of day as
// the fraction. Day 3.0 (2 January 1900) is the empty date; a date counts as set
// above day 1000.
inline constexpr double kEmptyDate = 3.0;
inline constexpr double kSetDateThreshold = 1000.0;

double DayFromDate(const QDate& date);
double DayFromDateTime(const QDateTime& moment);
QDate DateFromDay(double day);
QDateTime DateTimeFromDay(double day);
double NowDay();  // now, with the time of day
double TodayDay();

inline bool IsDateSet(double day) {
    return day > kSetDateThreshold;
}

// "dd.mm.yyyy", the form of cells and files.
QString FormatDate(double day);
QString FormatDate(const QDate& date);
// "d.M.yyyy", the short display form.
QString FormatShortDate(double day);
QString FormatShortDate(const QDate& date);
