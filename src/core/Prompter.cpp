#include "Prompter.h"

bool ScriptedPrompter::AskYesNo(const QString& text) {
    const bool yes = answers.isEmpty() ? false : answers.takeFirst();
    log.append({Kind::Question, text, yes ? QStringLiteral("Yes") : QStringLiteral("No")});
    return yes;
}

void ScriptedPrompter::Inform(const QString& text) {
    log.append({Kind::Information, text, {}});
}

void ScriptedPrompter::Error(const QString& text) {
    log.append({Kind::Error, text, {}});
}

QString ScriptedPrompter::ChooseOpenFile(const FileRequest& request) {
    const QString file = chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
    log.append({Kind::OpenDialog, request.title, file});
    return file;
}

QString ScriptedPrompter::ChooseSaveFile(const FileRequest& request) {
    const QString file = chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
    log.append({Kind::SaveDialog, request.title, file});
    return file;
}

QStringList ScriptedPrompter::Texts(Kind kind) const {
    QStringList texts;
    for (const Entry& e : log)
        if (e.kind == kind) texts << e.text;
    return texts;
}
