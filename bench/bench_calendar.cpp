// The diary calendar's full redraw with 200 projects over 40 days: frame,
// problem counts of every cell, the day records of every visible day, painted
// into the calendar's images, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "DataGenerator.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/IniFile.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "diary/DayRecord.h"
#include "diary/Graf.h"
#include "shell/Config.h"

namespace {

constexpr int kProjects = 200;
constexpr int kDays = 40;
double FirstDay() {
    return DayFromDate(QDate(2026, 11, 2));
}

struct Calendar {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Workspace ws{prompter};
    std::unique_ptr<Graf> graf;

    Calendar() {
        GenerateDataFolder(dir.path(), {kProjects, 60, true});
        ws.config.BaseDir = dir.path() + u'/';
        ReadConfiguration(ws.config);
        LoadProjectRegister(ws, ws.config.SouborAkce);
        // A record for every third cell, with tasks, minutes and messages;
        // each day file written once.
        for (int d = 0; d < kDays; ++d) {
            IniFile ini;
            for (int p = 1; p < ws.Projects.RowCount(); ++p) {
                if ((d + p) % 3) continue;
                DayRecord r;
                r.tasks = {
                    {"Novák", "Kontrolní den", FormatShortDate(FirstDay() + d + 3), "V běhu"},
                    {"Svoboda", "Fakturace", FormatShortDate(FirstDay() + d - 2), "V běhu"}};
                r.taskCount = 2;
                r.minutes = {"Stavba probíhá podle harmonogramu.", "Bez závad."};
                r.messages = {"Zavolat projektantovi."};
                const DayProject project{ws.Projects.Cell(Project::Number, p),
                                         ws.Projects.Cell(Project::Name, p),
                                         ws.Projects.Cell(Project::Manager, p),
                                         ws.Projects.Cell(Project::Technician, p)};
                WriteDayRecordTo(ini, project, FirstDay() + d, r);
            }
            ini.Save(DayFilePath(ws.config, FirstDay() + d));
        }
        graf = std::make_unique<Graf>(ws);
        graf->resize(3200, 22 + 21 + kProjects * ws.config.VyskaRadku);
        graf->show();
        QApplication::processEvents();
        // Exactly 40 columns: the grid one pixel wider than 39 of them.
        QWidget* grid = graf->findChild<QWidget*>(QStringLiteral("Mrizka"));
        const int wanted = (kDays - 1) * ws.config.SirkaSloupce + 1;
        graf->resize(graf->width() + wanted - grid->width(), graf->height());
        QApplication::processEvents();
        graf->SetFirstDay(FirstDay());
    }
};

// Never destroyed: its windows must not outlive the QApplication of main,
// which a static would (the program crashed at its exit).
Calendar& Shared() {
    static Calendar* calendar = new Calendar;
    return *calendar;
}

void Check(benchmark::State& state, Calendar& c) {
    if (c.graf->View().columns != kDays) state.SkipWithError("not 40 columns");
    if (!c.prompter.log.isEmpty()) state.SkipWithError("a question was asked");
    state.counters["columns"] = c.graf->View().columns;
    state.counters["projects"] = c.ws.Projects.RowCount() - 1;
}

void BM_CalendarRedraw(benchmark::State& state) {
    Calendar& c = Shared();
    for (auto _ : state) c.graf->RefreshCalendar();
    Check(state, c);
}
BENCHMARK(BM_CalendarRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first redraw after start-up, or after every file changed: nothing cached.
void BM_CalendarRedrawCold(benchmark::State& state) {
    Calendar& c = Shared();
    for (auto _ : state) {
        c.graf->Data().Progress().Clear();
        c.graf->Data().DayFiles().Clear();
        c.graf->RefreshCalendar();
    }
    Check(state, c);
}
BENCHMARK(BM_CalendarRedrawCold)->Unit(benchmark::kMillisecond)->UseRealTime();

// One pointer step over the grid: the outline moves and the grid is repainted.
void BM_PointerTracking(benchmark::State& state) {
    Calendar& c = Shared();
    int step = 0;
    for (auto _ : state) {
        step = (step + 37) % 2000;
        c.graf->PointerMoved(Graf::Picture::Grid, QPoint(step, step * 3));
        QApplication::processEvents();
    }
    Check(state, c);
}
BENCHMARK(BM_PointerTracking)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
