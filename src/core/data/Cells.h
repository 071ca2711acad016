#pragma once

#include <QString>
#include <array>

class Table;

// Cell helpers. None of them fails on bad cell text: a bad amount reads as 0,
// a bad date as the empty date, a bad integer as 0.

inline constexpr int kFieldBufferSize = 30;
using FieldBuffer = std::array<QString, kFieldBufferSize>;

double ParseAmount(const QString& text);
qint32 ParseInt(const QString& text);
// Day number of "d.M.yyyy" (blanks and commas ignored); also "d.M" (this year)
// and two-digit years (the century that puts the date within 50 years of today).
double ParseDate(const QString& text);

// Mode 1: outer blanks removed; mode 2: every blank removed. Both drop code 160.
QString TrimCell(const QString& text, int mode);
QString ReplaceChar(const QString& text, QChar from, QChar to);
// Splits a file line into count (at most 30) fields; see the file readers.
FieldBuffer SplitFields(const QString& line, int count, QChar separator);
// Pads with blanks to width (left for "right", else right); always at least one blank.
QString PadText(const QString& text, const QString& alignment, int width);

// The "%18.2n" cell form of an amount: two decimals rounded half away from zero,
// decimal comma, code 160 between thousands, right-aligned in 18 characters.
QString FormatAmount(double value);
// The same number without padding or thousands separators, as files store it.
QString FormatAmountPlain(double value);

// One data row: cells first..last of the row, each followed by ";", with ";"
// inside a cell written as "~"; amount columns [amountFrom, amountTo] trimmed.
QString RowLine(const Table& table, int row, int first, int last, int amountFrom = -1,
                int amountTo = -1);
