// From an empty process state to the main window on the screen: the start-up
// sequence of the desktop program (configuration, every data file, the slot
// claim with the log-in record) and the first showing, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "DataGenerator.h"
#include "Prompter.h"
#include "Workspace.h"
#include "data/IniFile.h"
#include "main/Sledovani.h"
#include "shell/Config.h"

namespace {

void BM_StartUpToWindowShown(benchmark::State& state) {
    QTemporaryDir dir;
    GenerateDataFolder(dir.path(), {int(state.range(0)), int(state.range(1)), true});
    const QString base = dir.path() + u'/';
    for (auto _ : state) {
        state.PauseTiming();
        // Every round starts like the first start of a month: the slot free and
        // no change log yet, so the log-in record writes the whole snapshot.
        for (const QString& log : QDir(base).entryList({QStringLiteral("Zmeny_*.csv")}))
            QFile::remove(base + log);
        IniFile ini = IniFile::Load(base + QStringLiteral("ORVA_Sledovani.Ini"));
        ini.SetValue(QStringLiteral("Přístup"), QStringLiteral("Pripojen"),
                     QStringLiteral("Volný"));
        ini.Save(base + QStringLiteral("ORVA_Sledovani.Ini"));
        state.ResumeTiming();

        ScriptedPrompter prompter;
        Workspace ws(prompter);
        ws.config.BaseDir = base;
        Sledovani window(ws);
        if (!window.StartUp()) state.SkipWithError("start-up declined");
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());

        state.PauseTiming();
        window.CloseSequence(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToWindowShown)
    ->Args({1000, 60})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
