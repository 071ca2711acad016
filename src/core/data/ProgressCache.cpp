#include "ProgressCache.h"

#include <QFileInfo>

const ProgressRows& ProgressCache::Read(const QString& path, const QString& defaultVat) {
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    if (auto it = entries_.find(key); it != entries_.end()) {
        if (info.exists() && it->size == size && it->modified == modified &&
            it->defaultVat == defaultVat)
            return it->rows;
        entries_.erase(it);
    }
    ++parses_;
    ProgressRows rows = ReadProgressFile(path, defaultVat);
    if (!rows.Ok()) {
        failed_ = std::move(rows);
        return failed_;
    }
    Entry& entry = entries_[key];
    entry.size = size;
    entry.modified = modified;
    entry.defaultVat = defaultVat;
    entry.rows = std::move(rows);
    return entry.rows;
}
