#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "TestSupport.h"
#include "data/Columns.h"
#include "data/IniFile.h"
#include "data/Progress.h"
#include "data/Sorting.h"
#include "editing/Formulare.h"
#include "editing/Links.h"
#include "main/Sledovani.h"
#include "main/TableModel.h"
#include "planning/StripGeometry.h"
#include "planning/TimelineStrip.h"
#include "shell/Config.h"
#include "tools/Foto.h"

using namespace Qt::StringLiterals;

namespace {

const QString kLog = u"Zmeny_2026-12.csv"_s;
const QString kStamp = u";09.12.2026 - 10:30;Jmeno Prijmeni;Uzivatel_TEST;"_s;
// Project, template, deadline and finance tables shown; no link propagation.
const QString kFlags = u"100111111111000000100000000000"_s;

// A register of two projects with their progress files and the task
// templates, as another workstation leaves them. On 9 December 2026 deadline
// row 1 is late (score 8), row 2 was kept, finance row 1 is paid 29 days late.
void WriteSampleData(const TempBase& base) {
    base.WriteLines(u"NameAkce.csv"_s, RegisterLines({kSampleProject101, kSampleProject202}));
    WriteSampleTemplates(base);
    for (const QString& n : {u"101"_s, u"202"_s}) {
        const QString t = u"T-"_s + n;
        const QString f = u"F-"_s + n;
        base.WriteLines(
            u"APr_NameAkce__%1.csv"_s.arg(n),
            {u"Akce ORVA;01.12.2026"_s, u"Akce - Projekt Číslo ;"_s + n, u"Termíny"_s,
             t + u";Příprava;Projekt;Podpis smlouvy;01.06.2026;30.09.2026;;;120;;;"_s + t +
                 u"-01//;;;;;;"_s,
             t +
                 u";Realizace;Stavba;Výstavba;01.03.2026;30.06.2026;01.03.2026;30.06.2026;121;"
                 u"01.03.2026;30.06.2026;"_s +
                 t + u"-02/N-"_s + t + u"-01/;;;;;most.bmp;"_s,
             t + u";Realizace;Stavba;Kolaudace;01.07.2026;31.07.2026;;;30;;;"_s + t + u"-03//P-"_s +
                 t + u"-02;;;;;;"_s,
             f +
                 u";Platba_Faktura_1;Stavba;Plnění;01.10.2026;31.10.2026;05.10.2026;;0,00;"
                 u"100,00;1000,00;"_s +
                 f + u"-01/;fakturace;;;;;"_s,
             f + u";Etapa_#_1;;Plán;01.03.2026;30.09.2026;;;1000000,00;0;1000000,00;"_s + f +
                 u"-02/;etapa;;;;;"_s});
    }
    base.WriteLines(u"ORVA_Sledovani.Ini"_s, {u"[Nastavení]"_s, u"Nastavení="_s + kFlags,
                                              u"[Přístup]"_s, u"Pripojen=Volný"_s});
}

// The change-log record of a table row as LogChange writes it.
QString RowRecord(const QString& label, const Table& t, int row) {
    QString line = label + kStamp;
    for (int c = 0; c <= t.ColumnCount(); ++c) line += t.Cell(c, row) + u';';
    return line;
}

template <typename T>
T* Child(const QObject& parent, const QString& name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no child %s", qPrintable(name));
    return child;
}

QAction* ItemOf(const QMenu* menu, const QString& caption) {
    for (QAction* item : menu->actions())
        if (item->text() == caption) return item;
    return nullptr;
}

QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* item : menu->actions())
        if (!item->isSeparator()) captions << item->text();
    return captions;
}

void ClickCell(QTableView* grid, int tableRow, int tableColumn) {
    const QModelIndex cell = grid->model()->index(tableRow - 1, tableColumn - 1);
    grid->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
}

// Opens the grid's pop-up menu over a cell, as a right click does.
QMenu* OpenPopup(const Sledovani& window, QTableView* grid, int kind, int tableRow,
                 int tableColumn) {
    const QModelIndex cell = grid->model()->index(tableRow - 1, tableColumn - 1);
    grid->scrollTo(cell);
    emit grid->customContextMenuRequested(grid->visualRect(cell).center());
    QMenu* menu = window.Popup(kind);
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); })) return nullptr;
    return menu;
}

// The items of progress rows as identifier and "Činnost", in text order: each
// item must be there once.
QStringList Items(const QList<QStringList>& rows) {
    QStringList items;
    for (const QStringList& cells : rows) items << cells.value(11) + u' ' + cells.value(1);
    items.sort();
    return items;
}

QStringList FileItems(const QStringList& lines) {
    QList<QStringList> rows;
    for (const QString& line : lines)
        if (line.startsWith(u"T-"_s) || line.startsWith(u"F-"_s)) rows << line.split(u';');
    return Items(rows);
}

QStringList TableItems(const Workspace& ws) {
    QList<QStringList> rows;
    for (const Table* t : {&ws.Deadlines, &ws.Finance})
        for (int r = 1; r < t->RowCount(); ++r) {
            QStringList cells;
            for (int c = 1; c <= t->ColumnCount(); ++c) cells << t->Cell(c, r);
            rows << cells;
        }
    return Items(rows);
}

}  // namespace

class TestGrids : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void selectingCells_data();
    void selectingCells();
    void projectRowBecomesCurrentProject();
    void menuItemsFollowPermission_data();
    void menuItemsFollowPermission();
    void deleteItem_data();
    void deleteItem();
    void addRecordCopiesRow();
    void linksFromPopup();
    void removeAllLinks_data();
    void removeAllLinks();
    void formsShowEntryWindow_data();
    void formsShowEntryWindow();
    void stripDrawsItem();
    void stripShownByMenuAndButton();
    void storedItemShowsInGrid();
    void photoViewerFollowsGrid();
    void sortUnderEntryWindowKeepsItems();
    void oneRowChangeSendsNoReset();
    void widenedColumnsSurviveProjectChange();
    void designedLayouts_data();
    void designedLayouts();

  private:
    std::unique_ptr<TempBase> base_;
    std::unique_ptr<Sledovani> window_;
    Workspace& ws() { return *base_->ws; }
    Sledovani& window() { return *window_; }
    QTableView* Grid(const QString& name) { return Child<QTableView>(window(), name); }
    Formulare& Form() { return *window().EntryWindow(); }
};

void TestGrids::init() {
    base_ = std::make_unique<TempBase>();
    WriteSampleData(*base_);
    window_ = std::make_unique<Sledovani>(ws());
    QVERIFY(window().StartUp());
    window().CreateWindows();
    // Room for every row of the tables.
    window().resize(1400, 800);
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QCOMPARE(base_->prompter.log.size(), 0);
    // The last progress file of the register stays loaded.
    QCOMPARE(ws().Deadlines.Cell(Deadline::KindAndProject, 1), u"T-202"_s);
    ws().Access.Permission = u"3_000"_s;
}

void TestGrids::cleanup() {
    window_.reset();
    base_.reset();
}

void TestGrids::selectingCells_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("status");  // the status label, both windows
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("trace");
    // "menu kind|caption": the item must read so; kind 0 is the main menu.
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("late deadline")
        << u"SG_Prubeh"_s << 1 << 6 << int(kDeadlineTable) << int(Formulare::kDeadlinePage)
        << u"Chyba termínu 8"_s << QColor(0xFF, 0xFF, 0x00) << u"1 1 SG_PrubehSelectCell"_s
        << QStringList{u"1|Smazat položku  1"_s, u"1|Setřídit podle sloupce 6"_s,
                       u"2|Přehled financí 1"_s, u"0|Třídí data prubehu podle sloupce 6"_s,
                       u"0|Nově vytvořit čísla ID podle aktuálního pořadí v ŠEDÉ TABULCE "_s};
    QTest::newRow("kept deadline")
        << u"SG_Prubeh"_s << 2 << 3 << int(kDeadlineTable) << int(Formulare::kDeadlinePage)
        << u"Termín OK"_s << QColor() << u"1 2 SG_PrubehSelectCell"_s
        << QStringList{u"1|Smazat položku  2"_s, u"1|Setřídit podle sloupce 3"_s};
    QTest::newRow("late payment")
        << u"SG_Finance"_s << 1 << 9 << int(kFinanceTable) << int(Formulare::kFinancePage)
        << u"Pozdní platba 29"_s << QColor(0xFF, 0x00, 0xFF) << u"4 1 SG_FinanceSelectCell"_s
        << QStringList{u"4|Smazat položku  1"_s, u"4|Setřídit podle sloupce  9"_s,
                       u"0|Třídí data financí (zelená) podle sloupce 9"_s,
                       u"0|Nově vytvořit čísla ID podle aktuálního pořadí v ZELENÉ TABULCE "_s};
    // The entry window is not involved; the shared menu cannot sort templates.
    QTest::newRow("template") << u"SG_Ukony"_s << 2 << 2 << int(kTemplateTable)
                              << int(Formulare::kDeadlinePage) << u"Chyba termínu 8"_s
                              << QColor(0xFF, 0xFF, 0x00) << QString()
                              << QStringList{u"6|Smazat položku  2"_s};
    QTest::newRow("project") << u"SG_Akce"_s << 1 << 2 << int(kProjectTable)
                             << int(Formulare::kProjectPage) << u"Chyba termínu 8"_s
                             << QColor(0xFF, 0xFF, 0x00) << QString()
                             << QStringList{u"2|Přehled financí jednoho projektu 1"_s,
                                            u"2|Smazat položku  1"_s};
}

void TestGrids::selectingCells() {
    QFETCH(QString, grid);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, kind);
    QFETCH(QString, status);
    QFETCH(QColor, colour);
    QFETCH(QString, trace);
    QFETCH(QStringList, captions);
    // Deadline row 1 is shown first, so that the other kinds leave its status standing.
    ClickCell(Grid(u"SG_Prubeh"_s), 1, Deadline::KindAndProject);
    ws().Access.InactivityCounter = 15;
    ws().CheckListing.clear();

    ClickCell(Grid(grid), row, column);
    QCOMPARE(ws().Current().Kind(), kind);
    QCOMPARE(ws().Current().Row(), row);
    QCOMPARE(ws().Current().Column(), column);
    QCOMPARE(ws().Access.InactivityCounter, 0);
    QCOMPARE(Child<QLabel>(window(), u"Informace"_s)->text(),
             u"%1/%2/%3"_s.arg(kind).arg(column).arg(row));
    QTEST(Child<QTabWidget>(Form(), u"TabbedNotebook1"_s)->currentIndex(), "page");
    if (kind == kDeadlineTable)
        QCOMPARE(Child<QLineEdit>(Form(), u"Termin_ID"_s)->text(),
                 ws().Deadlines.Cell(Deadline::Identifier, row));
    if (kind == kFinanceTable)
        QCOMPARE(Child<QLineEdit>(Form(), u"Finance_ID"_s)->text(),
                 ws().Finance.Cell(Finance::Identifier, row));

    // The main window shows the status the entry window evaluated.
    const QLabel* shown = Child<QLabel>(window(), u"Souradnice"_s);
    QCOMPARE(Child<QLabel>(Form(), u"Stav"_s)->text(), status);
    QCOMPARE(shown->text(), status);
    QCOMPARE(shown->autoFillBackground(), colour.isValid());
    if (colour.isValid()) QCOMPARE(shown->palette().color(QPalette::Window), colour);
    QCOMPARE(ws().CheckListing.contains(trace), !trace.isEmpty());

    for (const QString& entry : captions) {
        const int menuKind = entry.section(u'|', 0, 0).toInt();
        const QString caption = entry.section(u'|', 1);
        const QAction* item =
            menuKind == 0 ? window().MenuItem(caption) : ItemOf(window().Popup(menuKind), caption);
        QVERIFY2(item, qPrintable(entry));
    }
    const QAction* sort = window().Popup(kFinanceTable)->actions().first();
    QCOMPARE(sort->isEnabled(), kind != kTemplateTable);
}

void TestGrids::projectRowBecomesCurrentProject() {
    // The entry window shows the deadline page; project 202's rows are loaded.
    QCOMPARE(Form().CurrentPage(), int(Formulare::kDeadlinePage));
    ClickCell(Grid(u"SG_Akce"_s), 1, Project::Manager);
    QCOMPARE(ws().Current().ProjectRow(), 1);
    QCOMPARE(ws().Current().Row(), 1);
    QCOMPARE(ws().Current().Kind(), int(kProjectTable));
    QCOMPARE(ws().Deadlines.Cell(Deadline::KindAndProject, 1), u"T-101"_s);
    QCOMPARE(ws().config.SouborPopis, u"APr_NameAkce__101.csv"_s);
    QCOMPARE(Form().CurrentPage(), int(Formulare::kProjectPage));
    QCOMPARE(Child<QComboBox>(Form(), u"Akce_CisloAkce"_s)->currentText(), u"101"_s);
    QCOMPARE(Form().ProjectChooserText(), u"101/ Chodník Lipová"_s);
    QCOMPARE(Form().windowTitle(), u"APr_NameAkce__101.csv"_s);
    // The page's table is the one of the three shown.
    QVERIFY(Grid(u"SG_Akce"_s)->isVisible());
    QVERIFY(!Grid(u"SG_Prubeh"_s)->isVisible());
    QVERIFY(!Grid(u"SG_Finance"_s)->isVisible());
    QCOMPARE(ws().config.SettingsFlags.mid(8, 4), u"1100"_s);

    // The second project, clicked with the project page already shown.
    ClickCell(Grid(u"SG_Akce"_s), 2, Project::Name);
    QCOMPARE(ws().Current().ProjectRow(), 2);
    QCOMPARE(ws().Current().Row(), 2);
    QCOMPARE(ws().Deadlines.Cell(Deadline::KindAndProject, 1), u"T-202"_s);
    QCOMPARE(Child<QComboBox>(Form(), u"Akce_CisloAkce"_s)->currentText(), u"202"_s);
    QCOMPARE(base_->prompter.log.size(), 0);
}

void TestGrids::menuItemsFollowPermission_data() {
    QTest::addColumn<QString>("permission");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("level 2") << u"2_000"_s << false;
    QTest::newRow("level 3") << u"3_000"_s << true;
    QTest::newRow("level 3, another project") << u"3_101"_s << false;
    QTest::newRow("level 3, this project") << u"3_101,202"_s << true;
    QTest::newRow("level 5") << u"5_101"_s << true;
}

void TestGrids::menuItemsFollowPermission() {
    QFETCH(QString, permission);
    QFETCH(bool, allowed);
    // Chosen while the menus' captions were made: the check runs again at each opening.
    ws().Access.Permission = allowed ? u"1_000"_s : u"5_000"_s;
    ClickCell(Grid(u"SG_Prubeh"_s), 1, Deadline::Activity);
    ws().Current().SetProjectRow(2);
    ws().Access.Permission = permission;

    QMenu* deadlines =
        OpenPopup(window(), Grid(u"SG_Prubeh"_s), kDeadlineTable, 2, Deadline::Activity);
    QVERIFY(deadlines);
    QCOMPARE(Captions(deadlines),
             (QStringList{u"Vyhledat"_s, u"Setřídit podle sloupce 2"_s, u"Přidat záznam"_s,
                          u"Smazat položku  2"_s, u"Potvrdit nadřízenou položku"_s,
                          u"Potvrdit první položku"_s, u"UKONČIT "_s}));
    for (const QAction* item : deadlines->actions()) {
        if (item->isSeparator()) continue;
        const bool changesData =
            !item->text().startsWith(u"Vyhledat") && !item->text().startsWith(u"Setřídit");
        // Searching and sorting change no data: always offered.
        QCOMPARE(item->isEnabled(), changesData ? allowed : true);
    }
    deadlines->hide();

    // The finance and template menu, and the project menu.
    QMenu* finance = window().Popup(kFinanceTable);
    emit finance->aboutToShow();
    QCOMPARE(Captions(finance), (QStringList{u"Setřídit podle sloupce"_s, u"Vyhledat"_s,
                                             u"____________________"_s, u"Smazat položku"_s}));
    QCOMPARE(ItemOf(finance, u"Smazat položku"_s)->isEnabled(), allowed);
    QMenu* projects = window().Popup(kProjectTable);
    emit projects->aboutToShow();
    QCOMPARE(ItemOf(projects, u"Smazat položku"_s)->isEnabled(), allowed);
    // The overview changes no data: offered whatever the permission.
    QVERIFY(ItemOf(projects, u"Přehled financí 2"_s)->isEnabled());
    // The check is silent.
    QCOMPARE(base_->prompter.log.size(), 0);
}

void TestGrids::deleteItem_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("permission");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("deadline row") << u"SG_Prubeh"_s << int(kDeadlineTable) << 2 << u"3_000"_s
                                  << true;
    QTest::newRow("last deadline row")
        << u"SG_Prubeh"_s << int(kDeadlineTable) << 3 << u"3_000"_s << true;
    QTest::newRow("finance row") << u"SG_Finance"_s << int(kFinanceTable) << 1 << u"3_000"_s
                                 << true;
    QTest::newRow("template row") << u"SG_Ukony"_s << int(kTemplateTable) << 1 << u"3_000"_s
                                  << true;
    QTest::newRow("no right") << u"SG_Prubeh"_s << int(kDeadlineTable) << 2 << u"2_000"_s << false;
}

void TestGrids::deleteItem() {
    QFETCH(QString, grid);
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(QString, permission);
    QFETCH(bool, deleted);
    ws().Access.Permission = permission;
    Table& t = *ws().TableOf(kind);
    const int rows = t.RowCount();
    const QString record = RowRecord(u"Smazaná_položka__________"_s, t, row);
    const QString next = t.Cell(Progress::Activity, row + 1);
    const QStringList logBefore = base_->Lines(kLog);

    QMenu* menu = OpenPopup(window(), Grid(grid), kind, row, 2);
    QVERIFY(menu);
    QAction* item = ItemOf(menu, u"Smazat položku  "_s + QString::number(row));
    QVERIFY(item);
    QCOMPARE(item->isEnabled(), deleted);
    // A disabled item does nothing; chosen, the item is deleted as by the entry window.
    item->trigger();
    menu->hide();

    QCOMPARE(t.RowCount(), deleted ? rows - 1 : rows);
    const QStringList log = base_->Lines(kLog);
    if (!deleted) {
        QCOMPARE(log, logBefore);
        QCOMPARE(ws().ChangeFlags, u"0000000"_s);
        QCOMPARE(base_->prompter.log.size(), 0);
        return;
    }
    QCOMPARE(log.size(), logBefore.size() + 1);
    QCOMPARE(log.last(), record);
    QCOMPARE(t.Cell(Progress::Activity, row), next);
    const int flag = kind == kDeadlineTable  ? kChangedDeadlines
                     : kind == kFinanceTable ? kChangedFinance
                                             : kChangedTemplates;
    QVERIFY(ws().Changed(flag));
    QCOMPARE(ws().ChangeFlags.count(u'1'), 1);
    // The row that took its place is the current item, or the new last row.
    QCOMPARE(ws().Current().Row(), qMin(row, t.RowCount() - 1));
    QCOMPARE(Grid(grid)->model()->rowCount(), t.RowCount() - 1);
}

void TestGrids::addRecordCopiesRow() {
    const QStringList logBefore = base_->Lines(kLog);
    QMenu* menu = OpenPopup(window(), Grid(u"SG_Prubeh"_s), kDeadlineTable, 2, Deadline::Step);
    QVERIFY(menu);
    QAction* add = ItemOf(menu, u"Přidat záznam"_s);
    QVERIFY(add && add->isEnabled());
    add->trigger();
    menu->hide();

    const Table& t = ws().Deadlines;
    QCOMPARE(t.RowCount(), 5);
    QCOMPARE(t.Cell(Deadline::RowNumber, 4), u"4"_s);
    QCOMPARE(t.Cell(Deadline::Step, 4), u"Výstavba"_s);
    // A new identifier without the copied links.
    QCOMPARE(t.Cell(Deadline::Identifier, 4), u"T-202-04"_s);
    QVERIFY(ws().Changed(kChangedDeadlines));
    QCOMPARE(base_->Lines(kLog), logBefore);
    // Selected and current: the entry window shows it.
    QTableView* grid = Grid(u"SG_Prubeh"_s);
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->currentIndex(), grid->model()->index(3, 1));
    QCOMPARE(ws().Current().Row(), 4);
    QCOMPARE(Child<QLineEdit>(Form(), u"Termin_ID"_s)->text(), u"T-202-04"_s);
    QCOMPARE(Child<QLabel>(window(), u"Informace"_s)->text(), u"1/2/4"_s);
}

void TestGrids::linksFromPopup() {
    QTableView* grid = Grid(u"SG_Prubeh"_s);
    auto choose = [&](int row, const QString& caption) {
        QMenu* menu = OpenPopup(window(), grid, kDeadlineTable, row, 2);
        QVERIFY(menu);
        QAction* item = ItemOf(menu, caption);
        QVERIFY2(item && item->isEnabled(), qPrintable(caption));
        item->trigger();
        menu->hide();
    };
    choose(1, u"Potvrdit nadřízenou položku"_s);
    QMenu* menu = window().Popup(kDeadlineTable);
    QVERIFY(ItemOf(menu, u"Nadřazena/1/přidat podřízenou"_s));
    QVERIFY(!ItemOf(menu, u"Potvrdit první položku"_s)->isEnabled());

    // The child keeps its predecessor link.
    choose(3, u"Nadřazena/1/přidat podřízenou"_s);
    QCOMPARE(ws().Deadlines.Cell(Deadline::Identifier, 3), u"T-202-03/N-T-202-01/P-T-202-02"_s);
    choose(3, u"UKONČIT "_s);
    QVERIFY(ItemOf(menu, u"Potvrdit nadřízenou položku"_s)->isEnabled());
    QVERIFY(ItemOf(menu, u"Potvrď první položku"_s)->isEnabled());

    choose(2, u"Potvrď první položku"_s);
    QVERIFY(ItemOf(menu, u"Předchůdce/2/pro následníka"_s));
    QVERIFY(!ItemOf(menu, u"Potvrdit nadřízenou položku"_s)->isEnabled());
    choose(1, u"Předchůdce/2/pro následníka"_s);
    QCOMPARE(ws().Deadlines.Cell(Deadline::Identifier, 1), u"T-202-01/P-T-202-02"_s);
    QVERIFY(ws().Changed(kChangedDeadlines));
    QCOMPARE(window().Links().State().pendingPredecessor, 1);
}

void TestGrids::removeAllLinks_data() {
    QTest::addColumn<bool>("warn");     // the confirmation before a change
    QTest::addColumn<bool>("confirm");  // the answer
    QTest::addColumn<bool>("removed");
    QTest::newRow("without warning") << false << false << true;
    QTest::newRow("confirmed") << true << true << true;
    QTest::newRow("declined") << true << false << false;
}

void TestGrids::removeAllLinks() {
    QFETCH(bool, warn);
    QFETCH(bool, confirm);
    QFETCH(bool, removed);
    ws().config.SetFlag(kFlagWarnBeforeChange, warn);
    base_->prompter.answers << confirm;
    window().MenuItem(u"Zrušit závislosti úkonů"_s)->trigger();
    QCOMPARE(ws().Deadlines.Cell(Deadline::Identifier, 2),
             removed ? u"T-202-02"_s : u"T-202-02/N-T-202-01/"_s);
    QCOMPARE(ws().Deadlines.Cell(Deadline::Identifier, 3),
             removed ? u"T-202-03"_s : u"T-202-03//P-T-202-02"_s);
    QCOMPARE(ws().Changed(kChangedDeadlines), removed);
    QCOMPARE(base_->prompter.Texts(ScriptedPrompter::Kind::Question).size(), warn ? 1 : 0);
}

void TestGrids::formsShowEntryWindow_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("page");
    QTest::newRow("menu, finance")
        << u"Formuláře"_s << u"SG_Finance"_s << int(Formulare::kFinancePage);
    QTest::newRow("button, project")
        << u"Formulář"_s << u"SG_Akce"_s << int(Formulare::kProjectPage);
    // A template is no item of the entry window: its page stays.
    QTest::newRow("button, template")
        << u"Formulář"_s << u"SG_Ukony"_s << int(Formulare::kDeadlinePage);
}

void TestGrids::formsShowEntryWindow() {
    QFETCH(QString, command);
    QFETCH(QString, grid);
    QVERIFY(!Form().isVisible());
    ClickCell(Grid(grid), 1, Progress::Activity);
    const int row = ws().Current().Row();
    ws().Access.InactivityCounter = 10;
    QAction* item = window().MenuItem(command);
    QVERIFY(item && item->isEnabled());
    item->trigger();
    QVERIFY(Form().isVisible());
    QTEST(Form().CurrentPage(), "page");
    // The item stays the one clicked.
    QCOMPARE(ws().Current().Row(), row);
    QCOMPARE(ws().Access.InactivityCounter, 0);
}

void TestGrids::stripDrawsItem() {
    QAction* shown = window().MenuItem(u"Zobrazit pomocný graf termínů"_s);
    shown->trigger();
    TimelineStrip* strip = window().Strip();
    QVERIFY(strip->isVisible());
    ClickCell(Grid(u"SG_Prubeh"_s), 2, Deadline::Activity);
    // Drawn once the entry window has shown the row.
    QTRY_COMPARE(
        strip->Layout().plan.left,
        LayoutStrip(StripDatesOf(ws().Deadlines, kDeadlineTable, 2), NowDay(), 0, strip->size())
            .plan.left);

    const StripLayout& l = strip->Layout();
    const QImage image = strip->grab().toImage();
    QCOMPARE(image.size(), QSize(711, 38));
    const int mid = (l.plan.left + l.plan.right) / 2;
    QCOMPARE(image.pixelColor(mid, 8), QColor(0x00, 0x00, 0xFF));
    QCOMPARE(image.pixelColor(mid, 30), QColor(0xFF, 0x00, 0x00));
    QCOMPARE(image.pixelColor(mid, l.realY), QColor(0x00, 0x80, 0x00));
    QCOMPARE(image.pixelColor(l.markerX, 4), QColor(0xFF, 0xFF, 0x00));
    // Outside the bars: the strip's own colour.
    QCOMPARE(image.pixelColor((l.plan.right + l.markerX) / 2, 8), QColor(0xC8, 0xC8, 0xC8));

    // The finance row has no realistic term: no green on the strip.
    ClickCell(Grid(u"SG_Finance"_s), 1, Finance::Activity);
    QTRY_VERIFY(strip->Layout().realToX < 0);
    const QImage finance = strip->grab().toImage();
    for (int x = 0; x < finance.width(); ++x)
        QVERIFY(finance.pixelColor(x, strip->Layout().realY) != QColor(0x00, 0x80, 0x00));

    // The diary calendar's chosen day moves the marker.
    const double day = NowDay() - 20;
    strip->SetMarkerDay(day);
    QCOMPARE(strip->Layout().markerX, strip->Layout().scale.X(day));
}

void TestGrids::stripShownByMenuAndButton() {
    QWidget* panel = Child<QWidget>(window(), u"PanelGraf"_s);
    QAction* item = window().MenuItem(u"Zobrazit pomocný graf termínů"_s);
    QTableView* projects = Grid(u"SG_Akce"_s);
    const int top = projects->mapTo(&window(), QPoint()).y();
    QVERIFY(!panel->isVisible());

    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->height(), Sledovani::kAuxPanelHeight);
    QCOMPARE(ws().config.FlagChar(kFlagTimelineChart), u'1');
    // The tables move down below it.
    QCOMPARE(projects->mapTo(&window(), QPoint()).y(), top + Sledovani::kAuxPanelHeight);

    QToolButton* button = Child<QToolButton>(window(), u"SpeedButton1"_s);
    QCOMPARE(button->toolTip(), u"Zobrazit pomocný graf termínů"_s);
    ws().Access.InactivityCounter = 5;
    button->click();
    QVERIFY(!item->isChecked());
    QVERIFY(!panel->isVisible());
    QCOMPARE(ws().config.FlagChar(kFlagTimelineChart), u'0');
    QCOMPARE(ws().Access.InactivityCounter, 0);
    QCOMPARE(projects->mapTo(&window(), QPoint()).y(), top);
}

void TestGrids::storedItemShowsInGrid() {
    ClickCell(Grid(u"SG_Prubeh"_s), 2, Deadline::Activity);
    auto* step = Child<QComboBox>(Form(), u"Termin_Proces"_s);
    step->setCurrentText(u"Hrubá stavba"_s);
    QTest::mouseClick(Child<QPushButton>(Form(), u"Zmenit"_s), Qt::LeftButton);
    QCOMPARE(ws().Deadlines.Cell(Deadline::Step, 2), u"Hrubá stavba"_s);
    QTableView* grid = Grid(u"SG_Prubeh"_s);
    QCOMPARE(grid->model()->index(1, 3).data().toString(), u"Hrubá stavba"_s);
    // The grid keeps the item selected.
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
}

void TestGrids::photoViewerFollowsGrid() {
    QImage picture(80, 60, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(base_->Path(u"most.bmp"_s)));
    Foto* viewer = window().PhotoViewer();
    QAction* item = window().MenuItem(u"Zobrazení Foto"_s);
    QVERIFY(item && item->isEnabled());
    item->trigger();
    QVERIFY(viewer->isVisible());

    ClickCell(Grid(u"SG_Prubeh"_s), 2, Deadline::Activity);
    QCOMPARE(viewer->ItemLabelText(), u"Realizace -  Stavba"_s);
    QTRY_VERIFY(viewer->HasPicture());
    QCOMPARE(viewer->PictureSize(), QSize(80, 60));
    // A row without a picture empties the viewer.
    ClickCell(Grid(u"SG_Prubeh"_s), 3, Deadline::Activity);
    QVERIFY(!viewer->HasPicture());
    QCOMPARE(viewer->ItemLabelText(), u"Realizace -  Stavba"_s);
    QCOMPARE(base_->prompter.log.size(), 0);
}

// The entry window shows an invoice while the finance table is sorted from the
// grid's pop-up menu; "Změnit" stores that invoice, and the progress file,
// saved and read again, holds every item once.
void TestGrids::sortUnderEntryWindowKeepsItems() {
    const QString file = ws().config.SouborPopis;
    const QStringList items = FileItems(base_->Lines(file));
    QCOMPARE(items.size(), 5);
    QCOMPARE(TableItems(ws()), items);

    ClickCell(Grid(u"SG_Finance"_s), 1, Finance::Activity);
    window().ShowEntryWindow();
    QVERIFY(Form().isVisible());
    auto* activity = Child<QComboBox>(Form(), u"Finance_Cinnost"_s);
    QCOMPARE(activity->currentText(), u"Platba_Faktura_1"_s);
    QMenu* menu = OpenPopup(window(), Grid(u"SG_Finance"_s), kFinanceTable, 1, Finance::Activity);
    QVERIFY(menu);
    QAction* sort = menu->actions().first();
    QCOMPARE(sort->text(), u"Setřídit podle sloupce  2"_s);
    sort->trigger();
    menu->hide();
    QCOMPARE(ws().Finance.Cell(Finance::Activity, 1), u"Etapa_#_1"_s);
    QCOMPARE(activity->currentText(), u"Platba_Faktura_1"_s);
    QCOMPARE(ws().Current().Row(), 2);
    QTableView* grid = Grid(u"SG_Finance"_s);
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));

    QTest::mouseClick(Child<QPushButton>(Form(), u"Zmenit"_s), Qt::LeftButton);
    QCOMPARE(TableItems(ws()), items);
    QVERIFY(SaveProgress(ws(), file, SaveMode::Open));
    QCOMPARE(FileItems(base_->Lines(file)), items);
    QCOMPARE(LoadProgress(ws(), file), LoadResult::Loaded);
    QCOMPARE(TableItems(ws()), items);
    QCOMPARE(base_->prompter.log.size(), 0);
}

void TestGrids::oneRowChangeSendsNoReset() {
    // A long table: one stored row must not make the grid start again from the top.
    Table& t = ws().Deadlines;
    for (int r = t.RowCount(); r <= 2000; ++r) {
        for (int c = 0; c <= t.ColumnCount(); ++c) t.SetCell(c, r, t.Cell(c, 1));
        t.SetCell(Deadline::RowNumber, r, QString::number(r));
        t.SetCell(Deadline::Identifier, r, u"T-202-%1//"_s.arg(r, 4, 10, QChar(u'0')));
    }
    ws().NotifyTable(kDeadlineTable);
    QTableView* grid = Grid(u"SG_Prubeh"_s);
    QCOMPARE(grid->model()->rowCount(), 2000);
    ClickCell(grid, 1500, Deadline::Activity);
    const int scrolled = grid->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);

    QSignalSpy resets(grid->model(), &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy changes(grid->model(), &QAbstractItemModel::dataChanged);
    Child<QComboBox>(Form(), u"Termin_Proces"_s)->setCurrentText(u"Hrubá stavba"_s);
    QTest::mouseClick(Child<QPushButton>(Form(), u"Zmenit"_s), Qt::LeftButton);

    QCOMPARE(t.Cell(Deadline::Step, 1500), u"Hrubá stavba"_s);
    QCOMPARE(resets.count(), 0);
    QCOMPARE(changes.count(), 1);
    const auto first = changes.first().at(0).value<QModelIndex>();
    const auto last = changes.first().at(1).value<QModelIndex>();
    QVERIFY(first.row() <= 1499 && last.row() >= 1499);
    QCOMPARE(grid->model()->index(1499, Deadline::Step - 1).data().toString(), u"Hrubá stavba"_s);
    QCOMPARE(grid->verticalScrollBar()->value(), scrolled);
    QCOMPARE(grid->currentIndex(), grid->model()->index(1499, Deadline::Activity - 1));
}

void TestGrids::widenedColumnsSurviveProjectChange() {
    QTableView* deadlines = Grid(u"SG_Prubeh"_s);
    QTableView* projects = Grid(u"SG_Akce"_s);
    deadlines->horizontalHeader()->resizeSection(Deadline::Activity - 1, 310);
    projects->horizontalHeader()->resizeSection(Project::Name - 1, 260);
    // Another project: its progress file replaces the rows of both progress tables.
    ClickCell(projects, 1, Project::Name);
    QCOMPARE(ws().Deadlines.Cell(Deadline::KindAndProject, 1), u"T-101"_s);
    QCOMPARE(deadlines->horizontalHeader()->sectionSize(Deadline::Activity - 1), 310);
    QCOMPARE(projects->horizontalHeader()->sectionSize(Project::Name - 1), 260);
    // Columns nobody touched keep the table's widths.
    QCOMPARE(deadlines->horizontalHeader()->sectionSize(Deadline::Identifier - 1), 200);

    // A sort resets the grid too: the widths stay and the selected item goes with its row.
    ClickCell(deadlines, 1, Deadline::Activity);
    QCOMPARE(ws().Deadlines.Cell(Deadline::Step, 1), u"Podpis smlouvy"_s);
    SortDeadlineTable(ws(), Deadline::PlanStart);
    QCOMPARE(ws().Deadlines.Cell(Deadline::Step, 2), u"Podpis smlouvy"_s);
    QCOMPARE(deadlines->horizontalHeader()->sectionSize(Deadline::Activity - 1), 310);
    QCOMPARE(deadlines->currentIndex(), deadlines->model()->index(1, Deadline::Activity - 1));
    QCOMPARE(ws().Current().Row(), 2);
}

void TestGrids::designedLayouts_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("fixedColumns");
    QTest::addColumn<int>("fixedRows");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("width");
    QTest::newRow("projects: default width") << int(kProjectTable) << 1 << 1 << 9 << 64;
    QTest::newRow("projects: name") << int(kProjectTable) << 1 << 1 << 2 << 130;
    QTest::newRow("deadlines: identifier") << int(kDeadlineTable) << 1 << 1 << 12 << 200;
    QTest::newRow("finance: free") << int(kFinanceTable) << 1 << 1 << 15 << 150;
    QTest::newRow("templates: identifier") << int(kTemplateTable) << 1 << 1 << 12 << 120;
    QTest::newRow("results: last column") << int(kResultsTable) << 4 << 2 << 26 << 72;
}

void TestGrids::designedLayouts() {
    QFETCH(int, kind);
    const GridLayout layout = GridLayoutOf(kind);
    // One width for every column the table has, no more.
    QCOMPARE(layout.widths.size(), TableHeaders(kind).size());
    QTEST(layout.fixedColumns, "fixedColumns");
    QTEST(layout.fixedRows, "fixedRows");
    QFETCH(int, column);
    QTEST(layout.ColumnWidth(column), "width");
    QVERIFY(layout.headerColor.isValid());
}

QTEST_MAIN(TestGrids)
#include "tst_grids.moc"
