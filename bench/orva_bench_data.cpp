#include <QCoreApplication>
#include <QTextStream>

#include "DataGenerator.h"
#include "data/TextFile.h"

// orva-bench-data N M DIR [--no-config]: writes a data folder of N projects with
// M progress rows each, for measuring orva-cli and the program on it.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    DataFolderSpec spec;
    if (args.removeAll(QStringLiteral("--no-config")) > 0) spec.withConfig = false;
    bool okN = false, okM = false;
    if (args.size() == 3) {
        spec.projects = args[0].toInt(&okN);
        spec.rows = args[1].toInt(&okM);
    }
    if (!okN || !okM || spec.projects < 1 || spec.rows < 0) {
        err << "Použití: orva-bench-data POČET_AKCÍ ŘÁDKŮ_NA_AKCI SLOŽKA [--no-config]\n";
        return 2;
    }
    try {
        const qint64 bytes = GenerateDataFolder(args[2], spec);
        QTextStream(stdout) << spec.projects << " akcí po " << spec.rows << " řádcích, " << bytes
                            << " bajtů: " << args[2] << '\n';
    } catch (const FileError& e) {
        err << "Chyba souboru: " << e.Text() << '\n';
        return 1;
    }
    return 0;
}
