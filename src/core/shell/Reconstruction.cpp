#include "Reconstruction.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "../FileChoice.h"
#include "../Prompter.h"
#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/Progress.h"
#include "../data/ProjectRegister.h"
#include "../data/TextFile.h"
#include "../editing/EditLabels.h"
#include "../editing/TableRows.h"
#include "ChangeLog.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kRestoreProjectsLabel = QStringLiteral("Obnova zakl. dat ŽLUTÁ___");
const QString kRestoreDataLabel = QStringLiteral("Obnova dat ");

const QStringList kProgressPrefixes = {QStringLiteral("T-"), QStringLiteral("F-"),
                                       QStringLiteral("J-"), QStringLiteral("O-")};
const QStringList kFinancePrefixes = {QStringLiteral("F-"), QStringLiteral("J-"),
                                      QStringLiteral("O-")};

QString Label(const char16_t* label) {
    return QString::fromUtf16(label);
}

bool IsProgressRow(const QString& first) {
    for (const QString& p : kProgressPrefixes)
        if (first.startsWith(p)) return true;
    return false;
}

// A time stamp "dd.mm.yyyy - hh:mm".
bool IsTimeStamp(const QString& text) {
    return text.mid(10, 3) == QLatin1String(" - ");
}

// The labels every copy of the program writes; a record line is told from a
// snapshot line by its time stamp or its label.
bool IsKnownLabel(const QString& label) {
    static const QStringList labels = {Label(kLabelLogin),
                                       Label(kLabelBackup),
                                       Label(kLabelUserSettings),
                                       Label(kLabelSortDeadlines),
                                       Label(kLabelSortFinance),
                                       Label(kLabelNewIds),
                                       Label(kLabelAdded),
                                       Label(kLabelProjectData),
                                       Label(kLabelChangedOld),
                                       Label(kLabelChangedNew),
                                       Label(kLabelDeleted),
                                       kRestoreProjectsLabel,
                                       QStringLiteral("Zápis akce deník_________"),
                                       QStringLiteral("Smaze akci v deniku______"),
                                       QStringLiteral("Smaze celý den deníku____"),
                                       QStringLiteral("Zrušené_vazby____________")};
    return labels.contains(label) || label.startsWith(kRestoreDataLabel);
}

bool IsRecordLine(const FieldBuffer& f) {
    return IsTimeStamp(f[1]) || IsKnownLabel(f[0]);
}

QStringList ProjectRowCells(const FieldBuffer& f, const QString& vat) {
    QStringList row{QString()};
    for (int c = Project::Number; c < Project::Count; ++c) {
        QString cell = f[c - 1];
        if (c == Project::PlannedTotal || c == Project::Subsidy)
            cell = FormatAmount(ParseAmount(cell));
        else if (c == Project::Note && cell.isEmpty())
            cell = vat;
        row << cell;
    }
    return row;
}

// As the progress file reader puts a row into the tables.
QStringList ProgressRowCells(const FieldBuffer& f, const QString& vat) {
    QStringList row{QString()};
    const bool finance = !f[0].startsWith(QLatin1String("T-"));
    for (int c = Progress::KindAndProject; c < Progress::Count; ++c) {
        QString cell = f[c - 1];
        if (finance && c >= Finance::Eligible && c <= Finance::Total)
            cell = FormatAmount(ParseAmount(cell));
        else if (finance && c == Finance::Info && cell.isEmpty() &&
                 f[0].startsWith(QLatin1String("F-")))
            cell = vat;
        row << cell;
    }
    return row;
}

ChangeRecord RecordOf(const QString& line, const FieldBuffer& f, int lineNumber) {
    ChangeRecord r;
    r.line = lineNumber;
    r.label = f[0];
    r.time = f[1];
    r.dated = IsTimeStamp(r.time);
    if (r.dated) r.day = ParseDate(r.time.left(10));
    // The cells exactly as the table held them: label, time, user, key, then
    // the row from column 0.
    r.cells = line.split(u';').mid(4);
    return r;
}

bool IsAmountColumn(int kind, int column) {
    if (kind == kProjectTable) return column == Project::PlannedTotal || column == Project::Subsidy;
    if (kind == kFinanceTable) return column >= Finance::Eligible && column <= Finance::Total;
    return false;
}

bool IsDateColumn(int kind, int column) {
    switch (kind) {
        case kProjectTable:
            return column == Project::Start || column == Project::End;
        case kDeadlineTable:
            return (column >= Deadline::PlanStart && column <= Deadline::ActualEnd) ||
                   column == Deadline::RealStart || column == Deadline::RealEnd;
        case kFinanceTable:
            return column >= Finance::StartOrDelivery && column <= Finance::ProcedureEndOrPaid;
        default:
            return false;
    }
}

// Row 1 of an emptied progress table, as loading a file without rows leaves it.
void Placeholder(Table& table, const QString& prefix, const QString& number) {
    for (int c = Progress::KindAndProject; c <= table.ColumnCount(); ++c)
        table.SetCell(c, 1, QString());
    table.SetCell(Progress::RowNumber, 1, QStringLiteral("1"));
    table.SetCell(Progress::KindAndProject, 1, prefix + number);
    table.SetCell(Progress::Identifier, 1, prefix + number + QStringLiteral("-01/"));
}

// Puts the rows into the table from row 1 on, each with its row number.
void FillTable(Table& table, const QList<QStringList>& rows) {
    const int last = table.ColumnCount() - 1;
    int r = 1;
    for (const QStringList& row : rows) {
        table.SetCell(AnyTable::RowNumber, r, QString::number(r));
        for (int c = 1; c <= last; ++c) table.SetCell(c, r, row.value(c));
        ++r;
    }
    table.SetRowCount(qMax(2, r));
}

// Empties the deadline and finance tables for the project and fills them with
// its rows of the snapshot; true when the snapshot held any.
bool FillProgressTables(Workspace& ws, const ChangeLogContent& content, const QString& number) {
    SetupTable(ws.Deadlines, kDeadlineTable, ws.config.PopisDPH);
    SetupTable(ws.Finance, kFinanceTable, ws.config.PopisDPH);
    Placeholder(ws.Deadlines, QStringLiteral("T-"), number);
    Placeholder(ws.Finance, QStringLiteral("F-"), number);
    QList<QStringList> deadlines, finance;
    for (int i : content.ProgressRowsOf(kDeadlineTable, number))
        deadlines << content.progressRows[i];
    for (int i : content.ProgressRowsOf(kFinanceTable, number)) finance << content.progressRows[i];
    FillTable(ws.Deadlines, deadlines);
    FillTable(ws.Finance, finance);
    return !deadlines.isEmpty() || !finance.isEmpty();
}

// The project table from the snapshot, from row 1 on.
void FillProjectTable(Workspace& ws, const ChangeLogContent& content) {
    SetupTable(ws.Projects, kProjectTable, ws.config.PopisDPH);
    FillTable(ws.Projects, content.projectRows);
}

QString ChangeFolderPath(const Workspace& ws, const QString& name) {
    return ws.config.PathIn(ws.config.CestaZmeny, name);
}

// Saves what is marked as unsaved in the project table and the progress tables.
void SavePending(Workspace& ws) {
    if (ws.Changed(kChangedProjects)) SaveProjectRegister(ws, ws.config.SouborAkce);
    if (ws.Changed(kChangedDeadlines) || ws.Changed(kChangedFinance))
        SaveProgress(ws, ws.config.SouborPopis, SaveMode::Open);
}

// The row of the project with exactly this number, or 0.
int ExactProjectRow(const Table& projects, const QString& number) {
    for (int r = 1; r < projects.RowCount(); ++r)
        if (projects.Cell(Project::Number, r) == number) return r;
    return 0;
}

}  // namespace

ChangeLogContent ReadChangeLog(const QString& path, const QString& vatText) {
    const QStringList lines = TextFile::ReadLines(path);
    ChangeLogContent content;
    const int n = int(lines.size());
    // The project table's rows follow its header row.
    int k = 3;
    for (int i = 0; i < qMin(3, n); ++i)
        if (lines[i].startsWith(QStringLiteral("Číslo akce;"))) k = i + 1;
    for (; k < n; ++k) {
        const FieldBuffer f = SplitFields(lines[k], kFieldBufferSize, u';');
        if (f[0].contains(QLatin1String("Akce")) || IsRecordLine(f)) break;
        if (f[0].isEmpty() || f[0] == QStringLiteral("Číslo akce")) continue;
        content.projectRows << ProjectRowCells(f, vatText);
    }
    bool inRecords = false;
    bool afterProjectData = false;
    for (; k < n; ++k) {
        const FieldBuffer f = SplitFields(lines[k], kFieldBufferSize, u';');
        const QString& first = f[0];
        const bool progressRow = IsProgressRow(first);
        // The lines of a copied progress file that are not rows.
        const bool fileLine = first.isEmpty() || first.startsWith(QLatin1String("Akce")) ||
                              first == QStringLiteral("Termíny");
        if (!inRecords) {
            if (progressRow) {
                content.progressRows << ProgressRowCells(f, vatText);
                continue;
            }
            if (fileLine) continue;
            inRecords = true;
        }
        if (progressRow) {
            if (afterProjectData && !content.records.isEmpty()) {
                const ChangeRecord& data = content.records.last();
                ChangeRecord added;
                added.line = k + 1;
                added.label = Label(kLabelAdded);
                added.time = data.time;
                added.dated = data.dated;
                added.day = data.day;
                added.cells = ProgressRowCells(f, vatText);
                added.projectData = true;
                content.records << added;
            } else {
                content.unreadable << QString::number(k + 1);
            }
            continue;
        }
        if (fileLine) {
            if (!afterProjectData && !lines[k].trimmed().isEmpty())
                content.unreadable << QString::number(k + 1);
            continue;
        }
        content.records << RecordOf(lines[k], f, k + 1);
        afterProjectData = first == Label(kLabelProjectData);
    }
    for (int i = 0; i < content.progressRows.size(); ++i)
        content.progressRowsOf[content.progressRows[i].value(1).trimmed()] << i;
    for (int i = 0; i < content.records.size(); ++i)
        content.recordsOf[content.records[i].cells.value(1).trimmed()] << i;
    return content;
}

namespace {

QList<int> Indices(const QHash<QString, QList<int>>& index, int kind, const QString& number) {
    if (number.isEmpty()) return {};
    if (kind == kDeadlineTable) return index.value(QStringLiteral("T-") + number);
    QList<int> all;
    for (const QString& p : kFinancePrefixes) all += index.value(p + number);
    std::sort(all.begin(), all.end());
    return all;
}

}  // namespace

QList<int> ChangeLogContent::ProgressRowsOf(int kind, const QString& number) const {
    return Indices(progressRowsOf, kind, number);
}

QList<int> ChangeLogContent::RecordsOf(int kind, const QString& number) const {
    return Indices(recordsOf, kind, number);
}

bool IsRowOfProject(int kind, const QString& kindCell, const QString& number) {
    if (number.isEmpty()) return false;
    const QString cell = kindCell.trimmed();
    if (kind == kDeadlineTable) return cell == QStringLiteral("T-") + number;
    if (kind == kFinanceTable) {
        for (const QString& p : kFinancePrefixes)
            if (cell == p + number) return true;
    }
    return false;
}

QString NormalisedCell(int kind, int column, const QString& text) {
    if (IsAmountColumn(kind, column)) return FormatAmountPlain(ParseAmount(text));
    if (IsDateColumn(kind, column)) return QString::number(ParseDate(text), 'f', 0);
    QString t = TrimCell(text, 1);
    while (t.contains(QLatin1String("  "))) t.replace(QLatin1String("  "), QLatin1String(" "));
    return t;
}

QString TableLocative(int kind) {
    switch (kind) {
        case kProjectTable:
            return QStringLiteral("základní  tabulce - Žluté ");
        case kDeadlineTable:
            return QStringLiteral("termínové tabulce - Šedé ");
        case kFinanceTable:
            return QStringLiteral("finanční  tabulce - Zelené ");
        default:
            return QStringLiteral("Jiné tabulce ");
    }
}

QString TableGenitive(int kind) {
    switch (kind) {
        case kProjectTable:
            return QStringLiteral("základní  tabulky - Žluté ");
        case kDeadlineTable:
            return QStringLiteral("termínové tabulky - Šedé ");
        case kFinanceTable:
            return QStringLiteral("finanční  tabulky - Zelené ");
        default:
            return QStringLiteral("Jiné tabulce ");
    }
}

Reconstruction::Reconstruction(Workspace& ws, QObject* parent) : QObject(parent), ws_(ws) {
    day = TodayDay();
}

const ChangeLogContent& Reconstruction::Content() {
    const QFileInfo info(file_);
    const QString key = file_ + u'|' + QString::number(info.size()) + u'|' +
                        QString::number(info.lastModified().toMSecsSinceEpoch()) + u'|' +
                        ws_.config.VyseDPH;
    if (key != contentKey_) {
        content_ = ReadChangeLog(file_, ws_.config.VyseDPH);
        contentKey_ = key;
    }
    return content_;
}

QString Reconstruction::RowKey(int kind, const QStringList& cells) const {
    const int last = ws_.TableOf(kind)->ColumnCount() - 1;
    QString key;
    for (int c = 1; c <= last; ++c) {
        key += NormalisedCell(kind, c, cells.value(c));
        key += u';';
    }
    return key;
}

QString Reconstruction::TableRowKey(int kind, int row) const {
    const Table& table = *ws_.TableOf(kind);
    QString key;
    for (int c = 1; c < table.ColumnCount(); ++c) {
        key += NormalisedCell(kind, c, table.Cell(c, row));
        key += u';';
    }
    return key;
}

void Reconstruction::ClearListing() {
    listing_.clear();
}

void Reconstruction::List(const QString& line) {
    listing_ << line;
    emit lineListed(line);
}

QString Reconstruction::ProjectNumber() const {
    return SplitFields(projectItem, 2, u'/')[0];
}

bool Reconstruction::Belongs(const ChangeRecord& record, int kind) const {
    const QString cell = record.cells.value(1);
    if (kind == kProjectTable) {
        for (const QString& p : kProgressPrefixes)
            if (cell.contains(p)) return false;
        return true;
    }
    return IsRowOfProject(kind, cell, ProjectNumber());
}

void Reconstruction::Scroll(int kind, int row) {
    ws_.RevealGridCell(kind, 1, row);
}

void Reconstruction::Touched(int kind) {
    // While stepping the user watches each change in the grid; otherwise the
    // views are told once at the end of the step.
    if (stepping) ws_.NotifyTable(kind);
}

void Reconstruction::ReportUnmatched(int kind, const ChangeRecord& record) {
    ++unmatched_;
    List(QStringLiteral(" Nenalezena položka v ") + TableLocative(kind) +
         QStringLiteral(" - záznam z řádku ") + QString::number(record.line) + u' ' + record.label +
         u' ' + record.time);
}

bool Reconstruction::ReconstructProjectTable(const QString& file) {
    QString chosen = file;
    if (chosen.isEmpty()) {
        const QString mask = QStringLiteral("Zmeny_*.csv");
        chosen = ws_.Ask().ChooseOpenFile(
            {QStringLiteral("Otevření Změn -") + ChangeFolderPath(ws_, mask),
             ChangeFolderPath(ws_, QString()), mask, kFilterCsv});
        if (chosen.isEmpty()) return false;
    }
    if (!FileChoice::IsFile(chosen)) return false;
    file_ = chosen;
    unmatched_ = 0;
    LoadSnapshot(kProjectTable);
    ReplayChanges(kProjectTable);
    // The rebuilt table may be shorter: no window may keep a row it no longer has.
    const int rows = ws_.Projects.RowCount();
    if (ws_.Current().ProjectRow() >= rows) ws_.Current().SetProjectRow(rows - 1);
    if (ws_.Current().Kind() == kProjectTable && ws_.Current().Row() >= rows)
        ws_.Current().SelectRow(kProjectTable, rows - 1);
    ws_.NotifyTable(kProjectTable);
    const QStringList items = ProjectItems();
    if (!items.contains(projectItem)) projectItem = items.value(0);
    List(QString());
    List(QStringLiteral("Nastav parametry obnovy a stiskni pokračuj"));
    List(QStringLiteral("Nastaven datum obnovy ") + FormatShortDate(day));
    List(QStringLiteral("Nastavena obnova projektu ") + projectItem);
    List(QString());
    if (autoSave) SaveProjectRegister(ws_, ws_.config.SouborAkce);
    return true;
}

bool Reconstruction::ReconstructProjectProgress() {
    ClearListing();
    unmatched_ = 0;
    SavePending(ws_);
    const QString number = ProjectNumber();
    const int row = ExactProjectRow(ws_.Projects, number);
    if (row == 0) {
        ws_.Ask().Error(QStringLiteral("Akce ") + number +
                        QStringLiteral(" není v základní tabulce - Žluté."));
        return false;
    }
    // A number that names another project's progress file (1 listed before 12)
    // would put this project's rows into that file.
    if (const QString refusal = ProgressFileRefusal(ws_, row); !refusal.isEmpty()) {
        ws_.Ask().Error(refusal);
        return false;
    }
    ws_.config.SouborPopis = ProgressFileName(ws_, number);
    LoadSnapshot(kDeadlineTable);
    ReplayChanges(kDeadlineTable);
    ReplayChanges(kFinanceTable);
    ws_.Current().ProgressReloaded();
    emit ws_.progressFileLoaded(ws_.config.SouborPopis);
    ws_.NotifyTable(kDeadlineTable);
    ws_.NotifyTable(kFinanceTable);
    List(QString());
    List(QStringLiteral("Nastav parametry obnovy a stiskni pokračuj"));
    List(QStringLiteral("Nastaven datum obnovy ") + FormatShortDate(day));
    List(QStringLiteral("Nastavena obnova projektu ") + projectItem);
    List(QString());
    if (autoSave) SaveProgress(ws_, ws_.config.SouborPopis, SaveMode::Open);
    return true;
}

QStringList Reconstruction::ProjectItems() const {
    QStringList items;
    const Table& p = ws_.Projects;
    for (int r = 1; r < p.RowCount(); ++r) {
        const QString number = p.Cell(Project::Number, r);
        if (number.isEmpty()) continue;
        const QString item = number + QStringLiteral("/ ") + p.Cell(Project::Name, r);
        if (!items.contains(item)) items << item;
    }
    return items;
}

bool Reconstruction::LoadSnapshot(int kind) {
    SavePending(ws_);
    if (!FileChoice::IsFile(file_)) return false;
    if (stepping) {
        const QString what =
            kind == kProjectTable
                ? QStringLiteral("Nahrat záložní tabulku základních nastavení projektů - Žlutou ")
                : QStringLiteral(
                      "Nahrat záložní tabulku časových a finančních dat - Šedou a "
                      "Zelenou ") +
                      projectItem;
        if (!ws_.Ask().AskYesNo(what + kCrLf + QStringLiteral("Ze souboru ") + file_ + kCrLf +
                                QStringLiteral("pro další úpravy ? ") + kCrLf + kCrLf))
            return false;
    }
    const ChangeLogContent& content = Content();
    const QString projectRow = QString::number(ws_.Current().ProjectRow());
    bool loaded = false;
    if (kind == kProjectTable && rebuildProjects) {
        List(QString::number(kind) + QStringLiteral(" Zlutá              Akce ") + projectRow +
             QStringLiteral("   Soubor ") + file_);
        FillProjectTable(ws_, content);
        ws_.NotifyTable(kProjectTable);
        loaded = true;
    } else if (kind != kProjectTable && rebuildProgress) {
        List(QString::number(kind) + QStringLiteral(" Šedá/Zelená   Akce ") + projectItem +
             QStringLiteral(" Akce ") + projectRow + QStringLiteral("   Soubor ") + file_);
        FillProgressTables(ws_, content, ProjectNumber());
        ws_.NotifyTable(kDeadlineTable);
        ws_.NotifyTable(kFinanceTable);
        loaded = true;
    }
    if (loaded)
        List(QStringLiteral("Nahrat záložní tabulku ") + QString::number(kind) +
             QStringLiteral("  Ze souboru ") +
             (kind == kProjectTable ? file_ : ws_.config.SouborPopis));
    return loaded;
}

void Reconstruction::ReplayChanges(int kind) {
    if (kind == kProjectTable && !rebuildProjects) return;
    if (!FileChoice::IsFile(file_)) return;
    const ChangeLogContent& content = Content();
    ForgetKeys();
    if (kind != kFinanceTable)
        for (const QString& line : content.unreadable)
            List(QStringLiteral(" Nečitelný řádek ") + line + QStringLiteral(" souboru ") + file_);
    // The replay changes the tables only in memory: they are saved when the
    // user asks for it, never by the next load or the close.
    const QString flags = ws_.ChangeFlags;
    const double lastDay = std::floor(day);
    const QString added = Label(kLabelAdded), deleted = Label(kLabelDeleted);
    const QString oldRow = Label(kLabelChangedOld), newRow = Label(kLabelChangedNew);
    const QList<ChangeRecord>& records = content.records;
    QSet<int> paired;
    // The project table's records are all those without a project's kind
    // cell; a project's records are looked up by theirs.
    QList<int> candidates;
    if (kind == kProjectTable)
        for (int i = 0; i < records.size(); ++i) candidates << i;
    else
        candidates = content.RecordsOf(kind, ProjectNumber());
    for (int i : candidates) {
        if (paired.contains(i)) continue;
        const ChangeRecord& record = records[i];
        const QString& label = record.label;
        if (label != added && label != deleted && label != oldRow && label != newRow) continue;
        if (record.dated && record.day > lastDay) continue;
        if (!Belongs(record, kind)) continue;
        if (label == added) {
            AppendRow(kind, record.cells);
        } else if (label == deleted) {
            const int row = FindEqualRow(kind, record.cells);
            if (row > 0)
                DeleteFoundRow(kind, row);
            else
                ReportUnmatched(kind, record);
        } else if (label == oldRow) {
            // Its new row is the next row record; records of other kinds (a
            // sort the change caused) may stand between them.
            int partner = -1;
            for (int j = i + 1; j < records.size(); ++j) {
                const QString& l = records[j].label;
                if (l == added || l == deleted || l == oldRow || l == newRow) {
                    partner = j;
                    break;
                }
            }
            if (partner < 0 || records[partner].label != newRow ||
                !Belongs(records[partner], kind)) {
                ++unmatched_;
                List(QStringLiteral(" Vynechán záznam z řádku ") + QString::number(record.line) +
                     u' ' + label + u' ' + record.time +
                     QStringLiteral(": nenásleduje nová podoba položky"));
                continue;
            }
            paired.insert(partner);
            const int row = FindEqualRow(kind, record.cells);
            if (row > 0)
                ReplaceRow(kind, row, records[partner].cells);
            else
                ReportUnmatched(kind, record);
        } else {
            // A new row without its old one: the stage mirrored from the other
            // table, found by its identifier.
            int row = 0;
            const Table& table = *ws_.TableOf(kind);
            const QString id = record.cells.value(Progress::Identifier).trimmed();
            if (kind != kProjectTable && !id.isEmpty())
                for (int r = 1; r < table.RowCount(); ++r)
                    if (table.Cell(Progress::Identifier, r).trimmed() == id) row = r;
            if (row > 0)
                ReplaceRow(kind, row, record.cells);
            else
                ReportUnmatched(kind, record);
        }
    }
    ws_.ChangeFlags = flags;
    ForgetKeys();
    ws_.NotifyTable(kind);
}

int Reconstruction::FindEqualRow(int kind, const QStringList& cells) {
    const Table& table = *ws_.TableOf(kind);
    // The compared forms of the table's rows are made once per replay and
    // kept up to date by the changes, not made again for every record.
    if (keysKind_ != kind || keys_.size() != table.RowCount()) {
        keys_.clear();
        keysKind_ = kind;
        keys_ << QString();
        for (int r = 1; r < table.RowCount(); ++r) keys_ << TableRowKey(kind, r);
    }
    const QString wanted = RowKey(kind, cells);
    int found = 0;
    for (int r = table.RowCount() - 1; r >= 1 && found == 0; --r)
        if (keys_[r] == wanted) found = r;
    if (found == 0) return 0;
    Scroll(kind, found);
    const QString text = QStringLiteral(" Nalezena položku v tabulce ") + QString::number(kind) +
                         QStringLiteral("  Radek ") + QString::number(found);
    List(text);
    if (stepping) ws_.Ask().Inform(text);
    return found;
}

void Reconstruction::AppendRow(int kind, const QStringList& cells) {
    if (stepping && !ws_.Ask().AskYesNo(QStringLiteral("Přidat položku do ") + TableGenitive(kind) +
                                        kCrLf + kCrLf))
        return;
    Table& table = *ws_.TableOf(kind);
    const int formerLast = table.RowCount() - 1;
    const int row = table.RowCount();
    table.SetRowCount(row + 1);
    table.SetCell(AnyTable::RowNumber, row, QString::number(row));
    for (int c = 1; c < table.ColumnCount(); ++c) table.SetCell(c, row, cells.value(c));
    if (keysKind_ == kind && keys_.size() == row) keys_ << TableRowKey(kind, row);
    Scroll(kind, formerLast);
    Touched(kind);
    List(QStringLiteral("Přidat položku ") + TableGenitive(kind) + QStringLiteral(" Řádek  ") +
         QString::number(row));
}

void Reconstruction::DeleteFoundRow(int kind, int row) {
    Scroll(kind, row);
    if (stepping &&
        !ws_.Ask().AskYesNo(QStringLiteral("Smazat položku ") + TableLocative(kind) +
                            QStringLiteral(" Řádek  ") + QString::number(row) + kCrLf + kCrLf))
        return;
    DeleteTableRow(ws_, kind, row, ProjectNumber());
    if (keysKind_ == kind && row < keys_.size()) {
        keys_.removeAt(row);
        // The only row is not taken out but emptied.
        if (keys_.size() < ws_.TableOf(kind)->RowCount()) keys_.clear();
    }
    Touched(kind);
    List(QStringLiteral("Smazat položku ") + TableLocative(kind) + QStringLiteral(" Řádek  ") +
         QString::number(row));
}

void Reconstruction::ReplaceRow(int kind, int row, const QStringList& cells) {
    Scroll(kind, row);
    if (stepping && !ws_.Ask().AskYesNo(
                        QStringLiteral("Nahradit položku v ") + TableLocative(kind) + kCrLf +
                        kCrLf + QStringLiteral("  Řádek ") + QString::number(row) + kCrLf + kCrLf))
        return;
    Table& table = *ws_.TableOf(kind);
    for (int c = 1; c < table.ColumnCount(); ++c) table.SetCell(c, row, cells.value(c));
    if (keysKind_ == kind && row < keys_.size()) keys_[row] = TableRowKey(kind, row);
    Touched(kind);
    List(QStringLiteral("Nahradit položku ") + TableLocative(kind) + QStringLiteral("  Řádek ") +
         QString::number(row));
}

QStringList RestoreFromBackup(Workspace& ws, bool rebuildProjects, const QString& file) {
    Config& cfg = ws.config;
    QString path = file;
    if (path.isEmpty())
        path = ws.Ask().ChooseOpenFile({QStringLiteral("Otevření Změn -") +
                                            ChangeFolderPath(ws, QStringLiteral("Zmeny_*.csv")),
                                        ChangeFolderPath(ws, QString()),
                                        QStringLiteral("Zaloh*.csv"), kFilterCsv});
    if (path.isEmpty() || !FileChoice::IsFile(path)) return {};
    const ChangeLogContent content = ReadChangeLog(path, cfg.VyseDPH);
    // The tables are emptied project by project: what they hold unsaved goes
    // to its file first, or the restore does not start.
    if ((ws.Changed(kChangedDeadlines) || ws.Changed(kChangedFinance)) &&
        !SaveProgress(ws, cfg.SouborPopis, SaveMode::Open)) {
        ws.Ask().Inform(
            QStringLiteral("Změny průběhu nebyly uloženy, obnova ze zálohy se proto neprovede."));
        return {};
    }
    QStringList listing;
    if (ws.Ask().AskYesNo(QStringLiteral("Obnovit ze zálohy data projektů ") + kCrLf +
                          QStringLiteral("Základní - Žlutou tabulku ? ") + kCrLf) &&
        rebuildProjects) {
        FillProjectTable(ws, content);
        ws.SetChanged(kChangedProjects, true);
        ws.NotifyTable(kProjectTable);
        LogChange(ws, QString(), kRestoreProjectsLabel, kLogEvent, 1);
        SaveProjectRegister(ws, cfg.SouborAkce);
        listing << QStringLiteral("Obnovena základní tabulka - Žlutá: ") +
                       QString::number(content.projectRows.size()) + QStringLiteral(" akcí");
    }
    const int current = ws.Current().ProjectRow();
    for (int r = 1; r < ws.Projects.RowCount(); ++r) {
        const QString number = ws.Projects.Cell(Project::Number, r);
        // A number that would name another project's file is not restored into it.
        if (const QString refusal = ProgressFileRefusal(ws, r); !refusal.isEmpty()) {
            listing << refusal;
            continue;
        }
        const QString name = ProgressFileName(ws, number);
        const bool hasRows = FillProgressTables(ws, content, number);
        if (!ws.Ask().AskYesNo(
                QStringLiteral("Obnovit ze zálohy data Průběhů a Financí ") + kCrLf + name + kCrLf +
                QStringLiteral("Termínová - Šedá a Finanční - Zelená tabulka ? ") + kCrLf))
            continue;
        if (!hasRows) {
            // An empty file would replace the rows the project has now.
            listing << name + QStringLiteral(": záloha neobsahuje žádný řádek, soubor ponechán");
            continue;
        }
        LogChange(ws, QString(), kRestoreDataLabel + name, kLogEvent, 1);
        if (SaveProgress(ws, name, SaveMode::All))
            listing << QStringLiteral("Obnoven soubor ") + name;
    }
    ws.Current().SetProjectRow(current);
    // The tables hold the last project's restored rows; the configured file
    // is read again, so that the tables and its name agree with the disk.
    ws.SetChanged(kChangedDeadlines, false);
    ws.SetChanged(kChangedFinance, false);
    if (!cfg.SouborPopis.isEmpty() && FileChoice::IsFile(cfg.DataPath(cfg.SouborPopis)))
        LoadProgress(ws, cfg.SouborPopis);
    ws.NotifyTable(kDeadlineTable);
    ws.NotifyTable(kFinanceTable);
    return listing;
}
