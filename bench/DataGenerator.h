#pragma once

#include <QString>

// Makes a data folder for measuring: a project register of `projects` projects,
// the 16 default task templates and one progress file per project with `rows`
// rows (about two deadline rows to one finance row) in the saved form, all in
// code page 1250 with CR LF, and optionally a configuration file. Project
// numbers are zero-padded to one width, so no number occurs inside another and
// every project finds its own progress file.
struct DataFolderShape {
    int projects = 1000;
    int rows = 60;
    bool withConfig = true;
};

// Returns the number of bytes written. Throws FileError.
qint64 GenerateDataFolder(const QString& dir, const DataFolderShape& shape);

// The number of project i (from 1) for a folder of `projects` projects.
QString BenchProjectNumber(int i, int projects);
