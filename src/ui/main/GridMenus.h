#pragma once

#include <QObject>

class LinkRecorder;
class QAction;
class QMenu;
class QWidget;
class Workspace;

// The pop-up menus of the main window's five grids. Their captions carry the
// selected row or column, and their data-changing items are enabled only for
// a user with the right, checked silently whenever the captions change and
// whenever a menu opens. The commands themselves belong to the main window.
class GridMenus : public QObject {
    Q_OBJECT
  public:
    enum class Command {
        AddRecord,        // "Přidat záznam"
        Delete,           // "Smazat položku"
        Sort,             // "Setřídit podle sloupce"
        SuperiorLink,     // "Potvrdit nadřízenou položku"
        PredecessorLink,  // "Potvrdit první položku"
        FinishLinking,    // "UKONČIT "
        OverviewOne,      // "Přehled financí jednoho projektu"
        OverviewGroup,    // "Přehled financí skupiny projektů …"
        OverviewAll,      // "Přehled financí všech projektů"
        OverviewWindow,  // "Nastavení výpočtu přehledu financí." and "Nastavení parametrů výpočtu."
        SaveResults,  // "Uložit výsledkovou tabulku jako CSV"
        SortResults,  // "Tridit podle Etap / Let"
        Search,       // "Vyhledat"
    };

    GridMenus(Workspace& ws, LinkRecorder& links, QObject* parent = nullptr);

    // The grid's menu, made a child of the grid; the finance and template
    // grids share one, made a child of the finance grid.
    QMenu* Attach(int kind, QWidget* grid);
    QMenu* Menu(int kind) const;

    // The captions after a cell of the grid of kind was selected.
    void FollowSelection(int kind, int column, int row);
    // The captions after a project was chosen in the entry window.
    void FollowProjectChoice(int row);
    // Enables the data-changing items by CheckPermission("NEHLASIT", 3) and
    // the link items by the recording state, and sets the link captions.
    void UpdateEnabling();

  signals:
    // The item of the menu of kind (the finance and template menu say 4) was chosen.
    void commandChosen(GridMenus::Command command, int kind);

  private:
    QAction* Item(QMenu* menu, const QString& caption, Command command, int kind);
    QAction* Dead(QMenu* menu, const QString& caption);

    Workspace& ws_;
    LinkRecorder& links_;
    QMenu* project_ = nullptr;
    QMenu* deadline_ = nullptr;
    QMenu* finance_ = nullptr;
    QMenu* results_ = nullptr;

    QAction* projectOverview_ = nullptr;
    QAction* projectDelete_ = nullptr;
    QAction* deadlineSort_ = nullptr;
    QAction* deadlineAdd_ = nullptr;
    QAction* deadlineDelete_ = nullptr;
    QAction* superior_ = nullptr;
    QAction* predecessor_ = nullptr;
    QAction* finish_ = nullptr;
    QAction* financeSort_ = nullptr;
    QAction* financeDelete_ = nullptr;
    // The finance and template grids share a menu; the template grid cannot sort.
    bool sortAllowed_ = true;
};
