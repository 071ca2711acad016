#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "TestSupport.h"

namespace {

using CliRun = ProgramRun;

CliRun RunCli(const QStringList& args, const QString& workDir = QString()) {
    return RunProgram(QStringLiteral(ORVA_CLI), args, workDir);
}

QStringList OutLines(const CliRun& run) {
    QStringList lines = run.out.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

const QString kRegister = QStringLiteral("NameAkce.csv");
const QString kProgress012 = QStringLiteral("APr_NameAkce__012.csv");
const QString kProgress034 = QStringLiteral("APr_NameAkce__034.csv");
const QString kProgress01 = QStringLiteral("APr_NameAkce__01.csv");

using Folder = QMap<QString, QStringList>;

QStringList Register(const QStringList& projects) {
    return RegisterLines(projects);
}

const QString kProject012 = QStringLiteral(
    "012;Rekonstrukce náměstí v Telči;Ing. Jana Nováková;Petr Dvořák;2.1;;;;;85/75;"
    "12500000,00;10625000,00;01.03.2026;30.11.2027;;");
const QString kProject034 = QStringLiteral(
    "034;Oprava mateřské školy;Mgr. Lenka Černá;Tomáš Kučera;3.2;;;;;;4200000,00;3570000,00;"
    "15.04.2026;31.12.2026;;");

// Project 012 in the saved form, 034 in the generated form with a header line.
Folder TwoProjects() {
    Folder f;
    f[kRegister] = Register({kProject012, kProject034});
    f[kProgress012] = {
        QStringLiteral("Akce ORVA;01.12.2026"),
        QStringLiteral("Akce - Projekt Číslo ;012"),
        QStringLiteral("Termíny"),
        QStringLiteral("T-012;Realizace;Stavba;Průběh stavby;01.03.2026;30.06.2026;02.03.2026;;"
                       "120;;;T-012-01//;;;;;;;"),
        QStringLiteral("T-012;Realizace;Stavba;Kolaudace;01.07.2026;03.07.2026;;;2;;;"
                       "T-012-02/N-T-012-01/;;;;;;;"),
        QStringLiteral("T-012;Výber dodavatele;Stavba;Podpis smlouvy;01.03.2026;30.06.2026;"
                       "01.03.2026;30.06.2026;90;;;T-012-03//;;;;;;;"),
        QStringLiteral("F-012;Platba_Faktura_1;;Plnění;05.07.2026;04.08.2026;;;0,00;0,00;"
                       "1250000,50;F-012-01/;fakturace;;;;;;"),
        QStringLiteral("F-012;Etapa_#_1;;Plán;01.01.2026;01.02.2026;;;0,00;0,00;500000,00;"
                       "F-012-02/;etapa;;;;;;"),
        QStringLiteral("F-012;Faktura 2;;Plnění;05.07.2026;04.08.2026;;01.08.2026;0,00;0,00;"
                       "1000,00;F-012-03/;fakturace;;;;;;"),
    };
    f[kProgress034] = {
        QStringLiteral("Akce ORVA"),
        QStringLiteral("Akce - Projekt Číslo ;034;Oprava mateřské školy"),
        QStringLiteral("Termíny"),
        QStringLiteral("Akce číslo;Činnost;Zařazení;Proces;Plán od ;Plán DO;Skutečnost OD;"
                       "Skutečnost DO;Délka Dnů;Real OD;Real DO;ID-vnitřní;Info;Poznámka;;"
                       "Dokument TXT;Dokument JPG"),
        QStringLiteral("T-034;Etapa_#_1;;Projednání URR;5.3.2026;;;;30;;;T-034-01//;;;;;;;"),
        QStringLiteral("T-034;Změnové řízení_#_1;;Schválení VRR;25.11.2026;31.12.2026;;;30;;;"
                       "T-034-02//;;;;;;;"),
        QStringLiteral("J-034;Jiné;;Poplatek;;;;;;;;J-034-01/;;;;;;;"),
        QStringLiteral("F-034;Faktura za projekt;;Plnění;01.12.2026;;;;0;0;100000,00;F-034-01/;;"
                       ";;;;;"),
    };
    return f;
}

void Write(const TempBase& base, const Folder& folder) {
    for (auto it = folder.cbegin(); it != folder.cend(); ++it)
        base.WriteLines(it.key(), it.value());
}

const QString kLate012a = QStringLiteral("T;012;1;T-012-01;Realizace;4");
const QString kLate012b = QStringLiteral("T;012;2;T-012-02;Realizace;8");
const QString kLate034a = QStringLiteral("T;034;1;T-034-01;Etapa_#_1;11");
const QString kLate034b = QStringLiteral("T;034;2;T-034-02;Změnové řízení_#_1;1");

}  // namespace

class TestCliStatus : public QObject {
    Q_OBJECT

  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void lists_data();
    void lists();
    void todayByDefault();
    void problems_data();
    void problems();
    void numberInsideAnother();
    void controlCharactersEscaped_data();
    void controlCharactersEscaped();
    void commandLine_data();
    void commandLine();
};

void TestCliStatus::lists_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("config");  // lines of ORVA_Sledovani.Ini, none when empty
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("reference day")
        << QStringList{"--date", "09.12.2026"} << QStringList()
        << QStringList{kLate012a, kLate012b, "F;012;1;F-012-01;Platba_Faktura_1;117", kLate034a,
                       kLate034b};
    QTest::newRow("earlier day") << QStringList{"--date=01.12.2026"} << QStringList()
                                 << QStringList{kLate012a, kLate012b,
                                                "F;012;1;F-012-01;Platba_Faktura_1;109", kLate034a};
    QTest::newRow("later day, one-digit day and month")
        << QStringList{"--date", "31.12.2026"} << QStringList()
        << QStringList{kLate012a, kLate012b, "F;012;1;F-012-01;Platba_Faktura_1;139",
                       kLate034a, kLate034b, "F;034;2;F-034-01;Faktura za projekt;6"};
    QTest::newRow("configured tolerances")
        << QStringList{"--date", "09.12.2026"}
        << QStringList{"[Nastavení]", "Úchylka_Chyby_Termíny=30", "Úchylka_Chyby_Finance=0"}
        << QStringList{kLate012a, kLate012b, "F;012;1;F-012-01;Platba_Faktura_1;127", kLate034a};
    QTest::newRow("one project") << QStringList{"--project", "034", "--date", "09.12.2026"}
                                 << QStringList() << QStringList{kLate034a, kLate034b};
    QTest::newRow("the other project")
        << QStringList{"--date=09.12.2026", "--project=012"} << QStringList()
        << QStringList{kLate012a, kLate012b, "F;012;1;F-012-01;Platba_Faktura_1;117"};
}

void TestCliStatus::lists() {
    QFETCH(QStringList, options);
    QFETCH(QStringList, config);
    QFETCH(QStringList, expected);
    TempBase& base = *base_;
    Write(base, TwoProjects());
    if (!config.isEmpty()) base.WriteLines(QStringLiteral("ORVA_Sledovani.Ini"), config);
    const CliRun run = RunCli(QStringList{"status", "--base", base.Dir()} + options);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(OutLines(run), expected);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
}

void TestCliStatus::todayByDefault() {
    TempBase& base = *base_;
    Write(base, TwoProjects());
    // Without --date the current directory's folder is listed for now; a row
    // without planned end is late on any day.
    const CliRun run = RunCli({QStringLiteral("status")}, base.Dir());
    QCOMPARE(run.exitCode, 0);
    const QRegularExpression line(
        QStringLiteral("^[TF];(012|034);\\d+;[TF]-\\d{3}-\\d{2};[^;]+;\\d+$"));
    for (const QString& l : OutLines(run)) QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
    QVERIFY(run.out.contains(QStringLiteral("T;034;1;T-034-01;Etapa_#_1;")));
    QVERIFY(!base.Exists(QStringLiteral("ORVA_Sledovani.Ini")));
}

void TestCliStatus::problems_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected");  // the lines still listed
    QTest::addColumn<QString>("message");       // on stderr; %1 is the base
    const QStringList day{"--date", "09.12.2026"};
    QTest::newRow("missing progress file")
        << QStringLiteral("missing 034") << day
        << QStringList{kLate012a, kLate012b, "F;012;1;F-012-01;Platba_Faktura_1;117"}
        << QStringLiteral("Chybí soubor: %1") + kProgress034;
    QTest::newRow("folder in place of a progress file")
        << QStringLiteral("folder 012") << day << QStringList{kLate034a, kLate034b}
        << QStringLiteral("Chybí soubor: %1") + kProgress012;
    QTest::newRow("missing register") << QStringLiteral("no register") << day << QStringList()
                                      << QStringLiteral("Chybí soubor: %1") + kRegister;
    QTest::newRow("unknown project")
        << QString() << QStringList{"--project", "34", "--date", "09.12.2026"} << QStringList()
        << QStringLiteral("Akce s číslem 34 v seznamu akcí %1") + kRegister + " není.";
    QTest::newRow("no such folder") << QStringLiteral("no folder") << day << QStringList()
                                    << QStringLiteral("Složka neexistuje: %1neni/");
}

void TestCliStatus::problems() {
    QFETCH(QString, damage);
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    TempBase& base = *base_;
    Folder folder = TwoProjects();
    QString dir = base.Dir();
    if (damage == QLatin1String("missing 034")) {
        folder.remove(kProgress034);
    } else if (damage == QLatin1String("folder 012")) {
        folder.remove(kProgress012);
        QVERIFY(QDir().mkpath(base.Path(kProgress012)));
    } else if (damage == QLatin1String("no register")) {
        folder.remove(kRegister);
    } else if (damage == QLatin1String("no folder")) {
        dir = base.Path(QStringLiteral("neni/"));
    }
    Write(base, folder);
    const CliRun run = RunCli(QStringList{"status", "--base", dir} + options);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(OutLines(run), expected);
    QVERIFY2(run.err.contains(message.arg(base.Dir())), qPrintable(run.err));
    // Nothing is asked, so nothing is created in place of a missing file.
    if (damage == QLatin1String("missing 034")) QVERIFY(!base.Exists(kProgress034));
}

void TestCliStatus::numberInsideAnother() {
    TempBase& base = *base_;
    Folder folder = TwoProjects();
    // Project 01 is listed first and its number occurs in 012, so the program
    // finds 01's progress for 012; its rows are listed once, under 01. A file
    // without deadline rows lists no placeholder row.
    folder[kRegister] =
        Register({QStringLiteral("01;Chodník;;;;;;;;;;;;;;"), kProject012, kProject034});
    folder[kProgress01] = {QStringLiteral("Akce ORVA;01.12.2026"),
                           QStringLiteral("Akce - Projekt Číslo ;01"), QStringLiteral("Termíny"),
                           QStringLiteral("F-01;Platba;;Plnění;;01.01.2026;;;0;0;10,00;F-01-01/;")};
    Write(base, folder);
    const CliRun run = RunCli({"status", "--base", base.Dir(), "--date", "09.12.2026"});
    // Leaving 012 out is reported to cron as a failure.
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(OutLines(run), (QStringList{"F;01;1;F-01-01;Platba;332", kLate034a, kLate034b}));
    QVERIFY2(run.err.contains(QStringLiteral("Akce 012: ")) && run.err.contains(kProgress01),
             qPrintable(run.err));
}

// Text from the shared files reaches the terminal with its control characters
// escaped: a cell cannot send escape sequences to the administrator's terminal.
void TestCliStatus::controlCharactersEscaped_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");  // in the output, escaped
    QTest::newRow("status") << QStringList{"status", "--date", "09.12.2026"}
                            << "T;012;1;T-012-01;Realizace\\x1B[2J\\x07\\x0D;4";
    QTest::newRow("check") << QStringList{"check"} << "Ne\\x1B[2Jco\\x1B[31m";
}

void TestCliStatus::controlCharactersEscaped() {
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    TempBase& base = *base_;
    Folder folder = TwoProjects();
    folder[kProgress012][3].replace(QLatin1String("T-012;Realizace;"),
                                    QStringLiteral("T-012;Realizace\x1B[2J\x07\r;"));
    // A line the loader skips: check prints it.
    folder[kProgress012] << QStringLiteral("Ne\x1B[2Jco\x1B[31m;x");
    Write(base, folder);
    const CliRun run = RunCli(args + QStringList{"--base", base.Dir()});
    QVERIFY2(run.out.contains(expected), qPrintable(run.out));
    for (const QString& text : {run.out, run.err})
        for (const QChar c : text)
            QVERIFY2(c == u'\n' || c.category() != QChar::Other_Control, qPrintable(text));
}

void TestCliStatus::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("impossible date") << QStringList{"status", "--date", "31.02.2026"}
                                     << QStringLiteral("Volba --date potřebuje datum ve tvaru");
    QTest::newRow("date in another form")
        << QStringList{"status", "--date=2026-12-09"}
        << QStringLiteral("Volba --date potřebuje datum ve tvaru");
    QTest::newRow("date without value")
        << QStringList{"status", "--date"} << QStringLiteral("Volba --date potřebuje hodnotu.");
    QTest::newRow("project followed by an option")
        << QStringList{"status", "--project", "--date", "09.12.2026"}
        << QStringLiteral("Volba --project potřebuje hodnotu.");
    QTest::newRow("option of generate") << QStringList{"status", "--force"}
                                        << QStringLiteral("Neznámá volba příkazu status: --force");
    QTest::newRow("date for check") << QStringList{"check", "--date", "09.12.2026"}
                                    << QStringLiteral("Neznámá volba příkazu check: --date");
    QTest::newRow("date for generate") << QStringList{"generate", "--date=09.12.2026"}
                                       << QStringLiteral("Neznámá volba příkazu generate");
    QTest::newRow("extra argument")
        << QStringList{"status", "012"} << QStringLiteral("Nadbytečný argument: 012");
}

void TestCliStatus::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    TempBase& base = *base_;
    const CliRun run = RunCli(args, base.Dir());
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestCliStatus)
#include "tst_cli_status.moc"
