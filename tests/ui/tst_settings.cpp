#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "TestSupport.h"
#include "data/Cells.h"
#include "main/Nastaveni.h"
#include "shell/Access.h"
#include "shell/ChangeLog.h"
#include "shell/Slot.h"

using namespace Qt::StringLiterals;

namespace {

const QString kStars = u"**********"_s;
const QString kLogFile = u"zmeny/Zmeny_2026-12.csv"_s;

// The settings window over a temporary base directory, for a user at level 3
// with known passwords.
struct Fixture {
    Fixture() {
        ws().config.CestaZmeny = u"zmeny/"_s;
        QDir().mkpath(base.Path(u"zmeny"_s));
        AccessState& a = ws().Access;
        a.UserName = u"Jana Nováková"_s;
        a.Password = u"heslo"_s;
        a.Permission = u"3_000"_s;
        a.AdminPassword = u"admin"_s;
        slot = std::make_unique<ConnectionSlot>(ws());
        window = std::make_unique<Nastaveni>(ws(), *slot);
    }
    Workspace& ws() { return *base.ws; }
    Config& config() { return base.ws->config; }
    template <typename T>
    T* Find(const QString& name) {
        T* child = window->findChild<T*>(name);
        if (!child) qWarning("no control %s", qPrintable(name));
        return child;
    }
    QLineEdit* Field(const QString& name) { return Find<QLineEdit>(name); }
    void Show() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void Press(const QString& button) { Find<QPushButton>(button)->click(); }
    QStringList Messages() const {
        return base.prompter.Texts(ScriptedPrompter::Kind::Information);
    }

    TempBase base;
    std::unique_ptr<ConnectionSlot> slot;
    std::unique_ptr<Nastaveni> window;
};

// The configuration value that a text field of the two first pages stands for.
QString ConfigValue(const Config& c, const QString& field) {
    const std::pair<const char*, QString> values[] = {
        {"BaseDir", c.BaseDir},
        {"CestaZmeny", c.CestaZmeny},
        {"Cesta", c.Cesta},
        {"CestaTXT", c.CestaTXT},
        {"CestaDennik", c.CestaDennik},
        {"CestaFoto", c.CestaFoto},
        {"Soubor_Popis_CSV", c.SouborPopis},
        {"Soubor_Akce_CSV", c.SouborAkce},
        {"Soubor_Ukony_CSV", c.SouborUkony},
        {"Soubor_Poznamky_TXT", c.SouborPoznamky},
        {"Soubor_Vysledky_CSV", c.SouborVysledky},
        {"Soubor_Lidi_csv", c.SouborLidi},
        {"TEST", c.Test},
        {"Popis", c.Popis},
        {"Firma", c.Firma},
        {"VyseDPH", c.VyseDPH},
    };
    for (const auto& [name, value] : values)
        if (field == QLatin1String(name)) return value;
    qWarning("unknown field %s", qPrintable(field));
    return QString();
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

  private slots:
    void activationFillsTheFields_data();
    void activationFillsTheFields();
    void activationTicksTheFlagBoxes();
    void okStoresTheFields_data();
    void okStoresTheFields();
    void okStoresNumbersAndNamesTheReport();
    void okMakesTheBaseDirectoryAbsolute_data();
    void okMakesTheBaseDirectoryAbsolute();
    void storedAtOnceEvenOnStorno();
    void checkBoxesStoreTheirFlagPositions_data();
    void checkBoxesStoreTheirFlagPositions();
    void zmenit_data();
    void zmenit();
    void zmenitRefusesDamagingTexts_data();
    void zmenitRefusesDamagingTexts();
    void serviceMarkerEntersTheServiceMode();
    void doubleClickShowsTheAdminPassword_data();
    void doubleClickShowsTheAdminPassword();
    void testNumber_data();
    void testNumber();
    void testDate_data();
    void testDate();
    void monitorRunsWithTheTestsPage();
    void checkListingFollowsTheWorkspace();
};

void TestSettings::activationFillsTheFields_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("base directory") << u"BaseDir"_s << QString();  // the temporary folder
    QTest::newRow("change folder") << u"CestaZmeny"_s << u"zmeny/"_s;
    QTest::newRow("data folder") << u"Cesta"_s << u"data/"_s;
    QTest::newRow("progress file") << u"Soubor_Popis_CSV"_s << u"APr_NameAkce__101.csv"_s;
    QTest::newRow("people file") << u"Soubor_Lidi_csv"_s << u"Osoby.csv"_s;
    QTest::newRow("heading") << u"Firma"_s << u"Město Žatec"_s;
    QTest::newRow("VAT rates") << u"VyseDPH"_s << u"[DPH+21%/+12%]"_s;
    QTest::newRow("user name") << u"UserName"_s << u"Jana Nováková"_s;
    QTest::newRow("permission") << u"Permission"_s << u"3_000"_s;
    QTest::newRow("access password hidden") << u"Password"_s << kStars;
    QTest::newRow("admin password hidden") << u"AdminPassword"_s << kStars;
    QTest::newRow("new admin password hidden") << u"NewAdminPassword"_s << kStars;
}

void TestSettings::activationFillsTheFields() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    Fixture f;
    Config& c = f.config();
    c.Cesta = u"data/"_s;
    c.SouborPopis = u"APr_NameAkce__101.csv"_s;
    c.SouborLidi = u"Osoby.csv"_s;
    c.Firma = u"Město Žatec"_s;
    c.VyseDPH = u"[DPH+21%/+12%]"_s;
    // Something typed before, left with "Storno": the next showing starts afresh.
    f.window->Activate();
    f.Field(field)->setText(u"vepsáno"_s);
    f.Show();
    QCOMPARE(f.Field(field)->text(), text.isNull() ? f.base.Dir() : text);
}

void TestSettings::activationTicksTheFlagBoxes() {
    Fixture f;
    Config& c = f.config();
    c.SettingsFlags = u"100111110101000001100000001000"_s;  // 18 and 27 on
    c.SirkaSloupce = 72;
    c.VyskaRadku = 40;
    c.UchylkaFinance = -5;
    c.UchylkaTerminy = 30;
    c.DobaNecinnosti = 200;  // beyond the field's range
    c.DatumUlozeni = QDate(2026, 11, 3);
    f.Show();
    QVERIFY(f.Find<QCheckBox>(u"CheckBox1"_s)->isChecked());
    QVERIFY(!f.Find<QCheckBox>(u"CheckBox2"_s)->isChecked());
    QVERIFY(!f.Find<QCheckBox>(u"CheckBox3"_s)->isChecked());
    QVERIFY(f.Find<QCheckBox>(u"CheckBox4"_s)->isChecked());
    // The check listing is visible: position 2 is set, and the whole text shown.
    QCOMPARE(c.SettingsFlags, u"110111110101000001100000001000"_s);
    QCOMPARE(f.Field(u"SettingsFlags"_s)->text(), c.SettingsFlags);
    QCOMPARE(f.Find<QSpinBox>(u"SirkaSloupce"_s)->value(), 72);
    QCOMPARE(f.Find<QSpinBox>(u"VyskaRadku"_s)->value(), 40);
    QCOMPARE(f.Find<QSpinBox>(u"UchylkaFinance"_s)->value(), -5);
    QCOMPARE(f.Find<QSpinBox>(u"UchylkaTerminy"_s)->value(), 30);
    QCOMPARE(f.Find<QLabel>(u"DatumUlozeni"_s)->text(), u"3.11.2026"_s);
    QCOMPARE(f.Find<QLabel>(u"PermissionLabel"_s)->text(), f.slot->LabelText());
    // Filling the field is no change by the user: the limit keeps its value.
    QCOMPARE(c.DobaNecinnosti, 200);
    QVERIFY(!f.Find<QCheckBox>(u"Send"_s)->isChecked());
    QCOMPARE(f.window->windowTitle(), u"Nastavení"_s);
    QVERIFY(f.window->windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestSettings::okStoresTheFields_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("permission");
    const QString longName = u"APr_"_s + QString(70, u'x') + u".csv"_s;
    struct Row {
        const char* name;
        QString field, typed, stored;
    } rows[] = {
        {"change folder", u"CestaZmeny"_s, u"zmeny2/"_s, u"zmeny2/"_s},
        {"data folder", u"Cesta"_s, u"data/"_s, u"data/"_s},
        {"text folder", u"CestaTXT"_s, u"txt/"_s, u"txt/"_s},
        {"diary folder", u"CestaDennik"_s, u"den/"_s, u"den/"_s},
        {"photo folder", u"CestaFoto"_s, u"foto/"_s, u"foto/"_s},
        {"progress file cut to 60", u"Soubor_Popis_CSV"_s, longName, longName.left(60)},
        {"register file", u"Soubor_Akce_CSV"_s, u"Akce2027.csv"_s, u"Akce2027.csv"_s},
        {"template file", u"Soubor_Ukony_CSV"_s, u"Úkony.csv"_s, u"Úkony.csv"_s},
        {"notes file", u"Soubor_Poznamky_TXT"_s, u"Pozn.txt"_s, u"Pozn.txt"_s},
        {"results file", u"Soubor_Vysledky_CSV"_s, u"Vys.csv"_s, u"Vys.csv"_s},
        {"people file", u"Soubor_Lidi_csv"_s, u"Osoby.csv"_s, u"Osoby.csv"_s},
        {"heading 1", u"TEST"_s, u"Kraj"_s, u"Kraj"_s},
        {"heading 2", u"Popis"_s, u"Přehled"_s, u"Přehled"_s},
        {"heading 3", u"Firma"_s, u"Město Žatec"_s, u"Město Žatec"_s},
        {"VAT rates", u"VyseDPH"_s, u"[DPH+21%/+12%]"_s, u"[DPH+21%/+12%]"_s},
    };
    for (const Row& r : rows) {
        QTest::addRow("%s, allowed", r.name) << r.field << r.typed << r.stored << u"3_000"_s;
        QTest::addRow("%s, refused", r.name) << r.field << r.typed << QString() << u"2_000"_s;
    }
}

void TestSettings::okStoresTheFields() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, permission);
    Fixture f;
    f.ws().Access.Permission = permission;
    const QString before = ConfigValue(f.config(), field);
    QSignalSpy calendar(f.window.get(), &Nastaveni::calendarSizeChanged);
    QSignalSpy report(f.window.get(), &Nastaveni::reportCaptionChanged);
    f.ws().Access.InactivityCounter = 10;
    f.Show();
    f.Field(field)->setText(typed);
    f.Press(u"OK"_s);

    QCOMPARE(ConfigValue(f.config(), field), stored.isNull() ? before : stored);
    if (stored.isNull()) {
        QCOMPARE(f.Messages(), QStringList{u"Nemáte oprávnění pro tuto operaci  - "_s +
                                           QString::fromUtf16(kRefusalHint)});
        QCOMPARE(report.size(), 0);
    } else {
        QVERIFY(f.Messages().isEmpty());
        QCOMPARE(report.size(), 1);
    }
    // Nothing else moved, and whatever happened the user was active and the window closed.
    QCOMPARE(calendar.size(), 0);
    QCOMPARE(f.config().BaseDir, f.base.Dir());
    QCOMPARE(f.ws().Access.InactivityCounter, 0);
    QVERIFY(!f.window->isVisible());
    // Nothing is written to the configuration file here.
    QVERIFY(!f.base.Exists(u"ORVA_Sledovani.Ini"_s));
}

void TestSettings::okStoresNumbersAndNamesTheReport() {
    Fixture f;
    QSignalSpy calendar(f.window.get(), &Nastaveni::calendarSizeChanged);
    QSignalSpy report(f.window.get(), &Nastaveni::reportCaptionChanged);

    // Unchanged sizes do not redraw the calendar.
    f.Show();
    f.Find<QDateEdit>(u"DatumZapisu"_s)->setDate(QDate(2026, 3, 15));
    f.Find<QSpinBox>(u"UchylkaFinance"_s)->setValue(-20);
    f.Find<QSpinBox>(u"UchylkaTerminy"_s)->setValue(45);
    f.Press(u"OK"_s);
    QCOMPARE(calendar.size(), 0);
    QCOMPARE(report.size(), 1);
    QCOMPARE(report[0][0].toString(), u"Výplatnice za 3.2026"_s);
    QCOMPARE(f.config().UchylkaFinance, -20);
    QCOMPARE(f.config().UchylkaTerminy, 45);

    // The field keeps to its range and step.
    f.Show();
    QSpinBox* width = f.Find<QSpinBox>(u"SirkaSloupce"_s);
    QCOMPARE(width->minimum(), 24);
    QCOMPARE(width->maximum(), 136);
    QCOMPARE(width->singleStep(), 4);
    width->stepUp();
    f.Find<QDateEdit>(u"DatumZapisu"_s)->setDate(QDate(2027, 11, 1));
    f.Press(u"OK"_s);
    QCOMPARE(calendar.size(), 1);
    QCOMPARE(f.config().SirkaSloupce, 72);
    QCOMPARE(f.config().VyskaRadku, 34);
    QCOMPARE(report[1][0].toString(), u"Výplatnice za 11.2027"_s);
}

void TestSettings::okMakesTheBaseDirectoryAbsolute_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("relativeToBase");  // the stored base, under the old one
    QTest::newRow("relative") << u"druha"_s << u"druha/"_s;
    QTest::newRow("backslashes") << u"druha\\treti\\"_s << u"druha/treti/"_s;
    QTest::newRow("dots") << u"druha/../treti"_s << u"treti/"_s;
    QTest::newRow("empty keeps the base") << u""_s << u""_s;
    QTest::newRow("absolute") << u"<base>druha"_s << u"druha/"_s;
}

void TestSettings::okMakesTheBaseDirectoryAbsolute() {
    QFETCH(QString, typed);
    QFETCH(QString, relativeToBase);
    Fixture f;
    const QString oldBase = f.base.Dir();
    typed.replace(u"<base>"_s, oldBase);
    f.Show();
    f.Field(u"BaseDir"_s)->setText(typed);
    f.Press(u"OK"_s);
    QCOMPARE(f.config().BaseDir, oldBase + relativeToBase);
    QVERIFY(QDir::isAbsolutePath(f.config().BaseDir));

    // Later file operations use the new base.
    QDir().mkpath(f.config().BaseDir + u"zmeny"_s);
    LogChange(f.ws(), QString(), QString::fromUtf16(kLabelUserSettings), kLogEvent, 1);
    QVERIFY(f.base.Exists(relativeToBase + kLogFile));
    QCOMPARE(f.config().ConfigPath(), f.config().BaseDir + u"ORVA_Sledovani.Ini"_s);
}

void TestSettings::storedAtOnceEvenOnStorno() {
    Fixture f;
    // A user who may not change settings still sets these.
    f.ws().Access.Permission = u"1_000"_s;
    f.Show();
    QSpinBox* limit = f.Find<QSpinBox>(u"DobaNecinnosti"_s);
    QCOMPARE(limit->minimum(), -100);
    QCOMPARE(limit->maximum(), 100);
    limit->setFocus();
    QTest::keyClick(limit, Qt::Key_Up);
    QCOMPARE(f.config().DobaNecinnosti, 11);
    limit->selectAll();
    QTest::keyClicks(limit, u"25"_s);
    QCOMPARE(f.config().DobaNecinnosti, 25);

    QLineEdit* wording = f.Field(u"PopisDPH"_s);
    wording->selectAll();
    QTest::keyClicks(wording, u"Bez DPH"_s);
    QCOMPARE(f.config().PopisDPH, u"Bez DPH"_s);
    // Changing the rates stores the wording field, not the rates.
    wording->blockSignals(true);
    wording->setText(u"Částky bez DPH"_s);
    wording->blockSignals(false);
    f.Field(u"VyseDPH"_s)->setText(u"[DPH+21%/+12%]"_s);
    QCOMPARE(f.config().PopisDPH, u"Částky bez DPH"_s);
    QCOMPARE(f.config().VyseDPH, u"[DPH-20%/-10%]"_s);

    f.Field(u"Firma"_s)->setText(u"Jiná"_s);
    f.Press(u"Storno"_s);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.config().DobaNecinnosti, 25);
    QCOMPARE(f.config().PopisDPH, u"Částky bez DPH"_s);
    QCOMPARE(f.config().Firma, u"SPOLEČNOST"_s);
    QVERIFY(f.Messages().isEmpty());
}

void TestSettings::checkBoxesStoreTheirFlagPositions_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("position");
    QTest::newRow("warning") << u"CheckBox1"_s << 18;
    QTest::newRow("date adjustment") << u"CheckBox2"_s << 25;
    QTest::newRow("sorting by ID") << u"CheckBox3"_s << 23;
    QTest::newRow("stage synchronisation") << u"CheckBox4"_s << 27;
}

void TestSettings::checkBoxesStoreTheirFlagPositions() {
    QFETCH(QString, box);
    QFETCH(int, position);
    Fixture f;
    f.ws().Access.Permission = u"1_000"_s;
    f.Show();
    const QString before = f.config().SettingsFlags;
    QCheckBox* check = f.Find<QCheckBox>(box);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    QString expected = before;
    expected[position - 1] = u'1';
    QCOMPARE(f.config().SettingsFlags, expected);
    QCOMPARE(f.Field(u"SettingsFlags"_s)->text(), expected);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    QCOMPARE(f.config().SettingsFlags, before);
    // Stored without "OK"; "Storno" keeps it.
    check->click();
    f.Press(u"Storno"_s);
    QCOMPARE(f.config().SettingsFlags, expected);
}

void TestSettings::zmenit_data() {
    QTest::addColumn<QString>("admin");     // "Heslo pro změnu Administrátora"
    QTest::addColumn<QString>("access");    // "Přístupové heslo"
    QTest::addColumn<QString>("newAdmin");  // "Heslo Administrátora pro přístupové změny"
    QTest::addColumn<QString>("result");    // name/permission/password/admin password after
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("record");

    const QString unchanged = u"Jana Nováková/3_000/heslo/admin"_s;
    QTest::newRow("nothing entered")
        << kStars << kStars << kStars << unchanged << QString() << false;
    QTest::newRow("master password for the administrator")
        << u"qezub"_s << u"nove"_s << u"spravce"_s << u"Eva Malá/4_101,205/nove/spravce"_s
        << QString() << true;
    QTest::newRow("stored administrator password")
        << u"admin"_s << kStars << kStars << u"Eva Malá/4_101,205/heslo/admin"_s << QString()
        << true;
    QTest::newRow("wrong administrator password")
        << u"spatne"_s << u"nove"_s << u"spravce"_s << unchanged
        << u"Nesprávné heslo Administrátora pro změny oprávnění."_s << false;
    QTest::newRow("access password changes the name only")
        << kStars << u"heslo"_s << u"spravce"_s << u"Eva Malá/3_000/heslo/admin"_s << QString()
        << true;
    QTest::newRow("master password for the access password")
        << kStars << u"qezub"_s << kStars << u"Eva Malá/3_000/heslo/admin"_s << QString() << true;
    QTest::newRow("administrator password for the access password")
        << kStars << u"admin"_s << kStars << u"Eva Malá/3_000/heslo/admin"_s << QString() << true;
    // The attempt is recorded all the same, but nothing changes.
    QTest::newRow("wrong access password") << kStars << u"spatne"_s << kStars << unchanged
                                           << u"Nesprávné heslo pro změnu Jména."_s << true;
}

void TestSettings::zmenit() {
    QFETCH(QString, admin);
    QFETCH(QString, access);
    QFETCH(QString, newAdmin);
    QFETCH(QString, result);
    QFETCH(QString, message);
    QFETCH(bool, record);
    Fixture f;
    f.Show();
    QSignalSpy labels(f.slot.get(), &ConnectionSlot::stateChanged);
    f.window->Pages()->setCurrentIndex(2);
    f.Field(u"UserName"_s)->setText(u"Eva Malá"_s);
    f.Field(u"Permission"_s)->setText(u"4_101,205"_s);
    f.Field(u"AdminPassword"_s)->setText(admin);
    f.Field(u"Password"_s)->setText(access);
    f.Field(u"NewAdminPassword"_s)->setText(newAdmin);
    // Enter on this page means "Změnit".
    QTest::keyClick(f.Field(u"AdminPassword"_s), Qt::Key_Return);

    const AccessState& a = f.ws().Access;
    QCOMPARE(QStringList({a.UserName, a.Permission, a.Password, a.AdminPassword}).join(u'/'),
             result);
    QCOMPARE(f.Messages(), message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(!f.window->isVisible());
    QVERIFY(!a.ServiceMenus);
    if (!message.isEmpty())
        for (const QString& field : {u"AdminPassword"_s, u"Password"_s, u"NewAdminPassword"_s})
            QCOMPARE(f.Field(field)->text(), kStars);

    // The permission label shows the changed record at once.
    if (result == u"Jana Nováková/3_000/heslo/admin"_s) {
        QCOMPARE(labels.count(), 0);
    } else {
        QVERIFY(labels.count() > 0);
        QVERIFY(labels.last().at(1).toString().endsWith(u" / "_s + a.UserName + u" / Oprávnění "_s +
                                                        a.Permission));
    }

    QCOMPARE(f.base.Exists(kLogFile), record);
    if (record) {
        const QString last = f.base.Lines(kLogFile).last();
        QVERIFY2(
            last.startsWith(u"Změna nast.uživatele_____;09.12.2026 - 10:30;"_s + a.UserName + u';'),
            qPrintable(last));
        // Neither the old nor the new passwords reach the shared log.
        for (const QString& secret : {u"heslo"_s, u"admin"_s, u"nove"_s, u"spravce"_s})
            QVERIFY(!f.base.Lines(kLogFile).join(u'\n').contains(secret));
    }
    // The changed record reaches the configuration file with the next write.
    if (result != u"Jana Nováková/3_000/heslo/admin"_s) {
        AccessState read;
        std::swap(read, f.ws().Access);
        ReadUserRecord(f.ws());
        QCOMPARE(QStringList({f.ws().Access.UserName, f.ws().Access.Permission,
                              f.ws().Access.Password, f.ws().Access.AdminPassword})
                     .join(u'/'),
                 result);
    }
}

void TestSettings::zmenitRefusesDamagingTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("permission");
    QTest::addColumn<QString>("message");  // its start
    QTest::newRow("slash in the name")
        << u"Novák/Jan"_s << u"3_000"_s << u"Jméno uživatele nesmí obsahovat znak \"/\""_s;
    QTest::newRow("the free slot's text")
        << u"Volný"_s << u"3_000"_s << u"Jméno uživatele nesmí být \"Volný\""_s;
    QTest::newRow("the free slot's text with blanks")
        << u" Volný "_s << u"3_000"_s << u"Jméno uživatele nesmí být \"Volný\""_s;
    QTest::newRow("empty name") << u"  "_s << u"3_000"_s << u"Jméno uživatele nesmí být prázdné"_s;
    QTest::newRow("slash in the permission")
        << u"Jana Nováková"_s << u"3_101/205"_s << u"Oprávnění nesmí obsahovat znak \"/\""_s;
}

// A name that would split the user record or make the slot look free is
// refused with a message; nothing is stored or recorded, the window stays.
void TestSettings::zmenitRefusesDamagingTexts() {
    QFETCH(QString, name);
    QFETCH(QString, permission);
    QFETCH(QString, message);
    Fixture f;
    StoreUserRecord(f.ws());
    const QString record = f.config().UserRecord;
    f.Show();
    f.Field(u"UserName"_s)->setText(name);
    f.Field(u"Permission"_s)->setText(permission);
    f.Field(u"AdminPassword"_s)->setText(u"admin"_s);
    f.Press(u"Zmenit"_s);
    QCOMPARE(f.Messages().size(), 1);
    QVERIFY2(f.Messages().first().startsWith(message), qPrintable(f.Messages().first()));
    QCOMPARE(f.ws().Access.UserName, u"Jana Nováková"_s);
    QCOMPARE(f.ws().Access.Permission, u"3_000"_s);
    QCOMPARE(f.config().UserRecord, record);
    QVERIFY(!f.base.Exists(kLogFile));
    QVERIFY(f.window->isVisible());
}

void TestSettings::serviceMarkerEntersTheServiceMode() {
    Fixture f;
    f.Show();
    auto* numbers = f.Find<QGroupBox>(u"GroupBoxTests"_s);
    auto* monitor = f.Find<QGroupBox>(u"GroupBoxMonitor"_s);
    QVERIFY(!numbers->isEnabled());
    QVERIFY(!monitor->isEnabled());
    QCOMPARE(numbers->title(), u"Informační výstupy"_s);

    f.Field(u"AdminPassword"_s)->setText(u"qezub"_s);
    f.Field(u"UserName"_s)->setText(u"Servis"_s);
    f.Field(u"Permission"_s)->setText(u"9"_s + QString::fromUtf16(kServiceMarker));
    f.Press(u"Zmenit"_s);
    QCOMPARE(f.ws().Access.Permission, u"5_000"_s);
    QVERIFY(f.ws().Access.ServiceMenus);
    QVERIFY(f.slot->InactivityRunning());
    QVERIFY(numbers->isEnabled());
    QVERIFY(monitor->isEnabled());
    // The stored record keeps the user's own level, not the marker.
    QVERIFY2(f.config().UserRecord.startsWith(u"Servis/"_s), qPrintable(f.config().UserRecord));
    QVERIFY(f.config().UserRecord.contains(u"/3_000/"_s));

    // A second showing finds the groups enabled; the mode toggles off again.
    f.Show();
    QVERIFY(numbers->isEnabled());
    f.slot->EnterServiceMode();
    QVERIFY(!numbers->isEnabled());
}

void TestSettings::doubleClickShowsTheAdminPassword_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("new administrator password") << u"LabelNewAdminPassword"_s;
    QTest::newRow("current administrator password") << u"LabelAdminPassword"_s;
}

void TestSettings::doubleClickShowsTheAdminPassword() {
    QFETCH(QString, label);
    Fixture f;
    f.Show();
    f.window->Pages()->setCurrentIndex(2);
    QTest::mouseDClick(f.Find<QLabel>(label), Qt::LeftButton);
    QCOMPARE(f.Field(u"NewAdminPassword"_s)->text(), u"admin"_s);
    QCOMPARE(f.Field(u"AdminPassword"_s)->text(), kStars);
}

void TestSettings::testNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("code");
    QTest::newRow("initial text") << u"123,4"_s << u"123,40"_s << u"1"_s << u"49"_s;
    QTest::newRow("thousands") << u"-1234,565"_s << u"-1\u00A0234,57"_s << u"-"_s << u"45"_s;
    // The code page of the data files, not Unicode (352).
    QTest::newRow("Czech letter") << u"Škoda"_s << u"0,00"_s << u"Š"_s << u"138"_s;
    QTest::newRow("non-breaking space") << u"\u00A012"_s << u"12,00"_s << u"\u00A0"_s << u"160"_s;
    QTest::newRow("empty") << u""_s << u"0,00"_s << u""_s << u""_s;
}

void TestSettings::testNumber() {
    QFETCH(QString, text);
    QFETCH(QString, amount);
    QFETCH(QString, first);
    QFETCH(QString, code);
    Fixture f;
    f.ws().Access.ServiceMenus = true;
    f.Show();
    QCOMPARE(f.Field(u"TestNumber"_s)->text(), u"123,4"_s);
    f.Field(u"TestNumber"_s)->setText(text);
    f.Press(u"TestNaCislo"_s);
    QCOMPARE(f.Find<QLabel>(u"NumberResult"_s)->text(), amount.rightJustified(18, u' '));
    QCOMPARE(f.Find<QLabel>(u"TestedText"_s)->text(), u"Testovaný řetězec "_s);
    QCOMPARE(f.Find<QLabel>(u"FirstChar"_s)->text(), u"1. Znak řetězce "_s + first);
    QCOMPARE(f.Find<QLabel>(u"CharCode"_s)->text(), u"Čislo znaku "_s + code);
}

void TestSettings::testDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("date");
    QTest::newRow("initial text: the empty date")
        << u"2.1.1900"_s << u"3,000000"_s << u"02.01.1900"_s;
    QTest::newRow("thousands") << u"1.1.2000"_s << u"36\u00A0526,000000"_s << u"01.01.2000"_s;
    QTest::newRow("two-digit year") << u"9.12.26"_s << u"46\u00A0365,000000"_s << u"09.12.2026"_s;
    QTest::newRow("not a date") << u"31.2.2026"_s << u"3,000000"_s << u"02.01.1900"_s;
}

void TestSettings::testDate() {
    QFETCH(QString, text);
    QFETCH(QString, number);
    QFETCH(QString, date);
    Fixture f;
    f.ws().Access.ServiceMenus = true;
    f.Show();
    QCOMPARE(f.Field(u"TestDate"_s)->text(), u"2.1.1900"_s);
    f.Field(u"TestDate"_s)->setText(text);
    f.Press(u"TestDatum"_s);
    QCOMPARE(f.Find<QLabel>(u"DayNumber"_s)->text(), number.rightJustified(18, u' '));
    QCOMPARE(f.Find<QLabel>(u"DateResult"_s)->text(), date);
}

void TestSettings::monitorRunsWithTheTestsPage() {
    Fixture f;
    f.ws().Access.InactivityCounter = 5;
    f.slot->SetIntervals(60000, 60000);
    f.Show();
    QCheckBox* send = f.Find<QCheckBox>(u"Send"_s);
    QVERIFY(!f.window->MonitorRunning());

    // Choosing the page starts the monitor and ticks "Send".
    f.window->Pages()->setCurrentIndex(3);
    QVERIFY(send->isChecked());
    QVERIFY(f.window->MonitorRunning());
    auto* inactivity = f.Find<QLabel>(u"InactivityValue"_s);
    auto* poll = f.Find<QLabel>(u"PollValue"_s);
    QCOMPARE(inactivity->text(), u"5 / 10"_s);
    QCOMPARE(poll->text(), u"60000"_s);
    QCOMPARE(inactivity->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(poll->palette().color(QPalette::WindowText), QColor(Qt::black));

    // Each tick adds a dot to "Send"; past 15 characters it starts again.
    // Longer than one wait step of QTRY, so no state is passed over between two looks.
    f.Find<QTimer>(u"MonitorTimer"_s)->setInterval(200);
    QTRY_COMPARE_WITH_TIMEOUT(send->text(), u"Send."_s, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(send->text(), u"Send..........."_s, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(send->text(), u"Send"_s, 30000);

    // A running timer shows red.
    f.ws().Access.Permission = u"5_000"_s;
    f.slot->EnterServiceMode();
    QTRY_COMPARE(inactivity->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(poll->palette().color(QPalette::WindowText), QColor(Qt::black));

    send->setChecked(false);
    QVERIFY(!f.window->MonitorRunning());
    send->setChecked(true);
    QVERIFY(f.window->MonitorRunning());
    // Closing the window stops it; the next showing finds it stopped.
    f.Press(u"Storno"_s);
    QVERIFY(!f.window->MonitorRunning());
    f.window->Pages()->setCurrentIndex(0);
    f.Show();
    QVERIFY(!send->isChecked());
    QVERIFY(!f.window->MonitorRunning());
}

void TestSettings::checkListingFollowsTheWorkspace() {
    Fixture f;
    f.ws().AppendCheck(u"Prenos první"_s);
    f.base.WriteLines(u"NameAkce.csv"_s, {u"Akce ORVA"_s});
    f.Show();
    auto* listing = f.Find<QPlainTextEdit>(u"CheckListing"_s);
    QCOMPARE(listing->toPlainText(), u"Prenos první"_s);
    f.ws().AppendCheck(u"Zapisuje druhá"_s);
    QCOMPARE(listing->toPlainText(), u"Prenos první\nZapisuje druhá"_s);
    // Emptied by another window: the next showing shows the list as it is.
    f.ws().CheckListing.clear();
    f.window->close();
    f.Show();
    QCOMPARE(listing->toPlainText(), QString());
    QVERIFY(f.Find<QPlainTextEdit>(u"FileList"_s)->toPlainText().contains(u"NameAkce.csv"_s));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
