#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextDocument>
#include <QtTest>
#include <memory>

#include "FinanceFixture.h"
#include "TestSupport.h"
#include "data/Columns.h"
#include "finance/DenVystup.h"
#include "finance/FinanceOverview.h"

using namespace Qt::StringLiterals;
using namespace FinanceFixture;

namespace {

template <typename T>
T* Child(const QObject& parent, const QString& name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no child %s", qPrintable(name));
    return child;
}

}  // namespace

class TestDenVystup : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void options_data();
    void options();
    void followsChoicesMadeElsewhere();
    void showOverviewRow_data();
    void showOverviewRow();
    void resultsTableSelection();
    void buttons();

  private:
    std::unique_ptr<TempBase> base_;
    std::unique_ptr<DenVystup> window_;
    Workspace& ws() { return *base_->ws; }
    DenVystup& window() { return *window_; }
    // The label's text with the amounts' thousands separators as blanks.
    QString Label(const QString& name) {
        return Child<QLabel>(window(), name)->text().replace(QChar(0xA0), u' ');
    }
};

// Project 101 with two overlapping stages and two invoices: one in June (in
// both stages), one in 2028 (in none).
void TestDenVystup::init() {
    base_ = std::make_unique<TempBase>();
    SetProjects(
        ws(), {{"101", "Chodník", "80/85", "3000", "2400", "01.01.2026", "31.12.2026", "[101/202]"},
               {"202", "Škola", "75/80", "5000", "3750", "01.01.2026", "31.12.2027"}});
    WriteProgress(*base_, "101",
                  {FinanceLine("F-101", "Etapa_#_1", "01.01.2026;30.06.2026;;", "0;0;1000"),
                   FinanceLine("F-101", "Etapa_#_2", "01.06.2026;31.12.2026;;", "0;0;2000"),
                   FinanceLine("F-101", "Faktura_1", ";;;15.06.2026", "0;100;500"),
                   FinanceLine("F-101", "Faktura_2", ";;;15.01.2028", "0;0;70")});
    WriteProgress(*base_, "202",
                  {FinanceLine("F-202", "Faktura_1", ";20.03.2027;;20.03.2027", "0;0;300")});
    window_ = std::make_unique<DenVystup>(ws());
}

void TestDenVystup::cleanup() {
    window_.reset();
    base_.reset();
}

void TestDenVystup::options_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("mode");          // row 1 column 1 after the click
    QTest::addColumn<QString>("flags");         // SettingsFlags positions 16 and 17
    QTest::addColumn<QStringList>("projects");  // the project chooser
    QTest::newRow("group") << "RadioButton_Skupina"
                           << "#Etapa#Skupina"
                           << "00" << QStringList{"101/ Chodník"};
    QTest::newRow("all") << "RadioButton_Vse"
                         << "#Etapa#Vse"
                         << "00" << QStringList{"Všechny projekty"};
    QTest::newRow("years") << "RadioButton_Roky"
                           << "#Rok#Jeden"
                           << "00" << QStringList{"101/ Chodník", "202/ Škola"};
    QTest::newRow("measure") << "RadioButton_Opatreni"
                             << "#Opatreni#Jeden"
                             << "00" << QStringList{"101/ Chodník", "202/ Škola"};
    QTest::newRow("yearly totals") << "RadioButton_RokyCelkove"
                                   << "#CelkemR#Jeden"
                                   << "00" << QStringList{"101/ Chodník", "202/ Škola"};
    QTest::newRow("delivery date") << "RadioButton1"
                                   << "#Etapa#Jeden"
                                   << "10" << QStringList{"101/ Chodník", "202/ Škola"};
    QTest::newRow("due date") << "RadioButton2"
                              << "#Etapa#Jeden"
                              << "20" << QStringList{"101/ Chodník", "202/ Škola"};
    QTest::newRow("URR base") << "RadioButton6"
                              << "#Etapa#Jeden"
                              << "02" << QStringList{"101/ Chodník", "202/ Škola"};
}

void TestDenVystup::options() {
    QFETCH(QString, option);
    QFETCH(QString, mode);
    QFETCH(QString, flags);
    QFETCH(QStringList, projects);
    // Positions 16 and 17 start as "00"; only the date and base options store theirs.
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QTest::mouseClick(Child<QRadioButton>(window(), option), Qt::LeftButton);
    QCOMPARE(ws().Results.Cell(Results::ProjectRow, 1), mode);
    QCOMPARE(ws().config.SettingsFlags.mid(15, 2), flags);
    QStringList items;
    auto* chooser = Child<QComboBox>(window(), "ComboBox8");
    for (int i = 0; i < chooser->count(); ++i) items << chooser->itemText(i);
    QCOMPARE(items, projects);
    QVERIFY(Child<QRadioButton>(window(), option)->isChecked());
    // The URR base colours the split rows fuchsia.
    const QColor colour =
        Child<QLabel>(window(), "Hodnota_4_1")->palette().color(QPalette::WindowText);
    QCOMPARE(colour, option == "RadioButton6" ? QColor(0xFF, 0x00, 0xFF) : QColor(0, 0, 0xFF));
}

void TestDenVystup::followsChoicesMadeElsewhere() {
    SetOverviewSet(ws(), OverviewSet::All);
    SetOverviewDivision(ws(), OverviewDivision::Totals);
    QVERIFY(Child<QRadioButton>(window(), "RadioButton_Vse")->isChecked());
    QVERIFY(Child<QRadioButton>(window(), "RadioButton_RokyCelkove")->isChecked());
    QCOMPARE(Child<QComboBox>(window(), "ComboBox8")->itemText(0), u"Všechny projekty"_s);
    // Activation applies the stored invoice date kind and subsidy base.
    ws().config.SetFlagChar(kFlagInvoiceDate, u'3');
    ws().config.SetFlagChar(kFlagSpreadAmount, u'2');
    window().show();
    window().activateWindow();
    QTRY_VERIFY(Child<QRadioButton>(window(), "RadioButton3")->isChecked());
    QVERIFY(Child<QRadioButton>(window(), "RadioButton6")->isChecked());
    // The computation of another window is shown here, without names for all projects.
    ComputeFinanceOverview(ws());
    QCOMPARE(Label("LabelJmeno1"), QString());
    QCOMPARE(Label("LabelCislo"), u"Celkem"_s);
}

void TestDenVystup::showOverviewRow_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>(
        "totals");  // "Celkové výdaje": stage plan, actual, project plan, actual
    QTest::addColumn<QString>("difference");  // empty: hidden
    // Rows: 1 total, 2 summary, 3 Etapa_#_1, 4 Etapa_#_2.
    QTest::newRow("row 1: the June invoice counts twice")
        << 1 << QStringList{"3 000,00", "1 000,00", "3 000,00", "1 000,00"} << "-430,00";
    QTest::newRow("summary row") << 2 << QStringList{"3 000,00", "1 000,00", "3 000,00", "1 000,00"}
                                 << "-430,00";
    QTest::newRow("a stage without its own all-invoice sum")
        << 3 << QStringList{"1 000,00", "500,00", "3 000,00", "1 000,00"} << "";
}

void TestDenVystup::showOverviewRow() {
    QFETCH(int, row);
    QFETCH(QStringList, totals);
    QFETCH(QString, difference);
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QTest::mouseClick(Child<QPushButton>(window(), "ButtonVýpočet"), Qt::LeftButton);
    window().ShowOverviewRow(row, 1);
    for (int c = 0; c < 4; ++c) QCOMPARE(Label(u"Hodnota_0_%1"_s.arg(c)), totals[c]);
    QCOMPARE(Label("LabelJmeno1"), u"Jana Nováková"_s);
    QCOMPARE(Label("LabelDatum"), u"09.12.2026"_s);
    QCOMPARE(Label("LabelProjektOd"), u"01.01.2026"_s);
    QCOMPARE(Child<QLabel>(window(), "LabelRozdil")->isVisible(), !difference.isEmpty());
    QCOMPARE(Child<QLabel>(window(), "LabelRozdilPoznamka")->isVisible(), !difference.isEmpty());
    if (!difference.isEmpty()) QCOMPARE(Label("LabelRozdil"), difference);
    QCOMPARE(Child<QComboBox>(window(), "ComboBox8")->currentText(), u"101/ Chodník"_s);
    QCOMPARE(Child<QGroupBox>(window(), "GroupVydaje")->title(), u"Výdaje Včetně DPH"_s);
}

void TestDenVystup::resultsTableSelection() {
    QSignalSpy chart(&window(), &DenVystup::chartRowChosen);
    ComputeFinanceOverview(ws());
    QCOMPARE(chart.takeFirst().at(0).toInt(), 3);
    auto* rows = Child<QComboBox>(window(), "ComboBox1");
    QCOMPARE(rows->count(), 5);
    QCOMPARE(rows->itemText(2), u"3/ F-101-Etapa_#_1"_s);
    window().SelectResultsRow(4);
    QCOMPARE(rows->currentText(), u"Etapa_#_2"_s);
    QCOMPARE(Label("LabelAkce"), u"Etapa_#_2"_s);
    QCOMPARE(Label("LabelEtapaOd"), u"01.06.2026"_s);
    QCOMPARE(chart.takeFirst().at(0).toInt(), 4);
    // Choosing from the row chooser shows that row.
    rows->setCurrentIndex(1);
    emit rows->textActivated(rows->currentText());
    QCOMPARE(Label("LabelAkce"), u"Chodník"_s);
    QCOMPARE(chart.takeFirst().at(0).toInt(), 2);
    // A text without a row number shows nothing new.
    emit rows->textActivated(u"Etapa"_s);
    QCOMPARE(Label("LabelAkce"), u"Chodník"_s);
}

void TestDenVystup::buttons() {
    ComputeFinanceOverview(ws());
    // "Tisk" composes the report of the current project once permitted.
    ws().Access.Permission = u"3_000"_s;
    QString name;
    connect(&ws(), &Workspace::reportComposed, this,
            [&](const QTextDocument*, const QString& n) { name = n; });
    QTest::mouseClick(Child<QPushButton>(window(), "ButtonTisk"), Qt::LeftButton);
    QCOMPARE(name, u"Finance_101_2026-12-09.rtf"_s);
    // "Export" writes the results file where the dialog says and keeps its name.
    base_->prompter.chosenFiles << base_->Path("vystup.csv");
    QTest::mouseClick(Child<QPushButton>(window(), "ButtonExport"), Qt::LeftButton);
    QCOMPARE(ws().config.SouborVysledky, u"vystup.csv"_s);
    QCOMPARE(base_->Lines("vystup.csv").size(), 2 + ws().Results.RowCount() - 1);
    QCOMPARE(base_->prompter.beeps, 1);
    QSignalSpy chart(&window(), &DenVystup::chartRequested);
    QTest::mouseClick(Child<QPushButton>(window(), "ButtonGraf"), Qt::LeftButton);
    QCOMPARE(chart.size(), 1);
    // Choosing a project makes it current, loads its file and computes its overview.
    QSignalSpy chosen(&window(), &DenVystup::projectChosen);
    emit Child<QComboBox>(window(), "ComboBox8")->textActivated(u"202/ Škola"_s);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(ws().Current().ProjectRow(), 2);
    QCOMPARE(ws().Results.Cell(Results::Project, 1), u"202"_s);
    QCOMPARE(ws().Finance.Cell(Finance::KindAndProject, 1), u"F-202"_s);
    QVERIFY(window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window().windowTitle(), u"ORVA_DenVystup"_s);
}

QTEST_MAIN(TestDenVystup)
#include "tst_denvystup.moc"
