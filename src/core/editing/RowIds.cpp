#include "RowIds.h"

#include <QSet>

#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"

namespace {

struct IdParts {
    QString type, project, sequence;
};

IdParts SplitId(const QString& cell) {
    const FieldBuffer f = SplitFields(SplitFields(cell, 1, u'/')[0], 3, u'-');
    return {f[0], f[1], f[2]};
}

// The sequence as the identifier's integer; digits with an optional sign.
bool ReadSequence(const QString& text, int* value) {
    bool ok = false;
    *value = text.trimmed().toInt(&ok, 10);
    return ok;
}

const Table& TableFor(const Workspace& ws, int kind) {
    return kind == kDeadlineTable ? ws.Deadlines : ws.Finance;
}

QString ActivityPrefix(const QString& activity, QString* number = nullptr) {
    const FieldBuffer f = SplitFields(activity, 3, u'_');
    if (number) *number = f[2];
    return f[0] + u'_' + f[1] + u'_';
}

}  // namespace

QString NewRowIdResult::Message() const {
    const QString where = badRow > 0 ? QStringLiteral(" v řádku %1").arg(badRow) : QString();
    return QStringLiteral("Identifikátor \"") + badIdentifier + u'"' + where +
           QStringLiteral(
               " nemá za druhou pomlčkou celé pořadové číslo.\r\n"
               "Nový identifikátor nelze určit, záznam nebyl přidán.");
}

NewRowIdResult NewRowId(const Table& table, const QString& identifier) {
    NewRowIdResult result;
    const IdParts own = SplitId(identifier);
    int sequence = 0;
    if (!ReadSequence(own.sequence, &sequence)) {
        result.failed = true;
        result.badIdentifier = SplitFields(identifier, 1, u'/')[0];
        return result;
    }
    QSet<int> used;
    for (int r = 1; r < table.RowCount(); ++r) {
        const QString cell = table.Cell(Progress::Identifier, r);
        if (!ReadSequence(SplitId(cell).sequence, &sequence)) {
            result.failed = true;
            result.badIdentifier = SplitFields(cell, 1, u'/')[0];
            result.badRow = r;
            return result;
        }
        used.insert(sequence);
    }
    int n = 1;
    while (used.contains(n)) ++n;
    result.id = own.type + u'-' + own.project + u'-' + QString::number(n).rightJustified(2, u'0');
    return result;
}

NewRowIdResult NewRowId(const Workspace& ws, int kind, const QString& identifier) {
    return NewRowId(TableFor(ws, kind), identifier);
}

bool IsNumberedActivity(const QString& activity) {
    QString number;
    ActivityPrefix(activity, &number);
    return !number.isEmpty();
}

QString RenumberActivity(const Table& table, const QString& activity) {
    const QString prefix = ActivityPrefix(activity);
    QSet<int> used;
    for (int r = 1; r < table.RowCount(); ++r) {
        QString number;
        if (ActivityPrefix(table.Cell(Progress::Activity, r), &number) == prefix)
            used.insert(ParseInt(number));
    }
    int n = 1;
    while (used.contains(n)) ++n;
    return prefix + QString::number(n);
}

QString RenumberActivity(const Workspace& ws, int kind, const QString& activity) {
    return RenumberActivity(TableFor(ws, kind), activity);
}
