#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QtTest>
#include <cerrno>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "data/TextFile.h"

namespace {

using CliRun = ProgramRun;

CliRun RunCli(const QStringList& args, const QString& workDir = QString()) {
    return RunProgram(QStringLiteral(ORVA_CLI), args, workDir);
}

const QString kRegister = QStringLiteral("NameAkce.csv");
const QString kTemplates = QStringLiteral("NameUkony.csv");
const QString kProgress012 = QStringLiteral("APr_NameAkce__012.csv");
const QString kProgress034 = QStringLiteral("APr_NameAkce__034.csv");

const QString kProject012 = QStringLiteral(
    "012;Rekonstrukce náměstí v Telči;Ing. Jana Nováková;Petr Dvořák;2.1;Stavba;;;;85/75;"
    "12500000,00;10625000,00;01.03.2026;30.11.2027;;");
const QString kProject034 = QStringLiteral(
    "034;Oprava mateřské školy;Mgr. Lenka Černá;Tomáš Kučera;3.2;;;;;;4200000,00;3570000,00;"
    "15.04.2026;31.12.2026;;");

// A data folder: file name (relative to the base) → lines.
using Folder = QMap<QString, QStringList>;

Folder TwoProjects() {
    Folder f;
    f[kRegister] = {
        QStringLiteral(";Uloženo 01.12.2026"),
        QStringLiteral("Akce ORVA"),
        QStringLiteral("Číslo akce;Název akce;Manager projektu;Technik projektu;Opatření;Aktivity;"
                       "Dokument TXT;Dokument JPG;Poznámka;Dotace/ERDF;Plán celk.způs. Výdajů;"
                       "Dotace;Datum od;Datum do;;"),
        kProject012,
        kProject034,
    };
    // The template file with the 16 default templates, as the program saves it.
    f[kTemplates] = {
        QStringLiteral("Akce ORVA"),
        QStringLiteral("Úkony Čas;01.12.2026"),
        QStringLiteral("Akce číslo;Činnost;Zařazení;Upřesnění;Plán od;Plán DO;Skutečnost OD;"
                       "Skutečnost DO;Trvání dny;Realný termín OD;Realný termín DO;ID-vnitřní;Info;"
                       "Poznámka;Poznámka 2;Dokument TXT;;"),
        QStringLiteral("Termíny;Financování;Finanční plán;Získání fin. Prostředků;;;;;;;;;;;;"),
        QStringLiteral("Termíny;Financování;Příprava dotace;Podpis smlouvy ;;;;;360;;;;;;;"),
        QStringLiteral("Termíny;Financování;Získání úvěru;Podpis smlouvy ;;;;;360;;;;;;;"),
        QStringLiteral("Termíny;Výber dodavatele;PD/TDI ;Podpis smlouvy ;;;;;90;;;;;;;"),
        QStringLiteral("Termíny;Výber dodavatele;Stavba;Podpis smlouvy ;;;;;90;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Průběh stavby;;;;;30;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Stavební povolení;;;;;90;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Výstavba;;;;;30;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Kolaudace;;;;;2;;;;;;;"),
        QStringLiteral("Termíny;Etapa_#_1;;Projednání URR;;;;;30;;;;;;;"),
        QStringLiteral("Termíny;Etapa_#_2;;Projednání URR;;;;;14;;;;;;;"),
        QStringLiteral("Termíny;Monitoring_#_1;;Projednání URR;;;;;450;;;;;;;"),
        QStringLiteral("Termíny;Změnové řízení_#_1;;Schválení VRR;;;;;30;;;;;;;"),
        QStringLiteral("Finance;Etapa_#_1;;Plán;;;;;0;;;;;etapa;;"),
        QStringLiteral("Finance;Etapa_#_2;;Plán;;;;;0;;;;;etapa;;"),
        QStringLiteral("Finance;Platba_Faktura_1 ;;Plnění;;;;;0;;;;;fakturace;;"),
    };
    return f;
}

// The two projects with progress files: 012 in the saved form, 034 in the
// generated form with its header line.
Folder TwoProjectsWithProgress() {
    Folder f = TwoProjects();
    f[kProgress012] = {
        QStringLiteral("Akce ORVA;01.12.2026"),
        QStringLiteral("Akce - Projekt Číslo ;012"),
        QStringLiteral("Termíny"),
        QStringLiteral("T-012;Realizace;Stavba;Průběh stavby;01.03.2026;30.06.2026;02.03.2026;;"
                       "120;01.03.2026;30.06.2026;T-012-01//;;;;;;;"),
        QStringLiteral("T-012;Realizace;Stavba;Kolaudace;01.07.2026;03.07.2026;;;2;;;"
                       "T-012-02/N-T-012-01/;;;;;;;"),
        QStringLiteral("F-012;Platba_Faktura_1;;Plnění;05.07.2026;04.08.2026;;;1 250 000,50;0,00;"
                       "1250000,50;F-012-01/;fakturace;;;;;;"),
    };
    f[kProgress034] = {
        QStringLiteral("Akce ORVA"),
        QStringLiteral("Akce - Projekt Číslo ;034;Oprava mateřské školy"),
        QStringLiteral("Termíny"),
        QStringLiteral("Akce číslo;Činnost;Zařazení;Proces;Plán od ;Plán DO;Skutečnost OD;"
                       "Skutečnost DO;Délka Dnů;Real OD;Real DO;ID-vnitřní;Info;Poznámka;;"
                       "Dokument TXT;Dokument JPG"),
        QStringLiteral("T-034;Etapa_#_1;;Projednání URR;5.3.2026;;;;30;;;T-034-01//;;;;;;;"),
        QStringLiteral("J-034;Jiné;;Poplatek;;;;;-1500;+20,5;0;J-034-01/;;;;;;;"),
        QStringLiteral("O-034;Ostatní;;Dar;;;;;;;;O-034-01/;;;;;;;"),
    };
    return f;
}

void Write(const TempBase& base, const Folder& folder, const QString& subfolder = QString()) {
    for (auto it = folder.cbegin(); it != folder.cend(); ++it)
        base.WriteLines(subfolder + it.key(), it.value());
}

// The backup file of the day of the workstation user the tests run as.
QString BackupFile() {
    return "zmeny/Zaloha_Jmeno-Prijmeni_" + QDate::currentDate().toString("yyyy-MM-dd") + ".csv";
}

int CountStarts(const QStringList& lines, const QString& start) {
    int n = 0;
    for (const QString& l : lines)
        if (l.startsWith(start)) ++n;
    return n;
}

// The generated progress file of a project with the default templates, written
// out from the documented layout: four heading lines, 13 deadline rows whose
// "Realizace"/"Stavba" rows 07-09 hang under row 06, three finance rows.
QByteArray ExpectedGenerated(const QString& n, const QString& name, const QString& share) {
    const QStringList rows = {
        "T-#;Financování;Finanční plán;Získání fin. Prostředků;;;;;;;;T-#-01//;;$;",
        "T-#;Financování;Příprava dotace;Podpis smlouvy;;;;;360;;;T-#-02//;;$;",
        "T-#;Financování;Získání úvěru;Podpis smlouvy;;;;;360;;;T-#-03//;;$;",
        "T-#;Výber dodavatele;PD/TDI;Podpis smlouvy;;;;;90;;;T-#-04//;;$;",
        "T-#;Výber dodavatele;Stavba;Podpis smlouvy;;;;;90;;;T-#-05//;;$;",
        "T-#;Realizace;Stavba;Průběh stavby;;;;;30;;;T-#-06//;;$;",
        "T-#;Realizace;Stavba;Stavební povolení;;;;;90;;;T-#-07/N-T-#-06/;;$;",
        "T-#;Realizace;Stavba;Výstavba;;;;;30;;;T-#-08/N-T-#-06/P-T-#-07;;$;",
        "T-#;Realizace;Stavba;Kolaudace;;;;;2;;;T-#-09/N-T-#-06/P-T-#-08;;$;",
        "T-#;Etapa_#_1;;Projednání URR;;;;;30;;;T-#-10//;;$;",
        "T-#;Etapa_#_2;;Projednání URR;;;;;14;;;T-#-11//;;$;",
        "T-#;Monitoring_#_1;;Projednání URR;;;;;450;;;T-#-12//;;$;",
        "T-#;Změnové řízení_#_1;;Schválení VRR;;;;;30;;;T-#-13//;;$;",
        "F-#;Etapa_#_1;;Plán;;;;;0;;;F-#-01/;etapa;$;",
        "F-#;Etapa_#_2;;Plán;;;;;0;;;F-#-02/;etapa;$;",
        "F-#;Platba_Faktura_1;;Plnění;;;;;0;;;F-#-03/;fakturace;$;",
    };
    QStringList lines = {
        QStringLiteral("Akce ORVA"),
        QStringLiteral("Akce - Projekt Číslo ;") + n + u';' + name,
        QStringLiteral("Termíny"),
        QStringLiteral("Akce číslo;Činnost;Zařazení;Proces;Plán od ;Plán DO;Skutečnost OD;"
                       "Skutečnost DO;Délka Dnů;Real OD;Real DO;ID-vnitřní;Info;Poznámka;;"
                       "Dokument TXT;Dokument JPG"),
    };
    for (QString row : rows) {
        // "#" stands for the project number except inside the activity names.
        row.replace(QLatin1String("T-#"), QStringLiteral("T-") + n);
        row.replace(QLatin1String("F-#"), QStringLiteral("F-") + n);
        lines << row.replace(u'$', share);
    }
    return Cp1250Lines(lines);
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT

  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void generateWritesTheDocumentedFiles();
    void generateKeepsOrReplaces_data();
    void generateKeepsOrReplaces();
    void generateRefuses_data();
    void generateRefuses();
    void generateNumberInsideAnother();
    void unsafeNumberStaysInside_data();
    void unsafeNumberStaysInside();
    void checkReports_data();
    void checkReports();
    void commandLine_data();
    void commandLine();
    void backupWritesSnapshotOnceADay();
    void backupReportsAMissingFolder();
    void concurrentBackupsKeepEveryRecord();
    void fullDiskIsReported_data();
    void fullDiskIsReported();
    void icalWritesPlannedDates();
    void financeWritesTheResultsFile();
};

void TestCli::generateWritesTheDocumentedFiles() {
    TempBase& base = *base_;
    Write(base, TwoProjects());
    // No --base: the current directory is the base, and no configuration file is created.
    const CliRun run = RunCli({QStringLiteral("generate")}, base.Dir());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(
        base.Bytes(kProgress012),
        ExpectedGenerated(QStringLiteral("012"), QStringLiteral("Rekonstrukce náměstí v Telči"),
                          QStringLiteral("85/75")));
    QCOMPARE(base.Bytes(kProgress034),
             ExpectedGenerated(QStringLiteral("034"), QStringLiteral("Oprava mateřské školy"),
                               QString()));
    QVERIFY(run.out.contains(QStringLiteral("Zapsán soubor: ") + base.Path(kProgress012)));
    QVERIFY(run.out.contains(QStringLiteral("Zapsán soubor: ") + base.Path(kProgress034)));
    QVERIFY(!base.Exists(QStringLiteral("ORVA_Sledovani.Ini")));
}

void TestCli::generateKeepsOrReplaces_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("kept without --force") << QStringList() << false;
    QTest::newRow("replaced with --force") << QStringList{QStringLiteral("--force")} << true;
    QTest::newRow("one project, kept")
        << QStringList{QStringLiteral("--project"), QStringLiteral("012")} << false;
    QTest::newRow("one project, replaced")
        << QStringList{QStringLiteral("--project=012"), QStringLiteral("--force")} << true;
}

void TestCli::generateKeepsOrReplaces() {
    QFETCH(QStringList, options);
    QFETCH(bool, replaced);
    TempBase& base = *base_;
    Write(base, TwoProjects());
    const QByteArray edited =
        Cp1250Lines({QStringLiteral("Akce ORVA;01.12.2026"),
                     QStringLiteral("Akce - Projekt Číslo ;012"), QStringLiteral("Termíny")});
    base.WriteBytes(kProgress012, edited);

    const CliRun run = RunCli(
        QStringList{QStringLiteral("generate"), QStringLiteral("--base"), base.Dir()} + options);
    QCOMPARE(run.exitCode, 0);
    const QByteArray expected =
        ExpectedGenerated(QStringLiteral("012"), QStringLiteral("Rekonstrukce náměstí v Telči"),
                          QStringLiteral("85/75"));
    QCOMPARE(base.Bytes(kProgress012), replaced ? expected : edited);
    QCOMPARE(
        run.out.contains(QStringLiteral("Ponechán existující soubor ") + base.Path(kProgress012)),
        !replaced);
    // The other project is generated only when every project is.
    QCOMPARE(base.Exists(kProgress034), !options.join(u' ').contains(QLatin1String("--project")));
}

void TestCli::generateRefuses_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("messages");  // %1 is the base
    QTest::addColumn<QStringList>("written");
    QTest::newRow("unknown project")
        << QString() << QStringList{"--project", "34"}
        << QStringList{"Akce s číslem 34 v seznamu akcí %1NameAkce.csv není."} << QStringList();
    QTest::newRow("no templates") << kTemplates << QStringList()
                                  << QStringList{"Chybí soubor: %1" + kTemplates} << QStringList();
    QTest::newRow("no register") << kRegister << QStringList()
                                 << QStringList{"Chybí soubor: %1" + kRegister} << QStringList();
    // A folder where 034's file belongs: 012 is written, then the run stops.
    QTest::newRow("folder in the way")
        << kProgress034 << QStringList{"--force"}
        << QStringList{"Zapsán soubor: %1" + kProgress012, "Chyba souboru: %1" + kProgress034}
        << QStringList{kProgress012};
}

void TestCli::generateRefuses() {
    QFETCH(QString, damage);
    QFETCH(QStringList, options);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, written);
    TempBase& base = *base_;
    Folder folder = TwoProjects();
    if (damage == kProgress034)
        QVERIFY(QDir().mkpath(base.Path(kProgress034)));
    else
        folder.remove(damage);
    Write(base, folder);

    const CliRun run = RunCli(
        QStringList{QStringLiteral("generate"), QStringLiteral("--base"), base.Dir()} + options);
    QCOMPARE(run.exitCode, 1);
    for (const QString& message : messages)
        QVERIFY2((run.out + run.err).contains(message.arg(base.Dir())),
                 qPrintable(run.out + run.err));
    for (const QString& file : {kProgress012, kProgress034})
        QCOMPARE(QFileInfo(base.Path(file)).isFile(), written.contains(file));
}

// Project 1 listed before 12: 12's rows must never land in 1's file.
void TestCli::generateNumberInsideAnother() {
    TempBase& base = *base_;
    Folder folder = TwoProjects();
    folder[kRegister][3] = QStringLiteral("1;Chodník;;;;;;;;50/50;;;;;;");
    folder[kRegister][4] = QStringLiteral("12;Most;;;;;;;;;;;;;;");
    Write(base, folder);
    const CliRun run = RunCli({"generate", "--base", base.Dir(), "--force"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(base.Bytes("APr_NameAkce__1.csv"),
             ExpectedGenerated("1", QStringLiteral("Chodník"), "50/50"));
    QVERIFY(!base.Exists("APr_NameAkce__12.csv"));
    QCOMPARE(run.out.count(QStringLiteral("Zapsán soubor")), 1);
    QVERIFY2(run.out.contains(QStringLiteral("Nezapsáno: Akce 12: soubor APr_NameAkce__1.csv")),
             qPrintable(run.out));
}

// A project number taken from the register must never lead a command outside
// the data folder: nothing is written, read or backed up there, and the run fails.
void TestCli::unsafeNumberStaysInside_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("generate") << QStringList{"generate", "--force"};
    QTest::newRow("backup") << QStringList{"backup"};
    QTest::newRow("check") << QStringList{"check"};
    QTest::newRow("status") << QStringList{"status", "--date", "09.12.2026"};
}

void TestCli::unsafeNumberStaysInside() {
    QFETCH(QStringList, args);
    TempBase& base = *base_;
    Folder folder = TwoProjectsWithProgress();
    folder[kRegister] << QStringLiteral("../../tajne;Cizí;;;;;;;;;;;;;;");
    Write(base, folder, "data/");
    base.WriteLines("ORVA_Sledovani.Ini", {"[Nastavení]", "Cesta=data\\", "CestaZmeny=zmeny",
                                           "[Přístup]", "Pripojen=Volný"});
    QVERIFY(QDir().mkpath(base.Path("zmeny")));
    // With this folder in place the number's file name resolves to the base.
    QVERIFY(QDir().mkpath(base.Path("data/APr_NameAkce__..")));
    const QStringList outside = {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;x", "Termíny",
                                 "T-x;TAJNE;;;;;;;;;;T-x-01//;;;;;;;"};
    base.WriteLines("tajne.csv", outside);

    const CliRun run = RunCli(args + QStringList{"--base", base.Dir()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2((run.out + run.err).contains(QStringLiteral("\"../../tajne\" obsahuje")),
             qPrintable(run.out + run.err));
    QCOMPARE(base.Lines("tajne.csv"), outside);
    QVERIFY(!run.out.contains(QStringLiteral("TAJNE")));
    const QStringList backups = QDir(base.Path("zmeny")).entryList(QDir::Files);
    // The backup is still written, with every other project's progress.
    QCOMPARE(backups.size(), args[0] == QLatin1String("backup") ? 1 : 0);
    for (const QString& file : backups) {
        const QString text = base.Lines("zmeny/" + file).join(u'\n');
        QVERIFY(!text.contains(QStringLiteral("TAJNE")));
        QVERIFY(text.contains(QStringLiteral("T-034;Etapa_#_1;")));
    }
}

void TestCli::checkReports_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expected");  // lines or parts of lines; %1 is the base

    QTest::newRow("clean") << QString() << 0
                           << QStringList{"Akcí: 2",
                                          "  012  " + kProgress012 + "  termínů: 2, financí: 1",
                                          "  034  " + kProgress034 + "  termínů: 1, financí: 2",
                                          "Úkony: %1NameUkony.csv (řádků: 16)",
                                          "Vynechané řádky: 0",
                                          "Nečitelné buňky: 0",
                                          "Výsledek: v pořádku"};
    QTest::newRow("configured data folder")
        << QStringLiteral("config") << 0
        << QStringList{"Konfigurace: %1ORVA_Sledovani.Ini", "Seznam akcí: %1data/NameAkce.csv",
                       "Výsledek: v pořádku"};
    // Saved by an editor in another encoding: read all the same, but reported.
    QTest::newRow("configuration in UTF-8")
        << QStringLiteral("utf-8 config") << 1
        << QStringList{"Konfigurace: soubor je uložen v UTF-8", "Seznam akcí: %1data/NameAkce.csv",
                       "Výsledek: nalezeny problémy"};
    QTest::newRow("configuration without its sections")
        << QStringLiteral("foreign config") << 1
        << QStringList{"Konfigurace: soubor nemá oddíl [Nastavení] ani [Přístup]",
                       "Výsledek: nalezeny problémy"};
    QTest::newRow("missing progress file")
        << QStringLiteral("missing progress") << 1
        << QStringList{"  034  " + kProgress034 + "  chybí", "Chybí soubor: %1" + kProgress034,
                       "Dotaz (odpověď Ne): Soubor " + kProgress034 + " nebyl nalezen.",
                       "Výsledek: nalezeny problémy"};
    QTest::newRow("damaged date")
        << QStringLiteral("date") << 1
        << QStringList{"Nečitelné buňky: 1",
                       kProgress012 + ", řádek 5, sloupec 6 (Plán do): \"31.02.2026\" není datum",
                       "Výsledek: nalezeny problémy"};
    QTest::newRow("damaged amount")
        << QStringLiteral("amount") << 1
        << QStringList{kProgress012 +
                       ", řádek 6, sloupec 9 (Způs.Uznané URR/-): \"1.250.000,50\" není částka"};
    QTest::newRow("damaged register")
        << QStringLiteral("register cells") << 1
        << QStringList{"Nečitelné buňky: 2",
                       kRegister + ", řádek 5, sloupec 12 (Dotace): \"3,57 mil.\" není částka",
                       kRegister + ", řádek 5, sloupec 13 (Datum od): \"15.4.26.\" není datum"};
    QTest::newRow("skipped lines")
        << QStringLiteral("skipped") << 1
        << QStringList{"Vynechané řádky: 2", kRegister + ", řádek 6: ;Chodník u školy;",
                       kProgress012 + ", řádek 7: T -012;Realizace;"};
    QTest::newRow("missing register")
        << kRegister << 1
        << QStringList{"Seznam akcí: %1NameAkce.csv (nenačten)", "Akcí: 0",
                       "Chybí soubor: %1NameAkce.csv", "Výsledek: nalezeny problémy"};
    QTest::newRow("missing templates")
        << kTemplates << 1
        << QStringList{"Úkony: %1NameUkony.csv (nenačteny)", "Chybí soubor: %1NameUkony.csv"};
    QTest::newRow("number inside another")
        << QStringLiteral("shared") << 1
        << QStringList{"  012  APr_NameAkce__01.csv  termínů: 1, financí: 0  (soubor akce 01"};
    QTest::newRow("no such folder") << QStringLiteral("no folder") << 1 << QStringList();
}

void TestCli::checkReports() {
    QFETCH(QString, damage);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expected);
    TempBase& base = *base_;
    Folder folder = TwoProjectsWithProgress();
    QString subfolder;
    QString dir = base.Dir();
    if (damage == QLatin1String("config")) {
        base.WriteLines(QStringLiteral("ORVA_Sledovani.Ini"),
                        {QStringLiteral("[Nastavení]"), QStringLiteral("Cesta=data\\")});
        subfolder = QStringLiteral("data/");
    } else if (damage == QLatin1String("utf-8 config")) {
        base.WriteBytes(
            QStringLiteral("ORVA_Sledovani.Ini"),
            QStringLiteral("[Nastavení]\r\nCesta=data\\\r\n[Přístup]\r\nPripojen=Volný\r\n")
                .toUtf8());
        subfolder = QStringLiteral("data/");
    } else if (damage == QLatin1String("foreign config")) {
        base.WriteBytes(QStringLiteral("ORVA_Sledovani.Ini"), "[Settings]\r\nPripojen=Volny\r\n");
    } else if (damage == QLatin1String("missing progress")) {
        folder.remove(kProgress034);
    } else if (damage == QLatin1String("date")) {
        folder[kProgress012][4].replace(QLatin1String("03.07.2026"), QLatin1String("31.02.2026"));
    } else if (damage == QLatin1String("amount")) {
        folder[kProgress012][5].replace(QLatin1String("1 250 000,50"),
                                        QLatin1String("1.250.000,50"));
    } else if (damage == QLatin1String("register cells")) {
        folder[kRegister][4].replace(QLatin1String("3570000,00;15.04.2026"),
                                     QLatin1String("3,57 mil.;15.4.26."));
    } else if (damage == QLatin1String("skipped")) {
        folder[kRegister] << QStringLiteral(";Chodník u školy;;;;;;;;;;;;;;");
        folder[kProgress012] << QStringLiteral("T -012;Realizace;Stavba;Výstavba;;;;;;;;;;;;;;;");
    } else if (damage == QLatin1String("shared")) {
        // Project 01 listed first: its number occurs in 012, so 012 finds 01's file.
        folder[kRegister].insert(3, QStringLiteral("01;Chodník;;;;;;;;;;;;;;"));
        folder[QStringLiteral("APr_NameAkce__01.csv")] = {
            QStringLiteral("Akce ORVA;01.12.2026"), QStringLiteral("Akce - Projekt Číslo ;01"),
            QStringLiteral("Termíny"), QStringLiteral("T-01;Chodník;;Výstavba;;;;;;;;T-01-01//;")};
    } else if (damage == QLatin1String("no folder")) {
        dir = base.Path(QStringLiteral("neni/"));
    } else if (!damage.isEmpty()) {
        folder.remove(damage);
    }
    Write(base, folder, subfolder);

    const CliRun run = RunCli({QStringLiteral("check"), QStringLiteral("--base"), dir});
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
    for (const QString& line : expected)
        QVERIFY2(run.out.contains(line.contains(QLatin1String("%1")) ? line.arg(base.Dir()) : line),
                 qPrintable(line + QStringLiteral("\n--- not in ---\n") + run.out));
    // The check never writes: no configuration file and no generated progress file appear.
    QCOMPARE(base.Exists(QStringLiteral("ORVA_Sledovani.Ini")), damage.endsWith(u"config"));
    if (damage == QLatin1String("missing progress")) QVERIFY(!base.Exists(kProgress034));
}

void TestCli::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("help") << QStringList{"--help"} << 0 << QStringLiteral("Použití:");
    QTest::newRow("command help") << QStringList{"generate", "--help"} << 0
                                  << QStringLiteral("Použití:");
    QTest::newRow("no command") << QStringList() << 2 << QStringLiteral("Chybí příkaz.");
    QTest::newRow("unknown command")
        << QStringList{"kontrola"} << 2 << QStringLiteral("Neznámý příkaz: kontrola");
    QTest::newRow("unknown option") << QStringList{"check", "--projekt", "1"} << 2
                                    << QStringLiteral("Neznámá volba příkazu check: --projekt");
    QTest::newRow("option of the other command")
        << QStringList{"check", "--force"} << 2 << QStringLiteral("Neznámá volba příkazu check");
    QTest::newRow("base without value")
        << QStringList{"check", "--base"} << 2 << QStringLiteral("Volba --base potřebuje hodnotu.");
    QTest::newRow("empty base") << QStringList{"generate", "--base="} << 2
                                << QStringLiteral("Volba --base potřebuje hodnotu.");
    QTest::newRow("project followed by an option")
        << QStringList{"generate", "--project", "--force"} << 2
        << QStringLiteral("Volba --project potřebuje hodnotu.");
    QTest::newRow("extra argument")
        << QStringList{"check", "data"} << 2 << QStringLiteral("Nadbytečný argument: data");
    QTest::newRow("calendar without a file")
        << QStringList{"ical", "--project", "012"} << 2
        << QStringLiteral("Příkaz ical potřebuje volbu --out SOUBOR.");
    QTest::newRow("finance without a results file")
        << QStringList{"finance", "--set", "all", "--division", "years"} << 2
        << QStringLiteral("Příkaz finance potřebuje volby --set, --division a --out.");
    QTest::newRow("finance with an unknown set")
        << QStringList{"finance", "--set", "some", "--division", "years", "--out", "x.csv"} << 2
        << QStringLiteral("Volba --set připouští one, group, all: some");
    QTest::newRow("finance with a date kind out of range")
        << QStringList{"finance",     "--set", "all",   "--division", "years",
                       "--date-kind", "5",     "--out", "x.csv"}
        << 2 << QStringLiteral("Volba --date-kind připouští 1 až 4: 5");
}

void TestCli::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    TempBase& base = *base_;  // an empty working directory, so that nothing real is touched
    const CliRun run = RunCli(args, base.Dir());
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(message), qPrintable(run.out + run.err));
    if (exitCode == 2) QVERIFY(run.err.contains(QStringLiteral("Použití:")));
    QVERIFY(QDir(base.Dir()).isEmpty());
}

// A nightly backup writes the user's backup file of the day: the snapshot of the
// register and every progress file when the file is new, one record per run.
void TestCli::backupWritesSnapshotOnceADay() {
    TempBase& base = *base_;
    Write(base, TwoProjectsWithProgress());
    base.WriteLines("ORVA_Sledovani.Ini",
                    {"[Nastavení]", "CestaZmeny=zmeny", "[Přístup]", "Pripojen=Volný"});
    QDir(base.Dir()).mkdir("zmeny");
    const QString file =
        "zmeny/Zaloha_Jmeno-Prijmeni_" + QDate::currentDate().toString("yyyy-MM-dd") + ".csv";
    for (int run = 1; run <= 2; ++run) {
        const CliRun result = RunCli({"backup", "--base", base.Dir()});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains(base.Path(file)), qPrintable(result.out));
    }
    const QStringList lines = base.Lines(file);
    QVERIFY(lines[0].startsWith(";Uloženo "));
    QCOMPARE(lines[1], QStringLiteral("Akce ORVA"));
    int snapshots = 0;
    for (const QString& l : lines)
        if (l.startsWith(QStringLiteral(";Uloženo "))) ++snapshots;
    QCOMPARE(snapshots, 1);
    const QStringList progress = base.Lines(kProgress034);
    QVERIFY(lines.join('\n').contains(progress.join('\n')));
    int records = 0;
    for (const QString& l : lines)
        if (l.startsWith(QStringLiteral("Záloha dat_______________;"))) ++records;
    QCOMPARE(records, 2);
    QVERIFY(!lines.join('\n').contains(QStringLiteral(";orva")));  // never the password
}

void TestCli::backupReportsAMissingFolder() {
    TempBase& base = *base_;
    Write(base, TwoProjectsWithProgress());
    base.WriteLines("ORVA_Sledovani.Ini", {"[Nastavení]", "CestaZmeny=chybi"});
    const CliRun result = RunCli({"backup", "--base", base.Dir()});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(base.Path("chybi/")), qPrintable(result.err));
}

// Nightly backups of several workstations started at the same moment (all as
// one user here, so all into one file): one snapshot, every record kept. Many
// projects make the snapshot slow to write, which leaves room for the race.
void TestCli::concurrentBackupsKeepEveryRecord() {
    constexpr int kRuns = 8;
    TempBase base;
    Folder folder = TwoProjectsWithProgress();
    for (int n = 100; n < 400; ++n) {
        folder[kRegister] << QStringLiteral("%1;Akce %1;;;;;;;;;;;;;;").arg(n);
        folder[QStringLiteral("APr_NameAkce__%1.csv").arg(n)] = folder[kProgress012];
    }
    Write(base, folder);
    base.WriteLines("ORVA_Sledovani.Ini",
                    {"[Nastavení]", "CestaZmeny=zmeny", "[Přístup]", "Pripojen=Volný"});
    QDir(base.Dir()).mkdir("zmeny");
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < kRuns; ++i) {
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->start(QStringLiteral(ORVA_CLI), {"backup", "--base", base.Dir()});
    }
    for (auto& p : runs) {
        QVERIFY(p->waitForFinished(60000));
        QCOMPARE(p->exitCode(), 0);
    }
    const QStringList lines = base.Lines(BackupFile());
    QCOMPARE(CountStarts(lines, QStringLiteral(";Uloženo ")), 1);
    QCOMPARE(CountStarts(lines, QStringLiteral("Záloha dat_______________;")), kRuns);
    QCOMPARE(QDir(base.Path("zmeny")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// On a full disk (a small tmpfs) a command that cannot write says so with the
// path and the system's message and exits 1; no file is left empty or cut.
// With a few pages free it may succeed, and then everything is written whole.
void TestCli::fullDiskIsReported_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("freePages");
    for (const char* command : {"generate", "backup"})
        for (int free = 0; free <= 3; ++free)
            QTest::addRow("%s, %d pages free", command, free) << command << free;
}

void TestCli::fullDiskIsReported() {
    QFETCH(QString, command);
    QFETCH(int, freePages);
    SmallDisk disk;
    SKIP_WITHOUT_SMALL_DISK(disk);
    Folder folder = TwoProjectsWithProgress();
    folder["ORVA_Sledovani.Ini"] = {"[Nastavení]", "CestaZmeny=zmeny"};
    // An earlier backup of the day whose last page has room for ten bytes only.
    folder[BackupFile()] = {";Uloženo 09.12.2026", "Akce ORVA"};
    folder[BackupFile()] << QString(2 * SmallDisk::kPage - 10 - 34, u'x');
    QMap<QString, QByteArray> before;
    QDir().mkpath(disk.Path("zmeny"));
    for (auto it = folder.cbegin(); it != folder.cend(); ++it) {
        QFile file(disk.Path(it.key()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        before[it.key()] = Cp1250Lines(it.value());
        QVERIFY(file.write(before[it.key()]) == before[it.key()].size() && file.flush());
    }
    QCOMPARE(before[BackupFile()].size(), 2 * SmallDisk::kPage - 10);
    disk.Fill(freePages);

    const CliRun run = RunCli(QStringList{command, "--base", disk.Dir()} +
                              (command == "generate" ? QStringList{"--force"} : QStringList()));
    const bool written = run.exitCode == 0;
    if (freePages == 0 || !written) {
        QVERIFY2(run.exitCode == 1, qPrintable(run.out + run.err));
        QVERIFY2(run.err.contains(qt_error_string(ENOSPC)) && run.err.contains(disk.Dir()),
                 qPrintable(run.err));
    }
    QMap<QString, QByteArray> after = before;
    if (command == "generate") {
        after[kProgress012] =
            ExpectedGenerated("012", "Rekonstrukce náměstí v Telči", QStringLiteral("85/75"));
        after[kProgress034] = ExpectedGenerated("034", "Oprava mateřské školy", QString());
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QFile file(disk.Path(it.key()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray now = file.readAll();
        if (it.key() == BackupFile() && written && command == "backup") {
            // One whole record line after the old bytes.
            QVERIFY(now.startsWith(it.value()));
            now = now.mid(it.value().size());
            QVERIFY(now.startsWith(TextFile::Encode(QStringLiteral("Záloha dat_______________;"))));
            QCOMPARE(now.count("\r\n"), 1);
            QVERIFY(now.endsWith("\r\n"));
            continue;
        }
        // Generation may have replaced some files before the disk ran full.
        QVERIFY2(
            now == it.value() || (now == after[it.key()] && (written || command == "generate")),
            qPrintable(it.key()));
        if (written) QCOMPARE(now, after[it.key()]);
    }
    // No temporary file is left.
    QCOMPARE(QDir(disk.Dir()).entryList(QDir::Files).size(), 5);
    QCOMPARE(QDir(disk.Path("zmeny")).entryList(QDir::Files).size(), 1);
}

// The planned dates of both projects as one calendar: project 034's row
// without an end lasts its start day, rows of other kinds stay out.
void TestCli::icalWritesPlannedDates() {
    TempBase& base = *base_;
    Write(base, TwoProjectsWithProgress());
    const QString out = base.Path(QStringLiteral("terminy.ics"));
    const CliRun run = RunCli({"ical", "--base", base.Dir(), "--out", out});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("Zapsáno událostí: 3")), qPrintable(run.out));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString ics = QString::fromUtf8(file.readAll());
    QCOMPARE(ics.count(QStringLiteral("BEGIN:VEVENT\r\n")), 3);
    QVERIFY(ics.contains(QStringLiteral("UID:T-012-01\r\nDTSTAMP:")));
    QVERIFY(ics.contains(QStringLiteral("UID:T-034-01\r\n")));
    QVERIFY(ics.contains(
        QStringLiteral("DTSTART;VALUE=DATE:20260305\r\nDTEND;VALUE=DATE:20260306\r\n")));
    QVERIFY(ics.contains(QStringLiteral("SUMMARY:012 Rekonstrukce náměstí v Telči: Realizace")));
    QVERIFY(!ics.contains(QStringLiteral("J-034")));

    const CliRun one = RunCli({"ical", "--base", base.Dir(), "--project", "034", "--out", out});
    QCOMPARE(one.exitCode, 0);
    QFile again(out);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(again.readAll()).count(QStringLiteral("BEGIN:VEVENT")), 1);
}

// The monthly overview without the program: every project by years, invoices
// counted by their due date, written as the results file.
void TestCli::financeWritesTheResultsFile() {
    TempBase& base = *base_;
    Write(base, TwoProjectsWithProgress());
    const CliRun run = RunCli({"finance", "--base", base.Dir(), "--set", "all", "--division",
                               "years", "--date-kind", "2", "--out", base.Path("vysledky.csv")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QVERIFY(run.out.contains("Přehled: Rok#Vse, Všechny proj., akcí 2"));
    const QStringList lines = base.Lines("vysledky.csv");
    QCOMPARE(lines.size(), 9);  // the date, the headers, row 1, two projects of three rows
    QCOMPARE(lines[0], "Výsledky" + QDate::currentDate().toString("dd.MM.yyyy"));
    QVERIFY(lines[1].startsWith("Řa.Proj.;Projekt;Objekt;Plán OD;"));
    QVERIFY(lines[2].startsWith("#Rok#Vse;Všechny proj.;SLEDOVÁNÍ AKCÍ;01.03.2026;30.11.2027;"));
    QVERIFY(lines[3].startsWith("P1;Sk-012;Rekonstrukce náměstí v Telči;1.3.2026;30.11.2027;"));
    // The invoice counts in its due year; "Všechny faktury" only in rows 1 and 3.
    QCOMPARE(lines[4],
             ";F-012;Rok_2026;1.1.2026;31.12.2026;0;0;0;0;0;0;0;0;265625,11;"
             "796875,32;187500,08;1062500,43;0;1250000,5;0;1250000,5;1;0;0;0;;");
    QVERIFY(lines[2].endsWith(";1250000,5;2;16700000;14195000;1250000,5;;"));
    QVERIFY(lines[5].startsWith(";F-012;Rok_2027;1.1.2027;31.12.2027;0;"));
    QVERIFY(lines[6].startsWith("P2;Sk-034;Oprava mateřské školy;"));
    // No progress file was loaded or written, no question asked.
    QVERIFY(!run.out.contains("Dotazy"));
    QCOMPARE(base.Lines(kProgress012)[0], QStringLiteral("Akce ORVA;01.12.2026"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
