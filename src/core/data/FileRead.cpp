#include "FileRead.h"

#include <QFileInfo>

#include "../Prompter.h"
#include "../Workspace.h"

namespace {

// Cuts every field of the line to kMaxCellChars; the count of cut fields.
int CutLongCells(QString& line) {
    int cut = 0;
    QString result;
    qsizetype start = 0;
    while (start <= line.size()) {
        qsizetype end = line.indexOf(u';', start);
        if (end < 0) end = line.size();
        const qsizetype length = end - start;
        if (length > kMaxCellChars) ++cut;
        result += QStringView(line).mid(start, std::min<qsizetype>(length, kMaxCellChars));
        if (end < line.size()) result += u';';
        start = end + 1;
    }
    if (cut > 0) line = result;
    return cut;
}

}  // namespace

QStringList ReadDataLines(const QString& path, std::optional<FileError>& error, int* cutCells) {
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kMaxDataFileBytes) {
        error = FileError(path, QStringLiteral("Soubor je příliš velký (%1 MB, nejvýše %2 MB); "
                                               "není to datový soubor programu?")
                                    .arg(info.size() >> 20)
                                    .arg(kMaxDataFileBytes >> 20));
        return {};
    }
    QStringList lines;
    try {
        lines = TextFile::ReadLines(path);
    } catch (const FileError& e) {
        error = e;
        return {};
    }
    int cut = 0;
    for (QString& line : lines)
        if (line.size() > kMaxCellChars) cut += CutLongCells(line);
    if (cutCells) *cutCells = cut;
    return lines;
}

void ReportCutCells(Workspace& ws, const QString& path, int cutCells) {
    if (cutCells <= 0) return;
    ws.Ask().Error(QStringLiteral("Soubor ") + path + QStringLiteral(" obsahuje ") +
                   QString::number(cutCells) +
                   QStringLiteral(" příliš dlouhých položek; byly zkráceny na %1 znaků.\r\n"
                                  "Uložením souboru se zkrácení stane trvalým.")
                       .arg(kMaxCellChars));
}
