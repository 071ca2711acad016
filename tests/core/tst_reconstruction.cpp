#include <QtTest>

#include "Clock.h"
#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/TextFile.h"
#include "editing/EditLabels.h"
#include "editing/TableRows.h"
#include "shell/ChangeLog.h"
#include "shell/Reconstruction.h"

namespace {

const QString kLog = QStringLiteral("Zmeny/Zmeny_2026-12.csv");
const QString kFile10 = QStringLiteral("APr_NameAkce__10.csv");
const QString kFile101 = QStringLiteral("APr_NameAkce__101.csv");
const QString kCommon = QStringLiteral(";%1 - 10:30;Jan Novák;Uzivatel_TEST;");

// The tables a day ended with: rows 1 … of each, every column.
struct State {
    QList<QStringList> projects, deadlines, finance;
    bool operator==(const State&) const = default;
};

QList<QStringList> Rows(const Table& t) {
    QList<QStringList> rows;
    for (int r = 1; r < t.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < t.ColumnCount(); ++c) row << t.Cell(c, r);
        rows << row;
    }
    return rows;
}

State Capture(const Workspace& ws) {
    return {Rows(ws.Projects), Rows(ws.Deadlines), Rows(ws.Finance)};
}

void SetDay(int day) {
    Clock::Set(QDateTime(QDate(2026, 12, day), QTime(10, 30)));
}

void Log(Workspace& ws, const char16_t* label, int kind, int row) {
    LogChange(ws, QString(), QString::fromUtf16(label), kind, row);
}

// Project 101 listed before 10, so that each finds its own file; the name of
// project 10 has two blanks, which the snapshot line loses.
void WriteData(TempBase& base) {
    base.WriteLines("NameAkce.csv",
                    RegisterLines({QStringLiteral("101;Most;A;B;2.1;;;;;85/85;500000,00;;"
                                                  "01.03.2026;30.11.2026;;"),
                                   QStringLiteral("10;Nová  škola;C;D;3.2;;;;;75/80;;1000,5;"
                                                  "15.01.2026;31.08.2027;;")}));
    base.WriteLines(kFile10,
                    {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;10", "Termíny",
                     "T-10;Příprava;Stavba;Projekt;01.02.2026;28.02.2026;;;27;;;T-10-01/;;;;;;",
                     "T-10;Realizace;Stavba;Výstavba;01.03.2026;30.06.2026;;;121;;;T-10-02/;;;;;;",
                     "F-10;Etapa 1;;Plán;;;;;1000;;1000;F-10-01/;etapa;;;;;"});
    base.WriteLines(kFile101,
                    {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;101", "Termíny",
                     "T-101;Jiná;Most;Výstavba;01.03.2026;30.06.2026;;;121;;;T-101-01/;;;;;;",
                     "F-101;Faktura;;Plán;;;;;;;250;F-101-01/;;;;;;"});
}

void Prepare(TempBase& base) {
    Workspace& ws = *base.ws;
    ws.config.CestaZmeny = QStringLiteral("Zmeny/");
    QDir().mkpath(base.Path("Zmeny"));
    ws.Access.UserName = QStringLiteral("Jan Novák");
    ws.config.SouborPopis = kFile10;
    WriteData(base);
    LoadProjectRegister(ws, ws.config.SouborAkce);
    LoadProgress(ws, kFile10);
}

void AddRow(Workspace& ws, int kind, const QStringList& cells) {
    Table& t = *ws.TableOf(kind);
    const int row = t.RowCount();
    t.SetCell(0, row, QString::number(row));
    for (int c = 1; c < cells.size(); ++c) t.SetCell(c, row, cells[c]);
    Log(ws, kLabelAdded, kind, row);
}

void ChangeCell(Workspace& ws, int kind, int row, int column, const QString& text) {
    Log(ws, kLabelChangedOld, kind, row);
    ws.TableOf(kind)->SetCell(column, row, text);
    Log(ws, kLabelChangedNew, kind, row);
}

// Rebuilds the project table and project 10 as of the day, without questions.
Reconstruction& Rebuild(TempBase& base, Reconstruction& r, const QDate& day) {
    r.stepping = false;
    r.day = DayFromDate(day);
    r.ReconstructProjectTable(base.Path(kLog));
    r.projectItem = QStringLiteral("10/ Nová  škola");
    r.ReconstructProjectProgress();
    return r;
}

QStringList Lines(const QByteArray& bytes) {
    QStringList lines = TextFile::Decode(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

QString Unmatched(const QStringList& listing) {
    QStringList lines;
    for (const QString& l : listing)
        if (l.contains(QStringLiteral("Nenalezena")) || l.contains(QStringLiteral("Vynechán")))
            lines << l;
    return lines.join(u'\n');
}

}  // namespace

class TestReconstruction : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    // A month of changes recorded by the program: every day rebuilds to what
    // the tables held at its end, and nothing of project 101 reaches project 10.
    void everyDayOfTheMonth() {
        TempBase& base = *base_;
        Prepare(base);
        Workspace& ws = *base.ws;
        QMap<int, State> days;

        SetDay(1);
        Log(ws, kLabelLogin, kLogEvent, 1);  // the month's log begins with the snapshot
        days[1] = Capture(ws);

        SetDay(2);
        AddRow(ws, kDeadlineTable,
               {"", "T-10", "Kolaudace", "Stavba", "Převzetí", "01.07.2026", "31.07.2026", "", "",
                "30", "", "", "T-10-03/", "", "", "", "", ""});
        ChangeCell(ws, kFinanceTable, 1, Finance::Total, FormatAmount(1250.5));
        days[2] = Capture(ws);

        SetDay(3);
        Log(ws, kLabelDeleted, kDeadlineTable, 1);
        DeleteTableRow(ws, kDeadlineTable, 1, QStringLiteral("10"));
        ChangeCell(ws, kProjectTable, 2, Project::Manager, QStringLiteral("Eva Malá"));
        days[3] = Capture(ws);

        SetDay(4);
        // Project 101 gets a row of its own; project 10 stays as it was.
        SaveProgress(ws, kFile10, SaveMode::Open);
        LoadProgress(ws, kFile101);
        AddRow(ws, kDeadlineTable,
               {"", "T-101", "Cizí", "Most", "Výstavba", "", "", "", "", "0", "", "", "T-101-02/",
                "", "", "", "", ""});
        SaveProgress(ws, kFile101, SaveMode::Open);
        LoadProgress(ws, kFile10);
        days[4] = Capture(ws);
        SetDay(9);

        for (int day : {1, 2, 3, 4}) {
            Reconstruction r(*base.ws);
            Rebuild(base, r, QDate(2026, 12, day));
            const State rebuilt = Capture(ws);
            QCOMPARE(rebuilt.projects, days[day].projects);
            QCOMPARE(rebuilt.deadlines, days[day].deadlines);
            QCOMPARE(rebuilt.finance, days[day].finance);
            QCOMPARE(Unmatched(r.Listing()), QString());
            QCOMPARE(r.Unmatched(), 0);
        }
        // Before the first record: the snapshot alone.
        Reconstruction before(ws);
        Rebuild(base, before, QDate(2026, 11, 30));
        QCOMPARE(Capture(ws), days[1]);
        // The rebuilt tables are not marked for saving; the live files stay.
        QCOMPARE(ws.ChangeFlags, QStringLiteral("0000000"));
        QCOMPARE(ws.config.SouborPopis, kFile10);
    }

    // Hand-written logs for the rules at their edges; the snapshot holds
    // project 10 with its deadline rows.
    void replayRules_data() {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("expected");  // column 2 of the deadline rows
        QTest::addColumn<int>("unmatched");
        const QString t = kCommon.arg(QStringLiteral("02.12.2026"));
        const QString late = kCommon.arg(QStringLiteral("20.12.2026"));
        const QString row = QStringLiteral("1;T-10;%1;S;P;;;;;0;;;T-10-0%2/;;;;;;;");
        const QString add = QString::fromUtf16(kLabelAdded);
        const QString del = QString::fromUtf16(kLabelDeleted);
        const QString oldL = QString::fromUtf16(kLabelChangedOld);
        const QString newL = QString::fromUtf16(kLabelChangedNew);
        QTest::newRow("later day left out")
            << QStringList{add + late + row.arg("Nová", "3")} << QStringList{"A", "B", "A"} << 0;
        QTest::newRow("no time: always replayed")
            << QStringList{add + ";bez času;Jan;KEY;" + row.arg("Nová", "3")}
            << QStringList{"A", "B", "A", "Nová"} << 0;
        QTest::newRow("equal rows: the lower one goes")
            << QStringList{del + t + row.arg("A", "1")} << QStringList{"A", "B"} << 0;
        QTest::newRow("project 101 is not project 10")
            << QStringList{add + t + "1;T-101;Cizí;S;P;;;;;0;;;T-101-01/;;;;;;;"}
            << QStringList{"A", "B", "A"} << 0;
        QTest::newRow("old row without new one swallows nothing")
            << QStringList{oldL + t + row.arg("B", "2"), add + t + row.arg("Další", "4")}
            << QStringList{"A", "B", "A", "Další"} << 1;
        QTest::newRow("change with a sort between")
            << QStringList{oldL + t + row.arg("B", "2"),
                           "Setřídění průběhů________" + t + "Plán od;",
                           newL + t + row.arg("B2", "2")}
            << QStringList{"A", "B2", "A"} << 0;
        QTest::newRow("deleted row not found is listed")
            << QStringList{del + t + row.arg("X", "9")} << QStringList{"A", "B", "A"} << 1;
        const QString data = QString::fromUtf16(kLabelProjectData);
        const QStringList copied = {"Akce ORVA;02.12.2026", "Akce - Projekt Číslo ;10", "Termíny",
                                    "T-10;Nový;S;P;;;;;0;;;T-10-09/;;;;;;"};
        QTest::newRow("rows copied after project data: from that day")
            << QStringList{data + t + "stroj;5_000;**********"} + copied
            << QStringList{"A", "B", "A", "Nový"} << 0;
        QTest::newRow("rows copied after project data: not before")
            << QStringList{data + late + "stroj;5_000;**********"} + copied
            << QStringList{"A", "B", "A"} << 0;
        QTest::newRow("blanks and empty date compare by value")
            << QStringList{del + t + "1;T-10; B ;S;P;02.01.1900;;;;0;;;T-10-02/;;;;;;;"}
            << QStringList{"A", "A"} << 0;
    }
    void replayRules() {
        QFETCH(QStringList, records);
        QFETCH(QStringList, expected);
        QFETCH(int, unmatched);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        ws.config.CestaZmeny = QStringLiteral("Zmeny/");
        base.WriteLines(
            "Zmeny/Zmeny_2026-12.csv",
            QStringList{";Uloženo 01.12.2026", "Akce ORVA", "Číslo akce;Název akce;",
                        "10;Škola;;;;;;;;;;;;;;", "101;Most;;;;;;;;;;;;;;", "Akce ORVA;01.12.2026",
                        "Akce - Projekt Číslo ;10", "Termíny", "T-10;A;S;P;;;;;0;;;T-10-01/;;;;;;",
                        "T-10;B;S;P;;;;;0;;;T-10-02/;;;;;;", "T-10;A;S;P;;;;;0;;;T-10-01/;;;;;;",
                        "T-101;Cizí;S;P;;;;;0;;;T-101-01/;;;;;;"} +
                records);
        Reconstruction r(ws);
        r.stepping = false;
        r.day = DayFromDate(QDate(2026, 12, 5));
        QVERIFY(r.ReconstructProjectTable(base.Path(kLog)));
        r.projectItem = QStringLiteral("10/ Škola");
        QVERIFY(r.ReconstructProjectProgress());
        QStringList activities;
        for (int row = 1; row < ws.Deadlines.RowCount(); ++row)
            activities << ws.Deadlines.Cell(Deadline::Activity, row);
        QCOMPARE(activities, expected);
        QCOMPARE(r.Unmatched(), unmatched);
        QCOMPARE(Unmatched(r.Listing()).isEmpty(), unmatched == 0);
        QVERIFY(base.prompter.log.isEmpty());
    }

    // Stepping asks before the snapshot and before each change; "No" skips
    // only that change.
    void steppingAsks() {
        TempBase& base = *base_;
        Prepare(base);
        Workspace& ws = *base.ws;
        SetDay(1);
        Log(ws, kLabelLogin, kLogEvent, 1);
        SetDay(2);
        ChangeCell(ws, kProjectTable, 1, Project::Name, QStringLiteral("Most přes řeku"));
        ChangeCell(ws, kProjectTable, 2, Project::Name, QStringLiteral("Škola"));
        SetDay(9);
        LoadProjectRegister(ws, ws.config.SouborAkce);  // back to the file's state
        base.prompter.answers = {true, false, true};
        Reconstruction r(ws);
        r.day = DayFromDate(QDate(2026, 12, 2));
        QVERIFY(r.ReconstructProjectTable(base.Path(kLog)));
        const QStringList questions = base.prompter.Texts(ScriptedPrompter::Kind::Question);
        QCOMPARE(questions.size(), 3);
        QVERIFY(questions[0].startsWith(
            "Nahrat záložní tabulku základních nastavení projektů - Žlutou \r\nZe souboru "));
        QCOMPARE(questions[1],
                 QStringLiteral("Nahradit položku v základní  tabulce - Žluté \r\n\r\n  Řádek "
                                "1\r\n\r\n"));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Information).size(), 2);
        QCOMPARE(ws.Projects.Cell(Project::Name, 1), QStringLiteral("Most"));
        QCOMPARE(ws.Projects.Cell(Project::Name, 2), QStringLiteral("Škola"));
    }

    // A backup written by the program restores the register and every progress
    // file; unsaved rows are saved before, and the loaded file read again after.
    void restoreFromBackup() {
        TempBase& base = *base_;
        Prepare(base);
        Workspace& ws = *base.ws;
        SaveProjectRegister(ws, ws.config.SouborAkce);  // as the program writes it
        Log(ws, kLabelBackup, kLogEvent, 12);
        const QString backup = QStringLiteral("Zmeny/Zaloha_Jan-Novák_2026-12-09.csv");
        QVERIFY(base.Exists(backup));
        const QByteArray register0 = base.Bytes("NameAkce.csv");
        // Later: project 101's file is spoiled, and project 10 has an unsaved edit.
        base.WriteLines(kFile101, {"Akce ORVA;05.12.2026", "T-101;Zkažená;;;;;;;;;;;;;;;;"});
        base.WriteLines("NameAkce.csv", RegisterLines({"777;Jiná;;;;;;;;;;;;;;"}));
        ws.Deadlines.SetCell(Deadline::Activity, 1, QStringLiteral("Neuloženo"));
        ws.SetChanged(kChangedDeadlines, true);

        // Yes to the register, Yes to 101, No to 10.
        base.prompter.answers = {true, true, false};
        const QStringList listing = RestoreFromBackup(ws, true, base.Path(backup));
        QVERIFY(!listing.isEmpty());
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question).size(), 3);
        QCOMPARE(base.Lines("NameAkce.csv").mid(1), Lines(register0).mid(1));
        const QString restored = base.Lines(kFile101).join(u'\n');
        QVERIFY(restored.contains(QStringLiteral("T-101;Jiná;")));
        QVERIFY(!restored.contains(QStringLiteral("Zkažená")));
        // Answered No: the file keeps the edit that was saved before the restore,
        // and the tables show that file again.
        QVERIFY(base.Lines(kFile10).join(u'\n').contains(QStringLiteral("Neuloženo")));
        QCOMPARE(ws.config.SouborPopis, kFile10);
        QCOMPARE(ws.Deadlines.Cell(Deadline::Activity, 1), QStringLiteral("Neuloženo"));
        QCOMPARE(ws.ChangeFlags, QStringLiteral("0000000"));
        QVERIFY(base.Lines(kLog).join(u'\n').contains(QStringLiteral("Obnova dat ") + kFile101));
    }
};

QTEST_GUILESS_MAIN(TestReconstruction)
#include "tst_reconstruction.moc"
