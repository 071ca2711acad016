#include "StartUp.h"

#include "../Prompter.h"
#include "../Workspace.h"
#include "../data/Dates.h"
#include "../data/IniFile.h"
#include "../data/People.h"
#include "../data/Progress.h"
#include "../data/ProjectRegister.h"
#include "../data/Templates.h"
#include "../data/TextFile.h"
#include "Access.h"
#include "Config.h"

namespace {

void ReportOversized(Workspace& ws) {
    if (ws.config.Oversized.isEmpty()) return;
    ws.Ask().Error(QStringLiteral("Konfigurační soubor ") + ws.config.ConfigPath() +
                   QStringLiteral(" obsahuje nesmyslně dlouhé hodnoty; program je zkrátil na "
                                  "%1 znaků:\r\n\r\n")
                       .arg(kMaxConfigValue) +
                   ws.config.Oversized.join(QStringLiteral("\r\n")));
}

}  // namespace

bool ReadOrCreateConfiguration(Workspace& ws, bool createMissing) {
    if (ReadConfiguration(ws.config)) {
        ReadUserRecord(ws);
        ReportOversized(ws);
        return false;
    }
    // A fresh installation starts from the built-in defaults and keeps them.
    ReadConfiguration(ws.config, IniFile());
    ReadUserRecord(ws);
    if (!createMissing) return false;
    // Workstations started together on a new folder: the first one creates
    // the file, the others read it, so that a claim already written is never
    // overwritten by another copy's defaults.
    ConfigLock lock(ws.config);
    if (ReadConfiguration(ws.config)) {
        ReadUserRecord(ws);
        return false;
    }
    return !lock.Busy() && SaveConfiguration(ws);
}

StartUpResult LoadAtStartUp(Workspace& ws, bool createMissingConfig) {
    StartUpResult result;
    ws.StartMoment = NowDay();
    result.configCreated = ReadOrCreateConfiguration(ws, createMissingConfig);
    if (LoadProjectRegister(ws, ws.config.SouborAkce) == LoadResult::Quit) {
        result.quit = true;
        return result;
    }
    LoadTaskTemplates(ws, ws.config.SouborUkony);
    LoadAllProgress(ws);
    LoadProgress(ws, ws.config.SouborPopis);
    SetupTable(ws.Results, kResultsTable, ws.config.PopisDPH);
    ws.NotifyTable(kResultsTable);
    ws.ChangeFlags = QStringLiteral("0000000");
    return result;
}

bool SaveConfiguration(Workspace& ws) {
    StoreUserRecord(ws);
    try {
        WriteConfiguration(ws.config);
        return true;
    } catch (const FileError& e) {
        // The system's own words (a full disk, a read-only share) follow the
        // program's guess, so that an administrator can tell the causes apart.
        ws.Ask().Error(
            QStringLiteral("Chyba při zápisu dat do INI!\r\nprogram asi běží na CD\r\núplný "
                           "provoz je možný jen na přepisovatelném médiu\r\nnejlépe na pevném disku"
                           "\r\n\r\n") +
            e.Text());
        return false;
    }
}

void SaveMarkedTables(Workspace& ws) {
    if (!ws.MayWrite()) return;
    Config& cfg = ws.config;
    if (ws.Changed(kChangedProjects)) SaveProjectRegister(ws, cfg.SouborAkce);
    if (ws.Changed(kChangedDeadlines) || ws.Changed(kChangedFinance))
        SaveProgress(ws, cfg.SouborPopis, SaveMode::Open);
    if (ws.Changed(kChangedTemplates)) SaveTaskTemplates(ws, cfg.SouborUkony);
    if (ws.Changed(kChangedNotes)) SaveNotes(ws, cfg.SouborPoznamky);
}
