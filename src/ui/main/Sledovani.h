#pragma once

#include <QMainWindow>
#include <QMap>
#include <array>
#include <functional>

#include "GridLayout.h"
#include "GridMenus.h"
#include "finance/OverviewState.h"
#include "shell/Slot.h"

class Diagram;
class DenVystup;
class Edit;
class Denik;
class Foto;
class GrafFinance;
class Formulare;
class Graf;
class Hledani;
class Info;
class Navrat;
class LinkRecorder;
class Nastaveni;
class TimelineStrip;
class QLabel;
class QMenu;
class QModelIndex;
class QProgressBar;
class QTableView;
class QTimer;
class QToolButton;
class Table;
class TableModel;
class Workspace;

// Month and day names, date pickers and number fields of the program's own
// widgets in Czech, whatever locale the system has (Qt carries the data).
void UseProgramLocale();

// The main window: menus, the tool bar with the permission label, the panel
// with the status labels and the timeline strip, and the five tables of the
// workspace stacked in one panel. It runs the program's start-up and close
// sequences, owns the connection slot and the link recording, and hands the
// grids' current item to the entry window and the photo viewer.
class Sledovani : public QMainWindow {
    Q_OBJECT
  public:
    // The grids' row height; LayoutTables counts in it.
    static constexpr int kRowHeight = 18;
    // The panel below the tool bar with the status labels and the timeline
    // strip, shown while "Zobrazit pomocný graf termínů" is checked.
    static constexpr int kAuxPanelHeight = 49;
    static constexpr int kStatusPanelWidth = 216;
    static constexpr int kSplashMs = 3000;
    // Window heights: compact (only the tool bar), tables shown, tables hidden.
    static constexpr int kCompactHeight = 77;
    static constexpr int kTablesHeight = 300;
    static constexpr int kNoTablesHeight = 68;

    explicit Sledovani(Workspace& ws, QWidget* parent = nullptr);

    // The start-up sequence once the window is built and the base directory set:
    // configuration and data, menu check marks and height, the connection slot
    // with its log-in record, the layout and the splash timer. False when the
    // user declined to create a missing project register; the program then ends
    // without showing the window and without touching the slot.
    bool StartUp();

    // Creates the windows that need the loaded tables, once, hidden: the photo
    // viewer and the entry window, which from then on shows every row the
    // grids select. Until then the grids only record the current item.
    void CreateWindows();

    // The close sequence, run once however the program ends: for a user who may
    // write, the marked tables are saved, the slot is freed and the
    // configuration written; a read-only user leaves every file alone. When
    // interactive and saving failed, the user may keep the program open, and
    // the result is false.
    bool CloseSequence(bool interactive);
    bool Closed() const { return closed_; }

    // Shows the tables whose menu items are checked and shares the panel height
    // among them, stacked from the top: the project, deadline and finance tables
    // take no more than their rows need, a visible results table takes what is
    // left. Resets the inactivity counter.
    void LayoutTables();

    // Seven file dialogs in a row that set the data folders and file names.
    void ChooseFileLocations();

    // The grid of a table kind, or nullptr.
    QTableView* Grid(int kind) const;
    QWidget* TablePanel() const { return panel_; }
    ConnectionSlot& Slot() const { return *slot_; }
    // The first main-menu or tool-bar item with exactly this caption, or nullptr.
    QAction* MenuItem(const QString& caption) const;
    // The settings window, created on first use.
    Nastaveni* Settings();
    Formulare* EntryWindow() const { return form_; }
    Foto* PhotoViewer() const { return foto_; }
    DenVystup* OverviewWindow() const { return overview_; }
    // "Výpočet finančních výsledků": the overview window beside a main window
    // of part of the screen's height that shows the results table.
    void ShowOverviewWindow();
    Edit* NotesEditor() const { return edit_; }
    GrafFinance* FinanceChart() const { return chart_; }
    Graf* Calendar() const { return graf_; }
    Denik* DayEntry() const { return denik_; }
    // The first showing: the diary calendar below the main window, when its menu item is checked.
    void ShowCalendar();
    TimelineStrip* Strip() const { return strip_; }
    // Shared with the Gantt diagram, which records links the same way.
    LinkRecorder& Links() const { return *links_; }
    // The pop-up menu of a grid (the finance and template grids share one).
    QMenu* Popup(int kind) const { return menus_->Menu(kind); }
    // "Formuláře" and "Formulář": the entry window on the page of the current item.
    void ShowEntryWindow();
    // "Diagram Gantt" and the tool bar's "Gantt".
    void ShowGantt();
    Diagram* Gantt() const { return gantt_; }
    // The reconstruction, search and about windows; nullptr until CreateWindows.
    Navrat* ReconstructionWindow() const { return navrat_; }
    Hledani* SearchWindow() const { return hledani_; }
    Info* AboutWindow() const { return about_; }
    // The project, deadline and finance tables (or only the last two) at the
    // reconstruction height.
    void ShowReconstructionTables(bool projectTable);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct GridSlot {
        int kind;
        int flag;      // the SettingsFlags position of its menu item
        bool shrinks;  // takes no more height than its rows need
        QTableView* view = nullptr;
        GridSelection selection{};
    };

    void CreateMenus();
    void CreateToolBar();
    void CreateAuxPanel();
    QAction* AddItem(QMenu* menu, const QString& caption,
                     const std::function<void()>& command = {});
    QAction* AddCheck(QMenu* menu, int flag, const QString& caption, bool designMark);
    QTableView* CreateGrid(Table& table, const QString& name);
    static void ApplyColumnWidths(QTableView* view, const GridLayout& layout,
                                  const QList<int>& kept);
    GridSlot* SlotOf(int kind);
    void AllowRowMoves(QTableView* view, TableModel* model);
    void WatchSelection(QTableView* view, int kind);
    void ConnectEntryWindow();
    void CreateGantt();

    // Check marks and window height from SettingsFlags; marks for positions the
    // text does not reach are the designed ones, and are written back.
    void ApplySettingsFlags();
    // Position 3 of SettingsFlags follows the window height.
    void StoreHeightFlag();
    void ArrangeTables();
    void ArrangeBody();

    // The selection handlers of the five grids.
    void CellSelected(int kind, const QModelIndex& index);
    // A click on the grid's current cell selects it again when another item
    // became current in the meantime.
    void SelectIfNew(int kind, const QModelIndex& index);
    void FollowMenuCaptions(int kind, int column, int row);
    // Moves the grid to its selected cell without making a new current item;
    // scrolled to the grid's top row, or only as far as needed.
    void FollowSelection(int kind, bool toTopRow = true);
    // The core asked the grid to show (column, row) near its top.
    void RevealCell(int kind, int column, int row);
    // Rows of a table were put into another order: the grid's selected cell goes along.
    void FollowReorderedRows(int kind, const std::function<int(int)>& newRowOf);
    void ShowPopup(int kind, const QPoint& position);
    void GridCommand(GridMenus::Command command, int kind);
    void AddRecordCommand();
    void DeleteItemCommand();
    void PropagateLinksCommand();
    void RemoveLinksCommand();
    // The entry window turned to the page of kind: its table is the one shown
    // of the project, deadline and finance tables.
    void PageTurned(int kind);
    // A table button of the tool bar toggles its menu item.
    void ToggleTableCommand(int flag);
    void ShowStatus(const QString& text, const QColor& colour);
    // Item kind + "/" + current column + "/" + item row of the current item.
    void ShowSelectionLabel();
    // The strip follows the item the entry window has just shown, once the
    // entry window has made it the current item.
    void ScheduleStripRedraw();
    // Sorts the active table by the current column after the permission check.
    void SortCommand(int kind);
    void SaveAllProgressCommand();
    // The overview of every project in turn; the report of the last one.
    void PrintResultsCommand();
    void OverviewCommand(OverviewSet set);
    void ShowTablesToggled(bool on);
    void ShowPermission(ConnectionSlot::State state, const QString& text);
    void SetServiceMenus(bool enabled);
    void CreateToolWindows();
    void OpenReconstruction();
    void RestoreCommand();
    void OpenSearch();
    void SelectHit(int kind, int row);

    Workspace& ws_;
    ConnectionSlot* slot_ = nullptr;
    Nastaveni* settings_ = nullptr;
    QWidget* body_ = nullptr;
    QWidget* aux_ = nullptr;
    TimelineStrip* strip_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* realTermCaption_ = nullptr;
    QLabel* realTerm_ = nullptr;
    QWidget* panel_ = nullptr;
    Formulare* form_ = nullptr;
    Foto* foto_ = nullptr;
    Diagram* gantt_ = nullptr;
    QAction* ganttItem_ = nullptr;
    QAction* ganttButton_ = nullptr;
    DenVystup* overview_ = nullptr;
    Edit* edit_ = nullptr;
    GrafFinance* chart_ = nullptr;
    Graf* graf_ = nullptr;
    Denik* denik_ = nullptr;
    Navrat* navrat_ = nullptr;
    Hledani* hledani_ = nullptr;
    Info* about_ = nullptr;
    LinkRecorder* links_ = nullptr;
    GridMenus* menus_ = nullptr;
    // In stacking order, top to bottom.
    std::array<GridSlot, 5> grids_;

    QMenu* files_ = nullptr;
    QMenu* service_ = nullptr;
    QMenu* view_ = nullptr;
    QAction* printMinutes_ = nullptr;
    QAction* monitorReport_ = nullptr;
    QAction* reconstruction_ = nullptr;
    QAction* generateOne_ = nullptr;
    QAction* sortDeadlines_ = nullptr;
    QAction* sortFinance_ = nullptr;
    QAction* renumber_ = nullptr;
    QAction* forms_ = nullptr;
    QAction* formButton_ = nullptr;
    QAction* photoItem_ = nullptr;  // "Zobrazení Foto": the viewer's own action once it exists
    QAction* timeline_ = nullptr;
    std::array<QToolButton*, 3> speedButtons_{};
    // The check items by their SettingsFlags position.
    QMap<int, QAction*> checkItems_;
    QMap<int, bool> designMarks_;

    QLabel* info_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    QLabel* permission_ = nullptr;
    QTimer* splash_ = nullptr;

    bool stripPending_ = false;
    bool closed_ = false;
};
