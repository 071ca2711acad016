#include "CurrentItem.h"

bool CurrentItem::MoveTo(const Place& place) {
    if (place == place_) return false;
    place_ = place;
    emit currentChanged();
    return true;
}

bool CurrentItem::Select(int kind, int column, int row) {
    Place p = place_;
    p.kind = kind;
    p.column = column;
    p.row = row;
    return MoveTo(p);
}

bool CurrentItem::SelectRow(int kind, int row) {
    return Select(kind, place_.column, row);
}

bool CurrentItem::SetProjectRow(int row) {
    Place p = place_;
    p.projectRow = row;
    return MoveTo(p);
}

void CurrentItem::FollowRows(int kind, const std::function<int(int)>& newRowOf) {
    Place p = place_;
    if (p.kind == kind && p.row >= 1) p.row = newRowOf(p.row);
    if (kind == kProjectTable && p.projectRow >= 1) p.projectRow = newRowOf(p.projectRow);
    MoveTo(p);
    emit rowsReordered(kind, newRowOf);
}

void CurrentItem::FollowRemovedRow(int kind, int row, int rows) {
    const int last = qMax(1, rows - 1);
    auto follow = [&](int at) { return qMin(at > row ? at - 1 : at, last); };
    Place p = place_;
    if (p.kind == kind && p.row >= 1) p.row = follow(p.row);
    if (kind == kProjectTable && p.projectRow >= 1) p.projectRow = follow(p.projectRow);
    MoveTo(p);
}

void CurrentItem::ProgressReloaded() {
    if (place_.kind != kDeadlineTable && place_.kind != kFinanceTable) return;
    Place p = place_;
    p.row = 1;
    MoveTo(p);
}
