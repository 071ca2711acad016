#pragma once

#include <QDate>
#include <QString>

class QTextDocument;
class Workspace;

// "Finance_" + project number + "_" + "yyyy-mm-dd" + ".rtf".
QString FinanceReportName(const QString& projectNumber, const QDate& day);
// Lays the finance report of the results table out in document: the heading,
// the choices of the computation, then one block per results row in columns
// of 20 characters.
void ComposeFinanceReportInto(QTextDocument& document, const Workspace& ws);
// Composes the report and hands it to the notes editor (reportComposed); the
// project row only names the document. Returns the name.
QString ComposeFinanceReport(Workspace& ws, int projectRow);
