#include "DayRecord.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/IniFile.h"
#include "../data/TextFile.h"

namespace {

const QString kTaskKey = QStringLiteral("Tabulka_");
const QString kMinutesKey = QStringLiteral("Memo1_");
const QString kMessagesKey = QStringLiteral("Memo2_");
constexpr int kNoteLength = 255;
constexpr int kShortMessageLength = 6;

// The keys of the section named prefix + a number, with their numbers, in
// numeric order (the prefix compared without regard to case).
QList<std::pair<qint64, QString>> NumberedKeys(const QStringList& keys, const QString& prefix) {
    QList<std::pair<qint64, QString>> found;
    for (const QString& key : keys) {
        if (!key.startsWith(prefix, Qt::CaseInsensitive)) continue;
        bool ok = false;
        const qint64 n = key.mid(prefix.size()).toLongLong(&ok);
        if (ok && n >= 0) found.append({n, key});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return found;
}

QStringList ReadLines(const IniFile& ini, const QString& section, const QStringList& keys,
                      const QString& prefix) {
    QStringList lines;
    for (const auto& [n, key] : NumberedKeys(keys, prefix)) {
        const QString value = ini.Value(section, key);
        if (!value.isEmpty()) lines << value;
    }
    return lines;
}

void RemoveNumbered(IniFile& ini, const QString& section, const QString& prefix) {
    for (const auto& [n, key] : NumberedKeys(ini.Keys(section), prefix))
        ini.RemoveKey(section, key);
}

// Empty lines are not stored: the key number is the line's index.
void WriteLines(IniFile& ini, const QString& section, const QString& prefix,
                const QStringList& lines) {
    RemoveNumbered(ini, section, prefix);
    for (int i = 0; i < lines.size(); ++i)
        if (!lines[i].isEmpty()) ini.SetValue(section, prefix + QString::number(i), lines[i]);
}

bool ValidRow(const Workspace& ws, int row) {
    return row >= 1 && row < ws.Projects.RowCount();
}

DayProject ProjectOf(const Workspace& ws, int row) {
    return {ws.Projects.Cell(Project::Number, row), ws.Projects.Cell(Project::Name, row),
            ws.Projects.Cell(Project::Manager, row), ws.Projects.Cell(Project::Technician, row)};
}

}  // namespace

QString DayFileName(double day) {
    return QStringLiteral("Den_") + DateFromDay(day).toString(QStringLiteral("yyyy.MM.dd")) +
           QStringLiteral(".ITI");
}

QString DayFilePath(const Config& config, double day) {
    return config.PathIn(config.CestaDennik, DayFileName(day));
}

DayRecord ReadDayRecordFrom(const IniFile& ini, const QString& section, double now) {
    DayRecord record;
    const QString stored = ini.Value(section, QStringLiteral("Den_Zápisu"));
    const double day = stored.isEmpty() ? kEmptyDate : ParseDate(stored);
    record.day = IsDateSet(day) ? day : now;
    record.deadlineProblems = ini.IntValue(section, QStringLiteral("Termíny_Chyby"), 0);
    record.shortMessage = ini.Value(section, QStringLiteral("Hláška"));

    const QStringList keys = ini.Keys(section);
    for (const auto& [n, key] : NumberedKeys(keys, kTaskKey)) {
        const QString value = ini.Value(section, key);
        if (value.isEmpty()) continue;
        const FieldBuffer f = SplitFields(value, 4, u'/');
        if (f[0].isEmpty()) continue;
        DayTask task{f[0], f[1], f[2], f[3]};
        // The state as of the record's day; the file keeps what was written.
        const double deadline = ParseDate(task.deadline);
        if ((task.state == QStringView(kStateRunning) ||
             task.state == QStringView(kStateNewTerm)) &&
            deadline < record.day)
            task.state = QString::fromUtf16(kStateOverdue);
        else if (task.state == QStringView(kStateOverdue) && deadline >= record.day)
            task.state = QString::fromUtf16(kStateRunning);
        if (task.state == QStringView(kStateOverdue)) record.overdue = true;
        record.tasks << task;
    }
    record.taskCount = int(record.tasks.size());
    record.minutes = ReadLines(ini, section, keys, kMinutesKey);
    record.messages = ReadLines(ini, section, keys, kMessagesKey);
    return record;
}

void WriteDayRecordTo(IniFile& ini, const DayProject& project, double day, DayRecord& record) {
    const QString& s = project.number;
    const QString dayText = FormatShortDate(day);
    ini.SetValue(s, QStringLiteral("Akce"), project.name);
    ini.SetValue(s, QStringLiteral("Manažer"), project.manager);
    ini.SetValue(s, QStringLiteral("Technik"), project.technician);
    ini.SetValue(s, QStringLiteral("Den_Zápisu"), dayText);
    ini.SetValue(s, QStringLiteral("Počet_úkolů"), QString::number(record.taskCount));
    ini.SetValue(s, QStringLiteral("Termíny_Chyby"), QString::number(record.deadlineProblems));
    const QString first = record.messages.value(0);
    record.shortMessage =
        first.isEmpty() ? QString::fromUtf16(kNoMessage) : first.left(kShortMessageLength);
    ini.SetValue(s, QStringLiteral("Hláška"), record.shortMessage);
    ini.SetValue(s, QStringLiteral("Osoba"), SplitFields(record.person, 2, u'[')[0]);
    ini.SetValue(s, QStringLiteral("Ukol"), record.note.left(kNoteLength));
    ini.SetValue(s, QStringLiteral("Termín_Ukolu"), dayText);
    // Every task key goes, not only as many as the old count named: keys an
    // earlier write left beyond it would otherwise be read back as tasks.
    RemoveNumbered(ini, s, kTaskKey);
    for (int i = 0; i < record.tasks.size(); ++i) {
        const DayTask& t = record.tasks[i];
        ini.SetValue(s, kTaskKey + QString::number(i + 1),
                     t.person + u'/' + t.task + u'/' + t.deadline + u'/' + t.state);
    }
    WriteLines(ini, s, kMinutesKey, record.minutes);
    WriteLines(ini, s, kMessagesKey, record.messages);
}

void WriteDayRecord(Workspace& ws, double day, int projectRow, DayRecord& record) {
    if (!ValidRow(ws, projectRow)) return;
    const QString path = DayFilePath(ws.config, day);
    IniFile ini = IniFile::Load(path);
    WriteDayRecordTo(ini, ProjectOf(ws, projectRow), day, record);
    emit ws.savingDayRecord(QFileInfo(path).fileName());
    ini.Save(path);
}

DayRecord ReadDayRecord(Workspace& ws, int projectRow, double day) {
    DayRecord record;
    record.day = NowDay();
    if (!ValidRow(ws, projectRow)) return record;
    const IniFile ini = IniFile::Load(DayFilePath(ws.config, day));
    return ReadDayRecordFrom(ini, ws.Projects.Cell(Project::Number, projectRow), NowDay());
}

void EraseDayRecord(Workspace& ws, double day, int projectRow) {
    if (!ValidRow(ws, projectRow)) return;
    const QString path = DayFilePath(ws.config, day);
    if (!QFileInfo::exists(path)) return;
    IniFile ini = IniFile::Load(path);
    ini.RemoveSection(ws.Projects.Cell(Project::Number, projectRow));
    ini.Save(path);
}

void DeleteDayFile(Workspace& ws, double day) {
    const QString path = DayFilePath(ws.config, day);
    QFile file(path);
    if (file.exists() && !file.remove()) throw FileError(path, file.errorString());
}
