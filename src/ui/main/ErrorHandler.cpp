#include "ErrorHandler.h"

#include <QApplication>
#include <QMessageBox>

#include "Prompter.h"
#include "data/TextFile.h"

namespace {

void ShowError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Sledování ORVA"), text, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool Run(const std::function<void()>& command, const std::function<void(const QString&)>& report) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        report(ErrorText(e));
    }
    return false;
}

}  // namespace

QString ErrorText(const std::exception& error) {
    if (const auto* fileError = dynamic_cast<const FileError*>(&error))
        return QStringLiteral("Chyba při práci se souborem:\n") + fileError->Text();
    return QStringLiteral("Chyba při provádění příkazu:\n") + QString::fromLocal8Bit(error.what());
}

bool RunCommand(const std::function<void()>& command, QWidget* parent) {
    return Run(command, [parent](const QString& text) { ShowError(parent, text); });
}

bool RunCommand(Prompter& prompter, const std::function<void()>& command) {
    return Run(command, [&prompter](const QString& text) { prompter.Error(text); });
}
