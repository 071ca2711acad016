#include "Cells.h"

#include <QDate>
#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "../Clock.h"
#include "Dates.h"
#include "Table.h"

namespace {

const QChar kNbsp(0x00A0);

bool IsSign(QChar c) {
    return c == u'+' || c == u'-';
}

// Decimal digits of |value| rounded half away from zero to two decimals, as
// the value's 15 significant digits show it (so 1.005 rounds up, as typed).
QString RoundedDigits(double value, bool* negative) {
    *negative = std::signbit(value) && value != 0.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf: d.dddddddddddddde[+-]xx
    QByteArray mant;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') mant.append(*p);
    const int exp = std::atoi(p + 1);
    // mant holds 15 digits with the decimal point after the first one.
    int pointPos = 1 + exp;  // digits before the decimal point
    QByteArray intPart, frac;
    if (pointPos <= 0) {
        intPart = "0";
        frac = QByteArray(-pointPos, '0') + mant;
    } else if (pointPos >= mant.size()) {
        intPart = mant + QByteArray(pointPos - mant.size(), '0');
    } else {
        intPart = mant.left(pointPos);
        frac = mant.mid(pointPos);
    }
    while (frac.size() < 3) frac.append('0');
    QByteArray digits = intPart + frac.left(2);
    if (frac[2] >= '5') {
        int i = digits.size() - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i < 0)
            digits.prepend('1');
        else
            digits[i] = char(digits[i] + 1);
    }
    while (digits.size() > 3 && digits[0] == '0') digits.remove(0, 1);
    if (digits == "000") *negative = false;
    return QString::fromLatin1(digits);
}

// Whole cents, for a value that lies within a millionth of a cent of them and is
// small enough that its 15 significant digits show those cents exactly; such a
// value rounds to them however the digits are read. Every amount read from a
// cell with at most two decimals is one.
bool ExactCents(double value, qint64* cents) {
    if (!(std::fabs(value) < 1e11)) return false;
    const double scaled = value * 100.0;
    const double whole = std::nearbyint(scaled);
    if (std::fabs(scaled - whole) > 1e-6) return false;
    *cents = qint64(whole);
    return true;
}

QString AmountText(double value, bool grouped) {
    if (!std::isfinite(value)) value = 0.0;
    bool negative = false;
    QString digits;
    qint64 cents = 0;
    if (ExactCents(value, &cents)) {
        negative = cents < 0;
        digits = QString::number(negative ? -cents : cents).rightJustified(3, u'0');
    } else {
        digits = RoundedDigits(value, &negative);
    }
    const QString intPart = digits.left(digits.size() - 2);
    QString out;
    if (grouped) {
        for (int i = 0; i < intPart.size(); ++i) {
            if (i > 0 && (intPart.size() - i) % 3 == 0) out.append(kNbsp);
            out.append(intPart[i]);
        }
    } else {
        out = intPart;
    }
    out += u',' + digits.right(2);
    if (negative) out.prepend(u'-');
    return out;
}

}  // namespace

double ParseAmount(const QString& text) {
    // The kept characters are ASCII, so they go into a byte buffer that
    // std::from_chars reads; QString::toDouble goes through the locale machinery.
    QVarLengthArray<char, 64> kept;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'-')
            kept.append(char(u));
        else if (u == u',' || u == u'.')
            kept.append('.');
    }
    if (kept.isEmpty()) return 0.0;
    // An optional sign, digits, at most one decimal comma, at least one digit.
    qsizetype i = 0;
    const bool plus = kept[0] == '+';
    if (plus || kept[0] == '-') ++i;
    int digits = 0, commas = 0;
    for (; i < kept.size(); ++i) {
        if (kept[i] == '.') {
            if (++commas > 1) return 0.0;
        } else if (kept[i] >= '0' && kept[i] <= '9') {
            ++digits;
        } else {
            return 0.0;
        }
    }
    if (digits == 0) return 0.0;
    const char* begin = kept.data() + (plus ? 1 : 0);
    const char* end = kept.data() + kept.size();
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(begin, end, v);
    return ec == std::errc() && ptr == end ? v : 0.0;
}

qint32 ParseInt(const QString& text) {
    QString t = text;
    t.remove(u' ');
    if (t.isEmpty()) return 0;
    for (QChar c : t)
        if (!(c.isDigit() && c.unicode() < 128) && !IsSign(c)) return 0;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok || v < INT32_MIN || v > INT32_MAX) return 0;
    return qint32(v);
}

double ParseDate(const QString& text) {
    // Day, month and year are read in place: blanks, commas and code 160 are
    // ignored, "." separates the parts, anything else is no date.
    int values[3] = {0, 0, 0};
    int lengths[3] = {0, 0, 0};
    int parts = 1;
    bool any = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u',' || u == 0x00A0) continue;
        any = true;
        if (u == u'.') {
            if (++parts > 3) return kEmptyDate;
            continue;
        }
        if (u < u'0' || u > u'9') return kEmptyDate;
        const int p = parts - 1;
        if (++lengths[p] > 4) return kEmptyDate;
        values[p] = values[p] * 10 + (u - u'0');
    }
    if (!any) return kEmptyDate;
    if (parts == 3 && lengths[2] == 0) parts = 2;  // "5.3."
    if (parts < 2) return kEmptyDate;
    for (int i = 0; i < parts; ++i)
        if (lengths[i] == 0) return kEmptyDate;
    int year = values[2];
    // Only a missing or two-digit year needs today's date; asking the clock for
    // every cell costs a time-zone lookup each time.
    if (parts < 3 || lengths[2] <= 2) {
        const int thisYear = Clock::Today().year();
        if (parts < 3) {
            year = thisYear;
        } else {
            // The century that puts the date within 50 years of today.
            year += (thisYear / 100) * 100;
            if (year > thisYear + 50)
                year -= 100;
            else if (year <= thisYear - 50)
                year += 100;
        }
    }
    const QDate date(year, values[1], values[0]);
    return date.isValid() ? DayFromDate(date) : kEmptyDate;
}

QString TrimCell(const QString& text, int mode) {
    QString t = text;
    t.remove(kNbsp);
    int b = 0, e = t.size();
    while (b < e && t[b] == u' ') ++b;
    while (e > b && t[e - 1] == u' ') --e;
    t = t.mid(b, e - b);
    if (mode == 2) t.remove(u' ');
    return t;
}

QString ReplaceChar(const QString& text, QChar from, QChar to) {
    QString t = text;
    t.replace(from, to);
    return t;
}

namespace {

QStringView TrimBlanks(QStringView v) {
    qsizetype b = 0, e = v.size();
    while (b < e && v[b] == u' ') ++b;
    while (e > b && v[e - 1] == u' ') --e;
    return v.mid(b, e - b);
}

bool HasBlankRun(QStringView v) {
    for (qsizetype i = 1; i < v.size(); ++i)
        if (v[i] == u' ' && v[i - 1] == u' ') return true;
    return false;
}

}  // namespace

FieldBuffer SplitFields(const QString& line, int count, QChar separator) {
    FieldBuffer fields;
    count = qBound(0, count, kFieldBufferSize);
    // The line is trimmed and its blank runs collapsed; most lines need neither
    // a copy nor any change, so they are read in place.
    QString changed;
    QStringView t = TrimBlanks(line);
    if (t.contains(kNbsp) || HasBlankRun(t)) {
        changed = TrimCell(line, 1);
        if (HasBlankRun(changed)) {
            QString collapsed;
            collapsed.reserve(changed.size());
            for (QChar c : changed)
                if (!(c == u' ' && !collapsed.isEmpty() && collapsed.back() == u' '))
                    collapsed.append(c);
            changed = collapsed;
        }
        t = changed;
    }
    // No code 160 is left, so trimming a field only removes outer blanks.
    qsizetype pos = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype sep = t.indexOf(separator, pos);
        if (sep < 0) {
            fields[i] = t.mid(pos).toString();
            break;
        }
        fields[i] = TrimBlanks(t.mid(pos, sep - pos)).toString();
        pos = sep + 1;
    }
    return fields;
}

QString PadText(const QString& text, const QString& alignment, int width) {
    const int missing = qMax(1, width - int(text.size()));
    const QString blanks(missing, u' ');
    return alignment == QLatin1String("right") ? blanks + text : text + blanks;
}

QString FormatAmount(double value) {
    return AmountText(value, true).rightJustified(18, u' ');
}

QString FormatAmountPlain(double value) {
    return AmountText(value, false);
}

QString RowLine(const Table& table, int row, int first, int last, int amountFrom, int amountTo) {
    QString line;
    for (int c = first; c <= last; ++c) {
        QString cell = ReplaceChar(table.Cell(c, row), u';', u'~');
        if (c >= amountFrom && c <= amountTo) cell = TrimCell(cell, 1);
        line += cell;
        line += u';';
    }
    return line;
}
