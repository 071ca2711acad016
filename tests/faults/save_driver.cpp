// Saves one kind of file over and over, for the fault harness to kill at a
// random moment, and checks what a kill left behind.
//
//   save_driver prepare <kind> <base dir>   reference copies, version 0 in place
//   save_driver loop <kind> <base dir>      prints READY, then saves until killed
//   save_driver once <kind> <base dir>      one save of version 1: "SAVED" or
//                                           "ERROR <message>" (status 1)
//   save_driver check <kind> <base dir>     "OK", or what is wrong (status 1)
//   save_driver kills <kind> <base dir> N   N times: a forked child saves until
//                                           killed at a random moment, then the
//                                           file is checked; the long run uses it
//                                           (no program start per kill)
//   save_driver kinds                       the kinds, one a line

#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "Prompter.h"
#include "SaveKinds.h"
#include "Workspace.h"
#include "data/TextFile.h"

namespace {

void Print(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    // PDF output needs fonts, hence a GUI application, but never a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == QLatin1String("kinds")) {
        for (const SaveKind& k : SaveKinds()) Print(k.name);
        return 0;
    }
    const SaveKind* kind = args.size() >= 4 ? FindSaveKind(args[2]) : nullptr;
    if (!kind) {
        std::fputs("usage: save_driver prepare|loop|once|check <kind> <base dir>\n", stderr);
        return 2;
    }
    const QString mode = args[1];
    if (mode == QLatin1String("check")) {
        const QString problem = CheckSaveKind(*kind, args[3]);
        Print(problem.isEmpty() ? QStringLiteral("OK") : problem);
        return problem.isEmpty() ? 0 : 1;
    }
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    SetUpWorkspace(ws, args[3]);
#ifdef Q_OS_UNIX
    if (mode == QLatin1String("kills") && args.size() == 5) {
        const int kills = args[4].toInt();
        const QString path = ws.config.BaseDir + kind->file;
        for (int i = 0; i < kills; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                try {
                    for (int version = 0;; version = 1 - version) {
                        if (kind->recreates) QFile::remove(path);
                        kind->save(ws, version);
                    }
                } catch (...) {
                    ::_exit(1);
                }
            }
            if (child < 0) return 1;
            ::usleep(QRandomGenerator::global()->bounded(20000));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const QString problem = CheckSaveKind(*kind, args[3]);
            if (!problem.isEmpty()) {
                Print(QStringLiteral("kill %1: %2").arg(i + 1).arg(problem));
                return 1;
            }
        }
        Print(QStringLiteral("%1 kills, every file whole").arg(kills));
        return 0;
    }
#endif
    try {
        if (mode == QLatin1String("prepare")) {
            PrepareSaveKind(*kind, ws);
        } else if (mode == QLatin1String("once")) {
            if (kind->recreates) QFile::remove(ws.config.BaseDir + kind->file);
            kind->save(ws, 1);
            Print(QStringLiteral("SAVED"));
        } else if (mode == QLatin1String("loop")) {
            Print(QStringLiteral("READY"));
            const QString path = ws.config.BaseDir + kind->file;
            for (int version = 0;; version = 1 - version) {
                if (kind->recreates) QFile::remove(path);
                kind->save(ws, version);
            }
        } else {
            return 2;
        }
    } catch (const FileError& e) {
        Print(QStringLiteral("ERROR ") + e.Text());
        return 1;
    }
    return 0;
}
