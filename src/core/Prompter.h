#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The file-type filters of the program's file dialogs, by their position.
enum DialogFilter : int {
    kFilterCsv = 1,
    kFilterTemplates = 2,
    kFilterProgress = 3,
    kFilterText = 4,
    // The notes editor's own: rich text, text, all files.
    kFilterRichText = 5,
};

struct FileRequest {
    QString title;
    QString directory;  // where the dialog starts
    QString fileName;   // the name or mask filled in
    int filter = kFilterCsv;
};

// Every question, message, file dialog and beep of the program goes through here:
// the desktop program shows Qt dialogs, the batch tool and the tests answer from
// a script.
class Prompter {
  public:
    virtual ~Prompter() = default;
    // An information question with the buttons Yes and No.
    virtual bool AskYesNo(const QString& text) = 0;
    // An information question with the buttons OK and No; true for OK.
    virtual bool AskOkNo(const QString& text) = 0;
    virtual void Inform(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    // The chosen file's full path, or empty when the dialog was cancelled.
    virtual QString ChooseOpenFile(const FileRequest& request) = 0;
    virtual QString ChooseSaveFile(const FileRequest& request) = 0;
    virtual void Beep() = 0;
};

// Answers from queues and records what was asked. With empty queues every
// question is answered No and every dialog cancelled.
class ScriptedPrompter : public Prompter {
  public:
    enum class Kind { Question, Information, Error, OpenDialog, SaveDialog };
    struct Entry {
        Kind kind;
        QString text;  // the message, or the dialog's title
        QString answer;
    };

    QList<bool> answers;      // for AskYesNo and AskOkNo, taken from the front
    QStringList chosenFiles;  // for the file dialogs; "" cancels
    QList<Entry> log;
    int beeps = 0;

    bool AskYesNo(const QString& text) override;
    bool AskOkNo(const QString& text) override { return AskYesNo(text); }
    void Inform(const QString& text) override;
    void Error(const QString& text) override;
    QString ChooseOpenFile(const FileRequest& request) override;
    QString ChooseSaveFile(const FileRequest& request) override;
    void Beep() override { ++beeps; }

    QStringList Texts(Kind kind) const;
};
