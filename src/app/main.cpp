#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QSessionManager>
#include <csignal>

#include "Workspace.h"
#include "data/TextFile.h"
#include "main/QtPrompter.h"
#include "main/SignalWatcher.h"
#include "main/SingleInstance.h"
#include "main/Sledovani.h"
#include "shell/Config.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sledování ORVA"));
    // Czech month and day names even on a machine with only the C locale;
    // the message boxes and dialogs below are widgets too.
    UseProgramLocale();

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

    SingleInstance instance(DefaultUserKey());
    if (!instance.TryAcquire()) {
        ShowAlreadyRunning();
        return 0;
    }

    const QString base = parser.isSet(baseOption) ? QDir(parser.value(baseOption)).absolutePath()
                                                  : QDir::currentPath();
    QtPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = base.endsWith(u'/') ? base : base + u'/';

    Sledovani window(ws);
    // Holding the lock, this copy knows that a slot heartbeat of its own user
    // and workstation was left by a copy that crashed.
    window.Slot().SetSoleCopy(instance.Acquired());

    // Ended by the system (a signal, the end of the session): nobody is there
    // to answer a question, but what was changed is saved and the slot freed.
    // A request that comes while the start-up is still running ends the
    // program right after it, with the questions left answered No.
    bool running = false;
    bool ending = false;
    const auto endBySystem = [&] {
        if (ending) return;
        ending = true;
        prompter.SetQuiet(true);
        // Leaves every open dialog; the program ends once its caller returns.
        QApplication::exit(0);
        if (running) window.CloseSequence(false);
    };
    SignalWatcher terminations({SIGTERM, SIGINT, SIGHUP});
    QObject::connect(&terminations, &SignalWatcher::received, &window, endBySystem);
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&](QSessionManager&) { endBySystem(); });
#endif

    if (!window.StartUp()) return 0;
    // The other windows are built on the loaded tables.
    window.CreateWindows();
    running = true;
    if (ending) {
        window.CloseSequence(false);
        return 0;
    }
    prompter.SetParent(&window);
    window.show();
    window.ShowCalendar();
    return app.exec();
}
