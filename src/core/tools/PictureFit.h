#pragma once

#include <QSize>
#include <QString>

class Workspace;

// FitPicture: the size at which a picture is stretched into the viewer's
// picture area, keeping its proportions and filling the area in one direction.
// An empty picture or an empty area gives 0 × 0 (a picture without height would
// otherwise divide by zero).
QSize FitPicture(QSize picture, QSize area);

// The viewer's size label: picture width/height " > " image width/height.
QString PictureSizeLabel(QSize picture, QSize image);

// What the viewer shows for an item: the picture file it names and the item
// label. Projects name their picture in column 8, deadline and finance items
// in column 17; other kinds name none and keep the label.
struct ItemPicture {
    QString fileName;  // as written in the cell, without the picture folder
    QString path;      // base directory + picture folder + file name
    QString label;
    // Deadline row 1 leaves the label as it is, in the viewer as in the entry window.
    bool keepLabel = false;
    // The named file is there (an empty name is never a picture).
    bool exists = false;
};
ItemPicture ItemPictureOf(const Workspace& ws, int kind, int row);
