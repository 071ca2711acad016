#include "DataGenerator.h"

#include <QDate>
#include <QDir>
#include <QStringList>
#include <random>

#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Progress.h"
#include "data/Table.h"
#include "data/TextFile.h"
#include "shell/Config.h"

namespace {

const QStringList kWorks = {
    QStringLiteral("Rekonstrukce"), QStringLiteral("Oprava"),      QStringLiteral("Výstavba"),
    QStringLiteral("Revitalizace"), QStringLiteral("Modernizace"), QStringLiteral("Zateplení"),
};
const QStringList kObjects = {
    QStringLiteral("náměstí"),
    QStringLiteral("mateřské školy"),
    QStringLiteral("cyklostezky"),
    QStringLiteral("sportovní haly"),
    QStringLiteral("kulturního domu"),
    QStringLiteral("místní komunikace"),
    QStringLiteral("hasičské zbrojnice"),
    QStringLiteral("zámeckého parku"),
};
const QStringList kTowns = {
    QStringLiteral("Třebíči"),           QStringLiteral("Jihlavě"),
    QStringLiteral("Žďáru nad Sázavou"), QStringLiteral("Pelhřimově"),
    QStringLiteral("Havlíčkově Brodě"),  QStringLiteral("Telči"),
    QStringLiteral("Velkém Meziříčí"),
};
const QStringList kPeople = {
    QStringLiteral("Ing. Jana Nováková"), QStringLiteral("Ing. Petr Dvořák"),
    QStringLiteral("Mgr. Lenka Černá"),   QStringLiteral("Bc. Tomáš Procházka"),
    QStringLiteral("Ing. Zdeněk Kučera"), QStringLiteral("Marie Veselá"),
};
const QStringList kMeasures = {QStringLiteral("1.1"), QStringLiteral("2.1"), QStringLiteral("2.3"),
                               QStringLiteral("3.2"), QStringLiteral("4.1")};
const QStringList kShares = {QStringLiteral("85/75"), QStringLiteral("92,5/80"),
                             QStringLiteral("60/100"), QStringLiteral("90/85")};

struct DeadlineStep {
    const char16_t* activity;
    const char16_t* classification;
    const char16_t* step;
    int days;
};
const DeadlineStep kSteps[] = {
    {u"Financování", u"Příprava dotace", u"Podpis smlouvy", 360},
    {u"Výběr dodavatele", u"PD/TDI", u"Podpis smlouvy", 90},
    {u"Realizace", u"Stavba", u"Stavební povolení", 90},
    {u"Realizace", u"Stavba", u"Výstavba", 180},
    {u"Realizace", u"Stavba", u"Kolaudace", 14},
    {u"Etapa_#_1", u"", u"Projednání URR", 30},
    {u"Monitoring_#_1", u"", u"Monitorovací zpráva", 365},
};

QString Date(const QDate& d) {
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

QString Amount(qint64 cents) {
    return FormatAmountPlain(double(cents) / 100.0);
}

// One row line of the saved form: 17 cells and the always empty 18th, each followed by ";".
QString RowLine(const QStringList& cells) {
    QString line;
    for (int c = 0; c < 18; ++c) {
        line += cells.value(c);
        line += u';';
    }
    return line;
}

QStringList ProgressLines(const QString& number, int rows, std::mt19937& rng, const QDate& start) {
    QStringList lines;
    lines << QStringLiteral("Akce ORVA;09.12.2026")
          << QStringLiteral("Akce - Projekt Číslo ;") + number << QStringLiteral("Termíny");
    const int financeRows = rows / 3;
    const int deadlineRows = rows - financeRows;
    QString groupFirst, previous, groupKey;
    QDate from = start;
    for (int i = 1; i <= deadlineRows; ++i) {
        const DeadlineStep& s = kSteps[(i - 1) % std::size(kSteps)];
        const QString seq = QString::number(i).rightJustified(2, u'0');
        const QString id = QStringLiteral("T-") + number + u'-' + seq;
        const QString key = QString::fromUtf16(s.activity) + QString::fromUtf16(s.classification);
        QString links = QStringLiteral("//");
        if (key != groupKey) {
            groupKey = key;
            groupFirst = id;
            previous.clear();
        } else {
            links = QStringLiteral("/N-") + groupFirst + u'/' +
                    (previous.isEmpty() ? QString() : QStringLiteral("P-") + previous);
            previous = id;
        }
        const QDate to = from.addDays(s.days);
        const bool done = rng() % 3 != 0;
        const int slip = int(rng() % 21) - 5;
        lines << RowLine(
            {QStringLiteral("T-") + number, QString::fromUtf16(s.activity),
             QString::fromUtf16(s.classification), QString::fromUtf16(s.step), Date(from), Date(to),
             done ? Date(from.addDays(slip)) : QString(), done ? Date(to.addDays(slip)) : QString(),
             QString::number(s.days), Date(from), Date(to.addDays(qMax(0, slip))), id + links,
             done ? QStringLiteral("splněno") : QStringLiteral("v běhu"), QString(), QString(),
             QStringLiteral("Zapis_") + number + QStringLiteral(".txt"), QString()});
        from = from.addDays(s.days / 2);
    }
    QDate invoice = start.addDays(30);
    for (int j = 1; j <= financeRows; ++j) {
        const bool stage = j <= 2;
        const QString seq = QString::number(j).rightJustified(2, u'0');
        const qint64 eligible = 10000000 + qint64(rng() % 250000000);
        const qint64 ineligible = qint64(rng() % 2000000);
        const bool paid = rng() % 4 != 0;
        lines << RowLine(
            {QStringLiteral("F-") + number,
             stage ? QStringLiteral("Etapa_#_") + QString::number(j)
                   : QStringLiteral("Platba_Faktura_") + QString::number(j - 2),
             QStringLiteral("Stavba"), stage ? QStringLiteral("Plán") : QStringLiteral("Plnění"),
             Date(invoice), Date(invoice.addDays(30)), Date(invoice.addDays(20)),
             paid ? Date(invoice.addDays(28)) : QString(), Amount(eligible), Amount(ineligible),
             Amount(eligible + ineligible), QStringLiteral("F-") + number + u'-' + seq + u'/',
             stage ? QStringLiteral("etapa") : QStringLiteral("fakturace"),
             QStringLiteral("[DPH-20%/-10%]"), QString(),
             QStringLiteral("Faktura_") + number + u'_' + seq + QStringLiteral(".txt"), QString()});
        invoice = invoice.addDays(45);
    }
    return lines;
}

qint64 Write(const QString& path, const QStringList& lines) {
    TextFile::WriteLines(path, lines);
    qint64 size = 0;
    for (const QString& l : lines) size += l.size() + 2;
    return size;
}

QString HeaderLine(int kind, int lastColumn) {
    const QStringList headers = TableHeaders(kind, QStringLiteral("Včetně DPH"));
    QString line;
    for (int c = 1; c <= lastColumn; ++c) line += headers.value(c) + u';';
    return line;
}

}  // namespace

QString BenchProjectNumber(int i, int projects) {
    const int width = qMax(4, int(QString::number(projects).size()));
    return QString::number(i).rightJustified(width, u'0');
}

qint64 GenerateDataFolder(const QString& dir, const DataFolderShape& shape) {
    QDir().mkpath(dir);
    const QString base = QDir(dir).absolutePath() + u'/';
    std::mt19937 rng(20261209);
    qint64 bytes = 0;

    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = base;
    if (shape.withConfig) WriteConfiguration(ws.config);

    QStringList reg;
    reg << QStringLiteral(";Uloženo 09.12.2026") << QStringLiteral("Akce ORVA")
        << HeaderLine(kProjectTable, 14) + u';';
    for (int i = 1; i <= shape.projects; ++i) {
        const QString number = BenchProjectNumber(i, shape.projects);
        const qint64 planned = 100000000 + qint64(rng() % 5000000000LL);
        const QDate from = QDate(2024, 1, 15).addDays(int(rng() % 900));
        const QStringList cells = {
            number,
            kWorks[rng() % kWorks.size()] + u' ' + kObjects[rng() % kObjects.size()] +
                QStringLiteral(" v ") + kTowns[rng() % kTowns.size()],
            kPeople[rng() % kPeople.size()],
            kPeople[rng() % kPeople.size()],
            kMeasures[rng() % kMeasures.size()],
            QStringLiteral("Stavební práce"),
            QStringLiteral("Smlouva_") + number + QStringLiteral(".txt"),
            QStringLiteral("Foto_") + number + QStringLiteral(".jpg"),
            QStringLiteral("[DPH-20%/-10%]"),
            kShares[rng() % kShares.size()],
            Amount(planned),
            Amount(planned * 85 / 100),
            Date(from),
            Date(from.addDays(540 + int(rng() % 400))),
        };
        reg << cells.join(u';') + QStringLiteral(";;");
        // The progress file takes the name the program will look for.
        ws.Projects.SetCell(1, i, number);
        bytes += Write(base + ProgressFileName(ws, number),
                       ProgressLines(number, shape.rows, rng, from));
    }
    bytes += Write(base + ws.config.SouborAkce, reg);

    QStringList templates;
    templates << QStringLiteral("Akce ORVA") << QStringLiteral("Úkony Čas;09.12.2026")
              << HeaderLine(kTemplateTable, 17);
    for (const QString& line : DefaultTemplateLines()) {
        const FieldBuffer f = SplitFields(line, 17, u';');
        QString row;
        for (int c = 0; c < 17; ++c) row += f[c] + u';';
        templates << row;
    }
    bytes += Write(base + ws.config.SouborUkony, templates);
    return bytes;
}
