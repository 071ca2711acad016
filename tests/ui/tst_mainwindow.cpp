#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <stdexcept>

#include "TestSupport.h"
#include "data/TextFile.h"
#include "main/ErrorHandler.h"
#include "main/Sledovani.h"
#include "main/TableModel.h"
#include "shell/StartUp.h"

using namespace Qt::StringLiterals;

namespace {

const QString kRegisterHeader = QStringLiteral(
    "Číslo akce;Název akce;Manager projektu;Technik projektu;Opatření;Aktivity;Dokument TXT;"
    "Dokument JPG;Poznámka;Dotace/ERDF;Plán celk.způs. Výdajů;Dotace;Datum od;Datum do;;");

// A base directory as another workstation leaves it: a register of three
// projects, task templates and every project's progress file.
void WriteSampleData(const TempBase& base) {
    base.WriteLines(
        QStringLiteral("NameAkce.csv"),
        {QStringLiteral(";Uloženo 01.12.2026"), QStringLiteral("Akce ORVA"), kRegisterHeader,
         QStringLiteral("101;Chodník Lipová;Jana Nováková;Petr Dvořák;2.1;Doprava;;;;"
                        "85/85;1234567,00;1049381,95;01.03.2026;30.11.2026;;"),
         QStringLiteral("202;Rekonstrukce školy;Karel Šťastný;Eva Černá;3.2;;;;;"
                        "75/80;9800000,00;7350000,00;15.01.2026;31.08.2027;;"),
         QStringLiteral("303;Cyklostezka Ohře;Jana Nováková;Tomáš Růžička;2.3;;;;;"
                        "85/85;560000,50;476000,43;01.06.2026;30.06.2027;;")});
    base.WriteLines(QStringLiteral("NameUkony.csv"),
                    {QStringLiteral("Akce ORVA"), QStringLiteral("Úkony Čas;01.12.2026"),
                     QStringLiteral("Akce číslo;Činnost;Zařazení;Upřesnění;Plán od;Plán DO;"
                                    "Skutečnost OD;Skutečnost DO;Trvání dny;Realný termín OD;"
                                    "Realný termín DO;ID-vnitřní;Info;Poznámka;Poznámka 2;"
                                    "Dokument TXT;;"),
                     QStringLiteral("Termíny;Realizace;Stavba;Výstavba;;;;;30;;;;;;;;;"),
                     QStringLiteral("Finance;Etapa_#_1;;Plán;;;;;0;;;;;etapa;;;;")});
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

// Runs answer on the modal dialog that the caller is about to open.
void AnswerModal(const std::function<void(QWidget*)>& answer, int attempts = 200) {
    QTimer::singleShot(attempts == 200 ? 0 : 10, qApp, [answer, attempts] {
        if (QWidget* modal = QApplication::activeModalWidget())
            answer(modal);
        else if (attempts > 0)
            AnswerModal(answer, attempts - 1);
    });
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

    void startUpFillsTheGrids();
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

    // Read-only until the editing commands exist.
    for (const QString& name : kGridNames)
        QVERIFY(!(Grid(window, name)->model()->flags(Grid(window, name)->model()->index(0, 4)) &
                  Qt::ItemIsEditable));
    for (QAction* menu : window.menuBar()->actions()) QVERIFY(!menu->isEnabled());
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
    ws().Projects.SetCell(0, 4, u"4"_s);
    ws().Projects.SetCell(1, 4, u"404"_s);
    ws().Projects.SetCell(2, 4, u"Most přes Ohři"_s);
    QCOMPARE(projects->model()->rowCount(), 3);
    ws().NotifyTable(kDeadlineTable);
    QCOMPARE(projects->model()->rowCount(), 3);
    ws().NotifyTable(kProjectTable);
    QCOMPARE(projects->model()->rowCount(), 4);
    QCOMPARE(Text(projects, 3, 1), QStringLiteral("Most přes Ohři"));
    // The reset keeps the table's column widths and the layout follows the new rows.
    QCOMPARE(projects->horizontalHeader()->sectionSize(1), 130);
    QCOMPARE(projects->horizontalHeader()->sectionSize(8), ws().Projects.DefaultColumnWidth());
    QCOMPARE(projects->height(), (5 + 1) * Sledovani::kRowHeight + 8);

    // Results written below the two fixed rows.
    ws().Results.SetCell(5, 4, u"01.01.2026"_s);
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
    const QColor header = model->table().HeaderColor();
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
