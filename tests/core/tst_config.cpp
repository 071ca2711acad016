#include <QtTest>
#include <cerrno>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/IniFile.h"
#include "data/TextFile.h"
#include "shell/Config.h"
#include "shell/StartUp.h"

Q_DECLARE_METATYPE(ConfigFileKind)

class TestConfig : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void missingKeysTakeDefaults() {
        TempBase& base = *base_;
        base.WriteLines("ORVA_Sledovani.Ini", {"[Nastavení]", "Popis=Můj popis"});
        Config& c = base.ws->config;
        c.SouborAkce.clear();
        QVERIFY(ReadConfiguration(c));
        QCOMPARE(c.Popis, QStringLiteral("Můj popis"));
        QCOMPARE(c.Firma, QStringLiteral("SPOLEČNOST"));
        QCOMPARE(c.SouborAkce, QStringLiteral("NameAkce.csv"));
        QCOMPARE(c.Cesta, QString());
        QCOMPARE(c.VyskaRadku, 34);
        QCOMPARE(c.UchylkaTerminy, 10);
        QCOMPARE(c.GanttNasobitel, 1.0);
        QCOMPARE(c.GrafFinanci, QString(29, u'1'));
        QCOMPARE(c.SettingsFlags, QStringLiteral("100111110101000000100000000000"));
        QCOMPARE(c.Pripojen, QStringLiteral("Volný"));
        QCOMPARE(c.DatumUlozeni, QDate(2026, 12, 9));
    }

    // A file saved as UTF-8 by an editor is read as such and written back in
    // code page 1250; one without the two sections is recognised as such.
    void configurationEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ConfigFileKind>("kind");
        QTest::addColumn<QString>("popis");
        const QString text = QStringLiteral(
            "[Nastavení]\r\nPopis=Sledování výstavby\r\n[Přístup]\r\nPripojen=Eva Malá\r\n");
        QTest::newRow("code page 1250")
            << TextFile::Encode(text) << ConfigFileKind::Cp1250 << "Sledování výstavby";
        QTest::newRow("UTF-8") << text.toUtf8() << ConfigFileKind::Utf8 << "Sledování výstavby";
        QTest::newRow("UTF-8 with BOM, LF") << "\xEF\xBB\xBF" + QString(text).remove(u'\r').toUtf8()
                                            << ConfigFileKind::Utf8 << "Sledování výstavby";
        QTest::newRow("no sections") << QByteArray("[Settings]\r\nPopis=Jiný\r\n")
                                     << ConfigFileKind::Unrecognised << "SLEDOVÁNÍ AKCÍ";
        // Written by hand without the slot: the first claim adds "Přístup".
        QTest::newRow("only the settings")
            << TextFile::Encode(QStringLiteral("[Nastavení]\r\nPopis=Jen nastavení\r\n"))
            << ConfigFileKind::Cp1250 << "Jen nastavení";
    }
    void configurationEncodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(ConfigFileKind, kind);
        QFETCH(QString, popis);
        TempBase& base = *base_;
        base.WriteBytes("ORVA_Sledovani.Ini", bytes);
        Config& c = base.ws->config;
        ConfigFileKind found = ConfigFileKind::Missing;
        const IniFile ini = LoadConfigurationFile(c.ConfigPath(), &found);
        QCOMPARE(found, kind);
        QCOMPARE(IsConfigurationRecognised(ini), kind != ConfigFileKind::Unrecognised);
        QVERIFY(ReadConfiguration(c));
        QCOMPARE(c.Popis, popis);
        if (kind != ConfigFileKind::Utf8) return;
        QCOMPARE(c.Pripojen, QStringLiteral("Eva Malá"));
        WriteConfiguration(c);
        // Rewritten in the code page the other workstations read, each section once.
        QCOMPARE(LoadConfigurationFile(c.ConfigPath(), &found).Sections(),
                 QStringList({"Nastavení", "Přístup"}));
        QCOMPARE(found, ConfigFileKind::Cp1250);
        const QStringList lines = base.Lines("ORVA_Sledovani.Ini");
        QVERIFY(lines.contains("Popis=Sledování výstavby"));
        QVERIFY(lines.contains("Pripojen=Eva Malá"));
    }

    void settingsFlagsPadding_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short") << "11"
                               << "11" + QString(31, u'0');
        QTest::newRow("exactly 30") << QString(30, u'1') << QString(30, u'1');
        QTest::newRow("29 is padded") << QString(29, u'1') << QString(29, u'1') + QString(31, u'0');
        QTest::newRow("too long") << QString(70, u'1') << QString(60, u'1');
        QTest::newRow("empty") << "" << QString(31, u'0');
    }
    void settingsFlagsPadding() {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        TempBase& base = *base_;
        base.WriteLines("ORVA_Sledovani.Ini", {"[Nastavení]", "Nastavení=" + stored});
        QVERIFY(ReadConfiguration(base.ws->config));
        QCOMPARE(base.ws->config.SettingsFlags, expected);
        QCOMPARE(base.ws->config.Flag(kFlagCompactWindow),
                 expected.size() > 2 && expected[2] == u'1');
    }

    void badNumbersTakeDefaults() {
        TempBase& base = *base_;
        base.WriteLines("ORVA_Sledovani.Ini",
                        {"[Nastavení]", "Šířka_Sloupce=abc", "Gantt_Radky=7", "Datum uložení=xx"});
        QVERIFY(ReadConfiguration(base.ws->config));
        QCOMPARE(base.ws->config.SirkaSloupce, 68);
        QCOMPARE(base.ws->config.GanttRadky, 7);
        QCOMPARE(base.ws->config.DatumUlozeni, QDate(2026, 12, 9));
    }

    void writesEveryKeyInOrder() {
        TempBase& base = *base_;
        Config& c = base.ws->config;
        c.GanttNasobitel = 1.5;
        c.Cesta = "data/";
        c.UserRecord = "Jan Novák/x/2_000/y";
        WriteConfiguration(c);
        const QStringList lines = base.Lines("ORVA_Sledovani.Ini");
        QStringList keys;
        for (const QString& l : lines) keys << l.section(u'=', 0, 0);
        QCOMPARE(keys, (QStringList{"[Nastavení]",
                                    "TEST",
                                    "Popis",
                                    "Firma",
                                    "Cesta_Ini",
                                    "Cesta",
                                    "CestaTXT",
                                    "CestaFoto",
                                    "CestaZmeny",
                                    "CestaDennik",
                                    "Soubor_Akce_CSV",
                                    "Soubor_Popis_CSV",
                                    "Soubor_Ukony_CSV",
                                    "Soubor_Lidi_csv",
                                    "Soubor_Vysledky_CSV",
                                    "Soubor_Poznamky_TXT",
                                    "popis_DPH",
                                    "Vyse_DPH",
                                    "Šířka_Sloupce",
                                    "Výška_Řádku",
                                    "Gantt_Výška_Řádku",
                                    "Gantt_Sloupce",
                                    "Gantt_Radky",
                                    "Gantt_PomNásobitel",
                                    "Gantt_Násobitel",
                                    "Datum uložení",
                                    "Úchylka_Chyby_Termíny",
                                    "Úchylka_Chyby_Finance",
                                    "Doba_nečinnosi_pro_odpojení",
                                    "Graf_Financí",
                                    "Nastavení",
                                    "[Přístup]",
                                    "Uzivatel_TEST",
                                    "Pripojen"}));
        QVERIFY(lines.contains("Gantt_Násobitel=              1,50"));
        QVERIFY(lines.contains("Datum uložení=9.12.2026"));
        QVERIFY(lines.contains("Cesta_Ini=" + base.Dir()));

        Config back;
        back.BaseDir = base.Dir();
        back.UserKey = c.UserKey;
        QVERIFY(ReadConfiguration(back));
        QCOMPARE(back.GanttNasobitel, 1.5);
        QCOMPARE(back.Cesta, QStringLiteral("data/"));
        QCOMPARE(back.UserRecord, QStringLiteral("Jan Novák/x/2_000/y"));
    }

    void rewriteKeepsOtherUsersRecords() {
        TempBase& base = *base_;
        base.WriteLines("ORVA_Sledovani.Ini", {"[Nastavení]", "Popis=A", "[Přístup]",
                                               "Uzivatel_JINY=Petr/a/3_101/b", "Pripojen=Petr"});
        Config& c = base.ws->config;
        QVERIFY(ReadConfiguration(c));
        QCOMPARE(c.Pripojen, QStringLiteral("Petr"));
        c.Pripojen = "Volný";
        WriteConfiguration(c);
        const IniFile ini = IniFile::Load(base.Path("ORVA_Sledovani.Ini"));
        QCOMPARE(ini.Value("Přístup", "Uzivatel_JINY"), QStringLiteral("Petr/a/3_101/b"));
        QCOMPARE(ini.Value("Přístup", "Pripojen"), QStringLiteral("Volný"));
        QCOMPARE(ini.Value("Nastavení", "Popis"), QStringLiteral("A"));
    }

    void newUserRecordGoesBeforeTheSlot() {
        TempBase& base = *base_;
        base.WriteLines("ORVA_Sledovani.Ini", {"[Nastavení]", "Popis=A", "[Přístup]",
                                               "Uzivatel_JINY=Petr/a/3_101/b", "Pripojen=Petr"});
        Config& c = base.ws->config;
        QVERIFY(ReadConfiguration(c));
        c.UserRecord = "Jan/x/2_000/y";
        WriteConfiguration(c);
        const QStringList lines = base.Lines("ORVA_Sledovani.Ini");
        QCOMPARE(lines.mid(lines.indexOf("[Přístup]")),
                 (QStringList{"[Přístup]", "Uzivatel_JINY=Petr/a/3_101/b",
                              "Uzivatel_TEST=Jan/x/2_000/y", "Pripojen=Petr"}));
    }

    void relativeFolders() {
        TempBase& base = *base_;
        Config& c = base.ws->config;
        QCOMPARE(c.RelativeFolder(base.Dir()), QString());
        QCOMPARE(c.RelativeFolder(base.Path("data")), QStringLiteral("data/"));
        c.Cesta = "data\\sub";
        QCOMPARE(c.DataPath("a.csv"), base.Path("data/sub/a.csv"));
        c.Cesta.clear();
        QCOMPARE(c.DataPath("a.csv"), base.Path("a.csv"));
    }

    void userKeyIsStableAndValid() {
        const QString key = DefaultUserKey();
        QCOMPARE(DefaultUserKey(), key);
        QVERIFY(!key.contains(u'=') && !key.contains(u'[') && !key.contains(u' '));
    }

    // A fresh installation gets a configuration file with the defaults.
    void startUpCreatesMissingConfiguration() {
        TempBase& base = *base_;
        base.prompter.answers = {true, true};  // create the register and the templates
        const StartUpResult result = LoadAtStartUp(*base.ws, true);
        QVERIFY(result.configCreated);
        QVERIFY(!result.quit);
        const IniFile ini = IniFile::Load(base.Path("ORVA_Sledovani.Ini"));
        QCOMPARE(ini.Value("Nastavení", "Soubor_Akce_CSV"), QStringLiteral("NameAkce.csv"));
        QCOMPARE(ini.Value("Nastavení", "Nastavení"),
                 QStringLiteral("100111110101000000100000000000"));
        QCOMPARE(ini.Value("Přístup", "Pripojen"), QStringLiteral("Volný"));
        QVERIFY(base.Exists("NameAkce.csv"));
        QVERIFY(base.Exists("NameUkony.csv"));
        QCOMPARE(base.ws->ChangeFlags, QStringLiteral("0000000"));
    }

    void unwritableConfigurationIsReported() {
        TempBase& base = *base_;
        QDir(base.Dir()).mkdir("ORVA_Sledovani.Ini");  // a folder where the file should be
        QVERIFY(!SaveConfiguration(*base.ws));
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Error).size(), 1);
        QVERIFY(base.prompter.Texts(ScriptedPrompter::Kind::Error)[0].startsWith(
            QStringLiteral("Chyba při zápisu dat do INI!")));
    }

    // On a full disk (a small tmpfs) the start-up's rewrite of the configuration
    // and the close's saves either write their files whole or report the error
    // and keep the old file exactly; with no page free they must fail.
    void fullDiskKeepsConfigurationAndProgress_data() {
        QTest::addColumn<int>("freePages");
        for (int free = 0; free <= 3; ++free) QTest::addRow("%d pages free", free) << free;
    }
    void fullDiskKeepsConfigurationAndProgress() {
        QFETCH(int, freePages);
        SmallDisk disk;
        SKIP_WITHOUT_SMALL_DISK(disk);
        TempBase base;
        Workspace& ws = *base.ws;
        ws.config.BaseDir = disk.Dir();
        const QString progress = QStringLiteral("APr_NameAkce__012.csv");
        const QMap<QString, QStringList> files = {
            {"NameAkce.csv",
             {";Uloženo 01.12.2026", "Akce ORVA",
              "Číslo akce;Název akce;Manager projektu;Technik projektu;Opatření;Aktivity;;;;;;;;;;",
              "012;Náměstí;Ing. Nová;;;;;;;;;;;;;"}},
            {"NameUkony.csv",
             {"Akce ORVA", "Úkony Čas;01.12.2026",
              "Akce číslo;Činnost;Zařazení;Upřesnění;Plán od;Plán DO;;;;;;;;;;;",
              "Termíny;Realizace;Stavba;Kolaudace;;;;;2;;;;;;;"}},
            {progress,
             {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;012", "Termíny",
              "T-012;Realizace;Stavba;Kolaudace;01.07.2026;03.07.2026;;;2;;;T-012-01//;;;;;;;"}},
            {"ORVA_Sledovani.Ini",
             {"[Nastavení]", "Popis=SLEDOVÁNÍ AKCÍ", "[Přístup]", "Pripojen=Volný"}}};
        QMap<QString, QByteArray> before;
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file(disk.Path(it.key()));
            before[it.key()] = Cp1250Lines(it.value());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before[it.key()]) > 0);
        }
        QVERIFY(!LoadAtStartUp(ws, false).quit);
        QCOMPARE(ws.config.SouborPopis, progress);
        QVERIFY(ws.MayWrite());
        disk.Fill(freePages);

        // Start-up: the slot is claimed and the configuration rewritten.
        ws.config.Pripojen = QStringLiteral("Jan Novák");
        const bool configWritten = SaveConfiguration(ws);
        // Close: a changed deadline row is saved.
        ws.Deadlines.SetCell(Deadline::Classification, 1, QStringLiteral("Předání stavby"));
        ws.SetChanged(kChangedDeadlines, true);
        QString closeError;
        try {
            SaveMarkedTables(ws);
        } catch (const FileError& e) {
            QCOMPARE(e.Path(), disk.Path(progress));
            closeError = e.Message();
        }

        if (freePages == 0) QVERIFY(!configWritten && !closeError.isEmpty());
        const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
        QCOMPARE(errors.size(), configWritten ? 0 : 1);
        if (!configWritten)
            QVERIFY2(errors[0].endsWith(disk.Path("ORVA_Sledovani.Ini") + ": " +
                                        qt_error_string(ENOSPC)),
                     qPrintable(errors[0]));
        if (configWritten)
            QCOMPARE(IniFile::Load(disk.Path("ORVA_Sledovani.Ini")).Value("Přístup", "Pripojen"),
                     QStringLiteral("Jan Novák"));
        if (closeError.isEmpty())
            QVERIFY(
                TextFile::ReadLines(disk.Path(progress)).join(u'\n').contains("Předání stavby"));
        else
            QCOMPARE(closeError, qt_error_string(ENOSPC));
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QFile file(disk.Path(it.key()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            if (it.key() == progress && closeError.isEmpty()) continue;
            if (it.key() == "ORVA_Sledovani.Ini" && configWritten) continue;
            QCOMPARE(file.readAll(), it.value());
        }
        QCOMPARE(QDir(disk.Dir()).entryList(QDir::Files).size(), files.size());
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
