#include "Clock.h"

namespace {
QDateTime& FixedMoment() {
    static QDateTime moment;
    return moment;
}
}  // namespace

QDateTime Clock::Now() {
    const QDateTime& fixed = FixedMoment();
    return fixed.isValid() ? fixed : QDateTime::currentDateTime();
}

void Clock::Set(const QDateTime& moment) {
    FixedMoment() = moment;
}
