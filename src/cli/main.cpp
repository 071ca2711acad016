#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "Arguments.h"
#include "Commands.h"
#include "data/TextFile.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    Arguments args;
    QString error;
    if (!ParseArguments(app.arguments().mid(1), args, error)) {
        err << error << "\n\n" << UsageText();
        return kExitUsage;
    }
    if (args.command == Arguments::Command::Help) {
        out << UsageText();
        return kExitOk;
    }
    if (!TextFile::CodecAvailable()) {
        err << "Chybí převod kódové stránky windows-1250 (Qt bez ICU); data nelze číst.\n";
        return kExitProblems;
    }
    switch (args.command) {
        case Arguments::Command::Check:
            return RunCheck(args, out, err);
        case Arguments::Command::Status:
            return RunStatus(args, out, err);
        case Arguments::Command::Backup:
            return RunBackup(args, out, err);
        case Arguments::Command::Reconstruct:
            return RunReconstruct(args, out, err);
        default:
            return RunGenerate(args, out, err);
    }
}
