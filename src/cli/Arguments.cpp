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
    } else if (command == QLatin1String("reconstruct")) {
        out.command = Arguments::Command::Reconstruct;
    } else {
        error = QStringLiteral("Neznámý příkaz: ") + command;
        return false;
    }
    const bool generate = out.command == Arguments::Command::Generate;
    const bool status = out.command == Arguments::Command::Status;
    const bool reconstruct = out.command == Arguments::Command::Reconstruct;
    for (int i = 1; i < args.size(); ++i) {
        QString name, value;
        SplitOption(args[i], name, value);
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            out.command = Arguments::Command::Help;
            return true;
        }
        const bool takesValue =
            name == QLatin1String("--base") ||
            ((generate || status || reconstruct) && name == QLatin1String("--project")) ||
            (status && name == QLatin1String("--date")) ||
            (reconstruct && (name == QLatin1String("--log") || name == QLatin1String("--day") ||
                             name == QLatin1String("--out")));
        if (takesValue) {
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
            } else if (name == QLatin1String("--log")) {
                out.log = value;
            } else if (name == QLatin1String("--out")) {
                out.out = value;
            } else if (name == QLatin1String("--day")) {
                if (!ParseDay(value, out.day)) {
                    error =
                        QStringLiteral("Volba --day potřebuje datum ve tvaru dd.mm.rrrr: ") + value;
                    return false;
                }
            } else if (name == QLatin1String("--date")) {
                if (!ParseDay(value, out.date)) {
                    error = QStringLiteral("Volba --date potřebuje datum ve tvaru dd.mm.rrrr: ") +
                            value;
                    return false;
                }
            } else {
                out.project = value;
                out.hasProject = true;
            }
        } else if (generate && args[i] == QLatin1String("--force")) {
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
    if (reconstruct && (out.log.isEmpty() || !out.day.isValid() || out.out.isEmpty())) {
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
        "  --force          přepíše i existující soubory průběhu\n"
        "  --log SOUBOR     soubor změn Zmeny_rrrr-mm.csv (cesta, nebo jméno ve složce změn)\n"
        "  --day DATUM      den, k jehož konci se stav sestaví\n"
        "  --out SLOŽKA     kam se zapíše výsledek; nesmí to být základní ani datová složka\n"
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
