#include "Commands.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>
#include <memory>

#include "Arguments.h"
#include "Clock.h"
#include "FileChoice.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/DataCheck.h"
#include "data/Dates.h"
#include "data/IniFile.h"
#include "data/People.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Templates.h"
#include "data/TextFile.h"
#include "diary/Minutes.h"
#include "editing/Status.h"
#include "finance/FinanceOverview.h"
#include "finance/ResultsFile.h"
#include "planning/ICalendar.h"
#include "shell/Access.h"
#include "shell/ChangeLog.h"
#include "shell/Config.h"
#include "shell/Reconstruction.h"
#include "tools/OutputFile.h"
#include "tools/RtfWriter.h"

namespace {

// The base directory as the configuration keeps it: absolute, ending in "/".
QString BaseDirectory(const Arguments& args) {
    QString dir =
        args.base.isEmpty() ? QDir::currentPath() : QFileInfo(args.base).absoluteFilePath();
    dir = QDir::cleanPath(dir);
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir;
}

bool BaseExists(const QString& base, QTextStream& err) {
    if (QFileInfo(base).isDir()) return true;
    err << "Složka neexistuje: " << base << Qt::endl;
    return false;
}

// The program's messages keep their CR LF line breaks; one line reads better here.
QString OneLine(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String(" "));
    t.replace(u'\n', u' ');
    return t.simplified();
}

QString Shortened(const QString& text, int width) {
    return text.size() <= width ? text : text.left(width - 1) + QStringLiteral("…");
}

// Text from the shared data files reaches the terminal with its control
// characters escaped ("\x1B"), so that an escape sequence in a cell cannot act
// on the administrator's terminal. The report's own line ends stay.
QString Escaped(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (c == u'\n' || (category != QChar::Other_Control && category != QChar::Separator_Line &&
                           category != QChar::Separator_Paragraph)) {
            result += c;
            continue;
        }
        const char16_t u = c.unicode();
        result += (u < 0x100 ? QStringLiteral("\\x") : QStringLiteral("\\u")) +
                  QString::number(u, 16).toUpper().rightJustified(u < 0x100 ? 2 : 4, u'0');
    }
    return result;
}

// Collects what a command prints and passes it on escaped when it goes out of scope.
class EscapedStream {
  public:
    explicit EscapedStream(QTextStream& target) : target_(target), stream(&text_) {}
    ~EscapedStream() {
        stream.flush();
        target_ << Escaped(text_);
        target_.flush();
    }
    EscapedStream(const EscapedStream&) = delete;
    EscapedStream& operator=(const EscapedStream&) = delete;

  private:
    QTextStream& target_;
    QString text_;

  public:
    QTextStream stream;
};

QString PromptLine(const ScriptedPrompter::Entry& e) {
    using Kind = ScriptedPrompter::Kind;
    switch (e.kind) {
        case Kind::Question:
            return QStringLiteral("Dotaz (odpověď Ne): ") + OneLine(e.text);
        case Kind::OpenDialog:
            return QStringLiteral("Výběr souboru k otevření (zrušen): ") + OneLine(e.text);
        case Kind::SaveDialog:
            return QStringLiteral("Výběr souboru k uložení (zrušen): ") + OneLine(e.text);
        case Kind::Information:
            return QStringLiteral("Zpráva: ") + OneLine(e.text);
        case Kind::Error:
            return QStringLiteral("Chybové hlášení: ") + OneLine(e.text);
    }
    return OneLine(e.text);
}

void PrintPrompts(const QList<ScriptedPrompter::Entry>& prompts, QTextStream& out) {
    if (prompts.isEmpty()) return;
    out << "Dotazy a dialogy programu: " << prompts.size() << '\n';
    for (const ScriptedPrompter::Entry& e : prompts) out << "  " << PromptLine(e) << '\n';
}

// Reads the configuration without creating it; the defaults stand in for a missing file.
void ReadConfigurationOrDefaults(Config& config, QTextStream& out) {
    if (ReadConfiguration(config)) {
        out << "Konfigurace: " << config.ConfigPath() << '\n';
        return;
    }
    ReadConfiguration(config, IniFile());
    out << "Konfigurace: soubor " << config.ConfigPath() << " chybí, platí výchozí nastavení\n";
}

// A file error as every command reports it.
void ReportFileError(const FileError& e, QTextStream& err) {
    err << "Chyba souboru: " << e.Path() << ": " << e.Message() << Qt::endl;
}

// The configuration (its path, or that the defaults apply, on out) and the
// project register; false, with the register's path on err, when the register
// is missing. Throws FileError.
bool LoadConfigurationAndRegister(Workspace& ws, QTextStream& out, QTextStream& err) {
    Config& cfg = ws.config;
    ReadConfigurationOrDefaults(cfg, out);
    const QString path = cfg.DataPath(cfg.SouborAkce);
    if (cfg.SouborAkce.isEmpty() || !FileChoice::IsFile(path)) {
        err << "Chybí soubor: " << path << Qt::endl;
        return false;
    }
    LoadProjectRegister(ws, cfg.SouborAkce);
    return true;
}

// The configuration (the defaults without a file) and the project register,
// read without asking anything: a missing register, a file error or any
// question of the program is reported on err and gives false. The output of
// the commands that use it is their list alone.
bool LoadRegisterQuietly(Workspace& ws, const ScriptedPrompter& prompter, QTextStream& err) {
    Config& cfg = ws.config;
    try {
        if (!ReadConfiguration(cfg)) ReadConfiguration(cfg, IniFile());
        const QString path = cfg.DataPath(cfg.SouborAkce);
        if (cfg.SouborAkce.isEmpty() || !FileChoice::IsFile(path)) {
            err << "Chybí soubor: " << path << Qt::endl;
            return false;
        }
        LoadProjectRegister(ws, cfg.SouborAkce);
    } catch (const FileError& e) {
        ReportFileError(e, err);
        return false;
    }
    if (!prompter.log.isEmpty()) {
        for (const ScriptedPrompter::Entry& e : prompter.log) err << PromptLine(e) << Qt::endl;
        return false;
    }
    return true;
}

// The register row of --project, 0 without the option; -1 (reported on err)
// when no project has that number.
int ProjectArgumentRow(const Arguments& args, const Workspace& ws, QTextStream& err) {
    if (!args.hasProject) return 0;
    const Table& projects = ws.Projects;
    for (int r = 1; r < projects.RowCount(); ++r)
        if (projects.Cell(Project::Number, r) == args.project) return r;
    err << "Akce s číslem " << args.project << " v seznamu akcí "
        << ws.config.DataPath(ws.config.SouborAkce) << " není." << Qt::endl;
    return -1;
}

// Prints the late rows of one project's progress, loaded into a workspace of
// its own: with no project table there, the load's time range costs nothing,
// so a register of a thousand projects is listed as fast as its files read.
// Returns false when the file could not be read.
bool PrintLateRows(const Config& config, const QString& number, const QString& fileName,
                   double reference, QTextStream& out, QTextStream& err) {
    ScriptedPrompter quiet;
    Workspace files(quiet);
    files.config = config;
    try {
        LoadProgress(files, fileName);
    } catch (const FileError& e) {
        ReportFileError(e, err);
        return false;
    }
    // Without a row of its kind in the file, row 1 is only the load's placeholder
    // and has no row number.
    auto print = [&](const Table& table, const char* kind, auto evaluate) {
        if (table.Cell(Progress::RowNumber, 1).isEmpty()) return;
        for (int r = 1; r < table.RowCount(); ++r) {
            const int value = evaluate(r);
            if (value <= 0) continue;
            out << kind << ';' << number << ';' << r << ';'
                << SplitFields(table.Cell(Progress::Identifier, r), 1, u'/')[0] << ';'
                << table.Cell(Progress::Activity, r) << ';' << value << '\n';
        }
    };
    print(files.Deadlines, "T", [&](int r) { return DeadlineScore(files, r, reference); });
    print(files.Finance, "F", [&](int r) { return PaymentDelay(files, r, reference); });
    return quiet.log.isEmpty();
}

}  // namespace

int RunCheck(const Arguments& args, QTextStream& rawOut, QTextStream& rawErr) {
    EscapedStream escapedOut(rawOut);
    EscapedStream escapedErr(rawErr);
    QTextStream& out = escapedOut.stream;
    QTextStream& err = escapedErr.stream;
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = base;
    const DataCheckReport report = CheckDataFolder(ws, prompter);

    out << "Kontrola datové složky: " << base << '\n';
    if (report.configFound)
        out << "Konfigurace: " << ws.config.ConfigPath() << '\n';
    else
        out << "Konfigurace: soubor " << ws.config.ConfigPath()
            << " chybí nebo je nečitelný, platí výchozí nastavení\n";
    if (!report.configProblem.isEmpty()) out << "Konfigurace: " << report.configProblem << '\n';
    out << "Seznam akcí: " << report.registerPath << (report.registerLoaded ? "" : " (nenačten)")
        << '\n';
    out << "Úkony: " << report.templatePath;
    if (report.templatesLoaded)
        out << " (řádků: " << report.templateRows << ")\n";
    else
        out << " (nenačteny)\n";

    out << "Akcí: " << report.projects.size() << '\n';
    int width = 0;
    for (const ProjectCheck& p : report.projects) width = qMax(width, int(p.number.size()));
    for (const ProjectCheck& p : report.projects) {
        out << "  " << p.number.leftJustified(width) << "  " << p.fileName << "  ";
        if (p.unsafeNumber)
            out << UnsafeNumberText(p.number) << " Průběh se nečte ani nezapisuje.";
        else if (p.missing)
            out << "chybí";
        else if (p.unreadable)
            out << "nečitelný";
        else
            out << "termínů: " << p.deadlineRows << ", financí: " << p.financeRows;
        if (!p.sharesFileOf.isEmpty())
            out << "  (soubor akce " << p.sharesFileOf << ": číslo " << p.sharesFileOf
                << " je obsaženo v čísle " << p.number << ", vlastní průběh se nenačte)";
        out << '\n';
    }

    for (const QString& path : report.missingFiles) out << "Chybí soubor: " << path << '\n';
    if (!report.fileErrors.isEmpty()) {
        out << "Nečitelné soubory: " << report.fileErrors.size() << '\n';
        for (const QString& e : report.fileErrors) err << "Chyba souboru: " << e << Qt::endl;
    }
    PrintPrompts(report.prompts, out);

    out << "Vynechané řádky: " << report.skipped.size() << '\n';
    for (const SkippedLine& s : report.skipped)
        out << "  " << s.file << ", řádek " << s.line << ": " << Shortened(s.text, 80) << '\n';
    out << "Nečitelné buňky: " << report.badCells.size() << '\n';
    for (const BadCell& b : report.badCells)
        out << "  " << b.file << ", řádek " << b.line << ", sloupec " << b.column << " ("
            << b.header.trimmed() << "): \"" << b.text << "\" "
            << (b.amount ? "není částka" : "není datum") << '\n';

    const bool clean = report.Clean();
    out << "Výsledek: " << (clean ? "v pořádku" : "nalezeny problémy") << '\n';
    out.flush();
    return clean ? kExitOk : kExitProblems;
}

int RunGenerate(const Arguments& args, QTextStream& out, QTextStream& err) {
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    Config& cfg = ws.config;
    cfg.BaseDir = base;
    // The files about to be written, in order, so that a run stopped by a file
    // error can still tell which files it had replaced.
    QStringList planned;
    try {
        ReadConfigurationOrDefaults(cfg, out);
        // Nothing may be asked: a missing register or template file ends the run
        // before the loaders would offer to create one.
        bool missing = false;
        for (const QString& name : {cfg.SouborAkce, cfg.SouborUkony}) {
            const QString path = cfg.DataPath(name);
            if (name.isEmpty() || !QFileInfo(path).isFile()) {
                out << "Chybí soubor: " << path << '\n';
                missing = true;
            }
        }
        if (missing) return kExitProblems;
        LoadProjectRegister(ws, cfg.SouborAkce);
        LoadTaskTemplates(ws, cfg.SouborUkony);
        if (!prompter.log.isEmpty()) {
            PrintPrompts(prompter.log, out);
            return kExitProblems;
        }

        int row = 0;
        if (args.hasProject) {
            for (int r = 1; r < ws.Projects.RowCount() && row == 0; ++r)
                if (ws.Projects.Cell(Project::Number, r) == args.project) row = r;
            if (row == 0) {
                out << "Akce s číslem " << args.project << " v seznamu akcí "
                    << cfg.DataPath(cfg.SouborAkce) << " není.\n";
                return kExitProblems;
            }
        }
        for (int r = 1; r < ws.Projects.RowCount(); ++r) {
            if (row != 0 && r != row) continue;
            if (!ProgressFileRefusal(ws, r).isEmpty()) continue;
            const QString path =
                cfg.DataPath(ProgressFileName(ws, ws.Projects.Cell(Project::Number, r)));
            if (args.force || !QFileInfo(path).isFile()) planned << path;
        }
        const GenerateReport report = GenerateProgressRows(ws, row, args.force);
        for (const QString& name : report.written)
            out << "Zapsán soubor: " << cfg.DataPath(name) << '\n';
        for (const QString& name : report.kept)
            out << "Ponechán existující soubor " << cfg.DataPath(name)
                << " (přepíše jej volba --force)\n";
        for (const QString& refusal : report.refused) out << "Nezapsáno: " << refusal << '\n';
        out << "Zapsáno souborů: " << report.written.size() << ", ponecháno: " << report.kept.size()
            << '\n';
        return report.refused.isEmpty() ? kExitOk : kExitProblems;
    } catch (const FileError& e) {
        for (const QString& path : planned) {
            if (path == e.Path()) break;
            out << "Zapsán soubor: " << path << '\n';
        }
        out.flush();
        ReportFileError(e, err);
        return kExitProblems;
    }
}

int RunStatus(const Arguments& args, QTextStream& rawOut, QTextStream& rawErr) {
    EscapedStream escapedOut(rawOut);
    EscapedStream escapedErr(rawErr);
    QTextStream& out = escapedOut.stream;
    QTextStream& err = escapedErr.stream;
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    Config& cfg = ws.config;
    cfg.BaseDir = base;
    if (!LoadRegisterQuietly(ws, prompter, err)) return kExitProblems;
    const Table& projects = ws.Projects;
    const int only = ProjectArgumentRow(args, ws, err);
    if (only < 0) return kExitProblems;
    const double reference = args.date.isValid() ? DayFromDate(args.date) : NowDay();
    bool problems = false;
    for (int r = 1; r < projects.RowCount(); ++r) {
        if (only != 0 && r != only) continue;
        const QString number = projects.Cell(Project::Number, r);
        // The program finds a project by the first number contained in its own,
        // so a project may show another one's progress: listing it again under
        // this number would mislead. What is left out makes the run fail.
        if (const QString refusal = ProgressFileRefusal(ws, r); !refusal.isEmpty()) {
            err << refusal << " Vynechána." << Qt::endl;
            problems = true;
            continue;
        }
        const QString name = ProgressFileName(ws, number);
        const QString path = cfg.DataPath(name);
        if (!FileChoice::IsFile(path)) {
            err << "Chybí soubor: " << path << Qt::endl;
            problems = true;
            continue;
        }
        if (!PrintLateRows(cfg, number, name, reference, out, err)) problems = true;
    }
    out.flush();
    return problems ? kExitProblems : kExitOk;
}

int RunBackup(const Arguments& args, QTextStream& out, QTextStream& err) {
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    Config& cfg = ws.config;
    cfg.BaseDir = base;
    try {
        ReadConfigurationOrDefaults(cfg, out);
        // The backup file is named after this workstation user, as the menu
        // command names it.
        ReadUserRecord(ws);
        const QString registerPath = cfg.DataPath(cfg.SouborAkce);
        if (cfg.SouborAkce.isEmpty() || !QFileInfo(registerPath).isFile()) {
            out << "Chybí soubor: " << registerPath << '\n';
            return kExitProblems;
        }
        LoadProjectRegister(ws, cfg.SouborAkce);
        // The progress file of a number that leads outside the data folder is
        // not copied into the backup; the run says so and fails.
        bool skipped = false;
        for (int r = 1; r < ws.Projects.RowCount(); ++r) {
            if (IsSafeNamePart(ws.Projects.Cell(Project::Number, r))) continue;
            out << Escaped(UnsafeNumberText(ws.Projects.Cell(Project::Number, r)))
                << " Průběh akce se nezálohuje.\n";
            skipped = true;
        }
        const QString label = QString::fromUtf16(kLabelBackup);
        const QString path = cfg.PathIn(cfg.CestaZmeny, ChangeLogFileName(ws, QString(), label));
        const bool existed = QFileInfo(path).isFile();
        LogChange(ws, QString(), label, kLogEvent, 12);
        out << (existed ? "Záznam zálohy připsán: " : "Záloha zapsána: ") << path << '\n';
        return skipped ? kExitProblems : kExitOk;
    } catch (const FileError& e) {
        out.flush();
        ReportFileError(e, err);
        return kExitProblems;
    }
}

int RunIcal(const Arguments& args, QTextStream& rawOut, QTextStream& rawErr) {
    EscapedStream escapedOut(rawOut);
    EscapedStream escapedErr(rawErr);
    QTextStream& out = escapedOut.stream;
    QTextStream& err = escapedErr.stream;
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    Config& cfg = ws.config;
    cfg.BaseDir = base;
    if (!LoadRegisterQuietly(ws, prompter, err)) return kExitProblems;
    const Table& projects = ws.Projects;
    const int only = ProjectArgumentRow(args, ws, err);
    if (only < 0) return kExitProblems;
    bool problems = false;
    QByteArray events;
    int total = 0;
    const QDateTime stamp = Clock::Now();
    for (int r = 1; r < projects.RowCount(); ++r) {
        if (only != 0 && r != only) continue;
        const QString number = projects.Cell(Project::Number, r);
        if (const QString refusal = ProgressFileRefusal(ws, r); !refusal.isEmpty()) {
            err << refusal << " Vynechána." << Qt::endl;
            problems = true;
            continue;
        }
        const QString name = ProgressFileName(ws, number);
        const QString path = cfg.DataPath(name);
        if (!FileChoice::IsFile(path)) {
            err << "Chybí soubor: " << path << Qt::endl;
            problems = true;
            continue;
        }
        ScriptedPrompter quiet;
        Workspace files(quiet);
        files.config = cfg;
        try {
            LoadProgress(files, name);
        } catch (const FileError& e) {
            ReportFileError(e, err);
            problems = true;
            continue;
        }
        int count = 0;
        events += CalendarEvents(files.Deadlines, {number, projects.Cell(Project::Name, r)}, stamp,
                                 &count);
        total += count;
    }
    try {
        TextFile::WriteBytes(args.out, CalendarFile(events));
    } catch (const FileError& e) {
        ReportFileError(e, err);
        return kExitProblems;
    }
    out << "Zapsáno událostí: " << total << " do " << args.out << '\n';
    out.flush();
    return problems ? kExitProblems : kExitOk;
}

int RunFinance(const Arguments& args, QTextStream& rawOut, QTextStream& rawErr) {
    EscapedStream escapedOut(rawOut);
    EscapedStream escapedErr(rawErr);
    QTextStream& out = escapedOut.stream;
    QTextStream& err = escapedErr.stream;
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    Config& cfg = ws.config;
    cfg.BaseDir = base;
    try {
        if (!LoadConfigurationAndRegister(ws, out, err)) return kExitProblems;
        const QString path = cfg.DataPath(cfg.SouborAkce);
        int row = ws.Projects.RowCount() > 1 ? 1 : 0;
        if (args.hasProject) {
            row = 0;
            for (int r = 1; r < ws.Projects.RowCount() && row == 0; ++r)
                if (ws.Projects.Cell(Project::Number, r) == args.project) row = r;
        }
        if (row == 0) {
            err << "Akce " << (args.hasProject ? args.project : QString()) << " v seznamu akcí "
                << path << " není." << Qt::endl;
            return kExitProblems;
        }
        // No progress file is loaded here: every project is read from its file.
        cfg.SouborPopis.clear();
        ApplyOverviewFlags(ws);
        const QStringList sets = {QStringLiteral("one"), QStringLiteral("group"),
                                  QStringLiteral("all")};
        const QStringList divisions = {QStringLiteral("stages"), QStringLiteral("years"),
                                       QStringLiteral("measures"), QStringLiteral("totals")};
        SetOverviewSet(ws, OverviewSet(sets.indexOf(args.set)));
        SetOverviewDivision(ws, OverviewDivision(divisions.indexOf(args.division)));
        if (args.dateKind != 0) SetInvoiceDateKind(ws, args.dateKind);
        if (args.subsidyBase != 0) SetSubsidyBase(ws, SubsidyBase(args.subsidyBase));
        ws.Current().SetProjectRow(row);
        ComputeFinanceOverview(ws);
        const QString target = QFileInfo(args.out).absoluteFilePath();
        WriteResultsFile(target, ws.Results, Clock::Today());
        out << "Přehled: " << ws.Results.Cell(Results::ProjectRow, 1).mid(1) << ", "
            << ws.Results.Cell(Results::Project, 1) << ", akcí "
            << ws.Results.Cell(Results::InvoiceCount, 1) << '\n';
        out << "Zapsán soubor: " << target << " (" << ws.Results.RowCount() - 1
            << " řádků výsledků)\n";
        PrintPrompts(prompter.log, out);
        return prompter.log.isEmpty() ? kExitOk : kExitProblems;
    } catch (const FileError& e) {
        out.flush();
        ReportFileError(e, err);
        return kExitProblems;
    }
}

int RunMinutes(const Arguments& args, QTextStream& out, QTextStream& err) {
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    Config& cfg = ws.config;
    cfg.BaseDir = base;
    try {
        if (!LoadConfigurationAndRegister(ws, out, err)) return kExitProblems;
        // The people present and the recorder; without the file the minutes name nobody.
        const QString people = cfg.DataPath(cfg.SouborLidi);
        if (!cfg.SouborLidi.isEmpty() && FileChoice::IsFile(people))
            ws.Picks.persons = ReadPeopleEntries(people);
        const std::unique_ptr<QTextDocument> doc = BuildMinutes(ws, DayFromDate(args.date));
        const QString path = QFileInfo(args.out).absoluteFilePath();
        if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            WriteDocumentPdf(path, QStringLiteral("Zápis"), *doc);
        } else {
            WriteRtfFile(path, *doc);
        }
        for (const ScriptedPrompter::Entry& e : prompter.log) err << PromptLine(e) << Qt::endl;
        out << "Zápis zapsán: " << path << '\n';
        return prompter.log.isEmpty() ? kExitOk : kExitProblems;
    } catch (const FileError& e) {
        out.flush();
        ReportFileError(e, err);
        return kExitProblems;
    }
}

namespace {

// An absolute, clean path; symbolic links resolved where the path exists.
QString ResolvedDir(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

}  // namespace

int RunReconstruct(const Arguments& args, QTextStream& out, QTextStream& err) {
    const QString base = BaseDirectory(args);
    if (!BaseExists(base, err)) return kExitProblems;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    Config& cfg = ws.config;
    cfg.BaseDir = base;
    try {
        ReadConfigurationOrDefaults(cfg, out);
        // The result never lands where the live data are read from.
        const QString target = ResolvedDir(args.out);
        for (const QString& live : {ResolvedDir(base), ResolvedDir(cfg.DataPath(QString()))}) {
            if (target == live) {
                err << "Výsledek nelze zapsat do základní ani datové složky: " << target
                    << Qt::endl;
                return kExitUsage;
            }
        }
        QString log = args.log;
        if (!QFileInfo(log).isFile()) log = cfg.PathIn(cfg.CestaZmeny, args.log);
        if (!QFileInfo(log).isFile()) {
            err << "Chybí soubor: " << args.log << Qt::endl;
            return kExitProblems;
        }
        if (!QDir().mkpath(target)) {
            err << "Složku nelze vytvořit: " << target << Qt::endl;
            return kExitProblems;
        }
        Reconstruction rebuild(ws);
        rebuild.stepping = false;
        rebuild.day = DayFromDate(args.date);
        rebuild.ReconstructProjectTable(log);
        QStringList unmatched;
        auto keepUnmatched = [&] {
            for (const QString& line : rebuild.Listing())
                if (line.startsWith(QLatin1String(" Nenalezena")) ||
                    line.startsWith(QLatin1String(" Vynechán")) ||
                    line.startsWith(QLatin1String(" Nečitelný")))
                    unmatched << line.trimmed();
        };
        keepUnmatched();
        const QString registerPath = target + u'/' + cfg.SouborAkce;
        WriteProjectRegister(registerPath, ws.Projects);
        out << "Ke konci dne " << FormatShortDate(DayFromDate(args.date)) << " ze souboru " << log
            << '\n';
        out << "Zapsán seznam akcí: " << registerPath << '\n';
        bool problems = false;
        bool found = !args.hasProject;
        for (const QString& item : rebuild.ProjectItems()) {
            const QString number = SplitFields(item, 2, u'/')[0];
            if (args.hasProject && number != args.project) continue;
            found = true;
            rebuild.projectItem = item;
            if (!rebuild.ReconstructProjectProgress()) {
                err << Escaped(
                           OneLine(prompter.log.isEmpty() ? QString() : prompter.log.last().text))
                    << Qt::endl;
                problems = true;
                continue;
            }
            keepUnmatched();
            const QString path = target + u'/' + cfg.SouborPopis;
            WriteProgressFile(path, number, ws.Deadlines, ws.Finance);
            out << "Zapsán průběh akce " << Escaped(number) << ": " << path << '\n';
        }
        if (!found) {
            err << "Akce " << Escaped(args.project) << " v sestavené tabulce akcí není."
                << Qt::endl;
            problems = true;
        }
        for (const QString& line : unmatched) err << Escaped(line) << '\n';
        err.flush();
        return problems || !unmatched.isEmpty() ? kExitProblems : kExitOk;
    } catch (const FileError& e) {
        out.flush();
        ReportFileError(e, err);
        return kExitProblems;
    }
}
