#pragma once

#include <QObject>
#include <QStringList>

#include "CurrentItem.h"
#include "data/Columns.h"
#include "data/Table.h"
#include "finance/OverviewState.h"
#include "shell/Config.h"

class Prompter;
class QTextDocument;

// Positions of ChangeFlags, counted from 1: the data with unsaved changes.
enum ChangeFlag : int {
    kChangedProjects = 1,
    kChangedDeadlines = 2,
    kChangedFinance = 4,
    kChangedTemplates = 6,
    kChangedNotes = 7,
};

// The signed-in user: the user record of this workstation user and the state
// of the connection slot.
struct AccessState {
    QString UserName = QStringLiteral("Jmeno Prijmeni");
    QString Password;                              // access password, plain in memory
    QString Permission = QStringLiteral("2_000");  // level "_" project list
    QString AdminPassword;                         // plain in memory
    // The plain text from which the user key is derived.
    QString WorkstationId;
    // Minutes without a user action, counted up in steps of 5.
    int InactivityCounter = 0;
    // The service menus ("Obsluha", "&Soubory", reconstruction) are enabled.
    bool ServiceMenus = false;
};

// What the change log records about the diary: the day and row chosen in the
// calendar and the first lines of the day entry's texts.
struct DiaryLogContext {
    double Day = 0;
    int Row = 0;
    QString RecordFirstLine;
    QString MessageFirstLine;
};

// The pick lists that the windows show, computed from the tables and the people file.
struct PickLists {
    QStringList projects;         // number + "/ " + name, for the project choosers
    QStringList activities;       // template column 2: "Činnost" and the day entry's "Úkol"
    QStringList classifications;  // template column 3: "Zařazení"
    QStringList steps;            // template column 4: "Kdo"
    QStringList persons;          // every person entry seen, never shrinks while running
};

// The one session state shared by every window: the five tables, the
// configuration, the unsaved-change marks, the current item and the
// overall time range. Windows listen to its signals and never reach into each other.
class Workspace : public QObject {
    Q_OBJECT
  public:
    explicit Workspace(Prompter& prompter, QObject* parent = nullptr);

    Prompter& Ask() const { return prompter_; }

    Table Projects{kProjectTable};
    Table Deadlines{kDeadlineTable};
    Table Finance{kFinanceTable};
    Table Templates{kTemplateTable};
    Table Results{kResultsTable};
    Table* TableOf(int kind);

    Config config;
    QString ChangeFlags = QStringLiteral("0000000");
    bool Changed(int position) const;
    void SetChanged(int position, bool changed);

    // The current item and project: every window reads them here and changes
    // them only through this object.
    CurrentItem& Current() { return current_; }
    const CurrentItem& Current() const { return current_; }
    // FindProjectRow: the first project row whose number occurs in text, else 0;
    // the result also becomes the current project.
    int FindProjectRow(const QString& text);
    // Asks the grid of the table to select (column, row) and scroll it near its
    // top; the grid keeps its selection itself, the current item is not changed.
    void RevealGridCell(int kind, int column, int row);

    // The moment of the start-up: "today" for the realistic terms and the forms.
    double StartMoment = 0;

    // The overall time range that the Gantt diagram draws.
    double RangeStart = 0;
    double RangeEnd = 0;
    int RangeLength = 0;

    // Diagnostic lines for the settings window; nothing reads them back.
    QStringList CheckListing;
    void AppendCheck(const QString& line);

    // The notes text, line by line, and whether the editor holds unsaved edits.
    QStringList NotesLines;

    PickLists Picks;

    AccessState Access;
    // Every user action that counts as activity resets the inactivity counter.
    void ResetInactivity() { Access.InactivityCounter = 0; }
    // A read-only user (permission text with "1_") saves nothing at the close.
    bool MayWrite() const { return !Access.Permission.contains(QLatin1String("1_")); }
    // The number of the current project (column 1 of CurrentProjectRow).
    QString CurrentProjectNumber() const {
        return Projects.Cell(Project::Number, current_.ProjectRow());
    }

    DiaryLogContext Diary;

    // The finance overview's choices and the progress files its computations read.
    OverviewState Overview;

    // Announcements to the windows. Inside an edit (TableEdit) they are
    // collected and sent together when the outermost edit ends, so that one
    // user operation reaches the views as one notice; outside they go at once.
    // Rows are table rows (row 0 is the header).
    // The whole table may have changed (a load, a sort): views reset.
    void NotifyTable(int kind);
    void NotifyRowsInserted(int kind, int first, int last);
    void NotifyRowsRemoved(int kind, int first, int last);
    void NotifyRowsChanged(int kind, int first, int last);
    void BeginEdit() { ++editDepth_; }
    void EndEdit();
    void NotifyGauge(int position, int maximum) { emit progressGauge(position, maximum); }

  signals:
    // Precise notices, one group per operation; then tableChanged for each
    // table touched, for windows that only redraw.
    void tableReset(int kind);
    void rowsInserted(int kind, int first, int last);
    void rowsRemoved(int kind, int first, int last);
    void rowsChanged(int kind, int first, int last);
    void tableChanged(int kind);
    // A progress file was loaded: the entry window shows its name as its caption.
    void progressFileLoaded(const QString& name);
    // Called before a progress file is written, so that linked dates can be brought up to date.
    void aboutToSaveProgress();
    void pickListsChanged();
    void gridCellRevealed(int kind, int column, int row);
    void checkLineAdded(const QString& line);
    void notesLoaded();
    // The notes are being saved under this name (the about window shows a notice).
    void savingNotes(const QString& name);
    // A day record file is being written under this name (the same notice).
    void savingDayRecord(const QString& name);
    // A report (finance report, minutes) was composed: the notes editor shows a
    // copy of the document and takes name as its file name.
    void reportComposed(const QTextDocument* document, const QString& name);
    void progressGauge(int position, int maximum);
    // The finance overview's choices changed (the overview window follows them).
    void overviewChoicesChanged();
    // A finance overview was computed into the results table.
    void overviewComputed();

  private:
    enum class NoticeType { Reset, Inserted, Removed, Changed };
    struct Notice {
        int kind;
        NoticeType type;
        int first;
        int last;
    };
    void Notify(int kind, NoticeType type, int first, int last);
    void SendNotices(int kind, const QList<Notice>& notices);

    Prompter& prompter_;
    CurrentItem current_;
    int editDepth_ = 0;
    QList<Notice> pending_;
};

// Groups the notices of one operation, from construction to destruction, into
// one announcement per table; edits may nest, the outermost one announces.
class TableEdit {
  public:
    explicit TableEdit(Workspace& ws) : ws_(ws) { ws_.BeginEdit(); }
    ~TableEdit() { ws_.EndEdit(); }
    TableEdit(const TableEdit&) = delete;
    TableEdit& operator=(const TableEdit&) = delete;

  private:
    Workspace& ws_;
};
