#pragma once

#include <QString>
#include <functional>

class QImage;
class QPdfWriter;
class QTextDocument;

// Pictures and printouts written to files whole or not at all: the content is
// made in memory and then written as the data files are (TextFile::WriteBytes),
// so a crash or a full disk leaves the earlier file as it was and a failure is
// never reported as success. Each throws FileError with the system's reason.

// paint sets the page layout and draws the pages on the writer.
void WritePdfFile(const QString& path, const QString& title,
                  const std::function<void(QPdfWriter&)>& paint);
// A text document printed on A4 pages.
void WriteDocumentPdf(const QString& path, const QString& title, const QTextDocument& document);
// An image in the given format ("PNG", "BMP").
void WriteImageFile(const QString& path, const QImage& image, const char* format);
