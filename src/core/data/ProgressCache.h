#pragma once

#include <QHash>
#include <QString>

#include "FileStamp.h"
#include "Progress.h"

// Read-only access to many progress files without any question, for code that
// reads every project's file (status listings, overviews). A file is parsed
// again only when its size or modification time has changed since the last
// read, so a file another workstation rewrote is never served stale.
class ProgressCache {
  public:
    // The rows of the file, or the reader's error (errors are not kept: the
    // next call tries again).
    const ProgressRows& Read(const QString& path, const QString& defaultVat);
    // How many times a file was actually parsed.
    int ParseCount() const { return parses_; }
    void Clear() { entries_.clear(); }

  private:
    struct Entry {
        FileStamp stamp;
        QString defaultVat;
        ProgressRows rows;
    };
    QHash<QString, Entry> entries_;
    ProgressRows failed_;
    int parses_ = 0;
};
