#include "ChangeLog.h"

#include <QFile>
#include <QFileInfo>

#include "../Clock.h"
#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/Progress.h"
#include "../data/TextFile.h"

namespace {

// The change log is a shared file that every user can read: the password of a
// log-in record is never written there, only this mask in its place.
const QString kPasswordMask = QStringLiteral("**********");

constexpr int kSnapshotColumns = 15;
constexpr int kProjectRecordColumns = 15;
constexpr int kTemplateRecordColumns = Template::FileOnly;  // the last column logged
constexpr int kDiaryTextLength = 40;

// Appends the bytes of a text file as whole CR LF lines, exactly as reading it
// line by line and writing every line back would: a lone LF gets its CR, a last
// line without line end gets one, and an empty file gives one empty line.
void AppendFileLines(QByteArray& out, const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        out += "\r\n";
        return;
    }
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype copied = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == '\n' && (i == 0 || data[i - 1] != '\r')) {
            out.append(data + copied, i - copied);
            out += '\r';
            copied = i;
        }
    }
    out.append(data + copied, size - copied);
    if (data[size - 1] == '\r')
        out += '\n';  // a reader drops a CR at the very end as part of the line end
    else if (data[size - 1] != '\n')
        out += "\r\n";
}

// Bytes of a file, or an empty array with *exists false when there is none.
QByteArray FileBytes(const QString& path, bool* exists) {
    QFile file(path);
    *exists = file.open(QIODevice::ReadOnly);
    if (!*exists) {
        if (QFileInfo::exists(path)) throw FileError(path, file.errorString());
        return QByteArray();
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw FileError(path, file.errorString());
    return bytes;
}

// The part of a progress file name that comes before the project number. Each
// project's file is then named after its own number: the lookup by substring
// would give project 12 the file of project 1 when 1 is listed first, and the
// snapshot would hold project 1 twice and lose project 12. The current project
// stays as it was.
QString ProgressFilePrefix(Workspace& ws) {
    const int current = ws.Current().ProjectRow();
    const QString name = ProgressFileName(ws, ws.Projects.Cell(Project::Number, 1));
    const QString found = ws.Projects.Cell(Project::Number, ws.Current().ProjectRow());
    ws.Current().SetProjectRow(current);
    return name.chopped(found.size() + 4);
}

QString ProgressPath(Workspace& ws, const QString& prefix, int row) {
    const QString number = ws.Projects.Cell(Project::Number, row);
    // A number that leads outside the data folder is never copied into a backup.
    if (number.isEmpty() || !IsSafeNamePart(number)) return QString();
    return ws.config.DataPath(prefix + number + QStringLiteral(".csv"));
}

QByteArray SnapshotBytes(Workspace& ws) {
    const Table& projects = ws.Projects;
    QString head;
    head.reserve(qsizetype(projects.RowCount()) * 200 + 64);
    head += QStringLiteral(";Uloženo ") + FormatDate(Clock::Today()) + QStringLiteral("\r\n");
    head += QStringLiteral("Akce ORVA\r\n");
    for (int r = 0; r < projects.RowCount(); ++r) {
        for (int c = Project::Number; c <= kSnapshotColumns; ++c) {
            head += projects.Cell(c, r);
            head += u';';
        }
        head += QLatin1String("\r\n");
    }
    QByteArray out = TextFile::Encode(head);
    if (projects.RowCount() < 2) return out;
    const QString prefix = ProgressFilePrefix(ws);
    for (int r = 1; r < projects.RowCount(); ++r) {
        const QString path = ProgressPath(ws, prefix, r);
        if (path.isEmpty()) continue;
        bool exists = false;
        const QByteArray bytes = FileBytes(path, &exists);
        if (exists) AppendFileLines(out, bytes);
    }
    return out;
}

QString Cells(const Table& table, int row, int lastColumn) {
    QString text;
    for (int c = Progress::RowNumber; c <= lastColumn; ++c) {
        text += table.Cell(c, row);
        text += u';';
    }
    return text;
}

QString FirstLine(const QString& text) {
    return text.section(u'\n', 0, 0).remove(u'\r').left(kDiaryTextLength);
}

// The record line and, for an added project, the lines of its progress file;
// empty for a kind that writes no record.
QStringList RecordLines(Workspace& ws, const QString& label, const QString& extra, int kind,
                        int row) {
    const AccessState& user = ws.Access;
    const QString userKey = ws.config.UserKey.isEmpty() ? DefaultUserKey() : ws.config.UserKey;
    QString line = label + u';' + Clock::Now().toString(QStringLiteral("dd.MM.yyyy - hh:mm")) +
                   u';' + user.UserName + u';' + userKey + u';';
    switch (kind) {
        case kLogEvent:
        case kLogProjectAdded:
            line += user.WorkstationId + u';' + user.Permission + u';' + kPasswordMask;
            break;
        case kDeadlineTable:
        case kFinanceTable: {
            const Table& table = *ws.TableOf(kind);
            if (label.contains(QStringLiteral("Setřídění")))
                line += table.Cell(row, 0) + u';';
            else
                line += Cells(table, row, table.ColumnCount());
            break;
        }
        case kProjectTable:
            line += Cells(ws.Projects, row, kProjectRecordColumns);
            break;
        case kTemplateTable:
            line += Cells(ws.Templates, row, kTemplateRecordColumns);
            break;
        case kLogDayWritten:
        case kLogDayDeleted:
            line += QStringLiteral("Denik;") + FormatDate(ws.Diary.Day) + u';' +
                    QString::number(ws.Diary.Row) + u';' + FirstLine(ws.Diary.RecordFirstLine) +
                    QStringLiteral("...;") + FirstLine(ws.Diary.MessageFirstLine) +
                    QStringLiteral("...;");
            break;
        case kLogWholeDayDeleted:
            line += QStringLiteral("Denik;") + FormatDate(ws.Diary.Day) + u';' + extra + u';';
            break;
        case kLogDeadlineIds:
            line += ws.Deadlines.Cell(row, 0) + QStringLiteral(";Termíny;");
            break;
        case kLogFinanceIds:
            line += ws.Finance.Cell(row, 0) + QStringLiteral(";Finance;");
            break;
        default:
            return {};
    }
    QStringList lines{line};
    if (kind == kLogProjectAdded) {
        const QString path = ProgressPath(ws, ProgressFilePrefix(ws), row);
        if (!path.isEmpty() && QFileInfo::exists(path)) {
            const QStringList progress = TextFile::ReadLines(path);
            if (progress.isEmpty())
                lines << QString();
            else
                lines << progress;
        }
    }
    return lines;
}

QByteArray Joined(const QStringList& lines) {
    QString text;
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return TextFile::Encode(text);
}

}  // namespace

QString ChangeLogFileName(const Workspace& ws, const QString& name, const QString& label) {
    if (!name.isEmpty()) return QStringLiteral("Zmeny_") + name + QStringLiteral(".csv");
    const QDate today = Clock::Today();
    if (label.startsWith(QStringLiteral("Záloha dat"))) {
        QString user = ws.Access.UserName;
        user.replace(u' ', u'-');
        // A path separator in the name would put the file outside the change folder.
        user.replace(u'/', u'-');
        user.replace(u'\\', u'-');
        return QStringLiteral("Zaloha_") + user + u'_' +
               today.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".csv");
    }
    return QStringLiteral("Zmeny_") + today.toString(QStringLiteral("yyyy-MM")) +
           QStringLiteral(".csv");
}

QStringList SnapshotLines(Workspace& ws) {
    // Every line of the snapshot ends in CR LF, also one that keeps a CR of its own.
    QStringList lines = TextFile::Decode(SnapshotBytes(ws)).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

void LogChange(Workspace& ws, const QString& name, const QString& label, int kind, int row) {
    const QString path = ws.config.PathIn(ws.config.CestaZmeny, ChangeLogFileName(ws, name, label));
    // Only the part before the first "/" is the label; the rest is the extra text
    // (a day file path, which may itself hold "/").
    const qsizetype slash = label.indexOf(u'/');
    const QString labelText = SplitFields(label, 2, u'/')[0];
    const QString extra = slash < 0 ? QString() : label.mid(slash + 1);
    const QStringList record = RecordLines(ws, labelText, extra, kind, row);

    const QByteArray recordBytes = Joined(record);
    // Another workstation may create the file between the look and the write:
    // the file is only ever created whole and exclusively, and a record whose
    // snapshot lost that race goes to the end of the file that won it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (QFileInfo::exists(path)) {
            if (record.isEmpty() || TextFile::AppendToExisting(path, recordBytes)) return;
            continue;  // removed meanwhile
        }
        if (TextFile::CreateExclusive(path, SnapshotBytes(ws) + recordBytes)) return;
    }
    throw FileError(path, QStringLiteral("Soubor se opakovaně objevuje a mizí"));
}
