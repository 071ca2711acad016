#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "DataGenerator.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/Dates.h"
#include "data/ProjectRegister.h"
#include "data/Sorting.h"
#include "shell/ChangeLog.h"
#include "shell/Config.h"

namespace {

// A deadline table of `rows` full rows of one project with random dates in
// "Plán od", a few of them empty or unreadable, as the users' tables hold them.
Table DeadlineTable(int rows) {
    Table t(kDeadlineTable);
    SetupTable(t, kDeadlineTable, QString());
    std::mt19937 rng(20261209);
    for (int r = 1; r <= rows; ++r) {
        const QDate from = QDate(2020, 1, 1).addDays(int(rng() % 3000));
        const int pick = int(rng() % 50);
        const QString plan = pick == 0   ? QString()
                             : pick == 1 ? QStringLiteral("chybí")
                             : pick == 2 ? from.toString(QStringLiteral("d.M.yyyy"))
                                         : FormatDate(from);
        const QString seq = QString::number(r).rightJustified(2, u'0');
        const QStringList cells = {QString::number(r),
                                   QStringLiteral("T-0012"),
                                   QStringLiteral("Realizace"),
                                   QStringLiteral("Stavba"),
                                   QStringLiteral("Výstavba"),
                                   plan,
                                   FormatDate(from.addDays(90)),
                                   QString(),
                                   QString(),
                                   QStringLiteral("90"),
                                   FormatDate(from),
                                   FormatDate(from.addDays(95)),
                                   QStringLiteral("T-0012-") + seq + QStringLiteral("//"),
                                   QStringLiteral("v běhu"),
                                   QString(),
                                   QString(),
                                   QStringLiteral("Zapis_0012.txt"),
                                   QString()};
        for (int c = 0; c < cells.size(); ++c) t.SetCell(c, r, cells[c]);
    }
    return t;
}

// Sorting a 10,000-row deadline table by a date column, with its log record.
void BM_SortDeadlineByDate(benchmark::State& state) {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = dir.path() + u'/';
    const Table unsorted = DeadlineTable(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ws.Deadlines = unsorted;
        // A table of its own, as the program holds it, not one shared with the copy.
        for (int r = 1; r < ws.Deadlines.RowCount(); ++r)
            ws.Deadlines.SetCell(0, r, ws.Deadlines.Cell(0, r));
        state.ResumeTiming();
        SortDeadlineTable(ws, 5);
        benchmark::DoNotOptimize(ws.Deadlines.Cell(5, 1));
    }
}
BENCHMARK(BM_SortDeadlineByDate)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first record of a month: a new monthly log with the snapshot of the
// project table and every project's progress file.
void BM_LogChangeNewMonthlyLog(benchmark::State& state) {
    QTemporaryDir dir;
    const QString base = dir.path() + u'/';
    GenerateDataFolder(base, {int(state.range(0)), int(state.range(1)), true});
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = base;
    ReadConfiguration(ws.config);
    LoadProjectRegister(ws, ws.config.SouborAkce);
    ws.config.CestaZmeny = QStringLiteral("Zmeny/");
    QDir().mkpath(base + QStringLiteral("Zmeny"));
    const QString label = QString::fromUtf16(kLabelLogin);
    const QString log =
        ws.config.PathIn(ws.config.CestaZmeny, ChangeLogFileName(ws, QString(), label));
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(log);
        state.ResumeTiming();
        LogChange(ws, QString(), label, kLogEvent, 1);
        state.PauseTiming();
        bytes = QFileInfo(log).size();
        state.ResumeTiming();
    }
    state.counters["log_MB"] = double(bytes) / (1024.0 * 1024.0);
    if (!prompter.log.isEmpty()) state.SkipWithError("the load asked a question");
}
BENCHMARK(BM_LogChangeNewMonthlyLog)
    ->Args({1000, 60})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
