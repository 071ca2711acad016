#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTableView>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <functional>
#include <stdexcept>

#include "GuiSupport.h"
#include "TestSupport.h"
#include "data/Columns.h"
#include "data/IniFile.h"
#include "data/TextFile.h"
#include "main/ErrorHandler.h"
#include "main/SingleInstance.h"
#include "main/Sledovani.h"
#include "main/TableModel.h"
#include "planning/Diagram.h"
#include "shell/Access.h"
#include "shell/Config.h"
#include "shell/StartUp.h"
#include "tools/Edit.h"

using namespace Qt::StringLiterals;

namespace {

// A base directory as another workstation leaves it: a register of three
// projects, task templates and every project's progress file.
void WriteSampleData(const TempBase& base) {
    base.WriteLines(QStringLiteral("NameAkce.csv"),
                    RegisterLines({kSampleProject101, kSampleProject202,
                                   QStringLiteral("303;Cyklostezka Ohře;Jana Nováková;Tomáš "
                                                  "Růžička;2.3;;;;;85/85;560000,50;476000,43;"
                                                  "01.06.2026;30.06.2027;;")}));
    WriteSampleTemplates(base);
    const QStringList steps = {QStringLiteral("Podpis smlouvy"), QStringLiteral("Výstavba"),
                               QStringLiteral("Kolaudace")};
    int stepCount = 1;
    for (const QString& number : {u"101"_s, u"202"_s, u"303"_s}) {
        QStringList lines = {QStringLiteral("Akce ORVA;01.12.2026"),
                             QStringLiteral("Akce - Projekt Číslo ;") + number,
                             QStringLiteral("Termíny")};
        // Each project has a different number of deadline rows, so that the
        // grid shows which one stayed loaded.
        for (int i = 0; i < stepCount; ++i)
            lines << QStringLiteral(
                         "T-%1;Realizace;Stavba;%2;01.06.2026;30.09.2026;;;120;;;"
                         "T-%1-0%3//;;;;;;;")
                         .arg(number, steps[i])
                         .arg(i + 1);
        lines << QStringLiteral(
                     "F-%1;Etapa_#_1;;Plán;01.03.2026;30.09.2026;;;1000000,00;0;"
                     "1000000,00;F-%1-01/;etapa;;;;;;")
                     .arg(number);
        base.WriteLines(QStringLiteral("APr_NameAkce__%1.csv").arg(number), lines);
        ++stepCount;
    }
}

const QString kIni = QStringLiteral("ORVA_Sledovani.Ini");
const QString kLog = QStringLiteral("Zmeny_2026-12.csv");
const QString kFree = QStringLiteral("Volný");
const QString kUser = QStringLiteral("Jmeno Prijmeni");
// Project, template, deadline and finance tables shown; results hidden.
const QString kFourTables = QStringLiteral("100111111111000000100000000000");
const QStringList kDataFiles = {QStringLiteral("NameAkce.csv"), QStringLiteral("NameUkony.csv"),
                                QStringLiteral("APr_NameAkce__101.csv"),
                                QStringLiteral("APr_NameAkce__202.csv"),
                                QStringLiteral("APr_NameAkce__303.csv")};

// The shared configuration file with the slot holder.
void WriteIni(const TempBase& base, const QString& holder, const QString& flags = kFourTables) {
    base.WriteLines(
        kIni, {u"[Nastavení]"_s, u"Nastavení="_s + flags, u"[Přístup]"_s, u"Pripojen="_s + holder});
}

QString Holder(const TempBase& base) {
    return IniFile::Load(base.Path(kIni)).Value(u"Přístup"_s, u"Pripojen"_s);
}

QMap<QString, QByteArray> Snapshot(const TempBase& base, const QStringList& files) {
    QMap<QString, QByteArray> bytes;
    for (const QString& f : files) bytes.insert(f, base.Bytes(f));
    return bytes;
}

QStringList ChangedFiles(const TempBase& base, const QMap<QString, QByteArray>& before) {
    QStringList changed;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (base.Bytes(it.key()) != it.value()) changed << it.key();
    return changed;
}

QStringList LinesStarting(const TempBase& base, const QString& file, const QString& start) {
    QStringList found;
    for (const QString& line : base.Lines(file))
        if (line.startsWith(start)) found << line;
    return found;
}

void ClickCell(QTableView* grid, int row, int column) {
    const QModelIndex cell = grid->model()->index(row, column);
    grid->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
}

QStringList ColumnTexts(const Table& table, int column) {
    QStringList texts;
    for (int r = 1; r < table.RowCount(); ++r) texts << table.Cell(column, r);
    return texts;
}

const QStringList kGridNames = {QStringLiteral("SG_Akce"), QStringLiteral("SG_Ukony"),
                                QStringLiteral("SG_Prubeh"), QStringLiteral("SG_Finance"),
                                QStringLiteral("SG_PrProj")};

QString Text(const QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void ganttFromMenuFollowsCaptions();

    void startUpFillsTheGrids();
    void widgetsSpeakCzech();
    void gridsFollowSettingsFlags_data();
    void gridsFollowSettingsFlags();
    void layoutSharesThePanel_data();
    void layoutSharesThePanel();
    void gridFollowsTableChanges();
    void windowBuiltBeforeLoading();
    void fixedCellsTakeTheHeaderColour_data();
    void fixedCellsTakeTheHeaderColour();
    void errorHandlerReportsAndStops_data();
    void errorHandlerReportsAndStops();

    void startUpSequence();
    void startUpDeclinedEndsAtOnce();
    void secondInstanceRefused();
    void staleLocks_data();
    void staleLocks();
    void lockFolderIsPrivate();
    void menusAtStart_data();
    void menusAtStart();
    void checkMarksFollowSettingsFlags_data();
    void checkMarksFollowSettingsFlags();
    void tableItemsToggleGrids_data();
    void tableItemsToggleGrids();
    void showTablesSetsHeight();
    void serviceModeTogglesMenus();
    void closeSavesMarkedTables_data();
    void closeSavesMarkedTables();
    void closeSequenceRunsOnce();
    void failedSaveAtClose_data();
    void failedSaveAtClose();
    void readOnlyUserSavesNothing();
    void sortCommands_data();
    void sortCommands();
    void fileErrorInCommandKeepsData();
    void saveAllReportsKeptFiles();
    void generateForCurrentProject_data();
    void generateForCurrentProject();
    void chooseFileLocations();
    void clickRecordsCurrentItem();
    void templateEditMarksTemplates();
    void rowMovesChangeTheTable_data();
    void rowMovesChangeTheTable();
    void terminationSavesAndFreesSlot_data();
    void terminationSavesAndFreesSlot();
    void readOnlyProgramLeavesTheSlotFree();
    void lockOfCrashedCopyIsStale();
    void notesEditedAreSavedAtTheClose();

  private:
    std::unique_ptr<TempBase> base_;
    Workspace& ws() { return *base_->ws; }
    QTableView* Grid(const Sledovani& window, const QString& name) {
        return window.findChild<QTableView*>(name);
    }
};

void TestMainWindow::init() {
    base_ = std::make_unique<TempBase>();
    WriteSampleData(*base_);
    const StartUpResult result = LoadAtStartUp(ws(), true);
    QVERIFY(!result.quit);
    // Every file was found: nothing was asked.
    QCOMPARE(base_->prompter.log.size(), 0);
}

void TestMainWindow::cleanup() {
    base_.reset();
}

void TestMainWindow::startUpFillsTheGrids() {
    Sledovani window(ws());
    QCOMPARE(window.windowTitle(), QStringLiteral("Sledování ORVA"));
    for (const QString& name : kGridNames) QVERIFY2(Grid(window, name), qPrintable(name));

    const QTableView* projects = Grid(window, QStringLiteral("SG_Akce"));
    QCOMPARE(projects->model()->rowCount(), 3);
    QCOMPARE(Text(projects, 0, 1), QStringLiteral("Chodník Lipová"));
    QCOMPARE(Text(projects, 2, 0), QStringLiteral("303"));
    QCOMPARE(Text(projects, 2, 3), QStringLiteral("Tomáš Růžička"));
    QCOMPARE(projects->model()->headerData(1, Qt::Horizontal), QVariant(u"Název akce"_s));
    QCOMPARE(projects->model()->headerData(2, Qt::Vertical), QVariant(u"3"_s));
    QCOMPARE(projects->horizontalHeader()->sectionSize(1), 130);

    // The last project's progress stays loaded: project 303 has three deadline rows.
    const QTableView* deadlines = Grid(window, QStringLiteral("SG_Prubeh"));
    QCOMPARE(deadlines->model()->rowCount(), 3);
    QCOMPARE(Text(deadlines, 0, 0), QStringLiteral("T-303"));
    QCOMPARE(Text(deadlines, 2, 3), QStringLiteral("Kolaudace"));

    // Amounts are padded for a fixed-width font; the grid shows them right-aligned
    // without the padding.
    const QTableView* finance = Grid(window, QStringLiteral("SG_Finance"));
    QCOMPARE(finance->model()->rowCount(), 1);
    const QModelIndex amount = finance->model()->index(0, 8);
    QCOMPARE(amount.data().toString(), QStringLiteral("1\u00A0000\u00A0000,00"));
    QVERIFY(amount.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(amount.data(Qt::EditRole).toString().startsWith(u' '));
    QVERIFY(!(finance->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight));

    const QTableView* templates = Grid(window, QStringLiteral("SG_Ukony"));
    QCOMPARE(Text(templates, 0, 3), QStringLiteral("Výstavba"));

    // Only the task templates are edited in place.
    for (const QString& name : kGridNames) {
        const QAbstractItemModel* model = Grid(window, name)->model();
        QCOMPARE(bool(model->flags(model->index(0, 4)) & Qt::ItemIsEditable),
                 name == u"SG_Ukony"_s);
    }
}

void TestMainWindow::gridsFollowSettingsFlags_data() {
    QTest::addColumn<QString>("flags");
    // Visibility of SG_Akce, SG_Ukony, SG_Prubeh, SG_Finance, SG_PrProj.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("height");

    QTest::newRow("configuration default")
        << u"100111110101000000100000000000"_s << u"01010"_s << 300;
    QTest::newRow("all five") << u"100111111111100000100000000000"_s << u"11111"_s << 300;
    QTest::newRow("results only, compact")
        << u"101111110000100000100000000000"_s << u"00001"_s << 77;
    QTest::newRow("projects and deadlines")
        << u"100111111010000000100000000000"_s << u"10100"_s << 300;
    QTest::newRow("none") << u"100111110000000000000000000000"_s << u"00000"_s << 300;
    QTest::newRow("position 3 other than 1") << u"102111111111100000"_s << u"11111"_s << 300;
}

void TestMainWindow::gridsFollowSettingsFlags() {
    QFETCH(QString, flags);
    QFETCH(QString, shown);
    QFETCH(int, height);
    ws().config.SettingsFlags = flags;
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < kGridNames.size(); ++i)
        QVERIFY2(Grid(window, kGridNames[i])->isVisible() == (shown[i] == u'1'),
                 qPrintable(kGridNames[i]));
    QCOMPARE(window.height(), height);
    const QRect screenArea = window.screen()->availableGeometry();
    QCOMPARE(window.width(), screenArea.width());
    QCOMPARE(window.pos(), screenArea.topLeft());
}

void TestMainWindow::layoutSharesThePanel_data() {
    QTest::addColumn<QString>("flags");
    QTest::addColumn<int>("projectRows");  // the project table's row count, header row included
    // Per grid in stacking order: "-" hidden, "share" the panel height divided
    // among the visible grids, "rest" what the grids above leave, or pixels.
    QTest::addColumn<QStringList>("heights");

    const QString projectsOnly = u"100111111000000000100000000000"_s;
    const QString projectsAndResults = u"100111111000100000100000000000"_s;
    const QString projectsAndDeadlines = u"100111111010000000100000000000"_s;
    const QString templatesAndFinance = u"100111110101000000100000000000"_s;

    // (3 + 1) × 18 + 8: rows that fit their share keep only the height they need.
    QTest::newRow("three rows in a large share")
        << projectsOnly << 3 << QStringList{u"80"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s};
    QTest::newRow("results fill what the projects leave")
        << projectsAndResults << 3 << QStringList{u"80"_s, u"-"_s, u"-"_s, u"-"_s, u"rest"_s};
    // 41 × 21 is more than any share: the table gets the share and scrolls. The
    // deadline table holds project 303's three rows.
    QTest::newRow("many rows take the share")
        << projectsAndDeadlines << 40 << QStringList{u"share"_s, u"-"_s, u"98"_s, u"-"_s, u"-"_s};
    // The template table never shrinks; the finance table has two rows.
    QTest::newRow("templates keep the share")
        << templatesAndFinance << 3 << QStringList{u"-"_s, u"share"_s, u"-"_s, u"62"_s, u"-"_s};
    QTest::newRow("none visible") << u"100111110000000000100000000000"_s << 3
                                  << QStringList{u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s};
}

void TestMainWindow::layoutSharesThePanel() {
    QFETCH(QString, flags);
    QFETCH(int, projectRows);
    QFETCH(QStringList, heights);
    ws().config.SettingsFlags = flags;
    ws().Projects.SetRowCount(projectRows);
    ws().NotifyTable(kProjectTable);
    Sledovani window(ws());
    window.resize(window.width(), 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.LayoutTables();

    const int panel = window.TablePanel()->height();
    QVERIFY(panel > 300);
    const int visible = int(heights.size() - heights.count(u"-"_s));
    const int share = qRound(double(panel) / qMax(1, visible));
    int top = 0;
    for (int i = 0; i < kGridNames.size(); ++i) {
        const QTableView* grid = Grid(window, kGridNames[i]);
        if (heights[i] == u"-") {
            QVERIFY2(!grid->isVisible(), qPrintable(kGridNames[i]));
            continue;
        }
        const int expected = heights[i] == u"share"  ? share
                             : heights[i] == u"rest" ? panel - top
                                                     : heights[i].toInt();
        QVERIFY2(grid->isVisible(), qPrintable(kGridNames[i]));
        QCOMPARE(grid->geometry(), QRect(0, top, window.TablePanel()->width(), expected));
        top += expected;
    }
}

void TestMainWindow::gridFollowsTableChanges() {
    ws().config.SettingsFlags = u"100111111000000000100000000000"_s;
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableView* projects = Grid(window, QStringLiteral("SG_Akce"));
    QCOMPARE(projects->height(), (4 + 1) * Sledovani::kRowHeight + 8);

    // The core writes first and announces afterwards; until then the grid keeps
    // its old size.
    ws().Projects.SetCell(Project::RowNumber, 4, u"4"_s);
    ws().Projects.SetCell(Project::Number, 4, u"404"_s);
    ws().Projects.SetCell(Project::Name, 4, u"Most přes Ohři"_s);
    QCOMPARE(projects->model()->rowCount(), 3);
    ws().NotifyTable(kDeadlineTable);
    QCOMPARE(projects->model()->rowCount(), 3);
    ws().NotifyTable(kProjectTable);
    QCOMPARE(projects->model()->rowCount(), 4);
    QCOMPARE(Text(projects, 3, 1), QStringLiteral("Most přes Ohři"));
    // The reset keeps the table's column widths and the layout follows the new rows.
    QCOMPARE(projects->horizontalHeader()->sectionSize(1), 130);
    QCOMPARE(projects->horizontalHeader()->sectionSize(8),
             GridLayoutOf(kProjectTable).defaultWidth);
    QCOMPARE(projects->height(), (5 + 1) * Sledovani::kRowHeight + 8);

    // Results written below the two fixed rows.
    ws().Results.SetCell(Results::PlanEnd, 4, u"01.01.2026"_s);
    ws().NotifyTable(kResultsTable);
    const QTableView* results = Grid(window, QStringLiteral("SG_PrProj"));
    QCOMPARE(results->model()->rowCount(), 4);
    QCOMPARE(results->model()->columnCount(), 26);
    QCOMPARE(Text(results, 3, 4), QStringLiteral("01.01.2026"));
    QCOMPARE(results->horizontalHeader()->sectionSize(21), 16);  // "poč."
}

void TestMainWindow::windowBuiltBeforeLoading() {
    // The grids start on tables without columns; loading brings the columns and
    // their widths.
    TempBase fresh;
    WriteSampleData(fresh);
    Sledovani window(*fresh.ws);
    QCOMPARE(Grid(window, u"SG_Prubeh"_s)->model()->columnCount(), 0);
    QVERIFY(!LoadAtStartUp(*fresh.ws, true).quit);
    const QTableView* deadlines = Grid(window, u"SG_Prubeh"_s);
    QCOMPARE(deadlines->model()->rowCount(), 3);
    QCOMPARE(deadlines->model()->columnCount(), 17);
    QCOMPARE(deadlines->horizontalHeader()->sectionSize(11), 200);  // "ID-vnitřní"
    QCOMPARE(deadlines->horizontalHeader()->sectionSize(8), 55);    // "Délka dnů"
    const QTableView* results = Grid(window, u"SG_PrProj"_s);
    QCOMPARE(results->horizontalHeader()->sectionSize(21), 16);  // "poč."
}

void TestMainWindow::fixedCellsTakeTheHeaderColour_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("tableColumn");
    QTest::addColumn<int>("tableRow");
    QTest::addColumn<bool>("fixed");

    QTest::newRow("results: second fixed row") << u"SG_PrProj"_s << 10 << 1 << true;
    QTest::newRow("results: last fixed column") << u"SG_PrProj"_s << 3 << 2 << true;
    QTest::newRow("results: first free cell") << u"SG_PrProj"_s << 4 << 2 << false;
    QTest::newRow("projects: first data cell") << u"SG_Akce"_s << 1 << 1 << false;
    QTest::newRow("deadlines: first data cell") << u"SG_Prubeh"_s << 1 << 1 << false;
}

void TestMainWindow::fixedCellsTakeTheHeaderColour() {
    QFETCH(QString, grid);
    QFETCH(int, tableColumn);
    QFETCH(int, tableRow);
    QFETCH(bool, fixed);
    Sledovani window(ws());
    auto* model = qobject_cast<TableModel*>(Grid(window, grid)->model());
    QVERIFY(model);
    const QColor header = model->Layout().headerColor;
    QVERIFY(header.isValid());
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color(),
             header);

    const QModelIndex cell = model->IndexOf(tableColumn, tableRow);
    QVERIFY(cell.isValid());
    const QVariant background = cell.data(Qt::BackgroundRole);
    QCOMPARE(background.isValid(), fixed);
    if (fixed) QCOMPARE(background.value<QBrush>().color(), header);
    QCOMPARE(bool(model->flags(cell) & Qt::ItemIsSelectable), !fixed);
}

void TestMainWindow::errorHandlerReportsAndStops_data() {
    QTest::addColumn<int>("failure");  // 0 none, 1 file error, 2 other exception
    QTest::addColumn<QString>("message");

    QTest::newRow("runs to its end") << 0 << QString();
    QTest::newRow("file error")
        << 1 << u"Chyba při práci se souborem:\n/data/NameAkce.csv: Přístup odepřen"_s;
    QTest::newRow("other exception") << 2 << u"Došlo místo na disku"_s;
}

void TestMainWindow::errorHandlerReportsAndStops() {
    QFETCH(int, failure);
    QFETCH(QString, message);
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QString shown;
    if (failure != 0)
        AnswerModal([&shown](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box) shown = box->text();
            modal->close();
        });
    bool finished = false;
    const bool ok = RunCommand(
        [&] {
            if (failure == 1) throw FileError(u"/data/NameAkce.csv"_s, u"Přístup odepřen"_s);
            if (failure == 2) throw std::runtime_error("Došlo místo na disku");
            finished = true;
        },
        &window);
    QTRY_VERIFY(!qApp->activeModalWidget());
    QCOMPARE(ok, failure == 0);
    QCOMPARE(finished, failure == 0);
    if (failure != 0) QVERIFY2(shown.contains(message), qPrintable(shown));
}

// Start-up

void TestMainWindow::startUpSequence() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Workspace& w = *base.ws;

    QCOMPARE(Grid(window, u"SG_Akce"_s)->model()->rowCount(), 3);
    QCOMPARE(Grid(window, u"SG_Prubeh"_s)->model()->rowCount(), 3);
    QCOMPARE(w.ChangeFlags, u"0000000"_s);
    QCOMPARE(base.prompter.log.size(), 0);

    // The slot is claimed in the file and the log-in recorded after a snapshot.
    QCOMPARE(Holder(base), kUser);
    const QStringList log = base.Lines(kLog);
    QVERIFY(log.size() > 3);
    QCOMPARE(log.first(), u";Uloženo 09.12.2026"_s);
    QVERIFY2(log.last().startsWith(u"Přihlášení uživatele_____;09.12.2026 - 10:30;Jmeno "
                                   u"Prijmeni;Uzivatel_TEST;"_s),
             qPrintable(log.last()));
    QCOMPARE(LinesStarting(base, kLog, u"Přihlášení uživatele_____;"_s).size(), 1);

    auto* permission = window.findChild<QLabel*>(u"Opravneni"_s);
    QVERIFY(permission);
    QCOMPARE(permission->text(), u"První připojení / Jmeno Prijmeni / Oprávnění 2_000"_s);
    QVERIFY(permission->palette().color(QPalette::Window) != QColor(Qt::red));
    QVERIFY(window.Slot().InactivityRunning());
    QVERIFY(!window.Slot().PollRunning());

    QVERIFY(window.MenuItem(u"Tisk zápisu ze dne 9.12.2026"_s));
    auto* splash = window.findChild<QTimer*>(u"SplashTimer"_s);
    QVERIFY(splash && splash->isActive() && splash->isSingleShot());
    QCOMPARE(splash->interval(), 3000);
    // The timeline strip's panel follows its unchecked menu item.
    auto* strip = window.findChild<QWidget*>(u"Strip"_s);
    QVERIFY(strip);
    QCOMPARE(strip->size(), QSize(711, 38));
    QVERIFY(!window.findChild<QWidget*>(u"PanelGraf"_s)->isVisible());
}

void TestMainWindow::startUpDeclinedEndsAtOnce() {
    TempBase base;
    WriteIni(base, kFree);
    const QByteArray ini = base.Bytes(kIni);
    // No register: its dialog is cancelled and the offer to create one declined.
    Sledovani window(*base.ws);
    QVERIFY(!window.StartUp());
    QVERIFY(!base.prompter.Texts(ScriptedPrompter::Kind::Question).isEmpty());
    QVERIFY(!window.isVisible());
    QCOMPARE(base.Bytes(kIni), ini);
    QVERIFY(!base.Exists(kLog));
    QVERIFY(!window.Slot().PollRunning() && !window.Slot().InactivityRunning());
}

void TestMainWindow::secondInstanceRefused() {
    QTemporaryDir dir;
    SingleInstance first(u"Uzivatel_TEST"_s, dir.path());
    QVERIFY(first.TryAcquire());
    {
        SingleInstance second(u"Uzivatel_TEST"_s, dir.path());
        QVERIFY(!second.TryAcquire());
        // Another user on the same workstation runs a copy of their own.
        SingleInstance otherUser(u"Uzivatel_JINY"_s, dir.path());
        QVERIFY(otherUser.TryAcquire());
    }

    QString shown;
    QMessageBox::StandardButtons buttons;
    AnswerModal([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown = box->text();
            buttons = box->standardButtons();
        }
        modal->close();
    });
    ShowAlreadyRunning();
    QTRY_VERIFY(!qApp->activeModalWidget());
    QCOMPARE(shown, u"Aplikace \"Sledování ORVA\" již běží !"_s);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestMainWindow::staleLocks_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("stale");
    QTest::newRow("empty (power cut)") << QByteArray() << true;
    QTest::newRow("cut") << QByteArray("12") << true;
    QTest::newRow("garbage") << QByteArray("\x01\x02 nic") << true;
    QTest::newRow("process gone") << "999999\norva\n" + QSysInfo::machineHostName().toUtf8() + '\n'
                                  << true;
    QTest::newRow("written under another host name")
        << QByteArray("1\norva\njiny-pocitac\n") << true;
    // This test program runs: its lock is a running copy's.
    QTest::newRow("running process") << QByteArray::number(QCoreApplication::applicationPid()) +
                                            '\n' + QCoreApplication::applicationName().toUtf8() +
                                            '\n' + QSysInfo::machineHostName().toUtf8() + '\n'
                                     << false;
}

void TestMainWindow::staleLocks() {
    QFETCH(QByteArray, content);
    QFETCH(bool, stale);
    QTemporaryDir dir;
    SingleInstance instance(u"Uzivatel_TEST"_s, dir.path());
    QFile file(instance.LockPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(instance.TryAcquire(), stale);
}

// The lock lives in a folder that only the user can write: the runtime folder
// when it is private, else a private folder in the home folder.
void TestMainWindow::lockFolderIsPrivate() {
    QTemporaryDir runtime;
    QTemporaryDir home;
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString privateRuntime = DefaultLockDirectory();
    QVERIFY(QFile::setPermissions(runtime.path(), QFile::Permissions(0x7777)));
    const QString shared = DefaultLockDirectory();
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("HOME", savedHome);

    QCOMPARE(privateRuntime, runtime.path());
    // Qt's own private runtime folder or the one in the home folder, never the
    // folder others may write to.
    QVERIFY(shared != runtime.path());
    QCOMPARE(QFileInfo(shared).ownerId(), QFileInfo(home.path()).ownerId());
    QCOMPARE(QFileInfo(shared).permissions() & (QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
}

// On a machine with only the C locale the program's widgets still show
// Czech month and day names.
void TestMainWindow::widgetsSpeakCzech() {
    QLocale::setDefault(QLocale::c());
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.CreateWindows();
    QCalendarWidget calendar;
    QCOMPARE(calendar.locale().standaloneMonthName(12), u"prosinec"_s);
    QCOMPARE(calendar.locale().dayName(1), u"pondělí"_s);
    // The date pickers of the program's windows as well.
    int pickers = 0;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* picker = qobject_cast<QDateEdit*>(w)) {
            QCOMPARE(picker->locale().language(), QLocale::Czech);
            ++pickers;
        }
    QVERIFY(pickers > 0);
}

// Menus

void TestMainWindow::menusAtStart_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("checked");  // -1 no check mark

    QTest::newRow("files menu") << u"&Soubory"_s << false << -1;
    QTest::newRow("service menu") << u"Obsluha"_s << false << -1;
    QTest::newRow("data menu") << u"Data"_s << true << -1;
    QTest::newRow("reconstruction") << u"Zpětná rekonstrukce dat"_s << false << -1;
    QTest::newRow("minutes with today") << u"Tisk zápisu ze dne 9.12.2026"_s << false << -1;
    QTest::newRow("deadline sort") << u"Třídí data prubehu (šedá) podle sloupce 0"_s << true << -1;
    QTest::newRow("backup") << u"Zálohování dat - Uloží zálohu všech dat pro budoucí obnovení."_s
                            << true << -1;
    QTest::newRow("monitoring report") << u"Monitorovací zpráva"_s << false << -1;
    QTest::newRow("settings") << u"Nastavení"_s << true << -1;
    QTest::newRow("tables shown") << u"Zobrazení tabulek"_s << true << 1;
    QTest::newRow("results table") << u"Tabulka výsledků  - Modrá"_s << true << 0;
    QTest::newRow("diary window") << u"Zobrazení denníku"_s << true << 1;
    QTest::newRow("Gantt") << u"Diagram Gantt"_s << true << -1;
    QTest::newRow("tool bar: Gantt") << u"Gantt"_s << true << -1;
    QTest::newRow("notes") << u"Poznámky"_s << true << -1;
    QTest::newRow("tool bar: projects") << u"Projekty"_s << true << -1;
    QTest::newRow("tool bar: form") << u"Formulář"_s << true << -1;
    QTest::newRow("forms") << u"Formuláře"_s << true << -1;
    QTest::newRow("photo viewer") << u"Zobrazení Foto"_s << true << -1;
    QTest::newRow("timeline strip") << u"Zobrazit pomocný graf termínů"_s << true << 0;
    QTest::newRow("link propagation") << u"Upravit zavislosti úkonů"_s << true << -1;
}

void TestMainWindow::menusAtStart() {
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(int, checked);
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.CreateWindows();
    QAction* item = window.MenuItem(caption);
    QVERIFY2(item, qPrintable(caption));
    QCOMPARE(item->isEnabled(), enabled);
    QCOMPARE(item->isCheckable(), checked >= 0);
    if (checked >= 0) QCOMPARE(item->isChecked(), checked == 1);
}

void TestMainWindow::checkMarksFollowSettingsFlags_data() {
    QTest::addColumn<QString>("flags");
    // Check marks of positions 1, 4-15, 19, 22 and 24, in that order.
    QTest::addColumn<QString>("marks");

    QTest::newRow("configuration default")
        << u"100111110101000000100000000000"_s << u"1111110101000100"_s;
    QTest::newRow("every option") << QString(30, u'1') << QString(16, u'1');
    QTest::newRow("no option") << QString(30, u'0') << QString(16, u'0');
    // No value at all: the marks as designed.
    QTest::newRow("no configuration value") << QString() << u"1111111111000100"_s;
}

void TestMainWindow::checkMarksFollowSettingsFlags() {
    QFETCH(QString, flags);
    QFETCH(QString, marks);
    ws().config.SettingsFlags = flags;
    Sledovani window(ws());
    const int positions[] = {1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 19, 22, 24};
    const QString captions[] = {u"Zobrazovat graf"_s,
                                u"Zobrazit realnost Gantt"_s,
                                u"Zobrazit Plán Gantt"_s,
                                u"Zvýzaznit dny mimo termín"_s,
                                u"Zobrazení tabulek"_s,
                                u"Zobrazit text buněk"_s,
                                u"Tabulka Projektů - Žlutá"_s,
                                u"Tabulka Úkonů - Fialová"_s,
                                u"Tabulka Průběhů Termínů - Šedá"_s,
                                u"Tabulka Průběhů Financí - Zelená"_s,
                                u"Tabulka výsledků  - Modrá"_s,
                                u"Tisk kolizních termínů"_s,
                                u"Tisk poznámek"_s,
                                u"Zobrazení denníku"_s,
                                u"Zobrazit pomocný graf termínů"_s,
                                u"Zobrazit popis do Ganttu"_s};
    for (int i = 0; i < 16; ++i) {
        QAction* item = window.MenuItem(captions[i]);
        QVERIFY2(item, qPrintable(captions[i]));
        QVERIFY2(item->isChecked() == (marks[i] == u'1'), qPrintable(captions[i]));
        // What the configuration file will get.
        QVERIFY2(ws().config.Flag(positions[i]) == (marks[i] == u'1'), qPrintable(captions[i]));
    }
}

void TestMainWindow::tableItemsToggleGrids_data() {
    QTest::addColumn<QString>("trigger");  // a menu item or a tool bar button
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("flag");

    QTest::newRow("menu: deadlines") << u"Tabulka Průběhů Termínů - Šedá"_s
                                     << u"Tabulka Průběhů Termínů - Šedá"_s << u"SG_Prubeh"_s << 11;
    QTest::newRow("button: deadlines")
        << u"Termíny"_s << u"Tabulka Průběhů Termínů - Šedá"_s << u"SG_Prubeh"_s << 11;
    QTest::newRow("button: projects")
        << u"Projekty"_s << u"Tabulka Projektů - Žlutá"_s << u"SG_Akce"_s << 9;
    QTest::newRow("menu: results")
        << u"Tabulka výsledků  - Modrá"_s << u"Tabulka výsledků  - Modrá"_s << u"SG_PrProj"_s << 13;
    QTest::newRow("button: results")
        << u"Výsledky"_s << u"Tabulka výsledků  - Modrá"_s << u"SG_PrProj"_s << 13;
    QTest::newRow("button: templates")
        << u"Úkony"_s << u"Tabulka Úkonů - Fialová"_s << u"SG_Ukony"_s << 10;
}

void TestMainWindow::tableItemsToggleGrids() {
    QFETCH(QString, trigger);
    QFETCH(QString, item);
    QFETCH(QString, grid);
    QFETCH(int, flag);
    ws().config.SettingsFlags = kFourTables;
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const bool before = window.MenuItem(item)->isChecked();
    QCOMPARE(Grid(window, grid)->isVisible(), before);
    ws().Access.InactivityCounter = 10;

    window.MenuItem(trigger)->trigger();
    QCOMPARE(window.MenuItem(item)->isChecked(), !before);
    QCOMPARE(Grid(window, grid)->isVisible(), !before);
    QCOMPARE(ws().config.Flag(flag), !before);
    QCOMPARE(ws().Access.InactivityCounter, 0);  // LayoutTables counts as activity

    window.MenuItem(trigger)->trigger();
    QCOMPARE(Grid(window, grid)->isVisible(), before);
    QCOMPARE(ws().config.Flag(flag), before);
}

void TestMainWindow::showTablesSetsHeight() {
    ws().config.SettingsFlags = kFourTables;
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.height(), Sledovani::kTablesHeight);
    QAction* item = window.MenuItem(u"Zobrazení tabulek"_s);

    item->trigger();
    QTRY_COMPARE(window.height(), Sledovani::kNoTablesHeight);
    QVERIFY(!ws().config.Flag(kFlagShowTables));
    QVERIFY(ws().config.Flag(kFlagCompactWindow));  // lower than 100 pixels

    item->trigger();
    QTRY_COMPARE(window.height(), Sledovani::kTablesHeight);
    QVERIFY(ws().config.Flag(kFlagShowTables));
    QVERIFY(!ws().config.Flag(kFlagCompactWindow));
}

void TestMainWindow::serviceModeTogglesMenus() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    QAction* files = window.MenuItem(u"&Soubory"_s);
    QAction* service = window.MenuItem(u"Obsluha"_s);

    window.Slot().EnterServiceMode();
    QVERIFY(files->isEnabled() && service->isEnabled());
    QCOMPARE(base.ws->Access.Permission, u"5_000"_s);
    QVERIFY(window.MenuItem(u"Zpětná rekonstrukce dat"_s)->isEnabled());

    window.Slot().EnterServiceMode();
    QVERIFY(!files->isEnabled() && !service->isEnabled());
    QVERIFY(!window.MenuItem(u"Zpětná rekonstrukce dat"_s)->isEnabled());
}

// Close

void TestMainWindow::closeSavesMarkedTables_data() {
    QTest::addColumn<int>("mark");  // ChangeFlags position, 0 none
    QTest::addColumn<QStringList>("saved");

    QTest::newRow("nothing changed") << 0 << QStringList();
    QTest::newRow("project table") << 1 << QStringList{u"NameAkce.csv"_s};
    QTest::newRow("deadline table") << 2 << QStringList{u"APr_NameAkce__303.csv"_s};
    QTest::newRow("finance table only") << 4 << QStringList{u"APr_NameAkce__303.csv"_s};
    QTest::newRow("task templates") << 6 << QStringList{u"NameUkony.csv"_s};
}

void TestMainWindow::closeSavesMarkedTables() {
    QFETCH(int, mark);
    QFETCH(QStringList, saved);
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto before = Snapshot(base, kDataFiles);
    if (mark) base.ws->SetChanged(mark, true);

    QVERIFY(window.close());
    QVERIFY(window.Closed());
    QCOMPARE(ChangedFiles(base, before), saved);
    QCOMPARE(Holder(base), kFree);
    QVERIFY(!window.Slot().PollRunning() && !window.Slot().InactivityRunning());
    QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error), QStringList());
}

void TestMainWindow::closeSequenceRunsOnce() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.show();
    QVERIFY(window.CloseSequence(false));
    QCOMPARE(Holder(base), kFree);

    // A second request (the window closing after a signal) saves nothing more.
    const auto before = Snapshot(base, kDataFiles + QStringList{kIni});
    base.ws->SetChanged(kChangedProjects, true);
    QVERIFY(window.close());
    QCOMPARE(ChangedFiles(base, before), QStringList());
}

void TestMainWindow::failedSaveAtClose_data() {
    QTest::addColumn<bool>("endAnyway");
    QTest::newRow("stays open") << false;
    QTest::newRow("ends without the changes") << true;
}

void TestMainWindow::failedSaveAtClose() {
    QFETCH(bool, endAnyway);
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The register cannot be written: a folder took its name.
    QVERIFY(QFile::remove(base.Path(u"NameAkce.csv"_s)));
    QVERIFY(QDir(base.Dir()).mkdir(u"NameAkce.csv"_s));
    base.ws->SetChanged(kChangedProjects, true);
    base.prompter.answers = {endAnyway};

    QCOMPARE(window.close(), endAnyway);
    QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error).size(), 1);
    QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question),
             QStringList{u"Změněná data se nepodařilo uložit.\r\nUkončit program bez uložení "
                         u"změn ?"_s});
    QCOMPARE(window.isVisible(), !endAnyway);
    QCOMPARE(window.Closed(), endAnyway);
    // Kept open, the user still holds the slot and may try again.
    QCOMPARE(Holder(base), endAnyway ? kFree : kUser);
    QVERIFY(base.ws->Changed(kChangedProjects));
}

void TestMainWindow::readOnlyUserSavesNothing() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, u"Petr Dvořák"_s);
    const auto before = Snapshot(base, kDataFiles + QStringList{kIni});
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.show();

    const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY(
        errors.first().startsWith(u"Program je již použiván uživatelem :\r\n\r\nPetr Dvořák"_s));
    QCOMPARE(base.ws->Access.Permission, u"1_000"_s);
    auto* permission = window.findChild<QLabel*>(u"Opravneni"_s);
    QCOMPARE(permission->text(),
             u"Připojení obsazeno Petr Dvořák   / Jmeno Prijmeni / Oprávnění 1_000"_s);
    QCOMPARE(permission->palette().color(QPalette::Window), QColor(Qt::red));
    // Red as drawn, not only in the palette.
    QCOMPARE(permission->grab().toImage().pixelColor(1, 1), QColor(Qt::red));
    QVERIFY(window.Slot().PollRunning());
    // The log-in is recorded for a read-only user as well.
    QCOMPARE(LinesStarting(base, kLog, u"Přihlášení uživatele_____;"_s).size(), 1);

    base.ws->ChangeFlags = u"1111111"_s;
    QVERIFY(window.close());
    QCOMPARE(ChangedFiles(base, before), QStringList());
}

// Commands

void TestMainWindow::sortCommands_data() {
    QTest::addColumn<QString>("permission");
    QTest::addColumn<QString>("clicked");  // the grid clicked last
    QTest::addColumn<bool>("popup");       // the grid's pop-up instead of the main menu
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<bool>("refused");

    QTest::newRow("menu, level 2") << u"2_000"_s << u"SG_Prubeh"_s << false << false << true;
    QTest::newRow("menu, level 3") << u"3_000"_s << u"SG_Prubeh"_s << false << true << false;
    QTest::newRow("menu, finance clicked last")
        << u"3_000"_s << u"SG_Finance"_s << false << false << false;
    QTest::newRow("pop-up, level 2") << u"2_000"_s << u"SG_Prubeh"_s << true << false << true;
    QTest::newRow("pop-up, level 3") << u"3_000"_s << u"SG_Prubeh"_s << true << true << false;
}

void TestMainWindow::sortCommands() {
    QFETCH(QString, permission);
    QFETCH(QString, clicked);
    QFETCH(bool, popup);
    QFETCH(bool, sorted);
    QFETCH(bool, refused);
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Workspace& w = *base.ws;
    w.Access.Permission = permission;
    const QStringList steps = {u"Podpis smlouvy"_s, u"Výstavba"_s, u"Kolaudace"_s};
    QCOMPARE(ColumnTexts(w.Deadlines, Deadline::Step), steps);

    // Column 4 ("Proces") of the deadline grid, then perhaps a finance cell.
    QTableView* deadlines = Grid(window, u"SG_Prubeh"_s);
    ClickCell(deadlines, 0, Deadline::Step - 1);
    if (clicked == u"SG_Finance") ClickCell(Grid(window, clicked), 0, Deadline::Step - 1);
    if (popup) {
        const QModelIndex cell = deadlines->model()->index(1, Deadline::Step - 1);
        emit deadlines->customContextMenuRequested(deadlines->visualRect(cell).center());
        auto* menu = deadlines->findChild<QMenu*>(u"PopupPrubeh"_s);
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QAction* sort = nullptr;
        for (QAction* item : menu->actions())
            if (item->text() == u"Setřídit podle sloupce 4") sort = item;
        QVERIFY(sort);
        sort->trigger();
        menu->hide();
    } else {
        // The caption names the column of the deadline grid's selected cell.
        window.MenuItem(u"Třídí data prubehu podle sloupce 4"_s)->trigger();
    }

    const QStringList messages = base.prompter.Texts(ScriptedPrompter::Kind::Information);
    QCOMPARE(messages.size(), refused ? 1 : 0);
    if (refused) QVERIFY(messages.first().startsWith(u"Nemáte oprávnění pro tuto operaci  - "_s));
    const QStringList order = sorted ? QStringList{steps[2], steps[0], steps[1]} : steps;
    QCOMPARE(ColumnTexts(w.Deadlines, 4), order);
    // The deadline table's row numbers stay in place.
    QCOMPARE(ColumnTexts(w.Deadlines, 0), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    QCOMPARE(w.Changed(kChangedDeadlines), sorted);
    QCOMPARE(LinesStarting(base, kLog, u"Setřídění průběhů________;"_s).size(), sorted ? 1 : 0);
}

void TestMainWindow::fileErrorInCommandKeepsData() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.Slot().EnterServiceMode();
    QVERIFY(window.MenuItem(u"&Soubory"_s)->isEnabled());
    QVERIFY(QDir(base.Dir()).mkdir(u"Slozka"_s));
    const QStringList names = ColumnTexts(base.ws->Projects, 2);
    const int beeps = base.prompter.beeps;

    // The register is to be saved under a name that is a folder.
    base.prompter.chosenFiles = {base.Path(u"Slozka"_s)};
    window.MenuItem(u"Uložit popis akcí . CSV"_s)->trigger();

    const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(
        errors.first().startsWith(u"Chyba při práci se souborem:\n"_s + base.Path(u"Slozka"_s)),
        qPrintable(errors.first()));
    // The command stopped before its closing beep; the data stay.
    QCOMPARE(base.prompter.beeps, beeps);
    QCOMPARE(ColumnTexts(base.ws->Projects, 2), names);
    QVERIFY(QFileInfo(base.Path(u"Slozka"_s)).isDir());
}

void TestMainWindow::saveAllReportsKeptFiles() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.Slot().EnterServiceMode();
    const auto before = Snapshot(base, kDataFiles);

    window.MenuItem(u"Uloží Hromadně ze seznamu Průběhy Akcí .CSV"_s)->trigger();
    // Only the loaded project's file is written; the others are reported.
    QCOMPARE(ChangedFiles(base, before), QStringList{u"APr_NameAkce__303.csv"_s});
    const QStringList messages = base.prompter.Texts(ScriptedPrompter::Kind::Information);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().endsWith(u"\r\n\r\nAPr_NameAkce__101.csv\r\nAPr_NameAkce__202.csv"_s));
}

void TestMainWindow::generateForCurrentProject_data() {
    QTest::addColumn<int>("projectRow");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("second project") << 2 << QStringList{u"APr_NameAkce__202.csv"_s};
    // Row 0 would regenerate every project's file.
    QTest::newRow("no current project") << 0 << QStringList();
}

void TestMainWindow::generateForCurrentProject() {
    QFETCH(int, projectRow);
    QFETCH(QStringList, written);
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.Slot().EnterServiceMode();
    base.ws->Current().SetProjectRow(projectRow);
    const auto before = Snapshot(base, kDataFiles);

    QMenu* service = window.MenuItem(u"Obsluha"_s)->menu();
    QVERIFY(service);
    emit service->aboutToShow();
    QAction* item = window.MenuItem(u"Vygenerovat data k akci "_s + QString::number(projectRow));
    QVERIFY(item);
    item->trigger();
    QCOMPARE(ChangedFiles(base, before), written);
}

void TestMainWindow::chooseFileLocations() {
    Workspace& w = ws();
    const QString templates = w.config.SouborUkony;
    const QString diary = w.config.CestaDennik;
    base_->prompter.chosenFiles = {base_->Path(u"data/NameAkce2.csv"_s),
                                   QString(),
                                   base_->Path(u"data/Lidi.csv"_s),
                                   base_->Path(u"texty/Pozn.TXT"_s),
                                   base_->Path(u"zmeny/Zmeny_2026-11.csv"_s),
                                   QString(),
                                   base_->Path(u"foto/most.jpg"_s)};
    Sledovani window(w);
    window.ChooseFileLocations();

    QStringList titles;
    for (const auto& entry : base_->prompter.log)
        if (entry.kind == ScriptedPrompter::Kind::OpenDialog) titles << entry.text;
    QCOMPARE(titles, (QStringList{u"Otevření Akcí"_s, u"Otevření úkonů"_s, u"Otevření Osob"_s,
                                  u"Umístění poznámek"_s, u"Umístění změn"_s, u"Umístění denníku"_s,
                                  u"Umístění Foto"_s}));
    QCOMPARE(w.config.Cesta, u"data/"_s);
    QCOMPARE(w.config.SouborAkce, u"NameAkce2.csv"_s);
    QCOMPARE(w.config.SouborUkony, templates);  // cancelled
    QCOMPARE(w.config.SouborLidi, u"Lidi.csv"_s);
    QCOMPARE(w.config.CestaTXT, u"texty/"_s);
    QCOMPARE(w.config.SouborPoznamky, u"Pozn.TXT"_s);
    QCOMPARE(w.config.CestaZmeny, u"zmeny/"_s);
    QCOMPARE(w.config.CestaDennik, diary);  // cancelled
    QCOMPARE(w.config.CestaFoto, u"foto/"_s);
    // Nothing was loaded.
    QCOMPARE(w.Projects.Cell(Project::Number, 1), u"101"_s);
}

// Grids

void TestMainWindow::clickRecordsCurrentItem() {
    ws().config.SettingsFlags = kFourTables;
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Workspace& w = ws();

    w.Access.InactivityCounter = 15;
    ClickCell(Grid(window, u"SG_Prubeh"_s), 2, 5);
    QCOMPARE(w.Current().Kind(), int(kDeadlineTable));
    QCOMPARE(w.Current().Column(), 6);
    QCOMPARE(w.Current().Row(), 3);
    QCOMPARE(w.Access.InactivityCounter, 0);
    QCOMPARE(window.findChild<QLabel*>(u"Informace"_s)->text(), u"1/6/3"_s);

    ClickCell(Grid(window, u"SG_Finance"_s), 0, 8);
    QCOMPARE(w.Current().Kind(), int(kFinanceTable));
    QCOMPARE(w.Current().Column(), 9);
    QCOMPARE(w.Current().Row(), 1);

    // A selection made by the program moves the grid without making a new current item.
    w.RevealGridCell(kDeadlineTable, 5, 2);
    QCOMPARE(Grid(window, u"SG_Prubeh"_s)->currentIndex(),
             Grid(window, u"SG_Prubeh"_s)->model()->index(1, 4));
    QCOMPARE(w.Current().Kind(), int(kFinanceTable));
}

void TestMainWindow::templateEditMarksTemplates() {
    ws().config.SettingsFlags = kFourTables;
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableView* templates = Grid(window, u"SG_Ukony"_s);
    const QModelIndex cell = templates->model()->index(0, 3);
    templates->scrollTo(cell);
    const QPoint centre = templates->visualRect(cell).center();
    QTest::mouseClick(templates->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(templates->viewport(), Qt::LeftButton, {}, centre);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, u"Kolaudace"_s);
    QTest::keyClick(editor, Qt::Key_Return);

    // The editor hands its text over after the key press.
    QTRY_COMPARE(ws().Templates.Cell(Template::Step, 1), u"Kolaudace"_s);
    QCOMPARE(ws().ChangeFlags, u"0000010"_s);

    // The other tables refuse an edit.
    QAbstractItemModel* deadlines = Grid(window, u"SG_Prubeh"_s)->model();
    QVERIFY(!deadlines->setData(deadlines->index(0, 3), u"Kolaudace"_s));
    QCOMPARE(ws().Deadlines.Cell(Deadline::Step, 1), u"Podpis smlouvy"_s);
    QCOMPARE(ws().ChangeFlags, u"0000010"_s);
}

void TestMainWindow::rowMovesChangeTheTable_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("changeFlag");
    QTest::addColumn<bool>("numbersStay");

    QTest::newRow("projects") << u"SG_Akce"_s << int(kProjectTable) << 1 << false;
    QTest::newRow("deadlines") << u"SG_Prubeh"_s << int(kDeadlineTable) << 2 << true;
    QTest::newRow("task templates") << u"SG_Ukony"_s << int(kTemplateTable) << 6 << false;
}

void TestMainWindow::rowMovesChangeTheTable() {
    QFETCH(QString, grid);
    QFETCH(int, kind);
    QFETCH(int, changeFlag);
    QFETCH(bool, numbersStay);
    ws().config.SettingsFlags = kFourTables;
    Sledovani window(ws());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Table& table = *ws().TableOf(kind);
    const int last = table.RowCount() - 1;
    QVERIFY(last >= 2);
    const QStringList numbers = ColumnTexts(table, 0);
    QStringList firsts = ColumnTexts(table, 1);

    // The first row dragged below the last one.
    QHeaderView* rows = Grid(window, grid)->verticalHeader();
    rows->moveSection(0, last - 1);
    firsts.move(0, last - 1);
    QCOMPARE(ColumnTexts(table, 1), firsts);
    QStringList movedNumbers = numbers;
    if (!numbersStay) movedNumbers.move(0, last - 1);
    QCOMPARE(ColumnTexts(table, 0), movedNumbers);
    QCOMPARE(rows->visualIndex(0), 0);  // the grid shows the table's order
    QCOMPARE(Grid(window, grid)->model()->index(last - 1, 0).data().toString(), firsts.last());
    QVERIFY(ws().Changed(changeFlag));
}

// The program itself

void TestMainWindow::terminationSavesAndFreesSlot_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

namespace {

// Runs the desktop program on the base directory, with its lock file there too.
void StartProgram(QProcess& orva, const TempBase& base) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_RUNTIME_DIR"_s, base.Dir());
    orva.setProcessEnvironment(environment);
    orva.setWorkingDirectory(base.Dir());
    orva.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    orva.start(QStringLiteral(ORVA_APP), {});
}

}  // namespace

void TestMainWindow::terminationSavesAndFreesSlot() {
    QFETCH(int, signalNumber);
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    QProcess orva;
    StartProgram(orva, base);
    QVERIFY(orva.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(Holder(base), kUser, 30000);
    const QString lock = SingleInstance(DefaultUserKey(), base.Dir()).LockPath();
    QVERIFY(QFileInfo::exists(lock));

    ::kill(pid_t(orva.processId()), signalNumber);
    QVERIFY(orva.waitForFinished(30000));
    QCOMPARE(orva.exitStatus(), QProcess::NormalExit);
    QCOMPARE(orva.exitCode(), 0);
    QCOMPARE(Holder(base), kFree);
    QVERIFY(!QFileInfo::exists(lock));
}

// A user who may change nothing leaves the slot free for the others while the
// program runs and after it was ended.
void TestMainWindow::readOnlyProgramLeavesTheSlotFree() {
    TempBase base;
    WriteSampleData(base);
    base.WriteLines(kIni, {u"[Nastavení]"_s, u"Nastavení="_s + kFourTables, u"[Přístup]"_s,
                           DefaultUserKey() + u"=Čtenář/"_s + ScramblePassword(u"h"_s) +
                               u"/1_000/"_s + ScramblePassword(u"a"_s),
                           u"Pripojen="_s + kFree});
    const QByteArray ini = base.Bytes(kIni);
    QProcess orva;
    StartProgram(orva, base);
    QVERIFY(orva.waitForStarted());
    // The log-in record is written once the start-up has dealt with the slot.
    QTRY_VERIFY_WITH_TIMEOUT(
        base.Exists(kLog) && !LinesStarting(base, kLog, u"Přihlášení"_s).isEmpty(), 30000);
    QCOMPARE(Holder(base), kFree);

    ::kill(pid_t(orva.processId()), SIGTERM);
    QVERIFY(orva.waitForFinished(30000));
    QCOMPARE(orva.exitCode(), 0);
    QCOMPARE(base.Bytes(kIni), ini);
}

void TestMainWindow::lockOfCrashedCopyIsStale() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    QProcess orva;
    StartProgram(orva, base);
    QVERIFY(orva.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(Holder(base), kUser, 30000);
    SingleInstance next(DefaultUserKey(), base.Dir());
    QVERIFY(!next.TryAcquire());

    orva.kill();
    QVERIFY(orva.waitForFinished(30000));
    QVERIFY(QFileInfo::exists(next.LockPath()));
    QVERIFY(next.TryAcquire());
}

// "Diagram Gantt" opens the diagram; its "Popis" box and the menu item
// "Zobrazit popis do Ganttu" follow each other.
void TestMainWindow::ganttFromMenuFollowsCaptions() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.CreateWindows();
    Diagram* gantt = window.Gantt();
    QVERIFY(gantt && !gantt->isVisible());
    window.MenuItem(u"Diagram Gantt"_s)->trigger();
    QVERIFY(gantt->isVisible());
    auto* captions = gantt->findChild<QCheckBox*>(u"Popis"_s);
    QAction* item = window.MenuItem(u"Zobrazit popis do Ganttu"_s);
    QVERIFY(captions && item);
    item->setChecked(!captions->isChecked());
    QCOMPARE(captions->isChecked(), item->isChecked());
    captions->click();
    QCOMPARE(item->isChecked(), captions->isChecked());
    QCOMPARE(base.ws->config.Flag(kFlagGanttCaptions), captions->isChecked());
    gantt->close();
}

// "Poznámky" shows the notes file in the editor; what the user types there is
// written back by the close sequence.
void TestMainWindow::notesEditedAreSavedAtTheClose() {
    TempBase base;
    WriteSampleData(base);
    WriteIni(base, kFree);
    base.WriteLines(u"Poznamky.TXT"_s, {u"první"_s});
    Sledovani window(*base.ws);
    QVERIFY(window.StartUp());
    window.CreateWindows();
    window.MenuItem(u"Poznámky"_s)->trigger();
    Edit* editor = window.NotesEditor();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->TextArea()->toPlainText(), u"první"_s);
    editor->TextArea()->moveCursor(QTextCursor::End);
    editor->TextArea()->insertPlainText(u" a druhá"_s);
    QVERIFY(window.CloseSequence(false));
    QCOMPARE(base.Lines(u"Poznamky.TXT"_s), (QStringList{u"první a druhá"_s, u""_s}));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
