#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A picture read from a file for the viewer.
struct LoadedPicture {
    QImage image;     // null when the file could not be shown
    QSize fullSize;   // the picture's own size, before any scaling
    int eighths = 8;  // the libjpeg scale of the image, n/8 (always 8 for bitmaps)
    QString error;    // a Czech message naming the file, empty on success
    bool Ok() const { return error.isEmpty() && !image.isNull(); }
};

enum class PictureType { Jpeg, Bitmap, Other };
// By the extension, in any letter case: .jpg/.jpeg/.jpe are JPEG, .bmp a bitmap.
PictureType PictureTypeOf(const QString& fileName);

// libjpeg's output size for a picture decoded at n/8.
QSize JpegScaledSize(QSize fullSize, int eighths);
// The smallest scale n/8 (1 … 8) whose output still covers the picture fitted
// into target (FitPicture), so that the viewer never enlarges a reduced decode.
// 8 for an empty target or one that the full picture does not cover.
int JpegScaleEighths(QSize fullSize, QSize target);

// Decodes a JPEG with libjpeg, DCT-scaled for target (empty: full size), into
// QImage::Format_RGB32. Grayscale, YCbCr, RGB, CMYK and YCCK pictures are read;
// CMYK written by Adobe programs is inverted. A truncated or damaged file, or
// one whose decoded image would be unreasonably large, gives an error and a
// null image; the process never ends inside libjpeg.
LoadedPicture DecodeJpeg(const QString& path, QSize target = {});
// The same on bytes already read; name is the file name for the message.
LoadedPicture DecodeJpegData(const QByteArray& data, const QString& name, QSize target = {});

// JPEG through libjpeg, bitmaps through Qt's BMP reader; any other file is an
// error. Never uses another reader than the one the extension names.
LoadedPicture LoadPicture(const QString& path, QSize target = {});
