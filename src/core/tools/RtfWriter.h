#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Rich text as the notes editor saves it and word processors on Windows read
// it: code page 1250 (\ansicpg1250, fonts with \fcharset238), characters that
// code page 1250 lacks as \uN escapes, a font table, a colour table, and per
// paragraph its alignment with runs of font, size, bold, italic, underline,
// strike-out and colour. Tabs and line breaks inside a paragraph are kept.
QByteArray WriteRtf(const QTextDocument& document);

// Writes the document as rich text to path, atomically (TextFile::WriteBytes).
// Throws FileError.
void WriteRtfFile(const QString& path, const QTextDocument& document);
