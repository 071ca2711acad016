#include "Minutes.h"

#include <QFileInfo>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>

#include "../Clock.h"
#include "../Workspace.h"
#include "../data/Cells.h"
#include "../data/Columns.h"
#include "../data/Dates.h"
#include "../data/Progress.h"
#include "../editing/Status.h"
#include "../finance/FinanceOverview.h"
#include "DayRecord.h"

namespace {

// Appends paragraphs in the style last set. A style change sets only what it
// names, so the blue of the organisation line stays to the end.
class MinutesWriter {
  public:
    explicit MinutesWriter(QTextDocument& doc) : cursor_(&doc) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(14);
        doc.setDefaultFont(font);
        format_.setFontFamilies({QStringLiteral("Arial")});
        format_.setFontPointSize(14);
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignLeft);
        cursor_.setBlockFormat(block);
    }

    void B16() { Set(16, false); }
    void B14() { Set(14, false); }
    void BU18() { SetUnderlined(18); }
    void BU16() { SetUnderlined(16); }

    void Line(const QString& text = QString()) {
        if (started_) cursor_.insertBlock(cursor_.blockFormat(), format_);
        cursor_.setBlockCharFormat(format_);
        cursor_.insertText(text, format_);
        started_ = true;
    }

  private:
    void Set(int size, bool underline) {
        format_.setFontWeight(QFont::Bold);
        format_.setFontPointSize(size);
        format_.setFontUnderline(underline);
    }
    void SetUnderlined(int size) {
        Set(size, true);
        format_.setForeground(QColor(0x00, 0x00, 0xFF));
    }

    QTextCursor cursor_;
    QTextCharFormat format_;
    bool started_ = false;
};

QString Col10(const QString& text) {
    return text.rightJustified(10, u' ');
}

void ProjectBlock(Workspace& ws, MinutesWriter& w, int p, double t, bool collisions) {
    const Table& projects = ws.Projects;
    const QString number = projects.Cell(Project::Number, p);
    w.Line();
    if (ProgressFileRefusal(ws, p).isEmpty()) {
        const QString name = ProgressFileName(ws, number);
        // A project without a progress file still gets its block.
        if (QFileInfo::exists(ws.config.DataPath(name))) LoadProgress(ws, name);
    }
    ws.Current().SetProjectRow(p);
    const DayRecord record = ReadDayRecord(ws, p, t);

    w.BU16();
    w.Line(QStringLiteral("     Projekt   :  ") + number + QStringLiteral(" - ") +
           projects.Cell(Project::Name, p));
    w.Line(QStringLiteral("     Manažer   :  ") + projects.Cell(Project::Manager, p) +
           QStringLiteral("              Technik   :  ") + projects.Cell(Project::Technician, p));
    ComputeFinanceOverview(ws);
    const Table& results = ws.Results;
    w.B16();
    w.Line(QStringLiteral("Výdaje plán ") + results.Cell(Results::PlanTotal, 1) +
           QStringLiteral("   Skut.") + results.Cell(Results::Total, 1) +
           QStringLiteral("   Vl.Pod. ") + results.Cell(Results::Own, 1));
    w.Line();
    w.Line();
    w.Line(QStringLiteral("     Počet uložených úkolů   : ") + QString::number(record.taskCount));
    if (record.taskCount != 0) {
        for (int k = 0; k < record.tasks.size(); ++k) {
            const DayTask& task = record.tasks[k];
            QString line = QString::number(k + 1, 16).toUpper().rightJustified(2, u' ') +
                           QStringLiteral("   ");
            for (const QString& cell : {task.person, task.task, task.deadline, task.state})
                line += cell + QStringLiteral("   ");
            w.Line(line);
        }
    }
    w.Line();
    if (collisions) {
        QStringList lines;
        const Table& dl = ws.Deadlines;
        for (int r = 1; r < dl.RowCount(); ++r) {
            if (!dl.Cell(Deadline::KindAndProject, r).contains(number) ||
                DeadlineScore(ws, r, t) <= 0)
                continue;
            lines << QStringLiteral("T ") + Col10(dl.Cell(Deadline::PlanStart, r)) +
                         QStringLiteral(" - ") + Col10(dl.Cell(Deadline::PlanEnd, r)) +
                         QStringLiteral(" / ") + Col10(dl.Cell(Deadline::ActualStart, r)) +
                         QStringLiteral(" - ") + Col10(dl.Cell(Deadline::ActualEnd, r)) +
                         QStringLiteral("  ") + dl.Cell(Deadline::Activity, r) +
                         QStringLiteral("   ") + dl.Cell(Deadline::Classification, r);
        }
        w.B16();
        w.Line(QStringLiteral("     Počet kolizních termínů  : ") + QString::number(lines.size()));
        for (const QString& l : lines) w.Line(l);
        w.Line();
        // Late as of the day of the minutes, like the count above them, so that
        // the minutes of a past day list what was late on that day.
        lines.clear();
        const Table& fin = ws.Finance;
        for (int r = 1; r < fin.RowCount(); ++r) {
            if (!fin.Cell(Finance::KindAndProject, r).contains(number) ||
                PaymentDelay(ws, r, t) <= 0)
                continue;
            lines << QStringLiteral("F ") + Col10(fin.Cell(Finance::EndOrDue, r)) +
                         QStringLiteral(" / ") + Col10(fin.Cell(Finance::ProcedureEndOrPaid, r)) +
                         QStringLiteral(" - ") + Col10(fin.Cell(Finance::Ineligible, r)) +
                         QStringLiteral(" - ") + Col10(fin.Cell(Finance::Total, r)) +
                         QStringLiteral("  ") + fin.Cell(Finance::Activity, r) +
                         QStringLiteral("   ") + fin.Cell(Finance::Classification, r);
        }
        w.B16();
        w.Line(QStringLiteral("     Počet opožděných plateb  : ") + QString::number(lines.size()));
        for (const QString& l : lines) w.Line(l);
        w.Line();
    }
    if (!record.minutes.value(0).isEmpty()) {
        w.B16();
        w.Line(QStringLiteral("     Text zápisu :"));
        for (const QString& l : record.minutes) w.Line(QStringLiteral(" - ") + l);
        w.Line();
    }
    if (!record.messages.value(0).isEmpty()) {
        w.B14();
        for (const QString& l : record.messages) w.Line(QStringLiteral(">   ") + l);
    }
    w.Line();
}

}  // namespace

QString MinutesFileName(double day) {
    return QStringLiteral("Zápis_ORVA_") + DateFromDay(day).toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".rtf");
}

std::unique_ptr<QTextDocument> BuildMinutes(Workspace& ws, double day) {
    auto doc = std::make_unique<QTextDocument>();
    MinutesWriter w(*doc);
    const Config& cfg = ws.config;
    w.B16();
    w.Line(QStringLiteral("      Zápis z porady číslo : ...") + QString(26, u' ') +
           QStringLiteral("Dne : ") + FormatDate(day));
    w.BU18();
    w.Line(QStringLiteral("     ") + cfg.Test + QStringLiteral(" - ") + cfg.Popis +
           QStringLiteral(" - ") + cfg.Firma);
    w.Line();
    w.Line(QStringLiteral("      Přítomni : "));
    QString recorder;
    for (const QString& item : ws.Picks.persons) {
        const FieldBuffer f = SplitFields(item, 2, u'[');
        if (f[1].contains(u'z')) recorder = f[0];
        if (f[1].contains(u'c')) w.Line(QString(24, u' ') + f[0]);
    }

    const QString loaded = cfg.SouborPopis;
    const int currentProject = ws.Current().ProjectRow();
    const bool collisions = cfg.Flag(kFlagPrintCollisions);
    for (int p = 1; p < ws.Projects.RowCount(); ++p) ProjectBlock(ws, w, p, day, collisions);
    if (!loaded.isEmpty() && ws.config.SouborPopis != loaded &&
        QFileInfo::exists(ws.config.DataPath(loaded)))
        LoadProgress(ws, loaded);
    ws.Current().SetProjectRow(currentProject);

    if (cfg.Flag(kFlagPrintNotes)) {
        w.Line();
        w.B16();
        w.Line(QStringLiteral("     SPOLEČNÉ - POZNÁMKY v souboru  ") + cfg.SouborPoznamky);
    }
    w.Line();
    w.Line(QStringLiteral("     Zapsal : ") + recorder + QStringLiteral("                Dne : ") +
           FormatDate(Clock::Today()));
    return doc;
}

void ComposeMinutes(Workspace& ws, double day) {
    const std::unique_ptr<QTextDocument> doc = BuildMinutes(ws, day);
    emit ws.reportComposed(doc.get(), MinutesFileName(day));
}
