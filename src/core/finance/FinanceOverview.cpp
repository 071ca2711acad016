#include "finance/FinanceOverview.h"

#include <QStringEncoder>
#include <array>
#include <bitset>
#include <cmath>
#include <memory>
#include <vector>

#include "Clock.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "data/TextFile.h"
#include "shell/Config.h"

namespace {

constexpr int kColumns = Results::Count;
// No more years than this get rows in the group and all-project year divisions.
constexpr int kMaxYears = 20;

const QString kSummaryMark = QStringLiteral("Sk-");
const QString kTotalsKey = QStringLiteral("Celkem");
const QString kMeasureWord = QStringLiteral("Opatreni");
const QString kMeasurePrefix = QStringLiteral("Opatreni_");
const QString kYearPrefix = QStringLiteral("Rok_");
const QString kStageWord = QStringLiteral("Etapa");

QString DivisionWord(OverviewDivision division) {
    switch (division) {
        case OverviewDivision::Stages:
            return QStringLiteral("Etapa");
        case OverviewDivision::Years:
            return QStringLiteral("Rok");
        case OverviewDivision::Measures:
            return QStringLiteral("Opatreni");
        case OverviewDivision::Totals:
            return QStringLiteral("CelkemR");
    }
    return QString();
}

QString SetWord(OverviewSet set) {
    switch (set) {
        case OverviewSet::One:
            return QStringLiteral("Jeden");
        case OverviewSet::Group:
            return QStringLiteral("Skupina");
        case OverviewSet::All:
            return QStringLiteral("Vse");
    }
    return QString();
}

QString YearOf(const QString& dateText) {
    return SplitFields(dateText, 3, u'.')[2];
}

// One finance row of a project, read once for all the results rows it is
// tested against.
struct FinanceItem {
    QString number;    // "Akce číslo"
    QString activity;  // "Činnost"
    QString measureKey;
    QString dueYearKey;  // "Rok_" + year of the due date
    std::array<QString, 4> dateText;
    std::array<double, 4> date{};
    double urr = 0, ineligible = 0, total = 0;
    bool stage = false;
    bool invoice = false;  // a payment or invoice with a total
};

// The cells of one results row while the overview is built: the texts, and
// the amount cells as numbers (written in their cell form at the end).
struct RowCells {
    std::array<QString, kColumns> text;
    std::array<double, kColumns> value{};
    std::bitset<kColumns> numeric;
};

// One results row: its cells kept apart, so that the scans over every row for
// each project read only the few values here.
struct ResultRow {
    std::unique_ptr<RowCells> cells = std::make_unique<RowCells>();
    size_t key = 0;                               // hash of column 2
    bool summary = false;                         // column 2 holds "Sk-" or "Celkem"
    bool blank = true;                            // columns 2 and 3 are empty
    double start = kEmptyDate, end = kEmptyDate;  // columns 4 and 5 as dates
};

class OverviewBuilder {
  public:
    OverviewBuilder(Workspace& ws, int projectRow, const QString& mode)
        : ws_(ws), projects_(ws.Projects), r_(projectRow), mode_(mode) {}

    void Run();
    void WriteInto(Table& results) const;

  private:
    QString P(int column, int row) const { return projects_.Cell(column, row); }
    ResultRow& Row(int row) {
        if (row >= int(rows_.size())) rows_.resize(size_t(row) + 1);
        return rows_[size_t(row)];
    }
    void SetText(int row, int column, const QString& text);
    void SetAmount(int row, int column, double amount);
    void Add(int row, int column, double amount);
    // Column 2 or column 3 of a row, as written so far.
    const QString& Text(int row, int column) const {
        static const QString empty;
        return row < int(rows_.size()) ? rows_[size_t(row)].cells->text[size_t(column)] : empty;
    }
    int LastRow() const { return int(rows_.size()) - 1; }

    void AddProjectRows(int project);
    int FindSummaryRow(const QString& a, const QString& b, bool* isNew);
    void AddDivisionRows(int project, int summary, bool isNew);
    void AddYearRows(const QString& key, int first);
    void WriteYearRow(int row, const QString& key, const QString& year);
    void SortBlock(int first, int last);
    void ReadFinanceItems(int project);
    void Accumulate(int project);
    void AddPlanItem(const FinanceItem& f, int r, int s, double p, double q);
    void AddInvoiceItem(const FinanceItem& f, int r, int s, double p, double q,
                        const QString& key2);

    Workspace& ws_;
    const Table& projects_;
    int r_;
    QString mode_;
    QString divisionWord_, setWord_;
    QString groupList_;
    QString yearRange_;
    std::vector<ResultRow> rows_;
    std::vector<FinanceItem> items_;
};

void OverviewBuilder::SetText(int row, int column, const QString& text) {
    ResultRow& r = Row(row);
    r.cells->text[size_t(column)] = text;
    r.cells->numeric.reset(size_t(column));
    if (column == Results::Project || column == Results::Object)
        r.blank =
            r.cells->text[Results::Project].isEmpty() && r.cells->text[Results::Object].isEmpty();
    if (column == Results::Project) {
        r.summary = text.contains(kSummaryMark) || text.contains(kTotalsKey);
        r.key = qHash(text);
    } else if (column == Results::PlanStart) {
        r.start = ParseDate(text);
    } else if (column == Results::PlanEnd) {
        r.end = ParseDate(text);
    }
}

void OverviewBuilder::SetAmount(int row, int column, double amount) {
    ResultRow& r = Row(row);
    r.cells->value[size_t(column)] = RoundedCellSum(amount);
    r.cells->numeric.set(size_t(column));
}

void OverviewBuilder::Add(int row, int column, double amount) {
    ResultRow& r = Row(row);
    const size_t c = size_t(column);
    // The first addition reads what the cell holds as text.
    const double old = r.cells->numeric.test(c) ? r.cells->value[c] : ParseAmount(r.cells->text[c]);
    r.cells->value[c] = RoundedCellSum(old + amount);
    r.cells->numeric.set(c);
}

void OverviewBuilder::Run() {
    const FieldBuffer parts = SplitFields(mode_, 2, u'#');
    divisionWord_ = parts[0];
    setWord_ = parts[1];
    // The reset results table: header row, row 1 and the empty row 2.
    rows_.clear();
    rows_.resize(3);
    SetText(0, Results::RowNumber, QString::number(r_));
    SetText(1, Results::ProjectRow, u'#' + mode_);
    SetText(1, Results::Project, P(Project::Number, r_));
    SetText(1, Results::Object, P(Project::Name, r_));
    SetText(1, Results::PlanStart, P(Project::Start, r_));
    SetText(1, Results::PlanEnd, P(Project::End, r_));

    groupList_ = GroupListOf(P(Project::Activities, r_));
    if (setWord_ == QLatin1String("Vse")) {
        SetText(1, Results::Project, QStringLiteral("Všechny proj."));
        SetText(1, Results::Object, ws_.config.Popis);
    } else if (setWord_ == QLatin1String("Skupina") && !groupList_.isEmpty()) {
        SetText(1, Results::Project, P(Project::Number, r_) + QStringLiteral("-Skupina"));
    }
    yearRange_ = ProjectYearRange(projects_);

    const QString own = P(Project::Number, r_);
    const bool all = mode_.contains(QLatin1String("Vse"));
    const bool one = mode_.contains(QLatin1String("Jeden"));
    for (int p = 1; p < projects_.RowCount(); ++p) {
        const QString number = P(Project::Number, p);
        // An empty number is part of no group.
        const bool member = !one && !number.isEmpty() && groupList_.contains(number);
        if (!(member || number == own || all)) continue;
        ReadFinanceItems(p);
        AddProjectRows(p);
        Accumulate(p);
    }
}

// The finance rows of project p, from its own progress file: the one the
// tables hold when they hold that file (with any unsaved edits), else the file
// as it is on disk. A project without a readable file contributes its register
// values only, never the rows of a project read before it.
void OverviewBuilder::ReadFinanceItems(int project) {
    items_.clear();
    Config& cfg = ws_.config;
    const QString number = P(Project::Number, project);
    if (number.isEmpty() || !IsSafeNamePart(number)) return;
    const QString name = ProgressFileNameFor(cfg.SouborAkce, number);
    QList<QStringList> rows;
    const QList<QStringList>* source = &rows;
    if (name == cfg.SouborPopis) {
        const Table& fin = ws_.Finance;
        for (int r = 1; r < fin.RowCount(); ++r) {
            QStringList row;
            for (int c = Finance::KindAndProject; c < Finance::Count; ++c) row << fin.Cell(c, r);
            rows << row;
        }
    } else {
        const ProgressRows& read = ws_.Overview.files.Read(cfg.DataPath(name), cfg.VyseDPH);
        if (!read.Ok()) return;
        source = &read.finance;
    }
    items_.reserve(size_t(source->size()));
    for (const QStringList& row : *source) {
        auto cell = [&row](int column) -> const QString& { return row[column - 1]; };
        FinanceItem f;
        f.number = cell(Finance::KindAndProject);
        f.activity = cell(Finance::Activity);
        f.measureKey = kMeasurePrefix + f.number.mid(2, 1);
        f.dueYearKey = kYearPrefix + YearOf(cell(Finance::EndOrDue));
        for (int k = 0; k < 4; ++k) {
            f.dateText[size_t(k)] = cell(Finance::StartOrDelivery + k);
            f.date[size_t(k)] = ParseDate(f.dateText[size_t(k)]);
        }
        f.urr = ParseAmount(cell(Finance::Eligible));
        f.ineligible = ParseAmount(cell(Finance::Ineligible));
        f.total = ParseAmount(cell(Finance::Total));
        f.stage = f.activity.contains(kStageWord);
        f.invoice = (f.activity.contains(QLatin1String("Platba")) ||
                     f.activity.contains(QLatin1String("Faktura"))) &&
                    !cell(Finance::Total).isEmpty();
        items_.push_back(std::move(f));
    }
}

void OverviewBuilder::AddProjectRows(int project) {
    // Row 1: the planned totals, the count and the earliest and latest term.
    Add(1, Results::YellowTotal, ParseAmount(P(Project::PlannedTotal, project)));
    Add(1, Results::YellowSubsidy, ParseAmount(P(Project::Subsidy, project)));
    ResultRow& total = Row(1);
    const size_t count = Results::InvoiceCount;
    total.cells->value[count] =
        (total.cells->numeric.test(count) ? total.cells->value[count]
                                          : ParseInt(total.cells->text[count])) +
        1;
    total.cells->numeric.set(count);
    SetText(1, Results::RowNumber, QStringLiteral("1"));
    const QString start = P(Project::Start, project);
    const QString end = P(Project::End, project);
    const QString& firstStart = Text(1, Results::PlanStart);
    if (firstStart.isEmpty() || ParseDate(firstStart) > ParseDate(start))
        SetText(1, Results::PlanStart, FormatShortDate(ParseDate(start)));
    const QString& lastEnd = Text(1, Results::PlanEnd);
    if (lastEnd.isEmpty() || ParseDate(lastEnd) < ParseDate(end))
        SetText(1, Results::PlanEnd, FormatShortDate(ParseDate(end)));

    if (divisionWord_ == QLatin1String("CelkemR")) {
        // The yearly totals are laid out once, for the first project.
        if (rows_.size() == 3) AddYearRows(kTotalsKey, 2);
        return;
    }
    const QString number = P(Project::Number, project);
    const bool byMeasure = divisionWord_ == kMeasureWord;
    const QString measure = number.left(1);
    const QString a = kSummaryMark + (byMeasure ? measure : number);
    const QString b = byMeasure ? kMeasurePrefix + measure : P(Project::Name, project);
    bool isNew = false;
    const int s = FindSummaryRow(a, b, &isNew);
    SetText(s, Results::RowNumber, QString::number(s));
    SetText(s, Results::ProjectRow, u'P' + QString::number(project));
    SetText(s, Results::Project, a);
    SetText(s, Results::Object, b);
    if (!byMeasure) {
        SetText(s, Results::PlanStart, FormatShortDate(ParseDate(start)));
        SetText(s, Results::PlanEnd, FormatShortDate(ParseDate(end)));
        SetAmount(s, Results::YellowTotal, ParseAmount(P(Project::PlannedTotal, project)));
        SetAmount(s, Results::YellowSubsidy, ParseAmount(P(Project::Subsidy, project)));
        SetText(s, Results::SubsidyPercent, P(Project::Percentages, project));
    }
    AddDivisionRows(project, s, isNew);
}

// The summary row of key a (column 2) and b (column 3): the row written for
// them before, else the empty row at the end, else a new row. Only an exact
// match counts: project 1 never takes over the row of project 12, nor a
// project the row of one with an empty name.
int OverviewBuilder::FindSummaryRow(const QString& a, const QString& b, bool* isNew) {
    const size_t key = qHash(a);
    for (int r = 2; r <= LastRow(); ++r) {
        const ResultRow& row = rows_[size_t(r)];
        if (row.key == key && row.cells->text[Results::Project] == a &&
            row.cells->text[Results::Object] == b) {
            *isNew = false;
            return r;
        }
    }
    *isNew = true;
    for (int r = 2; r <= LastRow(); ++r) {
        const ResultRow& row = rows_[size_t(r)];
        if (row.blank) return r;
    }
    Row(LastRow() + 1);
    return LastRow();
}

void OverviewBuilder::WriteYearRow(int row, const QString& key, const QString& year) {
    SetText(row, Results::RowNumber, QString::number(row));
    SetText(row, Results::Project, key);
    SetText(row, Results::Object, kYearPrefix + year);
    SetText(row, Results::PlanStart, QStringLiteral("1.1.") + year);
    SetText(row, Results::PlanEnd, QStringLiteral("31.12.") + year);
}

void OverviewBuilder::AddYearRows(const QString& key, int first) {
    // The table ends at the first row; it only ever lies at the end here.
    rows_.resize(size_t(first) + 1);
    const FieldBuffer years = SplitFields(yearRange_, kMaxYears, u';');
    int index = first;
    for (int k = 0; k < kMaxYears && !years[size_t(k)].isEmpty(); ++k) {
        const QString label = kYearPrefix + years[size_t(k)];
        bool present = false;
        for (int r = first; r <= LastRow() && !present; ++r)
            present = Text(r, Results::Object) == label;
        if (present) continue;
        WriteYearRow(index, key, years[size_t(k)]);
        rows_.resize(size_t(index) + 1);
        ++index;
    }
}

void OverviewBuilder::AddDivisionRows(int project, int summary, bool isNew) {
    const QString number = P(Project::Number, project);
    const bool byMeasure = divisionWord_ == kMeasureWord;
    const bool byYear = divisionWord_ == QLatin1String("Rok") || byMeasure;
    const QString key = byMeasure ? kMeasurePrefix + number.left(1) : QStringLiteral("F-") + number;
    if (setWord_ != QLatin1String("Jeden") && byYear) {
        if (isNew) AddYearRows(key, summary + 1);
        return;
    }
    // The rows of this summary row end where the next summary row or the empty
    // row begins; new rows go there, so that no other project's rows are written over.
    int blockEnd = summary + 1;
    while (
        blockEnd <= LastRow() && !rows_[size_t(blockEnd)].summary &&
        !(Text(blockEnd, Results::Project).isEmpty() && Text(blockEnd, Results::Object).isEmpty()))
        ++blockEnd;
    int i = blockEnd;
    auto present = [&](auto&& test) {
        for (int r = summary; r < i; ++r)
            if (test(r)) return true;
        return false;
    };
    auto nextRow = [&]() -> int {
        // Inside the table a row is made for it; at its end the empty row is taken.
        if (i <= LastRow() &&
            !(Text(i, Results::Project).isEmpty() && Text(i, Results::Object).isEmpty()))
            rows_.insert(rows_.begin() + i, ResultRow());
        return i;
    };
    auto advance = [&] {
        ++i;
        // The table grows by one row when the index reaches its row count.
        if (i > LastRow()) Row(i);
    };
    for (const FinanceItem& f : items_) {
        if (divisionWord_ == kStageWord) {
            if (!f.stage) continue;
            if (present([&](int r) {
                    return Text(r, Results::Object) == f.activity &&
                           f.number.contains(Text(r, Results::Project));
                }))
                continue;
            const int row = nextRow();
            SetText(row, Results::RowNumber, QString::number(row));
            SetText(row, Results::Project, f.number);
            SetText(row, Results::Object, f.activity);
            SetText(row, Results::PlanStart, f.dateText[0]);
            SetText(row, Results::PlanEnd, f.dateText[1]);
            advance();
        } else if (byYear) {
            for (int k = 0; k < 4; ++k) {
                const QString year = YearOf(f.dateText[size_t(k)]);
                if (year.isEmpty()) continue;
                if (present([&](int r) { return Text(r, Results::Object) == kYearPrefix + year; }))
                    continue;
                WriteYearRow(nextRow(), key, year);
                advance();
            }
        }
    }
    SortBlock(summary + 1, i - 1);
}

// The exchange sort of SortResultRows, limited to one summary row's rows.
void OverviewBuilder::SortBlock(int first, int last) {
    QStringEncoder encoder("windows-1250");
    for (int p = first; p < last; ++p)
        for (int q = p + 1; q <= last; ++q) {
            const QByteArray a = encoder.encode(Text(p, Results::Object));
            const QByteArray b = encoder.encode(Text(q, Results::Object));
            if (a > b) std::swap(rows_[size_t(p)], rows_[size_t(q)]);
        }
}

void OverviewBuilder::Accumulate(int project) {
    if (items_.empty()) return;
    const FieldBuffer percentages = SplitFields(P(Project::Percentages, project), 2, u'/');
    const double p = ParseAmount(percentages[0]);
    const double q = ParseAmount(percentages[1]);
    // Only rows whose column 2 one of the project's rows can match receive anything.
    std::vector<size_t> keys;
    auto addKey = [&keys](const QString& k) {
        const size_t h = qHash(k);
        if (std::find(keys.begin(), keys.end(), h) == keys.end()) keys.push_back(h);
    };
    addKey(kTotalsKey);
    for (const FinanceItem& f : items_) {
        addKey(f.number);
        addKey(f.measureKey);
    }
    int s = 0;
    for (int r = 2; r <= LastRow(); ++r) {
        const ResultRow& row = rows_[size_t(r)];
        if (row.summary) s = r;
        if (std::find(keys.begin(), keys.end(), row.key) == keys.end()) continue;
        const QString& column2 = row.cells->text[Results::Project];
        const QString& column3 = row.cells->text[Results::Object];
        enum class Kind { None, Totals, Measure, Year, Stage } kind = Kind::None;
        const bool year = column3.contains(QLatin1String("Rok"));
        if (column2.contains(kTotalsKey) && year)
            kind = Kind::Totals;
        else if (column2.contains(kMeasureWord) && year)
            kind = Kind::Measure;
        else if (column2.contains(QLatin1String("F-")) && year)
            kind = Kind::Year;
        else if (column2.contains(QLatin1String("F-")) && column3.contains(kStageWord))
            kind = Kind::Stage;
        if (kind == Kind::None) continue;
        for (const FinanceItem& f : items_) {
            const QString& key1 = kind == Kind::Totals    ? kTotalsKey
                                  : kind == Kind::Measure ? f.measureKey
                                                          : f.number;
            if (column2 != key1) continue;
            const QString& key2 = kind == Kind::Stage ? f.activity : f.dueYearKey;
            if (column3 == key2 && f.stage) AddPlanItem(f, r, s, p, q);
            if (f.invoice) AddInvoiceItem(f, r, s, p, q, key2);
        }
    }
}

struct Split {
    double state, erdf, own, subsidy, eligible;
};

// Row 1, the summary row and the division row, which counts once when it is
// its own summary row (a yearly total).
struct TargetRows {
    TargetRows(int r, int s) {
        if (s > 1) rows[n++] = s;
        if (r != s) rows[n++] = r;
    }
    const int* begin() const { return rows.data(); }
    const int* end() const { return rows.data() + n; }
    std::array<int, 3> rows{1, 0, 0};
    int n = 1;
};

Split SplitSubsidy(double base, double eligible, double p, double q) {
    Split s;
    s.subsidy = base / 100 * p;
    s.own = base - s.subsidy;
    s.erdf = s.subsidy / 100 * q;
    s.state = s.subsidy - s.erdf;
    s.eligible = eligible;
    return s;
}

void OverviewBuilder::AddPlanItem(const FinanceItem& f, int r, int s, double p, double q) {
    const double eligible = f.total - f.ineligible;
    const Split split =
        SplitSubsidy(ws_.Overview.base == SubsidyBase::Urr ? f.urr : eligible, eligible, p, q);
    for (int row : TargetRows(r, s)) {
        Add(row, Results::PlanState, split.state);
        Add(row, Results::PlanErdf, split.erdf);
        Add(row, Results::PlanOwn, split.own);
        Add(row, Results::PlanSubsidy, split.subsidy);
        Add(row, Results::EligibleUrr, f.urr);
        Add(row, Results::PlanEligible, eligible);
        Add(row, Results::PlanIneligible, f.ineligible);
        Add(row, Results::PlanTotal, f.total);
    }
}

void OverviewBuilder::AddInvoiceItem(const FinanceItem& f, int r, int s, double p, double q,
                                     const QString& key2) {
    const double day = f.date[size_t(ws_.Overview.invoiceDateKind - 1)];
    // An invoice without its chosen date falls into no stage and no year.
    const ResultRow& division = rows_[size_t(r)];
    if (IsDateSet(day) && division.start <= day && day <= division.end) {
        const double eligible = f.total - f.ineligible;
        const Split split =
            SplitSubsidy(ws_.Overview.base == SubsidyBase::Urr ? f.urr : eligible, eligible, p, q);
        for (int row : TargetRows(r, s)) {
            Add(row, Results::State, split.state);
            Add(row, Results::Erdf, split.erdf);
            Add(row, Results::Own, split.own);
            Add(row, Results::Subsidy, split.subsidy);
            Add(row, Results::Eligible, eligible);
            Add(row, Results::Ineligible, f.ineligible);
            Add(row, Results::Total, f.total);
        }
        ResultRow& target = Row(r);
        const size_t count = Results::InvoiceCount;
        target.cells->value[count] =
            (target.cells->numeric.test(count) ? target.cells->value[count]
                                               : ParseInt(target.cells->text[count])) +
            1;
        target.cells->numeric.set(count);
    }
    // "Všechny faktury" counts each invoice once: at the first stage row of its
    // project, or at the year row of its due year.
    if ((Text(1, Results::ProjectRow).contains(kStageWord) && r == s + 1) ||
        Text(r, Results::Object) == key2) {
        Add(1, Results::AllInvoices, f.total);
        if (s != r && s > 1) Add(s, Results::AllInvoices, f.total);
    }
}

void OverviewBuilder::WriteInto(Table& results) const {
    SetupTable(results, kResultsTable, QString());
    results.SetRowCount(int(rows_.size()));
    for (int r = 0; r < int(rows_.size()); ++r) {
        const ResultRow& row = rows_[size_t(r)];
        // From the last column back, so that a row's cells are made room for at once.
        for (int c = kColumns - 1; c >= 0; --c) {
            if (r == 0 && c > 0) continue;  // the headers stay
            QString text = row.cells->text[size_t(c)];
            if (row.cells->numeric.test(size_t(c)))
                text = c == Results::InvoiceCount
                           ? QString::number(qint64(row.cells->value[size_t(c)]))
                           : FormatAmount(row.cells->value[size_t(c)]);
            results.SetCell(c, r, text);
        }
    }
}

}  // namespace

double RoundedCellSum(double sum) {
    // The cell form rounds the sum's 15 significant digits half away from zero
    // to cents. Away from a half cent that is the whole cents of the sum, read
    // back as the nearest double to them, which the division gives exactly;
    // near a half cent (or beyond 1e11) the text decides.
    const double magnitude = std::fabs(sum);
    if (magnitude < 1e11) {
        const double scaled = magnitude * 100.0;
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) > 1e-3) {
            const double cents = fraction > 0.5 ? whole + 1 : whole;
            if (cents == 0) return 0.0;
            return std::signbit(sum) ? -(cents / 100.0) : cents / 100.0;
        }
    }
    return ParseAmount(FormatAmount(sum));
}

QString GroupListOf(const QString& activities) {
    const qsizetype open = activities.indexOf(u'[');
    if (open < 0) return QString();
    const qsizetype close = activities.indexOf(u']', open + 1);
    if (close <= open + 1) return QString();
    return activities.mid(open, close - open);
}

QString ProjectYearRange(const Table& projects) {
    double first = DayFromDate(QDate(3000, 1, 1));
    double last = 0;
    for (int r = 1; r < projects.RowCount(); ++r) {
        first = qMin(first, ParseDate(projects.Cell(Project::Start, r)));
        last = qMax(last, ParseDate(projects.Cell(Project::End, r)));
    }
    QString range;
    for (int y = DateFromDay(first).year(); y <= DateFromDay(last).year(); ++y)
        range += QString::number(y) + u';';
    return range;
}

void SortResultRows(Table& results, int first, int last) {
    QStringEncoder encoder("windows-1250");
    auto greater = [&](int p, int q) {
        const QString a = results.Cell(Results::Object, p);
        const QString b = results.Cell(Results::Object, q);
        // Empty rows stay at the end, whatever names sort after "ZZZZZ".
        if (a.isEmpty() || b.isEmpty()) return a.isEmpty() && !b.isEmpty();
        return QByteArray(encoder.encode(a)) > QByteArray(encoder.encode(b));
    };
    const int end = results.RowCount() - 1;
    for (int p = first; p <= last; ++p)
        for (int q = p + 1; q <= end; ++q)
            if (greater(p, q)) results.SwapRowCells(p, q, 0);
}

QString OverviewSetCaption(OverviewSet set) {
    switch (set) {
        case OverviewSet::One:
            return QStringLiteral("Jeden projekt");
        case OverviewSet::Group:
            return QStringLiteral("Skupina projektů");
        case OverviewSet::All:
            return QStringLiteral("Všechny projekty");
    }
    return QString();
}

QString OverviewDivisionCaption(OverviewDivision division) {
    switch (division) {
        case OverviewDivision::Stages:
            return QStringLiteral("Projekty  / Etapy");
        case OverviewDivision::Years:
            return QStringLiteral("Projekty  / Roky");
        case OverviewDivision::Measures:
            return QStringLiteral("Opatření / Roky");
        case OverviewDivision::Totals:
            return QStringLiteral("Součty    / Roky");
    }
    return QString();
}

QString OverviewModeText(const OverviewState& choices) {
    return DivisionWord(choices.division) + u'#' + SetWord(choices.set);
}

QString BuildOverview(Workspace& ws, int projectRow, const QString& mode) {
    // The reference day: the day chosen in the diary calendar, else now.
    const double reference = IsDateSet(ws.Diary.Day) ? ws.Diary.Day : DayFromDateTime(Clock::Now());
    ws.Overview.referenceDay = reference;
    ws.AppendCheck(QStringLiteral("Buňka Graf - ") + QString::number(ws.Diary.Row) +
                   QStringLiteral(" Datum ") + FormatShortDate(reference) +
                   QStringLiteral(" Akce - ") + QString::number(projectRow) + QStringLiteral("  ") +
                   mode);
    OverviewBuilder builder(ws, projectRow, mode);
    builder.Run();
    builder.WriteInto(ws.Results);
    ws.NotifyTable(kResultsTable);

    // The tables end holding the current project's rows; its file is loaded
    // (and a missing one asked about) at most once per computation.
    ws.Current().SetProjectRow(projectRow);
    const QString number = ws.Projects.Cell(Project::Number, projectRow);
    const QString name = ProgressFileNameFor(ws.config.SouborAkce, number);
    if (!number.isEmpty() && IsSafeNamePart(number) && name != ws.config.SouborPopis) {
        LoadProgress(ws, name);
        ws.Current().SetProjectRow(projectRow);
    }
    emit ws.overviewComputed();
    return QStringLiteral("OK");
}

QString ComputeFinanceOverview(Workspace& ws) {
    ws.ResetInactivity();
    int row = ws.Current().ProjectRow();
    if (row < 1 || row >= ws.Projects.RowCount()) row = 1;
    if (ws.Projects.RowCount() < 2) return QStringLiteral("OK");
    return BuildOverview(ws, row, OverviewModeText(ws.Overview));
}

void SetOverviewSet(Workspace& ws, OverviewSet set) {
    if (ws.Overview.set == set) return;
    ws.Overview.set = set;
    emit ws.overviewChoicesChanged();
}

void SetOverviewDivision(Workspace& ws, OverviewDivision division) {
    if (ws.Overview.division == division) return;
    ws.Overview.division = division;
    emit ws.overviewChoicesChanged();
}

void SetInvoiceDateKind(Workspace& ws, int kind) {
    if (kind < kDateDelivery || kind > kDatePaid) return;
    ws.config.SetFlagChar(kFlagInvoiceDate, QChar(u'0' + kind));
    if (ws.Overview.invoiceDateKind == kind) return;
    ws.Overview.invoiceDateKind = kind;
    emit ws.overviewChoicesChanged();
}

void SetSubsidyBase(Workspace& ws, SubsidyBase base) {
    ws.config.SetFlagChar(kFlagSpreadAmount, base == SubsidyBase::Urr ? u'2' : u'1');
    if (ws.Overview.base == base) return;
    ws.Overview.base = base;
    emit ws.overviewChoicesChanged();
}

void ApplyOverviewFlags(Workspace& ws) {
    const QChar kind = ws.config.FlagChar(kFlagInvoiceDate);
    const QChar base = ws.config.FlagChar(kFlagSpreadAmount);
    bool changed = false;
    if (kind >= u'1' && kind <= u'4' && ws.Overview.invoiceDateKind != kind.unicode() - u'0') {
        ws.Overview.invoiceDateKind = kind.unicode() - u'0';
        changed = true;
    }
    if (base == u'1' || base == u'2') {
        const SubsidyBase chosen = base == u'2' ? SubsidyBase::Urr : SubsidyBase::Eligible;
        changed = changed || ws.Overview.base != chosen;
        ws.Overview.base = chosen;
    }
    if (changed) emit ws.overviewChoicesChanged();
}
