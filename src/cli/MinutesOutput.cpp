#include "MinutesOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTextDocument>
#include <memory>

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
