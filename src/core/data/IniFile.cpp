#include "IniFile.h"

#include <QFileInfo>

#include "TextFile.h"

namespace {

bool IsSectionLine(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.contains(u']');
}

QString SectionName(const QString& line) {
    const QString t = line.trimmed();
    return t.mid(1, t.indexOf(u']') - 1).trimmed();
}

QString KeyOf(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

bool Same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniFile IniFile::Load(const QString& path) {
    IniFile ini;
    if (QFileInfo::exists(path)) ini.lines_ = TextFile::ReadLines(path);
    return ini;
}

IniFile IniFile::FromLines(const QStringList& lines) {
    IniFile ini;
    ini.lines_ = lines;
    return ini;
}

void IniFile::Save(const QString& path) const {
    TextFile::WriteLines(path, lines_);
}

int IniFile::FindSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i)
        if (IsSectionLine(lines_[i]) && Same(SectionName(lines_[i]), section)) return i;
    return -1;
}

int IniFile::SectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && !IsSectionLine(lines_[i])) ++i;
    return i;
}

int IniFile::FindKey(int header, const QString& key) const {
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString k = KeyOf(lines_[i]);
        if (!k.isEmpty() && Same(k, key)) return i;
    }
    return -1;
}

bool IniFile::HasSection(const QString& section) const {
    return FindSection(section) >= 0;
}

bool IniFile::HasKey(const QString& section, const QString& key) const {
    const int h = FindSection(section);
    return h >= 0 && FindKey(h, key) >= 0;
}

QString IniFile::Value(const QString& section, const QString& key,
                       const QString& defaultValue) const {
    const int h = FindSection(section);
    const int k = h < 0 ? -1 : FindKey(h, key);
    if (k < 0) return defaultValue;
    const QString& line = lines_[k];
    QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

int IniFile::IntValue(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    const int v = Value(section, key).toInt(&ok);
    return ok ? v : defaultValue;
}

void IniFile::SetValue(const QString& section, const QString& key, const QString& value) {
    const QString line = key + u'=' + value;
    int h = FindSection(section);
    if (h < 0) {
        lines_ << u'[' + section + u']' << line;
        return;
    }
    const int k = FindKey(h, key);
    if (k >= 0) {
        lines_[k] = line;
        return;
    }
    // After the section's last non-blank line, so blank separators stay below it.
    int at = SectionEnd(h);
    while (at > h + 1 && lines_[at - 1].trimmed().isEmpty()) --at;
    lines_.insert(at, line);
}

void IniFile::RemoveKey(const QString& section, const QString& key) {
    const int h = FindSection(section);
    const int k = h < 0 ? -1 : FindKey(h, key);
    if (k >= 0) lines_.removeAt(k);
}

void IniFile::RemoveSection(const QString& section) {
    const int h = FindSection(section);
    if (h < 0) return;
    lines_.remove(h, SectionEnd(h) - h);
}

QStringList IniFile::Sections() const {
    QStringList names;
    for (const QString& l : lines_)
        if (IsSectionLine(l)) names << SectionName(l);
    return names;
}

QStringList IniFile::Keys(const QString& section) const {
    QStringList keys;
    const int h = FindSection(section);
    if (h < 0) return keys;
    const int end = SectionEnd(h);
    for (int i = h + 1; i < end; ++i) {
        const QString k = KeyOf(lines_[i]);
        if (!k.isEmpty()) keys << k;
    }
    return keys;
}
