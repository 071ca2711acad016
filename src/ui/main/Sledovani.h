#pragma once

#include <QMainWindow>
#include <QMap>
#include <array>
#include <functional>

#include "shell/Slot.h"

class Nastaveni;
class QLabel;
class QMenu;
class QModelIndex;
class QProgressBar;
class QTableView;
class QTimer;
class Table;
class TableModel;
class Workspace;

// The main window: menus, the tool bar with the permission label, the strip for
// the timeline and the five tables of the workspace stacked in one panel. It
// runs the program's start-up and close sequences and owns the connection slot.
class Sledovani : public QMainWindow {
    Q_OBJECT
  public:
    // The grids' row height; LayoutTables counts in it.
    static constexpr int kRowHeight = 18;
    // The strip below the tool bar that holds the timeline drawing.
    static constexpr int kStripHeight = 40;
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
    };

    void CreateMenus();
    void CreateToolBar();
    QAction* AddItem(QMenu* menu, const QString& caption,
                     const std::function<void()>& command = {});
    QAction* AddCheck(QMenu* menu, int flag, const QString& caption, bool designMark);
    QTableView* CreateGrid(Table& table, const QString& name);
    static void ApplyColumnWidths(QTableView* view, const Table& table);
    void AllowRowMoves(QTableView* view, TableModel* model);
    void WatchSelection(QTableView* view, int kind);

    // Check marks and window height from SettingsFlags; marks for positions the
    // text does not reach are the designed ones, and are written back.
    void ApplySettingsFlags();
    // Position 3 of SettingsFlags follows the window height.
    void StoreHeightFlag();
    void ArrangeTables();
    void ArrangeBody();

    void CellSelected(int kind, const QModelIndex& index);
    void FollowSelection(int kind);
    void ShowPopup(int kind, const QPoint& position);
    // Sorts the active table by the current column after the permission check.
    void SortCommand(int kind);
    void SaveAllProgressCommand();
    void ShowTablesToggled(bool on);
    void ShowPermission(ConnectionSlot::State state, const QString& text);
    void SetServiceMenus(bool enabled);

    Workspace& ws_;
    ConnectionSlot* slot_ = nullptr;
    Nastaveni* settings_ = nullptr;
    QWidget* body_ = nullptr;
    QWidget* strip_ = nullptr;
    QWidget* panel_ = nullptr;
    // In stacking order, top to bottom.
    std::array<GridSlot, 5> grids_;

    QMenu* files_ = nullptr;
    QMenu* service_ = nullptr;
    QMenu* deadlinePopup_ = nullptr;
    QMenu* financePopup_ = nullptr;
    QAction* printMinutes_ = nullptr;
    QAction* monitorReport_ = nullptr;
    QAction* reconstruction_ = nullptr;
    QAction* generateOne_ = nullptr;
    // The check items by their SettingsFlags position.
    QMap<int, QAction*> checkItems_;
    QMap<int, bool> designMarks_;

    QLabel* info_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    QLabel* permission_ = nullptr;
    QTimer* splash_ = nullptr;

    // Set while the window selects a cell itself, which is no user selection.
    bool selecting_ = false;
    bool closed_ = false;
};
