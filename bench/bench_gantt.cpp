// The Gantt diagram with a large project: one full redraw of the window's
// pictures (what every scroll, zoom and edit costs), the hover hit test of a
// mouse move, and one step of a drag (the overlay repainted over the picture).
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QMouseEvent>

#include "Prompter.h"
#include "Workspace.h"
#include "data/Dates.h"
#include "data/Table.h"
#include "editing/Links.h"
#include "planning/Diagram.h"
#include "shell/Config.h"

namespace {

constexpr int kRows = 2000;

QString Id(int n) {
    return QStringLiteral("T-001-%1").arg(n, 4, 10, QLatin1Char('0'));
}

// One project of kRows deadline rows in groups of 20: a superior and its
// children, each child the successor of the one before.
void FillProject(Workspace& ws) {
    SetupTable(ws.Projects, kProjectTable, QString());
    ws.Projects.SetCell(Project::Number, 1, QStringLiteral("001"));
    ws.Projects.SetCell(Project::Name, 1, QStringLiteral("Velká akce"));
    Table& t = ws.Deadlines;
    SetupTable(t, kDeadlineTable, QString());
    const double start = DayFromDate(QDate(2026, 3, 1));
    for (int r = 1; r <= kRows; ++r) {
        QString cell = Id(r) + u'/';
        if ((r - 1) % 20 != 0) {
            cell += QStringLiteral("N-") + Id(r - (r - 1) % 20);
            if ((r - 1) % 20 > 1) cell += QStringLiteral("/P-") + Id(r - 1);
        }
        t.SetCell(0, r, QString::number(r));
        t.SetCell(1, r, QStringLiteral("T-001"));
        t.SetCell(2, r, QStringLiteral("Realizace %1").arg(r));
        t.SetCell(3, r, QStringLiteral("Stavba"));
        t.SetCell(4, r, QStringLiteral("Průběh"));
        t.SetCell(5, r, FormatDate(start + r % 90));
        t.SetCell(6, r, FormatDate(start + r % 90 + 7));
        if (r % 3 == 0) t.SetCell(7, r, FormatDate(start + r % 90));
        if (r % 3 == 0) t.SetCell(8, r, FormatDate(start + r % 90 + 5));
        t.SetCell(9, r, QStringLiteral("7"));
        t.SetCell(10, r, FormatDate(start + r % 90));
        t.SetCell(11, r, FormatDate(start + r % 90 + 9));
        t.SetCell(12, r, cell);
    }
    t.SetRowCount(kRows + 1);
    ws.Current().SetProjectRow(1);
    ws.RangeStart = start - 50;
    ws.StartMoment = NowDay();
    ws.Access.Permission = QStringLiteral("3_000");
    ws.config.SetFlag(kFlagFollowLinks, false);
    ws.config.GanttSloupce = 30;
    ws.config.GanttNasobitel = 8.0;  // day lines on
    ws.config.GanttVyskaRadku = 23;
}

struct Window {
    ScriptedPrompter prompter;
    Workspace ws{prompter};
    LinkRecorder links{ws};
    std::unique_ptr<Diagram> gantt;

    explicit Window(int firstRow) {
        FillProject(ws);
        ws.config.GanttRadky = firstRow;
        gantt = std::make_unique<Diagram>(ws, links);
        gantt->resize(1600, 1000);
        gantt->show();
        QApplication::processEvents();
    }
};

// Rows scrolled to the middle of the project.
void BM_GanttRedraw(benchmark::State& state) {
    Window w(int(state.range(0)));
    for (auto _ : state) {
        w.gantt->Redraw();
        benchmark::DoNotOptimize(w.gantt->Pictures().diagram.constBits());
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_GanttRedraw)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

// The diagram widget rendered into an image, as it reaches the screen.
void BM_GanttRenderWidget(benchmark::State& state) {
    Window w(1000);
    QImage image(w.gantt->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        w.gantt->Redraw();
        w.gantt->render(&image);
    }
}
BENCHMARK(BM_GanttRenderWidget)->Unit(benchmark::kMillisecond);

// A mouse move over the diagram without a drag: the hit test of the rows.
void BM_GanttHover(benchmark::State& state) {
    Window w(1000);
    GanttInteraction& g = w.gantt->Interaction();
    int x = 0;
    for (auto _ : state) {
        g.Move(QPoint(x++ % 800, 400));
        benchmark::DoNotOptimize(g.HoverCode());
    }
}
BENCHMARK(BM_GanttHover)->Unit(benchmark::kMicrosecond);

// One step of a drag: the outline moves and the canvas repaints over the picture.
void BM_GanttDragStep(benchmark::State& state) {
    Window w(1000);
    w.gantt->ModeAction(GanttMode::Moves)->trigger();
    QWidget* canvas = w.gantt->Canvas();
    GanttInteraction& g = w.gantt->Interaction();
    const GanttScale s = g.Scale();
    // The plan bar of the row drawn at the top plus five.
    const int row = 1005;
    const double start = DayFromDate(QDate(2026, 3, 1));
    const QPoint at(s.X(start + row % 90 + 3), s.Y(row) - 4);
    g.Move(at);
    g.Press(Qt::LeftButton, at);
    if (!g.Dragging()) {
        state.SkipWithError("no drag started");
        return;
    }
    QImage image(canvas->size(), QImage::Format_RGB32);
    int dx = 0;
    for (auto _ : state) {
        g.Move(at + QPoint(++dx % 200, 0));
        canvas->render(&image);
    }
}
BENCHMARK(BM_GanttDragStep)->Unit(benchmark::kMicrosecond);

}  // namespace
