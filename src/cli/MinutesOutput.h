#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// The minutes as RTF bytes: through the program's RTF writer when it is built
// in, else through the small writer of this file.
QByteArray MinutesRtf(const QTextDocument& document);

// Prints the document into a PDF file (A4); false when the file cannot be written.
bool WriteMinutesPdf(const QTextDocument& document, const QString& path);
