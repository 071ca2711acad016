#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

class QAction;
class QPrinter;
class QTextDocument;
class QTextEdit;
class Workspace;

// The notes editor: a rich-text window for the shared notes file and for the
// reports (finance report, minutes) that the other windows compose into it.
// The notes file is plain text read and written by LoadNotes and SaveNotes;
// while the editor holds it, every edit goes into the workspace's notes lines
// and marks them changed, so that any later save writes what the user sees.
// "&Save" and "Save &as..." write the whole text as rich text.
class Edit : public QMainWindow {
    Q_OBJECT
  public:
    explicit Edit(Workspace& ws, QWidget* parent = nullptr);
    ~Edit() override;

    QTextEdit* TextArea() const { return text_; }
    // The editor's own file name: set by "Save &as..." and by the reports.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    // Whether the text shown is the notes file (not a report).
    bool HoldsNotes() const { return holdsNotes_; }
    // The first menu item with exactly this caption, or nullptr.
    QAction* MenuItem(const QString& caption) const;

  public slots:
    // "&Otevřít" and "Otevřit nový": the configured notes file, or one chosen.
    void OpenNotes();
    void OpenOtherNotes();
    void Save();
    void SaveAs();
    void Print();
    void PrinterSetup();
    // Writes the text as PDF beside the editor's file, named like it with ".pdf".
    void ExportPdf();
    void ChooseFont();
    void SetAlignment(Qt::Alignment alignment);
    // The notes lines of the workspace become the text; caret at the start,
    // modified mark cleared.
    void ShowNotes();
    // A copy of document, with every format, becomes the text; name becomes
    // the editor's file name.
    void ShowDocument(const QTextDocument* document, const QString& name);
    void ShowEditor();

  protected:
    bool event(QEvent* event) override;

  private:
    void CreateMenus();
    void TextChanged();
    // Base directory + text folder + the file-name part of the editor's file name.
    QString Target() const;
    void WriteTo(const QString& path);
    void ReplaceDocument(QTextDocument* document);
    QPrinter& Printer();

    Workspace& ws_;
    QTextEdit* text_ = nullptr;
    QAction* alignLeft_ = nullptr;
    QAction* alignRight_ = nullptr;
    QAction* alignCenter_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    QString fileName_;
    bool holdsNotes_ = false;
    // The text is being replaced by the program, not edited by the user.
    bool replacing_ = false;
};
