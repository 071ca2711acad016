#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "data/Progress.h"
#include "data/Templates.h"

namespace {

void OneProject(Workspace& ws, const QString& number, const QString& name, const QString& share) {
    SetupTable(ws.Projects, kProjectTable, QString());
    ws.Projects.SetCell(Project::Number, 1, number);
    ws.Projects.SetCell(Project::Name, 1, name);
    ws.Projects.SetCell(Project::Percentages, 1, share);
}

// Template rows from "kind;activity;classification;step;duration;marker" shorthands.
void SetTemplates(Workspace& ws, const QStringList& rows) {
    SetupTable(ws.Templates, kTemplateTable, QString());
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList f = rows[r].split(u';');
        const int cols[] = {1, 2, 3, 4, 9, 14};
        for (int i = 0; i < 6; ++i) ws.Templates.SetCell(cols[i], r + 1, f.value(i));
    }
    ws.Templates.SetRowCount(int(rows.size()) + 1);
}

QStringList Ids(const QStringList& lines) {
    QStringList ids;
    for (const QString& l : lines.mid(4)) ids << l.split(u';').value(11);
    return ids;
}

}  // namespace

class TestTemplates : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    // The whole generated file for one project from the default templates.
    void generatedFileFromDefaults() {
        TempBase& base = *base_;
        OneProject(*base.ws, "012", "Silnice Lipová", "90/85");
        SetupTable(base.ws->Templates, kTemplateTableWithDefaults, QString());
        const GenerateReport report = GenerateProgressRows(*base.ws, 0);
        QCOMPARE(report.written, QStringList{"APr_NameAkce__012.csv"});
        const QStringList expected = {
            "Akce ORVA",
            "Akce - Projekt Číslo ;012;Silnice Lipová",
            "Termíny",
            "Akce číslo;Činnost;Zařazení;Proces;Plán od ;Plán DO;Skutečnost OD;Skutečnost "
            "DO;Délka Dnů;Real OD;Real DO;ID-vnitřní;Info;Poznámka;;Dokument TXT;Dokument JPG",
            "T-012;Financování;Finanční plán;Získání fin. Prostředků;;;;;;;;T-012-01//;;90/85;",
            "T-012;Financování;Příprava dotace;Podpis smlouvy;;;;;360;;;T-012-02//;;90/85;",
            "T-012;Financování;Získání úvěru;Podpis smlouvy;;;;;360;;;T-012-03//;;90/85;",
            "T-012;Výber dodavatele;PD/TDI;Podpis smlouvy;;;;;90;;;T-012-04//;;90/85;",
            "T-012;Výber dodavatele;Stavba;Podpis smlouvy;;;;;90;;;T-012-05//;;90/85;",
            "T-012;Realizace;Stavba;Průběh stavby;;;;;30;;;T-012-06//;;90/85;",
            "T-012;Realizace;Stavba;Stavební povolení;;;;;90;;;T-012-07/N-T-012-06/;;90/85;",
            "T-012;Realizace;Stavba;Výstavba;;;;;30;;;T-012-08/N-T-012-06/P-T-012-07;;90/85;",
            "T-012;Realizace;Stavba;Kolaudace;;;;;2;;;T-012-09/N-T-012-06/P-T-012-08;;90/85;",
            "T-012;Etapa_#_1;;Projednání URR;;;;;30;;;T-012-10//;;90/85;",
            "T-012;Etapa_#_2;;Projednání URR;;;;;14;;;T-012-11//;;90/85;",
            "T-012;Monitoring_#_1;;Projednání URR;;;;;450;;;T-012-12//;;90/85;",
            "T-012;Změnové řízení_#_1;;Schválení VRR;;;;;30;;;T-012-13//;;90/85;",
            "F-012;Etapa_#_1;;Plán;;;;;0;;;F-012-01/;etapa;90/85;",
            "F-012;Etapa_#_2;;Plán;;;;;0;;;F-012-02/;etapa;90/85;",
            "F-012;Platba_Faktura_1;;Plnění;;;;;0;;;F-012-03/;fakturace;90/85;",
        };
        QCOMPARE(base.Bytes("APr_NameAkce__012.csv"), Cp1250Lines(expected));
        QCOMPARE(base.ws->Templates.Cell(Template::Sequence, 16), QStringLiteral("03"));
        QCOMPARE(base.ws->Templates.Cell(Template::Sequence, 13), QStringLiteral("13"));
    }

    void groupsAndLinks_data() {
        QTest::addColumn<QStringList>("templates");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("second and third of a group")
            << QStringList{"Termíny;A;B;x;1", "Termíny;A;B;y;1", "Termíny;A;B;z;1"}
            << QStringList{"T-7-01//", "T-7-02/N-T-7-01/", "T-7-03/N-T-7-01/P-T-7-02"};
        QTest::newRow("finance row inside a group")
            << QStringList{"Termíny;A;B;x;1", "Finance;A;B;f;0", "Termíny;A;B;y;1"}
            << QStringList{"T-7-01//", "F-7-01/", "T-7-02/N-T-7-01/"};
        QTest::newRow("unknown kinds are skipped")
            << QStringList{"Jiné;J;;a;0", "Poznámka;X;;b;0", "Ostatní;O;;c;0"}
            << QStringList{"J-7-01/", "O-7-02/"};
        QTest::newRow("new key starts a group")
            << QStringList{"Termíny;A;B;x;1", "Termíny;A;C;y;1", "Termíny;A;C;z;1"}
            << QStringList{"T-7-01//", "T-7-02//", "T-7-03/N-T-7-02/"};
    }
    void groupsAndLinks() {
        QFETCH(QStringList, templates);
        QFETCH(QStringList, ids);
        TempBase& base = *base_;
        OneProject(*base.ws, "7", "A", "");
        SetTemplates(*base.ws, templates);
        QString groupFirst;
        QCOMPARE(Ids(GeneratedProgressLines(*base.ws, 1, groupFirst)), ids);
    }

    void tenthRowHasNoLeadingZero() {
        TempBase& base = *base_;
        OneProject(*base.ws, "7", "A", "");
        QStringList rows;
        for (int i = 0; i < 10; ++i) rows << QString("Termíny;G%1;;x;1").arg(i);
        SetTemplates(*base.ws, rows);
        QString groupFirst;
        const QStringList ids = Ids(GeneratedProgressLines(*base.ws, 1, groupFirst));
        QCOMPARE(ids.last(), QStringLiteral("T-7-10//"));
        QCOMPARE(ids.first(), QStringLiteral("T-7-01//"));
    }

    void generateKeepsExistingFilesWhenAsked() {
        TempBase& base = *base_;
        OneProject(*base.ws, "012", "A", "");
        SetupTable(base.ws->Templates, kTemplateTableWithDefaults, QString());
        base.WriteLines("APr_NameAkce__012.csv", {"mine"});
        const GenerateReport kept = GenerateProgressRows(*base.ws, 1, false);
        QCOMPARE(kept.kept, QStringList{"APr_NameAkce__012.csv"});
        QCOMPARE(base.Lines("APr_NameAkce__012.csv"), QStringList{"mine"});
        GenerateProgressRows(*base.ws, 1, true);
        QCOMPARE(base.Lines("APr_NameAkce__012.csv").size(), 20);
    }

    // Each project's rows go into its own file only: a project whose file name
    // the lookup finds under another project, or whose number would lead
    // outside the data folder, is refused and reported, never written.
    void generateRefusesFilesOfOtherProjects_data() {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("number inside another")
            << QStringList{"1", "12"} << QStringList{"APr_NameAkce__1.csv"}
            << "Akce 12: soubor APr_NameAkce__1.csv patří akci 1";
        QTest::newRow("number listed twice")
            << QStringList{"101", "101"} << QStringList{"APr_NameAkce__101.csv"}
            << "Akce 101 je v seznamu akcí vícekrát";
        QTest::newRow("parent folders")
            << QStringList{"../../x", "7"} << QStringList{"APr_NameAkce__7.csv"} << "\"../../x\"";
        QTest::newRow("backslash") << QStringList{"..\\x"} << QStringList() << "\"..\\x\"";
        QTest::newRow("subfolder") << QStringList{"a/x"} << QStringList() << "\"a/x\"";
        QTest::newRow("no number") << QStringList{""} << QStringList() << "nemá číslo";
    }
    void generateRefusesFilesOfOtherProjects() {
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, written);
        QFETCH(QString, refusal);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        SetupTable(ws.Projects, kProjectTable, QString());
        for (int i = 0; i < numbers.size(); ++i)
            ws.Projects.SetCell(Project::Number, i + 1, numbers[i]);
        ws.Projects.SetRowCount(int(numbers.size()) + 1);
        SetupTable(ws.Templates, kTemplateTableWithDefaults, QString());
        base.ws->config.Cesta = "data/";
        for (const char* dir : {"data/APr_NameAkce__..", "data/APr_NameAkce__a"})
            QVERIFY(QDir().mkpath(base.Path(dir)));
        ws.Current().SetProjectRow(1);

        const GenerateReport report = GenerateProgressRows(ws, 0);
        QCOMPARE(report.written, written);
        QCOMPARE(report.refused.size(), 1);
        QVERIFY2(report.refused[0].contains(refusal), qPrintable(report.refused[0]));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error).size(), 1);
        // Every written file holds its own project's rows, and nothing lands outside.
        for (const QString& name : written) {
            const QString number = ProgressNumberForSaving(name);
            QCOMPARE(base.Lines("data/" + name)[4].section(u';', 0, 0), "T-" + number);
        }
        QStringList files = QDir(base.Path("data")).entryList(QDir::Files);
        QCOMPARE(files, written);
        QVERIFY(QDir(base.Dir()).entryList(QDir::Files).isEmpty());
        QVERIFY(QDir(base.Path("data/APr_NameAkce__a")).isEmpty());
        QCOMPARE(ws.Current().ProjectRow(), 1);
    }

    void loadAndSaveTheTemplateFile() {
        TempBase& base = *base_;
        const QStringList file = {
            "Akce ORVA",     "Úkony Čas;01.12.2026",
            kTemplateHeader, "Termíny;Realizace;Stavba;Výstavba ;;;;;30;;;;;;;;skryté;",
            ";;;",           "Finance;Etapa_#_1;;Plán;;;;;0;;;;;etapa;;;;"};
        base.WriteLines("NameUkony.csv", file);
        QCOMPARE(LoadTaskTemplates(*base.ws, "NameUkony.csv"), LoadResult::Loaded);
        const Table& t = base.ws->Templates;
        QCOMPARE(t.RowCount(), 3);
        QCOMPARE(t.Cell(Template::RowNumber, 0),
                 QStringLiteral("0"));  // the header line lands in row 0
        QCOMPARE(t.Cell(Template::Duration, 0), QStringLiteral("Trvání dny"));
        QCOMPARE(t.Cell(Template::Step, 1), QStringLiteral("Výstavba"));
        QCOMPARE(t.Cell(Template::FileOnly, 1), QStringLiteral("skryté"));  // beyond the grid, kept
        QCOMPARE(base.prompter.beeps, 1);

        base.ws->SetChanged(kChangedTemplates, true);
        SaveTaskTemplates(*base.ws, "NameUkony.csv");
        QCOMPARE(base.Lines("NameUkony.csv"),
                 (QStringList{"Akce ORVA", "Úkony Čas;09.12.2026", kTemplateHeader,
                              "Termíny;Realizace;Stavba;Výstavba;;;;;30;;;;;;;;skryté;",
                              "Finance;Etapa_#_1;;Plán;;;;;0;;;;;etapa;;;;"}));
        QVERIFY(!base.ws->Changed(kChangedTemplates));
        QCOMPARE(base.ws->CheckListing, (QStringList{"Prenos " + base.Path("NameUkony.csv"),
                                                     "Zapisuje " + base.Path("NameUkony.csv")}));
    }

    void missingTemplatesCreatedOnYes() {
        TempBase& base = *base_;
        base.prompter.answers = {true};
        QCOMPARE(LoadTaskTemplates(*base.ws, "NameUkony.csv"), LoadResult::Created);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question),
                 QStringList{"Soubor " + base.Path("NameUkony.csv") +
                             "\r\n nebyl nalezen.\r\nChceteli jej vytvořit v základním tvaru "
                             "?\r\nStiskněte   YES\r\n"});
        const QStringList lines = base.Lines("NameUkony.csv");
        QCOMPARE(lines.size(), 19);
        QCOMPARE(lines[3], QStringLiteral("Termíny;Financování;Finanční plán;Získání fin. "
                                          "Prostředků;;;;;;;;;;;;;;"));
        QCOMPARE(lines[18],
                 QStringLiteral("Finance;Platba_Faktura_1;;Plnění;;;;;0;;;;;fakturace;;;;"));
        QVERIFY(base.ws->Changed(kChangedTemplates));
    }

    void missingTemplatesOnNoChangeNothing() {
        TempBase& base = *base_;
        SetupTable(base.ws->Templates, kTemplateTable, QString());
        QCOMPARE(LoadTaskTemplates(*base.ws, "NameUkony.csv"), LoadResult::Unchanged);
        QVERIFY(!base.Exists("NameUkony.csv"));
        QCOMPARE(base.ws->Templates.RowCount(), 2);
    }

    // The menu command with a cancelled dialog loads the configured file; it is
    // never replaced by the default templates.
    void cancelledDialogLoadsTheConfiguredFile() {
        TempBase& base = *base_;
        const QStringList file = {"Akce ORVA", "Úkony Čas;01.12.2026", kTemplateHeader,
                                  "Jiné;Vlastní krok;;x;;;;;5;;;;;;;;;"};
        base.WriteLines("NameUkony.csv", file);
        base.prompter.answers = {true};
        QCOMPARE(LoadTaskTemplates(*base.ws, QString()), LoadResult::Loaded);
        QCOMPARE(base.ws->Templates.Cell(Template::Activity, 1), QStringLiteral("Vlastní krok"));
        QCOMPARE(base.Bytes("NameUkony.csv"), Cp1250Lines(file));
    }

    void savingUnderANewNameMakesItConfigured() {
        TempBase& base = *base_;
        SetupTable(base.ws->Templates, kTemplateTableWithDefaults, QString());
        base.prompter.chosenFiles = {base.Path("sablony/UkonyNove.csv")};
        QDir(base.Dir()).mkdir("sablony");
        SaveTaskTemplates(*base.ws, QString());
        QCOMPARE(base.ws->config.SouborUkony, QStringLiteral("UkonyNove.csv"));
        QCOMPARE(base.ws->config.Cesta, QStringLiteral("sablony/"));
        QVERIFY(base.Exists("sablony/UkonyNove.csv"));
    }
};

QTEST_GUILESS_MAIN(TestTemplates)
#include "tst_templates.moc"
