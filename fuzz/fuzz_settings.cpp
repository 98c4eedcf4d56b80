// The settings file reader: any bytes give between none and all six records.

#include "startup/SettingsFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Settings settings;
    const int taken = SettingsFile::parse(QByteArrayView(data, qsizetype(size)), settings);
    if (taken < 0 || taken > 6)
        std::abort();
    // What was read must be writable again.
    SettingsFile::format(settings);
    return 0;
}
