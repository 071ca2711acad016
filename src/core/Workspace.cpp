#include "Workspace.h"

#include <climits>
#include <utility>

Workspace::Workspace(Prompter& prompter, QObject* parent) : QObject(parent), prompter_(prompter) {
    // Whoever loads a progress file, no row of the previous one stays current.
    connect(this, &Workspace::progressFileLoaded, &current_, &CurrentItem::ProgressReloaded);
}

Table* Workspace::TableOf(int kind) {
    switch (kind) {
        case kProjectTable:
            return &Projects;
        case kDeadlineTable:
            return &Deadlines;
        case kFinanceTable:
            return &Finance;
        case kTemplateTable:
        case kTemplateTableWithDefaults:
            return &Templates;
        case kResultsTable:
            return &Results;
        default:
            return nullptr;
    }
}

bool Workspace::Changed(int position) const {
    return position >= 1 && position <= ChangeFlags.size() && ChangeFlags[position - 1] == u'1';
}

void Workspace::SetChanged(int position, bool changed) {
    if (position < 1 || position > 7) return;
    while (ChangeFlags.size() < 7) ChangeFlags += u'0';
    ChangeFlags[position - 1] = changed ? u'1' : u'0';
}

int Workspace::FindProjectRow(const QString& text) {
    const int row = FindProjectRowIn(Projects, text);
    current_.SetProjectRow(row);
    return row;
}

void Workspace::RevealGridCell(int kind, int column, int row) {
    if (kind != kProjectTable && kind != kDeadlineTable && kind != kFinanceTable) return;
    emit gridCellRevealed(kind, column, row);
}

void Workspace::AppendCheck(const QString& line) {
    CheckListing.append(line);
    emit checkLineAdded(line);
}

namespace {

// The template table is announced under either of its kinds.
int NoticeKind(int kind) {
    return kind == kTemplateTableWithDefaults ? kTemplateTable : kind;
}

}  // namespace

void Workspace::NotifyTable(int kind) {
    Notify(kind, NoticeType::Reset, 0, 0);
}

void Workspace::NotifyRowsInserted(int kind, int first, int last) {
    if (first <= last) Notify(kind, NoticeType::Inserted, first, last);
}

void Workspace::NotifyRowsRemoved(int kind, int first, int last) {
    if (first <= last) Notify(kind, NoticeType::Removed, first, last);
}

void Workspace::NotifyRowsChanged(int kind, int first, int last) {
    if (first <= last) Notify(kind, NoticeType::Changed, first, last);
}

void Workspace::Notify(int kind, NoticeType type, int first, int last) {
    const Notice notice{NoticeKind(kind), type, first, last};
    if (editDepth_ > 0) {
        pending_.append(notice);
        return;
    }
    SendNotices(notice.kind, {notice});
}

void Workspace::EndEdit() {
    if (editDepth_ <= 0 || --editDepth_ > 0) return;
    // Receivers may start edits of their own: take the list first.
    const QList<Notice> notices = std::exchange(pending_, {});
    QList<int> kinds;
    for (const Notice& n : notices)
        if (!kinds.contains(n.kind)) kinds.append(n.kind);
    for (int kind : kinds) {
        QList<Notice> own;
        for (const Notice& n : notices)
            if (n.kind == kind) own.append(n);
        SendNotices(kind, own);
    }
}

void Workspace::SendNotices(int kind, const QList<Notice>& notices) {
    bool reset = false;
    for (const Notice& n : notices) reset = reset || n.type == NoticeType::Reset;
    if (reset) {
        emit tableReset(kind);
        emit tableChanged(kind);
        return;
    }
    // Changed rows are gathered into one range; a row change followed by rows
    // inserted or removed above its end stretches the range to the table's end,
    // as the changed rows may have moved.
    int changedFirst = INT_MAX, changedLast = -1;
    for (const Notice& n : notices) {
        switch (n.type) {
            case NoticeType::Changed:
                changedFirst = qMin(changedFirst, n.first);
                changedLast = qMax(changedLast, n.last);
                break;
            case NoticeType::Inserted:
                if (changedLast >= n.first) changedLast = INT_MAX;
                emit rowsInserted(kind, n.first, n.last);
                break;
            case NoticeType::Removed:
                if (changedLast >= n.first) changedLast = INT_MAX;
                emit rowsRemoved(kind, n.first, n.last);
                break;
            case NoticeType::Reset:
                break;
        }
    }
    if (changedFirst <= changedLast) emit rowsChanged(kind, changedFirst, changedLast);
    emit tableChanged(kind);
}
