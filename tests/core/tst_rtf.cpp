#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include "TestSupport.h"
#include "tools/RtfWriter.h"

using namespace Qt::StringLiterals;

namespace {

QByteArray Rtf(const QString& html) {
    QTextDocument document;
    document.setDefaultFont(QFont(u"Arial"_s, 12));
    // Qt's HTML reader drops empty paragraphs: those cases come as plain text.
    if (html.startsWith(u"plain:"))
        document.setPlainText(html.mid(6));
    else
        document.setHtml(html);
    return WriteRtf(document);
}

}  // namespace

class TestRtf : public QObject {
    Q_OBJECT

  private slots:
    void wholeDocument();
    void fragments_data();
    void fragments();
    void asciiOnly();
    void fileVariant();
};

// The frame every reader needs: code page, font and colour tables, one
// paragraph per block with no empty paragraph after the last.
void TestRtf::wholeDocument() {
    QTextDocument document;
    document.setDefaultFont(QFont(u"Arial"_s, 14));
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 0, 255));
    cursor.insertText(u"Přehled"_s, bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, QTextCharFormat());
    cursor.insertText(u"x"_s);
    QCOMPARE(WriteRtf(document), QByteArray("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1029"
                                            "{\\fonttbl{\\f0\\fnil\\fcharset238 Arial;}}\r\n"
                                            "{\\colortbl ;\\red0\\green0\\blue255;}\r\n"
                                            "\\viewkind4\\uc1\r\n"
                                            "\\pard\\ql{\\f0\\fs28\\b\\cf1 P\\'f8ehled}\\par\r\n"
                                            "\\pard\\qc{\\f0\\fs28 x}\r\n"
                                            "}\r\n"));
}

void TestRtf::fragments_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QByteArrayList>("expected");

    QTest::newRow("bold") << u"<b>B</b>"_s << QByteArrayList{"{\\f0\\fs24\\b B}"};
    QTest::newRow("italic, underline, strike-out")
        << u"<i><u><s>x</s></u></i>"_s << QByteArrayList{"{\\f0\\fs24\\i\\ul\\strike x}"};
    QTest::newRow("size") << u"<span style=\"font-size:18pt\">v</span>"_s
                          << QByteArrayList{"{\\f0\\fs36 v}"};
    QTest::newRow("second font") << u"a<span style=\"font-family:Courier New\">c</span>"_s
                                 << QByteArrayList{"{\\f0\\fs24 a}{\\f1\\fs24 c}",
                                                   "{\\fonttbl{\\f0\\fnil\\fcharset238 Arial;}"
                                                   "{\\f1\\fnil\\fcharset238 Courier New;}}"};
    QTest::newRow("colour table in order of use")
        << u"<span style=\"color:#ff0000\">r</span><span style=\"color:#008000\">g</span>"
           u"<span style=\"color:#ff0000\">R</span>"_s
        << QByteArrayList{"{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}",
                          "{\\f0\\fs24\\cf1 r}{\\f0\\fs24\\cf2 g}{\\f0\\fs24\\cf1 R}"};
    QTest::newRow("no colour, empty colour table")
        << u"t"_s << QByteArrayList{"{\\colortbl ;}", "{\\f0\\fs24 t}"};
    QTest::newRow("alignments")
        << u"<p align=\"right\">r</p><p align=\"center\">c</p><p align=\"justify\">j</p><p>l</p>"_s
        << QByteArrayList{
               "\\pard\\qr{\\f0\\fs24 r}\\par\r\n\\pard\\qc{\\f0\\fs24 c}\\par\r\n"
               "\\pard\\qj{\\f0\\fs24 j}\\par\r\n\\pard\\ql{\\f0\\fs24 l}\r\n}"};
    QTest::newRow("code page 1250")
        << u"Žluťoučký kůň"_s << QByteArrayList{"\\'8elu\\'9dou\\'e8k\\'fd k\\'f9\\'f2"};
    QTest::newRow("euro and no-break space are in the code page")
        << u"1\u00a0000 €"_s << QByteArrayList{"1\\'a0000 \\'80"};
    QTest::newRow("outside the code page") << u"→Ω"_s << QByteArrayList{"\\u8594?\\u937?"};
    QTest::newRow("beyond the basic plane, as two escapes")
        << u"😀"_s << QByteArrayList{"\\u-10179?\\u-8704?"};
    QTest::newRow("control characters of rich text")
        << u"a\\b{c}"_s << QByteArrayList{"a\\\\b\\{c\\}"};
    QTest::newRow("tab and line break")
        << u"<pre>a\tb</pre><p>c<br>d</p>"_s << QByteArrayList{"a\\tab b", "c\\line d"};
    QTest::newRow("empty paragraph")
        << u"plain:a\n\nb"_s << QByteArrayList{"\\par\r\n\\pard\\ql\\par\r\n"};
}

void TestRtf::fragments() {
    QFETCH(QString, html);
    QFETCH(QByteArrayList, expected);
    const QByteArray rtf = Rtf(html);
    for (const QByteArray& part : expected) QVERIFY2(rtf.contains(part), rtf.constData());
}

// Whatever the text, the file is 7-bit: every other character is escaped, so
// no reader can take it in a wrong code page.
void TestRtf::asciiOnly() {
    const QByteArray rtf = Rtf(u"Příliš žluťoučký kůň úpěl ďábelské ódy → ∑ 😀 \u00a0"_s);
    for (const char c : rtf) QVERIFY(uchar(c) < 0x80);
}

void TestRtf::fileVariant() {
    TempBase base;
    QTextDocument document;
    document.setPlainText(u"Zápis"_s);
    WriteRtfFile(base.Path(u"z.rtf"_s), document);
    QCOMPARE(base.Bytes(u"z.rtf"_s), WriteRtf(document));
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
