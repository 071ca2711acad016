#pragma once

#include <QString>

class Table;
class Workspace;

// What NewRowId gives: the new identifier, or the identifier whose sequence
// part is no number, in which case no row may be added.
struct NewRowIdResult {
    QString id;             // type + "-" + project number + "-" + sequence; empty on failure
    QString badIdentifier;  // the identifier that stopped it
    int badRow = 0;         // its table row; 0 for the identifier asked about
    bool failed = false;

    bool Ok() const { return !failed; }
    // The message for the user, naming the identifier.
    QString Message() const;
};

// The identifier for a new row of the table: the type and project number of
// identifier (its first "/"-field) with the smallest positive sequence that no
// row of the table uses, at least two digits. Link fields are not carried
// over. Fails when the sequence of identifier or of any row is not an integer.
NewRowIdResult NewRowId(const Table& table, const QString& identifier);
// Kind 1 scans the deadline table, any other kind the finance table.
NewRowIdResult NewRowId(const Workspace& ws, int kind, const QString& identifier);

// Whether an activity ("Činnost") carries a number to renumber: a third
// "_"-separated part, as in Etapa_#_1.
bool IsNumberedActivity(const QString& activity);
// a_b_n with the smallest n from 1 on that no row's "Činnost" of the same
// a_b_ prefix carries.
QString RenumberActivity(const Table& table, const QString& activity);
QString RenumberActivity(const Workspace& ws, int kind, const QString& activity);
