#include "Sorting.h"

#include <QStringEncoder>
#include <algorithm>
#include <numeric>
#include <vector>

#include "../Workspace.h"
#include "../shell/ChangeLog.h"
#include "Cells.h"
#include "Columns.h"

namespace {

enum class KeyType { None, Amount, Date, Text };

// An empty text cell sorts as this text, between upper-case and lower-case initials.
const QString kEmptyText = QStringLiteral("ZZZZZ");
// A date cell too short to hold a date sorts after every real date.
constexpr double kNoDateKey = 100000.0;
// A zero or unreadable amount sorts as this amount, after the smaller ones.
constexpr double kNoAmountKey = 10000.0;

KeyType KeyTypeOf(int kind, int column) {
    switch (column) {
        case Progress::KindAndProject:
        case Progress::Activity:
        case Progress::Classification:
        case Progress::Step:
        case Progress::Identifier:
        case Progress::Info:
        case Progress::Note:
        case Progress::Free:
        case Progress::TextDocument:
        case Progress::Picture:
            return KeyType::Text;
        case Deadline::PlanStart:
        case Deadline::PlanEnd:
        case Deadline::ActualStart:
        case Deadline::ActualEnd:
            return KeyType::Date;
        case Deadline::Duration:  // Finance::Eligible
            return KeyType::Amount;
        case Deadline::RealStart:  // Finance::Ineligible
        case Deadline::RealEnd:    // Finance::Total
            return kind == kFinanceTable ? KeyType::Amount : KeyType::Date;
        default:
            return KeyType::None;
    }
}

double AmountKey(const QString& cell) {
    const double v = ParseAmount(cell);
    return v == 0.0 ? kNoAmountKey : v;
}

double DateKey(const QString& cell) {
    if (cell.size() < 6) return kNoDateKey;
    return ParseDate(TrimCell(cell, 2));
}

// Ascending order of the rows 1 … row count − 1 by their keys; equal keys keep
// their order. The keys are those the exchange sort compares, so the result is
// the same ascending order in n log n comparisons.
std::vector<int> SortedRows(const Table& table, KeyType type, int column) {
    const int rows = table.RowCount();
    std::vector<int> order(size_t(qMax(0, rows - 1)));
    std::iota(order.begin(), order.end(), 1);
    if (type == KeyType::Text) {
        // Texts compare by their code page 1250 codes, as the data files hold them.
        QStringEncoder encoder("windows-1250");
        std::vector<QByteArray> keys(size_t(qMax(0, rows)));
        for (int r = 1; r < rows; ++r) {
            const QString cell = table.Cell(column, r);
            keys[size_t(r)] = encoder.encode(cell.isEmpty() ? kEmptyText : cell);
        }
        std::stable_sort(order.begin(), order.end(),
                         [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    } else {
        std::vector<double> keys(size_t(qMax(0, rows)));
        for (int r = 1; r < rows; ++r) {
            const QString cell = table.Cell(column, r);
            keys[size_t(r)] = type == KeyType::Amount ? AmountKey(cell) : DateKey(cell);
        }
        std::stable_sort(order.begin(), order.end(),
                         [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    }
    return order;
}

// Puts the rows into the order, order[k] being the row that goes to row k + 1:
// each cycle of the permutation costs one exchange less than its length.
void ApplyOrder(Workspace& ws, int kind, const std::vector<int>& order) {
    const int n = int(order.size());
    std::vector<bool> placed(size_t(n), false);
    for (int start = 0; start < n; ++start) {
        if (placed[size_t(start)]) continue;
        int at = start;
        while (order[size_t(at)] - 1 != start) {
            const int from = order[size_t(at)] - 1;
            SwapRows(ws, kind, at + 1, from + 1);
            placed[size_t(at)] = true;
            at = from;
        }
        placed[size_t(at)] = true;
    }
}

void SortTable(Workspace& ws, int kind, int column, const char16_t* label, int changeFlag) {
    const KeyType type = KeyTypeOf(kind, column);
    // A column without a key leaves the table as it is; nothing was sorted, so
    // nothing is recorded or marked changed.
    if (type == KeyType::None) return;
    LogChange(ws, QString(), QString::fromUtf16(label), kind, column);
    Table& table = *ws.TableOf(kind);
    const int rows = table.RowCount();
    ws.NotifyGauge(0, rows);
    const std::vector<int> order = SortedRows(table, type, column);
    ApplyOrder(ws, kind, order);
    // The current item goes with its row: a window showing it must not store
    // it over the row that now holds its old number. The grids take their
    // selected cells along too.
    std::vector<int> newRowOf(size_t(rows) + 1, 0);
    for (size_t k = 0; k < order.size(); ++k) newRowOf[size_t(order[k])] = int(k) + 1;
    auto follow = [&newRowOf](int row) {
        return row >= 1 && row < int(newRowOf.size()) && newRowOf[size_t(row)] > 0
                   ? newRowOf[size_t(row)]
                   : row;
    };
    ws.Current().FollowRows(kind, follow);
    if (type == KeyType::Text) {
        // Empty cells took part as "ZZZZZ"; a cell that really held it goes empty too.
        for (int r = 1; r < rows; ++r)
            if (table.Cell(column, r) == kEmptyText) table.SetCell(column, r, QString());
    }
    ws.SetChanged(changeFlag, true);
    ws.NotifyGauge(0, rows);
    ws.NotifyTable(kind);
}

}  // namespace

void SortDeadlineTable(Workspace& ws, int column) {
    SortTable(ws, kDeadlineTable, column, kLabelSortDeadlines, kChangedDeadlines);
}

void SortFinanceTable(Workspace& ws, int column) {
    SortTable(ws, kFinanceTable, column, kLabelSortFinance, kChangedFinance);
}

void SwapRows(Workspace& ws, int kind, int rowA, int rowB) {
    if (rowA < 0 || rowB < 0 || rowA == rowB) return;
    switch (kind) {
        case kDeadlineTable:
            ws.Deadlines.SwapRowCells(rowA, rowB, 1);
            break;
        case kProjectTable:
        case kFinanceTable:
        case kResultsTable:
            ws.TableOf(kind)->SwapRowCells(rowA, rowB, 0);
            break;
        default:
            break;
    }
}

void RegenerateIds(Workspace& ws) {
    const int kind = ws.Current().Kind();
    LogChange(ws, QString(), QString::fromUtf16(kLabelNewIds), 100 + kind, Progress::Identifier);
    ws.SetChanged(kChangedDeadlines, true);
    if (kind != kDeadlineTable && kind != kFinanceTable) return;
    Table& table = *ws.TableOf(kind);
    for (int r = 1; r < table.RowCount(); ++r) {
        const QString id = SplitFields(table.Cell(Progress::Identifier, r), 7, u'/')[0];
        // A row without an identifier takes kind and project from column 1
        // ("T-012"), instead of becoming "--05".
        const FieldBuffer parts =
            id.isEmpty() ? SplitFields(table.Cell(Progress::KindAndProject, r), 2, u'-')
                         : SplitFields(id, 3, u'-');
        table.SetCell(
            Progress::Identifier, r,
            parts[0] + u'-' + parts[1] + u'-' + QString::number(r).rightJustified(2, u'0'));
    }
    ws.NotifyTable(kind);
}
