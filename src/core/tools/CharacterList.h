#pragma once

#include <QStringList>

class Workspace;

// The 255 lines of the character list: code n, three blanks and the character
// with that code in code page 1250 (an unassigned code gives U+FFFD).
QStringList CharacterListLines();

// Empties the check listing and fills it with the character list.
void ShowCharacterList(Workspace& ws);
