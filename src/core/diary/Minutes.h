#pragma once

#include <QString>
#include <memory>

class QTextDocument;
class Workspace;

// "Zápis_ORVA_yyyy-mm-dd.rtf", the name the minutes of the day are saved under.
QString MinutesFileName(double day);

// The minutes of the meeting of the day: the heading, the people present, a
// block per project with its team, expenses, the day's tasks, (optionally) its
// colliding deadlines and late payments as of that day, the minutes and
// messages, and the recorder. Loads each project's progress file in turn and
// computes its finance overview; the progress file loaded before is loaded
// again at the end.
std::unique_ptr<QTextDocument> BuildMinutes(Workspace& ws, double day);

// Builds the minutes and hands them to the notes editor (reportComposed).
void ComposeMinutes(Workspace& ws, double day);
