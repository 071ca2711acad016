#include "Edit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "FileChoice.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/People.h"
#include "data/TextFile.h"
#include "main/ErrorHandler.h"
#include "tools/OutputFile.h"
#include "tools/RtfWriter.h"

using namespace FileChoice;

namespace {

// Activation leaves this much of the screen's height below the window.
constexpr int kBottomGap = 30;

QAction* FindItem(const QList<QAction*>& actions, const QString& caption) {
    for (QAction* action : actions) {
        if (action->text() == caption) return action;
        if (QMenu* menu = action->menu())
            if (QAction* found = FindItem(menu->actions(), caption)) return found;
    }
    return nullptr;
}

}  // namespace

Edit::Edit(Workspace& ws, QWidget* parent) : QMainWindow(parent), ws_(ws) {
    setObjectName(QStringLiteral("Edit"));
    setWindowTitle(QStringLiteral("Edit"));
    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("RichEdit1"));
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setTabChangesFocus(false);
    text_->setAcceptRichText(true);
    setCentralWidget(text_);
    CreateMenus();
    resize(640, 480);

    connect(text_, &QTextEdit::textChanged, this, &Edit::TextChanged);
    connect(&ws_, &Workspace::notesLoaded, this, &Edit::ShowNotes);
    connect(&ws_, &Workspace::reportComposed, this, &Edit::ShowDocument);
}

Edit::~Edit() = default;

void Edit::CreateMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Otevřít"), this, &Edit::OpenNotes);
    file->addAction(QStringLiteral("Otevřit nový"), this, &Edit::OpenOtherNotes);
    file->addAction(QStringLiteral("&Save"), this, &Edit::Save);
    file->addAction(QStringLiteral("Save &as..."), this, &Edit::SaveAs);
    file->addAction(QStringLiteral("Export PDF"), this, &Edit::ExportPdf);
    file->addAction(QStringLiteral("&Print"), this, &Edit::Print);
    file->addAction(QStringLiteral("Printer setup..."), this, &Edit::PrinterSetup);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), text_,
                    &QTextEdit::cut);
    edit->addAction(QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), text_,
                    &QTextEdit::copy);
    edit->addAction(QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), text_,
                    &QTextEdit::paste);
    edit->addAction(QStringLiteral("De&lete"), QKeySequence(Qt::CTRL | Qt::Key_D), this,
                    [this] { text_->textCursor().removeSelectedText(); });
    edit->addSeparator();
    edit->addAction(QStringLiteral("Select &all"), QKeySequence(Qt::CTRL | Qt::Key_A), text_,
                    &QTextEdit::selectAll);

    QMenu* character = bar->addMenu(QStringLiteral("&Character"));
    auto* alignments = new QActionGroup(this);
    alignments->setExclusive(true);
    const auto addAlignment = [&](const QString& caption, Qt::Alignment alignment) {
        QAction* item =
            character->addAction(caption, this, [this, alignment] { SetAlignment(alignment); });
        item->setCheckable(true);
        alignments->addAction(item);
        return item;
    };
    alignLeft_ = addAlignment(QStringLiteral("&Left"), Qt::AlignLeft);
    alignRight_ = addAlignment(QStringLiteral("&Right"), Qt::AlignRight);
    alignCenter_ = addAlignment(QStringLiteral("&Center"), Qt::AlignHCenter);
    alignLeft_->setChecked(true);
    character->addSeparator();
    character->addAction(QStringLiteral("&Font..."), this, &Edit::ChooseFont);
}

QAction* Edit::MenuItem(const QString& caption) const {
    return FindItem(menuBar()->actions(), caption);
}

bool Edit::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        if (const QScreen* s = screen()) {
            const int frame = frameGeometry().height() - height();
            const int wanted = s->geometry().height() - kBottomGap - frame;
            if (height() != wanted) resize(width(), wanted);
            if (frameGeometry().top() != 0) move(x(), 0);
        }
    }
    return QMainWindow::event(event);
}

void Edit::TextChanged() {
    ws_.ResetInactivity();
    if (replacing_ || !holdsNotes_) return;
    // The notes file is written from these lines (SaveNotes) whoever asks for
    // it; a user who may write gets them saved at the close too.
    ws_.NotesLines = text_->toPlainText().split(u'\n');
    if (ws_.MayWrite()) ws_.SetChanged(kChangedNotes, true);
}

void Edit::ShowEditor() {
    show();
    raise();
    activateWindow();
}

void Edit::ShowNotes() {
    replacing_ = true;
    // A report's copy carries the report's fonts: the notes get a plain document.
    if (text_->document()->parent() == this) {
        auto* plain = new QTextDocument(this);
        plain->setDefaultFont(text_->font());
        ReplaceDocument(plain);
    }
    text_->setPlainText(ws_.NotesLines.join(u'\n'));
    replacing_ = false;
    text_->moveCursor(QTextCursor::Start);
    text_->document()->setModified(false);
    holdsNotes_ = true;
}

void Edit::ShowDocument(const QTextDocument* document, const QString& name) {
    if (!document) return;
    ShowEditor();
    replacing_ = true;
    ReplaceDocument(document->clone(this));
    replacing_ = false;
    text_->moveCursor(QTextCursor::Start);
    fileName_ = name;
    holdsNotes_ = false;
}

void Edit::ReplaceDocument(QTextDocument* document) {
    // The text area deletes the first document, its own, itself; the copies
    // the editor made are its children and go here.
    const QPointer<QTextDocument> old = text_->document();
    text_->setDocument(document);
    if (old && old->parent() == this) old->deleteLater();
}

void Edit::OpenNotes() {
    RunCommand(ws_.Ask(), [this] { LoadNotes(ws_, ws_.config.SouborPoznamky); });
}

void Edit::OpenOtherNotes() {
    RunCommand(ws_.Ask(), [this] { LoadNotes(ws_, QString()); });
}

QString Edit::Target() const {
    return ws_.config.TextPath(FileNameOf(fileName_));
}

void Edit::WriteTo(const QString& path) {
    // A text file chosen in the dialog gets plain lines, so that the notes file
    // and other text files stay readable as text.
    if (QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        TextFile::WriteLines(path, text_->toPlainText().split(u'\n'));
    else
        WriteRtfFile(path, *text_->document());
    text_->document()->setModified(false);
}

void Edit::Save() {
    setWindowTitle(FileNameOf(fileName_));
    const QString target = Target();
    if (!FileNameOf(fileName_).isEmpty() && IsFile(target)) {
        RunCommand(ws_.Ask(), [&] { WriteTo(target); });
        return;
    }
    SaveAs();
}

void Edit::SaveAs() {
    setWindowTitle(FileNameOf(fileName_));
    Config& cfg = ws_.config;
    const QString chosen =
        FileChoice::Save(ws_, {QStringLiteral("Save as - ") + Target(), cfg.TextPath(QString()),
                               FileNameOf(fileName_), kFilterRichText});
    if (chosen.isEmpty()) return;
    fileName_ = chosen;
    if (RunCommand(ws_.Ask(), [&] { WriteTo(chosen); })) {
        cfg.CestaTXT = cfg.RelativeFolder(DirOf(chosen));
        setWindowTitle(FileNameOf(fileName_));
    }
}

QPrinter& Edit::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void Edit::Print() {
    ws_.ResetInactivity();
    QPrintDialog dialog(&Printer(), this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted) return;
    Printer().setDocName(fileName_);
    text_->print(&Printer());
}

void Edit::PrinterSetup() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
}

void Edit::ExportPdf() {
    const QString name = fileName_.isEmpty() ? ws_.config.SouborPoznamky : fileName_;
    const QString path =
        ws_.config.TextPath(QFileInfo(name).completeBaseName() + QStringLiteral(".pdf"));
    const bool written = RunCommand(
        ws_.Ask(), [&] { WriteDocumentPdf(path, FileNameOf(name), *text_->document()); });
    if (written) ws_.Ask().Inform(QStringLiteral("PDF uloženo do souboru ") + path);
}

void Edit::ChooseFont() {
    QFontDialog dialog(text_->font(), this);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    if (dialog.exec() != QDialog::Accepted) return;
    text_->setCurrentFont(dialog.selectedFont());
}

void Edit::SetAlignment(Qt::Alignment alignment) {
    alignLeft_->setChecked(alignment == Qt::AlignLeft);
    alignRight_->setChecked(alignment == Qt::AlignRight);
    alignCenter_->setChecked(alignment == Qt::AlignHCenter);
    text_->setAlignment(alignment);
}
