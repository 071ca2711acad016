#include "Calendar.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <cmath>

#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/IniFile.h"
#include "../data/Progress.h"
#include "../editing/Status.h"

QString CalendarView::ColumnDate(int column) const {
    return FormatDate(Day(column));
}

int CalendarView::ColumnOf(double day) const {
    const auto c = qint64(std::floor(day) - std::floor(first)) + 1;
    return c >= 1 && c <= columns ? int(c) : 0;
}

int DayColumns(int gridWidth, int cellWidth) {
    return qMax(0, gridWidth) / qMax(1, cellWidth) + 1;
}

int CellIndex(int position, int size) {
    return int(std::nearbyint(double(position) / qMax(1, size) + 0.5));
}

double ScreenBack(double first, int columns) {
    return first - columns;
}

double ScreenForward(double first, int columns) {
    return first + columns - 1;
}

double TodayFirst(double startMoment) {
    return startMoment - 7;
}

double MonthBack(double first) {
    const QDate d = DateFromDay(first);
    const QDate start(d.year(), d.month(), 1);
    return DayFromDate(d.day() > 5 ? start : start.addMonths(-1));
}

double MonthForward(double first, int columns) {
    const QDate g = DateFromDay(first + columns);
    const QDate start(g.year(), g.month(), 1);
    return DayFromDate(g.day() < 28 ? start : start.addMonths(1));
}

QColor ProjectColour(const QString& number) {
    switch (number.isEmpty() ? u'?' : number.front().unicode()) {
        case u'1':
            return QColor(0x00, 0x00, 0x80);
        case u'2':
            return QColor(0xFF, 0x00, 0x00);
        case u'3':
            return QColor(0x80, 0x00, 0x00);
        case u'4':
            return QColor(0x00, 0x80, 0x80);
        case u'5':
            return QColor(0x80, 0x00, 0x80);
        case u'6':
            return QColor(0x80, 0x80, 0x00);
        case u'7':
            return QColor(0xFF, 0x00, 0xFF);
        case u'8':
            return QColor(0x00, 0x00, 0xFF);
        case u'9':
            return QColor(0x00, 0x80, 0x00);
        case u'0':
            return QColor(0x00, 0xFF, 0x00);
        case u'a':
            return QColor(0xFF, 0xFF, 0x00);
        case u'b':
            return QColor(0x00, 0xFF, 0xFF);
        case u'c':
            return QColor(0x00, 0x00, 0x00);
        default:
            return QColor(0x00, 0x00, 0xFF);
    }
}

QColor ProblemColour(int score, const QColor& previous) {
    switch (score) {
        case 1:
            return QColor(0x00, 0xFF, 0xFF);
        case 2:
            return QColor(0x00, 0xFF, 0x00);
        case 3:
            return QColor(0xFF, 0x00, 0xFF);
        case 4:
            return QColor(0x80, 0x00, 0x80);
        case 5:
            return QColor(0x80, 0x00, 0x00);
        case 6:
            return QColor(0x00, 0x80, 0x00);
        case 7:
            return QColor(0x00, 0x00, 0xFF);
        case 8:
            return previous;
        case 9:
            return QColor(0x00, 0x00, 0x80);
        default:
            return score >= 10 ? QColor(0xFF, 0x00, 0x00) : previous;
    }
}

const QHash<QString, DayRecord>& DayFileCache::Records(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        entries_.erase(path);
        return none_;
    }
    auto it = entries_.find(path);
    const FileStamp stamp = FileStamp::Of(info);
    if (it != entries_.end() && it->second.stamp == stamp) return it->second.records;
    ++parses_;
    Entry entry;
    entry.stamp = stamp;
    const IniFile ini = IniFile::Load(path);
    // Each section read on its own, so that a file of many projects is not
    // searched from the top for every key.
    const QStringList& lines = ini.Lines();
    const double now = NowDay();
    QString section;
    QStringList own;
    auto flush = [&] {
        if (section.isEmpty()) return;
        entry.records.insert(section.toUpper(),
                             ReadDayRecordFrom(IniFile::FromLines(own), section, now));
    };
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(u'[') && t.contains(u']')) {
            flush();
            section = t.mid(1, t.indexOf(u']') - 1).trimmed();
            own = QStringList{u'[' + section + u']'};
        } else if (!section.isEmpty()) {
            own << line;
        }
    }
    flush();
    return (entries_[path] = std::move(entry)).records;
}

namespace {

double CellDate(const QStringList& row, int column) {
    return ParseDate(row.value(column - 1));
}

}  // namespace

// The project's deadline and payment dates: from the tables when they hold
// its progress file (they may carry unsaved edits), else from its file.
CalendarData::ProjectDates CalendarData::DatesOf(Workspace& ws, const QString& number,
                                                 const QString& fileName) {
    ProjectDates dates;
    if (number.isEmpty()) return dates;
    if (fileName == ws.config.SouborPopis) {
        for (int r = 1; r < ws.Deadlines.RowCount(); ++r)
            if (ws.Deadlines.Cell(Deadline::KindAndProject, r).contains(number))
                dates.deadlines << DeadlineDatesOf(ws.Deadlines, r);
        for (int r = 1; r < ws.Finance.RowCount(); ++r)
            if (ws.Finance.Cell(Finance::KindAndProject, r).contains(number))
                dates.payments << PaymentDatesOf(ws.Finance, r);
        return dates;
    }
    const QString path = ws.config.DataPath(fileName);
    // A project without a progress file has no problems to show, and nobody to ask.
    if (!IsSafeNamePart(fileName) || !QFileInfo::exists(path)) return dates;
    // Parsed once for as long as the progress cache serves the same rows.
    const int parses = progress_.ParseCount();
    const ProgressRows& rows = progress_.Read(path, ws.config.VyseDPH);
    if (progress_.ParseCount() == parses && dates_.contains(path)) return dates_.value(path);
    for (const QStringList& row : rows.deadlines) {
        if (!row.value(Deadline::KindAndProject - 1).contains(number)) continue;
        dates.deadlines << DeadlineDates{
            CellDate(row, Deadline::PlanStart), CellDate(row, Deadline::PlanEnd),
            CellDate(row, Deadline::ActualStart), CellDate(row, Deadline::ActualEnd)};
    }
    for (const QStringList& row : rows.finance) {
        if (!row.value(Finance::KindAndProject - 1).contains(number)) continue;
        Table one(kFinanceTable);
        for (int c = 1; c <= row.size(); ++c) one.SetCell(c, 1, row[c - 1]);
        dates.payments << PaymentDatesOf(one, 1);
    }
    dates_.insert(path, dates);
    return dates;
}

void CalendarData::Compute(Workspace& ws, const CalendarView& view, int firstRow, int lastRow,
                           bool withRecords) {
    rows_.clear();
    lastRow = qMin(lastRow, ws.Projects.RowCount() - 1);
    firstRow = qMax(1, firstRow);
    if (firstRow > lastRow) return;

    // The file names, found without moving the current project for good.
    QStringList names;
    {
        const QSignalBlocker quiet(&ws.Current());
        const int current = ws.Current().ProjectRow();
        for (int a = firstRow; a <= lastRow; ++a) {
            const QString number = ws.Projects.Cell(Project::Number, a);
            names << (number.isEmpty() ? QString() : ProgressFileName(ws, number));
        }
        ws.Current().SetProjectRow(current);
    }
    QList<const QHash<QString, DayRecord>*> days;
    if (withRecords)
        for (int c = 1; c <= view.columns; ++c)
            days << &dayFiles_.Records(DayFilePath(ws.config, view.Day(c)));

    const int deadlineTolerance = ws.config.UchylkaTerminy;
    const int paymentTolerance = ws.config.UchylkaFinance;
    for (int a = firstRow; a <= lastRow; ++a) {
        const QString number = ws.Projects.Cell(Project::Number, a);
        const ProjectDates dates = DatesOf(ws, number, names[a - firstRow]);
        const QString section = number.toUpper();
        QList<CalendarCell>& cells = rows_[a];
        cells.resize(view.columns);
        for (int c = 1; c <= view.columns; ++c) {
            CalendarCell& cell = cells[c - 1];
            const double t = view.Day(c);
            for (const DeadlineDates& d : dates.deadlines)
                if (const int k = DeadlineScore(d, t, deadlineTolerance); k > 0) cell.problems << k;
            for (const PaymentDates& p : dates.payments)
                if (PaymentDelay(p, t, paymentTolerance) > 0) ++cell.payments;
            if (!withRecords || number.isEmpty()) continue;
            const auto found = days[c - 1]->constFind(section);
            if (found == days[c - 1]->constEnd() || !found->Exists()) continue;
            cell.hasRecord = true;
            cell.taskCount = found->taskCount;
            cell.overdue = found->overdue;
            cell.shortMessage = found->shortMessage;
        }
    }
}

void CalendarData::ComputeRow(Workspace& ws, const CalendarView& view, int row, bool withRecords) {
    QHash<int, QList<CalendarCell>> kept = std::move(rows_);
    Compute(ws, view, row, row, withRecords);
    QList<CalendarCell> fresh = rows_.value(row);
    rows_ = std::move(kept);
    if (!fresh.isEmpty()) rows_[row] = std::move(fresh);
}

const CalendarCell& CalendarData::Cell(int row, int column) const {
    const auto it = rows_.constFind(row);
    if (it == rows_.constEnd() || column < 1 || column > it->size()) return empty_;
    return (*it)[column - 1];
}
