#include <QtTest>

#include "Clock.h"
#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/TextFile.h"
#include "shell/ChangeLog.h"

namespace {

const QString kLog = QStringLiteral("Zmeny/Zmeny_2026-12.csv");
const QString kCommon = QStringLiteral(";09.12.2026 - 10:30;Jan Novák;Uzivatel_TEST;");
const QString kPassword = QStringLiteral("Tajne-Heslo-77");

// Two projects, one deadline row, one finance row and one template row, and a
// signed-in user; the change folder "Zmeny/" exists and is empty.
void Prepare(TempBase& base) {
    Workspace& ws = *base.ws;
    ws.config.CestaZmeny = QStringLiteral("Zmeny/");
    QDir().mkpath(base.Path("Zmeny"));
    ws.Access.UserName = QStringLiteral("Jan Novák");
    ws.Access.Password = kPassword;
    ws.Access.Permission = QStringLiteral("3_012");
    ws.Access.WorkstationId = QStringLiteral("stroj-7/jan");

    SetupTable(ws.Projects, kProjectTable, QString());
    const QStringList p1 = {"1",
                            "012",
                            "Škola; tělocvična",
                            "Ing. Malá",
                            "Bc. Velký",
                            "2.1",
                            "",
                            "",
                            "",
                            "",
                            "85/75",
                            FormatAmount(1234567.5),
                            FormatAmount(0),
                            "01.02.2026",
                            "30.11.2027"};
    const QStringList p2 = {"2", "013", "Náměstí"};
    for (int c = 0; c < p1.size(); ++c) ws.Projects.SetCell(c, 1, p1[c]);
    for (int c = 0; c < p2.size(); ++c) ws.Projects.SetCell(c, 2, p2[c]);

    SetupTable(ws.Deadlines, kDeadlineTable, QString());
    const QStringList d = {"1",          "T-012", "Realizace", "Stavba", "Výstavba", "01.03.2026",
                           "30.06.2026", "",      "",          "121",    "",         "",
                           "T-012-01//", "Info",  "Poznámka",  "",       "a.txt",    "b.jpg"};
    for (int c = 0; c < d.size(); ++c) ws.Deadlines.SetCell(c, 1, d[c]);

    SetupTable(ws.Finance, kFinanceTable, QStringLiteral("Včetně DPH"));
    ws.Finance.SetCell(Finance::RowNumber, 1, "1");
    ws.Finance.SetCell(Finance::KindAndProject, 1, "F-012");
    ws.Finance.SetCell(Finance::Eligible, 1, FormatAmount(1000));
    ws.Finance.SetCell(Finance::Identifier, 1, "F-012-01/");

    SetupTable(ws.Templates, kTemplateTableWithDefaults, QString());
    ws.Templates.SetCell(Template::FileOnly, 2,
                         "navíc");  // the template file's column beyond the grid

    ws.Diary.Day = DayFromDate(QDate(2026, 12, 9));
    ws.Diary.Row = 4;
    ws.Diary.RecordFirstLine =
        QStringLiteral("Kontrolní den na stavbě, účast TDI a zhotovitele\r\ndruhý řádek");
    ws.Diary.MessageFirstLine = QStringLiteral("Krátká zpráva");
}

QByteArray Cp1250(const QString& text) {
    return TextFile::Encode(text);
}

}  // namespace

class TestChangeLog : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void fileNames_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        QTest::newRow("change") << "Jan Novák"
                                << ""
                                << "Přihlášení uživatele_____"
                                << "Zmeny_2026-12.csv";
        QTest::newRow("backup") << "Jan Novák"
                                << ""
                                << "Záloha dat_______________"
                                << "Zaloha_Jan-Novák_2026-12-09.csv";
        QTest::newRow("every blank") << "Ing. Jan  Novák"
                                     << ""
                                     << "Záloha dat_______________"
                                     << "Zaloha_Ing.-Jan--Novák_2026-12-09.csv";
        QTest::newRow("no path out of the folder") << "a/../b\\c"
                                                   << ""
                                                   << "Záloha dat_______________"
                                                   << "Zaloha_a-..-b-c_2026-12-09.csv";
        QTest::newRow("name for a change") << "Jan Novák"
                                           << "Test"
                                           << "Přihlášení uživatele_____"
                                           << "Zmeny_Test.csv";
        QTest::newRow("name for a backup") << "Jan Novák"
                                           << "Test"
                                           << "Záloha dat_______________"
                                           << "Zmeny_Test.csv";
    }
    void fileNames() {
        QFETCH(QString, user);
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(QString, expected);
        TempBase& base = *base_;
        base.ws->Access.UserName = user;
        QCOMPARE(ChangeLogFileName(*base.ws, name, label), expected);
    }

    // The bytes each kind appends to an existing log, as the reconstruction and
    // the other workstations read them.
    void recordKinds_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("expected");
        const QString mask = QStringLiteral("stroj-7/jan;3_012;**********");
        QTest::newRow("0 log-in") << "Přihlášení uživatele_____" << 0 << 1
                                  << QStringList{"Přihlášení uživatele_____" + kCommon + mask};
        QTest::newRow("1 deadline row, 19 cells")
            << "Nově_upravená_položka____" << 1 << 1
            << QStringList{"Nově_upravená_položka____" + kCommon +
                           "1;T-012;Realizace;Stavba;Výstavba;01.03.2026;30.06.2026;;;121;;;"
                           "T-012-01//;Info;Poznámka;;a.txt;b.jpg;;"};
        QTest::newRow("1 sort: header of the column")
            << "Setřídění průběhů________" << 1 << 5
            << QStringList{"Setřídění průběhů________" + kCommon + "Plán od;"};
        QTest::newRow("4 finance row, amount as shown")
            << "Smazaná_položka__________" << 4 << 1
            << QStringList{"Smazaná_položka__________" + kCommon + "1;F-012;;;;;;;;" +
                           FormatAmount(1000) + ";;;F-012-01/;;;;;;;"};
        QTest::newRow("4 sort") << "Setřídění financí________" << 4 << 11
                                << QStringList{"Setřídění financí________" + kCommon +
                                               "Celkove výdaje plán Včetně DPH;"};
        QTest::newRow("2 project row, ';' splits the cell")
            << "Přidána_nová_položka_____" << 2 << 1
            << QStringList{"Přidána_nová_položka_____" + kCommon +
                           "1;012;Škola; tělocvična;Ing. Malá;Bc. Velký;2.1;;;;;85/75;" +
                           FormatAmount(1234567.5) + ";" + FormatAmount(0) +
                           ";01.02.2026;30.11.2027;;"};
        QTest::newRow("6 template row, 18 cells")
            << "Nově_upravená_položka____" << 6 << 2
            << QStringList{"Nově_upravená_položka____" + kCommon +
                           "2;Termíny;Financování;Příprava dotace;Podpis smlouvy;;;;;360;;;;;;;;"
                           "navíc;"};
        QTest::newRow("60 day written")
            << "Zápis akce deník_________" << 60 << 3
            << QStringList{"Zápis akce deník_________" + kCommon +
                           "Denik;09.12.2026;4;Kontrolní den na stavbě, účast TDI a zho...;"
                           "Krátká zpráva...;"};
        QTest::newRow("62 day deleted")
            << "Smaze akci v deniku______" << 62 << 3
            << QStringList{"Smaze akci v deniku______" + kCommon +
                           "Denik;09.12.2026;4;Kontrolní den na stavbě, účast TDI a zho...;"
                           "Krátká zpráva...;"};
        QTest::newRow("64 whole day") << "Smaze celý den deníku____/Den_2026.12.09.ITI" << 64 << 0
                                      << QStringList{"Smaze celý den deníku____" + kCommon +
                                                     "Denik;09.12.2026;Den_2026.12.09.ITI;"};
        QTest::newRow("64 whole day, full path")
            << "Smaze celý den deníku____//data/Denik/Den_2026.12.09.ITI" << 64 << 0
            << QStringList{"Smaze celý den deníku____" + kCommon +
                           "Denik;09.12.2026;/data/Denik/Den_2026.12.09.ITI;"};
        QTest::newRow("101 identifiers")
            << "Generovaní nový ID_______" << 101 << 12
            << QStringList{"Generovaní nový ID_______" + kCommon + "ID-vnitřní;Termíny;"};
        QTest::newRow("104 identifiers")
            << "Generovaní nový ID_______" << 104 << 12
            << QStringList{"Generovaní nový ID_______" + kCommon + "ID-vnitřní;Finance;"};
        QTest::newRow("102: no record")
            << "Generovaní nový ID_______" << 102 << 12 << QStringList{};
        QTest::newRow("3: no record") << "Něco____" << 3 << 1 << QStringList{};
    }
    void recordKinds() {
        QFETCH(QString, label);
        QFETCH(int, kind);
        QFETCH(int, row);
        QFETCH(QStringList, expected);
        TempBase& base = *base_;
        Prepare(base);
        const QByteArray existing = Cp1250Lines({";Uloženo 01.12.2026", "starší záznam"});
        base.WriteBytes(kLog, existing);
        LogChange(*base.ws, QString(), label, kind, row);
        QCOMPARE(base.Bytes(kLog), existing + Cp1250Lines(expected));
    }

    // A new file: the snapshot, then the record; cells exactly as shown, progress
    // files copied byte for byte as whole CR LF lines.
    void snapshotBytes() {
        TempBase& base = *base_;
        Prepare(base);
        Workspace& ws = *base.ws;
        ws.Projects.SetCell(Project::RowNumber, 3, "3");
        ws.Projects.SetCell(Project::Number, 3,
                            "13");  // contains "1", listed after it: a file of its own
        ws.Projects.SetCell(Project::RowNumber, 4, "4");
        ws.Projects.SetCell(Project::Number, 4, "014");  // no progress file
        ws.Projects.SetCell(Project::Number, 2, "1");
        ws.Current().SetProjectRow(4);
        // 0x81 is no letter in code page 1250 and must still come through unchanged.
        base.WriteBytes("APr_NameAkce__012.csv",
                        "Akce ORVA;01.12.2026\r\nT-012;\xC8innost;\x81;\r\nF-012;x;");
        base.WriteBytes("APr_NameAkce__1.csv", "");
        base.WriteBytes("APr_NameAkce__13.csv", "a\nb\r\r\nc\r");
        LogChange(ws, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);

        QByteArray expected = Cp1250(
            ";Uloženo 09.12.2026\r\nAkce ORVA\r\n"
            "Číslo akce;Název akce;Manager projektu;Technik projektu;Opatření;Aktivity;"
            "Dokument TXT;Dokument JPG;Poznámka;Dotace/ERDF;Plán celk.způs. Výdajů;Dotace;"
            "Datum od;Datum do;;\r\n"
            "012;Škola; tělocvična;Ing. Malá;Bc. Velký;2.1;;;;;85/75;" +
            FormatAmount(1234567.5) + ";" + FormatAmount(0) +
            ";01.02.2026;30.11.2027;;\r\n"
            "1;Náměstí;;;;;;;;;;;;;;\r\n"
            "13;;;;;;;;;;;;;;;\r\n"
            "014;;;;;;;;;;;;;;;\r\n");
        expected += "Akce ORVA;01.12.2026\r\nT-012;\xC8innost;\x81;\r\nF-012;x;\r\n";
        expected += "\r\n";               // the empty file of project 1
        expected += "a\r\nb\r\r\nc\r\n";  // project 13, its own file
        expected +=
            Cp1250("Přihlášení uživatele_____" + kCommon + "stroj-7/jan;3_012;**********\r\n");
        const QByteArray bytes = base.Bytes(kLog);
        QCOMPARE(bytes, expected);
        // Thousands separated by code 160, as other copies read the amounts.
        QVERIFY(
            bytes.contains("1\xA0"
                           "234\xA0"
                           "567,50"));
        QCOMPARE(ws.Current().ProjectRow(), 4);
        QCOMPARE(SnapshotLines(ws), TextFile::Decode(expected).split("\r\n").mid(0, 14));
    }

    void firstChangeOfMonthCreatesTheLog() {
        TempBase& base = *base_;
        Prepare(base);
        Workspace& ws = *base.ws;
        LogChange(ws, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
        const QStringList first = base.Lines(kLog);
        QCOMPARE(first.first(), QStringLiteral(";Uloženo 09.12.2026"));
        QCOMPARE(first.size(), 2 + 3 + 1);  // heading, header and two project rows, record

        ws.Projects.SetCell(Project::Name, 1,
                            "Jiný název");  // a later change is not re-snapshotted
        LogChange(ws, QString(), "Nově_upravená_položka____", kDeadlineTable, 1);
        const QStringList second = base.Lines(kLog);
        QCOMPARE(second.size(), first.size() + 1);
        QCOMPARE(second.mid(0, first.size()), first);
        QVERIFY(second.last().startsWith("Nově_upravená_položka____;"));

        Clock::Set(QDateTime(QDate(2027, 1, 1), QTime(0, 5)));
        LogChange(ws, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
        const QStringList january = base.Lines("Zmeny/Zmeny_2027-01.csv");
        QCOMPARE(january.first(), QStringLiteral(";Uloženo 01.01.2027"));
        QVERIFY(january.contains("012;Jiný název;Ing. Malá;Bc. Velký;2.1;;;;;85/75;" +
                                 FormatAmount(1234567.5) + ";" + FormatAmount(0) +
                                 ";01.02.2026;30.11.2027;;"));
        QCOMPARE(january.last(),
                 "Přihlášení uživatele_____;01.01.2027 - 00:05;Jan Novák;"
                 "Uzivatel_TEST;stroj-7/jan;3_012;**********");
    }

    void twoBackupsOnOneDay() {
        TempBase& base = *base_;
        Prepare(base);
        LogChange(*base.ws, QString(), QString::fromUtf16(kLabelBackup), kLogEvent, 12);
        LogChange(*base.ws, QString(), QString::fromUtf16(kLabelBackup), kLogEvent, 12);
        const QString file = "Zmeny/Zaloha_Jan-Novák_2026-12-09.csv";
        QVERIFY(base.Exists(file));
        QVERIFY(!base.Exists(kLog));
        const QStringList lines = base.Lines(file);
        QCOMPARE(lines.count(";Uloženo 09.12.2026"), 1);
        const QString record =
            "Záloha dat_______________" + kCommon + "stroj-7/jan;3_012;**********";
        QCOMPARE(lines.count(record), 2);
        QCOMPARE(lines.mid(lines.size() - 2), QStringList({record, record}));
    }

    void passwordNeverWritten() {
        TempBase& base = *base_;
        Prepare(base);
        base.WriteLines("APr_NameAkce__012.csv", {"Akce ORVA", "T-012;x;"});
        LogChange(*base.ws, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
        LogChange(*base.ws, QString(), "Přidána_data_projektu____", kLogProjectAdded, 1);
        LogChange(*base.ws, QString(), QString::fromUtf16(kLabelBackup), kLogEvent, 12);
        for (const QString& file :
             {kLog, QStringLiteral("Zmeny/Zaloha_Jan-Novák_2026-12-09.csv")}) {
            const QByteArray bytes = base.Bytes(file);
            QVERIFY(!bytes.isEmpty());
            QVERIFY2(!bytes.contains(kPassword.toLatin1()), qPrintable(file));
            QVERIFY(bytes.contains("**********"));
        }
    }

    void projectAddedCopiesItsProgressFile_data() {
        QTest::addColumn<bool>("logExists");
        QTest::newRow("new log") << false;
        QTest::newRow("existing log") << true;
    }
    void projectAddedCopiesItsProgressFile() {
        QFETCH(bool, logExists);
        TempBase& base = *base_;
        Prepare(base);
        const QStringList progress = {"Akce ORVA", "Akce - Projekt Číslo ;013;Náměstí", "",
                                      "T-013;Realizace;;;;;;;;;;;T-013-01//;;;;;;"};
        base.WriteLines("APr_NameAkce__013.csv", progress);
        if (logExists) base.WriteLines(kLog, {"x"});
        LogChange(*base.ws, QString(), "Přidána_data_projektu____", kLogProjectAdded, 2);
        const QStringList lines = base.Lines(kLog);
        const QStringList tail = lines.mid(lines.size() - 5);
        QCOMPARE(tail.first(),
                 "Přidána_data_projektu____" + kCommon + "stroj-7/jan;3_012;**********");
        QCOMPARE(tail.mid(1), progress);
        if (!logExists)  // the snapshot holds the file once more before the record
            QCOMPARE(lines.count("T-013;Realizace;;;;;;;;;;;T-013-01//;;;;;;"), 2);
    }

    void missingChangeFolder() {
        TempBase& base = *base_;
        Prepare(base);
        base.ws->config.CestaZmeny = QStringLiteral("Chybi/");
        QVERIFY_THROWS_EXCEPTION(
            FileError, LogChange(*base.ws, QString(), QString::fromUtf16(kLabelLogin), 0, 1));
        QVERIFY(!base.Exists("Chybi"));
    }

    void failedWriteLeavesNothing() {
        TempBase& base = *base_;
        Prepare(base);
        TextFile::SetFailureHookForTests(
            [](const QString&) { return QStringLiteral("Disk plný"); });
        bool thrown = false;
        try {
            LogChange(*base.ws, QString(), QString::fromUtf16(kLabelLogin), 0, 1);
        } catch (const FileError& e) {
            thrown = e.Message() == QStringLiteral("Disk plný");
        }
        TextFile::SetFailureHookForTests({});
        QVERIFY(thrown);
        QCOMPARE(QDir(base.Path("Zmeny")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Workstations writing the first record of a month at the same moment: one
    // of them creates the log with the snapshot, every record is kept. A register
    // of many projects makes the snapshot slow to write, as in the office.
    void concurrentFirstRecordsOfAMonth() {
        constexpr int kRounds = 3;
        constexpr int kWriters = 6;
        constexpr int kProjects = 300;
        TempBase base;
        QStringList projects = {";Uloženo 01.12.2026", "Akce ORVA",
                                "Číslo akce;Název akce;Manager projektu;;;;;;;;;;;;;"};
        for (int n = 100; n < 100 + kProjects; ++n) {
            projects << QStringLiteral("%1;Akce %1;Ing. Malá;;;;;;;;;;;;;").arg(n);
            QStringList progress = {"Akce ORVA;01.12.2026",
                                    "Akce - Projekt Číslo ;" + QString::number(n)};
            for (int r = 1; r <= 20; ++r)
                progress << QStringLiteral(
                                "T-%1;Realizace;Stavba;Průběh stavby;01.03.2026;;;;;;;"
                                "T-%1-%2//;;;;;;;")
                                .arg(n)
                                .arg(r, 2, 10, QLatin1Char('0'));
            base.WriteLines(QStringLiteral("APr_NameAkce__%1.csv").arg(n), progress);
        }
        base.WriteLines("NameAkce.csv", projects);
        base.WriteLines("ORVA_Sledovani.Ini",
                        {"[Nastavení]", "CestaZmeny=Zmeny/", "Soubor_Akce_CSV=NameAkce.csv"});
        const QString go = base.Path("go");
        QDir changes(base.Path("Zmeny"));
        for (int round = 0; round < kRounds; ++round) {
            QVERIFY(changes.removeRecursively() && changes.mkpath("."));
            QFile::remove(go);
            std::vector<std::unique_ptr<QProcess>> writers;
            for (int i = 0; i < kWriters; ++i) {
                writers.push_back(std::make_unique<QProcess>());
                writers.back()->start(QStringLiteral(LOG_WRITER),
                                      {base.Dir(), QStringLiteral("Stanice %1").arg(i), go});
            }
            for (auto& p : writers) {
                QVERIFY2(p->waitForStarted(10000), qPrintable(p->errorString()));
                QTRY_VERIFY_WITH_TIMEOUT(p->canReadLine() || p->state() == QProcess::NotRunning,
                                         20000);
                QCOMPARE(p->readLine().trimmed(), QByteArray("READY"));
            }
            base.WriteBytes("go", "go");
            for (auto& p : writers) {
                QVERIFY(p->waitForFinished(30000));
                QCOMPARE(p->readAllStandardOutput().trimmed(), QByteArray("WRITTEN"));
            }
            // Nothing but the log is left behind, not even a temporary file.
            const QStringList files = changes.entryList(QDir::Files | QDir::Hidden);
            QCOMPARE(files.size(), 1);
            QVERIFY(files[0].startsWith("Zmeny_"));
            const QStringList lines = base.Lines("Zmeny/" + files[0]);
            QCOMPARE(lines.count(QStringLiteral("Akce ORVA")), 1);
            QVERIFY(lines[0].startsWith(";Uloženo "));
            QCOMPARE(lines.size(), 2 + 1 + kProjects + kProjects * 22 + kWriters);
            QSet<QString> users;
            for (const QString& l : lines.mid(lines.size() - kWriters)) {
                QVERIFY2(l.startsWith(QString::fromUtf16(kLabelLogin)), qPrintable(l));
                users << l.section(u';', 2, 2);
            }
            QCOMPARE(users.size(), kWriters);
        }
    }
};

QTEST_GUILESS_MAIN(TestChangeLog)
#include "tst_changelog.moc"
