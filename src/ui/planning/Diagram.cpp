#include "Diagram.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "Clock.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "data/TextFile.h"
#include "editing/Links.h"
#include "finance/FinanceOverview.h"
#include "main/ErrorHandler.h"
#include "planning/ICalendar.h"
#include "shell/Access.h"
#include "tools/OutputFile.h"

namespace {

const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kAqua(0x00, 0xFF, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kFuchsia(0xFF, 0x00, 0xFF);
const QColor kGreen(0x00, 0x80, 0x00);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kNavy(0x00, 0x00, 0x80);
// The system colours the diagram was designed on.
const QColor kButtonFace(0xF0, 0xF0, 0xF0);
const QColor kActiveBorder(0xB4, 0xB4, 0xB4);
constexpr int kZoomMin = 100;
constexpr int kZoomMax = 400;
constexpr int kTimeMax = 1000;
constexpr int kDefaultRowHeight = 23;
constexpr int kDefaultStep = 15;
// Above this row height the row labels have room for the dates.
constexpr int kDatesRowHeight = 35;

// Text whose top left corner is at (x, y), as the pictures place their texts.
void TextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(x, y + p.fontMetrics().ascent(), text);
}

// A rectangle from corner to corner, the right and bottom edge excluded.
void Box(QPainter& p, int x1, int y1, int x2, int y2) {
    const QRect r = QRect(QPoint(qMin(x1, x2), qMin(y1, y2)), QPoint(qMax(x1, x2), qMax(y1, y2)));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void Clear(QImage& image) {
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
}

void Circle(QPainter& p, QPoint centre, int radius) {
    p.drawEllipse(centre, radius, radius);
}

bool Crosses(int a, int b, int height) {
    return qMax(a, b) >= -8 && qMin(a, b) <= height + 8;
}

}  // namespace

void DrawGantt(const Table& t, const GanttDrawOptions& o, GanttPictures& pic) {
    const GanttScale& s = o.scale;
    const GanttParameters& par = s.Parameters();
    const int H = par.rowHeight;
    const int h = s.BarHeight();
    Clear(pic.diagram);
    Clear(pic.labels);
    Clear(pic.header);
    const int width = pic.diagram.width();
    const int height = pic.diagram.height();
    const int headerHeight = pic.header.height();
    QPainter d(&pic.diagram);
    QPainter l(&pic.labels);
    QPainter th(&pic.header);
    const QPen face(kButtonFace, 1);
    d.setPen(face);
    l.setPen(face);
    th.setPen(face);

    // Month lines, with their dates where there is room (else only January's).
    const QLocale locale;
    for (double day : MonthLineDays(s, width)) {
        const int x = s.X(day);
        d.drawLine(x, 1, x, height);
        th.drawLine(x, headerHeight / 2, x, 1);
        if (MonthLabelShown(s, day)) {
            th.setPen(Qt::black);
            TextAt(th, x, 6, locale.toString(DateFromDay(day), QLocale::ShortFormat));
            th.setPen(face);
        }
        if (30 * par.scale > 35) {
            d.setPen(QPen(kActiveBorder, 2));
            d.drawLine(x, 1, x, height);
            d.setPen(face);
        }
    }
    // Day lines; the days left of the picture are skipped, not walked.
    if (DayTicksShown(par.scale)) {
        const int first = qMax(0, par.dayOffset - 1);
        for (int i = first;; ++i) {
            const double day = par.origin + i;
            const int x = s.X(day);
            if (x > width) break;
            th.drawLine(x, headerHeight / 2, x, headerHeight);
            if (DayLinesShown(par.scale)) d.drawLine(x, 1, x, height);
            if (DayNumbersShown(par.scale)) {
                th.setPen(Qt::black);
                TextAt(th, x, 22, QString::number(DateFromDay(day).day()));
                th.setPen(face);
            }
        }
    }
    th.drawLine(1, headerHeight / 2, pic.header.width(), headerHeight / 2);

    // Today.
    const int todayIndex = RoundHalfEven(o.now - par.origin);
    const int todayX = RoundHalfEven((todayIndex - par.dayOffset) * par.scale);
    d.setPen(QPen(kYellow, 2));
    d.drawLine(todayX, 1, todayX, height);
    th.setPen(QPen(kYellow, 2));
    th.drawLine(todayX, headerHeight / 2, todayX, 1);

    // The rows: only those whose bars or labels reach into the picture.
    const int rows = t.RowCount();
    const int firstRow = qMax(1, par.firstRow - 1);
    const int lastRow = qMin(rows, par.firstRow + height / qMax(1, H) + 2);
    for (int r = firstRow; r <= lastRow; ++r) {
        const int y = s.Y(r);
        if (BelongsToProject(t, r, o.projectNumber)) {
            const GanttBarPixels bar = BarPixelsOf(t, r, o.startMoment, s);
            const bool single = IsSingleOperation(t, r);
            if (o.plan) {
                d.setPen(QPen(kBlue, 1));
                d.setBrush(single ? kAqua : kBlue);
                Box(d, bar.planStart, y - 2 - h, bar.planEnd, y - 2);
                d.setBrush(Qt::NoBrush);
                d.setPen(Qt::black);
                if (o.captions) TextAt(d, bar.planStart + 1, y - 15, t.Cell(Deadline::Activity, r));
                l.setPen(Qt::black);
                // A long activity ends in "…" before the step's column.
                const QString activity = t.Cell(Deadline::Activity, r);
                TextAt(l, 25, y - 7, l.fontMetrics().elidedText(activity, Qt::ElideRight, 98));
                TextAt(l, 125, y - 7, t.Cell(Deadline::Step, r));
                if (o.dates && H > kDatesRowHeight) {
                    l.setPen(kBlue);
                    TextAt(l, 25, y - 19,
                           t.Cell(Deadline::PlanStart, r) + u'-' + t.Cell(Deadline::PlanEnd, r));
                    l.setPen(kRed);
                    TextAt(
                        l, 25, y + 5,
                        t.Cell(Deadline::ActualStart, r) + u'-' + t.Cell(Deadline::ActualEnd, r));
                }
            }
            d.setPen(QPen(kRed, 1));
            d.setBrush(single ? kFuchsia : kRed);
            Box(d, bar.actualStart, y + 3, bar.actualEnd, y + 3 + h);
            d.setBrush(Qt::NoBrush);
            d.setPen(Qt::black);
            if (o.captions) TextAt(d, bar.actualStart + 1, y + 3, QString::number(r));
            l.setPen(Qt::black);
            TextAt(l, 5, y - 7, QString::number(r));
            if (o.realistic) {
                d.setPen(QPen(kGreen, 3));
                d.drawLine(s.X(ParseDate(t.Cell(Deadline::RealStart, r))), y,
                           s.X(ParseDate(t.Cell(Deadline::RealEnd, r))), y);
            }
        }
    }
    // The ruling does not scroll with the rows: every H pixels from the top,
    // as far as the table has rows.
    d.setPen(face);
    l.setPen(face);
    const int rules = qMin(rows, height / qMax(1, H) + 1);
    for (int r = 1; r <= rules; ++r) {
        const int rule = RoundHalfEven(r * H - H / 2.0);
        d.drawLine(1, rule, width, rule);
        l.drawLine(1, rule, pic.labels.width(), rule);
    }

    if (!o.links) return;
    const IdPrefixIndex index(t);
    d.setBrush(Qt::NoBrush);
    for (int p = 1; p < rows; ++p) {
        const QString superior = LinkedIdentifierOf(t, p, u"N-");
        if (!superior.isEmpty()) {
            const int xe = s.X(ParseDate(t.Cell(Deadline::PlanEnd, p)));
            const int xs = s.X(ParseDate(t.Cell(Deadline::PlanStart, p)));
            const int yp = RoundHalfEven(s.Y(p) - H / 4.0) - 1;
            d.setPen(QPen(kFuchsia, 1));
            for (int q : index.RowsBeginningWith(superior)) {
                const int yq = RoundHalfEven(s.Y(q) - H / 4.0) - 1;
                if (!Crosses(yp, yq, height)) continue;
                d.drawLine(xe, yq, xe, yp);
                d.drawLine(xs, yq, xs, yp);
                for (QPoint c : {QPoint(xe, yq), QPoint(xs, yp), QPoint(xe, yp), QPoint(xs, yq)})
                    Circle(d, c, 2);
            }
        }
        const QString predecessor = LinkedIdentifierOf(t, p, u"P-");
        if (!predecessor.isEmpty()) {
            const QPoint to(s.X(ParseDate(t.Cell(Deadline::PlanStart, p))) + 1,
                            RoundHalfEven(s.Y(p) - H / 4.0));
            d.setPen(QPen(kNavy, 2));
            for (int q : index.RowsBeginningWith(predecessor)) {
                const QPoint from(s.X(ParseDate(t.Cell(Deadline::PlanEnd, q))) + 1,
                                  RoundHalfEven(s.Y(q) - H / 4.0));
                if (!Crosses(from.y(), to.y(), height)) continue;
                d.drawLine(from, to);
                Circle(d, from, 3);
                Circle(d, to, 3);
            }
        }
    }
}

// One of the three pictures; the diagram also carries the mouse and the
// outline of a drag, drawn over the picture in NOT-XOR mode.
class Diagram::Picture : public QWidget {
  public:
    Picture(Diagram& owner, QImage GanttPictures::*image, const QString& name, QWidget* parent)
        : QWidget(parent), owner_(owner), image_(image) {
        setObjectName(name);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, owner_.pictures_.*image_);
        if (image_ != &GanttPictures::diagram) return;
        const GanttOverlay o = owner_.interaction_->Overlay();
        if (!o.outline && !o.rubberLine) return;
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        if (o.outline) {
            p.setPen(QPen(o.outlineFill, 1));
            p.setBrush(o.outlineFill);
            p.drawRect(o.outlineRect.adjusted(0, 0, -1, -1));
        } else {
            p.setPen(QPen(o.lineColour, 1));
            p.setBrush(Qt::NoBrush);
            p.drawLine(o.rubber);
            p.drawEllipse(o.rubber.p1(), 2, 2);
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (image_ == &GanttPictures::diagram) owner_.CanvasPressed(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (image_ == &GanttPictures::diagram) owner_.CanvasMoved(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (image_ == &GanttPictures::diagram) owner_.CanvasReleased(e);
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { owner_.Redraw(); }
    void resizeEvent(QResizeEvent*) override { owner_.ScheduleRedraw(); }
    void contextMenuEvent(QContextMenuEvent* e) override {
        if (image_ == &GanttPictures::diagram) owner_.popup_->popup(e->globalPos());
    }

  private:
    Diagram& owner_;
    QImage GanttPictures::*image_;
};

Diagram::Diagram(Workspace& ws, LinkRecorder& links, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ws_(ws),
      interaction_(std::make_unique<GanttInteraction>(ws, links)) {
    setObjectName(QStringLiteral("Diagram"));
    setWindowTitle(QStringLiteral("ORVA_Diagram"));
    Config& c = ws_.config;
    if (c.GanttVyskaRadku <= 0) c.GanttVyskaRadku = kDefaultRowHeight;
    if (!(c.GanttNasobitel > 0)) c.GanttNasobitel = 1.0;
    if (c.GanttPomNasobitel <= 0) c.GanttPomNasobitel = kDefaultStep;

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->installEventFilter(this);
    BuildToolBar(bar);
    root->addWidget(bar);

    auto* strip = new QWidget(this);
    strip->setFixedHeight(kHeaderHeight);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(2);
    auto* info = new QWidget(strip);
    info->setObjectName(QStringLiteral("Informace"));
    info->setFixedWidth(kInfoWidth);
    info->installEventFilter(this);
    auto* infoLayout = new QVBoxLayout(info);
    infoLayout->setContentsMargins(2, 1, 2, 1);
    infoLayout->setSpacing(0);
    upper_ = new QLabel(info);
    upper_->setObjectName(QStringLiteral("HorniInformace"));
    lower_ = new QLabel(QStringLiteral("Zařazení"), info);
    lower_->setObjectName(QStringLiteral("DolniInformace"));
    QFont bold = lower_->font();
    bold.setBold(true);
    lower_->setFont(bold);
    infoLayout->addWidget(upper_);
    infoLayout->addWidget(lower_);
    stripLayout->addWidget(info);
    header_ = new Picture(*this, &GanttPictures::header, QStringLiteral("CasovaHlavicka"), strip);
    stripLayout->addWidget(header_, 1);
    root->addWidget(strip);

    auto* body = new QWidget(this);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(2);
    labels_ = new Picture(*this, &GanttPictures::labels, QStringLiteral("PopisRadku"), body);
    labels_->setFixedWidth(kLabelWidth);
    canvas_ = new Picture(*this, &GanttPictures::diagram, QStringLiteral("Gantt"), body);
    canvas_->setToolTip(QStringLiteral("Ganttuv diagram"));
    canvas_->setMouseTracking(true);
    rows_ = new QScrollBar(Qt::Vertical, body);
    rows_->setObjectName(QStringLiteral("PosunRadku"));
    rows_->setPageStep(1);
    bodyLayout->addWidget(labels_);
    bodyLayout->addWidget(canvas_, 1);
    bodyLayout->addWidget(rows_);
    root->addWidget(body, 1);

    time_ = new QScrollBar(Qt::Horizontal, this);
    time_->setObjectName(QStringLiteral("PosunCasu"));
    time_->setToolTip(QStringLiteral("Posun v čase"));
    time_->setRange(1, kTimeMax);
    root->addWidget(time_);
    root->addWidget(BuildLegend());
    BuildPopup();

    connect(rowHeight_, &QSpinBox::valueChanged, this, [this](int v) {
        ws_.config.GanttVyskaRadku = v;
        Redraw();
    });
    connect(zoom_, &QSlider::valueChanged, this, [this](int v) {
        ws_.config.GanttNasobitel = (v - 99) / 10.0;
        Redraw();
    });
    connect(time_, &QScrollBar::valueChanged, this, [this](int v) {
        ws_.config.GanttSloupce = v * ws_.config.GanttPomNasobitel;
        Redraw();
    });
    connect(rows_, &QScrollBar::valueChanged, this, [this](int v) {
        ws_.config.GanttRadky = v;
        Redraw();
    });
    connect(captions_, &QCheckBox::clicked, this, [this](bool on) {
        ws_.config.SetFlag(kFlagGanttCaptions, on);
        emit captionsToggled(on);
    });
    for (QCheckBox* box : {links_, captions_, dates_})
        connect(box, &QCheckBox::toggled, this, &Diagram::Redraw);

    connect(&ws_, &Workspace::tableChanged, this, [this](int kind) {
        if (kind == kDeadlineTable || kind == kProjectTable) ScheduleRedraw();
    });
    connect(&ws_, &Workspace::tableReset, this, [this](int) { ScheduleRedraw(); });
    connect(&ws_, &Workspace::pickListsChanged, this, &Diagram::FillChooser);
    connect(&ws_.Current(), &CurrentItem::currentChanged, this, &Diagram::FollowCurrentProject);
    FillChooser();
    resize(1200, 700);
}

Diagram::~Diagram() = default;

QWidget* Diagram::Canvas() const {
    return canvas_;
}

void Diagram::BuildToolBar(QWidget* bar) {
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(QStringLiteral("Volba projektu"), bar));
    chooser_ = new QComboBox(bar);
    chooser_->setObjectName(QStringLiteral("VolbaProjektu"));
    chooser_->setToolTip(QStringLiteral("Volba zobrazovaného projektu"));
    chooser_->setMinimumWidth(260);
    connect(chooser_, &QComboBox::textActivated, this, &Diagram::ChooseProject);
    layout->addWidget(chooser_);

    layout->addWidget(new QLabel(QStringLiteral("Zvětšení"), bar));
    rowHeight_ = new QSpinBox(bar);
    rowHeight_->setObjectName(QStringLiteral("Zvetseni"));
    rowHeight_->setToolTip(QStringLiteral("Zvětšení svislé - výška"));
    rowHeight_->setRange(1, 100);
    rowHeight_->setSingleStep(5);
    // Changed only by its arrows.
    if (auto* edit = rowHeight_->findChild<QLineEdit*>()) edit->setReadOnly(true);
    layout->addWidget(rowHeight_);

    layout->addWidget(new QLabel(QStringLiteral("Zvětšení časové osy "), bar));
    zoom_ = new QSlider(Qt::Horizontal, bar);
    zoom_->setObjectName(QStringLiteral("ZvetseniCasoveOsy"));
    zoom_->setToolTip(QStringLiteral("Zvětšení časové osy - vodorovně"));
    zoom_->setRange(kZoomMin, kZoomMax);
    zoom_->setMinimumWidth(200);
    layout->addWidget(zoom_);

    links_ = new QCheckBox(QStringLiteral("Propojení"), bar);
    links_->setObjectName(QStringLiteral("Propojeni"));
    links_->setToolTip(QStringLiteral("Zobrazí propojení souvisejících položek."));
    captions_ = new QCheckBox(QStringLiteral("Popis"), bar);
    captions_->setObjectName(QStringLiteral("Popis"));
    dates_ = new QCheckBox(QStringLiteral("Termíny"), bar);
    dates_->setObjectName(QStringLiteral("Terminy"));
    for (QCheckBox* box : {links_, captions_, dates_}) {
        box->setChecked(true);
        layout->addWidget(box);
    }
    sizeButton_ = new QToolButton(bar);
    sizeButton_->setObjectName(QStringLiteral("Velikost"));
    sizeButton_->setText(QStringLiteral("_"));
    connect(sizeButton_, &QToolButton::clicked, this, &Diagram::ToggleSize);
    layout->addWidget(sizeButton_);
    layout->addStretch(1);
}

QWidget* Diagram::BuildLegend() {
    auto* legend = new QWidget(this);
    legend->setObjectName(QStringLiteral("Legenda"));
    auto* layout = new QHBoxLayout(legend);
    layout->setContentsMargins(4, 2, 4, 2);
    struct Swatch {
        QColor colour;
        QSize size;
        QString caption;
        QString hint;
    };
    const Swatch swatches[] = {
        {kBlue,
         {24, 8},
         QStringLiteral("Plánovaný termín pro soubor operací"),
         QStringLiteral("Plánovaný termín plnění vice vložených operací zadaný nebo dopočtený. ")},
        {kAqua,
         {24, 8},
         QStringLiteral("Plánovaný termín pro jednu operaci"),
         QStringLiteral("Plánovaný termín plnění zadaný z klávesnice. ")},
        {kRed,
         {24, 8},
         QStringLiteral("Skutečný termín pro soubor operací"),
         QStringLiteral("Skutečný termín plnění vice vložených operací zadaný. ")},
        {kFuchsia,
         {24, 8},
         QStringLiteral("Skutečný termín pro jednu operaci"),
         QStringLiteral("Skuečný termín plnění zadaný z klávesnice. ")},
        {kGreen,
         {24, 3},
         QStringLiteral("Reálný termín ke dnešku"),
         QStringLiteral("Termín kterého lze ječtě dosáhnout. ")},
        {kYellow,
         {3, 16},
         QStringLiteral("Dnešek - aktuální datum"),
         QStringLiteral("Aktuální datum - dnešní den podle kalendáře.")},
    };
    for (const Swatch& s : swatches) {
        auto* colour = new QLabel(legend);
        QPixmap pixmap(s.size);
        pixmap.fill(s.colour);
        colour->setPixmap(pixmap);
        auto* caption = new QLabel(s.caption, legend);
        for (QLabel* label : {colour, caption}) {
            label->setToolTip(s.hint);
            layout->addWidget(label);
        }
        layout->addSpacing(12);
    }
    layout->addStretch(1);
    return legend;
}

void Diagram::BuildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupGantt"));
    off_ = popup_->addAction(QStringLiteral("VYPNOUT FUNKCE"));
    popup_->setDefaultAction(off_);
    modes_ = new QActionGroup(this);
    modes_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const std::pair<QAction**, QString> modes[] = {
        {&moves_, QStringLiteral("Přesuny")},
        {&predecessors_, QStringLiteral("Zavislosti")},
        {&superiors_, QStringLiteral("Podřízenost")},
    };
    for (const auto& [action, caption] : modes) {
        *action = popup_->addAction(caption);
        (*action)->setCheckable(true);
        modes_->addAction(*action);
    }
    connect(off_, &QAction::triggered, this, [this] {
        for (QAction* a : modes_->actions()) a->setChecked(false);
        interaction_->SetMode(GanttMode::None);
    });
    connect(modes_, &QActionGroup::triggered, this, [this](QAction* a) {
        // The group lets a checked item be unchecked; a mode is chosen, not toggled.
        a->setChecked(true);
        interaction_->SetMode(a == moves_          ? GanttMode::Moves
                              : a == predecessors_ ? GanttMode::Predecessors
                                                   : GanttMode::Superiors);
    });
    const auto item = [this](const QString& caption, auto command) {
        QAction* action = popup_->addAction(caption);
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    item(QStringLiteral("Formulář"), [this] { emit entryWindowRequested(); });
    popup_->addSeparator();
    removeLinks_ = item(QStringLiteral("Zrušit vazby"), &Diagram::RemoveLinksCommand);
    popup_->addSeparator();
    deleteRow_ = item(QStringLiteral("Smazat akci"), &Diagram::DeleteRowCommand);
    removeLinks_->setEnabled(false);
    deleteRow_->setEnabled(false);
    popup_->addSeparator();
    item(QStringLiteral("Uložit diagram jako obrázek PNG…"), &Diagram::ExportPngCommand);
    item(QStringLiteral("Uložit diagram jako PDF…"), &Diagram::ExportPdfCommand);
    item(QStringLiteral("Tisk diagramu…"), &Diagram::PrintCommand);
    item(QStringLiteral("Termíny do kalendáře (iCalendar)…"), &Diagram::ExportCalendarCommand);
    connect(popup_, &QMenu::aboutToShow, this, &Diagram::EnableModes);
}

QAction* Diagram::ModeAction(GanttMode mode) const {
    switch (mode) {
        case GanttMode::Moves:
            return moves_;
        case GanttMode::Predecessors:
            return predecessors_;
        case GanttMode::Superiors:
            return superiors_;
        case GanttMode::None:
            break;
    }
    return off_;
}

void Diagram::EnableModes() {
    const bool allowed = interaction_->ModesAllowed();
    for (QAction* a : modes_->actions()) a->setEnabled(allowed);
    // A user who may not change data leaves any mode chosen before.
    if (!allowed && interaction_->Mode() != GanttMode::None) off_->trigger();
}

GanttDrawOptions Diagram::DrawOptions() const {
    const Config& c = ws_.config;
    GanttDrawOptions o;
    o.scale = GanttScale({ws_.RangeStart, c.GanttSloupce, c.GanttNasobitel, c.GanttRadky,
                          c.GanttVyskaRadku > 0 ? c.GanttVyskaRadku : kDefaultRowHeight});
    o.now = NowDay();
    o.startMoment = ws_.StartMoment > 0 ? ws_.StartMoment : o.now;
    o.projectNumber = ws_.CurrentProjectNumber();
    o.plan = c.Flag(kFlagGanttPlan);
    o.realistic = c.Flag(kFlagGanttRealistic);
    o.captions = captions_->isChecked();
    o.dates = dates_->isChecked();
    o.links = links_->isChecked();
    return o;
}

void Diagram::ScheduleRedraw() {
    if (redrawPending_ || redrawing_) return;
    redrawPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            redrawPending_ = false;
            if (isVisible()) Redraw();
        },
        Qt::QueuedConnection);
}

void Diagram::Redraw() {
    if (redrawing_) return;
    // The propagation below announces its rows; that is no reason to draw again.
    redrawing_ = true;
    RunCommand(ws_.Ask(), [this] { PropagateLinkDates(ws_); });
    const GanttDrawOptions o = DrawOptions();
    interaction_->SetScale(o.scale);
    const auto sized = [](QImage& image, QSize size) {
        size = size.expandedTo(QSize(2, 2));
        if (image.size() != size) image = QImage(size, QImage::Format_RGB32);
    };
    sized(pictures_.diagram, canvas_->size());
    sized(pictures_.labels, labels_->size());
    sized(pictures_.header, header_->size());
    DrawGantt(ws_.Deadlines, o, pictures_);
    canvas_->update();
    labels_->update();
    header_->update();
    redrawing_ = false;
}

void Diagram::SyncControls() {
    Config& c = ws_.config;
    if (c.GanttVyskaRadku <= 0) c.GanttVyskaRadku = kDefaultRowHeight;
    {
        const QSignalBlocker b1(rows_), b2(time_), b3(rowHeight_), b4(zoom_), b5(captions_);
        rows_->setMaximum(ws_.Deadlines.RowCount());
        rows_->setValue(c.GanttRadky);
        time_->setValue(RoundHalfEven(double(c.GanttSloupce) / qMax(1, c.GanttPomNasobitel)));
        rowHeight_->setValue(c.GanttVyskaRadku);
        zoom_->setValue(RoundHalfEven(c.GanttNasobitel * 10 + 99));
        captions_->setChecked(c.Flag(kFlagGanttCaptions));
    }
    // A control that could not take its value (out of its range) stores what it shows.
    c.GanttRadky = rows_->value();
    c.GanttVyskaRadku = rowHeight_->value();
    const double zoomed = (zoom_->value() - 99) / 10.0;
    if (RoundHalfEven(c.GanttNasobitel * 10 + 99) != zoom_->value()) c.GanttNasobitel = zoomed;
    Redraw();
}

void Diagram::FillChooser() {
    const QString text = chooser_->currentText();
    const QSignalBlocker block(chooser_);
    chooser_->clear();
    QStringList entries = ws_.Picks.projects;
    if (entries.isEmpty()) {
        for (int r = 1; r < ws_.Projects.RowCount(); ++r) {
            const QString entry = ws_.Projects.Cell(Project::Number, r) + QStringLiteral("/ ") +
                                  ws_.Projects.Cell(Project::Name, r);
            if (!entries.contains(entry)) entries << entry;
        }
    }
    chooser_->addItems(entries);
    const int kept = chooser_->findText(text);
    if (kept >= 0) chooser_->setCurrentIndex(kept);
    shownProjectRow_ = -1;
    FollowCurrentProject();
}

void Diagram::FollowCurrentProject() {
    const int row = ws_.Current().ProjectRow();
    if (row == shownProjectRow_) return;
    shownProjectRow_ = row;
    const QString number = ws_.Projects.Cell(Project::Number, row);
    if (!number.isEmpty()) {
        const QSignalBlocker block(chooser_);
        for (int i = 0; i < chooser_->count(); ++i) {
            if (chooser_->itemText(i).section(u'/', 0, 0) == number) {
                chooser_->setCurrentIndex(i);
                break;
            }
        }
    }
    EnableModes();
    ScheduleRedraw();
}

void Diagram::ChooseProject(const QString& chooserText) {
    EnableModes();
    CurrentItem& current = ws_.Current();
    current.MoveTo({current.Kind(), 1, 1, current.ProjectRow()});
    upper_->setText(QStringLiteral("%1/1/1").arg(current.Kind()));
    const QString number = SplitFields(chooserText, 2, u'/')[0];
    ws_.FindProjectRow(number);
    RunCommand(ws_.Ask(), [&] {
        const QString name = ProgressFileName(ws_, number);
        setWindowTitle(name);
        LoadProgress(ws_, name);
    });
    shownProjectRow_ = current.ProjectRow();
    emit projectChosen(chooserText);
    Redraw();
    RunCommand(ws_.Ask(), [this] { ComputeFinanceOverview(ws_); });
}

void Diagram::SetCaptionsShown(bool on) {
    if (captions_->isChecked() == on) return;
    captions_->setChecked(on);
}

void Diagram::ToggleSize() {
    const QRect screen = this->screen()->geometry();
    if (isMaximized() || isMinimized()) {
        showNormal();
        setGeometry(0, screen.height() / 4, screen.width(), screen.height() / 2);
    } else {
        showMaximized();
        setGeometry(0, 0, screen.width(), screen.height() - 32);
    }
}

bool Diagram::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) SyncControls();
    return QWidget::event(event);
}

void Diagram::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    SyncControls();
}

void Diagram::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ScheduleRedraw();
}

bool Diagram::eventFilter(QObject* watched, QEvent* event) {
    // A click on the information panel or on the tool bar draws again.
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) Redraw();
    return QWidget::eventFilter(watched, event);
}

void Diagram::ShowHitLabels() {
    upper_->setText(interaction_->UpperLabel());
    lower_->setText(interaction_->LowerLabel());
}

void Diagram::CanvasPressed(QMouseEvent* event) {
    interaction_->Press(event->button(), event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        const int row = interaction_->CurrentRow();
        const bool onRow = row > 0;
        const QString suffix = onRow ? QString::number(row) : QString();
        removeLinks_->setText(onRow ? QStringLiteral("Zrušit vazby ") + suffix
                                    : QStringLiteral("Zrušit vazby"));
        deleteRow_->setText(onRow ? QStringLiteral("Smazat akci ") + suffix
                                  : QStringLiteral("Smazat akci"));
        removeLinks_->setEnabled(onRow);
        deleteRow_->setEnabled(onRow);
    }
    canvas_->update();
}

void Diagram::CanvasMoved(QMouseEvent* event) {
    const bool wasDragging = interaction_->Dragging();
    if (interaction_->Move(event->position().toPoint())) canvas_->update();
    if (!wasDragging) {
        canvas_->setCursor(CursorOfHit(interaction_->HoverCode()));
        ShowHitLabels();
    }
}

void Diagram::CanvasReleased(QMouseEvent* event) {
    bool changed = false;
    const bool dragging = interaction_->Dragging();
    RunCommand(ws_.Ask(), [&] {
        changed = interaction_->Release(event->button(), event->position().toPoint());
    });
    if (event->button() == Qt::LeftButton) ShowHitLabels();
    QLine line;
    QColor colour;
    if (interaction_->TakeFinalLink(line, colour)) {
        QPainter p(&pictures_.diagram);
        p.setPen(QPen(colour, 1));
        p.drawLine(line);
        p.setPen(QPen(kBlue, 1));
        Circle(p, line.p2(), 2);
    } else if (changed) {
        Redraw();
    }
    if (dragging) canvas_->update();
}

void Diagram::RemoveLinksCommand() {
    bool done = false;
    RunCommand(ws_.Ask(), [&] { done = interaction_->RemoveLinks(); });
    if (done) Redraw();
}

void Diagram::DeleteRowCommand() {
    bool done = false;
    RunCommand(ws_.Ask(), [&] { done = interaction_->DeleteRow(); });
    if (done) Redraw();
}

// Export and printing

namespace {

constexpr int kTitleHeight = 24;
constexpr int kMargin = 7;  // days before the first and after the last date
constexpr int kMaxWidth = 30000;

// The pictures of a whole project and what its pages say.
struct Printout {
    GanttPictures pictures;
    QString title;  // project number and name
    QString range;  // first – last day
};

// Paints the printout on pages of the device: the row labels on each page,
// the diagram across as many pages as its width (and height) needs, with a
// title line of project, date range and page number.
void PaintPages(QPagedPaintDevice& device, const Printout& out) {
    QPainter p(&device);
    if (!p.isActive()) throw FileError(QString(), QStringLiteral("Nelze kreslit na stránku."));
    // Picture pixels at 96 per inch.
    const double factor = device.logicalDpiX() / 96.0;
    p.scale(factor, factor);
    // Sizes in the picture's pixels, not in the device's points.
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    const int pageWidth = int(p.viewport().width() / factor);
    const int pageHeight = int(p.viewport().height() / factor);
    const QImage& diagram = out.pictures.diagram;
    const int sliceWidth = qMax(50, pageWidth - Diagram::kLabelWidth);
    const int sliceHeight = qMax(50, pageHeight - kTitleHeight - Diagram::kHeaderHeight);
    const int across = qMax(1, (diagram.width() + sliceWidth - 1) / sliceWidth);
    const int down = qMax(1, (diagram.height() + sliceHeight - 1) / sliceHeight);
    const int pages = across * down;
    int page = 0;
    for (int j = 0; j < down; ++j) {
        for (int i = 0; i < across; ++i) {
            if (page > 0) device.newPage();
            ++page;
            p.setPen(Qt::black);
            p.drawText(QRect(0, 0, pageWidth, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       out.title + QStringLiteral("   ") + out.range);
            p.drawText(QRect(0, 0, pageWidth, kTitleHeight), Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("Strana %1 z %2").arg(page).arg(pages));
            const int x = i * sliceWidth;
            const int y = j * sliceHeight;
            const int w = qMin(sliceWidth, diagram.width() - x);
            const int h = qMin(sliceHeight, diagram.height() - y);
            const int top = kTitleHeight;
            p.drawImage(QPoint(Diagram::kLabelWidth, top), out.pictures.header,
                        QRect(x, 0, w, Diagram::kHeaderHeight));
            p.drawImage(QPoint(0, top + Diagram::kHeaderHeight), out.pictures.labels,
                        QRect(0, y, Diagram::kLabelWidth, h));
            p.drawImage(QPoint(Diagram::kLabelWidth, top + Diagram::kHeaderHeight), diagram,
                        QRect(x, y, w, h));
        }
    }
}

QString WithSuffix(const QString& path, const QString& suffix) {
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

}  // namespace

static Printout ProjectPrintout(Workspace& ws, GanttDrawOptions o) {
    Printout out;
    const Table& t = ws.Deadlines;
    int firstRow = 0, lastRow = 0;
    double from = o.now, to = o.now;
    for (int r = 1; r < t.RowCount(); ++r) {
        if (!BelongsToProject(t, r, o.projectNumber)) continue;
        if (!firstRow) firstRow = r;
        lastRow = r;
        const GanttBarDates d = BarDatesOf(t, r, o.startMoment);
        for (double v : {d.planFrom, d.planTo, d.actualFrom, d.actualTo}) {
            from = qMin(from, v);
            to = qMax(to, v);
        }
    }
    if (!firstRow) return out;
    GanttParameters par = o.scale.Parameters();
    out.range = FormatShortDate(from) + QStringLiteral(" – ") + FormatShortDate(to);
    from = std::floor(from) - kMargin;
    to = std::ceil(to) + kMargin;
    // The origin stays, so that the month lines fall as on the screen.
    par.dayOffset = int(std::floor(from - par.origin));
    par.scale = qMin(par.scale, kMaxWidth / (to - from));
    par.firstRow = firstRow - 1;
    o.scale = GanttScale(par);
    const int width = qMax(2, RoundHalfEven((to - from) * par.scale));
    const int height = (lastRow - firstRow + 2) * par.rowHeight;
    out.pictures.diagram = QImage(width, height, QImage::Format_RGB32);
    out.pictures.labels = QImage(Diagram::kLabelWidth, height, QImage::Format_RGB32);
    out.pictures.header = QImage(width, Diagram::kHeaderHeight, QImage::Format_RGB32);
    DrawGantt(t, o, out.pictures);
    out.title = o.projectNumber + u' ' + ws.Projects.Cell(Project::Name, ws.Current().ProjectRow());
    return out;
}

QImage Diagram::FullPicture() {
    RunCommand(ws_.Ask(), [this] { PropagateLinkDates(ws_); });
    const Printout out = ProjectPrintout(ws_, DrawOptions());
    const GanttPictures& pic = out.pictures;
    if (pic.diagram.isNull()) return {};
    QImage image(kLabelWidth + pic.diagram.width(),
                 kTitleHeight + kHeaderHeight + pic.diagram.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawText(QRect(4, 0, image.width() - 8, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
               out.title + QStringLiteral("   ") + out.range);
    p.drawImage(kLabelWidth, kTitleHeight, pic.header);
    p.drawImage(0, kTitleHeight + kHeaderHeight, pic.labels);
    p.drawImage(kLabelWidth, kTitleHeight + kHeaderHeight, pic.diagram);
    return image;
}

bool Diagram::ExportPng(const QString& path) {
    const QImage image = FullPicture();
    if (image.isNull()) return false;
    WriteImageFile(path, image, "PNG");
    return true;
}

bool Diagram::ExportPdf(const QString& path) {
    RunCommand(ws_.Ask(), [this] { PropagateLinkDates(ws_); });
    const Printout out = ProjectPrintout(ws_, DrawOptions());
    if (out.pictures.diagram.isNull()) return false;
    WritePdfFile(path, out.title, [&](QPdfWriter& pdf) {
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        PaintPages(pdf, out);
    });
    return true;
}

namespace {

QString ChooseExportFile(Workspace& ws, const QString& title, const QString& mask) {
    FileRequest request;
    request.title = title;
    request.directory = ws.config.BaseDir;
    request.fileName = mask;
    return ws.Ask().ChooseSaveFile(request);
}

}  // namespace

void Diagram::ExportPngCommand() {
    const QString path = ChooseExportFile(ws_, QStringLiteral("Uložit diagram jako obrázek PNG"),
                                          QStringLiteral("*.png"));
    if (path.isEmpty()) return;
    RunCommand(ws_.Ask(), [&] {
        if (!ExportPng(WithSuffix(path, QStringLiteral(".png"))))
            ws_.Ask().Inform(QStringLiteral("Zvolený projekt nemá žádné termíny."));
    });
}

void Diagram::ExportPdfCommand() {
    const QString path =
        ChooseExportFile(ws_, QStringLiteral("Uložit diagram jako PDF"), QStringLiteral("*.pdf"));
    if (path.isEmpty()) return;
    RunCommand(ws_.Ask(), [&] {
        if (!ExportPdf(WithSuffix(path, QStringLiteral(".pdf"))))
            ws_.Ask().Inform(QStringLiteral("Zvolený projekt nemá žádné termíny."));
    });
}

void Diagram::PrintCommand() {
    RunCommand(ws_.Ask(), [this] { PropagateLinkDates(ws_); });
    const Printout out = ProjectPrintout(ws_, DrawOptions());
    if (out.pictures.diagram.isNull()) {
        ws_.Ask().Inform(QStringLiteral("Zvolený projekt nemá žádné termíny."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(out.title);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    RunCommand(ws_.Ask(), [&] { PaintPages(printer, out); });
}

void Diagram::ExportCalendarCommand() {
    const QString path =
        ChooseExportFile(ws_, QStringLiteral("Uložit termíny akce pro kalendář (iCalendar)"),
                         QStringLiteral("*.ics"));
    if (path.isEmpty()) return;
    const int row = ws_.Current().ProjectRow();
    const CalendarProject project{ws_.Projects.Cell(Project::Number, row),
                                  ws_.Projects.Cell(Project::Name, row)};
    RunCommand(ws_.Ask(), [&] {
        int count = 0;
        const QByteArray events = CalendarEvents(ws_.Deadlines, project, Clock::Now(), &count);
        TextFile::WriteBytes(WithSuffix(path, QStringLiteral(".ics")), CalendarFile(events));
        ws_.Ask().Inform(QStringLiteral("Zapsáno událostí: %1").arg(count));
    });
}
