#include "Config.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QSysInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

#include "../Clock.h"
#include "../data/Cells.h"
#include "../data/Dates.h"
#include "../data/IniFile.h"
#include "../data/TextFile.h"
#include "Heartbeat.h"

namespace {

const QString kSettings = QString::fromUtf16(kSettingsSection);
const QString kAccess = QString::fromUtf16(kAccessSection);

QString Folder(const QString& value) {
    QString v = value.trimmed();
    v.replace(u'\\', u'/');
    if (!v.isEmpty() && !v.endsWith(u'/')) v += u'/';
    return v;
}

}  // namespace

bool Config::Flag(int position) const {
    return FlagChar(position) == u'1';
}

QChar Config::FlagChar(int position) const {
    return position >= 1 && position <= SettingsFlags.size() ? SettingsFlags[position - 1]
                                                             : QChar(u'0');
}

void Config::SetFlag(int position, bool on) {
    SetFlagChar(position, on ? u'1' : u'0');
}

void Config::SetFlagChar(int position, QChar value) {
    if (position < 1 || position > 60) return;
    while (SettingsFlags.size() < position) SettingsFlags += u'0';
    SettingsFlags[position - 1] = value;
}

QString Config::ConfigPath() const {
    return BaseDir + QString::fromUtf16(kConfigFileName);
}

QString Config::PathIn(const QString& folder, const QString& fileName) const {
    QString name = fileName;
    name.replace(u'\\', u'/');
    return BaseDir + Folder(folder) + name;
}

QString Config::RelativeFolder(const QString& absoluteDir) const {
    const QString rel = QDir(BaseDir).relativeFilePath(absoluteDir);
    if (rel.isEmpty() || rel == QLatin1String(".")) return QString();
    return rel.endsWith(u'/') ? rel : rel + u'/';
}

QString NormaliseSettingsFlags(const QString& value) {
    QString v = value.left(60);
    if (v.size() < 30) v = (v + QString(31, u'0')).left(60);
    return v;
}

QString WorkstationIdentifier() {
    QString user;
#ifdef Q_OS_UNIX
    // The account itself, not the environment: a session started without USER
    // would otherwise share its key with every other such user.
    if (const passwd* pw = getpwuid(getuid())) user = QString::fromLocal8Bit(pw->pw_name);
#endif
    if (user.isEmpty()) user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    QString machine = QString::fromLatin1(QSysInfo::machineUniqueId());
    if (machine.isEmpty()) machine = QSysInfo::machineHostName();
    return machine + u'/' + user;
}

QString DefaultUserKey() {
    const QByteArray hash =
        QCryptographicHash::hash(WorkstationIdentifier().toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("Uzivatel_") + QString::fromLatin1(hash.toHex().left(16)).toUpper();
}

namespace {

QString Limited(const IniFile& ini, const QString& section, const QString& key,
                const QString& def) {
    return ini.Value(section, key, def).left(kMaxConfigValue);
}

}  // namespace

QString SlotHolderIn(const IniFile& ini) {
    return Limited(ini, kAccess, QString::fromUtf16(kSlotKey), QString::fromUtf16(kSlotFree));
}

QString AccessValueIn(const IniFile& ini, const QString& key) {
    return Limited(ini, kAccess, key, QString());
}

void ReadConfiguration(Config& c, const IniFile& ini) {
    c.Oversized.clear();
    for (const QString& section : {kSettings, kAccess})
        for (const QString& key : ini.Keys(section)) {
            const qsizetype length = ini.Value(section, key).size();
            if (length > kMaxConfigValue)
                c.Oversized << QStringLiteral("[%1] %2 (%3 znaků)").arg(section, key).arg(length);
        }
    auto text = [&](const char16_t* key, const QString& def) {
        return Limited(ini, kSettings, QString::fromUtf16(key), def);
    };
    auto number = [&](const char16_t* key, int def) {
        return ini.IntValue(kSettings, QString::fromUtf16(key), def);
    };
    const Config defaults;
    c.Test = text(u"TEST", defaults.Test);
    c.Popis = text(u"Popis", defaults.Popis);
    c.Firma = text(u"Firma", defaults.Firma);
    c.Cesta = Folder(text(u"Cesta", QString()));
    c.CestaTXT = Folder(text(u"CestaTXT", QString()));
    c.CestaFoto = Folder(text(u"CestaFoto", QString()));
    c.CestaZmeny = Folder(text(u"CestaZmeny", QString()));
    c.CestaDennik = Folder(text(u"CestaDennik", QString()));
    c.SouborAkce = text(u"Soubor_Akce_CSV", defaults.SouborAkce);
    c.SouborPopis = text(u"Soubor_Popis_CSV", defaults.SouborPopis).left(60);
    c.SouborUkony = text(u"Soubor_Ukony_CSV", defaults.SouborUkony);
    c.SouborLidi = text(u"Soubor_Lidi_csv", defaults.SouborLidi);
    c.SouborVysledky = text(u"Soubor_Vysledky_CSV", defaults.SouborVysledky);
    c.SouborPoznamky = text(u"Soubor_Poznamky_TXT", defaults.SouborPoznamky);
    c.PopisDPH = text(u"popis_DPH", defaults.PopisDPH);
    c.VyseDPH = text(u"Vyse_DPH", defaults.VyseDPH);
    c.SirkaSloupce = number(u"Šířka_Sloupce", defaults.SirkaSloupce);
    c.VyskaRadku = number(u"Výška_Řádku", defaults.VyskaRadku);
    c.GanttVyskaRadku = number(u"Gantt_Výška_Řádku", defaults.GanttVyskaRadku);
    c.GanttSloupce = number(u"Gantt_Sloupce", defaults.GanttSloupce);
    c.GanttRadky = number(u"Gantt_Radky", defaults.GanttRadky);
    c.GanttPomNasobitel = number(u"Gantt_PomNásobitel", defaults.GanttPomNasobitel);
    c.GanttNasobitel = ParseAmount(text(u"Gantt_Násobitel", QStringLiteral("1")));
    const double saved = ParseDate(text(u"Datum uložení", QString()));
    c.DatumUlozeni = saved == kEmptyDate ? Clock::Today() : DateFromDay(saved);
    c.UchylkaTerminy = number(u"Úchylka_Chyby_Termíny", defaults.UchylkaTerminy);
    c.UchylkaFinance = number(u"Úchylka_Chyby_Finance", defaults.UchylkaFinance);
    c.DobaNecinnosti = number(u"Doba_nečinnosi_pro_odpojení", defaults.DobaNecinnosti);
    c.GrafFinanci = text(u"Graf_Financí", defaults.GrafFinanci).left(60);
    c.SettingsFlags = NormaliseSettingsFlags(text(u"Nastavení", defaults.SettingsFlags));

    if (c.UserKey.isEmpty()) c.UserKey = DefaultUserKey();
    c.Pripojen = SlotHolderIn(ini);
    c.UserRecord = AccessValueIn(ini, c.UserKey);
    // Below one minute a holder busy with a long save could lose its slot.
    c.TakeoverMinutes = std::max(
        1, ini.IntValue(kAccess, QString::fromUtf16(kTakeoverKey), defaults.TakeoverMinutes));
}

bool IsConfigurationRecognised(const IniFile& ini) {
    return ini.HasSection(kSettings) || ini.HasSection(kAccess);
}

IniFile LoadConfigurationFile(const QString& path, ConfigFileKind* kind) {
    auto found = [&](ConfigFileKind k) {
        if (kind) *kind = k;
    };
    if (!QFileInfo::exists(path)) {
        found(ConfigFileKind::Missing);
        return IniFile();
    }
    // Far beyond any configuration (a few kilobytes, a line per workstation
    // user): reading it whole could exhaust the memory.
    constexpr qint64 kMaxConfigFileBytes = qint64(16) << 20;
    if (QFileInfo(path).size() > kMaxConfigFileBytes)
        throw FileError(path, QStringLiteral("Konfigurační soubor je příliš velký (%1 MB)")
                                  .arg(QFileInfo(path).size() >> 20));
    IniFile ini = IniFile::Load(path);
    if (IsConfigurationRecognised(ini)) {
        found(ConfigFileKind::Cp1250);
        return ini;
    }
    // An administrator's editor may have saved the file as UTF-8: the section
    // names then only appear when it is read so.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw FileError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    const bool wide = std::any_of(bytes.cbegin(), bytes.cend(), [](char b) { return b & 0x80; });
    if (wide && !utf8.hasError()) {
        QStringList lines = text.split(u'\n');
        if (lines.constLast().isEmpty()) lines.removeLast();
        for (QString& l : lines)
            if (l.endsWith(u'\r')) l.chop(1);
        IniFile decoded = IniFile::FromLines(lines);
        if (IsConfigurationRecognised(decoded)) {
            found(ConfigFileKind::Utf8);
            return decoded;
        }
    }
    found(ConfigFileKind::Unrecognised);
    return ini;
}

bool ReadConfiguration(Config& config) {
    if (!QFileInfo::exists(config.ConfigPath())) return false;
    ReadConfiguration(config, LoadConfigurationFile(config.ConfigPath()));
    return true;
}

void WriteConfiguration(const Config& c, IniFile& ini) {
    auto put = [&](const char16_t* key, const QString& value) {
        ini.SetValue(kSettings, QString::fromUtf16(key), value);
    };
    put(u"TEST", c.Test);
    put(u"Popis", c.Popis);
    put(u"Firma", c.Firma);
    put(u"Cesta_Ini", c.BaseDir);
    put(u"Cesta", c.Cesta);
    put(u"CestaTXT", c.CestaTXT);
    put(u"CestaFoto", c.CestaFoto);
    put(u"CestaZmeny", c.CestaZmeny);
    put(u"CestaDennik", c.CestaDennik);
    put(u"Soubor_Akce_CSV", c.SouborAkce);
    put(u"Soubor_Popis_CSV", c.SouborPopis.left(60));
    put(u"Soubor_Ukony_CSV", c.SouborUkony);
    put(u"Soubor_Lidi_csv", c.SouborLidi);
    put(u"Soubor_Vysledky_CSV", c.SouborVysledky);
    put(u"Soubor_Poznamky_TXT", c.SouborPoznamky);
    put(u"popis_DPH", c.PopisDPH);
    put(u"Vyse_DPH", c.VyseDPH);
    put(u"Šířka_Sloupce", QString::number(c.SirkaSloupce));
    put(u"Výška_Řádku", QString::number(c.VyskaRadku));
    put(u"Gantt_Výška_Řádku", QString::number(c.GanttVyskaRadku));
    put(u"Gantt_Sloupce", QString::number(c.GanttSloupce));
    put(u"Gantt_Radky", QString::number(c.GanttRadky));
    put(u"Gantt_PomNásobitel", QString::number(c.GanttPomNasobitel));
    put(u"Gantt_Násobitel", FormatAmount(c.GanttNasobitel));
    put(u"Datum uložení", FormatShortDate(Clock::Today()));
    put(u"Úchylka_Chyby_Termíny", QString::number(c.UchylkaTerminy));
    put(u"Úchylka_Chyby_Finance", QString::number(c.UchylkaFinance));
    put(u"Doba_nečinnosi_pro_odpojení", QString::number(c.DobaNecinnosti));
    put(u"Graf_Financí", c.GrafFinanci.left(60));
    put(u"Nastavení", c.SettingsFlags.left(60));
    const QString userKey = c.UserKey.isEmpty() ? DefaultUserKey() : c.UserKey;
    // A new user's record goes before "Pripojen", as the section is laid out.
    if (!ini.HasKey(kAccess, userKey)) ini.RemoveKey(kAccess, QString::fromUtf16(kSlotKey));
    if (!c.UserRecord.isEmpty()) ini.SetValue(kAccess, userKey, c.UserRecord);
    ini.SetValue(kAccess, QString::fromUtf16(kSlotKey), c.Pripojen);
}

void WriteConfiguration(const Config& config) {
    IniFile ini = LoadConfigurationFile(config.ConfigPath());
    WriteConfiguration(config, ini);
    ini.Save(config.ConfigPath());
}

namespace {
// A lock older than this was left by a copy that died (on another workstation
// its process cannot be checked); reading and rewriting the file takes far less.
constexpr int kLockStaleMs = 5000;
// Longer than the stale time, so that a dead copy's lock is taken over at once.
constexpr int kLockWaitMs = 8000;
}  // namespace

ConfigLock::ConfigLock(const Config& config)
    : file_(config.ConfigPath() + QStringLiteral(".lock")) {
    file_.setStaleLockTime(kLockStaleMs);
    // A folder where no lock file can be made (read-only medium) leaves the
    // file unwritable for everybody, so going on without the lock is safe.
    if (!file_.tryLock(kLockWaitMs)) busy_ = file_.error() == QLockFile::LockFailedError;
}
