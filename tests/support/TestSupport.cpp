#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "Clock.h"
#include "data/TextFile.h"

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

QByteArray Cp1250Lines(const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += l + QStringLiteral("\r\n");
    return TextFile::Encode(text);
}

TempBase::TempBase() {
    Clock::Set(QDateTime(QDate(2026, 12, 9), QTime(10, 30)));
    ws = std::make_unique<Workspace>(prompter);
    ws->config.BaseDir = Dir();
    ws->config.UserKey = QStringLiteral("Uzivatel_TEST");
}

TempBase::~TempBase() {
    Clock::Reset();
}

void TempBase::WriteLines(const QString& relative, const QStringList& lines) const {
    WriteBytes(relative, Cp1250Lines(lines));
}

void TempBase::WriteBytes(const QString& relative, const QByteArray& bytes) const {
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray TempBase::Bytes(const QString& relative) const {
    QFile f(Path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList TempBase::Lines(const QString& relative) const {
    QStringList lines = TextFile::Decode(Bytes(relative)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool TempBase::Exists(const QString& relative) const {
    return QFileInfo::exists(Path(relative));
}

ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& workDir) {
    QProcess p;
    if (!workDir.isEmpty()) p.setWorkingDirectory(workDir);
    p.start(program, args);
    ProgramRun run;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return run;
    run.exitCode = p.exitCode();
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

SmallDisk::SmallDisk(int kilobytes) {
#ifdef Q_OS_LINUX
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
    mounted_ = dir_.isValid() && ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(),
                                         "tmpfs", 0, options.constData()) == 0;
#else
    Q_UNUSED(kilobytes);
#endif
}

SmallDisk::~SmallDisk() {
#ifdef Q_OS_LINUX
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
#endif
}

void SmallDisk::Fill(int freePages) {
    QFile filler(Path(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray page(kPage, 'x');
    while (filler.write(page) == kPage) {
    }
    filler.resize(filler.size() / kPage * kPage - qint64(freePages) * kPage);
}
