#include "People.h"

#include <functional>

#include "../FileChoice.h"
#include "../Prompter.h"
#include "../Workspace.h"
#include "Cells.h"
#include "Columns.h"
#include "FileRead.h"
#include "TextFile.h"

using namespace FileChoice;

namespace {

void AddOnce(QStringList& list, const QString& text) {
    if (!text.isEmpty() && !list.contains(text)) list << text;
}

QStringList DistinctColumn(const Table& t, int column) {
    QStringList values;
    for (int r = 1; r < t.RowCount(); ++r) AddOnce(values, t.Cell(column, r));
    return values;
}

// The distinct values of a column below the header row, after those in list;
// take, when given, picks the rows.
void AddColumn(QStringList& list, const Table& t, int column,
               const std::function<bool(int)>& take = {}) {
    for (int r = 1; r < t.RowCount(); ++r) {
        const QString value = t.Cell(column, r);
        if (value.isEmpty() || list.contains(value) || (take && !take(r))) continue;
        list << value;
    }
}

}  // namespace

QStringList DefaultPeopleLines() {
    return {QStringLiteral("Příjmení_1;Jméno;Titul;Postavení;Funce v poradě"),
            QStringLiteral("Příjmení_2;Jméno;Ing.;Manažer projektu;Člen"),
            QStringLiteral("Příjmení_3;Jméno;Mgr.;Technik projektu;Člen"),
            QStringLiteral("Příjmení_4;Jméno;;OD INV;Člen\tZapisovatel")};
}

QString PersonEntry(const QString& line) {
    const FieldBuffer f = SplitFields(line, kPeopleFields, u';');
    if (f[0].isEmpty()) return QString();
    const QString& role = f[4];
    QString marks;
    if (role.contains(QStringLiteral("Člen")) || role.contains(u'c')) marks += u'c';
    if (role.contains(QLatin1String("Zapisovatel")) || role.contains(u'z')) marks += u'z';
    const QString person = f[0] + u' ' + f[1] + u' ' + f[2];
    return marks.isEmpty() ? person + role : person + u'[' + marks + u']';
}

QStringList ReadPeopleEntries(const QString& path) {
    QStringList entries;
    std::optional<FileError> error;
    const QStringList lines = ReadDataLines(path, error);
    if (error) throw *error;
    for (const QString& line : lines) AddOnce(entries, PersonEntry(line));
    return entries;
}

void LoadPeople(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    QString path = cfg.DataPath(name);
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen =
            Open(ws, {QStringLiteral("Otevření Akcí -") + path, cfg.DataPath(QString()),
                      QStringLiteral("*Lid*.csv"), kFilterProgress});
        if (!chosen.isEmpty()) {
            cfg.SouborLidi = FileNameOf(chosen);
            path = chosen;
        }
    }
    if (!IsFile(path)) {
        if (cfg.SouborLidi.isEmpty()) cfg.SouborLidi = QStringLiteral("Lid.csv");
        const QString configured = cfg.DataPath(cfg.SouborLidi);
        // An existing people file is loaded, never replaced by the default lines.
        if (!IsFile(configured)) {
            TextFile::WriteLines(configured, DefaultPeopleLines());
            return;
        }
        path = configured;
    }
    for (const QString& entry : ReadPeopleEntries(path)) AddOnce(ws.Picks.persons, entry);
    emit ws.pickListsChanged();
}

void RefreshPickLists(Workspace& ws) {
    ws.NotifyGauge(0, 50);
    LoadPeople(ws, ws.config.SouborLidi);
    PickLists& picks = ws.Picks;
    picks.projects.clear();
    const Table& p = ws.Projects;
    for (int r = 1; r < p.RowCount(); ++r) {
        if (!p.Cell(Project::Number, r).isEmpty())
            AddOnce(picks.projects,
                    p.Cell(Project::Number, r) + QStringLiteral("/ ") + p.Cell(Project::Name, r));
        ws.NotifyGauge(r, 50);
    }
    picks.activities = DistinctColumn(ws.Templates, Template::Activity);
    picks.classifications = DistinctColumn(ws.Templates, Template::Classification);
    picks.steps = DistinctColumn(ws.Templates, Template::Step);
    ws.NotifyGauge(0, 50);
    emit ws.pickListsChanged();
}

void LoadNotes(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    if (ws.Changed(kChangedNotes)) SaveNotes(ws, cfg.SouborPoznamky);
    QString path = cfg.TextPath(name);
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen =
            Open(ws, {QStringLiteral("Otevření Poznámek -") + path, cfg.TextPath(QString()),
                      QStringLiteral("*.TXT"), kFilterText});
        if (!chosen.isEmpty()) {
            cfg.CestaTXT = cfg.RelativeFolder(DirOf(chosen));
            cfg.SouborPoznamky = FileNameOf(chosen);
            path = chosen;
        }
    }
    if (!IsFile(path)) return;
    ws.NotesLines = TextFile::ReadLines(path);
    emit ws.notesLoaded();
}

void SaveNotes(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    QString fileName = name;
    QString path = cfg.TextPath(fileName);
    if (fileName.isEmpty() || !IsFile(path)) {
        const QString chosen =
            Save(ws, {QStringLiteral("Uložení Poznámek -") + path, cfg.TextPath(QString()),
                      QStringLiteral("*.TXT"), kFilterText});
        if (!chosen.isEmpty()) {
            path = chosen;
            cfg.CestaTXT = cfg.RelativeFolder(DirOf(chosen));
            fileName = FileNameOf(chosen);
        }
    }
    if (fileName.isEmpty()) return;
    emit ws.savingNotes(fileName);
    cfg.SouborPoznamky = FileNameOf(path);
    TextFile::WriteLines(path, QStringList(ws.NotesLines) << QString());
    ws.SetChanged(kChangedNotes, false);
}

EntryFormLists EntryFormPickLists(const Workspace& ws) {
    const Table& p = ws.Projects;
    const Table& d = ws.Deadlines;
    const Table& f = ws.Finance;
    const Table& t = ws.Templates;
    EntryFormLists lists;
    AddColumn(lists.projectNumbers, p, Project::Number);
    AddColumn(lists.projectNames, p, Project::Name);
    AddColumn(lists.managers, p, Project::Manager);
    AddColumn(lists.technicians, p, Project::Technician);
    AddColumn(lists.deadlineActivities, d, Deadline::Activity);
    AddColumn(lists.deadlineClassifications, d, Deadline::Classification);
    AddColumn(lists.deadlineSteps, d, Deadline::Step);
    AddColumn(lists.deadlineInfos, d, Deadline::Info);
    AddColumn(lists.deadlineNotes, d, Deadline::Note);
    AddColumn(lists.financeActivities, f, Finance::Activity);
    AddColumn(lists.financeActivities, t, Template::Activity, [&t](int r) {
        return t.Cell(Template::TemplateKind, r) != QStringLiteral("Termíny");
    });
    AddColumn(lists.financeClassifications, t, Template::Classification);
    AddColumn(lists.financeSteps, f, Finance::Step);
    AddColumn(lists.financeSteps, t, Template::Step);
    return lists;
}

QStringList ProjectPickEntries(const Workspace& ws) {
    QStringList entries;
    const Table& p = ws.Projects;
    for (int r = 1; r < p.RowCount(); ++r)
        if (!p.Cell(Project::Number, r).isEmpty())
            AddOnce(entries,
                    p.Cell(Project::Number, r) + QStringLiteral("/ ") + p.Cell(Project::Name, r));
    return entries;
}
