// One workstation starting up: claims the connection slot on a shared base
// directory and prints "CLAIMED" or "TAKEN".
//
//   slot_claimer <base dir> <user name> <user key> [<go file>]
//
// A base directory without a configuration file is started as the program
// starts on a new folder: the file is created with the defaults first.
//
// With a go file it prints "READY" and waits for that file to appear before it
// claims, so that several claimers can be let go at the same moment.

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "ProcessSupport.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/TextFile.h"
#include "shell/Access.h"
#include "shell/Config.h"
#include "shell/Slot.h"
#include "shell/StartUp.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fputs("usage: slot_claimer <base dir> <user name> <user key> [<go file>]\n", stderr);
        return 2;
    }
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = BaseDirArgument(args[1]);
    ws.config.UserKey = args[3];
    const bool fresh = !QFileInfo::exists(ws.config.ConfigPath());
    try {
        if (!fresh) ReadOrCreateConfiguration(ws, false);
        ws.Access.UserName = args[2];

        if (args.size() > 4 && !WaitForGoFile(args[4])) return 3;
        if (fresh) {
            ReadOrCreateConfiguration(ws, true);
            ws.Access.UserName = args[2];
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Text()));
        return 1;
    }
    ConnectionSlot slot(ws);
    int status = 0;
    try {
        slot.ClaimSlotAtStartUp();
    } catch (const FileError& e) {
        // The log-in record failed; the slot is claimed or not all the same.
        std::fprintf(stderr, "%s\n", qPrintable(e.Text()));
        status = 1;
    }
    Print(slot.CurrentState() == ConnectionSlot::State::Claimed ? "CLAIMED" : "TAKEN");
    return status;
}
