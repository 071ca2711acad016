#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

#include "Clock.h"
#include "TestSupport.h"
#include "data/Columns.h"
#include "data/People.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Templates.h"
#include "shell/Config.h"

// The demo folder as another copy of the program left it: every file the
// program reads and saves again comes back byte for byte.
class TestDemoData : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup() { base_.reset(); }
    void savedAsRead_data();
    void savedAsRead();
    void notesSavedWithClosingLine();

  private:
    void LoadAndSave(const QString& name);
    std::unique_ptr<TempBase> base_;
    QDir demo_;
};

void TestDemoData::init() {
    const QString register_ = QFINDTESTDATA("../../examples/demo/NameAkce.csv");
    QVERIFY(!register_.isEmpty());
    demo_ = QFileInfo(register_).absoluteDir();
    base_ = std::make_unique<TempBase>();
    for (const QString& name : demo_.entryList(QDir::Files))
        QVERIFY(QFile::copy(demo_.filePath(name), base_->Path(name)));
    // The day the demo files were saved: every save stamps today.
    Clock::Set(QDateTime(QDate(2026, 12, 1), QTime(10, 30)));
    QVERIFY(ReadConfiguration(base_->ws->config));
}

void TestDemoData::savedAsRead_data() {
    // asRead: the first save gives the file back unchanged. Where it does not,
    // the program completes the file on loading (the VAT text in empty notes
    // and invoice infos, the configuration's own folder); a file it wrote
    // itself then comes back byte for byte.
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("asRead");
    QTest::newRow("register") << QStringLiteral("NameAkce.csv") << false;
    QTest::newRow("templates") << QStringLiteral("NameUkony.csv") << true;
    QTest::newRow("configuration") << QStringLiteral("ORVA_Sledovani.Ini") << false;
    const QDir demo = QFileInfo(QFINDTESTDATA("../../examples/demo/NameAkce.csv")).absoluteDir();
    for (const QString& name : demo.entryList({QStringLiteral("APr_*.csv")}, QDir::Files))
        QTest::newRow(qPrintable(name)) << name << (name != u"APr_NameAkce__102.csv");
}

// Loads the file into the workspace as the program does and saves it again.
void TestDemoData::LoadAndSave(const QString& name) {
    Workspace& ws = *base_->ws;
    QCOMPARE(LoadProjectRegister(ws, ws.config.SouborAkce), LoadResult::Loaded);
    if (name == ws.config.SouborAkce) {
        SaveProjectRegister(ws, name);
    } else if (name == ws.config.SouborUkony) {
        QCOMPARE(LoadTaskTemplates(ws, name), LoadResult::Loaded);
        SaveTaskTemplates(ws, name);
    } else if (name.endsWith(QLatin1String(".Ini"))) {
        QVERIFY(ReadConfiguration(ws.config));
        WriteConfiguration(ws.config);
    } else {
        QCOMPARE(LoadProgress(ws, name), LoadResult::Loaded);
        QVERIFY(SaveProgress(ws, name, SaveMode::Open));
    }
}

void TestDemoData::savedAsRead() {
    QFETCH(QString, name);
    QFETCH(bool, asRead);
    const QByteArray original = base_->Bytes(name);
    QVERIFY(!original.isEmpty());
    LoadAndSave(name);
    if (QTest::currentTestFailed()) return;
    const QByteArray saved = base_->Bytes(name);
    if (asRead) QCOMPARE(saved, original);
    LoadAndSave(name);
    QCOMPARE(base_->Bytes(name), saved);
    QCOMPARE(base_->prompter.log.size(), 0);
}

// The notes are written with one empty line after the text.
void TestDemoData::notesSavedWithClosingLine() {
    Workspace& ws = *base_->ws;
    const QString name = ws.config.SouborPoznamky;
    const QByteArray original = base_->Bytes(name);
    LoadNotes(ws, name);
    SaveNotes(ws, name);
    QCOMPARE(base_->Bytes(name), original + "\r\n");
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
