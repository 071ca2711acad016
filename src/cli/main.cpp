#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "Arguments.h"
#include "Commands.h"
#include "data/TextFile.h"

int main(int argc, char* argv[]) {
    // The minutes are laid out with fonts, which need a GUI application; it
    // runs without a screen.
    const bool gui = argc > 1 && qstrcmp(argv[1], "minutes") == 0;
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        gui ? std::make_unique<QGuiApplication>(argc, argv)
            : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
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
        case Arguments::Command::Ical:
            return RunIcal(args, out, err);
        case Arguments::Command::Finance:
            return RunFinance(args, out, err);
        case Arguments::Command::Minutes:
            return RunMinutes(args, out, err);
        case Arguments::Command::Reconstruct:
            return RunReconstruct(args, out, err);
        default:
            return RunGenerate(args, out, err);
    }
}
