#include "QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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

QWidget* QtPrompter::Parent() const {
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

bool QtPrompter::AskYesNo(const QString& text) {
    return Show(Parent(), QMessageBox::Information, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool QtPrompter::AskOkNo(const QString& text) {
    return Show(Parent(), QMessageBox::Information, text, QMessageBox::Ok | QMessageBox::No) ==
           QMessageBox::Ok;
}

void QtPrompter::Inform(const QString& text) {
    Show(Parent(), QMessageBox::Information, text, QMessageBox::Ok);
}

void QtPrompter::Error(const QString& text) {
    Show(Parent(), QMessageBox::Critical, text, QMessageBox::Ok);
}

QString QtPrompter::ChooseOpenFile(const FileRequest& request) {
    return ChooseFile(request, false);
}

QString QtPrompter::ChooseSaveFile(const FileRequest& request) {
    return ChooseFile(request, true);
}

QString QtPrompter::ChooseFile(const FileRequest& request, bool save) {
    QFileDialog dialog(Parent(), request.title, request.directory);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters();
    dialog.setNameFilters(filters);
    const int entry =
        request.filter >= kFilterCsv && request.filter <= kFilterText ? request.filter - 1 : 0;
    dialog.selectNameFilter(filters[entry]);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void QtPrompter::Beep() {
    QApplication::beep();
}
