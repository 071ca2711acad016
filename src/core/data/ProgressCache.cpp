#include "ProgressCache.h"

#include <QFileInfo>

const ProgressRows& ProgressCache::Read(const QString& path, const QString& defaultVat) {
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    const FileStamp stamp = FileStamp::Of(info);
    if (auto it = entries_.find(key); it != entries_.end()) {
        if (info.exists() && it->stamp == stamp && it->defaultVat == defaultVat) return it->rows;
        entries_.erase(it);
    }
    ++parses_;
    ProgressRows rows = ReadProgressFile(path, defaultVat);
    if (!rows.Ok()) {
        failed_ = std::move(rows);
        return failed_;
    }
    Entry& entry = entries_[key];
    entry.stamp = stamp;
    entry.defaultVat = defaultVat;
    entry.rows = std::move(rows);
    return entry.rows;
}
