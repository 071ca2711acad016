#include "tools/JpegImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>

// jpeglib.h needs FILE declared first, and jerror.h the configuration that
// jpeglib.h brings, or its message codes would not match the library's.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "tools/PictureFit.h"

namespace {

// A damaged header may claim up to 65,535 × 65,535 pixels. Decoding costs
// time and memory in proportion to the declared picture, whatever the scale
// shown (a progressive picture keeps every coefficient of the whole picture),
// so a picture larger than any real photograph is refused before decoding, and
// libjpeg's own allocations are capped. Fuzzing builds use smaller limits so
// that the fuzzer is not held up by allocations that would be refused anyway.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr qint64 kMaxPixels = qint64(4096) * 4096;
constexpr qint64 kMaxDecoderBytes = qint64(256) * 1024 * 1024;
#else
constexpr qint64 kMaxPixels = qint64(16384) * 16384;
constexpr qint64 kMaxDecoderBytes = qint64(1024) * 1024 * 1024;
#endif
constexpr qint64 kMaxImageBytes = qint64(512) * 1024 * 1024;
// Real progressive pictures have about ten scans; every scan passes over the
// whole picture, so a file of thousands of tiny scans would decode for minutes.
constexpr int kMaxScans = 100;
// The whole file is read into memory; no picture file is anywhere near this.
constexpr qint64 kMaxFileBytes = qint64(256) * 1024 * 1024;
// Scanlines handed to libjpeg per call.
constexpr int kRowBatch = 8;

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_XRGB;
#endif

QString CannotShow(const QString& name, const QString& reason) {
    return QStringLiteral("Soubor %1 nelze zobrazit: %2").arg(name, reason);
}

// libjpeg ends the process from its default error handler; this one jumps back
// to the decoder with the message instead.
struct ErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer is also ours
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool tooManyScans = false;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings after which libjpeg would go on and fill the rest of the picture with
// grey: the file is cut short or its data are damaged, so the picture shown
// would be wrong. Other warnings (extra bytes between markers, an unknown JFIF
// revision) leave the picture intact.
bool IsDamage(int code) {
    switch (code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_MUST_RESYNC:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION:
            return true;
        default:
            return false;
    }
}

void EmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace output
    if (IsDamage(cinfo->err->msg_code)) ErrorExit(cinfo);
    ++cinfo->err->num_warnings;
}

void OutputMessage(j_common_ptr) {}

// libjpeg calls this between pieces of input while it gathers a multi-scan
// picture, so a file with too many scans is stopped before its scans are read.
void WatchScans(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxScans) return;
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->tooManyScans = true;
    std::longjmp(err->jump, 1);
}

// Everything the decoding touches after the jump point lives here, outside the
// function that calls setjmp, so the long jump leaves no local of that function
// indeterminate and crosses no C++ destructor.
struct DecodeJob {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    const QByteArray* data = nullptr;
    QSize target;
    QImage image;
    QSize fullSize;
    int eighths = 8;
    bool cmyk = false;
    bool adobe = false;
    bool tooLarge = false;
};

// False when libjpeg gave up (job.err.message says why) or the image is too large.
bool RunDecoder(DecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.cinfo;
    if (setjmp(job.err.jump)) return false;

    jpeg_create_decompress(&cinfo);
    // Without backing store, libjpeg fails (JERR_NO_BACKING_STORE) rather than
    // go beyond this.
    cinfo.mem->max_memory_to_use = long(kMaxDecoderBytes);
    job.progress.progress_monitor = WatchScans;
    cinfo.progress = &job.progress;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(job.data->constData()),
                 static_cast<unsigned long>(job.data->size()));
    jpeg_read_header(&cinfo, TRUE);

    job.fullSize = QSize(int(cinfo.image_width), int(cinfo.image_height));
    job.eighths = JpegScaleEighths(job.fullSize, job.target);
    cinfo.scale_num = unsigned(job.eighths);
    cinfo.scale_denom = 8;
    job.cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    job.adobe = cinfo.saw_Adobe_marker;
    // CMYK comes out as four bytes a pixel, converted in place afterwards.
    cinfo.out_color_space = job.cmyk ? JCS_CMYK : kRgb32Space;
    jpeg_calc_output_dimensions(&cinfo);

    if (qint64(cinfo.image_width) * cinfo.image_height > kMaxPixels ||
        qint64(cinfo.output_width) * cinfo.output_height * 4 > kMaxImageBytes) {
        job.tooLarge = true;
        return false;
    }
    job.image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (job.image.isNull()) {
        job.tooLarge = true;
        return false;
    }

    jpeg_start_decompress(&cinfo);
    JSAMPROW rows[kRowBatch];
    while (cinfo.output_scanline < cinfo.output_height) {
        const int count =
            int(std::min<JDIMENSION>(kRowBatch, cinfo.output_height - cinfo.output_scanline));
        for (int i = 0; i < count; ++i)
            rows[i] = job.image.scanLine(int(cinfo.output_scanline) + i);
        jpeg_read_scanlines(&cinfo, rows, JDIMENSION(count));
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

// Four bytes C, M, Y, K a pixel into RGB32. Adobe programs store the inks
// inverted (255 is no ink); others store them as they are.
void CmykToRgb(QImage& image, bool inverted) {
    for (int y = 0; y < image.height(); ++y) {
        uchar* bytes = image.scanLine(y);
        auto* pixels = reinterpret_cast<QRgb*>(bytes);
        for (int x = 0; x < image.width(); ++x) {
            const uchar* p = bytes + 4 * x;
            int c = p[0], m = p[1], ye = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            pixels[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
        }
    }
}

LoadedPicture ReadFile(const QString& path, QByteArray& bytes) {
    LoadedPicture result;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        result.error = CannotShow(name, QStringLiteral("soubor neexistuje."));
    } else if (!file.open(QIODevice::ReadOnly)) {
        result.error = CannotShow(name, file.errorString());
    } else if (file.size() > kMaxFileBytes) {
        result.error = CannotShow(name, QStringLiteral("soubor je na obrázek příliš velký."));
    } else {
        bytes = file.readAll();
    }
    return result;
}

// Qt's bitmap reader accepts a file cut short and leaves the missing rows
// undefined, so an uncompressed bitmap is checked to hold all its rows.
bool BitmapCutShort(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const qint64 offset = qFromLittleEndian<quint32>(data + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(data + 14);
    qint64 width = 0, height = 0;
    int bits = 0;
    if (headerSize == 12) {
        width = qFromLittleEndian<quint16>(data + 18);
        height = qFromLittleEndian<quint16>(data + 20);
        bits = qFromLittleEndian<quint16>(data + 24);
    } else if (headerSize >= 40 && bytes.size() >= 54) {
        width = qFromLittleEndian<qint32>(data + 18);
        height = qAbs(qint64(qFromLittleEndian<qint32>(data + 22)));  // negative: top-down
        bits = qFromLittleEndian<quint16>(data + 28);
        const quint32 compression = qFromLittleEndian<quint32>(data + 30);
        // Run-length data has no fixed size; plain and bit-field data have.
        if (compression != 0 && compression != 3) return false;
    } else {
        return false;  // the reader judges an unknown header
    }
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return offset + rowBytes * height > bytes.size();
}

LoadedPicture LoadBitmap(const QString& path) {
    QByteArray bytes;
    LoadedPicture result = ReadFile(path, bytes);
    if (!result.error.isEmpty()) return result;
    const QString name = QFileInfo(path).fileName();
    if (BitmapCutShort(bytes)) {
        result.error = CannotShow(name, QStringLiteral("soubor je neúplný."));
        return result;
    }
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "bmp");
    // Only the bitmap reader: a JPEG named .bmp must not reach Qt's own JPEG reader.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    if (!reader.read(&result.image)) {
        result.image = QImage();
        result.error = CannotShow(name, reader.errorString());
        return result;
    }
    result.fullSize = result.image.size();
    return result;
}

}  // namespace

PictureType PictureTypeOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg" || suffix == u"jpe") return PictureType::Jpeg;
    if (suffix == u"bmp") return PictureType::Bitmap;
    return PictureType::Other;
}

QSize JpegScaledSize(QSize fullSize, int eighths) {
    // libjpeg rounds the scaled dimensions up.
    const auto scaled = [eighths](int length) { return int((qint64(length) * eighths + 7) / 8); };
    return {scaled(fullSize.width()), scaled(fullSize.height())};
}

int JpegScaleEighths(QSize fullSize, QSize target) {
    const QSize fitted = FitPicture(fullSize, target);
    if (fitted.isEmpty()) return 8;
    for (int n = 1; n < 8; ++n) {
        const QSize scaled = JpegScaledSize(fullSize, n);
        if (scaled.width() >= fitted.width() && scaled.height() >= fitted.height()) return n;
    }
    return 8;
}

LoadedPicture DecodeJpegData(const QByteArray& data, const QString& name, QSize target) {
    // On the heap: the decompressor and the jump buffer are large and must not move.
    auto job = std::make_unique<DecodeJob>();
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = ErrorExit;
    job->err.pub.emit_message = EmitMessage;
    job->err.pub.output_message = OutputMessage;
    job->data = &data;
    job->target = target;

    const bool decoded = RunDecoder(*job);
    jpeg_destroy_decompress(&job->cinfo);

    LoadedPicture result;
    result.fullSize = job->fullSize;
    result.eighths = job->eighths;
    if (job->tooLarge || (!decoded && job->err.pub.msg_code == JERR_NO_BACKING_STORE)) {
        result.error = CannotShow(name, QStringLiteral("obrázek %1 × %2 bodů je příliš velký.")
                                            .arg(job->fullSize.width())
                                            .arg(job->fullSize.height()));
        return result;
    }
    if (job->err.tooManyScans) {
        result.error =
            CannotShow(name, QStringLiteral("obrázek má víc než %1 průchodů.").arg(kMaxScans));
        return result;
    }
    if (!decoded) {
        result.error = CannotShow(name, QString::fromLatin1(job->err.message) + u'.');
        return result;
    }
    if (job->cmyk) CmykToRgb(job->image, job->adobe);
    result.image = std::move(job->image);
    return result;
}

LoadedPicture DecodeJpeg(const QString& path, QSize target) {
    QByteArray bytes;
    LoadedPicture result = ReadFile(path, bytes);
    if (!result.error.isEmpty()) return result;
    return DecodeJpegData(bytes, QFileInfo(path).fileName(), target);
}

LoadedPicture LoadPicture(const QString& path, QSize target) {
    switch (PictureTypeOf(path)) {
        case PictureType::Jpeg:
            return DecodeJpeg(path, target);
        case PictureType::Bitmap:
            return LoadBitmap(path);
        case PictureType::Other:
            break;
    }
    LoadedPicture result;
    result.error = CannotShow(QFileInfo(path).fileName(),
                              QStringLiteral("obrázek musí být typu JPG nebo BMP."));
    return result;
}
