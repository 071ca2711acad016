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

const QString kRegisterHeader = QStringLiteral(
    "Číslo akce;Název akce;Manager projektu;Technik projektu;Opatření;Aktivity;Dokument TXT;"
    "Dokument JPG;Poznámka;Dotace/ERDF;Plán celk.způs. Výdajů;Dotace;Datum od;Datum do;;");

QStringList TwoRoadProjectsRegister() {
    return {";Uloženo 01.12.2026", "Akce ORVA", kRegisterHeader,
            "001;Silnice Určice;Ing. Novák;Ing. Svoboda;1.1;Doprava;;;pozn;92,5/85;"
            "1000000,00;900000,00;01.01.2026;31.12.2027;;",
            "002;Most přes Bečvu;Ing. Dvořák;Bc. Malá;1.3;Doprava;;;pozn;92,5/85;"
            "500000,00;450000,00;01.04.2026;30.09.2027;;"};
}

const QString kTemplateHeader = QStringLiteral(
    "Akce číslo;Činnost;Zařazení;Upřesnění;Plán od;Plán DO;Skutečnost OD;Skutečnost DO;Trvání "
    "dny;Realný termín OD;Realný termín DO;ID-vnitřní;Info;Poznámka;Poznámka 2;Dokument TXT;;");

const QString kSampleProject101 = QStringLiteral(
    "101;Chodník Lipová;Jana Nováková;Petr Dvořák;2.1;Doprava;;;;85/85;1234567,00;1049381,95;"
    "01.03.2026;30.11.2026;;");
const QString kSampleProject202 = QStringLiteral(
    "202;Rekonstrukce školy;Karel Šťastný;Eva Černá;3.2;;;;;75/80;9800000,00;7350000,00;"
    "15.01.2026;31.08.2027;;");

QStringList RegisterLines(const QStringList& projects) {
    return QStringList{QStringLiteral(";Uloženo 01.12.2026"), QStringLiteral("Akce ORVA"),
                       kRegisterHeader} +
           projects;
}

void WriteSampleTemplates(const TempBase& base) {
    base.WriteLines(
        QStringLiteral("NameUkony.csv"),
        {QStringLiteral("Akce ORVA"), QStringLiteral("Úkony Čas;01.12.2026"), kTemplateHeader,
         QStringLiteral("Termíny;Realizace;Stavba;Výstavba;;;;;30;;;;;;;;;"),
         QStringLiteral("Finance;Etapa_#_1;;Plán;;;;;0;;;;;etapa;;;;")});
}

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
