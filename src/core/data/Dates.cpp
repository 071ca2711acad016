#include "Dates.h"

#include <cmath>

#include "../Clock.h"

namespace {
// 30 December 1899, as a constant: a global QDate built at start-up would not
// be ready for other files' start-up code that converts dates.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019);
}  // namespace

double DayFromDate(const QDate& date) {
    return double(kEpoch.daysTo(date));
}

double DayFromDateTime(const QDateTime& moment) {
    const QTime t = moment.time();
    return DayFromDate(moment.date()) + double(t.msecsSinceStartOfDay()) / 86400000.0;
}

QDate DateFromDay(double day) {
    return kEpoch.addDays(qint64(std::floor(day)));
}

QDateTime DateTimeFromDay(double day) {
    const double whole = std::floor(day);
    const qint64 ms = qint64(std::llround((day - whole) * 86400000.0));
    return QDateTime(DateFromDay(whole), QTime(0, 0)).addMSecs(ms);
}

double NowDay() {
    return DayFromDateTime(Clock::Now());
}
double TodayDay() {
    return DayFromDate(Clock::Today());
}

QString FormatDate(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}
QString FormatDate(double day) {
    return FormatDate(DateFromDay(day));
}
QString FormatShortDate(const QDate& date) {
    return date.toString(QStringLiteral("d.M.yyyy"));
}
QString FormatShortDate(double day) {
    return FormatShortDate(DateFromDay(day));
}
