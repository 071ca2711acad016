#include <QtTest>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/ProjectRegister.h"

class TestRegister : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void loadSkipsHeadingsAndBlankLines() {
        TempBase& base = *base_;
        base.WriteLines("NameAkce.csv",
                        {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader,
                         "101;Silnice;Novák;Svoboda;1.1;;;;Pozn;92,5/"
                         "85;1234567,00;1000;03.02.2025;27.02.2027;;",
                         ";;;;", "Akce ORVA", "102;Škola;A;B;2.3;;;;;80/85;12 345,6 Kč;;;;;"});
        QCOMPARE(LoadProjectRegister(*base.ws, "NameAkce.csv"), LoadResult::Loaded);
        const Table& t = base.ws->Projects;
        QCOMPARE(t.RowCount(), 3);
        QCOMPARE(t.Cell(Project::RowNumber, 2), QStringLiteral("2"));
        QCOMPARE(t.Cell(Project::Name, 1), QStringLiteral("Silnice"));
        QCOMPARE(t.Cell(Project::PlannedTotal, 1), FormatAmount(1234567));
        QCOMPARE(t.Cell(Project::Subsidy, 1), FormatAmount(1000));
        QCOMPARE(t.Cell(Project::PlannedTotal, 2), FormatAmount(12345.6));
        QCOMPARE(t.Cell(Project::Note, 2),
                 QStringLiteral("[DPH-20%/-10%]"));  // empty note gets the VAT text
        QCOMPARE(t.Cell(Project::Note, 1), QStringLiteral("Pozn"));
        QCOMPARE(t.Cell(Project::Number, 0), QStringLiteral("Číslo akce"));
        QVERIFY(base.prompter.log.isEmpty());
    }

    void emptyRegisterKeepsTheSampleProject() {
        TempBase& base = *base_;
        base.WriteLines("NameAkce.csv", {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader});
        LoadProjectRegister(*base.ws, "NameAkce.csv");
        QCOMPARE(base.ws->Projects.RowCount(), 2);
        QCOMPARE(base.ws->Projects.Cell(Project::Number, 1), QStringLiteral("000"));
    }

    void saveWritesTheFileFormat() {
        TempBase& base = *base_;
        base.WriteLines("NameAkce.csv",
                        {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader,
                         "101;Název;M;T;1.1;;;;P;90/85;1234567,00;0;03.02.2025;27.02.2027;;"});
        LoadProjectRegister(*base.ws, "NameAkce.csv");
        base.ws->Projects.SetCell(Project::Name, 1, "Most; přes řeku");
        base.ws->SetChanged(kChangedProjects, true);
        SaveProjectRegister(*base.ws, "NameAkce.csv");
        QCOMPARE(base.Lines("NameAkce.csv"),
                 (QStringList{";Uloženo 09.12.2026", "Akce ORVA", kRegisterHeader,
                              "101;Most~ přes řeku;M;T;1.1;;;;P;90/85;1234567,00;0,00;"
                              "03.02.2025;27.02.2027;;"}));
        QVERIFY(!base.ws->Changed(kChangedProjects));
        QCOMPARE(base.prompter.beeps, 1);
        // "~" is not turned back into ";" on loading.
        LoadProjectRegister(*base.ws, "NameAkce.csv");
        QCOMPARE(base.ws->Projects.Cell(Project::Name, 1), QStringLiteral("Most~ přes řeku"));
    }

    void missingRegisterIsCreatedOnYes() {
        TempBase& base = *base_;
        base.prompter.answers = {true};
        QCOMPARE(LoadProjectRegister(*base.ws, "NameAkce.csv"), LoadResult::Created);
        const QStringList q = base.prompter.Texts(ScriptedPrompter::Kind::Question);
        QCOMPARE(q, QStringList{"Soubor " + base.Path("NameAkce.csv") +
                                " nebyl nalezen.\r\nChceteli jej vytvořit v základním tvaru "
                                "?\r\nStiskněte   YES\r\n"});
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::OpenDialog),
                 QStringList{"Otevření Akcí -" + base.Path("NameAkce.csv")});
        const QStringList expected = {
            ";Uloženo 09.12.2026", "Akce ORVA", kRegisterHeader,
            "000;Název akce;Manager projektu;Technik projektu;Opatření;Aktivity;Dodavatelská "
            "SoD;Dokument JPG;Poznámka;;0;0;1.1.1900;1.1.1900;;"};
        QCOMPARE(base.Lines("NameAkce.csv"), expected);
        QVERIFY(base.ws->Changed(kChangedProjects));
        QCOMPARE(base.prompter.beeps, 1);
    }

    void missingRegisterOnNoQuits() {
        TempBase& base = *base_;
        QCOMPARE(LoadProjectRegister(*base.ws, "NameAkce.csv"), LoadResult::Quit);
        QVERIFY(!base.Exists("NameAkce.csv"));
    }

    // The menu command opens the dialog; cancelling it loads the configured
    // register instead of replacing it with a new one.
    void cancelledDialogLoadsTheConfiguredRegister() {
        TempBase& base = *base_;
        const QStringList lines = {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader,
                                   "101;Silnice;;;;;;;;;0;0;;;;"};
        base.WriteLines("NameAkce.csv", lines);
        QCOMPARE(LoadProjectRegister(*base.ws, QString()), LoadResult::Loaded);
        QCOMPARE(base.ws->Projects.Cell(Project::Name, 1), QStringLiteral("Silnice"));
        QCOMPARE(base.Bytes("NameAkce.csv"), Cp1250Lines(lines));
        QVERIFY(base.prompter.Texts(ScriptedPrompter::Kind::Question).isEmpty());
    }

    void chosenFileSetsFolderAndName() {
        TempBase& base = *base_;
        base.WriteLines("data/AkceNove.csv", {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader,
                                              "201;Muzeum;;;;;;;;;0;0;;;;"});
        base.prompter.chosenFiles = {base.Path("data/AkceNove.csv")};
        QCOMPARE(LoadProjectRegister(*base.ws, QString()), LoadResult::Loaded);
        QCOMPARE(base.ws->config.Cesta, QStringLiteral("data/"));
        QCOMPARE(base.ws->config.SouborAkce, QStringLiteral("AkceNove.csv"));
        QCOMPARE(base.ws->Projects.Cell(Project::Number, 1), QStringLiteral("201"));
    }

    void cancelledSaveWithoutNameWritesNothing() {
        TempBase& base = *base_;
        base.ws->SetChanged(kChangedProjects, true);
        SaveProjectRegister(*base.ws, QString());
        QVERIFY(QDir(base.Dir()).entryList(QDir::Files).isEmpty());
        QVERIFY(base.ws->Changed(kChangedProjects));
    }

    void cancelledSaveWithANameStillWritesIt() {
        TempBase& base = *base_;
        SetupTable(base.ws->Projects, kProjectTable, QString());
        SaveProjectRegister(*base.ws, "Nový.csv");
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::SaveDialog),
                 QStringList{"Uložení Akcí -" + base.Path("Nový.csv")});
        QVERIFY(base.Exists("Nový.csv"));
    }
};

QTEST_GUILESS_MAIN(TestRegister)
#include "tst_register.moc"
