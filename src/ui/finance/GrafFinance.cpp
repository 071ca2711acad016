#include "GrafFinance.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "Workspace.h"
#include "data/Cells.h"
#include "data/TextFile.h"
#include "main/ErrorHandler.h"
#include "tools/OutputFile.h"

namespace {

// Positions of "Graf_Financí" after the sixteen boxes.
constexpr int kDepthPosition = 17;
constexpr int kCurvesPosition = 18;

// Each series of the 3D look lies this far behind the one before, as a share
// of the X step and of the value span.
constexpr double kDepthStepX = 0.03;
constexpr double kDepthStepY = 0.008;

QChartView* MakeView(QChart* chart, QWidget* parent) {
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    return view;
}

// Labels of a category axis must differ; equal point labels get trailing blanks.
QString UniqueLabel(const QString& label, const QStringList& taken) {
    QString unique = label;
    while (taken.contains(unique)) unique += u' ';
    return unique;
}

}  // namespace

GrafFinance::GrafFinance(Workspace& ws, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ws_(ws) {
    setObjectName(QStringLiteral("GrafFinance"));
    setWindowTitle(QStringLiteral("Graf Financí"));
    BuildCharts();
    BuildControls();
    ApplySwitches();
    ResetCharts(kInitialPoints);
    resize(1100, 760);
}

QColor GrafFinance::QuantityColour(int i) {
    static const QColor colours[kQuantities] = {
        QColor(0x00, 0x80, 0x80),  // teal
        QColor(0x00, 0x80, 0x00),  // green
        QColor(0xFF, 0xFF, 0x00),  // yellow
        QColor(0x00, 0xFF, 0xFF),  // aqua
        QColor(0xFF, 0xFF, 0xFF),  // white
        QColor(0x80, 0x80, 0x80),  // grey
        QColor(0xFF, 0x00, 0xFF),  // fuchsia
        QColor(0x00, 0x00, 0xFF),  // blue
        QColor(0x00, 0x00, 0x80),  // navy
        QColor(0x80, 0x00, 0x00),  // maroon
        QColor(0x00, 0xFF, 0x00),  // lime
        QColor(0x80, 0x80, 0x00),  // olive
        QColor(0x80, 0x00, 0x80),  // purple
        QColor(0x3A, 0x6E, 0xA5),  // the classic desktop background
        QColor(0x00, 0xFF, 0xFF),  // aqua
        QColor(0xFF, 0x00, 0x00),  // red
    };
    return colours[qBound(1, i, kQuantities) - 1];
}

void GrafFinance::BuildCharts() {
    // Line chart: one series per quantity over the sliding window of points.
    lineChart_ = new QChart;
    lineX_ = new QCategoryAxis;
    lineX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    lineX_->setLabelsAngle(-90);
    lineY_ = new QValueAxis;
    lineY_->setLabelFormat(QStringLiteral("%.0f"));
    depthAxis_ = new QValueAxis;
    depthAxis_->setTitleText(QStringLiteral("Porovnání"));
    depthAxis_->setRange(1, 20);
    depthAxis_->setTickCount(20);
    depthAxis_->setLabelFormat(QStringLiteral("%d"));
    lineChart_->addAxis(lineX_, Qt::AlignBottom);
    lineChart_->addAxis(lineY_, Qt::AlignLeft);
    lineChart_->addAxis(depthAxis_, Qt::AlignTop);
    for (int i = 1; i <= kQuantities; ++i) {
        auto* series = new QLineSeries;
        series->setName(QString::number(i));
        QPen pen(QuantityColour(i));
        pen.setWidth(2);
        series->setPen(pen);
        series->setPointsVisible(true);
        series->setMarkerSize(6);
        lineChart_->addSeries(series);
        series->attachAxis(lineX_);
        series->attachAxis(lineY_);
        lines_[i - 1] = series;
    }
    lineView_ = MakeView(lineChart_, this);
    lineView_->setObjectName(QStringLiteral("GrafPrubeh"));
    lineView_->setToolTip(QStringLiteral("Graficky zobrazuje průběh financí v reálném čase."));

    // Bar chart: one bar per quantity in its colour. Stacked sets of which
    // only set i has a value in category i give each bar a colour of its own.
    barChart_ = new QChart;
    barChart_->setTitle(QStringLiteral("Finance"));
    auto* bars = new QStackedBarSeries;
    bars->setBarWidth(0.8);
    QStringList categories;
    for (int i = 1; i <= kQuantities; ++i) {
        auto* set = new QBarSet(QString::number(i));
        for (int k = 0; k < kQuantities; ++k) set->append(0.0);
        set->setColor(QuantityColour(i));
        set->setBorderColor(QuantityColour(i).darker(150));
        bars->append(set);
        bars_[i - 1] = set;
        categories << QString::number(i);
    }
    barChart_->addSeries(bars);
    auto* barX = new QBarCategoryAxis;
    barX->append(categories);
    barChart_->addAxis(barX, Qt::AlignBottom);
    bars->attachAxis(barX);
    auto* barY = new QValueAxis;
    barY->setLabelFormat(QStringLiteral("%.0f"));
    barChart_->addAxis(barY, Qt::AlignLeft);
    bars->attachAxis(barY);
    barView_ = MakeView(barChart_, this);
    barView_->setObjectName(QStringLiteral("GrafSloupce"));

    pieChart_ = new QChart;
    pieChart_->setTitle(QStringLiteral("Finance"));
    pie_ = new QPieSeries;
    for (int i = 1; i <= kQuantities; ++i) {
        QPieSlice* slice = pie_->append(QString::number(i), 0.0);
        slice->setColor(QuantityColour(i));
        slice->setBorderColor(Qt::black);
    }
    pieChart_->addSeries(pie_);
    pieView_ = MakeView(pieChart_, this);
    pieView_->setObjectName(QStringLiteral("GrafKolac"));

    for (QChartView* view : {lineView_, pieView_, barView_}) {
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](QPoint at) {
            QMenu menu(this);
            menu.addAction(QStringLiteral("Tisk"), this, &GrafFinance::Print);
            menu.exec(view->mapToGlobal(at));
        });
    }
}

void GrafFinance::BuildControls() {
    const QStringList headers = TableHeaders(kResultsTable);
    group_ = new QGroupBox(QStringLiteral("Číslo"), this);
    group_->setObjectName(QStringLiteral("GroupBox_Cisla"));
    group_->setToolTip(QStringLiteral("Výběr křivek grafu."));
    auto* boxGrid = new QGridLayout(group_);
    boxGrid->setSpacing(2);
    for (int i = 1; i <= kQuantities; ++i) {
        auto* box = new QCheckBox(QString::number(i), group_);
        box->setObjectName(QStringLiteral("CheckBox") + QString::number(i));
        // The box itself in its quantity's colour, as the legend of the charts.
        box->setStyleSheet(
            QStringLiteral("QCheckBox { background-color: %1; color: %2; padding: 1px 4px; }")
                .arg(QuantityColour(i).name(), QuantityColour(i).lightness() < 110
                                                   ? QStringLiteral("white")
                                                   : QStringLiteral("black")));
        box->setToolTip(headers.value(i + kFirstColumn - 1));
        boxGrid->addWidget(box, (i - 1) % 8, (i - 1) / 8);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            lines_[i - 1]->setVisible(on);
            StoreSwitches();
        });
        boxes_[i - 1] = box;
    }

    depth_ = new QCheckBox(QStringLiteral("2D/3D"), this);
    depth_->setObjectName(QStringLiteral("CheckBox3D"));
    depth_->setToolTip(QStringLiteral("Přepíná  2D a 3D zobrazení grafu"));
    connect(depth_, &QCheckBox::toggled, this, [this] {
        RedrawLines();
        StoreSwitches();
    });
    curves_ = new QCheckBox(QStringLiteral("Křivky "), this);
    curves_->setObjectName(QStringLiteral("CheckBoxKrivky"));
    curves_->setToolTip(QStringLiteral("Ovládá panel  křivek"));
    connect(curves_, &QCheckBox::toggled, this, [this](bool on) {
        group_->setVisible(on);
        StoreSwitches();
    });
    auto* total = new QPushButton(QStringLiteral("Celkem"), this);
    total->setObjectName(QStringLiteral("Celkem"));
    connect(total, &QPushButton::clicked, this, [this] {
        ws_.ResetInactivity();
        ShowChartRow(1);
    });
    auto* clear = new QPushButton(QStringLiteral("Smazat"), this);
    clear->setObjectName(QStringLiteral("Smazat"));
    connect(clear, &QPushButton::clicked, this, [this] {
        ws_.ResetInactivity();
        ResetCharts(ws_.Results.RowCount());
    });

    table_ = new QTableWidget(kQuantities + 1, 2, this);
    table_->setObjectName(QStringLiteral("StringGrid1"));
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->setColumnWidth(0, 100);
    table_->setColumnWidth(1, 125);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setDefaultSectionSize(20);
    for (int i = 0; i <= kQuantities; ++i) {
        auto* name = new QTableWidgetItem(i == 0 ? QStringLiteral("Položka")
                                                 : headers.value(i + kFirstColumn - 1));
        auto* value = new QTableWidgetItem(i == 0 ? QStringLiteral("Hodnota") : QString());
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (i == 0) {
            name->setBackground(palette().button());
            value->setBackground(palette().button());
        }
        table_->setItem(i, 0, name);
        table_->setItem(i, 1, value);
    }
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setFixedSize(100 + 125 + 2 * table_->frameWidth(),
                         (kQuantities + 1) * 20 + 2 * table_->frameWidth());

    auto* controls = new QVBoxLayout;
    controls->addWidget(group_);
    controls->addWidget(depth_);
    controls->addWidget(curves_);
    controls->addWidget(total);
    controls->addWidget(clear);
    controls->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addLayout(controls, 0, 0, 2, 1);
    grid->addWidget(pieView_, 0, 1);
    grid->addWidget(barView_, 0, 2);
    grid->addWidget(table_, 1, 1, Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(lineView_, 1, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);
}

void GrafFinance::ApplySwitches() {
    const QString& switches = ws_.config.GrafFinanci;
    // Positions beyond the text keep their default, on.
    const auto on = [&](int position) {
        return position > switches.size() || switches[position - 1] == u'1';
    };
    applying_ = true;
    for (int i = 1; i <= kQuantities; ++i) {
        boxes_[i - 1]->setChecked(on(i));
        lines_[i - 1]->setVisible(on(i));
    }
    depth_->setChecked(on(kDepthPosition));
    curves_->setChecked(on(kCurvesPosition));
    group_->setVisible(curves_->isChecked());
    applying_ = false;
}

void GrafFinance::StoreSwitches() {
    if (applying_) return;
    QString& switches = ws_.config.GrafFinanci;
    const QString defaults = Config().GrafFinanci;
    if (switches.size() < defaults.size()) switches += defaults.mid(switches.size());
    for (int i = 1; i <= kQuantities; ++i)
        switches[i - 1] = boxes_[i - 1]->isChecked() ? u'1' : u'0';
    switches[kDepthPosition - 1] = depth_->isChecked() ? u'1' : u'0';
    switches[kCurvesPosition - 1] = curves_->isChecked() ? u'1' : u'0';
}

void GrafFinance::closeEvent(QCloseEvent* event) {
    StoreSwitches();
    QWidget::closeEvent(event);
}

QColor GrafFinance::PointColour(int i) const {
    return boxes_[i - 1]->isChecked() ? QuantityColour(i) : palette().color(QPalette::Button);
}

void GrafFinance::ShowChart() {
    ws_.ResetInactivity();
    if (!isVisible()) {
        if (const QScreen* s = screen()) move(s->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

void GrafFinance::ResetCharts(int points) {
    points = qMax(1, points);
    xs_.clear();
    labels_.clear();
    for (int k = 0; k < points; ++k) {
        xs_ << k;
        labels_ << QString();
    }
    for (int i = 1; i <= kQuantities; ++i) {
        history_[i - 1] = QList<double>(points, 0.0);
        colours_[i - 1] = QList<QColor>(points, QuantityColour(i));
        for (int k = 0; k < kQuantities; ++k) bars_[i - 1]->replace(k, 0.0);
        pie_->slices().at(i - 1)->setValue(0.0);
    }
    RedrawLines();
}

void GrafFinance::ShowChartRow(int row) {
    const Table& results = ws_.Results;
    std::array<double, kQuantities> values{};
    for (int i = 1; i <= kQuantities; ++i) {
        const QString text = results.Cell(i + kFirstColumn - 1, row);
        table_->item(i, 1)->setText(text);
        values[i - 1] = std::nearbyint(ParseAmount(text));
    }
    const QString title = results.Cell(Results::Project, row) + QStringLiteral(" ") +
                          results.Cell(Results::Object, row);
    barChart_->setTitle(QStringLiteral("Finance<br>") + title.toHtmlEscaped());
    pieChart_->setTitle(QStringLiteral("Finance<br>") + title.toHtmlEscaped());

    // The window slides by one point: the oldest leaves on the left.
    const double step = xs_.size() >= 2 ? xs_[1] - xs_[0] : 1.0;
    xs_.append(xs_.last() + step);
    xs_.removeFirst();
    labels_.append(results.Cell(Results::Object, row));
    labels_.removeFirst();
    double barMin = 0;
    double barMax = 0;
    for (int i = 1; i <= kQuantities; ++i) {
        const double value = values[i - 1];
        const QColor colour = PointColour(i);
        history_[i - 1].append(value);
        history_[i - 1].removeFirst();
        colours_[i - 1].append(colour);
        colours_[i - 1].removeFirst();
        lines_[i - 1]->setVisible(boxes_[i - 1]->isChecked());
        for (int k = 0; k < kQuantities; ++k) bars_[i - 1]->replace(k, k == i - 1 ? value : 0.0);
        bars_[i - 1]->setColor(colour);
        barMin = qMin(barMin, value);
        barMax = qMax(barMax, value);
        if (boxes_[i - 1]->isChecked()) {
            // A pie cannot show a negative share: such a slice is drawn empty.
            QPieSlice* slice = pie_->slices().at(i - 1);
            slice->setValue(qMax(0.0, value));
            slice->setColor(colour);
        }
    }
    auto* barY = qobject_cast<QValueAxis*>(barChart_->axes(Qt::Vertical).value(0));
    if (barY) {
        barY->setRange(barMin, barMax > barMin ? barMax : barMin + 1);
        barY->applyNiceNumbers();
    }
    RedrawLines();
}

void GrafFinance::RedrawLines() {
    if (xs_.isEmpty()) return;  // switches applied before the first reset
    const bool depth = depth_->isChecked();
    const double step = xs_.size() >= 2 ? xs_[1] - xs_[0] : 1.0;
    double low = 0;
    double high = 0;
    for (const QList<double>& values : history_) {
        for (const double v : values) {
            low = qMin(low, v);
            high = qMax(high, v);
        }
    }
    const double span = high > low ? high - low : 1.0;
    for (int i = 0; i < kQuantities; ++i) {
        const double dx = depth ? i * step * kDepthStepX : 0.0;
        const double dy = depth ? i * span * kDepthStepY : 0.0;
        QList<QPointF> points;
        points.reserve(xs_.size());
        for (int k = 0; k < xs_.size(); ++k) points << QPointF(xs_[k] + dx, history_[i][k] + dy);
        QLineSeries* series = lines_[i];
        series->replace(points);
        series->clearPointsConfiguration();
        for (int k = 0; k < colours_[i].size(); ++k)
            series->setPointConfiguration(k, QXYSeries::PointConfiguration::Color, colours_[i][k]);
        QPen pen = series->pen();
        pen.setWidth(depth ? 4 : 2);
        series->setPen(pen);
    }

    // Axis labels at the points, oldest on the left.
    for (const QString& label : lineX_->categoriesLabels()) lineX_->remove(label);
    // Each label ends a category that begins one step before its point.
    lineX_->setStartValue(xs_.first() - step);
    QStringList taken;
    for (int k = 0; k < xs_.size(); ++k) {
        const QString label = UniqueLabel(labels_[k], taken);
        taken << label;
        lineX_->append(label, xs_[k]);
    }
    const double depthReach = depth ? (kQuantities - 1) * step * kDepthStepX : 0.0;
    // Half a step on either side, so the first and last points are not cut.
    lineX_->setRange(xs_.first() - step / 2, xs_.last() + depthReach + step / 2);
    const double top = high + (depth ? (kQuantities - 1) * span * kDepthStepY : 0.0);
    lineY_->setRange(low, top > low ? top : low + 1);
    lineY_->applyNiceNumbers();
    depthAxis_->setVisible(depth);
}

void GrafFinance::SaveBitmaps() {
    const std::pair<QChartView*, const char*> pictures[] = {
        {lineView_, "01.bmp"}, {pieView_, "02.bmp"}, {barView_, "03.bmp"}};
    for (const auto& [view, suffix] : pictures) {
        const QString path =
            ws_.config.TextPath(QStringLiteral("Graf_Financi_") + QString::fromLatin1(suffix));
        WriteImageFile(path, view->grab().toImage(), "BMP");
    }
}

void GrafFinance::Print() {
    ws_.ResetInactivity();
    if (!RunCommand(ws_.Ask(), [this] { SaveBitmaps(); })) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted) return;
    const QImage image = grab().toImage();
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
}
