#include "TableModel.h"

#include <QBrush>

#include "Workspace.h"
#include "data/Columns.h"
#include "data/Table.h"

namespace {

// The template table is announced under either of its kinds.
int BaseKind(int kind) {
    return kind == kTemplateTableWithDefaults ? kTemplateTable : kind;
}

// Amounts are padded with leading blanks to line up in a fixed-width font; in a
// proportional font they line up only when drawn right-aligned without the padding.
bool IsPadded(const QString& text) {
    return text.startsWith(u' ');
}

// The ChangeFlags position that marks a table's unsaved changes.
int ChangeFlagOf(int kind) {
    switch (BaseKind(kind)) {
        case kProjectTable:
            return kChangedProjects;
        case kDeadlineTable:
            return kChangedDeadlines;
        case kFinanceTable:
            return kChangedFinance;
        case kTemplateTable:
            return kChangedTemplates;
        default:
            return 0;
    }
}

// Where a row that sat at row ends up when from moves to to.
int RowAfterMove(int row, int from, int to) {
    if (row == from) return to;
    if (from < to && row > from && row <= to) return row - 1;
    if (to < from && row >= to && row < from) return row + 1;
    return row;
}

}  // namespace

TableModel::TableModel(Workspace& ws, Table& table, QObject* parent)
    : QAbstractTableModel(parent), ws_(ws), table_(table), layout_(GridLayoutOf(table.Kind())) {
    rows_ = table_.RowCount();
    columns_ = table_.ColumnCount();
    auto mine = [this](int kind) { return BaseKind(kind) == BaseKind(table_.Kind()); };
    connect(&ws, &Workspace::tableReset, this, [this, mine](int kind) {
        if (mine(kind)) Refresh();
    });
    connect(&ws, &Workspace::rowsInserted, this, [this, mine](int kind, int first, int last) {
        if (mine(kind)) RowsInserted(first, last);
    });
    connect(&ws, &Workspace::rowsRemoved, this, [this, mine](int kind, int first, int last) {
        if (mine(kind)) RowsRemoved(first, last);
    });
    connect(&ws, &Workspace::rowsChanged, this, [this, mine](int kind, int first, int last) {
        if (mine(kind)) RowsChanged(first, last);
    });
    // The closing notice of an operation: a size that the precise notices did
    // not account for falls back to a reset, so a view never reads past the table.
    connect(&ws, &Workspace::tableChanged, this, [this, mine](int kind) {
        if (mine(kind) && (rows_ != table_.RowCount() || columns_ != table_.ColumnCount()))
            Refresh();
    });
}

void TableModel::RowsInserted(int first, int last) {
    // Table rows first … last become model rows first − 1 …; they go in at
    // most right after the last row.
    if (first < 1 || first > qMax(1, rows_)) return Refresh();
    if (rows_ < 1) rows_ = 1;  // the header row was there all along
    beginInsertRows({}, first - 1, last - 1);
    rows_ += last - first + 1;
    endInsertRows();
    // The row numbers below moved with their rows.
    emit headerDataChanged(Qt::Vertical, first - 1, rows_ - 2);
}

void TableModel::RowsRemoved(int first, int last) {
    if (first < 1 || last >= rows_) return Refresh();
    emit removingRows();
    beginRemoveRows({}, first - 1, last - 1);
    rows_ -= last - first + 1;
    endRemoveRows();
    if (first - 1 <= rows_ - 2) emit headerDataChanged(Qt::Vertical, first - 1, rows_ - 2);
}

void TableModel::RowsChanged(int first, int last) {
    const int lastRow = rowCount() - 1;
    const int from = qMax(0, first - 1), to = qMin(lastRow, last - 1);
    if (from > to || columnCount() == 0) return;
    emit dataChanged(index(from, 0), index(to, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, from, to);
}

void TableModel::Refresh() {
    beginResetModel();
    rows_ = table_.RowCount();
    columns_ = table_.ColumnCount();
    endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : qMax(0, rows_ - 1);
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : qMax(0, columns_ - 1);
}

bool TableModel::IsFixed(const QModelIndex& index) const {
    return TableColumn(index) < layout_.fixedColumns || TableRow(index) < layout_.fixedRows;
}

QModelIndex TableModel::IndexOf(int tableColumn, int tableRow) const {
    return index(tableRow - 1, tableColumn - 1);
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole: {
            const QString text = table_.Cell(TableColumn(index), TableRow(index));
            return IsPadded(text) ? text.trimmed() : text;
        }
        case Qt::EditRole:
            return table_.Cell(TableColumn(index), TableRow(index));
        case Qt::TextAlignmentRole: {
            // Plain int: the delegates and headers of every Qt 6 release read that.
            const bool padded = IsPadded(table_.Cell(TableColumn(index), TableRow(index)));
            return int((padded ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        case Qt::BackgroundRole:
            if (TableColumn(index) < layout_.fixedColumns)
                return QBrush(layout_.FixedColumnColour());
            if (TableRow(index) < layout_.fixedRows) return QBrush(layout_.headerColor);
            return {};
        default:
            return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool horizontal = orientation == Qt::Horizontal;
    switch (role) {
        case Qt::DisplayRole:
            return horizontal ? table_.Cell(section + 1, 0)
                              : table_.Cell(AnyTable::RowNumber, section + 1);
        case Qt::BackgroundRole:
            return QBrush(horizontal ? layout_.headerColor : layout_.FixedColumnColour());
        case Qt::TextAlignmentRole:
            return int(horizontal ? Qt::AlignLeft | Qt::AlignVCenter
                                  : Qt::Alignment(Qt::AlignCenter));
        default:
            return {};
    }
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (IsFixed(index)) return Qt::ItemIsEnabled;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Editable() ? flags | Qt::ItemIsEditable : flags;
}

bool TableModel::Editable() const {
    return BaseKind(table_.Kind()) == kTemplateTable;
}

bool TableModel::RowsMovable() const {
    return ChangeFlagOf(table_.Kind()) != 0;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (text == table_.Cell(TableColumn(index), TableRow(index))) return true;
    table_.SetCell(TableColumn(index), TableRow(index), text);
    ws_.SetChanged(kChangedTemplates, true);
    emit dataChanged(index, index);
    return true;
}

bool TableModel::MoveRow(int from, int to) {
    const int last = rows_ - 1;
    if (!RowsMovable() || from == to || from < 1 || to < 1 || from > last || to > last)
        return false;
    // The deadline table's row numbers stay where they are.
    const int first = BaseKind(table_.Kind()) == kDeadlineTable ? 1 : 0;
    // One column beyond the grid: the template file keeps a cell there.
    const int columns = qMax(columns_, table_.ColumnCount()) + 1;
    // Model rows are table rows − 1; moving down, Qt counts the destination
    // before the row leaves.
    beginMoveRows({}, from - 1, from - 1, {}, to > from ? to : to - 1);
    QStringList moving;
    for (int c = first; c < columns; ++c) moving << table_.Cell(c, from);
    const int step = to > from ? 1 : -1;
    for (int r = from; r != to; r += step)
        for (int c = first; c < columns; ++c) table_.SetCell(c, r, table_.Cell(c, r + step));
    for (int c = first; c < columns; ++c) table_.SetCell(c, to, moving[c - first]);
    endMoveRows();
    if (first == 1) {
        // The row numbers did not move, but the header shows them by position.
        emit headerDataChanged(Qt::Vertical, qMin(from, to) - 1, qMax(from, to) - 1);
    }

    // The current item and project follow their rows.
    const int kind = BaseKind(table_.Kind());
    ws_.Current().FollowRows(kind, [from, to](int row) { return RowAfterMove(row, from, to); });
    ws_.SetChanged(ChangeFlagOf(kind), true);
    return true;
}
