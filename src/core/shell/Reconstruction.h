#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class Workspace;

// One record of a change log: the action label, its time and the changed
// row's cells by column (cells[0] is the row number the row had then).
struct ChangeRecord {
    int line = 0;  // in the file, from 1
    QString label;
    QString time;
    // A time without " - " after the date counts as no time: always replayed.
    bool dated = false;
    double day = 0;
    QStringList cells;
    // The record stands for a row of a new project's progress file that
    // follows the "project data added" record in the log.
    bool projectData = false;
};

// What a change log or a backup file holds: the snapshot at its head and the
// records after it.
struct ChangeLogContent {
    QList<QStringList> projectRows;   // project table rows by column (cell 0 empty)
    QList<QStringList> progressRows;  // deadline and finance rows by column (cell 0 empty)
    QList<ChangeRecord> records;
    QStringList unreadable;  // lines that are neither snapshot nor record
    // By cell 1 ("T-10", "F-10" …): the progress rows and records of a
    // project, in file order, so that one project's replay skips the others'.
    QHash<QString, QList<int>> progressRowsOf;
    QHash<QString, QList<int>> recordsOf;
    // The indices of the rows or records of the deadline (1) or finance (4)
    // table of the project, in file order.
    QList<int> ProgressRowsOf(int kind, const QString& number) const;
    QList<int> RecordsOf(int kind, const QString& number) const;
};

// Reads a change log or backup file. The snapshot ends with the first record;
// the rows copied after a "project data added" record become records that add
// them, so that a project added later in the month is not part of the
// snapshot. Amounts of snapshot rows are put into their cell form and an
// empty VAT cell gets vatText, as loading the files does. Throws FileError.
ChangeLogContent ReadChangeLog(const QString& path, const QString& vatText);

// Whether cell 1 of a row (kind prefix and project number) belongs to the
// deadline (1) or finance (4) table of the project: the number must match
// whole, so project 10 never takes the rows of project 101.
bool IsRowOfProject(int kind, const QString& kindCell, const QString& number);

// Rows are compared in one form: blanks trimmed and collapsed, amounts and
// dates by their value, so a row read back from a file matches the row as the
// table showed it.
QString NormalisedCell(int kind, int column, const QString& text);

// The table names of the messages.
QString TableLocative(int kind);
QString TableGenitive(int kind);

// The reconstruction of past data from a monthly change log: the snapshot is
// loaded into the tables and the records replayed up to the end of the chosen
// day, first for the project table ("Start"), then for the deadline and
// finance tables of one project ("Pokračuj"). Questions go through the
// workspace's Prompter (only with stepping on); every step is listed.
// Nothing is written to disk unless autoSave is on; the tables are not marked
// as changed (the window's save buttons do that).
class Reconstruction : public QObject {
    Q_OBJECT
  public:
    explicit Reconstruction(Workspace& ws, QObject* parent = nullptr);

    bool stepping = true;         // "Krokování"
    bool rebuildProjects = true;  // "Obnova základní tabulky  - Žluté"
    bool rebuildProgress = true;  // "Obnovit zvolené tabulky projektu - Šedivou a Zelenou"
    bool autoSave = false;        // "Ukládat výsledek automaticky"
    double day = 0;               // the chosen day; records of later days are left out
    QString projectItem;          // number + "/ " + name of the project to rebuild

    // The change log the steps work on, remembered between them.
    QString File() const { return file_; }
    void SetFile(const QString& path) { file_ = path; }
    const QStringList& Listing() const { return listing_; }
    void ClearListing();

    // "Start": asks for a change log (unless one is given), loads the snapshot
    // of the project table and replays its records. False when no file was chosen.
    bool ReconstructProjectTable(const QString& file = QString());
    // "Pokračuj": the deadline and finance tables of the chosen project.
    bool ReconstructProjectProgress();
    // The chooser's items after "Start": every project with a number, once.
    QStringList ProjectItems() const;

    bool LoadSnapshot(int kind);
    void ReplayChanges(int kind);
    // The last row whose columns 1 … equal the cells (in their compared
    // form), or 0.
    int FindEqualRow(int kind, const QStringList& cells);
    void AppendRow(int kind, const QStringList& cells);
    void DeleteFoundRow(int kind, int row);
    void ReplaceRow(int kind, int row, const QStringList& cells);

    // How many records could not be replayed in the last steps (no row
    // matched, or an old row without its new one).
    int Unmatched() const { return unmatched_; }

  signals:
    void lineListed(const QString& line);

  private:
    // The file read once for all steps and projects, again when it changed.
    const ChangeLogContent& Content();
    // The compared form of a table row (columns 1 …), kept for the rows of
    // the table being replayed.
    QString RowKey(int kind, const QStringList& cells) const;
    QString TableRowKey(int kind, int row) const;
    void ForgetKeys() { keys_.clear(); }
    void List(const QString& line);
    QString ProjectNumber() const;
    bool Belongs(const ChangeRecord& record, int kind) const;
    void Scroll(int kind, int row);
    void Touched(int kind);
    void ReportUnmatched(int kind, const ChangeRecord& record);

    Workspace& ws_;
    QString file_;
    QStringList listing_;
    int unmatched_ = 0;
    ChangeLogContent content_;
    QString contentKey_;
    int keysKind_ = 0;
    QStringList keys_;  // by table row; empty when not known
};

// "Obnovení dat ze záloh": the project table (when rebuildProjects) and every
// project's progress file from a backup file, each after a question. Unsaved
// changes of the deadline and finance tables are saved first; afterwards the
// current progress file is loaded again, so the tables and the configured
// file name agree with the disk. The file is asked for unless given. Returns
// the listing of what was done; an empty list when nothing was restored.
QStringList RestoreFromBackup(Workspace& ws, bool rebuildProjects, const QString& file = QString());
