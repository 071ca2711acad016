#include <benchmark/benchmark.h>

#include <QDate>

#include "Prompter.h"
#include "Workspace.h"
#include "data/Dates.h"
#include "data/Table.h"
#include "editing/Links.h"
#include "shell/Config.h"

namespace {

constexpr int kRows = 2000;

QString Id(int n) {
    return QStringLiteral("T-001-%1").arg(n, 4, 10, QLatin1Char('0'));
}

// A deadline table of kRows rows. Grouped: superiors of 19 children each, the
// children of all groups one chain of successors from the first group to the
// last. Otherwise one chain through every row, listed against row order, so
// that each row's successor has been visited already.
Table DeadlineTable(bool grouped) {
    Table t(kDeadlineTable);
    SetupTable(t, kDeadlineTable, QString());
    const double start = DayFromDate(QDate(2026, 3, 1));
    int previous = 0;
    for (int r = 1; r <= kRows; ++r) {
        const int n = grouped ? r : kRows - r + 1;
        QString cell = Id(n) + u'/';
        if (grouped) {
            const bool superior = (r - 1) % 20 == 0;
            if (!superior) {
                cell += QStringLiteral("N-") + Id(r - (r - 1) % 20);
                if (previous) cell += QStringLiteral("/P-") + Id(previous);
                previous = r;
            }
        } else if (n > 1) {
            cell += QStringLiteral("/P-") + Id(n - 1);
        }
        t.SetCell(0, r, QString::number(r));
        t.SetCell(1, r, QStringLiteral("T-001"));
        t.SetCell(2, r, QStringLiteral("Realizace"));
        t.SetCell(5, r, FormatDate(start + r % 90));
        t.SetCell(6, r, FormatDate(start + r % 90 + 7));
        if (r % 3 == 0) t.SetCell(7, r, FormatDate(start + r % 90));
        t.SetCell(9, r, QString::number(3 + r % 11));
        t.SetCell(12, r, cell);
    }
    t.SetRowCount(kRows + 1);
    return t;
}

void BM_PropagateLinkDates(benchmark::State& state) {
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.SetFlag(kFlagFollowLinks, true);
    ws.config.SetFlag(kFlagSortByIdForGantt, false);
    const Table prepared = DeadlineTable(state.range(0) != 0);
    const double today = DayFromDateTime(QDateTime(QDate(2026, 12, 9), QTime(10, 30)));
    for (auto _ : state) {
        state.PauseTiming();
        ws.Deadlines = prepared;
        state.ResumeTiming();
        PropagateLinkDates(ws, today);
        benchmark::DoNotOptimize(ws.Deadlines.Cell(6, kRows));
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_PropagateLinkDates)
    ->ArgName("grouped")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
