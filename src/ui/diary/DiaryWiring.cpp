#include "DiaryWiring.h"

#include "Denik.h"
#include "Graf.h"
#include "Workspace.h"
#include "editing/Formulare.h"

void ConnectDiary(Workspace& ws, Graf& graf, Denik& denik, Formulare* form) {
    QObject::connect(&graf, &Graf::cellChosen, &denik,
                     [&denik](int column, double day, int row, bool open) {
                         if (row <= 0) {
                             denik.close();
                             return;
                         }
                         if (open) {
                             denik.show();
                             denik.raise();
                         }
                         denik.LoadDayEntry(column, day, row);
                     });
    auto redraw = [&graf](int row) {
        if (row <= 0 || !graf.isVisible()) return;
        graf.FillCalendarCells(row, 0);
        graf.MarkCurrentCell();
    };
    QObject::connect(&denik, &Denik::recordChanged, &graf, redraw);
    QObject::connect(&denik, &Denik::closed, &graf, redraw);
    if (!form) return;
    QObject::connect(&denik, &Denik::itemChosen, form, [&ws, form](int kind, int row) {
        ws.Current().Select(kind, 1, row);
        ws.RevealGridCell(kind, 1, row);
        form->ShowItem(kind, row);
    });
}
