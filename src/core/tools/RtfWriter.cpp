#include "RtfWriter.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

#include "data/TextFile.h"

namespace {

// Code page 1250's upper half as QChar -> byte, built once from Qt's converter.
const QHash<char16_t, uchar>& UpperHalf() {
    static const QHash<char16_t, uchar> table = [] {
        QHash<char16_t, uchar> map;
        QStringDecoder decode("windows-1250");
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const char c = char(byte);
            const QString text = decode(QByteArrayView(&c, 1));
            // Undefined bytes decode to the replacement character: not mapped.
            if (text.size() == 1 && text[0] != QChar::ReplacementCharacter)
                map.insert(text[0].unicode(), uchar(byte));
        }
        return map;
    }();
    return table;
}

QByteArray Hex(uchar byte) {
    return QByteArray("\\'") + QByteArray::number(byte, 16).rightJustified(2, '0');
}

QByteArray EscapeText(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == 0x2028 || u == u'\n' || u == u'\r') {
            // A line break inside the paragraph (Shift+Enter in the editor).
            out += "\\line ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u < 0x20) {
            // Other control characters have no meaning in the text.
        } else if (const auto it = UpperHalf().constFind(u); it != UpperHalf().cend()) {
            out += Hex(it.value());
        } else {
            // Readers that understand \u skip the one fallback character (\uc1).
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

// Half points, as \fs counts them; a pixel size counts at 96 dots per inch.
int HalfPoints(const QFont& font) {
    const double points = font.pointSizeF() > 0  ? font.pointSizeF()
                          : font.pixelSize() > 0 ? font.pixelSize() * 72.0 / 96.0
                                                 : 12.0;
    return int(std::lround(points * 2));
}

QByteArray Alignment(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) return "\\qc";
    if (horizontal & Qt::AlignJustify) return "\\qj";
    if (horizontal & Qt::AlignRight) return "\\qr";
    return "\\ql";
}

// Fonts and colours are numbered in the order they first occur; font 0 is
// the document's default font, colour 0 the reader's automatic colour.
class Tables {
  public:
    explicit Tables(const QFont& defaultFont) { FontIndex(defaultFont); }

    int FontIndex(const QFont& font) {
        const QString family = font.family();
        int index = families_.indexOf(family);
        if (index < 0) {
            index = int(families_.size());
            families_ << family;
            fixed_ << (font.fixedPitch() || font.styleHint() == QFont::TypeWriter ||
                       font.styleHint() == QFont::Monospace);
        }
        return index;
    }
    int ColourIndex(const QColor& colour) {
        const QRgb rgb = colour.rgb();
        int index = int(colours_.indexOf(rgb));
        if (index < 0) {
            colours_ << rgb;
            index = int(colours_.size()) - 1;
        }
        return index + 1;
    }
    QByteArray FontTable() const {
        QByteArray out = "{\\fonttbl";
        for (int i = 0; i < families_.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + (fixed_[i] ? "\\fmodern\\fprq1" : "\\fnil") +
                   "\\fcharset238 " + EscapeText(families_[i]) + ";}";
        }
        return out + '}';
    }
    QByteArray ColourTable() const {
        QByteArray out = "{\\colortbl ;";
        for (const QRgb rgb : colours_) {
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
                   QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) +
                   ';';
        }
        return out + '}';
    }

  private:
    QStringList families_;
    QList<bool> fixed_;
    QList<QRgb> colours_;
};

}  // namespace

QByteArray WriteRtf(const QTextDocument& document) {
    const QFont base = document.defaultFont();
    Tables tables(base);
    QByteArray body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        body += "\\pard" + Alignment(block.blockFormat().alignment());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const QTextCharFormat format = fragment.charFormat();
            const QFont font = format.font().resolve(base);
            body += "{\\f" + QByteArray::number(tables.FontIndex(font)) + "\\fs" +
                    QByteArray::number(HalfPoints(font));
            if (font.bold()) body += "\\b";
            if (font.italic()) body += "\\i";
            if (font.underline()) body += "\\ul";
            if (font.strikeOut()) body += "\\strike";
            if (format.hasProperty(QTextFormat::ForegroundBrush) &&
                format.foreground().style() != Qt::NoBrush)
                body +=
                    "\\cf" + QByteArray::number(tables.ColourIndex(format.foreground().color()));
            body += ' ' + EscapeText(fragment.text()) + '}';
        }
        // The last paragraph ends with the document, not with an empty one after it.
        if (block.next().isValid()) body += "\\par";
        body += "\r\n";
    }
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1029" + tables.FontTable() + "\r\n" +
           tables.ColourTable() + "\r\n\\viewkind4\\uc1\r\n" + body + "}\r\n";
}

void WriteRtfFile(const QString& path, const QTextDocument& document) {
    TextFile::WriteBytes(path, WriteRtf(document));
}
