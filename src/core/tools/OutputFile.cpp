#include "tools/OutputFile.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QTextDocument>

#include "data/TextFile.h"

void WritePdfFile(const QString& path, const QString& title,
                  const std::function<void(QPdfWriter&)>& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Sledování ORVA"));
        paint(pdf);
    }
    TextFile::WriteBytes(path, bytes);
}

void WriteDocumentPdf(const QString& path, const QString& title, const QTextDocument& document) {
    WritePdfFile(path, title, [&](QPdfWriter& pdf) {
        pdf.setPageSize(QPageSize(QPageSize::A4));
        document.print(&pdf);
    });
}

void WriteImageFile(const QString& path, const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        throw FileError(path, QStringLiteral("%1 se nepodařilo zapsat").arg(QLatin1String(format)));
    TextFile::WriteBytes(path, bytes);
}
