// Any bytes as a help file, as the stream of its objects that the reading child hands over,
// as a #SYSTEM object and as a contents file. chmlib itself runs only in the child, which is
// allowed to crash; everything that runs in the program is fuzzed here.
#include "platform/help/ChmFile.h"
#include "platform/help/HelpSitemap.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    ChmFile::headerLooksSound(bytes, qint64(size));
    ChmFile::Objects objects;
    ChmFile::readStream(bytes, objects);
    ChmFile::readSystem(bytes);
    HelpSitemap::parse(bytes);
    return 0;
}
