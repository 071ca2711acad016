#pragma once

#include <QString>
#include <QStringList>

class Table;
class Workspace;

// What a search found: one entry per hit, "row/cell" (deadline table:
// "row/cell/classification"), and the label text "<text> Vyhledáno <n> krát".
struct SearchResult {
    QStringList entries;
    int count = 0;
    QString label;
};

// The tables a search covers: deadline, project, finance, task templates and
// the results table.
bool IsSearchable(int kind);

// Looks for text (case-sensitive, as a part of the cell) in the current
// column of the current item's table, rows 1 to the last, and moves the main
// window's gauge along. Another kind of table gives no hit.
SearchResult Search(Workspace& ws, const QString& text);

// The row number an entry of the list stands for (its part before "/"), or 0.
int HitRow(const QString& entry);
