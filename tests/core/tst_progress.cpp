#include <QtTest>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "data/ProgressCache.h"
#include "data/ProjectRegister.h"
#include "editing/GridActions.h"
#include "editing/ItemEdit.h"
#include "editing/ItemForm.h"
#include "shell/StartUp.h"

namespace {

// A project table with the given numbers in rows 1, 2, …
void SetProjects(Workspace& ws, const QStringList& numbers) {
    SetupTable(ws.Projects, kProjectTable, QString());
    for (int i = 0; i < numbers.size(); ++i) {
        ws.Projects.SetCell(Project::RowNumber, i + 1, QString::number(i + 1));
        ws.Projects.SetCell(Project::Number, i + 1, numbers[i]);
        ws.Projects.SetCell(Project::Name, i + 1, "Akce " + numbers[i]);
    }
    ws.Projects.SetRowCount(int(numbers.size()) + 1);
}

QString Row(const QString& kind, const QString& activity, const QString& id,
            const QString& amounts = QString()) {
    // 17 values each followed by ";", then one more ";".
    QStringList f = {kind,
                     activity,
                     "Stavba",
                     "Proces",
                     "01.02.2026",
                     "28.02.2026",
                     "",
                     "",
                     amounts.isEmpty() ? "27" : amounts.section('|', 0, 0),
                     amounts.isEmpty() ? "" : amounts.section('|', 1, 1),
                     amounts.isEmpty() ? "" : amounts.section('|', 2, 2),
                     id,
                     "info",
                     "",
                     "",
                     "",
                     ""};
    return f.join(u';') + ";;";
}

QStringList SavedProgress(const QString& number, const QStringList& rows) {
    return QStringList{"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;" + number, "Termíny"} + rows;
}

}  // namespace

class TestProgress : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void fileNames_data() {
        QTest::addColumn<QString>("registerName");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default register") << "NameAkce.csv"
                                          << "012"
                                          << "APr_NameAkce__012.csv";
        QTest::newRow("underscores become dashes") << "Akce_2008_v2.csv"
                                                   << "012"
                                                   << "APr_Akce_2008-v2_012.csv";
        QTest::newRow("upper-case AKCE") << "AKCE.csv"
                                         << "5"
                                         << "APr_AKCE__5.csv";
        QTest::newRow("upper-case extension") << "AKCE.CSV"
                                              << "5"
                                              << "APr___5.csv";
        QTest::newRow("one underscore") << "Akce_X.csv"
                                        << "7"
                                        << "APr_Akce_X_7.csv";
    }
    void fileNames() {
        QFETCH(QString, registerName);
        QFETCH(QString, number);
        QFETCH(QString, expected);
        TempBase& base = *base_;
        SetProjects(*base.ws, {number});
        base.ws->config.SouborAkce = registerName;
        QCOMPARE(ProgressFileName(*base.ws, number), expected);
        QCOMPARE(ProgressNumberForSaving(expected), number);
        QCOMPARE(ProgressNumberForLoading(expected), number);
    }

    void fileNameMatchesNumbersAsSubstrings() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"1", "12"});
        QCOMPARE(ProgressFileName(*base.ws, "12"), QStringLiteral("APr_NameAkce__1.csv"));
        QCOMPARE(base.ws->Current().ProjectRow(), 1);
    }

    void loadReadsRowsAndHeaders() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101", "102"});
        base.WriteLines("APr_NameAkce__102.csv",
                        {"Akce ORVA", "Akce - Projekt Číslo ;102;Škola", "Termíny",
                         "Akce číslo;Činnost;Zařazení;Proces;Plán od ;Plán DO;Skutečnost "
                         "OD;Skutečnost DO;Délka Dnů;Real OD;Real DO;ID-vnitřní;Info;Poznámka;;"
                         "Dokument TXT;Dokument JPG",
                         Row("T-102", "Realizace", "T-102-01//"), "nesmysl;řádek",
                         Row("T-999", "Cizí", "T-999-01//"),
                         Row("F-102", "Etapa_#_1", "F-102-01/", "1234567,00|12,5|"),
                         Row("J-102", "Jiné", "J-102-01/").replace(";info;", ";;"),
                         Row("F-102", "Faktura", "F-102-02/").replace(";info;", ";;")});
        QSignalSpy loaded(base.ws.get(), &Workspace::progressFileLoaded);
        QCOMPARE(LoadProgress(*base.ws, "APr_NameAkce__102.csv"), LoadResult::Loaded);
        const Table& d = base.ws->Deadlines;
        const Table& f = base.ws->Finance;
        QCOMPARE(d.RowCount(), 3);  // rows of another project in the file are loaded too
        QCOMPARE(d.Cell(Deadline::KindAndProject, 2), QStringLiteral("T-999"));
        QCOMPARE(d.Cell(Deadline::RowNumber, 2), QStringLiteral("2"));
        QCOMPARE(f.RowCount(), 4);
        QCOMPARE(f.Cell(Finance::Eligible, 1), FormatAmount(1234567));
        QCOMPARE(f.Cell(Finance::Ineligible, 1), FormatAmount(12.5));
        QCOMPARE(f.Cell(Finance::Total, 1), FormatAmount(0));
        QCOMPARE(f.Cell(Finance::Info, 2), QString());  // J- rows keep an empty info
        QCOMPARE(f.Cell(Finance::Info, 3),
                 QStringLiteral("[DPH-20%/-10%]"));  // F- rows get the VAT text
        // The generated header line replaces the headers of both tables.
        QCOMPARE(d.Cell(Deadline::PlanStart, 0), QStringLiteral("Plán od"));
        QCOMPARE(f.Cell(Finance::StartOrDelivery, 0), QStringLiteral("Plán od"));
        QCOMPARE(f.Cell(Finance::Eligible, 0), QStringLiteral("Délka Dnů"));
        QCOMPARE(base.ws->config.SouborPopis, QStringLiteral("APr_NameAkce__102.csv"));
        QCOMPARE(base.ws->Current().ProjectRow(), 2);
        QCOMPARE(loaded.count(), 1);
    }

    void fileWithoutRowsLeavesPlaceholders() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101"});
        SetupTable(base.ws->Deadlines, kDeadlineTable, QString());
        base.ws->Deadlines.SetCell(Deadline::PlanStart, 1, "old");
        base.WriteLines("APr_NameAkce__101.csv",
                        {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;101", "Termíny"});
        LoadProgress(*base.ws, "APr_NameAkce__101.csv");
        QCOMPARE(base.ws->Deadlines.RowCount(), 2);
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::KindAndProject, 1), QStringLiteral("T-101"));
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::Identifier, 1), QStringLiteral("T-101-01/"));
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::PlanStart, 1), QString());
        QCOMPARE(base.ws->Finance.Cell(Finance::Identifier, 1), QStringLiteral("F-101-01/"));
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::PlanStart, 0), QStringLiteral("Plán od"));
    }

    void saveWritesTheFileFormat() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"1", "12"});
        const QString name = "APr_NameAkce__1.csv";
        base.WriteLines(name, {"Akce ORVA", "x", "Termíny", Row("T-1", "A", "T-1-01//"),
                               Row("T-12", "Cizí", "T-12-01//"), Row("T-7", "Jiná", "T-7-01//"),
                               Row("F-1", "Etapa", "F-1-01/", "1234567,5|0|10")});
        LoadProgress(*base.ws, name);
        base.ws->Deadlines.SetCell(Deadline::Activity, 1, "A;B");
        QSignalSpy before(base.ws.get(), &Workspace::aboutToSaveProgress);
        base.ws->SetChanged(kChangedFinance, true);
        QVERIFY(SaveProgress(*base.ws, name, SaveMode::Open));
        QCOMPARE(before.count(), 1);
        QCOMPARE(base.Lines(name),
                 (QStringList{"Akce ORVA;09.12.2026", "Akce - Projekt Číslo ;1", "Termíny",
                              Row("T-1", "A~B", "T-1-01//"),
                              // rows of project 12 contain the number 1 and are kept too
                              Row("T-12", "Cizí", "T-12-01//"),
                              Row("F-1", "Etapa", "F-1-01/", "1234567,50|0,00|10,00")}));
        QVERIFY(!base.ws->Changed(kChangedFinance));
    }

    void saveUnderAnOddNameWritesOnlyHeadings() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101"});
        base.ws->Deadlines.SetCell(Deadline::KindAndProject, 1, "T-101");
        SaveProgress(*base.ws, "prubeh.csv", SaveMode::All);
        QCOMPARE(base.Lines("prubeh.csv"),
                 (QStringList{"Akce ORVA;09.12.2026", "Akce - Projekt Číslo ;", "Termíny"}));
        QVERIFY(base.prompter.log.isEmpty());  // mode "all" never asks
    }

    // A missing progress file: Yes generates it, but never for every project and
    // never over an existing file.
    void missingFileGeneration_data() {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<bool>("existingTarget");
        QTest::addColumn<QString>("expectedFile");
        QTest::addColumn<QString>("expectedError");
        QTest::newRow("generated") << "APr_NameAkce__102.csv" << false << "APr_NameAkce__102.csv"
                                   << "";
        QTest::newRow("no project found") << "APr_NameAkce__555.csv" << false << ""
                                          << "žádná akce";
        QTest::newRow("other file exists") << "Stary_101_prubeh.csv" << true << ""
                                           << "již existuje";
    }
    void missingFileGeneration() {
        QFETCH(QString, requested);
        QFETCH(bool, existingTarget);
        QFETCH(QString, expectedFile);
        QFETCH(QString, expectedError);
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101", "102"});
        SetupTable(base.ws->Templates, kTemplateTableWithDefaults, QString());
        if (existingTarget) base.WriteLines("APr_NameAkce__101.csv", {"keep"});
        base.prompter.answers = {true};
        LoadProgress(*base.ws, requested);
        const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
        if (expectedError.isEmpty()) {
            QVERIFY(errors.isEmpty());
            QVERIFY(base.Exists(expectedFile));
            QVERIFY(!base.Exists("APr_NameAkce__101.csv"));
        } else {
            QCOMPARE(errors.size(), 1);
            QVERIFY2(errors[0].contains(expectedError), qPrintable(errors[0]));
            QCOMPARE(QDir(base.Dir()).entryList(QDir::Files).size(), existingTarget ? 1 : 0);
        }
        if (existingTarget) QCOMPARE(base.Lines("APr_NameAkce__101.csv"), QStringList{"keep"});
    }

    void missingFileAnsweredNoChangesNothing() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101"});
        base.ws->Deadlines.SetCell(Deadline::Activity, 1, "keep");
        QCOMPARE(LoadProgress(*base.ws, "APr_NameAkce__101.csv"), LoadResult::Unchanged);
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::Activity, 1), QStringLiteral("keep"));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question),
                 QStringList{"Soubor APr_NameAkce__101.csv nebyl nalezen.\r\nChceteli jej "
                             "vytvořit v základním tvaru ?\r\nStiskněte   YES\r\n"});
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::OpenDialog),
                 QStringList{"Otevření Prubehu Akcí -" + base.Path("APr_NameAkce__101.csv")});
    }

    void loadingSavesChangedTablesFirst() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101", "102"});
        base.WriteLines("APr_NameAkce__101.csv", {Row("T-101", "A", "T-101-01//")});
        base.WriteLines("APr_NameAkce__102.csv", {Row("T-102", "B", "T-102-01//")});
        LoadProgress(*base.ws, "APr_NameAkce__101.csv");
        base.ws->Deadlines.SetCell(Deadline::Activity, 1, "Změněno");
        base.ws->SetChanged(kChangedDeadlines, true);
        LoadProgress(*base.ws, "APr_NameAkce__102.csv");
        QCOMPARE(base.Lines("APr_NameAkce__101.csv")[3], Row("T-101", "Změněno", "T-101-01//"));
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::Activity, 1), QStringLiteral("B"));
    }

    void loadAllLeavesTheLastProjectLoaded() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101", "102", "103"});
        for (const QString n : {"101", "102", "103"})
            base.WriteLines("APr_NameAkce__" + n + ".csv",
                            {Row("T-" + n, "A", "T-" + n + "-01//")});
        LoadAllProgress(*base.ws);
        QCOMPARE(base.ws->config.SouborPopis, QStringLiteral("APr_NameAkce__103.csv"));
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::KindAndProject, 1), QStringLiteral("T-103"));
        QCOMPARE(base.ws->Current().ProjectRow(), 3);
        QVERIFY(base.prompter.log.isEmpty());
    }

    // Saving every project never replaces a file with one that has no rows.
    void saveAllSkipsProjectsNotLoaded() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101", "102", "103"});
        base.WriteLines("APr_NameAkce__101.csv", {Row("T-101", "A", "T-101-01//")});
        base.WriteLines("APr_NameAkce__102.csv", {Row("T-102", "B", "T-102-01//")});
        LoadProgress(*base.ws, "APr_NameAkce__102.csv");
        base.ws->Deadlines.SetCell(Deadline::Activity, 1, "Nové");
        const QStringList kept = SaveAllProgress(*base.ws);
        QCOMPARE(kept, QStringList{"APr_NameAkce__101.csv"});
        QCOMPARE(base.Lines("APr_NameAkce__101.csv"), QStringList{Row("T-101", "A", "T-101-01//")});
        QCOMPARE(base.Lines("APr_NameAkce__102.csv")[3], Row("T-102", "Nové", "T-102-01//"));
        // A project without a file yet gets the headings-only file.
        QCOMPARE(base.Lines("APr_NameAkce__103.csv").size(), 3);
    }

    // A project without a progress file whose creation is declined: the tables,
    // "Soubor_Popis_CSV" and the current project stay with the project loaded
    // before, and an edit of its rows reaches its own file at the close.
    void declinedLoadKeepsTablesWithTheirFile_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("click on the project") << "click";
        QTest::newRow("start-up with the project last") << "start-up";
        QTest::newRow("add a copy with a new number") << "copy";
    }
    void declinedLoadKeepsTablesWithTheirFile() {
        QFETCH(QString, path);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        const QString own = "APr_NameAkce__101.csv";
        const QString missing = "APr_NameAkce__202.csv";
        QStringList projects = {"101;Silnice;;;;;;;;85/85;;;;;;"};
        if (path != "copy") projects << "202;Most;;;;;;;;85/85;;;;;;";
        base.WriteLines("NameAkce.csv", RegisterLines(projects));
        base.WriteLines("NameUkony.csv", {"Akce ORVA", "Úkony Čas;01.12.2026"});
        base.WriteLines(own, SavedProgress("101", {Row("T-101", "A", "T-101-01//")}));
        ws.Access.Permission = "3_000";
        if (path == "start-up") {
            LoadAtStartUp(ws, false);
        } else {
            LoadProjectRegister(ws, "NameAkce.csv");
            LoadProgress(ws, own);
            if (path == "click") {
                OpenProjectRow(ws, 2);
            } else {
                ws.Current().SelectRow(kProjectTable, 1);
                ItemForm form;
                form.project = ReadProjectForm(ws.Projects, 1);
                form.project.number = "202";
                EditContext ctx;
                ctx.projectNumber = "101";
                QCOMPARE(AddCopy(ws, form, ctx), EditOutcome::Done);
            }
        }
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question).size(), 1);
        QCOMPARE(ws.config.SouborPopis, own);
        QCOMPARE(ws.Deadlines.Cell(Deadline::KindAndProject, 1), QStringLiteral("T-101"));
        QCOMPARE(ws.CurrentProjectNumber(), QStringLiteral("101"));

        ws.Deadlines.SetCell(Deadline::Activity, 1, "Změněno");
        ws.SetChanged(kChangedDeadlines, true);
        SaveMarkedTables(ws);
        QCOMPARE(base.Lines(own)[3], Row("T-101", "Změněno", "T-101-01//"));
        QVERIFY(!base.Exists(missing));
        QVERIFY(base.prompter.Texts(ScriptedPrompter::Kind::SaveDialog).isEmpty());
    }

    // Unsaved rows are never replaced by another file when their save wrote nothing.
    void cancelledSaveDialogKeepsTheEdit() {
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101", "102"});
        base.WriteLines("APr_NameAkce__102.csv",
                        SavedProgress("102", {Row("T-102", "B", "T-102-01//")}));
        base.ws->config.SouborPopis.clear();  // no file loaded yet
        base.ws->Deadlines.SetCell(Deadline::KindAndProject, 1, "T-101");
        base.ws->Deadlines.SetCell(Deadline::Activity, 1, "Nové");
        base.ws->SetChanged(kChangedDeadlines, true);
        QCOMPARE(LoadProgress(*base.ws, "APr_NameAkce__102.csv"), LoadResult::Unchanged);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::SaveDialog).size(), 1);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Information).size(), 1);
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::Activity, 1), QStringLiteral("Nové"));
        QVERIFY(base.ws->Changed(kChangedDeadlines));
        QVERIFY(base.ws->config.SouborPopis.isEmpty());
    }

    // A save never gives a file the rows of another project, nor empties it,
    // when the tables hold none of its own project's rows.
    void saveRefusesAnotherProjectsRows_data() {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("existing file") << true;
        QTest::newRow("new file") << false;
    }
    void saveRefusesAnotherProjectsRows() {
        QFETCH(bool, fileExists);
        TempBase& base = *base_;
        SetProjects(*base.ws, {"1", "12"});
        const QString other = "APr_NameAkce__1.csv";
        base.WriteLines("APr_NameAkce__12.csv",
                        SavedProgress("12", {Row("T-12", "B", "T-12-01//")}));
        if (fileExists) base.WriteLines(other, {"keep"});
        LoadProgress(*base.ws, "APr_NameAkce__12.csv");
        base.ws->SetChanged(kChangedDeadlines, true);
        QVERIFY(!SaveProgress(*base.ws, other, SaveMode::Open));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error).size(), 1);
        QCOMPARE(base.Exists(other), fileExists);
        if (fileExists) QCOMPARE(base.Lines(other), QStringList{"keep"});
        QVERIFY(base.ws->Changed(kChangedDeadlines));
        // Saving every project leaves project 1 alone as well.
        QCOMPARE(SaveAllProgress(*base.ws), QStringList{other});
        QCOMPARE(base.Exists(other), fileExists);
    }

    // A file name built from a number with "/", "\\" or ".." is neither read nor written.
    void namesLeadingOutsideAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent folders") << "APr_NameAkce__../../x.csv";
        QTest::newRow("backslash") << "APr_NameAkce__..\\x.csv";
        QTest::newRow("subfolder") << "APr_NameAkce__a/x.csv";
    }
    void namesLeadingOutsideAreRefused() {
        QFETCH(QString, name);
        TempBase& base = *base_;
        SetProjects(*base.ws, {"101"});
        QVERIFY(QDir().mkpath(base.Path("data/APr_NameAkce__..")));
        QVERIFY(QDir().mkpath(base.Path("data/APr_NameAkce__a")));
        base.ws->config.Cesta = "data/";
        base.WriteLines("x.csv", SavedProgress("x", {Row("T-x", "Cizí", "T-x-01//")}));
        QCOMPARE(LoadProgress(*base.ws, name), LoadResult::Unchanged);
        QCOMPARE(base.ws->Deadlines.Cell(Deadline::Activity, 1), QString());
        base.ws->Deadlines.SetCell(Deadline::KindAndProject, 1, "T-101");
        QVERIFY(!SaveProgress(*base.ws, name, SaveMode::All));
        QCOMPARE(base.Lines("x.csv")[3], Row("T-x", "Cizí", "T-x-01//"));
        QVERIFY(!base.Exists("data/APr_NameAkce__a/x.csv"));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error).size(), 2);
        QVERIFY(base.prompter.Texts(ScriptedPrompter::Kind::OpenDialog).isEmpty());
    }

    // The pure reader and writer need neither prompter nor workspace: a file
    // read and written back keeps its rows byte for byte, and an unreadable
    // file is an error value, not a question.
    void pureReaderAndWriterRoundTrip() {
        TempBase base;
        const QStringList rows = {Row("T-7", "Stavba", "T-7-01//"),
                                  Row("T-7", "Kolaudace", "T-7-02/T-7-01/"),
                                  Row("F-7", "Etapa", "F-7-01/", "1234567,50|0,00|10,00")};
        base.WriteLines("in.csv", SavedProgress("7", rows));
        const ProgressRows read = ReadProgressFile(base.Path("in.csv"), "[DPH]");
        QVERIFY(read.Ok());
        QCOMPARE(read.deadlines.size(), 2);
        QCOMPARE(read.finance.size(), 1);
        QCOMPARE(read.finance[0][Finance::Eligible - 1], FormatAmount(1234567.5));
        QCOMPARE(read.finance[0][Finance::Info - 1], QStringLiteral("info"));

        Table deadlines, finance;
        SetupTable(deadlines, kDeadlineTable, QString());
        SetupTable(finance, kFinanceTable, QString());
        for (int r = 0; r < read.deadlines.size(); ++r)
            for (int c = Deadline::KindAndProject; c < Deadline::Count; ++c)
                deadlines.SetCell(c, r + 1, read.deadlines[r][c - 1]);
        for (int c = Finance::KindAndProject; c < Finance::Count; ++c)
            finance.SetCell(c, 1, read.finance[0][c - 1]);
        WriteProgressFile(base.Path("out.csv"), "7", deadlines, finance);
        QCOMPARE(base.Bytes("out.csv"), Cp1250Lines(QStringList{"Akce ORVA;09.12.2026"} +
                                                    SavedProgress("7", rows).mid(1)));
        QVERIFY(base.prompter.log.isEmpty());

        const ProgressRows missing = ReadProgressFile(base.Path("none.csv"), QString());
        QVERIFY(!missing.Ok());
        QVERIFY(missing.ErrorString().startsWith(base.Path("none.csv")));
    }

    // A file rewritten by another workstation is read again even when its size
    // stayed the same; an unchanged file is served without parsing it again.
    void cacheReadsChangedFilesAgain() {
        TempBase base;
        const QString path = base.Path("APr_x__5.csv");
        base.WriteLines("APr_x__5.csv", SavedProgress("5", {Row("T-5", "Alfa", "T-5-01//")}));
        ProgressCache cache;
        QCOMPARE(cache.Read(path, QString()).deadlines[0][Deadline::Activity - 1], "Alfa");
        QCOMPARE(cache.Read(path, QString()).deadlines[0][Deadline::Activity - 1], "Alfa");
        QCOMPARE(cache.ParseCount(), 1);

        const QDateTime before = QFileInfo(path).lastModified();
        base.WriteLines("APr_x__5.csv", SavedProgress("5", {Row("T-5", "Beta", "T-5-01//")}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(before.addSecs(2), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(cache.Read(path, QString()).deadlines[0][Deadline::Activity - 1], "Beta");
        QCOMPARE(cache.ParseCount(), 2);

        QFile::remove(path);
        QVERIFY(!cache.Read(path, QString()).Ok());
    }

    void timeRange() {
        TempBase& base = *base_;  // now: 9.12.2026 10:30
        SetProjects(*base.ws, {"101", "102"});
        Table& p = base.ws->Projects;
        p.SetCell(Project::Start, 1, "01.03.2025");
        p.SetCell(Project::End, 1, "31.12.2027");
        p.SetCell(Project::Start, 2, "");  // the empty date never moves the start
        Table& d = base.ws->Deadlines;
        SetupTable(d, kDeadlineTable, QString());
        d.SetCell(Deadline::PlanStart, 1, "15.01.2025");
        d.SetCell(Deadline::ActualEnd, 1, "30.06.2028");
        ComputeTimeRange(*base.ws);
        QCOMPARE(base.ws->RangeStart, DayFromDate(QDate(2025, 1, 15)) - 50);
        QCOMPARE(base.ws->RangeEnd, DayFromDate(QDate(2028, 6, 30)) + 50);
        QCOMPARE(base.ws->RangeLength, int(QDate(2025, 1, 15).daysTo(QDate(2028, 6, 30))) + 100);

        SetProjects(*base.ws, {"101"});
        SetupTable(d, kDeadlineTable, QString());
        d.SetRowCount(1);
        ComputeTimeRange(*base.ws);
        const double now = DayFromDateTime(QDateTime(QDate(2026, 12, 9), QTime(10, 30)));
        QCOMPARE(base.ws->RangeStart, now - 50);
        QCOMPARE(base.ws->RangeLength, 100);
    }
};

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
