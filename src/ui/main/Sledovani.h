#pragma once

#include <QMainWindow>
#include <array>

class QTableView;
class Table;
class TableModel;
class Workspace;

// The main window: the five tables of the workspace stacked in one panel,
// shown according to the table items of SettingsFlags.
class Sledovani : public QMainWindow {
    Q_OBJECT
  public:
    // The grids' row height; LayoutTables counts in it.
    static constexpr int kRowHeight = 18;

    explicit Sledovani(Workspace& ws, QWidget* parent = nullptr);

    // Shows the tables whose SettingsFlags positions are on and shares the panel
    // height among them, stacked from the top: the project, deadline and finance
    // tables take no more than their rows need, a visible results table takes
    // what is left.
    void LayoutTables();

    // The grid of a table kind, or nullptr.
    QTableView* Grid(int kind) const;
    QWidget* TablePanel() const { return panel_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct GridSlot {
        int kind;
        int flag;      // the SettingsFlags position that shows it
        bool shrinks;  // takes no more height than its rows need
        QTableView* view = nullptr;
    };

    void CreateMenus();
    QTableView* CreateGrid(Table& table, const QString& name);
    static void ApplyColumnWidths(QTableView* view, const Table& table);

    Workspace& ws_;
    QWidget* panel_ = nullptr;
    // In stacking order, top to bottom.
    std::array<GridSlot, 5> grids_;
};
