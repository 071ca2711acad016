#pragma once

class Denik;
class Formulare;
class Graf;
class Workspace;

// How the calendar and the day entry talk: a clicked cell loads (and on a
// right click opens) the day entry, a written, erased or closed record is
// redrawn in the calendar, and a chosen problem row is shown in the entry window.
void ConnectDiary(Workspace& ws, Graf& graf, Denik& denik, Formulare* form);
