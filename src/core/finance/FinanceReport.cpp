#include "finance/FinanceReport.h"

#include <QTextCursor>
#include <QTextDocument>

#include "Clock.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "finance/FinanceOverview.h"

namespace {

constexpr int kColumnWidth = 20;
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kGreen(0x00, 0x80, 0x00);

QString Left(const QString& text) {
    return PadText(text, QStringLiteral("left"), kColumnWidth);
}

QString Right(const QString& text) {
    return PadText(text, QStringLiteral("right"), kColumnWidth);
}

// Writes the report line by line, each line with its own look.
class ReportLines {
  public:
    explicit ReportLines(QTextDocument& document) : cursor_(&document) {}

    void Line(const QString& text, const QTextCharFormat& format,
              Qt::Alignment alignment = Qt::AlignLeft) {
        QTextBlockFormat block;
        block.setAlignment(alignment);
        if (first_)
            cursor_.setBlockFormat(block);
        else
            cursor_.insertBlock(block, format);
        first_ = false;
        cursor_.setBlockCharFormat(format);
        cursor_.insertText(text, format);
    }

  private:
    QTextCursor cursor_;
    bool first_ = true;
};

QTextCharFormat Look(const QColor& colour, double size = 14, bool bold = false,
                     bool underline = false) {
    QTextCharFormat f;
    // Fixedsys where it exists; a monospaced font keeps the columns elsewhere.
    f.setFontFamilies({QStringLiteral("Fixedsys"), QStringLiteral("DejaVu Sans Mono"),
                       QStringLiteral("monospace")});
    f.setFontFixedPitch(true);
    f.setFontPointSize(size);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontUnderline(underline);
    f.setForeground(colour);
    return f;
}

const char16_t* const kDateKindWords[] = {u"DORUČENÍ faktury", u"SPLATNOST faktury",
                                          u"ZAŘAZENÍ faktury", u"ZAPLACENÍ faktury"};

}  // namespace

QString FinanceReportName(const QString& projectNumber, const QDate& day) {
    return QStringLiteral("Finance_") + projectNumber + u'_' +
           day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".rtf");
}

void ComposeFinanceReportInto(QTextDocument& document, const Workspace& ws) {
    const Table& t = ws.Results;
    const Config& cfg = ws.config;
    document.clear();
    QFont font(QStringLiteral("Fixedsys"), 14);
    font.setFamilies({QStringLiteral("Fixedsys"), QStringLiteral("DejaVu Sans Mono")});
    font.setFixedPitch(true);
    document.setDefaultFont(font);
    ReportLines out(document);

    out.Line(QStringLiteral("Přehled financi ke dni : ") + FormatDate(Clock::Today()),
             Look(Qt::black, 14, true), Qt::AlignHCenter);
    out.Line(cfg.Test + QStringLiteral(" - ") + cfg.Popis + QStringLiteral(" - ") + cfg.Firma,
             Look(kBlue, 14, true, true), Qt::AlignHCenter);

    const QTextCharFormat plain = Look(kBlue);
    const OverviewState& choices = ws.Overview;
    out.Line(QString(), plain);
    out.Line(QStringLiteral("Objekty zpracování vypočtu ") + t.Cell(Results::Project, 1) +
                 QStringLiteral(" - ") + t.Cell(Results::Object, 1),
             plain);
    out.Line(QStringLiteral("Zadání vypočtu    ") + OverviewSetCaption(choices.set) +
                 QStringLiteral(" / ") + OverviewDivisionCaption(choices.division),
             plain);
    out.Line(
        QStringLiteral("Pro rozložení dotace použity ") +
            (choices.base == SubsidyBase::Urr ? QStringLiteral("VÝDAJE ZAPOČÍTATELNÉ UZNANÉ URR")
                                              : QStringLiteral("VÝDAJE ZAPOČÍTATELNÉ")),
        plain);
    const int kind = qBound(kDateDelivery, choices.invoiceDateKind, kDatePaid);
    out.Line(QStringLiteral("Pro výběr fakturace použit datum ") +
                 QString::fromUtf16(kDateKindWords[kind - 1]),
             plain);
    out.Line(QString(), plain);

    for (int r = 1; r < t.RowCount(); ++r) {
        const bool stage = t.Cell(Results::Object, r).contains(QLatin1String("Etapa"));
        const QColor colour = r == 1 ? kRed : stage ? kBlue : kGreen;
        out.Line(Left(t.Cell(Results::Object, 0)) + Right(t.Cell(Results::Project, r)) +
                     Right(t.Cell(Results::Object, r)) + Right(QStringLiteral(" ")),
                 Look(colour, 18, false, true));
        if (!stage) {
            if (r != 1) {
                const FieldBuffer p = SplitFields(t.Cell(Results::SubsidyPercent, r), 2, u'/');
                out.Line(QStringLiteral("Celková dotace z uznatelnýchch nákladů ") + p[0].left(5) +
                             QStringLiteral(" %  Dotace ERDF z dotace ") + p[1].left(5) +
                             QStringLiteral(" %"),
                         Look(kGreen));
            }
            out.Line(QStringLiteral("Celkový původní plán projektu ") +
                         Right(t.Cell(Results::YellowTotal, r)),
                     Look(colour));
            out.Line(QStringLiteral("Celkový původní plán dotace   ") +
                         Right(t.Cell(Results::YellowSubsidy, r)),
                     Look(colour));
        }
        out.Line(Left(QStringLiteral("Termín Plán ")) +
                     Right(QStringLiteral("Od  ") + t.Cell(Results::PlanStart, r)) +
                     Right(QStringLiteral("DO  ") + t.Cell(Results::PlanEnd, r)) +
                     Right(QStringLiteral(" ")),
                 plain);
        out.Line(QString(), plain);
        out.Line(Left(QStringLiteral("Finance ") + cfg.PopisDPH) + Right(QStringLiteral("Plán ")) +
                     Right(QStringLiteral("Skutečnost ")) +
                     Right(QStringLiteral("Rozdíl Plan-Skut.")),
                 Look(kBlue, 14, false, true));
        for (int k = Results::PlanState; k <= Results::PlanTotal; ++k) {
            const QString plan = t.Cell(k, r);
            const QString actual = t.Cell(k + 8, r);
            QString line = Left(t.Cell(k + 8, 0)) + Right(plan) + Right(actual);
            // The plan column of the URR amount is never filled: no difference.
            if (k != Results::PlanDash)
                line += Right(FormatAmount(ParseAmount(plan) - ParseAmount(actual)));
            out.Line(line, plain);
        }
        out.Line(QString(), plain);
        out.Line(QString(), plain);
    }
    out.Line(QString(), plain);
}

QString ComposeFinanceReport(Workspace& ws, int projectRow) {
    const QString name =
        FinanceReportName(ws.Projects.Cell(Project::Number, projectRow), Clock::Today());
    QTextDocument document;
    ComposeFinanceReportInto(document, ws);
    emit ws.reportComposed(&document, name);
    return name;
}
