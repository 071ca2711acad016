#include <QtTest>

#include "TestSupport.h"
#include "data/Dates.h"
#include "diary/DayRecord.h"

namespace {

// A function, not a global: the day conversion is not ready while globals are made.
double RecordDay() {
    return DayFromDate(QDate(2026, 12, 9));
}
const QString kFile = QStringLiteral("Denik/Den_2026.12.09.ITI");

}  // namespace

class TestDayRecord : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void freshFileBytes();
    void readsEveryKeyWhateverTheGaps_data();
    void readsEveryKeyWhateverTheGaps();
    void rewriteLeavesNoStaleKeys();
    void stateAtTheRecordDay_data();
    void stateAtTheRecordDay();
    void shortMessage_data();
    void shortMessage();
    void eraseAndDelete();

  private:
    std::unique_ptr<TempBase> base_;
};

void TestDayRecord::init() {
    base_ = std::make_unique<TempBase>();
    Workspace& ws = *base_->ws;
    ws.config.CestaDennik = QStringLiteral("Denik/");
    QDir().mkpath(base_->Path(QStringLiteral("Denik")));
    const QStringList cells{QStringLiteral("101"), QStringLiteral("Chodník Ústí"),
                            QStringLiteral("Ing. Černý"), QStringLiteral("Malá")};
    for (int c = 0; c < cells.size(); ++c) ws.Projects.SetCell(c + 1, 1, cells[c]);
    ws.Projects.SetCell(1, 2, QStringLiteral("202"));
}

void TestDayRecord::freshFileBytes() {
    DayRecord r;
    r.person = QStringLiteral("Novák Jan [cz]");
    r.note = QStringLiteral("Kontrola stavby");
    r.tasks = {{QStringLiteral("Novák"), QStringLiteral("Výkop"), QStringLiteral("5.1.2027"),
                QStringLiteral("V běhu")}};
    r.taskCount = 1;
    r.deadlineProblems = 2;
    r.minutes = {QStringLiteral("Porada"), QString(), QStringLiteral("Žádné závady")};
    r.messages = {QStringLiteral("Zavolat projektantovi")};
    WriteDayRecord(*base_->ws, RecordDay(), 1, r);
    QCOMPARE(r.shortMessage, QStringLiteral("Zavola"));
    const QByteArray expected = Cp1250Lines({
        QStringLiteral("[101]"),
        QStringLiteral("Akce=Chodník Ústí"),
        QStringLiteral("Manažer=Ing. Černý"),
        QStringLiteral("Technik=Malá"),
        QStringLiteral("Den_Zápisu=9.12.2026"),
        QStringLiteral("Počet_úkolů=1"),
        QStringLiteral("Termíny_Chyby=2"),
        QStringLiteral("Hláška=Zavola"),
        QStringLiteral("Osoba=Novák Jan"),
        QStringLiteral("Ukol=Kontrola stavby"),
        QStringLiteral("Termín_Ukolu=9.12.2026"),
        QStringLiteral("Tabulka_1=Novák/Výkop/5.1.2027/V běhu"),
        QStringLiteral("Memo1_0=Porada"),
        QStringLiteral("Memo1_2=Žádné závady"),
        QStringLiteral("Memo2_0=Zavolat projektantovi"),
    });
    QCOMPARE(base_->Bytes(kFile), expected);

    const DayRecord back = ReadDayRecord(*base_->ws, 1, RecordDay());
    QCOMPARE(back.day, RecordDay());
    QCOMPARE(back.tasks, r.tasks);
    QCOMPARE(back.minutes, (QStringList{QStringLiteral("Porada"), QStringLiteral("Žádné závady")}));
    QCOMPARE(back.messages, r.messages);
    QCOMPARE(back.deadlineProblems, 2);
}

void TestDayRecord::readsEveryKeyWhateverTheGaps_data() {
    QTest::addColumn<QStringList>("section");
    QTest::addColumn<QStringList>("persons");
    QTest::addColumn<QStringList>("minutes");
    QTest::newRow("task rows after four missing numbers")
        << QStringList{"Tabulka_1=A/x/1.1.2027/Splněno", "Tabulka_7=B/y/1.1.2027/Splněno"}
        << QStringList{"A", "B"} << QStringList{};
    QTest::newRow("text lines after 60 missing numbers")
        << QStringList{"Memo1_0=první", "Memo1_61=druhý"} << QStringList{}
        << QStringList{"první", "druhý"};
    QTest::newRow("numeric order, not file order")
        << QStringList{"Memo1_10=b", "Memo1_2=a", "Tabulka_12=D/x/1.1.2027/Splněno",
                       "Tabulka_3=C/x/1.1.2027/Splněno"}
        << QStringList{"C", "D"} << QStringList{"a", "b"};
    QTest::newRow("keys in any case")
        << QStringList{"TABULKA_1=E/x/1.1.2027/Splněno", "memo1_0=malé"} << QStringList{"E"}
        << QStringList{"malé"};
    QTest::newRow("row without a person is skipped")
        << QStringList{"Tabulka_1=/x/1.1.2027/V běhu", "Tabulka_2=F/x/1.1.2027/Splněno"}
        << QStringList{"F"} << QStringList{};
}

void TestDayRecord::readsEveryKeyWhateverTheGaps() {
    QFETCH(QStringList, section);
    QFETCH(QStringList, persons);
    QFETCH(QStringList, minutes);
    base_->WriteLines(kFile, QStringList{"[101]", "Den_Zápisu=9.12.2026", "Hláška=Není"} + section);
    const DayRecord r = ReadDayRecord(*base_->ws, 1, RecordDay());
    QStringList read;
    for (const DayTask& t : r.tasks) read << t.person;
    QCOMPARE(read, persons);
    QCOMPARE(r.taskCount, persons.size());
    QCOMPARE(r.minutes, minutes);
}

void TestDayRecord::rewriteLeavesNoStaleKeys() {
    // An earlier record of 60 rows with keys left beyond its count, and text
    // lines of which one holds the text "Erorr".
    QStringList old{"[101]", "Počet_úkolů=3"};
    for (int i = 1; i <= 60; ++i) old << QStringLiteral("Tabulka_%1=P%1/x/1.1.2027/Splněno").arg(i);
    old << "Memo1_0=stará"
        << "Memo1_40=Erorr"
        << "Memo1_90=dávná"
        << "Memo2_3=vzkaz";
    old << "[202]"
        << "Hláška=Jiná";
    base_->WriteLines(kFile, old);

    DayRecord r;
    r.tasks = {{"Nová", "x", "1.1.2027", "Splněno"}, {"Další", "y", "2.1.2027", "Splněno"}};
    r.taskCount = 2;
    r.minutes = {QStringLiteral("nová")};
    WriteDayRecord(*base_->ws, RecordDay(), 1, r);

    const DayRecord back = ReadDayRecord(*base_->ws, 1, RecordDay());
    QCOMPARE(back.tasks, r.tasks);
    QCOMPARE(back.minutes, QStringList{QStringLiteral("nová")});
    QVERIFY(back.messages.isEmpty());
    const QStringList lines = base_->Lines(kFile);
    QCOMPARE(lines.filter(QStringLiteral("Tabulka_")).size(), 2);
    QCOMPARE(lines.filter(QStringLiteral("Memo")).size(), 1);
    // The other project's section is left alone.
    QVERIFY(lines.contains(QStringLiteral("Hláška=Jiná")));
}

void TestDayRecord::stateAtTheRecordDay_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("deadline");  // days after the record day
    QTest::addColumn<QString>("read");
    QTest::addColumn<bool>("overdue");
    QTest::newRow("due on the day") << "V běhu" << 0 << "V běhu" << false;
    QTest::newRow("due the day before") << "V běhu" << -1 << "PO_TERMÍNU" << true;
    QTest::newRow("new term passed") << "Nový termín" << -5 << "PO_TERMÍNU" << true;
    QTest::newRow("done stays done") << "Splněno" << -5 << "Splněno" << false;
    QTest::newRow("overdue moved later") << "PO_TERMÍNU" << 0 << "V běhu" << false;
    QTest::newRow("overdue still") << "PO_TERMÍNU" << -1 << "PO_TERMÍNU" << true;
    QTest::newRow("no deadline") << "V běhu" << -100000 << "PO_TERMÍNU" << true;
}

void TestDayRecord::stateAtTheRecordDay() {
    QFETCH(QString, stored);
    QFETCH(int, deadline);
    QFETCH(QString, read);
    QFETCH(bool, overdue);
    const QString due = deadline < -1000 ? QString() : FormatShortDate(RecordDay() + deadline);
    base_->WriteLines(kFile, {"[101]", "Den_Zápisu=9.12.2026", "Hláška=Není",
                              "Tabulka_1=Jan/úkol/" + due + "/" + stored});
    const DayRecord r = ReadDayRecord(*base_->ws, 1, RecordDay());
    QCOMPARE(r.tasks.value(0).state, read);
    QCOMPARE(r.overdue, overdue);
    // Reading never changes the file.
    QVERIFY(base_->Lines(kFile).last().endsWith(stored));
}

void TestDayRecord::shortMessage_data() {
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("stored");
    QTest::newRow("long first line") << QStringList{"Přijela kontrola"} << "Přijel";
    QTest::newRow("short first line") << QStringList{"Ok"} << "Ok";
    QTest::newRow("empty first line") << QStringList{"", "druhý řádek"} << "Není";
    QTest::newRow("no messages") << QStringList{} << "Není";
}

void TestDayRecord::shortMessage() {
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);
    DayRecord r;
    r.messages = messages;
    WriteDayRecord(*base_->ws, RecordDay(), 1, r);
    QCOMPARE(r.shortMessage, stored);
    QCOMPARE(ReadDayRecord(*base_->ws, 1, RecordDay()).shortMessage, stored);
}

void TestDayRecord::eraseAndDelete() {
    Workspace& ws = *base_->ws;
    DayRecord r;
    WriteDayRecord(ws, RecordDay(), 7, r);  // no such project row: nothing written
    QVERIFY(!base_->Exists(kFile));
    WriteDayRecord(ws, RecordDay(), 1, r);
    EraseDayRecord(ws, RecordDay(), 1);
    QVERIFY(base_->Exists(kFile));
    const DayRecord empty = ReadDayRecord(ws, 1, RecordDay());
    QVERIFY(!empty.Exists());
    QCOMPARE(empty.day, NowDay());
    QCOMPARE(empty.taskCount, 0);
    DeleteDayFile(ws, RecordDay());
    QVERIFY(!base_->Exists(kFile));
    DeleteDayFile(ws, RecordDay());  // a missing file is no error
}

QTEST_GUILESS_MAIN(TestDayRecord)
#include "tst_dayrecord.moc"
