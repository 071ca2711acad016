#include "Arguments.h"

namespace {

// Splits "--name=value" into its parts; value stays null without "=".
void SplitOption(const QString& arg, QString& name, QString& value) {
    const qsizetype eq = arg.indexOf(u'=');
    name = eq < 0 ? arg : arg.left(eq);
    value = eq < 0 ? QString() : arg.mid(eq + 1);
}

// A calendar day written "dd.mm.yyyy" (one-digit day and month accepted).
bool ParseDay(const QString& text, QDate& day) {
    day = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
    return day.isValid();
}

// One option of the finance command, checked against its allowed values.
bool ReadFinanceOption(const QString& name, const QString& value, Arguments& out, QString& error) {
    auto refuse = [&](const QString& allowed) {
        error = QStringLiteral("Volba ") + name + QStringLiteral(" připouští ") + allowed +
                QStringLiteral(": ") + value;
        return false;
    };
    if (name == QLatin1String("--set")) {
        if (!QStringList{"one", "group", "all"}.contains(value)) return refuse("one, group, all");
        out.set = value;
    } else if (name == QLatin1String("--division")) {
        if (!QStringList{"stages", "years", "measures", "totals"}.contains(value))
            return refuse(QStringLiteral("stages, years, measures, totals"));
        out.division = value;
    } else if (name == QLatin1String("--date-kind")) {
        bool ok = false;
        out.dateKind = value.toInt(&ok);
        if (!ok || out.dateKind < 1 || out.dateKind > 4) return refuse(QStringLiteral("1 až 4"));
    } else if (name == QLatin1String("--subsidy-base")) {
        bool ok = false;
        out.subsidyBase = value.toInt(&ok);
        if (!ok || out.subsidyBase < 1 || out.subsidyBase > 2)
            return refuse(QStringLiteral("1, 2"));
    }
    return true;
}

// The options that take a value, by command (--base goes with every command).
QStringList ValueOptions(Arguments::Command command) {
    using C = Arguments::Command;
    switch (command) {
        case C::Generate:
            return {QStringLiteral("--project")};
        case C::Status:
            return {QStringLiteral("--project"), QStringLiteral("--date")};
        case C::Ical:
            return {QStringLiteral("--project"), QStringLiteral("--out")};
        case C::Finance:
            return {QStringLiteral("--project"),      QStringLiteral("--set"),
                    QStringLiteral("--division"),     QStringLiteral("--date-kind"),
                    QStringLiteral("--subsidy-base"), QStringLiteral("--out")};
        case C::Minutes:
            return {QStringLiteral("--day"), QStringLiteral("--out")};
        case C::Reconstruct:
            return {QStringLiteral("--project"), QStringLiteral("--log"), QStringLiteral("--day"),
                    QStringLiteral("--out")};
        default:
            return {};
    }
}

}  // namespace

bool ParseArguments(const QStringList& args, Arguments& out, QString& error) {
    out = Arguments();
    if (args.isEmpty()) {
        error = QStringLiteral("Chybí příkaz.");
        return false;
    }
    const QString& command = args.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        out.command = Arguments::Command::Help;
        return true;
    }
    if (command == QLatin1String("check")) {
        out.command = Arguments::Command::Check;
    } else if (command == QLatin1String("generate")) {
        out.command = Arguments::Command::Generate;
    } else if (command == QLatin1String("status")) {
        out.command = Arguments::Command::Status;
    } else if (command == QLatin1String("backup")) {
        out.command = Arguments::Command::Backup;
    } else if (command == QLatin1String("ical")) {
        out.command = Arguments::Command::Ical;
    } else if (command == QLatin1String("finance")) {
        out.command = Arguments::Command::Finance;
    } else if (command == QLatin1String("minutes")) {
        out.command = Arguments::Command::Minutes;
    } else if (command == QLatin1String("reconstruct")) {
        out.command = Arguments::Command::Reconstruct;
    } else {
        error = QStringLiteral("Neznámý příkaz: ") + command;
        return false;
    }
    const Arguments::Command c = out.command;
    const QStringList valueOptions = ValueOptions(c);
    for (int i = 1; i < args.size(); ++i) {
        QString name, value;
        SplitOption(args[i], name, value);
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            out.command = Arguments::Command::Help;
            return true;
        }
        if (name == QLatin1String("--base") || valueOptions.contains(name)) {
            if (value.isNull()) {
                if (i + 1 >= args.size() || args[i + 1].startsWith(QLatin1String("--"))) {
                    error = QStringLiteral("Volba ") + name + QStringLiteral(" potřebuje hodnotu.");
                    return false;
                }
                value = args[++i];
            }
            if (value.isEmpty()) {
                error = QStringLiteral("Volba ") + name + QStringLiteral(" potřebuje hodnotu.");
                return false;
            }
            if (name == QLatin1String("--base")) {
                out.base = value;
            } else if (name == QLatin1String("--out")) {
                out.out = value;
            } else if (name == QLatin1String("--log")) {
                out.log = value;
            } else if (name == QLatin1String("--project")) {
                out.project = value;
                out.hasProject = true;
            } else if (name == QLatin1String("--date") || name == QLatin1String("--day")) {
                if (!ParseDay(value, out.date)) {
                    error = QStringLiteral("Volba ") + name +
                            QStringLiteral(" potřebuje datum ve tvaru dd.mm.rrrr: ") + value;
                    return false;
                }
            } else if (!ReadFinanceOption(name, value, out, error)) {
                return false;
            }
        } else if (c == Arguments::Command::Generate && args[i] == QLatin1String("--force")) {
            out.force = true;
        } else if (args[i].startsWith(u'-')) {
            error =
                QStringLiteral("Neznámá volba příkazu ") + command + QStringLiteral(": ") + args[i];
            return false;
        } else {
            error = QStringLiteral("Nadbytečný argument: ") + args[i];
            return false;
        }
    }
    if (c == Arguments::Command::Ical && out.out.isEmpty()) {
        error = QStringLiteral("Příkaz ical potřebuje volbu --out SOUBOR.");
        return false;
    }
    if (c == Arguments::Command::Finance &&
        (out.set.isEmpty() || out.division.isEmpty() || out.out.isEmpty())) {
        error = QStringLiteral("Příkaz finance potřebuje volby --set, --division a --out.");
        return false;
    }
    if (c == Arguments::Command::Minutes && (!out.date.isValid() || out.out.isEmpty())) {
        error = QStringLiteral("Příkaz minutes potřebuje volby --day dd.mm.rrrr a --out SOUBOR.");
        return false;
    }
    if (c == Arguments::Command::Reconstruct &&
        (out.log.isEmpty() || !out.date.isValid() || out.out.isEmpty())) {
        error = QStringLiteral("Příkaz reconstruct potřebuje volby --log, --day a --out.");
        return false;
    }
    return true;
}

QString UsageText() {
    return QStringLiteral(
        "Použití:\n"
        "  orva-cli check [--base SLOŽKA]\n"
        "  orva-cli generate [--base SLOŽKA] [--project ČÍSLO] [--force]\n"
        "  orva-cli status [--base SLOŽKA] [--date dd.mm.rrrr] [--project ČÍSLO]\n"
        "  orva-cli backup [--base SLOŽKA]\n"
        "  orva-cli ical [--base SLOŽKA] [--project ČÍSLO] --out SOUBOR\n"
        "  orva-cli finance [--base SLOŽKA] --set one|group|all\n"
        "                   --division stages|years|measures|totals [--project ČÍSLO]\n"
        "                   [--date-kind 1-4] [--subsidy-base 1|2] --out SOUBOR\n"
        "  orva-cli minutes [--base SLOŽKA] --day dd.mm.rrrr --out SOUBOR\n"
        "  orva-cli reconstruct [--base SLOŽKA] --log SOUBOR --day dd.mm.rrrr\n"
        "                       [--project ČÍSLO] --out SLOŽKA\n"
        "  orva-cli --help\n"
        "\n"
        "Příkazy:\n"
        "  check     Načte datovou složku tak jako program Sledování ORVA při spuštění\n"
        "            (konfiguraci, seznam akcí, úkony a průběh každé akce), na nic se\n"
        "            neptá, nic nezapisuje a vypíše souhrn: počet akcí, řádky termínů\n"
        "            a financí každé akce, chybějící soubory, vynechané řádky a buňky,\n"
        "            které nelze přečíst jako datum nebo částku.\n"
        "  generate  Vytvoří soubory průběhu akcí z tabulky úkonů, stejně jako příkaz\n"
        "            programu \"Vygenerovat data\". Existující soubor průběhu ponechá.\n"
        "  status    Ranní přehled zpoždění: načte průběh každé akce a vypíše po řádcích\n"
        "            termíny s chybou termínu a platby se zpožděním k danému dni\n"
        "            (s úchylkami z konfigurace), v pořadí tabulek:\n"
        "              T;číslo akce;řádek;ID;Činnost;chyba termínu\n"
        "              F;číslo akce;řádek;ID;Činnost;dny zpoždění platby\n"
        "  backup    Zapíše úplnou zálohu dat do složky změn (soubor Zaloha_uživatel_datum.csv,\n"
        "            nový soubor začíná snímkem všech dat), stejně jako příkaz programu\n"
        "            \"Zálohování dat\"; vhodné pro noční plánovanou zálohu.\n"
        "  ical      Zapíše plánované termíny akcí (řádky termínů) jako kalendář\n"
        "            iCalendar (.ics): jedna celodenní událost na řádek, identifikátor\n"
        "            řádku jako UID, takže nový import události aktualizuje.\n"
        "  finance   Spočítá přehled financí (jako okno \"Výpočet finančních výsledků\")\n"
        "            pro jednu akci, její skupinu nebo všechny akce, po etapách, letech,\n"
        "            opatřeních nebo ročních součtech, a zapíše výsledkový soubor CSV\n"
        "            (první řádek \"Výsledky\" s dnešním datem). --project vybírá akci\n"
        "            (výchozí je první akce seznamu), --date-kind datum faktury\n"
        "            (1 doručení, 2 splatnost, 3 zařazení, 4 zaplacení), --subsidy-base\n"
        "            základ dotace (1 způsobilé výdaje, 2 uznané URR); bez nich platí\n"
        "            volby uložené v konfiguraci.\n"
        "  minutes   Zápis z porady daného dne z deníku, jako \"Tisk zápisu\" programu\n"
        "            (volby \"Tisk kolizních termínů\" a \"Tisk poznámek\" z konfigurace);\n"
        "            zapíše jej jako RTF, nebo jako PDF, končí-li název souboru na .pdf.\n"
        "  reconstruct  Zpětná rekonstrukce: ze souboru změn (snímek na jeho začátku a\n"
        "            záznamy po něm) sestaví stav tabulky akcí a průběhů ke konci daného\n"
        "            dne, na nic se neptá a zapíše seznam akcí a soubory průběhu (jen\n"
        "            akce z --project, bez ní všech akcí) do složky --out. Do datové\n"
        "            složky nikdy nepíše. Záznamy, které nenašly svůj řádek, vypíše.\n"
        "\n"
        "Volby:\n"
        "  --base SLOŽKA    základní složka se souborem ORVA_Sledovani.Ini (výchozí je\n"
        "                   aktuální složka); bez něj platí výchozí nastavení programu\n"
        "                   a soubor se nevytváří\n"
        "  --project ČÍSLO  jen akce s tímto číslem (přesně podle sloupce \"Číslo akce\")\n"
        "  --date DATUM     den, ke kterému se stav počítá (od 0:00); výchozí je nyní\n"
        "  --out SOUBOR     soubor, který příkaz zapíše: kalendář (ical), výsledkový\n"
        "                   soubor (finance), zápis .rtf nebo .pdf (minutes); u\n"
        "                   reconstruct složka, nesmí to být základní ani datová složka\n"
        "  --day DATUM      den zápisu (minutes), den, k jehož konci se stav sestaví\n"
        "                   (reconstruct)\n"
        "  --log SOUBOR     soubor změn Zmeny_rrrr-mm.csv (cesta, nebo jméno ve složce změn)\n"
        "  --force          přepíše i existující soubory průběhu\n"
        "  --help           tato nápověda\n"
        "\n"
        "Návratový kód:\n"
        "  0  vše v pořádku\n"
        "  1  chybí soubor nebo jej nelze číst či zapsat; u kontroly také každý\n"
        "     dotaz programu, vynechaný řádek, nečitelná buňka a akce, která by\n"
        "     dostala soubor průběhu jiné akce; také akce zadaná volbou --project,\n"
        "     která v seznamu akcí není\n"
        "  2  chybné argumenty\n");
}
