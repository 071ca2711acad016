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
    DataFolderShape shape;
    if (args.removeAll(QStringLiteral("--no-config")) > 0) shape.withConfig = false;
    bool okN = false, okM = false;
    if (args.size() == 3) {
        shape.projects = args[0].toInt(&okN);
        shape.rows = args[1].toInt(&okM);
    }
    if (!okN || !okM || shape.projects < 1 || shape.rows < 0) {
        err << "Použití: orva-bench-data POČET_AKCÍ ŘÁDKŮ_NA_AKCI SLOŽKA [--no-config]\n";
        return 2;
    }
    try {
        const qint64 bytes = GenerateDataFolder(args[2], shape);
        QTextStream(stdout) << shape.projects << " akcí po " << shape.rows << " řádcích, " << bytes
                            << " bajtů: " << args[2] << '\n';
    } catch (const FileError& e) {
        err << "Chyba souboru: " << e.Text() << '\n';
        return 1;
    }
    return 0;
}
