#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "Prompter.h"
#include "Workspace.h"

// A temporary base directory with a workspace on it, a scripted prompter and
// the clock fixed at 9 December 2026, 10:30.
class TempBase {
  public:
    TempBase();
    ~TempBase();

    QString Dir() const { return dir_.path() + u'/'; }
    QString Path(const QString& relative) const { return Dir() + relative; }

    // Writes lines in code page 1250 with CR LF, as another workstation would.
    void WriteLines(const QString& relative, const QStringList& lines) const;
    void WriteBytes(const QString& relative, const QByteArray& bytes) const;
    QByteArray Bytes(const QString& relative) const;
    // The file decoded from code page 1250 and split at CR LF.
    QStringList Lines(const QString& relative) const;
    bool Exists(const QString& relative) const;

    ScriptedPrompter prompter;
    std::unique_ptr<Workspace> ws;

  private:
    QTemporaryDir dir_;
};

// A small tmpfs mounted on a temporary folder, to meet a full disk for real.
// Mounting needs the right to (root in a test container); where it is refused
// nothing is mounted and the test skips with SKIP_WITHOUT_SMALL_DISK.
class SmallDisk {
  public:
    static constexpr int kPage = 4096;
    explicit SmallDisk(int kilobytes = 512);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    QString Dir() const { return dir_.path() + u'/'; }
    QString Path(const QString& relative) const { return Dir() + relative; }
    // Fills the disk with a filler file until only freePages pages are free.
    void Fill(int freePages);

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};
#define SKIP_WITHOUT_SMALL_DISK(disk) \
    if (!(disk).Mounted()) QSKIP("no tmpfs can be mounted here (needs root)")

// What a program run by a test printed and returned; exitCode -1 when it did
// not end normally within a minute.
struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};
ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const QString& workDir = QString());

// The register's column header line as every workstation writes it.
extern const QString kRegisterHeader;
// The register lines of two road projects, 001 and 002 (entry window and Gantt tests).
QStringList TwoRoadProjectsRegister();
// The task templates' column header line as every workstation writes it.
extern const QString kTemplateHeader;
// A register file: the save stamp of 1 December 2026, the title, the header
// line, then the project lines.
QStringList RegisterLines(const QStringList& projects);
// Sample projects 101 and 202 of the register, as the window tests use them.
extern const QString kSampleProject101;
extern const QString kSampleProject202;
// The task templates file NameUkony.csv with one deadline and one finance template.
void WriteSampleTemplates(const TempBase& base);

// Code page 1250 bytes of the lines, each followed by CR LF.
QByteArray Cp1250Lines(const QStringList& lines);
