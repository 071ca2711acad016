#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "data/People.h"

class TestPeople : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void entries_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("entry");
        QTest::newRow("member and recorder") << "Příjmení_4;Jméno;;OD INV;Člen\tZapisovatel"
                                             << "Příjmení_4 Jméno [cz]";
        QTest::newRow("member") << "Příjmení_2;Jméno;Ing.;Manažer projektu;Člen"
                                << "Příjmení_2 Jméno Ing.[c]";
        QTest::newRow("no mark") << "Nová;Eva;Bc.;Host;Host"
                                 << "Nová Eva Bc.Host";
        QTest::newRow("header line has a c") << "Příjmení_1;Jméno;Titul;Postavení;Funce v poradě"
                                             << "Příjmení_1 Jméno Titul[c]";
        QTest::newRow("letter z") << "Malá;Jana;;;z"
                                  << "Malá Jana [z]";
        QTest::newRow("no surname") << ";Jana;;;Člen"
                                    << "";
    }
    void entries() {
        QFETCH(QString, line);
        QFETCH(QString, entry);
        QCOMPARE(PersonEntry(line), entry);
    }

    void missingFileGetsTheDefaultLines() {
        TempBase& base = *base_;
        LoadPeople(*base.ws, "Lide.CSV");
        QCOMPARE(base.Lines("Lide.CSV"), DefaultPeopleLines());
        QVERIFY(base.ws->Picks.persons.isEmpty());  // nothing is loaded this time
        LoadPeople(*base.ws, "Lide.CSV");
        QCOMPARE(base.ws->Picks.persons.size(), 4);
    }

    // With no configured name and a cancelled dialog, an existing "Lid.csv" is
    // loaded rather than replaced by the default lines.
    void existingFallbackFileIsLoaded() {
        TempBase& base = *base_;
        base.WriteLines("Lid.csv", {"Dvořák;Petr;Ing.;Technik;Člen"});
        base.ws->config.SouborLidi.clear();
        LoadPeople(*base.ws, QString());
        QCOMPARE(base.Lines("Lid.csv"), QStringList{"Dvořák;Petr;Ing.;Technik;Člen"});
        QCOMPARE(base.ws->Picks.persons, QStringList{"Dvořák Petr Ing.[c]"});
        QCOMPARE(base.ws->config.SouborLidi, QStringLiteral("Lid.csv"));
    }

    // The entry window's choices come from the tables: the finance activities
    // are the finance rows' and those of the templates that are not deadlines.
    void entryFormLists() {
        TempBase base;
        Workspace& ws = *base.ws;
        SetupTable(ws.Projects, kProjectTable, QString());
        ws.Projects.SetCell(Project::Number, 1, "101");
        ws.Projects.SetCell(Project::Number, 2, "102");
        ws.Projects.SetCell(Project::Number, 3, "101");
        ws.Projects.SetCell(Project::Manager, 2, "Novák");
        SetupTable(ws.Finance, kFinanceTable, QString());
        ws.Finance.SetCell(Finance::Activity, 1, "Faktura");
        ws.Finance.SetCell(Finance::Step, 1, "Úhrada");
        SetupTable(ws.Templates, kTemplateTable, QString());
        const char* rows[][3] = {{"Termíny", "Realizace", "Stavba"},
                                 {"Finance", "Etapa", "Kontrola"},
                                 {"Jiné", "Faktura", "Úhrada"}};
        for (int r = 1; r <= 3; ++r) {
            ws.Templates.SetCell(Template::TemplateKind, r, rows[r - 1][0]);
            ws.Templates.SetCell(Template::Activity, r, rows[r - 1][1]);
            ws.Templates.SetCell(Template::Step, r, rows[r - 1][2]);
        }
        const EntryFormLists lists = EntryFormPickLists(ws);
        QCOMPARE(lists.projectNumbers, (QStringList{"101", "102"}));
        QCOMPARE(lists.managers.last(), QStringLiteral("Novák"));
        QCOMPARE(lists.financeActivities, (QStringList{"Faktura", "Etapa"}));
        QCOMPARE(lists.financeSteps, (QStringList{"Úhrada", "Stavba", "Kontrola"}));
    }

    void refreshBuildsListsWithoutDuplicates() {
        TempBase& base = *base_;
        base.WriteLines("Lide.CSV", {"Dvořák;Petr;Ing.;Technik;Člen",
                                     "Dvořák;Petr;Ing.;Technik;Člen", "Malá;Jana;;;Host"});
        Workspace& ws = *base.ws;
        SetupTable(ws.Projects, kProjectTable, QString());
        ws.Projects.SetCell(Project::Number, 1, "101");
        ws.Projects.SetCell(Project::Name, 1, "Škola");
        ws.Projects.SetCell(Project::Number, 2, "");
        ws.Projects.SetCell(Project::Number, 3, "101");
        ws.Projects.SetCell(Project::Name, 3, "Škola");
        SetupTable(ws.Templates, kTemplateTable, QString());
        const char* classes[] = {"Stavba", "Stavba", "", "PD", "Stavba"};
        for (int r = 1; r <= 5; ++r) {
            ws.Templates.SetCell(Template::Activity, r, r % 2 ? "Realizace" : "Etapa");
            ws.Templates.SetCell(Template::Classification, r, classes[r - 1]);
        }
        QSignalSpy changed(&ws, &Workspace::pickListsChanged);
        RefreshPickLists(ws);
        RefreshPickLists(ws);  // a second activation adds nothing
        QCOMPARE(ws.Picks.projects, QStringList{"101/ Škola"});
        QCOMPARE(ws.Picks.classifications, (QStringList{"Stavba", "PD"}));
        QCOMPARE(ws.Picks.activities, (QStringList{"Realizace", "Etapa"}));
        QCOMPARE(ws.Picks.persons, (QStringList{"Dvořák Petr Ing.[c]", "Malá Jana Host"}));
        QVERIFY(changed.count() >= 2);
    }

    void notesRoundTrip() {
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        base.WriteLines("Poznamky.TXT", {"první", "druhá", "třetí"});
        LoadNotes(ws, "Poznamky.TXT");
        QCOMPARE(ws.NotesLines, (QStringList{"první", "druhá", "třetí"}));
        QSignalSpy notice(&ws, &Workspace::savingNotes);
        ws.SetChanged(kChangedNotes, true);
        SaveNotes(ws, "Poznamky.TXT");
        QCOMPARE(base.Lines("Poznamky.TXT"), (QStringList{"první", "druhá", "třetí", ""}));
        QCOMPARE(notice.count(), 1);
        QVERIFY(!ws.Changed(kChangedNotes));
    }

    void missingNotesLeaveTheTextAlone() {
        TempBase& base = *base_;
        base.ws->NotesLines = {"keep"};
        LoadNotes(*base.ws, "Poznamky.TXT");
        QCOMPARE(base.ws->NotesLines, QStringList{"keep"});
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::OpenDialog),
                 QStringList{"Otevření Poznámek -" + base.Path("Poznamky.TXT")});
        SaveNotes(*base.ws, QString());  // cancelled without a name: nothing written
        QVERIFY(!base.Exists("Poznamky.TXT"));
    }
};

QTEST_GUILESS_MAIN(TestPeople)
#include "tst_people.moc"
