#include "QtPrompter.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Sledování ORVA");

// The core writes line breaks as CR LF, which a message box would show as two.
QString Lines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
         QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, kTitle, Lines(text), buttons, parent);
    // Paths and messages are never markup; auto-detection would mangle a "<" in them.
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

// The wildcard patterns of a filter such as "Soubory CSV (*.csv *.CSV)".
QStringList Patterns(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(u'(');
    const qsizetype close = filter.lastIndexOf(u')');
    if (open < 0 || close < open) return {};
    return filter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts);
}

}  // namespace

QStringList QtPrompter::NameFilters() {
    // File names on Linux are case-sensitive, and the data files come from
    // Windows in both spellings.
    return {
        QStringLiteral("Soubory CSV (*.csv *.CSV)"),
        QStringLiteral("Úkony (*Ukon*.csv *Ukon*.CSV)"),
        QStringLiteral("Průběhy akcí (*APr*.csv *APr*.CSV)"),
        QStringLiteral("Textové soubory (*.txt *.TXT)"),
        QStringLiteral("Všechny soubory (*)"),
    };
}

void QtPrompter::Log(const QString& text) {
    qWarning().noquote() << Lines(text);
}

QWidget* QtPrompter::Parent() const {
    // The active window first: a message over the main window would open behind
    // a tool window that stays on top, such as the settings or the entry window.
    if (QWidget* active = QApplication::activeWindow()) return active;
    return parent_.data();
}

bool QtPrompter::AskYesNo(const QString& text) {
    if (quiet_) {
        Log(text);
        return false;
    }
    return Show(Parent(), QMessageBox::Information, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool QtPrompter::AskOkNo(const QString& text) {
    if (quiet_) {
        Log(text);
        return false;
    }
    return Show(Parent(), QMessageBox::Information, text, QMessageBox::Ok | QMessageBox::No) ==
           QMessageBox::Ok;
}

void QtPrompter::Inform(const QString& text) {
    if (quiet_) {
        Log(text);
        return;
    }
    Show(Parent(), QMessageBox::Information, text, QMessageBox::Ok);
}

void QtPrompter::Error(const QString& text) {
    if (quiet_) {
        Log(text);
        return;
    }
    Show(Parent(), QMessageBox::Critical, text, QMessageBox::Ok);
}

QString QtPrompter::ChooseOpenFile(const FileRequest& request) {
    return ChooseFile(request, false);
}

QString QtPrompter::ChooseSaveFile(const FileRequest& request) {
    return ChooseFile(request, true);
}

QString QtPrompter::ChooseFile(const FileRequest& request, bool save) {
    if (quiet_) {
        Log(request.title);
        return {};
    }
    QFileDialog dialog(Parent(), request.title, request.directory);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters = NameFilters();
    const int entry =
        request.filter >= kFilterCsv && request.filter <= kFilterText ? request.filter - 1 : 0;
    // The notes editor saves rich text first of all.
    if (request.filter == kFilterRichText)
        filters = QStringList{QStringLiteral("Rich text files (*.rtf *.RTF)"),
                              QStringLiteral("Textové soubory  (*.txt *.TXT)"),
                              QStringLiteral("All files (*)")};
    QString selected = filters[request.filter == kFilterRichText ? 0 : entry];
    // A mask that the chosen filter would hide (pictures, day records) is
    // offered as a filter of its own, so the files it names are listed. A mask
    // may hold several patterns separated by ";" ("*.jpg;*.bmp").
    const QString& mask = request.fileName;
    const bool wildcard = mask.contains(u'*') || mask.contains(u'?');
    if (wildcard) {
        QStringList patterns;
        for (const QString& part : mask.split(u';', Qt::SkipEmptyParts))
            if (!part.trimmed().isEmpty()) patterns << part.trimmed();
        const QStringList shown = Patterns(selected);
        const bool hidden = std::any_of(patterns.cbegin(), patterns.cend(),
                                        [&](const QString& p) { return !QDir::match(shown, p); });
        if (hidden) {
            QStringList spellings;
            for (const QString& p : patterns) spellings << p << p.toLower() << p.toUpper();
            spellings.removeDuplicates();
            selected = mask + QStringLiteral(" (") + spellings.join(u' ') + u')';
            filters.prepend(selected);
        }
    }
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(selected);
    // A mask is no file name: the typed name stays empty.
    if (!mask.isEmpty() && !wildcard) dialog.selectFile(mask);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void QtPrompter::Beep() {
    QApplication::beep();
}
