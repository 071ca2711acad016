#include "Cells.h"

#include <QDate>
#include <cmath>
#include <cstdio>

#include "../Clock.h"
#include "Dates.h"

namespace {

const QChar kNbsp(0x00A0);

bool IsSign(QChar c) { return c == u'+' || c == u'-'; }

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

QString AmountText(double value, bool grouped) {
    if (!std::isfinite(value)) value = 0.0;
    bool negative = false;
    const QString digits = RoundedDigits(value, &negative);
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
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (c == u'.') c = u',';
        if (c.isDigit() && c.unicode() < 128)
            kept.append(c);
        else if (c == u',' || IsSign(c))
            kept.append(c);
    }
    if (kept.isEmpty()) return 0.0;
    // An optional sign, digits, at most one decimal comma, at least one digit.
    int i = 0;
    if (IsSign(kept[0])) ++i;
    int digits = 0, commas = 0;
    for (; i < kept.size(); ++i) {
        if (kept[i] == u',') {
            if (++commas > 1) return 0.0;
        } else if (kept[i].isDigit()) {
            ++digits;
        } else {
            return 0.0;
        }
    }
    if (digits == 0) return 0.0;
    kept.replace(u',', u'.');
    bool ok = false;
    const double v = kept.toDouble(&ok);
    return ok ? v : 0.0;
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
    QString t = text;
    t.remove(u' ');
    t.remove(u',');
    t.remove(kNbsp);
    if (t.isEmpty()) return kEmptyDate;
    QStringList parts = t.split(u'.');
    if (parts.size() == 3 && parts[2].isEmpty()) parts.removeLast();  // "5.3."
    if (parts.size() < 2 || parts.size() > 3) return kEmptyDate;
    int values[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QString& p = parts[i];
        if (p.isEmpty() || p.size() > 4) return kEmptyDate;
        for (QChar c : p)
            if (!(c.isDigit() && c.unicode() < 128)) return kEmptyDate;
        values[i] = p.toInt();
    }
    const QDate today = Clock::Today();
    int year = today.year();
    if (parts.size() == 3) {
        year = values[2];
        if (parts[2].size() <= 2) {
            // The century that puts the date within 50 years of today.
            year += (today.year() / 100) * 100;
            if (year > today.year() + 50)
                year -= 100;
            else if (year <= today.year() - 50)
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

FieldBuffer SplitFields(const QString& line, int count, QChar separator) {
    FieldBuffer fields;
    count = qBound(0, count, kFieldBufferSize);
    QString t = TrimCell(line, 1);
    if (t.contains(QLatin1String("  "))) {
        QString collapsed;
        collapsed.reserve(t.size());
        for (QChar c : t)
            if (!(c == u' ' && !collapsed.isEmpty() && collapsed.back() == u' '))
                collapsed.append(c);
        t = collapsed;
    }
    qsizetype pos = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype sep = t.indexOf(separator, pos);
        if (sep < 0) {
            fields[i] = t.mid(pos);
            break;
        }
        fields[i] = TrimCell(t.mid(pos, sep - pos), 1);
        pos = sep + 1;
    }
    return fields;
}

QString PadText(const QString& text, const QString& alignment, int width) {
    const int missing = qMax(1, width - int(text.size()));
    const QString blanks(missing, u' ');
    return alignment == QLatin1String("right") ? blanks + text : text + blanks;
}

QString FormatAmount(double value) { return AmountText(value, true).rightJustified(18, u' '); }

QString FormatAmountPlain(double value) { return AmountText(value, false); }
