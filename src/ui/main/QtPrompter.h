#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "Prompter.h"

// The desktop program's questions, messages and file dialogs: modal Qt dialogs
// over the main window (or over whatever window is active before it exists).
class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // While the program is being ended by the system nobody can answer: messages
    // go to the error output, questions are answered No and dialogs cancelled.
    void SetQuiet(bool quiet) { quiet_ = quiet; }

    bool AskYesNo(const QString& text) override;
    bool AskOkNo(const QString& text) override;
    void Inform(const QString& text) override;
    void Error(const QString& text) override;
    QString ChooseOpenFile(const FileRequest& request) override;
    QString ChooseSaveFile(const FileRequest& request) override;
    void Beep() override;

    // The file dialogs' filter list; entries 1-4 are the DialogFilter positions.
    static QStringList NameFilters();

  private:
    QWidget* Parent() const;
    QString ChooseFile(const FileRequest& request, bool save);
    static void Log(const QString& text);

    QPointer<QWidget> parent_;
    bool quiet_ = false;
};
