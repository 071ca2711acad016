#include <QtTest>
#include <cerrno>

#include "TestSupport.h"
#include "data/IniFile.h"
#include "data/TextFile.h"

class TestFiles : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }

    void cleanup() {
        base_.reset();
        TextFile::SetFailureHookForTests({});
    }

    void codePageAndLineEnds() {
        TempBase& base = *base_;
        TextFile::WriteLines(base.Path("a.csv"), {QStringLiteral("Číslo akce;Název"), "", "x"});
        // "Č" is 0xC8, "á" 0xE1, "í" 0xED in code page 1250; every line ends in CR LF.
        QCOMPARE(base.Bytes("a.csv"), QByteArray("\xC8\xEDslo akce;N\xE1zev\r\n\r\nx\r\n"));
        QCOMPARE(TextFile::ReadLines(base.Path("a.csv")),
                 (QStringList{QStringLiteral("Číslo akce;Název"), "", "x"}));
    }

    void readsLoneLineFeedsAndNoFinalBreak() {
        TempBase& base = *base_;
        base.WriteBytes("b.csv", "one\ntwo\r\nthree");
        QCOMPARE(TextFile::ReadLines(base.Path("b.csv")), (QStringList{"one", "two", "three"}));
    }

    void appendWritesWholeLines() {
        TempBase& base = *base_;
        TextFile::AppendLines(base.Path("log.csv"), {"a"});
        TextFile::AppendLines(base.Path("log.csv"), {"b", "c"});
        QCOMPARE(base.Bytes("log.csv"), QByteArray("a\r\nb\r\nc\r\n"));
    }

    void missingFileIsAFileError() {
        TempBase& base = *base_;
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
        TempBase& base = *base_;
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
        TempBase& base = *base_;
        TextFile::WriteLines(base.Path("data.csv"), {"old"});
        int attempts = 0;
        TextFile::SetFailureHookForTests([&](const QString&) {
            return ++attempts < 3 ? QStringLiteral("rename:busy") : QString();
        });
        TextFile::WriteLines(base.Path("data.csv"), {"new"});
        QCOMPARE(base.Bytes("data.csv"), QByteArray("new\r\n"));
    }

    // A record that failed to be written is taken back: the file keeps its old bytes.
    void failedAppendIsTakenBack() {
        TempBase& base = *base_;
        TextFile::AppendLines(base.Path("log.csv"), {"a"});
        TextFile::SetFailureHookForTests(
            [](const QString&) { return QStringLiteral("Disk plný"); });
        QVERIFY_THROWS_EXCEPTION(FileError, TextFile::AppendLines(base.Path("log.csv"), {"b"}));
        QCOMPARE(base.Bytes("log.csv"), QByteArray("a\r\n"));
    }

    void createExclusiveNeverReplaces() {
        TempBase& base = *base_;
        QVERIFY(TextFile::CreateExclusive(base.Path("new.csv"), "first\r\n"));
        QVERIFY(!TextFile::CreateExclusive(base.Path("new.csv"), "second\r\n"));
        QCOMPARE(base.Bytes("new.csv"), QByteArray("first\r\n"));
        QVERIFY(!TextFile::AppendToExisting(base.Path("none.csv"), "x\r\n"));
        QVERIFY(!base.Exists("none.csv"));
        QCOMPARE(QDir(base.Dir()).entryList(QDir::Files | QDir::Hidden), QStringList{"new.csv"});
    }

    // On a real full disk every way of writing fails with the system's message
    // and leaves the file as it was: a replaced file whole and old, an appended
    // file without a cut record, a new file not there at all. Small writes wait
    // in Qt's buffer until the flush, large ones fail part way.
    void fullDiskLeavesFilesWhole_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("freePages");
        for (int free = 0; free <= 3; ++free) {
            QTest::addRow("replace small, %d free", free)
                << "replace" << 3000 + free * 4096 << free;
            QTest::addRow("replace large, %d free", free) << "replace" << 40000 << free;
            QTest::addRow("append small, %d free", free) << "append" << 300 + free * 4096 << free;
            QTest::addRow("append large, %d free", free) << "append" << 40000 << free;
            QTest::addRow("create, %d free", free) << "create" << 3000 + free * 4096 << free;
        }
    }
    void fullDiskLeavesFilesWhole() {
        QFETCH(QString, operation);
        QFETCH(int, size);
        QFETCH(int, freePages);
        SmallDisk disk;
        SKIP_WITHOUT_SMALL_DISK(disk);
        const QString path = disk.Path("data.csv");
        // The old file ends a few bytes before the end of its last page, so that
        // an append that does not fit begins to be written.
        const QByteArray old = QByteArray(2 * SmallDisk::kPage - 10, 'o');
        if (operation != "create") TextFile::WriteBytes(path, old);
        disk.Fill(freePages);
        const QByteArray bytes(size, 'n');
        try {
            if (operation == "replace")
                TextFile::WriteBytes(path, bytes);
            else if (operation == "append")
                TextFile::AppendToExisting(path, bytes);
            else
                TextFile::CreateExclusive(path, bytes);
            QFAIL("the full disk was not reported");
        } catch (const FileError& e) {
            QCOMPARE(e.Path(), path);
            QCOMPARE(e.Message(), qt_error_string(ENOSPC));
        }
        QCOMPARE(QDir(disk.Dir()).entryList(QDir::Files),
                 operation == "create" ? QStringList() : QStringList{"data.csv"});
        if (operation != "create") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), old);
        }
    }

    void folderInTheWayIsReported() {
        TempBase& base = *base_;
        QDir(base.Dir()).mkdir("taken.csv");
        QVERIFY_THROWS_EXCEPTION(FileError, TextFile::WriteLines(base.Path("taken.csv"), {"x"}));
        QVERIFY(QFileInfo(base.Path("taken.csv")).isDir());
    }

    void iniReadsCaseInsensitivelyAndTrims() {
        TempBase& base = *base_;
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
        TempBase& base = *base_;
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
