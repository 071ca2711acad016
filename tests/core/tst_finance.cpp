#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include "FinanceFixture.h"
#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "finance/FinanceOverview.h"
#include "finance/FinanceReport.h"
#include "finance/ResultsFile.h"

using namespace FinanceFixture;

namespace {

// Every results row as "column 2|column 3", from row 2 on.
QStringList RowLabels(const Table& results) {
    QStringList labels;
    for (int r = 2; r < results.RowCount(); ++r)
        labels << results.Cell(Results::Project, r) + u'|' + results.Cell(Results::Object, r);
    return labels;
}

// The row whose columns 2 and 3 are these, or 0.
int RowOf(const Table& results, const QString& column2, const QString& column3) {
    for (int r = 1; r < results.RowCount(); ++r)
        if (results.Cell(Results::Project, r) == column2 &&
            results.Cell(Results::Object, r) == column3)
            return r;
    return 0;
}

QString Amount(const Table& results, int column, int row) {
    return TrimCell(results.Cell(column, row), 2);
}

const QString kStage1 = QStringLiteral("F-101;Etapa_#_1;;Plán;01.01.2026;30.06.2026;;;0;0;1000;");

}  // namespace

class TestFinance : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void subsidySplit_data();
    void subsidySplit();
    void stagesAndInvoices_data();
    void stagesAndInvoices();
    void divisionRows_data();
    void divisionRows();
    void noProjectWritesOverAnother_data();
    void noProjectWritesOverAnother();
    void missingFileContributesRegisterOnly();
    void rowsFromTheProjectsOwnFile();
    void choicesInSettingsFlags();
    void resultsFileBytes();
    void reportText();
    void roundedSumMatchesCellForm();

  private:
    std::unique_ptr<TempBase> base_;
    Workspace& Ws() { return *base_->ws; }
};

void TestFinance::init() {
    base_ = std::make_unique<TempBase>();
}

void TestFinance::cleanup() {
    base_.reset();
}

void TestFinance::subsidySplit_data() {
    QTest::addColumn<QString>("percentages");
    QTest::addColumn<int>("base");           // 1 eligible, 2 URR
    QTest::addColumn<QString>("amounts");    // URR;ineligible;total
    QTest::addColumn<QStringList>("split");  // subsidy, own, ERDF, SR
    QTest::newRow("80/85 of 1000,00")
        << "80/85" << 1 << "0;0;1000,00" << QStringList{"800,00", "200,00", "680,00", "120,00"};
    QTest::newRow("empty Dotace/ERDF")
        << "" << 1 << "0;0;1000,00" << QStringList{"0,00", "1000,00", "0,00", "0,00"};
    QTest::newRow("ineligible part taken off")
        << "80/85" << 1 << "0;200,00;1000,00" << QStringList{"640,00", "160,00", "544,00", "96,00"};
    QTest::newRow("URR base") << "80/85" << 2 << "500,00;0;1000,00"
                              << QStringList{"400,00", "100,00", "340,00", "60,00"};
    QTest::newRow("parts rounded each on its own")
        << "33,33/50" << 1 << "0;0;100,01" << QStringList{"33,33", "66,68", "16,67", "16,67"};
}

void TestFinance::subsidySplit() {
    QFETCH(QString, percentages);
    QFETCH(int, base);
    QFETCH(QString, amounts);
    QFETCH(QStringList, split);
    SetProjects(Ws(), {{"101", "Chodník", percentages, "1000", "800", "01.01.2026", "31.12.2026"}});
    WriteProgress(*base_, "101",
                  {FinanceLine("F-101", "Etapa_#_1", "01.01.2026;31.12.2026;;", amounts),
                   FinanceLine("F-101", "Faktura_1", ";;;15.03.2026", amounts)});
    SetSubsidyBase(Ws(), base == 2 ? SubsidyBase::Urr : SubsidyBase::Eligible);
    QCOMPARE(ComputeFinanceOverview(Ws()), QStringLiteral("OK"));
    const Table& t = Ws().Results;
    for (int row : {1, 2, 3}) {
        // Plan from the stage row, actual from the invoice, in row 1, the summary and the stage.
        QCOMPARE(Amount(t, Results::PlanSubsidy, row), split[0]);
        QCOMPARE(Amount(t, Results::PlanOwn, row), split[1]);
        QCOMPARE(Amount(t, Results::PlanErdf, row), split[2]);
        QCOMPARE(Amount(t, Results::PlanState, row), split[3]);
        QCOMPARE(Amount(t, Results::Subsidy, row), split[0]);
        QCOMPARE(Amount(t, Results::Own, row), split[1]);
        QCOMPARE(Amount(t, Results::Erdf, row), split[2]);
        QCOMPARE(Amount(t, Results::State, row), split[3]);
    }
}

void TestFinance::stagesAndInvoices_data() {
    QTest::addColumn<QStringList>("invoices");
    // Column 21 of Etapa_#_1, _2, _3; a cell nothing was added to stays empty.
    QTest::addColumn<QStringList>("stageTotals");
    QTest::addColumn<QString>("rowOneTotal");
    QTest::addColumn<QString>("allInvoices");
    QTest::newRow("overlapping stages count twice, all invoices once")
        << QStringList{FinanceLine("F-101", "Faktura_1", ";;;15.06.2026", "0;0;100")}
        << QStringList{"100,00", "100,00", "100,00"} << "300,00"
        << "100,00";
    QTest::newRow("outside every stage: only in all invoices")
        << QStringList{FinanceLine("F-101", "Platba_1", ";;;15.01.2028", "0;0;50")}
        << QStringList{"", "", ""} << ""
        << "50,00";
    QTest::newRow("empty chosen date: no stage, not even one with an empty start")
        << QStringList{FinanceLine("F-101", "Faktura_2", "01.02.2026;;;", "0;0;30")}
        << QStringList{"", "", ""} << ""
        << "30,00";
    QTest::newRow("a dated invoice falls into the stage with an empty start")
        << QStringList{FinanceLine("F-101", "Faktura_3", ";;;15.02.2027", "0;0;40")}
        << QStringList{"", "", "40,00"} << "40,00"
        << "40,00";
}

void TestFinance::stagesAndInvoices() {
    QFETCH(QStringList, invoices);
    QFETCH(QStringList, stageTotals);
    QFETCH(QString, rowOneTotal);
    QFETCH(QString, allInvoices);
    SetProjects(Ws(), {{"101", "Chodník", "80/85", "3000", "2400", "01.01.2026", "31.12.2027"}});
    // A stage without a start: its term begins at the empty date.
    WriteProgress(
        *base_, "101",
        QStringList{FinanceLine("F-101", "Etapa_#_3", ";31.12.2027;;", "0;0;1000"),
                    FinanceLine("F-101", "Etapa_#_2", "01.06.2026;31.12.2026;;", "0;0;1000"),
                    FinanceLine("F-101", "Etapa_#_1", "01.01.2026;30.06.2026;;", "0;0;1000")} +
            invoices);
    ComputeFinanceOverview(Ws());
    const Table& t = Ws().Results;
    // Stage rows sorted by name after the summary row, then the empty row.
    QCOMPARE(RowLabels(t), (QStringList{"Sk-101|Chodník", "F-101|Etapa_#_1", "F-101|Etapa_#_2",
                                        "F-101|Etapa_#_3", "|"}));
    QCOMPARE(t.Cell(Results::PlanStart, 3), QStringLiteral("01.01.2026"));
    for (int k = 0; k < 3; ++k) QCOMPARE(Amount(t, Results::Total, 3 + k), stageTotals[k]);
    QCOMPARE(Amount(t, Results::Total, 1), rowOneTotal);
    QCOMPARE(Amount(t, Results::Total, 2), rowOneTotal);
    QCOMPARE(Amount(t, Results::AllInvoices, 1), allInvoices);
    QCOMPARE(Amount(t, Results::AllInvoices, 2), allInvoices);
    QCOMPARE(Amount(t, Results::PlanTotal, 1), QStringLiteral("3000,00"));
    QCOMPARE(t.Cell(Results::InvoiceCount, 1), QStringLiteral("1"));
}

void TestFinance::divisionRows_data() {
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("division");
    QTest::addColumn<QString>("firstStart");  // "Datum od" of project 101
    QTest::addColumn<QStringList>("labels");
    const QStringList years = {"Rok_2025", "Rok_2026", "Rok_2027"};
    auto rows = [&](const QString& key) {
        QStringList l;
        for (const QString& y : years) l << key + u'|' + y;
        return l;
    };
    // Project 10 is in the group [101/102] as its number occurs there; 203 is not.
    QTest::newRow("group by years")
        << int(OverviewSet::Group) << int(OverviewDivision::Years) << "01.01.2025"
        << QStringList{"Sk-101|Chodník"} + rows("F-101") + QStringList{"Sk-102|Most"} +
               rows("F-102") + QStringList{"Sk-10|Lávka"} + rows("F-10");
    QTest::newRow("one project by years found in its rows")
        << int(OverviewSet::One) << int(OverviewDivision::Years) << "01.01.2025"
        << QStringList{"Sk-101|Chodník", "F-101|Rok_2026", "F-101|Rok_2027", "|"};
    QTest::newRow("all by measure: first character of the number")
        << int(OverviewSet::All) << int(OverviewDivision::Measures) << "01.01.2025"
        << QStringList{"Sk-1|Opatreni_1"} + rows("Opatreni_1") + QStringList{"Sk-2|Opatreni_2"} +
               rows("Opatreni_2");
    QTest::newRow("yearly totals")
        << int(OverviewSet::All) << int(OverviewDivision::Totals) << "01.01.2025" << rows("Celkem");
    QStringList twenty;
    for (int y = 1900; y < 1920; ++y) twenty << QStringLiteral("Celkem|Rok_%1").arg(y);
    QTest::newRow("an empty Datum od: 1900 to 1919 only")
        << int(OverviewSet::All) << int(OverviewDivision::Totals) << "" << twenty;
}

void TestFinance::divisionRows() {
    QFETCH(int, set);
    QFETCH(int, division);
    QFETCH(QString, firstStart);
    QFETCH(QStringList, labels);
    SetProjects(Ws(), {{"101", "Chodník", "80/85", "1000", "800", firstStart, "31.12.2026",
                        "Doprava [101/102]"},
                       {"102", "Most", "80/85", "1000", "800", "01.01.2026", "31.12.2027"},
                       {"10", "Lávka", "50/50", "1000", "500", "01.01.2026", "31.12.2026"},
                       {"203", "Škola", "75/80", "1000", "750", "01.01.2026", "31.12.2026"}});
    WriteProgress(
        *base_, "101",
        {FinanceLine("F-101", "Faktura_1", "10.12.2026;05.01.2027;;05.01.2027", "0;0;100")});
    WriteProgress(*base_, "102",
                  {FinanceLine("F-102", "Faktura_1", ";20.03.2026;;20.03.2026", "0;0;200")});
    WriteProgress(*base_, "203",
                  {FinanceLine("F-203", "Faktura_1", ";20.03.2026;;20.03.2026", "0;0;300")});
    SetOverviewSet(Ws(), OverviewSet(set));
    SetOverviewDivision(Ws(), OverviewDivision(division));
    ComputeFinanceOverview(Ws());
    const Table& t = Ws().Results;
    QCOMPARE(RowLabels(t), labels);
    if (OverviewDivision(division) == OverviewDivision::Measures) {
        // Each invoice counts in its measure's row of its due year.
        QCOMPARE(Amount(t, Results::Total, RowOf(t, "Opatreni_1", "Rok_2026")),
                 QStringLiteral("200,00"));
        QCOMPARE(Amount(t, Results::Total, RowOf(t, "Opatreni_1", "Rok_2027")),
                 QStringLiteral("100,00"));
        QCOMPARE(Amount(t, Results::Total, RowOf(t, "Opatreni_2", "Rok_2026")),
                 QStringLiteral("300,00"));
        QCOMPARE(Amount(t, Results::Total, RowOf(t, "Sk-2", "Opatreni_2")),
                 QStringLiteral("300,00"));
    }
    if (OverviewSet(set) == OverviewSet::Group)
        QCOMPARE(t.Cell(Results::Project, 1), QStringLiteral("101-Skupina"));
    if (OverviewSet(set) == OverviewSet::All)
        QCOMPARE(t.Cell(Results::Project, 1), QStringLiteral("Všechny proj."));
}

void TestFinance::noProjectWritesOverAnother_data() {
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("lastStage");
    QTest::newRow("a project without a name") << ""
                                              << "Etapa_#_2";
    QTest::newRow("a stage name sorting after the empty row") << "Chodník"
                                                              << "Závěrečná Etapa";
}

void TestFinance::noProjectWritesOverAnother() {
    QFETCH(QString, firstName);
    QFETCH(QString, lastStage);
    SetProjects(Ws(), {{"101", firstName, "80/85", "1000", "800", "01.01.2026", "31.12.2026"},
                       {"102", "Most", "80/85", "1000", "800", "01.01.2026", "31.12.2026"}});
    WriteProgress(*base_, "101",
                  {kStage1, FinanceLine("F-101", lastStage, "01.07.2026;31.12.2026;;", "0;0;500")});
    WriteProgress(*base_, "102",
                  {FinanceLine("F-102", "Etapa_#_1", "01.01.2026;31.12.2026;;", "0;0;700")});
    SetOverviewSet(Ws(), OverviewSet::All);
    ComputeFinanceOverview(Ws());
    const Table& t = Ws().Results;
    QCOMPARE(RowLabels(t),
             (QStringList{"Sk-101|" + firstName, "F-101|Etapa_#_1", "F-101|" + lastStage,
                          "Sk-102|Most", "F-102|Etapa_#_1", "|"}));
    QCOMPARE(Amount(t, Results::PlanTotal, 2), QStringLiteral("1500,00"));
    QCOMPARE(Amount(t, Results::PlanTotal, 5), QStringLiteral("700,00"));
    QCOMPARE(Amount(t, Results::PlanTotal, 1), QStringLiteral("2200,00"));
}

void TestFinance::missingFileContributesRegisterOnly() {
    SetProjects(Ws(), {{"101", "Chodník", "80/85", "1000", "800", "01.01.2026", "31.12.2026"},
                       {"202", "Škola", "80/85", "5000", "4000", "01.01.2026", "31.12.2026"},
                       {"303", "Park", "80/85", "2000", "1600", "01.01.2026", "31.12.2026"}});
    const QString name = WriteProgress(*base_, "101", {kStage1});
    // The tables hold project 101's rows; 202 and 303 have no file.
    QCOMPARE(LoadProgress(Ws(), name), LoadResult::Loaded);
    Ws().Current().SetProjectRow(2);
    SetOverviewSet(Ws(), OverviewSet::All);
    ComputeFinanceOverview(Ws());
    const Table& t = Ws().Results;
    QCOMPARE(RowLabels(t),
             (QStringList{"Sk-101|Chodník", "F-101|Etapa_#_1", "Sk-202|Škola", "Sk-303|Park"}));
    QCOMPARE(Amount(t, Results::PlanTotal, 1), QStringLiteral("1000,00"));
    QCOMPARE(Amount(t, Results::YellowTotal, 1), QStringLiteral("8000,00"));
    QCOMPARE(Amount(t, Results::YellowTotal, 4), QStringLiteral("5000,00"));
    QCOMPARE(Amount(t, Results::PlanTotal, 4), QString());
    // Only the current project's file is asked about, once.
    QCOMPARE(base_->prompter.Texts(ScriptedPrompter::Kind::Question).size(), 1);
    QVERIFY(base_->prompter.Texts(ScriptedPrompter::Kind::Question)[0].contains("_202.csv"));
    QCOMPARE(Ws().Current().ProjectRow(), 2);
}

void TestFinance::rowsFromTheProjectsOwnFile() {
    SetProjects(Ws(), {{"1", "Jedna", "100/100", "1000", "1000", "01.01.2026", "31.12.2026"},
                       {"12", "Dvanáct", "100/100", "1000", "1000", "01.01.2026", "31.12.2026"}});
    WriteProgress(*base_, "1",
                  {FinanceLine("F-1", "Etapa_#_1", "01.01.2026;31.12.2026;;", "0;0;111")});
    const QString twelve = WriteProgress(
        *base_, "12", {FinanceLine("F-12", "Etapa_#_1", "01.01.2026;31.12.2026;;", "0;0;222")});
    Ws().Current().SetProjectRow(2);
    ComputeFinanceOverview(Ws());
    const Table& t = Ws().Results;
    QCOMPARE(RowLabels(t), (QStringList{"Sk-12|Dvanáct", "F-12|Etapa_#_1", "|"}));
    QCOMPARE(Amount(t, Results::PlanTotal, 1), QStringLiteral("222,00"));
    // The tables end holding the current project's own file.
    QCOMPARE(Ws().config.SouborPopis, twelve);
    QCOMPARE(Ws().Current().ProjectRow(), 2);
}

void TestFinance::choicesInSettingsFlags() {
    Config& cfg = Ws().config;
    SetInvoiceDateKind(Ws(), kDateDue);
    SetSubsidyBase(Ws(), SubsidyBase::Urr);
    QCOMPARE(cfg.FlagChar(kFlagInvoiceDate), QChar(u'2'));
    QCOMPARE(cfg.FlagChar(kFlagSpreadAmount), QChar(u'2'));
    cfg.SetFlagChar(kFlagInvoiceDate, u'3');
    cfg.SetFlagChar(kFlagSpreadAmount, u'x');  // leaves the choice as it is
    ApplyOverviewFlags(Ws());
    QCOMPARE(Ws().Overview.invoiceDateKind, kDateApproval);
    QCOMPARE(Ws().Overview.base, SubsidyBase::Urr);
    cfg.SetFlagChar(kFlagInvoiceDate, u'5');
    cfg.SetFlagChar(kFlagSpreadAmount, u'1');
    ApplyOverviewFlags(Ws());
    QCOMPARE(Ws().Overview.invoiceDateKind, kDateApproval);
    QCOMPARE(Ws().Overview.base, SubsidyBase::Eligible);
    QCOMPARE(OverviewModeText(Ws().Overview), QStringLiteral("Etapa#Jeden"));
}

void TestFinance::resultsFileBytes() {
    Table& t = Ws().Results;
    SetupTable(t, kResultsTable, QString());
    const QString header = TableHeaders(kResultsTable).mid(1).join(u';') + u';';
    const QString emptyRow = QStringLiteral(";;;;;") + QStringLiteral("0;").repeated(20) + u';';
    QCOMPARE(ResultsFileLines(t, QDate(2026, 12, 9)),
             (QStringList{"Výsledky09.12.2026", header, emptyRow, emptyRow}));

    t.SetCell(Results::ProjectRow, 1, "#Etapa#Jeden");
    t.SetCell(Results::Project, 1, "101");
    t.SetCell(Results::Object, 1, "Chodník Lipová");
    t.SetCell(Results::PlanStart, 1, "1.3.2026");
    t.SetCell(Results::PlanTotal, 1, FormatAmount(1234567.5));
    t.SetCell(Results::Total, 1, FormatAmount(-0.1));
    t.SetCell(Results::InvoiceCount, 1, "3");
    t.SetCell(Results::SubsidyPercent, 1, "80/85");
    const QString path = base_->Path("Vysledky.csv");
    WriteResultsFile(path, t, QDate(2026, 12, 9));
    const QByteArray bytes = base_->Bytes("Vysledky.csv");
    QVERIFY(
        bytes.startsWith("V\xFDsledky09.12.2026\r\n\xD8"
                         "a.Proj.;Projekt;"));
    QVERIFY(
        bytes.contains("\r\n#Etapa#Jeden;101;Chodn\xEDk Lipov\xE1;1.3.2026;;0;0;0;0;0;0;0;"
                       "1234567,5;0;0;0;0;0;0;0;-0,1;3;0;0;0;80/85;\r\n"));
    QVERIFY(bytes.endsWith(";;;;;" + QByteArray("0;").repeated(20) + ";\r\n"));
}

void TestFinance::reportText() {
    SetProjects(Ws(),
                {{"101", "Chodník", "80,123456/85", "1000", "800", "01.01.2026", "31.12.2026"}});
    WriteProgress(*base_, "101",
                  {kStage1, FinanceLine("F-101", "Faktura_1", ";;;15.03.2026", "0;0;400")});
    Ws().config.Test = QStringLiteral("TEST");
    ComputeFinanceOverview(Ws());
    QString name;
    QString text;
    QList<QTextCharFormat> formats;
    connect(&Ws(), &Workspace::reportComposed, this,
            [&](const QTextDocument* document, const QString& n) {
                name = n;
                text = document->toPlainText();
                for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
                    formats << b.charFormat();
            });
    ComposeFinanceReport(Ws(), 1);
    QCOMPARE(name, QStringLiteral("Finance_101_2026-12-09.rtf"));
    // The plain text shows the amounts' code 160 as blanks.
    const QStringList lines = text.split(u'\n');
    QCOMPARE(lines[0], QStringLiteral("Přehled financi ke dni : 09.12.2026"));
    QCOMPARE(lines[1], QStringLiteral("TEST - SLEDOVÁNÍ AKCÍ - SPOLEČNOST"));
    QCOMPARE(lines[3], QStringLiteral("Objekty zpracování vypočtu 101 - Chodník"));
    QCOMPARE(lines[4], QStringLiteral("Zadání vypočtu    Jeden projekt / Projekty  / Etapy"));
    QCOMPARE(lines[5], QStringLiteral("Pro rozložení dotace použity VÝDAJE ZAPOČÍTATELNÉ"));
    QCOMPARE(lines[6], QStringLiteral("Pro výběr fakturace použit datum ZAPLACENÍ faktury"));
    auto row = [](const QStringList& cells) {
        QString line = PadText(cells[0], "left", 20);
        for (int i = 1; i < cells.size(); ++i) line += PadText(cells[i], "right", 20);
        return line.replace(QChar(0xA0), u' ');
    };
    QCOMPARE(lines[8], row({"Objekt", "101", "Chodník", " "}));
    QCOMPARE(formats[8].foreground().color(), QColor(Qt::red));
    QCOMPARE(formats[8].fontPointSize(), 18.0);
    QVERIFY(formats[8].fontUnderline());
    QCOMPARE(lines[9], row({"Celkový původní plán projektu", FormatAmount(1000)}));
    // Row 1: SR plan 1000*0.80123456*0.15, actual 400*0.80123456*0.15.
    QCOMPARE(lines[14],
             row({"SR", FormatAmount(120.19), FormatAmount(48.07), FormatAmount(72.12)}));
    // The URR line has no difference.
    QCOMPARE(lines[18], row({"Způsobilé URR", "", FormatAmount(0)}));
    // The summary row's percentages are cut to five characters.
    QVERIFY(lines.contains(QStringLiteral(
        "Celková dotace z uznatelnýchch nákladů 80,12 %  Dotace ERDF z dotace 85 %")));
    // A stage block has no plan lines and is drawn in blue.
    const int stage = int(lines.indexOf(row({"Objekt", "F-101", "Etapa_#_1", " "})));
    QVERIFY(stage > 0);
    QCOMPARE(formats[stage].foreground().color(), QColor(Qt::blue));
    QVERIFY(lines[stage + 1].startsWith(QStringLiteral("Termín Plán")));
}

void TestFinance::roundedSumMatchesCellForm() {
    // The shortcut must leave what writing the sum into a cell and reading it back leaves.
    QRandomGenerator random(20261209);
    for (int i = 0; i < 200000; ++i) {
        double v = 0;
        switch (i % 4) {
            case 0:
                v = double(random.bounded(2000000000)) / 100.0 - 1e7;
                break;
            case 1:
                v = (random.generateDouble() - 0.5) * 1e9;
                break;
            case 2:
                v = double(random.bounded(100000)) / 1000.0 + 0.005;
                break;
            default:
                v = (random.generateDouble() - 0.5) * 1e13;
        }
        const double expected = ParseAmount(FormatAmount(v));
        QCOMPARE(RoundedCellSum(v), expected);
    }
}

QTEST_MAIN(TestFinance)
#include "tst_finance.moc"
