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

int Table::ColumnWidth(int column) const {
    const int w = column >= 0 && column < widths_.size() ? widths_[column] : 0;
    return w > 0 ? w : defaultWidth_;
}

void Table::Select(int column, int row) {
    selectedColumn_ = column;
    selectedRow_ = row;
}

void Table::SetLayout(int columns, const QList<int>& widths, int defaultWidth, int fixedColumns,
                      int fixedRows, QColor header, QColor fixedColumn, int height) {
    columnCount_ = columns;
    widths_ = widths;
    defaultWidth_ = defaultWidth;
    fixedColumns_ = fixedColumns;
    fixedRows_ = fixedRows;
    headerColor_ = header;
    fixedColumnColor_ = fixedColumn;
    height_ = height;
}

namespace {

struct ColumnDef {
    const char16_t* header;
    int width;  // 0: the table's default width
};

const ColumnDef kProjectColumns[] = {
    {u"Akce ORVA", 20},
    {u"Číslo akce", 60},
    {u"Název akce", 130},
    {u"Manager projektu", 150},
    {u"Technik projektu", 150},
    {u"Opatření", 80},
    {u"Aktivity", 80},
    {u"Dokument TXT", 100},
    {u"Dokument JPG", 100},
    {u"Poznámka", 0},
    {u"Dotace/ERDF", 0},
    {u"Plán celk.způs. Výdajů", 90},
    {u"Dotace", 90},
    {u"Datum od", 0},
    {u"Datum do", 70},
};

const ColumnDef kDeadlineColumns[] = {
    {u"Akce číslo", 20},    {u"Akce číslo", 60},    {u"Činnost", 130},  {u"Zařazení", 150},
    {u"Proces", 100},       {u"Plán od", 70},       {u"Plán do", 70},   {u"Skutečnost od", 70},
    {u"Skutečnost do", 70}, {u"Délka dnů", 55},     {u"Real od", 80},   {u"Real do", 80},
    {u"ID-vnitřní", 200},   {u"Info", 120},         {u"Poznámka", 150}, {u"", 150},
    {u"Dokument TXT", 100}, {u"Dokument JPG", 100},
};

const ColumnDef kFinanceColumns[] = {
    {u"Akce", 20},
    {u"Akce číslo", 60},
    {u"Činnost", 130},
    {u"Zařazení", 150},
    {u"Proces", 100},
    {u"Poč.Et/Dor.Fa", 70},
    {u"Kon.Et/Splat.Fa", 70},
    {u" - Et./Schvál.Fa", 90},
    {u"Kon.říz.Et./Zaplac.Fa", 90},
    {u"Způs.Uznané URR/-", 90},
    {u"Nezpůsobilé výdaje", 90},
    {u"Celkove výdaje plán ", 90},  // followed by the configured VAT wording
    {u"ID-vnitřní", 200},
    {u"Info", 120},
    {u"Poznámka", 150},
    {u"", 150},
    {u"Dokument TXT", 100},
    {u"Dokument JPG", 100},
};

const ColumnDef kTemplateColumns[] = {
    {u"", 20},
    {u"Akce číslo", 60},
    {u"Činnost", 130},
    {u"Zařazení", 150},
    {u"Upřesnění", 100},
    {u"Plán od", 70},
    {u"Plán DO", 70},
    {u"Skutečnost OD", 70},
    {u"Skutečnost DO", 70},
    {u"Trvání dny", 55},
    {u"Realný termín OD", 80},
    {u"Realný termín DO", 80},
    {u"ID-vnitřní", 120},
    {u"Info", 150},
    {u"Poznámka", 150},
    {u"Poznámka 2", 150},
    {u"Dokument TXT", 150},
};

const ColumnDef kResultColumns[] = {
    {u"", 21},
    {u"Řa.Proj.", 26},
    {u"Projekt", 65},
    {u"Objekt", 96},
    {u"Plán OD", 65},
    {u"Plán DO", 65},
    {u"Plán SR", 80},
    {u"Plán ERDF", 80},
    {u"Plán Vlastní", 80},
    {u"Plán Dotace", 80},
    {u"-", 80},
    {u"Plán Způsobilé", 80},
    {u"Plán Nezpůsobilé", 86},
    {u"Plán Výdaje Cekem", 86},
    {u"SR", 80},
    {u"ERDF", 80},
    {u"Vlastní", 80},
    {u"Dotace", 80},
    {u"Způsobilé URR", 80},
    {u"Způsobilé", 80},
    {u"Nezpůsobilé", 86},
    {u"Výdaje Celkem", 86},
    {u"poč.", 16},
    {u"Žlutá Výdaje Celkem", 86},
    {u"Žlutá Dotace", 86},
    {u"Všechny faktury", 86},
    {u"% Dotací", 0},
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

template <size_t N>
QList<ColumnDef> Columns(const ColumnDef (&defs)[N]) {
    return QList<ColumnDef>(std::begin(defs), std::end(defs));
}

QList<ColumnDef> ColumnsOf(int kind) {
    switch (kind) {
        case kProjectTable:
            return Columns(kProjectColumns);
        case kDeadlineTable:
            return Columns(kDeadlineColumns);
        case kFinanceTable:
            return Columns(kFinanceColumns);
        case kTemplateTable:
        case kTemplateTableWithDefaults:
            return Columns(kTemplateColumns);
        case kResultsTable:
            return Columns(kResultColumns);
        default:
            return {};
    }
}

// Colours of the header rows; the deadline table's is the system's button face.
const QColor kButtonFace(0xF0, 0xF0, 0xF0);

}  // namespace

QStringList TableHeaders(int kind, const QString& financeVatText) {
    QStringList headers;
    for (const ColumnDef& c : ColumnsOf(kind)) headers << QString::fromUtf16(c.header);
    if (kind == kFinanceTable && headers.size() > 11) headers[11] += financeVatText;
    return headers;
}

void SetupTable(Table& table, int kind, const QString& financeVatText) {
    const QList<ColumnDef> columns = ColumnsOf(kind);
    if (columns.isEmpty()) return;
    QList<int> widths;
    for (const ColumnDef& c : columns) widths << c.width;
    int defaultWidth = 64;
    QColor header, fixedColumn;
    int fixedColumns = 1, fixedRows = 1, rows = 2;
    switch (kind) {
        case kProjectTable:
            header = QColor(Qt::yellow);
            break;
        case kDeadlineTable:
            defaultWidth = 70;
            header = kButtonFace;
            fixedColumn = kButtonFace;
            break;
        case kFinanceTable:
            defaultWidth = 70;
            header = QColor(0x00, 0xFF, 0x00);  // lime
            break;
        case kResultsTable:
            defaultWidth = 72;
            header = QColor(Qt::cyan);  // aqua
            fixedColumns = 4;
            fixedRows = 2;
            rows = 3;
            break;
        default:
            header = QColor(Qt::magenta);  // fuchsia
    }
    table.SetLayout(int(columns.size()), widths, defaultWidth, fixedColumns, fixedRows, header,
                    fixedColumn, 120);
    if (kind == kResultsTable) {
        const int oldRows = table.RowCount(), cols = table.ColumnCount();
        for (int r = 1; r <= oldRows; ++r)
            for (int c = 1; c <= cols; ++c) table.SetCell(c, r, QString());
    }
    table.SetRowCount(rows);
    const QStringList headers = TableHeaders(kind, financeVatText);
    for (int c = 0; c < headers.size(); ++c) table.SetCell(c, 0, headers[c]);
    if (kind == kProjectTable) {
        for (int c = 0; c < kSampleProject.size(); ++c) table.SetCell(c + 1, 1, kSampleProject[c]);
    } else if (kind == kTemplateTableWithDefaults) {
        const QStringList& lines = DefaultTemplateLines();
        for (int r = 0; r < lines.size(); ++r) {
            const FieldBuffer f = SplitFields(lines[r], Template::Count, u';');
            table.SetCell(Template::RowNumber, r + 1, QString::number(r + 1));
            for (int c = 0; c < Template::Count; ++c) table.SetCell(c + 1, r + 1, f[c]);
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
