// Any bytes as a Wine registry file: the reader must neither crash nor read out of bounds.
#include "platform/registry/WineRegistryFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString key =
        QString::fromUtf8("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tesmar单词Graxo.exe");
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    WineRegistryFile::firstValue(text, key);
    WineRegistryFile::firstValue(text, u"a");
    return 0;
}
