#include "ProjectRegister.h"

#include "../Clock.h"
#include "../FileChoice.h"
#include "../Prompter.h"
#include "../Workspace.h"
#include "Cells.h"
#include "Columns.h"
#include "Dates.h"
#include "TextFile.h"

using namespace FileChoice;

namespace {

const QString kRegisterMask = QStringLiteral("Akce*.csv");

}  // namespace

FileRows ReadProjectRegister(const QString& path, const QString& defaultVat) {
    FileRows result;
    const QStringList lines = ReadDataLines(path, result.error, &result.cutCells);
    if (!result.Ok()) return result;
    for (int i = 1; i < lines.size(); ++i) {  // the first line only holds the date of saving
        FieldBuffer f = SplitFields(lines[i], Project::Count, u';');
        if (f[Project::Note - 1].isEmpty()) f[Project::Note - 1] = defaultVat;
        if (f[0].isEmpty() || f[0] == QLatin1String("Akce ORVA") ||
            f[0] == QStringLiteral("Číslo akce"))
            continue;
        QStringList row;
        for (int c = Project::Number; c < Project::Count; ++c)
            row << (c == Project::PlannedTotal || c == Project::Subsidy
                        ? FormatAmount(ParseAmount(f[c - 1]))
                        : f[c - 1]);
        result.rows << row;
    }
    return result;
}

void WriteProjectRegister(const QString& path, const Table& projects) {
    QStringList lines;
    lines.reserve(projects.RowCount() + 2);
    lines << QStringLiteral(";Uloženo ") + FormatDate(Clock::Today());
    lines << QStringLiteral("Akce ORVA");
    // Each line ends in one empty field past the last column, as other copies write it.
    for (int r = 0; r < projects.RowCount(); ++r)
        lines << RowLine(projects, r, Project::Number, Project::Count, Project::PlannedTotal,
                         Project::Subsidy);
    TextFile::WriteLines(path, lines);
}

namespace {

void ApplyRegister(Workspace& ws, const FileRows& read) {
    Table& t = ws.Projects;
    SetupTable(t, kProjectTable, ws.config.PopisDPH);
    int r = 1;
    for (const QStringList& row : read.rows) {
        t.SetCell(Project::RowNumber, r, QString::number(r));
        for (int c = Project::Number; c < Project::Count; ++c) t.SetCell(c, r, row[c - 1]);
        ++r;
    }
}

}  // namespace

LoadResult LoadProjectRegister(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    if (ws.Changed(kChangedProjects)) SaveProjectRegister(ws, cfg.SouborAkce);
    QString path = cfg.DataPath(name);
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen = Open(ws, {QStringLiteral("Otevření Akcí -") + path,
                                         cfg.DataPath(QString()), kRegisterMask, kFilterCsv});
        if (!chosen.isEmpty()) {
            cfg.Cesta = cfg.RelativeFolder(DirOf(chosen));
            cfg.SouborAkce = FileNameOf(chosen);
            path = chosen;
        }
    }
    if (!IsFile(path)) {
        if (cfg.SouborAkce.isEmpty()) cfg.SouborAkce = QStringLiteral("AKCE.csv");
        path = cfg.DataPath(cfg.SouborAkce);
    }
    // A cancelled dialog falls back on the configured register; an existing
    // register is never replaced by a new one.
    if (IsFile(path)) {
        const FileRows read = ReadProjectRegister(path, cfg.VyseDPH);
        read.ThrowIfFailed();
        ReportCutCells(ws, path, read.cutCells);
        ApplyRegister(ws, read);
        ws.NotifyTable(kProjectTable);
        return LoadResult::Loaded;
    }
    if (!ws.Ask().AskYesNo(CreateQuestion(path))) return LoadResult::Quit;
    SetupTable(ws.Projects, kProjectTable, cfg.PopisDPH);
    WriteProjectRegister(path, ws.Projects);
    ws.Ask().Beep();
    ws.SetChanged(kChangedProjects, true);
    ws.NotifyTable(kProjectTable);
    return LoadResult::Created;
}

void SaveProjectRegister(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    QString fileName = name;
    QString path = cfg.DataPath(fileName);
    if (fileName.isEmpty() || !IsFile(path)) {
        const QString chosen = Save(ws, {QStringLiteral("Uložení Akcí -") + path,
                                         cfg.DataPath(QString()), kRegisterMask, kFilterCsv});
        if (!chosen.isEmpty()) {
            path = chosen;
            cfg.Cesta = cfg.RelativeFolder(DirOf(chosen));
            cfg.SouborAkce = fileName = FileNameOf(chosen);
        }
    }
    if (fileName.isEmpty()) return;
    WriteProjectRegister(path, ws.Projects);
    ws.Ask().Beep();
    ws.SetChanged(kChangedProjects, false);
}
