// One workstation starting up: claims the connection slot on a shared base
// directory and prints "CLAIMED" or "TAKEN".
//
//   slot_claimer [options] <base dir> <user name> <user key> [<go file>]
//
// A base directory without a configuration file is started as the program
// starts on a new folder: the file is created with the defaults first.
//
// With a go file it prints "READY" and waits for that file to appear before it
// claims, so that several claimers can be let go at the same moment.
//
// Options:
//   --hold         keep running (and beating) after the claim until killed
//   --answer yes   answer the questions Yes (No without it)
//   --lock DIR     take the single-instance lock of the user key in DIR first,
//                  as the desktop program does; "RUNNING" if another copy has it
//   --beat MS      heartbeat interval
//   --say          print every question and message before the verdict, as
//                  "ASKED <text>" / "SAID <text>" with the line ends shown as "|"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "ProcessSupport.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/TextFile.h"
#include "main/SingleInstance.h"
#include "shell/Access.h"
#include "shell/Config.h"
#include "shell/Slot.h"
#include "shell/StartUp.h"

namespace {

void PrintLog(const ScriptedPrompter& prompter) {
    for (const ScriptedPrompter::Entry& e : prompter.log) {
        QString text = e.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("|"));
        const char* kind = e.kind == ScriptedPrompter::Kind::Question ? "ASKED " : "SAID ";
        Print((kind + text).toUtf8().constData());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption hold(QStringLiteral("hold"));
    const QCommandLineOption answer(QStringLiteral("answer"), QString(), QStringLiteral("yes|no"));
    const QCommandLineOption lock(QStringLiteral("lock"), QString(), QStringLiteral("dir"));
    const QCommandLineOption beat(QStringLiteral("beat"), QString(), QStringLiteral("ms"));
    const QCommandLineOption say(QStringLiteral("say"));
    parser.addOptions({hold, answer, lock, beat, say});
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() < 3) {
        std::fputs("usage: slot_claimer [options] <base dir> <user name> <user key> [<go file>]\n",
                   stderr);
        return 2;
    }
    SingleInstance instance(args[2], parser.value(lock));
    if (parser.isSet(lock) && !instance.TryAcquire()) {
        Print("RUNNING");
        return 0;
    }
    ScriptedPrompter prompter;
    if (parser.value(answer) == QLatin1String("yes")) prompter.answers = {true, true, true};
    Workspace ws(prompter);
    ws.config.BaseDir = BaseDirArgument(args[0]);
    ws.config.UserKey = args[2];
    const bool fresh = !QFileInfo::exists(ws.config.ConfigPath());
    try {
        if (!fresh) ReadOrCreateConfiguration(ws, false);
        ws.Access.UserName = args[1];

        if (args.size() > 3 && !WaitForGoFile(args[3])) return 3;
        if (fresh) {
            ReadOrCreateConfiguration(ws, true);
            ws.Access.UserName = args[1];
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Text()));
        return 1;
    }
    ConnectionSlot slot(ws);
    slot.SetSoleCopy(instance.Acquired());
    if (parser.isSet(beat)) slot.SetBeatInterval(parser.value(beat).toInt());
    int status = 0;
    try {
        slot.ClaimSlotAtStartUp();
    } catch (const FileError& e) {
        // The log-in record failed; the slot is claimed or not all the same.
        std::fprintf(stderr, "%s\n", qPrintable(e.Text()));
        status = 1;
    }
    if (parser.isSet(say)) PrintLog(prompter);
    Print(slot.CurrentState() == ConnectionSlot::State::Claimed ? "CLAIMED" : "TAKEN");
    if (parser.isSet(hold)) return app.exec();
    return status;
}
