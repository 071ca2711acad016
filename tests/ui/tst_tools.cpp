#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "Clock.h"
#include "TestSupport.h"
#include "data/Columns.h"
#include "data/Progress.h"
#include "editing/EditLabels.h"
#include "main/Navrat.h"
#include "main/Sledovani.h"
#include "shell/ChangeLog.h"
#include "shell/Reconstruction.h"
#include "tools/Hledani.h"
#include "tools/Info.h"

using namespace Qt::StringLiterals;

namespace {

const QString kFlags = u"100111111111000000100000000000"_s;

// Projects 101 and 202; project 101 has two stages among its deadline rows.
void WriteData(const TempBase& base) {
    base.WriteLines(u"NameAkce.csv"_s, RegisterLines({kSampleProject101, kSampleProject202}));
    WriteSampleTemplates(base);
    base.WriteLines(u"APr_NameAkce__202.csv"_s,
                    {u"Akce ORVA;01.12.2026"_s, u"Akce - Projekt Číslo ;202"_s, u"Termíny"_s,
                     u"T-202;Příprava;Projekt;Podpis;;;;;0;;;T-202-01//;;;;;;"_s});
    base.WriteLines(u"APr_NameAkce__101.csv"_s,
                    {u"Akce ORVA;01.12.2026"_s, u"Akce - Projekt Číslo ;101"_s, u"Termíny"_s,
                     u"T-101;Příprava;Projekt;Podpis;;;;;0;;;T-101-01//;;;;;;"_s,
                     u"T-101;Realizace;Stavba;Výstavba;;;;;0;;;T-101-02//;;;;;;"_s,
                     u"T-101;Etapa_#_1;Financování;Plán;;;;;0;;;T-101-03//;;;;;;"_s,
                     u"T-101;Kolaudace;Stavba;Převzetí;;;;;0;;;T-101-04//;;;;;;"_s,
                     u"T-101;Etapa_#_2;Financování;Plán;;;;;0;;;T-101-05//;;;;;;"_s,
                     u"F-101;Etapa_#_1;;Plán;;;;;1000;0;1000;F-101-01/;etapa;;;;;"_s});
    QDir().mkpath(base.Path(u"Zmeny"_s));
    base.WriteLines(u"ORVA_Sledovani.Ini"_s,
                    {u"[Nastavení]"_s, u"Nastavení="_s + kFlags, u"CestaZmeny=Zmeny"_s,
                     u"[Přístup]"_s, u"Pripojen=Volný"_s});
}

template <typename T>
T* Child(const QObject& parent, const QString& name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no child %s", qPrintable(name));
    return child;
}

void Shot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("ORVA_SHOTS");
    if (!dir.isEmpty()) w->grab().save(dir + u'/' + name + u".png"_s);
}

}  // namespace

class TestTools : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempBase> base_;
    std::unique_ptr<Sledovani> window_;
    Workspace& ws() { return *base_->ws; }
    Sledovani& window() { return *window_; }

  private slots:
    void init() {
        base_ = std::make_unique<TempBase>();
        WriteData(*base_);
        window_ = std::make_unique<Sledovani>(ws());
        QVERIFY(window().StartUp());
        window().CreateWindows();
        window().resize(1200, 700);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        // The last project loaded is current: 101 is listed first, 202 last.
        ws().Access.Permission = u"5_000"_s;
    }
    void cleanup() {
        window_.reset();
        base_.reset();
    }

    void search_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("label");
        QTest::newRow("deadline stages")
            << int(kDeadlineTable) << 2 << u"Etapa"_s
            << QStringList{u"3/Etapa_#_1/Financování"_s, u"5/Etapa_#_2/Financování"_s}
            << u"Etapa Vyhledáno 2 krát"_s;
        QTest::newRow("case matters") << int(kDeadlineTable) << 2 << u"etapa"_s << QStringList{}
                                      << u"etapa Vyhledáno 0 krát"_s;
        QTest::newRow("project table")
            << int(kProjectTable) << 2 << u"škol"_s << QStringList{u"2/Rekonstrukce školy"_s}
            << u"škol Vyhledáno 1 krát"_s;
        QTest::newRow("results table too")
            << int(kResultsTable) << 2 << u"Most"_s << QStringList{u"4/Most A"_s, u"5/Most B"_s}
            << u"Most Vyhledáno 2 krát"_s;
    }
    void search() {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QFETCH(QString, label);
        LoadProgress(ws(), u"APr_NameAkce__101.csv"_s);
        ws().Results.SetCell(2, 4, u"Most A"_s);
        ws().Results.SetCell(2, 5, u"Most B"_s);
        ws().Current().Select(kind, column, 1);
        Hledani* search = window().SearchWindow();
        search->show();
        QTest::qWait(20);  // the activation takes the current cell first
        search->SetSearchText(text);
        QTest::mouseClick(Child<QPushButton>(*search, u"BitBtn1"_s), Qt::LeftButton);
        QCOMPARE(search->Entries(), entries);
        QCOMPARE(search->ResultText(), label);
        QCOMPARE(search->SearchText(), entries.value(0));
        Shot(search, u"hledani"_s);
    }

    void emptyTextBeeps() {
        Hledani* search = window().SearchWindow();
        search->show();
        QTest::qWait(20);
        search->SetSearchText(QString());
        const int beeps = base_->prompter.beeps;
        QTest::mouseClick(Child<QPushButton>(*search, u"BitBtn1"_s), Qt::LeftButton);
        QCOMPARE(base_->prompter.beeps, beeps + 1);
        QVERIFY(search->Entries().isEmpty());
    }

    // Opening the window takes the current cell; choosing a hit selects its
    // row in the grid, which makes it the current item.
    void chooseHit() {
        LoadProgress(ws(), u"APr_NameAkce__101.csv"_s);
        ws().Current().Select(kDeadlineTable, 2, 3);
        Hledani* search = window().SearchWindow();
        search->show();
        QTest::qWait(20);
        QCOMPARE(search->SearchText(), u"Etapa_#_1"_s);
        search->SetSearchText(u"Etapa"_s);
        search->OkCommand();
        auto* list = Child<QComboBox>(*search, u"ComboBox1"_s);
        emit list->activated(1);
        QCOMPARE(ws().Current().Kind(), int(kDeadlineTable));
        QCOMPARE(ws().Current().Row(), 5);
    }

    // Start rebuilds the project table from this month's log, Pokračuj the
    // chosen project; the save buttons only mark the tables.
    void reconstructionWindow() {
        Workspace& w = ws();
        LoadProgress(w, u"APr_NameAkce__101.csv"_s);
        // StartUp's log-in began the month's log with the snapshot.
        QVERIFY(base_->Exists(u"Zmeny/Zmeny_2026-12.csv"_s));
        LogChange(w, QString(), QString::fromUtf16(kLabelChangedOld), kDeadlineTable, 2);
        w.Deadlines.SetCell(Deadline::Activity, 2, u"Stavba mostu"_s);
        LogChange(w, QString(), QString::fromUtf16(kLabelChangedNew), kDeadlineTable, 2);
        w.Deadlines.SetCell(Deadline::Activity, 2, u"Pozdější změna"_s);

        window().MenuItem(u"Zpětná rekonstrukce dat"_s)->setEnabled(true);
        window().MenuItem(u"Zpětná rekonstrukce dat"_s)->trigger();
        Navrat* navrat = window().ReconstructionWindow();
        QTRY_VERIFY(navrat->isVisible());
        Child<QCheckBox>(*navrat, u"CheckBox1"_s)->setChecked(false);
        base_->prompter.chosenFiles = {base_->Path(u"Zmeny/Zmeny_2026-12.csv"_s)};
        QTest::mouseClick(Child<QPushButton>(*navrat, u"Button2"_s), Qt::LeftButton);
        auto* next = Child<QPushButton>(*navrat, u"Button1"_s);
        QVERIFY(next->isEnabled());
        QVERIFY(!Child<QPushButton>(*navrat, u"Button2"_s)->isEnabled());
        auto* chooser = Child<QComboBox>(*navrat, u"ComboBox1"_s);
        QCOMPARE(chooser->count(), 2);
        chooser->setCurrentText(u"101/ Chodník Lipová"_s);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(w.Deadlines.Cell(Deadline::Activity, 2), u"Stavba mostu"_s);
        QCOMPARE(w.config.SouborPopis, u"APr_NameAkce__101.csv"_s);
        QVERIFY(Child<QPlainTextEdit>(*navrat, u"Memo1"_s)
                    ->toPlainText()
                    .contains(u"Nahradit položku termínové tabulce - Šedé   Řádek 2"_s));
        QVERIFY(!w.Changed(kChangedDeadlines));
        Shot(navrat, u"navrat"_s);
        Shot(&window(), u"navrat_main"_s);
        QTest::mouseClick(Child<QPushButton>(*navrat, u"BitBtn1"_s), Qt::LeftButton);
        QVERIFY(w.Changed(kChangedDeadlines) && w.Changed(kChangedFinance));
        QTest::mouseClick(Child<QPushButton>(*navrat, u"Button3"_s), Qt::LeftButton);
        QVERIFY(!navrat->isVisible());
        QVERIFY(Child<QPushButton>(*navrat, u"Button2"_s)->isEnabled());
    }

    // The panel switches the service menu; the "©" sign is the service gesture.
    void aboutWindow() {
        Info* about = window().AboutWindow();
        QAction* service = window().MenuItem(u"Obsluha"_s);
        const bool before = service->isEnabled();
        for (bool expected : {!before, before}) {
            window().MenuItem(u"Autor"_s)->trigger();
            QVERIFY(about->isVisible());
            Shot(about, u"info"_s);
            QTest::mouseClick(Child<QWidget>(*about, u"Panel1"_s), Qt::LeftButton);
            QCOMPARE(service->isEnabled(), expected);
            QVERIFY(!about->isVisible());
        }
        ws().Access.Permission = u"2_000"_s;
        about->ShowAbout();
        QTest::mouseDClick(Child<QWidget>(*about, u"Copyright"_s), Qt::LeftButton);
        QCOMPARE(ws().Access.Permission, u"5_000"_s);
        QVERIFY(about->isVisible());
        // The banner while notes are saved: 50 pixels high, closed afterwards.
        emit ws().savingNotes(u"Poznamky.TXT"_s);
        QCOMPARE(about->height(), Info::kBannerHeight);
        Shot(about, u"banner"_s);
        QTRY_VERIFY(!about->isVisible());
        about->ShowAbout();
        QVERIFY(about->height() > Info::kBannerHeight);
    }

    void characterList() {
        QMenu* service = window().MenuItem(u"Obsluha"_s)->menu();
        for (QAction* item : service->actions())
            if (item->text() == u"Seznam znaků"_s) item->trigger();
        const QStringList& lines = ws().CheckListing;
        QCOMPARE(lines.size(), 255);
        QCOMPARE(lines.first(), u"1   \x01"_s);
        QCOMPARE(lines[0x8A - 1], u"138   Š"_s);
        QCOMPARE(lines.last(), u"255   ˙"_s);
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
