#include "FileChoice.h"

#include <QFileInfo>

#include "../Prompter.h"
#include "../Workspace.h"
#include "Cells.h"
#include "Table.h"

namespace FileChoice {

bool IsFile(const QString& path) { return QFileInfo(path).isFile(); }

QString Open(Workspace& ws, const FileRequest& request) {
    return ws.Ask().ChooseOpenFile(request);
}

QString Save(Workspace& ws, const FileRequest& request) {
    return ws.Ask().ChooseSaveFile(request);
}

QString FileNameOf(const QString& path) { return QFileInfo(path).fileName(); }

QString DirOf(const QString& path) { return QFileInfo(path).absolutePath(); }

QString RowLine(const Table& table, int row, int first, int last, int amountFrom, int amountTo) {
    QString line;
    for (int c = first; c <= last; ++c) {
        QString cell = ReplaceChar(table.Cell(c, row), u';', u'~');
        if (c >= amountFrom && c <= amountTo) cell = TrimCell(cell, 1);
        line += cell;
        line += u';';
    }
    return line;
}

QString CreateQuestion(const QString& whatWasNotFound) {
    return QStringLiteral("Soubor ") + whatWasNotFound +
           QStringLiteral(" nebyl nalezen.\r\nChceteli jej vytvořit v základním tvaru ?\r\n"
                          "Stiskněte   YES\r\n");
}

}  // namespace FileChoice
