#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

// A file that could not be read or written: its path and the system's message.
class FileError : public std::runtime_error {
  public:
    FileError(const QString& path, const QString& message);
    const QString& Path() const { return path_; }
    const QString& Message() const { return message_; }
    // "<path>: <message>", for a message box or the console.
    QString Text() const { return path_ + QStringLiteral(": ") + message_; }

  private:
    QString path_;
    QString message_;
};

// Text files in code page 1250 with CR LF line ends (a lone LF is read too).
namespace TextFile {

// False when the code page 1250 converter is missing (a Qt built without ICU).
bool CodecAvailable();

QByteArray Encode(const QString& text);
QString Decode(const QByteArray& bytes);

// Every line of the file, without line ends. Throws FileError.
QStringList ReadLines(const QString& path);

// Replaces the file with the lines, each followed by CR LF. The lines go to a
// temporary file that is renamed over the old one only when every byte of it
// reached the disk (a short write or a full disk at flush or sync is reported),
// so a crash or a full disk leaves the old file whole; a refused rename is
// retried briefly and then reported, the old file kept. Throws FileError.
void WriteLines(const QString& path, const QStringList& lines);
void WriteBytes(const QString& path, const QByteArray& bytes);

// Creates the file with the bytes only when no file of that name exists: the
// bytes go to a temporary file that is linked into place whole, so two
// workstations creating the same file at once never replace each other's.
// Returns false, writing nothing, when the file exists. Throws FileError.
bool CreateExclusive(const QString& path, const QByteArray& bytes);

// Appends whole lines, creating the file when missing. A record that could not
// be written whole is taken back, so the file never ends in a cut line.
// Throws FileError.
void AppendLines(const QString& path, const QStringList& lines);
// As AppendLines, to a file that exists: false, writing nothing, when it does not.
bool AppendToExisting(const QString& path, const QByteArray& bytes);

// Test seam: called with the target path before each commit of WriteBytes or
// CreateExclusive and after the bytes of an append are written; a non-empty
// result makes that attempt fail with it as the system's message. "rename:"
// before the message makes it a refused rename of WriteBytes, which is retried.
using FailureHook = std::function<QString(const QString& path)>;
void SetFailureHookForTests(FailureHook hook);

}  // namespace TextFile
