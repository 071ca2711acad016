#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>
#include <array>

class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;
class QCheckBox;
class QGroupBox;
class QLineSeries;
class QPieSeries;
class QTableWidget;
class QValueAxis;
class Workspace;

// The finance chart: the sixteen money values of one results row as a pie
// chart and a bar chart, and a line chart that keeps the last N rows shown so
// that stages, years or projects can be compared. The switches (the sixteen
// boxes, "2D/3D", "Křivky ") live in the configuration value "Graf_Financí".
//
// Qt Charts draws no 3D: the 3D look shifts each line series by its own depth
// step to the right and upwards, as a chart with depth would show the series
// one behind another, and shows the depth axis "Porovnání" above the chart.
class GrafFinance : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kQuantities = 16;
    // Quantity i (from 1) is results column i + 5.
    static constexpr int kFirstColumn = 6;
    static constexpr int kInitialPoints = 10;

    explicit GrafFinance(Workspace& ws, QWidget* parent = nullptr);

    // The colour of quantity i (from 1): its box, line, bar and slice.
    static QColor QuantityColour(int i);

    QCheckBox* Box(int i) const { return boxes_[i - 1]; }
    QCheckBox* DepthSwitch() const { return depth_; }
    QCheckBox* CurvesSwitch() const { return curves_; }
    QGroupBox* BoxGroup() const { return group_; }
    QLineSeries* Line(int i) const { return lines_[i - 1]; }
    QBarSet* Bar(int i) const { return bars_[i - 1]; }
    QPieSeries* Pie() const { return pie_; }
    QTableWidget* ValueTable() const { return table_; }
    QChartView* LineView() const { return lineView_; }
    QChartView* BarView() const { return barView_; }
    QChartView* PieView() const { return pieView_; }
    // The values of quantity i in the line chart's history, oldest first.
    QList<double> History(int i) const { return history_[i - 1]; }
    QStringList PointLabels() const { return labels_; }
    int PointsPerSeries() const { return int(xs_.size()); }

  public slots:
    // The "Graf" button of the finance overview and the main menu "Graf Financí".
    void ShowChart();
    // Shows a results row: text table, bars, slices and a new point per line.
    void ShowChartRow(int row);
    // Empties the three charts; the line chart gets points points per series.
    void ResetCharts(int points);
    // "Tisk": the three bitmaps into the text folder, then the window printed.
    void Print();
    // The line, pie and bar charts as "Graf_Financi_01.bmp", "02" and "03".
    void SaveBitmaps();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildCharts();
    void BuildControls();
    void ApplySwitches();
    // Positions 1-18 of "Graf_Financí" from the boxes and switches.
    void StoreSwitches();
    void RedrawLines();
    QColor PointColour(int i) const;

    Workspace& ws_;
    std::array<QCheckBox*, kQuantities> boxes_{};
    std::array<QLineSeries*, kQuantities> lines_{};
    std::array<QBarSet*, kQuantities> bars_{};
    QCheckBox* depth_ = nullptr;
    QCheckBox* curves_ = nullptr;
    QGroupBox* group_ = nullptr;
    QTableWidget* table_ = nullptr;
    QChart* lineChart_ = nullptr;
    QChart* barChart_ = nullptr;
    QChart* pieChart_ = nullptr;
    QChartView* lineView_ = nullptr;
    QChartView* barView_ = nullptr;
    QChartView* pieView_ = nullptr;
    QPieSeries* pie_ = nullptr;
    QCategoryAxis* lineX_ = nullptr;
    QValueAxis* lineY_ = nullptr;
    QValueAxis* depthAxis_ = nullptr;

    // The line chart's history: X positions, labels, values and colours.
    QList<double> xs_;
    QStringList labels_;
    std::array<QList<double>, kQuantities> history_;
    std::array<QList<QColor>, kQuantities> colours_;
    bool applying_ = false;
};
