#include "Graf.h"

#include <QDateEdit>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

#include "Clock.h"
#include "Workspace.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "diary/DayRecord.h"
#include "diary/Minutes.h"
#include "finance/FinanceOverview.h"
#include "main/ErrorHandler.h"
#include "shell/Access.h"
#include "shell/ChangeLog.h"

namespace {

const QColor kButtonFace(0xF0, 0xF0, 0xF0);
const QColor kGridLine(128, 128, 128);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kGreen(0x00, 0x80, 0x00);
const QString kBlanks(27, u' ');

bool Weekend(double day) {
    return DateFromDay(day).dayOfWeek() >= Qt::Saturday;
}

// One of the three pictures: it only hands its paint and pointer events over.
class PictureWidget : public QWidget {
  public:
    PictureWidget(Graf* graf, Graf::Picture role, const QString& name)
        : QWidget(graf), graf_(graf), role_(role) {
        setObjectName(name);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent* e) override { graf_->PaintPicture(role_, this, e->rect()); }
    void mouseMoveEvent(QMouseEvent* e) override {
        graf_->PointerMoved(role_, e->position().toPoint());
    }
    void mousePressEvent(QMouseEvent* e) override {
        graf_->PointerMoved(role_, e->position().toPoint());
        graf_->PointerPressed(role_, e->position().toPoint(), e->button());
    }

  private:
    Graf* graf_;
    Graf::Picture role_;
};

QToolButton* NavButton(QWidget* parent, const QString& name, const QString& text,
                       const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setFixedHeight(Graf::kTopBarHeight);
    return b;
}

// A picture's image is made again only when its size changed: a tall
// calendar's image is tens of megabytes.
void Reuse(QImage& image, QSize size) {
    size = size.expandedTo(QSize(1, 1));
    if (image.size() != size) image = QImage(size, QImage::Format_RGB32);
}

// Text drawn with its top left corner at (x, y), as the pictures place texts.
void TextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, 4000, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

Graf::Graf(Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Window), ws_(ws) {
    setObjectName(QStringLiteral("Graf"));
    setWindowTitle(QStringLiteral("Deník - Manažerské sledování"));
    view_.cellWidth = qMax(1, ws_.config.SirkaSloupce);
    view_.cellHeight = qMax(1, ws_.config.VyskaRadku);
    view_.first = TodayFirst(ws_.StartMoment > 0 ? ws_.StartMoment : NowDay());

    auto* top = new QWidget(this);
    top->setFixedHeight(kTopBarHeight);
    auto* bar = new QHBoxLayout(top);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(1);
    auto* monthBack = NavButton(top, QStringLiteral("MesicZpet"), QStringLiteral("<<"), {});
    auto* back = NavButton(top, QStringLiteral("DnyZpet"), QStringLiteral("<"),
                           QStringLiteral("Posune zobrazení deníku o 10 dní zpět"));
    auto* today = NavButton(top, QStringLiteral("Dnes"), QStringLiteral("o"),
                            QStringLiteral("Nastaví zobrazení deníku na aktuální den"));
    auto* forward = NavButton(top, QStringLiteral("DnyVpred"), QStringLiteral(">"),
                              QStringLiteral("Posune zobrazení deníku o 10 dní vpřed"));
    auto* monthForward = NavButton(top, QStringLiteral("MesicVpred"), QStringLiteral(">>"), {});
    firstDay_ = new QDateEdit(Clock::Today(), top);
    firstDay_->setObjectName(QStringLiteral("DatumOd"));
    firstDay_->setCalendarPopup(true);
    firstDay_->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    coordinates_ = new QLabel(top);
    coordinates_->setObjectName(QStringLiteral("Souradnice"));
    coordinates_->setToolTip(QStringLiteral("Souřadnice a indexy v deníku"));
    coordinates_->setMinimumWidth(200);
    auto* height = NavButton(top, QStringLiteral("Vyska"), QStringLiteral("-"), {});
    for (QWidget* w : {static_cast<QWidget*>(monthBack), static_cast<QWidget*>(back),
                       static_cast<QWidget*>(today), static_cast<QWidget*>(forward),
                       static_cast<QWidget*>(monthForward), static_cast<QWidget*>(firstDay_),
                       static_cast<QWidget*>(coordinates_)})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(height);

    headerPicture_ = new PictureWidget(this, Picture::Header, QStringLiteral("PanelDni"));
    headerPicture_->setFixedHeight(kHeaderHeight);
    headerPicture_->setToolTip(
        QStringLiteral("Panel dní (provým tlačítkem myši vyvolá formulář dne)"));
    listPicture_ = new PictureWidget(this, Picture::List, QStringLiteral("SeznamAkci"));
    listPicture_->setFixedWidth(kListWidth);
    gridPicture_ = new PictureWidget(this, Picture::Grid, QStringLiteral("Mrizka"));
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("Posuvnik"));
    scroll_->setPageStep(1);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(listPicture_);
    body->addWidget(gridPicture_, 1);
    body->addWidget(scroll_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(headerPicture_);
    layout->addLayout(body, 1);

    // The day overview panel, placed over the pictures when a day is right-clicked.
    overview_ = new QFrame(this);
    overview_->setObjectName(QStringLiteral("DenniPrehled"));
    overview_->setFrameShape(QFrame::Panel);
    overview_->setFrameShadow(QFrame::Raised);
    overview_->setAutoFillBackground(true);
    auto* panel = new QVBoxLayout(overview_);
    overviewCaption_ = new QLabel(QStringLiteral("Dení přehled"), overview_);
    overviewCaption_->setStyleSheet(QStringLiteral("color: #008080; font-weight: bold"));
    auto* countRow = new QHBoxLayout;
    auto* countCaption = new QLabel(QStringLiteral("Počet akcí v běhu"), overview_);
    countCaption->setToolTip(QStringLiteral("Počet akcí u které jsou v běhu podle data"));
    projectCount_ = new QLabel(overview_);
    projectCount_->setObjectName(QStringLiteral("PocetAkci"));
    countRow->addWidget(countCaption);
    countRow->addWidget(projectCount_);
    print_ = new QPushButton(QStringLiteral("Tisk zápisu "), overview_);
    print_->setObjectName(QStringLiteral("TiskZapisu"));
    auto* deleteColumn = new QPushButton(QStringLiteral("Smazat Sloupec"), overview_);
    deleteColumn->setObjectName(QStringLiteral("SmazatSloupec"));
    deleteColumn->setStyleSheet(QStringLiteral("color: #FF0000"));
    deleteColumn->setToolTip(
        QStringLiteral("Smaže příslušný sloupec denníku ( všechnyakce v daném dni)"));
    auto* cancel = new QPushButton(QStringLiteral("Storno"), overview_);
    cancel->setObjectName(QStringLiteral("Storno"));
    cancel->setToolTip(QStringLiteral("Ukončí formulář"));
    panel->addWidget(overviewCaption_);
    panel->addLayout(countRow);
    panel->addWidget(print_);
    panel->addWidget(deleteColumn);
    panel->addWidget(cancel);
    overview_->adjustSize();
    overview_->hide();

    auto navigate = [this](auto compute) {
        return [this, compute] {
            ws_.ResetInactivity();
            SetFirstDay(compute());
        };
    };
    connect(monthBack, &QToolButton::clicked, this,
            navigate([this] { return MonthBack(view_.first); }));
    connect(back, &QToolButton::clicked, this,
            navigate([this] { return ScreenBack(view_.first, view_.columns); }));
    connect(today, &QToolButton::clicked, this, navigate([this] {
                return TodayFirst(ws_.StartMoment > 0 ? ws_.StartMoment : NowDay());
            }));
    connect(forward, &QToolButton::clicked, this,
            navigate([this] { return ScreenForward(view_.first, view_.columns); }));
    connect(monthForward, &QToolButton::clicked, this,
            navigate([this] { return MonthForward(view_.first, view_.columns); }));
    connect(firstDay_, &QDateEdit::editingFinished, this,
            [this] { SetFirstDay(DayFromDate(firstDay_->date())); });
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        view_.offset = qBound(0, value, qMax(0, ws_.Projects.RowCount() - 2));
        RefreshCalendar();
    });
    connect(height, &QToolButton::clicked, this, &Graf::ToggleHeight);
    connect(print_, &QPushButton::clicked, this, &Graf::PrintMinutes);
    connect(deleteColumn, &QPushButton::clicked, this, &Graf::DeleteColumn);
    connect(cancel, &QPushButton::clicked, this, [this] {
        HideDayOverview();
        RefreshCalendar();
    });
    connect(&ws_, &Workspace::tableChanged, this, [this](int kind) {
        if (isVisible() && kind == kProjectTable) RefreshCalendar();
    });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().width(),
               qMax(200, screen->availableGeometry().height() - 108));
}

void Graf::SetFirstDay(double first) {
    view_.first = first;
    RefreshCalendar();
}

void Graf::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    HideDayOverview();
    RefreshCalendar();
}

void Graf::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RefreshCalendar();
}

void Graf::RefreshCalendar() {
    view_.cellWidth = qMax(1, ws_.config.SirkaSloupce);
    view_.cellHeight = qMax(1, ws_.config.VyskaRadku);
    {
        const QSignalBlocker quiet(scroll_);
        scroll_->setMaximum(qMax(0, ws_.Projects.RowCount() - 2));
        view_.offset = qMin(view_.offset, scroll_->maximum());
        scroll_->setValue(view_.offset);
    }
    HideDayOverview();
    DrawFrame();
    FillCalendarCells(0, 0);
    MarkCurrentCell();
}

void Graf::DrawFrame() {
    const QSize gridSize = gridPicture_->size().expandedTo(QSize(1, 1));
    view_.columns = DayColumns(gridSize.width(), view_.cellWidth);
    const int W = view_.cellWidth;
    const int H = view_.cellHeight;
    const Table& projects = ws_.Projects;

    Reuse(list_, listPicture_->size());
    list_.fill(kButtonFace);
    QPainter lp(&list_);
    QFont bold = lp.font();
    bold.setBold(true);
    lp.setFont(bold);
    const int shown = projects.RowCount() - 1 - view_.offset;
    for (int v = 1; v <= shown; ++v) {
        const int row = view_.offset + v;
        const int y = (v - 1) * H + 2;
        if (y > list_.height()) break;
        const QString number = projects.Cell(Project::Number, row);
        lp.setPen(ProjectColour(number));
        TextAt(lp, 1, y, QString::number(row));
        TextAt(lp, 21, y, number);
        TextAt(lp, 55, y, projects.Cell(Project::Name, row));
        TextAt(lp, 55, (v - 1) * H + 20, projects.Cell(Project::Manager, row));
    }
    lp.end();

    Reuse(grid_, gridSize);
    grid_.fill(Qt::white);
    // One-pixel lines as filled rectangles in one call: far cheaper than
    // drawing hundreds of long lines with a pen.
    QList<QRect> lines;
    for (int v = 1; v <= shown && (v - 1) * H <= grid_.height(); ++v)
        lines << QRect(0, v * H, grid_.width(), 1);
    for (int i = 1; i <= view_.columns; ++i) lines << QRect(i * W, 0, 1, grid_.height());
    QPainter gp(&grid_);
    gp.setPen(Qt::NoPen);
    gp.setBrush(kGridLine);
    gp.drawRects(lines);
    gp.end();

    Reuse(header_, headerPicture_->size());
    header_.fill(kButtonFace);
    QPainter hp(&header_);
    // A date fits the default column width only in a small font.
    QFont small = hp.font();
    small.setPixelSize(11);
    hp.setFont(small);
    const int startDay = DateFromDay(ws_.StartMoment > 0 ? ws_.StartMoment : NowDay()).day();
    for (int i = 1; i <= view_.columns; ++i) {
        const double day = view_.Day(i);
        const int x = (i - 1) * W + kListWidth;
        hp.setPen(Weekend(day) ? kRed : kBlue);
        TextAt(hp, x, 5, view_.ColumnDate(i));
        hp.setPen(QPen(DateFromDay(day).day() == startDay ? kGreen : kButtonFace, 3));
        hp.drawLine(x, kHeaderHeight - 2, i * W + kListWidth, kHeaderHeight - 2);
    }
}

int Graf::FillCalendarCells(int p, int i) {
    const int last = ws_.Projects.RowCount() - 1;
    const int visibleRows = view_.cellHeight > 0 ? grid_.height() / view_.cellHeight + 1 : 0;
    const int lastShown = qMin(last, view_.offset + visibleRows);
    const bool text = ws_.config.Flag(kFlagCellText);
    if (p == 0)
        data_.Compute(ws_, view_, view_.offset + 1, lastShown, text);
    else
        data_.ComputeRow(ws_, view_, p, text);
    QList<QPoint> cells;  // (column, project row)
    for (int a = qMax(p, view_.offset + 1); a <= (p == 0 ? lastShown : qMin(p, last)); ++a)
        for (int c = 1; c <= view_.columns; ++c)
            if (i == 0 || c == i) cells << QPoint(c, a);
    QPainter painter(&grid_);
    // After a full frame every cell is white already; a single cell may carry
    // an old frame and is painted whole.
    DrawCells(painter, cells, p > 0, p == 0 && i == 0);
    painter.end();
    gridPicture_->update();
    return cells.isEmpty() ? 0
                           : int(data_.Cell(cells.last().y(), cells.last().x()).problems.size());
}

// The cells are drawn in layers, each layer's shapes of one colour in one
// call: a full redraw has thousands of cells.
void Graf::DrawCells(QPainter& painter, const QList<QPoint>& cells, bool single, bool onWhite) {
    const int W = view_.cellWidth;
    const int H = view_.cellHeight;
    const bool highlight = ws_.config.Flag(kFlagHighlightLate);
    const bool chart = single || ws_.config.Flag(kFlagDiaryChart);
    const bool text = ws_.config.Flag(kFlagCellText);
    // Every shape is a filled rectangle (a one-pixel line is one pixel high
    // or wide), gathered by colour and filled in one call per colour.
    for (auto& [colour, rects] : fills_) rects.clear();
    QList<QRect>* black = &fills_[QColor(Qt::black).rgb()];
    QList<QRect>& records = records_;
    records.clear();
    QList<int> weekend(view_.columns + 1, 0);
    for (int c = 1; c <= view_.columns; ++c) weekend[c] = Weekend(view_.Day(c)) ? 1 : 0;
    auto frame = [](QList<QRect>& to, int x, int y, int w, int h) {
        to << QRect(x, y, w + 1, 1) << QRect(x, y + h, w + 1, 1) << QRect(x, y, 1, h + 1)
           << QRect(x + w, y, 1, h + 1);
    };
    for (const QPoint& at : cells) {
        const int column = at.x();
        const int v = at.y() - view_.offset;
        const int xr = column * W;
        const int yb = v * H;
        const CalendarCell& cell = data_.Cell(at.y(), column);
        const QRect box((column - 1) * W, (v - 1) * H, W, H);
        if (highlight) {
            QColor fill = Qt::white;
            if (weekend[column]) fill = kButtonFace;
            if (view_.Day(column) == ws_.StartMoment) fill = QColor(0xFF, 0xFF, 0x00);
            if (!onWhite || fill != Qt::white)
                fills_[fill.rgb()] << QRect(box.left() + 1, box.top() + 1, W - 1, H - 1);
            // On a full redraw the cell borders are drawn below as whole lines.
            if (!onWhite) frame(*black, box.left(), box.top(), W, H);
        }
        if (chart) {
            // The lines stack upwards from the square's bottom; a run of lines
            // of one colour is one rectangle (from the 15th on they overlap).
            QColor colour = Qt::black;
            QList<QRect>* to = nullptr;
            for (int k = 0; k < cell.problems.size(); ++k) {
                const QColor next = ProblemColour(cell.problems[k], colour);
                const int y = yb - 3 - qMin(k + 1, 15);
                if (to && next == colour && to->last().top() == y + 1) {
                    to->last().setTop(y);
                } else if (!to || next != colour || to->last().top() != y) {
                    to = &fills_[next.rgb()];
                    to->append(QRect(xr - 18, y, 16, 1));
                }
                colour = next;
            }
            frame(*black, xr - 18, yb - 18, 15, 15);
        }
        if (text && cell.hasRecord) records << box;
    }
    if (highlight && onWhite && !cells.isEmpty()) {
        const int rows = cells.last().y() - view_.offset;
        for (int c = 0; c <= view_.columns; ++c) *black << QRect(c * W, 0, 1, rows * H + 1);
        for (int v = 0; v <= rows; ++v) *black << QRect(0, v * H, view_.columns * W + 1, 1);
    }
    // The three-pixel record frame as four bars centred on the cell's edges.
    QList<QRect>& blue = fills_[kBlue.rgb()];
    for (const QRect& b : records) {
        blue << QRect(b.left() - 1, b.top() - 1, W + 3, 3)
             << QRect(b.left() - 1, b.top() + H - 1, W + 3, 3)
             << QRect(b.left() - 1, b.top() - 1, 3, H + 3)
             << QRect(b.left() + W - 1, b.top() - 1, 3, H + 3);
    }
    // Backgrounds first, then the lines over them.
    painter.setPen(Qt::NoPen);
    const QRgb order[] = {QColor(Qt::white).rgb(), kButtonFace.rgb(),
                          QColor(0xFF, 0xFF, 0x00).rgb()};
    for (const QRgb colour : order) {
        if (const auto it = fills_.find(colour); it != fills_.end() && !it->second.isEmpty()) {
            painter.setBrush(QColor::fromRgb(colour));
            painter.drawRects(it->second);
        }
    }
    for (const auto& [colour, rects] : fills_) {
        if (rects.isEmpty() ||
            std::find(std::begin(order), std::end(order), colour) != std::end(order))
            continue;
        painter.setBrush(QColor::fromRgb(colour));
        painter.drawRects(rects);
    }
    painter.setBrush(Qt::NoBrush);
    for (const QRect& box : records) {
        const CalendarCell& cell = data_.Cell(box.top() / H + 1 + view_.offset, box.left() / W + 1);
        const int x0 = box.left();
        const int y0 = box.top();
        const int problems = int(cell.problems.size());
        DrawText(painter, x0 + 5, y0 + 2, QString::number(cell.taskCount),
                 cell.taskCount < 1 ? kBlue
                 : cell.overdue     ? kRed
                                    : QColor(Qt::black));
        DrawText(painter, x0 + 26, y0 + 2, QString::number(problems), problems < 1 ? kBlue : kRed);
        DrawText(painter, x0 + 47, y0 + 2, QString::number(cell.payments),
                 cell.payments < 1 ? kBlue : kRed);
        DrawText(painter, x0 + 2, y0 + 20, cell.shortMessage, Qt::black);
    }
}

void Graf::DrawText(QPainter& painter, int x, int y, const QString& text, const QColor& colour) {
    // Each text is rendered once per colour and then only copied: the same
    // numbers and messages come back in many cells.
    const QString key = text + u'\x1f' + QString::number(colour.rgb(), 16);
    auto it = texts_.find(key);
    if (it == texts_.end()) {
        const QFontMetrics metrics(painter.font());
        QImage image(qMax(1, metrics.horizontalAdvance(text)) + 2, metrics.height(),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setFont(painter.font());
        p.setPen(colour);
        TextAt(p, 0, 0, text);
        p.end();
        it = texts_.insert(key, image);
    }
    painter.drawImage(x, y, *it);
}

void Graf::UpdateMarks() {
    const int W = view_.cellWidth;
    const int H = view_.cellHeight;
    const int xr = currentDay_ * W;
    const int yb = currentRow_ * H;
    gridPicture_->update(QRect(xr - W - 2, yb - H - 2, W + 5, H + 5));
    listPicture_->update(QRect(0, yb - 2, listPicture_->width(), 5));
    headerPicture_->update(QRect(xr - W + kListWidth - 2, 0, W + 5, 5));
}

void Graf::MarkCurrentCell() {
    gridPicture_->update();
    listPicture_->update();
    headerPicture_->update();
}

void Graf::PaintPicture(Picture picture, QWidget* target, const QRect& area) {
    QPainter p(target);
    p.setClipRect(area);
    const int W = view_.cellWidth;
    const int H = view_.cellHeight;
    const int xr = currentDay_ * W;
    const int yb = currentRow_ * H;
    switch (picture) {
        case Picture::Grid:
            p.drawImage(area, grid_, area);
            if (currentDay_ > 0 && currentRow_ > 0) {
                // The pointer's outline inverts what lies below it, so it shows on any colour.
                p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
                p.setPen(QPen(kGreen, 3));
                p.drawPolyline(
                    QPolygon{{xr, yb}, {xr, yb - H}, {xr - W, yb - H}, {xr - W, yb}, {xr, yb}});
            }
            break;
        case Picture::List:
            p.drawImage(area, list_, area);
            if (currentRow_ > 0) {
                p.setPen(QPen(kRed, 3));
                p.drawLine(2, yb, target->width() - 2, yb);
            }
            break;
        case Picture::Header:
            p.drawImage(area, header_, area);
            if (currentDay_ > 0) {
                p.setPen(QPen(kRed, 3));
                p.drawLine(xr - W + kListWidth, 2, xr + kListWidth, 2);
            }
            break;
    }
}

void Graf::PointerMoved(Picture picture, QPoint position) {
    if (overview_->isVisible()) return;
    pointer_ = position;
    UpdateMarks();  // where the old marks are
    const int W = view_.cellWidth;
    const int H = view_.cellHeight;
    switch (picture) {
        case Picture::Grid:
            currentDay_ = CellIndex(position.x(), W);
            currentRow_ = CellIndex(position.y(), H);
            ws_.ResetInactivity();
            break;
        case Picture::List:
            currentDay_ = 0;
            currentRow_ = CellIndex(position.y(), H);
            break;
        case Picture::Header:
            currentDay_ = CellIndex(position.x() - kListWidth, W);
            currentRow_ = 0;
            break;
    }
    if (currentRow_ <= 0) currentRow_ = 1;
    coordinates_->setText(QString::number(currentDay_) + u'/' + QString::number(currentRow_) +
                          QStringLiteral("   -   ") + QString::number(position.x()) + u'/' +
                          QString::number(position.y()));
    UpdateMarks();
}

void Graf::PointerPressed(Picture picture, QPoint, Qt::MouseButton button) {
    ws_.ResetInactivity();
    if (picture == Picture::Header) {
        if (button == Qt::RightButton && currentDay_ > 0) ShowDayOverview();
        return;
    }
    RunCommand([&] { ChooseCell(picture, button); }, this);
}

void Graf::ChooseCell(Picture picture, Qt::MouseButton button) {
    if (picture == Picture::List && currentDay_ <= 0)
        currentDay_ = qMax(1, ws_.Diary.Day > 0 ? view_.ColumnOf(ws_.Diary.Day) : 1);
    const bool onProject =
        currentRow_ > 0 && currentRow_ + view_.offset <= ws_.Projects.RowCount() - 1;
    bool open = false;
    if (onProject) {
        const bool right = button == Qt::RightButton;
        // On the grid the right button opens the day entry for one project; on
        // the list it shows the group.
        const bool one = picture == Picture::Grid ? right : !right;
        SetOverviewSet(ws_, one ? OverviewSet::One : OverviewSet::Group);
        open = picture == Picture::Grid && right;
    } else {
        currentRow_ = 1;
        SetOverviewSet(ws_, OverviewSet::All);
    }
    const int row = currentRow_ + view_.offset;
    ws_.Current().SetProjectRow(row);
    ws_.Diary.Day = std::floor(view_.Day(currentDay_));
    ws_.Diary.Row = currentRow_;
    ComputeFinanceOverview(ws_);
    if (picture == Picture::List && button == Qt::RightButton) emit financeOverviewWanted();
    emit cellChosen(currentDay_, std::floor(view_.Day(currentDay_)), onProject ? row : 0, open);
}

void Graf::ShowDayOverview() {
    overviewColumn_ = currentDay_;
    const QString date = view_.ColumnDate(overviewColumn_);
    overviewCaption_->setText(QStringLiteral("Dení přehled   ") + date);
    print_->setText(QStringLiteral("Tisk zápisu ze dne   ") + date);
    projectCount_->setText(QString::number(ws_.Projects.RowCount() - 1));
    overview_->adjustSize();
    const int right = gridPicture_->width() + kListWidth;
    int left = view_.cellWidth * overviewColumn_;
    if (left + overview_->width() > right) left = right - overview_->width();
    overview_->move(qMax(0, left), headerPicture_->geometry().bottom() + 1);
    overview_->show();
    overview_->raise();
}

void Graf::HideDayOverview() {
    overview_->hide();
}

void Graf::PrintMinutes() {
    const double day = std::floor(view_.Day(overviewColumn_));
    RunCommand([&] { ComposeMinutes(ws_, day); }, this);
}

void Graf::DeleteColumn() {
    const double day = std::floor(view_.Day(overviewColumn_));
    RunCommand(
        [&] {
            if (!CheckPermission(ws_, QString::fromUtf16(kThisOperation), 3)) return;
            ws_.Diary.Day = day;
            LogChange(ws_, QString(),
                      QStringLiteral("Smaze celý den deníku____/") + DayFilePath(ws_.config, day),
                      kLogWholeDayDeleted, 0);
            DeleteDayFile(ws_, day);
        },
        this);
    HideDayOverview();
    RefreshCalendar();
}

void Graf::ToggleHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const int screenHeight = screen->availableGeometry().height();
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    const int mainHeight = main ? main->frameGeometry().height() : 0;
    const int small = int(std::lround(screenHeight / 5.0));
    const int newHeight = height() == small ? screenHeight - mainHeight - 33 : small;
    move(0, mainHeight);
    resize(width(), newHeight);
}
