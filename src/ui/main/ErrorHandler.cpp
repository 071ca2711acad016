#include "ErrorHandler.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "data/TextFile.h"

namespace {

void ShowError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Sledování ORVA"), text, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

bool RunCommand(const std::function<void()>& command, QWidget* parent) {
    try {
        command();
        return true;
    } catch (const FileError& e) {
        ShowError(parent, QStringLiteral("Chyba při práci se souborem:\n") + e.Text());
    } catch (const std::exception& e) {
        ShowError(parent, QStringLiteral("Chyba při provádění příkazu:\n") +
                              QString::fromLocal8Bit(e.what()));
    }
    return false;
}
