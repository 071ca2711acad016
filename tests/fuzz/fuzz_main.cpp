// One libFuzzer entry for every target; ORVA_FUZZ_TARGET names the one this
// executable feeds.

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt's code page converter and temporary folder want an application.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTarget* target = [] {
        for (const FuzzTarget& t : FuzzTargets())
            if (std::strcmp(t.name, ORVA_FUZZ_TARGET) == 0) return &t;
        std::abort();
    }();
    target->run(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
