#include "Workspace.h"

Workspace::Workspace(Prompter& prompter, QObject* parent) : QObject(parent), prompter_(prompter) {
    // Whoever loads a progress file, no row of the previous one stays current.
    connect(this, &Workspace::progressFileLoaded, &current_, &CurrentItem::ProgressReloaded);
}

Table* Workspace::TableOf(int kind) {
    switch (kind) {
        case kProjectTable: return &Projects;
        case kDeadlineTable: return &Deadlines;
        case kFinanceTable: return &Finance;
        case kTemplateTable:
        case kTemplateTableWithDefaults: return &Templates;
        case kResultsTable: return &Results;
        default: return nullptr;
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

void Workspace::SelectGridCell(int kind, int column, int row) {
    if (kind != kProjectTable && kind != kDeadlineTable && kind != kFinanceTable) return;
    Table* table = TableOf(kind);
    table->SetTopRow(row < 4 ? 1 : row - 3);
    table->Select(column, row);
    emit selectionChanged(kind);
}

void Workspace::AppendCheck(const QString& line) {
    CheckListing.append(line);
    emit checkLineAdded(line);
}
