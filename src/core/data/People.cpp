#include "../Prompter.h"
#include "../Workspace.h"
#include "Cells.h"
#include "DataFiles.h"
#include "FileChoice.h"
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

void LoadPeople(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    QString path = cfg.DataPath(name);
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen = Open(ws, {QStringLiteral("Otevření Akcí -") + path,
                                         cfg.DataPath(QString()), QStringLiteral("*Lid*.csv"),
                                         kFilterProgress});
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
    for (const QString& line : TextFile::ReadLines(path)) AddOnce(ws.Picks.persons, PersonEntry(line));
    emit ws.pickListsChanged();
}

void RefreshPickLists(Workspace& ws) {
    ws.NotifyGauge(0, 50);
    LoadPeople(ws, ws.config.SouborLidi);
    PickLists& picks = ws.Picks;
    picks.projects.clear();
    const Table& p = ws.Projects;
    for (int r = 1; r < p.RowCount(); ++r) {
        if (!p.Cell(1, r).isEmpty())
            AddOnce(picks.projects, p.Cell(1, r) + QStringLiteral("/ ") + p.Cell(2, r));
        ws.NotifyGauge(r, 50);
    }
    picks.activities = DistinctColumn(ws.Templates, 2);
    picks.classifications = DistinctColumn(ws.Templates, 3);
    picks.steps = DistinctColumn(ws.Templates, 4);
    ws.NotifyGauge(0, 50);
    emit ws.pickListsChanged();
}

void LoadNotes(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    if (ws.Changed(kChangedNotes)) SaveNotes(ws, cfg.SouborPoznamky);
    QString path = cfg.TextPath(name);
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen = Open(ws, {QStringLiteral("Otevření Poznámek -") + path,
                                         cfg.TextPath(QString()), QStringLiteral("*.TXT"),
                                         kFilterText});
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
        const QString chosen = Save(ws, {QStringLiteral("Uložení Poznámek -") + path,
                                         cfg.TextPath(QString()), QStringLiteral("*.TXT"),
                                         kFilterText});
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
