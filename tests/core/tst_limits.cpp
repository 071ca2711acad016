#include <QElapsedTimer>
#include <QtTest>

#include "TestSupport.h"
#include "data/FileRead.h"
#include "data/IniFile.h"
#include "data/People.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Templates.h"
#include "shell/Config.h"
#include "shell/Slot.h"
#include "shell/StartUp.h"

// Values of absurd size in the configuration and the data files (a damaged or
// foreign file) are cut at reading with one message, never carried further.
class TestLimits : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void registerCells_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("kept");
        QTest::newRow("at the limit") << kMaxCellChars << kMaxCellChars;
        QTest::newRow("one over") << kMaxCellChars + 1 << kMaxCellChars;
        QTest::newRow("ten megabytes") << 10 * 1024 * 1024 << kMaxCellChars;
    }
    void registerCells() {
        QFETCH(int, length);
        QFETCH(int, kept);
        TempBase& base = *base_;
        base.WriteLines("NameAkce.csv",
                        RegisterLines({"101;" + QString(length, u'ř') +
                                       ";Novák;Svoboda;1.1;;;;Pozn;90/85;1000,00;0;;;;"}));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(LoadProjectRegister(*base.ws, "NameAkce.csv"), LoadResult::Loaded);
        QVERIFY(timer.elapsed() < 5000);
        const Table& t = base.ws->Projects;
        QCOMPARE(t.Cell(Project::Name, 1), QString(kept, u'ř'));
        // The cells after the cut one stay in their columns.
        QCOMPARE(t.Cell(Project::Manager, 1), QStringLiteral("Novák"));
        QCOMPARE(t.Cell(Project::Note, 1), QStringLiteral("Pozn"));
        const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
        QCOMPARE(errors.size(), length > kMaxCellChars ? 1 : 0);
        if (!errors.isEmpty())
            QVERIFY2(errors[0].contains(QStringLiteral("obsahuje 1 příliš dlouhých položek")),
                     qPrintable(errors[0]));
    }

    // Every reader of a data file cuts; the loads say so once per file.
    void everyReaderCuts() {
        TempBase& base = *base_;
        const QString huge(kMaxCellChars * 3, u'x');
        base.WriteLines("APr_NameAkce_101.csv",
                        {"Akce ORVA;01.12.2026", "T-101;" + huge + ";" + huge + ";Konec"});
        const ProgressRows progress =
            ReadProgressFile(base.Path("APr_NameAkce_101.csv"), QString());
        QVERIFY(progress.Ok());
        QCOMPARE(progress.cutCells, 2);
        QCOMPARE(progress.deadlines.at(0).at(1).size(), kMaxCellChars);
        QCOMPARE(progress.deadlines.at(0).at(3), QStringLiteral("Konec"));

        base.WriteLines("NameUkony.csv", {kTemplateHeader, "Termíny;" + huge + ";1;"});
        const FileRows templates = ReadTaskTemplates(base.Path("NameUkony.csv"));
        QCOMPARE(templates.cutCells, 1);

        base.WriteLines("Lide.CSV", {"Novák;" + huge + ";Ing.;Technik;Člen"});
        const QStringList people = ReadPeopleEntries(base.Path("Lide.CSV"));
        QCOMPARE(people.size(), 1);
        QVERIFY(people[0].size() < kMaxCellChars + 100);
    }

    void hugeDataFileRefused() {
        TempBase& base = *base_;
        QFile file(base.Path("NameAkce.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(kMaxDataFileBytes + 1));  // sparse: nothing is written
        file.close();
        const FileRows read = ReadProjectRegister(file.fileName(), QString());
        QVERIFY(!read.Ok());
        QVERIFY2(read.ErrorString().contains(QStringLiteral("příliš velký")),
                 qPrintable(read.ErrorString()));
        QVERIFY_THROWS_EXCEPTION(FileError, LoadProjectRegister(*base.ws, "NameAkce.csv"));
    }

    void configurationValues_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("cut");
        QTest::newRow("heading at the limit") << "Popis" << kMaxConfigValue << false;
        QTest::newRow("heading one over") << "Popis" << kMaxConfigValue + 1 << true;
        QTest::newRow("slot holder, ten megabytes") << "Pripojen" << 10 * 1024 * 1024 << true;
    }
    // The 10 MB slot holder that once froze the program: cut at reading, one
    // message, and the taken slot's label and message stay short.
    void configurationValues() {
        QFETCH(QString, key);
        QFETCH(int, length);
        QFETCH(bool, cut);
        TempBase& base = *base_;
        const QString value(length, u'Ž');
        const QString section = key == "Pripojen" ? "[Přístup]" : "[Nastavení]";
        base.WriteLines("ORVA_Sledovani.Ini",
                        {"[Nastavení]", key == "Popis" ? "Popis=" + value : "Popis=Můj",
                         "[Přístup]", "Pripojen=" + (key == "Pripojen" ? value : "Volný")});
        QElapsedTimer timer;
        timer.start();
        ReadOrCreateConfiguration(*base.ws, false);
        ConnectionSlot slot(*base.ws);
        base.ws->Access.Permission = QStringLiteral("3_000");
        slot.ClaimSlotAtStartUp();
        QVERIFY(timer.elapsed() < 5000);
        const Config& c = base.ws->config;
        const QString& read = key == "Popis" ? c.Popis : c.Pripojen;
        QCOMPARE(read.size(), std::min(length, kMaxConfigValue));
        QVERIFY(slot.LabelText().size() < kMaxConfigValue + 100);
        const QStringList errors = base.prompter.Texts(ScriptedPrompter::Kind::Error);
        const QString notice = QStringLiteral("obsahuje nesmyslně dlouhé hodnoty");
        QCOMPARE(errors.size() > 0 && errors[0].contains(notice), cut);
        if (cut)
            QVERIFY2(errors[0].contains(section + " " + key + " (" + QString::number(length)),
                     qPrintable(errors[0].left(300)));
        for (const QString& e : errors) QVERIFY(e.size() < 2 * kMaxConfigValue + 1000);
    }

    void hugeConfigurationRefused() {
        TempBase& base = *base_;
        QFile file(base.Path("ORVA_Sledovani.Ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(17) << 20));
        file.close();
        QVERIFY_THROWS_EXCEPTION(FileError, ReadOrCreateConfiguration(*base.ws, false));
    }
};

QTEST_GUILESS_MAIN(TestLimits)
#include "tst_limits.moc"
