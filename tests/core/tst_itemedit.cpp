#include <QtTest>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/ProjectRegister.h"
#include "editing/ItemEdit.h"
#include "editing/Links.h"
#include "shell/Access.h"

using namespace Qt::StringLiterals;

namespace {

const QString kLog = QStringLiteral("Zmeny_2026-12.csv");
const QString kStamp = QStringLiteral(";09.12.2026 - 10:30;Jmeno Prijmeni;Uzivatel_TEST;");
// The start-up moment of the tests: 9 December 2026, 10:30.
double Now() {
    return DayFromDateTime(QDateTime(QDate(2026, 12, 9), QTime(10, 30)));
}

double Day(int d, int m, int y) {
    return DayFromDate(QDate(y, m, d));
}

void PutRow(Table& t, int row, const QStringList& cells) {
    t.SetCell(AnyTable::RowNumber, row, QString::number(row));
    for (int c = 0; c < cells.size(); ++c) t.SetCell(c + 1, row, cells[c]);
    if (t.RowCount() <= row) t.SetRowCount(row + 1);
}

QString RecordOf(const QString& label, const Table& t, int row, int lastColumn) {
    QString line = label + kStamp;
    for (int c = 0; c <= lastColumn; ++c) line += t.Cell(c, row) + u';';
    return line;
}

QString RowRecord(const QString& label, const Table& t, int row) {
    return RecordOf(label, t, row, t.ColumnCount());
}

QStringList RowCells(const Table& t, int row) {
    QStringList cells;
    for (int c = 0; c < 18; ++c) cells << t.Cell(c, row);
    return cells;
}

// Project 001 with three deadline rows and two finance rows; a change log
// of this month already exists, so that each operation appends only its records.
struct Fixture {
    TempBase base;
    Workspace& ws = *base.ws;
    QList<QPair<int, int>> shown;

    Fixture() {
        const QString vat = ws.config.PopisDPH;
        SetupTable(ws.Projects, kProjectTable, vat);
        SetupTable(ws.Deadlines, kDeadlineTable, vat);
        SetupTable(ws.Finance, kFinanceTable, vat);
        PutRow(
            ws.Projects, 1,
            {"001", "Silnice", "Ing. Novák", "Ing. Svoboda", "1.1", "Doprava", "", "", "pozn",
             "92,5/85", FormatAmount(1000000), FormatAmount(900000), "01.01.2026", "31.12.2027"});
        PutRow(ws.Deadlines, 1,
               {"T-001", "Realizace", "Stavba", "Průběh", "01.03.2026", "30.06.2026", "02.03.2026",
                "", "121", "", "", "T-001-01//", "", "", "", "", ""});
        PutRow(ws.Deadlines, 2,
               {"T-001", "Realizace", "Stavba", "Výstavba", "10.03.2026", "20.05.2026",
                "10.03.2026", "", "71", "", "", "T-001-02/N-T-001-01/", "info", "", "", "", ""});
        PutRow(ws.Deadlines, 3,
               {"T-001", "1.Etapa", "", "Projednání URR", "01.03.2026", "30.06.2026", "", "", "121",
                "", "", "T-001-04//", "", "", "", "", ""});
        PutRow(ws.Finance, 1,
               {"F-001", "1.Etapa", "", "Plán", "01.03.2026", "30.06.2026", "", "15.07.2026",
                FormatAmount(500), FormatAmount(0), FormatAmount(600), "F-001-01/", "etapa", "", "",
                "", ""});
        PutRow(ws.Finance, 2,
               {"F-001", "Platba_Faktura_1", "Stavba", "Plnění", "01.10.2026", "31.10.2026",
                "05.10.2026", "", FormatAmount(0), FormatAmount(100), FormatAmount(1000),
                "F-001-02/", "fakturace", "Fa 1", "", "", ""});
        ws.Current().SetProjectRow(1);
        ws.Access.Permission = QStringLiteral("3_000");
        ws.config.SetFlag(kFlagFollowLinks, false);
        ws.config.SetFlag(kFlagSyncStages, false);
        ws.config.SetFlag(kFlagWarnBeforeChange, false);
        ws.ChangeFlags = QStringLiteral("0000000");
        base.WriteLines(kLog, {QStringLiteral("x")});
    }

    EditContext Context() {
        EditContext ctx;
        ctx.now = Now();
        ctx.projectNumber = QStringLiteral("001");
        ctx.show = [this](int kind, int row) { shown << qMakePair(kind, row); };
        return ctx;
    }

    ItemForm FormOf(int kind, int row) {
        ws.Current().SelectRow(kind, row);
        ItemForm form;
        form.project = ReadProjectForm(ws.Projects, ws.Current().ProjectRow());
        form.deadline = ReadDeadlineForm(ws.Deadlines, kind == kDeadlineTable ? row : 1);
        form.finance = ReadFinanceForm(ws.Finance, kind == kFinanceTable ? row : 1);
        if (kind == kFinanceTable)
            ApplyPageLayout(form.layout, u'F', ws.Finance.Cell(Finance::Activity, row),
                            ws.config.PopisDPH);
        return form;
    }

    // What the views hear, one line per notice.
    QStringList notices;
    void RecordNotices() {
        auto record = [this](const char* what) {
            return [this, what](int kind, int first, int last) {
                notices << QStringLiteral("%1 %2 %3-%4").arg(what).arg(kind).arg(first).arg(last);
            };
        };
        QObject::connect(&ws, &Workspace::rowsInserted, &ws, record("inserted"));
        QObject::connect(&ws, &Workspace::rowsRemoved, &ws, record("removed"));
        QObject::connect(&ws, &Workspace::rowsChanged, &ws, record("changed"));
        QObject::connect(&ws, &Workspace::tableReset, &ws,
                         [this](int kind) { notices << QStringLiteral("reset %1").arg(kind); });
        QObject::connect(&ws, &Workspace::tableChanged, &ws,
                         [this](int kind) { notices << QStringLiteral("done %1").arg(kind); });
    }

    // The log's lines after the one that was there before.
    QStringList Records() const { return base.Lines(kLog).mid(1); }
};

}  // namespace

class TestItemEdit : public QObject {
    Q_OBJECT

  private slots:
    void normaliseDeadline_data();
    void normaliseDeadline();
    void normaliseFinance_data();
    void normaliseFinance();
    void fulfilled_data();
    void fulfilled();
    void markedAmount_data();
    void markedAmount();
    void pageLayout_data();
    void pageLayout();
    void storeFinanceByLayout_data();
    void storeFinanceByLayout();
    void storeDates();
    void addCopy_data();
    void addCopy();
    void addCopyWithBadIdentifier();
    void addEmpty();
    void changeDeadlineFollowsLinks();
    void changeFinanceMirrorsStage();
    void deleteFinanceStage();
    void refused_data();
    void refused();
    void addProject();
    void deleteTableRow_data();
    void deleteTableRow();
    void deleteBeyond16Bits();
    void oneNoticePerOperation_data();
    void oneNoticePerOperation();
};

// ---------------------------------------------------------------- date rules

void TestItemEdit::normaliseDeadline_data() {
    QTest::addColumn<QList<double>>("in");  // planStart, planEnd, actualStart, actualEnd
    QTest::addColumn<int>("duration");
    QTest::addColumn<QList<double>>("out");
    QTest::addColumn<int>("outDuration");
    const double e = kEmptyDate;
    const double today = Day(9, 12, 2026);
    QTest::newRow("plan gives the duration")
        << QList<double>{Day(1, 3, 2026), Day(31, 3, 2026), e, e} << 5
        << QList<double>{Day(1, 3, 2026), Day(31, 3, 2026), e, e} << 30;
    QTest::newRow("plan end before start takes the start, duration kept")
        << QList<double>{Day(31, 3, 2026), Day(1, 3, 2026), e, e} << 7
        << QList<double>{Day(31, 3, 2026), Day(31, 3, 2026), e, e} << 7;
    QTest::newRow("plan end empty stays empty") << QList<double>{Day(31, 3, 2026), e, e, e} << 7
                                                << QList<double>{Day(31, 3, 2026), e, e, e} << 7;
    QTest::newRow("same day keeps the duration")
        << QList<double>{Day(1, 3, 2026), Day(1, 3, 2026), e, e} << 4
        << QList<double>{Day(1, 3, 2026), Day(1, 3, 2026), e, e} << 4;
    QTest::newRow("actual dates in the future become now")
        << QList<double>{e, e, Day(10, 12, 2026), Day(11, 12, 2026)} << 1
        << QList<double>{e, e, Now(), Now()} << 1;
    QTest::newRow("today is not in the future")
        << QList<double>{e, e, today, today} << 1 << QList<double>{e, e, today, today} << 1;
    QTest::newRow("actual end before start takes the start")
        << QList<double>{e, e, Day(5, 5, 2026), Day(1, 5, 2026)} << 1
        << QList<double>{e, e, Day(5, 5, 2026), Day(5, 5, 2026)} << 1;
    QTest::newRow("actual end empty stays empty") << QList<double>{e, e, Day(5, 5, 2026), e} << 1
                                                  << QList<double>{e, e, Day(5, 5, 2026), e} << 1;
}

void TestItemEdit::normaliseDeadline() {
    QFETCH(QList<double>, in);
    QFETCH(int, duration);
    QFETCH(QList<double>, out);
    QFETCH(int, outDuration);
    ItemForm form;
    DeadlineForm& f = form.deadline;
    f.planStart = in[0], f.planEnd = in[1], f.actualStart = in[2], f.actualEnd = in[3];
    f.duration = duration;
    NormaliseFormDates(form, kDeadlineTable, Now());
    QCOMPARE((QList<double>{f.planStart, f.planEnd, f.actualStart, f.actualEnd}), out);
    QCOMPARE(f.duration, outDuration);
}

void TestItemEdit::normaliseFinance_data() {
    QTest::addColumn<QList<double>>("in");  // delivery, due, assignment, payment
    QTest::addColumn<QList<double>>("out");
    const double e = kEmptyDate;
    QTest::newRow("due before delivery takes the delivery")
        << QList<double>{Day(5, 10, 2026), Day(1, 10, 2026), e, e}
        << QList<double>{Day(5, 10, 2026), Day(5, 10, 2026), e, e};
    QTest::newRow("empty due stays empty")
        << QList<double>{Day(5, 10, 2026), e, e, e} << QList<double>{Day(5, 10, 2026), e, e, e};
    QTest::newRow("future payment and assignment become now")
        << QList<double>{e, e, Day(1, 1, 2027), Day(2, 1, 2027)}
        << QList<double>{e, e, Now(), Now()};
    QTest::newRow("payment before assignment takes the assignment")
        << QList<double>{e, e, Day(20, 11, 2026), Day(10, 11, 2026)}
        << QList<double>{e, e, Day(20, 11, 2026), Day(20, 11, 2026)};
    QTest::newRow("no payment date stays empty")
        << QList<double>{e, e, Day(20, 11, 2026), e} << QList<double>{e, e, Day(20, 11, 2026), e};
}

void TestItemEdit::normaliseFinance() {
    QFETCH(QList<double>, in);
    QFETCH(QList<double>, out);
    ItemForm form;
    FinanceForm& f = form.finance;
    f.delivery = in[0], f.due = in[1], f.assignment = in[2], f.payment = in[3];
    NormaliseFormDates(form, kFinanceTable, Now());
    QCOMPARE((QList<double>{f.delivery, f.due, f.assignment, f.payment}), out);
}

void TestItemEdit::fulfilled_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<QList<double>>("out");
    const double e = kEmptyDate;
    // Deadline: planStart, planEnd, actualStart, actualEnd.
    QTest::newRow("deadline in the past")
        << int(kDeadlineTable) << QList<double>{Day(1, 3, 2026), Day(31, 3, 2026), e, e}
        << QList<double>{Day(1, 3, 2026), Day(31, 3, 2026), Day(1, 3, 2026), Day(31, 3, 2026)};
    QTest::newRow("deadline ending after today is not finished")
        << int(kDeadlineTable) << QList<double>{Day(1, 12, 2026), Day(31, 12, 2026), e, e}
        << QList<double>{Day(1, 12, 2026), Day(31, 12, 2026), Day(1, 12, 2026), e};
    QTest::newRow("deadline not begun")
        << int(kDeadlineTable) << QList<double>{Day(1, 1, 2027), Day(31, 1, 2027), e, e}
        << QList<double>{Day(1, 1, 2027), Day(31, 1, 2027), Now(), e};
    // Finance: delivery, due, assignment, payment.
    QTest::newRow("invoice due in the past")
        << int(kFinanceTable) << QList<double>{Day(1, 10, 2026), Day(31, 10, 2026), e, e}
        << QList<double>{Day(1, 10, 2026), Day(31, 10, 2026), Day(1, 10, 2026), Day(31, 10, 2026)};
    QTest::newRow("invoice due after today is paid now")
        << int(kFinanceTable) << QList<double>{Day(1, 12, 2026), Day(31, 12, 2026), e, e}
        << QList<double>{Day(1, 12, 2026), Day(31, 12, 2026), Now() - 10, Now()};
}

void TestItemEdit::fulfilled() {
    QFETCH(int, kind);
    QFETCH(QList<double>, in);
    QFETCH(QList<double>, out);
    ItemForm form;
    if (kind == kDeadlineTable) {
        DeadlineForm& f = form.deadline;
        f.planStart = in[0], f.planEnd = in[1], f.actualStart = in[2], f.actualEnd = in[3];
        MarkFulfilled(form, kind, Now());
        QCOMPARE((QList<double>{f.planStart, f.planEnd, f.actualStart, f.actualEnd}), out);
    } else {
        FinanceForm& f = form.finance;
        f.delivery = in[0], f.due = in[1], f.assignment = in[2], f.payment = in[3];
        MarkFulfilled(form, kind, Now());
        QCOMPARE((QList<double>{f.delivery, f.due, f.assignment, f.payment}), out);
    }
}

// ---------------------------------------------------------------- form rules

void TestItemEdit::markedAmount_data() {
    QTest::addColumn<int>("marked");
    QTest::addColumn<QStringList>("in");  // total, ineligible, eligible
    QTest::addColumn<QStringList>("out");
    QTest::newRow("eligible") << int(MarkedAmount::Eligible) << QStringList{"1 000,50", "200", "x"}
                              << QStringList{"1 000,50", "200", FormatAmount(800.5)};
    QTest::newRow("ineligible") << int(MarkedAmount::Ineligible)
                                << QStringList{"1000", "x", "750,25"}
                                << QStringList{"1000", FormatAmount(249.75), "750,25"};
    QTest::newRow("total") << int(MarkedAmount::Total) << QStringList{"x", "12,5", "0,5"}
                           << QStringList{FormatAmount(13), "12,5", "0,5"};
}

void TestItemEdit::markedAmount() {
    QFETCH(int, marked);
    QFETCH(QStringList, in);
    QFETCH(QStringList, out);
    FinanceForm f;
    f.marked = MarkedAmount(marked);
    f.total = in[0], f.ineligible = in[1], f.eligible = in[2];
    RecomputeMarkedAmount(f);
    QCOMPARE((QStringList{f.total, f.ineligible, f.eligible}), out);
}

void TestItemEdit::pageLayout_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("activity");
    QTest::addColumn<bool>("amounts");
    QTest::addColumn<bool>("assignment");
    QTest::addColumn<bool>("recognised");
    QTest::addColumn<bool>("status");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("typeEnabled");
    QTest::addColumn<bool>("stageLocked");
    QTest::addColumn<QString>("totalCaption");
    QTest::addColumn<QString>("paymentCaption");
    QTest::newRow("invoice") << "F"
                             << "Platba_Faktura_1" << true << true << false << true << true << true
                             << false << "Celková částka Včetně DPH"
                             << "Datum zaplacení";
    QTest::newRow("stage, word anywhere") << "F"
                                          << "Etapa_#_1" << true << false << true << false << true
                                          << true << false << "Celkové naklady etapy Včetně DPH"
                                          << "Datum konce v řízení";
    QTest::newRow("other item keeps the previous captions")
        << "J"
        << "Ostatní" << false << false << true << false << true << true << false
        << "Celkové naklady etapy Včetně DPH"
        << "Datum konce v řízení";
    QTest::newRow("deadline stage") << "T"
                                    << "1.Etapa" << false << false << true << false << false
                                    << false << true << "Celkové naklady etapy Včetně DPH"
                                    << "Datum konce v řízení";
}

void TestItemEdit::pageLayout() {
    QFETCH(QString, letter);
    QFETCH(QString, activity);
    // Starts from a finance stage row, as after showing one.
    PageLayout l;
    ApplyPageLayout(l, u'F', QStringLiteral("1.Etapa"), QStringLiteral("Včetně DPH"));
    ApplyPageLayout(l, letter.at(0), activity, QStringLiteral("Včetně DPH"));
    QTEST(l.amountsShown, "amounts");
    QTEST(l.assignmentShown, "assignment");
    QTEST(l.recognisedShown, "recognised");
    QTEST(l.statusShown, "status");
    QTEST(l.copyEnabled, "copy");
    QTEST(l.financeTypeEnabled, "typeEnabled");
    QTEST(l.deadlineStageLocked, "stageLocked");
    QTEST(l.totalCaption, "totalCaption");
    QTEST(l.paymentCaption, "paymentCaption");
    if (letter == QLatin1String("T"))
        QCOMPARE(l.plannedEligibleCaption, QStringLiteral("Celk.způs.výdaje PLÁN Včetně DPH"));
}

void TestItemEdit::storeFinanceByLayout_data() {
    QTest::addColumn<QString>("activity");
    QTest::addColumn<QString>("column7");
    QTest::addColumn<QString>("column9");
    QTest::newRow("invoice: no recognised amount") << "Platba_Faktura_1"
                                                   << "05.10.2026"
                                                   << "";
    QTest::newRow("stage: no assignment date") << "Etapa_#_1"
                                               << "" << FormatAmount(1234.5);
}

void TestItemEdit::storeFinanceByLayout() {
    QFETCH(QString, activity);
    Fixture fx;
    ItemForm form = fx.FormOf(kFinanceTable, 2);
    ApplyPageLayout(form.layout, u'F', activity, fx.ws.config.PopisDPH);
    form.finance.activity = activity;
    form.finance.recognised = QStringLiteral("1234,5");
    form.finance.total = QStringLiteral("2.000,004");  // not a number: stored as 0
    form.finance.ineligible = QStringLiteral("  300 ");
    const int row = StoreFinanceRow(fx.ws, 2, form.finance, form.layout);
    QCOMPARE(row, 2);
    QTEST(fx.ws.Finance.Cell(Finance::Approval, 2), "column7");
    QTEST(fx.ws.Finance.Cell(Finance::Eligible, 2), "column9");
    QCOMPARE(fx.ws.Finance.Cell(Finance::Ineligible, 2), FormatAmount(300));
    QCOMPARE(fx.ws.Finance.Cell(Finance::Total, 2), FormatAmount(0));
    QCOMPARE(form.finance.ineligible, FormatAmount(300));
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0001000"));
    QCOMPARE(fx.ws.Current().Row(), 2);
}

void TestItemEdit::storeDates() {
    Fixture fx;
    Table& t = fx.ws.Deadlines;
    // A hidden row of a project loaded before still holds its realistic term.
    t.SetCell(Deadline::RealStart, 4, QStringLiteral("01.01.2020"));
    t.SetCell(Deadline::RealEnd, 4, QStringLiteral("02.01.2020"));
    t.SetRowCount(4);
    DeadlineForm f = ReadDeadlineForm(t, 1);
    f.actualStart = kEmptyDate;
    f.planEnd = ParseDate(QStringLiteral("2.1.1900"));
    const int row = StoreDeadlineRow(fx.ws, 0, f);
    QCOMPARE(row, 4);
    QCOMPARE(t.RowCount(), 5);
    QCOMPARE(t.Cell(Deadline::RowNumber, 4), QStringLiteral("4"));
    QCOMPARE(t.Cell(Deadline::PlanEnd, 4), QString());
    QCOMPARE(t.Cell(Deadline::ActualStart, 4), QString());
    QCOMPARE(t.Cell(Deadline::PlanStart, 4), QStringLiteral("01.03.2026"));
    QCOMPARE(t.Cell(Deadline::RealStart, 4), QString());
    QCOMPARE(t.Cell(Deadline::RealEnd, 4), QString());
    // A stored row keeps its realistic term.
    t.SetCell(Deadline::RealStart, 1, QStringLiteral("02.03.2026"));
    StoreDeadlineRow(fx.ws, 1, f);
    QCOMPARE(t.Cell(Deadline::RealStart, 1), QStringLiteral("02.03.2026"));

    ProjectForm p = ReadProjectForm(fx.ws.Projects, 0);
    QCOMPARE(p.subsidyPercent, QStringLiteral("92,5"));
    QCOMPARE(p.erdfPercent, QStringLiteral("85"));
    p.dateTo = kEmptyDate;
    StoreProjectRow(fx.ws, 1, p);
    QCOMPARE(fx.ws.Projects.Cell(Project::Percentages, 1), QStringLiteral("92,5/85"));
    QCOMPARE(fx.ws.Projects.Cell(Project::Start, 1), QStringLiteral("01.01.2026"));
    QCOMPARE(fx.ws.Projects.Cell(Project::End, 1), QString());
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("1100000"));
}

// ---------------------------------------------------------------- operations

void TestItemEdit::addCopy_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("activity");  // typed into the form; empty keeps the row's
    QTest::addColumn<int>("newRow");
    QTest::addColumn<QString>("expectedActivity");
    QTest::addColumn<QString>("expectedId");
    QTest::addColumn<QString>("flags");
    QTest::newRow("deadline fills the gap, links dropped")
        << int(kDeadlineTable) << 2 << QString() << 4 << "Realizace"
        << "T-001-03"
        << "0100000";
    QTest::newRow("numbered activity gets the next number")
        << int(kFinanceTable) << 2 << "Etapa_#_1" << 3 << "Etapa_#_2"
        << "F-001-03"
        << "0001000";
}

void TestItemEdit::addCopy() {
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(QString, activity);
    QFETCH(int, newRow);
    Fixture fx;
    // Etapa_#_1 is taken in the finance table; the copy gets the next free number.
    fx.ws.Finance.SetCell(Finance::Activity, 1, QStringLiteral("Etapa_#_1"));
    ItemForm form = fx.FormOf(kind, row);
    if (!activity.isEmpty()) form.finance.activity = activity;
    QSignalSpy revealed(&fx.ws, &Workspace::gridCellRevealed);
    QCOMPARE(AddCopy(fx.ws, form, fx.Context()), EditOutcome::Done);

    const Table& t = *fx.ws.TableOf(kind);
    QCOMPARE(t.RowCount(), newRow + 1);
    QCOMPARE(fx.ws.Current().Row(), newRow);
    QTEST(t.Cell(Progress::Activity, newRow), "expectedActivity");
    QTEST(t.Cell(Progress::Identifier, newRow), "expectedId");
    QCOMPARE(t.Cell(Progress::Step, newRow), t.Cell(Progress::Step, row));
    QTEST(fx.ws.ChangeFlags, "flags");
    QCOMPARE(revealed.size(), 1);
    QCOMPARE(revealed.first(), (QVariantList{kind, 2, newRow}));
    QCOMPARE(fx.shown, (QList<QPair<int, int>>{{kind, newRow}}));
    QCOMPARE(fx.Records(),
             QStringList{RowRecord(QStringLiteral("Přidána_nová_položka_____"), t, newRow)});
}

void TestItemEdit::addCopyWithBadIdentifier() {
    Fixture fx;
    fx.ws.Deadlines.SetCell(Deadline::Identifier, 3, QStringLiteral("T-001-xx/"));
    ItemForm form = fx.FormOf(kDeadlineTable, 1);
    QCOMPARE(AddCopy(fx.ws, form, fx.Context()), EditOutcome::NotAdded);
    QCOMPARE(fx.ws.Deadlines.RowCount(), 4);
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0000000"));
    QVERIFY(fx.Records().isEmpty());
    const QStringList errors = fx.base.prompter.Texts(ScriptedPrompter::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(QStringLiteral("\"T-001-xx\"")), qPrintable(errors[0]));
}

void TestItemEdit::addEmpty() {
    Fixture fx;
    ItemForm form = fx.FormOf(kDeadlineTable, 2);
    QCOMPARE(AddEmpty(fx.ws, form, fx.Context()), EditOutcome::Done);
    const Table& t = fx.ws.Deadlines;
    QCOMPARE(RowCells(t, 4), (QStringList{"4", "T-001", "", "", "", "", "", "", "", "", "", "",
                                          "T-001-03", "", "", "", "", ""}));
    // The record shows the copy as it was added, before it was emptied.
    const QStringList records = fx.Records();
    QCOMPARE(records.size(), 1);
    QVERIFY(records[0].contains(QStringLiteral(";T-001;Realizace;Stavba;Výstavba;")));
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0100000"));
    QCOMPARE(fx.shown.last(), qMakePair(int(kDeadlineTable), 4));
}

void TestItemEdit::changeDeadlineFollowsLinks() {
    Fixture fx;
    fx.ws.config.SetFlag(kFlagFollowLinks, true);
    Table& t = fx.ws.Deadlines;
    ItemForm form = fx.FormOf(kDeadlineTable, 2);
    const QString before = RowRecord(QStringLiteral("Původní_přepsaná_položka_"), t, 2);
    // Typed with the end before the start: stored as a one-day term.
    form.deadline.planStart = Day(1, 2, 2026);
    form.deadline.planEnd = Day(15, 1, 2026);
    QCOMPARE(ChangeItem(fx.ws, form, fx.Context()), EditOutcome::Done);
    QCOMPARE(ParseDate(t.Cell(Deadline::PlanStart, 2)), Day(1, 2, 2026));
    QCOMPARE(ParseDate(t.Cell(Deadline::PlanEnd, 2)), Day(1, 2, 2026));
    // The superior spans its only child now, and every row has its realistic term.
    QCOMPARE(ParseDate(t.Cell(Deadline::PlanStart, 1)), Day(1, 2, 2026));
    QCOMPARE(ParseDate(t.Cell(Deadline::RealStart, 2)), Day(10, 3, 2026));
    QCOMPARE(fx.Records(),
             (QStringList{before, RowRecord(QStringLiteral("Nově_upravená_položka____"), t, 2)}));
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0100000"));
    QCOMPARE(fx.ws.Current().Row(), 2);
}

void TestItemEdit::changeFinanceMirrorsStage() {
    Fixture fx;
    fx.ws.config.SetFlag(kFlagSyncStages, true);
    ItemForm form = fx.FormOf(kFinanceTable, 1);
    const QString before = RowRecord(QStringLiteral("Původní_přepsaná_položka_"), fx.ws.Finance, 1);
    form.finance.due = Day(31, 7, 2026);
    QCOMPARE(ChangeItem(fx.ws, form, fx.Context()), EditOutcome::Done);
    const Table& d = fx.ws.Deadlines;
    QCOMPARE(d.Cell(Deadline::PlanEnd, 3), QStringLiteral("31.07.2026"));
    QCOMPARE(d.Cell(Deadline::Duration, 3), QStringLiteral("152"));
    QCOMPARE(fx.Records(),
             (QStringList{before,
                          RowRecord(QStringLiteral("Nově_upravená_položka____"), fx.ws.Finance, 1),
                          RowRecord(QStringLiteral("Nově_upravená_položka____"), d, 3)}));
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0101000"));
}

void TestItemEdit::deleteFinanceStage() {
    Fixture fx;
    fx.ws.config.SetFlag(kFlagSyncStages, true);
    fx.FormOf(kFinanceTable, 1);
    const QString financeRecord =
        RowRecord(QStringLiteral("Smazaná_položka__________"), fx.ws.Finance, 1);
    const QString deadlineRecord =
        RowRecord(QStringLiteral("Smazaná_položka__________"), fx.ws.Deadlines, 3);
    QCOMPARE(DeleteItem(fx.ws, fx.Context()), EditOutcome::Done);
    QCOMPARE(fx.Records(), (QStringList{financeRecord, deadlineRecord}));
    QCOMPARE(fx.ws.Deadlines.RowCount(), 3);
    QCOMPARE(fx.ws.Finance.RowCount(), 2);
    QCOMPARE(fx.ws.Finance.Cell(Finance::Activity, 1), QStringLiteral("Platba_Faktura_1"));
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0101000"));
    QCOMPARE(fx.ws.Current().Kind(), int(kFinanceTable));
    QCOMPARE(fx.ws.Current().Row(), 1);
    // The mirror's deadline row is shown first, then the finance row that took the place.
    QCOMPARE(fx.shown, (QList<QPair<int, int>>{{kDeadlineTable, 2}, {kFinanceTable, 1}}));
    const QStringList trace = fx.ws.CheckListing;
    QCOMPARE(trace.mid(0, 2), (QStringList{QString(), QStringLiteral("4 1 SmazSedouEtapu")}));
    QVERIFY(trace.contains(QStringLiteral("4 1 SmazZelenouEtapu")));
    QCOMPARE(trace.last(), QStringLiteral("4 1 Po Mazani Tabulky  4 1"));
}

void TestItemEdit::refused_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("kind");
    QTest::newRow("Přidat copy") << 0 << int(kDeadlineTable);
    QTest::newRow("Přidat prázdnou") << 1 << int(kFinanceTable);
    QTest::newRow("Změnit") << 2 << int(kDeadlineTable);
    QTest::newRow("Smazat") << 3 << int(kProjectTable);
}

void TestItemEdit::refused() {
    QFETCH(int, operation);
    QFETCH(int, kind);
    Fixture fx;
    fx.ws.Access.Permission = QStringLiteral("2_000");
    ItemForm form = fx.FormOf(kind, 1);
    form.deadline.planStart = Day(1, 1, 2026);
    const QStringList deadlineBefore = RowCells(fx.ws.Deadlines, 1);
    const QStringList financeBefore = RowCells(fx.ws.Finance, 1);
    const QStringList projectBefore = RowCells(fx.ws.Projects, 1);
    EditOutcome outcome = EditOutcome::Done;
    switch (operation) {
        case 0:
            outcome = AddCopy(fx.ws, form, fx.Context());
            break;
        case 1:
            outcome = AddEmpty(fx.ws, form, fx.Context());
            break;
        case 2:
            outcome = ChangeItem(fx.ws, form, fx.Context());
            break;
        default:
            outcome = DeleteItem(fx.ws, fx.Context());
            break;
    }
    QCOMPARE(outcome, EditOutcome::Refused);
    QCOMPARE(fx.base.prompter.Texts(ScriptedPrompter::Kind::Information),
             QStringList{QStringLiteral("Nemáte oprávnění pro tuto operaci  - 001") +
                         QString::fromUtf16(kRefusalHint)});
    QCOMPARE(fx.ws.Deadlines.RowCount(), 4);
    QCOMPARE(fx.ws.Finance.RowCount(), 3);
    QCOMPARE(fx.ws.Projects.RowCount(), 2);
    QCOMPARE(RowCells(fx.ws.Deadlines, 1), deadlineBefore);
    QCOMPARE(RowCells(fx.ws.Finance, 1), financeBefore);
    QCOMPARE(RowCells(fx.ws.Projects, 1), projectBefore);
    QCOMPARE(fx.ws.ChangeFlags, QStringLiteral("0000000"));
    QCOMPARE(fx.ws.Current().Row(), 1);
    QVERIFY(fx.Records().isEmpty());
    QVERIFY(fx.shown.isEmpty());
}

void TestItemEdit::addProject() {
    Fixture fx;
    Workspace& ws = fx.ws;
    SetupTable(ws.Templates, kTemplateTableWithDefaults, ws.config.PopisDPH);
    SaveProjectRegister(ws, ws.config.SouborAkce);
    ws.config.SouborPopis = QStringLiteral("APr_NameAkce__001.csv");
    ItemForm form = fx.FormOf(kProjectTable, 1);
    form.project.number = QStringLiteral("002");
    form.project.name = QStringLiteral("Most");
    // The missing progress file: no other file chosen, created in its basic form.
    fx.base.prompter.chosenFiles << QString();
    fx.base.prompter.answers << true;
    QCOMPARE(AddCopy(ws, form, fx.Context()), EditOutcome::Done);

    QCOMPARE(ws.Projects.RowCount(), 3);
    QCOMPARE(ws.Current().Row(), 2);
    QCOMPARE(ws.Projects.Cell(Project::Number, 2), QStringLiteral("002"));
    QVERIFY(fx.base.Lines(ws.config.SouborAkce).join(u'\n').contains(QStringLiteral("002;Most;")));
    const QString progress = QStringLiteral("APr_NameAkce__002.csv");
    QVERIFY(fx.base.Exists(progress));
    // The created file is what the tables hold now.
    QCOMPARE(ws.config.SouborPopis, progress);
    QCOMPARE(ws.Deadlines.Cell(Deadline::KindAndProject, 1), QStringLiteral("T-002"));
    QCOMPARE(ws.Current().ProjectRow(), 2);

    const QStringList records = fx.Records();
    const QStringList progressLines = fx.base.Lines(progress);
    QCOMPARE(records.size(), 2 + progressLines.size());
    QCOMPARE(records[0], RecordOf(QStringLiteral("Přidána_nová_položka_____"), ws.Projects, 2, 15));
    QCOMPARE(records[1], QStringLiteral("Přidána_data_projektu____") + kStamp + u';' +
                             QStringLiteral("3_000;**********"));
    QCOMPARE(records.mid(2), progressLines);
    QCOMPARE(fx.shown.last(), qMakePair(int(kProjectTable), 2));
}

void TestItemEdit::deleteTableRow_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rows");  // data rows
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("returned");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QString>("firstKind");  // column 1 of row 1 afterwards
    QTest::addColumn<QString>("firstId");
    QTest::newRow("only deadline row") << int(kDeadlineTable) << 1 << 1 << 1 << 2 << "T-009"
                                       << "T-009-01";
    QTest::newRow("only finance row") << int(kFinanceTable) << 1 << 1 << 1 << 2 << "F-009"
                                      << "F-009-01";
    QTest::newRow("last of five") << int(kDeadlineTable) << 5 << 5 << 4 << 5 << "T-001"
                                  << "T-001-01";
    QTest::newRow("second of five") << int(kDeadlineTable) << 5 << 2 << 2 << 5 << "T-001"
                                    << "T-001-01";
    QTest::newRow("first of five") << int(kFinanceTable) << 5 << 1 << 1 << 5 << "F-001"
                                   << "F-001-02";
    QTest::newRow("only project row") << int(kProjectTable) << 1 << 1 << 1 << 2 << ""
                                      << "";
    QTest::newRow("outside the table") << int(kDeadlineTable) << 3 << 4 << 4 << 4 << "T-001"
                                       << "T-001-01";
    QTest::newRow("row 0") << int(kDeadlineTable) << 3 << 0 << 0 << 4 << "T-001"
                           << "T-001-01";
}

void TestItemEdit::deleteTableRow() {
    QFETCH(int, kind);
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(int, returned);
    QFETCH(int, rowCount);
    TempBase base;
    Workspace& ws = *base.ws;
    Table& t = *ws.TableOf(kind);
    SetupTable(t, kind, ws.config.PopisDPH);
    const QString prefix = kind == kFinanceTable ? QStringLiteral("F-") : QStringLiteral("T-");
    for (int r = 1; r <= rows; ++r) {
        t.SetCell(AnyTable::RowNumber, r, QString::number(r));
        t.SetCell(Progress::KindAndProject, r,
                  kind == kProjectTable ? QStringLiteral("00%1").arg(r) : prefix + "001");
        t.SetCell(Progress::Identifier, r, prefix + QStringLiteral("001-0%1").arg(r));
    }
    t.SetRowCount(rows + 1);
    QList<QPair<int, int>> shown;
    const int result = DeleteTableRow(ws, kind, row, QStringLiteral("009"),
                                      [&](int k, int r) { shown << qMakePair(k, r); });
    QCOMPARE(result, returned);
    QCOMPARE(t.RowCount(), rowCount);
    QTEST(t.Cell(Progress::KindAndProject, 1), "firstKind");
    if (kind != kProjectTable) QTEST(t.Cell(Progress::Identifier, 1), "firstId");
    const bool changed = row >= 1 && row <= rows;
    QCOMPARE(ws.Changed(kind == kProjectTable   ? kChangedProjects
                        : kind == kFinanceTable ? kChangedFinance
                                                : kChangedDeadlines),
             changed);
    QCOMPARE(shown.size(), changed ? 1 : 0);
    // The row numbers in column 0 stay where they are.
    if (rows == 5) QCOMPARE(t.Cell(AnyTable::RowNumber, 2), QStringLiteral("2"));
    if (rows == 5 && row == 2)
        QCOMPARE(t.Cell(Progress::Identifier, 2), prefix + QStringLiteral("001-03"));
    // The row beyond the count is empty, should it show again.
    if (changed && rows > 1) QCOMPARE(t.Cell(Progress::KindAndProject, rows), QString());
    QCOMPARE(ws.CheckListing.size(), 2);
}

void TestItemEdit::deleteBeyond16Bits() {
    TempBase base;
    Workspace& ws = *base.ws;
    Table& t = ws.Deadlines;
    SetupTable(t, kDeadlineTable, ws.config.PopisDPH);
    const int rows = 66000;
    for (int r = 1; r <= rows; ++r) t.SetCell(Deadline::Identifier, r, QString::number(r));
    t.SetRowCount(rows + 1);
    QCOMPARE(DeleteTableRow(ws, kDeadlineTable, 65537, QStringLiteral("001")), 65537);
    QCOMPARE(t.Cell(Deadline::Identifier, 1), QStringLiteral("1"));
    QCOMPARE(t.Cell(Deadline::Identifier, 65536), QStringLiteral("65536"));
    QCOMPARE(t.Cell(Deadline::Identifier, 65537), QStringLiteral("65538"));
    QCOMPARE(t.RowCount(), rows);
}

void TestItemEdit::oneNoticePerOperation_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("syncStages");
    QTest::addColumn<QStringList>("notices");
    QTest::newRow("change") << u"change"_s << false << QStringList{u"changed 4 2-2"_s, u"done 4"_s};
    QTest::newRow("change with stage mirror")
        << u"change 1"_s << true
        << QStringList{u"changed 4 1-1"_s, u"done 4"_s, u"changed 1 3-3"_s, u"done 1"_s};
    QTest::newRow("add copy") << u"add"_s << false << QStringList{u"inserted 4 3-3"_s, u"done 4"_s};
    // The stored row and then the emptied copy: one notice all the same.
    QTest::newRow("add empty") << u"empty"_s << false
                               << QStringList{u"inserted 4 3-3"_s, u"changed 4 3-3"_s, u"done 4"_s};
    QTest::newRow("delete with stage mirror")
        << u"delete"_s << true
        << QStringList{u"removed 1 3-3"_s, u"done 1"_s, u"removed 4 1-1"_s, u"done 4"_s};
}

void TestItemEdit::oneNoticePerOperation() {
    QFETCH(QString, operation);
    QFETCH(bool, syncStages);
    QFETCH(QStringList, notices);
    Fixture fx;
    fx.ws.config.SetFlag(kFlagSyncStages, syncStages);
    ItemForm form = fx.FormOf(kFinanceTable, operation == u"change"_s ? 2 : 1);
    form.finance.due = Day(31, 7, 2026);
    fx.RecordNotices();
    {
        // The entry window groups the operation with its own follow-up notice.
        const TableEdit outer(fx.ws);
        if (operation.startsWith(u"change"_s)) ChangeItem(fx.ws, form, fx.Context());
        if (operation == u"add"_s) AddCopy(fx.ws, form, fx.Context());
        if (operation == u"empty"_s) AddEmpty(fx.ws, form, fx.Context());
        if (operation == u"delete"_s) DeleteItem(fx.ws, fx.Context());
        QCOMPARE(fx.notices, QStringList());
    }
    QCOMPARE(fx.notices, notices);
    // Outside an edit a notice goes at once, and a whole-table notice outweighs rows.
    fx.notices.clear();
    fx.ws.NotifyRowsChanged(kFinanceTable, 1, 1);
    QCOMPARE(fx.notices, (QStringList{u"changed 4 1-1"_s, u"done 4"_s}));
    fx.notices.clear();
    {
        const TableEdit edit(fx.ws);
        fx.ws.NotifyRowsInserted(kTemplateTableWithDefaults, 2, 2);
        fx.ws.NotifyTable(kTemplateTable);
    }
    QCOMPARE(fx.notices, (QStringList{u"reset 6"_s, u"done 6"_s}));
}

QTEST_GUILESS_MAIN(TestItemEdit)
#include "tst_itemedit.moc"
