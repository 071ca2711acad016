#include "MinutesOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <memory>

#if __has_include("tools/RtfWriter.h")
#include "tools/RtfWriter.h"
#define ORVA_HAS_RTF_WRITER 1
#endif

namespace {

#ifndef ORVA_HAS_RTF_WRITER
// Until the shared RTF writer is there: paragraphs with bold, underline, size
// and a blue or black colour, in code page 1250, which is all the minutes use.
QByteArray Escape(const QString& text) {
    QByteArray out;
    QStringEncoder cp1250("windows-1250");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c.unicode());
        } else if (c.unicode() < 0x80) {
            out += char(c.unicode());
        } else {
            const QByteArray b = cp1250.encode(QString(c));
            if (cp1250.hasError() || b.size() != 1 || b == "?") {
                out += "\\u" + QByteArray::number(qint16(c.unicode())) + '?';
                cp1250.resetState();
            } else {
                out += "\\'" + QByteArray::number(uchar(b[0]), 16).rightJustified(2, '0');
            }
        }
    }
    return out;
}

QByteArray LocalRtf(const QTextDocument& document) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n";
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        rtf += "\\pard\\ql";
        QTextCharFormat f = block.charFormat();
        bool any = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            f = fragment.charFormat();
            rtf += "{\\f0\\fs" + QByteArray::number(int(f.fontPointSize() * 2)) +
                   (f.fontWeight() >= QFont::Bold ? "\\b" : "\\b0") +
                   (f.fontUnderline() ? "\\ul" : "\\ul0") +
                   (f.foreground().color() == QColor(0, 0, 255) ? "\\cf2 " : "\\cf1 ") +
                   Escape(fragment.text()) + "}";
            any = true;
        }
        if (!any) rtf += "\\f0\\fs" + QByteArray::number(int(qMax(1.0, f.fontPointSize()) * 2));
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}
#endif

}  // namespace

QByteArray MinutesRtf(const QTextDocument& document) {
#ifdef ORVA_HAS_RTF_WRITER
    return WriteRtf(document);
#else
    return LocalRtf(document);
#endif
}

bool WriteMinutesPdf(const QTextDocument& document, const QString& path) {
    // A file left from an earlier run must not pass for this one.
    if (QFile::exists(path) && !QFile::remove(path)) return false;
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QStringLiteral("Zápis"));
        const std::unique_ptr<QTextDocument> printed(document.clone());
        printed->print(&writer);
    }
    return QFileInfo(path).size() > 0;
}
