#include "../Prompter.h"
#include "../Workspace.h"
#include "../Clock.h"
#include "Cells.h"
#include "DataFiles.h"
#include "Dates.h"
#include "FileChoice.h"
#include "TextFile.h"

using namespace FileChoice;

namespace {

const QString kRegisterMask = QStringLiteral("Akce*.csv");

void ReadRegister(Workspace& ws, const QString& path) {
    const QStringList lines = TextFile::ReadLines(path);
    Table& t = ws.Projects;
    SetupTable(t, kProjectTable, ws.config.PopisDPH);
    int r = 1;
    for (int i = 1; i < lines.size(); ++i) {  // the first line only holds the date of saving
        FieldBuffer f = SplitFields(lines[i], 15, u';');
        if (f[8].isEmpty()) f[8] = ws.config.VyseDPH;
        if (f[0].isEmpty() || f[0] == QLatin1String("Akce ORVA") ||
            f[0] == QStringLiteral("Číslo akce"))
            continue;
        t.SetCell(0, r, QString::number(r));
        for (int c = 1; c <= 14; ++c)
            t.SetCell(c, r, c == 11 || c == 12 ? FormatAmount(ParseAmount(f[c - 1])) : f[c - 1]);
        ++r;
    }
}

void WriteRegister(Workspace& ws, const QString& path) {
    QStringList lines;
    lines.reserve(ws.Projects.RowCount() + 2);
    lines << QStringLiteral(";Uloženo ") + FormatDate(Clock::Today());
    lines << QStringLiteral("Akce ORVA");
    for (int r = 0; r < ws.Projects.RowCount(); ++r)
        lines << RowLine(ws.Projects, r, 1, 15, 11, 12);
    TextFile::WriteLines(path, lines);
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
        ReadRegister(ws, path);
        ws.NotifyTable(kProjectTable);
        return LoadResult::Loaded;
    }
    if (!ws.Ask().AskYesNo(CreateQuestion(path))) return LoadResult::Quit;
    SetupTable(ws.Projects, kProjectTable, cfg.PopisDPH);
    WriteRegister(ws, path);
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
    WriteRegister(ws, path);
    ws.Ask().Beep();
    ws.SetChanged(kChangedProjects, false);
}
