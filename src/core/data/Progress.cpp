#include "Progress.h"

#include <QSet>
#include <cmath>

#include "../Clock.h"
#include "../FileChoice.h"
#include "../Prompter.h"
#include "../Workspace.h"
#include "../editing/Links.h"
#include "Cells.h"
#include "Columns.h"
#include "Dates.h"
#include "Templates.h"
#include "TextFile.h"

using namespace FileChoice;

namespace {

const QString kProgressMask = QStringLiteral("*APr*.csv");

bool WriteProgress(Workspace& ws, const QString& name, SaveMode mode);

// Puts the rows of a progress file into the tables, after their first rows as
// loading prepared them; the file's header line replaces both tables' headers.
void ApplyProgressRows(Workspace& ws, const ProgressRows& read) {
    Table& deadlines = ws.Deadlines;
    Table& finance = ws.Finance;
    if (!read.header.isEmpty())
        for (int c = Progress::KindAndProject; c < Progress::Count; ++c) {
            deadlines.SetCell(c, 0, read.header[c - 1]);
            finance.SetCell(c, 0, read.header[c - 1]);
        }
    int r = 1;
    for (const QStringList& row : read.deadlines) {
        deadlines.SetCell(Deadline::RowNumber, r, QString::number(r));
        for (int c = Deadline::KindAndProject; c < Deadline::Count; ++c)
            deadlines.SetCell(c, r, row[c - 1]);
        ++r;
    }
    r = 1;
    for (const QStringList& row : read.finance) {
        finance.SetCell(Finance::RowNumber, r, QString::number(r));
        for (int c = Finance::KindAndProject; c < Finance::Count; ++c)
            finance.SetCell(c, r, row[c - 1]);
        ++r;
    }
}

// The current project follows the loaded file: a load that did not happen
// leaves the project whose rows the tables hold.
void KeepCurrentProjectWithFile(Workspace& ws) {
    ws.FindProjectRow(ProgressNumberForLoading(ws.config.SouborPopis));
}

// Loads one progress file; the batch load computes the time range once at its end.
// "Soubor_Popis_CSV" changes only when a file is read, so that it always names
// the file whose rows the tables hold and a later save writes them back there.
LoadResult LoadProgressFile(Workspace& ws, const QString& name, bool refreshRange) {
    Config& cfg = ws.config;
    if (!IsSafeNamePart(name)) {
        ws.Ask().Error(QStringLiteral("Soubor ") + name +
                       QStringLiteral(" nelze otevřít: jeho název vede mimo složku dat."));
        KeepCurrentProjectWithFile(ws);
        return LoadResult::Unchanged;
    }
    if (ws.Changed(kChangedDeadlines) || ws.Changed(kChangedFinance)) {
        // Unsaved rows are never replaced by another file's.
        if (!SaveProgress(ws, cfg.SouborPopis, SaveMode::Open)) {
            ws.Ask().Inform(QStringLiteral("Změny průběhu nebyly uloženy, soubor ") + name +
                            QStringLiteral(" se proto neotevře."));
            KeepCurrentProjectWithFile(ws);
            return LoadResult::Unchanged;
        }
    }
    QString path = cfg.DataPath(name);
    QString fileName = name;
    if (name.isEmpty() || !IsFile(path)) {
        const QString chosen = Open(ws, {QStringLiteral("Otevření Prubehu Akcí -") + path,
                                         cfg.DataPath(QString()), name, kFilterProgress});
        if (!chosen.isEmpty() && IsFile(chosen)) {
            cfg.Cesta = cfg.RelativeFolder(DirOf(chosen));
            fileName = FileNameOf(chosen);
            path = chosen;
        }
    }
    if (!IsFile(path)) {
        const bool create = ws.Ask().AskYesNo(CreateQuestion(name));
        KeepCurrentProjectWithFile(ws);
        if (!create) return LoadResult::Unchanged;
        // Generation for the missing file: only for a project that was found, and
        // never over an existing progress file.
        const int row = FindProjectRowIn(ws.Projects, name);
        if (row == 0) {
            ws.Ask().Error(
                QStringLiteral("Soubor ") + name +
                QStringLiteral(" nelze vytvořit: k jeho názvu nebyla nalezena žádná akce."));
            return LoadResult::Unchanged;
        }
        const QString generated = ProgressFileName(ws, ws.Projects.Cell(Project::Number, row));
        KeepCurrentProjectWithFile(ws);
        if (IsFile(cfg.DataPath(generated))) {
            ws.Ask().Error(QStringLiteral("Soubor ") + cfg.DataPath(generated) +
                           QStringLiteral(" již existuje a nebude přepsán."));
            return LoadResult::Unchanged;
        }
        // A refused project has been reported by the generation.
        return GenerateProgressRows(ws, row).written.isEmpty() ? LoadResult::Unchanged
                                                               : LoadResult::Created;
    }
    // A file that cannot be read leaves the tables and the configured file as they were.
    const ProgressRows read = ReadProgressFile(path, cfg.VyseDPH);
    if (read.error) throw *read.error;
    ReportCutCells(ws, path, read.cutCells);
    cfg.SouborPopis = fileName.left(60);

    Table& dl = ws.Deadlines;
    Table& fin = ws.Finance;
    for (int c = Deadline::Activity; c < dl.ColumnCount(); ++c) dl.SetCell(c, 1, QString());
    for (int c = Finance::Activity; c < fin.ColumnCount(); ++c) fin.SetCell(c, 1, QString());
    emit ws.progressFileLoaded(name);
    const QString number = ProgressNumberForLoading(name);
    dl.SetCell(Deadline::KindAndProject, 1, QStringLiteral("T-") + number);
    fin.SetCell(Finance::KindAndProject, 1, QStringLiteral("F-") + number);
    dl.SetCell(Deadline::Identifier, 1, QStringLiteral("T-") + number + QStringLiteral("-01/"));
    fin.SetCell(Finance::Identifier, 1, QStringLiteral("F-") + number + QStringLiteral("-01/"));
    SetupTable(dl, kDeadlineTable, cfg.PopisDPH);
    SetupTable(fin, kFinanceTable, cfg.PopisDPH);
    ApplyProgressRows(ws, read);
    KeepCurrentProjectWithFile(ws);
    if (refreshRange) {
        ComputeTimeRange(ws);
        ws.NotifyTable(kDeadlineTable);
        ws.NotifyTable(kFinanceTable);
    }
    return LoadResult::Loaded;
}

const QStringList kFinancePrefixes = {QStringLiteral("F-"), QStringLiteral("J-"),
                                      QStringLiteral("O-")};

bool HasOwnRows(const Table& table, int firstRow, const QStringList& prefixes,
                const QString& number) {
    for (int r = firstRow; r < table.RowCount(); ++r)
        for (const QString& p : prefixes)
            if (table.Cell(Progress::KindAndProject, r) == p + number) return true;
    return false;
}

// Rows that a save under this number would write.
bool HasRowsContaining(const Workspace& ws, const QString& number) {
    if (number.isEmpty()) return false;
    for (int r = 0; r < ws.Deadlines.RowCount(); ++r)
        if (ws.Deadlines.Cell(Deadline::KindAndProject, r).contains(number)) return true;
    for (int r = 1; r < ws.Finance.RowCount(); ++r)
        if (ws.Finance.Cell(Finance::KindAndProject, r).contains(number)) return true;
    return false;
}

}  // namespace

ProgressRows ReadProgressFile(const QString& path, const QString& defaultVat) {
    ProgressRows result;
    const QStringList lines = ReadDataLines(path, result.error, &result.cutCells);
    if (!result.Ok()) return result;
    auto cells = [](const FieldBuffer& fields) {
        QStringList row;
        for (int c = Progress::KindAndProject; c < Progress::Count; ++c) row << fields[c - 1];
        return row;
    };
    for (const QString& line : lines) {
        FieldBuffer fields = SplitFields(line, Progress::Count, u';');
        const QString& first = fields[0];
        if (first.isEmpty()) continue;
        if (first == QStringLiteral("Akce číslo")) {
            // A later header line wins, as it did when each replaced the table headers.
            result.header = cells(fields);
        } else if (first.startsWith(QLatin1String("T-"))) {
            result.deadlines << cells(fields);
        } else if (first.startsWith(QLatin1String("F-")) || first.startsWith(QLatin1String("J-")) ||
                   first.startsWith(QLatin1String("O-"))) {
            if (first.startsWith(QLatin1String("F-")) && fields[Finance::Info - 1].isEmpty())
                fields[Finance::Info - 1] = defaultVat;
            for (int c = Finance::Eligible; c <= Finance::Total; ++c)
                fields[c - 1] = FormatAmount(ParseAmount(fields[c - 1]));
            result.finance << cells(fields);
        }
    }
    return result;
}

void WriteProgressFile(const QString& path, const QString& number, const Table& deadlines,
                       const Table& finance) {
    // Rows belong to the file when their kind cell contains its project number.
    auto belongs = [&](const Table& t, int r) {
        return !number.isEmpty() && t.Cell(Progress::KindAndProject, r).contains(number);
    };
    QStringList lines;
    lines << QStringLiteral("Akce ORVA;") + FormatDate(Clock::Today());
    lines << QStringLiteral("Akce - Projekt Číslo ;") + number;
    lines << QStringLiteral("Termíny");
    // Each line ends in one empty field past the last column, as other copies write it.
    for (int r = 0; r < deadlines.RowCount(); ++r)
        if (belongs(deadlines, r))
            lines << RowLine(deadlines, r, Deadline::KindAndProject, Deadline::Count);
    for (int r = 1; r < finance.RowCount(); ++r)
        if (belongs(finance, r))
            lines << RowLine(finance, r, Finance::KindAndProject, Finance::Count, Finance::Eligible,
                             Finance::Total);
    TextFile::WriteLines(path, lines);
}

QString ProgressFileName(Workspace& ws, const QString& number) {
    const int row = ws.FindProjectRow(number);
    return ProgressFileNameFor(ws.config.SouborAkce, ws.Projects.Cell(Project::Number, row));
}

QString ProgressFileNameFor(const QString& registerName, const QString& number) {
    const qsizetype csv = registerName.indexOf(QLatin1String(".csv"));
    QString base = csv < 0 ? QString() : registerName.left(csv);
    base.replace(u'_', u'-');
    const qsizetype dash = base.indexOf(u'-');
    if (dash >= 0) base[dash] = u'_';
    if (!base.contains(u'_')) base += u'_';
    return QStringLiteral("APr_") + base + u'_' + number + QStringLiteral(".csv");
}

bool IsSafeNamePart(const QString& text) {
    return !text.contains(u'/') && !text.contains(u'\\') && !text.contains(QLatin1String(".."));
}

QString UnsafeNumberText(const QString& number) {
    return QStringLiteral("Číslo akce \"") + number +
           QStringLiteral(
               "\" obsahuje \"/\", \"\\\" nebo \"..\" a nemůže být součástí názvu "
               "souboru.");
}

QString ProgressFileRefusal(Workspace& ws, int row) {
    const QString number = ws.Projects.Cell(Project::Number, row);
    if (number.isEmpty())
        return QStringLiteral("Akce v řádku ") + QString::number(row) +
               QStringLiteral(" seznamu akcí nemá číslo; soubor průběhu nemá.");
    if (!IsSafeNamePart(number)) return UnsafeNumberText(number);
    const int current = ws.Current().ProjectRow();
    const QString name = ProgressFileName(ws, number);
    const int owner = ws.Current().ProjectRow();
    ws.Current().SetProjectRow(current);
    if (owner == row) return QString();
    const QString ownerNumber = ws.Projects.Cell(Project::Number, owner);
    if (ownerNumber == number)
        return QStringLiteral("Akce ") + number +
               QStringLiteral(" je v seznamu akcí vícekrát; soubor ") + name +
               QStringLiteral(" patří první z nich.");
    return QStringLiteral("Akce ") + number + QStringLiteral(": soubor ") + name +
           QStringLiteral(" patří akci ") + ownerNumber + QStringLiteral(", protože číslo ") +
           ownerNumber + QStringLiteral(" je obsaženo v čísle ") + number + u'.';
}

QString ProgressNumberForLoading(const QString& fileName) {
    return SplitFields(SplitFields(fileName, 4, u'_')[3], 2, u'.')[0];
}

QString ProgressNumberForSaving(const QString& fileName) {
    const QString fourth = SplitFields(fileName, 4, u'_')[3];
    return fourth.left(qMax<qsizetype>(0, fourth.size() - 4));
}

LoadResult LoadProgress(Workspace& ws, const QString& name) {
    return LoadProgressFile(ws, name, true);
}

bool SaveProgress(Workspace& ws, const QString& name, SaveMode mode) {
    PropagateLinkDates(ws);
    emit ws.aboutToSaveProgress();
    return WriteProgress(ws, name, mode);
}

namespace {

bool WriteProgress(Workspace& ws, const QString& name, SaveMode mode) {
    Config& cfg = ws.config;
    QString fileName = name;
    QString path = cfg.DataPath(fileName);
    if (mode == SaveMode::Open && (fileName.isEmpty() || !IsFile(path))) {
        const QString chosen = Save(ws, {QStringLiteral("Uložení Prubehu Akcí -") + path,
                                         cfg.DataPath(QString()), kProgressMask, kFilterProgress});
        if (!chosen.isEmpty()) {
            cfg.Cesta = cfg.RelativeFolder(DirOf(chosen));
            path = chosen;
            fileName = FileNameOf(chosen);
        }
    }
    if (fileName.isEmpty()) return false;
    if (!IsSafeNamePart(fileName)) {
        ws.Ask().Error(QStringLiteral("Soubor ") + fileName +
                       QStringLiteral(" nelze uložit: jeho název vede mimo složku dat."));
        return false;
    }
    const QString number = ProgressNumberForSaving(fileName);
    // The tables hold one project at a time. Without a row of this file's own
    // project they hold another project's rows (or nothing): the file would
    // lose its rows, or get rows of a project whose number contains this one.
    if (!HasOwnRows(ws.Deadlines, 1, {QStringLiteral("T-")}, number) &&
        !HasOwnRows(ws.Finance, 1, kFinancePrefixes, number) &&
        (IsFile(path) || HasRowsContaining(ws, number))) {
        ws.Ask().Error(QStringLiteral("Soubor ") + path +
                       QStringLiteral(" nebyl uložen: tabulky neobsahují žádný řádek akce ") +
                       number + u'.');
        return false;
    }
    WriteProgressFile(path, number, ws.Deadlines, ws.Finance);
    ws.Ask().Beep();
    ws.SetChanged(kChangedDeadlines, false);
    ws.SetChanged(kChangedFinance, false);
    return true;
}

}  // namespace

void LoadAllProgress(Workspace& ws) {
    if ((ws.Changed(kChangedDeadlines) || ws.Changed(kChangedFinance)) &&
        !SaveProgress(ws, ws.config.SouborPopis, SaveMode::Open)) {
        ws.Ask().Inform(
            QStringLiteral("Změny průběhu nebyly uloženy, průběhy akcí se proto neotevřou."));
        return;
    }
    for (int r = 1; r < ws.Projects.RowCount(); ++r) {
        const QString name = ProgressFileName(ws, ws.Projects.Cell(Project::Number, r));
        // A file created for a project without one is read as well.
        if (LoadProgressFile(ws, name, false) == LoadResult::Created)
            LoadProgressFile(ws, name, false);
    }
    ComputeTimeRange(ws);
    ws.NotifyTable(kDeadlineTable);
    ws.NotifyTable(kFinanceTable);
}

QStringList SaveAllProgress(Workspace& ws) {
    QStringList kept;
    // The tables hold one project; their links are brought up to date once,
    // not once per project file.
    PropagateLinkDates(ws);
    emit ws.aboutToSaveProgress();
    const int current = ws.Current().ProjectRow();
    QSet<QString> done;
    for (int r = 1; r < ws.Projects.RowCount(); ++r) {
        const QString name = ProgressFileName(ws, ws.Projects.Cell(Project::Number, r));
        // A number listed twice or contained in a later one names the same file again.
        if (done.contains(name)) continue;
        done.insert(name);
        const QString number = ProgressNumberForSaving(name);
        // The tables hold one project at a time: a project none of whose rows are
        // loaded would get a file without rows (or the rows of a project whose
        // number contains its own), so it is left alone.
        const bool loaded = HasOwnRows(ws.Deadlines, 1, {QStringLiteral("T-")}, number) ||
                            HasOwnRows(ws.Finance, 1, kFinancePrefixes, number);
        if (!loaded && (IsFile(ws.config.DataPath(name)) || HasRowsContaining(ws, number))) {
            kept << name;
            continue;
        }
        WriteProgress(ws, name, SaveMode::All);
    }
    // Looking up the file names moved the current project; the loaded one stays current.
    ws.Current().SetProjectRow(current);
    ws.SetChanged(kChangedDeadlines, false);
    return kept;
}

void ComputeTimeRange(Workspace& ws) {
    double start = NowDay();
    double end = start;
    auto from = [&](double d) {
        if (d < start && d > 10) start = d;
    };
    auto to = [&](double e) {
        if (e > end) end = e;
    };
    const Table& p = ws.Projects;
    for (int r = 1; r < p.RowCount(); ++r) {
        from(ParseDate(p.Cell(Project::Start, r)));
        to(ParseDate(p.Cell(Project::End, r)));
    }
    const Table& d = ws.Deadlines;
    for (int r = 1; r < d.RowCount(); ++r) {
        from(ParseDate(d.Cell(Deadline::PlanStart, r)));
        from(ParseDate(d.Cell(Deadline::ActualStart, r)));
        to(ParseDate(d.Cell(Deadline::PlanEnd, r)));
        to(ParseDate(d.Cell(Deadline::ActualEnd, r)));
    }
    if (start > end) start = end;
    if (start > 10) start -= 50;
    if (end > 10) end += 50;
    ws.RangeStart = start;
    ws.RangeEnd = end;
    ws.RangeLength = int(std::nearbyint(end - start));
}
