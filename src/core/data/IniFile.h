#pragma once

#include <QString>
#include <QStringList>

// A Windows initialisation file in code page 1250: "[section]" lines and
// "key=value" lines. Sections and keys compare without regard to case, the
// order of lines is kept, a written key replaces its line in place or is added
// at the end of its section, and a new section goes to the end of the file.
// Lines that are neither (blank lines, comments) are kept as they are.
class IniFile {
  public:
    IniFile() = default;
    // Reads the file; a missing file gives an empty one. Throws FileError.
    static IniFile Load(const QString& path);
    // The file's lines, already decoded.
    static IniFile FromLines(const QStringList& lines);
    // Writes atomically. Throws FileError.
    void Save(const QString& path) const;

    bool HasSection(const QString& section) const;
    bool HasKey(const QString& section, const QString& key) const;
    // The text after the first "=", outer blanks removed and one pair of
    // enclosing quotes taken off; the default when the key is missing.
    QString Value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;
    int IntValue(const QString& section, const QString& key, int defaultValue) const;

    void SetValue(const QString& section, const QString& key, const QString& value);
    void RemoveKey(const QString& section, const QString& key);
    void RemoveSection(const QString& section);
    QStringList Sections() const;
    QStringList Keys(const QString& section) const;

    const QStringList& Lines() const { return lines_; }

  private:
    // Index of the section's header line, or -1.
    int FindSection(const QString& section) const;
    // End (exclusive) of the section that starts at header index.
    int SectionEnd(int header) const;
    int FindKey(int header, const QString& key) const;

    QStringList lines_;
};
