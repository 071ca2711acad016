#include "CharacterList.h"

#include "../Workspace.h"
#include "../data/TextFile.h"

QStringList CharacterListLines() {
    QStringList lines;
    lines.reserve(255);
    for (int n = 1; n <= 255; ++n)
        lines << QString::number(n) + QStringLiteral("   ") +
                     TextFile::Decode(QByteArray(1, char(n)));
    return lines;
}

void ShowCharacterList(Workspace& ws) {
    ws.CheckListing.clear();
    for (const QString& line : CharacterListLines()) ws.AppendCheck(line);
}
