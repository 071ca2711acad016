#include "GridMenus.h"

#include <QMenu>

#include "Workspace.h"
#include "editing/Links.h"
#include "shell/Access.h"

namespace {

const QString kDelete = QStringLiteral("Smazat položku");
const QString kSort = QStringLiteral("Setřídit podle sloupce");
const QString kSearch = QStringLiteral("Vyhledat");

}  // namespace

GridMenus::GridMenus(Workspace& ws, LinkRecorder& links, QObject* parent)
    : QObject(parent), ws_(ws), links_(links) {
    connect(&links_, &LinkRecorder::menuChanged, this, &GridMenus::UpdateEnabling);
}

QAction* GridMenus::Item(QMenu* menu, const QString& caption, Command command, int kind) {
    QAction* item = menu->addAction(caption);
    connect(item, &QAction::triggered, this,
            [this, command, kind] { emit commandChosen(command, kind); });
    return item;
}

QAction* GridMenus::Dead(QMenu* menu, const QString& caption) {
    // The program has no window for this command: listed, but disabled.
    QAction* item = menu->addAction(caption);
    item->setEnabled(false);
    return item;
}

QMenu* GridMenus::Attach(int kind, QWidget* grid) {
    if (kind == kTemplateTable && finance_) return finance_;
    auto* menu = new QMenu(grid);
    switch (kind) {
        case kProjectTable:
            menu->setObjectName(QStringLiteral("PopupAkce"));
            projectOverview_ = Item(menu, QStringLiteral("Přehled financí jednoho projektu"),
                                    Command::OverviewOne, kind);
            Item(menu,
                 QStringLiteral("Přehled financí skupiny projektů podle položky  -  AKTIVITY = "
                                "[č.Proj.1/č.Proj.2/...]"),
                 Command::OverviewGroup, kind);
            Item(menu, QStringLiteral("Přehled financí všech projektů"), Command::OverviewAll,
                 kind);
            Item(menu, QStringLiteral("Nastavení výpočtu přehledu financí."),
                 Command::OverviewWindow, kind);
            menu->addSeparator();
            projectDelete_ = Item(menu, kDelete, Command::Delete, kind);
            project_ = menu;
            break;
        case kDeadlineTable:
            menu->setObjectName(QStringLiteral("PopupPrubeh"));
            Item(menu, kSearch, Command::Search, kind);
            deadlineSort_ = Item(menu, kSort, Command::Sort, kind);
            deadlineAdd_ = Item(menu, QStringLiteral("Přidat záznam"), Command::AddRecord, kind);
            deadlineDelete_ = Item(menu, kDelete, Command::Delete, kind);
            // The link items form a group of their own (a second column in the design).
            menu->addSeparator();
            superior_ =
                Item(menu, QString::fromUtf16(kSuperiorIdleCaption), Command::SuperiorLink, kind);
            predecessor_ = Item(menu, QString::fromUtf16(kPredecessorDesignCaption),
                                Command::PredecessorLink, kind);
            finish_ = Item(menu, QStringLiteral("UKONČIT "), Command::FinishLinking, kind);
            deadline_ = menu;
            break;
        case kFinanceTable:
        case kTemplateTable:
            menu->setObjectName(QStringLiteral("PopupFinance"));
            financeSort_ = Item(menu, kSort, Command::Sort, kFinanceTable);
            Item(menu, kSearch, Command::Search, kind);
            Dead(menu, QStringLiteral("____________________"));
            financeDelete_ = Item(menu, kDelete, Command::Delete, kFinanceTable);
            finance_ = menu;
            break;
        case kResultsTable:
            menu->setObjectName(QStringLiteral("PopupPrProj"));
            Item(menu, QStringLiteral("Uložit výsledkovou tabulku jako CSV"), Command::SaveResults,
                 kind);
            Item(menu, QStringLiteral("Nastavení parametrů výpočtu."), Command::OverviewWindow,
                 kind);
            Item(menu, kSearch, Command::Search, kind);
            Item(menu, QStringLiteral("Tridit podle Etap / Let"), Command::SortResults, kind);
            results_ = menu;
            break;
        default:
            delete menu;
            return nullptr;
    }
    connect(menu, &QMenu::aboutToShow, this, &GridMenus::UpdateEnabling);
    UpdateEnabling();
    return menu;
}

QMenu* GridMenus::Menu(int kind) const {
    switch (kind) {
        case kProjectTable:
            return project_;
        case kDeadlineTable:
            return deadline_;
        case kFinanceTable:
        case kTemplateTable:
            return finance_;
        case kResultsTable:
            return results_;
        default:
            return nullptr;
    }
}

void GridMenus::FollowSelection(int kind, int column, int row) {
    const QString r = QString::number(row);
    const QString deleteCaption = QStringLiteral("Smazat položku  ") + r;
    auto set = [](QAction* item, const QString& caption) {
        if (item) item->setText(caption);
    };
    switch (kind) {
        case kProjectTable:
            set(projectOverview_, QStringLiteral("Přehled financí jednoho projektu ") + r);
            set(projectDelete_, deleteCaption);
            break;
        case kDeadlineTable:
            set(projectOverview_, QStringLiteral("Přehled financí ") + r);
            set(deadlineDelete_, deleteCaption);
            set(deadlineSort_, QStringLiteral("Setřídit podle sloupce ") + QString::number(column));
            break;
        case kResultsTable:
            set(projectOverview_, QStringLiteral("Přehled financí ") + r);
            set(projectDelete_, deleteCaption);
            break;
        case kFinanceTable:
            set(financeDelete_, deleteCaption);
            set(financeSort_, QStringLiteral("Setřídit podle sloupce  ") + QString::number(column));
            sortAllowed_ = true;
            break;
        case kTemplateTable:
            set(financeDelete_, deleteCaption);
            sortAllowed_ = false;
            break;
        default:
            break;
    }
    UpdateEnabling();
}

void GridMenus::FollowProjectChoice(int row) {
    const QString r = QString::number(row);
    if (projectOverview_) projectOverview_->setText(QStringLiteral("Přehled financí ") + r);
    if (projectDelete_) projectDelete_->setText(QStringLiteral("Smazat položku  ") + r);
    UpdateEnabling();
}

void GridMenus::UpdateEnabling() {
    const bool allowed = CheckPermission(ws_, QString::fromUtf16(kNoReport), 3);
    const LinkMenuState& links = links_.State();
    if (deadline_) {
        deadlineAdd_->setEnabled(allowed);
        deadlineDelete_->setEnabled(allowed);
        superior_->setText(links.superiorCaption);
        predecessor_->setText(links.predecessorCaption);
        superior_->setEnabled(allowed && links.superiorEnabled);
        predecessor_->setEnabled(allowed && links.predecessorEnabled);
        finish_->setEnabled(allowed);
    }
    if (project_) projectDelete_->setEnabled(allowed);
    if (finance_) {
        financeDelete_->setEnabled(allowed);
        financeSort_->setEnabled(sortAllowed_);
    }
}
