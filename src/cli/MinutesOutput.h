#pragma once

#include <QString>

class QTextDocument;

// Prints the document into a PDF file (A4); false when the file cannot be written.
bool WriteMinutesPdf(const QTextDocument& document, const QString& path);
