#pragma once

#include <QString>

class Workspace;
struct FileRequest;

// The dialog steps that the file operations share: asking the Prompter for a
// file and the question before a missing file is created. It lives beside the
// Prompter, not in data/, because the readers and writers there never ask.
namespace FileChoice {

bool IsFile(const QString& path);
// Asks for a file to open or save; empty when cancelled.
QString Open(Workspace& ws, const FileRequest& request);
QString Save(Workspace& ws, const FileRequest& request);
QString FileNameOf(const QString& path);
QString DirOf(const QString& path);
// The question asked before a missing file is created in basic form.
QString CreateQuestion(const QString& whatWasNotFound);

}  // namespace FileChoice
