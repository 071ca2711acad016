#pragma once

#include <QDate>
#include <QLockFile>
#include <QString>

class IniFile;

inline constexpr const char16_t* kConfigFileName = u"ORVA_Sledovani.Ini";
inline constexpr const char16_t* kSettingsSection = u"Nastavení";
inline constexpr const char16_t* kAccessSection = u"Přístup";
inline constexpr const char16_t* kSlotKey = u"Pripojen";
inline constexpr const char16_t* kSlotFree = u"Volný";
// No value the program writes comes near this; a longer one (a damaged or
// hand-edited file) is cut at reading, so that it is not carried through every
// label and message.
inline constexpr int kMaxConfigValue = 1000;

// Positions of SettingsFlags, counted from 1.
enum SettingsFlag : int {
    kFlagDiaryChart = 1,
    kFlagCheckListing = 2,
    kFlagCompactWindow = 3,
    kFlagGanttRealistic = 4,
    kFlagGanttPlan = 5,
    kFlagHighlightLate = 6,
    kFlagShowTables = 7,
    kFlagCellText = 8,
    kFlagProjectTable = 9,
    kFlagTemplateTable = 10,
    kFlagDeadlineTable = 11,
    kFlagFinanceTable = 12,
    kFlagResultsTable = 13,
    kFlagPrintCollisions = 14,
    kFlagPrintNotes = 15,
    kFlagInvoiceDate = 16,
    kFlagSpreadAmount = 17,
    kFlagWarnBeforeChange = 18,
    kFlagShowDiary = 19,
    kFlagTimelineChart = 22,
    kFlagSortByIdForGantt = 23,
    kFlagGanttCaptions = 24,
    kFlagFollowLinks = 25,
    kFlagSyncStages = 27,
};

// Every value of the configuration file "ORVA_Sledovani.Ini", in memory.
struct Config {
    // The folder every relative path starts from, with a trailing "/".
    QString BaseDir;

    QString Test;
    QString Popis = QStringLiteral("SLEDOVÁNÍ AKCÍ");
    QString Firma = QStringLiteral("SPOLEČNOST");
    QString Cesta, CestaTXT, CestaFoto, CestaZmeny, CestaDennik;
    QString SouborAkce = QStringLiteral("NameAkce.csv");
    QString SouborPopis = QStringLiteral("NamePrubehAkce.csv");
    QString SouborUkony = QStringLiteral("NameUkony.csv");
    QString SouborLidi = QStringLiteral("Lide.CSV");
    QString SouborVysledky = QStringLiteral("Vysledky.csv");
    QString SouborPoznamky = QStringLiteral("Poznamky.TXT");
    QString PopisDPH = QStringLiteral("Včetně DPH");
    QString VyseDPH = QStringLiteral("[DPH-20%/-10%]");
    int SirkaSloupce = 68;
    int VyskaRadku = 34;
    int GanttVyskaRadku = 23;
    int GanttSloupce = 100;
    int GanttRadky = 0;
    int GanttPomNasobitel = 15;
    double GanttNasobitel = 1.0;
    QDate DatumUlozeni;
    int UchylkaTerminy = 10;
    int UchylkaFinance = 10;
    int DobaNecinnosti = 10;
    QString GrafFinanci = QString(29, u'1');
    QString SettingsFlags = QStringLiteral("100111110101000000100000000000");

    // Section "Přístup", kept as raw text: the slot holder and this user's record.
    QString Pripojen = QString::fromUtf16(kSlotFree);
    QString UserKey;
    QString UserRecord;
    // Keys whose values the last read cut to kMaxConfigValue, with their length.
    QStringList Oversized;
    // Minutes without a heartbeat after which a crashed holder's slot may be
    // taken over. Set by hand in "Přístup"; only read, never written.
    int TakeoverMinutes = 5;

    bool Flag(int position) const;
    QChar FlagChar(int position) const;
    void SetFlag(int position, bool on);
    void SetFlagChar(int position, QChar value);

    QString ConfigPath() const;
    // Base directory + a folder value + a file name, with "\" read as "/".
    QString PathIn(const QString& folder, const QString& fileName) const;
    QString DataPath(const QString& fileName) const { return PathIn(Cesta, fileName); }
    QString TextPath(const QString& fileName) const { return PathIn(CestaTXT, fileName); }
    // A folder value for a chosen directory: relative to the base, "" or ending in "/".
    QString RelativeFolder(const QString& absoluteDir) const;
};

// The SettingsFlags text as read: cut to 60, and a text shorter than 30 gets 31
// "0" appended (then cut to 60 again).
QString NormaliseSettingsFlags(const QString& value);

// The plain text that names this workstation and operating-system user.
QString WorkstationIdentifier();
// The user key derived from it: a valid configuration key, stable for the
// same workstation and user.
QString DefaultUserKey();

// How the configuration file was read.
enum class ConfigFileKind {
    Missing,
    Cp1250,
    // Saved as UTF-8 by an editor: read as such, written back in code page 1250.
    Utf8,
    // Neither reading finds the section "Nastavení" or "Přístup".
    Unrecognised,
};

// Loads the configuration file in code page 1250, or as UTF-8 when only that
// reading finds its sections. A missing file gives an empty one. Throws
// FileError.
IniFile LoadConfigurationFile(const QString& path, ConfigFileKind* kind = nullptr);
// Whether the file holds the section "Nastavení" or "Přístup" (a file with
// only the first is completed by the next write). One with neither was saved
// in another encoding or is no configuration file: it says nothing about the
// slot and must never read as a free one.
bool IsConfigurationRecognised(const IniFile& ini);
// The slot holder ("Pripojen" of "Přístup"), cut to kMaxConfigValue.
QString SlotHolderIn(const IniFile& ini);
// A value of section "Přístup" (a user record), cut to kMaxConfigValue.
QString AccessValueIn(const IniFile& ini, const QString& key);

// Reads the file into config. Keys that are missing take their defaults. Returns
// false, leaving config as it was, when there is no file. Throws FileError.
bool ReadConfiguration(Config& config);
// Applies the values of an already loaded file.
void ReadConfiguration(Config& config, const IniFile& ini);
// Rewrites every key from memory; keys of other users in the file are kept.
// Throws FileError.
void WriteConfiguration(const Config& config);
void WriteConfiguration(const Config& config, IniFile& ini);

// Held while the shared configuration file is created, or read and rewritten
// for a claim or release of the slot, so that of several workstations exactly
// one creates the file and exactly one sees the slot free.
class ConfigLock {
  public:
    explicit ConfigLock(const Config& config);
    // Another copy kept the lock for the whole wait.
    bool Busy() const { return busy_; }

  private:
    QLockFile file_;
    bool busy_ = false;
};
