#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <map>
#include <memory>

#include "DataGenerator.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/ProjectRegister.h"
#include "finance/FinanceOverview.h"
#include "shell/Config.h"

namespace {

QString DataFolder(int projects, int rows) {
    static std::map<std::pair<int, int>, std::unique_ptr<QTemporaryDir>> folders;
    auto& dir = folders[{projects, rows}];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        GenerateDataFolder(dir->path(), {projects, rows, true});
    }
    return dir->path() + u'/';
}

// The overview of all projects (range 0) of 60 rows, divided by stages,
// years, measures or into yearly totals (range 1). Range 2: 1 when every
// progress file is parsed again (a cold cache), 0 when unchanged files come
// from the cache, as on every computation after the first.
void BM_FinanceOverviewAll(benchmark::State& state) {
    const QString base = DataFolder(int(state.range(0)), 60);
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = base;
    ReadConfiguration(ws.config);
    LoadProjectRegister(ws, ws.config.SouborAkce);
    ws.Current().SetProjectRow(1);
    SetOverviewSet(ws, OverviewSet::All);
    SetOverviewDivision(ws, OverviewDivision(state.range(1)));
    const bool cold = state.range(2) != 0;
    ComputeFinanceOverview(ws);
    for (auto _ : state) {
        if (cold) ws.Overview.files.Clear();
        ComputeFinanceOverview(ws);
        benchmark::DoNotOptimize(ws.Results.RowCount());
    }
    state.counters["results_rows"] = ws.Results.RowCount();
    if (!prompter.log.isEmpty()) state.SkipWithError("the computation asked a question");
}
BENCHMARK(BM_FinanceOverviewAll)
    ->ArgNames({"projects", "division", "cold"})
    ->Args({1000, 0, 0})
    ->Args({1000, 1, 0})
    ->Args({1000, 2, 0})
    ->Args({1000, 3, 0})
    ->Args({1000, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
