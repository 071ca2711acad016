#include "tools/PictureFit.h"

#include <QFileInfo>
#include <cmath>

#include "../data/Columns.h"
#include "Workspace.h"

QSize FitPicture(QSize picture, QSize area) {
    if (picture.width() <= 0 || picture.height() <= 0 || area.width() <= 0 || area.height() <= 0)
        return {0, 0};
    const double areaRatio = double(area.width()) / area.height();
    const double pictureRatio = double(picture.width()) / picture.height();
    if (areaRatio >= pictureRatio) {
        const double width =
            std::nearbyint(picture.width() / (double(picture.height()) / area.height()));
        return {int(width), area.height()};
    }
    const double height =
        std::nearbyint(picture.height() / (double(picture.width()) / area.width()));
    return {area.width(), int(height)};
}

QString PictureSizeLabel(QSize picture, QSize image) {
    return QStringLiteral("%1/%2 > %3/%4")
        .arg(picture.width())
        .arg(picture.height())
        .arg(image.width())
        .arg(image.height());
}

ItemPicture ItemPictureOf(const Workspace& ws, int kind, int row) {
    ItemPicture item;
    const QString separator = QStringLiteral(" -  ");
    switch (kind) {
        case kProjectTable:
            item.fileName = ws.Projects.Cell(Project::Picture, row);
            item.label = ws.Projects.Cell(Project::Number, row) + separator +
                         ws.Projects.Cell(Project::Name, row);
            break;
        case kDeadlineTable:
            item.fileName = ws.Deadlines.Cell(Progress::Picture, row);
            item.label = ws.Deadlines.Cell(Progress::Activity, row) + separator +
                         ws.Deadlines.Cell(Progress::Classification, row);
            item.keepLabel = row == 1;
            break;
        case kFinanceTable:
            item.fileName = ws.Finance.Cell(Progress::Picture, row);
            item.label = ws.Finance.Cell(Progress::Activity, row) + separator +
                         ws.Finance.Cell(Progress::Classification, row);
            break;
        default:
            item.keepLabel = true;
            return item;
    }
    item.fileName = item.fileName.trimmed();
    if (!item.fileName.isEmpty()) {
        item.path = ws.config.PathIn(ws.config.CestaFoto, item.fileName);
        // A folder is not a picture: with an empty or odd name the path may name one.
        item.exists = QFileInfo(item.path).isFile();
    }
    return item;
}
