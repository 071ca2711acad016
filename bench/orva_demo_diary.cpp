// Writes a few weeks of day records into a data folder (the demo data), through
// the program's own writer, so that the files are exactly what the day entry
// window writes. Usage: orva-demo-diary DIR FIRST-DAY LAST-DAY (dd.mm.yyyy).
#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

#include "Prompter.h"
#include "Workspace.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/People.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "diary/Calendar.h"
#include "diary/DayRecord.h"
#include "shell/Config.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    const QDate first = QDate::fromString(args.value(2), QStringLiteral("d.M.yyyy"));
    const QDate last = QDate::fromString(args.value(3), QStringLiteral("d.M.yyyy"));
    if (args.size() != 4 || !first.isValid() || !last.isValid()) {
        err << "usage: orva-demo-diary DIR FIRST-DAY LAST-DAY\n";
        return 2;
    }
    ScriptedPrompter prompter;
    Workspace ws(prompter);
    ws.config.BaseDir = args[1].endsWith(u'/') ? args[1] : args[1] + u'/';
    ReadConfiguration(ws.config);
    LoadProjectRegister(ws, ws.config.SouborAkce);
    const QStringList people = ReadPeopleEntries(ws.config.DataPath(ws.config.SouborLidi));

    const QStringList tasks{"Kontrolní den stavby",  "Převzetí staveniště",
                            "Fakturace za měsíc",    "Doplnit podklady k žádosti o platbu",
                            "Jednání s dodavatelem", "Změnový list č. 3",
                            "Kontrola harmonogramu"};
    const QStringList minutes{"Stavba probíhá podle harmonogramu.",
                              "Dodavatel hlásí zpoždění dodávky materiálu.",
                              "Technický dozor převzal dokončenou etapu bez vad.",
                              "Projednány vícepráce, připraví se změnový list.",
                              "Poskytovatel dotace vyžádal doplnění monitorovací zprávy."};
    const QStringList messages{"Zavolat projektantovi kvůli přeložce sítí.",
                               "Připravit podklady pro poradu vedení.", ""};
    const QStringList states{"V běhu", "Nový termín", "Splněno", "V běhu"};

    CalendarData data;
    CalendarView view;
    view.columns = 1;
    int written = 0;
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        if (d.dayOfWeek() >= Qt::Saturday) continue;
        const double day = DayFromDate(d);
        view.first = day;
        data.Compute(ws, view, 1, ws.Projects.RowCount() - 1, false);
        for (int p = 1; p < ws.Projects.RowCount(); ++p) {
            const int seed = d.dayOfYear() * 7 + p * 3;
            if ((d.dayOfYear() + p) % 3 != 0) continue;  // about a third of the cells
            DayRecord r;
            const int count = 1 + seed % 3;
            for (int k = 0; k < count; ++k) {
                const QString person = people.value((seed + k) % people.size());
                const QString due = FormatShortDate(d.addDays((seed + 5 * k) % 15 - 4));
                r.tasks << DayTask{person.section(u'[', 0, 0).trimmed(),
                                   tasks[(seed + k) % tasks.size()], due,
                                   states[(seed + k) % states.size()]};
            }
            r.taskCount = count;
            r.deadlineProblems = int(data.Cell(p, 1).problems.size());
            r.person = people.value(seed % people.size());
            r.note = tasks[seed % tasks.size()];
            r.minutes = {minutes[seed % minutes.size()], minutes[(seed + 2) % minutes.size()]};
            r.messages = {messages[seed % messages.size()]};
            WriteDayRecord(ws, day, p, r);
            ++written;
        }
    }
    QTextStream(stdout) << written << " records written\n";
    return prompter.log.isEmpty() ? 0 : 1;
}
