#include "FuzzTargets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Prompter.h"
#include "Workspace.h"
#include "data/Cells.h"
#include "data/DataCheck.h"
#include "data/Dates.h"
#include "data/IniFile.h"
#include "data/People.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Templates.h"
#include "data/TextFile.h"
#include "diary/DayRecord.h"
#include "shell/Access.h"
#include "shell/Config.h"
#include "shell/Heartbeat.h"
#include "shell/Reconstruction.h"
#include "tools/JpegImage.h"

namespace {

// The readers take a path: the input goes to one scratch file, rewritten each run.
QString Scratch(const QByteArray& data, const QString& name) {
    static const QString dir = [] {
        const QString d = QDir::temp().filePath(
            QStringLiteral("orva-fuzz-%1").arg(QCoreApplication::applicationPid()));
        QDir().mkpath(d);
        return d;
    }();
    const QString path = dir + u'/' + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(data);
    return path;
}

QStringList Lines(const QByteArray& data) {
    return TextFile::Decode(data).split(u'\n');
}

void Cells(const QByteArray& data) {
    const QString text = TextFile::Decode(data);
    const double amount = ParseAmount(text);
    FormatAmount(amount);
    FormatAmountPlain(amount);
    ParseInt(text);
    const double day = ParseDate(text);
    FormatDate(day);
    FormatShortDate(day);
    DateFromDay(day);
    for (int mode = 0; mode < 4; ++mode) TrimCell(text, mode);
    ReplaceChar(text, u';', u'~');
    const FieldBuffer fields = SplitFields(text, 30, u';');
    PadText(fields[0], fields[1], text.size() % 64);
    IsBadDateCell(text);
    IsBadAmountCell(text);
}

void Register(const QByteArray& data) {
    ReadProjectRegister(Scratch(data, QStringLiteral("NameAkce.csv")), QStringLiteral("[DPH]"));
    DataCheckReport report;
    ScanRegisterLines(Lines(data), QStringLiteral("NameAkce.csv"), report);
}

void ProgressFile(const QByteArray& data) {
    ReadProgressFile(Scratch(data, QStringLiteral("APr_NameAkce_101.csv")),
                     QStringLiteral("[DPH]"));
    DataCheckReport report;
    ScanProgressLines(Lines(data), QStringLiteral("APr_NameAkce_101.csv"), QStringLiteral("[DPH]"),
                      report);
}

void TemplatesFile(const QByteArray& data) {
    ReadTaskTemplates(Scratch(data, QStringLiteral("NameUkony.csv")));
    DataCheckReport report;
    ScanTemplateLines(Lines(data), QStringLiteral("NameUkony.csv"), report);
}

void PeopleFile(const QByteArray& data) {
    try {
        ReadPeopleEntries(Scratch(data, QStringLiteral("Lide.CSV")));
    } catch (const FileError&) {
    }
}

// The configuration as the start-up reads it: either encoding, every key,
// the user record and the slot holder's heartbeat.
void Configuration(const QByteArray& data) {
    const QString path = Scratch(data, QStringLiteral("ORVA_Sledovani.Ini"));
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = QFileInfo(path).absolutePath() + u'/';
    ws.config.UserKey = QStringLiteral("Uzivatel_TEST");
    try {
        IniFile ini = LoadConfigurationFile(path);
        ReadConfiguration(ws.config, ini);
        ReadUserRecord(ws);
        CheckPermission(ws, QStringLiteral("NEHLASIT"), 3);
        WriteConfiguration(ws.config, ini);
        for (const QString& section : ini.Sections())
            for (const QString& key : ini.Keys(section)) ini.Value(section, key);
    } catch (const FileError&) {
    }
    ReadHeartbeat(path);
}

// A day record file: every section read as the calendar reads it, then written back.
void DayFile(const QByteArray& data) {
    try {
        IniFile ini = IniFile::Load(Scratch(data, QStringLiteral("Den_2026.12.09.ITI")));
        for (const QString& section : ini.Sections()) {
            DayRecord record = ReadDayRecordFrom(ini, section, 46365.0);
            WriteDayRecordTo(ini, DayProject{section, {}, {}, {}}, 46365.0, record);
        }
    } catch (const FileError&) {
    }
}

// A monthly change log or a backup, as the reconstruction reads it.
void ChangeLogFile(const QByteArray& data) {
    try {
        ReadChangeLog(Scratch(data, QStringLiteral("Zmeny_2026-12.csv")), QStringLiteral("[DPH]"));
    } catch (const FileError&) {
    }
}

void Jpeg(const QByteArray& data) {
    DecodeJpegData(data, QStringLiteral("foto.jpg"), QSize(64, 48));
    DecodeJpegData(data, QStringLiteral("foto.jpg"));
}

}  // namespace

const QList<FuzzTarget>& FuzzTargets() {
    static const QList<FuzzTarget> targets = {
        {"cells", Cells},
        {"register", Register},
        {"progress", ProgressFile},
        {"templates", TemplatesFile},
        {"people", PeopleFile},
        {"ini", Configuration},
        {"jpeg", Jpeg},
        {"dayfile", DayFile},
        {"changelog", ChangeLogFile},
    };
    return targets;
}
