#include <QAction>
#include <QDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>
#include <memory>

#include "TestSupport.h"
#include "data/People.h"
#include "tools/Edit.h"
#include "tools/RtfWriter.h"

using namespace Qt::StringLiterals;

namespace {

// The editor over a temporary base whose text folder is "txt/".
struct Fixture {
    Fixture() {
        ws().config.CestaTXT = u"txt/"_s;
        QDir().mkpath(base.Path(u"txt"_s));
        editor = std::make_unique<Edit>(ws());
    }
    Workspace& ws() { return *base.ws; }
    QTextEdit* Text() const { return editor->TextArea(); }
    QStringList SaveDialogs() const {
        return base.prompter.Texts(ScriptedPrompter::Kind::SaveDialog);
    }
    void Show() {
        editor->show();
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
    }

    TempBase base;
    std::unique_ptr<Edit> editor;
};

}  // namespace

class TestEdit : public QObject {
    Q_OBJECT

  private slots:
    void saveAsThenSaveSilently();
    void saveAsTextWritesLines();
    void deleteSelection();
    void notesRoundTrip_data();
    void notesRoundTrip();
    void reportComposed();
    void exportPdf();
};

// "&Save" before any "Save &as..." has no file to write and asks; the chosen
// file is then the editor's own, written as rich text, and "&Save" writes it
// again without a question.
void TestEdit::saveAsThenSaveSilently() {
    Fixture f;
    f.Text()->setPlainText(u"První verze"_s);
    const QString chosen = f.base.Path(u"txt/Zapis.rtf"_s);
    f.base.prompter.chosenFiles << chosen;
    f.editor->Save();
    QCOMPARE(f.SaveDialogs().size(), 1);
    QCOMPARE(f.editor->FileName(), chosen);
    QCOMPARE(f.ws().config.CestaTXT, u"txt/"_s);
    QCOMPARE(f.editor->windowTitle(), u"Zapis.rtf"_s);
    QVERIFY(f.base.Bytes(u"txt/Zapis.rtf"_s).startsWith("{\\rtf1\\ansi\\ansicpg1250"));
    QVERIFY(f.base.Bytes(u"txt/Zapis.rtf"_s).contains("Prvn\\'ed verze"));
    QVERIFY(!f.Text()->document()->isModified());

    f.Text()->setPlainText(u"Druhá verze"_s);
    f.editor->Save();
    QCOMPARE(f.SaveDialogs().size(), 1);
    QCOMPARE(f.base.Bytes(u"txt/Zapis.rtf"_s), WriteRtf(*f.Text()->document()));
    QVERIFY(f.base.prompter.Texts(ScriptedPrompter::Kind::Error).isEmpty());
}

// A text file chosen in the dialog stays a text file that LoadNotes can read.
void TestEdit::saveAsTextWritesLines() {
    Fixture f;
    f.Text()->setPlainText(u"řádek 1\nřádek 2"_s);
    f.base.prompter.chosenFiles << f.base.Path(u"txt/Jine.txt"_s);
    f.editor->SaveAs();
    QCOMPARE(f.base.Lines(u"txt/Jine.txt"_s), (QStringList{u"řádek 1"_s, u"řádek 2"_s}));
}

void TestEdit::deleteSelection() {
    Fixture f;
    f.Show();
    f.Text()->setPlainText(u"abcdef"_s);
    QTextCursor cursor = f.Text()->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    f.Text()->setTextCursor(cursor);
    f.Text()->setFocus();
    QCOMPARE(f.editor->MenuItem(u"De&lete"_s)->shortcut(), QKeySequence(u"Ctrl+D"_s));
    QTest::keyClick(f.Text(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(f.Text()->toPlainText(), u"aef"_s);
}

// The notes file shown in the editor, edited there and saved by SaveNotes:
// the file gets what the user sees; for a user who may write, the mark makes
// the close save it too.
void TestEdit::notesRoundTrip_data() {
    QTest::addColumn<QString>("permission");
    QTest::addColumn<bool>("marked");
    QTest::newRow("may write") << u"2_000"_s << true;
    QTest::newRow("read-only") << u"1_000"_s << false;
}

void TestEdit::notesRoundTrip() {
    QFETCH(QString, permission);
    QFETCH(bool, marked);
    Fixture f;
    f.ws().Access.Permission = permission;
    f.base.WriteLines(u"txt/Poznamky.TXT"_s, {u"první"_s, u"druhá"_s});
    f.Text()->setPlainText(u"stará zpráva"_s);
    LoadNotes(f.ws(), u"Poznamky.TXT"_s);
    QCOMPARE(f.Text()->toPlainText(), u"první\ndruhá"_s);
    QCOMPARE(f.Text()->textCursor().position(), 0);
    QVERIFY(!f.Text()->document()->isModified());
    QVERIFY(!f.ws().Changed(kChangedNotes));

    f.Show();
    f.Text()->moveCursor(QTextCursor::End);
    f.ws().Access.InactivityCounter = 15;
    QTest::keyClicks(f.Text(), u" ok"_s);
    QCOMPARE(f.ws().Access.InactivityCounter, 0);
    QCOMPARE(f.ws().NotesLines, (QStringList{u"první"_s, u"druhá ok"_s}));
    QCOMPARE(f.ws().Changed(kChangedNotes), marked);

    SaveNotes(f.ws(), u"Poznamky.TXT"_s);
    QCOMPARE(f.base.Lines(u"txt/Poznamky.TXT"_s), (QStringList{u"první"_s, u"druhá ok"_s, u""_s}));
}

// A composed report replaces the text with every format kept, names the
// editor's file, and never reaches the notes file.
void TestEdit::reportComposed() {
    Fixture f;
    f.ws().NotesLines = {u"poznámka"_s};
    emit f.ws().notesLoaded();

    QTextDocument report;
    report.setDefaultFont(QFont(u"Fixedsys"_s, 12));
    QTextCursor cursor(&report);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    QTextCharFormat heading;
    heading.setFontWeight(QFont::Bold);
    heading.setFontUnderline(true);
    heading.setForeground(Qt::blue);
    heading.setFontPointSize(14);
    cursor.insertText(u"Přehled financi ke dni : 09.12.2026"_s, heading);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(u"SR\t1\u00a0234,50"_s);
    const QString name = u"Finance_101_2026-12-09.rtf"_s;
    emit f.ws().reportComposed(&report, name);

    QVERIFY(f.editor->isVisible());
    QCOMPARE(f.editor->FileName(), name);
    QVERIFY(!f.editor->HoldsNotes());
    QCOMPARE(WriteRtf(*f.Text()->document()), WriteRtf(report));

    f.Text()->moveCursor(QTextCursor::End);
    f.Text()->insertPlainText(u"!"_s);
    QCOMPARE(f.ws().NotesLines, QStringList{u"poznámka"_s});
    QVERIFY(!f.ws().Changed(kChangedNotes));

    // "&Save" finds no such file yet and proposes the report's name.
    f.base.prompter.chosenFiles << f.base.Path(u"txt/"_s + name);
    f.editor->Save();
    QCOMPARE(f.SaveDialogs().size(), 1);
    QVERIFY(f.SaveDialogs().constFirst().endsWith(u"txt/"_s + name));
    QVERIFY(f.base.Bytes(u"txt/"_s + name).contains("\\qc{\\f0\\fs28\\b\\ul\\cf1 P\\'f8ehled"));

    // The notes shown again do not inherit the report's font.
    emit f.ws().notesLoaded();
    QCOMPARE(f.Text()->toPlainText(), u"poznámka"_s);
    QVERIFY(f.Text()->document()->defaultFont().family() != u"Fixedsys"_s);
}

void TestEdit::exportPdf() {
    Fixture f;
    f.Text()->setPlainText(u"Zápis"_s);
    f.editor->SetFileName(u"Zápis_ORVA_2026-12-09.rtf"_s);
    f.editor->ExportPdf();
    QVERIFY(f.base.Bytes(u"txt/Zápis_ORVA_2026-12-09.pdf"_s).startsWith("%PDF"));
}

QTEST_MAIN(TestEdit)
#include "tst_edit.moc"
