#include <QtTest>

#include "TestSupport.h"
#include "data/Columns.h"
#include "shell/Access.h"
#include "shell/Config.h"

namespace {
const QString kQuestion = QStringLiteral(" POKRAČOVAT V OPERACI ? ");

QString Refusal(const QString& operation, const QString& number) {
    return QStringLiteral("Nemáte oprávnění pro ") + operation + QStringLiteral("operaci  - ") +
           number +
           QStringLiteral(
               "\r\n\r\nO oprávnění požádejte správce (administrátora) programu: "
               "nastaví jej v \"Nastavení\" → \"Oprávnění\".");
}
}  // namespace

class TestAccess : public QObject {
    Q_OBJECT
  private:
    // Each test runs on a temporary base of its own with a fresh workspace.
    std::unique_ptr<TempBase> base_;

  private slots:
    void init() { base_ = std::make_unique<TempBase>(); }
    void cleanup() { base_.reset(); }

    void checkPermission_data() {
        QTest::addColumn<QString>("permission");
        QTest::addColumn<QString>("project");  // number of the current project; "" for none
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("warn");       // SettingsFlags position 18
        QTest::addColumn<QString>("answer");  // "OK", "No" or "" (not expected to be asked)
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("questions");

        const QString tuto = QStringLiteral("tuto ");
        const QString restore = QStringLiteral(" obnovovací ");
        const QStringList none;
        const QStringList asked{kQuestion};
        auto refused = [](const QString& operation, const QString& number) {
            return QStringList{Refusal(operation, number)};
        };
        // clang-format off
        QTest::newRow("default record refused at level 3")
            << "2_000" << "101" << tuto << 3 << false << "" << false << refused(tuto, "101") << none;
        QTest::newRow("default record allowed at level 2")
            << "2_000" << "101" << tuto << 2 << false << "" << true << none << none;
        QTest::newRow("level exactly required")
            << "3_000" << "7" << tuto << 3 << false << "" << true << none << none;
        QTest::newRow("listed project 101")
            << "3_101,205" << "101" << tuto << 3 << false << "" << true << none << none;
        QTest::newRow("listed project 205")
            << "3_101,205" << "205" << tuto << 3 << false << "" << true << none << none;
        QTest::newRow("project 10 occurs in the list")
            << "3_101,205" << "10" << tuto << 3 << false << "" << true << none << none;
        QTest::newRow("unlisted project 102")
            << "3_101,205" << "102" << tuto << 3 << false << "" << false << refused(tuto, "102") << none;
        QTest::newRow("listed project but level too low")
            << "2_101" << "101" << tuto << 3 << false << "" << false << refused(tuto, "101") << none;
        QTest::newRow("level 5 ignores its project list")
            << "5_101" << "102" << tuto << 3 << false << "" << true << none << none;
        QTest::newRow("level 5 operation with level 5")
            << "5_101" << "999" << restore << 5 << false << "" << true << none << none;
        QTest::newRow("level 4 refused for a level 5 operation")
            << "4_000" << "101" << restore << 5 << false << "" << false << refused(restore, "101") << none;
        QTest::newRow("no underscore: empty project list")
            << "3" << "101" << tuto << 3 << false << "" << false << refused(tuto, "101") << none;
        QTest::newRow("no underscore at level 5")
            << "5" << "101" << tuto << 3 << false << "" << true << none << none;
        // Row 0 is the header row: its "number" is the column caption.
        QTest::newRow("no current project with a project list")
            << "3_101" << "" << tuto << 3 << false << "" << false << refused(tuto, "Číslo akce") << none;
        QTest::newRow("no current project, all projects")
            << "3_000" << "" << tuto << 3 << false << "" << true << none << none;
        QTest::newRow("NEHLASIT refused silently")
            << "2_000" << "101" << "NEHLASIT" << 3 << true << "" << false << none << none;
        QTest::newRow("NEHLASIT allowed without the question")
            << "3_000" << "101" << "NEHLASIT" << 3 << true << "" << true << none << none;
        QTest::newRow("warning on, answered OK")
            << "3_000" << "101" << tuto << 3 << true << "OK" << true << none << asked;
        QTest::newRow("warning on, answered No")
            << "3_000" << "101" << tuto << 3 << true << "No" << false << none << asked;
        QTest::newRow("warning on, refused: message only")
            << "2_000" << "101" << tuto << 3 << true << "" << false << refused(tuto, "101") << none;
        QTest::newRow("warning on, reconstruction is never asked")
            << "3_000" << "101" << " tuto " << 3 << true << "" << true << none << none;
        QTest::newRow("warning on, minutes are never asked")
            << "3_000" << "101" << "Zápis " << 3 << true << "" << true << none << none;
        QTest::newRow("warning off, not asked")
            << "3_000" << "101" << tuto << 3 << false << "" << true << none << none;
        // clang-format on
    }
    void checkPermission() {
        QFETCH(QString, permission);
        QFETCH(QString, project);
        QFETCH(QString, operation);
        QFETCH(int, level);
        QFETCH(bool, warn);
        QFETCH(QString, answer);
        QFETCH(bool, allowed);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, questions);

        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        ws.Projects.SetCell(Project::Number, 0, QStringLiteral("Číslo akce"));
        ws.Projects.SetCell(Project::Number, 1, project);
        ws.Current().SetProjectRow(project.isEmpty() ? 0 : 1);
        ws.Access.Permission = permission;
        ws.config.SetFlag(kFlagWarnBeforeChange, warn);
        if (!answer.isEmpty()) base.prompter.answers << (answer == QLatin1String("OK"));
        // Neighbouring flags must not switch the question on or off.
        ws.config.SetFlag(kFlagWarnBeforeChange - 1, !warn);
        ws.config.SetFlag(kFlagWarnBeforeChange + 1, !warn);

        QCOMPARE(CheckPermission(ws, operation, level), allowed);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Information), messages);
        QCOMPARE(base.prompter.Texts(ScriptedPrompter::Kind::Question), questions);
        QVERIFY(base.prompter.answers.isEmpty());
        // The check itself never changes the permission text.
        QCOMPARE(ws.Access.Permission, permission);
    }

    void scrambling_data() {
        QTest::addColumn<QString>("plain");
        QTest::newRow("empty") << "";
        QTest::newRow("plain word") << "heslo";
        QTest::newRow("czech letters") << "Příliš žluťoučký kůň úpěl ďábelské ódy";
        QTest::newRow("record separators") << "a/b=c;d_e";
        QTest::newRow("longer than the mask") << QString(50, u'x') + "konec";
        QTest::newRow("character beyond the basic plane")
            << QString::fromUtf8("kl\xF0\x9F\x94\x91\xC4\x8D");
        QTest::newRow("blanks") << "  dvě mezery  ";
    }
    void scrambling() {
        QFETCH(QString, plain);
        const QString stored = ScramblePassword(plain);
        QCOMPARE(UnscramblePassword(stored), plain);
        QVERIFY(!stored.contains(u'/'));
        QVERIFY(!stored.contains(u'='));
        QVERIFY(!stored.contains(u';'));
        QVERIFY(!stored.contains(u' '));
        if (plain.size() > 2) QVERIFY(!stored.contains(plain));
        // Every character maps to the same printable ASCII stored form.
        for (QChar c : stored) QVERIFY(c.unicode() > 32 && c.unicode() < 127);
        QCOMPARE(ScramblePassword(plain), stored);
    }

    // The rules of the settings window's "Změnit", without the window: which
    // password authorises which change, and what is refused or recorded.
    void changeAccess_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("permission");
        QTest::addColumn<QString>("admin");  // "-": left untouched
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("expectName");
        QTest::addColumn<QString>("expectPermission");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("wrong");
        QTest::addColumn<bool>("logged");
        QTest::addColumn<bool>("service");
        QTest::newRow("admin changes permission") << "Eva"
                                                  << "4_000"
                                                  << "tajne"
                                                  << "-"
                                                  << "Eva"
                                                  << "4_000" << false << false << true << false;
        QTest::newRow("master password") << "Jan"
                                         << "3_000"
                                         << "qezub"
                                         << "-"
                                         << "Jan"
                                         << "3_000" << false << false << true << false;
        QTest::newRow("wrong admin password") << "Jan"
                                              << "4_000"
                                              << "spatne"
                                              << "-"
                                              << "Eva"
                                              << "2_000" << false << true << false << false;
        QTest::newRow("access password renames") << "Jan"
                                                 << "4_000"
                                                 << "-"
                                                 << "heslo"
                                                 << "Jan"
                                                 << "2_000" << false << false << true << false;
        QTest::newRow("wrong access password is recorded")
            << "Jan"
            << "2_000"
            << "-"
            << "spatne"
            << "Eva"
            << "2_000" << false << true << true << false;
        QTest::newRow("name with slash refused") << "Ja/n"
                                                 << "2_000"
                                                 << "tajne"
                                                 << "-"
                                                 << "Eva"
                                                 << "2_000" << true << false << false << false;
        QTest::newRow("service marker not stored") << "Eva"
                                                   << "#SERVIS#"
                                                   << "tajne"
                                                   << "-"
                                                   << "Eva"
                                                   << "2_000" << false << false << true << true;
        QTest::newRow("nothing entered") << "Jan"
                                         << "4_000"
                                         << "-"
                                         << "-"
                                         << "Eva"
                                         << "2_000" << false << false << false << false;
    }

    void changeAccess() {
        QFETCH(QString, name);
        QFETCH(QString, permission);
        QFETCH(QString, admin);
        QFETCH(QString, password);
        TempBase base;
        Workspace& ws = *base.ws;
        ws.Access.UserName = "Eva";
        ws.Access.Password = "heslo";
        ws.Access.AdminPassword = "tajne";
        ws.Access.Permission = "2_000";
        ws.config.UserRecord.clear();
        auto entered = [](const QString& text) {
            return text == "-" ? std::nullopt : std::optional<QString>(text);
        };
        const AccessChangeResult result =
            ChangeAccess(ws, {name, permission, entered(admin), std::nullopt, entered(password)});
        QTEST(ws.Access.UserName, "expectName");
        QTEST(ws.Access.Permission, "expectPermission");
        QTEST(result.refused, "refused");
        QTEST(result.wrongPassword, "wrong");
        QTEST(result.logged, "logged");
        QTEST(result.service, "service");
        QCOMPARE(result.message.isEmpty(), !result.refused && !result.wrongPassword);
        // Only a real change reaches the stored user record.
        QCOMPARE(result.recordChanged, !ws.config.UserRecord.isEmpty());
        QCOMPARE(result.recordChanged,
                 ws.Access.UserName != "Eva" || ws.Access.Permission != "2_000");
        QVERIFY(base.prompter.log.isEmpty());
    }

    void defaultRecord() {
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        base.WriteLines("ORVA_Sledovani.Ini",
                        {"[Přístup]", "Pripojen=Volný", "Uzivatel_JINY=Eva Malá/00/4_000/00"});
        QVERIFY(ReadConfiguration(ws.config));
        ReadUserRecord(ws);
        QCOMPARE(ws.Access.UserName, QStringLiteral("Jmeno Prijmeni"));
        QCOMPARE(ws.Access.Permission, QStringLiteral("2_000"));
        QVERIFY(!ws.Access.Password.isEmpty());
        QVERIFY(!ws.Access.AdminPassword.isEmpty());
        QVERIFY(!ws.Access.WorkstationId.isEmpty());
        StoreUserRecord(ws);
        const QStringList fields = ws.config.UserRecord.split(u'/');
        QCOMPARE(fields.size(), 4);
        QCOMPARE(fields[0], QStringLiteral("Jmeno Prijmeni"));
        QCOMPARE(fields[2], QStringLiteral("2_000"));
        QCOMPARE(UnscramblePassword(fields[1]), ws.Access.Password);
        QCOMPARE(UnscramblePassword(fields[3]), ws.Access.AdminPassword);
        QVERIFY(fields[1] != ws.Access.Password);
    }

    void damagedRecordReadsAsDefault_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("permission");
        const QString heslo = ScramblePassword("heslo");
        const QString admin = ScramblePassword("admin");
        QTest::newRow("whole") << "Eva Malá/" + heslo + "/3_101/" + admin << "Eva Malá"
                               << "3_101";
        // Written by an older copy from the name "Novák/Jan".
        QTest::newRow("slash in the name")
            << "Novák/Jan/" + heslo + "/3_000/" + admin << "Jmeno Prijmeni"
            << "2_000";
        QTest::newRow("fields missing") << "Eva Malá/" + heslo << "Jmeno Prijmeni"
                                        << "2_000";
        QTest::newRow("password not in its stored form")
            << "Eva Malá/heslo/5_000/" + admin << "Jmeno Prijmeni"
            << "2_000";
    }
    void damagedRecordReadsAsDefault() {
        QFETCH(QString, record);
        QFETCH(QString, name);
        QFETCH(QString, permission);
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        ws.config.UserRecord = record;
        ReadUserRecord(ws);
        QCOMPARE(ws.Access.UserName, name);
        QCOMPARE(ws.Access.Permission, permission);
        // Never an empty administrator password that any text would match.
        QVERIFY(!ws.Access.AdminPassword.isEmpty());
        QVERIFY(!ws.Access.Password.isEmpty());
    }

    void userRecordRoundTripThroughTheFile() {
        TempBase& base = *base_;
        Workspace& ws = *base.ws;
        base.WriteLines("ORVA_Sledovani.Ini",
                        {"[Přístup]", "Uzivatel_JINY=Eva Malá/00/4_000/00", "Pripojen=Volný"});
        QVERIFY(ReadConfiguration(ws.config));
        ws.Access.UserName = QStringLiteral("Jiří Šťastný");
        ws.Access.Password = QStringLiteral("tajné heslo");
        ws.Access.Permission = QStringLiteral("3_101,205");
        ws.Access.AdminPassword = QStringLiteral("správce/1=2");
        StoreUserRecord(ws);
        WriteConfiguration(ws.config);

        const QStringList lines = base.Lines("ORVA_Sledovani.Ini");
        const QString prefix = QStringLiteral("Uzivatel_TEST=");
        QString line;
        for (const QString& l : lines)
            if (l.startsWith(prefix)) line = l.mid(prefix.size());
        QCOMPARE(line.count(u'/'), 3);
        QVERIFY(line.startsWith(QStringLiteral("Jiří Šťastný/")));
        QCOMPARE(line.section(u'/', 2, 2), QStringLiteral("3_101,205"));
        QVERIFY(!line.contains(QStringLiteral("tajné")));
        QVERIFY(!line.contains(QStringLiteral("správce")));
        // Another user's record stays as it was.
        QVERIFY(lines.contains(QStringLiteral("Uzivatel_JINY=Eva Malá/00/4_000/00")));

        ScriptedPrompter prompter;
        Workspace again(prompter);
        again.config.BaseDir = base.Dir();
        again.config.UserKey = QStringLiteral("Uzivatel_TEST");
        QVERIFY(ReadConfiguration(again.config));
        ReadUserRecord(again);
        QCOMPARE(again.Access.UserName, QStringLiteral("Jiří Šťastný"));
        QCOMPARE(again.Access.Password, QStringLiteral("tajné heslo"));
        QCOMPARE(again.Access.Permission, QStringLiteral("3_101,205"));
        QCOMPARE(again.Access.AdminPassword, QStringLiteral("správce/1=2"));
    }
};

QTEST_GUILESS_MAIN(TestAccess)
#include "tst_access.moc"
