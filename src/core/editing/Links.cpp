#include "Links.h"

#include <QDate>
#include <algorithm>
#include <cmath>

#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/Sorting.h"

namespace {

const QString kSuperiorMarker = QStringLiteral("N-");
const QString kPredecessorMarker = QStringLiteral("P-");

std::u16string_view View(QStringView s) {
    return {s.utf16(), size_t(s.size())};
}

double DateAt(const Table& t, int column, int row) {
    return ParseDate(t.Cell(column, row));
}
int DurationAt(const Table& t, int row) {
    return ParseInt(t.Cell(Deadline::Duration, row));
}

// The short date form, built directly: the passes write thousands of dates
// and the general formatter costs more than the rest of a pass.
QString ShortDate(double day) {
    const QDate date = DateFromDay(day);
    int year = 0, month = 0, dom = 0;
    date.getDate(&year, &month, &dom);
    if (year < 1000 || year > 9999) return FormatShortDate(day);
    char16_t text[10];
    int n = 0;
    auto put = [&](int value) {
        if (value >= 10) text[n++] = char16_t(u'0' + value / 10);
        text[n++] = char16_t(u'0' + value % 10);
    };
    put(dom);
    text[n++] = u'.';
    put(month);
    text[n++] = u'.';
    for (int div = 1000; div > 0; div /= 10) text[n++] = char16_t(u'0' + year / div % 10);
    return QString(reinterpret_cast<const QChar*>(text), n);
}

// An unset date goes into the cell as an empty text: it reads back as the
// empty date either way, and a cell showing 2.1.1900 would pass for a typing
// error wherever cells are checked.
void WriteDate(Table& t, int column, int row, double day) {
    t.SetCell(column, row, IsDateSet(day) ? ShortDate(day) : QString());
}

// Whole days as an integer text, without overflowing on absurd dates.
QString DaysText(double days) {
    return QString::number(days, 'f', 0);
}

// Who names whom, read once from column 12, which the passes never change.
// A row without an identifier names nothing: "N-" or "P-" alone would make it
// the superior or predecessor of every linked row.
struct LinkMap {
    explicit LinkMap(const Table& t) : rows(t.RowCount()) {
        const LinkIndex children(t, kSuperiorMarker);
        const LinkIndex successors(t, kPredecessorMarker);
        topLevel.assign(size_t(qMax(0, rows)), false);
        childrenOf.resize(topLevel.size());
        successorsOf.resize(topLevel.size());
        for (int r = 1; r < rows; ++r) {
            const QString own = OwnIdentifier(t, r);
            topLevel[size_t(r)] = !t.Cell(Deadline::Identifier, r).contains(kSuperiorMarker);
            if (own.isEmpty()) continue;
            if (topLevel[size_t(r)]) childrenOf[size_t(r)] = children.RowsLinkedTo(own);
            successorsOf[size_t(r)] = successors.RowsLinkedTo(own);
        }
    }

    int rows;
    std::vector<bool> topLevel;  // without "N-": a superior in the passes
    std::vector<std::vector<int>> childrenOf;
    std::vector<std::vector<int>> successorsOf;
};

// A superior spans its children: the first child's dates start the range,
// later children can only widen it with set dates.
void SuperiorPass(Table& t, const LinkMap& links) {
    for (int s = 1; s < links.rows; ++s) {
        if (!links.topLevel[size_t(s)]) continue;
        double start = DateAt(t, 5, s);
        double end = DateAt(t, 6, s);
        const int duration = DurationAt(t, s);
        if (!IsDateSet(end) && IsDateSet(start)) {
            end = start + duration;
            WriteDate(t, 6, s, end);
        }
        bool first = true;
        for (int c : links.childrenOf[size_t(s)]) {
            const double childStart = DateAt(t, 5, c);
            double childEnd = DateAt(t, 6, c);
            if (first) {
                start = childStart;
                end = childEnd;
                first = false;
            }
            // A child without length counts with its duration.
            if (childStart == childEnd) childEnd = childStart + DurationAt(t, c);
            if (childStart < start && IsDateSet(childStart)) start = childStart;
            if (childEnd > end && IsDateSet(childEnd)) end = childEnd;
        }
        // A span with an unset end would give tens of thousands of days and
        // wipe the duration that the predecessor pass needs for that end.
        const double days = std::nearbyint(end - start);
        if (days > 0 && IsDateSet(start) && IsDateSet(end))
            t.SetCell(Deadline::Duration, s, DaysText(days));
        WriteDate(t, 5, s, start);
        WriteDate(t, 6, s, end);
    }
}

// A successor starts the day after its predecessor's planned end.
void PredecessorPass(Table& t, const LinkMap& links) {
    for (int a = 1; a < links.rows; ++a) {
        double start = DateAt(t, 5, a);
        double end = DateAt(t, 6, a);
        const int duration = DurationAt(t, a);
        if (IsDateSet(start) && !IsDateSet(end)) end = start + duration;
        if (!IsDateSet(start) && IsDateSet(end)) start = end - duration;
        if (IsDateSet(start)) WriteDate(t, 5, a, start);
        if (IsDateSet(end)) WriteDate(t, 6, a, end);
        for (int b : links.successorsOf[size_t(a)]) {
            const int length = DurationAt(t, b);
            const double successorStart = DateAt(t, 5, b);
            const double successorEnd = DateAt(t, 6, b);
            if (!IsDateSet(successorEnd) && IsDateSet(successorStart))
                WriteDate(t, 6, b, successorStart + length);
            if (IsDateSet(start)) {
                WriteDate(t, 5, b, end + 1);
                WriteDate(t, 6, b, end + 1 + length);
            }
        }
    }
}

void RealisticTermPass(Table& t, const LinkMap& links, double today) {
    for (int s = 1; s < links.rows; ++s) {
        if (!links.topLevel[size_t(s)]) continue;
        qint64 sum = 0;
        for (int c : links.childrenOf[size_t(s)]) sum += DurationAt(t, c);
        if (sum > 0) t.SetCell(Deadline::Duration, s, QString::number(sum));
    }
    for (int r = 1; r < links.rows; ++r) {
        // Actual dates cannot lie in the future, nor can an item end before it started.
        const double actualStart = DateAt(t, 7, r);
        const double actualEnd = DateAt(t, 8, r);
        if (actualStart > today) t.SetCell(Deadline::ActualStart, r, QString());
        if (actualEnd > today || actualEnd < actualStart)
            t.SetCell(Deadline::ActualEnd, r, QString());
        RealisticTerm(t, r, today);
    }
}

}  // namespace

QString OwnIdentifier(const Table& deadlines, int row) {
    return SplitFields(deadlines.Cell(Deadline::Identifier, row), 1, u'/')[0];
}

LinkIndex::LinkIndex(const Table& deadlines, QStringView marker) {
    for (int r = 1; r < deadlines.RowCount(); ++r) {
        const QString cell = deadlines.Cell(Deadline::Identifier, r);
        for (qsizetype at = cell.indexOf(marker); at >= 0; at = cell.indexOf(marker, at + 1)) {
            const std::u16string_view tail = View(QStringView(cell).mid(at + marker.size()));
            tails_.push_back({std::u16string(tail), r});
        }
    }
    std::sort(tails_.begin(), tails_.end(), [](const Tail& a, const Tail& b) {
        return a.text < b.text || (a.text == b.text && a.row < b.row);
    });
}

std::vector<int> LinkIndex::RowsLinkedTo(const QString& identifier) const {
    // Every tail that begins with the identifier sorts right from its lower bound on.
    const std::u16string_view id = View(identifier);
    auto it = std::lower_bound(tails_.begin(), tails_.end(), id,
                               [](const Tail& t, std::u16string_view v) { return t.text < v; });
    std::vector<int> rows;
    for (; it != tails_.end() && it->text.starts_with(id); ++it) rows.push_back(it->row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

LinkRecorder::LinkRecorder(Workspace& ws, QObject* parent) : QObject(parent), ws_(ws) {
    state_.superiorCaption = QString::fromUtf16(kSuperiorIdleCaption);
    state_.predecessorCaption = QString::fromUtf16(kPredecessorDesignCaption);
}

bool LinkRecorder::ValidRow(int row) const {
    return row >= 1 && row < ws_.Deadlines.RowCount();
}

bool LinkRecorder::RecordSuperiorLink(int row) {
    if (!ValidRow(row)) return false;
    if (state_.pendingSuperior == 0) {
        state_.pendingSuperior = row;
        state_.superiorCaption = QStringLiteral("Nadřazena/%1/přidat podřízenou").arg(row);
        state_.predecessorEnabled = false;
        emit menuChanged();
        return false;
    }
    // The pending row may have gone since it was picked, or have no identifier;
    // a link to nothing is not written.
    if (!ValidRow(state_.pendingSuperior)) return false;
    Table& t = ws_.Deadlines;
    const QString superior = OwnIdentifier(t, state_.pendingSuperior);
    if (superior.isEmpty()) return false;
    const FieldBuffer f = SplitFields(t.Cell(Deadline::Identifier, row), 3, u'/');
    QString cell = f[0] + u'/';
    if (f[0] != superior) cell += kSuperiorMarker + superior;
    // An earlier superior link is replaced, a predecessor link kept.
    for (const QString& field : {f[1], f[2]})
        if (!field.isEmpty() && !field.contains(kSuperiorMarker)) cell += u'/' + field;
    t.SetCell(Deadline::Identifier, row, cell);
    // Marked at once: a recording never finished must not be lost at the close.
    ws_.SetChanged(kChangedDeadlines, true);
    ws_.NotifyRowsChanged(kDeadlineTable, row, row);
    return true;
}

bool LinkRecorder::RecordPredecessorLink(int row) {
    if (!ValidRow(row)) return false;
    const int pending = state_.pendingPredecessor;
    state_.pendingPredecessor = row;
    state_.predecessorCaption = QStringLiteral("Předchůdce/%1/pro následníka").arg(row);
    if (pending == 0) {
        state_.superiorEnabled = false;
        emit menuChanged();
        return false;
    }
    emit menuChanged();
    if (!ValidRow(pending)) return false;
    Table& t = ws_.Deadlines;
    const QString predecessor = OwnIdentifier(t, pending);
    // An empty identifier would only drop the row's earlier predecessor link.
    if (predecessor.isEmpty()) return false;
    const FieldBuffer f = SplitFields(t.Cell(Deadline::Identifier, row), 2, u'/');
    const QString keep = f[1].contains(kSuperiorMarker) ? f[1] + u'/' : QString();
    // A row is never its own predecessor.
    const QString link = f[0].contains(predecessor) ? QString() : kPredecessorMarker + predecessor;
    t.SetCell(Deadline::Identifier, row, f[0] + u'/' + keep + link);
    // Marked at once: a recording never finished must not be lost at the close.
    ws_.SetChanged(kChangedDeadlines, true);
    ws_.NotifyRowsChanged(kDeadlineTable, row, row);
    return true;
}

void LinkRecorder::FinishLinking() {
    state_ = LinkMenuState();
    state_.superiorCaption = QString::fromUtf16(kSuperiorIdleCaption);
    state_.predecessorCaption = QString::fromUtf16(kPredecessorIdleCaption);
    emit menuChanged();
    emit showDeadlineRow(ws_.Current().Row());
    ws_.SetChanged(kChangedDeadlines, true);
}

void RemoveAllLinks(Workspace& ws) {
    Table& t = ws.Deadlines;
    for (int r = 1; r < t.RowCount(); ++r) t.SetCell(Deadline::Identifier, r, OwnIdentifier(t, r));
    ws.SetChanged(kChangedDeadlines, true);
    ws.NotifyRowsChanged(kDeadlineTable, 1, t.RowCount() - 1);
}

void PropagateLinkDates(Workspace& ws, double today) {
    if (!ws.config.Flag(kFlagFollowLinks)) return;
    if (ws.config.Flag(kFlagSortByIdForGantt)) SortDeadlineTable(ws, Deadline::Identifier);
    Table& t = ws.Deadlines;
    // The passes change dates and durations only, so the links read once serve them all.
    const LinkMap links(t);
    SuperiorPass(t, links);
    PredecessorPass(t, links);
    SuperiorPass(t, links);
    RealisticTermPass(t, links, today);
    ws.SetChanged(kChangedDeadlines, true);
    ws.NotifyRowsChanged(kDeadlineTable, 1, t.RowCount() - 1);
}

void PropagateLinkDates(Workspace& ws) {
    PropagateLinkDates(ws, ws.StartMoment > 0 ? ws.StartMoment : NowDay());
}

double RealisticTerm(Table& deadlines, int row, double today) {
    const double actualStart = DateAt(deadlines, 7, row);
    const double actualEnd = DateAt(deadlines, 8, row);
    const double start = IsDateSet(actualStart) ? actualStart : today;
    const double end =
        IsDateSet(actualEnd) ? actualEnd : std::max(start + DurationAt(deadlines, row), today);
    WriteDate(deadlines, 10, row, start);
    WriteDate(deadlines, 11, row, end);
    return end;
}
