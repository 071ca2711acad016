#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>

#include "Workspace.h"
#include "data/TextFile.h"
#include "main/ErrorHandler.h"
#include "main/QtPrompter.h"
#include "main/Sledovani.h"
#include "shell/StartUp.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sledování ORVA"));

    // Every data file is in code page 1250; without the converter the program
    // would read and write garbage.
    if (!TextFile::CodecAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Sledování ORVA"),
                              QStringLiteral("Program potřebuje převodník kódové stránky 1250 "
                                             "(windows-1250), ale tato instalace Qt jej nemá.\n"
                                             "Je třeba knihovna Qt sestavená s podporou ICU."));
        return 1;
    }

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption baseOption(QStringLiteral("base"),
                                        QStringLiteral("Složka s daty místo aktuální složky."),
                                        QStringLiteral("DIR"));
    parser.addOption(baseOption);
    parser.process(app);
    const QString base = parser.isSet(baseOption) ? QDir(parser.value(baseOption)).absolutePath()
                                                  : QDir::currentPath();

    QtPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = base.endsWith(u'/') ? base : base + u'/';

    StartUpResult started;
    RunCommand([&] { started = LoadAtStartUp(ws, true); });
    if (started.quit) return 0;

    Sledovani window(ws);
    prompter.SetParent(&window);
    window.show();
    return app.exec();
}
