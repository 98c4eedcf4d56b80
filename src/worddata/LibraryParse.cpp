#include "worddata/LibraryParse.h"

PackedValues LibraryParse::packInto(QByteArray file, qsizetype &bomLength)
{
    const LibraryEncoding encoding = LibraryEncoding::detect(file, bomLength);
    return PackedValues(std::move(file), encoding);
}

LibraryParse::LibraryParse(QByteArray file)
    : values(packInto(std::move(file), bomLength_)),
      reader(QByteArrayView(values.buffer(), values.bufferSize()).sliced(bomLength_))
{
}

bool LibraryParse::fits(QString &problem) const
{
    if (values.bufferSize() <= PackedValues::maxBufferSize)
        return true;
    problem = QStringLiteral("文件太大（%1 字节）。").arg(values.bufferSize());
    return false;
}

QString LibraryParse::shown(QByteArrayView value) const
{
    constexpr qsizetype limit = 20;
    const QString text = values.encoding().decode(value.first(qMin(value.size(), limit * 2)));
    return text.size() > limit ? text.first(limit) + QStringLiteral("…") : text;
}
