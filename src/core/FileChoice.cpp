#include "FileChoice.h"

#include <QFileInfo>

#include "Prompter.h"
#include "Workspace.h"

namespace FileChoice {

bool IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}

QString Open(Workspace& ws, const FileRequest& request) {
    return ws.Ask().ChooseOpenFile(request);
}

QString Save(Workspace& ws, const FileRequest& request) {
    return ws.Ask().ChooseSaveFile(request);
}

QString FileNameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

QString DirOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

QString CreateQuestion(const QString& whatWasNotFound) {
    return QStringLiteral("Soubor ") + whatWasNotFound +
           QStringLiteral(
               " nebyl nalezen.\r\nChceteli jej vytvořit v základním tvaru ?\r\n"
               "Stiskněte   YES\r\n");
}

}  // namespace FileChoice
