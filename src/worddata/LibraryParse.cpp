#include "worddata/LibraryParse.h"

ValueTable LibraryParse::tableFor(PopulatedBuffer file, qsizetype size)
{
    qsizetype bomLength = 0;
    const LibraryEncoding encoding = LibraryEncoding::detect(QByteArrayView(file.data(), size), bomLength);
    return ValueTable(std::move(file), size, encoding);
}

LibraryParse::LibraryParse(PopulatedBuffer file, qsizetype size)
    : values(tableFor(std::move(file), size))
    , reader(values.file().sliced(values.file().startsWith("\xEF\xBB\xBF") ? 3 : 0))
{}

bool LibraryParse::fits(QString &problem) const
{
    if (values.file().size() <= ValueTable::maxFileSize)
        return true;
    problem = QStringLiteral("文件太大（%1 字节）。").arg(values.file().size());
    return false;
}

bool LibraryParse::outOfMemory(QString &problem)
{
    problem = QStringLiteral("内存不足，读不完这个文件。");
    return false;
}

QString LibraryParse::shown(QByteArrayView value) const
{
    constexpr qsizetype limit = 20;
    const QString text = values.encoding().decode(value.first(qMin(value.size(), limit * 2)));
    return text.size() > limit ? text.first(limit) + QStringLiteral("…") : text;
}
