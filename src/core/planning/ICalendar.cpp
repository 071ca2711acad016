#include "ICalendar.h"

#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/Table.h"
#include "../editing/Links.h"

namespace {

constexpr int kLineOctets = 75;

// TEXT values: backslash, semicolon, comma and line breaks escaped.
QString EscapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u';' || c == u',') {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else if (c == u'\r') {
            continue;
        } else if (c.category() == QChar::Other_Control) {
            out += u' ';
        } else {
            out += c;
        }
    }
    return out;
}

// One content line, folded so that no line exceeds 75 octets and no UTF-8
// sequence is split; a continuation line starts with a blank.
QByteArray ContentLine(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    QByteArray out;
    int start = 0;
    int limit = kLineOctets;
    while (utf8.size() - start > limit) {
        int cut = start + limit;
        // Back to the first byte of a character.
        while (cut > start && (uchar(utf8[cut]) & 0xC0) == 0x80) --cut;
        out += utf8.mid(start, cut - start) + "\r\n ";
        start = cut;
        limit = kLineOctets - 1;  // the blank counts
    }
    out += utf8.mid(start) + "\r\n";
    return out;
}

QString CalendarDate(double day) {
    return DateFromDay(day).toString(QStringLiteral("yyyyMMdd"));
}

}  // namespace

QByteArray CalendarEvents(const Table& t, const CalendarProject& project, const QDateTime& stamp,
                          int* count) {
    QByteArray out;
    int events = 0;
    const QString kindCell = QStringLiteral("T-") + project.number;
    const QString stampText = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (int r = 1; r < t.RowCount(); ++r) {
        if (TrimCell(t.Cell(Deadline::KindAndProject, r), 1) != kindCell) continue;
        double from = ParseDate(t.Cell(Deadline::PlanStart, r));
        double to = ParseDate(t.Cell(Deadline::PlanEnd, r));
        if (!IsDateSet(from) && !IsDateSet(to)) continue;
        if (!IsDateSet(from)) from = to;
        if (!IsDateSet(to) || to < from) to = from;
        QString uid = OwnIdentifier(t, r).trimmed();
        // Rows without an identifier still need a UID of their own.
        if (uid.isEmpty()) uid = kindCell + QStringLiteral("-radek-") + QString::number(r);
        const QString activity = t.Cell(Deadline::Activity, r);
        const QString classification = t.Cell(Deadline::Classification, r);
        const QString step = t.Cell(Deadline::Step, r);
        QStringList details;
        details << QStringLiteral("Akce: ") + project.number + u' ' + project.name;
        if (!classification.isEmpty()) details << QStringLiteral("Zařazení: ") + classification;
        if (!step.isEmpty()) details << QStringLiteral("Proces: ") + step;
        details << QStringLiteral("Plán: ") + FormatDate(from) + QStringLiteral(" - ") +
                       FormatDate(to);
        const QString actualFrom = t.Cell(Deadline::ActualStart, r);
        const QString actualTo = t.Cell(Deadline::ActualEnd, r);
        if (!actualFrom.trimmed().isEmpty() || !actualTo.trimmed().isEmpty())
            details << QStringLiteral("Skutečnost: ") + actualFrom + QStringLiteral(" - ") +
                           actualTo;
        details << QStringLiteral("ID: ") + uid;

        out += ContentLine(QStringLiteral("BEGIN:VEVENT"));
        out += ContentLine(QStringLiteral("UID:") + EscapeText(uid));
        out += ContentLine(QStringLiteral("DTSTAMP:") + stampText);
        out += ContentLine(QStringLiteral("DTSTART;VALUE=DATE:") + CalendarDate(from));
        // The end of an all-day event is the day after its last day.
        out += ContentLine(QStringLiteral("DTEND;VALUE=DATE:") + CalendarDate(to + 1));
        out += ContentLine(QStringLiteral("SUMMARY:") +
                           EscapeText(project.number + u' ' + project.name + QStringLiteral(": ") +
                                      (activity.isEmpty() ? uid : activity)));
        out += ContentLine(QStringLiteral("DESCRIPTION:") + EscapeText(details.join(u'\n')));
        out += ContentLine(QStringLiteral("CATEGORIES:") + EscapeText(project.number));
        out += ContentLine(QStringLiteral("TRANSP:TRANSPARENT"));
        out += ContentLine(QStringLiteral("END:VEVENT"));
        ++events;
    }
    if (count) *count = events;
    return out;
}

QByteArray CalendarFile(const QByteArray& events) {
    QByteArray out;
    out += ContentLine(QStringLiteral("BEGIN:VCALENDAR"));
    out += ContentLine(QStringLiteral("VERSION:2.0"));
    out += ContentLine(QStringLiteral("PRODID:-//ORVA//Sledování ORVA//CS"));
    out += ContentLine(QStringLiteral("CALSCALE:GREGORIAN"));
    out += ContentLine(QStringLiteral("METHOD:PUBLISH"));
    out += events;
    out += ContentLine(QStringLiteral("END:VCALENDAR"));
    return out;
}
