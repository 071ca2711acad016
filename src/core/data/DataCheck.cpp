#include "DataCheck.h"

#include <QHash>

#include "../FileChoice.h"
#include "../Workspace.h"
#include "../shell/Config.h"
#include "Cells.h"
#include "Columns.h"
#include "Dates.h"
#include "IniFile.h"
#include "Progress.h"
#include "ProjectRegister.h"
#include "Templates.h"
#include "TextFile.h"

using FileChoice::IsFile;

namespace {

const QChar kNbsp(0x00A0);

// A line whose first field is empty is ignored by every loader; it only loses
// something when other fields hold text.
bool CarriesText(const QString& line) {
    for (QChar c : line)
        if (c != u';' && c != u' ' && c != kNbsp) return true;
    return false;
}

void AddSkipped(DataCheckReport& report, const QString& file, int index, const QString& line) {
    report.skipped.append({file, index + 1, line});
}

void CheckCell(DataCheckReport& report, const QString& file, int index, const FieldBuffer& fields,
               int column, bool amount, int tableKind, const QString& vatText) {
    const QString& cell = fields[column - 1];
    if (cell.isEmpty()) return;
    if (amount ? !IsBadAmountCell(cell) : !IsBadDateCell(cell)) return;
    report.badCells.append(
        {file, index + 1, column, TableHeaders(tableKind, vatText).value(column), cell, amount});
}

bool StartsWith(const QString& text, const char* prefix) {
    return text.startsWith(QLatin1String(prefix));
}

// Reads a file for scanning; an unreadable file is listed and gives no lines.
bool ReadForScan(const QString& path, QStringList& lines, DataCheckReport& report) {
    try {
        lines = TextFile::ReadLines(path);
        return true;
    } catch (const FileError& e) {
        report.fileErrors << e.Text();
        return false;
    }
}

// Runs one loader; a file error is listed unless the scan already listed it.
template <typename Load>
bool RunLoader(DataCheckReport& report, Load load) {
    try {
        return load();
    } catch (const FileError& e) {
        if (!report.fileErrors.contains(e.Text())) report.fileErrors << e.Text();
        return false;
    }
}

}  // namespace

bool IsBadDateCell(const QString& cell) {
    return !cell.isEmpty() && ParseDate(cell) == kEmptyDate;
}

bool IsBadAmountCell(const QString& cell) {
    bool nonZeroDigit = false;
    for (QChar c : cell) {
        const char16_t u = c.unicode();
        if (u >= u'1' && u <= u'9')
            nonZeroDigit = true;
        else if (u != u'0' && u != u' ' && u != 0x00A0 && u != u'+' && u != u'-' && u != u',' &&
                 u != u'.')
            return true;
    }
    return nonZeroDigit && ParseAmount(cell) == 0.0;
}

bool DataCheckReport::Clean() const {
    if (!registerLoaded || !templatesLoaded || !configProblem.isEmpty()) return false;
    if (!missingFiles.isEmpty() || !fileErrors.isEmpty() || !skipped.isEmpty() ||
        !badCells.isEmpty() || !prompts.isEmpty())
        return false;
    for (const ProjectCheck& p : projects)
        if (!p.sharesFileOf.isEmpty() || p.unsafeNumber) return false;
    return true;
}

void ScanRegisterLines(const QStringList& lines, const QString& fileName, DataCheckReport& report) {
    for (int i = 0; i < lines.size(); ++i) {
        const FieldBuffer f = SplitFields(lines[i], 14, u';');
        const QString& first = f[0];
        const bool heading =
            first == QLatin1String("Akce ORVA") || first == QStringLiteral("Číslo akce");
        if (first.isEmpty()) {
            // The first line is the date of saving and has an empty first field.
            if (i > 0 && CarriesText(lines[i])) AddSkipped(report, fileName, i, lines[i]);
            continue;
        }
        if (heading) continue;
        if (i == 0) {
            // The loader never reads the first line: a project there is lost.
            AddSkipped(report, fileName, i, lines[i]);
            continue;
        }
        for (int c : {Project::PlannedTotal, Project::Subsidy})
            CheckCell(report, fileName, i, f, c, true, kProjectTable, {});
        for (int c : {Project::Start, Project::End})
            CheckCell(report, fileName, i, f, c, false, kProjectTable, {});
    }
}

void ScanTemplateLines(const QStringList& lines, const QString& fileName, DataCheckReport& report) {
    for (int i = 0; i < lines.size(); ++i) {
        const FieldBuffer f = SplitFields(lines[i], 1, u';');
        if (f[0].isEmpty() && CarriesText(lines[i])) AddSkipped(report, fileName, i, lines[i]);
    }
}

void ScanProgressLines(const QStringList& lines, const QString& fileName, const QString& vatText,
                       DataCheckReport& report, ProjectCheck* counts) {
    for (int i = 0; i < lines.size(); ++i) {
        // Fields beyond the last checked column are not needed.
        const FieldBuffer f = SplitFields(lines[i], Deadline::RealEnd, u';');
        const QString& first = f[0];
        if (first.isEmpty()) {
            if (CarriesText(lines[i])) AddSkipped(report, fileName, i, lines[i]);
        } else if (StartsWith(first, "T-")) {
            if (counts) ++counts->deadlineRows;
            for (int c : {Deadline::PlanStart, Deadline::PlanEnd, Deadline::ActualStart,
                          Deadline::ActualEnd, Deadline::RealStart, Deadline::RealEnd})
                CheckCell(report, fileName, i, f, c, false, kDeadlineTable, vatText);
        } else if (StartsWith(first, "F-") || StartsWith(first, "J-") || StartsWith(first, "O-")) {
            if (counts) ++counts->financeRows;
            for (int c : {Finance::StartOrDelivery, Finance::EndOrDue, Finance::Approval,
                          Finance::ProcedureEndOrPaid})
                CheckCell(report, fileName, i, f, c, false, kFinanceTable, vatText);
            for (int c : {Finance::Eligible, Finance::Ineligible, Finance::Total})
                CheckCell(report, fileName, i, f, c, true, kFinanceTable, vatText);
        } else if (first != QStringLiteral("Akce číslo") && first != QLatin1String("Akce ORVA") &&
                   first != QStringLiteral("Akce - Projekt Číslo") &&
                   first != QStringLiteral("Termíny")) {
            AddSkipped(report, fileName, i, lines[i]);
        }
    }
}

DataCheckReport CheckDataFolder(Workspace& ws, ScriptedPrompter& prompter) {
    DataCheckReport report;
    Config& cfg = ws.config;
    try {
        ConfigFileKind kind = ConfigFileKind::Missing;
        const IniFile ini = LoadConfigurationFile(cfg.ConfigPath(), &kind);
        report.configFound = kind != ConfigFileKind::Missing;
        if (report.configFound) ReadConfiguration(cfg, ini);
        if (kind == ConfigFileKind::Utf8)
            report.configProblem = QStringLiteral(
                "soubor je uložen v UTF-8, ne v kódové stránce 1250; program jej čte a při "
                "příštím zápisu převede");
        else if (kind == ConfigFileKind::Unrecognised)
            report.configProblem = QStringLiteral(
                "soubor nemá oddíl [Nastavení] ani [Přístup] (není v kódové stránce 1250?); "
                "nastavení platí jen výchozí a připojení nikdy není volné (jen pro čtení)");
    } catch (const FileError& e) {
        report.fileErrors << e.Text();
    }
    // Without a usable file the program works with the built-in defaults.
    if (!report.configFound) ReadConfiguration(cfg, IniFile());

    QStringList lines;
    report.registerPath = cfg.DataPath(cfg.SouborAkce);
    bool readable = true;
    if (cfg.SouborAkce.isEmpty() || !IsFile(report.registerPath))
        report.missingFiles << report.registerPath;
    else if ((readable = ReadForScan(report.registerPath, lines, report)))
        ScanRegisterLines(lines, cfg.SouborAkce, report);
    if (readable)
        report.registerLoaded = RunLoader(
            report, [&] { return LoadProjectRegister(ws, cfg.SouborAkce) == LoadResult::Loaded; });

    report.templatePath = cfg.DataPath(cfg.SouborUkony);
    readable = true;
    if (cfg.SouborUkony.isEmpty() || !IsFile(report.templatePath))
        report.missingFiles << report.templatePath;
    else if ((readable = ReadForScan(report.templatePath, lines, report)))
        ScanTemplateLines(lines, cfg.SouborUkony, report);
    if (readable)
        report.templatesLoaded = RunLoader(
            report, [&] { return LoadTaskTemplates(ws, cfg.SouborUkony) == LoadResult::Loaded; });
    if (report.templatesLoaded) report.templateRows = qMax(0, ws.Templates.RowCount() - 1);

    if (report.registerLoaded) {
        // Rows are counted from each file's lines: the loader takes every row
        // line it finds, and the tables hold only the last project afterwards.
        QHash<QString, ProjectCheck> scanned;
        for (int r = 1; r < ws.Projects.RowCount(); ++r) {
            ProjectCheck pc;
            pc.number = ws.Projects.Cell(Project::Number, r);
            if (!IsSafeNamePart(pc.number)) {
                pc.unsafeNumber = true;
                report.projects.append(pc);
                continue;
            }
            pc.fileName = ProgressFileName(ws, pc.number);
            if (ws.Current().ProjectRow() != r)
                pc.sharesFileOf = ws.Projects.Cell(Project::Number, ws.Current().ProjectRow());
            const QString path = cfg.DataPath(pc.fileName);
            if (!IsFile(path)) {
                pc.missing = true;
                if (!report.missingFiles.contains(path)) report.missingFiles << path;
            } else if (const auto seen = scanned.constFind(pc.fileName); seen != scanned.cend()) {
                pc.deadlineRows = seen->deadlineRows;
                pc.financeRows = seen->financeRows;
                pc.unreadable = seen->unreadable;
            } else {
                if (ReadForScan(path, lines, report))
                    ScanProgressLines(lines, pc.fileName, cfg.PopisDPH, report, &pc);
                else
                    pc.unreadable = true;
                scanned.insert(pc.fileName, pc);
            }
            report.projects.append(pc);
        }
        // The start-up's own pass, so that every dialog and question it would
        // show is recorded. Loading each file with LoadProgress instead would
        // recompute the time range over the whole register after every file.
        // Like the start-up, the pass stops at a file that cannot be read; the
        // scan above has listed such files already.
        RunLoader(report, [&] {
            LoadAllProgress(ws);
            return true;
        });
    }
    report.prompts = prompter.log;
    return report;
}
