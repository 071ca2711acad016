#include "Sledovani.h"

#include <QEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>

#include "TableModel.h"
#include "Workspace.h"

namespace {

constexpr double kGridPointSize = 8.0;

}  // namespace

Sledovani::Sledovani(Workspace& ws, QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      grids_{{
          {kProjectTable, kFlagProjectTable, true},
          {kTemplateTable, kFlagTemplateTable, false},
          {kDeadlineTable, kFlagDeadlineTable, true},
          {kFinanceTable, kFlagFinanceTable, true},
          {kResultsTable, kFlagResultsTable, false},
      }} {
    setWindowTitle(QStringLiteral("Sledování ORVA"));
    CreateMenus();

    // The tables are placed by LayoutTables, not by a layout: their heights
    // follow the row counts and the share of the panel.
    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("TablePanel"));
    setCentralWidget(panel_);
    panel_->installEventFilter(this);

    const QString names[] = {QStringLiteral("SG_Akce"), QStringLiteral("SG_Ukony"),
                             QStringLiteral("SG_Prubeh"), QStringLiteral("SG_Finance"),
                             QStringLiteral("SG_PrProj")};
    for (size_t i = 0; i < grids_.size(); ++i)
        grids_[i].view = CreateGrid(*ws_.TableOf(grids_[i].kind), names[i]);

    // A table that gained or lost rows needs a new share of the panel.
    connect(&ws_, &Workspace::tableChanged, this, [this](int kind) {
        if (kind == kProjectTable || kind == kDeadlineTable || kind == kFinanceTable)
            LayoutTables();
    });

    const QRect screenArea = screen()->availableGeometry();
    move(screenArea.topLeft());
    resize(screenArea.width(), ws_.config.Flag(kFlagCompactWindow) ? 77 : 300);
    LayoutTables();
}

void Sledovani::CreateMenus() {
    // Their commands come with the editing, diary and finance windows; until
    // then the menus are there but cannot be opened.
    const QString titles[] = {QStringLiteral("&Soubory"),  QStringLiteral("Data"),
                              QStringLiteral("&Zobrazit"), QStringLiteral("Obsluha"),
                              QStringLiteral("Poznámky"),  QStringLiteral("Autor")};
    for (const QString& title : titles) menuBar()->addMenu(title)->menuAction()->setEnabled(false);
}

QTableView* Sledovani::CreateGrid(Table& table, const QString& name) {
    auto* view = new QTableView(panel_);
    view->setObjectName(name);
    auto* model = new TableModel(ws_, table, view);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setWordWrap(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The column widths of the tables were chosen for an 8-point font: a date
    // fills a 70-pixel column.
    QFont font = view->font();
    if (font.pointSizeF() > kGridPointSize) font.setPointSizeF(kGridPointSize);
    view->setFont(font);

    // Fixed row heights keep a view of ten thousand rows as quick as one of ten.
    QHeaderView* rows = view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setMinimumWidth(table.ColumnWidth(0));

    QHeaderView* columns = view->horizontalHeader();
    columns->setMinimumSectionSize(8);  // some columns are only 16 pixels wide
    columns->setHighlightSections(false);
    columns->setFixedHeight(kRowHeight + 2);

    // Sections that a reset adds come with the default width.
    connect(model, &QAbstractItemModel::modelReset, view,
            [view, &table] { ApplyColumnWidths(view, table); });
    ApplyColumnWidths(view, table);
    return view;
}

void Sledovani::ApplyColumnWidths(QTableView* view, const Table& table) {
    QHeaderView* header = view->horizontalHeader();
    for (int c = 0; c < header->count(); ++c) header->resizeSection(c, table.ColumnWidth(c + 1));
}

QTableView* Sledovani::Grid(int kind) const {
    if (kind == kTemplateTableWithDefaults) kind = kTemplateTable;
    for (const GridSlot& g : grids_)
        if (g.kind == kind) return g.view;
    return nullptr;
}

void Sledovani::LayoutTables() {
    int visible = 0;
    for (const GridSlot& g : grids_) visible += ws_.config.Flag(g.flag) ? 1 : 0;
    const int panelHeight = panel_->height();
    const int share = qRound(double(panelHeight) / qMax(1, visible));

    int top = 0;
    for (const GridSlot& g : grids_) {
        const bool shown = ws_.config.Flag(g.flag);
        g.view->setHidden(!shown);
        if (!shown) continue;
        int height = share;
        if (g.kind == kResultsTable) {
            height = qMax(0, panelHeight - top);
        } else if (g.shrinks) {
            const int rowCount = ws_.TableOf(g.kind)->RowCount();
            if (share > (rowCount + 1) * (kRowHeight + 3)) height = (rowCount + 1) * kRowHeight + 8;
        }
        g.view->setGeometry(0, top, panel_->width(), height);
        top += height;
    }
}

bool Sledovani::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_ && event->type() == QEvent::Resize) LayoutTables();
    return QMainWindow::eventFilter(watched, event);
}
