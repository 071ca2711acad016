#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include "DiarySupport.h"
#include "data/Cells.h"
#include "data/Dates.h"
#include "diary/DayRecord.h"
#include "diary/Minutes.h"

namespace {

// A function, not a global: the day conversion is not ready while globals are made.
double RecordDay() {
    return DayFromDate(QDate(2026, 12, 9));
}

QStringList Lines(const QTextDocument& doc) {
    return doc.toPlainText().split(u'\n');
}

QTextCharFormat FormatOf(const QTextDocument& doc, const QString& start) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.text().startsWith(start)) return b.begin().fragment().charFormat();
    return {};
}

}  // namespace

class TestMinutes : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void dayWithTasksCollisionsAndPayments();
    void pastDayListsWhatWasLateThen();
    void withoutOptionsAndPeople();

  private:
    std::unique_ptr<DiaryBase> b_;
};

void TestMinutes::init() {
    b_ = std::make_unique<DiaryBase>();
    Workspace& ws = b_->ws;
    ws.config.Test = QStringLiteral("ORVA");
    ws.Picks.persons = {QStringLiteral("Jana Nováková [c]"), QStringLiteral("Petr Dvořák [cz]"),
                        QStringLiteral("Eva Černá [ ]")};
    ws.config.SetFlag(kFlagPrintCollisions, true);
    ws.config.SetFlag(kFlagPrintNotes, true);
}

void TestMinutes::dayWithTasksCollisionsAndPayments() {
    Workspace& ws = b_->ws;
    DayRecord r;
    for (int k = 1; k <= 16; ++k)
        r.tasks << DayTask{QStringLiteral("P%1").arg(k), QStringLiteral("úkol"),
                           QStringLiteral("31.12.2026"), QStringLiteral("V běhu")};
    r.taskCount = 16;
    r.minutes = {QStringLiteral("Porada"), QString(), QStringLiteral("Druhý")};
    r.messages = {QStringLiteral("Vzkaz")};
    WriteDayRecord(ws, RecordDay(), 1, r);

    QSignalSpy composed(&ws, &Workspace::reportComposed);
    ComposeMinutes(ws, RecordDay());
    QCOMPARE(composed.size(), 1);
    QCOMPARE(composed[0][1].toString(), QStringLiteral("Zápis_ORVA_2026-12-09.rtf"));
    const auto doc = BuildMinutes(ws, RecordDay());
    const QStringList lines = Lines(*doc);

    const QString blanks24(24, u' ');
    const QStringList head{
        QStringLiteral(
            "      Zápis z porady číslo : ...                          Dne : 09.12.2026"),
        QStringLiteral("     ORVA - SLEDOVÁNÍ AKCÍ - SPOLEČNOST"),
        QString(),
        QStringLiteral("      Přítomni : "),
        blanks24 + QStringLiteral("Jana Nováková"),
        blanks24 + QStringLiteral("Petr Dvořák"),
        QString(),
        QStringLiteral("     Projekt   :  101 - Chodník Lipová"),
        QStringLiteral("     Manažer   :  Jana Nováková              Technik   :  Petr Dvořák")};
    QCOMPARE(lines.mid(0, head.size()), head);
    QCOMPARE(lines[0].indexOf(QStringLiteral("09.12.2026")), 64);
    QVERIFY(lines[9].startsWith(QStringLiteral("Výdaje plán ")));

    const int count = int(lines.indexOf(QStringLiteral("     Počet uložených úkolů   : 16")));
    QVERIFY(count > 0);
    QCOMPARE(lines[count + 1], QStringLiteral(" 1   P1   úkol   31.12.2026   V běhu   "));
    QCOMPARE(lines[count + 10], QStringLiteral(" A   P10   úkol   31.12.2026   V běhu   "));
    QCOMPARE(lines[count + 16], QStringLiteral("10   P16   úkol   31.12.2026   V běhu   "));
    const QString blank10(10, u' ');
    const QStringList rest{QString(),
                           QStringLiteral("     Počet kolizních termínů  : 1"),
                           QStringLiteral("T 01.12.2026 - 05.12.2026 / 01.12.2026 - ") + blank10 +
                               QStringLiteral("  Stavba   Chodník"),
                           QString(),
                           QStringLiteral("     Počet opožděných plateb  : 1"),
                           QStringLiteral("F 07.12.2026 / ") + blank10 + QStringLiteral(" - ") +
                               FormatAmount(10) + QStringLiteral(" - ") + FormatAmount(100) +
                               QStringLiteral("  Platba faktura   Stavba"),
                           QString(),
                           QStringLiteral("     Text zápisu :"),
                           QStringLiteral(" - Porada"),
                           QStringLiteral(" - Druhý"),
                           QString(),
                           QStringLiteral(">   Vzkaz"),
                           QString(),
                           QString(),
                           QStringLiteral("     Projekt   :  202 - Rekonstrukce školy")};
    QCOMPARE(lines.mid(count + 17, rest.size()), rest);
    const QStringList tail{
        QString(), QStringLiteral("     SPOLEČNÉ - POZNÁMKY v souboru  Poznamky.TXT"), QString(),
        QStringLiteral("     Zapsal : Petr Dvořák") + QString(16, u' ') +
            QStringLiteral("Dne : 09.12.2026")};
    QCOMPARE(lines.mid(lines.size() - tail.size()), tail);

    // Styles: bold 16 heading, blue underlined 18 organisation line, the blue
    // staying to the end while the underline ends.
    const QTextCharFormat heading = FormatOf(*doc, QStringLiteral("      Zápis"));
    QCOMPARE(heading.fontPointSize(), 16.0);
    QCOMPARE(heading.fontWeight(), int(QFont::Bold));
    QVERIFY(!heading.fontUnderline());
    const QTextCharFormat org = FormatOf(*doc, QStringLiteral("     ORVA"));
    QCOMPARE(org.fontPointSize(), 18.0);
    QVERIFY(org.fontUnderline());
    QCOMPARE(org.foreground().color(), QColor(0, 0, 255));
    const QTextCharFormat message = FormatOf(*doc, QStringLiteral(">   Vzkaz"));
    QCOMPARE(message.fontPointSize(), 14.0);
    const QTextCharFormat closing = FormatOf(*doc, QStringLiteral("     Zapsal"));
    QCOMPARE(closing.foreground().color(), QColor(0, 0, 255));
    QVERIFY(!closing.fontUnderline());
    // The progress file loaded before is loaded again.
    QCOMPARE(ws.config.SouborPopis, QStringLiteral("APr_NameAkce__101.csv"));
}

// On 6 December the invoice due on the 7th was not late yet: the minutes of
// that day neither count nor list it, although it is late today.
void TestMinutes::pastDayListsWhatWasLateThen() {
    const auto doc = BuildMinutes(b_->ws, RecordDay() - 3);
    const QStringList lines = Lines(*doc);
    const int at = int(lines.indexOf(QStringLiteral("     Počet opožděných plateb  : 0")));
    QVERIFY(at > 0);
    QVERIFY(lines[at + 1].isEmpty());
    QVERIFY(lines.filter(QRegularExpression(QStringLiteral("^F "))).isEmpty());
}

void TestMinutes::withoutOptionsAndPeople() {
    Workspace& ws = b_->ws;
    ws.Picks.persons.clear();
    ws.config.SetFlag(kFlagPrintCollisions, false);
    ws.config.SetFlag(kFlagPrintNotes, false);
    DayRecord r;
    r.minutes = {QString(), QStringLiteral("jen druhý řádek")};  // read back closed up
    r.messages = {QString(), QStringLiteral("vzkaz")};
    WriteDayRecord(ws, RecordDay(), 2, r);
    const QStringList lines = Lines(*BuildMinutes(ws, RecordDay()));
    QVERIFY(lines.filter(QStringLiteral("Počet kolizních")).isEmpty());
    QVERIFY(lines.filter(QStringLiteral("POZNÁMKY")).isEmpty());
    QCOMPARE(lines.last(), QStringLiteral("     Zapsal : ") + QString(16, u' ') +
                               QStringLiteral("Dne : 09.12.2026"));
    QCOMPARE(lines.filter(QStringLiteral("     Počet uložených úkolů   : 0")).size(), 2);
    // Stored without the empty first lines, the texts are read back closed up.
    QVERIFY(lines.contains(QStringLiteral(" - jen druhý řádek")));
    QVERIFY(lines.contains(QStringLiteral(">   vzkaz")));
}

QTEST_MAIN(TestMinutes)
#include "tst_minutes.moc"
