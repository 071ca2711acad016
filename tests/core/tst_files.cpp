#include <QtTest>

#include "TestSupport.h"
#include "data/IniFile.h"
#include "data/TextFile.h"

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { TextFile::SetFailureHookForTests({}); }

    void codePageAndLineEnds() {
        TempBase base;
        TextFile::WriteLines(base.Path("a.csv"), {QStringLiteral("Číslo akce;Název"), "", "x"});
        // "Č" is 0xC8, "á" 0xE1, "í" 0xED in code page 1250; every line ends in CR LF.
        QCOMPARE(base.Bytes("a.csv"), QByteArray("\xC8\xEDslo akce;N\xE1zev\r\n\r\nx\r\n"));
        QCOMPARE(TextFile::ReadLines(base.Path("a.csv")),
                 (QStringList{QStringLiteral("Číslo akce;Název"), "", "x"}));
    }

    void readsLoneLineFeedsAndNoFinalBreak() {
        TempBase base;
        base.WriteBytes("b.csv", "one\ntwo\r\nthree");
        QCOMPARE(TextFile::ReadLines(base.Path("b.csv")), (QStringList{"one", "two", "three"}));
    }

    void appendWritesWholeLines() {
        TempBase base;
        TextFile::AppendLines(base.Path("log.csv"), {"a"});
        TextFile::AppendLines(base.Path("log.csv"), {"b", "c"});
        QCOMPARE(base.Bytes("log.csv"), QByteArray("a\r\nb\r\nc\r\n"));
    }

    void missingFileIsAFileError() {
        TempBase base;
        try {
            TextFile::ReadLines(base.Path("none.csv"));
            QFAIL("no error");
        } catch (const FileError& e) {
            QCOMPARE(e.Path(), base.Path("none.csv"));
            QVERIFY(!e.Message().isEmpty());
        }
    }

    // A write that fails in any way leaves the old file exactly as it was.
    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("disk full") << "No space left on device";
        QTest::newRow("rename refused every time") << "rename:Permission denied";
    }
    void failedWriteKeepsTheOldFile() {
        QFETCH(QString, failure);
        TempBase base;
        TextFile::WriteLines(base.Path("data.csv"), {"old"});
        int attempts = 0;
        TextFile::SetFailureHookForTests([&](const QString&) {
            ++attempts;
            return failure;
        });
        QVERIFY_THROWS_EXCEPTION(FileError,
                                 TextFile::WriteLines(base.Path("data.csv"), {"new", "lines"}));
        QCOMPARE(base.Bytes("data.csv"), QByteArray("old\r\n"));
        QCOMPARE(QDir(base.Dir()).entryList(QDir::Files), QStringList{"data.csv"});
        QCOMPARE(attempts, failure.startsWith("rename:") ? 5 : 1);
    }

    void refusedRenameIsRetried() {
        TempBase base;
        TextFile::WriteLines(base.Path("data.csv"), {"old"});
        int attempts = 0;
        TextFile::SetFailureHookForTests([&](const QString&) {
            return ++attempts < 3 ? QStringLiteral("rename:busy") : QString();
        });
        TextFile::WriteLines(base.Path("data.csv"), {"new"});
        QCOMPARE(base.Bytes("data.csv"), QByteArray("new\r\n"));
    }

    void folderInTheWayIsReported() {
        TempBase base;
        QDir(base.Dir()).mkdir("taken.csv");
        QVERIFY_THROWS_EXCEPTION(FileError, TextFile::WriteLines(base.Path("taken.csv"), {"x"}));
        QVERIFY(QFileInfo(base.Path("taken.csv")).isDir());
    }

    void iniReadsCaseInsensitivelyAndTrims() {
        TempBase base;
        base.WriteLines("x.ini", {"[Nastavení]", "Cesta = data\\ ", "Popis=\"Text\"", "",
                                  "[Přístup]", "Pripojen=Volný"});
        const IniFile ini = IniFile::Load(base.Path("x.ini"));
        QCOMPARE(ini.Value("nastavení", "CESTA"), QStringLiteral("data\\"));
        QCOMPARE(ini.Value("Nastavení", "Popis"), QStringLiteral("Text"));
        QCOMPARE(ini.Value("Přístup", "Pripojen"), QStringLiteral("Volný"));
        QCOMPARE(ini.Value("Přístup", "chybí", "def"), QStringLiteral("def"));
        QCOMPARE(ini.IntValue("Nastavení", "Popis", 7), 7);
    }

    void iniWritesInPlaceAndAppends() {
        TempBase base;
        base.WriteLines("x.ini", {"[A]", "k1=1", "k2=2", "", "[B]", "z=9"});
        IniFile ini = IniFile::Load(base.Path("x.ini"));
        ini.SetValue("a", "K1", "one");  // replaced in place, under the new spelling
        ini.SetValue("A", "k3", "3");    // appended after the last key of its section
        ini.SetValue("C", "new", "n");   // a new section at the end
        ini.RemoveKey("B", "z");
        ini.Save(base.Path("x.ini"));
        QCOMPARE(base.Lines("x.ini"),
                 (QStringList{"[A]", "K1=one", "k2=2", "k3=3", "", "[B]", "[C]", "new=n"}));
        ini.RemoveSection("A");
        QCOMPARE(ini.Sections(), (QStringList{"B", "C"}));
        QCOMPARE(ini.Keys("C"), QStringList{"new"});
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
