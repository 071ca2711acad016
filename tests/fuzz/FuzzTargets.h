#pragma once

// The inputs the fuzzers feed: each target takes arbitrary bytes as one file
// (or one cell) would hold them. A new reader gets a row in FuzzTargets() and
// its name in ORVA_FUZZ_TARGETS of CMakeLists.txt; its seed files go to
// corpus/<name>/.

#include <QByteArray>
#include <QList>

struct FuzzTarget {
    const char* name;
    void (*run)(const QByteArray& data);
};

const QList<FuzzTarget>& FuzzTargets();
