#include "TableModel.h"

#include <QBrush>

#include "Workspace.h"
#include "data/Table.h"

namespace {

// The template table is announced under either of its kinds.
int BaseKind(int kind) {
    return kind == kTemplateTableWithDefaults ? kTemplateTable : kind;
}

QColor FixedColumnColour(const Table& table) {
    return table.FixedColumnColor().isValid() ? table.FixedColumnColor() : table.HeaderColor();
}

// Amounts are padded with leading blanks to line up in a fixed-width font; in a
// proportional font they line up only when drawn right-aligned without the padding.
bool IsPadded(const QString& text) {
    return text.startsWith(u' ');
}

}  // namespace

TableModel::TableModel(Workspace& ws, const Table& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    rows_ = table_.RowCount();
    columns_ = table_.ColumnCount();
    connect(&ws, &Workspace::tableChanged, this, [this](int kind) {
        if (BaseKind(kind) == BaseKind(table_.Kind())) Refresh();
    });
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
    return TableColumn(index) < table_.FixedColumns() || TableRow(index) < table_.FixedRows();
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
            if (TableColumn(index) < table_.FixedColumns())
                return QBrush(FixedColumnColour(table_));
            if (TableRow(index) < table_.FixedRows()) return QBrush(table_.HeaderColor());
            return {};
        default:
            return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool horizontal = orientation == Qt::Horizontal;
    switch (role) {
        case Qt::DisplayRole:
            return horizontal ? table_.Cell(section + 1, 0) : table_.Cell(0, section + 1);
        case Qt::BackgroundRole:
            return QBrush(horizontal ? table_.HeaderColor() : FixedColumnColour(table_));
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
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
