#pragma once

#include <QDateTime>
#include <QFileInfo>

// A file's size and modification time: what the caches of parsed files compare
// to know that another workstation rewrote a file since it was read.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;

    static FileStamp Of(const QFileInfo& info) { return {info.size(), info.lastModified()}; }
    bool operator==(const FileStamp&) const = default;
};
