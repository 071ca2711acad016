#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <cstdlib>

// The fixtures are written with libjpeg itself: Qt cannot write CMYK or YCCK.
#include <jpeglib.h>

#include "tools/JpegImage.h"
#include "tools/PictureFit.h"

namespace {

enum class Ink { YCbCr, Rgb, Gray, Cmyk, CmykAdobe, YcckAdobe };

// Four 32 × 24 quadrants: red, green, black and mid grey.
constexpr QRgb kQuadrants[4] = {0xffff0000, 0xff00ff00, 0xff000000, 0xff7f7f7f};
// The same as inks C, M, Y, K.
constexpr uchar kInks[4][4] = {{0, 255, 255, 0}, {255, 0, 255, 0}, {0, 0, 0, 255}, {0, 0, 0, 128}};

int Quadrant(int x, int y, QSize size) {
    return (x >= size.width() / 2 ? 1 : 0) + (y >= size.height() / 2 ? 2 : 0);
}

// A grey picture whose every AC coefficient has a scan of its own, refined once
// more: 127 scans, a valid progression.
constexpr int kFineScans = 1 + 2 * 63;

QByteArray EncodeJpeg(QSize size, Ink ink, bool progressive = false, bool fineScans = false) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&cinfo, &buffer, &length);
    cinfo.image_width = JDIMENSION(size.width());
    cinfo.image_height = JDIMENSION(size.height());
    const bool inks = ink == Ink::Cmyk || ink == Ink::CmykAdobe || ink == Ink::YcckAdobe;
    cinfo.input_components = ink == Ink::Gray ? 1 : inks ? 4 : 3;
    cinfo.in_color_space = ink == Ink::Gray ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (ink == Ink::Rgb) jpeg_set_colorspace(&cinfo, JCS_RGB);
    if (ink == Ink::YcckAdobe) jpeg_set_colorspace(&cinfo, JCS_YCCK);
    // Plain CMYK carries no Adobe marker, and its inks are not inverted.
    if (ink == Ink::Cmyk) cinfo.write_Adobe_marker = FALSE;
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_scan_info scans[kFineScans] = {{1, {0}, 0, 0, 0, 0}};
    if (fineScans) {
        for (int k = 1; k <= 63; ++k) {
            scans[k] = {1, {0}, k, k, 0, 1};
            scans[63 + k] = {1, {0}, k, k, 1, 0};
        }
        cinfo.scan_info = scans;
        cinfo.num_scans = kFineScans;
    }
    jpeg_start_compress(&cinfo, TRUE);

    QByteArray row(size.width() * cinfo.input_components, '\0');
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < size.width(); ++x) {
            const int q = Quadrant(x, y, size);
            uchar* p = reinterpret_cast<uchar*>(row.data()) + x * cinfo.input_components;
            if (ink == Ink::Gray) {
                p[0] = uchar(qGray(kQuadrants[q]));
            } else if (inks) {
                for (int i = 0; i < 4; ++i)
                    p[i] = ink == Ink::Cmyk ? kInks[q][i] : uchar(255 - kInks[q][i]);
            } else {
                p[0] = uchar(qRed(kQuadrants[q]));
                p[1] = uchar(qGreen(kQuadrants[q]));
                p[2] = uchar(qBlue(kQuadrants[q]));
            }
        }
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(length));
    std::free(buffer);
    return bytes;
}

QByteArray Bitmap(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The offset of the first marker 0xFF code after the start-of-image marker.
qsizetype Marker(const QByteArray& jpeg, uchar code) {
    return jpeg.indexOf(QByteArray("\xff") + char(code), 2);
}

// The middle of the entropy-coded data of a baseline picture.
qsizetype ScanMiddle(const QByteArray& jpeg) {
    const qsizetype sos = Marker(jpeg, 0xda);
    return (sos + jpeg.size()) / 2;
}

bool Near(QRgb a, QRgb b, int tolerance = 8) {
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

QString Hex(QRgb c) {
    return QString::number(c & 0xffffff, 16).rightJustified(6, u'0');
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Ok, a picture and no message, or a message and no picture: never half of each.
void VerifyConsistent(const LoadedPicture& p) {
    QCOMPARE(p.Ok(), !p.image.isNull());
    QCOMPARE(p.Ok(), p.error.isEmpty());
    if (p.Ok()) {
        QCOMPARE(p.image.format(), QImage::Format_RGB32);
        QCOMPARE(p.image.size(), JpegScaledSize(p.fullSize, p.eighths));
    }
}

const QSize kSize(64, 48);

}  // namespace

class TestJpeg : public QObject {
    Q_OBJECT

  private slots:
    void fitPicture_data();
    void fitPicture();
    void scaleChoice_data();
    void scaleChoice();
    void decodedSize_data();
    void decodedSize();
    void colourSpaces_data();
    void colourSpaces();
    void damagedFiles_data();
    void damagedFiles();
    void everyTruncationIsAnError_data();
    void everyTruncationIsAnError();
    void flippedBytesNeverCrash();
    void loadByExtension_data();
    void loadByExtension();
};

void TestJpeg::fitPicture_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QString>("label");

    const QSize area(352, 264);
    QTest::newRow("same ratio fills the area")
        << QSize(800, 600) << area << QSize(352, 264) << "800/600 > 352/264";
    QTest::newRow("upright picture fills the height")
        << QSize(600, 800) << area << QSize(198, 264) << "600/800 > 198/264";
    QTest::newRow("wide picture fills the width")
        << QSize(1000, 100) << area << QSize(352, 35) << "1000/100 > 352/35";
    QTest::newRow("small picture is enlarged")
        << QSize(10, 10) << area << QSize(264, 264) << "10/10 > 264/264";
    // 2 × 5 into a 1-pixel-wide area: 2.5 rounds to the even 2.
    QTest::newRow("half rounds to even")
        << QSize(2, 5) << QSize(1, 100) << QSize(1, 2) << "2/5 > 1/2";
    QTest::newRow("half rounds to even upwards")
        << QSize(2, 7) << QSize(1, 100) << QSize(1, 4) << "2/7 > 1/4";
    // Without a picture the height ratio would divide by zero.
    QTest::newRow("no picture") << QSize(0, 0) << area << QSize(0, 0) << "0/0 > 0/0";
    QTest::newRow("picture without height")
        << QSize(500, 0) << QSize(2000, 100) << QSize(0, 0) << "500/0 > 0/0";
    QTest::newRow("area without height")
        << QSize(800, 600) << QSize(352, 0) << QSize(0, 0) << "800/600 > 0/0";
}

void TestJpeg::fitPicture() {
    QFETCH(QSize, picture);
    QFETCH(QSize, area);
    QFETCH(QSize, image);
    QFETCH(QString, label);
    const QSize fitted = FitPicture(picture, area);
    QCOMPARE(fitted, image);
    QVERIFY(fitted.width() <= qMax(0, area.width()) && fitted.height() <= qMax(0, area.height()));
    QCOMPARE(PictureSizeLabel(picture, fitted), label);
}

void TestJpeg::scaleChoice_data() {
    QTest::addColumn<QSize>("full");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("eighths");

    QTest::newRow("20 MP photo for a small window") << QSize(5472, 3648) << QSize(352, 264) << 1;
    QTest::newRow("5000 x 4000 at 800 x 600") << QSize(5000, 4000) << QSize(800, 600) << 2;
    QTest::newRow("no target: full size") << QSize(5000, 4000) << QSize(0, 0) << 8;
    QTest::newRow("target without height") << QSize(5000, 4000) << QSize(800, 0) << 8;
    QTest::newRow("target larger than the picture") << QSize(640, 480) << QSize(1000, 1000) << 8;
    QTest::newRow("one eighth exactly") << QSize(640, 480) << QSize(80, 60) << 1;
    QTest::newRow("one pixel more than an eighth") << QSize(640, 480) << QSize(81, 61) << 2;
    // Only the fitted picture counts, not the spare width of the box.
    QTest::newRow("box wider than the picture") << QSize(640, 480) << QSize(330, 240) << 4;
    QTest::newRow("upright picture in a wide box") << QSize(3000, 4000) << QSize(800, 600) << 2;
    // libjpeg rounds scaled sizes up: 1001/8 gives 126.
    QTest::newRow("odd size rounded up") << QSize(1001, 601) << QSize(126, 76) << 1;
    QTest::newRow("seven eighths") << QSize(800, 800) << QSize(700, 700) << 7;
    QTest::newRow("just over seven eighths") << QSize(800, 800) << QSize(701, 701) << 8;
}

void TestJpeg::scaleChoice() {
    QFETCH(QSize, full);
    QFETCH(QSize, target);
    QFETCH(int, eighths);
    QCOMPARE(JpegScaleEighths(full, target), eighths);
}

void TestJpeg::decodedSize_data() {
    QTest::addColumn<bool>("progressive");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("eighths");
    QTest::addColumn<QSize>("image");

    // A 641 × 481 picture: every scale rounds up.
    for (bool progressive : {false, true}) {
        const char* kind = progressive ? "progressive" : "baseline";
        QTest::addRow("%s full", kind) << progressive << QSize() << 8 << QSize(641, 481);
        QTest::addRow("%s 1/8", kind) << progressive << QSize(60, 60) << 1 << QSize(81, 61);
        QTest::addRow("%s 3/8", kind) << progressive << QSize(240, 180) << 3 << QSize(241, 181);
        QTest::addRow("%s 4/8", kind) << progressive << QSize(300, 300) << 4 << QSize(321, 241);
    }
}

void TestJpeg::decodedSize() {
    QFETCH(bool, progressive);
    QFETCH(QSize, target);
    QFETCH(int, eighths);
    QFETCH(QSize, image);
    const LoadedPicture p =
        DecodeJpegData(EncodeJpeg(QSize(641, 481), Ink::YCbCr, progressive), "a.jpg", target);
    QVERIFY2(p.Ok(), qPrintable(p.error));
    QCOMPARE(p.fullSize, QSize(641, 481));
    QCOMPARE(p.eighths, eighths);
    QCOMPARE(p.image.size(), image);
}

void TestJpeg::colourSpaces_data() {
    QTest::addColumn<int>("ink");
    QTest::addColumn<bool>("progressive");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<bool>("gray");

    const struct {
        const char* name;
        Ink ink;
    } inks[] = {{"YCbCr", Ink::YCbCr},          {"RGB", Ink::Rgb},
                {"grayscale", Ink::Gray},       {"CMYK", Ink::Cmyk},
                {"Adobe CMYK", Ink::CmykAdobe}, {"Adobe YCCK", Ink::YcckAdobe}};
    for (const auto& i : inks) {
        QTest::addRow("%s", i.name) << int(i.ink) << false << QSize() << (i.ink == Ink::Gray);
        QTest::addRow("%s at half size", i.name)
            << int(i.ink) << false << QSize(32, 24) << (i.ink == Ink::Gray);
        QTest::addRow("%s progressive", i.name)
            << int(i.ink) << true << QSize() << (i.ink == Ink::Gray);
    }
}

void TestJpeg::colourSpaces() {
    QFETCH(int, ink);
    QFETCH(bool, progressive);
    QFETCH(QSize, target);
    QFETCH(bool, gray);
    const LoadedPicture p =
        DecodeJpegData(EncodeJpeg(kSize, Ink(ink), progressive), "a.jpg", target);
    QVERIFY2(p.Ok(), qPrintable(p.error));
    VerifyConsistent(p);
    const QSize size = p.image.size();
    for (int q = 0; q < 4; ++q) {
        // The middle of each quadrant, away from the blurred edges.
        const int x = size.width() / 4 + (q % 2) * size.width() / 2;
        const int y = size.height() / 4 + (q / 2) * size.height() / 2;
        const QRgb expected =
            gray ? qRgb(qGray(kQuadrants[q]), qGray(kQuadrants[q]), qGray(kQuadrants[q]))
                 : kQuadrants[q];
        const QRgb got = p.image.pixel(x, y);
        QVERIFY2(Near(got, expected), qPrintable(QStringLiteral("quadrant %1: %2 instead of %3")
                                                     .arg(q)
                                                     .arg(Hex(got), Hex(expected))));
        QCOMPARE(qAlpha(got), 255);
    }
}

void TestJpeg::damagedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = EncodeJpeg(kSize, Ink::YCbCr);
    const QByteArray progressive = EncodeJpeg(kSize, Ink::YCbCr, true);
    const QString eof = QStringLiteral("Premature end of JPEG file.");

    QTest::newRow("empty file") << QByteArray() << "Empty input file.";
    QTest::newRow("a bitmap") << Bitmap(kSize) << "Not a JPEG file: starts with 0x42 0x4d.";
    QTest::newRow("start marker only") << good.left(2) << eof;
    QTest::newRow("cut in the header") << good.left(Marker(good, 0xc0) + 5) << eof;
    QTest::newRow("cut in the scan") << good.left(ScanMiddle(good)) << eof;
    QTest::newRow("end marker missing") << good.left(good.size() - 2) << eof;
    QTest::newRow("progressive cut") << progressive.left(progressive.size() * 2 / 3) << eof;

    QByteArray marker = good;
    marker[ScanMiddle(good)] = char(0xff);
    marker[ScanMiddle(good) + 1] = char(0xd9);
    QTest::newRow("end marker inside the scan")
        << marker << "Corrupt JPEG data: premature end of data segment.";

    const qsizetype sof = Marker(good, 0xc0);
    QByteArray noWidth = good;
    noWidth[sof + 7] = 0;
    noWidth[sof + 8] = 0;
    QTest::newRow("zero width") << noWidth << "Empty JPEG image (DNL not supported).";
    QByteArray precision = good;
    precision[sof + 4] = 9;
    QTest::newRow("bad precision") << precision << "Unsupported JPEG data precision 9.";
    QByteArray huffman = good;
    const qsizetype dht = Marker(good, 0xc4);
    for (int i = 0; i < 16; ++i) huffman[dht + 5 + i] = char(0xff);
    QTest::newRow("bad Huffman table") << huffman << "Bogus Huffman table definition.";
    // 60,000 × 60,000 pixels would take 14 GB; refused before any allocation.
    QByteArray huge = good;
    huge[sof + 5] = huge[sof + 7] = char(0xea);
    huge[sof + 6] = huge[sof + 8] = char(0x60);
    QTest::newRow("huge dimensions") << huge << "obrázek 60000 × 60000 bodů je příliš velký.";
    // A progressive picture keeps the coefficients of the whole picture even when
    // shown small: 139 bytes that claimed 65304 × 52752 pixels took gigabytes.
    const QByteArray claims = QByteArray::fromHex(
        "ffd8ffe000104a460a020000000000000049460001010000010100101010101010101010"
        "1010ffc2001108ce10ff1803011100021101031101ffc400170000030100000000000000"
        "00000000000003040708ffc40017010101010100000000000000000000000004050203ff"
        "da000c03010002100310000001a2b85546a8524e91fa0f49a5b0547b5cffd9");
    QTest::newRow("progressive, huge dimensions")
        << claims << "obrázek 65304 × 52752 bodů je příliš velký.";
    // 16384 × 16384 in three full-resolution colours: 1.5 GB of coefficients.
    QByteArray coefficients = EncodeJpeg(kSize, Ink::Rgb, true);
    const qsizetype sof2 = Marker(coefficients, 0xc2);
    coefficients[sof2 + 5] = coefficients[sof2 + 7] = char(0x40);
    coefficients[sof2 + 6] = coefficients[sof2 + 8] = char(0x00);
    QTest::newRow("progressive, coefficients beyond memory")
        << coefficients << "obrázek 16384 × 16384 bodů je příliš velký.";
    QTest::newRow("too many scans")
        << EncodeJpeg(kSize, Ink::Gray, true, true) << "obrázek má víc než 100 průchodů.";
}

void TestJpeg::damagedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    // Damage must be caught on the scaled path too, not only at full size.
    for (const QSize target : {QSize(), QSize(8, 6)}) {
        const LoadedPicture p = DecodeJpegData(bytes, QStringLiteral("obraz.jpg"), target);
        VerifyConsistent(p);
        QVERIFY(!p.Ok());
        QCOMPARE(p.error, QStringLiteral("Soubor obraz.jpg nelze zobrazit: ") + reason);
    }
}

void TestJpeg::everyTruncationIsAnError_data() {
    QTest::addColumn<bool>("progressive");
    QTest::newRow("baseline") << false;
    QTest::newRow("progressive") << true;
}

void TestJpeg::everyTruncationIsAnError() {
    QFETCH(bool, progressive);
    const QByteArray good = EncodeJpeg(kSize, Ink::YCbCr, progressive);
    QVERIFY(DecodeJpegData(good, "a.jpg").Ok());
    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        const LoadedPicture p = DecodeJpegData(good.left(cut), "a.jpg", QSize(16, 12));
        if (p.Ok())
            QFAIL(qPrintable(QStringLiteral("cut at %1 of %2 shown").arg(cut).arg(good.size())));
        VerifyConsistent(p);
    }
}

void TestJpeg::flippedBytesNeverCrash() {
    for (bool progressive : {false, true}) {
        const QByteArray good = EncodeJpeg(kSize, Ink::YCbCr, progressive);
        for (qsizetype i = 0; i < good.size(); ++i) {
            QByteArray bad = good;
            bad[i] = char(bad[i] ^ 0xff);
            VerifyConsistent(DecodeJpegData(bad, "a.jpg"));
            VerifyConsistent(DecodeJpegData(bad, "a.jpg", QSize(16, 12)));
        }
    }
}

void TestJpeg::loadByExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("eighths");  // 0: an error is expected
    QTest::addColumn<QString>("reason");

    // An odd width, so that the bitmap's rows are padded.
    const QByteArray jpeg = EncodeJpeg(QSize(641, 481), Ink::YCbCr);
    const QByteArray bmp = Bitmap(QSize(641, 481));
    // JPEGs are decoded by libjpeg, so they come reduced to the 80 × 60 target.
    for (const char* name : {"a.jpg", "b.JPG", "c.Jpg", "d.jpeg", "e.JPEG", "f.jpe"})
        QTest::newRow(name) << name << jpeg << 1 << QString();
    for (const char* name : {"g.bmp", "h.BMP", "i.Bmp"})
        QTest::newRow(name) << name << bmp << 8 << QString();
    QTest::newRow("accented name") << "Fotka čísla 1.JPG" << jpeg << 1 << QString();
    // Only the reader the extension names: never Qt's JPEG reader for a .bmp.
    QTest::newRow("JPEG named .bmp") << "j.bmp" << jpeg << 0 << "j.bmp nelze zobrazit: ";
    QTest::newRow("bitmap named .jpg")
        << "k.jpg" << bmp << 0 << "k.jpg nelze zobrazit: Not a JPEG file";
    QTest::newRow("other type") << "l.png" << bmp << 0 << "obrázek musí být typu JPG nebo BMP.";
    QTest::newRow("no extension") << "jpg" << jpeg << 0 << "obrázek musí být typu JPG nebo BMP.";
    // Qt's reader would show a cut bitmap with undefined rows.
    QTest::newRow("truncated bitmap")
        << "o.bmp" << bmp.left(bmp.size() - 1) << 0 << "o.bmp nelze zobrazit: soubor je neúplný.";
    QTest::newRow("missing file") << "m.jpg" << QByteArray() << 0
                                  << "m.jpg nelze zobrazit: soubor neexistuje.";
}

void TestJpeg::loadByExtension() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, eighths);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!bytes.isEmpty()) QVERIFY(WriteFile(path, bytes));
    const LoadedPicture p = LoadPicture(path, QSize(80, 60));
    QCOMPARE(p.Ok(), eighths > 0);
    if (eighths > 0) {
        QCOMPARE(p.fullSize, QSize(641, 481));
        QCOMPARE(p.eighths, eighths);
        QCOMPARE(p.image.size(), JpegScaledSize(p.fullSize, eighths));
    } else {
        QVERIFY(p.image.isNull());
        QVERIFY2(p.error.startsWith(u"Soubor "), qPrintable(p.error));
        QVERIFY2(p.error.contains(reason), qPrintable(p.error));
    }
}

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"
