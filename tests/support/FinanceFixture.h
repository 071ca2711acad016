#pragma once

#include <QStringList>

#include "TestSupport.h"
#include "Workspace.h"
#include "data/Columns.h"
#include "data/Progress.h"

// Projects and their finance rows for the finance overview tests: the project
// table filled in memory, the progress files written as another workstation
// writes them.
namespace FinanceFixture {

struct ProjectLine {
    ProjectLine(const QString& number_, const QString& name_, const QString& percentages_,
                const QString& planned_, const QString& subsidy_, const QString& start_,
                const QString& end_, const QString& activities_ = QString())
        : number(number_),
          name(name_),
          percentages(percentages_),
          planned(planned_),
          subsidy(subsidy_),
          start(start_),
          end(end_),
          activities(activities_) {}
    QString number, name, percentages, planned, subsidy, start, end, activities;
};

inline void SetProjects(Workspace& ws, const QList<ProjectLine>& projects) {
    SetupTable(ws.Projects, kProjectTable, QString());
    ws.Projects.SetRowCount(1);
    int r = 1;
    for (const ProjectLine& p : projects) {
        Table& t = ws.Projects;
        t.SetCell(Project::RowNumber, r, QString::number(r));
        t.SetCell(Project::Number, r, p.number);
        t.SetCell(Project::Name, r, p.name);
        t.SetCell(Project::Manager, r, QStringLiteral("Jana Nováková"));
        t.SetCell(Project::Technician, r, QStringLiteral("Petr Dvořák"));
        t.SetCell(Project::Activities, r, p.activities);
        t.SetCell(Project::Percentages, r, p.percentages);
        t.SetCell(Project::PlannedTotal, r, p.planned);
        t.SetCell(Project::Subsidy, r, p.subsidy);
        t.SetCell(Project::Start, r, p.start);
        t.SetCell(Project::End, r, p.end);
        ++r;
    }
    ws.Current().SetProjectRow(1);
}

// A finance row: kind and number, activity, the four dates, URR, ineligible, total.
inline QString FinanceLine(const QString& number, const QString& activity,
                           const QString& dates /* "d5;d6;d7;d8" */, const QString& amounts) {
    return number + u';' + activity + QStringLiteral(";;;") + dates + u';' + amounts +
           QStringLiteral(";;;;;;;;");
}

// Writes the progress file of the project number with these finance lines.
inline QString WriteProgress(const TempBase& base, const QString& number,
                             const QStringList& financeLines) {
    const QString name = ProgressFileNameFor(base.ws->config.SouborAkce, number);
    base.WriteLines(name, QStringList{QStringLiteral("Akce ORVA;01.12.2026"),
                                      QStringLiteral("Akce - Projekt Číslo ;") + number,
                                      QStringLiteral("Termíny")} +
                              financeLines);
    return name;
}

}  // namespace FinanceFixture
