// One workstation writing its log-in record to the change log of a shared base
// directory, as the start-up does.
//
//   log_writer <base dir> <user name> <go file>
//
// It loads the configuration and the project register, prints "READY" and
// waits for the go file before it writes, so that several writers can be let
// go at the same moment; then it prints "WRITTEN".

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "ProcessSupport.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/IniFile.h"
#include "data/ProjectRegister.h"
#include "data/TextFile.h"
#include "shell/ChangeLog.h"
#include "shell/Config.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fputs("usage: log_writer <base dir> <user name> <go file>\n", stderr);
        return 2;
    }
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = BaseDirArgument(args[1]);
    try {
        if (!ReadConfiguration(ws.config)) ReadConfiguration(ws.config, IniFile());
        LoadProjectRegister(ws, ws.config.SouborAkce);
        ws.Access.UserName = args[2];
        if (!WaitForGoFile(args[3])) return 3;
        LogChange(ws, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Text()));
        return 1;
    }
    Print("WRITTEN");
    return 0;
}
