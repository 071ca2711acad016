#include "SaveKinds.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextDocument>

#include "Clock.h"
#include "Workspace.h"
#include "data/Columns.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "data/Table.h"
#include "data/Templates.h"
#include "data/TextFile.h"
#include "diary/DayRecord.h"
#include "finance/ResultsFile.h"
#include "shell/ChangeLog.h"
#include "shell/Config.h"
#include "tools/OutputFile.h"
#include "tools/RtfWriter.h"

namespace {

// Version 1 is several times longer than version 0, so that a cut or a mix
// of the two shows in the length as well as in the bytes.
int RowsOf(int version) {
    return version == 0 ? 3 : 40;
}

void FillProjects(Workspace& ws, int version) {
    Table& t = ws.Projects;
    SetupTable(t, kProjectTable, ws.config.PopisDPH);
    for (int r = 1; r <= RowsOf(version); ++r) {
        t.SetCell(Project::RowNumber, r, QString::number(r));
        t.SetCell(Project::Number, r, QString::number(100 + r));
        t.SetCell(Project::Name, r,
                  QStringLiteral("Verze %1: Oprava mostu č. %2").arg(version).arg(r));
    }
}

void SaveRegister(Workspace& ws, int version) {
    FillProjects(ws, version);
    SaveProjectRegister(ws, ws.config.SouborAkce);
}

void SaveProgressFile(Workspace& ws, int version) {
    Table deadlines;
    Table finance;
    SetupTable(deadlines, kDeadlineTable, ws.config.PopisDPH);
    SetupTable(finance, kFinanceTable, ws.config.PopisDPH);
    for (int r = 1; r <= RowsOf(version); ++r) {
        deadlines.SetCell(Deadline::KindAndProject, r, QStringLiteral("T-101"));
        deadlines.SetCell(Deadline::Activity, r,
                          QStringLiteral("Úkon %1 verze %2").arg(r).arg(version));
        finance.SetCell(Finance::KindAndProject, r, QStringLiteral("F-101"));
        finance.SetCell(Finance::Activity, r,
                        QStringLiteral("Faktura %1 verze %2").arg(r).arg(version));
    }
    WriteProgressFile(ws.config.DataPath(QStringLiteral("APr_NameAkce_101.csv")),
                      QStringLiteral("101"), deadlines, finance);
}

void SaveTemplates(Workspace& ws, int version) {
    Table& t = ws.Templates;
    SetupTable(t, kTemplateTableWithDefaults, ws.config.PopisDPH);
    const int rows = t.RowCount();
    for (int r = 1; r < rows; ++r)
        t.SetCell(Template::Activity, r, t.Cell(Template::Activity, r) + QString::number(version));
    if (version == 1)
        for (int r = rows; r < rows + 30; ++r)
            t.SetCell(Template::Activity, r, QStringLiteral("Doplněný úkon %1").arg(r));
    SaveTaskTemplates(ws, ws.config.SouborUkony);
}

void SaveConfigurationFile(Workspace& ws, int version) {
    ws.config.Popis = QStringLiteral("Popis verze %1").arg(version);
    ws.config.Test = version == 0 ? QString() : QString(600, u'ž');
    WriteConfiguration(ws.config);
}

void AppendLogin(Workspace& ws, int) {
    LogChange(ws, QString(), QString::fromUtf16(kLabelLogin), kLogEvent, 1);
}

void WriteBackup(Workspace& ws, int) {
    LogChange(ws, QString(), QString::fromUtf16(kLabelBackup), kLogEvent, 12);
}

void SaveDayFile(Workspace& ws, int version) {
    DayRecord record;
    record.person = QStringLiteral("Jan Novák");
    for (int i = 1; i <= RowsOf(version); ++i) {
        record.tasks << DayTask{QStringLiteral("Jan Novák"),
                                QStringLiteral("Úkol %1 verze %2").arg(i).arg(version),
                                QStringLiteral("9.12.2026"), QString::fromUtf16(kStateRunning)};
        record.minutes << QStringLiteral("Zápis %1 verze %2").arg(i).arg(version);
    }
    WriteDayRecord(ws, DayFromDate(QDate(2026, 12, 9)), 1, record);
}

void SaveResults(Workspace& ws, int version) {
    Table& t = ws.Results;
    SetupTable(t, kResultsTable, ws.config.PopisDPH);
    for (int r = 2; r <= RowsOf(version) + 1; ++r)
        t.SetCell(Results::Object, r, QStringLiteral("Etapa %1 verze %2").arg(r).arg(version));
    WriteResultsFile(ws.config.DataPath(QStringLiteral("Vysledky.csv")), t, QDate(2026, 12, 9));
}

// Minutes as the diary writes them: RTF through the notes editor's writer, or
// PDF printed from the same document.
void FillMinutes(QTextDocument& document, int version) {
    QStringList lines;
    for (int i = 1; i <= RowsOf(version); ++i)
        lines << QStringLiteral("Úkol %1 verze %2: převzít stavbu, žluťoučký kůň")
                     .arg(i)
                     .arg(version);
    document.setPlainText(lines.join(u'\n'));
}

void SaveRtfFile(Workspace& ws, int version) {
    QTextDocument document;
    FillMinutes(document, version);
    WriteRtfFile(ws.config.DataPath(QStringLiteral("Zapis.rtf")), document);
}

void SavePdfFile(Workspace& ws, int version) {
    QTextDocument document;
    FillMinutes(document, version);
    WriteDocumentPdf(ws.config.DataPath(QStringLiteral("Zapis.pdf")), QStringLiteral("Zápis"),
                     document);
}

// A picture as the Gantt diagram and the finance chart export theirs.
void SavePicture(Workspace& ws, int version) {
    QImage image(40 * RowsOf(version), 30, QImage::Format_RGB32);
    image.fill(version == 0 ? Qt::yellow : Qt::blue);
    WriteImageFile(ws.config.DataPath(QStringLiteral("Gantt.png")), image, "PNG");
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A PDF carries the moment of its writing; two writes of a version differ in
// that only.
QByteArray Comparable(const SaveKind& kind, QByteArray bytes) {
    static const QByteArray stamp("/CreationDate (D:");
    const qsizetype at = bytes.indexOf(stamp);
    if (kind.dated && at >= 0 && at + stamp.size() + 14 <= bytes.size())
        bytes.replace(at + stamp.size(), 14, QByteArray(14, '0'));
    return bytes;
}

QString RefPath(const QString& baseDir, const SaveKind& kind, const QString& which) {
    return baseDir + QStringLiteral("refs/") + kind.name + u'.' + which;
}

}  // namespace

const QList<SaveKind>& SaveKinds() {
    static const QList<SaveKind> kinds = {
        {QStringLiteral("register"), QStringLiteral("NameAkce.csv"), SaveRegister},
        {QStringLiteral("progress"), QStringLiteral("APr_NameAkce_101.csv"), SaveProgressFile},
        {QStringLiteral("templates"), QStringLiteral("NameUkony.csv"), SaveTemplates},
        {QStringLiteral("configuration"), QStringLiteral("ORVA_Sledovani.Ini"),
         SaveConfigurationFile},
        {QStringLiteral("changelog"), QStringLiteral("Zmeny_2026-12.csv"), AppendLogin, true},
        {QStringLiteral("backup"), QStringLiteral("Zaloha_Jan-Novák_2026-12-09.csv"), WriteBackup,
         false, true},
        // A day record replaces its project's section; version 0 follows 1 in the
        // reference, so both are what a rewrite of the other gives.
        {QStringLiteral("dayfile"), QStringLiteral("Den_2026.12.09.ITI"), SaveDayFile},
        {QStringLiteral("results"), QStringLiteral("Vysledky.csv"), SaveResults},
        {QStringLiteral("rtf"), QStringLiteral("Zapis.rtf"), SaveRtfFile},
        {QStringLiteral("pdf"), QStringLiteral("Zapis.pdf"), SavePdfFile, false, false, true},
        {QStringLiteral("picture"), QStringLiteral("Gantt.png"), SavePicture},
    };
    return kinds;
}

const SaveKind* FindSaveKind(const QString& name) {
    for (const SaveKind& k : SaveKinds())
        if (k.name == name) return &k;
    return nullptr;
}

void SetUpWorkspace(Workspace& ws, const QString& baseDir) {
    Clock::Set(QDateTime(QDate(2026, 12, 9), QTime(10, 30)));
    ws.config.BaseDir = baseDir.endsWith(u'/') ? baseDir : baseDir + u'/';
    ws.config.UserKey = QStringLiteral("Uzivatel_TEST");
    ws.Access.UserName = QStringLiteral("Jan Novák");
    ws.Access.Permission = QStringLiteral("3_000");
    FillProjects(ws, 0);
}

void PrepareSaveKind(const SaveKind& kind, Workspace& ws) {
    const QString base = ws.config.BaseDir;
    QDir().mkpath(base + QStringLiteral("refs"));
    const QString path = base + kind.file;
    QFile::remove(path);
    if (kind.appends) {
        // The first state (the snapshot and one record), then one record more.
        kind.save(ws, 0);
        const QByteArray first = Bytes(path);
        kind.save(ws, 0);
        const QByteArray both = Bytes(path);
        TextFile::WriteBytes(RefPath(base, kind, QStringLiteral("0")), first);
        TextFile::WriteBytes(RefPath(base, kind, QStringLiteral("record")), both.mid(first.size()));
        return;
    }
    for (int version : {1, 0}) {
        if (kind.recreates) QFile::remove(path);
        kind.save(ws, version);
        TextFile::WriteBytes(RefPath(base, kind, QString::number(version)), Bytes(path));
    }
}

QString CheckSaveKind(const SaveKind& kind, const QString& baseDir) {
    const QString base = baseDir.endsWith(u'/') ? baseDir : baseDir + u'/';
    const QString path = base + kind.file;
    const QByteArray first = Bytes(RefPath(base, kind, QStringLiteral("0")));
    if (first.isEmpty()) return QStringLiteral("no reference copy");
    if (!QFile::exists(path))
        return kind.recreates ? QString() : QStringLiteral("the file is gone");
    const QByteArray bytes = Bytes(path);
    if (kind.appends) {
        const QByteArray record = Bytes(RefPath(base, kind, QStringLiteral("record")));
        if (!bytes.startsWith(first)) return QStringLiteral("the first state is damaged");
        for (qsizetype at = first.size(); at < bytes.size(); at += record.size())
            if (bytes.mid(at, record.size()) != record)
                return QStringLiteral("a cut or damaged record at byte %1 of %2")
                    .arg(at)
                    .arg(bytes.size());
        return QString();
    }
    const QByteArray second = Bytes(RefPath(base, kind, QStringLiteral("1")));
    const QByteArray comparable = Comparable(kind, bytes);
    if (comparable == Comparable(kind, first) || comparable == Comparable(kind, second))
        return QString();
    return QStringLiteral("neither version (%1 bytes, versions %2 and %3)")
        .arg(bytes.size())
        .arg(first.size())
        .arg(second.size());
}
