#include "TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QThread>

FileError::FileError(const QString& path, const QString& message)
    : std::runtime_error((path + QStringLiteral(": ") + message).toStdString()),
      path_(path),
      message_(message) {}

namespace TextFile {

namespace {

constexpr const char* kCodePage = "windows-1250";
constexpr int kRenameAttempts = 5;
constexpr int kRenamePauseMs = 200;

FailureHook& Hook() {
    static FailureHook hook;
    return hook;
}

QByteArray Joined(const QStringList& lines) {
    QString text;
    qsizetype size = 0;
    for (const QString& l : lines) size += l.size() + 2;
    text.reserve(size);
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return Encode(text);
}

}  // namespace

bool CodecAvailable() { return QStringEncoder(kCodePage).isValid(); }

QByteArray Encode(const QString& text) {
    QStringEncoder encoder(kCodePage);
    return encoder.encode(text);
}

QString Decode(const QByteArray& bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw FileError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw FileError(path, file.errorString());
    const QString text = Decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0) end = text.size();
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == u'\r') --stop;
        lines.append(text.mid(start, stop - start));
        start = next;
    }
    return lines;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QString lastError;
    for (int attempt = 0; attempt < kRenameAttempts; ++attempt) {
        if (attempt > 0) QThread::msleep(kRenamePauseMs);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) throw FileError(path, file.errorString());
        if (file.write(bytes) != bytes.size()) {
            const QString message = file.errorString();
            file.cancelWriting();
            throw FileError(path, message);
        }
        if (Hook()) {
            const QString injected = Hook()(path);
            if (!injected.isEmpty()) {
                file.cancelWriting();
                file.commit();
                if (injected.startsWith(QLatin1String("rename:"))) {
                    lastError = injected.mid(7).trimmed();
                    continue;
                }
                throw FileError(path, injected);
            }
        }
        if (file.commit()) return;
        lastError = file.errorString();
        // Only a refused rename is worth another try (a share that holds the file
        // open on another workstation); a failed write will fail again.
        if (file.error() != QFileDevice::RenameError) throw FileError(path, lastError);
    }
    throw FileError(path, lastError);
}

void WriteLines(const QString& path, const QStringList& lines) { WriteBytes(path, Joined(lines)); }

void AppendLines(const QString& path, const QStringList& lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw FileError(path, file.errorString());
    const QByteArray bytes = Joined(lines);
    // One write call for all lines, so a reader never sees half a record.
    if (file.write(bytes) != bytes.size() || !file.flush()) throw FileError(path, file.errorString());
}

void SetFailureHookForTests(FailureHook hook) { Hook() = std::move(hook); }

}  // namespace TextFile
