#include "Templates.h"

#include <QScopeGuard>

#include "../Clock.h"
#include "../FileChoice.h"
#include "../Prompter.h"
#include "../Workspace.h"
#include "Cells.h"
#include "Columns.h"
#include "Dates.h"
#include "Progress.h"
#include "TextFile.h"

using namespace FileChoice;

namespace {

const QString kTemplateMask = QStringLiteral("Ukon*.csv");
const QString kGeneratedHeader = QStringLiteral(
    "Akce číslo;Činnost;Zařazení;Proces;Plán od ;Plán DO;Skutečnost OD;Skutečnost DO;Délka "
    "Dnů;Real OD;Real DO;ID-vnitřní;Info;Poznámka;;Dokument TXT;Dokument JPG");

// Template files carry columns 1 to 17, one more than the table shows; the last
// is kept so that a save gives it back.
constexpr int kLastFileColumn = Template::FileOnly;

void ApplyTemplates(Workspace& ws, const FileRows& read) {
    Table& t = ws.Templates;
    SetupTable(t, kTemplateTable, ws.config.PopisDPH);
    int r = 0;
    for (const QStringList& row : read.rows) {
        t.SetCell(Template::RowNumber, r, QString::number(r));
        for (int c = Template::TemplateKind; c <= kLastFileColumn; ++c) t.SetCell(c, r, row[c - 1]);
        ++r;
    }
}

QString KindPrefix(const QString& kind) {
    if (kind == QStringLiteral("Termíny")) return QStringLiteral("T-");
    if (kind == QLatin1String("Finance")) return QStringLiteral("F-");
    if (kind == QStringLiteral("Jiné")) return QStringLiteral("J-");
    if (kind == QStringLiteral("Ostatní")) return QStringLiteral("O-");
    return QString();
}

}  // namespace

FileRows ReadTaskTemplates(const QString& path) {
    FileRows result;
    const QStringList lines = ReadDataLines(path, result.error, &result.cutCells);
    if (!result.Ok()) return result;
    for (const QString& line : lines) {
        const FieldBuffer f = SplitFields(line, kLastFileColumn, u';');
        if (f[0].isEmpty() || f[0] == QLatin1String("Akce ORVA") ||
            f[0] == QStringLiteral("Úkony Čas"))
            continue;
        result.rows << QStringList(f.begin(), f.begin() + kLastFileColumn);
    }
    return result;
}

void WriteTaskTemplates(const QString& path, const Table& templates) {
    QStringList lines;
    lines << QStringLiteral("Akce ORVA");
    lines << QStringLiteral("Úkony Čas;") + FormatDate(Clock::Today());
    for (int r = 0; r < templates.RowCount(); ++r) {
        QString line;
        for (int c = Template::TemplateKind; c <= kLastFileColumn; ++c)
            line += templates.Cell(c, r) + u';';
        lines << line;
    }
    TextFile::WriteLines(path, lines);
}

LoadResult LoadTaskTemplates(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    if (ws.Changed(kChangedTemplates)) {
        SaveTaskTemplates(ws, cfg.SouborUkony);
        ws.SetChanged(kChangedTemplates, false);
    }
    QString path = cfg.DataPath(name);
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen = Open(ws, {QStringLiteral("Otevření Úkonů -") + path,
                                         cfg.DataPath(QString()), kTemplateMask, kFilterTemplates});
        if (!chosen.isEmpty()) {
            cfg.Cesta = cfg.RelativeFolder(DirOf(chosen));
            cfg.SouborUkony = FileNameOf(chosen);
            path = chosen;
        }
    }
    if (!IsFile(path)) {
        if (cfg.SouborUkony.isEmpty()) cfg.SouborUkony = QStringLiteral("UKONY.csv");
        path = cfg.DataPath(cfg.SouborUkony);
    }
    // A cancelled dialog falls back on the configured file; it is never replaced
    // by the default templates.
    if (IsFile(path)) {
        const FileRows read = ReadTaskTemplates(path);
        read.ThrowIfFailed();
        ReportCutCells(ws, path, read.cutCells);
        ApplyTemplates(ws, read);
        ws.Ask().Beep();
        ws.NotifyTable(kTemplateTable);
        return LoadResult::Loaded;
    }
    if (!ws.Ask().AskYesNo(CreateQuestion(path + QStringLiteral("\r\n"))))
        return LoadResult::Unchanged;
    SetupTable(ws.Templates, kTemplateTableWithDefaults, cfg.PopisDPH);
    SaveTaskTemplates(ws, cfg.SouborUkony);
    ws.SetChanged(kChangedTemplates, true);
    ws.NotifyTable(kTemplateTable);
    return LoadResult::Created;
}

void SaveTaskTemplates(Workspace& ws, const QString& name) {
    Config& cfg = ws.config;
    QString path = cfg.DataPath(name);
    ws.AppendCheck(QStringLiteral("Prenos ") + path);
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen = Save(ws, {QStringLiteral("Uložení Úkonů -") + path,
                                         cfg.DataPath(QString()), kTemplateMask, kFilterTemplates});
        if (!chosen.isEmpty()) {
            cfg.Cesta = cfg.RelativeFolder(DirOf(chosen));
            cfg.SouborUkony = FileNameOf(chosen);
            path = chosen;
        }
        if (cfg.SouborUkony.isEmpty()) cfg.SouborUkony = QStringLiteral("UKONY.csv");
        ws.AppendCheck(QStringLiteral("Vyber ") + path);
    }
    // Always written under the configured name.
    path = cfg.DataPath(cfg.SouborUkony);
    ws.AppendCheck(QStringLiteral("Zapisuje ") + path);
    WriteTaskTemplates(path, ws.Templates);
    ws.Ask().Beep();
    ws.SetChanged(kChangedTemplates, false);
}

QStringList GeneratedProgressLines(Workspace& ws, int row, QString& groupFirst) {
    const QString number = ws.Projects.Cell(Project::Number, row);
    const QString projectName = ws.Projects.Cell(Project::Name, row);
    const QString share = ws.Projects.Cell(Project::Percentages, row);
    QStringList lines;
    lines << QStringLiteral("Akce ORVA");
    lines << QStringLiteral("Akce - Projekt Číslo ;") + number + u';' + projectName;
    lines << QStringLiteral("Termíny");
    lines << kGeneratedHeader;
    int i = 0, j = 0;
    QString groupKey, previous;
    Table& t = ws.Templates;
    for (int r = 1; r < t.RowCount(); ++r) {
        const QString prefix = KindPrefix(t.Cell(Template::TemplateKind, r));
        if (prefix.isEmpty()) continue;
        const bool deadline = prefix == QLatin1String("T-");
        QString seq = QString::number(deadline ? ++i : ++j);
        if (seq.size() < 2) seq.prepend(u'0');
        t.SetCell(Template::Sequence, r, seq);
        const QString id = prefix + number + u'-' + seq;
        QString realFrom, realTo, idCell;
        if (deadline) {
            realFrom = t.Cell(Template::RealStart, r);
            realTo = t.Cell(Template::RealEnd, r);
            const QString key = t.Cell(Template::Activity, r) + t.Cell(Template::Classification, r);
            QString parent, predecessor;
            if (key != groupKey) {
                previous.clear();
                groupFirst = id;
                groupKey = key;
            } else {
                parent = QStringLiteral("N-") + groupFirst;
                if (!previous.isEmpty()) predecessor = QStringLiteral("P-") + previous;
                previous = id;
            }
            idCell = id + u'/' + parent + u'/' + predecessor;
        } else {
            idCell = id + u'/';
        }
        const QStringList fields = {prefix + number,
                                    t.Cell(Template::Activity, r),
                                    t.Cell(Template::Classification, r),
                                    t.Cell(Template::Step, r),
                                    QString(),
                                    QString(),
                                    QString(),
                                    QString(),
                                    t.Cell(Template::Duration, r),
                                    realFrom,
                                    realTo,
                                    idCell,
                                    t.Cell(Template::Marker, r),
                                    share};
        lines << fields.join(u';') + u';';
    }
    return lines;
}

GenerateReport GenerateProgressRows(Workspace& ws, int p, bool overwrite) {
    GenerateReport report;
    // Generation writes files only; the loaded project stays the current one.
    const auto keepCurrent = qScopeGuard(
        [&ws, current = ws.Current().ProjectRow()] { ws.Current().SetProjectRow(current); });
    // The first identifier of a group survives from one project to the next, as
    // a template row with empty activity and classification joins the old group.
    QString groupFirst;
    for (int r = 1; r < ws.Projects.RowCount(); ++r) {
        if (p != 0 && r != p) continue;
        // A project whose file name leads to another project would overwrite
        // that project's file with its own rows.
        if (const QString refusal = ProgressFileRefusal(ws, r); !refusal.isEmpty()) {
            report.refused << refusal;
            continue;
        }
        const QString name = ProgressFileName(ws, ws.Projects.Cell(Project::Number, r));
        const QString path = ws.config.DataPath(name);
        if (!overwrite && IsFile(path)) {
            report.kept << name;
            continue;
        }
        TextFile::WriteLines(path, GeneratedProgressLines(ws, r, groupFirst));
        report.written << name;
    }
    if (!report.refused.isEmpty())
        ws.Ask().Error(QStringLiteral("Tyto akce nedostaly soubor průběhu:\r\n\r\n") +
                       report.refused.join(QStringLiteral("\r\n")));
    ws.NotifyTable(kTemplateTable);
    return report;
}
