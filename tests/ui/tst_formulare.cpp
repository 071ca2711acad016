#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Sorting.h"
#include "editing/Formulare.h"
#include "editing/Links.h"
#include "editing/TableRows.h"
#include "shell/Access.h"

namespace {

const QString kLog = QStringLiteral("Zmeny_2026-12.csv");
const QString kStamp = QStringLiteral(";09.12.2026 - 10:30;Jmeno Prijmeni;Uzivatel_TEST;");

QString RowRecord(const QString& label, const Table& t, int row) {
    QString line = label + kStamp;
    for (int c = 0; c <= t.ColumnCount(); ++c) line += t.Cell(c, row) + u';';
    return line;
}

// A register of two projects and the progress file of project 001, loaded as
// at start-up; a change log of this month exists already.
struct Base {
    TempBase base;
    Workspace& ws = *base.ws;

    Base() {
        base.WriteLines(QStringLiteral("NameAkce.csv"), TwoRoadProjectsRegister());
        const QStringList progress{
            "Akce ORVA;01.12.2026",
            "Akce - Projekt Číslo ;001",
            "Termíny",
            "T-001;Realizace;Stavba;Průběh;01.03.2026;30.06.2026;02.03.2026;;121;;;T-001-01//"
            ";;;;;;",
            "T-001;Realizace;Stavba;Výstavba;10.03.2026;20.05.2026;10.03.2026;;71;;;"
            "T-001-02/N-T-001-01/;info;;;;;",
            "F-001;1.Etapa;;Plán;01.03.2026;30.06.2026;;15.07.2026;500,00;0,00;600,00;F-001-01/;"
            "etapa;;;;;",
            "F-001;Platba_Faktura_1;Stavba;Plnění;01.10.2026;31.10.2026;05.10.2026;;0,00;100,00;"
            "1000,00;F-001-02/;fakturace;Fa 1;;;;"};
        base.WriteLines(QStringLiteral("APr_NameAkce__001.csv"), progress);
        QStringList other = progress;
        other.replaceInStrings(QStringLiteral("001"), QStringLiteral("002"));
        base.WriteLines(QStringLiteral("APr_NameAkce__002.csv"), other);
        LoadProjectRegister(ws, QStringLiteral("NameAkce.csv"));
        LoadProgress(ws, QStringLiteral("APr_NameAkce__001.csv"));
        ws.Access.Permission = QStringLiteral("3_000");
        ws.config.SetFlag(kFlagFollowLinks, false);
        ws.config.SetFlag(kFlagSyncStages, false);
        ws.config.SetFlag(kFlagWarnBeforeChange, false);
        ws.ChangeFlags = QStringLiteral("0000000");
        base.WriteLines(kLog, {QStringLiteral("x")});
    }
};

template <typename T>
T* Child(const QWidget& w, const QString& name) {
    T* child = w.findChild<T*>(name);
    if (!child) qFatal("no child %s", qPrintable(name));
    return child;
}

void Click(const QWidget& w, const QString& button) {
    QTest::mouseClick(Child<QPushButton>(w, button), Qt::LeftButton);
}

// The items of a table, each row's cells without its number and blanks, in
// text order: what must stay when a row is stored over itself.
QStringList Items(const Table& t) {
    QStringList items;
    for (int r = 1; r < t.RowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c <= t.ColumnCount(); ++c) cells << t.Cell(c, r).trimmed();
        items << cells.join(u';');
    }
    items.sort();
    return items;
}

// What happens to the tables while the entry window shows an item.
enum class Meanwhile { Sort, Renumber, DeleteAbove, Reload, SuperiorLink, PredecessorLink };

}  // namespace

class TestFormulare : public QObject {
    Q_OBJECT

  private slots:
    void showsDeadlineWithStatus();
    void changeStoresAndLogs();
    void refusedWithoutRight_data();
    void refusedWithoutRight();
    void financeLayouts();
    void amountsFollowTheMark();
    void deadlineStageLocksPlan();
    void userTurnsPage();
    void choosingProjectLoadsItsFile();
    void dateMemory();
    void changeStoresTheItemShown_data();
    void changeStoresTheItemShown();
    void cancelDropsWhatWasTyped();
    void typedDates_data();
    void typedDates();
};

void TestFormulare::showsDeadlineWithStatus() {
    Base b;
    Formulare form(b.ws);
    QCOMPARE(form.objectName(), QStringLiteral("Formulare"));
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(b.ws.CheckListing.first(), QStringLiteral("1 1 Form8.FormCreate"));
    QSignalSpy status(&form, &Formulare::statusChanged);
    QSignalSpy revealed(&b.ws, &Workspace::gridCellRevealed);
    form.ShowItem(kDeadlineTable, 2);

    QCOMPARE(Child<QTabWidget>(form, "TabbedNotebook1")->currentIndex(), 1);
    QCOMPARE(Child<QComboBox>(form, "Termin_Proces")->currentText(), QStringLiteral("Výstavba"));
    QCOMPARE(Child<QComboBox>(form, "Termin_TypZapisu")->currentText(), QStringLiteral("T"));
    QCOMPARE(Child<QComboBox>(form, "Termin_CisloAkce")->currentText(), QStringLiteral("001"));
    QCOMPARE(Child<QLineEdit>(form, "Termin_ID")->text(), QStringLiteral("T-001-02/N-T-001-01/"));
    QCOMPARE(Child<QDateEdit>(form, "Termin_PlanDo")->date(), QDate(2026, 5, 20));
    QCOMPARE(Child<QDateEdit>(form, "Termin_SkutecnostDo")->date(), QDate(1900, 1, 2));
    QCOMPARE(Child<QSpinBox>(form, "Termin_TrvaniDny")->value(), 71);
    QCOMPARE(Child<QLabel>(form, "Polozka")->text(), QStringLiteral("Termíny 2"));
    // Not finished though planned to end in May: three for the late end.
    const QLabel* label = Child<QLabel>(form, "Stav");
    QCOMPARE(label->text(), QStringLiteral("Chyba termínu 3"));
    QVERIFY(label->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::Window), QColor(0x00, 0xFF, 0x00));
    QCOMPARE(status.last().at(0).toString(), QStringLiteral("Chyba termínu 3"));
    QCOMPARE(b.ws.Current().Kind(), int(kDeadlineTable));
    QCOMPARE(b.ws.Current().Row(), 2);
    // A grid click does not select a grid cell back.
    QCOMPARE(revealed.size(), 0);
    // The service fields are locked.
    QVERIFY(!Child<QLineEdit>(form, "Termin_ID")->isEnabled());
}

void TestFormulare::changeStoresAndLogs() {
    Base b;
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy stored(&form, &Formulare::itemStored);
    form.ShowItem(kDeadlineTable, 2);
    const QString before =
        RowRecord(QStringLiteral("Původní_přepsaná_položka_"), b.ws.Deadlines, 2);
    Child<QDateEdit>(form, "Termin_SkutecnostDo")->setDate(QDate(2026, 5, 19));
    Click(form, "Zmenit");

    const Table& t = b.ws.Deadlines;
    QCOMPARE(t.Cell(Deadline::ActualEnd, 2), QStringLiteral("19.05.2026"));
    QCOMPARE(t.Cell(Deadline::ActualStart, 2), QStringLiteral("10.03.2026"));
    QCOMPARE(t.Cell(Deadline::Duration, 2), QStringLiteral("71"));
    QCOMPARE(b.base.Bytes(kLog),
             Cp1250Lines({QStringLiteral("x"), before,
                          RowRecord(QStringLiteral("Nově_upravená_položka____"), t, 2)}));
    QCOMPARE(b.ws.ChangeFlags, QStringLiteral("0100000"));
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first(), (QVariantList{int(kDeadlineTable), 2}));
    const QLabel* label = Child<QLabel>(form, "Stav");
    QCOMPARE(label->text(), QStringLiteral("Termín OK"));
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::Window), form.palette().color(QPalette::Window));
}

void TestFormulare::refusedWithoutRight_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("kind");
    QTest::newRow("Změnit") << "Zmenit" << int(kDeadlineTable);
    QTest::newRow("Přidat copy") << "Pridat_copy" << int(kFinanceTable);
    QTest::newRow("Přidat prázdnou") << "Pridat_prazdnou" << int(kDeadlineTable);
    QTest::newRow("Smazat") << "Smazat" << int(kFinanceTable);
}

void TestFormulare::refusedWithoutRight() {
    QFETCH(QString, button);
    QFETCH(int, kind);
    Base b;
    b.ws.Access.Permission = QStringLiteral("2_000");
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowItem(kind, 2);
    Child<QDateEdit>(form,
                     kind == kDeadlineTable ? "Termin_SkutecnostDo" : "Finance_DatumZaplaceni")
        ->setDate(QDate(2026, 11, 30));
    const Table& t = *b.ws.TableOf(kind);
    const int rows = t.RowCount();
    const QString row2 = RowRecord(QString(), t, 2);
    Click(form, button);
    QCOMPARE(b.base.prompter.Texts(ScriptedPrompter::Kind::Information),
             QStringList{QStringLiteral("Nemáte oprávnění pro tuto operaci  - 001") +
                         QString::fromUtf16(kRefusalHint)});
    QCOMPARE(t.RowCount(), rows);
    QCOMPARE(RowRecord(QString(), t, 2), row2);
    QCOMPARE(b.base.Lines(kLog), QStringList{QStringLiteral("x")});
    QCOMPARE(b.ws.ChangeFlags, QStringLiteral("0000000"));
    QCOMPARE(b.ws.Current().Row(), 2);
}

void TestFormulare::financeLayouts() {
    Base b;
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowItem(kFinanceTable, 2);
    const QLabel* label = Child<QLabel>(form, "Stav");
    // Due on 31 October, unpaid, counted as paid ten days before today.
    QCOMPARE(label->text(), QStringLiteral("Pozdní platba 29"));
    QCOMPARE(label->palette().color(QPalette::Window), QColor(0xFF, 0x00, 0xFF));
    QVERIFY(label->isVisible());
    QVERIFY(Child<QDateEdit>(form, "Finance_DatumZarazeni")->isVisible());
    QVERIFY(!Child<QLineEdit>(form, "Finance_Uznane")->isVisible());
    QCOMPARE(Child<QLabel>(form, "Finance_Celkem_Popis")->text(),
             QStringLiteral("Celková částka Včetně DPH"));
    QCOMPARE(Child<QLineEdit>(form, "Finance_Zpusobile")->text().trimmed(),
             QStringLiteral("900,00"));
    QVERIFY(!Child<QLabel>(form, "Realny_termin")->isVisible());

    form.ShowItem(kFinanceTable, 1);
    QCOMPARE(label->text(), QStringLiteral("Zaplaceno"));
    QVERIFY(!label->isVisible());
    QVERIFY(!Child<QDateEdit>(form, "Finance_DatumZarazeni")->isVisible());
    QVERIFY(Child<QLineEdit>(form, "Finance_Uznane")->isVisible());
    QCOMPARE(Child<QLabel>(form, "Finance_DatumDoruceni_Popis")->text(),
             QStringLiteral("Datum počátku PLÁN"));
    QCOMPARE(Child<QLineEdit>(form, "Finance_Uznane")->text().trimmed(), QStringLiteral("500,00"));

    // Typing "J" hides the amounts; the letter comes from the finance page itself.
    Child<QComboBox>(form, "Finance_TypZapisu")->setCurrentText(QStringLiteral("J"));
    QVERIFY(!Child<QLineEdit>(form, "Finance_Celkem")->isVisible());
    QVERIFY(!Child<QRadioButton>(form, "Finance_Oznacit_Celkem")->isVisible());
}

void TestFormulare::amountsFollowTheMark() {
    Base b;
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowItem(kFinanceTable, 2);
    QLineEdit* total = Child<QLineEdit>(form, "Finance_Celkem");
    QLineEdit* ineligible = Child<QLineEdit>(form, "Finance_Nezpusobile");
    QLineEdit* eligible = Child<QLineEdit>(form, "Finance_Zpusobile");
    QVERIFY(!eligible->isEnabled());
    total->clear();
    QTest::keyClicks(total, QStringLiteral("1500"));
    QCOMPARE(eligible->text().trimmed(), QStringLiteral("1 400,00").replace(u' ', QChar(160)));
    QTest::mouseClick(Child<QRadioButton>(form, "Finance_Oznacit_Nezpusobile"), Qt::LeftButton);
    QVERIFY(!ineligible->isEnabled());
    QVERIFY(eligible->isEnabled());
    eligible->clear();
    QTest::keyClicks(eligible, QStringLiteral("1000"));
    QCOMPARE(ineligible->text().trimmed(), QStringLiteral("500,00"));

    Click(form, "Zmenit");
    QCOMPARE(b.ws.Finance.Cell(Finance::Total, 2).trimmed(),
             QStringLiteral("1 500,00").replace(u' ', QChar(160)));
    QCOMPARE(b.ws.Finance.Cell(Finance::Ineligible, 2).trimmed(), QStringLiteral("500,00"));
    // The invoice layout stores no recognised amount.
    QCOMPARE(b.ws.Finance.Cell(Finance::Eligible, 2), QString());
    QCOMPARE(b.ws.ChangeFlags, QStringLiteral("0001000"));
}

void TestFormulare::deadlineStageLocksPlan() {
    Base b;
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowItem(kDeadlineTable, 1);
    QComboBox* activity = Child<QComboBox>(form, "Termin_Cinnost");
    QVERIFY(Child<QDateEdit>(form, "Termin_PlanOd")->isEnabled());
    QVERIFY(Child<QPushButton>(form, "Pridat_copy")->isEnabled());
    activity->setCurrentText(QStringLiteral("1.Etapa"));
    QVERIFY(!Child<QDateEdit>(form, "Termin_PlanOd")->isEnabled());
    QVERIFY(!Child<QWidget>(form, "Termin_PlanDo_X")->isEnabled());
    QVERIFY(Child<QWidget>(form, "Termin_PlanDo_M")->isEnabled());
    QVERIFY(!Child<QSpinBox>(form, "Termin_TrvaniDny")->isEnabled());
    QVERIFY(!Child<QPushButton>(form, "Pridat_copy")->isEnabled());
    // The project page has no stage: its projects can always be added.
    Child<QTabWidget>(form, "TabbedNotebook1")->setCurrentIndex(0);
    QVERIFY(Child<QPushButton>(form, "Pridat_copy")->isEnabled());
}

void TestFormulare::userTurnsPage() {
    Base b;
    Formulare form(b.ws);
    QSignalSpy pages(&form, &Formulare::pageChanged);
    QSignalSpy revealed(&b.ws, &Workspace::gridCellRevealed);
    b.ws.Current().SetProjectRow(2);
    Child<QTabWidget>(form, "TabbedNotebook1")->setCurrentIndex(0);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.first().first().toInt(), int(kProjectTable));
    QCOMPARE(b.ws.Current().Kind(), int(kProjectTable));
    QCOMPARE(b.ws.Current().ProjectRow(), 1);
    QCOMPARE(revealed.size(), 1);
    QCOMPARE(revealed.first(), (QVariantList{int(kProjectTable), 2, 1}));
    QCOMPARE(b.ws.CheckListing.last(), QStringLiteral("2 1 TabbedNotebook1Change"));
    QCOMPARE(Child<QComboBox>(form, "Akce_NazevAkce")->currentText(),
             QStringLiteral("Silnice Určice"));
    QCOMPARE(Child<QLineEdit>(form, "Akce_Dotace")->text(), QStringLiteral("92,5"));
    QCOMPARE(Child<QDateEdit>(form, "Akce_DatumDo")->date(), QDate(2027, 12, 31));
    QCOMPARE(Child<QLabel>(form, "Polozka")->text(), QStringLiteral("Projekt 1"));

    // Another window turns the page: no grid cell is selected.
    form.SetPage(Formulare::kFinancePage);
    QCOMPARE(b.ws.Current().Kind(), int(kFinanceTable));
    QCOMPARE(b.ws.Current().Row(), 1);
    QCOMPARE(revealed.size(), 1);
}

void TestFormulare::choosingProjectLoadsItsFile() {
    Base b;
    Formulare form(b.ws);
    QSignalSpy chosen(&form, &Formulare::projectChosen);
    QComboBox* chooser = Child<QComboBox>(form, "Vyber_projektu");
    QCOMPARE(chooser->currentText(), QStringLiteral("001/ Silnice Určice"));
    // On the project page the buttons then act on the chosen project.
    form.ShowItem(kProjectTable, 1);
    emit chooser->textActivated(QStringLiteral("002/ Most přes Bečvu"));
    QCOMPARE(b.ws.Current().ProjectRow(), 2);
    QCOMPARE(b.ws.Current().Row(), 2);
    QCOMPARE(b.ws.config.SouborPopis, QStringLiteral("APr_NameAkce__002.csv"));
    QCOMPARE(b.ws.Deadlines.Cell(Deadline::KindAndProject, 1), QStringLiteral("T-002"));
    QCOMPARE(form.windowTitle(), QStringLiteral("APr_NameAkce__002.csv"));
    QCOMPARE(Child<QComboBox>(form, "Akce_CisloAkce")->currentText(), QStringLiteral("002"));
    QCOMPARE(Child<QLabel>(form, "Termin_Projekt")->text(), QStringLiteral("Most přes Bečvu"));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toString(), QStringLiteral("002/ Most přes Bečvu"));
}

void TestFormulare::dateMemory() {
    Base b;
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Activation shows the finance memory, the start-up moment, in both labels.
    QCOMPARE(Child<QLabel>(form, "Termin_PametData")->text(), QStringLiteral("9.12.2026"));
    form.ShowItem(kDeadlineTable, 2);
    QTest::mouseClick(Child<QWidget>(form, "Termin_PlanDo_M"), Qt::LeftButton);
    QCOMPARE(Child<QLabel>(form, "Termin_PametData")->text(), QStringLiteral("20.5.2026"));
    QTest::mouseClick(Child<QWidget>(form, "Termin_SkutecnostDo_Vlozit"), Qt::LeftButton);
    QCOMPARE(Child<QDateEdit>(form, "Termin_SkutecnostDo")->date(), QDate(2026, 5, 20));
    QTest::mouseClick(Child<QWidget>(form, "Termin_SkutecnostDo_X"), Qt::LeftButton);
    QCOMPARE(Child<QDateEdit>(form, "Termin_SkutecnostDo")->date(), QDate(1900, 1, 2));
    // "Splněno" on an item planned to end in May: finished as planned.
    Click(form, "Termin_Splneno");
    QCOMPARE(Child<QDateEdit>(form, "Termin_SkutecnostDo")->date(), QDate(2026, 5, 20));
    // The empty date is stored as an empty cell.
    Child<QDateEdit>(form, "Termin_SkutecnostOd")->setDate(QDate(1900, 1, 2));
    Click(form, "Zmenit");
    QCOMPARE(b.ws.Deadlines.Cell(Deadline::ActualStart, 2), QString());
    QCOMPARE(b.ws.Deadlines.Cell(Deadline::ActualEnd, 2), QStringLiteral("20.05.2026"));
}

void TestFormulare::changeStoresTheItemShown_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<Meanwhile>("meanwhile");
    QTest::addColumn<int>("rowAfter");  // where the item is then
    // The plan ends of the two deadline rows and the "Proces" of the two
    // finance rows are in reverse order.
    QTest::newRow("deadlines sorted") << int(kDeadlineTable) << 2 << Meanwhile::Sort << 1;
    QTest::newRow("finance sorted") << int(kFinanceTable) << 1 << Meanwhile::Sort << 2;
    QTest::newRow("identifiers renumbered") << int(kDeadlineTable) << 2 << Meanwhile::Renumber << 2;
    QTest::newRow("row above deleted") << int(kDeadlineTable) << 2 << Meanwhile::DeleteAbove << 1;
    QTest::newRow("other progress file loaded")
        << int(kDeadlineTable) << 2 << Meanwhile::Reload << 1;
    QTest::newRow("superior link recorded")
        << int(kDeadlineTable) << 1 << Meanwhile::SuperiorLink << 1;
    QTest::newRow("predecessor link recorded")
        << int(kDeadlineTable) << 1 << Meanwhile::PredecessorLink << 1;
}

// Whatever moves or rewrites rows while the window shows an item, "Změnit"
// stores that item over its own row, as the table holds it now.
void TestFormulare::changeStoresTheItemShown() {
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(Meanwhile, meanwhile);
    QFETCH(int, rowAfter);
    Base b;
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowItem(kind, row);
    LinkRecorder links(b.ws);
    switch (meanwhile) {
        case Meanwhile::Sort:
            if (kind == kDeadlineTable)
                SortDeadlineTable(b.ws, Deadline::PlanEnd);
            else
                SortFinanceTable(b.ws, Finance::Step);
            break;
        case Meanwhile::Renumber:
            RegenerateIds(b.ws);
            break;
        case Meanwhile::DeleteAbove:
            DeleteTableRow(b.ws, kind, 1, QStringLiteral("001"), {});
            break;
        case Meanwhile::Reload:
            LoadProgress(b.ws, QStringLiteral("APr_NameAkce__002.csv"));
            break;
        case Meanwhile::SuperiorLink:
            links.RecordSuperiorLink(2);
            QVERIFY(links.RecordSuperiorLink(1));
            break;
        case Meanwhile::PredecessorLink:
            links.RecordPredecessorLink(2);
            QVERIFY(links.RecordPredecessorLink(1));
            break;
    }
    const Table& t = *b.ws.TableOf(kind);
    QCOMPARE(b.ws.Current().Kind(), kind);
    QCOMPARE(b.ws.Current().Row(), rowAfter);
    const QString prefix = kind == kDeadlineTable ? "Termin_" : "Finance_";
    QCOMPARE(Child<QLineEdit>(form, prefix + "ID")->text(), t.Cell(Progress::Identifier, rowAfter));
    const QStringList items = Items(t);

    Click(form, "Zmenit");
    QCOMPARE(Items(t), items);
}

void TestFormulare::cancelDropsWhatWasTyped() {
    Base b;
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowItem(kDeadlineTable, 2);
    auto* note = Child<QLineEdit>(form, "Termin_Poznamka2");
    note->setText(QStringLiteral("rozepsáno"));
    Child<QDateEdit>(form, "Termin_SkutecnostDo")->setDate(QDate(2026, 5, 1));
    Click(form, "Storno");
    QVERIFY(!form.isVisible());

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(note->text(), QString());
    const Table& t = b.ws.Deadlines;
    const QString row = RowRecord(QString(), t, 2);
    Click(form, "Zmenit");
    QCOMPARE(RowRecord(QString(), t, 2), row);
}

void TestFormulare::typedDates_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");  // the cell before
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("over a shorter date") << "Termin_PlanDo"
                                         << "01.04.2026"
                                         << "30.11.2026"
                                         << "30.11.2026";
    QTest::newRow("without leading zeros") << "Termin_PlanDo"
                                           << "20.05.2026"
                                           << "5.2.2027"
                                           << "05.02.2027";
    QTest::newRow("with leading zeros") << "Termin_PlanDo"
                                        << "20.05.2026"
                                        << "05.02.2027"
                                        << "05.02.2027";
    QTest::newRow("day beyond the month shown") << "Termin_PlanDo"
                                                << "28.02.2027"
                                                << "31.12.2026"
                                                << "31.12.2026";
    QTest::newRow("into an empty date") << "Termin_SkutecnostDo"
                                        << ""
                                        << "30.11.2026"
                                        << "30.11.2026";
    QTest::newRow("nothing typed into an empty date") << "Termin_SkutecnostDo"
                                                      << ""
                                                      << ""
                                                      << "";
}

void TestFormulare::typedDates() {
    QFETCH(QString, field);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Base b;
    const int column = field == QLatin1String("Termin_PlanDo") ? 6 : 8;
    b.ws.Deadlines.SetCell(column, 2, shown);
    Formulare form(b.ws);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ShowItem(kDeadlineTable, 2);
    auto* edit = Child<QDateEdit>(form, field);
    // An empty date shows as an empty picker.
    if (shown.isEmpty()) QCOMPARE(edit->text().trimmed(), QString());
    if (!typed.isEmpty()) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    Click(form, "Zmenit");
    QCOMPARE(b.ws.Deadlines.Cell(column, 2), stored);
}

QTEST_MAIN(TestFormulare)
#include "tst_formulare.moc"
