#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <map>
#include <memory>

#include "DataGenerator.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/DataCheck.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Templates.h"
#include "shell/Config.h"
#include "shell/StartUp.h"

namespace {

// One generated folder per size, made at first use and removed at exit.
QString DataFolder(int projects, int rows) {
    static std::map<std::pair<int, int>, std::unique_ptr<QTemporaryDir>> folders;
    auto& dir = folders[{projects, rows}];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        GenerateDataFolder(dir->path(), {projects, rows, true});
    }
    return dir->path() + u'/';
}

void ReportPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}

// What the program reads at start-up before the windows: configuration,
// register, templates and every project's progress file.
void BM_StartUpLoad(benchmark::State& state) {
    const QString base = DataFolder(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        ScriptedPrompter prompter;
        Workspace ws(prompter);
        ws.config.BaseDir = base;
        ReadConfiguration(ws.config);
        LoadProjectRegister(ws, ws.config.SouborAkce);
        LoadTaskTemplates(ws, ws.config.SouborUkony);
        LoadAllProgress(ws);
        benchmark::DoNotOptimize(ws.Deadlines.RowCount());
        if (!prompter.log.isEmpty()) state.SkipWithError("the load asked a question");
    }
    ReportPeakMemory(state);
}
BENCHMARK(BM_StartUpLoad)
    ->Args({100, 60})
    ->Args({1000, 60})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole start-up data sequence, including the second load of the current file.
void BM_LoadAtStartUp(benchmark::State& state) {
    const QString base = DataFolder(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        ScriptedPrompter prompter;
        Workspace ws(prompter);
        ws.config.BaseDir = base;
        LoadAtStartUp(ws, false);
        benchmark::DoNotOptimize(ws.Deadlines.RowCount());
    }
    ReportPeakMemory(state);
}
BENCHMARK(BM_LoadAtStartUp)->Args({1000, 60})->Unit(benchmark::kMillisecond)->UseRealTime();

// What orva-cli check does: the load with every file scanned a second time.
void BM_CheckDataFolder(benchmark::State& state) {
    const QString base = DataFolder(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        ScriptedPrompter prompter;
        Workspace ws(prompter);
        ws.config.BaseDir = base;
        const DataCheckReport report = CheckDataFolder(ws, prompter);
        if (!report.Clean()) state.SkipWithError("the generated folder does not check clean");
    }
    ReportPeakMemory(state);
}
BENCHMARK(BM_CheckDataFolder)
    ->Args({100, 60})
    ->Args({1000, 60})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// GenerateProgressRows(0) over every project, writing into a folder of its own
// so that the load benchmarks keep their rows.
void BM_GenerateProgressRows(benchmark::State& state) {
    QTemporaryDir dir;
    GenerateDataFolder(dir.path(), {int(state.range(0)), 0, true});
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = dir.path() + u'/';
    ReadConfiguration(ws.config);
    LoadProjectRegister(ws, ws.config.SouborAkce);
    LoadTaskTemplates(ws, ws.config.SouborUkony);
    for (auto _ : state) {
        const GenerateReport report = GenerateProgressRows(ws, 0);
        benchmark::DoNotOptimize(report.written.size());
    }
    ReportPeakMemory(state);
}
BENCHMARK(BM_GenerateProgressRows)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
