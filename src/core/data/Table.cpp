#include "Table.h"

#include "Cells.h"
#include "Columns.h"

void Table::SetRowCount(int rows) {
    rowCount_ = qMax(0, rows);
}

QString Table::Cell(int column, int row) const {
    if (row < 0 || row >= rowCount_ || row >= rows_.size() || column < 0) return QString();
    const QStringList& r = rows_[row];
    return column < r.size() ? r[column] : QString();
}

void Table::SetCell(int column, int row, const QString& text) {
    if (row < 0 || column < 0) return;
    if (row >= rowCount_) rowCount_ = row + 1;
    if (row >= rows_.size()) rows_.resize(row + 1);
    QStringList& r = rows_[row];
    if (column >= r.size()) {
        if (text.isEmpty()) return;
        r.resize(column + 1);
    }
    r[column] = text;
}

void Table::SwapRowCells(int rowA, int rowB, int firstColumn) {
    const int needed = qMax(rowA, rowB) + 1;
    if (needed > rows_.size()) rows_.resize(needed);
    QStringList& a = rows_[rowA];
    QStringList& b = rows_[rowB];
    if (firstColumn == 0) {
        a.swap(b);
        return;
    }
    const qsizetype width = qMax(a.size(), b.size());
    a.resize(width);
    b.resize(width);
    for (qsizetype c = firstColumn; c < width; ++c) std::swap(a[c], b[c]);
}

namespace {

const char16_t* const kProjectColumns[] = {
    u"Akce ORVA",        u"Číslo akce", u"Název akce",  u"Manager projektu",
    u"Technik projektu", u"Opatření",   u"Aktivity",    u"Dokument TXT",
    u"Dokument JPG",     u"Poznámka",   u"Dotace/ERDF", u"Plán celk.způs. Výdajů",
    u"Dotace",           u"Datum od",   u"Datum do",
};

const char16_t* const kDeadlineColumns[] = {
    u"Akce číslo", u"Akce číslo",   u"Činnost",       u"Zařazení",      u"Proces",
    u"Plán od",    u"Plán do",      u"Skutečnost od", u"Skutečnost do", u"Délka dnů",
    u"Real od",    u"Real do",      u"ID-vnitřní",    u"Info",          u"Poznámka",
    u"",           u"Dokument TXT", u"Dokument JPG",
};

const char16_t* const kFinanceColumns[] = {
    u"Akce",
    u"Akce číslo",
    u"Činnost",
    u"Zařazení",
    u"Proces",
    u"Poč.Et/Dor.Fa",
    u"Kon.Et/Splat.Fa",
    u" - Et./Schvál.Fa",
    u"Kon.říz.Et./Zaplac.Fa",
    u"Způs.Uznané URR/-",
    u"Nezpůsobilé výdaje",
    u"Celkove výdaje plán ",  // followed by the configured VAT wording
    u"ID-vnitřní",
    u"Info",
    u"Poznámka",
    u"",
    u"Dokument TXT",
    u"Dokument JPG",
};

const char16_t* const kTemplateColumns[] = {
    u"",
    u"Akce číslo",
    u"Činnost",
    u"Zařazení",
    u"Upřesnění",
    u"Plán od",
    u"Plán DO",
    u"Skutečnost OD",
    u"Skutečnost DO",
    u"Trvání dny",
    u"Realný termín OD",
    u"Realný termín DO",
    u"ID-vnitřní",
    u"Info",
    u"Poznámka",
    u"Poznámka 2",
    u"Dokument TXT",
};

const char16_t* const kResultColumns[] = {
    u"",
    u"Řa.Proj.",
    u"Projekt",
    u"Objekt",
    u"Plán OD",
    u"Plán DO",
    u"Plán SR",
    u"Plán ERDF",
    u"Plán Vlastní",
    u"Plán Dotace",
    u"-",
    u"Plán Způsobilé",
    u"Plán Nezpůsobilé",
    u"Plán Výdaje Cekem",
    u"SR",
    u"ERDF",
    u"Vlastní",
    u"Dotace",
    u"Způsobilé URR",
    u"Způsobilé",
    u"Nezpůsobilé",
    u"Výdaje Celkem",
    u"poč.",
    u"Žlutá Výdaje Celkem",
    u"Žlutá Dotace",
    u"Všechny faktury",
    u"% Dotací",
};

const QStringList kSampleProject = {
    QStringLiteral("000"),
    QStringLiteral("Název akce"),
    QStringLiteral("Manager projektu"),
    QStringLiteral("Technik projektu"),
    QStringLiteral("Opatření"),
    QStringLiteral("Aktivity"),
    QStringLiteral("Dodavatelská SoD"),
    QStringLiteral("Dokument JPG"),
    QStringLiteral("Poznámka"),
    QString(),
    QStringLiteral("0"),
    QStringLiteral("0"),
    QStringLiteral("1.1.1900"),
    QStringLiteral("1.1.1900"),
};

// The column headers of a table kind; the column count is their number.
template <size_t N>
QStringList Headers(const char16_t* const (&headers)[N]) {
    QStringList list;
    list.reserve(qsizetype(N));
    for (const char16_t* h : headers) list << QString::fromUtf16(h);
    return list;
}

}  // namespace

QStringList TableHeaders(int kind, const QString& financeVatText) {
    switch (kind) {
        case kProjectTable:
            return Headers(kProjectColumns);
        case kDeadlineTable:
            return Headers(kDeadlineColumns);
        case kFinanceTable: {
            QStringList headers = Headers(kFinanceColumns);
            headers[Finance::Total] += financeVatText;
            return headers;
        }
        case kTemplateTable:
        case kTemplateTableWithDefaults:
            return Headers(kTemplateColumns);
        case kResultsTable:
            return Headers(kResultColumns);
        default:
            return {};
    }
}

void SetupTable(Table& table, int kind, const QString& financeVatText) {
    const QStringList headers = TableHeaders(kind, financeVatText);
    if (headers.isEmpty()) return;
    table.SetColumnCount(int(headers.size()));
    if (kind == kResultsTable) {
        const int oldRows = table.RowCount(), cols = table.ColumnCount();
        for (int r = 1; r <= oldRows; ++r)
            for (int c = 1; c <= cols; ++c) table.SetCell(c, r, QString());
    }
    table.SetRowCount(kind == kResultsTable ? 3 : 2);
    for (int c = 0; c < headers.size(); ++c) table.SetCell(c, 0, headers[c]);
    if (kind == kProjectTable) {
        for (int c = 0; c < kSampleProject.size(); ++c) table.SetCell(c + 1, 1, kSampleProject[c]);
    } else if (kind == kTemplateTableWithDefaults) {
        const QStringList& lines = DefaultTemplateLines();
        for (int r = 0; r < lines.size(); ++r) {
            const FieldBuffer f = SplitFields(lines[r], Template::FileOnly, u';');
            table.SetCell(Template::RowNumber, r + 1, QString::number(r + 1));
            for (int c = Template::TemplateKind; c <= Template::FileOnly; ++c)
                table.SetCell(c, r + 1, f[c - 1]);
        }
    }
}

int FindProjectRowIn(const Table& projects, const QString& text) {
    for (int r = 0; r < projects.RowCount(); ++r) {
        const QString number = projects.Cell(Project::Number, r);
        if (!number.isEmpty() && text.contains(number)) return r;
    }
    return 0;
}

const QStringList& DefaultTemplateLines() {
    static const QStringList lines = {
        QStringLiteral("Termíny;Financování;Finanční plán;Získání fin. Prostředků;;;;;;;;;;;;"),
        QStringLiteral("Termíny;Financování;Příprava dotace;Podpis smlouvy ;;;;;360;;;;;;;"),
        QStringLiteral("Termíny;Financování;Získání úvěru;Podpis smlouvy ;;;;;360;;;;;;;"),
        QStringLiteral("Termíny;Výber dodavatele;PD/TDI ;Podpis smlouvy ;;;;;90;;;;;;;"),
        QStringLiteral("Termíny;Výber dodavatele;Stavba;Podpis smlouvy ;;;;;90;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Průběh stavby;;;;;30;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Stavební povolení;;;;;90;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Výstavba;;;;;30;;;;;;;"),
        QStringLiteral("Termíny;Realizace;Stavba;Kolaudace;;;;;2;;;;;;;"),
        QStringLiteral("Termíny;Etapa_#_1;;Projednání URR;;;;;30;;;;;;;"),
        QStringLiteral("Termíny;Etapa_#_2;;Projednání URR;;;;;14;;;;;;;"),
        QStringLiteral("Termíny;Monitoring_#_1;;Projednání URR;;;;;450;;;;;;;"),
        QStringLiteral("Termíny;Změnové řízení_#_1;;Schválení VRR;;;;;30;;;;;;;"),
        QStringLiteral("Finance;Etapa_#_1;;Plán;;;;;0;;;;;etapa;;"),
        QStringLiteral("Finance;Etapa_#_2;;Plán;;;;;0;;;;;etapa;;"),
        QStringLiteral("Finance;Platba_Faktura_1 ;;Plnění;;;;;0;;;;;fakturace;;"),
    };
    return lines;
}
