#include "finance/ResultsFile.h"

#include "Clock.h"
#include "FileChoice.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/TextFile.h"

namespace {

// The general number form of a spreadsheet: up to 15 significant digits,
// decimal comma, no thousands separator ("1234,5", "0").
QString PlainNumber(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', u',');
    return text;
}

bool IsMoneyColumn(int column) {
    return column >= Results::PlanState && column <= Results::AllInvoices;
}

}  // namespace

QStringList ResultsFileLines(const Table& results, const QDate& day) {
    QStringList lines{QStringLiteral("Výsledky") + FormatDate(day)};
    for (int r = 0; r < results.RowCount(); ++r) {
        QString line;
        for (int c = Results::ProjectRow; c < Results::Count; ++c) {
            const QString cell = results.Cell(c, r);
            line += r > 0 && IsMoneyColumn(c) ? PlainNumber(ParseAmount(cell)) : cell;
            line += u';';
        }
        lines << line;
    }
    return lines;
}

void WriteResultsFile(const QString& path, const Table& results, const QDate& day) {
    TextFile::WriteLines(path, ResultsFileLines(results, day));
}

bool SaveResultsFile(Workspace& ws) {
    ws.CheckListing.clear();
    Config& cfg = ws.config;
    const QString path =
        FileChoice::Save(ws, {QStringLiteral("Uložení Výsledků -"), cfg.TextPath(QString()),
                              QStringLiteral("*.csv"), kFilterTemplates});
    if (path.isEmpty()) return false;
    cfg.SouborVysledky = FileChoice::FileNameOf(path);
    const QStringList lines = ResultsFileLines(ws.Results, Clock::Today());
    WriteResultsFile(path, ws.Results, Clock::Today());
    for (int i = 1; i < lines.size(); ++i) {
        QStringList values = lines[i].split(u';');
        values.removeLast();  // after the closing ";"
        for (const QString& value : values) ws.AppendCheck(value);
    }
    ws.Ask().Beep();
    return true;
}
